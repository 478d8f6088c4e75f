#pragma once
// The pulsars: the catalog read from its fixed-column text file, the search
// for the pulsar nearest the pointing, and the pulse train a receiver hears
// at any frequency (the catalog's pulse dispersed by its DM, with its flux
// spectrum), with the beam and noise helpers the receiver adds.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "astro/Expected.h"
#include "astro/Types.h"
#include "platform/Services.h"

namespace qnr {
class NormalTable;
class PoissonDeviate;
}  // namespace qnr

namespace qnr::radio {

struct PulsarRecord {
    std::string jName;  // J2000 name without its "J", at most 12 characters
    std::string bName;  // B1950 name without its "B", at most 8; may be empty
    Extended ra = 0;    // hours, J2000.0
    Extended dec = 0;   // degrees
    Extended period = 0;            // P0, seconds, at the epoch
    Extended periodDerivative = 0;  // seconds per second
    Extended epoch = 0;             // Julian Date of P0
    Single skyTemperature = 0;      // kelvin, the background at the pulsar
    Single dm = 0;                  // dispersion measure, pc cm^-3
    Single w50 = 0;                 // pulse width at half maximum, ms
    Single s400 = 0, s600 = 0, s1400 = 0;  // flux densities (relative units)
    bool operator==(const PulsarRecord&) const = default;
};

// "J" + the J2000 name, or "B" + the B1950 name.
std::string JName(const PulsarRecord& p);
std::string BName(const PulsarRecord& p);

// The period at a Julian Date, from P0 and its derivative.
Extended PeriodAt(const PulsarRecord& p, Extended jd);

// The catalog file: one pulsar a line in fixed columns (0-based positions);
// at most the first 510 characters are read and every line reaches 454.
struct CatalogColumn {
    const char* name;
    std::size_t position;
    std::size_t width;
};
inline constexpr CatalogColumn ColJName{"J2000 name", 0, 12};
inline constexpr CatalogColumn ColBName{"B1950 name", 12, 8};
inline constexpr CatalogColumn ColRa{"right ascension", 20, 16};  // degrees
inline constexpr CatalogColumn ColDec{"declination", 62, 16};
inline constexpr CatalogColumn ColPeriod{"period", 208, 22};
inline constexpr CatalogColumn ColPeriodDerivative{"period derivative", 240, 16};
inline constexpr CatalogColumn ColEpoch{"epoch", 266, 14};  // Julian Date - 2400000
inline constexpr CatalogColumn ColSkyTemperature{"sky temperature", 336, 8};
inline constexpr CatalogColumn ColDm{"dispersion measure", 350, 14};
inline constexpr CatalogColumn ColW50{"W50", 410, 10};
inline constexpr CatalogColumn ColS400{"S400", 430, 8};
inline constexpr CatalogColumn ColS600{"S600", 438, 8};
inline constexpr CatalogColumn ColS1400{"S1400", 446, 8};
inline constexpr std::size_t CatalogLineLength = 454;
inline constexpr std::size_t CatalogReadLength = 510;

// One line; the error says which field held what. A period must be above 0
// and the position on the sky, or the signal and the search are undefined.
Expected<PulsarRecord> ParseCatalogLine(const std::string& line);
// The line ParseCatalogLine reads back (exactly, for the digits written).
std::string FormatCatalogLine(const PulsarRecord& p);

struct CatalogFault {
    int line = 0;  // 1-based
    std::string what;
};

class PlsrList {
public:
    // False when the file cannot be opened (ioCode) or a line is damaged
    // (fault); the list is then empty and nothing else changed.
    bool Load(platform::FileSystem& files, const std::string& path);

    bool loaded() const { return loaded_; }
    int ioCode() const { return ioCode_; }
    const std::optional<CatalogFault>& fault() const { return fault_; }
    const std::vector<PulsarRecord>& records() const { return records_; }
    int Count() const { return static_cast<int>(records_.size()); }

    // The pulsar nearest the pointing (great-circle distance, any right
    // ascension, the poles included) that lies closer than maxDistance
    // degrees; null for none. On success distance() is its distance.
    const PulsarRecord* FindNearest(Extended maxDistance, Extended dec, Extended ra);
    Extended distance() const { return distance_; }

