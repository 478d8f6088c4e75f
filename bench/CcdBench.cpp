// The CCD camera's image build at the 0.9 m telescope: the background alone,
// whole builds by star count and by image size (with an asteroid trail), and
// the FITS save of a 1024 x 1024 image.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

#include "app/Options.h"
#include "astro/Random.h"
#include "catalogs/SkyCatalogs.h"
#include "ccd/CCD_Fits.h"
#include "ccd/CCD_Img.h"

namespace {

using namespace qnr;

class BenchClock final : public platform::Clock {
public:
    double localDayNumber() override { return 37360.5; }
    std::uint32_t tickMs() override { return 1; }
    std::uint64_t performanceCounter() override { return ++n; }
    platform::TimeZoneInfo timeZone() override { return {}; }
    std::uint64_t n = 1;
};

class QuietDialogs final : public platform::Dialogs {
public:
    platform::Answer ask(const platform::Message&) override { return platform::Answer::No; }
    void beep() override {}
    std::optional<std::string> inputLine(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

constexpr double Ra0 = 7.4777, Dec0 = 20.9117;

app::OptsRec Opts(int size) {
    app::OptsRec o;
    app::TelescopeEntry& t = o.telescopes[1];
    t.name = "0.9 m";
    t.focalLength = 9144.0f;
    t.seeingDisk = 1.8f;
    t.scopeFactor = 0.0f;
    o.camera.imageWidth = o.camera.imageHeight = size;
    return o;
}

struct Field {
    BenchClock clock;
    QuietDialogs dialogs;
    platform::StdFileSystem files;
    platform::Services services;
    app::OptsRec opts;
    SkyCatalogs sky;
    ccd::CCDImageObj image;

    Field(int size, int stars)
        : services(Make()), opts(Opts(size)), sky(services, opts), image(services, opts) {
        // Stars spread over the chip, more of them faint as in a real field.
        const double scale = 24 * 206.2648 / 9144.0 / 3600;  // degrees per pixel
        RandomGenerator::global().setSeed(99);
        for (int i = 0; i < stars; ++i) {
            FieldObject o;
            o.name = "star";
            const double dx = (RandomReal() - 0.5) * size, dy = (RandomReal() - 0.5) * size;
            o.ra = Ra0 - dx * scale / 15 / std::cos(Dec0 * M_PI / 180);
            o.dec = Dec0 - dy * scale;
            o.V = static_cast<Single>(20 - 8 * std::pow(RandomReal(), 3));
            o.BV = 0.6f;
            Add(o);
        }
        for (int end = 0; end < 2; ++end) {
            FieldObject a;
            a.name = "(433) Eros";
            a.kind = KindAsteroid;
            a.ra = Ra0 + (end ? 0.0002 : 0);
            a.dec = Dec0 + (end ? 0.001 : 0);
            a.V = 13.0f;
            a.BV = 0.65f;
            Add(a);
        }
    }
    platform::Services Make() {
        platform::Services s;
        s.clock = &clock;
        s.dialogs = &dialogs;
        s.files = &files;
        return s;
    }
    void Add(const FieldObject& o) {
        sky.instrument.objects.GoLast();
        sky.instrument.objects.InsertAfterCurrent(o);
        sky.instrument.objects.Reset();
    }
    bool Build(bool withObjects) {
        ccd::CameraSettings s;
        s.telescope = 1;
        s.field = withObjects ? &sky.instrument : nullptr;
        return image.Build(60, 2452379.25L, Dec0, Ra0, s);
    }
};

void Background(benchmark::State& state) {
    Field f(static_cast<int>(state.range(0)), 0);
    for (auto _ : state) benchmark::DoNotOptimize(f.Build(false));
}
BENCHMARK(Background)->Arg(1024)->Unit(benchmark::kMillisecond);

void WholeBuildByStars(benchmark::State& state) {
    Field f(1024, static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(f.Build(true));
    state.counters["on_chip"] = static_cast<double>(f.image.key.size());
}
BENCHMARK(WholeBuildByStars)->Arg(0)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

void WholeBuildBySize(benchmark::State& state) {
    Field f(static_cast<int>(state.range(0)), 2000);
    for (auto _ : state) benchmark::DoNotOptimize(f.Build(true));
}
BENCHMARK(WholeBuildBySize)->Arg(256)->Arg(512)->Arg(1024)->Arg(2048)->Unit(benchmark::kMillisecond);

void FitsSave(benchmark::State& state) {
    Field f(1024, 0);
    f.Build(false);
    ccd::FitsHeader h;
    h.width = h.height = 1024;
    h.object = "Qnra-NGC 2392";
    const std::string path = "/tmp/qnr_ccd_bench.FIT";
    for (auto _ : state) benchmark::DoNotOptimize(f.files.writeFileAtomic(path, ccd::FitsBytes(h, f.image.array)));
    std::remove(path.c_str());
}
BENCHMARK(FitsSave)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
