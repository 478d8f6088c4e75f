#include "radio/RadioTelescope.h"

#include <cctype>
#include <cmath>

#include "astro/Coords.h"
#include "astro/MathStd.h"
#include "astro/StringUt.h"

namespace qnr::radio {

namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

// The receiver gets the pulsar within this distance when it is opened, and
// within the wider one at every clock tick while it is open.
constexpr Extended OpenSearchDegrees = 2.0L;
constexpr Extended TickSearchDegrees = 5.0L;
// A right-ascension difference this small (hours) counts as arrived.
constexpr Extended RaArrived = 1e-5L;

const char* DirectionName(Direction d) {
    switch (d) {
    case Direction::North: return "North";
    case Direction::South: return "South";
    case Direction::East: return "East";
    case Direction::West: return "West";
    default: return "";
    }
}

// Whole seconds; a time rounding up to 24 h shows as 00.
std::string Hms(Extended hours) {
    AngleParts p = SplitAngleRounded(NormalizeHours(hours), 0);
    const long long whole = p.whole % 24;
    return ZeroPadded(whole, 2) + ":" + ZeroPadded(p.minutes, 2) + ":" +
           ZeroPadded(static_cast<long long>(std::nearbyint(p.seconds)) % 60, 2);
}

std::string SiteAngle(Extended radians, const char* positive, const char* negative) {
    return SexaStr(std::fabs(radians * RadToDeg), 0, "\xB0", "'", "\"") + (radians >= 0 ? positive : negative);
}

}  // namespace

std::string RateLabel(int index) {
    static const char* const labels[] = {"1/100", "1/10", "1", "10", "100"};
    return index >= 1 && index <= 5 ? labels[index - 1] : "";
}

RadioPositionTexts FormatRadioPosition(Extended raHours, Extended decDegrees) {
    const observatory::PositionTexts t = observatory::FormatPosition(raHours, decDegrees);
    return {t.raClock + "." + t.raTenths, (t.sign == "-" ? "-" : " ") + t.decDegrees + ":" + t.decMinSec};
}

CatalogMessage CatalogFailureMessage(const PlsrList& catalog, const std::string& path) {
    const std::string tail = "\r\n\r\nThe radio telescope is not available in this session.";
    const char* caption = "Radio Telescope Unavailable";
    if (catalog.fault())
        return {"Pulsar Data File is Damaged!\r\n\r\nFile Name: " + path + "\r\nLine " +
                    std::to_string(catalog.fault()->line) + ": " + catalog.fault()->what + tail,
                caption};
    return {"Unable to Open Pulsar Data File!\r\n\r\nFile Name: " + path + "\r\n" + IOErrorText(catalog.ioCode()) + tail,
            caption};
}

RadioTelescope::RadioTelescope(platform::Services& services, RadioOptsRec& radio, const app::OptsRec& opts,
                               ObsDateTime& clock, std::function<void()> refreshClock, RadioTelescopeHost& host)
    : services_(services), radio_(radio), opts_(opts), clock_(clock), refreshClock_(std::move(refreshClock)),
      host_(host) {
    SetRateIndex(4);
}

Extended RadioTelescope::LocalSidereal() const { return LocalSiderealTime(clock_, radio_.longitude); }

bool RadioTelescope::FirstActivation() {
    if (activated_) return true;
    catalogPath_ = opts_.programFolder + radio_.pulsarFile;
    if (!catalog_.Load(*services_.files, catalogPath_)) {
        const CatalogMessage m = CatalogFailureMessage(catalog_, catalogPath_);
        services_.dialogs->show(m.text, m.caption, Icon::Error);
        return false;
    }
    radio_.hotListFile = opts_.hotListFile;
    tracking_ = false;
    manual_ = Direction::None;
    programmed_ = false;
    poleFlip_ = false;
    slewTimer_ = programmedTimer_ = false;
    SetRateIndex(4);
    ra_ = 0;
    ha_ = 0;
    dec_ = radio_.latitude * RadToDeg;
    activated_ = true;
    UpdateControls();
    ClockTick();
    return true;
}

