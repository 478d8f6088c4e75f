#include "catalogs/cli/CatalogCommands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/Options.h"
#include "astro/DateTime.h"
#include "astro/StringUt.h"
#include "catalogs/SkyCatalogs.h"
#include "catalogs/SpType.h"
#include "tool/CommandArgs.h"
#include "tool/Registry.h"

namespace qnr::catalogs_cli {

namespace {

// The exercise's first moment, 2002-04-14 12:00:00 UT.
constexpr Extended DefaultJD = 2452379.0L;

template <class T>
std::string Shortest(T v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string Fixed(double v, int decimals) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    return std::string(buf, r.ptr);
}

using tool::Latin1ToUtf8;

std::string JsonString(const std::string& latin1) {
    std::string out = "\"";
    for (char c : Latin1ToUtf8(latin1)) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            static const char* hex = "0123456789abcdef";
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string WithNewlines(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

// The options the observatory itself would read.
app::OptsRec LoadOptions(tool::Context& ctx) {
    app::OptsObj opts(ctx.services);
    opts.Create(app::OptionsFileName, app::ProgramVersion);
    return opts.rec;
}

double LocalDayNumber(Extended jd, const app::OptsRec& opts) {
    return static_cast<double>(jd - JulianDateOfDayZero - static_cast<Extended>(opts.zoneHours) / 24);
}

struct Row {
    std::string name;
    int kind = 0;
    double ra = 0, dec = 0;
    Single V = NoMagnitude, BV = NoMagnitude, UB = NoMagnitude, Z = 0;
    std::string sptype;
};

int Field(tool::Arguments& args, tool::Context& ctx) {
    tool::Reader in(args, ctx, "field");
    auto ra = in.number("--ra-hours", true, 0, 24);
    auto dec = in.number("--dec-deg", true, -90, 90);
    auto size = in.number("--size-arcmin", true, 1e-6, 3600);
    auto jd = in.number("--jd", false, 0, 1e8);
    auto limit = in.number("--limit-mag", false, -30, 40);
    const bool finder = in.flag("--finder");
    const bool json = in.flag("--json");
    if (!in.ok()) return tool::ExitUsage;

    const app::OptsRec opts = LoadOptions(ctx);
    SkyCatalogs sky(ctx.services, opts);
    const Extended when = jd ? static_cast<Extended>(*jd) : DefaultJD;
    sky.SetObservationDate(LocalDayNumber(when, opts));
    const FieldKind kind = finder ? FieldKind::Finder : FieldKind::Instrument;
    const Single limitMag = limit ? static_cast<Single>(*limit) : (finder ? FinderLimitMag : InstrumentLimitMag);
    const FieldLimits limits = MakeFieldLimits(*ra == 24 ? 0 : *ra, *dec, *size / 60 / 2, limitMag);

    switch (sky.OpenField(kind, limits, when)) {
        case FieldStatus::Opened: break;
        case FieldStatus::NotAvailable:
            ctx.err << WithNewlines(FieldNotAvailableText) << "\n";
            return tool::ExitFailure;
        case FieldStatus::NoRegions:
            ctx.err << "qnrtool: field: no catalog region covers that field\n";
            return tool::ExitFailure;
        case FieldStatus::Failed: return tool::ExitFailure;
    }

    GSCFieldObj& field = sky.field(kind);
    std::vector<Row> rows;
    field.objects.Reset();
    while (const FieldObject* o = field.objects.Next())
        rows.push_back({o->name, o->kind, o->ra, o->dec, o->V, o->BV, o->UB, o->Z, SpTypeText(o->spType)});
    field.galaxies.Reset();
    while (const GalaxyEntry* g = field.galaxies.Next())
        rows.push_back({g->name, KindGalaxy, g->ra, g->dec, g->magnitude, g->BV, g->UB, 0, SpTypeText(g->spType)});
    // West to east from the box's western edge, across 0h too.
    auto offset = [&](double r) { return std::fmod(r - limits.MinRA + 48, 24); };
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) { return offset(a.ra) < offset(b.ra); });

    if (json) {
        ctx.out << "[";
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const Row& r = rows[i];
            ctx.out << (i ? ",\n " : "\n ") << "{\"name\": " << JsonString(r.name) << ", \"kind\": " << r.kind
                    << ", \"ra_hours\": " << Shortest(r.ra) << ", \"dec_deg\": " << Shortest(r.dec)
                    << ", \"V\": " << Shortest(r.V) << ", \"BV\": " << Shortest(r.BV) << ", \"UB\": " << Shortest(r.UB)
                    << ", \"Z\": " << Shortest(r.Z) << ", \"sptype\": " << JsonString(r.sptype) << "}";
        }
        ctx.out << (rows.empty() ? "]\n" : "\n]\n");
        return tool::ExitOk;
    }
    static const char* const Kinds[] = {"star", "galaxy", "asteroid", "quasar"};
    auto pad = [](std::string s, std::size_t w) {
        if (s.size() < w) s.append(w - s.size(), ' ');
        return s + " ";
    };
    auto value = [&](Single v) { return v >= NoMagnitude ? std::string("-") : Fixed(v, 3); };
    ctx.out << pad("name", 24) << pad("kind", 8) << pad("RA(h)", 11) << pad("Dec(deg)", 11) << pad("V", 7)
            << pad("B-V", 7) << pad("U-B", 7) << pad("Z", 9) << "sptype\n";
    for (const Row& r : rows)
        ctx.out << pad(Latin1ToUtf8(r.name), 24) << pad(r.kind >= 0 && r.kind <= 3 ? Kinds[r.kind] : "?", 8)
                << pad(Fixed(r.ra, 7), 11) << pad(Fixed(r.dec, 6), 11) << pad(value(r.V), 7) << pad(value(r.BV), 7)
                << pad(value(r.UB), 7) << pad(Fixed(r.Z, 4), 9) << r.sptype << "\n";
    ctx.out << "objects = " << rows.size() << "\n";
    return tool::ExitOk;
}

std::optional<CalendarDate> ParseDate(const std::string& s) {
    if (s.size() != 10 || s[4] != '-' || s[7] != '-') return std::nullopt;
    int y = 0, m = 0, d = 0;
    auto num = [&](std::size_t at, std::size_t n, int& v) {
        auto r = std::from_chars(s.data() + at, s.data() + at + n, v);
        return r.ec == std::errc() && r.ptr == s.data() + at + n;
    };
    if (!num(0, 4, y) || !num(5, 2, m) || !num(8, 2, d) || !IsValidDate(y, m, d)) return std::nullopt;
    return CalendarDate{y, m, d};
}

int Asteroids(tool::Arguments& args, tool::Context& ctx) {
    tool::Reader in(args, ctx, "asteroids");
    auto dateText = in.text("--date", true);
    auto timeText = in.text("--time", false);
    if (!in.ok()) return tool::ExitUsage;
    auto date = ParseDate(*dateText);
    if (!date) {
        ctx.err << "qnrtool: asteroids: --date needs YYYY-MM-DD, got \"" << *dateText << "\"\n";
        return tool::ExitUsage;
    }
    Extended fraction = 0;
    if (timeText) {
        auto t = TimeTextToDayFraction(*timeText);
        if (!t || *t < 0 || *t >= 1) {
            ctx.err << "qnrtool: asteroids: --time needs hh:mm:ss, got \"" << *timeText << "\"\n";
            return tool::ExitUsage;
        }
        fraction = *t;
    }
    const app::OptsRec opts = LoadOptions(ctx);
    const Extended jd = static_cast<Extended>(EncodeDate(date->year, date->month, date->day)) + fraction +
                        JulianDateOfDayZero;
    TOrbitList list(ctx.services, opts);
    if (!list.ComputeList(LocalDayNumber(jd, opts))) {
        if (list.fileType() == OrbitNoList)
            ctx.err << "qnrtool: asteroids: the orbit file " << opts.orbitFile << " gives no asteroid list\n";
        return tool::ExitFailure;
    }
    for (const std::string& line : list.Report().lines) ctx.out << Latin1ToUtf8(TrimRight(line)) << "\n";
    return tool::ExitOk;
}

}  // namespace

