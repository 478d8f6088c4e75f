#pragma once
// The checks of a laid-out data tree, run by the layout tool in the build and
// by the instructor after copying a tree to a lab machine: every file there
// with whole records, the sorted orders the readers rely on, every hot-list
// target observable with the instrument among stars, and the exercise's own
// asteroid where the exercise needs it.
#include <string>
#include <vector>

#include "astro/Types.h"
#include "platform/FileSystem.h"

namespace qnr::datatree {

// The exercise night: 2002-04-15 05:00 UT, the evening of 2002-04-14 at the
// observatories of the default options.
inline constexpr Extended ExerciseNightJD = 2452379.5L + 5.0L / 24;
inline constexpr const char* ExerciseAsteroid = "Quenara";
inline constexpr const char* ExerciseAsteroidTarget = "Quenara field";

struct CheckReport {
    std::vector<std::string> problems;
    std::vector<std::string> notes;  // what was found, one line each
    bool ok() const { return problems.empty(); }
};

// folder ends in "/"; the tree's own hot list is folder + "Quenara.HTL".
CheckReport CheckTree(const std::string& folder, platform::FileSystem& files);

}  // namespace qnr::datatree