    // By name: "J0332+5434", "0332+5434", "B0329+54" or "0329+54", letter
    // case ignored; null when none has it.
    const PulsarRecord* Find(const std::string& name) const;

private:
    std::vector<PulsarRecord> records_;
    bool loaded_ = false;
    int ioCode_ = 2;
    std::optional<CatalogFault> fault_;
    Extended distance_ = 0;
};

// Seconds of delay of the signal at f1 MHz behind that at f2 MHz for a
// dispersion measure: 4150 x DM x (1/f1^2 - 1/f2^2).
inline constexpr Extended DispersionConstant = 4150;  // s MHz^2 / (pc cm^-3)
Extended DispersionDelay(Extended dm, Extended f1, Extended f2);

// The pulse train of one receiver set: 2000 noisy samples at 400 MHz, from
// which every frequency is served with its dispersion shift and flux.
class PlsrObj {
public:
    static constexpr int Samples = 2000;
    // The Poisson generator seeds the process generator from the clock on
    // the first Setup (no clock: the seed stays as it is).
    explicit PlsrObj(platform::Clock* clock = nullptr);
    ~PlsrObj();
    PlsrObj(const PlsrObj&) = delete;
    PlsrObj& operator=(const PlsrObj&) = delete;

    // Builds the train for the record (none: silence) with sample interval
    // dt seconds at the Julian Date jd.
    void Setup(const PulsarRecord* record, Extended dt, Extended jd);
    // Advances the read index (after the loop's end back to 1), then SampleAt.
    Single NextSample(Extended freq);
    Single SampleAt(Extended freq) const;
    // The sample t seconds after the train's start, interpolated, without the
    // dispersion shift; the train repeats after its loop of whole periods.
    Extended SoundSample(Extended freq, Extended t) const;
    // Seconds by which the signal at freq leads that at 400 MHz.
    Extended DispersionAdvance(Extended freq) const;
    // Straight lines through the three catalog fluxes, extended beyond them.
    Extended FluxAt(Extended freq) const;

    Extended period() const { return period_; }
    Extended referenceTime() const { return referenceTime_; }  // Julian Date - 2400000
    Extended sampleInterval() const { return dt_; }
    Extended sigma() const { return sigma_; }
    Extended f400() const { return f400_; }
    bool fine() const { return fine_; }
    // The samples that hold a whole number of periods (the whole buffer when
    // one period is longer than the train), and the 1-based read index.
    int loopLength() const { return loop_; }
    int readIndex() const { return index_; }
    // buffer[0] is sample 1.
    const std::vector<Single>& buffer() const { return buffer_; }

private:
    platform::Clock* clock_;
    std::vector<Single> buffer_;
    std::unique_ptr<NormalTable> normal_;
    std::unique_ptr<PoissonDeviate> poisson_;
    Extended dt_ = 0, span_ = 0, period_ = 0, referenceTime_ = 0, sigma_ = 0;
    Extended s400_ = 0, s600_ = 0, s1400_ = 0, f400_ = 1e-5L, k_ = 0;
    bool fine_ = true;
    int loop_ = Samples;
    int index_ = Samples;
};

// The beam of an aperture A metres at freq MHz (1.22 lambda / D), degrees.
Extended HalfBeam(Extended freq, Extended aperture);
Extended BeamWidthFactor(Extended halfBeam);
// The distance within which a pulsar is in the beam: half a set beam width,
// else three beam-width factors.
Extended BeamLimit(Extended beamWidthOption, Extended widthFactor);
Extended BeamFactor(Extended beamWidthOption, Extended widthFactor, Extended distance);
// Planck's law in cgs units.
Extended BlackbodyRadiance(Extended nu, Extended temperature);

// One receiver display point: the pulse, scaled by the aperture and the
// beam, plus thermal noise of the sky and the detector.
struct ChannelInputs {
    Extended freq = 400;         // MHz
    Extended aperture = 100;     // metres
    Extended beamFactor = 1;     // of the attached pulsar's distance
    bool inBeam = false;
    bool master = true;          // the master advances the train
    Extended skyTemperature = 50;       // kelvin
    Extended detectorTemperature = 50;  // kelvin
    Extended sweepSeconds = 1;          // the receiver's "Horz. Secs"
    Extended background = 5;
};
Extended ChannelSample(PlsrObj& train, const ChannelInputs& in, PoissonDeviate& noise);

}  // namespace qnr::radio
