#include "catalogs/FieldObject.h"

#include <cctype>
#include <cmath>

#include "astro/MathStd.h"

namespace qnr {

FieldLimits MakeFieldLimits(double ra, double dec, double h, Single limitMag) {
    FieldLimits f;
    f.LimitMag = limitMag;
    f.MinDec = std::max(dec - h, -90.0);
    f.MaxDec = std::min(dec + h, 90.0);
    const double cosDec = std::cos(static_cast<double>(dec * DegToRad));
    // At a pole cos dec is 0 (or rounding noise); beyond 12 h either side the
    // box holds every right ascension.
    const bool reachesPole = dec + h >= 90.0 || dec - h <= -90.0;
    const double w = reachesPole || cosDec <= 0 ? 24.0 : h / (15.0 * cosDec);
    if (w >= 12.0) {
        f.MinRA = 0;
        f.MaxRA = 24;
        return f;
    }
    f.MinRA = ra - w;
    if (f.MinRA < 0) f.MinRA += 24;
    f.MaxRA = ra + w;
    if (f.MaxRA > 24) f.MaxRA -= 24;
    return f;
}

InFieldResult TestInField(const FieldLimits& f, double ra, double dec) {
    InFieldResult r;
    bool raIn;
    if (f.MaxRA > f.MinRA) {
        raIn = f.MinRA <= ra && ra <= f.MaxRA;
        r.pastEnd = ra > f.MaxRA;
    } else if (ra >= 12) {
        raIn = ra >= f.MinRA;
    } else {
        raIn = ra <= f.MaxRA;
        r.pastEnd = ra > f.MaxRA;
    }
    r.in = raIn && f.MinDec <= dec && dec <= f.MaxDec;
    return r;
}

bool InRARange(const FieldLimits& f, double ra) {
    if (f.MinRA >= f.MaxRA) return ra >= f.MinRA || ra <= f.MaxRA;
    return f.MinRA <= ra && ra <= f.MaxRA;
}

double AngularDistance(const FieldObject& object, double dec, double ra) {
    double dRA = std::fabs(ra - object.ra);
    if (dRA > 12) dRA = 24 - dRA;
    const double a = 15 * dRA * std::cos(static_cast<double>(dec * DegToRad));
    const double d = dec - object.dec;
    return std::sqrt(a * a + d * d);
}

bool ContainsDesignation(const std::string& text, const std::string& designation) {
    if (designation.empty()) return false;
    auto alnum = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    for (std::size_t at = text.find(designation); at != std::string::npos;
         at = text.find(designation, at + 1)) {
        const std::size_t end = at + designation.size();
        const bool startOk = at == 0 || !alnum(text[at - 1]) || !alnum(designation.front());
        const bool endOk = end == text.size() || !alnum(text[end]) || !alnum(designation.back());
        if (startOk && endOk) return true;
    }
    return false;
}

std::string TrimRight(const std::string& s) {
    std::size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ') --n;
    return s.substr(0, n);
}

}  // namespace qnr
