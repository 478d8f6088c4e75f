// The two catalog operations the observatory waits for: a field query of the
// instrument field at the telescope's size (default options: 3 x 15
// arcminutes) on regions of 2,000 stars each, and the asteroid list of an
// orbit file of 10,000 bodies for one date.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "app/Options.h"
#include "astro/Orbit_Pr.h"
#include "astro/Sun.h"
#include "catalogs/SkyCatalogs.h"
#include "platform/FileSystem.h"
#include "platform/Services.h"

namespace {

using namespace qnr;

const Extended FirstJD = 2452379.0L;  // 2002-04-14 12:00 UT
const double FirstDay = static_cast<double>(FirstJD - JulianDateOfDayZero);

class CountingDialogs final : public platform::Dialogs {
public:
    platform::Answer ask(const platform::Message&) override {
        ++count;
        return platform::Answer::OK;
    }
    void beep() override {}
    std::optional<std::string> inputLine(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    int count = 0;
};

// A catalog tree in a temporary folder, removed at the end.
struct Tree {
    Tree() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qnr-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        root = pattern + "/";
        services.dialogs = &dialogs;
        services.files = &files;
        opts.programFolder = root;
        opts.dataFolder = root;
        opts.usersFolder = root;
        opts.instrumentCatalogFolder = root + "CGSC/";
        opts.finderCatalogFolder = root + "FGSC/";
        opts.galaxyCatalog = "ZARN_GLX.DAT";
        opts.qsoCatalog = "ZARN_QSO.DAT";
        opts.galaxyImagesFolder = root + "IMAGES/";
        opts.galaxyImagesList = "GLIMAGES.LST";
        opts.orbitFile = root + "ORBIT/QNRA_MPC.CMO";
    }
    ~Tree() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    void write(const std::string& path, const Bytes& bytes) {
        files.makeFolders(platform::FolderOf(path));
        files.writeFileAtomic(path, bytes);
    }
    std::string root;
    CountingDialogs dialogs;
    platform::StdFileSystem files;
    platform::Services services;
    app::OptsRec opts;
};

Vector3 UnitEcliptic(double raHours, double decDeg) {
    const Extended a = raHours * 15 * DegToRad, d = decDeg * DegToRad, e = 23.43929111L * DegToRad;
    const Extended x = std::cos(d) * std::cos(a), y = std::cos(d) * std::sin(a), z = std::sin(d);
    return {x, y * std::cos(e) + z * std::sin(e), -y * std::sin(e) + z * std::cos(e)};
}

// A body at (ra, dec) seen from the Earth, delta AU away, on a roughly
// circular orbit (speed scaled by `speed`).
OrbitRecord BodyAt(int n, double ra, double dec, double delta, Extended H, Extended speed) {
    OrbitRecord r;
    r.name = "Body " + std::to_string(n);
    r.number = std::to_string(n);
    r.epoch = FirstJD - 40;
    r.position = VecAdd(EarthVector(Sun{}, FirstJD), VecScale(UnitEcliptic(ra, dec), delta * KmPerAU));
    const Vector3 along = VecCross({0, 0, 1}, r.position);
    r.velocity = VecScale(along, speed * std::sqrt(GMSun / VecLength(r.position)) / VecLength(along));
    r.H = H;
    r.G = 0.15L;
    return r;
}

void FieldQuery(benchmark::State& state) {
    Tree tree;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0, 1);
    // Four exercise regions meeting at the centre of the box (0h, +3.75).
    struct Region {
        int n;
        RegionRecord r;
    } regions[] = {{282, {23.5, 24.0, 3.75, 7.5}}, {285, {0.0, 0.5, 3.75, 7.5}},
                   {289, {23.5, 24.0, 0.0, 3.75}}, {292, {0.0, 0.5, 0.0, 3.75}}};
    std::vector<RegionRecord> table(RegionCount, UnusedRegion());
    for (const Region& g : regions) {
        table[static_cast<std::size_t>(g.n - 1)] = g.r;
        std::vector<InstrumentStarRecord> stars;
        for (int i = 0; i < 2000; ++i) {
            char number[8];
            std::snprintf(number, sizeof number, "%05d", i + 1);
            const double ra = g.r.lowRA + u(rng) * (g.r.highRA - g.r.lowRA);
            const double dec = g.r.lowDec + u(rng) * (g.r.highDec - g.r.lowDec);
            stars.push_back(MakeInstrumentStar(number, ra, dec, 8 + 12 * u(rng), 0.6, 0.1, 50205000, 15));
        }
        tree.write(tree.opts.instrumentCatalogFolder + RegionFileName(g.n), EncodeInstrumentStars(stars));
    }
    tree.write(tree.opts.instrumentCatalogFolder + RegionTableName, EncodeRegionTable(table));
    // 10,000 galaxies and 2,000 quasars over the sky, sorted by RA; a picture list of 100.
    std::vector<GalaxyRecord> galaxies(10000);
    for (auto& g : galaxies) {
        g.ra = 24 * u(rng);
        g.dec = -90 + 180 * u(rng);
        g.magnitude = static_cast<Single>(10 + 8 * u(rng));
        g.major = 1.5f;
        g.typeCode = 3;
        g.number = std::to_string(static_cast<int>(u(rng) * 7000));
    }
    std::sort(galaxies.begin(), galaxies.end(), [](auto& a, auto& b) { return a.ra < b.ra; });
    tree.write(tree.root + "ZARN_GLX.DAT", EncodeGalaxyCatalog(galaxies));
    tree.write(tree.root + "ZARN_GLX.NDX", EncodeGalaxyIndex(BuildGalaxyIndex(galaxies)));
    std::vector<QuasarRecord> quasars(2000);
    for (std::size_t i = 0; i < quasars.size(); ++i) {
        quasars[i].name = "Q" + std::to_string(i);
        quasars[i].ra = 24 * u(rng);
        quasars[i].dec = -90 + 180 * u(rng);
        quasars[i].V = 17;
    }
    // A few inside the box, to be merged.
    for (int i = 0; i < 20; ++i) {
        quasars[static_cast<std::size_t>(i)].ra = std::fmod(23.98 + 0.04 * u(rng), 24.0);
        quasars[static_cast<std::size_t>(i)].dec = 3.4 + 0.7 * u(rng);
    }
    std::sort(quasars.begin(), quasars.end(), [](auto& a, auto& b) { return a.ra < b.ra; });
    tree.write(tree.root + "ZARN_QSO.DAT", EncodeQuasarCatalog(quasars));
    std::vector<GalaxyImageLine> pictures;
    for (int i = 0; i < 100; ++i)
        pictures.push_back({"M " + std::to_string(i), std::to_string(i * 50), 9.0f, 24 * u(rng), -60 + 120 * u(rng),
                            "M.BMP", 0, 0, 10, 10});
    tree.write(tree.opts.galaxyImagesFolder + "GLIMAGES.LST", EncodeGalaxyImageList(pictures));
    // Ten asteroids in the box among the near-Earth list.
    std::vector<OrbitRecord> bodies;
    for (int i = 0; i < 10; ++i) {
        OrbitRecord b = BodyAt(i + 1, std::fmod(23.99 + 0.02 * u(rng), 24.0), 3.6 + 0.3 * u(rng), 0.5, 16, 1.0);
        b.notes[NoteGroup] = 3;
        bodies.push_back(b);
    }
    tree.write(tree.opts.orbitFile, EncodeOrbitFile(bodies));

