// The telescope view: a new field of 2,000 stars and 20 galaxies (catalog
// read, projection and drawing), and a drift step that only moves the view
// over the ready picture. The clock ticks every 100 ms; both must fit well inside.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "app/Options.h"
#include "catalogs/SkyCatalogs.h"
#include "observatory/FieldView.h"
#include "platform/FileSystem.h"
#include "platform/Services.h"

namespace {

using namespace qnr;

class QuietDialogs final : public platform::Dialogs {
public:
    platform::Answer ask(const platform::Message&) override { return platform::Answer::OK; }
    void beep() override {}
    std::optional<std::string> inputLine(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

constexpr double RA = 23.75, Dec = 3.75;

struct Tree {
    Tree() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qnr-fvbench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        root = pattern + "/";
        services.dialogs = &dialogs;
        services.files = &files;
        opts.programFolder = opts.dataFolder = opts.usersFolder = root;
        opts.instrumentCatalogFolder = root + "CGSC/";
        opts.finderCatalogFolder = root + "FGSC/";
        opts.galaxyCatalog = "ZARN_GLX.DAT";
        opts.qsoCatalog = "ZARN_QSO.DAT";
        opts.galaxyImagesFolder = root + "IMAGES/";
        opts.galaxyImagesList = "GLIMAGES.LST";
        std::mt19937 rng(11);
        std::uniform_real_distribution<double> u(-1, 1);
        std::vector<RegionRecord> table(RegionCount, UnusedRegion());
        table[281] = {23.5, 24.0, 0.0, 7.5};  // region 282, an exercise region
        write(opts.instrumentCatalogFolder + RegionTableName, EncodeRegionTable(table));
        const double halfDeg = 0.37, halfHours = halfDeg / 15 / std::cos(Dec * 3.14159265358979 / 180);
        std::vector<InstrumentStarRecord> stars;
        for (int i = 0; i < 2000; ++i) {
            char number[8];
            std::snprintf(number, sizeof number, "%05d", i + 1);
            stars.push_back(MakeInstrumentStar(number, RA + halfHours * u(rng), Dec + halfDeg * u(rng),
                                               14 + 4 * u(rng), 0.6, 0.1, 0, 0));
        }
        write(opts.instrumentCatalogFolder + RegionFileName(282), EncodeInstrumentStars(stars));
        std::vector<GalaxyRecord> galaxies;
        for (int i = 0; i < 20; ++i) {
            GalaxyRecord g;
            g.ra = RA + halfHours * u(rng);
            g.dec = Dec + halfDeg * u(rng);
            g.major = static_cast<Single>(1 + 3 * (u(rng) + 1));
            g.minor = g.major / 2;
            g.magnitude = 13;
            g.typeCode = 3;
            g.number = std::to_string(7000 + i);
            galaxies.push_back(g);
        }
        std::sort(galaxies.begin(), galaxies.end(), [](const GalaxyRecord& a, const GalaxyRecord& b) { return a.ra < b.ra; });
        write(opts.programFolder + opts.galaxyCatalog, EncodeGalaxyCatalog(galaxies));
        write(GalaxyIndexName(opts.programFolder + opts.galaxyCatalog), EncodeGalaxyIndex(BuildGalaxyIndex(galaxies)));
        write(opts.programFolder + opts.qsoCatalog, EncodeQuasarCatalog({}));
        write(opts.galaxyImagesFolder + opts.galaxyImagesList, EncodeGalaxyImageList({}));
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
    QuietDialogs dialogs;
    platform::StdFileSystem files;
    platform::Services services;
    app::OptsRec opts;
};

observatory::ViewRequest Request() {
    observatory::ViewRequest r;
    r.telescope = true;
    r.instrument = observatory::InstrumentCcd;
    r.ra = RA;
    r.dec = Dec;
    r.jd = 2452379.0L;
    r.cameraWidth = 10;
    r.cameraHeight = 10;
    return r;
}

void TelescopeFieldRebuild(benchmark::State& state) {
    Tree tree;
    SkyCatalogs sky(tree.services, tree.opts);
    observatory::FieldView view(tree.opts, sky);
    observatory::ViewRequest r = Request();
    r.timeChanged = true;  // every update builds a new field
    for (auto _ : state) {
        if (view.Update(r) != observatory::ViewOutcome::Built) state.SkipWithError("no field");
        view.TakeNotices();
    }
    state.counters["stars"] = sky.instrument.objects.Count();
    state.counters["galaxies"] = sky.instrument.galaxies.Count();
}
BENCHMARK(TelescopeFieldRebuild)->Unit(benchmark::kMillisecond);

void DriftStep(benchmark::State& state) {
    Tree tree;
    SkyCatalogs sky(tree.services, tree.opts);
    observatory::FieldView view(tree.opts, sky);
    observatory::ViewRequest r = Request();
    view.Update(r);
    int i = 0;
    for (auto _ : state) {
        // A tenth of a second of sidereal drift each step, back and forth inside the field.
        r.ra = RA + ((i++ % 200) - 100) * 0.1 / 3600 * 1.0027379;
        if (view.Update(r) != observatory::ViewOutcome::Shown) state.SkipWithError("rebuilt");
    }
}
BENCHMARK(DriftStep)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
