#pragma once
// Member stars of the old, metal-poor globular clusters of the exercise (M13),
// which no catalog on hand lists star by star.
//
// Colour-magnitude diagram: one fiducial sequence in M_V and (B-V)0 of an
// old metal-poor cluster ([Fe/H] near -1.5, 12 Gyr: turn-off at M_V 4.1,
// (B-V)0 0.43; red-giant tip at M_V -2.5), a horizontal branch at M_V 0.6
// over the design's colour range (its blue end drooping), and an asymptotic
// giant branch 0.05 bluer than the giants. Luminosity function along the
// giants dN/dM_V ~ 10^(0.32 M_V), flatter on the main sequence
// (10^(0.12 M_V)); the richness is fixed by the design's count of giants
// brighter than the horizontal branch, with as many horizontal-branch stars
// and a tenth as many on the asymptotic giant branch.
//
// Places: King's (1962) profile with the design's core and tidal radii.
// Colours are reddened by E(B-V) (E(U-B) = 0.72 E(B-V)); U-B takes the
// metal-poor ultraviolet excess of 0.15 off the intrinsic colour; V and the
// colours carry photometric errors that grow towards V 20.
#include <cstdint>
#include <string>
#include <vector>

#include "datagen/layout/StarModel.h"

namespace qnr::datagen {

struct ClusterDesign {
    std::string name;
    double ra = 0, dec = 0;          // hours, degrees (J2000.0)
    double distanceModulusV = 0;     // (m - M)V
    double ebv = 0;                  // E(B-V)
    double coreArcmin = 0, tidalArcmin = 0;
    int giantsAboveHB = 0;           // red giants brighter than the horizontal branch
    double hbBlue = 0, hbRed = 0;    // the horizontal branch's (B-V)0 range
};

// The fiducial (B-V)0 of the main sequence, subgiant and red-giant branch at M_V.
double ClusterSequenceBV(double absV);
// King's surface density at r (arbitrary units; 0 beyond the tidal radius).
double KingDensity(double r, double core, double tidal);

// The members to vMax; the same seed gives the same stars. The spectral
// type is derived from (B-V)0 and the branch.
std::vector<SyntheticStar> DrawClusterMembers(const ClusterDesign& design, double vMax, std::uint64_t seed);

}  // namespace qnr::datagen
