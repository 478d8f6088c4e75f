#pragma once
// The telescope control panel of the main window: handing out the
// telescopes, the dome with its rocker and lamps, and the two control
// switches that show the telescope windows.
#include <string>

#include "app/Exercise.h"
#include "app/Options.h"
#include "astro/Types.h"
#include "platform/Services.h"
#include "radio/RadiOpts.h"

namespace qnr::app {

enum class DomeState { Closed, Opening, Open, Closing };

inline constexpr int NoScope = 4;
inline constexpr int RadioScope = 3;

// Calls out of the panel to the telescope windows and the main display.
class ControlPanelHost {
public:
    virtual ~ControlPanelHost() = default;
    virtual void TakeTelescope(int) {}
    virtual void ResetTelescope() {}
    virtual void ShowTelescopeWindow(bool) {}
    virtual bool TelescopeWindowVisible() { return false; }
    // The dome starts to close under an open telescope window.
    virtual void ExitTelescopeWindow() {}
    virtual void ShowRadioWindow(bool) {}
    // The naked-eye view of the slit around the present pointing.
    virtual void ComputeDomeSky() {}
    virtual void Repaint() {}
    virtual void SetBusy(bool) {}
};

// What the panel's controls show; read after each operation.
struct PanelView {
    std::string idPanel;  // IDPnl
    bool telescopesMenuEnabled = true;
    bool access0p4Checked = false, access1p0Checked = false, access4p0Checked = false, radioChecked = false,
         opticalChecked = false;
    bool domePanelEnabled = false;
    bool openArrows = false;   // OpenLEDL, OpenLEDR
    bool closeArrows = false;  // CloseLEDL, CloseLEDR
    bool isOpenLamp = false;   // IsOpenLED
    bool isClosedLamp = false; // IsClosedLED
    bool optSwitchEnabled = false, radSwitchEnabled = false;  // with their labels
    bool optSwitchOn = false, radSwitchOn = false;
    bool setDateTimeEnabled = true;
    bool opticalWinVisible = false, radioWinVisible = false;
    // The radio telescope cannot serve this run (its catalog is unreadable).
    bool radioUnavailable = false;
};

// The main window's menu state: the phase's, with what the panel governs on
// top (the Telescopes menu and the date dialog narrowed, the switches, the
// dome panel and the window entries set), and the Window menu enabled when
// any of its entries shows.
MenuState PanelMenus(MenuState menus, const PanelView& view);

class ControlPanel {
public:
    // radio is the working copy of the radio options (the aperture names the telescope).
    ControlPanel(platform::Services& services, const OptsRec& opts, const radio::RadioOptsRec& radio,
                 ControlPanelHost& host);

    // Access0p4, Access1p0, Access4p0 (0..2) and Radio1 (3).
    void Access(int choice);
    void ScopeTimerTick();

    // DomeSw1 up and down, and DomeTimer every 75 ms.
    void DomeOpen();
    void DomeClose();
    void DomeTimerTick();

    void SetOpticalSwitch(bool on);
    void SetRadioSwitch(bool on);
    // The radio telescope window could not start: its switch goes off and
    // stays off, and the radio telescope cannot be accessed again this run.
    void RadioUnavailable();
    // The radio telescope window became active: the main display shows the
    // radio telescope when it does not yet.
    void RadioWindowActivated();

    // The first paint of the running phase.
    void StartRunning();

    DomeState domeState() const { return dome_; }
    Extended opening() const { return opening_; }
    // Half the slit's width in pixels on the main display.
    int SlitHalfWidth() const;
    int opticalScope() const { return optical_; }
    int radioScope() const { return radioScope_; }
    int displayedScope() const { return displayed_; }
    const PanelView& view() const { return view_; }
    bool scopeTimerActive() const { return scopeTimer_; }
    int scopeTimerIntervalMs() const { return scopeInterval_; }
    bool domeTimerActive() const { return domeTimer_; }

    static constexpr int DomeIntervalMs = 75;

private:
    std::string ScopeName(int scope) const;
    void EnableControlSwitches();
    void UpdateLamps();
    void PlayDomeSound();
    void DomeSoundEnded();
    void PlayEndSound();
    void StopDomeSound();

    platform::Services& services_;
    const OptsRec& opts_;
    const radio::RadioOptsRec& radio_;
    ControlPanelHost& host_;

    DomeState dome_ = DomeState::Closed;
    Extended opening_ = 0;
    Extended step_ = 0.01L;
    bool domeSoundPlaying_ = false;
    int optical_ = NoScope, radioScope_ = NoScope, displayed_ = NoScope, pending_ = NoScope;
    bool scopeTimer_ = false;
    int scopeInterval_ = 0;
    bool domeTimer_ = false;
    PanelView view_;
};

}  // namespace qnr::app
