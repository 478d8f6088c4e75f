#pragma once
// qnrtool's command registry. Each subsystem registers its own commands from
// a file beside its core (src/<subsystem>/cli/), so this stays small.
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace qnr::tool {

struct Context {
    std::ostream& out;
    std::ostream& err;
    platform::Services services;
};

// The words after "qnrtool GROUP NAME". Options are "--name value" or flags.
class Arguments {
public:
    explicit Arguments(std::vector<std::string> words) : words_(std::move(words)) {}

    // The value of --name, taken out of the list; nullopt when absent.
    // A name given without a value sets missingValue().
    std::optional<std::string> option(const std::string& name);
    bool flag(const std::string& name);
    // What is left that does not start with "--".
    std::vector<std::string> positionals() const;
    // Options that no call asked for; a command reports them as bad usage.
    std::vector<std::string> leftoverOptions() const;
    bool missingValue() const { return missingValue_; }
    const std::vector<std::string>& words() const { return words_; }

private:
    std::vector<std::string> words_;
    bool missingValue_ = false;
};

struct Command {
    std::string group;    // e.g. "options"
    std::string name;     // e.g. "show"; empty for a group that is one command
    std::string usage;    // e.g. "[FILE]"
    std::string summary;  // one line
    std::function<int(Arguments&, Context&)> run;  // returns the exit code
};

class Registry {
public:
    void add(Command command);
    // Optional longer help text for a group, shown by "qnrtool GROUP --help".
    void describeGroup(const std::string& group, const std::string& help);
    // argv without the program name.
    int dispatch(const std::vector<std::string>& argv, Context& context) const;
    void printHelp(std::ostream& out) const;

private:
    void printGroupHelp(const std::string& group, std::ostream& out) const;
    std::vector<Command> commands_;
    std::map<std::string, std::string> groupHelp_;
};

// Exit codes.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;  // the work failed (bad file, solver error)
inline constexpr int ExitUsage = 2;    // bad or missing arguments

}  // namespace qnr::tool
