// qnrtool sky: where a J2000.0 target stands at one of the telescopes' sites.
#include <cmath>
#include <ostream>

#include "app/Options.h"
#include "astro/Coords.h"
#include "astro/DateTime.h"
#include "astro/MathStd.h"
#include "observatory/cli/HotListCommands.h"
#include "tool/CommandArgs.h"

namespace qnr::observatory {

namespace {

// The mount's view of the sky: the hour angle from the mean local sidereal
// time and the J2000.0 right ascension, as the telescope window shows them.
int Sky(tool::Arguments& args, tool::Context& ctx) {
    tool::Reader in(args, ctx, "sky");
    auto site = in.text("--site", true);
    auto date = in.text("--date", true);
    auto time = in.text("--time", true);
    auto ra = in.number("--ra-hours", true);
    auto dec = in.number("--dec-deg", true);
    if (!in.ok()) return tool::ExitUsage;
    if (*site != "0" && *site != "1" && *site != "2") {
        in.fail("--site needs 0 (0.4 m), 1 (1.0 m) or 2 (4.0 m), got \"" + *site + "\"");
        return tool::ExitUsage;
    }
    int y = 0, m = 0, d = 0;
    if (!tool::ParseDate(*date, y, m, d)) {
        in.fail("--date needs a valid date YYYY-MM-DD, got \"" + *date + "\"");
        return tool::ExitUsage;
    }
    auto seconds = tool::ParseTime(*time);
    if (!seconds) {
        in.fail("--time needs hh:mm:ss[.fff], got \"" + *time + "\"");
        return tool::ExitUsage;
    }
    if (*ra < 0 || *ra >= 24 || *dec < -90 || *dec > 90) {
        in.fail("--ra-hours must lie in [0, 24) and --dec-deg in [-90, 90]");
        return tool::ExitUsage;
    }
    // The sites of the options the observatory would read.
    app::OptsObj options(ctx.services);
    options.Create(app::OptionsFileName, app::ProgramVersion);
    const app::TelescopeEntry& t = options.rec.telescopes[static_cast<std::size_t>((*site)[0] - '0')];

    const Extended jd = static_cast<Extended>(EncodeDate(y, m, d)) + *seconds / 86400 + JulianDateOfDayZero;
    const Extended lst = LocalSiderealTime(jd, t.longitude);
    Extended ha = NormalizeHours(lst - *ra);
    if (ha > 12) ha -= 24;
    const Extended h = ha * 15 * DegToRad, delta = *dec * DegToRad, phi = t.latitude;
    const Extended alt = SafeArcSin(std::sin(delta) * std::sin(phi) + std::cos(delta) * std::cos(phi) * std::cos(h));
    Extended az = std::atan2(-std::cos(delta) * std::sin(h),
                             std::sin(delta) * std::cos(phi) - std::cos(delta) * std::cos(h) * std::sin(phi));
    az = ReduceTwoPi(az);
    tool::Line(ctx.out, "alt_deg", alt * RadToDeg);
    tool::Line(ctx.out, "az_deg", az * RadToDeg);
    tool::Line(ctx.out, "ha_hours", ha);
    tool::Line(ctx.out, "lst_hours", lst);
    return tool::ExitOk;
}

}  // namespace

void RegisterSkyCommand(tool::Registry& registry) {
    registry.add({"sky", "", "--site 0|1|2 --date YYYY-MM-DD --time hh:mm:ss --ra-hours A --dec-deg D",
                  "altitude, azimuth, hour angle and sidereal time of a J2000.0 target at a telescope's site",
                  Sky});
    registry.describeGroup(
        "sky",
        "Date and time are UT. The site is the options' telescope table entry (0 the 0.4 m, 1 the 1.0 m,\n"
        "2 the 4.0 m). Prints alt_deg, az_deg (from north through east, 0..360), ha_hours (-12..12) and\n"
        "lst_hours (mean local sidereal time), with 17 significant digits.\n");
}

}  // namespace qnr::observatory
