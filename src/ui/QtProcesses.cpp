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
    bool endsWithin(int milliseconds) override {
        return !running() || process_->waitForFinished(milliseconds);
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

// The general escapes of a desktop entry's string values. Any other
// backslash stays for the Exec quoting to undo.
QString UnescapedValue(const QString& value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value[i + 1];
        if (next == QLatin1Char('s')) out += QLatin1Char(' ');
        else if (next == QLatin1Char('n')) out += QLatin1Char('\n');
        else if (next == QLatin1Char('t')) out += QLatin1Char('\t');
        else if (next == QLatin1Char('r')) out += QLatin1Char('\r');
        else if (next == QLatin1Char('\\')) out += QLatin1Char('\\');
        else {
            out += c;
            out += next;
        }
        ++i;
    }
    return out;
}

struct EntryValues {
    QString exec, name, icon;
};

// The untranslated keys of the [Desktop Entry] group.
EntryValues ReadEntryValues(const QString& text) {
    EntryValues values;
    bool inEntry = false;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inEntry || eq < 0) continue;
        const QString key = line.left(eq).trimmed();
        const QString value = UnescapedValue(line.mid(eq + 1).trimmed());
        if (key == QLatin1String("Exec")) values.exec = value;
        else if (key == QLatin1String("Name")) values.name = value;
        else if (key == QLatin1String("Icon")) values.icon = value;
    }
    return values;
}

bool IsArgumentEnd(const QString& text, qsizetype i) {
    return i >= text.size() || text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t');
}

}  // namespace

QStringList DesktopEntryCommand(const QString& desktopFileText, const QString& entryPath, const QString& file) {
    const EntryValues entry = ReadEntryValues(desktopFileText);
    const QString& exec = entry.exec;
    QStringList words;
    QString word;
    bool inWord = false;  // a quoted "" is a word; a code that expands to nothing is none
    bool fileGiven = false;
    auto endWord = [&] {
        if (inWord) words << word;
        word.clear();
        inWord = false;
    };
    auto append = [&](const QString& text) {
        word += text;
        inWord = inWord || !text.isEmpty();
    };
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            endWord();
        } else if (c == QLatin1Char('"')) {
            // Field codes inside quotes stay as they are: a file name must
            // never land inside a text that some program may hand to a shell.
            inWord = true;
            bool closed = false;
            for (++i; i < exec.size(); ++i) {
                QChar q = exec[i];
                if (q == QLatin1Char('"')) {
                    closed = true;
                    break;
                }
                if (q == QLatin1Char('\\') && i + 1 < exec.size() &&
                    QStringLiteral("\"`$\\").contains(exec[i + 1]))
                    q = exec[++i];
                word += q;
            }
            if (!closed) return {};
        } else if (c == QLatin1Char('%')) {
            if (i + 1 == exec.size()) return {};
            const char code = exec[++i].toLatin1();
            switch (code) {
                case '%': append(QStringLiteral("%")); break;
                case 'f': case 'F': case 'u': case 'U':
                    // One local file: the list codes give it alone, and a
                    // local file may stand for a URL.
                    append(file);
                    fileGiven = true;
                    break;
                case 'i':
                    if (entry.icon.isEmpty()) break;
                    if (!inWord && IsArgumentEnd(exec, i + 1)) words << QStringLiteral("--icon") << entry.icon;
                    else append(entry.icon);
                    break;
                case 'c': append(entry.name); break;
                case 'k': append(entryPath); break;
                case 'd': case 'D': case 'n': case 'N': case 'v': case 'm': break;  // deprecated: dropped
                default: return {};  // a line with an unknown code must not run
            }
        } else {
            append(QString(c));
        }
    }
    endWord();
    if (words.isEmpty() || words.front().contains(QLatin1Char('='))) return {};
    // The entry was chosen for the file's type; without a file code it still
    // gets the file, where programs look for it.
    if (!fileGiven && !file.isEmpty()) words << file;
    return words;
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
    QStringList command = DesktopEntryCommand(QString::fromUtf8(entry.readAll()), entryPath, file);
    if (command.isEmpty()) return none;
    const QString program = command.takeFirst();
    const QString found = QFileInfo(program).isAbsolute() ? program : QStandardPaths::findExecutable(program);
    if (found.isEmpty() || !QFileInfo(found).isExecutable()) return none;
    platform::Association association{platform::AssociationFound, ToLatin1(found), {}};
    for (const QString& argument : command) association.arguments.push_back(ToLatin1(argument));
    return association;
}

}  // namespace qnr::ui
