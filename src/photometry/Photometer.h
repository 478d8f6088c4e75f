#pragma once
// The photoelectric photometer: U, B, V (R, I) readings of the object in a
// round aperture and of the sky, counted tick by tick with Poisson noise,
// with the mean count rate, the signal-to-noise figure and the
// sky-subtracted magnitude, and the pending result that is recorded into the
// observational results list. The window only shows what this computes.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "astro/DateTime.h"
#include "astro/Types.h"
#include "catalogs/ExtendedObjects.h"
#include "catalogs/FieldObject.h"
#include "catalogs/Star_Cat.h"
#include "photometry/ObsResult.h"
#include "photometry/PhotStat.h"
#include "platform/Services.h"

namespace qnr::app { struct OptsRec; }
namespace qnr::observatory { class TelescopeHandOff; }

namespace qnr::photometry {

inline constexpr int PhotometerScopes = 3;
inline constexpr int IntegrationChoices = 4;
inline constexpr int MaxIntegrations = 5;
// The aperture position (radius in view pixels) and its range.
inline constexpr int DefaultAperture = 10;
inline constexpr int MinAperture = 5;
inline constexpr int MaxAperture = 150;
// Target kind 4: nothing at the aperture centre.
inline constexpr std::uint8_t KindNone = 4;
inline constexpr const char* SkyName = "Sky";
inline constexpr std::int64_t CounterLimit = 2147483647;

// " U: " ... " I: "
const char* FilterLabel(int filter);
// The integration times of the time switch, in milliseconds.
int IntegrationMs(int index);
Extended IntegrationSeconds(int index);

// (p + 0.5)^2 / 10.5^2: 1 at the default aperture.
Extended RelativeApertureArea(int position);
// m - 2.5 log10(f), or 30 (no light) for f <= 0.
Extended ApertureMagnitude(Extended m, Extended fraction);
// The whole ticks of an integration: the first k with k x wait >= the time.
int TicksForIntegration(int integrationMs, int timerWaitMs);

// U, B, V, R, I of a catalog object from V, B-V and U-B; an unknown colour
// (30 or more) leaves the band equal to the one it is measured from.
std::array<Extended, FilterCount> ObjectMagnitudes(const FieldObject& object);

// What a completed set found, for the window and for qnrtool.
struct SetResult {
    bool sky = false;
    std::int64_t counts = 0;       // all counts of the set
    Extended seconds = 0;          // integrated time of the set (whole ticks)
    Extended rate = 0;             // mean counts per second
    Extended skyRate = 0;          // sky counts per second in the aperture (object readings)
    Extended netCounts = 0;        // counts less the sky's share (object readings)
    Extended snr = 0;              // net / sqrt(all counts); 0 for the sky
    bool magnitudeValid = false;   // net counts above zero
    Extended magnitude = 0;
    Extended magnitudeError = 0;   // from the counts of this set and of the sky reading
};

// The window's texts and switches.
struct PhotometerDisplay {
    std::string idText, elapsed = "  0.0", completed = " 0";
    std::vector<std::string> rawLines;
    std::string mean, sky, snr, magnitude, ymd, jd;
    std::string counter = "0000000000";
    bool integrating = false;
    bool recordEnabled = false;
    bool helpEnabled = false;
    int highestFilter = 2;
};

// What the photometer needs from the running program besides the telescope.
struct PhotometerLinks {
    // A "Component:" entry of the user log.
    std::function<void(const std::string&)> logComponent;
    // The exercise identifier, "UNKNOWN" when none was given.
    std::function<std::string()> exerciseId;
    // The current telescope's allotment counter; null when unlimited.
    std::function<int*()> allotment;
    // The results list: the entry of an ID and time, and the "Observational
    // Data" dialog on it (true for OK). Without them nothing is recorded.
    std::function<ObsResult&(const std::string&, double)> findOrCreate;
    std::function<bool(ObsResult&)> review;
};

class Photometer final : public InstrumentAcceptance {
public:
    // seed 0 seeds the process generator from the clock (once, at start).
    Photometer(platform::Services& services, const app::OptsRec& opts, observatory::TelescopeHandOff& handOff,
               PhotometerLinks links = {}, std::uint32_t seed = 0);

    // The window is shown by the telescope window / it becomes active again.
    void Show();
    void Activate();

    // StrtBtn, StpBtn, and the PhotoTimer tick.
    void Start();
    void Stop();
    void Tick();

    void SelectFilter(int filter);
    void SelectIntegrationTime(int index);
    void SelectIntegrations(int position);  // n = position + 1
    // RdngSlider: the student moved the Reading switch.
    void MoveReadingSwitch(bool sky);
    // The aperture dialog closed: the sky shown is the new aperture's.
    void ApertureChanged() { ShowSky(); }

    // Record1 (Record/Review).
    void Record();
    // Closing: false keeps the window open (after a beep when integrating).
    bool CloseQuery();
    // The window is hidden: the telescope gets its controls back.
    void Closed();
    // The allotment ran out at Start: the window must close.
    bool TakeCloseRequest() { return std::exchange(closeRequested_, false); }