bool RadioTelescope::HorizonTest(Extended decDegrees, Extended hourAngleHours) const {
    if (!radio_.limitSlewing) return true;
    const Extended phi = radio_.latitude;
    const Extended d = decDegrees * DegToRad;
    const Extended h = hourAngleHours * TwoPi / 24;
    const Extended alt = SafeArcSin(std::sin(d) * std::sin(phi) + std::cos(d) * std::cos(phi) * std::cos(h));
    return alt > radio_.horizonLimit;
}

void RadioTelescope::ResetTime() {
    if (!activated_) return;
    refreshClock_();
    lst_ = LocalSidereal();
    ra_ = NormalizeHours(lst_ - ha_);
    host_.PointingChanged();
}

void RadioTelescope::ClockTick() {
    if (!activated_ || inMessage_) return;
    refreshClock_();
    clockTexts_.date = clock_.LongDateStr();
    clockTexts_.localTime = Hms(clock_.local.AsDayFraction() * 24);
    clockTexts_.julianDate = FixedStr(clock_.JulianDate(), 6);
    lst_ = LocalSidereal();
    clockTexts_.sidereal = Hms(lst_);
    clockTexts_.universal = Hms(clock_.ut.AsDayFraction() * 24);
    const Extended ha = lst_ - ra_;
    if (tracking_ && !programmed_ && !HorizonTest(dec_, ha)) {
        tracking_ = false;
        UpdateControls();
        // The box runs a nested event loop in which this timer goes on.
        inMessage_ = true;
        services_.dialogs->show("The Scope Has Reached the Western Limit!\r\n\r\nThe Clock Drive Has Been Turned Off.",
                                "Horizon Limit Reached!", Icon::Warning);
        inMessage_ = false;
    }
    if (tracking_ || manual_ != Direction::None || programmed_)
        ha_ = ha;  // the telescope follows the sky
    else
        ra_ = NormalizeHours(lst_ - ha_);  // fixed to the ground, the sky drifts by
    host_.PointingChanged();
    if (receiverOpen_) Attach(catalog_.FindNearest(TickSearchDegrees, dec_, ra_));
}

void RadioTelescope::Attach(const PulsarRecord* found) {
    if (found) {
        attached_ = *found;
        attachedOffset_ = catalog_.distance();
    } else {
        attached_.reset();
        attachedOffset_ = 0;
    }
    host_.AttachmentChanged();
}

void RadioTelescope::SetRateIndex(int index) {
    const int top = radio_.maxRateIndex == 5 ? 5 : 4;
    rateIndex_ = std::clamp(index, 1, top);
    rate_ = std::pow(10.0L, rateIndex_ - 3) * radio_.baseSlewRate;
    controls_.rateIndex = rateIndex_;
    controls_.rateLabel = RateLabel(rateIndex_);
}

void RadioTelescope::RateUp() {
    if (!controls_.rateEnabled) return;
    SetRateIndex(rateIndex_ + 1);
}

void RadioTelescope::RateDown() {
    if (!controls_.rateEnabled) return;
    SetRateIndex(rateIndex_ - 1);
}

void RadioTelescope::UpdateControls() {
    RadioControls& c = controls_;
    const bool transit = transitOnly();
    // A meridian telescope has no drive: it works as if tracking all along.
    const bool on = tracking_ || transit;
    const bool free = manual_ == Direction::None && !programmed_;
    c.trackingVisible = !transit;
    c.driveOn = tracking_;
    // During a manual slew only the held button stays usable, for its release.
    c.nEnabled = on && (free || manual_ == Direction::North);
    c.sEnabled = on && (free || manual_ == Direction::South);
    c.eEnabled = !transit && on && (free || manual_ == Direction::East);
    c.wEnabled = !transit && on && (free || manual_ == Direction::West);
    c.nCaption = poleFlip_ ? "S" : "N";
    c.sCaption = poleFlip_ ? "N" : "S";
    c.rateEnabled = on && free;
    c.slewMenuEnabled = on && manual_ == Direction::None;
    c.receiverEnabled = on;
    c.addItemEnabled = addItem_ && !programmed_;
    c.pulsarListVisible = radio_.accessPulsarList;
    c.pulsarListEnabled = radio_.accessPulsarList && !receiverOpen_;
    c.pulsarListSeparatorVisible = radio_.testMode || radio_.accessPulsarList;
    c.saveUpdatedListVisible = radio_.writeHotList;
    c.loadHotListVisible = opts_.editMode;
    c.saveRecordedDataEnabled = saveRecorded_;
    c.onHelpVisible = !radio_.onHelpFile.empty();
    c.topicsVisible = !radio_.mainHelpList.empty();
    c.userHelpVisible = !radio_.userHelpFile.empty();
    SetRateIndex(rateIndex_);
}

