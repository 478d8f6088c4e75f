#include "photometry/cli/PhotometerCommand.h"

#include <cmath>
#include <sstream>

#include "app/Options.h"
#include "astro/DateTime.h"
#include "astro/StringUt.h"
#include "catalogs/SkyCatalogs.h"
#include "observatory/FieldView.h"
#include "observatory/HandOff.h"
#include "photometry/Photometer.h"
#include "tool/CommandArgs.h"

namespace qnr::photometry {

namespace {

// The telescope as the photometer sees it, without a window: the field
// view's telescope field around a pointing the command sets.
class ToolHandOff final : public observatory::TelescopeHandOff {
public:
    ToolHandOff(const app::OptsRec& opts, SkyCatalogs& sky, int telescope, Extended jd)
        : opts_(opts), sky_(sky), view_(opts, sky) {
        const app::TelescopeEntry& t = opts.telescopes[static_cast<std::size_t>(telescope)];
        request_.telescope = true;
        request_.instrument = observatory::InstrumentPhotometer;
        request_.jd = jd;
        request_.finderOffset = static_cast<int>(std::nearbyint(t.finderFactor));
        request_.scopeOffset = static_cast<int>(std::nearbyint(t.scopeFactor));
        request_.telescopeIndex = telescope;
        telescope_ = telescope;
    }
    void SetAcceptance(InstrumentAcceptance* acceptance) { acceptance_ = acceptance; }
    // Points the telescope; false when no telescope field can be shown there.
    bool Point(Extended ra, Extended dec) {
        request_.ra = ra;
        request_.dec = dec;
        const observatory::ViewOutcome o = view_.Update(request_);
        notices_ = view_.TakeNotices();
        return o == observatory::ViewOutcome::Shown || o == observatory::ViewOutcome::Built;
    }
    const std::vector<platform::Message>& notices() const { return notices_; }

