#pragma once
// The sky's 9537 catalog regions: 24 declination bands of 7.5 degrees, each
// cut into rows and each row into regions of equal width, so that the
// regions of a band have similar areas. The band's exercise regions (the
// numbers the instrument field may use) are then moved onto the cells that
// the exercise's targets need, and the spare ones onto the cells next to
// them, so that every target can be observed with the instrument.
#include <string>
#include <vector>

#include "astro/Expected.h"
#include "catalogs/FieldObject.h"
#include "catalogs/Star_Cat.h"

namespace qnr::datagen {

struct Band {
    int first = 0, last = 0;   // region numbers
    double lowDec = 0, highDec = 0;
    bool north = true;
    std::string name;          // "N0730"
    int count() const { return last - first + 1; }
};
// In region order: N0000 .. N8230, then S0000 .. S8230.
const std::vector<Band>& Bands();

struct Cell {
    RegionRecord bounds;
    int row = 0;
    int natural = 0;  // the number the cell has before the exercise regions are placed
};

// A band cut into `rows` rows (numbered from the equator outward), each row
// into regions of equal RA width from 0h; the row's share of the band's
// regions follows its area. Cells in natural order: row by row, by RA.
std::vector<Cell> LayBand(const Band& band, int rows);

// What a target needs: its box must lie in exercise regions only.
struct TargetBox {
    std::string name;
    double ra = 0, dec = 0;  // hours, degrees: the point the spare regions gather round
    FieldLimits box;
};

struct RegionLayout {
    std::vector<RegionRecord> regions;  // region n at index n - 1
    std::vector<int> rowsOfBand;        // by band
    std::vector<std::string> notes;     // one line per band that holds targets
    // The region of a point (the cell holding it); 0 outside every region.
    int RegionOf(double ra, double dec) const;
};

// Fails, naming the band and its targets, when a band's targets need more
// cells than the band has exercise regions (or a target falls into a band
// without any).
Expected<RegionLayout> LayOutRegions(const std::vector<TargetBox>& targets);

}  // namespace qnr::datagen