    // The share of a record's light inside the aperture at the pointing;
    // 0 for every record while the telescope has no target.
    Extended ApertureFraction(int kind, const FieldObject& record);
    // The field query's choice of the object at the centre (no target yet).
    Extended ObjectValue(const FieldObject& object) override;
    Extended GalaxyValue(const GalaxyEntry& galaxy) override;

    const PhotometerDisplay& display() const { return display_; }
    bool integrating() const { return display_.integrating; }
    int timerIntervalMs() const;
    int filter() const { return filter_; }
    int integrationIndex() const { return timeIndex_; }
    int integrations() const { return count_; }
    bool readingSky() const { return readingSky_; }
    bool switchAtSky() const { return switchSky_; }
    bool recorded() const { return recorded_; }
    const ObsResult& pending() const { return pending_; }
    const std::optional<FieldObject>& target() const { return target_; }
    const std::string& targetName() const { return targetName_; }
    const std::array<Extended, FilterCount>& apertureMagnitudes() const { return mags_; }
    Extended skyTable(int telescope, int filter) const;
    // The last completed set.
    const std::optional<SetResult>& lastSet() const { return lastSet_; }
    const std::vector<std::int64_t>& rawCounts() const { return raw_; }
    int ticksThisIntegration() const { return ticks_; }
    int completedIntegrations() const { return completed_; }

private:
    bool PrepareTarget(bool atStart);
    void RefreshTarget();
    void ShowIdText();
    void ResetSet();
    void FinishIntegration();
    void FinishSet();
    void Overflow();
    void ClearDisplays();
    void ShowSky();
    void ShowMeanAndSnr();
    void ShowMagnitudeStored();
    void ShowElapsed();
    std::string UnrecordedQuestion() const;
    bool SkyPendingExempt() const;
    Extended PointFraction(const FieldObject& record) const;
    Extended GalaxyFraction(const GalaxyEntry& galaxy, bool checkBrightness);
    const GalaxyEntry* FindGalaxy(const std::string& name);
    Extended SeeingSigma(int telescope) const;
    Extended ApertureDegrees() const;
    int AperturePosition() const;

    platform::Services& services_;
    const app::OptsRec& opts_;
    observatory::TelescopeHandOff& handOff_;
    PhotometerLinks links_;

    int filter_ = 2, timeIndex_ = 1, count_ = 3;
    int highestFilter_ = 2;
    int telescope_ = 0;
    Extended sigma_ = 0;  // degrees
    bool switchSky_ = true, readingSky_ = true, touched_ = false;
    std::optional<FieldObject> target_;
    std::string targetName_;
    std::uint8_t targetKind_ = KindNone;
    std::array<Extended, FilterCount> mags_{};
    std::array<std::array<Extended, FilterCount>, PhotometerScopes> skyTable_{};
    // The counts of each sky reading, for the error of the subtracted sky.
    std::array<std::array<Extended, FilterCount>, PhotometerScopes> skyReadCounts_{};
    std::array<Extended, FilterCount> skyBrightness_{};
    Single zp_ = 0;
    Extended starRate_ = 0, skyRate_ = 0;
    int tickMs_ = 100, ticksPerIntegration_ = 10;
    int ticks_ = 0;  // of the current integration
    Extended starCounts_ = 0, skyCounts_ = 0;
    std::int64_t cumulative_ = 0, unitCount_ = 0;
    std::vector<std::int64_t> raw_;
    int completed_ = 0;
    bool setSky_ = false;  // the set under way is a sky reading
    int setFilter_ = 2;
    std::optional<SetResult> lastSet_;

    ObsResult pending_;
    // Which filters of the pending result hold a reading, and whether a
    // magnitude of that filter could be computed: 0 is a real magnitude.
    std::array<bool, FilterCount> pendingHas_{};
    std::array<bool, FilterCount> pendingInvalid_{};
    bool recorded_ = true;
    bool closeRequested_ = false;
    ObsDateTime stamp_;
    PoissonDeviate poisson_;
    NormalTable normal_{10};
    std::optional<GalaxyEntry> cachedGalaxy_;
    PhotometerDisplay display_;
};

// The aperture dialog "Set Photometer Aperture" without its window.
class ApertureSetting {
public:
    explicit ApertureSetting(observatory::TelescopeHandOff& handOff) : handOff_(handOff) {}
    // On show: the telescope's position, remembered for Cancel.
    void Show();
    // ApSzScroll moved: applied at once.
    void Move(int position);
    void Default() { Move(DefaultAperture); }
    // OK keeps the new position (true when it changed); Cancel restores.
    bool Ok() const { return position_ != remembered_; }
    void Cancel();
    int position() const { return position_; }
    // The aperture's diameter in arcminutes.
    Extended diameterArcmin() const;

private:
    observatory::TelescopeHandOff& handOff_;
    int position_ = DefaultAperture;
    int remembered_ = DefaultAperture;
};

}  // namespace qnr::photometry
