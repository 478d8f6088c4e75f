#pragma once
// Outside programs through QProcess, started with an argument list (never a
// command line for a shell to split).
#include <QString>
#include <QStringList>

#include "platform/Processes.h"

namespace qnr::ui {

// The command a desktop entry runs to open one local file, as an argument
// list with the program first: the [Desktop Entry] group's Exec value with its
// escapes and quoting undone and its field codes expanded (%f %F %u %U the
// file, %i the icon, %c the name, %k entryPath, %% a "%"). An Exec value
// without a file code gets the file last. Empty when the entry has no Exec
// value or it is not a valid command line (an unknown field code, an open
// quote, an "=" in the program).
QStringList DesktopEntryCommand(const QString& desktopFileText, const QString& entryPath, const QString& file);

class QtProcesses final : public platform::Processes {
public:
    std::unique_ptr<platform::Process> start(const std::string& program, const std::vector<std::string>& arguments,
                                             const std::string& folder, int& errorCode) override;
    // Asks xdg-mime for the file's type and the type's default application,
    // then reads that application's desktop entry from the XDG data folders.
    platform::Association associatedProgram(const std::string& folder, const std::string& dataFile) override;
};

}  // namespace qnr::ui
