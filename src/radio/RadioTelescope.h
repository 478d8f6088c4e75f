#pragma once
// The radio telescope without its window: where it points, the sky clock it
// shows, tracking, manual and programmed slews with the horizon limit, the
// catalog it loads and the nearest pulsar it attaches to the receiver.
#include <functional>
#include <optional>
#include <string>

#include "app/Options.h"
#include "astro/DateTime.h"
#include "astro/Types.h"
#include "observatory/Mount.h"
#include "observatory/ObjctDat.h"
#include "platform/Services.h"
#include "radio/Pulsars.h"
#include "radio/RadiOpts.h"

namespace qnr::radio {

using observatory::Direction;
using observatory::InputEpoch;
using observatory::SkyCoordsDialogModel;

// The rate labels by index 1 to 5.
std::string RateLabel(int index);

// What the window's controls show; read after each operation.
struct RadioControls {
    bool nEnabled = false, sEnabled = false, eEnabled = false, wEnabled = false;
    std::string nCaption = "N", sCaption = "S";
    bool trackingVisible = false;  // DriveBtn, ClockLbl, EBtn and WBtn
    bool driveOn = false;          // ClockLbl "On" / "Off"
    bool rateEnabled = false;
    int rateIndex = 4;
    std::string rateLabel = "10";
    bool slewMenuEnabled = false;
    bool receiverEnabled = false;
    bool addItemEnabled = false;
    bool pulsarListVisible = false, pulsarListEnabled = false, pulsarListSeparatorVisible = false;
    bool saveUpdatedListVisible = false, loadHotListVisible = false;
    bool saveRecordedDataEnabled = false;
    bool onHelpVisible = false, topicsVisible = false, userHelpVisible = false;
};

struct RadioClockTexts {
    std::string date;        // DateTxt
    std::string localTime;   // LTTxt "hh:mm:ss"
    std::string julianDate;  // JDTxt, 6 decimals
    std::string sidereal;    // "hh:mm:ss"
    std::string universal;   // "hh:mm:ss"
};

struct SiteTexts {
    std::string name, longitude, latitude;  // StatnTxt and the two coordinates
};

// The pointing as the digit displays show it: right ascension with tenths of
// seconds, declination with its sign (a blank for north) and whole seconds.
struct RadioPositionTexts {
    std::string ra;   // "hh:mm:ss.t"
    std::string dec;  // "-dd:mm:ss" or " dd:mm:ss"
};
RadioPositionTexts FormatRadioPosition(Extended raHours, Extended decDegrees);

// "Unable to Open Pulsar Data File!" and the other texts of a catalog that
// cannot serve, with the caption; the radio telescope is then unavailable.
struct CatalogMessage {
    std::string text, caption;
};
CatalogMessage CatalogFailureMessage(const PlsrList& catalog, const std::string& path);

class RadioTelescopeHost {
public:
    virtual ~RadioTelescopeHost() = default;
    // The pointing moved: the displays and the map's marker follow.
    virtual void PointingChanged() {}
    // The map's caption changed.
    virtual void CaptionChanged() {}
    // The attached pulsar or its distance changed; the receiver reads both.
    virtual void AttachmentChanged() {}
};

class RadioTelescope {
public:
    // radio and opts are the main window's working copies; refreshClock sets
    // clock to the observation time (the real clock plus its offset).
    RadioTelescope(platform::Services& services, RadioOptsRec& radio, const app::OptsRec& opts, ObsDateTime& clock,
                   std::function<void()> refreshClock, RadioTelescopeHost& host);

    // Once per run: the catalog from the program folder, then the controls
    // and the pointing at the zenith. False, after the message, when the
    // catalog cannot serve: the radio telescope is then unavailable for the
    // run (nothing else is lost), and the activation is not done.
    bool FirstActivation();
    bool activated() const { return activated_; }
    PlsrList& catalog() { return catalog_; }
    const std::string& catalogPath() const { return catalogPath_; }

    // The observation time was changed: the sky moves under the telescope.
    void ResetTime();
    // The clock timer, every second.
    void ClockTick();
    bool HorizonTest(Extended decDegrees, Extended hourAngleHours) const;

    // DriveBtn; ignored during a manual slew.
    void SetDrive(bool on);
    void RateUp();
    void RateDown();