void RadioTelescope::SetDrive(bool on) {
    if (manual_ != Direction::None || transitOnly()) return;
    tracking_ = on;
    UpdateControls();
}

void RadioTelescope::PressDirection(Direction d) {
    if (d == Direction::None || manual_ != Direction::None || programmed_) return;
    const RadioControls& c = controls_;
    const bool enabled = (d == Direction::North && c.nEnabled) || (d == Direction::South && c.sEnabled) ||
                         (d == Direction::East && c.eEnabled) || (d == Direction::West && c.wEnabled);
    if (!enabled) return;
    switch (d) {
    case Direction::North: step_ = rate_ / 3600; break;
    case Direction::South: step_ = -rate_ / 3600; break;
    case Direction::East: step_ = rate_ / 3600 / 15; break;
    case Direction::West: step_ = -rate_ / 3600 / 15; break;
    default: break;
    }
    manual_ = d;
    slewTimer_ = true;
    UpdateControls();
}

void RadioTelescope::StopManualSlew() {
    slewTimer_ = false;
    manual_ = Direction::None;
    UpdateControls();
}

void RadioTelescope::ReleaseDirection() {
    if (manual_ == Direction::None) return;
    const bool eastWest = manual_ == Direction::East || manual_ == Direction::West;
    StopManualSlew();
    // Without the drive the new right ascension belongs to a new hour angle.
    if (eastWest && !tracking_) ClockTick();
}

void RadioTelescope::SlewTimerTick() {
    if (manual_ == Direction::None) return;
    Extended newDec = dec_, newRa = ra_, newHa = ha_;
    bool flipped = false;
    if (manual_ == Direction::North || manual_ == Direction::South) {
        newDec = dec_ + (poleFlip_ ? -step_ : step_);
        if (std::fabs(newDec) > 90) {
            services_.dialogs->beep();
            flipped = true;
            newDec = (newDec > 0 ? 180 : -180) - newDec;
            newRa += 12;
            newHa += 12;
        }
    } else {
        newRa = ra_ + step_;
        newHa = ha_ - step_;
    }
    if (HorizonTest(newDec, newHa)) {
        if (flipped) poleFlip_ = !poleFlip_;
        dec_ = newDec;
        ra_ = NormalizeHours(newRa);
        ha_ = newHa;
        UpdateControls();
        host_.PointingChanged();
        return;
    }
    const Direction d = manual_;
    StopManualSlew();
    addItem_ = false;
    UpdateControls();
    services_.dialogs->show(std::string("The Scope Has Reached the ") + DirectionName(d) + " Horizon Limit!",
                            "Slew Limit Reached!", Icon::Warning);
}

bool RadioTelescope::KeyPress(int key, bool keypad) {
    if (manual_ != Direction::None) return false;
    Direction d = Direction::None;
    const int k = std::toupper(key);
    if (keypad) {
        if (k == '4') d = Direction::East;
        else if (k == '8') d = Direction::North;
        else if (k == '2') d = Direction::South;
        else if (k == '6') d = Direction::West;
    } else {
        if (k == 'E') d = Direction::East;
        else if (k == 'N') d = Direction::North;
        else if (k == 'S') d = Direction::South;
        else if (k == 'W') d = Direction::West;
    }
    if (d == Direction::None) return false;
    PressDirection(d);
    return manual_ != Direction::None;
}

