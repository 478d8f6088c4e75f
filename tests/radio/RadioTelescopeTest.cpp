// The radio telescope without its window: the catalog it needs, the sky
// clock, manual and programmed slews with their limits, the hot-list target
// and the pulsar it attaches to the receiver.
#include "radio/RadioTelescope.h"

#include <gtest/gtest.h>

#include <cmath>

#include "astro/Coords.h"
#include "astro/MathStd.h"
#include "support/Fakes.h"

namespace qnr::radio {
namespace {

using observatory::Direction;
using platform::Answer;

struct RecordingHost final : RadioTelescopeHost {
    int moves = 0, captions = 0, attachments = 0;
    void PointingChanged() override { ++moves; }
    void CaptionChanged() override { ++captions; }
    void AttachmentChanged() override { ++attachments; }
};

PulsarRecord Pulsar(const std::string& j, const std::string& b, Extended ra, Extended dec) {
    PulsarRecord p;
    p.jName = j;
    p.bName = b;
    p.ra = ra;
    p.dec = dec;
    p.period = 0.714519699L;
    p.periodDerivative = 2.048e-15L;
    p.epoch = 2446473.5L;
    p.dm = 26.76f;
    p.w50 = 6.6f;
    p.s400 = 1500;
    p.s600 = 800;
    p.s1400 = 203;
    p.skyTemperature = 40;
    return p;
}

class RadioTelescopeTest : public ::testing::Test {
protected:
    RadioTelescopeTest() {
        services = fake.services();
        opts.programFolder = program.path();
        opts.hotListFile = "Quenara.HTL";
        fake.clock.now = 37360.5;  // 2002-04-14 12:00
        radio = DefaultRadioOptions(false);
    }
    void WriteCatalog(const std::vector<PulsarRecord>& pulsars) {
        std::string text;
        for (const auto& p : pulsars) text += FormatCatalogLine(p) + "\r\n";
        test::WriteAll(program.file("PULSARS.DAT"), std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    // A catalog with B0329+54 and one pulsar on each side of 0 h.
    void Activate() {
        WriteCatalog({Pulsar("0005+3000", "", 0.09L, 30), Pulsar("0332+5434", "0329+54", 3.5498L, 54.5788L),
                      Pulsar("2355+3000", "", 23.92L, 30)});
        ASSERT_TRUE(scope.FirstActivation());
        fake.dialogs.clear();
    }
    void Later(double seconds) {
        fake.clock.now += seconds / 86400.0;
        scope.ClockTick();
    }
    int SlewToArrival(int limit = 100000) {
        int n = 0;
        while (scope.programmedSlew() && n < limit) {
            scope.ProgrammedSlewTick();
            ++n;
        }
        return n;
    }
    // Typed into the coordinate dialog and confirmed.
    bool Target(const std::string& h, const std::string& m, const std::string& s, const std::string& d,
                const std::string& dm, const std::string& ds) {
        SkyCoordsDialogModel dialog;
        if (!scope.BeginSetCoordinates(dialog)) return false;
        dialog.raHr = h;
        dialog.raMin = m;
        dialog.raSec = s;
        dialog.decDeg = d;
        dialog.decMin = dm;
        dialog.decSec = ds;
        return scope.AcceptCoordinates(dialog);
    }

    test::FakePlatform fake;
    platform::Services services;
    test::TempFolder program;
    app::OptsRec opts;
    RadioOptsRec radio;
    ObsDateTime clock;
    RecordingHost host;
    RadioTelescope scope{services, radio, opts, clock, [this] { clock.SetDayNumber(fake.clock.now); }, host};
};

TEST_F(RadioTelescopeTest, AnUnusableCatalogIsReportedAndLeavesTheTelescopeUnavailable) {
    EXPECT_FALSE(scope.FirstActivation());
    ASSERT_EQ(fake.dialogs.shown().size(), 1u);
    EXPECT_EQ(fake.dialogs.shown()[0], "Radio Telescope Unavailable|Unable to Open Pulsar Data File!\r\n\r\nFile Name: " +
                                           program.file("PULSARS.DAT") +
                                           "\r\nFile Not Found!\r\n\r\nThe radio telescope is not available in "
                                           "this session.");
    EXPECT_FALSE(scope.activated());
    scope.ClockTick();  // nothing runs without the catalog
    EXPECT_EQ(host.moves, 0);

    WriteCatalog({Pulsar("0005+3000", "", 0.09L, 30)});
    test::WriteAll(program.file("PULSARS.DAT"), [&] {
        auto b = test::ReadAll(program.file("PULSARS.DAT"));
        const std::string bad = "0100+0000   0059+00  not a number at all\r\n";
        b.insert(b.end(), bad.begin(), bad.end());
        return b;
    }());
    fake.dialogs.clear();
    EXPECT_FALSE(scope.FirstActivation());
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].text.rfind("Pulsar Data File is Damaged!\r\n\r\nFile Name: ", 0), 0u);
    EXPECT_NE(fake.dialogs.messages[0].text.find("\r\nLine 2: the line ends at column"), std::string::npos);
}

TEST_F(RadioTelescopeTest, StartsAtTheZenithWithTheDriveOffAndTheSkyDrifting) {
    Activate();
    EXPECT_NEAR(static_cast<double>(scope.declination()), 38.43, 1e-9);
    EXPECT_NEAR(static_cast<double>(scope.rightAscension()), static_cast<double>(scope.siderealTime()), 1e-9);
    EXPECT_EQ(scope.hourAngle(), 0);
    EXPECT_EQ(radio.hotListFile, "Quenara.HTL");
    const RadioControls& c = scope.controls();
    EXPECT_TRUE(c.trackingVisible);
    EXPECT_FALSE(c.nEnabled || c.sEnabled || c.eEnabled || c.wEnabled || c.rateEnabled || c.receiverEnabled ||
                 c.slewMenuEnabled);
    EXPECT_EQ(c.rateLabel, "10");
    EXPECT_EQ(scope.siteTexts().longitude, "  79\xB0" "50'30\" W");
    EXPECT_EQ(scope.siteTexts().latitude, "  38\xB0" "25'48\" N");
    EXPECT_FALSE(scope.clockTexts().julianDate.empty());

    // Drive off: the right ascension follows the sidereal clock, the declination stays.
    const Extended ra = scope.rightAscension();
    Later(3600);
    EXPECT_NEAR(static_cast<double>(scope.rightAscension() - ra), 1.0027379, 1e-5);
    EXPECT_NEAR(static_cast<double>(scope.declination()), 38.43, 1e-9);
    // Drive on: the right ascension stays, the hour angle grows.
    scope.SetDrive(true);
    EXPECT_TRUE(scope.controls().nEnabled && scope.controls().receiverEnabled && scope.controls().slewMenuEnabled);
    const Extended held = scope.rightAscension();
    Later(1800);
    EXPECT_EQ(scope.rightAscension(), held);
    EXPECT_NEAR(static_cast<double>(scope.hourAngle()), 0.5 * 1.0027379, 1e-5);
}

TEST_F(RadioTelescopeTest, DisplaysShowTenthsOfTimeSecondsAndABlankForTheNorth) {
    EXPECT_EQ(FormatRadioPosition(1 + 2 / 60.0L + 12.96L / 3600, -5.5L).ra, "01:02:13.0");
    EXPECT_EQ(FormatRadioPosition(23.99999999L, 0).ra, "00:00:00.0");
    EXPECT_EQ(FormatRadioPosition(0, -5.5L).dec, "-05:30:00");
    EXPECT_EQ(FormatRadioPosition(0, 0).dec, " 00:00:00");
    EXPECT_EQ(FormatRadioPosition(0, 89.99999).dec, " 90:00:00");
    EXPECT_EQ(RateLabel(1), "1/100");
    EXPECT_EQ(RateLabel(5), "100");
}

TEST_F(RadioTelescopeTest, ANorthSlewOverThePoleComesDownTheOtherSide) {
    Activate();
    scope.SetDrive(true);
    scope.RateUp();
    EXPECT_EQ(scope.controls().rateLabel, "100");
    EXPECT_NEAR(static_cast<double>(scope.slewRate()), 5000, 1e-9);
    // Driven up to 89.9 degrees first.
    scope.PressDirection(Direction::North);
    while (scope.declination() < 89.9L - 1.388889L) scope.SlewTimerTick();
    scope.ReleaseDirection();
    const Extended from = scope.declination();
    scope.PressDirection(Direction::North);
    const Extended ra = scope.rightAscension(), ha = scope.hourAngle();
    scope.SlewTimerTick();
    EXPECT_NEAR(static_cast<double>(scope.declination()), static_cast<double>(180 - (from + 5000.0L / 3600)), 1e-9);
    EXPECT_NEAR(static_cast<double>(scope.rightAscension()), static_cast<double>(NormalizeHours(ra + 12)), 1e-9);
    EXPECT_NEAR(static_cast<double>(scope.hourAngle()), static_cast<double>(ha + 12), 1e-9);
    EXPECT_TRUE(scope.poleFlip());
    EXPECT_EQ(scope.controls().nCaption, "S");
    EXPECT_EQ(scope.controls().sCaption, "N");
    EXPECT_EQ(fake.dialogs.beeps, 1);
    // The same button now moves the beam south.
    const Extended after = scope.declination();
    scope.SlewTimerTick();
    EXPECT_LT(scope.declination(), after);
    // During the slew the other buttons, the rate and the menu rest.
    EXPECT_TRUE(scope.controls().nEnabled);
    EXPECT_FALSE(scope.controls().sEnabled || scope.controls().rateEnabled || scope.controls().slewMenuEnabled);
    scope.ReleaseDirection();
    EXPECT_FALSE(scope.manualSlew());
    EXPECT_FALSE(scope.slewTimerActive());
    EXPECT_TRUE(scope.controls().sEnabled);
}

TEST_F(RadioTelescopeTest, RatesKeepToTheFastestTheOptionsAllow) {
    radio.maxRateIndex = 4;
    Activate();
    scope.SetDrive(true);
    for (int i = 0; i < 3; ++i) scope.RateUp();
    EXPECT_EQ(scope.controls().rateLabel, "10");
    for (int i = 0; i < 5; ++i) scope.RateDown();
    EXPECT_EQ(scope.controls().rateLabel, "1/100");
    EXPECT_NEAR(static_cast<double>(scope.slewRate()), 0.5, 1e-12);
}

TEST_F(RadioTelescopeTest, TheHorizonStopsAManualSlew) {
    radio.limitSlewing = true;
    Activate();
    scope.SetDrive(true);
    scope.RateUp();
    scope.PressDirection(Direction::South);
    int ticks = 0;
    while (scope.manualSlew() && ticks++ < 1000) scope.SlewTimerTick();
    ASSERT_FALSE(scope.manualSlew());
    ASSERT_EQ(fake.dialogs.shown().size(), 1u);
    EXPECT_EQ(fake.dialogs.shown()[0], "Slew Limit Reached!|The Scope Has Reached the South Horizon Limit!");
    // On the meridian the limit of 10 degrees is at 38.43 - 90 + 10 degrees.
    EXPECT_GT(scope.declination(), -41.57L);
    EXPECT_LT(scope.declination(), -41.57L + 1.4L);
    EXPECT_TRUE(scope.controls().nEnabled);
    // Limit Slewing off: every position passes, below the horizon too.
    radio.limitSlewing = false;
    EXPECT_TRUE(scope.HorizonTest(-80, 12));
}

TEST_F(RadioTelescopeTest, KeysActAsTheButtonsTheyName) {
    Activate();
    EXPECT_FALSE(scope.KeyPress('n', false));  // drive off: the buttons are off
    scope.SetDrive(true);
    EXPECT_TRUE(scope.KeyPress('8', true));
    EXPECT_FALSE(scope.KeyPress('S', false));  // one slew at a time
    const Extended dec = scope.declination();
    scope.SlewTimerTick();
    EXPECT_NEAR(static_cast<double>(scope.declination() - dec), 500.0 / 3600, 1e-9);
    EXPECT_TRUE(scope.KeyRelease('8', true));
    EXPECT_FALSE(scope.KeyRelease('8', true));
    EXPECT_FALSE(scope.KeyPress('5', true));
    // East without the drive: the new right ascension is taken at once.
    EXPECT_TRUE(scope.KeyPress('4', true));
    const Extended ra = scope.rightAscension();
    scope.SlewTimerTick();
    EXPECT_NEAR(static_cast<double>(scope.rightAscension() - ra), 500.0 / 3600 / 15, 1e-9);
    scope.SetDrive(false);  // ignored while a slew runs
    EXPECT_TRUE(scope.tracking());
    scope.ReleaseDirection();
}

TEST_F(RadioTelescopeTest, AProgrammedSlewGoesInDeclinationThenTheShorterWayInRightAscension) {
    Activate();
    scope.SetDrive(true);
    // From 1 h to 23 h: west by 2 h, not east by 22.
    const Extended lst = scope.siderealTime();
    ASSERT_TRUE(Target("1", "0", "0", "40", "0", "0"));
    fake.dialogs.script({Answer::Yes});
    scope.StartProgrammedSlew();
    SlewToArrival();
    ASSERT_NEAR(static_cast<double>(scope.rightAscension()), 1.0, 1e-9);
    (void)lst;
    fake.dialogs.clear();
    ASSERT_TRUE(Target("23", "0", "0", "35", "0", "0"));
    fake.dialogs.script({Answer::Yes});
    scope.StartProgrammedSlew();
    ASSERT_TRUE(scope.programmedSlew());
    EXPECT_EQ(scope.mapCaption(), "Slewing to Target Declination");
    EXPECT_FALSE(scope.controls().nEnabled || scope.controls().rateEnabled || scope.controls().addItemEnabled);
    EXPECT_EQ(scope.controls().rateLabel, "100");  // raised to the fastest
    Extended lowest = 24, highest = 0;
    bool sawRaCaption = false;
    while (scope.programmedSlew()) {
        scope.ProgrammedSlewTick();
        sawRaCaption = sawRaCaption || scope.mapCaption() == "Slewing to Target Right Ascension";
        if (scope.declination() == 35) {
            lowest = std::min(lowest, scope.rightAscension() < 12 ? scope.rightAscension() + 24 : scope.rightAscension());
            highest = std::max(highest, scope.rightAscension() < 12 ? scope.rightAscension() + 24 : scope.rightAscension());
        }
    }
    EXPECT_TRUE(sawRaCaption);
    EXPECT_EQ(scope.mapCaption(), "");
    EXPECT_GE(lowest, 23.0L - 1e-9L);
    EXPECT_LE(highest, 25.0L + 1e-9L);
    EXPECT_EQ(scope.rightAscension(), 23);
    EXPECT_EQ(scope.declination(), 35);
    ASSERT_EQ(fake.dialogs.messages.size(), 2u);
    EXPECT_EQ(fake.dialogs.messages[0].caption, "Confirm Slew");
    EXPECT_EQ(fake.dialogs.messages[0].text,
              "Slew Telescope to Target Coordinates?\r\n\r\nRA:    23 Hr   00 M   00.00 S\r\nDec:   35 Deg   00 '   00.0 \"");
    EXPECT_EQ(fake.dialogs.shown()[1], "Slew Completed|Telescope Has Reached the Target Coordinates");
    EXPECT_TRUE(scope.controls().nEnabled);

    // Once there, a second slew to the same place is not needed.
    fake.dialogs.clear();
    scope.StartProgrammedSlew();
    EXPECT_EQ(fake.dialogs.shown()[0], "No Slew Needed!|Telescope is at Target Coordinates!");
}

TEST_F(RadioTelescopeTest, SetCoordinatesDuringASlewOffersToEndIt) {
    Activate();
    scope.SetDrive(true);
    ASSERT_TRUE(Target("12", "0", "0", "-10", "0", "0"));
    fake.dialogs.script({Answer::Yes});
    scope.StartProgrammedSlew();
    scope.ProgrammedSlewTick();
    SkyCoordsDialogModel dialog;
    fake.dialogs.script({Answer::No});
    EXPECT_FALSE(scope.BeginSetCoordinates(dialog));
    EXPECT_TRUE(scope.programmedSlew());
    EXPECT_TRUE(scope.programmedTimerActive());
    fake.dialogs.script({Answer::Yes});
    EXPECT_FALSE(scope.BeginSetCoordinates(dialog));
    EXPECT_FALSE(scope.programmedSlew());
    EXPECT_EQ(fake.dialogs.messages.back().caption, "Slew Suspended");
    EXPECT_EQ(scope.mapCaption(), "");
    EXPECT_TRUE(scope.controls().nEnabled);
}

TEST_F(RadioTelescopeTest, TestModeJumpsAndTheHorizonRefusesATarget) {
    radio.testMode = true;
    radio.limitSlewing = true;
    Activate();
    scope.SetDrive(true);
    // Below the horizon at the radio site.
    ASSERT_TRUE(Target("0", "0", "0", "-70", "0", "0"));
    scope.StartProgrammedSlew();
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].caption, "Cannot Perform Slew");
    EXPECT_EQ(fake.dialogs.messages[0].text.rfind("Target Coordinates are Below the Horizon!\r\n\r\nRA:  ", 0), 0u);
    // B0329+54 typed in B1950.0 and precessed; test mode jumps without a completion box.
    fake.dialogs.clear();
    SkyCoordsDialogModel dialog;
    ASSERT_TRUE(scope.BeginSetCoordinates(dialog));
    // 03h 29m 11.0s +54 24' 38" (B1950.0) is 03h 32m 59.4s +54 34' 44" (J2000.0).
    dialog = observatory::CoordinatesDialogFor(3.4863889L, 54.4105556L, InputEpoch::B1950, true);
    ASSERT_TRUE(scope.AcceptCoordinates(dialog));
    fake.dialogs.script({Answer::Yes});
    scope.StartProgrammedSlew();
    EXPECT_FALSE(scope.programmedSlew());
    EXPECT_NEAR(static_cast<double>(scope.rightAscension()), 3.5498, 0.001);
    EXPECT_NEAR(static_cast<double>(scope.declination()), 54.5788, 0.01);
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_NE(fake.dialogs.messages[0].text.find("\r\n\r\n(Input B1950.0 Coordinates Precessed to J2000.0.)"),
              std::string::npos);
}

