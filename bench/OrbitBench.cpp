// The asteroid list places every orbit of the file with its magnitude: the
// apparent geocentric position (light time, nutation) and the H-G magnitude
// of one body, at a new date each time so that nothing is reused.
#include <benchmark/benchmark.h>

#include "astro/Orbit_Pr.h"

namespace {

qnr::SolarBody MainBeltBody(std::uint8_t mode) {
    qnr::StateVector s;
    s.time = 2455197.5L;
    s.position = {3.0e8L, 2.0e8L, 1.5e7L};
    s.velocity = {-8.5L, 12.5L, 1.2L};
    qnr::SetEcliptic(s.header, qnr::KindMean, qnr::EpochJ2000, qnr::JD_J2000);
    return qnr::MakeSolarBody(s, mode, {qnr::MagnitudeAsteroid, 3.34L, 0.12L}, nullptr);
}

void PositionAndMagnitude(benchmark::State& state) {
    qnr::SolarBody body = MainBeltBody(static_cast<std::uint8_t>(state.range(0)));
    qnr::Extended jd = 2455300.5L;
    for (auto _ : state) {
        qnr::BodyPlace place = qnr::GeocentricPosition(body, jd);
        qnr::Extended mag = qnr::Magnitude(body, jd);
        benchmark::DoNotOptimize(place);
        benchmark::DoNotOptimize(mag);
        jd += 0.37L;
    }
    state.SetItemsProcessed(state.iterations());
}
// 1 apparent (the asteroid list), 0 geometric, 2 astrometric.
BENCHMARK(PositionAndMagnitude)->Arg(1)->Arg(0)->Arg(2);

void SunSeries(benchmark::State& state) {
    qnr::Sun sun;
    qnr::Extended jd = 2455300.5L;
    for (auto _ : state) {
        benchmark::DoNotOptimize(qnr::SunVector(sun, jd));
        jd += 0.37L;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(SunSeries);

}  // namespace

BENCHMARK_MAIN();
