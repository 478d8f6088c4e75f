#include "radio/Pulsars.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "astro/Coords.h"
#include "astro/MathStd.h"
#include "astro/StringUt.h"
#include "help/TextLists.h"
#include "photometry/PhotStat.h"

namespace qnr::radio {

namespace {

// A catalog of tens of thousands of pulsars stays far below this.
constexpr std::size_t MaxCatalogBytes = 64u << 20;

std::string Field(const std::string& line, const CatalogColumn& c) {
    if (line.size() <= c.position) return {};
    return line.substr(c.position, c.width);
}

std::string TrimRight(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
    return s;
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Right-aligned in the column, a space kept in front so that neighbouring
// columns never run together.
void Put(std::string& line, const CatalogColumn& c, const std::string& text) {
    std::string t = text.substr(0, c.width - 1);
    line.replace(c.position + c.width - t.size(), t.size(), t);
}

int Round(Extended x) { return static_cast<int>(std::nearbyint(x)); }

}  // namespace

std::string JName(const PulsarRecord& p) { return "J" + p.jName; }
std::string BName(const PulsarRecord& p) { return p.bName.empty() ? std::string() : "B" + p.bName; }

Extended PeriodAt(const PulsarRecord& p, Extended jd) {
    return p.period + (jd - p.epoch) * 86400 * p.periodDerivative;
}

Expected<PulsarRecord> ParseCatalogLine(const std::string& lineIn) {
    const std::string line = lineIn.substr(0, CatalogReadLength);
    if (line.size() < CatalogLineLength)
        return Fail("the line ends at column " + std::to_string(line.size()) + ", before the fluxes (column " +
                    std::to_string(CatalogLineLength) + ")");
    PulsarRecord p;
    std::string why;
    auto number = [&](const CatalogColumn& c) -> Extended {
        if (!why.empty()) return 0;
        std::string text = Field(line, c);
        auto v = NextRealField(text, '\0');
        if (!v || !std::isfinite(*v)) {
            why = std::string("the ") + c.name + " field '" + TrimRight(Field(line, c)) + "' is not a number";
            return 0;
        }
        return *v;
    };
    p.jName = TrimRight(Field(line, ColJName));
    p.bName = TrimRight(Field(line, ColBName));
    const Extended raDeg = number(ColRa);
    p.dec = number(ColDec);
    p.period = number(ColPeriod);
    p.periodDerivative = number(ColPeriodDerivative);
    p.epoch = number(ColEpoch) + 2400000;
    p.skyTemperature = static_cast<Single>(number(ColSkyTemperature));
    p.dm = static_cast<Single>(number(ColDm));
    p.w50 = static_cast<Single>(number(ColW50));
    p.s400 = static_cast<Single>(number(ColS400));
    p.s600 = static_cast<Single>(number(ColS600));
    p.s1400 = static_cast<Single>(number(ColS1400));
    if (!why.empty()) return Fail(why);
    if (p.jName.empty()) return Fail("the J2000 name is empty");
    if (raDeg < 0 || raDeg > 360) return Fail("the right ascension " + FixedStr(raDeg, 4) + " lies outside 0 to 360 degrees");
    if (p.dec < -90 || p.dec > 90) return Fail("the declination " + FixedStr(p.dec, 4) + " lies outside -90 to +90 degrees");
    if (p.period <= 0) return Fail("the period " + FixedStr(p.period, 6) + " is not above 0");
    p.ra = raDeg * 24 / 360;
    return p;
}

std::string FormatCatalogLine(const PulsarRecord& p) {
    std::string line(CatalogLineLength, ' ');
    line.replace(ColJName.position, std::min(p.jName.size(), ColJName.width), p.jName.substr(0, ColJName.width));
    line.replace(ColBName.position, std::min(p.bName.size(), ColBName.width), p.bName.substr(0, ColBName.width));
    Put(line, ColRa, FixedStr(p.ra * 360 / 24, 9));
    Put(line, ColDec, FixedStr(p.dec, 9));
    Put(line, ColPeriod, FixedStr(p.period, 15));
    Put(line, ColPeriodDerivative, SciStr(p.periodDerivative, 6));
    Put(line, ColEpoch, FixedStr(p.epoch - 2400000, 4));
    Put(line, ColSkyTemperature, FixedStr(p.skyTemperature, 1));
    Put(line, ColDm, FixedStr(p.dm, 3));
    Put(line, ColW50, FixedStr(p.w50, 3));
    Put(line, ColS400, FixedStr(p.s400, 2));
    Put(line, ColS600, FixedStr(p.s600, 2));
    Put(line, ColS1400, FixedStr(p.s1400, 2));
    return line;
}

// ---------------------------------------------------------------------------
// The catalog

bool PlsrList::Load(platform::FileSystem& files, const std::string& requested) {
    records_.clear();
    loaded_ = false;
    fault_.reset();
    ioCode_ = 2;
    distance_ = 0;
    if (requested.empty()) return false;
    const std::string path = files.resolve(requested);
    if (files.isFolder(path)) {
        ioCode_ = 5;
        return false;
    }
    platform::ReadResult file = files.readFile(path, MaxCatalogBytes);
    ioCode_ = file.code;
    if (file.code != 0) return false;
    std::vector<PulsarRecord> records;
    int number = 0;
    for (const std::string& line : help::SplitTextLines(file.bytes)) {
        ++number;
        // Blank lines (a trailing one above all) carry no pulsar.
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        auto record = ParseCatalogLine(line);
        if (!record) {
            fault_ = CatalogFault{number, record.error()};
            return false;
        }
        records.push_back(std::move(*record));
    }
    records_ = std::move(records);
    loaded_ = true;
    return true;
}

const PulsarRecord* PlsrList::FindNearest(Extended maxDistance, Extended dec, Extended ra) {
    distance_ = 0;
    if (!loaded_) return nullptr;
    // Every record is looked at: a few thousand cosine sums a second cost
    // nothing, and no right-ascension window is right near a pole or at 0 h.
    const PulsarRecord* best = nullptr;
    Extended bestDistance = maxDistance;
    for (const PulsarRecord& p : records_) {
        if (std::fabs(p.dec - dec) >= bestDistance) continue;
        const Extended d = SeparationDeg(static_cast<double>(ra), static_cast<double>(dec),
                                         static_cast<double>(p.ra), static_cast<double>(p.dec));
        if (d < bestDistance) {
            best = &p;
            bestDistance = d;
        }
    }
    if (best) distance_ = bestDistance;
    return best;
}

const PulsarRecord* PlsrList::Find(const std::string& nameIn) const {
    std::string name = Upper(nameIn);
    bool j = true, b = true;
    if (!name.empty() && name[0] == 'J') {
        b = false;
        name.erase(0, 1);
    } else if (!name.empty() && name[0] == 'B') {
        j = false;
        name.erase(0, 1);
    }
    if (name.empty()) return nullptr;
    for (const PulsarRecord& p : records_)
        if ((j && Upper(p.jName) == name) || (b && !p.bName.empty() && Upper(p.bName) == name)) return &p;
    return nullptr;
}

Extended DispersionDelay(Extended dm, Extended f1, Extended f2) {
    return DispersionConstant * dm * (1 / (f1 * f1) - 1 / (f2 * f2));
}

// ---------------------------------------------------------------------------
// The pulse train

PlsrObj::PlsrObj(platform::Clock* clock) : clock_(clock) {}
PlsrObj::~PlsrObj() = default;

Extended PlsrObj::FluxAt(Extended freq) const {
    if (freq >= 600) return s600_ + (freq - 600) * (s1400_ - s600_) / 800;
    return s400_ + (freq - 400) * (s600_ - s400_) / 200;
}

Extended PlsrObj::DispersionAdvance(Extended freq) const {
    if (freq <= 0) return 0;
    return k_ * (1 / (400.0L * 400.0L) - 1 / (freq * freq));
}

void PlsrObj::Setup(const PulsarRecord* record, Extended dt, Extended jd) {
    // A train needs time to pass between its samples.
    dt_ = dt > 0 && std::isfinite(dt) ? dt : 1e-3L;
    span_ = Samples * dt_;
    if (buffer_.empty()) {
        buffer_.assign(Samples, 0.0f);
        normal_ = std::make_unique<NormalTable>(10);
        poisson_ = std::make_unique<PoissonDeviate>(0, clock_);
    }
    const bool usable = record && record->period > 0 && std::isfinite(record->period);
    if (!usable) {
        std::fill(buffer_.begin(), buffer_.end(), 0.0f);
        loop_ = Samples;
        index_ = Samples;
        s400_ = s600_ = s1400_ = 0;
        f400_ = 1e-5L;
        k_ = 0;
        period_ = 0;
        return;
    }
    const Extended t = (jd - record->epoch) * 86400;
    const Extended dP = t * record->periodDerivative;
    period_ = record->period + dP;
    // A catalog's spin-down reaching back past the period's birth would give
    // no period at all; the epoch's own then serves.
    if (!(period_ > 0)) period_ = record->period;
    const Extended mean = record->period + dP / 2 > 0 ? record->period + dP / 2 : record->period;
    const Extended f = Frac(t / mean);
    referenceTime_ = (jd - 2400000) + (0.5L - f) * period_ / 86400;

    sigma_ = record->w50 <= 0.1f ? 4.2466090826475e-5L : static_cast<Extended>(record->w50) * 0.001L / 2.35482L;
    s400_ = record->s400;
    s600_ = record->s600;
    s1400_ = record->s1400;
    f400_ = std::max<Extended>(FluxAt(400), 1e-5L);
    k_ = static_cast<Extended>(record->dm) * DispersionConstant;

    fine_ = dt_ < 0.3L * period_;
    Extended tau = period_ / 2, r = 0, previous = 0;
    for (int i = 0; i < Samples; ++i) {
        tau += dt_;
        const Extended u = tau / period_;
        Extended phi = Frac(u);
        Extended sample = 0;
        if (fine_) {
            if (phi > 0.5L) phi -= 1;
            const Extended v = phi * period_ / sigma_;
            const Extended w = normal_->NormalFraction(v, previous);
            sample = std::fabs(phi) <= 0.3L ? poisson_->Next(f400_ * w) : 0;
            previous = v;
        } else {
            const Extended k = std::nearbyint(u - r);
            sample = poisson_->Next(f400_ * k);
            r = std::nearbyint(u);
        }
        buffer_[static_cast<std::size_t>(i)] = static_cast<Single>(sample);
    }
    const Extended whole = std::trunc(span_ / period_);
    // A period longer than the train holds no whole period: the train then
    // loops over all its samples, so that every index stays in it.
    loop_ = whole < 1 ? Samples : std::clamp(Round(whole * period_ / dt_), 1, Samples);
    index_ = loop_;
}

Single PlsrObj::NextSample(Extended freq) {
    index_ = index_ >= loop_ ? 1 : index_ + 1;
    return SampleAt(freq);
}

Single PlsrObj::SampleAt(Extended freq) const {
    if (buffer_.empty()) return 0;
    if (freq == 400) return buffer_[static_cast<std::size_t>(index_ - 1)];
    // The shift wraps into the loop however many loops it spans.
    const long long shift = std::llround(DispersionAdvance(freq) / dt_);
    long long j = (static_cast<long long>(index_) - 1 + shift) % loop_;
    if (j < 0) j += loop_;
    return static_cast<Single>(FluxAt(freq) * buffer_[static_cast<std::size_t>(j)] / f400_);
}

Extended PlsrObj::SoundSample(Extended freq, Extended t) const {
    if (buffer_.empty() || t < 0) return 0;
    const Extended loopSpan = loop_ * dt_;
    if (t >= loopSpan) t = Frac(t / loopSpan) * loopSpan;
    const Extended b = t / dt_;
    int i = static_cast<int>(std::trunc(b));  // 0-based
    if (i >= loop_) i = 0;
    const int j = i + 1 >= loop_ ? 0 : i + 1;
    const Extended a = buffer_[static_cast<std::size_t>(i)];
    const Extended c = buffer_[static_cast<std::size_t>(j)];
    return FluxAt(freq) / f400_ * (a + Frac(b) * (c - a));
}

// ---------------------------------------------------------------------------
// Beam and noise

Extended HalfBeam(Extended freq, Extended aperture) {
    if (freq <= 0 || aperture <= 0) return 180;
    return 3.66e8L / (freq * 1e6L) / aperture * RadToDeg;
}

Extended BeamWidthFactor(Extended halfBeam) { return halfBeam / 1.17741L; }

Extended BeamLimit(Extended beamWidthOption, Extended widthFactor) {
    return beamWidthOption > 0 ? beamWidthOption / 2 : 3 * widthFactor;
}

Extended BeamFactor(Extended beamWidthOption, Extended widthFactor, Extended distance) {
    if (beamWidthOption > 0) return 1;
    if (widthFactor <= 0) return 0;
    const Extended x = distance / widthFactor;
    return std::exp(-0.5L * x * x);
}

Extended BlackbodyRadiance(Extended nu, Extended temperature) {
    constexpr Extended TwoH = 1.3252151e-26L, C = 29979245800.0L, H = 6.6260755e-27L, K = 1.380658e-16L;
    if (temperature <= 0 || nu <= 0) return 0;
    return TwoH / (C * C) * nu * nu * nu / std::expm1(H * nu / (K * temperature));
}

Extended ChannelSample(PlsrObj& train, const ChannelInputs& in, PoissonDeviate& noise) {
    const Extended apertureFactor = (in.aperture / 100) * (in.aperture / 100);
    Extended pulse = 0;
    if (in.inBeam) {
        const Extended s = in.master ? train.NextSample(in.freq) : train.SampleAt(in.freq);
        pulse = s * apertureFactor * in.beamFactor;
    }
    // The noise model takes the frequency in MHz times 1e9, a scale the
    // receiver's gains are matched to.
    const Extended nu = in.freq * 1e9L;
    const Extended mean = (BlackbodyRadiance(nu, in.skyTemperature) +
                           BlackbodyRadiance(nu, in.detectorTemperature) * apertureFactor) *
                          in.sweepSeconds * in.background * 1e10L;
    const Extended sum = pulse + noise.Next(mean);
    return sum > 0 ? sum : 0;
}

}  // namespace qnr::radio
