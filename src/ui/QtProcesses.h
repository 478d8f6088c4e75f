#pragma once
// Outside programs through QProcess, started with an argument list (never a
// command line for a shell to split).
#include <QString>

#include "platform/Processes.h"

namespace qnr::ui {

// The program of a desktop entry's Exec line (the first word, quotes
// removed); empty when the text has no [Desktop Entry] Exec key.
QString DesktopEntryProgram(const QString& desktopFileText);

class QtProcesses final : public platform::Processes {
public:
    std::unique_ptr<platform::Process> start(const std::string& program, const std::vector<std::string>& arguments,
                                             const std::string& folder, int& errorCode) override;
    // Asks xdg-mime for the file's type and the type's default application,
    // then reads that application's desktop entry from the XDG data folders.
    platform::Association associatedProgram(const std::string& folder, const std::string& dataFile) override;
};

}  // namespace qnr::ui
