#pragma once
// The one owner of the sky catalog objects of a running observatory: the
// region table, the finder and instrument fields (created in that order) and,
// once a date is set, the asteroid list. The observatory creates one at
// start-up, before any window; each field query refills the fields. Tests
// build as many independent ones as they like.
#include <memory>

#include "astro/Types.h"
#include "catalogs/AstFlDlg.h"
#include "catalogs/FieldObject.h"
#include "catalogs/Star_Cat.h"

namespace qnr {

namespace app { struct OptsRec; }
namespace platform { struct Services; }

enum class FieldKind { Finder, Instrument };

enum class FieldStatus {
    Opened,        // the field holds the box's objects
    NoRegions,     // no region (or no region table): no new field
    NotAvailable,  // the instrument box touches a region outside the exercise
    Failed,        // the query failed (after its message)
};

class SkyCatalogs {
public:
    SkyCatalogs(platform::Services& services, const app::OptsRec& opts);
    ~SkyCatalogs();
    SkyCatalogs(const SkyCatalogs&) = delete;
    SkyCatalogs& operator=(const SkyCatalogs&) = delete;

    GSCRgnsTblObj regions;
    FSCFieldObj finder;
    GSCFieldObj instrument;

    GSCFieldObj& field(FieldKind kind) { return kind == FieldKind::Finder ? static_cast<GSCFieldObj&>(finder) : instrument; }

    // Builds the asteroid list for the observation date (a local day
    // number), creating it the first time; the result enables the list menu.
    bool SetObservationDate(double localDayNumber);
    TOrbitList* asteroids() { return asteroids_.get(); }

    // The box a view of the telescope window is built on: the field creation
    // factor times the view angle, around the pointing.
    FieldLimits ViewLimits(FieldKind kind, double ra, double dec) const;

    // Selects the box's regions, checks them for the instrument field and
    // fills the field. The caller shows FieldNotAvailableText on NotAvailable
    // (after stopping its slews).
    FieldStatus OpenField(FieldKind kind, const FieldLimits& limits, Extended jd);

    // Hooks for both fields.
    void SetHooks(const FieldHooks& hooks);
    // The telescope whose scale the fields' galaxy pictures take.
    void SetTelescope(int index);

private:
    platform::Services& services_;
    const app::OptsRec& opts_;
    std::unique_ptr<TOrbitList> asteroids_;
    bool tableTried_ = false;
};

}  // namespace qnr
