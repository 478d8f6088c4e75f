#pragma once
// The optical telescope's mount: where it points, the clock that drives the
// sky, tracking and drift, manual and programmed slews, the horizon and
// western limits and the motor sounds. The telescope window binds it.
#include <functional>
#include <optional>
#include <string>

#include "app/Options.h"
#include "astro/DateTime.h"
#include "astro/Types.h"
#include "platform/Services.h"

namespace qnr::observatory {

enum class Direction { None, North, South, East, West };
enum class InputEpoch { J2000, B1950 };

// What the window's controls show; read after each operation.
struct MountControls {
    bool nEnabled = false, sEnabled = false, eEnabled = false, wEnabled = false;
    std::string nCaption = "N", sCaption = "S";
    bool nLit = false, sLit = false, eLit = false, wLit = false;
    bool driveLit = false;         // DrvOnLed
    bool rateEnabled = false;      // RateSlider
    int rateIndex = 2;             // 0..4 labelled 1, 2, 4, 8, 16
    bool slewMenuEnabled = false;
    bool viewEnabled = false;      // ViewSlider and its label
    bool instrumentEnabled = false;  // InstSlider
    bool readingEnabled = false;   // RdngBtn
    int viewPosition = 1;          // 1 finder, 0 telescope
    int instrumentPosition = 2;    // 0 CCD camera, 1 photometer, 2 spectrometer
};

// The position displays: RAClock, RADSecs, DecDrgs, DecMnScs, SignChr.
struct PositionTexts {
    std::string raClock;   // "hh:mm:ss"
    std::string raTenths;  // "t"
    std::string decDegrees;  // "dd"
    std::string decMinSec;   // "mm:ss"
    std::string sign;        // "+" or "-"
};
PositionTexts FormatPosition(Extended raHours, Extended decDegrees);

// The clock displays, refreshed once a second.
struct ClockTexts {
    std::string date;       // DateTxt, LongDateStr
    std::string localTime;  // LTTxt "hh:mm:ss"
    std::string julianDate; // JDTxt, 6 decimals
    std::string sidereal;   // LSTClock "hh:mm:ss"
    std::string universal;  // UTClock "hh:mm:ss"
};

// Calls out of the mount to the field view and the window.
class MountHost {
public:
    virtual ~MountHost() = default;
    // The pointing moved: update the field position and redraw the field.
    virtual void PointingChanged() {}
    virtual void ForgetMarkedObject() {}
    // The created field must be built anew at the next redraw.
    virtual void ForgetField() {}
    virtual void Repaint() {}
};

// The coordinate dialog " Enter Sky Coordinates for Slew" without its window.
struct SkyCoordsDialogModel {
    std::string raHr, raMin, raSec, decDeg, decMin, decSec;
    InputEpoch epoch = InputEpoch::J2000;
    bool epochEnabled = true;
};

// The dialog's fields showing a position (hours, degrees) in the given epoch.
SkyCoordsDialogModel CoordinatesDialogFor(Extended raHours, Extended decDegrees, InputEpoch epoch, bool epochEnabled);
// The dialog for a J2000.0 target, shown in B1950.0 when that was the input's
// epoch, with the epoch group enabled.
SkyCoordsDialogModel CoordinatesDialogForTarget(Extended raHours, Extended decDegrees, InputEpoch epoch);

// What the dialog's OK reads: the target in J2000.0 (B1950.0 input precessed)
// and the epoch it was typed in; nullopt after "Right Ascension is Invalid!"
// or "Declination is Invalid!" (the dialog stays open).
struct DialogTarget {
    Extended ra = 0;   // hours
    Extended dec = 0;  // degrees
    InputEpoch epoch = InputEpoch::J2000;
};
std::optional<DialogTarget> ReadCoordinatesDialog(const SkyCoordsDialogModel& dialog, platform::Dialogs& dialogs);

class TelescopeMount {
public:
    // observationNow gives the observation clock's day number (real time + the
    // clock offset) and sets `clock` to it.
    TelescopeMount(platform::Services& services, app::OptsRec& opts, ObsDateTime& clock,
                   std::function<void()> refreshClock, MountHost& host);

    // Telescope hand-over from the main window.
    void TakeTelescope(int index);
    void Reset();

    void SetRightAscension(Extended hours);
    void SetDeclination(Extended degrees);
    bool HorizonTest(Extended decDegrees, Extended hourAngleHours) const;

    // clocktimer, every 100 ms.
    void ClockTick();
    // Called when the window is activated (the tick after it does not drift).
    void Activated();

    // DriveBtn ("Tracking"); ignored during a manual slew.
    void SetDrive(bool on);
    // RateSlider
    void SetRate(int index);
    // ViewSlider: the telescope view magnifies.
    void SetTelescopeView(bool telescope);
    // InstSlider: 0 CCD camera, 1 photometer, 2 spectrometer.
    void SetInstrument(int position) { controls_.instrumentPosition = position; }
    // While an instrument has the telescope, the view, instrument and reading
    // controls stay off (the instrument windows do not block this one).
    void SetInstrumentOpen(bool open);
    bool instrumentOpen() const { return instrumentOpen_; }

