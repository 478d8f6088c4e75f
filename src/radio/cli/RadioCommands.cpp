#include "radio/cli/RadioCommands.h"

#include <algorithm>
#include <ostream>

#include "app/APIUtils.h"
#include "app/Options.h"
#include "astro/DateTime.h"
#include "astro/StringUt.h"
#include "radio/Pulsars.h"
#include "radio/RadiOpts.h"
#include "tool/CommandArgs.h"
#include "tool/Registry.h"

namespace qnr::radio {

namespace {

// The exercise starts on 2002-04-14 at 12:00 UT.
constexpr Extended ExerciseStartJd = 2452379.0L;
constexpr Extended DefaultDensity = 0.03L;  // electrons per cm^3

class ListingVisitor final : public RadioFieldVisitor {
public:
    explicit ListingVisitor(std::ostream& out) : out_(out) {}
    void text(const std::string& key, std::string& v, std::size_t) override { line(key, v); }
    void byte(const std::string& key, std::uint8_t& v) override { line(key, std::to_string(v)); }
    void flag(const std::string& key, bool& v) override { line(key, v ? "1" : "0"); }
    void single(const std::string& key, Single& v) override { line(key, tool::ShortestSingle(v)); }
    void int32(const std::string& key, std::int32_t& v) override { line(key, std::to_string(v)); }
    void uint16(const std::string& key, std::uint16_t& v) override { line(key, std::to_string(v)); }
    void angle(const std::string& key, Extended& v) override { line(key + "_deg", tool::DegreesText(v)); }
private:
    void line(const std::string& key, const std::string& value) { out_ << key << " = " << value << "\n"; }
    std::ostream& out_;
};

void Text(std::ostream& out, const char* key, const std::string& value) { out << key << " = " << value << "\n"; }

// "400,1400": two frequencies in MHz, the lower first.
bool ParseFrequencies(const std::string& text, Extended& low, Extended& high) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) return false;
    auto a = tool::ParseNumber(text.substr(0, comma)), b = tool::ParseNumber(text.substr(comma + 1));
    if (!a || !b || *a <= 0 || *b <= 0) return false;
    low = std::min(*a, *b);
    high = std::max(*a, *b);
    return true;
}

int Pulsar(tool::Arguments& args, tool::Context& ctx) {
    tool::Reader in(args, ctx, "pulsar");
    auto catalogOption = in.text("--catalog", false);
    auto date = in.text("--date", false);
    auto delay = in.text("--delay-mhz", false);
    auto density = in.number("--density", false, 1e-6, 1e3);
    auto names = args.positionals();
    if (in.failed()) return tool::ExitUsage;
    // The NAME is the one word the reader does not take.
    if (const auto extra = args.leftoverOptions(); !extra.empty()) {
        in.fail("unknown option " + extra.front());
        return tool::ExitUsage;
    }
    if (names.size() > 1) {
        in.fail("takes at most one pulsar NAME");
        return tool::ExitUsage;
    }
    Extended jd = ExerciseStartJd;
    if (date) {
        int y = 0, m = 0, d = 0;
        if (!tool::ParseDate(*date, y, m, d)) {
            in.fail("--date needs a valid date YYYY-MM-DD, got \"" + *date + "\"");
            return tool::ExitUsage;
        }
        jd = static_cast<Extended>(EncodeDate(y, m, d)) + JulianDateOfDayZero;
    }
    Extended low = 0, high = 0;
    if (delay && !ParseFrequencies(*delay, low, high)) {
        in.fail("--delay-mhz needs two frequencies above 0 MHz as F1,F2, got \"" + *delay + "\"");
        return tool::ExitUsage;
    }
    if (names.empty() && delay) {
        in.fail("--delay-mhz needs a pulsar NAME");
        return tool::ExitUsage;
    }

    auto& files = *ctx.services.files;
    const std::string path = catalogOption
                                 ? tool::AbsolutePath(*catalogOption, files)
                                 : platform::WithTrailingSlash(ctx.services.identity->programFolder()) +
                                       DefaultRadioOptions(false).pulsarFile;
    PlsrList catalog;
    if (!catalog.Load(files, path)) {
        if (catalog.fault())
            ctx.err << "qnrtool: " << path << " line " << catalog.fault()->line << ": " << catalog.fault()->what << "\n";
        else
            ctx.err << "qnrtool: cannot read " << path << ": " << IOErrorText(catalog.ioCode()) << "\n";
        return tool::ExitFailure;
    }
    Text(ctx.out, "catalog", files.resolve(path));
    if (names.empty()) {
        ctx.out << "pulsars = " << catalog.Count() << "\n";
        int n = 0;
        for (const PulsarRecord& p : catalog.records())
            ctx.out << "pulsar." << ++n << " = " << JName(p) << (p.bName.empty() ? "" : " " + BName(p)) << "\n";
        return tool::ExitOk;
    }
    const PulsarRecord* p = catalog.Find(names[0]);
    if (!p) {
        ctx.err << "qnrtool: no pulsar " << names[0] << " in " << path << "\n";
        return tool::ExitFailure;
    }
    const Extended n = density ? *density : DefaultDensity;
    Text(ctx.out, "name", JName(*p));
    Text(ctx.out, "b1950_name", BName(*p));
    tool::Line(ctx.out, "ra_hours", p->ra);
    tool::Line(ctx.out, "dec_deg", p->dec);
    tool::Line(ctx.out, "date_jd", jd);
    tool::Line(ctx.out, "period_s", PeriodAt(*p, jd));
    tool::Line(ctx.out, "epoch_period_s", p->period);
    tool::Line(ctx.out, "period_derivative", p->periodDerivative);
    tool::Line(ctx.out, "epoch_jd", p->epoch);
    Text(ctx.out, "dm", tool::ShortestSingle(p->dm));
    Text(ctx.out, "w50_ms", tool::ShortestSingle(p->w50));
    Text(ctx.out, "s400", tool::ShortestSingle(p->s400));
    Text(ctx.out, "s600", tool::ShortestSingle(p->s600));
    Text(ctx.out, "s1400", tool::ShortestSingle(p->s1400));
    Text(ctx.out, "sky_temperature_k", tool::ShortestSingle(p->skyTemperature));
    tool::Line(ctx.out, "density_cm3", n);
    tool::Line(ctx.out, "distance_kpc", static_cast<Extended>(p->dm) / n / 1000);
    if (delay) {
        tool::Line(ctx.out, "delay_low_mhz", low);
        tool::Line(ctx.out, "delay_high_mhz", high);
        tool::Line(ctx.out, "delay_ms", DispersionDelay(p->dm, low, high) * 1000);
    }
    return tool::ExitOk;
}

}  // namespace

