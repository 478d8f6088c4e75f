#pragma once
// Basic numeric types of the whole system.
//
// Computations run in 80-bit extended precision unless a field is stated as
// single or double. On x86-64 `long double` is that x87 format; elsewhere it
// may be wider or narrower, which the file codec does not depend on.
#include <cstdint>

namespace qnr {

using Extended = long double;
using Single = float;

}  // namespace qnr