bool RadioTelescope::KeyRelease(int, bool) {
    if (manual_ == Direction::None) return false;
    ReleaseDirection();
    return true;
}

// ---------------------------------------------------------------------------
// Programmed slews

bool RadioTelescope::BeginSetCoordinates(SkyCoordsDialogModel& dialog) {
    if (programmed_) {
        programmedPaused_ = true;
        programmedTimer_ = false;
        const Answer a = services_.dialogs->ask(
            {"Terminate Current Slew?", "Slew Suspended", Buttons::YesNo, Icon::Question});
        programmedPaused_ = false;
        if (a == Answer::Yes)
            EndProgrammedSlew();
        else
            programmedTimer_ = true;
        return false;
    }
    if (targetRa_ == 0 && targetDec_ == 0) {
        targetRa_ = ra_;
        targetDec_ = dec_;
    }
    dialog = observatory::CoordinatesDialogForTarget(targetRa_, targetDec_, inputEpoch_);
    return true;
}

bool RadioTelescope::AcceptCoordinates(const SkyCoordsDialogModel& dialog) {
    const auto target = observatory::ReadCoordinatesDialog(dialog, *services_.dialogs);
    if (!target) return false;
    targetRa_ = target->ra;
    targetDec_ = target->dec;
    inputEpoch_ = target->epoch;
    return true;
}

SkyCoordsDialogModel RadioTelescope::HotListTarget(const observatory::ObjctDat& target) {
    targetRa_ = target.ra;
    targetDec_ = target.dec;
    inputEpoch_ = InputEpoch::J2000;
    return observatory::CoordinatesDialogFor(target.ra, target.dec, InputEpoch::J2000, false);
}

std::string RadioTelescope::DeclinationText() const { return SexaStr(targetDec_, 1, " Deg   ", " '   ", " \""); }

std::string RadioTelescope::TargetTexts() const {
    return "RA:  " + SexaStr(targetRa_, 2, " Hr   ", " M   ", " S") + "\r\nDec: " + DeclinationText();
}

void RadioTelescope::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    host_.CaptionChanged();
}

void RadioTelescope::StartProgrammedSlew() {
    if (!activated_ || programmed_ || manual_ != Direction::None) return;
    refreshClock_();
    lst_ = LocalSidereal();
    if (targetRa_ == ra_ && targetDec_ == dec_) {
        services_.dialogs->show("Telescope is at Target Coordinates!", "No Slew Needed!", Icon::Warning);
        return;
    }
    std::string question;
    Extended targetHa = ha_;
    if (transitOnly()) {
        if (services_.dialogs->ask({"Telescope Can Slew in Declination Only.", "Meridian Transit Telescope",
                                    Buttons::OKCancel, Icon::Information}) != Answer::OK)
            return;
        // The meridian telescope stays at its own hour angle (0, or 12 past a pole).
        if (!HorizonTest(targetDec_, ha_)) {
            services_.dialogs->show("Target Declination is Below the Horizon!\r\n\r\nDec: " + DeclinationText(),
                                    "Cannot Perform Slew", Icon::Error);
            return;
        }
        question = "Slew Telescope to Target Declination?\r\n\r\nDec: " + DeclinationText();
    } else {
        targetHa = lst_ - targetRa_;
        if (!HorizonTest(targetDec_, targetHa)) {
            services_.dialogs->show("Target Coordinates are Below the Horizon!\r\n\r\n" + TargetTexts(),
                                    "Cannot Perform Slew", Icon::Error);
            return;
        }
        question = "Slew Telescope to Target Coordinates?\r\n\r\n" + TargetTexts();
    }
    if (inputEpoch_ == InputEpoch::B1950) question += "\r\n\r\n(Input B1950.0 Coordinates Precessed to J2000.0.)";
    if (services_.dialogs->ask({question, "Confirm Slew", Buttons::YesNo, Icon::Question}) != Answer::Yes) return;

    SetRateIndex(radio_.maxRateIndex);
    if (radio_.testMode) {
        dec_ = targetDec_;
        if (!transitOnly()) {
            ra_ = NormalizeHours(targetRa_);
            ha_ = targetHa;
        }
        UpdateControls();
        host_.PointingChanged();
        return;
    }
    movingNorth_ = targetDec_ >= dec_;
    step_ = (movingNorth_ ? 1 : -1) * rate_ / 3600;
    decDone_ = false;
    programmed_ = true;
    programmedTimer_ = true;
    addItem_ = false;
    SetCaption("Slewing to Target Declination");
    UpdateControls();
}

