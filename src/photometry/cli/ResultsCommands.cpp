#include "photometry/cli/ResultsCommands.h"

#include <ostream>

#include "astro/StringUt.h"
#include "help/TextLists.h"
#include "photometry/ObsResult.h"
#include "tool/CommandArgs.h"
#include "tool/Registry.h"

namespace qnr::photometry {

namespace {


using tool::AbsolutePath;
using tool::Latin1ToUtf8;

int Show(tool::Arguments& args, tool::Context& ctx) {
    const bool csv = args.flag("--csv");
    if (args.missingValue() || !args.leftoverOptions().empty()) {
        ctx.err << "qnrtool: results show takes only --csv\n";
        return tool::ExitUsage;
    }
    if (args.positionals().size() != 1) {
        ctx.err << "qnrtool: results show takes one FILE\n";
        return tool::ExitUsage;
    }
    platform::FileSystem& files = *ctx.services.files;
    const std::string path = AbsolutePath(args.positionals()[0], files);
    if (!files.exists(path) || files.isFolder(path)) {
        ctx.err << "qnrtool: no such results file: " << path << "\n";
        return tool::ExitFailure;
    }
    const platform::ReadResult read = files.readFile(path, MaxResultsFileBytes);
    if (read.code != 0) {
        ctx.err << "qnrtool: " << path << ": " << IOErrorText(read.code) << "\n";
        return tool::ExitFailure;
    }
    const std::vector<std::string> lines = help::SplitTextLines(read.bytes);
    const Expected<ResultsFileForm> form = DetectResultsForm(lines);
    if (!form) {
        ctx.err << "qnrtool: " << path << " does not contain saved photometric data\n";
        return tool::ExitFailure;
    }
    // The file's own kind; one without any value reads as magnitudes.
    const bool magnitudes = form->magnitudes.value_or(true);
    const int nf = HighestFilter(form->includeRI);
    const auto entries = ParseResultsFile(lines, *form, magnitudes ? 1 : 0, nf,
                                          ResultsFileReferenceJd(files.modifiedSeconds(path)));
    if (!entries) {
        if (entries.error() == NoResultsData)
            ctx.err << "qnrtool: " << path << " does not contain saved photometric data\n";
        else
            ctx.err << "qnrtool: " << path << ": " << entries.error() << "\n";
        return tool::ExitFailure;
    }
    ObsResultList list;
    for (const ObsResult& entry : *entries) list.InsertSorted(entry);
    ctx.out << (csv ? CommaHeader(nf) : ResultsHeader(magnitudes, nf)) << "\n";
    list.Reset();
    while (!list.AtLast()) {
        const ObsResult& entry = *list.Next();
        if (csv) {
            if (auto line = CommaLine(entry, nf, magnitudes)) ctx.out << Latin1ToUtf8(*line) << "\n";
        } else {
            ctx.out << Latin1ToUtf8(ResultsLine(entry, nf, magnitudes)) << "\n";
        }
    }
    return tool::ExitOk;
}

}  // namespace

void RegisterCommands(tool::Registry& registry) {
    registry.add({"results", "show", "FILE [--csv]",
                  "a saved observational results file in the results list's line form, or comma-separated", Show});
    registry.describeGroup(
        "results",
        "An observational results file is what students save from the results list: fixed columns as the\n"
        "list shows them, or comma-separated for a spreadsheet. Either form is read; files of the older\n"
        "layout (11-character IDs, Julian Dates without their first three digits) too, the missing digits\n"
        "taken from the file's modification date.\n"
        "\"show\" prints the header and one line per entry in time order, in the current fixed-column\n"
        "layout (full Julian Dates, 15-character IDs), or with --csv the comma-separated form. Magnitudes\n"
        "or counts and the presence of R and I follow the file.\n");
}

}  // namespace qnr::photometry
