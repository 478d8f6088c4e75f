#include "observatory/Mount.h"

#include <cmath>

#include <gtest/gtest.h>

#include "astro/Coords.h"
#include "astro/MathStd.h"
#include "support/Fakes.h"

namespace qnr::observatory {
namespace {

using platform::Answer;

struct RecordingHost final : MountHost {
    int moves = 0, forgets = 0, repaints = 0, fields = 0;
    void PointingChanged() override { ++moves; }
    void ForgetMarkedObject() override { ++forgets; }
    void ForgetField() override { ++fields; }
    void Repaint() override { ++repaints; }
};

class MountTest : public ::testing::Test {
protected:
    MountTest() {
        app::OptsObj o(services);
        o.InitIdentification(app::OptionsFileName, app::ProgramVersion);
        o.SetDefaults();
        opts = o.rec;
        opts.programFolder = "/prog/";
        platform.clock.now = 37360.5;  // 2002-04-14 12:00 local
    }
    void SetUp() override {
        mount.TakeTelescope(1);
        mount.Reset();
        mount.ClockTick();
    }
    // Advances the real clock by `seconds` and runs one clock tick.
    void Later(double seconds) {
        platform.clock.now += seconds / 86400.0;
        mount.ClockTick();
    }
    int TicksToArrival(int limit = 100000) {
        int n = 0;
        while (mount.programmedSlew() && n < limit) {
            mount.SlewTimer2Tick();
            ++n;
        }
        return n;
    }

