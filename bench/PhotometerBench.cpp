// One PhotoTimer tick of the photometer: two Poisson draws (star and sky)
// and the displays' texts. The timer ticks every 100 ms; a tick must cost
// far less than that. Faint stars draw by multiplication, bright ones by
// rejection.
#include <benchmark/benchmark.h>

#include "app/Options.h"
#include "catalogs/SkyCatalogs.h"
#include "observatory/HandOff.h"
#include "photometry/Photometer.h"
#include "platform/FileSystem.h"
#include "platform/Services.h"

namespace {

using namespace qnr;

class QuietDialogs final : public platform::Dialogs {
public:
    platform::Answer ask(const platform::Message&) override { return platform::Answer::No; }
    void beep() override {}
    std::optional<std::string> inputLine(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

// A telescope pointing at one star; the view's default aperture.
class Scope final : public observatory::TelescopeHandOff {
public:
    Scope(SkyCatalogs& sky, Single v) : sky_(sky) {
        star_.name = "BENCH STAR";
        star_.ra = 12.5;
        star_.dec = 10;
        star_.V = v;
        star_.BV = 0.6f;
        star_.UB = 0.1f;
    }
    bool onStar = false;
    std::optional<FieldObject> CurrentObject() override { return onStar ? std::optional<FieldObject>(star_) : std::nullopt; }
    int CentreBrightness() override { return 0; }
    const Raster* FieldPicture() override { return nullptr; }
    const Raster* GalaxyLayer() override { return nullptr; }
    Extended RightAscension() override { return onStar ? 12.5L : 12.52L; }
    Extended Declination() override { return 10; }
    int Telescope() override { return 1; }
    Extended TelescopeBaseMagnitude() override { return 9; }
    Extended CameraFieldWidth() override { return 0; }
    Extended CameraFieldHeight() override { return 0; }
    Extended JulianDate() override { return 2452379.5L; }
    SkyCatalogs& Catalogs() override { return sky_; }
    void SetPhotometerAperture(int) override {}
    int PhotometerApertureRadius() override { return 10; }
    Extended PhotometerApertureDegrees() override { return 10.5L / 1248; }
    void InstrumentClosed() override {}

private:
    SkyCatalogs& sky_;
    FieldObject star_;
};

void BM_PhotometerTick(benchmark::State& state) {
    QuietDialogs dialogs;
    platform::StdFileSystem files;
    platform::Services services;
    services.dialogs = &dialogs;
    services.files = &files;
    app::OptsRec opts;
    for (auto& t : opts.telescopes) t.seeingDisk = 1.8f;
    SkyCatalogs sky(services, opts);
    Scope scope(sky, static_cast<Single>(state.range(0)));
    photometry::Photometer p(services, opts, scope, {}, 2002u);
    p.Show();
    p.SelectIntegrationTime(3);  // 100 s: 1000 ticks an integration
    p.SelectIntegrations(4);
    p.Activate();
    p.Start();  // the sky first, so that the star may be read
    while (p.integrating()) p.Tick();
    scope.onStar = true;
    p.Activate();
    p.MoveReadingSwitch(false);
    p.Start();
    for (auto _ : state) {
        if (!p.integrating()) p.Start();
        p.Tick();
        benchmark::DoNotOptimize(p.display().counter);
    }
}
// V 16 (about 2 counts a tick: multiplication), V 12 (63: rejection), V 5.
BENCHMARK(BM_PhotometerTick)->Arg(16)->Arg(12)->Arg(5);

}  // namespace

BENCHMARK_MAIN();
