// Writes the pulsar catalog PULSARS.DAT at build time:
//   qnr_make_pulsars REAL.txt TARGET.DAT [COUNT [SEED]]
// The well-known pulsars of REAL.txt (typed from the literature), and COUNT
// (default 500) simulated pulsars of a simple Galactic population drawn with
// a fixed SEED (default 20020414), all in the catalog's fixed columns and
// sorted by right ascension. Every build writes the same bytes.
//
// The simulated population (every draw from the one seeded generator):
// - birth places: galactocentric radius R from R^1.9 exp(-5 (R - 8.5)/8.5)
//   (the radial density of Lorimer et al. 2006), any azimuth, height |z|
//   exponential with a 0.33 kpc scale; the Sun at R = 8.5 kpc in the plane;
// - spin: log10 P normal about log10 0.5 s (0.3 dex); a surface field
//   log10 B normal about 12.3 (0.35 dex) gives Pdot = (B / 3.2e19)^2 / P,
//   so the pulsars lie along the P-Pdot locus; those past the death line
//   (B / P^2 < 1.7e11 G s^-2) are radio-quiet and drawn again;
// - pulse: width W50 = P x 0.04 / sqrt(P / 1 s) x 10^N(0, 0.2), kept within
//   0.5 % to 25 % of the period;
// - brightness: log10 L1400 normal about -1.1 (0.9 dex) in mJy kpc^2, flux
//   S1400 = L / d^2; only pulsars of S1400 >= 0.3 mJy are kept (a survey's
//   limit); spectral index normal about -1.6 (0.35) gives S400 and S600;
// - DM: the electron density integrated from the Sun to the pulsar, a thick
//   disk 0.03 exp(-|z| / 0.9 kpc) exp(-(R / 18 kpc)^2) plus a thin ring
//   0.15 exp(-|z| / 0.15 kpc) exp(-((R - 4 kpc) / 2 kpc)^2) cm^-3;
// - names from the position, "hhmm+ddmm" (J2000) and "hhmm+dd" (B1950,
//   precessed), each with a trailing "Q" so no simulated pulsar passes for a
//   catalogued one; epoch of P0 2002-01-01.
// Every pulsar's sky temperature comes from one smooth model of the 400 MHz
// sky: 20 K + 30 K exp(-|b| / 12 deg) + 200 K exp(-|b| / 3 deg) exp(-(l / 45 deg)^2),
// l in (-180, 180] from the Galactic centre.
#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "astro/Coords.h"
#include "astro/MathStd.h"
#include "astro/Random.h"
#include "astro/StringUt.h"
#include "platform/FileSystem.h"
#include "radio/Pulsars.h"