void RadioTelescope::EndProgrammedSlew() {
    programmed_ = false;
    programmedTimer_ = false;
    SetCaption("");
    UpdateControls();
    host_.PointingChanged();
}

void RadioTelescope::ProgrammedSlewTick() {
    if (!programmed_ || programmedPaused_) return;
    bool arrived = false;
    if (!decDone_) {
        dec_ += step_;
        if (movingNorth_ ? dec_ >= targetDec_ : dec_ <= targetDec_) {
            dec_ = targetDec_;
            decDone_ = true;
        }
        arrived = decDone_ && transitOnly();
    } else if (transitOnly()) {
        arrived = true;
    } else {
        // The shorter way round.
        Extended b = targetRa_ - ra_;
        if (std::fabs(b) > 12) b = b > 0 ? b - 24 : b + 24;
        if (std::fabs(b) <= RaArrived) {
            arrived = true;
        } else {
            SetCaption("Slewing to Target Right Ascension");
            const Extended s = SignOf(b) * rate_ / 3600 / 15;
            const Extended moved = std::fabs(s) >= std::fabs(b) ? b : s;
            ra_ = NormalizeHours(ra_ + moved);
            ha_ -= moved;
            if (moved == b) {
                ra_ = targetRa_;
                arrived = true;
            }
        }
    }
    host_.PointingChanged();
    if (!arrived) return;
    EndProgrammedSlew();
    services_.dialogs->show("Telescope Has Reached the Target Coordinates", "Slew Completed", Icon::Information);
}

// ---------------------------------------------------------------------------
// The receiver and the hot list

void RadioTelescope::OpenReceiver() {
    receiverOpen_ = true;
    addItem_ = true;
    Attach(catalog_.FindNearest(OpenSearchDegrees, dec_, ra_));
    UpdateControls();
}

void RadioTelescope::ReceiverClosed() {
    receiverOpen_ = false;
    UpdateControls();
}

std::string RadioTelescope::AttachmentText() const {
    if (!receiverOpen_) return "Receiver off";
    if (!attached_) return "No pulsar attached";
    std::string name = "a pulsar";
    if (radio_.pulsarIdentification == IdentifyJ2000 ||
        (radio_.pulsarIdentification == IdentifyB1950 && attached_->bName.empty()))
        name = JName(*attached_);
    else if (radio_.pulsarIdentification == IdentifyB1950)
        name = BName(*attached_);
    return "Attached: " + name + ", " + FixedStr(attachedOffset_, 2) + "\xB0 from the pointing";
}

void RadioTelescope::RefreshAttachment(Extended maxDistance) {
    Attach(catalog_.FindNearest(maxDistance, dec_, ra_));
}

observatory::ObjctDat RadioTelescope::CurrentItem(const std::string& exerciseId) const {
    observatory::ObjctDat item;
    item.identifier = exerciseId == "UNKNOWN" ? exerciseId : "Qnra-" + exerciseId;
    const bool exact = radio_.exactPosition && attached_;
    item.ra = exact ? attached_->ra : ra_;
    item.dec = exact ? attached_->dec : dec_;
    return item;
}

void RadioTelescope::SetSaveRecordedData(bool enabled) {
    saveRecorded_ = enabled;
    UpdateControls();
}

SiteTexts RadioTelescope::siteTexts() const {
    return {radio_.siteName, SiteAngle(radio_.longitude, " E", " W"), SiteAngle(radio_.latitude, " N", " S")};
}

}  // namespace qnr::radio
