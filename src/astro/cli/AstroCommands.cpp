#include "astro/cli/AstroCommands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "astro/Coords.h"
#include "astro/DateTime.h"
#include "astro/Maps.h"
#include "astro/MathStd.h"
#include "astro/Orbit_Pr.h"
#include "astro/Sun.h"
#include "tool/CommandArgs.h"
#include "tool/Registry.h"

namespace qnr::astro_cli {

namespace {

using tool::Line;
using tool::Number;
using tool::ParseDate;
using tool::ParseNumber;
using tool::ParseTime;
using tool::Reader;

// The epoch code that names a Julian Date, for the position header.
std::uint8_t CodeOf(Extended jd) {
    if (jd == JD_B1950) return EpochB1950;
    if (jd == JD_J2000) return EpochJ2000;
    return EpochOfDate;
}

int Jd(tool::Arguments& args, tool::Context& ctx) {
    Reader in(args, ctx, "astro jd");
    auto date = in.text("--date", true);
    auto time = in.text("--time", true);
    Extended zoneHours = in.numberOr("--zone-hours", 0);
    if (!in.ok()) return tool::ExitUsage;
    int y = 0, m = 0, d = 0;
    if (!ParseDate(*date, y, m, d)) {
        in.fail("--date needs a valid date YYYY-MM-DD, got \"" + *date + "\"");
        return tool::ExitUsage;
    }
    auto seconds = ParseTime(*time);
    if (!seconds) {
        in.fail("--time needs hh:mm:ss[.fff], got \"" + *time + "\"");
        return tool::ExitUsage;
    }
    if (std::fabs(zoneHours) > 24) {
        in.fail("--zone-hours must lie within -24..24");
        return tool::ExitUsage;
    }
    ObsDateTime dt;
    dt.zone = zoneHours / 24;
    dt.SetDayNumber(static_cast<double>(static_cast<Extended>(EncodeDate(y, m, d)) + *seconds / 86400));
    Line(in.out(), "jd", dt.JulianDate());
    Line(in.out(), "day_number", dt.value);
    return tool::ExitOk;
}

int Sidereal(tool::Arguments& args, tool::Context& ctx) {
    Reader in(args, ctx, "astro sidereal");
    auto jd = in.number("--jd", true);
    auto lon = in.number("--lon-deg", false);
    if (!in.ok()) return tool::ExitUsage;
    Line(in.out(), "gmst_rad", GreenwichSiderealTime(0, *jd));
    Line(in.out(), "gast_rad", GreenwichSiderealTime(1, *jd));
    if (lon) Line(in.out(), "lst_hours", LocalSiderealTime(*jd, *lon * DegToRad));
    return tool::ExitOk;
}

int Earth(tool::Arguments& args, tool::Context& ctx) {
    Reader in(args, ctx, "astro earth");
    auto jd = in.number("--jd", true);
    if (!in.ok()) return tool::ExitUsage;
    Line(in.out(), "obliquity_rad", Obliquity(*jd));
    Line(in.out(), "nutation_lon_rad", NutationLongitude(*jd));
    Line(in.out(), "nutation_obl_rad", NutationObliquity(*jd));
    Line(in.out(), "general_precession_rad", GeneralPrecession(*jd));
    return tool::ExitOk;
}

int Precess(tool::Arguments& args, tool::Context& ctx) {
    Reader in(args, ctx, "astro precess");
    auto ra = in.number("--ra-hours", true);
    auto dec = in.number("--dec-deg", true);
    auto from = in.number("--from-jd", true);
    auto to = in.number("--to-jd", true);
    if (!in.ok()) return tool::ExitUsage;
    SkyPosition p;
    SetEquatorial(p, KindAstrometric, CodeOf(*from), *from);
    p.first = *ra * 15 * DegToRad;
    p.second = *dec * DegToRad;
    PrecessEquatorial(p, CodeOf(*to), *to);
    Line(in.out(), "ra_hours", p.first * RadToDeg / 15);
    Line(in.out(), "dec_deg", p.second * RadToDeg);
    return tool::ExitOk;
}

int PrecessEclipticCommand(tool::Arguments& args, tool::Context& ctx) {
    Reader in(args, ctx, "astro precess-ecliptic");
    auto lat = in.number("--lat-deg", true);
    auto lon = in.number("--lon-deg", true);
    auto from = in.number("--from-jd", true);
    auto to = in.number("--to-jd", true);
    if (!in.ok()) return tool::ExitUsage;
    SkyPosition p;
    SetEcliptic(p, KindMean, CodeOf(*from), *from);
    p.first = *lat * DegToRad;
    p.second = *lon * DegToRad;
    PrecessEcliptic(p, CodeOf(*to), *to);
    Line(in.out(), "lat_deg", p.first * RadToDeg);
    Line(in.out(), "lon_deg", p.second * RadToDeg);
    return tool::ExitOk;
}

int EclToEq(tool::Arguments& args, tool::Context& ctx) {
    Reader in(args, ctx, "astro ecl2eq");
    auto lat = in.number("--lat-deg", true);
    auto lon = in.number("--lon-deg", true);
    auto jd = in.number("--jd", true);
    bool apparent = in.flag("--apparent");
    if (!in.ok()) return tool::ExitUsage;
    SkyPosition src, dst;
    SetEcliptic(src, apparent ? KindApparent : KindMean, CodeOf(*jd), *jd);
    src.first = *lat * DegToRad;
    src.second = *lon * DegToRad;
    EclipticToEquatorial(dst, src);
    Line(in.out(), "ra_hours", dst.first * RadToDeg / 15);
    Line(in.out(), "dec_deg", dst.second * RadToDeg);
    return tool::ExitOk;
}

int Horizon(tool::Arguments& args, tool::Context& ctx) {
    Reader in(args, ctx, "astro horizon");
    auto ra = in.number("--ra-hours", true);
    auto dec = in.number("--dec-deg", true);
    auto lat = in.number("--lat-deg", true);
    auto lon = in.number("--lon-deg", true);
    auto jd = in.number("--jd", true);
    if (!in.ok()) return tool::ExitUsage;
    SkyPosition p;
    SetEquatorial(p, KindApparent, EpochOfDate, *jd);
    p.first = *ra * 15 * DegToRad;
    p.second = *dec * DegToRad;
    Horizontal h = HorizonPosition(Site{*lat * DegToRad, *lon * DegToRad}, p, *jd);
    Line(in.out(), "alt_deg", h.altitude * RadToDeg);
    Line(in.out(), "az_deg", h.azimuth * RadToDeg);
    return tool::ExitOk;
}

int SunCommand(tool::Arguments& args, tool::Context& ctx) {
    Reader in(args, ctx, "astro sun");
    auto jd = in.number("--jd", true);
    std::uint8_t mode = in.mode();
    if (!in.ok()) return tool::ExitUsage;
    Sun sun;
    sun.mode = mode;
    SunPlace place = SunPosition(sun, *jd);
    Line(in.out(), "lon_rad", place.position.second);
    Line(in.out(), "distance_au", place.distance);
    return tool::ExitOk;
}

int Aitoff(tool::Arguments& args, tool::Context& ctx) {
    Reader in(args, ctx, "astro aitoff");
    auto dec = in.number("--dec-deg", true);
    auto ra = in.number("--ra-hours", true);
    auto center = in.number("--center-hours", true);
    if (!in.ok()) return tool::ExitUsage;
    // The map's own centre is a whole hour; any value is accepted here.
    Extended lambda = TwoPi * NormalizeHours(*ra - *center) / 24;
    if (lambda > Pi) lambda -= TwoPi;
    MapPoint m = AitoffProject(*dec * TwoPi / 360, lambda, AitoffFactor(3, 2));
    Line(in.out(), "x", m.x);
    Line(in.out(), "y", m.y);
    return tool::ExitOk;
}

int OrbitState(tool::Arguments& args, tool::Context& ctx) {
    Reader in(args, ctx, "orbit state");
    auto epoch = in.number("--epoch-jd", true);
    auto pos = in.vector("--pos");
    auto vel = in.vector("--vel");
    Extended gm = in.numberOr("--gm", GMSun);
    auto h = in.number("--h", false);
    auto g = in.number("--g", false);
    auto jd = in.number("--jd", true);
    std::uint8_t mode = in.mode();
    if (!in.ok()) return tool::ExitUsage;
    if (h.has_value() != g.has_value()) {
        in.fail("--h and --g go together");
        return tool::ExitUsage;
    }
    if (!(gm > 0)) {
        in.fail("--gm must be positive");
        return tool::ExitUsage;
    }
    if (VecLength(*pos) == 0 || VecLength(VecCross(*pos, *vel)) == 0) {
        in.fail("the position must not be zero nor parallel to the velocity");
        return tool::ExitUsage;
    }

    StateVector state;
    state.time = *epoch;
    state.position = *pos;
    state.velocity = *vel;
    SetEcliptic(state.header, mode, EpochJ2000, JD_J2000);
    MagnitudeParameters magnitude;
    if (h) magnitude = {MagnitudeAsteroid, *h, *g};
    SolarBody body = MakeSolarBody(state, gm, mode, magnitude, ctx.services.dialogs);
    const OrbitElements& el = body.orbit.elements;

    BodyPlace place = GeocentricPosition(body, *jd);
    if (!place.ok) return tool::ExitFailure;  // the solver's message went to standard error
    Extended mag = Magnitude(body, *jd);
    SkyPosition eq;
    EclipticToEquatorial(eq, place.position);

    std::ostream& out = in.out();
    Line(out, "a_km", el.a);
    Line(out, "q_km", el.q);
    Line(out, "e", el.e);
    Line(out, "i_deg", el.i * RadToDeg);
    Line(out, "node_deg", el.node * RadToDeg);
    Line(out, "peri_deg", el.peri * RadToDeg);
    Line(out, "m_deg", el.M * RadToDeg);
    out << "class = " << ClassifyOrbit(el.e) << "\n";
    Line(out, "ra_hours", NormalizeHours(eq.first * RadToDeg / 15));
    Line(out, "dec_deg", eq.second * RadToDeg);
    Line(out, "delta_au", place.distance);
    Line(out, "r_au", body.r);
    Line(out, "sun_au", body.R);
    Line(out, "mag", mag);
    return tool::ExitOk;
}

const char* const AstroHelp =
    "Every command prints \"key = value\" lines; numbers have 17 significant digits\n"
    "(the shorter of fixed and exponent form, like printf \"%.17Lg\"). Numbers on the\n"
    "command line are read in full 80-bit precision; Julian Dates are taken as UT.\n"
    "Angles in the key names: _rad radians, _deg degrees, _hours hours.\n"
    "\n"
    "  jd                date and local time (zone = UT minus local, hours, default 0)\n"
    "                    -> jd, day_number (days since 1899-12-30 00:00 local)\n"
    "  sidereal          -> gmst_rad (mean), gast_rad (apparent), both in [0, 2pi)\n"
    "                    plus the equation of the equinoxes; with --lon-deg (east\n"
    "                    positive) also lst_hours, the local mean sidereal time\n"
    "  earth             -> obliquity_rad (mean), nutation_lon_rad, nutation_obl_rad,\n"
    "                    general_precession_rad (in longitude since J2000.0)\n"
    "  precess           equatorial coordinates between equinoxes -> ra_hours in\n"
    "                    [0, 24), dec_deg\n"
    "  precess-ecliptic  ecliptic coordinates between equinoxes -> lat_deg, lon_deg\n"
    "  ecl2eq            ecliptic of date to equatorial -> ra_hours in (-12, 12],\n"
    "                    dec_deg; --apparent adds the nutation in obliquity\n"
    "  horizon           -> alt_deg, az_deg from north through east in (-180, 180],\n"
    "                    with the apparent sidereal time; --lon-deg east positive\n"
    "  sun               -> lon_rad (ecliptic of date, [0, 2pi)), distance_au;\n"
    "                    --mode 0 geometric (default), 1 apparent, 2 astrometric\n"
    "  aitoff            the unscaled sky-map projection, aspect 3:2, east to the\n"
    "                    left -> x, y\n"
    "\n"
    "Exit codes: 0 success, 2 bad or missing arguments.\n";

const char* const OrbitHelp =
    "  state  a heliocentric state vector (km, km/s, ecliptic and equinox J2000.0)\n"
    "         at --epoch-jd, GM in km^3/s^2 (default the Sun's, 132712440000)\n"
    "         -> the elements a_km, q_km, e, i_deg, node_deg, peri_deg, m_deg (mean\n"
    "         anomaly at the epoch) and class (0 circular, 1 elliptic, 2 near-\n"
    "         parabolic, 3 hyperbolic); then at --jd the geocentric place, light-time\n"
    "         corrected by --mode (0 geometric, the default; 1 apparent;\n"
    "         2 astrometric), converted from the ecliptic of date: ra_hours in\n"
    "         [0, 24), dec_deg; the distances delta_au (Earth), r_au (Sun) and\n"
    "         sun_au (Earth-Sun); and mag from --h and --g (the H-G system), 100\n"
    "         when they are not given.\n"
    "\n"
    "Numbers are printed with 17 significant digits (printf \"%.17Lg\").\n"
    "Exit codes: 0 success, 1 Kepler's equation not solved (the message is on\n"
    "standard error), 2 bad or missing arguments.\n";

}  // namespace

void RegisterCommands(tool::Registry& registry) {
    registry.add({"astro", "jd", "--date YYYY-MM-DD --time hh:mm:ss[.fff] [--zone-hours H]",
                  "Julian Date of a local date and time", Jd});
    registry.add({"astro", "sidereal", "--jd JD [--lon-deg L]", "Greenwich mean and apparent, local mean sidereal time",
                  Sidereal});
    registry.add({"astro", "earth", "--jd JD", "obliquity, nutation and general precession", Earth});
    registry.add({"astro", "precess", "--ra-hours A --dec-deg D --from-jd J0 --to-jd J1",
                  "precess equatorial coordinates", Precess});
    registry.add({"astro", "precess-ecliptic", "--lat-deg B --lon-deg L --from-jd J0 --to-jd J1",
                  "precess ecliptic coordinates", PrecessEclipticCommand});
    registry.add({"astro", "ecl2eq", "--lat-deg B --lon-deg L --jd J [--apparent]",
                  "ecliptic to equatorial coordinates", EclToEq});
    registry.add({"astro", "horizon", "--ra-hours A --dec-deg D --lat-deg P --lon-deg L --jd J",
                  "altitude and azimuth at a site", Horizon});
    registry.add({"astro", "sun", "--jd J [--mode 0|1|2]", "the Sun's ecliptic longitude and distance", SunCommand});
    registry.add({"astro", "aitoff", "--dec-deg D --ra-hours A --center-hours C", "the sky-map projection of a point",
                  Aitoff});
    registry.describeGroup("astro", AstroHelp);

    registry.add({"orbit", "state",
                  "--epoch-jd T --pos X,Y,Z --vel VX,VY,VZ [--gm GM] [--h H --g G] --jd J [--mode 0|1|2]",
                  "elements, geocentric place and magnitude from a state vector", OrbitState});
    registry.describeGroup("orbit", OrbitHelp);
}

}  // namespace qnr::astro_cli