int ShowRadioOptions(tool::Arguments& args, tool::Context& ctx) {
    if (!args.leftoverOptions().empty()) {
        ctx.err << "qnrtool: unknown option " << args.leftoverOptions().front() << "\n";
        return tool::ExitUsage;
    }
    const auto positionals = args.positionals();
    if (positionals.size() > 1) {
        ctx.err << "qnrtool: too many arguments\n";
        return tool::ExitUsage;
    }
    RadiOptsObj radio(ctx.services, ctx.services.identity && app::IsOlderConsumerPlatform(*ctx.services.identity));
    if (positionals.empty()) {
        // Beside the main options the observatory would read.
        app::OptsObj main(ctx.services);
        main.Create(app::OptionsFileName, app::ProgramVersion);
        radio.Init(RadioOptionsFileName, main.rec.programFolder, RadioOptionsVersion, main.rec.dataFolder);
        Text(ctx.out, "source", radio.loadedFrom().empty() ? "defaults" : radio.loadedFrom());
    } else {
        const std::string path = tool::AbsolutePath(positionals[0], *ctx.services.files);
        if (!ctx.services.files->exists(path)) {
            ctx.err << "qnrtool: no such options file: " << positionals[0] << "\n";
            return tool::ExitFailure;
        }
        if (!radio.Load(path)) {
            ctx.err << "qnrtool: " << positionals[0] << " is not a usable radio options file\n";
            return tool::ExitFailure;
        }
        Text(ctx.out, "source", radio.loadedFrom());
    }
    ListingVisitor listing(ctx.out);
    VisitSavedFields(radio.rec, listing);
    return tool::ExitOk;
}

void RegisterCommands(tool::Registry& registry) {
    registry.add({"pulsar", "", "[NAME] [--date YYYY-MM-DD] [--delay-mhz F1,F2] [--density N] [--catalog FILE]",
                  "a catalog pulsar's values, its period at the date, its distance and a dispersion delay "
                  "(no NAME: the catalog's names)",
                  Pulsar});
    registry.describeGroup(
        "pulsar",
        "NAME is a J2000 or B1950 name with or without its letter (J0332+5434, 0329+54). The catalog is the\n"
        "program folder's PULSARS.DAT unless --catalog names another. The period is P0 + (date - epoch) x\n"
        "Pdot at 0 h UT of --date (default the exercise's start, 2002-04-14 12:00 UT); the distance is\n"
        "DM / density with --density electrons per cm^3 (default 0.03). --delay-mhz F1,F2 adds delay_ms,\n"
        "the dispersion delay of the lower frequency behind the higher, 4150 s x DM x (1/F1^2 - 1/F2^2)\n"
        "with the frequencies in MHz.\n");
}

}  // namespace qnr::radio
