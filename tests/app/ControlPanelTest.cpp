#include "app/ControlPanel.h"

#include <gtest/gtest.h>

#include "astro/Random.h"
#include "support/Fakes.h"

namespace qnr::app {
namespace {

struct Host final : ControlPanelHost {
    std::vector<std::string> calls;
    bool windowVisible = false;
    void TakeTelescope(int k) override { calls.push_back("take " + std::to_string(k)); }
    void ResetTelescope() override { calls.push_back("reset"); }
    void ShowTelescopeWindow(bool s) override {
        windowVisible = s;
        calls.push_back(s ? "show scope" : "hide scope");
    }
    bool TelescopeWindowVisible() override { return windowVisible; }
    void ExitTelescopeWindow() override {
        windowVisible = false;
        calls.push_back("exit scope");
    }
    void ShowRadioWindow(bool s) override { calls.push_back(s ? "show radio" : "hide radio"); }
    void ComputeDomeSky() override { calls.push_back("dome sky"); }
};

class ControlPanelTest : public ::testing::Test {
protected:
    ControlPanelTest() {
        OptsObj o(services);
        o.InitIdentification(OptionsFileName, ProgramVersion);
        o.SetDefaults();
        opts = o.rec;
        opts.programFolder = "/prog/";
    }
    void Hold(int scope) {
        panel.Access(scope);
        while (panel.scopeTimerActive()) {
            panel.ScopeTimerTick();
            panel.DomeTimerTick();
        }
    }
    int TicksUntilStill() {
        int n = 0;
        while (panel.domeTimerActive() && n < 1000) {
            panel.DomeTimerTick();
            ++n;
        }
        return n;
    }

    test::FakePlatform platform;
    platform::Services services = platform.services();
    OptsRec opts;
    radio::RadioOptsRec radio;  // a 100 m aperture
    Host host;
    ControlPanel panel{services, opts, radio, host};
};

TEST(PanelMenus, ThePanelGovernsItsItemsOnTopOfThePhasesMenus) {
    MenuState phase = {{"Telescopes1", {true, true}}, {"SetDateTime1", {false, true}}, {"OptCntrlSw", {true, true}},
                       {"OptLbl", {true, true}},      {"RadCntrlSw", {true, true}},    {"RadLbl", {true, true}},
                       {"DomePnl", {false, true}},    {"OpticalWin", {true, false}},   {"RadioWin", {true, true}},
                       {"SpectWin", {true, false}},   {"Window1", {false, true}},      {"Help1", {true, true}}};
    PanelView v;
    v.telescopesMenuEnabled = false;
    v.setDateTimeEnabled = true;  // narrows only: the phase's "off" stays
    v.optSwitchEnabled = true;
    v.radSwitchEnabled = false;
    v.domePanelEnabled = true;
    v.opticalWinVisible = true;
    v.radioWinVisible = false;
    MenuState m = PanelMenus(phase, v);
    EXPECT_FALSE(m["Telescopes1"].enabled);
    EXPECT_FALSE(m["SetDateTime1"].enabled);
    EXPECT_TRUE(m["OptCntrlSw"].enabled && m["OptLbl"].enabled);
    EXPECT_FALSE(m["RadCntrlSw"].enabled || m["RadLbl"].enabled);
    EXPECT_TRUE(m["DomePnl"].enabled);
    EXPECT_TRUE(m["OpticalWin"].visible);
    EXPECT_FALSE(m["RadioWin"].visible);
    EXPECT_TRUE(m["Window1"].enabled);  // the optical window's entry shows
    EXPECT_EQ(m["Help1"], phase["Help1"]);
    // No window entry shows: the Window menu is off. Items the phase lacks stay absent.
    v.opticalWinVisible = false;
    EXPECT_FALSE(PanelMenus(phase, v)["Window1"].enabled);
    EXPECT_EQ(PanelMenus({{"Help1", {true, true}}}, v).size(), 1u);
}

TEST_F(ControlPanelTest, AccessTakesTheHandOverDelay) {
    RandomGenerator::global().setSeed(7);
    panel.Access(1);
    EXPECT_TRUE(panel.scopeTimerActive());
    EXPECT_FALSE(panel.view().telescopesMenuEnabled);
    EXPECT_EQ(panel.view().idPanel, "Accessing 1.0m Telescope");
    EXPECT_TRUE(panel.view().access1p0Checked && panel.view().opticalChecked);
    // The delay is drawn from the process-wide generator: RandomInt(8000) after seed 7.
    RandomGenerator g;
    g.setSeed(7);
    EXPECT_EQ(panel.scopeTimerIntervalMs(), static_cast<int>(g.integer(8000)));
    panel.ScopeTimerTick();
    EXPECT_FALSE(panel.scopeTimerActive());
    EXPECT_EQ(panel.opticalScope(), 1);
    EXPECT_EQ(panel.displayedScope(), 1);
    EXPECT_TRUE(panel.view().telescopesMenuEnabled);
    EXPECT_TRUE(panel.view().domePanelEnabled);
    EXPECT_TRUE(panel.view().isClosedLamp);
    EXPECT_EQ(panel.view().idPanel, "KPNO 0.9m (36\") Telescope");
    EXPECT_EQ(platform.dialogs.shown().back(),
              "Telescope Successfully Accessed|You now have control of the KPNO 0.9m (36\") Telescope.");
    EXPECT_EQ(platform.dialogs.beeps, 1);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"take 1", "reset"}));

    host.calls.clear();
    panel.Access(1);  // already held: nothing
    EXPECT_FALSE(panel.scopeTimerActive());
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(ControlPanelTest, DomeOpensInAHundredTicksWithItsSounds) {
    Hold(0);
    RandomGenerator::global().setSeed(1);
    panel.DomeOpen();
    EXPECT_EQ(panel.domeState(), DomeState::Opening);
    EXPECT_TRUE(panel.view().openArrows);
    EXPECT_FALSE(panel.view().isClosedLamp);
    EXPECT_EQ(platform.sound.current, "/prog/gardoor.wav");
    EXPECT_EQ(host.calls.back(), "dome sky");
    int ticks = TicksUntilStill();
    EXPECT_EQ(ticks, 100);  // 100 steps of 0.01, 7.5 s at 75 ms
    EXPECT_EQ(panel.domeState(), DomeState::Open);
    EXPECT_EQ(panel.opening(), 1);
    EXPECT_TRUE(panel.view().isOpenLamp);
    EXPECT_FALSE(panel.view().openArrows);
    EXPECT_TRUE(panel.view().optSwitchEnabled);
    // One end sound replaced the door sound, once.
    ASSERT_EQ(platform.sound.played.size(), 2u);
    const std::string end = platform.sound.played[1];
    const char* names[] = {"chaclunk", "clunkit", "crashbrn", "rolling", "crinkle", "drag", "mailbox", "whaading"};
    bool known = false;
    for (const char* n : names) known = known || end == std::string("/prog/") + n + ".wav";
    EXPECT_TRUE(known) << end;
    EXPECT_EQ(panel.SlitHalfWidth(), 120);
}

