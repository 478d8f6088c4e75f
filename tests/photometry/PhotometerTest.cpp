// The photometer's counting, timing and magnitudes on a scripted telescope:
// whole-tick integrations, the sky stored per aperture area and subtracted,
// magnitudes judged by the error their counts imply, validity apart from the
// value, the questions around unrecorded readings, and recording.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "app/Options.h"
#include "catalogs/SkyCatalogs.h"
#include "observatory/HandOff.h"
#include "photometry/Photometer.h"
#include "photometry/RsltsList.h"
#include "support/Fakes.h"

namespace qnr::photometry {
namespace {

using platform::Answer;

// The telescope view of the default options: 312 pixels over 15 arcminutes.
constexpr Extended ViewPixelsPerDegree = 1248;
constexpr Extended Sigma = 1.8L / 2 / 3600;  // the seeing's sigma, degrees

class Scope final : public observatory::TelescopeHandOff {
public:
    explicit Scope(SkyCatalogs& sky) : sky_(sky) {}
    std::optional<FieldObject> CurrentObject() override { return current; }
    int CentreBrightness() override { return brightness; }
    const Raster* FieldPicture() override { return nullptr; }
    const Raster* GalaxyLayer() override { return nullptr; }
    Extended RightAscension() override { return ra; }
    Extended Declination() override { return dec; }
    int Telescope() override { return telescope; }
    Extended TelescopeBaseMagnitude() override { return zp; }
    Extended CameraFieldWidth() override { return 0; }
    Extended CameraFieldHeight() override { return 0; }
    Extended JulianDate() override { return jd; }
    SkyCatalogs& Catalogs() override { return sky_; }
    void SetPhotometerAperture(int r) override { radius = r; }
    int PhotometerApertureRadius() override { return radius; }
    Extended PhotometerApertureDegrees() override { return degrees > 0 ? degrees : (radius + 0.5L) / ViewPixelsPerDegree; }
    void DisableDrive() override { driveDisabled = true; }
    void InstrumentClosed() override {
        ++closed;
        driveDisabled = false;
    }

    std::optional<FieldObject> current;
    int brightness = 0;
    Extended ra = 12.5, dec = 10.0;
    int telescope = 1;
    Extended zp = 9;
    Extended jd = 2452379.75L;
    int radius = 10;
    Extended degrees = 0;  // 0: from the radius
    bool driveDisabled = false;
    int closed = 0;

private:
    SkyCatalogs& sky_;
};

struct Rig {
    test::FakePlatform fake;
    platform::Services services = fake.services();
    app::OptsRec opts = Options();
    std::unique_ptr<SkyCatalogs> sky;
    std::unique_ptr<Scope> scope;
    std::unique_ptr<ResultsList> results;
    std::unique_ptr<Photometer> p;
    int allotment = 0;
    bool limited = false;
    bool reviewAnswer = true;
    int reviews = 0;
    std::vector<std::string> logged;

    static app::OptsRec Options() {
        app::OptsRec o;
        for (auto& t : o.telescopes) t.seeingDisk = 1.8f;
        o.showObjectId = true;
        o.photometerHelpList = "PhotoHlp.LST";
        return o;
    }

    explicit Rig(std::uint32_t seed = 12345u) {
        sky = std::make_unique<SkyCatalogs>(services, opts);
        scope = std::make_unique<Scope>(*sky);
        results = std::make_unique<ResultsList>(services, opts);
        PhotometerLinks links;
        links.logComponent = [this](const std::string& t) { logged.push_back(t); };
        links.exerciseId = [] { return std::string("LAB7"); };
        links.allotment = [this] { return limited ? &allotment : nullptr; };
        links.findOrCreate = [this](const std::string& id, double t) -> ObsResult& { return results->FindOrCreate(id, t); };
        links.review = [this](ObsResult& e) {
            ++reviews;
            return results->Review(e, [this](ObsRsltsModel&) { return reviewAnswer; });
        };
        p = std::make_unique<Photometer>(services, opts, *scope, links, seed);
        p->Show();
    }

