#include "datagen/layout/Layout.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "astro/Coords.h"
#include "astro/MathStd.h"
#include "astro/StringUt.h"
#include "catalogs/AstFlDlg.h"
#include "catalogs/ExtendedObjects.h"
#include "catalogs/Star_Cat.h"
#include "datagen/layout/ClusterModel.h"
#include "datagen/layout/Galaxies.h"
#include "datagen/layout/Orbits.h"
#include "datagen/layout/RegionLayout.h"
#include "datagen/layout/SeedText.h"
#include "datagen/layout/StarModel.h"
#include "datatree/DataTree.h"
#include "platform/FileSystem.h"
#include "spectroscopy/Nkd_Eye.h"

namespace qnr::datagen {

namespace {

constexpr double FinderLimit = 11.5;       // the finder's magnitude limit of the default options
constexpr double SyntheticFaintest = 20.0;
constexpr double NakedEyeLimit = 6.5;
constexpr double AnchorRadiusDeg = 5.0;    // the real counts a region's faint stars continue
constexpr double PictureLimitMag = 13.0;
// The telescope's created field with the default options (3 x 15'), and a
// margin for slews and drift.
constexpr double TargetHalfBox = 3 * 15.0 / 60 / 2 + 0.1;
constexpr double QuasarsPerSqDeg = 3.0;

std::vector<std::string> Lines(const std::string& path, std::string& error) {
    std::vector<std::string> out;
    std::string text;
    if (!ReadSeedText(path, text, error)) return out;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        out.push_back(std::move(line));
    }
    return out;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == sep) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    out.push_back(cur);
    return out;
}

