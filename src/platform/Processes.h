#pragma once
// Outside programs. Results and errors are the platform's classic codes,
// which the launcher's messages show to the user.
#include <memory>
#include <string>
#include <vector>

namespace qnr::platform {

// Start errors.
inline constexpr int ErrorFileNotFound = 2;
inline constexpr int ErrorPathNotFound = 3;
inline constexpr int ErrorAccessDenied = 5;
inline constexpr int ErrorBadFormat = 11;
inline constexpr int ErrorBadWorkingFolder = 267;
// Association results of 32 or less are failures; these are the usual ones.
inline constexpr int AssociationNoAssociation = 31;
inline constexpr int AssociationFound = 33;

// The exit code a process reports while it is still running.
inline constexpr int StillActive = 259;

class Process {
public:
    virtual ~Process() = default;
    virtual bool running() = 0;
    virtual int exitCode() = 0;  // StillActive while running
    // Waits at most milliseconds for the program to end; true when it has.
    virtual bool endsWithin(int milliseconds) = 0;
};

struct Association {
    int code = AssociationNoAssociation;  // > 32: found
    std::string program;                  // the program, when found
    // What to start it with for that file (the file among them): a desktop
    // program may be a launcher that needs words of its own before the file.
    std::vector<std::string> arguments;
};

class Processes {
public:
    virtual ~Processes() = default;
    // Starts program with an argument list (never a command line to split) in
    // folder; nullptr plus the error code when it could not start.
    virtual std::unique_ptr<Process> start(const std::string& program, const std::vector<std::string>& arguments,
                                           const std::string& folder, int& errorCode) = 0;
    // The program the desktop associates with the type of folder + dataFile,
    // and the arguments that open that file with it.
    virtual Association associatedProgram(const std::string& folder, const std::string& dataFile) = 0;
};

}  // namespace qnr::platform