    test::FakePlatform platform;
    platform::Services services = platform.services();
    app::OptsRec opts;
    ObsDateTime clock;
    RecordingHost host;
    TelescopeMount mount{services, opts, clock, [this] { clock.SetDayNumber(platform.clock.now); }, host};
};

TEST_F(MountTest, TakingATelescopeSetsItsFieldsAndSite) {
    EXPECT_EQ(mount.telescope(), 1);
    EXPECT_NEAR(static_cast<double>(mount.telescopeBaseMagnitude()), 9.0, 1e-6);  // 9.0 + 0.0
    EXPECT_EQ(mount.finderOffset(), -5);
    EXPECT_EQ(mount.scopeOffset(), 0);
    // 1024 px x 24 um = 24.576 mm at 9144 mm focal length: 24.576 / 9144 rad = 9.2395'
    EXPECT_NEAR(static_cast<double>(mount.cameraFieldWidth()), 9.23951, 1e-4);
    EXPECT_EQ(opts.siteName, "Kitt Peak Nat'l. Obs. - Arizona");
    EXPECT_EQ(opts.siteLatitude, opts.telescopes[1].latitude);
    EXPECT_GE(host.fields, 1);
    mount.TakeTelescope(2);
    EXPECT_EQ(mount.scopeOffset(), 3);
    EXPECT_NEAR(static_cast<double>(mount.telescopeBaseMagnitude()), 12.0, 1e-6);
}

TEST_F(MountTest, ResetPointsAtTheZenithWithTheDriveOff) {
    EXPECT_NEAR(static_cast<double>(mount.declination()), 31.9633333, 1e-6);
    EXPECT_NEAR(static_cast<double>(mount.rightAscension()), static_cast<double>(mount.siderealTime()), 1e-6);
    EXPECT_FALSE(mount.tracking());
    const MountControls& c = mount.controls();
    EXPECT_FALSE(c.nEnabled || c.sEnabled || c.eEnabled || c.wEnabled || c.rateEnabled || c.driveLit);
    EXPECT_EQ(c.rateIndex, 2);
    EXPECT_EQ(mount.slewRate(), 20);  // 2^2 x 5 arcseconds
    EXPECT_EQ(c.viewPosition, 1);
    EXPECT_EQ(c.instrumentPosition, 2);
}

TEST_F(MountTest, AnOpenInstrumentKeepsTheViewInstrumentAndReadingControlsOff) {
    mount.SetDrive(true);
    mount.SetTelescopeView(true);
    ASSERT_TRUE(mount.controls().readingEnabled);
    mount.SetInstrumentOpen(true);
    for (int tick = 0; tick < 3; ++tick) {
        const MountControls& c = mount.controls();
        EXPECT_FALSE(c.viewEnabled || c.instrumentEnabled || c.readingEnabled);
        EXPECT_TRUE(c.nEnabled);  // the mount itself stays in hand
        Later(0.1);
    }
    mount.SetInstrumentOpen(false);
    EXPECT_TRUE(mount.controls().viewEnabled && mount.controls().instrumentEnabled && mount.controls().readingEnabled);
}

TEST_F(MountTest, TrackingHoldsTheRightAscensionAndDriftFollowsTheSky) {
    mount.SetDrive(true);
    Extended ra = mount.rightAscension();
    Later(3600);
    EXPECT_EQ(mount.rightAscension(), ra);
    // One solar hour is 1.0027379 sidereal hours.
    EXPECT_NEAR(static_cast<double>(mount.hourAngle()), 1.0027379, 1e-5);

    mount.SetDrive(false);
    Extended ha = mount.hourAngle();
    Later(3600);
    EXPECT_NEAR(static_cast<double>(mount.rightAscension() - ra), 1.0027379, 1e-5);
    EXPECT_NEAR(static_cast<double>(mount.siderealTime() - mount.rightAscension()), static_cast<double>(ha), 1e-5);
}

TEST_F(MountTest, TheTickAfterAnActivationDoesNotMove) {
    mount.Activated();
    Later(60);  // first activation: the drift starts from the sidereal time
    Extended ra = mount.rightAscension();
    EXPECT_NEAR(static_cast<double>(ra), static_cast<double>(mount.siderealTime()), 1e-9);
    mount.Activated();
    Later(60);
    EXPECT_EQ(mount.rightAscension(), ra);
    Later(60);
    EXPECT_GT(mount.rightAscension(), ra);
}

TEST_F(MountTest, ManualSlewStepsAndStopsOnRelease) {
    mount.SetDrive(true);
    Extended dec = mount.declination();
    mount.PressDirection(Direction::North);
    EXPECT_TRUE(mount.slewTimerActive());
    EXPECT_TRUE(mount.controls().nLit);
    EXPECT_TRUE(mount.controls().nEnabled);
    EXPECT_FALSE(mount.controls().sEnabled || mount.controls().rateEnabled || mount.controls().slewMenuEnabled);
    ASSERT_EQ(platform.sound.played.size(), 1u);
    EXPECT_EQ(platform.sound.played[0], "/prog/servostart.wav");
    mount.SlewTimerTick();
    mount.SlewTimerTick();
    EXPECT_NEAR(static_cast<double>(mount.declination() - dec), 2 * 20.0 / 3600, 1e-12);
    mount.ReleaseDirection();
    EXPECT_FALSE(mount.slewTimerActive());
    EXPECT_FALSE(mount.manualSlew());
    EXPECT_TRUE(mount.controls().sEnabled);
    EXPECT_TRUE(platform.sound.current.empty());

    Extended ra = mount.rightAscension();
    mount.SetTelescopeView(true);  // magnification 2.5 x 60 / 15 = 10
    mount.PressDirection(Direction::West);
    mount.SlewTimerTick();
    EXPECT_NEAR(static_cast<double>(mount.rightAscension() - ra), -20.0 / 3600 / 150, 1e-12);
    mount.ReleaseDirection();
}

TEST_F(MountTest, SlewingOverThePoleFlipsTheMount) {
    mount.SetDrive(true);
    mount.SetDeclination(89.999);
    Extended ra = mount.rightAscension();
    mount.SetRate(4);  // 80" a step
    mount.PressDirection(Direction::North);
    mount.SlewTimerTick();
    EXPECT_TRUE(mount.poleFlip());
    EXPECT_NEAR(static_cast<double>(mount.declination()), 180 - (89.999 + 80.0 / 3600), 1e-9);
    EXPECT_LT(mount.declination(), 90);
    EXPECT_NEAR(static_cast<double>(NormalizeHours(mount.rightAscension() - ra)), 12, 1e-9);
    EXPECT_EQ(mount.controls().nCaption, "S");
    EXPECT_EQ(mount.controls().sCaption, "N");
    EXPECT_EQ(platform.dialogs.beeps, 1);
    Extended dec = mount.declination();
    mount.SlewTimerTick();  // the same button now moves the declination down
    EXPECT_LT(mount.declination(), dec);
    mount.ReleaseDirection();
}

TEST_F(MountTest, HorizonLimitStopsAManualSlew) {
    opts.limitSlewing = true;
    mount.SetDrive(true);
    mount.SetRate(4);
    mount.PressDirection(Direction::South);
    int ticks = 0;
    while (mount.manualSlew() && ticks < 100000) {
        mount.SlewTimerTick();
        ++ticks;
    }
    ASSERT_FALSE(mount.manualSlew());
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_EQ(platform.dialogs.shown()[0], "Slew Limit Reached!|The Scope Has Reached the South Horizon Limit!");
    // It stopped at the last position above 10 degrees: latitude - 90 + 10.
    EXPECT_NEAR(static_cast<double>(mount.declination()), 31.9633333 - 80, 80.0 / 3600 + 1e-9);
    EXPECT_TRUE(mount.HorizonTest(mount.declination(), mount.hourAngle()));
}

TEST_F(MountTest, WithoutLimitSlewingNothingEverStops) {
    opts.limitSlewing = false;
    EXPECT_TRUE(mount.HorizonTest(-89, 12));
    mount.SetDrive(true);
    mount.SetDeclination(-60);
    Later(12 * 3600);
    EXPECT_TRUE(mount.tracking());
    EXPECT_TRUE(platform.dialogs.messages.empty());
}

TEST_F(MountTest, WesternLimitIsReportedOnceEvenWhileTheClockTicksOn) {
    opts.limitSlewing = true;
    mount.SetDrive(true);
    mount.SetDeclination(0);
    int nested = 0;
    platform.dialogs.whileShown = [&] {
        ++nested;
        mount.ClockTick();  // the timer goes on during the message
        mount.ClockTick();
    };
    for (int i = 0; i < 24 * 60 && platform.dialogs.messages.empty(); ++i) Later(60);
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_EQ(platform.dialogs.shown()[0],
              "Horizon Limit Reached!|The Scope Has Reached the Western Limit!\r\n\r\nThe Clock Drive Has Been "
              "Turned Off.");
    EXPECT_FALSE(mount.tracking());
    EXPECT_FALSE(mount.controls().driveLit);
    // The hour angle at the limit: altitude 10 degrees on the equator at latitude 31.96.
    Extended h = std::acos(std::sin(10 * DegToRad) / std::cos(31.9633333L * DegToRad)) * RadToDeg / 15;
    EXPECT_NEAR(static_cast<double>(mount.siderealTime() - mount.rightAscension()), static_cast<double>(h), 0.02);
}

TEST_F(MountTest, ProgrammedSlewGoesTheShorterWay) {
    opts.testMode = true;  // no questions
    struct Row { double from, to; bool east; };
    const Row rows[] = {{23, 1, true}, {1, 23, false}, {2, 5, true}, {5, 2, false}};
    for (const auto& r : rows) {
        mount.SetRightAscension(r.from);
        mount.SetTarget(r.to, mount.declination());
        mount.StartProgrammedSlew();
        ASSERT_TRUE(mount.programmedSlew());
        mount.SlewTimer2Tick();
        Extended moved = mount.rightAscension() - r.from;
        if (moved > 12) moved -= 24;
        if (moved < -12) moved += 24;
        EXPECT_EQ(moved > 0, r.east) << r.from << " -> " << r.to;
        TicksToArrival();
        EXPECT_NEAR(static_cast<double>(mount.rightAscension()), r.to, 1e-5);
        EXPECT_TRUE(mount.slewFinished());
        EXPECT_FALSE(mount.slewTimer2Active());
    }
}

TEST_F(MountTest, ProgrammedSlewAsksAndArrives) {
    mount.SetDrive(true);
    mount.SetTarget(NormalizeHours(mount.rightAscension() + 1), 20);
    platform.dialogs.script({Answer::Yes});
    mount.StartProgrammedSlew();
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_EQ(platform.dialogs.messages[0].caption, "Confirm Slew");
    EXPECT_EQ(platform.dialogs.messages[0].text.rfind("Slew Telescope to Target Coordinates?\r\n\r\nRA:  ", 0), 0u);
    EXPECT_NE(platform.dialogs.messages[0].text.find("\r\nDec:   20\xB0  00'   00.0\""), std::string::npos);
    EXPECT_EQ(mount.controls().rateIndex, 4);
    EXPECT_FALSE(mount.controls().nEnabled || mount.controls().rateEnabled);
    EXPECT_EQ(platform.sound.current, "/prog/Emotor.wav");
    platform.sound.finish();  // the motor sound repeats
    EXPECT_EQ(platform.sound.current, "/prog/Emotor.wav");
    int ticks = TicksToArrival();
    EXPECT_GT(ticks, 10);
    EXPECT_NEAR(static_cast<double>(mount.declination()), 20, 1e-12);
    EXPECT_NEAR(static_cast<double>(mount.rightAscension()), static_cast<double>(mount.targetRa()), 1e-5);
    EXPECT_EQ(mount.controls().rateIndex, 2);  // the manual rate is back
    EXPECT_TRUE(mount.controls().nEnabled);
    EXPECT_TRUE(platform.sound.current.empty());
}

TEST_F(MountTest, ATargetAtTheSameRightAscensionMovesInDeclinationOnly) {
    opts.testMode = true;
    Extended ra = mount.rightAscension();
    mount.SetTarget(ra + 0.000005, 10);
    mount.StartProgrammedSlew();
    while (mount.programmedSlew()) {
        mount.SlewTimer2Tick();
        EXPECT_EQ(mount.rightAscension(), ra);
    }
    EXPECT_NEAR(static_cast<double>(mount.declination()), 10, 1e-12);
}

TEST_F(MountTest, ProgrammedSlewRefusals) {
    mount.SetTarget(mount.rightAscension(), mount.declination());
    mount.StartProgrammedSlew();
    EXPECT_FALSE(mount.programmedSlew());
    EXPECT_EQ(platform.dialogs.shown().back(), "No Slew Needed!|Telescope is at Target Coordinates!");

    opts.limitSlewing = true;
    mount.SetTarget(NormalizeHours(mount.rightAscension() + 12), -30);
    mount.StartProgrammedSlew();
    EXPECT_FALSE(mount.programmedSlew());
    EXPECT_EQ(platform.dialogs.messages.back().caption, "Cannot Perform Slew");
    EXPECT_EQ(platform.dialogs.messages.back().text.rfind("Target Coordinates are Below the Horizon!\r\n\r\nRA:  ", 0),
              0u);

    opts.limitSlewing = false;
    platform.dialogs.script({Answer::No});
    mount.StartProgrammedSlew();
    EXPECT_FALSE(mount.programmedSlew());
}

TEST_F(MountTest, EditModeJumpsAndTestModeAsksNothing) {
    opts.editMode = true;
    mount.SetTarget(5.5, -10);
    platform.dialogs.script({Answer::Yes});
    mount.StartProgrammedSlew();
    EXPECT_FALSE(mount.programmedSlew());
    EXPECT_EQ(mount.rightAscension(), 5.5);
    EXPECT_EQ(mount.declination(), -10);

    opts.editMode = false;
    opts.testMode = true;
    platform.dialogs.clear();
    mount.SetTarget(6.5, -5);
    mount.StartProgrammedSlew();
    EXPECT_TRUE(mount.programmedSlew());
    EXPECT_TRUE(platform.dialogs.messages.empty());
}

TEST_F(MountTest, SetCoordinatesDuringASlewCanTerminateIt) {
    opts.testMode = true;
    mount.SetTarget(NormalizeHours(mount.rightAscension() + 6), 0);
    mount.StartProgrammedSlew();
    mount.SlewTimer2Tick();
    SkyCoordsDialogModel dlg;
    platform.dialogs.script({Answer::No});
    EXPECT_FALSE(mount.BeginSetCoordinates(dlg));
    EXPECT_TRUE(mount.programmedSlew());
    EXPECT_TRUE(mount.slewTimer2Active());
    EXPECT_EQ(platform.dialogs.shown().back(), "Slew Suspended|Terminate Current Slew?");
    Extended ra = mount.rightAscension();
    platform.dialogs.script({Answer::Yes});
    EXPECT_FALSE(mount.BeginSetCoordinates(dlg));
    EXPECT_FALSE(mount.programmedSlew());
    EXPECT_EQ(mount.rightAscension(), ra);  // left where it was
}

TEST_F(MountTest, CoordinateDialogParsesAndShowsMinusZero) {
    SkyCoordsDialogModel dlg;
    ASSERT_TRUE(mount.BeginSetCoordinates(dlg));  // preset to the present pointing
    dlg.raHr = "5";
    dlg.raMin = "30";
    dlg.raSec = "0";
    dlg.decDeg = "-0";
    dlg.decMin = "30";
    dlg.decSec = "0";
    dlg.epoch = InputEpoch::J2000;
    ASSERT_TRUE(mount.AcceptCoordinates(dlg));
    EXPECT_EQ(mount.targetRa(), 5.5);
    EXPECT_EQ(mount.targetDec(), -0.5);
    SkyCoordsDialogModel again;
    ASSERT_TRUE(mount.BeginSetCoordinates(again));
    EXPECT_EQ(again.decDeg, "-0");
    EXPECT_EQ(again.decMin, "30");
    EXPECT_EQ(again.raHr, "5");
    EXPECT_EQ(again.raSec, "0.00");
    EXPECT_EQ(again.decSec, "0.0");

    struct Bad { const char *h, *m, *s, *d, *dm, *ds, *message; };
    const Bad bad[] = {
        {"25", "0", "0", "0", "0", "0", "Right Ascension is Invalid!"},
        {"x", "0", "0", "0", "0", "0", "Right Ascension is Invalid!"},
        {"1", "0", "0", "91", "0", "0", "Declination is Invalid!"},
        {"1", "0", "0", "-89", "61", "0", "Declination is Invalid!"},
        {"1", "0", "0", "", "0", "0", "Declination is Invalid!"},
    };
    for (const auto& b : bad) {
        SkyCoordsDialogModel d{b.h, b.m, b.s, b.d, b.dm, b.ds, InputEpoch::J2000, true};
        platform.dialogs.clear();
        EXPECT_FALSE(mount.AcceptCoordinates(d)) << b.message;
        EXPECT_EQ(platform.dialogs.shown().at(0), std::string("Input Error!|") + b.message);
    }
    EXPECT_EQ(mount.targetRa(), 5.5);  // unchanged by the refusals
}

TEST_F(MountTest, B1950InputIsPrecessedToJ2000AndShownBackInB1950) {
    SkyCoordsDialogModel dlg{"0", "0", "0", "0", "0", "0", InputEpoch::B1950, true};
    ASSERT_TRUE(mount.AcceptCoordinates(dlg));
    // 0h/0 deg of B1950.0 is about 0h 02m 33.7s, +0 16' 42" in J2000.0.
    EXPECT_NEAR(static_cast<double>(mount.targetRa() * 3600), 153.7, 0.2);
    EXPECT_NEAR(static_cast<double>(mount.targetDec() * 3600), 16 * 60 + 42, 2);
    SkyCoordsDialogModel back;
    ASSERT_TRUE(mount.BeginSetCoordinates(back));
    EXPECT_EQ(back.epoch, InputEpoch::B1950);
    EXPECT_EQ(back.raHr, "0");
    EXPECT_EQ(back.raMin, "0");
    EXPECT_EQ(back.decDeg, "0");
    opts.testMode = false;
    mount.SetDrive(true);
    platform.dialogs.script({Answer::No});
    mount.StartProgrammedSlew();
    EXPECT_NE(platform.dialogs.messages.back().text.find("\r\n\r\n(Input B1950.0 Coordinates Precessed to J2000.0.)"),
              std::string::npos);
}

TEST_F(MountTest, SoundsChainAndStopOnlyWithSoundEffects) {
    mount.SetDrive(true);
    mount.PressDirection(Direction::East);
    platform.sound.finish();  // servostart ended
    EXPECT_EQ(platform.sound.current, "/prog/servocontin.wav");
    platform.sound.finish();
    EXPECT_EQ(platform.sound.current, "/prog/servocontin.wav");
    mount.ReleaseDirection();
    EXPECT_TRUE(platform.sound.current.empty());

    opts.soundEffects = false;
    platform.sound.played.clear();
    mount.PressDirection(Direction::East);
    mount.ReleaseDirection();
    EXPECT_TRUE(platform.sound.played.empty());
}

TEST_F(MountTest, KeysStartAndStopSlews) {
    mount.SetDrive(true);
    struct Row { int key; bool keypad; Direction d; };
    const Row rows[] = {{'n', false, Direction::North}, {'E', false, Direction::East}, {'2', true, Direction::South},
                        {'6', true, Direction::West}, {'4', true, Direction::East}, {'8', true, Direction::North}};
    for (const auto& r : rows) {
        EXPECT_TRUE(mount.KeyPress(r.key, r.keypad)) << r.key;
        EXPECT_TRUE(mount.manualSlew());
        EXPECT_TRUE(mount.KeyRelease(r.key, r.keypad));
        EXPECT_FALSE(mount.manualSlew());
    }
    EXPECT_FALSE(mount.KeyPress('5', true));
    EXPECT_FALSE(mount.KeyPress('2', false));
    mount.SetDrive(false);
    EXPECT_FALSE(mount.KeyPress('n', false));  // the buttons are disabled
}

TEST(MountDisplays, PositionTextsRoundWithCarry) {
    struct Row { double ra, dec; const char *clock, *tenths, *sign, *deg, *minsec; };
    const Row rows[] = {
        {0, 0, "00:00:00", "0", "+", "00", "00:00"},
        {1 + 2 / 60.0 + 3.96 / 3600, 45.5, "01:02:04", "0", "+", "45", "30:00"},
        {23.99999, -0.5, "00:00:00", "0", "-", "00", "30:00"},
        {12.5 + 1.24 / 3600, -89.999999, "12:30:01", "2", "-", "90", "00:00"},
    };
    for (const auto& r : rows) {
        PositionTexts t = FormatPosition(r.ra, r.dec);
        EXPECT_EQ(t.raClock, r.clock) << r.ra;
        EXPECT_EQ(t.raTenths, r.tenths) << r.ra;
        EXPECT_EQ(t.sign, r.sign) << r.dec;
        EXPECT_EQ(t.decDegrees, r.deg) << r.dec;
        EXPECT_EQ(t.decMinSec, r.minsec) << r.dec;
    }
}

}  // namespace
}  // namespace qnr::observatory