TEST_F(RadioTelescopeTest, TheReceiverGetsTheNearestPulsarAcross0h) {
    Activate();
    scope.SetDrive(true);
    EXPECT_EQ(scope.AttachmentText(), "Receiver off");
    // Point between the two pulsars beside 0 h, nearer the one at 23.92 h.
    radio.testMode = true;
    observatory::ObjctDat there;
    there.ra = 23.97L;
    there.dec = 30;
    scope.HotListTarget(there);
    fake.dialogs.script({Answer::Yes});
    scope.StartProgrammedSlew();
    ASSERT_NEAR(static_cast<double>(scope.rightAscension()), 23.97, 1e-9);
    scope.OpenReceiver();
    ASSERT_TRUE(scope.attachedPulsar());
    EXPECT_EQ(scope.attachedPulsar()->jName, "2355+3000");
    EXPECT_NEAR(static_cast<double>(scope.attachedOffset()), SeparationDeg(23.97, 30, 23.92, 30), 1e-6);
    EXPECT_TRUE(scope.controls().addItemEnabled);
    EXPECT_EQ(scope.AttachmentText(), "Attached: J2355+3000, 0.65\xB0 from the pointing");
    const int attachments = host.attachments;
    // Each clock tick looks again, as far as 5 degrees.
    scope.HotListTarget({"", 0.3L, 30, ""});
    fake.dialogs.script({Answer::Yes});
    scope.StartProgrammedSlew();
    scope.ClockTick();
    EXPECT_GT(host.attachments, attachments);
    ASSERT_TRUE(scope.attachedPulsar());
    // 0.21 h at +30: 2.7 degrees, beyond the button's 2.
    EXPECT_EQ(scope.attachedPulsar()->jName, "0005+3000");
    EXPECT_NEAR(static_cast<double>(scope.attachedOffset()), 2.73, 0.01);
    // Named by the identification option.
    scope.HotListTarget({"", 3.5498L, 54.5788L, ""});
    fake.dialogs.script({Answer::Yes});
    scope.StartProgrammedSlew();
    scope.ClockTick();
    EXPECT_EQ(scope.AttachmentText().substr(0, 19), "Attached: B0329+54,");
    radio.pulsarIdentification = IdentifyNone;
    EXPECT_EQ(scope.AttachmentText().substr(0, 19), "Attached: a pulsar,");

    // Add Current Item: the exercise's name, the pointing or the exact place.
    observatory::ObjctDat item = scope.CurrentItem("PSR 1");
    EXPECT_EQ(item.identifier, "Qnra-PSR 1");
    EXPECT_EQ(scope.CurrentItem("UNKNOWN").identifier, "UNKNOWN");
    radio.exactPosition = true;
    item = scope.CurrentItem("PSR 1");
    EXPECT_EQ(item.ra, scope.attachedPulsar()->ra);
    EXPECT_EQ(item.dec, scope.attachedPulsar()->dec);

    scope.ReceiverClosed();
    EXPECT_FALSE(scope.receiverOpen());
}

