#include "ui/QtProcesses.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include "ui/Latin1.h"

namespace qnr::ui {

namespace {

class QtProcess final : public platform::Process {
public:
    explicit QtProcess(std::unique_ptr<QProcess> process) : process_(std::move(process)) {}
    ~QtProcess() override {
        // Deleting a running QProcess would kill the program; it outlives the
        // launcher instead and is freed when it ends.
        if (process_ && process_->state() != QProcess::NotRunning) {
            QProcess* p = process_.release();
            QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
        }
    }
    bool running() override { return process_->state() != QProcess::NotRunning; }
    int exitCode() override {
        if (running()) return platform::StillActive;
        return process_->exitStatus() == QProcess::NormalExit ? process_->exitCode() : -1;
    }

private:
    std::unique_ptr<QProcess> process_;
};

// Runs a short query program and returns its first output line; empty on failure.
QString QueryLine(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(3000)) return {};
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0).trimmed();
}

// Splits the start of an Exec value into its first word, honouring quotes.
QString FirstWord(const QString& exec) {
    QString word;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size()) word += exec[++i];
            else if (c == QLatin1Char('"')) quoted = false;
            else word += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c.isSpace()) {
            if (!word.isEmpty()) break;
        } else {
            word += c;
        }
    }
    return word;
}

}  // namespace

QString DesktopEntryProgram(const QString& desktopFileText) {
    bool inEntry = false;
    const QStringList lines = desktopFileText.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inEntry) continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || line.left(eq).trimmed() != QLatin1String("Exec")) continue;
        return FirstWord(line.mid(eq + 1).trimmed());
    }
    return {};
}

std::unique_ptr<platform::Process> QtProcesses::start(const std::string& program,
                                                      const std::vector<std::string>& arguments,
                                                      const std::string& folder, int& errorCode) {
    errorCode = 0;
    const QString folderPath = ToQString(folder);
    if (!folder.empty() && !QFileInfo(folderPath).isDir()) {
        errorCode = platform::ErrorBadWorkingFolder;
        return nullptr;
    }
    // QProcess only says "failed to start"; the cause is found out first so
    // that the message can name it.
    QString path = ToQString(program);
    if (program.find('/') == std::string::npos) {
        path = QStandardPaths::findExecutable(path);
        if (path.isEmpty()) {
            errorCode = platform::ErrorFileNotFound;
            return nullptr;
        }
    } else {
        const QFileInfo info(path);
        if (!info.dir().exists()) {
            errorCode = platform::ErrorPathNotFound;
            return nullptr;
        }
        if (!info.exists()) {
            errorCode = platform::ErrorFileNotFound;
            return nullptr;
        }
        if (info.isDir() || !info.isExecutable()) {
            errorCode = platform::ErrorAccessDenied;
            return nullptr;
        }
    }
    auto process = std::make_unique<QProcess>();
    process->setProgram(path);
    QStringList list;
    for (const auto& a : arguments) list << ToQString(a);
    process->setArguments(list);
    if (!folder.empty()) process->setWorkingDirectory(folderPath);
    process->start();
    if (!process->waitForStarted(10000)) {
        // An existing executable file that will not run is not a program.
        errorCode = platform::ErrorBadFormat;
        return nullptr;
    }
    return std::make_unique<QtProcess>(std::move(process));
}

platform::Association QtProcesses::associatedProgram(const std::string& folder, const std::string& dataFile) {
    platform::Association none;
    if (dataFile.empty()) {
        none.code = platform::ErrorFileNotFound;
        return none;
    }
    if (!folder.empty() && !QFileInfo(ToQString(folder)).isDir()) {
        none.code = platform::ErrorPathNotFound;
        return none;
    }
    const QString file = ToQString(folder + dataFile);
    if (!QFileInfo(file).isFile()) {
        none.code = platform::ErrorFileNotFound;
        return none;
    }
    none.code = platform::AssociationNoAssociation;
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty()) return none;
    const QString type = QueryLine(xdgMime, {QStringLiteral("query"), QStringLiteral("filetype"), file});
    if (type.isEmpty()) return none;
    const QString desktop = QueryLine(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (desktop.isEmpty()) return none;
    const QString entryPath = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktop);
    if (entryPath.isEmpty()) return none;
    QFile entry(entryPath);
    if (!entry.open(QIODevice::ReadOnly | QIODevice::Text)) return none;
    const QString program = DesktopEntryProgram(QString::fromUtf8(entry.readAll()));
    if (program.isEmpty()) return none;
    const QString found = QFileInfo(program).isAbsolute() ? program : QStandardPaths::findExecutable(program);
    if (found.isEmpty() || !QFileInfo(found).isExecutable()) return none;
    return {platform::AssociationFound, ToLatin1(found)};
}

}  // namespace qnr::ui
