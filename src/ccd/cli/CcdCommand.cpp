#include "ccd/cli/CcdCommand.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "app/Options.h"
#include "astro/DateTime.h"
#include "astro/StringUt.h"
#include "catalogs/SkyCatalogs.h"
#include "ccd/CCD_Fits.h"
#include "ccd/CCD_Img.h"
#include "observatory/FieldView.h"
#include "tool/CommandArgs.h"

namespace qnr::ccd {

namespace {

// Hands the generator a fixed seed where the camera would take the counter.
class SeedClock final : public platform::Clock {
public:
    SeedClock(platform::Clock* real, std::uint32_t seed) : real_(real), seed_(seed) {}
    double localDayNumber() override { return real_ ? real_->localDayNumber() : 0; }
    std::uint32_t tickMs() override { return seed_; }
    std::uint64_t performanceCounter() override { return seed_; }
    platform::TimeZoneInfo timeZone() override { return real_ ? real_->timeZone() : platform::TimeZoneInfo{}; }

private:
    platform::Clock* real_;
    std::uint32_t seed_;
};

std::string Csv(const std::string& s) {
    if (s.find_first_of(",\"") == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

using tool::AbsolutePath;

int Ccd(tool::Arguments& args, tool::Context& ctx) {
    tool::Reader in(args, ctx, "ccd");
    auto ra = in.number("--ra-hours", true);
    auto dec = in.number("--dec-deg", true);
    auto date = in.text("--date", true);
    auto time = in.text("--time", true);
    auto exposure = in.number("--exposure-s", true);
    const Extended telescope = in.numberOr("--telescope", 1);
    const Extended filter = in.numberOr("--filter", 2);
    const Extended gain = in.numberOr("--gain", 1);
    auto seed = in.number("--seed", false);
    auto output = in.text("-o", true);
    auto optionsFile = in.text("--options", false);
    auto keyFile = in.text("--key", false);
    if (in.failed()) return tool::ExitUsage;
    int y = 0, m = 0, d = 0;
    std::optional<Extended> seconds;
    if (date && !tool::ParseDate(*date, y, m, d)) in.fail("--date must be YYYY-MM-DD");
    else if (time && !(seconds = tool::ParseTime(*time))) in.fail("--time must be hh:mm:ss");
    else if (ra && (*ra < 0 || *ra >= 24)) in.fail("--ra-hours must lie in [0, 24)");
    else if (dec && (*dec < -90 || *dec > 90)) in.fail("--dec-deg must lie in [-90, 90]");
    else if (exposure && !(std::nearbyint(*exposure) > 0)) in.fail("--exposure-s must be at least 1 second");
    else if (telescope != 0 && telescope != 1 && telescope != 2) in.fail("--telescope must be 0, 1 or 2");
    else if (filter != std::floor(filter) || filter < 0 || filter > 4) in.fail("--filter must be 0 to 4");
    else if (gain != 1 && gain != 2 && gain != 5) in.fail("--gain must be 1, 2 or 5");
    else if (seed && (*seed < 0 || *seed > 4294967295.0L || *seed != std::floor(*seed)))
        in.fail("--seed must be a whole number from 0 to 4294967295");
    if (!in.ok()) return tool::ExitUsage;

    app::OptsObj options(ctx.services);
    options.Create(app::OptionsFileName, app::ProgramVersion);
    if (optionsFile) {
        const std::string path = AbsolutePath(*optionsFile, *ctx.services.files);
        options.SetDefaults();
        if (!ctx.services.files->exists(path) || !options.ReadFile(path)) {
            ctx.err << "qnrtool: ccd: " << *optionsFile << " is not a usable options file\n";
            return tool::ExitFailure;
        }
    }
    const app::OptsRec& opts = options.rec;
    const int scope = static_cast<int>(telescope);
    if (auto problem = CameraOptionsProblem(opts, scope)) {
        ctx.err << "qnrtool: ccd: " << *problem << "\n";
        return tool::ExitFailure;
    }

    const Extended jd = static_cast<Extended>(EncodeDate(y, m, d)) + *seconds / 86400 + JulianDateOfDayZero;
    platform::Services services = ctx.services;
    SeedClock seeded(ctx.services.clock, seed ? static_cast<std::uint32_t>(*seed) : 0);
    if (seed) services.clock = &seeded;

    SkyCatalogs sky(services, opts);
    sky.SetObservationDate(static_cast<double>(jd - JulianDateOfDayZero - static_cast<Extended>(opts.zoneHours) / 24));
    // The galaxies as the telescope view draws them: its window of the
    // galaxy layer, which the camera spreads over the instrument field.
    const app::TelescopeEntry& scopeEntry = opts.telescopes[static_cast<std::size_t>(scope)];
    const ChipSize viewChip = ChipFieldSize(opts.camera, scopeEntry);
    observatory::FieldView view(opts, sky);
    observatory::ViewRequest request;
    request.telescope = true;
    request.instrument = observatory::InstrumentCcd;
    request.ra = *ra;
    request.dec = *dec;
    request.jd = jd;
    request.finderOffset = static_cast<int>(std::nearbyint(scopeEntry.finderFactor));
    request.scopeOffset = static_cast<int>(std::nearbyint(scopeEntry.scopeFactor));
    request.telescopeIndex = scope;
    request.cameraWidth = viewChip.width;
    request.cameraHeight = viewChip.height;
    Raster galaxies;
    std::vector<DrawnGalaxy> drawnGalaxies;
    const observatory::ViewOutcome outcome = view.Update(request);
    if ((outcome == observatory::ViewOutcome::Shown || outcome == observatory::ViewOutcome::Built) &&
        view.galaxiesDrawn()) {
        galaxies = view.ViewGalaxyLayer();
        drawnGalaxies = view.ViewGalaxies();
    }
    view.TakeNotices();

    // The box holds the whole chip, and at least the telescope view's field.
    const ChipSize& chip = viewChip;
    const double half = static_cast<double>(std::max<Extended>(std::hypot(chip.width, chip.height) / 2,
                                                                opts.instrumentField * opts.fieldCreationFactor / 2) /
                                            60);
    FieldLimits limits = MakeFieldLimits(static_cast<double>(*ra), static_cast<double>(*dec), half, InstrumentLimitMag);
    switch (sky.OpenField(FieldKind::Instrument, limits, jd)) {
        case FieldStatus::Opened: break;
        case FieldStatus::NotAvailable:
            ctx.err << "qnrtool: ccd: that field lies outside the exercise's regions\n";
            return tool::ExitFailure;
        case FieldStatus::NoRegions:
            ctx.err << "qnrtool: ccd: no catalog region covers that field\n";
            return tool::ExitFailure;
        case FieldStatus::Failed: return tool::ExitFailure;
    }

    CCDImageObj image(services, opts);
    CameraSettings settings;
    settings.telescope = scope;
    settings.gain = static_cast<int>(gain);
    settings.filter = static_cast<int>(filter);
    settings.field = &sky.instrument;
    settings.viewFieldArcmin = opts.instrumentField;
    if (galaxies.width > 0) {
        settings.galaxyLayer = &galaxies;
        settings.layerGalaxies = &drawnGalaxies;
    }
    const Extended exposureSeconds = std::nearbyint(*exposure);
    if (!image.Build(exposureSeconds, jd, *dec, *ra, settings)) return tool::ExitFailure;

    const app::TelescopeEntry& t = scopeEntry;
    FitsHeader header;
    header.width = image.array.width();
    header.height = image.array.height();
    header.object = "UNKNOWN";
    header.date = StampStr(static_cast<double>(jd - JulianDateOfDayZero), true);
    header.filter = settings.filter;
    header.ra = *ra;
    header.dec = *dec;
    header.observatory = t.siteName;
    header.telescope = t.name;
    header.detector = opts.camera.name;
    header.observer = "qnrtool";
    header.exposure = exposureSeconds;
    header.dateObs = header.date;
    header.gain = settings.gain;
    const std::string outPath = AbsolutePath(*output, *ctx.services.files);
    if (int code = ctx.services.files->writeFileAtomic(outPath, FitsBytes(header, image.array))) {
        ctx.err << "qnrtool: ccd: cannot write " << *output << ": " << IOErrorText(code) << "\n";
        return tool::ExitFailure;
    }

    std::ostringstream csv;
    csv << "name,kind,x,y,mag\r\n";
    ctx.out << "file = " << outPath << "\n";
    ctx.out << "objects = " << image.key.size() << "\n";
    for (const KeyEntry& e : image.key) {
        const std::string line = Csv(e.name) + "," + std::to_string(e.kind) + "," + FixedStr(e.x, 2) + "," +
                                 FixedStr(e.y, 2) + "," + FixedStr(e.magnitude, 2);
        csv << line << "\r\n";
        ctx.out << line << "\n";
    }
    if (keyFile) {
        const std::string text = csv.str();
        if (int code = ctx.services.files->writeFileAtomic(AbsolutePath(*keyFile, *ctx.services.files),
                                                           platform::Bytes(text.begin(), text.end()))) {
            ctx.err << "qnrtool: ccd: cannot write " << *keyFile << ": " << IOErrorText(code) << "\n";
            return tool::ExitFailure;
        }
    }
    return tool::ExitOk;
}

}  // namespace

void RegisterCommands(tool::Registry& registry) {
    registry.add({"ccd", "",
                  "--ra-hours A --dec-deg D --date YYYY-MM-DD --time hh:mm:ss --exposure-s T [--telescope 0|1|2] "
                  "[--filter 0-4] [--gain 1|2|5] [--seed S] [--options FILE] [--key FILE.CSV] -o FILE.FIT",
                  "the CCD camera's image of a field saved as FITS, with the objects on the chip", Ccd});
    registry.describeGroup(
        "ccd",
        "The image the CCD camera would take at (A, D), J2000.0, for an exposure starting at the given UT date\n"
        "and time, built from the bundled data tree with the default options (or --options FILE). --seed fixes\n"
        "the noise so the same image can be made again. The objects that fell on the chip are printed as\n"
        "name,kind,x,y,mag (kind 0 star, 1 galaxy, 2 asteroid, 3 quasar; x the column and y the row from 0 as\n"
        "stored in the file; the magnitude in the chosen filter); --key writes them as CSV. Defaults: the\n"
        "1.0 m telescope, the V filter, gain 1. Galaxies come from the telescope view's galaxy layer, as in the camera;\n"
        "each one whose glow reaches the chip is listed after the point objects at its catalog position, which may\n"
        "lie off the chip when only its outskirts are on it.\n");
}

}  // namespace qnr::ccd
