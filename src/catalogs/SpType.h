#pragma once
// The integer encoding of an MK spectral type that every catalog, report and
// result list carries: code = C x 1000000 + S x 10000 + L x 100 + P, with
// C the class, S the subclass times 10 (99 = no subclass), L the luminosity
// class or prefix and P the peculiarity. 0 means no type.
#include <cstdint>
#include <string>

namespace qnr {

using SpectralTypeCode = std::int32_t;

struct SpectralTypeParts {
    int C = 0;  // class
    int S = 0;  // subclass x 10; 99 = none
    int L = 0;  // luminosity class or prefix
    int P = 0;  // peculiarity
};

inline constexpr int NoSubclass = 99;

SpectralTypeParts SplitSpectralType(SpectralTypeCode code);
SpectralTypeCode MakeSpectralType(const SpectralTypeParts& parts);

// At most 12 characters; empty for 0.
std::string SpTypeText(SpectralTypeCode code);
// 0 when the text cannot be read.
SpectralTypeCode ParseSpType(const std::string& text);

}  // namespace qnr
