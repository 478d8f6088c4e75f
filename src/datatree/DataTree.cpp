#include "datatree/DataTree.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <set>

#include "app/Options.h"
#include "astro/Coords.h"
#include "astro/MathStd.h"
#include "astro/Sun.h"
#include "catalogs/AstFlDlg.h"
#include "catalogs/ExtendedObjects.h"
#include "catalogs/SkyCatalogs.h"
#include "catalogs/Star_Cat.h"
#include "help/TextLists.h"
#include "observatory/HotList.h"
#include "spectroscopy/Nkd_Eye.h"

namespace qnr::datatree {

namespace {

// Messages of the catalog readers become problems of the check.
class RecordingDialogs final : public platform::Dialogs {
public:
    explicit RecordingDialogs(std::vector<std::string>& out) : out_(out) {}
    platform::Answer ask(const platform::Message& m) override {
        std::string text = m.caption + ": " + m.text;
        for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
            text.replace(at, 2, " / ");
        out_.push_back(text);
        return m.buttons == platform::Buttons::YesNo || m.buttons == platform::Buttons::YesNoCancel
                   ? platform::Answer::No
                   : platform::Answer::Cancel;
    }
    void beep() override {}
    std::optional<std::string> inputLine(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }

private:
    std::vector<std::string>& out_;
};

class TreeIdentity final : public platform::Identity {
public:
    explicit TreeIdentity(std::string folder) : folder_(std::move(folder)) {}
    std::string loginName() override { return "check"; }
    std::string programFolder() override { return folder_; }
    std::string userDataLocation() override { return folder_; }
    std::string platformName() override { return "check"; }
    int platformMajorVersion() override { return 0; }

private:
    std::string folder_;
};

// A clock in zone UT: the check's dates are UT.
class UtClock final : public platform::Clock {
public:
    double localDayNumber() override { return static_cast<double>(ExerciseNightJD - JulianDateOfDayZero); }
    std::uint32_t tickMs() override { return 0; }
    std::uint64_t performanceCounter() override { return 0; }
    platform::TimeZoneInfo timeZone() override { return {}; }
};

std::string Fixed(double v, int decimals) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    return std::string(buf, r.ptr);
}


double AltitudeDeg(const Site& site, double raHours, double decDeg, Extended jd) {
    SkyPosition p;
    SetEquatorial(p, KindMean, EpochJ2000, JD_J2000);
    p.first = static_cast<Extended>(raHours) * 15 * DegToRad;
    p.second = static_cast<Extended>(decDeg) * DegToRad;
    return static_cast<double>(HorizonPosition(site, p, jd).altitude * RadToDeg);
}

double SunAltitudeDeg(const Site& site, Extended jd) {
    const Sun sun{};
    SunPlace place = SunPosition(sun, jd);
    SkyPosition eq;
    EclipticToEquatorial(eq, place.position);
    return static_cast<double>(HorizonPosition(site, eq, jd).altitude * RadToDeg);
}

struct Ctx {
    const std::string& folder;
    platform::FileSystem& files;
    CheckReport& report;
    void problem(const std::string& s) { report.problems.push_back(s); }
    void note(const std::string& s) { report.notes.push_back(s); }
    // The file's bytes; a problem when it is missing or not whole records.
    std::optional<Bytes> Read(const std::string& relative, std::size_t record, std::size_t exact = 0) {
        platform::ReadResult r = files.readFile(files.resolve(folder + relative), std::size_t{1} << 30);
        if (r.code != 0) {
            problem("missing: " + relative);
            return std::nullopt;
        }
        if (exact && r.bytes.size() != exact) {
            problem(relative + ": " + std::to_string(r.bytes.size()) + " bytes, not " + std::to_string(exact));
            return std::nullopt;
        }
        if (record && r.bytes.size() % record != 0) {
            problem(relative + ": " + std::to_string(r.bytes.size()) + " bytes, not whole " + std::to_string(record) +
                    "-byte records");
            return std::nullopt;
        }
        return std::move(r.bytes);
    }
};

void CheckStars(Ctx& c, const std::vector<RegionRecord>& regions) {
    long instrument = 0, finder = 0;
    int bad = 0;
    const std::set<int> exercise(ExerciseRegions().begin(), ExerciseRegions().end());
    for (int n = 1; n <= RegionCount; ++n) {
        const RegionRecord& r = regions[static_cast<std::size_t>(n - 1)];
        const std::string name = RegionFileName(n);
        auto inBounds = [&](double ra, double dec) {
            const double e = 2e-5;  // the stored rounding
            return ra >= r.lowRA - e && ra <= r.highRA + e && dec >= r.lowDec - e && dec <= r.highDec + e;
        };
        if (auto b = c.Read("CGSC/" + name, InstrumentStarSize)) {
            const auto stars = DecodeInstrumentStars(*b);
            instrument += static_cast<long>(stars.size());
            for (std::size_t i = 0; i < stars.size() && bad < 20; ++i) {
                if (i && !(stars[i - 1].number < stars[i].number)) {
                    c.problem("CGSC/" + name + ": star numbers not ascending at record " + std::to_string(i));
                    ++bad;
                }
                if (!inBounds(stars[i].ra / 1e7, stars[i].dec / 1e5)) {
                    c.problem("CGSC/" + name + ": star " + stars[i].number + " lies outside its region");
                    ++bad;
                }
            }
            if (exercise.count(n) && stars.empty()) c.problem("CGSC/" + name + ": an exercise region without stars");
        }
        if (auto b = c.Read("FGSC/" + name, FinderStarSize)) {
            const auto stars = DecodeFinderStars(*b);
            finder += static_cast<long>(stars.size());
            for (std::size_t i = 0; i < stars.size() && bad < 20; ++i) {
                if (i && !(stars[i - 1].number < stars[i].number)) {
                    c.problem("FGSC/" + name + ": star numbers not ascending at record " + std::to_string(i));
                    ++bad;
                }
                if (!inBounds(stars[i].ra, stars[i].dec)) {
                    c.problem("FGSC/" + name + ": star " + stars[i].number + " lies outside its region");
                    ++bad;
                }
            }
        }
    }
    c.note("stars: " + std::to_string(instrument) + " in the instrument catalog, " + std::to_string(finder) +
           " in the finder catalog");
}

std::vector<RegionRecord> CheckRegionTable(Ctx& c) {
    std::vector<RegionRecord> regions;
    for (const char* cat : {"CGSC/", "FGSC/"}) {
        auto b = c.Read(std::string(cat) + RegionTableName, 0, RegionCount * RegionRecordSize);
        if (!b) continue;
        auto decoded = DecodeRegionTable(*b);
        if (regions.empty()) regions = decoded;
    }
    if (regions.empty()) return regions;
    // Together the regions cover the sphere once.
    double area = 0;
    const double d2r = static_cast<double>(DegToRad);
    for (const RegionRecord& r : regions)
        area += (r.highRA - r.lowRA) * 15 * (std::sin(r.highDec * d2r) - std::sin(r.lowDec * d2r)) / d2r;
    const double sphere = 4 * 180 * 180 / 3.14159265358979323846;
    if (std::fabs(area - sphere) > 0.5)
        c.problem("REGIONS.BIN: the regions cover " + Fixed(area, 1) + " square degrees, not the sky's " +
                  Fixed(sphere, 1));
    return regions;
}

void CheckGalaxiesAndQuasars(Ctx& c, const app::OptsRec& opts) {
    if (auto b = c.Read(opts.galaxyCatalog, GalaxyRecordSize)) {
        const auto g = DecodeGalaxyCatalog(*b);
        for (std::size_t i = 1; i < g.size(); ++i)
            if (g[i].ra < g[i - 1].ra) {
                c.problem(opts.galaxyCatalog + ": not sorted by RA at record " + std::to_string(i));
                break;
            }
        if (auto n = c.Read(GalaxyIndexName(opts.galaxyCatalog), GalaxyIndexEntrySize, 25 * GalaxyIndexEntrySize)) {
            const auto index = DecodeGalaxyIndex(*n);
            const auto expected = BuildGalaxyIndex(g);
            bool same = index.size() == expected.size();
            for (std::size_t i = 0; same && i < index.size(); ++i)
                same = index[i].key == expected[i].key && index[i].record == expected[i].record;
            if (!same) c.problem(GalaxyIndexName(opts.galaxyCatalog) + ": does not index the galaxy catalog");
        }
        c.note("galaxies: " + std::to_string(g.size()));
    }
    if (auto b = c.Read(opts.qsoCatalog, QuasarRecordSize)) {
        const auto q = DecodeQuasarCatalog(*b);
        for (std::size_t i = 1; i < q.size(); ++i)
            if (q[i].ra < q[i - 1].ra) {
                c.problem(opts.qsoCatalog + ": not sorted by RA at record " + std::to_string(i));
                break;
            }
        c.note("quasars: " + std::to_string(q.size()));
    }
    const std::string list = "IMAGES/GALAXIES/" + opts.galaxyImagesList;
    if (auto b = c.Read(list, 0)) {
        int images = 0;
        for (const std::string& line : help::SplitTextLines(*b)) {
            auto e = ParseGalaxyImageLine(line);
            if (!e) continue;
            ++images;
            platform::ReadResult bmp = c.files.readFile(c.files.resolve(c.folder + "IMAGES/GALAXIES/" + e->fileName),
                                                        std::size_t{1} << 26);
            if (bmp.code != 0 || bmp.bytes.size() < 54 || bmp.bytes[0] != 'B' || bmp.bytes[1] != 'M') {
                c.problem(list + ": the picture " + e->fileName + " of " + e->name + " is missing or not a BMP");
                continue;
            }
            const std::uint32_t size = bmp.bytes[2] | bmp.bytes[3] << 8 | bmp.bytes[4] << 16 |
                                       static_cast<std::uint32_t>(bmp.bytes[5]) << 24;
            if (size != bmp.bytes.size()) c.problem("IMAGES/GALAXIES/" + e->fileName + ": size differs from its header");
        }
        c.note("galaxy pictures: " + std::to_string(images));
    }
}

void CheckTargets(Ctx& c, const app::OptsRec& opts, SkyCatalogs& sky, const std::vector<observatory::ObjctDat>& hot,
                  std::vector<std::string>& messages) {
    for (const observatory::ObjctDat& t : hot) {
        const double ra = static_cast<double>(t.ra), dec = static_cast<double>(t.dec);
        const FieldLimits limits = sky.ViewLimits(FieldKind::Instrument, ra, dec);
        const RegionSelection selection = sky.regions.SelectRegions(limits);
        if (selection.count() == 0 || !sky.regions.AllRegionsAvailable(selection)) {
            c.problem("hot list: the instrument field of " + t.identifier + " is not in the exercise regions");
            continue;
        }
        messages.clear();
        if (sky.OpenField(FieldKind::Instrument, limits, ExerciseNightJD) != FieldStatus::Opened) {
            c.problem("hot list: the instrument field of " + t.identifier + " cannot be opened" +
                      (messages.empty() ? std::string() : " (" + messages.front() + ")"));
            continue;
        }
        GSCFieldObj& f = sky.instrument;
        int stars = 0;
        double best = 1e9;
        std::string nearest;
        f.objects.Reset();
        while (const FieldObject* o = f.objects.Next()) {
            if (o->kind == KindStar) ++stars;
            const double d = SeparationDeg(ra, dec, o->ra, o->dec);
            if (d < best) {
                best = d;
                nearest = o->name + " V " + Fixed(o->V, 2);
            }
        }
        f.galaxies.Reset();
        while (const GalaxyEntry* g = f.galaxies.Next()) {
            const double d = SeparationDeg(ra, dec, g->ra, g->dec);
            if (d < best) {
                best = d;
                nearest = g->name + " mag " + Fixed(g->magnitude, 2);
            }
        }
        if (stars == 0) c.problem("hot list: the field of " + t.identifier + " holds no stars");
        if (best > 1.0 / 60) c.problem("hot list: nothing within 1 arcminute of " + t.identifier);
        c.note("target " + t.identifier + ": " + std::to_string(stars) + " stars, regions " +
               std::to_string(selection.count()) + ", nearest " + nearest + " at " + Fixed(best * 3600, 1) + "\"");

        // Observable from every telescope's site on the exercise night.
        std::set<std::pair<long, long>> done;
        for (const app::TelescopeEntry& scope : opts.telescopes) {
            const std::pair<long, long> key{std::lround(static_cast<double>(scope.latitude) * 1e6),
                                            std::lround(static_cast<double>(scope.longitude) * 1e6)};
            if (!done.insert(key).second) continue;
            const Site site{scope.latitude, scope.longitude};
            double highest = -90;
            for (Extended jd = 2452379.5L - 2.0L / 24; jd < 2452380.0L; jd += 10.0L / 1440)
                if (SunAltitudeDeg(site, jd) < -12) highest = std::max(highest, AltitudeDeg(site, ra, dec, jd));
            if (highest < 5)
                c.problem("hot list: " + t.identifier + " rises only to " + Fixed(highest, 1) +
                          " degrees in the dark at " + scope.siteName);
        }
    }
}

void CheckAsteroid(Ctx& c, const app::OptsRec& opts, platform::Services& services,
                   const std::vector<observatory::ObjctDat>& hot) {
    auto b = c.Read("ORBIT/QNRA_MPC.CMO", OrbitRecordSize);
    if (!b) return;
    const auto records = DecodeOrbitFile(*b);
    c.note("asteroid orbits: " + std::to_string(records.size()));
    const OrbitRecord* mine = nullptr;
    for (const OrbitRecord& r : records)
        if (TrimRight(r.name) == ExerciseAsteroid) mine = &r;
    if (!mine) {
        c.problem(std::string("ORBIT/QNRA_MPC.CMO: no asteroid ") + ExerciseAsteroid);
        return;
    }
    const observatory::ObjctDat* field = nullptr;
    for (const auto& t : hot)
        if (t.identifier == ExerciseAsteroidTarget) field = &t;
    if (!field) {
        c.problem(std::string("hot list: no target \"") + ExerciseAsteroidTarget + "\"");
        return;
    }
    if (!IsNearEarth(*mine, OrbitNotesMPC)) c.problem(std::string(ExerciseAsteroid) + " is not a near-Earth asteroid");

    TOrbitList list(services, opts);
    const double localDay = static_cast<double>(ExerciseNightJD - JulianDateOfDayZero) - opts.zoneHours / 24.0;
    if (!list.ComputeList(localDay)) {
        c.problem("the asteroid list of the exercise night cannot be computed");
        return;
    }
    const OrbitListEntry* seen = nullptr;
    list.observable.Reset();
    while (const OrbitListEntry* e = list.observable.Next())
        if (TrimRight(e->record.name) == ExerciseAsteroid) seen = e;
    if (!seen) {
        c.problem(std::string(ExerciseAsteroid) + " is not on the asteroid list of the exercise night");
        return;
    }
    // The motion over ten minutes, as a CCD exposure would show it.
    SolarBody body = MakeSolarBody(StateOf(*mine), KindAstrometric, MagnitudeOf(*mine), nullptr);
    const auto at0 = AsteroidPlaceAt(body, ExerciseNightJD), at1 = AsteroidPlaceAt(body, ExerciseNightJD + 10.0L / 1440);
    if (!at0 || !at1) {
        c.problem(std::string(ExerciseAsteroid) + " has no place on the exercise night");
        return;
    }
    const std::pair<double, double> p0{at0->ra, at0->dec}, p1{at1->ra, at1->dec};
    const double off = SeparationDeg(p0.first, p0.second, static_cast<double>(field->ra), static_cast<double>(field->dec));
    const double halfView = opts.instrumentField / 60.0 / 2;
    if (off > halfView) c.problem(std::string(ExerciseAsteroid) + " is " + Fixed(off * 60, 1) + "' from its field");
    if (seen->magnitude < 14 || seen->magnitude > 15)
        c.problem(std::string(ExerciseAsteroid) + " has V " + Fixed(seen->magnitude, 2) + ", not 14 to 15");
    const double rate = SeparationDeg(p0.first, p0.second, p1.first, p1.second) * 3600 / 10;
    if (rate < 1 || rate > 3) c.problem(std::string(ExerciseAsteroid) + " moves " + Fixed(rate, 2) + "\"/min, not 1 to 3");
    const Site site{opts.telescopes[0].latitude, opts.telescopes[0].longitude};
    const double alt = AltitudeDeg(site, p0.first, p0.second, ExerciseNightJD);
    if (alt < 15) c.problem(std::string(ExerciseAsteroid) + " stands only " + Fixed(alt, 1) + " degrees high");
    c.note(std::string(ExerciseAsteroid) + ": V " + Fixed(seen->magnitude, 2) + ", " + Fixed(rate, 2) + "\"/min, " +
           Fixed(off * 3600, 1) + "\" from its field centre, altitude " + Fixed(alt, 1) + ", distance " +
           Fixed(seen->delta, 3) + " AU");
}

}  // namespace