namespace {

using qnr::Extended;
using qnr::radio::PulsarRecord;

constexpr double Pi = 3.14159265358979323846;
constexpr double Deg = Pi / 180;
constexpr double SunR = 8.5;  // kpc
constexpr double SyntheticEpoch = 52275.5;  // JD - 2400000: 2002-01-01 0 h UT

// The J2000.0 equatorial to Galactic rotation (Hipparcos, vol. 1, 1.5.3).
constexpr double T[3][3] = {{-0.0548755604, -0.8734370902, -0.4838350155},
                            {+0.4941094279, -0.4448296300, +0.7469822445},
                            {-0.8676661490, -0.1980763734, +0.4559837762}};

struct Galactic {
    double l = 0, b = 0;  // radians; l in (-pi, pi]
};

Galactic ToGalactic(double raHours, double decDeg) {
    const double a = raHours * 15 * Deg, d = decDeg * Deg;
    const double e[3] = {std::cos(d) * std::cos(a), std::cos(d) * std::sin(a), std::sin(d)};
    double g[3];
    for (int i = 0; i < 3; ++i) g[i] = T[i][0] * e[0] + T[i][1] * e[1] + T[i][2] * e[2];
    return {std::atan2(g[1], g[0]), std::asin(std::clamp(g[2], -1.0, 1.0))};
}

void ToEquatorial(const Galactic& gal, double& raHours, double& decDeg) {
    const double g[3] = {std::cos(gal.b) * std::cos(gal.l), std::cos(gal.b) * std::sin(gal.l), std::sin(gal.b)};
    double e[3];
    for (int i = 0; i < 3; ++i) e[i] = T[0][i] * g[0] + T[1][i] * g[1] + T[2][i] * g[2];
    double ra = std::atan2(e[1], e[0]) / Deg / 15;
    if (ra < 0) ra += 24;
    raHours = ra;
    decDeg = std::asin(std::clamp(e[2], -1.0, 1.0)) / Deg;
}

double SkyTemperature(const Galactic& g) {
    const double b = std::fabs(g.b) / Deg, l = g.l / Deg;
    return 20 + 30 * std::exp(-b / 12) + 200 * std::exp(-b / 3) * std::exp(-(l / 45) * (l / 45));
}

double ElectronDensity(double x, double y, double z) {
    const double r = std::hypot(x, y), az = std::fabs(z);
    const double thick = 0.03 * std::exp(-az / 0.9) * std::exp(-(r / 18) * (r / 18));
    const double ring = 0.15 * std::exp(-az / 0.15) * std::exp(-((r - 4) / 2) * ((r - 4) / 2));
    return thick + ring;
}

// pc cm^-3 along the line from the Sun (0, SunR, 0) to (x, y, z), kpc.
double DispersionMeasure(double x, double y, double z) {
    constexpr int Steps = 400;
    const double dx = x, dy = y - SunR, dz = z;
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    double sum = 0;
    for (int i = 0; i < Steps; ++i) {
        const double t = (i + 0.5) / Steps;
        sum += ElectronDensity(dx * t, SunR + dy * t, dz * t);
    }
    return sum / Steps * length * 1000;  // kpc to pc
}

class Draws {
public:
    explicit Draws(std::uint32_t seed) { rng_.setSeed(seed); }
    double Uniform() { return rng_.real(); }
    double Normal(double mean, double sigma) {
        // Box-Muller; 1 - u keeps the logarithm finite.
        const double u = 1 - rng_.real(), v = rng_.real();
        return mean + sigma * std::sqrt(-2 * std::log(u)) * std::cos(2 * Pi * v);
    }
    double Exponential(double scale) { return -scale * std::log(1 - rng_.real()); }

private:
    qnr::RandomGenerator rng_;
};

// Galactocentric radius, kpc, from R^1.9 exp(-5 (R - R0) / R0) by rejection.
double Radius(Draws& d) {
    auto density = [](double r) { return std::pow(r / SunR, 1.9) * std::exp(-5 * (r - SunR) / SunR); };
    const double peak = density(1.9 * SunR / 5);
    for (;;) {
        const double r = d.Uniform() * 20;
        if (d.Uniform() * peak <= density(r)) return r;
    }
}

std::string Digits(int value, int width) { return qnr::ZeroPadded(value, static_cast<std::size_t>(width)); }

// "hhmm+ddmm": minutes of time and of arc cut, as pulsar names are.
std::string J2000Name(double raHours, double decDeg) {
    const int raMin = static_cast<int>(raHours * 60);
    const double a = std::fabs(decDeg);
    const int decMin = static_cast<int>(a * 60);
    return Digits(raMin / 60, 2) + Digits(raMin % 60, 2) + (decDeg < 0 ? "-" : "+") + Digits(decMin / 60, 2) +
           Digits(decMin % 60, 2);
}

std::string B1950Name(double raHours, double decDeg) {
    qnr::SkyPosition p;
    qnr::SetEquatorial(p, qnr::KindMean, qnr::EpochJ2000, qnr::JD_J2000);
    p.first = raHours * 15 * qnr::DegToRad;
    p.second = decDeg * qnr::DegToRad;
    qnr::PrecessEquatorial(p, qnr::EpochB1950, qnr::JD_B1950);
    const double ra = static_cast<double>(qnr::NormalizeHours(p.first * qnr::RadToDeg / 15));
    const double dec = static_cast<double>(p.second * qnr::RadToDeg);
    const int raMin = static_cast<int>(ra * 60);
    const int decDeg2 = static_cast<int>(std::fabs(dec));
    return Digits(raMin / 60, 2) + Digits(raMin % 60, 2) + (dec < 0 ? "-" : "+") + Digits(decDeg2, 2);
}

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> Split(const std::string& line, char delim) {
    std::vector<std::string> parts;
    std::stringstream in(line);
    std::string part;
    while (std::getline(in, part, delim)) parts.push_back(Trimmed(part));
    return parts;
}

bool Number(const std::string& text, double& value) {
    std::string rest = text;
    auto v = qnr::NextRealField(rest, '\0');
    if (!v) return false;
    value = static_cast<double>(*v);
    return true;
}

// "hh mm ss.ss" or "+dd mm ss.s".
bool Sexagesimal(const std::string& text, double& value) {
    std::vector<std::string> parts = Split(text, ' ');
    std::erase(parts, std::string());
    if (parts.size() != 3) return false;
    const bool negative = parts[0][0] == '-';
    double v[3];
    for (int i = 0; i < 3; ++i)
        if (!Number(parts[static_cast<std::size_t>(i)], v[i])) return false;
    value = std::fabs(v[0]) + v[1] / 60 + v[2] / 3600;
    if (negative) value = -value;
    return true;
}

// S at f MHz from S1400 and the spectral index.
double Flux(double s1400, double index, double f) { return s1400 * std::pow(f / 1400, index); }

bool ReadReal(const std::string& path, std::vector<PulsarRecord>& out) {
    std::ifstream in(path);
    if (!in) {
        std::cerr << "qnr_make_pulsars: cannot read " << path << "\n";
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        line = Trimmed(line);
        if (line.empty() || line[0] == '#') continue;
        const auto f = Split(line, '|');
        PulsarRecord p;
        double ra = 0, dec = 0, period = 0, pdot = 0, epoch = 0, dm = 0, w50 = 0, s400 = 0, s1400 = 0;
        if (f.size() != 11 || !Sexagesimal(f[2], ra) || !Sexagesimal(f[3], dec) || !Number(f[4], period) ||
            !Number(f[5], pdot) || !Number(f[6], epoch) || !Number(f[7], dm) || !Number(f[8], w50) ||
            !Number(f[9], s400) || !Number(f[10], s1400) || s400 <= 0 || s1400 <= 0) {
            std::cerr << "qnr_make_pulsars: " << path << " line " << number << " does not read\n";
            return false;
        }
        p.jName = f[0];
        p.bName = f[1] == "-" ? "" : f[1];
        p.ra = ra;
        p.dec = dec;
        p.period = period;
        p.periodDerivative = pdot;
        p.epoch = epoch + 2400000.5L;
        p.dm = static_cast<float>(dm);
        p.w50 = static_cast<float>(w50);
        p.s400 = static_cast<float>(s400);
        p.s1400 = static_cast<float>(s1400);
        // The catalogs rarely give 600 MHz: the power law through the other two.
        const double index = std::log(s1400 / s400) / std::log(1400.0 / 400.0);
        p.s600 = static_cast<float>(Flux(s1400, index, 600));
        p.skyTemperature = static_cast<float>(SkyTemperature(ToGalactic(ra, dec)));
        out.push_back(p);
    }
    return true;
}

void Simulate(int count, std::uint32_t seed, std::set<std::string>& names, std::vector<PulsarRecord>& out) {
    Draws d(seed);
    int made = 0;
    while (made < count) {
        const double r = Radius(d), theta = d.Uniform() * 2 * Pi;
        const double z = d.Exponential(0.33) * (d.Uniform() < 0.5 ? -1 : 1);
        const double x = r * std::cos(theta), y = r * std::sin(theta);
        const double dx = x, dy = y - SunR;
        const double distance = std::sqrt(dx * dx + dy * dy + z * z);  // kpc
        if (distance < 0.1) continue;
        const double period = std::clamp(std::pow(10.0, d.Normal(std::log10(0.5), 0.3)), 0.03, 8.0);
        const double field = std::pow(10.0, d.Normal(12.3, 0.35));
        if (field / (period * period) < 1.7e11) continue;
        const double luminosity = std::pow(10.0, d.Normal(-1.1, 0.9));
        const double s1400 = luminosity / (distance * distance);
        if (s1400 < 0.3) continue;
        const double index = d.Normal(-1.6, 0.35);
        const double duty = std::clamp(0.04 / std::sqrt(period) * std::pow(10.0, d.Normal(0, 0.2)), 0.005, 0.25);
        // Looking from the Sun, the Galactic centre at l = 0.
        const Galactic g{std::atan2(dx, -dy), std::atan2(z, std::hypot(dx, dy))};
        double ra = 0, dec = 0;
        ToEquatorial(g, ra, dec);
        PulsarRecord p;
        p.jName = J2000Name(ra, dec) + "Q";
        if (!names.insert(p.jName).second) continue;
        p.bName = B1950Name(ra, dec) + "Q";
        p.ra = ra;
        p.dec = dec;
        p.period = period;
        p.periodDerivative = (field / 3.2e19) * (field / 3.2e19) / period;
        p.epoch = SyntheticEpoch + 2400000;
        p.dm = static_cast<float>(DispersionMeasure(x, y, z));
        p.w50 = static_cast<float>(period * duty * 1000);
        p.s1400 = static_cast<float>(s1400);
        p.s600 = static_cast<float>(Flux(s1400, index, 600));
        p.s400 = static_cast<float>(Flux(s1400, index, 400));
        p.skyTemperature = static_cast<float>(SkyTemperature(g));
        out.push_back(p);
        ++made;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        std::cerr << "usage: qnr_make_pulsars REAL.txt TARGET.DAT [COUNT [SEED]]\n";
        return 2;
    }
    const int count = argc > 3 ? std::atoi(argv[3]) : 500;
    const auto seed = static_cast<std::uint32_t>(argc > 4 ? std::strtoul(argv[4], nullptr, 10) : 20020414UL);
    if (count < 0) {
        std::cerr << "qnr_make_pulsars: COUNT must be 0 or more\n";
        return 2;
    }
    std::vector<PulsarRecord> pulsars;
    if (!ReadReal(argv[1], pulsars)) return 1;
    std::set<std::string> names;
    for (const PulsarRecord& p : pulsars) names.insert(p.jName);
    Simulate(count, seed, names, pulsars);
    std::stable_sort(pulsars.begin(), pulsars.end(),
                     [](const PulsarRecord& a, const PulsarRecord& b) { return a.ra < b.ra; });

    std::string text;
    for (const PulsarRecord& p : pulsars) {
        const std::string line = qnr::radio::FormatCatalogLine(p);
        // What is written must read back as the catalog reads it.
        if (!qnr::radio::ParseCatalogLine(line)) {
            std::cerr << "qnr_make_pulsars: the line of " << p.jName << " does not read back\n";
            return 1;
        }
        text += line + "\r\n";
    }
    qnr::platform::StdFileSystem files;
    if (files.writeFileAtomic(argv[2], qnr::platform::Bytes(text.begin(), text.end())) != 0) {
        std::cerr << "qnr_make_pulsars: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