std::string Trim(const std::string& s) {
    const auto a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

bool Number(const std::string& text, double& v) {
    std::string t = Trim(text);
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    return !t.empty() && r.ec == std::errc() && r.ptr == t.data() + t.size();
}

double NumberOr(const std::string& text, double fallback) {
    double v = 0;
    return Number(text, v) ? v : fallback;
}

// "12 29 06.7" or "-00 33 09.0".
bool Sexagesimal(const std::string& text, double& v) {
    std::istringstream in(text);
    std::string a, b, c;
    if (!(in >> a >> b >> c)) return false;
    double x = 0, y = 0, z = 0;
    const bool negative = !a.empty() && a[0] == '-';
    if (!a.empty() && (a[0] == '-' || a[0] == '+')) a.erase(0, 1);
    if (!Number(a, x) || !Number(b, y) || !Number(c, z)) return false;
    v = (x + y / 60 + z / 3600) * (negative ? -1 : 1);
    return true;
}

struct Target {
    std::string name;
    double ra = 0, dec = 0;
};

std::vector<Target> ReadTargets(const std::string& path, std::string& error) {
    std::vector<Target> out;
    for (const std::string& line : Lines(path, error)) {
        const auto f = Split(line, '|');
        Target t;
        if (f.size() < 3 || !Sexagesimal(f[1], t.ra) || !Sexagesimal(f[2], t.dec)) {
            error = path + ": cannot read \"" + line + "\"";
            return {};
        }
        t.name = Trim(f[0]);
        out.push_back(t);
    }
    return out;
}

struct Star {
    double ra = 0, dec = 0, V = 0, BV = 0, UB = 0;
    SpectralTypeCode sp = 0;
    std::uint8_t flags = 0;
};

struct RealStar {
    double ra, dec, V, BV, plx;
    std::string sp;
};

// Plain writes: the tree is rebuilt whole when a write fails, so the
// flush-and-rename of the program's own atomic writes would only slow the
// build's 19,000 files down.
int Write(platform::FileSystem& files, const std::string& path, const Bytes& bytes) {
    static std::set<std::string> made;
    const auto slash = path.rfind('/');
    if (slash != std::string::npos) {
        const std::string folder = path.substr(0, slash + 1);
        if (made.insert(folder).second) files.makeFolders(folder);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out.good() ? 0 : 1;
}


std::string QuasarName(double ra, double dec) {
    const int raMin = static_cast<int>(std::floor(ra * 60)) % 1440;
    const double ad = std::fabs(dec);
    const int decMin = static_cast<int>(std::floor(ad * 60));
    return "SQ J" + ZeroPadded(raMin / 60, 2) + ZeroPadded(raMin % 60, 2) + (dec < 0 ? "-" : "+") + ZeroPadded(decMin / 60, 2) +
           ZeroPadded(decMin % 60, 2);
}

}  // namespace

Expected<LayoutSummary> LayOutTree(const LayoutPaths& paths) {
    LayoutSummary summary;
    std::string error;
    platform::StdFileSystem files;
    const std::string& out = paths.out;

    // ---- Seeds.
    // The bright catalog to V 9, then the fainter stars to V 10.5 (without the bright one's).
    std::vector<RealStar> real;
    for (const char* seed : {"stars.txt.xz", "stars_faint.txt.xz"}) {
        for (const std::string& line : Lines(paths.seeds + seed, error)) {
            std::istringstream in(line);
            RealStar s{};
            if (!(in >> s.ra >> s.dec >> s.V >> s.BV >> s.sp >> s.plx))
                return Fail(std::string(seed) + ": cannot read " + line);
            real.push_back(s);
        }
        if (!error.empty()) return Fail(error);
    }

    const std::vector<Target> targets = ReadTargets(paths.targets, error);
    if (!error.empty()) return Fail(error);

    // The exercise's asteroid first: its track over the night needs exercise regions too.
    AsteroidDesign design;
    for (const std::string& line : Lines(paths.seeds + "quenara.txt", error)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
        if (key == "name") design.name = value;
        else if (key == "jd") design.jd = NumberOr(value, 0);
        else if (key == "ra_hours") design.ra = NumberOr(value, 0);
        else if (key == "dec_deg") design.dec = NumberOr(value, 0);
        else if (key == "distance_au") design.distanceAU = NumberOr(value, 0.1);
        else if (key == "rate_arcsec_per_min") design.rateArcsecPerMin = NumberOr(value, 2);
        else if (key == "direction_deg") design.directionDeg = NumberOr(value, 0);
        else if (key == "radial_km_s") design.radialKmS = NumberOr(value, 0);
        else if (key == "v_mag") design.V = NumberOr(value, 14.5);
        else if (key == "slope_g") design.G = NumberOr(value, 0.15);
    }
    if (!error.empty()) return Fail(error);
    Expected<OrbitRecord> quenara = DesignAsteroid(design);
    if (!quenara) return Fail(quenara.error());

    std::vector<TargetBox> boxes;
    for (const Target& t : targets)
        boxes.push_back({t.name, t.ra / 1.0, t.dec, MakeFieldLimits(t.ra, t.dec, TargetHalfBox, 20.0f)});
    for (int hour = -5; hour <= 5; ++hour)
        if (auto s = SightingAt(*quenara, design.jd + hour / 24.0L))
            boxes.push_back({design.name + " track", s->ra, s->dec, MakeFieldLimits(s->ra, s->dec, 0.2, 20.0f)});

    // ---- Regions.
    Expected<RegionLayout> layout = LayOutRegions(boxes);
    if (!layout) return Fail(layout.error());
    for (const std::string& n : layout->notes) summary.lines.push_back(n);
    const Bytes table = EncodeRegionTable(layout->regions);
    for (const char* cat : {"CGSC/", "FGSC/"})
        if (Write(files, out + cat + RegionTableName, table) != 0) return Fail("cannot write " + out + cat);

    // ---- Stars by region.
    std::vector<std::vector<Star>> byRegion(RegionCount + 1);
    std::vector<NakedEyeStar> nakedEye;
    for (const RealStar& s : real) {
        const int n = layout->RegionOf(s.ra, s.dec);
        if (n == 0) continue;
        const RealStarValues d = DeriveRealStar(s.V, s.BV, s.sp, s.plx);
        byRegion[static_cast<std::size_t>(n)].push_back({s.ra, s.dec, s.V, s.BV, d.UB, d.spType, d.flags});
        if (s.V <= NakedEyeLimit)
            nakedEye.push_back({s.ra, s.dec, static_cast<Single>(s.V)});
    }
    int landolt = 0;
    for (const std::string& line : Lines(paths.seeds + "landolt.txt.xz", error)) {
        std::istringstream in(line);
        std::string name;
        double ra, dec, V, bv, ub;
        if (!(in >> name >> ra >> dec >> V >> bv >> ub)) return Fail("landolt.txt.xz: cannot read " + line);
        const int n = layout->RegionOf(ra, dec);
        if (n == 0) continue;
        auto& stars = byRegion[static_cast<std::size_t>(n)];
        // A standard the bright catalog also lists takes its measured values.
        std::erase_if(stars, [&](const Star& o) {
            return std::fabs(o.dec - dec) < 20.0 / 3600 && std::fabs(o.ra - ra) * 15 < 30.0 / 3600 &&
                   std::fabs(o.V - V) < 0.5;
        });
        const SpectralTypeCode sp = ParseSpType(TypeFromColour(bv, '?', Luminosity::Dwarf) + "V");
        stars.push_back({ra, dec, V, bv, ub, sp, StarClassAssigned | StarLuminosityAssigned});
        ++landolt;
    }
    if (!error.empty()) return Fail(error);

    // Cluster members, wherever they fall.
    long members = 0;
    std::uint64_t clusterIndex = 0;
    for (const std::string& line : Lines(paths.seeds + "clusters.txt", error)) {
        const auto f = Split(line, '|');
        ClusterDesign c;
        double giants = 0;
        if (f.size() < 10 || !Sexagesimal(f[1], c.ra) || !Sexagesimal(f[2], c.dec) ||
            !Number(f[3], c.distanceModulusV) || !Number(f[4], c.ebv) || !Number(f[5], c.coreArcmin) ||
            !Number(f[6], c.tidalArcmin) || !Number(f[7], giants) || !Number(f[8], c.hbBlue) || !Number(f[9], c.hbRed))
            return Fail("clusters.txt: cannot read " + line);
        c.name = Trim(f[0]);
        c.giantsAboveHB = static_cast<int>(giants);
        const auto drawn = DrawClusterMembers(c, SyntheticFaintest, 0xC1057E0000ull + clusterIndex++);
        for (const SyntheticStar& s : drawn) {
            const int n = layout->RegionOf(s.ra, s.dec);
            if (n == 0) continue;
            // Simulated photometry that stands for a cluster study's: colours flagged measured.
            byRegion[static_cast<std::size_t>(n)].push_back(
                {s.ra, s.dec, s.V, s.BV, s.UB, s.spType, StarClassAssigned | StarLuminosityAssigned});
            ++members;
        }
        summary.lines.push_back("cluster " + c.name + ": " + std::to_string(drawn.size()) + " members to V " +
                                std::to_string(static_cast<int>(SyntheticFaintest)));
    }
    if (!error.empty()) return Fail(error);

    const std::set<int> exercise(ExerciseRegions().begin(), ExerciseRegions().end());
    long synthetic = 0;
    for (int n : exercise) {
        const RegionRecord& r = layout->regions[static_cast<std::size_t>(n - 1)];
        const double midRA = (r.lowRA + r.highRA) / 2, midDec = (r.lowDec + r.highDec) / 2;
        int anchorStars = 0;
        for (const RealStar& s : real)
            if (s.V > AnchorLow && s.V <= AnchorHigh && std::fabs(s.dec - midDec) <= AnchorRadiusDeg) {
                double dra = std::fabs(s.ra - midRA);
                if (dra > 12) dra = 24 - dra;
                if (dra * 15 * std::cos(midDec * static_cast<double>(DegToRad)) > AnchorRadiusDeg + 1) continue;
                if (SeparationDeg(s.ra, s.dec, midRA, midDec) <= AnchorRadiusDeg) ++anchorStars;
            }
        const double capArea =
            2 * 3.14159265358979323846 * (1 - std::cos(AnchorRadiusDeg * static_cast<double>(DegToRad))) *
            std::pow(180 / 3.14159265358979323846, 2);
        const double anchor = anchorStars / capArea / (AnchorHigh - AnchorLow);
        const SkyCell cell{r.lowRA, r.highRA, r.lowDec, r.highDec};
        for (const SyntheticStar& s : DrawStars(cell, anchor, AnchorHigh, SyntheticFaintest, 0x51E4A0000ull + n)) {
            byRegion[static_cast<std::size_t>(n)].push_back(
                {s.ra, s.dec, s.V, s.BV, s.UB, s.spType,
                 StarClassAssigned | StarLuminosityAssigned | StarBVAssigned | StarUBAssigned});
            ++synthetic;
        }
        summary.lines.push_back("region " + std::to_string(n) + ": " +
                                std::to_string(byRegion[static_cast<std::size_t>(n)].size()) + " stars (anchor " +
                                std::to_string(anchor).substr(0, 5) + " per mag per square degree at V 9.5)");
    }

    long instrumentStars = 0, finderStars = 0;
    for (int n = 1; n <= RegionCount; ++n) {
        auto& stars = byRegion[static_cast<std::size_t>(n)];
        std::stable_sort(stars.begin(), stars.end(), [](const Star& a, const Star& b) { return a.ra < b.ra; });
        if (stars.size() > 99999) return Fail("region " + std::to_string(n) + " holds more than 99999 stars");
        std::vector<InstrumentStarRecord> inst;
        std::vector<FinderStarRecord> find;
        inst.reserve(stars.size());
        for (std::size_t i = 0; i < stars.size(); ++i) {
            const Star& s = stars[i];
            const std::string number = ZeroPadded(static_cast<int>(i) + 1, 5);
            inst.push_back(MakeInstrumentStar(number, s.ra, s.dec, s.V, s.BV, s.UB, s.sp, s.flags));
            if (s.V <= FinderLimit) find.push_back({s.ra, s.dec, static_cast<Single>(s.V), number});
        }
        instrumentStars += static_cast<long>(inst.size());
        finderStars += static_cast<long>(find.size());
        const std::string name = RegionFileName(n);
        if (Write(files, out + "CGSC/" + name, EncodeInstrumentStars(inst)) != 0 ||
            Write(files, out + "FGSC/" + name, EncodeFinderStars(find)) != 0)
            return Fail("cannot write the region files of " + name);
    }
    summary.lines.push_back("stars: " + std::to_string(real.size()) + " real, " + std::to_string(landolt) +
                            " Landolt standards, " + std::to_string(synthetic) + " simulated field and " +
                            std::to_string(members) + " simulated cluster stars; " +
                            std::to_string(instrumentStars) + " instrument and " + std::to_string(finderStars) +
                            " finder records");

    std::sort(nakedEye.begin(), nakedEye.end(), [](const NakedEyeStar& a, const NakedEyeStar& b) { return a.ra < b.ra; });
    if (Write(files, out + NakedEyeFileName, EncodeNakedEyeStars(nakedEye)) != 0) return Fail("cannot write NkdEye.dat");
    summary.lines.push_back("naked-eye stars: " + std::to_string(nakedEye.size()));

    // ---- Galaxies.
    struct Galaxy {
        GalaxyRecord record;
        std::string messier;
        int pgc = 0;
    };
    std::vector<Galaxy> galaxies;
    std::map<std::string, int> ngcUse;
    for (const char* seed : {"galaxies.txt.xz", "galaxies_added.txt"}) {
        for (const std::string& line : Lines(paths.seeds + seed, error)) {
            const auto f = Split(line, '|');
            if (f.size() < 15) return Fail(std::string(seed) + ": cannot read " + line);
            Galaxy g;
            GalaxyRecord& r = g.record;
            double ra = 0, dec = 0;
            if (!Number(f[0], ra) || !Number(f[1], dec)) return Fail(std::string(seed) + ": cannot read " + line);
            r.ra = ra;
            r.dec = dec;
            const GalaxyType type = MapMorphology(f[9]);
            r.typeCode = static_cast<std::int8_t>(type.code);
            r.bar = type.bar;
            r.luminosity = type.luminosity;
            r.variety = type.variety;
            double B = 0, V = 0;
            const bool hasB = Number(f[2], B), hasV = Number(f[3], V);
            const GalaxyColours colours = GalaxyColoursOf(type.code);
            const double bv = colours.BV < NoMagnitude ? colours.BV : 0.8;
            // The magnitude is V: the catalog's V where it gives one, else from B with the type's colour.
            if (hasV) r.magnitude = static_cast<Single>(V);
            else if (hasB) r.magnitude = static_cast<Single>(B - bv);
            else continue;
            r.major = static_cast<Single>(NumberOr(f[4], 0));
            r.minor = static_cast<Single>(NumberOr(f[5], 0));
            r.positionAngle = static_cast<std::int16_t>(NumberOr(f[6], 0));
            const double z = NumberOr(f[7], 99);
            r.spare = static_cast<Single>(z < 10 ? z : 0);
            const std::string ngc = Trim(f[10]), ic = Trim(f[11]), pgc = Trim(f[13]), ugc = Trim(f[14]);
            g.messier = Trim(f[12]);
            g.pgc = static_cast<int>(NumberOr(pgc, 0));
            if (!ngc.empty()) {
                r.nameKind = GalaxyNameNGC;
                r.number = ngc;
            } else if (!ic.empty()) {
                r.nameKind = GalaxyNameIC;
                r.number = ic;
            } else {
                r.nameKind = GalaxyOwnName;
                r.ownName = !pgc.empty() ? "PGC " + pgc : !ugc.empty() ? "UGC " + ugc : "Anonymous";
            }
            // A second component under the same number becomes "4486A".
            if (g.pgc == 41377 && r.number == "4486") r.number = "4486A";
            galaxies.push_back(g);
        }
        if (!error.empty()) return Fail(error);
    }
    // Numbers shared by several entries: the brightest keeps the number, the
    // others are known by their PGC numbers.
    {
        std::map<std::string, std::size_t> brightest;
        for (std::size_t i = 0; i < galaxies.size(); ++i) {
            const GalaxyRecord& r = galaxies[i].record;
            if (r.nameKind == GalaxyOwnName) continue;
            const std::string key = std::to_string(r.nameKind) + r.number;
            auto it = brightest.find(key);
            if (it == brightest.end() || r.magnitude < galaxies[it->second].record.magnitude) brightest[key] = i;
        }
        for (std::size_t i = 0; i < galaxies.size(); ++i) {
            GalaxyRecord& r = galaxies[i].record;
            if (r.nameKind == GalaxyOwnName) continue;
            if (brightest[std::to_string(r.nameKind) + r.number] != i && galaxies[i].pgc) {
                r.nameKind = GalaxyOwnName;
                r.ownName = "PGC " + std::to_string(galaxies[i].pgc);
                r.number.clear();
            }
        }
    }
    std::stable_sort(galaxies.begin(), galaxies.end(), [](const Galaxy& a, const Galaxy& b) {
        return a.record.ra < b.record.ra || (a.record.ra == b.record.ra && a.record.dec < b.record.dec);
    });
    std::vector<GalaxyRecord> records;
    for (const Galaxy& g : galaxies) records.push_back(g.record);
    if (Write(files, out + "ZARN_GLX.DAT", EncodeGalaxyCatalog(records)) != 0 ||
        Write(files, out + "ZARN_GLX.NDX", EncodeGalaxyIndex(BuildGalaxyIndex(records))) != 0)
        return Fail("cannot write the galaxy catalog");
    summary.lines.push_back("galaxies: " + std::to_string(records.size()));

    // Pictures of the bright NGC galaxies of the exercise regions. A shorter
    // name comes first, so that no galaxy meets a longer name that contains
    // its own before its own entry.
    std::vector<GalaxyImageLine> pictures;
    std::vector<const Galaxy*> pictured;
    for (const Galaxy& g : galaxies) {
        const GalaxyRecord& r = g.record;
        if (r.nameKind != GalaxyNameNGC || r.magnitude > PictureLimitMag || r.number == "224") continue;
        if (!exercise.count(layout->RegionOf(r.ra, r.dec))) continue;
        pictured.push_back(&g);
    }
    std::stable_sort(pictured.begin(), pictured.end(), [](const Galaxy* a, const Galaxy* b) {
        return a->record.number.size() < b->record.number.size();
    });
    for (const Galaxy* g : pictured) {
        const GalaxyRecord& r = g->record;
        const Picture pic = RenderGalaxy({{r.typeCode, r.bar, r.luminosity, r.variety},
                                          r.major, r.minor, r.positionAngle, r.magnitude});
        const std::string file = "N" + r.number + ".BMP";
        if (Write(files, out + "IMAGES/GALAXIES/" + file, EncodeBmp(pic)) != 0) return Fail("cannot write " + file);
        GalaxyImageLine line;
        line.designation = g->messier.empty() ? "" : "M " + g->messier;
        line.ngcNumber = r.number;
        line.magnitude = r.magnitude;
        line.ra = r.ra;
        line.dec = r.dec;
        line.fileName = file;
        line.extra1 = static_cast<std::int16_t>(pic.width);
        line.extra2 = static_cast<std::int16_t>(pic.height);
        line.x0 = static_cast<std::int16_t>(pic.width / 2);
        line.y0 = static_cast<std::int16_t>(pic.height / 2);
        pictures.push_back(line);
    }
    if (Write(files, out + "IMAGES/GALAXIES/GLIMAGES.LST", EncodeGalaxyImageList(pictures)) != 0)
        return Fail("cannot write GLIMAGES.LST");
    summary.lines.push_back("galaxy pictures: " + std::to_string(pictures.size()));

    // ---- Quasars: the literature's, then simulated ones in the exercise regions.
    std::vector<QuasarRecord> quasars;
    for (const std::string& line : Lines(paths.seeds + "quasars.txt", error)) {
        const auto f = Split(line, '|');
        QuasarRecord q;
        double ra = 0, dec = 0, V = 0, bv = 0, ub = 0, z = 0;
        if (f.size() < 7 || !Sexagesimal(f[1], ra) || !Sexagesimal(f[2], dec) || !Number(f[3], V) ||
            !Number(f[4], bv) || !Number(f[5], ub) || !Number(f[6], z))
            return Fail("quasars.txt: cannot read " + line);
        q.name = Trim(f[0]);
        q.ra = ra;
        q.dec = dec;
        q.V = static_cast<Single>(V);
        q.BV = static_cast<Single>(bv);
        q.UB = static_cast<Single>(ub);
        q.Z = static_cast<Single>(z);
        q.bvAssigned = q.ubAssigned = 1;
        quasars.push_back(q);
    }
    if (!error.empty()) return Fail(error);
    const std::size_t literature = quasars.size();
    for (int n : exercise) {
        const RegionRecord& r = layout->regions[static_cast<std::size_t>(n - 1)];
        const SkyCell cell{r.lowRA, r.highRA, r.lowDec, r.highDec};
        Draws draws(0x0A5A0000ull + static_cast<std::uint64_t>(n));
        const std::uint32_t count = draws.poisson(QuasarsPerSqDeg * cell.AreaSqDeg());
        const double d2r = static_cast<double>(DegToRad);
        const double s0 = std::sin(r.lowDec * d2r), s1 = std::sin(r.highDec * d2r);
        for (std::uint32_t k = 0; k < count; ++k) {
            QuasarRecord q;
            q.ra = r.lowRA + (r.highRA - r.lowRA) * draws.uniform();
            q.dec = std::asin(s0 + (s1 - s0) * draws.uniform()) / d2r;
            // Counts rise steeply to V 20: N(<V) proportional to 10^(0.75 V).
            const double V = 20 + std::log10(1 - draws.uniform() * (1 - std::pow(10.0, -0.75 * 3.5))) / 0.75;
            const double z = 0.2 + 3.3 * (draws.uniform() + draws.uniform()) / 2;
            q.V = static_cast<Single>(V);
            q.Z = static_cast<Single>(z);
            q.BV = static_cast<Single>(0.25 + 0.08 * draws.normal() + (z > 2.5 ? 0.1 : 0));
            // The Lyman forest moves into U from z 2.2 on.
            q.UB = static_cast<Single>((z < 2.2 ? -0.85 : z < 2.8 ? -0.45 : 0.0) + 0.1 * draws.normal());
            q.name = QuasarName(q.ra, q.dec);
            q.bvAssigned = q.ubAssigned = 1;
            quasars.push_back(q);
        }
    }
    std::stable_sort(quasars.begin(), quasars.end(), [](const QuasarRecord& a, const QuasarRecord& b) { return a.ra < b.ra; });
    if (Write(files, out + "ZARN_QSO.DAT", EncodeQuasarCatalog(quasars)) != 0) return Fail("cannot write ZARN_QSO.DAT");
    summary.lines.push_back("quasars: " + std::to_string(literature) + " from the literature, " +
                            std::to_string(quasars.size() - literature) + " simulated");

    // ---- Orbits.
    std::vector<OrbitRecord> orbits;
    for (const std::string& line : Lines(paths.seeds + "asteroids.txt.xz", error)) {
        const auto f = Split(line, '|');
        Elements el;
        if (f.size() < 13 || !Number(f[2], el.epoch) || !Number(f[3], el.a) || !Number(f[4], el.e) ||
            !Number(f[5], el.i) || !Number(f[6], el.node) || !Number(f[7], el.peri) || !Number(f[8], el.M))
            return Fail("asteroids.txt.xz: cannot read " + line);
        el.name = f[0];
        el.number = f[1];
        el.H = NumberOr(f[9], 14);
        el.G = NumberOr(f[10], 0.15);
        el.orbitClass = f[11];
        el.hazardous = f[12] == "Y";
        orbits.push_back(MakeOrbitRecord(el));
    }
    if (!error.empty()) return Fail(error);
    orbits.push_back(*quenara);
    if (Write(files, out + "ORBIT/QNRA_MPC.CMO", EncodeOrbitFile(orbits)) != 0) return Fail("cannot write the orbit file");
    summary.lines.push_back("asteroid orbits: " + std::to_string(orbits.size()));
    return summary;
}

}  // namespace qnr::datagen