    // Manual slews: a direction button pressed (left button) or released
    // (anywhere, or the mouse lost), and the slew timer every 100 ms.
    void PressDirection(Direction d);
    void ReleaseDirection();
    void SlewTimerTick();
    // A key down or up (E, N, S, W, or 4, 8, 2, 6 on the keypad); true when
    // it started or ended a slew.
    bool KeyPress(int key, bool keypad);
    bool KeyRelease(int key, bool keypad);

    // Set Coordinates: during a programmed slew asks to end it (false);
    // otherwise fills the dialog (true: the window shows it).
    bool BeginSetCoordinates(SkyCoordsDialogModel& dialog);
    // The dialog's OK; false (after its message) keeps it open.
    bool AcceptCoordinates(const SkyCoordsDialogModel& dialog);
    // A hot-list target: it becomes the target (typed in J2000.0) and the
    // dialog shows it with the epoch fixed.
    SkyCoordsDialogModel HotListTarget(const observatory::ObjctDat& target);
    // Confirms and starts the slew to the target (or jumps in test mode).
    void StartProgrammedSlew();
    // The programmed-slew timer, every 100 ms.
    void ProgrammedSlewTick();

    // The Receiver button: the receiver is opened and gets the pulsar within
    // 2 degrees, if any.
    void OpenReceiver();
    void ReceiverClosed();
    bool receiverOpen() const { return receiverOpen_; }
    // The attached pulsar refreshed for the pulsar list.
    void RefreshAttachment(Extended maxDistance);
    const std::optional<PulsarRecord>& attachedPulsar() const { return attached_; }
    Extended attachedOffset() const { return attachedOffset_; }
    // The attachment as the window's readout shows it, the pulsar named as
    // the pulsar-identification option says.
    std::string AttachmentText() const;
    // Add Current Item: the attached pulsar's place when the exact position
    // is asked for, else the pointing; named after the exercise identifier.
    observatory::ObjctDat CurrentItem(const std::string& exerciseId) const;
    // The analysis tool has recorded data to save.
    void SetSaveRecordedData(bool enabled);
    // The radio options may have changed (the window shows again): the
    // controls follow the telescope type, the switches and the help names.
    void OptionsChanged() { UpdateControls(); }

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
    // Arc seconds per slew tick.
    Extended slewRate() const { return rate_; }
    bool transitOnly() const { return radio_.telescopeType == TransitOnly; }
    const RadioControls& controls() const { return controls_; }
    const RadioClockTexts& clockTexts() const { return clockTexts_; }
    SiteTexts siteTexts() const;
    RadioPositionTexts positionTexts() const { return FormatRadioPosition(ra_, dec_); }
    const std::string& mapCaption() const { return caption_; }
    bool slewTimerActive() const { return slewTimer_; }
    bool programmedTimerActive() const { return programmedTimer_; }

    static constexpr int ClockIntervalMs = 1000;
    static constexpr int SlewIntervalMs = 100;

private:
    void UpdateControls();
    void StopManualSlew();
    void EndProgrammedSlew();
    void SetRateIndex(int index);
    void SetCaption(const std::string& caption);
    void Attach(const PulsarRecord* found);
    std::string DeclinationText() const;
    std::string TargetTexts() const;
    Extended LocalSidereal() const;

    platform::Services& services_;
    RadioOptsRec& radio_;
    const app::OptsRec& opts_;
    ObsDateTime& clock_;
    std::function<void()> refreshClock_;
    RadioTelescopeHost& host_;

    PlsrList catalog_;
    std::string catalogPath_;
    bool activated_ = false;

    Extended ra_ = 0, dec_ = 0, ha_ = 0, lst_ = 0;
    bool tracking_ = false;
    Direction manual_ = Direction::None;
    Extended step_ = 0;
    bool programmed_ = false;
    bool poleFlip_ = false;
    bool decDone_ = false;
    bool movingNorth_ = true;
    int rateIndex_ = 4;
    Extended rate_ = 0;
    Extended targetRa_ = 0, targetDec_ = 0;
    InputEpoch inputEpoch_ = InputEpoch::J2000;
    bool slewTimer_ = false, programmedTimer_ = false, programmedPaused_ = false;
    bool inMessage_ = false;

    bool receiverOpen_ = false;
    bool addItem_ = false;
    bool saveRecorded_ = false;
    std::optional<PulsarRecord> attached_;
    Extended attachedOffset_ = 0;

    std::string caption_;
    RadioControls controls_;
    RadioClockTexts clockTexts_;
};

}  // namespace qnr::radio
