#include "ui/QtIdentity.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QSysInfo>
#include <pwd.h>
#include <unistd.h>

#include "platform/FileSystem.h"
#include "ui/Latin1.h"

namespace qnr::ui {

std::string QtIdentity::loginName() {
    for (const char* variable : {"USER", "LOGNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty()) return ToLatin1(name);
    }
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name) return pw->pw_name;
    return "";
}

std::string QtIdentity::programFolder() {
    return platform::WithTrailingSlash(ToLatin1(QCoreApplication::applicationDirPath()));
}

std::string QtIdentity::userDataLocation() {
    const QString location = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return platform::WithTrailingSlash(ToLatin1(location));
}

// Spelled as uname gives it ("Linux"), like the command-line programs' identity.
std::string QtIdentity::platformName() {
    QString kernel = QSysInfo::kernelType();
    if (!kernel.isEmpty()) kernel[0] = kernel[0].toUpper();
    return ToLatin1(kernel);
}

int QtIdentity::platformMajorVersion() {
    const QString version = QSysInfo::kernelVersion();
    return version.section(QLatin1Char('.'), 0, 0).toInt();
}

}  // namespace qnr::ui
