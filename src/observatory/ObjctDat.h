#pragma once
// The hot-list entry and what other windows may do to the hot list, apart from
// the list itself so that the catalog reports can feed it without linking the
// telescope's code.
#include <cstddef>
#include <string>

#include "astro/Types.h"

namespace qnr::observatory {

inline constexpr std::size_t MaxHotListId = 24;
inline constexpr std::size_t MaxHotListComment = 40;

// One hot-list entry; the position is J2000.0.
struct ObjctDat {
    std::string identifier;  // at most 24 characters; empty for a bare position
    Extended ra = 0;         // hours
    Extended dec = 0;        // degrees
    std::string comment;     // at most 40 characters
    bool operator==(const ObjctDat&) const = default;
};

// The hot list as the object reports, the cluster tool and the radio
// telescope see it.
class HotListEditor {
public:
    virtual ~HotListEditor() = default;
    // Inserted in order of right ascension; the list is then unsaved.
    virtual void Add(const ObjctDat& entry) = 0;
    // An empty list named `name` + ".HTL" beside the current one; false when
    // the user kept the old list (its save was cancelled or failed).
    virtual bool StartNewList(const std::string& name) = 0;
};

}  // namespace qnr::observatory
