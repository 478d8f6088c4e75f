// The pulsar catalog, the nearest-pulsar search and the pulse train, checked
// against the catalog's own columns and against the physics of dispersion.
#include "radio/Pulsars.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "astro/Coords.h"
#include "astro/Random.h"
#include "help/TextLists.h"
#include "photometry/PhotStat.h"
#include "support/Fakes.h"

namespace qnr::radio {
namespace {

PulsarRecord Pulsar(const std::string& name, Extended raHours, Extended decDeg, Extended period = 0.5L,
                    Single dm = 10) {
    PulsarRecord p;
    p.jName = name;
    p.bName = "";
    p.ra = raHours;
    p.dec = decDeg;
    p.period = period;
    p.periodDerivative = 1e-15L;
    p.epoch = 2452000.5L;
    p.skyTemperature = 30;
    p.dm = dm;
    p.w50 = 10;
    p.s400 = 100;
    p.s600 = 60;
    p.s1400 = 20;
    return p;
}

std::string Catalog(const std::vector<PulsarRecord>& pulsars) {
    std::string text;
    for (const auto& p : pulsars) text += FormatCatalogLine(p) + "\r\n";
    return text;
}

void WriteText(const std::string& path, const std::string& text) {
    test::WriteAll(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

TEST(PulsarCatalog, LinesReadByTheirColumns) {
    std::string line(460, ' ');
    auto put = [&line](const CatalogColumn& c, const std::string& text) { line.replace(c.position, text.size(), text); };
    put(ColJName, "0332+5434");
    put(ColBName, "0329+54");
    put(ColRa, "45.0");
    put(ColDec, "-12.5");
    put(ColPeriod, "0.714519699");
    put(ColPeriodDerivative, "2.048E-15");
    put(ColEpoch, "46473.5");
    put(ColSkyTemperature, "40");
    put(ColDm, "26.76");
    put(ColW50, "6.6");
    put(ColS400, "1500");
    put(ColS600, "800");
    put(ColS1400, "203");
    auto p = ParseCatalogLine(line);
    ASSERT_TRUE(p) << p.error();
    EXPECT_EQ(p->jName, "0332+5434");
    EXPECT_EQ(p->bName, "0329+54");
    EXPECT_EQ(p->ra, 3.0L);  // 45 degrees
    EXPECT_EQ(p->dec, -12.5L);
    EXPECT_NEAR(static_cast<double>(p->epoch), 2446473.5, 1e-9);
    EXPECT_EQ(p->s1400, 203.0f);
    EXPECT_EQ(JName(*p), "J0332+5434");
    EXPECT_EQ(BName(*p), "B0329+54");

    // Written lines read back as they were written.
    const PulsarRecord crab = Pulsar("0534+2200", 5.57554722L, 22.0144722L, 0.0333924123L, 56.77f);
    auto back = ParseCatalogLine(FormatCatalogLine(crab));
    ASSERT_TRUE(back);
    EXPECT_NEAR(static_cast<double>(back->ra), static_cast<double>(crab.ra), 1e-9);
    EXPECT_EQ(back->period, crab.period);
    EXPECT_EQ(back->dm, crab.dm);

    const struct {
        const char* what;
        std::string line;
        const char* error;
    } bad[] = {
        {"short", line.substr(0, 453), "the line ends at column 453"},
        {"empty number", std::string(line).replace(ColDm.position, ColDm.width, std::string(ColDm.width, ' ')),
         "the dispersion measure field '' is not a number"},
        {"word", std::string(line).replace(ColW50.position, 4, "wide"), "the W50 field 'wide' is not a number"},
        {"no period", std::string(line).replace(ColPeriod.position, 11, "0          "), "the period"},
        {"outside the sky", std::string(line).replace(ColDec.position, 5, "-95.0"), "the declination"},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(b.what);
        auto r = ParseCatalogLine(b.line);
        ASSERT_FALSE(r);
        EXPECT_NE(r.error().find(b.error), std::string::npos) << r.error();
    }
}

TEST(PulsarCatalog, LoadReportsTheDamagedLineAndKeepsNothing) {
    test::TempFolder dir;
    platform::StdFileSystem files;
    PlsrList list;
    EXPECT_FALSE(list.Load(files, dir.file("NONE.DAT")));
    EXPECT_FALSE(list.loaded());
    EXPECT_EQ(list.ioCode(), 2);
    EXPECT_FALSE(list.Load(files, ""));
    EXPECT_EQ(list.ioCode(), 2);

    const std::string good = Catalog({Pulsar("0100+0000", 1, 0), Pulsar("0200+0000", 2, 0)});
    WriteText(dir.file("PULSARS.DAT"), good + "\r\n");
    ASSERT_TRUE(list.Load(files, dir.file("pulsars.dat")));  // any letter case
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ioCode(), 0);

    WriteText(dir.file("PULSARS.DAT"), good + "0300+0000   too short\r\n");
    EXPECT_FALSE(list.Load(files, dir.file("PULSARS.DAT")));
    EXPECT_FALSE(list.loaded());
    EXPECT_EQ(list.Count(), 0);
    ASSERT_TRUE(list.fault());
    EXPECT_EQ(list.fault()->line, 3);
    EXPECT_EQ(list.FindNearest(10, 0, 1), nullptr);
}

class NearestTest : public ::testing::Test {
protected:
    void Load(const std::vector<PulsarRecord>& pulsars) {
        WriteText(dir.file("PULSARS.DAT"), Catalog(pulsars));
        ASSERT_TRUE(list.Load(files, dir.file("PULSARS.DAT")));
    }
    test::TempFolder dir;
    platform::StdFileSystem files;
    PlsrList list;
};

// The search measures along the great circle: the right-ascension difference
// shrinks with the cosine of the declination, and 0 h meets 24 h.
TEST_F(NearestTest, FindsTheNearestAlongTheSkyAtAnyRightAscension) {
    Load({Pulsar("0000+8930", 0.0L, 89.5L), Pulsar("0000+0000", 0.01L, 0), Pulsar("0530+3000", 5.5L, 30),
          Pulsar("0536+3000", 5.6L, 30), Pulsar("1200+8930", 12.0L, 89.5L), Pulsar("2359-4500", 23.99L, -45)});
    const double d01at30 = SeparationDeg(5.5, 30, 5.6, 30);  // 1.5 deg x cos 30 = 1.299
    EXPECT_NEAR(d01at30, 1.2990, 1e-3);
    const struct {
        const char* what;
        Extended max, dec, ra;
        const char* found;  // nullptr: none
        double distance;
    } rows[] = {
        {"on the pulsar", 2.0L, 30, 5.5L, "0530+3000", 0},
        {"0.1 h east at +30", 1.7L, 30, 5.65L, "0536+3000", SeparationDeg(5.65, 30, 5.6, 30)},
        {"0.1 h away at +30, limit 1.7", 1.7L, 30, 5.7L, "0536+3000", d01at30},
        {"0.1 h away at +30, limit 1.2", 1.2L, 30, 5.7L, nullptr, 0},
        {"across 0 h", 1.0L, 0, 23.98L, "0000+0000", 0.45},
        {"across 24 h in the south", 1.0L, -45, 0.02L, "2359-4500", SeparationDeg(0.02, -45, 23.99, -45)},
        {"over the pole", 1.2L, 89.9L, 12.0L, "1200+8930", 0.4},
        {"near the pole, nearer the one at 0 h", 2.0L, 89.5L, 5.9L, "0000+8930", SeparationDeg(5.9, 89.5, 0, 89.5)},
        {"nothing near", 5.0L, -80, 3, nullptr, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const PulsarRecord* p = list.FindNearest(r.max, r.dec, r.ra);
        if (!r.found) {
            EXPECT_EQ(p, nullptr);
            EXPECT_EQ(list.distance(), 0);
            continue;
        }
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->jName, r.found);
        EXPECT_NEAR(static_cast<double>(list.distance()), r.distance, 1e-5);
    }
}

TEST_F(NearestTest, FindsByEitherName) {
    PulsarRecord p = Pulsar("0332+5434", 3.55L, 54.58L);
    p.bName = "0329+54";
    Load({Pulsar("0100+0000", 1, 0), p});
    for (const char* name : {"J0332+5434", "0332+5434", "b0329+54", "0329+54"}) {
        SCOPED_TRACE(name);
        ASSERT_NE(list.Find(name), nullptr);
        EXPECT_EQ(list.Find(name)->jName, "0332+5434");
    }
    EXPECT_EQ(list.Find("B0332+5434"), nullptr);
    EXPECT_EQ(list.Find("J"), nullptr);
}

// ---------------------------------------------------------------------------
// The pulse train

class TrainTest : public ::testing::Test {
protected:
    void SetUp() override { RandomGenerator::global().setSeed(20020414); }
    PlsrObj train;  // no clock: the seed stays as set
};

TEST_F(TrainTest, FluxWidthAndDispersionFollowTheCatalog) {
    PulsarRecord p = Pulsar("0000+0000", 0, 0);
    p.s600 = 10;
    p.s1400 = 2;
    p.w50 = 0.05f;
    train.Setup(&p, 0.005L, p.epoch);
    EXPECT_NEAR(static_cast<double>(train.FluxAt(1000)), 6.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(train.FluxAt(500)), 55.0, 1e-12);  // between S400 100 and S600 10
    EXPECT_NEAR(static_cast<double>(train.sigma()), 4.2466e-5, 1e-9);
    p.w50 = 2.35482f;
    train.Setup(&p, 0.005L, p.epoch);
    EXPECT_NEAR(static_cast<double>(train.sigma()), 1e-3, 1e-9);
    EXPECT_NEAR(static_cast<double>(train.DispersionAdvance(1400)), 0.2382, 5e-5);  // DM 10
    EXPECT_EQ(train.DispersionAdvance(400), 0);
    // The physical constant e^2 / (2 pi m_e c) is 4.1488e3 s MHz^2 cm^3 / pc:
    // the model's 4150 is within 0.1 % of it.
    EXPECT_NEAR(static_cast<double>(DispersionDelay(56.77f, 400, 1400)),
                4.149e-3 * 56.77 * (1 / 0.16 - 1 / 1.96), 4.149e-3 * 56.77 * (1 / 0.16 - 1 / 1.96) * 1e-3);
}

// The train holds whole periods; its pulses sit one period apart and carry
// the catalog's flux, and the 1400 MHz train is the 400 MHz one moved earlier
// by the dispersion delay.
TEST_F(TrainTest, HigherFrequenciesShowTheSamePulsesEarlierByTheDelay) {
    PulsarRecord p = Pulsar("0534+2200", 0, 0, 0.37L, 56.77f);
    p.w50 = 12;
    p.periodDerivative = 0;
    p.s400 = 5000;  // bright, so that every pulse stands clear
    const Extended dt = 0.0025L;
    train.Setup(&p, dt, p.epoch + 0.3L);
    ASSERT_TRUE(train.fine());
    const int L = train.loopLength();
    // 5 s of samples hold 13 whole periods of 0.37 s.
    EXPECT_EQ(L, static_cast<int>(std::nearbyint(13 * 0.37L / dt)));
    EXPECT_EQ(train.readIndex(), L);

    // Pulses at the 400 MHz samples: centres one period apart.
    const auto& buffer = train.buffer();
    std::vector<int> peaks;
    const int per = static_cast<int>(std::nearbyint(0.37L / dt));
    for (int start = 0; start + per <= L; start += per) {
        auto top = std::max_element(buffer.begin() + start, buffer.begin() + start + per);
        peaks.push_back(static_cast<int>(top - buffer.begin()));
    }
    ASSERT_GE(peaks.size(), 10u);
    for (std::size_t i = 1; i < peaks.size(); ++i) EXPECT_NEAR(peaks[i] - peaks[i - 1], per, 2) << i;
    // Each pulse brings about S400 counts (the share of a unit pulse that
    // each sample holds adds up to one pulse).
    const double counts = std::accumulate(buffer.begin(), buffer.begin() + L, 0.0);
    EXPECT_NEAR(counts / 13, 5000, 5000 * 0.05);

    const Extended delay = 4.149e-3L * 56.77L * (1 / 0.16L - 1 / 1.96L);
    EXPECT_NEAR(static_cast<double>(train.DispersionAdvance(1400) / delay), 1.0, 1e-3);
    const long long shift = std::llround(train.DispersionAdvance(1400) / dt);
    for (int i = 1; i <= L; ++i) {
        const Single at400 = train.NextSample(400);
        const Single at1400 = train.SampleAt(1400);
        const int ahead = static_cast<int>((i - 1 + shift) % L);
        EXPECT_NEAR(at400, buffer[static_cast<std::size_t>(i - 1)], 0);
        ASSERT_NEAR(at1400, train.FluxAt(1400) * buffer[static_cast<std::size_t>(ahead)] / train.f400(), 1e-3) << i;
    }
    // The read index returned to the start after the loop.
    EXPECT_EQ(train.readIndex(), L);
    train.NextSample(400);
    EXPECT_EQ(train.readIndex(), 1);
}

TEST_F(TrainTest, CoarseSilentAndOverlongTrainsStayBounded) {
    PulsarRecord p = Pulsar("0000+0000", 0, 0, 0.01L);
    // A sample longer than a third of the period counts whole pulses.
    train.Setup(&p, 0.02L, p.epoch);
    EXPECT_FALSE(train.fine());
    const double pulses = std::accumulate(train.buffer().begin(), train.buffer().end(), 0.0) / 100;
    EXPECT_NEAR(pulses, 2000 * 0.02 / 0.01, 2000 * 0.02 / 0.01 * 0.05);

    train.Setup(nullptr, 0.01L, 2452000.5L);
    EXPECT_TRUE(std::all_of(train.buffer().begin(), train.buffer().end(), [](Single s) { return s == 0; }));
    EXPECT_EQ(train.loopLength(), PlsrObj::Samples);
    EXPECT_EQ(train.SampleAt(1400), 0);

    // One period longer than the whole train: the loop is the whole buffer,
    // and reading and shifting end.
    PulsarRecord slow = Pulsar("0000+0000", 0, 0, 8.5L, 300);
    train.Setup(&slow, 0.001L, slow.epoch);
    EXPECT_EQ(train.loopLength(), PlsrObj::Samples);
    for (int i = 0; i < 2 * PlsrObj::Samples; ++i) train.NextSample(1400);
    EXPECT_GE(train.readIndex(), 1);
    EXPECT_LE(train.readIndex(), PlsrObj::Samples);
    EXPECT_TRUE(std::isfinite(train.SoundSample(700, 123.4L)));
}

TEST_F(TrainTest, TheSoundRepeatsWithTheLoopOfWholePeriods) {
    PulsarRecord p = Pulsar("0000+0000", 0, 0, 0.3L);
    p.periodDerivative = 0;
    train.Setup(&p, 0.002L, p.epoch);
    const Extended loop = train.loopLength() * train.sampleInterval();
    EXPECT_LT(loop, PlsrObj::Samples * train.sampleInterval());
    for (Extended t : {0.0101L, 0.5L, 1.2345L})
        EXPECT_NEAR(static_cast<double>(train.SoundSample(400, t + loop)), static_cast<double>(train.SoundSample(400, t)),
                    1e-6);
    EXPECT_EQ(train.SoundSample(400, -1), 0);
    // Between two samples the sound runs straight from one to the next.
    const Extended dt = train.sampleInterval();
    const Extended a = train.buffer()[10], b = train.buffer()[11];
    EXPECT_NEAR(static_cast<double>(train.SoundSample(400, 10.25L * dt)), static_cast<double>(a + 0.25L * (b - a)), 1e-6);
}

TEST(ReceiverSignal, BeamAndNoiseFollowTheirLaws) {
    // 1.22 lambda / D: 0.75 m over 100 m at 400 MHz.
    EXPECT_NEAR(static_cast<double>(HalfBeam(400, 100)), 1.22 * 0.75 / 100 * 180 / 3.14159265358979, 1e-3);
    EXPECT_NEAR(static_cast<double>(HalfBeam(1400, 100) * 3.5), static_cast<double>(HalfBeam(400, 100)), 1e-12);
    const Extended w = BeamWidthFactor(HalfBeam(400, 100));
    EXPECT_NEAR(static_cast<double>(BeamFactor(0, w, HalfBeam(400, 100))), 0.5, 1e-4);  // half power at a
    EXPECT_EQ(BeamFactor(1.5f, w, 0.7L), 1);
    EXPECT_EQ(BeamLimit(1.5f, w), 0.75L);
    EXPECT_EQ(BeamLimit(0, w), 3 * w);
    // Planck's law and its Rayleigh-Jeans limit 2 nu^2 k T / c^2.
    const Extended nu = 1e8L, T = 50, c = 29979245800.0L, k = 1.380658e-16L;
    EXPECT_NEAR(static_cast<double>(BlackbodyRadiance(nu, T) / (2 * nu * nu * k * T / (c * c))), 1.0, 1e-3);
    EXPECT_EQ(BlackbodyRadiance(nu, 0), 0);

    RandomGenerator::global().setSeed(1);
    PoissonDeviate noise(0);
    PlsrObj train;
    PulsarRecord p = Pulsar("0000+0000", 0, 0);
    train.Setup(&p, 0.005L, p.epoch);
    ChannelInputs in;
    in.inBeam = false;
    const int index = train.readIndex();
    const Extended s = ChannelSample(train, in, noise);
    EXPECT_GE(s, 0);
    EXPECT_EQ(train.readIndex(), index);  // out of the beam the train waits
    in.inBeam = true;
    ChannelSample(train, in, noise);
    EXPECT_NE(train.readIndex(), index);
}

// The catalog the build writes: every line reads, the well-known pulsars are
// in it, it runs in right ascension, and the simulated ones look like a
// Galactic population.
TEST(GeneratedCatalog, HoldsTheRealPulsarsAndAGalacticPopulation) {
    platform::StdFileSystem files;
    PlsrList list;
    ASSERT_TRUE(list.Load(files, std::string(QNR_PROGRAM_FOLDER) + "/PULSARS.DAT")) << list.ioCode();
    EXPECT_GE(list.Count(), 500);
    for (const char* name : {"B0329+54", "B0531+21", "B0833-45", "B1919+21", "B1937+21", "J0437-4715"})
        EXPECT_NE(list.Find(name), nullptr) << name;
    const auto& r = list.records();
    EXPECT_TRUE(std::is_sorted(r.begin(), r.end(), [](const auto& a, const auto& b) { return a.ra < b.ra; }));
    std::vector<double> periods, latitudes;
    int steep = 0;
    for (const PulsarRecord& p : r) {
        if (p.jName.back() != 'Q') continue;
        periods.push_back(static_cast<double>(p.period));
        // The Galactic latitude from the north Galactic pole (J2000.0).
        latitudes.push_back(90 - SeparationDeg(static_cast<double>(p.ra), static_cast<double>(p.dec), 12.857, 27.128));
        EXPECT_GT(p.periodDerivative, 0);
        EXPECT_GT(p.dm, 0);
        if (p.s400 > p.s600 && p.s600 > p.s1400) ++steep;
    }
    ASSERT_GE(periods.size(), 500u);
    auto median = [](std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    EXPECT_NEAR(median(periods), 0.5, 0.15);
    for (double& b : latitudes) b = std::fabs(b);
    EXPECT_LT(median(latitudes), 10.0);  // concentrated to the plane
    EXPECT_GT(steep, static_cast<int>(periods.size() * 9 / 10));  // spectra falling with frequency
}

}  // namespace
}  // namespace qnr::radio
