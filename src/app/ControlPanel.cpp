#include "app/ControlPanel.h"

#include <cmath>

#include "astro/Random.h"

namespace qnr::app {

namespace {

const char* const EndSounds[8] = {"chaclunk.wav", "clunkit.wav", "crashbrn.wav", "rolling.wav",
                                  "crinkle.wav",  "drag.wav",    "mailbox.wav",  "whaading.wav"};
// The opening moves in steps of 0.01, which binary reals do not hold
// exactly: the thresholds allow for the summed rounding, so a movement is
// always its 100 ticks.
constexpr Extended Slack = 1e-9L;

const char* const AccessingTexts[4] = {"Accessing 0.4m Telescope", "Accessing 1.0m Telescope",
                                       "Accessing 4.0m Telescope", "Accessing Radio Telescope"};

}  // namespace

MenuState PanelMenus(MenuState menus, const PanelView& v) {
    auto narrow = [&](const char* name, bool enabled) {
        auto it = menus.find(name);
        if (it != menus.end()) it->second.enabled = it->second.enabled && enabled;
    };
    narrow("Telescopes1", v.telescopesMenuEnabled);
    narrow("SetDateTime1", v.setDateTimeEnabled);
    narrow("Radio1", !v.radioUnavailable);
    if (menus.count("OptCntrlSw")) {
        menus["OptCntrlSw"].enabled = v.optSwitchEnabled;
        menus["OptLbl"].enabled = v.optSwitchEnabled;
        menus["RadCntrlSw"].enabled = v.radSwitchEnabled;
        menus["RadLbl"].enabled = v.radSwitchEnabled;
    }
    if (menus.count("DomePnl")) menus["DomePnl"].enabled = v.domePanelEnabled;
    if (menus.count("OpticalWin")) menus["OpticalWin"].visible = v.opticalWinVisible;
    if (menus.count("RadioWin")) menus["RadioWin"].visible = v.radioWinVisible;
    if (menus.count("Window1")) {
        bool any = false;
        for (const char* w : {"OpticalWin", "RadioWin", "SpectWin", "MeasWin", "PulsarWin", "SpRsltsWin"})
            any = any || (menus.count(w) && menus[w].visible);
        menus["Window1"].enabled = any;
    }
    return menus;
}

ControlPanel::ControlPanel(platform::Services& services, const OptsRec& opts, const radio::RadioOptsRec& radio,
                           ControlPanelHost& host)
    : services_(services), opts_(opts), radio_(radio), host_(host) {
    UpdateLamps();
}

std::string ControlPanel::ScopeName(int scope) const {
    if (scope == RadioScope) return std::to_string(radio_.aperture) + " Meter Radio Telescope";
    if (scope >= 0 && scope < 3) return opts_.telescopes[static_cast<std::size_t>(scope)].name;
    return "";
}

int ControlPanel::SlitHalfWidth() const {
    Extended f = opening_ < 0 ? 0 : (opening_ > 1 ? 1 : opening_);
    return static_cast<int>(std::nearbyint(120 * f));
}

void ControlPanel::StartRunning() {
    opening_ = 0;
    step_ = 0.01L;
}

void ControlPanel::EnableControlSwitches() {
    view_.optSwitchEnabled = optical_ != NoScope && dome_ == DomeState::Open;
    view_.radSwitchEnabled = radioScope_ == RadioScope && !view_.radioUnavailable;
}

void ControlPanel::UpdateLamps() {
    bool showState = view_.domePanelEnabled || optical_ != NoScope;
    view_.isOpenLamp = showState && dome_ == DomeState::Open;
    view_.isClosedLamp = showState && dome_ == DomeState::Closed;
}

void ControlPanel::Access(int choice) {
    if (choice < 0 || choice > 3) return;
    if (choice == RadioScope && view_.radioUnavailable) return;
    if (choice == RadioScope ? radioScope_ == RadioScope : optical_ == choice) return;
    view_.access0p4Checked = choice == 0;
    view_.access1p0Checked = choice == 1;
    view_.access4p0Checked = choice == 2;
    view_.radioChecked = choice == RadioScope;
    view_.opticalChecked = choice != RadioScope;

    if (opts_.fastScopeChange && dome_ == DomeState::Open) {
        view_.telescopesMenuEnabled = true;
        pending_ = displayed_ = choice;
        if (choice == RadioScope) {
            radioScope_ = RadioScope;
            view_.idPanel = ScopeName(choice);
            EnableControlSwitches();
            host_.Repaint();
            if (view_.radSwitchOn) host_.ShowRadioWindow(true);
        } else {
            services_.dialogs->show("You now have control of the " + ScopeName(choice) + ".",
                                    "Telescope Successfully Accessed", platform::Icon::Information);
            host_.TakeTelescope(choice);
            optical_ = choice;
            view_.domePanelEnabled = true;
            view_.idPanel = ScopeName(choice);
            EnableControlSwitches();
            UpdateLamps();
            host_.Repaint();
            if (view_.optSwitchOn) host_.ShowTelescopeWindow(true);
        }
        return;
    }

    view_.telescopesMenuEnabled = false;
    pending_ = choice;
    if (choice != RadioScope) {
        if (view_.optSwitchOn) {
            host_.ShowTelescopeWindow(false);
            view_.optSwitchOn = false;
            view_.opticalWinVisible = false;
        }
        if (dome_ != DomeState::Closed) DomeClose();
        optical_ = NoScope;
        view_.domePanelEnabled = false;
    }
    view_.optSwitchEnabled = false;
    view_.radSwitchEnabled = radioScope_ == RadioScope && !view_.radioUnavailable;
    view_.idPanel = AccessingTexts[choice];
    UpdateLamps();
    host_.SetBusy(true);
    scopeInterval_ = opts_.fastScopeChange ? 1 : static_cast<int>(RandomInt(8000));
    scopeTimer_ = true;
}

void ControlPanel::ScopeTimerTick() {
    if (!scopeTimer_ || dome_ == DomeState::Closing) return;
    scopeTimer_ = false;
    view_.telescopesMenuEnabled = true;
    if (pending_ == RadioScope)
        radioScope_ = RadioScope;
    else
        optical_ = pending_;
    displayed_ = pending_;
    if (pending_ == RadioScope) {
        EnableControlSwitches();
        view_.idPanel = ScopeName(RadioScope);
    } else {
        services_.dialogs->show("You now have control of the " + ScopeName(pending_) + ".",
                                "Telescope Successfully Accessed", platform::Icon::Information);
        host_.TakeTelescope(pending_);
        host_.ResetTelescope();
        view_.domePanelEnabled = true;
        view_.idPanel = ScopeName(pending_);
        UpdateLamps();
    }
    host_.SetBusy(false);
    host_.Repaint();
    services_.dialogs->beep();
}

void ControlPanel::PlayDomeSound() {
    if (!opts_.soundEffects || !services_.sound) return;
    domeSoundPlaying_ = true;
    services_.sound->playFile(services_.files->resolve(opts_.programFolder + "gardoor.wav"),
                              [this] { DomeSoundEnded(); });
}

void ControlPanel::DomeSoundEnded() { domeSoundPlaying_ = false; }

void ControlPanel::StopDomeSound() {
    if (!domeSoundPlaying_) return;
    domeSoundPlaying_ = false;
    if (services_.sound) services_.sound->stop();
}

void ControlPanel::PlayEndSound() {
    // Only the door sound counts as the dome sound, so the end sound plays
    // once and is not replaced on the following ticks.
    StopDomeSound();
    const char* name = EndSounds[RandomInt(8)];
    services_.sound->playFile(services_.files->resolve(opts_.programFolder + name), [] {});
}

void ControlPanel::DomeOpen() {
    if (dome_ != DomeState::Closed && dome_ != DomeState::Closing) return;
    view_.idPanel = ScopeName(optical_);
    view_.openArrows = true;
    view_.closeArrows = false;
    if (dome_ == DomeState::Closed) {
        host_.ComputeDomeSky();
        dome_ = DomeState::Opening;
        if (opts_.testMode) opening_ = 1;
    } else {
        dome_ = DomeState::Opening;
        StopDomeSound();
    }
    UpdateLamps();
    PlayDomeSound();
    domeTimer_ = true;
}

void ControlPanel::DomeClose() {
    if (dome_ != DomeState::Open && dome_ != DomeState::Opening) return;
    view_.idPanel = ScopeName(optical_);
    view_.closeArrows = true;
    view_.openArrows = false;
    if (dome_ == DomeState::Open) {
        if (host_.TelescopeWindowVisible()) host_.ExitTelescopeWindow();
        dome_ = DomeState::Closing;
        if (opts_.testMode) opening_ = 0;
    } else {
        dome_ = DomeState::Closing;
        StopDomeSound();
    }
    view_.optSwitchEnabled = false;
    UpdateLamps();
    PlayDomeSound();
    domeTimer_ = true;
}

void ControlPanel::DomeTimerTick() {
    if (!domeTimer_) return;
    if (dome_ == DomeState::Opening) {
        opening_ += step_;
        host_.Repaint();
        if (opening_ >= 0.97L - Slack && domeSoundPlaying_) PlayEndSound();
        if (opening_ >= 1 - Slack) {
            domeTimer_ = false;
            opening_ = 1;
            dome_ = DomeState::Open;
            view_.openArrows = false;
            EnableControlSwitches();
        }
    } else if (dome_ == DomeState::Closing) {
        opening_ -= step_;
        host_.Repaint();
        if (opening_ <= 0.03L + Slack && domeSoundPlaying_) PlayEndSound();
        if (opening_ <= Slack) {
            domeTimer_ = false;
            dome_ = DomeState::Closed;
            opening_ = 0;
            view_.closeArrows = false;
        }
    } else {
        domeTimer_ = false;
    }
    UpdateLamps();
}

void ControlPanel::SetOpticalSwitch(bool on) {
    if (on == view_.optSwitchOn) return;
    if (on && !view_.optSwitchEnabled) return;
    if (displayed_ == RadioScope) {
        view_.idPanel = ScopeName(optical_);
        displayed_ = optical_;
        host_.Repaint();
    }
    view_.optSwitchOn = on;
    if (on) {
        view_.domePanelEnabled = false;
        view_.setDateTimeEnabled = false;
        view_.opticalWinVisible = true;
        host_.Repaint();
        host_.ShowTelescopeWindow(true);
    } else {
        view_.domePanelEnabled = true;
        view_.setDateTimeEnabled = !view_.radSwitchOn;
        view_.opticalWinVisible = false;
        host_.ComputeDomeSky();
        host_.Repaint();
        host_.ShowTelescopeWindow(false);
    }
    UpdateLamps();
}

void ControlPanel::SetRadioSwitch(bool on) {
    if (on == view_.radSwitchOn) return;
    if (on && !view_.radSwitchEnabled) return;
    if (displayed_ != RadioScope) {
        view_.idPanel = ScopeName(RadioScope);
        displayed_ = radioScope_;
        host_.Repaint();
    }
    view_.radSwitchOn = on;
    view_.radioWinVisible = on;
    view_.setDateTimeEnabled = !on && !view_.optSwitchOn;
    host_.ShowRadioWindow(on);
}

void ControlPanel::RadioWindowActivated() {
    if (radioScope_ != RadioScope || displayed_ == RadioScope) return;
    view_.idPanel = ScopeName(RadioScope);
    displayed_ = RadioScope;
    host_.Repaint();
}

void ControlPanel::RadioUnavailable() {
    if (view_.radSwitchOn) SetRadioSwitch(false);
    view_.radioUnavailable = true;
    view_.radSwitchEnabled = false;
}

}  // namespace qnr::app
