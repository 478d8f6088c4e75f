#include "datatree/cli/DataTreeCommands.h"

#include <ostream>

#include "datatree/DataTree.h"
#include "tool/Registry.h"

namespace qnr::datatree_cli {

namespace {

int Check(tool::Arguments& args, tool::Context& ctx) {
    const bool quiet = args.flag("--quiet");
    const auto rest = args.positionals();
    if (!args.leftoverOptions().empty() || rest.size() > 1) {
        ctx.err << "qnrtool: datatree check: usage: qnrtool datatree check [FOLDER] [--quiet]\n";
        return tool::ExitUsage;
    }
    const std::string folder = rest.empty() ? ctx.services.identity->programFolder() : rest.front();
    const datatree::CheckReport report = datatree::CheckTree(folder, *ctx.services.files);
    if (!quiet)
        for (const std::string& line : report.notes) ctx.out << line << "\n";
    for (const std::string& line : report.problems) ctx.out << "PROBLEM: " << line << "\n";
    ctx.out << (report.ok() ? "data tree ok" : "data tree has " + std::to_string(report.problems.size()) + " problems")
            << "\n";
    return report.ok() ? tool::ExitOk : tool::ExitFailure;
}

}  // namespace

void RegisterCommands(tool::Registry& registry) {
    registry.add({"datatree", "check", "[FOLDER] [--quiet]",
                  "checks an installed data tree (default: the program folder) for missing or malformed files",
                  Check});
    registry.describeGroup(
        "datatree",
        "check runs the layout's own checks on a tree: both star catalogs with their region table, the galaxy\n"
        "catalog, index and pictures, the quasar catalog, the orbit file, the naked-eye stars and the hot list;\n"
        "every hot-list target must open in the instrument's exercise regions among stars and be observable on\n"
        "the exercise night, and the exercise's asteroid must be in its field. Exit 1 when anything is wrong.\n");
}

}  // namespace qnr::datatree_cli