    SkyCatalogs sky(tree.services, tree.opts);
    sky.SetObservationDate(FirstDay);
    const FieldLimits limits = sky.ViewLimits(FieldKind::Instrument, 0.0, 3.75);
    for (auto _ : state) {
        FieldStatus s = sky.OpenField(FieldKind::Instrument, limits, FirstJD);
        if (s != FieldStatus::Opened) state.SkipWithError("field not opened");
        benchmark::DoNotOptimize(sky.instrument.objects.Count());
    }
    state.counters["stars_read"] = 8000;
    state.counters["objects"] = sky.instrument.objects.Count();
    state.counters["galaxies"] = sky.instrument.galaxies.Count();
    state.counters["messages"] = tree.dialogs.count;
}
BENCHMARK(FieldQuery)->Unit(benchmark::kMillisecond);

void AsteroidList(benchmark::State& state) {
    Tree tree;
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<OrbitRecord> bodies;
    for (int i = 0; i < 10000; ++i) {
        // Main-belt bodies all over the sky, eccentric up to about 0.2; every
        // twentieth a near-Earth asteroid.
        OrbitRecord b = BodyAt(i + 1, 24 * u(rng), -30 + 60 * u(rng), 0.3 + 3 * u(rng), 10 + 8 * u(rng),
                               0.85 + 0.3 * u(rng));
        if (i % 20 == 0) b.notes[NoteGroup] = 3;
        bodies.push_back(b);
    }
    tree.write(tree.opts.orbitFile, EncodeOrbitFile(bodies));
    TOrbitList list(tree.services, tree.opts);
    for (auto _ : state) {
        if (!list.ComputeList(FirstDay)) state.SkipWithError("no list");
        benchmark::DoNotOptimize(list.observable.Count());
    }
    state.counters["bodies"] = 10000;
    state.counters["observable"] = list.observable.Count();
    state.counters["near_earth"] = list.nearEarthCount;
    state.counters["messages"] = tree.dialogs.count;
}
BENCHMARK(AsteroidList)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
