#pragma once
// The date the results tests stamp their entries with.
namespace qnr::photometry {

// JD 2453072.586910 (2004-03-08 02:05 UT), as a day number.
inline constexpr double March2004 = 2453072.586910 - 2415018.5;

}  // namespace qnr::photometry
