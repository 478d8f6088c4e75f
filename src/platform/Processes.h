#pragma once
// Outside programs.
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qnr::platform {

class Process {
public:
    virtual ~Process() = default;
    virtual bool running() = 0;
    virtual int exitCode() = 0;  // meaningful once not running
};

class Processes {
public:
    virtual ~Processes() = default;
    // Starts program with an argument list in folder; nullptr plus an error text
    // when it could not start.
    virtual std::unique_ptr<Process> start(const std::string& program,
                                           const std::vector<std::string>& arguments,
                                           const std::string& folder, std::string& error) = 0;
    // The program the desktop associates with a data file; nullopt when none.
    virtual std::optional<std::string> associatedProgram(const std::string& dataFile) = 0;
};

}  // namespace qnr::platform