TEST_F(RadioTelescopeTest, ATransitTelescopeMovesInDeclinationOnly) {
    radio.telescopeType = TransitOnly;
    Activate();
    const RadioControls& c = scope.controls();
    EXPECT_FALSE(c.trackingVisible);
    EXPECT_TRUE(c.nEnabled && c.sEnabled && c.receiverEnabled && c.slewMenuEnabled);
    EXPECT_FALSE(c.eEnabled || c.wEnabled);
    scope.SetDrive(true);
    EXPECT_FALSE(scope.tracking());
    ASSERT_TRUE(Target("6", "0", "0", "20", "0", "0"));
    fake.dialogs.script({Answer::OK, Answer::Yes});
    scope.StartProgrammedSlew();
    ASSERT_TRUE(scope.programmedSlew());
    EXPECT_EQ(fake.dialogs.shown()[0], "Meridian Transit Telescope|Telescope Can Slew in Declination Only.");
    EXPECT_EQ(fake.dialogs.messages[1].text, "Slew Telescope to Target Declination?\r\n\r\nDec:   20 Deg   00 '   00.0 \"");
    SlewToArrival();
    EXPECT_EQ(scope.declination(), 20);
    EXPECT_EQ(scope.hourAngle(), 0);  // still on the meridian
    // Cancel at the first box ends it.
    fake.dialogs.clear();
    ASSERT_TRUE(Target("6", "0", "0", "30", "0", "0"));
    fake.dialogs.script({Answer::Cancel});
    scope.StartProgrammedSlew();
    EXPECT_FALSE(scope.programmedSlew());
    EXPECT_EQ(fake.dialogs.messages.size(), 1u);
}

}  // namespace
}  // namespace qnr::radio
