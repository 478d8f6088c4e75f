#include "tool/Registry.h"

#include <algorithm>
#include <ostream>

namespace qnr::tool {

std::optional<std::string> Arguments::option(const std::string& name) {
    for (std::size_t i = 0; i < words_.size(); ++i) {
        if (words_[i] != name) continue;
        if (i + 1 >= words_.size()) {
            missingValue_ = true;
            words_.erase(words_.begin() + static_cast<long>(i));
            return std::nullopt;
        }
        std::string value = words_[i + 1];
        words_.erase(words_.begin() + static_cast<long>(i), words_.begin() + static_cast<long>(i) + 2);
        return value;
    }
    return std::nullopt;
}

bool Arguments::flag(const std::string& name) {
    auto it = std::find(words_.begin(), words_.end(), name);
    if (it == words_.end()) return false;
    words_.erase(it);
    return true;
}

std::vector<std::string> Arguments::positionals() const {
    std::vector<std::string> out;
    for (const auto& w : words_)
        if (w.rfind("--", 0) != 0) out.push_back(w);
    return out;
}

std::vector<std::string> Arguments::leftoverOptions() const {
    std::vector<std::string> out;
    for (const auto& w : words_)
        if (w.rfind("--", 0) == 0) out.push_back(w);
    return out;
}

void Registry::add(Command command) { commands_.push_back(std::move(command)); }

void Registry::describeGroup(const std::string& group, const std::string& help) {
    groupHelp_[group] = help;
}

void Registry::printHelp(std::ostream& out) const {
    out << "Usage: qnrtool GROUP COMMAND [ARGUMENTS]\n"
           "The instructor's companion to the Quenara observatory.\n\n"
           "Commands:\n";
    for (const auto& c : commands_) {
        std::string head = c.group + (c.name.empty() ? "" : " " + c.name) + (c.usage.empty() ? "" : " " + c.usage);
        out << "  " << head;
        out << std::string(head.size() < 34 ? 34 - head.size() : 1, ' ') << c.summary << "\n";
    }
    out << "\n\"qnrtool GROUP --help\" tells more about one group.\n"
           "Exit codes: 0 success, 1 the work failed, 2 bad arguments.\n";
}

void Registry::printGroupHelp(const std::string& group, std::ostream& out) const {
    out << "Usage: qnrtool " << group << " COMMAND [ARGUMENTS]\n\n";
    for (const auto& c : commands_) {
        if (c.group != group) continue;
        out << "  qnrtool " << c.group << " " << c.name << (c.usage.empty() ? "" : " " + c.usage) << "\n"
            << "      " << c.summary << "\n";
    }
    if (auto it = groupHelp_.find(group); it != groupHelp_.end()) out << "\n" << it->second;
}

int Registry::dispatch(const std::vector<std::string>& argv, Context& context) const {
    if (argv.empty()) {
        printHelp(context.err);
        return ExitUsage;
    }
    if (argv[0] == "--help" || argv[0] == "-h" || argv[0] == "help") {
        printHelp(context.out);
        return ExitOk;
    }
    const std::string& group = argv[0];
    bool known = std::any_of(commands_.begin(), commands_.end(),
                             [&](const Command& c) { return c.group == group; });
    if (!known) {
        context.err << "qnrtool: unknown command group \"" << group << "\"; see \"qnrtool --help\"\n";
        return ExitUsage;
    }
    // A command with an empty name is the whole group: "qnrtool field --ra-hours ...".
    for (const auto& c : commands_) {
        if (c.group != group || !c.name.empty()) continue;
        Arguments args(std::vector<std::string>(argv.begin() + 1, argv.end()));
        if (args.flag("--help") || args.flag("-h")) {
            context.out << "Usage: qnrtool " << c.group << (c.usage.empty() ? "" : " " + c.usage) << "\n"
                        << c.summary << "\n";
            if (auto it = groupHelp_.find(group); it != groupHelp_.end()) context.out << "\n" << it->second;
            return ExitOk;
        }
        return c.run(args, context);
    }
    if (argv.size() < 2 || argv[1] == "--help" || argv[1] == "-h") {
        printGroupHelp(group, argv.size() < 2 ? context.err : context.out);
        return argv.size() < 2 ? ExitUsage : ExitOk;
    }
    for (const auto& c : commands_) {
        if (c.group != group || c.name != argv[1]) continue;
        Arguments args(std::vector<std::string>(argv.begin() + 2, argv.end()));
        if (args.flag("--help")) {
            context.out << "Usage: qnrtool " << c.group << " " << c.name
                        << (c.usage.empty() ? "" : " " + c.usage) << "\n" << c.summary << "\n";
            return ExitOk;
        }
        return c.run(args, context);
    }
    context.err << "qnrtool: unknown command \"" << group << " " << argv[1] << "\"; see \"qnrtool "
                << group << " --help\"\n";
    return ExitUsage;
}

}  // namespace qnr::tool