void RegisterCommands(tool::Registry& registry) {
    registry.add({"field", "", "--ra-hours A --dec-deg D --size-arcmin S [--finder] [--jd J] [--limit-mag M] [--json]",
                  "every object of a telescope field: the instructor's answer key", Field});
    registry.describeGroup(
        "field",
        "The field is S arcminutes square around (A, D), J2000.0, read with the telescope's own queries: the\n"
        "instrument catalog (limit 20 mag, exercise regions only) or with --finder the finder catalog (limit 14).\n"
        "Asteroids are placed for J (default 2452379.0, the exercise's first date). Kinds: 0 star, 1 galaxy,\n"
        "2 asteroid, 3 quasar; magnitudes of 30 mean no value (\"-\" in the table). --json prints an array of\n"
        "objects with the keys name, kind, ra_hours, dec_deg, V, BV, UB, Z and sptype.\n");
    registry.add({"asteroids", "", "--date YYYY-MM-DD [--time hh:mm:ss]",
                  "the observable asteroid list of a date (UT) with positions, magnitudes and distances", Asteroids});
    registry.describeGroup("asteroids",
                           "The list report as the observatory shows it: the asteroids of the options' orbit file\n"
                           "that are bright enough and near-Earth or near opposition, with RA and Dec of date.\n");
}

}  // namespace qnr::catalogs_cli
