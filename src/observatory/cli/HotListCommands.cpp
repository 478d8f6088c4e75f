#include "observatory/cli/HotListCommands.h"

#include <optional>
#include <ostream>

#include "astro/StringUt.h"
#include "observatory/HotList.h"
#include "tool/CommandArgs.h"
#include "tool/Registry.h"

namespace qnr::observatory {

namespace {

using tool::AbsolutePath;
using tool::Latin1ToUtf8;
using tool::Utf8ToLatin1;

bool RejectLeftovers(tool::Arguments& args, tool::Context& ctx, std::size_t positionals) {
    if (args.missingValue()) {
        ctx.err << "qnrtool: an option is missing its value\n";
        return true;
    }
    auto extra = args.leftoverOptions();
    if (!extra.empty()) {
        ctx.err << "qnrtool: unknown option " << extra.front() << "\n";
        return true;
    }
    if (args.positionals().size() != positionals) {
        ctx.err << "qnrtool: hotlist commands take one FILE\n";
        return true;
    }
    return false;
}


// The entries of FILE in the order the program keeps them (ascending right
// ascension, equal ones in file order), whatever order the file has; an error
// text when it cannot be used. A missing file is an empty list when `missingIsEmpty`.
Expected<std::vector<ObjctDat>> ReadList(const std::string& path, platform::FileSystem& files, bool missingIsEmpty) {
    if (!files.exists(path)) {
        if (missingIsEmpty) return std::vector<ObjctDat>{};
        return Fail("no such hot-list file: " + path);
    }
    if (files.isFolder(path)) return Fail(path + " is a folder");
    const platform::ReadResult read = files.readFile(path, HotListRecordSize << 20);
    if (read.code != 0) return Fail(path + ": " + IOErrorText(read.code));
    auto entries = DecodeHotList(read.bytes);
    if (!entries) return Fail(path + " is not a usable hot list (" + entries.error() + ")");
    ObjctList list;
    for (const ObjctDat& e : *entries) list.InsertSorted(e);
    return list.Entries();
}

int Show(tool::Arguments& args, tool::Context& ctx) {
    if (RejectLeftovers(args, ctx, 1)) return tool::ExitUsage;
    const std::string path = AbsolutePath(args.positionals()[0], *ctx.services.files);
    auto entries = ReadList(path, *ctx.services.files, false);
    if (!entries) {
        ctx.err << "qnrtool: " << entries.error() << "\n";
        return tool::ExitFailure;
    }
    ctx.out << "file = " << path << "\n" << "entries = " << entries->size() << "\n";
    std::size_t n = 0;
    for (const ObjctDat& e : *entries) {
        const std::string key = "entry." + std::to_string(++n) + ".";
        ctx.out << key << "id = " << Latin1ToUtf8(e.identifier) << "\n"
                << key << "ra_hours = " << FixedStr(e.ra, 8) << "\n"
                << key << "dec_deg = " << FixedStr(e.dec, 7) << "\n"
                << key << "ra_hms = " << HMSStr(e.ra, 2, false) << "\n"
                << key << "dec_dms = " << DMSStr(e.dec, 1, false) << "\n"
                << key << "comment = " << Latin1ToUtf8(e.comment) << "\n";
    }
    return tool::ExitOk;
}

int Add(tool::Arguments& args, tool::Context& ctx) {
    const auto id = args.option("--id");
    const auto raText = args.option("--ra-hours");
    const auto decText = args.option("--dec-deg");
    const auto commentText = args.option("--comment");
    if (RejectLeftovers(args, ctx, 1)) return tool::ExitUsage;
    if (!id || !raText || !decText) {
        ctx.err << "qnrtool: hotlist add needs --id, --ra-hours and --dec-deg\n";
        return tool::ExitUsage;
    }
    const auto ra = tool::ParseNumber(*raText);
    if (!ra || *ra < 0 || *ra > 24) {
        ctx.err << "qnrtool: --ra-hours must be a number from 0 to 24\n";
        return tool::ExitUsage;
    }
    const auto dec = tool::ParseNumber(*decText);
    if (!dec || *dec < -90 || *dec > 90) {
        ctx.err << "qnrtool: --dec-deg must be a number from -90 to 90\n";
        return tool::ExitUsage;
    }
    const auto identifier = Utf8ToLatin1(*id);
    const auto comment = Utf8ToLatin1(commentText.value_or(""));
    if (!identifier || !comment) {
        ctx.err << "qnrtool: the identifier and comment must be Latin-1 text\n";
        return tool::ExitUsage;
    }
    if (identifier->size() > MaxHotListId || comment->size() > MaxHotListComment) {
        ctx.err << "qnrtool: the identifier holds at most 24 characters, the comment at most 40\n";
        return tool::ExitUsage;
    }

    auto& files = *ctx.services.files;
    const std::string path = AbsolutePath(args.positionals()[0], files);
    auto entries = ReadList(path, files, true);
    if (!entries) {
        ctx.err << "qnrtool: " << entries.error() << "\n";
        return tool::ExitFailure;
    }
    ObjctList list;
    for (const ObjctDat& e : *entries) list.InsertSorted(e);
    list.InsertSorted(ObjctDat{*identifier, *ra, *dec, *comment});
    const int position = list.CurrentIndex() + 1;
    const int code = files.writeFileAtomic(path, EncodeHotList(list.Entries()));
    if (code != 0) {
        ctx.err << "qnrtool: cannot write " << path << ": " << IOErrorText(code) << "\n";
        return tool::ExitFailure;
    }
    ctx.out << "written = " << path << "\n"
            << "entries = " << list.Count() << "\n"
            << "position = " << position << "\n";
    return tool::ExitOk;
}

}  // namespace

void RegisterCommands(tool::Registry& registry) {
    registry.add({"hotlist", "show", "FILE", "every entry of a hot-list file (.HTL) as \"key = value\" lines", Show});
    registry.add({"hotlist", "add", "FILE --id ID --ra-hours A --dec-deg D [--comment C]",
                  "adds a J2000.0 target to a hot-list file (made when missing), kept in RA order", Add});
    registry.describeGroup(
        "hotlist",
        "A hot list holds the targets students slew to without typing coordinates: 86-byte records of an\n"
        "identifier (at most 24 characters), right ascension in hours and declination in degrees (J2000.0)\n"
        "and a comment (at most 40 characters), in ascending right ascension.\n"
        "\"show\" prints \"file\" and \"entries\", then for entry N the keys entry.N.id,\n"
        "entry.N.ra_hours, entry.N.dec_deg, entry.N.ra_hms (\"hh mm ss.ss\"), entry.N.dec_dms (\"+dd mm ss.s\")\n"
        "and entry.N.comment. N is the number the list window shows: 1 = smallest RA, equal RAs in file order,\n"
        "whatever order the file's records have.\n"
        "\"add\" inserts one entry at its place in RA order and prints \"written\", \"entries\" and \"position\";\n"
        "the file is replaced only once the new one is complete. A damaged file is refused and left alone.\n");
}

}  // namespace qnr::observatory