    // Manual slews: a direction button pressed, released (anywhere, or the
    // mouse grab lost), and SlewTimer every 20 ms.
    void PressDirection(Direction d);
    void ReleaseDirection();
    // Both slews stop where they are (a field the exercise does not offer).
    void StopSlews();
    void SlewTimerTick();
    // A key pressed or released while the window has the keyboard; true when
    // it started or stopped a slew.
    bool KeyPress(int key, bool keypad);
    bool KeyRelease(int key, bool keypad);

    // Set Coordinates: during a programmed slew asks to terminate it; otherwise
    // fills the dialog model, which the window shows; true when it should be shown.
    bool BeginSetCoordinates(SkyCoordsDialogModel& dialog);
    // The dialog's OK: false (after its message) keeps the dialog open.
    bool AcceptCoordinates(const SkyCoordsDialogModel& dialog);
    // Starts the programmed slew to the target (also used by the hot list).
    void StartProgrammedSlew();
    // SlewTimer2
    void SlewTimer2Tick();
    // Sets the target, e.g. from the hot list (J2000.0).
    void SetTarget(Extended raHours, Extended decDegrees);

    // Sound end notice (from the platform's sound).
    void SoundEnded(const std::string& name);
    void PlaySound(const std::string& name);
    void StopSound();

    // State.
    Extended rightAscension() const { return ra_; }
    Extended declination() const { return dec_; }
    Extended hourAngle() const { return ha_; }
    Extended siderealTime() const { return lst_; }
    Extended targetRa() const { return targetRa_; }
    Extended targetDec() const { return targetDec_; }
    bool tracking() const { return tracking_; }
    bool manualSlew() const { return manual_ != Direction::None; }
    bool programmedSlew() const { return programmed_; }
    bool poleFlip() const { return poleFlip_; }
    Extended slewRate() const { return rate_; }
    Extended magnification() const;
    int telescope() const { return telescope_; }
    Extended telescopeBaseMagnitude() const { return baseMag_; }
    int finderOffset() const { return finderOffset_; }
    int scopeOffset() const { return scopeOffset_; }
    Extended cameraFieldWidth() const { return camWidth_; }   // arcminutes
    Extended cameraFieldHeight() const { return camHeight_; }
    const MountControls& controls() const { return controls_; }
    const ClockTexts& clockTexts() const { return clockTexts_; }
    PositionTexts positionTexts() const { return FormatPosition(ra_, dec_); }
    // Which timers should run; the window starts and stops its QTimers to match.
    bool slewTimerActive() const { return slewTimer_; }
    bool slewTimer2Active() const { return slewTimer2_; }
    // Set when the programmed slew has arrived (the display shows the arrival text).
    bool slewFinished() const { return slewFinished_; }

    // The interval of SlewTimer2's steps. The step sizes were made for a
    // timer that fires about 64 times a second; a 1 ms timer would slew sixteen
    // times too fast, so the window runs the step at this interval.
    static constexpr int ProgrammedSlewIntervalMs = 15;
    static constexpr int ManualSlewIntervalMs = 20;
    static constexpr int ClockIntervalMs = 100;

private:
    void UpdateControlsForDrive();
    void StopManualSlew();
    void EndProgrammedSlew();
    void Drift();
    void ResetDriftReference();
    Extended LocalSidereal() const;
    std::string TargetTexts() const;

    platform::Services& services_;
    app::OptsRec& opts_;
    ObsDateTime& clock_;
    std::function<void()> refreshClock_;
    MountHost& host_;

    int telescope_ = -1;
    Extended baseMag_ = 0;
    int finderOffset_ = 0, scopeOffset_ = 0;
    Extended camWidth_ = 0, camHeight_ = 0;

    Extended ra_ = 0, dec_ = 0, ha_ = 0, lst_ = 0;
    bool tracking_ = false;
    Direction manual_ = Direction::None;
    Extended decStep_ = 0, raStep_ = 0;
    bool programmed_ = false;
    bool slewFinished_ = false;
    bool poleFlip_ = false;
    bool telescopeView_ = false;
    bool instrumentOpen_ = false;
    Extended rate_ = 0;
    Extended targetRa_ = 0, targetDec_ = 0, targetHa_ = 0;
    InputEpoch inputEpoch_ = InputEpoch::J2000;
    bool raReached_ = false, decReached_ = false;
    bool movingNorth_ = true, movingEast_ = true;
    Extended progDecStep_ = 0, progRaStep_ = 0;
    int savedRateIndex_ = 2;
    bool slewTimer_ = false, slewTimer2_ = false, slewTimer2Paused_ = false;

    Extended driftTime_ = 0;  // day number when the drive went off
    Extended driftRa_ = 0;    // right ascension at that moment
    bool everActivated_ = false;
    bool firstDriftPending_ = false;
    bool justActivated_ = false;
    int tickCount_ = 0;
    bool inMessage_ = false;

    MountControls controls_;
    ClockTexts clockTexts_;
    std::string playing_;
};

}  // namespace qnr::observatory
