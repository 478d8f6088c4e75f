#pragma once
// Writes the whole program-folder data tree from the seeds: the region table
// and region files of both star catalogs, the galaxy catalog with its index
// and pictures, the quasar catalog, the orbit file and the naked-eye stars.
// Every random draw has a fixed seed, so every run writes the same bytes.
#include <string>
#include <vector>

#include "astro/Expected.h"

namespace qnr::datagen {

struct LayoutPaths {
    std::string seeds;    // data/seed/, ending in "/"
    std::string targets;  // the hot list's text source
    std::string out;      // the program folder, ending in "/"
};

struct LayoutSummary {
    std::vector<std::string> lines;
};

Expected<LayoutSummary> LayOutTree(const LayoutPaths& paths);

}  // namespace qnr::datagen