CheckReport CheckTree(const std::string& folderIn, platform::FileSystem& files) {
    CheckReport report;
    const std::string folder = platform::WithTrailingSlash(folderIn);
    Ctx c{folder, files, report};

    std::vector<std::string> messages;
    RecordingDialogs dialogs(messages);
    TreeIdentity identity(folder);
    UtClock clock;
    platform::Services services;
    services.dialogs = &dialogs;
    services.identity = &identity;
    services.files = &files;
    services.clock = &clock;

    app::OptsObj options(services);
    options.InitIdentification(app::OptionsFileName, app::ProgramVersion);
    options.SetDefaults();
    app::OptsRec opts = options.rec;
    opts.instrumentCatalogFolder = folder + "CGSC/";
    opts.finderCatalogFolder = folder + "FGSC/";
    opts.galaxyImagesFolder = folder + "IMAGES/GALAXIES/";
    opts.orbitFile = folder + "ORBIT/QNRA_MPC.CMO";

    const std::vector<RegionRecord> regions = CheckRegionTable(c);
    if (!regions.empty()) CheckStars(c, regions);
    CheckGalaxiesAndQuasars(c, opts);

    if (auto b = c.Read(NakedEyeFileName, NakedEyeRecordSize)) {
        const auto stars = DecodeNakedEyeStars(*b);
        int bright = 0;
        for (const NakedEyeStar& s : stars) bright += s.V <= 6.5f;
        if (stars.size() < 5000 || bright != static_cast<int>(stars.size()))
            c.problem(std::string(NakedEyeFileName) + ": " + std::to_string(stars.size()) +
                      " stars, expected some thousands to V 6.5");
        c.note("naked-eye stars: " + std::to_string(stars.size()));
    }

    std::vector<observatory::ObjctDat> hot;
    if (auto b = c.Read(opts.hotListFile, 86)) {
        auto decoded = observatory::DecodeHotList(*b);
        if (decoded) hot = *decoded;
        else c.problem(opts.hotListFile + ": " + decoded.error());
        c.note("hot-list targets: " + std::to_string(hot.size()));
    }
    if (!regions.empty() && !hot.empty()) {
        SkyCatalogs sky(services, opts);
        if (!sky.regions.LoadTable()) c.problem("the region table cannot be loaded");
        sky.SetObservationDate(static_cast<double>(ExerciseNightJD - JulianDateOfDayZero) - opts.zoneHours / 24.0);
        CheckTargets(c, opts, sky, hot, messages);
    }
    if (!hot.empty()) CheckAsteroid(c, opts, services, hot);
    for (const std::string& m : messages) report.problems.push_back("message: " + m);
    return report;
}

}  // namespace qnr::datatree
