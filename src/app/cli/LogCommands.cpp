#include "app/cli/LogCommands.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <ostream>
#include <set>

#include "app/Options.h"
#include "tool/CommandArgs.h"
#include "tool/Registry.h"

namespace qnr::app {

namespace {

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool StartsWith(const std::string& s, const std::string& head) { return s.rfind(head, 0) == 0; }

// "Elapsed Time: " values: "1:02:03.50", or "2Days, 1:02:03.50".
void SplitElapsed(const std::string& value, LogEntry& e) {
    const auto days = value.find("Days,");
    if (days == std::string::npos) {
        e.elapsedDays.assign(1, '0');  // not a literal: GCC 12 warns falsely on that assignment here
        e.elapsed = Trim(value);
    } else {
        e.elapsedDays = Trim(value.substr(0, days));
        e.elapsed = Trim(value.substr(days + 5));
    }
}

}  // namespace

std::vector<LogEntry> ParseUserLog(const std::string& text) {
    std::vector<LogEntry> entries;
    bool open = false;
    LogEntry e;
    auto flush = [&] {
        if (open) entries.push_back(e);
        open = false;
    };
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();

        if (StartsWith(line, "**********")) {
            flush();
            continue;
        }
        const auto colon = line.find(": ");
        if (colon == std::string::npos && !(line.size() > 0 && line.back() == ':')) continue;
        const std::string key = line.substr(0, colon == std::string::npos ? line.size() - 1 : colon);
        const std::string value = colon == std::string::npos ? std::string() : line.substr(colon + 2);
        if (key == "Login" || key == "Logout" || key == "Component") {
            flush();
            e = LogEntry{};
            e.kind = Lower(key);
            e.subject = value;
            open = true;
            continue;
        }
        if (!open) continue;
        if (key == "Date") {
            e.date = Trim(value);
        } else if (key == "Time") {
            e.time = Trim(value);
        } else if (key.size() == 5 && StartsWith(key, "Name") && key[4] >= '1' && key[4] <= '4') {
            e.names[static_cast<std::size_t>(key[4] - '1')] = value;
        } else if (key == "Table") {
            e.table = value;
        } else if (key == "Elapsed Time") {
            SplitElapsed(value, e);
        }
    }
    flush();
    return entries;
}

namespace {

// Whether the entry belongs to a group with the name: its own names, or, for
// the entries that carry only the first name, those of the group's login.
std::vector<LogEntry> ForUser(const std::vector<LogEntry>& entries, const std::string& user) {
    const std::string wanted = Lower(user);
    std::map<std::pair<std::string, std::string>, std::set<std::string>> groups;  // (name1, table) -> names
    std::vector<LogEntry> out;
    for (const LogEntry& e : entries) {
        const auto key = std::make_pair(Lower(e.names[0]), e.table);
        if (e.kind == "login") {
            auto& names = groups[key];
            names.clear();
            for (const auto& n : e.names)
                if (!n.empty()) names.insert(Lower(n));
        }
        bool match = std::any_of(e.names.begin(), e.names.end(), [&](const std::string& n) {
            return !n.empty() && Lower(n) == wanted;
        });
        if (auto g = groups.find(key); g != groups.end() && g->second.count(wanted)) match = true;
        if (match) out.push_back(e);
    }
    return out;
}

void Print(const LogEntry& e, std::ostream& out) {
    out << "kind = " << e.kind << "\n";
    out << (e.kind == "component" ? "component = " : "program = ") << e.subject << "\n";
    out << "date = " << e.date << "\n";
    out << "time = " << e.time << "\n";
    out << "name1 = " << e.names[0] << "\n";
    for (std::size_t i = 1; i < e.names.size(); ++i)
        if (!e.names[i].empty()) out << "name" << i + 1 << " = " << e.names[i] << "\n";
    out << "table = " << e.table << "\n";
    if (e.kind != "login") {
        out << "elapsed_days = " << (e.elapsedDays.empty() ? "0" : e.elapsedDays) << "\n";
        out << "elapsed = " << e.elapsed << "\n";
    }
}

int ShowLog(tool::Arguments& args, tool::Context& ctx) {
    const auto user = args.option("--user");
    if (args.missingValue()) {
        ctx.err << "qnrtool: --user needs a NAME\n";
        return tool::ExitUsage;
    }
    if (!args.leftoverOptions().empty()) {
        ctx.err << "qnrtool: unknown option " << args.leftoverOptions().front() << "\n";
        return tool::ExitUsage;
    }
    const auto positionals = args.positionals();
    if (positionals.size() > 1) {
        ctx.err << "qnrtool: too many arguments\n";
        return tool::ExitUsage;
    }
    auto& files = *ctx.services.files;
    std::string path;
    if (positionals.empty()) {
        // The log the observatory writes.
        OptsObj opts(ctx.services);
        opts.Create(OptionsFileName, ProgramVersion);
        path = LogFilePath(opts.rec);
        if (path.empty()) {
            ctx.err << "qnrtool: the options name no log file\n";
            return tool::ExitFailure;
        }
    } else {
        path = tool::AbsolutePath(positionals[0], files);
    }
    path = files.resolve(path);
    if (!files.exists(path) || files.isFolder(path)) {
        ctx.err << "qnrtool: no such log file: " << path << "\n";
        return tool::ExitFailure;
    }
    const platform::ReadResult read = files.readFile(path, 64u << 20);
    if (read.code != 0) {
        ctx.err << "qnrtool: cannot read " << path << "\n";
        return tool::ExitFailure;
    }
    std::vector<LogEntry> entries = ParseUserLog(std::string(read.bytes.begin(), read.bytes.end()));
    if (user) entries = ForUser(entries, *user);
    ctx.out << "source = " << path << "\n";
    ctx.out << "entries = " << entries.size() << "\n";
    for (const LogEntry& e : entries) {
        ctx.out << "\n";
        Print(e, ctx.out);
    }
    return tool::ExitOk;
}

}  // namespace

void RegisterLogCommands(tool::Registry& registry) {
    registry.add({"log", "show", "[FILE] [--user NAME]",
                  "the entries of a user log as \"key = value\" lines (no FILE: the log the observatory writes)",
                  ShowLog});
    registry.describeGroup(
        "log",
        "\"source\" names the file read and \"entries\" counts the entries shown; each entry follows after a\n"
        "blank line with the keys kind (login, component, logout), program (login and logout) or component\n"
        "(the instrument or tool used), date (MM-DD-YYYY), time, name1 and, when given, name2 to name4,\n"
        "table, and for components and logouts elapsed_days and elapsed (h:mm:ss.ss since the login).\n"
        "--user NAME keeps the entries of the groups that NAME belonged to (letter case ignored).\n");
}

}  // namespace qnr::app