TEST_F(ControlPanelTest, ADomeReversedMidWayContinuesFromItsOpening) {
    Hold(0);
    panel.DomeOpen();
    for (int i = 0; i < 40; ++i) panel.DomeTimerTick();
    EXPECT_TRUE(panel.view().openArrows);
    EXPECT_NEAR(static_cast<double>(panel.opening()), 0.40, 1e-9);
    panel.DomeClose();
    EXPECT_EQ(panel.domeState(), DomeState::Closing);
    panel.DomeTimerTick();
    EXPECT_NEAR(static_cast<double>(panel.opening()), 0.39, 1e-9);
    panel.DomeOpen();  // and back again
    panel.DomeTimerTick();
    EXPECT_NEAR(static_cast<double>(panel.opening()), 0.40, 1e-9);
    EXPECT_EQ(panel.SlitHalfWidth(), 48);
    panel.DomeOpen();  // ignored while opening
    EXPECT_EQ(panel.domeState(), DomeState::Opening);
}

TEST_F(ControlPanelTest, TestModeFinishesOnTheNextTick) {
    opts.testMode = true;
    Hold(0);
    panel.DomeOpen();
    EXPECT_EQ(TicksUntilStill(), 1);
    EXPECT_EQ(panel.domeState(), DomeState::Open);
    panel.DomeClose();
    EXPECT_EQ(TicksUntilStill(), 1);
    EXPECT_EQ(panel.domeState(), DomeState::Closed);
}

TEST_F(ControlPanelTest, AnotherTelescopeWithTheDomeOpenClosesItFirst) {
    opts.testMode = true;
    Hold(0);
    panel.DomeOpen();
    TicksUntilStill();
    panel.SetOpticalSwitch(true);
    EXPECT_TRUE(host.windowVisible);
    EXPECT_FALSE(panel.view().setDateTimeEnabled);
    opts.testMode = false;
    host.calls.clear();
    panel.Access(2);
    EXPECT_EQ(panel.domeState(), DomeState::Closing);
    EXPECT_FALSE(panel.view().optSwitchOn);
    EXPECT_FALSE(host.windowVisible);
    EXPECT_EQ(panel.opticalScope(), NoScope);
    // The hand-over waits while the dome is closing.
    panel.ScopeTimerTick();
    EXPECT_TRUE(panel.scopeTimerActive());
    TicksUntilStill();
    EXPECT_EQ(panel.domeState(), DomeState::Closed);
    panel.ScopeTimerTick();
    EXPECT_EQ(panel.opticalScope(), 2);
    EXPECT_EQ(host.calls.back(), "reset");
}

