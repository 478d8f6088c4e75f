#pragma once
// The naked-eye star file "NkdEye.dat": 20-byte records of the bright stars
// the dome slit shows (J2000.0 positions and V), no header.
#include <cstddef>
#include <vector>

#include "astro/BinFile.h"
#include "astro/Types.h"

namespace qnr {

inline constexpr const char* NakedEyeFileName = "NkdEye.dat";
inline constexpr std::size_t NakedEyeRecordSize = 20;

struct NakedEyeStar {
    double ra = 0;   // hours, J2000.0
    double dec = 0;  // degrees, J2000.0
    Single V = 0;
};

template <class V>
void VisitNakedEyeStar(V& v, NakedEyeStar& s) {
    v.dbl(s.ra);
    v.dbl(s.dec);
    v.single(s.V);
}

Bytes EncodeNakedEyeStars(const std::vector<NakedEyeStar>& stars);
// Every whole record; a short tail is ignored.
std::vector<NakedEyeStar> DecodeNakedEyeStars(const Bytes& bytes);

}  // namespace qnr