    FieldObject Star(const std::string& name, double ra, double dec, Single v, Single bv = 0.6f, Single ub = 0.1f) {
        FieldObject o;
        o.name = name;
        o.ra = ra;
        o.dec = dec;
        o.V = v;
        o.BV = bv;
        o.UB = ub;
        sky->instrument.objects.GoLast();
        sky->instrument.objects.InsertAfterCurrent(o);
        sky->instrument.objects.Reset();
        return o;
    }
    // A star right at the pointing, made the telescope's target.
    FieldObject Target(Single v, Single bv = 0.6f, Single ub = 0.1f) {
        const FieldObject o = Star("STAR A", static_cast<double>(scope->ra), static_cast<double>(scope->dec), v, bv, ub);
        scope->current = o;
        return o;
    }
    void Choose(int filter, int timeIndex, int integrations) {
        p->SelectFilter(filter);
        p->SelectIntegrationTime(timeIndex);
        p->SelectIntegrations(integrations - 1);
    }
    // Start and tick until the set ends; the ticks it took.
    int Run() {
        p->Start();
        int ticks = 0;
        while (p->integrating() && ticks < 1000000) {
            p->Tick();
            ++ticks;
        }
        return ticks;
    }
    int ReadSky() {
        p->Activate();
        p->MoveReadingSwitch(true);
        return Run();
    }
    // The sky 3' north of the target, and back.
    void ReadSkyBeside() {
        const auto keep = scope->current;
        scope->dec += 0.05L;
        scope->current.reset();
        ReadSky();
        scope->dec -= 0.05L;
        scope->current = keep;
    }
    int ReadObject() {
        p->Activate();
        p->MoveReadingSwitch(false);
        return Run();
    }
    // Counts per tick of a magnitude at the zero point, times the base count.
    Extended PerTick(Extended m) const { return opts.photometerBaseCount * std::pow(10.0L, -0.4L * (m - scope->zp)); }
};

TEST(PhotometerHelpers, ApertureAreaMagnitudeAndTicks) {
    EXPECT_EQ(RelativeApertureArea(10), 1.0L);
    EXPECT_EQ(RelativeApertureArea(5), 30.25L / 110.25L);
    EXPECT_EQ(ApertureMagnitude(12.0L, 0), 30.0L);
    EXPECT_NEAR(static_cast<double>(ApertureMagnitude(12.0L, 0.1L)), 14.5, 1e-12);
    // The integration ends at the first tick k with k x wait >= the time.
    struct Row { int ms, wait, ticks; };
    for (const Row& r : {Row{100, 100, 1}, Row{1000, 100, 10}, Row{10000, 100, 100}, Row{100000, 100, 1000},
                         Row{100, 250, 1}, Row{1000, 250, 4}, Row{10000, 300, 34}, Row{1000, 3, 334}})
        EXPECT_EQ(TicksForIntegration(r.ms, r.wait), r.ticks) << r.ms << " ms at " << r.wait << " ms";
}

TEST(PhotometerHelpers, BandsFromColoursWithUnknownColoursLeftEqual) {
    FieldObject o;
    o.V = 12.0f;
    o.BV = 0.5f;
    o.UB = 0.25f;
    auto m = ObjectMagnitudes(o);
    EXPECT_NEAR(static_cast<double>(m[0]), 12.75, 1e-6);  // U = B + (U-B)
    EXPECT_NEAR(static_cast<double>(m[1]), 12.5, 1e-6);
    EXPECT_NEAR(static_cast<double>(m[2]), 12.0, 1e-6);
    EXPECT_NEAR(static_cast<double>(m[3]), 11.5, 1e-6);   // R = V - (B-V)
    EXPECT_NEAR(static_cast<double>(m[4]), 12.25, 1e-6);  // I = B - (U-B)
    o.BV = NoMagnitude;  // a galaxy copied from the extended-object catalog
    o.UB = NoMagnitude;
    m = ObjectMagnitudes(o);
    for (Extended b : m) EXPECT_NEAR(static_cast<double>(b), 12.0, 1e-6);
}

TEST(PhotometerTiming, EachSetTakesWholeTicks) {
    // Summed tick lengths ran 1001 ticks for 100 s and 11 for 1 s: the counts
    // were up to 10 % high. Counting whole ticks ends exactly on time.
    struct Row { int timeIndex, wait, integrations, ticks; const char* elapsed; };
    for (const Row& r : {Row{0, 100, 1, 1, "  0.1"}, Row{1, 100, 3, 30, "  1.0"}, Row{3, 100, 1, 1000, "100.0"},
                         Row{1, 250, 2, 8, "  1.0"}, Row{0, 250, 1, 1, "  0.2"}}) {
        Rig rig;
        rig.opts.photometerTimerWait = r.wait;
        rig.Choose(2, r.timeIndex, r.integrations);
        EXPECT_EQ(rig.ReadSky(), r.ticks) << "time index " << r.timeIndex << " at " << r.wait << " ms";
        EXPECT_EQ(rig.p->display().elapsed, r.elapsed);
        EXPECT_EQ(rig.p->display().completed, " " + std::to_string(r.integrations));
        EXPECT_EQ(static_cast<int>(rig.p->rawCounts().size()), r.integrations);
        EXPECT_EQ(rig.p->timerIntervalMs(), r.wait);
    }
}

TEST(PhotometerTiming, SkyRateIsPerSecondWhateverTheIntegrationTime) {
    // With a 250 ms timer a 0.1 s integration lasts one 0.25 s tick; its rate
    // must be per second of counting, or a sky read at 0.1 s would be
    // subtracted 2.5 times too strong from an object read at 1 s. The rate's
    // standard error is sqrt(N) / t; five of them are allowed.
    struct Row { int timeIndex, integrations; };
    for (const Row& r : {Row{0, 5}, Row{1, 2}, Row{2, 1}}) {
        Rig rig;
        rig.opts.photometerTimerWait = 250;
        rig.opts.photometerBaseCount = 100000;
        rig.Choose(2, r.timeIndex, r.integrations);
        rig.ReadSky();
        const SetResult s = *rig.p->lastSet();
        const Extended expected = rig.PerTick(16) * 4;  // V sky 16 at zp 9, four ticks a second
        const Extended se = std::sqrt(static_cast<Extended>(s.counts)) / s.seconds;
        EXPECT_NEAR(static_cast<double>(rig.p->skyTable(1, 2)), static_cast<double>(expected), 5 * static_cast<double>(se))
            << "time index " << r.timeIndex;
    }
}

TEST(PhotometerMagnitudes, SkySubtractedMagnitudeAgreesWithinItsError) {
    // Sky at the default aperture, then the star at a larger one: the sky is
    // rescaled by the area (20.5^2 / 10.5^2), and the magnitude lands within
    // four of the errors its counts imply; the same rows with a mixed timer.
    struct Row { int skyTime, objectTime, wait, position; Single v; };
    for (const Row& r : {Row{2, 2, 100, 10, 12.0f}, Row{2, 1, 100, 20, 14.5f}, Row{0, 1, 250, 10, 15.5f},
                         Row{1, 2, 300, 30, 13.0f}}) {
        Rig rig;
        rig.opts.photometerTimerWait = r.wait;
        rig.Choose(2, r.skyTime, 5);
        rig.ReadSky();
        rig.scope->radius = r.position;
        rig.p->ApertureChanged();
        const FieldObject star = rig.Target(r.v);
        rig.Choose(2, r.objectTime, 3);
        rig.ReadObject();
        const SetResult s = *rig.p->lastSet();
        ASSERT_TRUE(s.magnitudeValid);
        EXPECT_GT(s.magnitudeError, 0);
        EXPECT_NEAR(static_cast<double>(s.magnitude), star.V, 4 * static_cast<double>(s.magnitudeError))
            << "V " << r.v << " at aperture " << r.position;
        EXPECT_EQ(rig.p->display().magnitude.substr(0, 4), " V: ");
        EXPECT_NEAR(std::stod(rig.p->display().magnitude.substr(4)), static_cast<double>(s.magnitude), 0.0005);
        EXPECT_NEAR(static_cast<double>(s.snr), static_cast<double>(s.netCounts / std::sqrt(static_cast<Extended>(s.counts))),
                    1e-9);
    }
}

TEST(PhotometerMagnitudes, SignalToNoiseOfBlankSkyIsNearZero) {
    // The old figure, sqrt(all counts), showed about 22 for 30 s of blank sky.
    Rig rig;
    rig.Choose(2, 2, 3);
    rig.ReadSky();
    // A target far outside the aperture: the reading holds only sky.
    rig.scope->current = rig.Star("FAR", 12.6, 10.5, 12.0f);
    rig.ReadObject();
    const SetResult s = *rig.p->lastSet();
    EXPECT_GT(std::sqrt(static_cast<double>(s.counts)), 20.0);
    EXPECT_LT(std::fabs(static_cast<double>(s.snr)), 4.0);
    EXPECT_FALSE(rig.p->display().snr.empty());
}

TEST(PhotometerMagnitudes, BrightStarsBelowZeroAreValidAndInvalidOnesAreNotZero) {
    // V = -1 in a 0.1 s integration: a magnitude below 0 is a result, not "ERROR!".
    Rig rig;
    rig.Choose(2, 0, 1);
    rig.ReadSky();
    rig.Target(-1.0f);
    rig.ReadObject();
    const SetResult s = *rig.p->lastSet();
    ASSERT_TRUE(s.magnitudeValid);
    EXPECT_NEAR(static_cast<double>(s.magnitude), -1.0, 0.01);
    EXPECT_EQ(rig.p->display().magnitude.substr(0, 6), " V: -1");
    EXPECT_FALSE(rig.p->recorded());
    EXPECT_TRUE(rig.p->display().recordEnabled);
    EXPECT_NEAR(static_cast<double>(rig.p->pending().values[2]), static_cast<double>(s.magnitude), 1e-12);

    // Net counts below zero: the sky shown after a change of the option is
    // fainter than the one stored, so nothing is left after subtraction.
    Rig dim;
    dim.Choose(2, 2, 3);
    dim.ReadSky();
    dim.opts.photometerSkyMag = 20.0f;
    dim.p->Show();
    dim.scope->current = dim.Star("FAR", 12.6, 10.5, 12.0f);
    dim.ReadObject();
    EXPECT_FALSE(dim.p->lastSet()->magnitudeValid);
    EXPECT_EQ(dim.p->display().magnitude, "   ERROR!");
    EXPECT_TRUE(dim.p->recorded());  // nothing to record
    EXPECT_EQ(dim.p->pending().values[2], 0);
    // Another filter without a reading shows nothing; back in V the error shows again.
    dim.p->SelectFilter(1);
    EXPECT_EQ(dim.p->display().magnitude, "");
    dim.p->SelectFilter(2);
    EXPECT_EQ(dim.p->display().magnitude, "   ERROR!");
}

TEST(PhotometerMagnitudes, NeighboursAddLightInEveryBand) {
    // A second star of the same magnitudes in the aperture doubles the light:
    // 0.753 magnitudes brighter in U, B, V, R and I alike.
    Rig rig;
    rig.Target(12.0f, 0.5f, 0.2f);
    rig.Star("STAR B", static_cast<double>(rig.scope->ra), static_cast<double>(rig.scope->dec) + 0.002, 12.0f, 0.5f, 0.2f);
    rig.Star("STAR C", static_cast<double>(rig.scope->ra), static_cast<double>(rig.scope->dec) + 0.05, 9.0f);  // outside
    rig.p->Activate();
    rig.p->MoveReadingSwitch(false);
    FieldObject alone;
    alone.V = 12.0f;
    alone.BV = 0.5f;
    alone.UB = 0.2f;
    const auto single = ObjectMagnitudes(alone);
    for (int i = 0; i < FilterCount; ++i)
        EXPECT_NEAR(static_cast<double>(rig.p->apertureMagnitudes()[static_cast<std::size_t>(i)]),
                    static_cast<double>(single[static_cast<std::size_t>(i)]) - 2.5 * std::log10(2.0), 1e-4)
            << "filter " << i;
}

TEST(PhotometerAperture, FractionsOfStarsAndGalaxies) {
    Rig rig;
    rig.p->Activate();
    const FieldObject star = rig.Star("S", static_cast<double>(rig.scope->ra), static_cast<double>(rig.scope->dec), 12.0f);
    EXPECT_EQ(rig.p->ApertureFraction(KindStar, star), 0);  // no target at the centre
    rig.scope->current = star;
    rig.p->Activate();
    // The star at the pointing with the aperture radius equal to sigma:
    // Value(1) - Value(-1) of the table, about 0.683.
    rig.scope->degrees = Sigma;
    EXPECT_NEAR(static_cast<double>(rig.p->ApertureFraction(KindStar, star)), 0.6827, 0.001);
    rig.scope->degrees = 0;
    EXPECT_NEAR(static_cast<double>(rig.p->ApertureFraction(KindStar, star)), 1.0, 1e-5);
    EXPECT_EQ(rig.p->ApertureFraction(7, star), 0);

    // A 2' x 1' galaxy: its share falls as the aperture moves off its centre.
    GalaxyEntry g;
    g.name = "NGC 9999";
    g.ra = static_cast<double>(rig.scope->ra);
    g.dec = static_cast<double>(rig.scope->dec);
    g.major = 2.0f;
    g.minor = 1.0f;
    rig.sky->instrument.galaxies.InsertSorted(g);
    FieldObject asObject = star;
    asObject.name = g.name;
    asObject.kind = KindGalaxy;
    rig.p->MoveReadingSwitch(false);
    const Extended centred = rig.p->ApertureFraction(KindGalaxy, asObject);
    EXPECT_GT(centred, 0.5);
    EXPECT_LT(centred, 0.95);
    rig.scope->dec += 1.0L / 60;
    EXPECT_LT(rig.p->ApertureFraction(KindGalaxy, asObject), centred / 2);
    EXPECT_NEAR(static_cast<double>(rig.p->GalaxyValue(g)), static_cast<double>(rig.p->ApertureFraction(KindGalaxy, asObject)),
                1e-12);
    asObject.name = "NGC 1";  // not in the field's list
    EXPECT_EQ(rig.p->ApertureFraction(KindGalaxy, asObject), 0);
    // A faint glow at the centre of a sky reading is sky.
    rig.scope->dec -= 1.0L / 60;
    asObject.name = g.name;
    rig.p->MoveReadingSwitch(true);
    rig.scope->brightness = 79;
    EXPECT_EQ(rig.p->ApertureFraction(KindGalaxy, asObject), 0);
    rig.scope->brightness = 80;
    EXPECT_GT(rig.p->ApertureFraction(KindGalaxy, asObject), 0.5);
}

TEST(PhotometerAperture, DialogAppliesAtOnceAndCancelRestores) {
    Rig rig;
    ApertureSetting a(*rig.scope);
    a.Show();
    a.Move(40);
    EXPECT_EQ(rig.scope->radius, 40);
    EXPECT_TRUE(a.Ok());
    a.Move(400);
    EXPECT_EQ(rig.scope->radius, MaxAperture);
    a.Cancel();
    EXPECT_EQ(rig.scope->radius, 10);
    a.Show();
    a.Default();
    EXPECT_FALSE(a.Ok());
    EXPECT_NEAR(static_cast<double>(a.diameterArcmin()), 10.5 / 1248.0 * 120, 1e-9);
}

TEST(PhotometerFlow, ObjectWithoutSkyChargesTheAllotment) {
    Rig rig;
    rig.limited = true;
    rig.allotment = 1;
    rig.Target(12.0f);
    rig.p->Activate();
    rig.p->MoveReadingSwitch(false);
    rig.p->Start();
    EXPECT_FALSE(rig.p->integrating());
    EXPECT_EQ(rig.fake.dialogs.shown().back(), "READ SKY!|Sky Reading Not Taken With Selected Filter!");
    EXPECT_EQ(rig.allotment, 0);
    EXPECT_EQ(rig.p->pending().objectId, "STAR A");
    rig.p->Start();
    EXPECT_EQ(rig.fake.dialogs.shown().back(),
              "Photometer Will Close!|You have used your allotment of observations on this telescope!");
    EXPECT_TRUE(rig.p->TakeCloseRequest());
    EXPECT_FALSE(rig.p->integrating());
}

TEST(PhotometerFlow, ReplacingASkyReadingAtAStarIsAsked) {
    Rig rig;
    rig.Choose(2, 0, 1);
    rig.ReadSky();
    rig.Target(12.0f);
    rig.p->Activate();  // the switch stays at Sky, untouched since
    ASSERT_TRUE(rig.p->switchAtSky());
    rig.fake.dialogs.script({Answer::No});
    rig.p->Start();
    EXPECT_FALSE(rig.p->integrating());
    EXPECT_EQ(rig.fake.dialogs.messages.back().caption, "Reading Sky!");
    EXPECT_EQ(rig.fake.dialogs.messages.back().text,
              "Are you sure you want to replace a sky reading with one that may be invalid?");
    rig.fake.dialogs.script({Answer::Yes});
    rig.p->Start();
    EXPECT_TRUE(rig.p->integrating());
}

TEST(PhotometerFlow, UnrecordedReadingsAreAskedForAtStartAndClose) {
    Rig rig;
    rig.opts.showObjectId = false;  // the ID from the exercise identifier
    rig.Choose(2, 0, 1);
    rig.ReadSky();
    EXPECT_TRUE(rig.p->recorded());  // a sky reading is no result while magnitudes are computed
    rig.Target(12.0f);
    rig.ReadObject();
    EXPECT_EQ(rig.p->pending().objectId, "Qnra-LAB7");
    EXPECT_FALSE(rig.p->recorded());
    const std::string question =
        "You have not recorded your current readings for \"Qnra-LAB7\".\r\nIf you do not record them now, you cannot "
        "access them later.\r\n\r\nRecord current readings?";
    rig.fake.dialogs.script({Answer::No});
    rig.p->Start();
    ASSERT_GE(rig.fake.dialogs.messages.size(), 2u);
    EXPECT_EQ(rig.fake.dialogs.messages[rig.fake.dialogs.messages.size() - 2].text, question);
    EXPECT_EQ(rig.fake.dialogs.messages[rig.fake.dialogs.messages.size() - 2].caption, "Telescope has Moved!");
    EXPECT_EQ(rig.fake.dialogs.shown().back(), "Data Not Saved!|Current Readings Cleared!");
    EXPECT_TRUE(rig.p->display().rawLines.empty());
    while (rig.p->integrating()) rig.p->Tick();

    // Closing: refused while counting; Cancel keeps the window; Yes records.
    rig.p->Start();
    EXPECT_FALSE(rig.p->CloseQuery());
    EXPECT_GE(rig.fake.dialogs.beeps, 1);
    while (rig.p->integrating()) rig.p->Tick();
    rig.fake.dialogs.script({Answer::Cancel});
    EXPECT_FALSE(rig.p->CloseQuery());
    EXPECT_EQ(rig.fake.dialogs.messages.back().caption, "Data Not Recorded!");
    EXPECT_EQ(rig.fake.dialogs.messages.back().buttons, platform::Buttons::YesNoCancel);
    rig.fake.dialogs.script({Answer::Yes});
    EXPECT_TRUE(rig.p->CloseQuery());
    EXPECT_EQ(rig.reviews, 1);
    EXPECT_TRUE(rig.p->recorded());
    rig.p->Closed();
    EXPECT_EQ(rig.scope->closed, 1);
}

TEST(PhotometerFlow, TheObjectIdIsCutTo15AndTheQuestionTo64) {
    Rig rig;
    rig.Choose(2, 0, 1);
    rig.ReadSky();
    FieldObject o = rig.Target(12.0f);
    o.name = "ABCDEFGHIJKLMNOPQRSTUVWX";
    rig.scope->current = o;
    rig.ReadObject();
    EXPECT_EQ(rig.p->pending().objectId, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(rig.p->display().idText, "ABCDEFGHIJKLMNOPQR");
    rig.fake.dialogs.script({Answer::No});
    rig.p->Start();
    const std::string& text = rig.fake.dialogs.messages[rig.fake.dialogs.messages.size() - 2].text;
    EXPECT_EQ(text.substr(0, text.find("\r\n")), "You have not recorded your current readings for \"ABCDEFGHIJKLMNO\".");
}

TEST(PhotometerFlow, TwoFiltersRecordedIntoOneEntryStampedWithTheObservationClock) {
    Rig rig;
    rig.Target(11.0f, 0.5f, 0.1f);
    for (int f : {2, 1}) {
        rig.Choose(f, 1, 2);
        rig.ReadSkyBeside();
        rig.ReadObject();
        EXPECT_FALSE(rig.p->recorded());
        rig.p->Record();
        EXPECT_TRUE(rig.p->recorded());
        EXPECT_FALSE(rig.p->display().recordEnabled);
        EXPECT_EQ(rig.fake.dialogs.messages.back().caption, "Data Saved");
    }
    ASSERT_EQ(rig.results->Count(), 1);
    const ObsResult e = rig.results->Entries().front();
    EXPECT_EQ(e.objectId, "STAR A");
    EXPECT_EQ(e.kind, 1);
    EXPECT_NEAR(static_cast<double>(e.values[2]), 11.0, 0.1);
    EXPECT_NEAR(static_cast<double>(e.values[1]), 11.5, 0.1);
    EXPECT_EQ(e.values[0], 0);
    EXPECT_NEAR(e.timeValue, static_cast<double>(rig.scope->jd - JulianDateOfDayZero), 1e-6);
    EXPECT_EQ(rig.p->display().jd, "2452379.750000");

    // Cancel in the dialog leaves the reading unrecorded.
    rig.reviewAnswer = false;
    rig.ReadObject();
    rig.p->Record();
    EXPECT_FALSE(rig.p->recorded());
    EXPECT_TRUE(rig.p->display().recordEnabled);
}

TEST(PhotometerFlow, OverflowEndsTheSetWithoutAValue) {
    Rig rig;
    rig.scope->zp = 12;  // the 4.0 m
    rig.Choose(2, 0, 1);
    rig.ReadSky();
    rig.Target(0.0f);
    rig.Choose(2, 3, 5);
    const int ticks = rig.ReadObject();
    EXPECT_LT(ticks, 1000);
    EXPECT_FALSE(rig.p->integrating());
    EXPECT_EQ(rig.fake.dialogs.messages.back().caption, "Counter Overflow!");
    EXPECT_FALSE(rig.p->lastSet().has_value());
    EXPECT_EQ(rig.p->pending().values[2], 0);
}

TEST(PhotometerFlow, ShowLogsKeepsTheDriveAndSkyReadingsOutliveClosing) {
    Rig rig;
    EXPECT_EQ(rig.logged, std::vector<std::string>{"Photometer"});
    EXPECT_TRUE(rig.scope->driveDisabled);
    EXPECT_TRUE(rig.p->display().helpEnabled);
    EXPECT_EQ(rig.p->display().sky, " V: NO SKY!");
    EXPECT_EQ(rig.p->display().magnitude, "");  // no reading is no error
    rig.ReadSky();
    EXPECT_NE(rig.p->display().sky, " V: NO SKY!");
    EXPECT_EQ(rig.p->display().counter.size(), 10u);
    rig.p->Closed();
    rig.p->Show();
    rig.p->Activate();
    EXPECT_GT(rig.p->skyTable(1, 2), 0);
    rig.scope->telescope = 2;  // kept per telescope
    rig.p->Activate();
    EXPECT_EQ(rig.p->display().sky, " V: NO SKY!");
    EXPECT_EQ(rig.p->skyTable(2, 2), 0);
}

}  // namespace
}  // namespace qnr::photometry