TEST_F(ControlPanelTest, FastScopeChangeWithTheDomeOpenHandsOverAtOnce) {
    opts.fastScopeChange = true;
    Hold(0);
    opts.testMode = true;
    panel.DomeOpen();
    TicksUntilStill();
    host.calls.clear();
    panel.Access(1);
    EXPECT_FALSE(panel.scopeTimerActive());
    EXPECT_EQ(panel.opticalScope(), 1);
    EXPECT_EQ(panel.domeState(), DomeState::Open);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"take 1"}));  // no reset on the fast path
    // Without the dome open the fast option only shortens the delay to 1 ms.
    panel.DomeClose();
    TicksUntilStill();
    panel.Access(2);
    EXPECT_EQ(panel.scopeTimerIntervalMs(), 1);
}

TEST_F(ControlPanelTest, ControlSwitchesNeedAHeldTelescopeAndAnOpenDome) {
    panel.SetOpticalSwitch(true);
    EXPECT_FALSE(panel.view().optSwitchOn);
    Hold(0);
    panel.SetOpticalSwitch(true);
    EXPECT_FALSE(panel.view().optSwitchOn);  // dome closed
    opts.testMode = true;
    panel.DomeOpen();
    TicksUntilStill();
    panel.SetOpticalSwitch(true);
    EXPECT_TRUE(panel.view().optSwitchOn);
    EXPECT_FALSE(panel.view().domePanelEnabled);
    EXPECT_TRUE(panel.view().opticalWinVisible);
    panel.SetOpticalSwitch(false);
    EXPECT_TRUE(panel.view().domePanelEnabled);
    EXPECT_TRUE(panel.view().setDateTimeEnabled);
    EXPECT_EQ(host.calls.back(), "hide scope");
    // Closing the dome under the telescope window exits it.
    panel.SetOpticalSwitch(true);
    panel.DomeClose();
    EXPECT_FALSE(host.windowVisible);
    EXPECT_FALSE(panel.view().optSwitchEnabled);

    Hold(RadioScope);
    EXPECT_EQ(panel.view().idPanel, "100 Meter Radio Telescope");
    EXPECT_TRUE(panel.view().radSwitchEnabled);
    panel.SetRadioSwitch(true);
    EXPECT_EQ(host.calls.back(), "show radio");
    EXPECT_FALSE(panel.view().setDateTimeEnabled);
}

TEST_F(ControlPanelTest, TheRadioTelescopeIsNamedByItsApertureAndCanBeWithdrawn) {
    radio.aperture = 305;
    Hold(0);
    Hold(RadioScope);
    EXPECT_EQ(panel.view().idPanel, "305 Meter Radio Telescope");
    EXPECT_EQ(panel.displayedScope(), RadioScope);
    // The optical display took over; the radio window's activation brings its telescope back.
    panel.DomeOpen();
    TicksUntilStill();
    panel.SetOpticalSwitch(true);
    panel.SetOpticalSwitch(false);
    EXPECT_EQ(panel.displayedScope(), 0);
    panel.RadioWindowActivated();
    EXPECT_EQ(panel.displayedScope(), RadioScope);
    EXPECT_EQ(panel.view().idPanel, "305 Meter Radio Telescope");

    // A radio window that cannot start: the switch goes off and stays off.
    panel.SetRadioSwitch(true);
    panel.RadioUnavailable();
    EXPECT_EQ(host.calls.back(), "hide radio");
    EXPECT_FALSE(panel.view().radSwitchOn);
    EXPECT_FALSE(panel.view().radSwitchEnabled);
    EXPECT_TRUE(panel.view().setDateTimeEnabled);
    panel.SetRadioSwitch(true);
    EXPECT_FALSE(panel.view().radSwitchOn);
    MenuState menus = {{"Radio1", {true, true}}, {"RadCntrlSw", {true, true}}, {"RadLbl", {true, true}},
                       {"OptCntrlSw", {true, true}}, {"OptLbl", {true, true}}};
    menus = PanelMenus(menus, panel.view());
    EXPECT_FALSE(menus["Radio1"].enabled);
    EXPECT_FALSE(menus["RadCntrlSw"].enabled);
    // The optical telescopes stay.
    EXPECT_TRUE(panel.view().optSwitchEnabled);
}

TEST_F(ControlPanelTest, WithoutSoundEffectsTheDomeIsSilent) {
    opts.soundEffects = false;
    Hold(0);
    panel.DomeOpen();
    TicksUntilStill();
    EXPECT_TRUE(platform.sound.played.empty());
    EXPECT_EQ(panel.domeState(), DomeState::Open);
}

}  // namespace
}  // namespace qnr::app
