#include "observatory/Mount.h"

#include <cmath>

#include "astro/Coords.h"
#include "astro/MathStd.h"
#include "astro/StringUt.h"

namespace qnr::observatory {

namespace {

// Sidereal hours that pass in one hour of real time: the sky drifts at the
// sidereal rate, not at the rate of the clock.
constexpr Extended SiderealPerSolar = 1.00273790935L;


std::string Hms(Extended hours) {
    // Whole seconds, rounded; a value rounding to 24h shows as 00.
    long long s = static_cast<long long>(std::nearbyint(hours * 3600));
    s = ((s % 86400) + 86400) % 86400;
    return ZeroPadded(s / 3600, 2) + ":" + ZeroPadded(s / 60 % 60, 2) + ":" + ZeroPadded(s % 60, 2);
}

const char* DirectionName(Direction d) {
    switch (d) {
    case Direction::North: return "North";
    case Direction::South: return "South";
    case Direction::East: return "East";
    case Direction::West: return "West";
    default: return "";
    }
}

}  // namespace

PositionTexts FormatPosition(Extended raHours, Extended decDegrees) {
    PositionTexts t;
    long long tenths = static_cast<long long>(std::nearbyint(NormalizeHours(raHours) * 36000));
    tenths %= 24LL * 36000;
    long long seconds = tenths / 10;
    t.raClock = ZeroPadded(seconds / 3600, 2) + ":" + ZeroPadded(seconds / 60 % 60, 2) + ":" + ZeroPadded(seconds % 60, 2);
    t.raTenths = std::to_string(tenths % 10);
    t.sign = decDegrees >= 0 ? "+" : "-";
    AngleParts p = SplitAngleRounded(std::fabs(decDegrees), 0);
    t.decDegrees = ZeroPadded(p.whole, 2);
    t.decMinSec = ZeroPadded(p.minutes, 2) + ":" +
                  ZeroPadded(static_cast<long long>(std::nearbyint(p.seconds)) % 60, 2);
    return t;
}

SkyCoordsDialogModel CoordinatesDialogFor(Extended ra, Extended dec, InputEpoch epoch, bool epochEnabled) {
    SkyCoordsDialogModel dialog;
    AngleParts r = SplitAngleRounded(ra, 2);
    AngleParts d = SplitAngleRounded(dec, 1);
    dialog.raHr = std::to_string(r.whole);
    dialog.raMin = std::to_string(r.minutes);
    dialog.raSec = FixedStr(r.seconds, 2);
    // A declination between 0 and -1 degree keeps its sign as "-0".
    dialog.decDeg = (d.sign < 0 ? "-" : "") + std::to_string(d.whole);
    dialog.decMin = std::to_string(d.minutes);
    dialog.decSec = FixedStr(d.seconds, 1);
    dialog.epoch = epoch;
    dialog.epochEnabled = epochEnabled;
    return dialog;
}

SkyCoordsDialogModel CoordinatesDialogForTarget(Extended ra, Extended dec, InputEpoch epoch) {
    if (epoch == InputEpoch::B1950) {
        SkyPosition p;
        SetEquatorial(p, KindMean, EpochJ2000, JD_J2000);
        p.first = ra * 15 * DegToRad;
        p.second = dec * DegToRad;
        PrecessEquatorial(p, EpochB1950, JD_B1950);
        ra = NormalizeHours(p.first * RadToDeg / 15);
        dec = p.second * RadToDeg;
    }
    return CoordinatesDialogFor(ra, dec, epoch, true);
}

std::optional<DialogTarget> ReadCoordinatesDialog(const SkyCoordsDialogModel& dialog, platform::Dialogs& dialogs) {
    auto number = [](const std::string& s) -> std::optional<Extended> {
        std::string t = s;
        auto v = NextRealField(t, ' ');
        if (!v || !t.empty()) return std::nullopt;
        return *v;
    };
    auto h = number(dialog.raHr), m = number(dialog.raMin), s = number(dialog.raSec);
    Extended ra = h && m && s ? *h + *m / 60 + *s / 3600 : -1;
    if (!h || !m || !s || ra < 0 || ra > 24) {
        dialogs.show("Right Ascension is Invalid!", "Input Error!", platform::Icon::Error);
        return std::nullopt;
    }
    auto dd = number(dialog.decDeg), dm = number(dialog.decMin), ds = number(dialog.decSec);
    Extended dec = 100;
    if (dd && dm && ds) {
        Extended sign = *dd != 0 ? SignOf(*dd) : (dialog.decDeg.find('-') != std::string::npos ? -1 : 1);
        dec = *dd + sign * *dm / 60 + sign * *ds / 3600;
    }
    if (!dd || !dm || !ds || dec < -90 || dec > 90) {
        dialogs.show("Declination is Invalid!", "Input Error!", platform::Icon::Error);
        return std::nullopt;
    }
    DialogTarget target{ra, dec, dialog.epoch};
    if (dialog.epoch == InputEpoch::B1950) {
        SkyPosition p;
        SetEquatorial(p, KindMean, EpochB1950, JD_B1950);
        p.first = ra * 15 * DegToRad;
        p.second = dec * DegToRad;
        PrecessEquatorial(p, EpochJ2000, JD_J2000);
        target.ra = NormalizeHours(p.first * RadToDeg / 15);
        target.dec = p.second * RadToDeg;
    }
    return target;
}

TelescopeMount::TelescopeMount(platform::Services& services, app::OptsRec& opts, ObsDateTime& clock,
                               std::function<void()> refreshClock, MountHost& host)
    : services_(services), opts_(opts), clock_(clock), refreshClock_(std::move(refreshClock)), host_(host) {
    rate_ = 4 * opts_.baseSlewRate;
}

void TelescopeMount::TakeTelescope(int index) {
    if (index < 0 || index > 2) return;
    telescope_ = index;
    const app::TelescopeEntry& t = opts_.telescopes[static_cast<std::size_t>(index)];
    baseMag_ = static_cast<Extended>(opts_.baseMagnitude) + t.scopeFactor;
    finderOffset_ = static_cast<int>(std::nearbyint(t.finderFactor));
    scopeOffset_ = static_cast<int>(std::nearbyint(t.scopeFactor));
    const auto& c = opts_.camera;
    auto field = [&](std::int32_t pixels, Single micron) {
        return static_cast<Extended>(pixels) * micron * 0.001L * 206264.8L / (static_cast<Extended>(t.focalLength) * 60);
    };
    camWidth_ = field(c.imageWidth, c.pixelWidth);
    camHeight_ = field(c.imageHeight, c.pixelHeight);
    opts_.siteName = t.siteName;
    opts_.siteLongitude = t.longitude;
    opts_.siteLatitude = t.latitude;
    opts_.siteHorizonLimit = t.horizonLimit;
    opts_.siteAltitude = t.altitude;
    host_.ForgetField();
}

Extended TelescopeMount::magnification() const {
    if (!telescopeView_ || opts_.instrumentField <= 0) return 1;
    return static_cast<Extended>(opts_.finderField) * 60 / opts_.instrumentField;
}

Extended TelescopeMount::LocalSidereal() const { return LocalSiderealTime(clock_, opts_.siteLongitude); }

void TelescopeMount::Reset() {
    telescopeView_ = false;
    tracking_ = false;
    manual_ = Direction::None;
    programmed_ = false;
    slewTimer_ = slewTimer2_ = slewTimer2Paused_ = false;
    poleFlip_ = false;
    StopSound();
    controls_ = MountControls{};
    SetRate(2);
    controls_.instrumentPosition = 2;
    controls_.viewPosition = 1;
    refreshClock_();
    lst_ = LocalSidereal();
    SetRightAscension(lst_);
    SetDeclination(opts_.siteLatitude * RadToDeg);
    ha_ = 0;
    ResetDriftReference();
    UpdateControlsForDrive();
}

void TelescopeMount::SetRightAscension(Extended hours) { ra_ = NormalizeHours(hours); }
void TelescopeMount::SetDeclination(Extended degrees) { dec_ = degrees; }

bool TelescopeMount::HorizonTest(Extended decDegrees, Extended hourAngleHours) const {
    if (!opts_.limitSlewing) return true;
    if (std::fabs(dec_) > 90) return false;
    Extended phi = opts_.siteLatitude;
    Extended d = decDegrees * DegToRad;
    Extended h = hourAngleHours * TwoPi / 24;
    Extended alt = SafeArcSin(std::sin(d) * std::sin(phi) + std::cos(d) * std::cos(phi) * std::cos(h));
    return alt > opts_.siteHorizonLimit;
}

void TelescopeMount::SetRate(int index) {
    if (index < 0) index = 0;
    if (index > 4) index = 4;
    controls_.rateIndex = index;
    rate_ = std::ldexp(static_cast<Extended>(opts_.baseSlewRate), index);
}

void TelescopeMount::SetTelescopeView(bool telescope) {
    telescopeView_ = telescope;
    controls_.viewPosition = telescope ? 0 : 1;
    UpdateControlsForDrive();
}

void TelescopeMount::SetInstrumentOpen(bool open) {
    instrumentOpen_ = open;
    UpdateControlsForDrive();
}

void TelescopeMount::UpdateControlsForDrive() {
    bool on = tracking_;
    bool free = manual_ == Direction::None && !programmed_;
    // During a manual slew only the held button stays usable (for its release).
    controls_.nEnabled = on && (free || manual_ == Direction::North);
    controls_.sEnabled = on && (free || manual_ == Direction::South);
    controls_.eEnabled = on && (free || manual_ == Direction::East);
    controls_.wEnabled = on && (free || manual_ == Direction::West);
    controls_.rateEnabled = on && free;
    controls_.slewMenuEnabled = on && manual_ == Direction::None;
    controls_.viewEnabled = on && !instrumentOpen_;
    controls_.instrumentEnabled = on && !instrumentOpen_;
    controls_.readingEnabled = on && telescopeView_ && !instrumentOpen_;
    controls_.driveLit = on;
    controls_.nCaption = poleFlip_ ? "S" : "N";
    controls_.sCaption = poleFlip_ ? "N" : "S";
}

void TelescopeMount::SetDrive(bool on) {
    if (manual_ != Direction::None) return;
    tracking_ = on;
    if (!on) ResetDriftReference();
    UpdateControlsForDrive();
}

void TelescopeMount::ResetDriftReference() {
    refreshClock_();
    driftTime_ = clock_.value;
    driftRa_ = ra_;
}

void TelescopeMount::Activated() {
    justActivated_ = true;
    if (!everActivated_) {
        everActivated_ = true;
        firstDriftPending_ = true;
    }
}

void TelescopeMount::Drift() {
    if (firstDriftPending_) {
        firstDriftPending_ = false;
        SetRightAscension(lst_);
        ResetDriftReference();
    }
    if (justActivated_) {
        justActivated_ = false;
        return;
    }
    Extended elapsedHours = (static_cast<Extended>(clock_.value) - driftTime_) * 24;
    SetRightAscension(driftRa_ + elapsedHours * SiderealPerSolar);
    host_.PointingChanged();
}

void TelescopeMount::ClockTick() {
    if (inMessage_) return;
    refreshClock_();
    lst_ = LocalSidereal();
    if (++tickCount_ >= 10 || clockTexts_.date.empty()) {
        tickCount_ = 0;
        clockTexts_.date = clock_.LongDateStr();
        clockTexts_.localTime = Hms(clock_.local.AsDayFraction() * 24);
        clockTexts_.julianDate = FixedStr(clock_.JulianDate(), 6);
        clockTexts_.sidereal = Hms(lst_);
        clockTexts_.universal = Hms(clock_.ut.AsDayFraction() * 24);
    }
    Extended candidate = lst_ - ra_;
    if (tracking_ && !programmed_ && !HorizonTest(dec_, candidate)) {
        tracking_ = false;
        ResetDriftReference();
        UpdateControlsForDrive();
        // The message runs a nested event loop in which this timer goes on
        // ticking: the guard keeps the limit from being reported again.
        inMessage_ = true;
        services_.dialogs->show("The Scope Has Reached the Western Limit!\r\n\r\nThe Clock Drive Has Been Turned Off.",
                                "Horizon Limit Reached!", platform::Icon::Warning);
        inMessage_ = false;
    }
    bool slewing = manual_ != Direction::None || programmed_;
    if (justActivated_ || (!tracking_ && !slewing))
        Drift();
    else
        ha_ = candidate;
}

void TelescopeMount::PressDirection(Direction d) {
    if (d == Direction::None || manual_ != Direction::None || programmed_) return;
    bool enabled = (d == Direction::North && controls_.nEnabled) || (d == Direction::South && controls_.sEnabled) ||
                   (d == Direction::East && controls_.eEnabled) || (d == Direction::West && controls_.wEnabled);
    if (!enabled) return;
    Extended mag = magnification();
    decStep_ = raStep_ = 0;
    switch (d) {
    case Direction::North: decStep_ = rate_ / 3600 / mag; break;
    case Direction::South: decStep_ = -rate_ / 3600 / mag; break;
    case Direction::East: raStep_ = rate_ / 3600 / (mag * 15); break;
    case Direction::West: raStep_ = -rate_ / 3600 / (mag * 15); break;
    default: break;
    }
    PlaySound("servostart.wav");
    slewTimer_ = true;
    manual_ = d;
    UpdateControlsForDrive();
    controls_.nLit = d == Direction::North;
    controls_.sLit = d == Direction::South;
    controls_.eLit = d == Direction::East;
    controls_.wLit = d == Direction::West;
    host_.ForgetMarkedObject();
}

void TelescopeMount::StopManualSlew() {
    StopSound();
    slewTimer_ = false;
    manual_ = Direction::None;
    controls_.nLit = controls_.sLit = controls_.eLit = controls_.wLit = false;
    UpdateControlsForDrive();
}

void TelescopeMount::ReleaseDirection() {
    if (manual_ != Direction::None) StopManualSlew();
}

void TelescopeMount::StopSlews() {
    if (programmed_) {
        slewTimer2_ = false;
        programmed_ = false;
        slewFinished_ = false;
        SetRate(savedRateIndex_);
        if (!tracking_) ResetDriftReference();
    }
    StopManualSlew();
}

void TelescopeMount::SlewTimerTick() {
    if (manual_ == Direction::None) return;
    Extended newDec = dec_;
    Extended newRa = ra_;
    Extended newHa = ha_;
    bool flipped = false;
    if (manual_ == Direction::North || manual_ == Direction::South) {
        newDec = dec_ + (poleFlip_ ? -decStep_ : decStep_);
        if (std::fabs(newDec) > 90) {
            services_.dialogs->beep();
            flipped = true;
            newDec = newDec > 0 ? 180 - newDec : -180 - newDec;
            newRa += 12;
            newHa += 12;
        }
    } else {
        newRa = ra_ + raStep_;
        newHa = ha_ - raStep_;
    }
    if (HorizonTest(newDec, newHa)) {
        if (flipped) poleFlip_ = !poleFlip_;
        ha_ = newHa;
        SetRightAscension(newRa);
        SetDeclination(newDec);
        UpdateControlsForDrive();
        host_.PointingChanged();
    } else {
        Direction d = manual_;
        StopManualSlew();
        services_.dialogs->show(std::string("The Scope Has Reached the ") + DirectionName(d) + " Horizon Limit!",
                                "Slew Limit Reached!", platform::Icon::Warning);
    }
}

bool TelescopeMount::KeyPress(int key, bool keypad) {
    if (manual_ != Direction::None) return false;
    Direction d = Direction::None;
    int k = std::toupper(key);
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

bool TelescopeMount::KeyRelease(int, bool) {
    if (manual_ == Direction::None) return false;
    StopManualSlew();
    return true;
}

void TelescopeMount::SetTarget(Extended raHours, Extended decDegrees) {
    targetRa_ = raHours;
    targetDec_ = decDegrees;
}

bool TelescopeMount::BeginSetCoordinates(SkyCoordsDialogModel& dialog) {
    if (programmed_) {
        slewTimer2Paused_ = true;
        slewTimer2_ = false;
        platform::Answer a = services_.dialogs->ask(
            {"Terminate Current Slew?", "Slew Suspended", platform::Buttons::YesNo, platform::Icon::Question});
        slewTimer2Paused_ = false;
        if (a == platform::Answer::Yes)
            EndProgrammedSlew();
        else
            slewTimer2_ = true;
        return false;
    }
    if (targetRa_ == 0 && targetDec_ == 0) {
        targetRa_ = ra_;
        targetDec_ = dec_;
    }
    dialog = CoordinatesDialogForTarget(targetRa_, targetDec_, inputEpoch_);
    return true;
}

bool TelescopeMount::AcceptCoordinates(const SkyCoordsDialogModel& dialog) {
    const auto target = ReadCoordinatesDialog(dialog, *services_.dialogs);
    if (!target) return false;
    inputEpoch_ = target->epoch;
    targetRa_ = target->ra;
    targetDec_ = target->dec;
    return true;
}

std::string TelescopeMount::TargetTexts() const {
    return "RA:  " + SexaStr(targetRa_, 2, "h   ", "m   ", "s") + "\r\n" + "Dec: " +
           SexaStr(targetDec_, 1, "\xB0  ", "'   ", "\"");
}

void TelescopeMount::StartProgrammedSlew() {
    if (programmed_ || manual_ != Direction::None) return;
    refreshClock_();
    lst_ = LocalSidereal();
    targetHa_ = lst_ - targetRa_;
    if (!opts_.testMode) {
        if (targetRa_ == ra_ && targetDec_ == dec_) {
            services_.dialogs->show("Telescope is at Target Coordinates!", "No Slew Needed!",
                                    platform::Icon::Information);
            return;
        }
        if (!HorizonTest(targetDec_, targetHa_)) {
            services_.dialogs->show("Target Coordinates are Below the Horizon!\r\n\r\n" + TargetTexts(),
                                    "Cannot Perform Slew", platform::Icon::Warning);
            return;
        }
        std::string q = "Slew Telescope to Target Coordinates?\r\n\r\n" + TargetTexts();
        if (inputEpoch_ == InputEpoch::B1950) q += "\r\n\r\n(Input B1950.0 Coordinates Precessed to J2000.0.)";
        if (services_.dialogs->ask({q, "Confirm Slew", platform::Buttons::YesNo, platform::Icon::Question}) !=
            platform::Answer::Yes)
            return;
    }
    programmed_ = true;
    slewFinished_ = false;
    host_.ForgetMarkedObject();
    raReached_ = decReached_ = false;
    host_.Repaint();
    savedRateIndex_ = controls_.rateIndex;
    SetRate(opts_.slewSpeed);

    if (opts_.editMode) {
        ha_ = targetHa_;
        SetRightAscension(targetRa_);
        SetDeclination(targetDec_);
        SetRate(savedRateIndex_);
        raReached_ = decReached_ = true;
        programmed_ = false;
        slewFinished_ = true;
        if (!tracking_) ResetDriftReference();
        UpdateControlsForDrive();
        host_.PointingChanged();
        host_.Repaint();
        return;
    }
    Extended mag = magnification();
    movingNorth_ = targetDec_ >= dec_;
    progDecStep_ = rate_ * 10 / 3600 / mag * (movingNorth_ ? 1 : -1);
    Extended d = targetRa_ - ra_;
    if (std::fabs(d) > 12) d = -d;
    movingEast_ = d > 0;
    raReached_ = std::fabs(d) <= 0.00001L;
    progRaStep_ = SignOf(d) * 10 * rate_ / 3600 / (mag * 15);
    PlaySound("Emotor.wav");
    slewTimer2_ = true;
    UpdateControlsForDrive();
}

void TelescopeMount::EndProgrammedSlew() {
    slewTimer2_ = false;
    slewFinished_ = true;
    programmed_ = false;
    SetRate(savedRateIndex_);
    StopSound();
    // The sky drifts on from where the slew left the mount.
    if (!tracking_) ResetDriftReference();
    UpdateControlsForDrive();
    host_.Repaint();
    host_.PointingChanged();
}

void TelescopeMount::SlewTimer2Tick() {
    if (!programmed_ || slewTimer2Paused_) return;
    if (raReached_ && decReached_) {
        EndProgrammedSlew();
        return;
    }
    Extended newDec = dec_;
    if (!decReached_) {
        newDec = dec_ + progDecStep_;
        if (movingNorth_ ? !(targetDec_ > newDec) : targetDec_ >= newDec) {
            newDec = targetDec_;
            decReached_ = true;
        }
    }
    Extended newRa = ra_;
    if (!raReached_) {
        newRa = ra_ + progRaStep_;
        Extended diff = movingEast_ ? newRa - targetRa_ : targetRa_ - newRa;
        if (diff >= 0 && diff < 12) {
            newRa = targetRa_;
            raReached_ = true;
        }
        ha_ -= newRa - ra_;
    }
    SetRightAscension(newRa);
    SetDeclination(newDec);
    host_.PointingChanged();
}

void TelescopeMount::PlaySound(const std::string& name) {
    if (!opts_.soundEffects || !services_.sound) return;
    playing_ = name;
    services_.sound->playFile(services_.files->resolve(opts_.programFolder + name),
                              [this, name] { SoundEnded(name); });
}

void TelescopeMount::StopSound() {
    if (playing_.empty()) return;
    playing_.clear();
    if (services_.sound) services_.sound->stop();
}

void TelescopeMount::SoundEnded(const std::string& name) {
    if (playing_ != name) return;  // stopped or replaced meanwhile
    PlaySound(name == "Emotor.wav" ? "Emotor.wav" : "servocontin.wav");
}

}  // namespace qnr::observatory
