#include "photometry/Photometer.h"

#include <algorithm>
#include <cmath>

#include "app/Options.h"
#include "astro/StringUt.h"
#include "catalogs/SkyCatalogs.h"
#include "observatory/FieldView.h"
#include "observatory/HandOff.h"

namespace qnr::photometry {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

constexpr const char* Labels[FilterCount] = {" U: ", " B: ", " V: ", " R: ", " I: "};
constexpr Extended SkyOffsets[FilterCount] = {1.33L, 1.0L, 0.0L, -1.0L, -1.33L};
constexpr int TimesMs[IntegrationChoices] = {100, 1000, 10000, 100000};
constexpr std::size_t TargetNameChars = 18;
// 2.5 / ln 10: magnitudes per unit of relative flux error.
constexpr Extended MagPerRelativeError = 1.0857362047581294L;

constexpr const char* ReplaceSkyText = "Are you sure you want to replace a sky reading with one that may be invalid?";
constexpr const char* ClearedText = "Current Readings Cleared!";
constexpr const char* AllotmentText = "You have used your allotment of observations on this telescope!";
constexpr const char* NoSkyText = "Sky Reading Not Taken With Selected Filter!";
constexpr const char* OverflowText =
    "This star is too bright for the current settings!\r\n\r\nReduce the integration time, reduce the number of\r\n"
    "integrations, and/or use a smaller telescope.";
constexpr const char* SavedText =
    "Current readings added to results list.  View/Print/Save list under \"Tools\" -> \"Results Editors\" -> "
    "\"Observational Results\" on main Window.";

std::string PadLeft(const std::string& s, std::size_t width) {
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

// The field lists' distance, with the cosine of the pointing's declination.
Extended Distance(double ra, double dec, Extended pointRa, Extended pointDec) {
    Extended dRA = std::fabs(pointRa - ra);
    if (dRA > 12) dRA = 24 - dRA;
    const Extended a = std::cos(pointDec * DegToRad) * 15 * dRA, b = pointDec - dec;
    return std::sqrt(a * a + b * b);
}

}  // namespace

const char* FilterLabel(int filter) { return Labels[std::clamp(filter, 0, FilterCount - 1)]; }
int IntegrationMs(int index) { return TimesMs[std::clamp(index, 0, IntegrationChoices - 1)]; }
Extended IntegrationSeconds(int index) { return static_cast<Extended>(IntegrationMs(index)) / 1000; }

Extended RelativeApertureArea(int position) {
    const Extended p = position + 0.5L;
    return p * p / (10.5L * 10.5L);
}

Extended ApertureMagnitude(Extended m, Extended fraction) {
    return fraction > 0 ? m - 2.5L * std::log10(fraction) : 30.0L;
}

int TicksForIntegration(int integrationMs, int timerWaitMs) {
    const int wait = std::max(1, timerWaitMs);
    return std::max(1, (integrationMs + wait - 1) / wait);
}

std::array<Extended, FilterCount> ObjectMagnitudes(const FieldObject& o) {
    const Extended V = o.V;
    Extended B = V, R = V;
    if (o.BV < NoMagnitude) {
        B = V + o.BV;
        R = V - o.BV;
    }
    Extended U = B, I = B;
    if (o.UB < NoMagnitude) {
        U = B + o.UB;
        I = B - o.UB;
    }
    return {U, B, V, R, I};
}

Photometer::Photometer(platform::Services& services, const app::OptsRec& opts, observatory::TelescopeHandOff& handOff,
                       PhotometerLinks links, std::uint32_t seed)
    : services_(services), opts_(opts), handOff_(handOff), links_(std::move(links)), poisson_(seed, services.clock) {
    mags_.fill(30);
    pending_.objectId = SkyName;
}

Extended Photometer::skyTable(int telescope, int filter) const {
    if (telescope < 0 || telescope >= PhotometerScopes || filter < 0 || filter >= FilterCount) return 0;
    return skyTable_[static_cast<std::size_t>(telescope)][static_cast<std::size_t>(filter)];
}

int Photometer::timerIntervalMs() const { return tickMs_; }

Extended Photometer::SeeingSigma(int telescope) const {
    const auto& t = opts_.telescopes[static_cast<std::size_t>(std::clamp(telescope, 0, PhotometerScopes - 1))];
    return static_cast<Extended>(t.seeingDisk) / 2 / 3600;
}

Extended Photometer::ApertureDegrees() const { return handOff_.PhotometerApertureDegrees(); }
int Photometer::AperturePosition() const { return handOff_.PhotometerApertureRadius(); }

// ---- Showing and activation.

void Photometer::Show() {
    for (int i = 0; i < FilterCount; ++i)
        skyBrightness_[static_cast<std::size_t>(i)] = static_cast<Extended>(opts_.photometerSkyMag) + SkyOffsets[i];
    highestFilter_ = HighestFilter(opts_.includeRI);
    display_.highestFilter = highestFilter_;
    if (filter_ > highestFilter_) filter_ = 2;
    targetName_.clear();
    targetKind_ = KindNone;
    cachedGalaxy_.reset();
    recorded_ = true;
    display_.helpEnabled = !opts_.photometerHelpList.empty();
    display_.idText.clear();
    display_.recordEnabled = false;
    ShowSky();
    ShowMeanAndSnr();
    ShowMagnitudeStored();
    ShowElapsed();
    handOff_.DisableDrive();
    if (links_.logComponent) links_.logComponent("Photometer");
}

void Photometer::RefreshTarget() { target_ = handOff_.CurrentObject(); }

void Photometer::Activate() {
    telescope_ = std::clamp(handOff_.Telescope(), 0, PhotometerScopes - 1);
    sigma_ = SeeingSigma(telescope_);
    RefreshTarget();
    const Extended f = target_ ? ApertureFraction(target_->kind, *target_) : 0;
    switchSky_ = switchSky_ || f == 0;
    readingSky_ = switchSky_;
    touched_ = false;
    ShowIdText();
    ShowSky();
}

void Photometer::ShowIdText() {
    if (!opts_.showObjectId)
        display_.idText = "Unknown";
    else if (readingSky_ || !target_)
        display_.idText = SkyName;
    else
        display_.idText = target_->name.substr(0, TargetNameChars);
}

// ---- The target in the aperture.

bool Photometer::PrepareTarget(bool atStart) {
    RefreshTarget();
    // Without an object at the centre the reading can only be of the sky.
    readingSky_ = switchSky_ || !target_;
    if (atStart && !touched_ && readingSky_ && skyTable(telescope_, filter_) != 0 && target_ &&
        ApertureFraction(target_->kind, *target_) > 0) {
        if (services_.dialogs->ask({ReplaceSkyText, "Reading Sky!", Buttons::YesNo, Icon::Error}) == Answer::No)
            return false;
    }
    ShowIdText();
    display_.recordEnabled = false;
    if (target_ && target_->kind <= KindQuasar) {
        mags_ = ObjectMagnitudes(*target_);
        targetName_ = target_->name.substr(0, TargetNameChars);
        targetKind_ = target_->kind;
    }
    const Extended f = target_ ? ApertureFraction(target_->kind, *target_) : 0;
    for (Extended& m : mags_) m = ApertureMagnitude(m, f);

    // Every other object in the aperture adds its light, in every band.
    FieldObjectList near = handOff_.Catalogs().instrument.ObjectsNear(
        static_cast<double>(handOff_.Declination()), static_cast<double>(handOff_.RightAscension()),
        static_cast<double>(ApertureDegrees()));
    near.Reset();
    while (const FieldObject* n = near.Next()) {
        if (target_ && n->name == target_->name) continue;
        const Extended fn = ApertureFraction(n->kind, *n);
        if (!(fn > 0)) continue;
        const auto nm = ObjectMagnitudes(*n);
        for (int i = 0; i < FilterCount; ++i) {
            const auto k = static_cast<std::size_t>(i);
            mags_[k] = MagnitudeSum(mags_[k], ApertureMagnitude(nm[k], fn));
        }
    }
    if (readingSky_) targetName_ = SkyName;
    if (!target_) {
        targetName_ = SkyName;
        targetKind_ = KindNone;
    }
    return true;
}

Extended Photometer::PointFraction(const FieldObject& record) const {
    const Extended R = ApertureDegrees();
    const Extended d = Distance(record.ra, record.dec, handOff_.RightAscension(), handOff_.Declination());
    if (!(sigma_ > 0)) return d < R ? 1 : 0;
    return normal_.NormalFraction((R - d) / sigma_, -(R + d) / sigma_);
}

const GalaxyEntry* Photometer::FindGalaxy(const std::string& name) {
    if (cachedGalaxy_ && cachedGalaxy_->name == name) return &*cachedGalaxy_;
    GalaxyList& galaxies = handOff_.Catalogs().instrument.galaxies;
    const GalaxyEntry* found = nullptr;
    galaxies.Reset();
    while (const GalaxyEntry* g = galaxies.Next())
        if (g->name == name) {
            found = g;
            break;
        }
    galaxies.Reset();
    if (!found) return nullptr;
    cachedGalaxy_ = *found;
    return &*cachedGalaxy_;
}

Extended Photometer::GalaxyFraction(const GalaxyEntry& g, bool checkBrightness) {
    // A faint glow at the centre of a sky reading belongs to the sky.
    if (checkBrightness && readingSky_ && handOff_.CentreBrightness() < 80) return 0;
    const Extended a = g.major == 0 ? 1.0L / 60 : static_cast<Extended>(g.major) / 60;
    const Extended b = g.minor > 0 ? static_cast<Extended>(g.minor) / 60 : a * observatory::GalaxyAxisRatio(g);
    const Extended s = (a + b) / 4 * 0.6L;
    const Extended R = ApertureDegrees();
    // Measured from the pointing, so that the share falls as the aperture
    // leaves the galaxy's centre.
    const Extended d = Distance(g.ra, g.dec, handOff_.RightAscension(), handOff_.Declination());
    return normal_.NormalFraction((R - d) / s, -(R + d) / s);
}

Extended Photometer::ApertureFraction(int kind, const FieldObject& record) {
    if (!target_) return 0;
    switch (kind) {
    case KindStar:
    case KindAsteroid:
    case KindQuasar:
        return PointFraction(record);
    case KindGalaxy: {
        const GalaxyEntry* g = FindGalaxy(record.name);
        return g ? GalaxyFraction(*g, true) : 0;
    }
    default:
        return 0;
    }
}

Extended Photometer::ObjectValue(const FieldObject& object) {
    const Extended keep = sigma_;
    sigma_ = SeeingSigma(handOff_.Telescope());
    const Extended f = PointFraction(object);
    sigma_ = keep;
    return f;
}

Extended Photometer::GalaxyValue(const GalaxyEntry& galaxy) { return GalaxyFraction(galaxy, false); }

// ---- Readings.

bool Photometer::SkyPendingExempt() const { return opts_.computeMagnitudes && pending_.objectId == SkyName; }

std::string Photometer::UnrecordedQuestion() const {
    const std::string first = ("You have not recorded your current readings for \"" + pending_.objectId).substr(0, 64);
    return first + "\".\r\nIf you do not record them now, you cannot access them later.\r\n\r\nRecord current readings?";
}

void Photometer::Start() {
    if (display_.integrating) return;
    if (!PrepareTarget(true)) return;
    if (!recorded_ && !SkyPendingExempt()) {
        if (services_.dialogs->ask({UnrecordedQuestion(), "Telescope has Moved!", Buttons::YesNo, Icon::Error}) ==
            Answer::Yes)
            Record();
        if (!recorded_) {
            services_.dialogs->show(ClearedText, "Data Not Saved!", Icon::Error);
            ClearDisplays();
        }
    }
    recorded_ = true;
    pending_.timeValue = 0;
    if (readingSky_) {
        pending_.objectId = SkyName;
        pending_.kind = 0;
    } else {
        if (int* allotment = links_.allotment ? links_.allotment() : nullptr) {
            if (--*allotment < 0) {
                services_.dialogs->show(AllotmentText, "Photometer Will Close!", Icon::Error);
                closeRequested_ = true;
                return;
            }
        }
        if (opts_.showObjectId) {
            pending_.objectId = TrimRight(targetName_.substr(0, ObjectIdChars));
        } else {
            const std::string id = links_.exerciseId ? links_.exerciseId() : std::string("UNKNOWN");
            pending_.objectId = (id == "UNKNOWN" ? id : "Qnra-" + id).substr(0, ObjectIdChars);
        }
        pending_.kind = opts_.computeMagnitudes ? 1 : 0;
    }
    pending_.values.fill(0);
    pendingHas_.fill(false);
    pendingInvalid_.fill(false);
    pending_.spType = 0;
    pending_.remarks.clear();
    ShowSky();
    display_.magnitude.clear();
    display_.snr.clear();
    display_.mean.clear();

    if (skyTable(telescope_, filter_) == 0 && !readingSky_) {
        services_.dialogs->show(NoSkyText, "READ SKY!", Icon::Error);
        return;
    }
    display_.integrating = true;
    display_.recordEnabled = false;
    display_.counter = "0000000000";
    ResetSet();
    const auto f = static_cast<std::size_t>(filter_);
    const Extended skyMag =
        skyBrightness_[f] - 2.5L * std::log10(RelativeApertureArea(AperturePosition()));
    zp_ = static_cast<Single>(handOff_.TelescopeBaseMagnitude());
    starRate_ = std::pow(10.0L, (mags_[f] - zp_) / -2.5L);
    skyRate_ = std::pow(10.0L, (skyMag - zp_) / -2.5L);
    tickMs_ = std::max(1, static_cast<int>(opts_.photometerTimerWait));
    ticksPerIntegration_ = TicksForIntegration(IntegrationMs(timeIndex_), tickMs_);
    setSky_ = readingSky_;
    setFilter_ = filter_;
    ShowElapsed();
}

void Photometer::ResetSet() {
    ticks_ = 0;
    starCounts_ = skyCounts_ = 0;
    cumulative_ = unitCount_ = 0;
    raw_.clear();
    display_.rawLines.clear();
    completed_ = 0;
    lastSet_.reset();
}

void Photometer::Tick() {
    if (!display_.integrating) return;
    ++ticks_;
    const Extended b = opts_.photometerBaseCount;
    starCounts_ += poisson_.Next(b * starRate_);
    skyCounts_ += poisson_.Next(b * skyRate_);
    unitCount_ += opts_.photometerBaseCount;
    if (starCounts_ + skyCounts_ > CounterLimit) {
        Overflow();
        return;
    }
    std::string digits = std::to_string(static_cast<std::int64_t>(std::nearbyint(starCounts_ + skyCounts_)));
    display_.counter = digits.size() >= 10 ? digits.substr(0, 10) : std::string(10 - digits.size(), '0') + digits;
    // Whole ticks: a sum of tick lengths would end an integration a tick late.
    if (ticks_ >= ticksPerIntegration_) FinishIntegration();
    ShowElapsed();
}

void Photometer::FinishIntegration() {
    ++completed_;
    const Extended x = starCounts_ + skyCounts_;
    const Extended y = x + static_cast<Extended>(cumulative_);
    if (y > CounterLimit) {
        Overflow();
        return;
    }
    const auto counts = static_cast<std::int64_t>(std::nearbyint(x));
    cumulative_ = static_cast<std::int64_t>(std::nearbyint(y));
    raw_.push_back(counts);
    display_.rawLines.push_back(PadLeft(std::to_string(counts), 10));
    if (completed_ < count_) {
        ticks_ = 0;
        starCounts_ = skyCounts_ = 0;
    } else {
        FinishSet();
    }
    ShowMeanAndSnr();
}

void Photometer::FinishSet() {
    display_.integrating = false;
    const auto t = static_cast<std::size_t>(telescope_);
    const auto f = static_cast<std::size_t>(setFilter_);
    // The time the counts were gathered in: whole ticks, so that readings of
    // different integration times subtract one sky rate.
    const Extended seconds = static_cast<Extended>(count_) * ticksPerIntegration_ * tickMs_ / 1000;
    const Extended m = static_cast<Extended>(cumulative_) / seconds;
    const Extended u = static_cast<Extended>(unitCount_) / seconds;
    const Extended area = RelativeApertureArea(AperturePosition());
    SetResult r;
    r.sky = setSky_;
    r.counts = cumulative_;
    r.seconds = seconds;
    r.rate = m;
    if (setSky_) {
        skyTable_[t][f] = m / area;
        skyReadCounts_[t][f] = static_cast<Extended>(cumulative_);
        pending_.values[f] = m;
        pendingHas_[f] = true;
        pendingInvalid_[f] = false;
        ShowSky();
        if (!opts_.computeMagnitudes) recorded_ = false;
    } else if (skyTable_[t][f] != 0) {
        r.skyRate = area * skyTable_[t][f];
        const Extended net = m - r.skyRate;
        r.netCounts = net * seconds;
        r.snr = cumulative_ > 0 ? r.netCounts / std::sqrt(static_cast<Extended>(cumulative_)) : 0;
        r.magnitudeValid = net > 0 && u > 0;
        if (r.magnitudeValid) {
            r.magnitude = zp_ - 2.5L * std::log10(net / u);
            // The sky subtracted carries the noise of its own reading.
            const Extended skyCounts = r.skyRate * seconds, skyRead = skyReadCounts_[t][f];
            const Extended variance =
                static_cast<Extended>(cumulative_) + (skyRead > 0 ? skyCounts * skyCounts / skyRead : 0);
            r.magnitudeError = MagPerRelativeError * std::sqrt(variance) / r.netCounts;
        }
        const bool magnitudes = pending_.kind == 1;
        pending_.values[f] = magnitudes ? (r.magnitudeValid ? r.magnitude : 0) : m;
        pendingHas_[f] = magnitudes ? r.magnitudeValid : true;
        pendingInvalid_[f] = magnitudes && !r.magnitudeValid;
        recorded_ = !pendingHas_[f];
    } else {
        if (pending_.kind != 1) {
            pending_.values[f] = m;
            pendingHas_[f] = true;
        }
    }
    // Stamped with the observation clock: the reading's time on the sky.
    stamp_.SetJulianDate(handOff_.JulianDate());
    pending_.timeValue = stamp_.value;
    display_.ymd = stamp_.DecimalDayStr(3);
    display_.jd = stamp_.JulianDateStr(6);
    lastSet_ = r;
    if (opts_.computeMagnitudes) {
        if (skyTable_[t][f] > 0 && !setSky_) {
            display_.magnitude = r.magnitudeValid
                                     ? FilterLabel(setFilter_) + PadLeft(FixedStr(r.magnitude, 3), 6)
                                     : std::string("   ERROR!");
        } else if (setSky_) {
            display_.magnitude.clear();
        } else {
            display_.magnitude = " READ SKY!";
            services_.dialogs->beep();
        }
    }
    display_.recordEnabled = !recorded_;
    if (!(setSky_ && opts_.computeMagnitudes)) display_.recordEnabled = true;
}

void Photometer::Overflow() {
    display_.integrating = false;
    display_.recordEnabled = !recorded_;
    services_.dialogs->show(OverflowText, "Counter Overflow!", Icon::Error);
}

void Photometer::Stop() {
    display_.integrating = false;
    display_.recordEnabled = !recorded_;
}

void Photometer::SelectFilter(int filter) {
    if (display_.integrating) return;
    filter_ = std::clamp(filter, 0, highestFilter_);
    ResetSet();
    ShowMeanAndSnr();
    ShowMagnitudeStored();
    ShowSky();
    ShowElapsed();
}

void Photometer::SelectIntegrationTime(int index) {
    if (!display_.integrating) timeIndex_ = std::clamp(index, 0, IntegrationChoices - 1);
}

void Photometer::SelectIntegrations(int position) {
    if (!display_.integrating) count_ = std::clamp(position + 1, 1, MaxIntegrations);
}

void Photometer::MoveReadingSwitch(bool sky) {
    if (display_.integrating) return;
    switchSky_ = sky;
    touched_ = true;
    PrepareTarget(false);
}

void Photometer::Record() {
    if (display_.integrating) return;
    if (!links_.findOrCreate) {
        display_.recordEnabled = !recorded_;
        return;
    }
    ObsResult& entry = links_.findOrCreate(pending_.objectId, pending_.timeValue);
    entry.kind = pending_.kind;
    for (std::size_t f = 0; f < static_cast<std::size_t>(FilterCount); ++f)
        if (pendingHas_[f]) entry.values[f] = pending_.values[f];
    recorded_ = links_.review && links_.review(entry);
    if (recorded_) services_.dialogs->show(SavedText, "Data Saved", Icon::Information);
    display_.recordEnabled = !recorded_;
}

bool Photometer::CloseQuery() {
    if (display_.integrating) {
        services_.dialogs->beep();
        return false;
    }
    if (!recorded_ && !SkyPendingExempt()) {
        const Answer a =
            services_.dialogs->ask({UnrecordedQuestion(), "Data Not Recorded!", Buttons::YesNoCancel, Icon::Error});
        if (a == Answer::Cancel) {
            services_.dialogs->beep();
            return false;
        }
        if (a == Answer::Yes) Record();
    }
    return true;
}

void Photometer::Closed() { handOff_.InstrumentClosed(); }

// ---- Displays.

void Photometer::ClearDisplays() {
    display_.rawLines.clear();
    display_.mean.clear();
    display_.snr.clear();
    display_.magnitude.clear();
    display_.ymd.clear();
    display_.jd.clear();
    display_.counter = "0000000000";
    display_.elapsed = "  0.0";
    display_.completed = " 0";
}

void Photometer::ShowSky() {
    const Extended s = skyTable(telescope_, filter_);
    display_.sky = std::string(FilterLabel(filter_)) +
                   (s == 0 ? std::string("NO SKY!")
                           : PadLeft(FixedStr(RelativeApertureArea(AperturePosition()) * s, 1), 6));
}

void Photometer::ShowMeanAndSnr() {
    const bool objectDone = lastSet_ && !lastSet_->sky;
    display_.snr = objectDone ? PadLeft(FixedStr(lastSet_->snr, 1), 10) : std::string();
    const auto f = static_cast<std::size_t>(filter_);
    if (opts_.computeMagnitudes)
        display_.mean = objectDone ? PadLeft(FixedStr(lastSet_->rate, 1), 10) : std::string();
    else
        display_.mean = pending_.objectId != SkyName && pendingHas_[f] && pending_.values[f] > 0
                            ? PadLeft(FixedStr(pending_.values[f], 1), 10)
                            : std::string();
}

void Photometer::ShowMagnitudeStored() {
    const auto f = static_cast<std::size_t>(filter_);
    if (!opts_.computeMagnitudes || pending_.objectId == SkyName)
        display_.magnitude.clear();
    else if (pendingHas_[f])
        display_.magnitude = FilterLabel(filter_) + PadLeft(FixedStr(pending_.values[f], 3), 6);
    else if (pendingInvalid_[f])
        display_.magnitude = "   ERROR!";
    else
        display_.magnitude.clear();
}

void Photometer::ShowElapsed() {
    display_.elapsed = PadLeft(FixedStr(static_cast<Extended>(ticks_) * tickMs_ / 1000, 1), 5);
    display_.completed = " " + std::to_string(completed_);
}

// ---- The aperture dialog.

void ApertureSetting::Show() {
    position_ = remembered_ = handOff_.PhotometerApertureRadius();
}

void ApertureSetting::Move(int position) {
    position_ = std::clamp(position, MinAperture, MaxAperture);
    handOff_.SetPhotometerAperture(position_);
}

void ApertureSetting::Cancel() {
    if (position_ != remembered_) Move(remembered_);
}

Extended ApertureSetting::diameterArcmin() const { return handOff_.PhotometerApertureDegrees() * 120; }

}  // namespace qnr::photometry
