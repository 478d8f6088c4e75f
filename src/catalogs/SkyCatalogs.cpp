#include "catalogs/SkyCatalogs.h"

#include "app/Options.h"
#include "platform/Services.h"

namespace qnr {

SkyCatalogs::SkyCatalogs(platform::Services& services, const app::OptsRec& opts)
    : regions(services, opts), finder(services, opts, regions), instrument(services, opts, regions),
      services_(services), opts_(opts) {}

SkyCatalogs::~SkyCatalogs() = default;

bool SkyCatalogs::SetObservationDate(double localDayNumber) {
    if (!asteroids_) {
        asteroids_ = std::make_unique<TOrbitList>(services_, opts_);
        finder.asteroidList = asteroids_.get();
        instrument.asteroidList = asteroids_.get();
    }
    return asteroids_->ComputeList(localDayNumber);
}

FieldLimits SkyCatalogs::ViewLimits(FieldKind kind, double ra, double dec) const {
    const double factor = opts_.fieldCreationFactor;
    if (kind == FieldKind::Finder)
        return MakeFieldLimits(ra, dec, factor * opts_.finderField / 2, FinderLimitMag);
    return MakeFieldLimits(ra, dec, factor * opts_.instrumentField / 60 / 2, InstrumentLimitMag);
}

FieldStatus SkyCatalogs::OpenField(FieldKind kind, const FieldLimits& limits, Extended jd) {
    if (!tableTried_) {
        tableTried_ = true;
        regions.LoadTable();
    }
    if (!regions.loaded()) return FieldStatus::NoRegions;
    const RegionSelection selection = regions.SelectRegions(limits);
    if (selection.count() == 0) return FieldStatus::NoRegions;
    const bool available =
        kind == FieldKind::Finder ? regions.AlwaysAvailable() : regions.AllRegionsAvailable(selection);
    if (!available) return FieldStatus::NotAvailable;
    return field(kind).QueryField(limits, selection, jd) ? FieldStatus::Opened : FieldStatus::Failed;
}

void SkyCatalogs::SetHooks(const FieldHooks& hooks) {
    finder.hooks = hooks;
    instrument.hooks = hooks;
}

void SkyCatalogs::SetTelescope(int index) { finder.hooks.telescope = instrument.hooks.telescope = index; }

}  // namespace qnr
