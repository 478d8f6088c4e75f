#include "app/cli/AppCommands.h"

#include <charconv>
#include <cmath>
#include <ostream>

#include "app/Options.h"
#include "app/cli/LogCommands.h"
#include "radio/cli/RadioCommands.h"
#include "astro/MathStd.h"
#include "tool/CommandArgs.h"
#include "tool/Registry.h"

namespace qnr::app {

namespace {

using tool::DegreesText;
using tool::ShortestSingle;

// Lists each saved field as "key = value".
class ListingVisitor final : public OptionsFieldVisitor {
public:
    explicit ListingVisitor(std::ostream& out) : out_(out) {}
    void text(const std::string& key, std::string& v, std::size_t) override { line(key, v); }
    void byte(const std::string& key, std::uint8_t& v) override { line(key, std::to_string(v)); }
    void flag(const std::string& key, bool& v) override { line(key, v ? "1" : "0"); }
    void single(const std::string& key, Single& v) override { line(key, ShortestSingle(v)); }
    void int32(const std::string& key, std::int32_t& v) override { line(key, std::to_string(v)); }
    void angle(const std::string& key, Extended& v) override { line(key + "_deg", DegreesText(v)); }
    void password(const std::string& key, ScrambledPassword& v) override {
        line(key + "_length", std::to_string(v.length));
    }
private:
    void line(const std::string& key, const std::string& value) { out_ << key << " = " << value << "\n"; }
    std::ostream& out_;
};

bool RejectLeftovers(tool::Arguments& args, tool::Context& ctx, std::size_t maxPositionals) {
    auto extra = args.leftoverOptions();
    if (!extra.empty()) {
        ctx.err << "qnrtool: unknown option " << extra.front() << "\n";
        return true;
    }
    if (args.positionals().size() > maxPositionals) {
        ctx.err << "qnrtool: too many arguments\n";
        return true;
    }
    return false;
}

using tool::AbsolutePath;

int ShowOptions(tool::Arguments& args, tool::Context& ctx) {
    if (args.flag("--radio")) return radio::ShowRadioOptions(args, ctx);
    if (RejectLeftovers(args, ctx, 1)) return tool::ExitUsage;
    auto positionals = args.positionals();
    OptsObj opts(ctx.services);
    if (positionals.empty()) {
        // The file the observatory would read, or its defaults.
        opts.Create(OptionsFileName, ProgramVersion);
        ctx.out << "source = " << (opts.loadedFrom().empty() ? "defaults" : opts.loadedFrom()) << "\n";
    } else {
        const std::string path = AbsolutePath(positionals[0], *ctx.services.files);
        if (!ctx.services.files->exists(path)) {
            ctx.err << "qnrtool: no such options file: " << positionals[0] << "\n";
            return tool::ExitFailure;
        }
        opts.InitIdentification(OptionsFileName, ProgramVersion);
        opts.SetDefaults();
        if (!opts.ReadFile(path)) {
            ctx.err << "qnrtool: " << positionals[0] << " is not a usable options file\n";
            return tool::ExitFailure;
        }
        ctx.out << "source = " << opts.loadedFrom() << "\n";
    }
    ListingVisitor listing(ctx.out);
    VisitSavedFields(opts.rec, listing);
    return tool::ExitOk;
}

int WriteDefaults(tool::Arguments& args, tool::Context& ctx) {
    if (RejectLeftovers(args, ctx, 1)) return tool::ExitUsage;
    auto positionals = args.positionals();
    if (positionals.empty()) {
        ctx.err << "qnrtool: options defaults needs the FILE to write\n";
        return tool::ExitUsage;
    }
    auto& files = *ctx.services.files;
    const std::string path = AbsolutePath(positionals[0], files);
    if (files.isFolder(path)) {
        ctx.err << "qnrtool: " << positionals[0] << " is a folder\n";
        return tool::ExitFailure;
    }
    OptsObj opts(ctx.services);
    opts.InitIdentification(platform::FileNameOf(path), ProgramVersion);
    opts.SetDefaults();
    if (!opts.Save(platform::FolderOf(path))) return tool::ExitFailure;
    ctx.out << "written = " << path << "\n" << "bytes = " << OptionsFileSize << "\n";
    return tool::ExitOk;
}

}  // namespace

void RegisterCommands(tool::Registry& registry) {
    registry.add({"options", "show", "[FILE] [--radio]",
                  "every saved field of an options file as \"key = value\" lines (no FILE: the file the "
                  "observatory would read; --radio: the radio options file)",
                  ShowOptions});
    registry.add({"options", "defaults", "FILE", "writes an options file holding the defaults (4586 bytes)",
                  WriteDefaults});
    registry.describeGroup(
        "options",
        "The first line, \"source\", names the file read (or \"defaults\"). Angles of the telescope table are\n"
        "shown in degrees (keys ending in _deg); the password only as its length. An existing FILE given to\n"
        "\"defaults\" is kept as its .BAK copy. \"show --radio\" lists QNR_RADI.INI (982 bytes) the same way:\n"
        "the radio telescope's site and angles in degrees, the receiver and sound values, the switches.\n");
    RegisterLogCommands(registry);
}

}  // namespace qnr::app
