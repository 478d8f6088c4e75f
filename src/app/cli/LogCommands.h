#pragma once
// qnrtool "log": the user log read back, entry by entry.
#include <array>
#include <string>
#include <vector>

namespace qnr::tool { class Registry; }

namespace qnr::app {

// One entry of the user log as written: login, component or logout.
struct LogEntry {
    std::string kind;       // "login", "component", "logout"
    std::string subject;    // the program identifier, or the component's text
    std::string date, time;
    std::array<std::string, 4> names;  // "Name1".."Name4"; empty when the line is missing
    std::string table;
    std::string elapsedDays;  // "0" when the line has no days
    std::string elapsed;      // "h:mm:ss.ss"; empty for a login
};

// Reads the entries; lines outside an entry and unknown lines are skipped.
std::vector<LogEntry> ParseUserLog(const std::string& text);

void RegisterLogCommands(tool::Registry& registry);

}  // namespace qnr::app