    std::optional<FieldObject> CurrentObject() override { return view_.CurrentObject(request_, acceptance_); }
    int CentreBrightness() override { return view_.CentreBrightness(); }
    const Raster* FieldPicture() override { return view_.haveField() ? &view_.field() : nullptr; }
    const Raster* GalaxyLayer() override { return view_.haveField() ? &view_.galaxyLayer() : nullptr; }
    Extended RightAscension() override { return request_.ra; }
    Extended Declination() override { return request_.dec; }
    int Telescope() override { return telescope_; }
    Extended TelescopeBaseMagnitude() override {
        return static_cast<Extended>(opts_.baseMagnitude) +
               opts_.telescopes[static_cast<std::size_t>(telescope_)].scopeFactor;
    }
    Extended CameraFieldWidth() override { return 0; }
    Extended CameraFieldHeight() override { return 0; }
    Extended JulianDate() override { return request_.jd; }
    SkyCatalogs& Catalogs() override { return sky_; }
    void SetPhotometerAperture(int radiusPixels) override { view_.SetPhotometerAperture(radiusPixels); }
    int PhotometerApertureRadius() override { return view_.outlines().apertureRadius; }
    Extended PhotometerApertureDegrees() override { return view_.apertureDegrees(); }
    void InstrumentClosed() override {}

private:
    const app::OptsRec& opts_;
    SkyCatalogs& sky_;
    observatory::FieldView view_;
    observatory::ViewRequest request_;
    InstrumentAcceptance* acceptance_ = nullptr;
    int telescope_ = 0;
    std::vector<platform::Message> notices_;
};

// Questions are answered No; what was said is kept for the error report.
class QuietDialogs final : public platform::Dialogs {
public:
    platform::Answer ask(const platform::Message& m) override {
        said.push_back(m);
        return m.buttons == platform::Buttons::OK ? platform::Answer::OK : platform::Answer::No;
    }
    void beep() override {}
    std::optional<std::string> inputLine(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::vector<platform::Message> said;
};

std::string Joined(const std::vector<std::int64_t>& counts) {
    std::string s;
    for (std::int64_t c : counts) s += (s.empty() ? "" : ",") + std::to_string(c);
    return s;
}

// Runs one set at the present pointing; false when it did not complete.
bool RunSet(Photometer& p) {
    p.Start();
    // A set is at most 5 x 100 s of 1 ms ticks.
    for (long i = 0; p.integrating() && i < 1000000L; ++i) p.Tick();
    return !p.integrating() && p.lastSet().has_value();
}

// A spot near the target with nothing in the aperture, for the sky reading.
bool PointAtBlankSky(ToolHandOff& scope, SkyCatalogs& sky, Extended ra, Extended dec) {
    for (Extended arcmin : {1.5L, 2.0L, 2.5L, 3.0L, 4.0L, 5.0L}) {
        for (int k = 0; k < 12; ++k) {
            const Extended angle = k * 30 * DegToRad;
            const Extended d = dec + arcmin * std::cos(angle) / 60;
            Extended r = ra + arcmin * std::sin(angle) / 60 / (15 * std::cos(dec * DegToRad));
            if (r < 0) r += 24;
            if (r >= 24) r -= 24;
            if (!scope.Point(r, d)) continue;
            const FieldObjectList near = sky.instrument.ObjectsNear(static_cast<double>(d), static_cast<double>(r),
                                                                    static_cast<double>(scope.PhotometerApertureDegrees()));
            if (!near.IsEmpty()) continue;
            // Nor inside a galaxy's glow.
            const std::optional<FieldObject> centre = scope.CurrentObject();
            if (centre && centre->kind == KindGalaxy) continue;
            return true;
        }
    }
    return false;
}

int Photometry(tool::Arguments& args, tool::Context& ctx) {
    tool::Reader in(args, ctx, "photometry");
    auto ra = in.number("--ra-hours", true);
    auto dec = in.number("--dec-deg", true);
    auto date = in.text("--date", true);
    auto time = in.text("--time", true);
    auto telescope = in.number("--telescope", true);
    auto filterName = in.text("--filter", true);
    auto integration = in.number("--integration-s", true);
    auto count = in.number("--count", true);
    auto seed = in.number("--seed", false);
    auto optionsFile = in.text("--options", false);
    const bool skyOnly = in.flag("--sky");
    if (in.failed()) return tool::ExitUsage;
    int y = 0, m = 0, d = 0;
    std::optional<Extended> seconds;
    int filter = -1, timeIndex = -1;
    if (filterName) {
        static const char* names[] = {"U", "B", "V", "R", "I"};
        for (int i = 0; i < FilterCount; ++i)
            if (*filterName == names[i]) filter = i;
    }
    if (integration)
        for (int i = 0; i < IntegrationChoices; ++i)
            if (std::fabs(*integration - IntegrationSeconds(i)) < 1e-9L) timeIndex = i;
    if (date && !tool::ParseDate(*date, y, m, d)) in.fail("--date must be YYYY-MM-DD");
    else if (time && !(seconds = tool::ParseTime(*time))) in.fail("--time must be hh:mm:ss");
    else if (ra && (*ra < 0 || *ra >= 24)) in.fail("--ra-hours must lie in [0, 24)");
    else if (dec && (*dec < -90 || *dec > 90)) in.fail("--dec-deg must lie in [-90, 90]");
    else if (telescope && *telescope != 0 && *telescope != 1 && *telescope != 2) in.fail("--telescope must be 0, 1 or 2");
    else if (filter < 0) in.fail("--filter must be U, B, V, R or I");
    else if (timeIndex < 0) in.fail("--integration-s must be 0.1, 1, 10 or 100");
    else if (count && (*count != std::floor(*count) || *count < 1 || *count > MaxIntegrations))
        in.fail("--count must be 1 to 5");
    else if (seed && (*seed < 1 || *seed > 4294967295.0L || *seed != std::floor(*seed)))
        in.fail("--seed must be a whole number from 1 to 4294967295");
    if (!in.ok()) return tool::ExitUsage;

    app::OptsObj options(ctx.services);
    options.Create(app::OptionsFileName, app::ProgramVersion);
    if (optionsFile) {
        const std::string path = tool::AbsolutePath(*optionsFile, *ctx.services.files);
        options.SetDefaults();
        if (!ctx.services.files->exists(path) || !options.ReadFile(path)) {
            ctx.err << "qnrtool: photometry: " << *optionsFile << " is not a usable options file\n";
            return tool::ExitFailure;
        }
    }
    app::OptsRec opts = options.rec;
    // The answer key offers every filter, whatever the students may choose.
    if (filter > 2) opts.includeRI = true;
    const int scope = static_cast<int>(*telescope);
    const Extended jd = static_cast<Extended>(EncodeDate(y, m, d)) + *seconds / 86400 + JulianDateOfDayZero;

    QuietDialogs quiet;
    platform::Services services = ctx.services;
    services.dialogs = &quiet;
    SkyCatalogs sky(services, opts);
    sky.SetObservationDate(static_cast<double>(jd - JulianDateOfDayZero - static_cast<Extended>(opts.zoneHours) / 24));
    ToolHandOff handOff(opts, sky, scope, jd);
    if (!handOff.Point(*ra, *dec)) {
        ctx.err << "qnrtool: photometry: no telescope field can be shown there";
        for (const platform::Message& n : handOff.notices()) ctx.err << " (" << n.caption << ")";
        ctx.err << "\n";
        return tool::ExitFailure;
    }
    Photometer p(services, opts, handOff, {}, seed ? static_cast<std::uint32_t>(*seed) : 0);
    handOff.SetAcceptance(&p);
    p.Show();
    p.SelectFilter(filter);
    p.SelectIntegrationTime(timeIndex);
    p.SelectIntegrations(static_cast<int>(*count) - 1);

    auto failed = [&](const char* what) {
        ctx.err << "qnrtool: photometry: " << what;
        for (const platform::Message& msg : quiet.said) ctx.err << " (" << msg.caption << ")";
        ctx.err << "\n";
        return tool::ExitFailure;
    };
    auto& out = ctx.out;
    out << "telescope = " << scope << "\n";
    out << "filter = " << *filterName << "\n";
    out << "integration_s = " << FixedStr(IntegrationSeconds(timeIndex), 1) << "\n";
    out << "count = " << static_cast<int>(*count) << "\n";
    out << "aperture_diameter_arcmin = " << FixedStr(handOff.PhotometerApertureDegrees() * 120, 3) << "\n";

    // Sky first, at a blank spot beside the target unless the sky alone is read.
    Extended skyRa = *ra, skyDec = *dec;
    if (!skyOnly) {
        if (!PointAtBlankSky(handOff, sky, *ra, *dec)) return failed("no blank sky found within 5 arcminutes");
        skyRa = handOff.RightAscension();
        skyDec = handOff.Declination();
    }
    p.Activate();
    if (!p.switchAtSky()) p.MoveReadingSwitch(true);
    if (!RunSet(p)) return failed("the sky reading did not complete");
    const SetResult skySet = *p.lastSet();
    out << "sky_ra_hours = " << FixedStr(skyRa, 6) << "\n";
    out << "sky_dec_deg = " << FixedStr(skyDec, 5) << "\n";
    out << "sky_counts = " << Joined(p.rawCounts()) << "\n";
    out << "sky_rate = " << FixedStr(skySet.rate, 3) << "\n";
    if (skyOnly) return tool::ExitOk;

    if (!handOff.Point(*ra, *dec)) return failed("the target field cannot be shown");
    p.Activate();
    p.MoveReadingSwitch(false);
    if (!p.target()) return failed("no catalog object at the aperture centre");
    const FieldObject target = *p.target();
    const auto catalog = ObjectMagnitudes(target);
    const Extended inAperture = p.apertureMagnitudes()[static_cast<std::size_t>(filter)];
    if (!RunSet(p)) return failed("the object reading did not complete");
    const SetResult set = *p.lastSet();
    out << "object = " << tool::Latin1ToUtf8(target.name) << "\n";
    out << "kind = " << static_cast<int>(target.kind) << "\n";
    out << "catalog_V = " << FixedStr(target.V, 3) << "\n";
    if (target.BV < NoMagnitude) out << "catalog_BV = " << FixedStr(target.BV, 3) << "\n";
    if (target.UB < NoMagnitude) out << "catalog_UB = " << FixedStr(target.UB, 3) << "\n";
    out << "catalog_mag = " << FixedStr(catalog[static_cast<std::size_t>(filter)], 3) << "\n";
    out << "aperture_mag = " << FixedStr(inAperture, 3) << "\n";
    out << "object_counts = " << Joined(p.rawCounts()) << "\n";
    out << "object_rate = " << FixedStr(set.rate, 3) << "\n";
    out << "net_counts = " << FixedStr(set.netCounts, 1) << "\n";
    out << "snr = " << FixedStr(set.snr, 2) << "\n";
    out << "magnitude_valid = " << (set.magnitudeValid ? 1 : 0) << "\n";
    if (set.magnitudeValid) {
        out << "magnitude = " << FixedStr(set.magnitude, 4) << "\n";
        out << "magnitude_error = " << FixedStr(set.magnitudeError, 4) << "\n";
    }
    return tool::ExitOk;
}

}  // namespace

void RegisterPhotometerCommand(tool::Registry& registry) {
    registry.add({"photometry", "",
                  "--ra-hours A --dec-deg D --date YYYY-MM-DD --time hh:mm:ss --telescope 0|1|2 --filter U|B|V|R|I "
                  "--integration-s T --count N [--seed S] [--sky] [--options FILE]",
                  "the photometer's readings of the object at a pointing: counts, rates, S/N and magnitude", Photometry});
    registry.describeGroup(
        "photometry",
        "The reading sequence of the photometer window at (A, D), J2000.0, on the given UT date and time, on the\n"
        "bundled data tree with the default options (or --options FILE): the sky is read first at the nearest\n"
        "blank spot within 5 arcminutes (sky_ra_hours, sky_dec_deg), then the object at the aperture centre,\n"
        "T seconds (0.1, 1, 10 or 100) N times (1-5). The catalog values of the object and the magnitude of all\n"
        "the light the aperture holds (aperture_mag) are the answer key; magnitude is sky-subtracted as the\n"
        "window computes it, magnitude_error the error its counts and the sky reading's imply, and\n"
        "snr = net counts / sqrt(all counts). --sky reads only the sky at (A, D). --seed fixes the noise.\n");
}

}  // namespace qnr::photometry
