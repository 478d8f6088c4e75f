#pragma once
// The star catalog: the table of its 9537 sky regions, the region files of
// star records, and the field objects that a field query fills with stars,
// quasars, galaxies and asteroids. Two catalog copies exist: the instrument
// catalog (full depth, colours, spectral types; editable in Edit Mode) and
// the finder catalog (bright stars only).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "astro/BinFile.h"
#include "astro/LinkLst.h"
#include "astro/Types.h"
#include "catalogs/ExtendedObjects.h"
#include "catalogs/FieldObject.h"

namespace qnr {

namespace app { struct OptsRec; }
namespace platform { struct Services; }
class TOrbitList;

inline constexpr int RegionCount = 9537;
inline constexpr int MaxSelectedRegions = 100;

// ---- Region table (TABLES/REGIONS.BIN under the instrument catalog folder).

inline constexpr std::size_t RegionRecordSize = 36;
inline constexpr const char* RegionTableName = "TABLES/REGIONS.BIN";

struct RegionRecord {
    double lowRA = 0, highRA = 0;    // hours
    double lowDec = 0, highDec = 0;  // degrees
};

template <class V>
void VisitRegionRecord(V& v, RegionRecord& r) {
    v.dbl(r.lowRA);
    v.dbl(r.highRA);
    v.dbl(r.lowDec);
    v.dbl(r.highDec);
    v.pad(4);
}

// Record n - 1 describes region n.
Bytes EncodeRegionTable(const std::vector<RegionRecord>& regions);
std::vector<RegionRecord> DecodeRegionTable(const Bytes& bytes);

// A region that no field ever touches (it lies south of the south pole):
// the filler of a table written for a few regions only.
RegionRecord UnusedRegion();

bool RegionOverlaps(const FieldLimits& field, const RegionRecord& region);

// "GSC/N0000/0282.BIN" for region 282, relative to a catalog folder.
std::string RegionFileName(int region);

// The 66 regions the instrument field may use, ascending.
const std::vector<int>& ExerciseRegions();

struct RegionSelection {
    std::vector<std::uint16_t> regions;  // at most 100, ascending
    int count() const { return static_cast<int>(regions.size()); }
};

// ---- Star records.

inline constexpr std::size_t InstrumentStarSize = 27;
inline constexpr std::size_t FinderStarSize = 26;

// Flag bits of an instrument star.
inline constexpr std::uint8_t StarClassAssigned = 1;
inline constexpr std::uint8_t StarLuminosityAssigned = 2;
inline constexpr std::uint8_t StarBVAssigned = 4;
inline constexpr std::uint8_t StarUBAssigned = 8;

struct InstrumentStarRecord {
    std::int32_t ra = 0;      // hours x 10^7
    std::int32_t dec = 0;     // degrees x 10^5
    std::int32_t spType = 0;  // SpectralTypeCode
    std::int16_t V = 0;       // x 1000
    std::int16_t BV = 0;      // x 1000
    std::int16_t UB = 0;      // x 1000
    std::int16_t spare = 0;
    std::uint8_t flags = 0;
    std::string number;  // text[5], the records of a file sorted by it
};

template <class V>
void VisitInstrumentStar(V& v, InstrumentStarRecord& r) {
    v.i32(r.ra);
    v.i32(r.dec);
    v.i32(r.spType);
    v.i16(r.V);
    v.i16(r.BV);
    v.i16(r.UB);
    v.i16(r.spare);
    v.u8(r.flags);
    v.text(r.number, 5);
}

struct FinderStarRecord {
    double ra = 0;
    double dec = 0;
    Single V = 0;
    std::string number;  // text[5]
};

template <class V>
void VisitFinderStar(V& v, FinderStarRecord& r) {
    v.dbl(r.ra);
    v.dbl(r.dec);
    v.single(r.V);
    v.text(r.number, 5);
}

Bytes EncodeInstrumentStars(const std::vector<InstrumentStarRecord>& stars);
std::vector<InstrumentStarRecord> DecodeInstrumentStars(const Bytes& bytes);
Bytes EncodeFinderStars(const std::vector<FinderStarRecord>& stars);
std::vector<FinderStarRecord> DecodeFinderStars(const Bytes& bytes);

// A star record from catalog values (rounded to the stored units).
InstrumentStarRecord MakeInstrumentStar(const std::string& number, double ra, double dec, double V, double BV,
                                        double UB, SpectralTypeCode spType, std::uint8_t flags,
                                        std::int16_t spare = 0);
// The field object of a record of the given region ("00282-01234").
FieldObject InstrumentStarObject(const InstrumentStarRecord& record, int region);
FieldObject FinderStarObject(const FinderStarRecord& record, int region);

// ---- Messages shared with the field view.

inline constexpr const char* FieldNotAvailableText =
    "The Requested Star Field Is Not Available For This Exercise!\r\nYou Cannot Access This Area of The "
    "Sky!\r\n\r\nUse The Hot List to Access Available Regions.";
inline constexpr const char* FieldNotAvailableCaption = "Field Not Available!";

// ---- The region table.

class GSCRgnsTblObj {
public:
    GSCRgnsTblObj(platform::Services& services, const app::OptsRec& opts);
    ~GSCRgnsTblObj();

    // Reads the table; in Edit Mode starts a new region log. False after the
    // messages when the table cannot be read.
    bool LoadTable();
    bool loaded() const { return loaded_; }
    const std::string& tableName() const { return tableName_; }

    RegionSelection SelectRegions(const FieldLimits& limits);
    bool AllRegionsAvailable(const RegionSelection& selection) const;
    bool AlwaysAvailable() const { return true; }

    // A line of the Edit Mode region log (nothing outside Edit Mode or
    // without a log).
    void LogLine(const std::string& line);
    const std::string& logName() const { return logName_; }

    const std::vector<RegionRecord>& regions() const { return regions_; }

private:
    platform::Services& services_;
    const app::OptsRec& opts_;
    bool loaded_ = false;
    std::vector<RegionRecord> regions_;
    std::string tableName_;
    std::string logName_;  // empty while no log is open
};

// ---- Field objects.

class FieldObjectList : public LinkListObj<FieldObject> {};

class GalaxyList : public SortableLinkList<GalaxyEntry> {
public:
    bool Greater(const GalaxyEntry& a, const GalaxyEntry& b) const override {
        return a.ra > b.ra || (a.ra == b.ra && a.dec > b.dec);
    }
};

// What the current instrument takes in of an entry at the view point: the
// photometer's aperture share or the spectrometer's slit acceptance.
class InstrumentAcceptance {
public:
    virtual ~InstrumentAcceptance() = default;
    virtual Extended ObjectValue(const FieldObject& object) = 0;
    virtual Extended GalaxyValue(const GalaxyEntry& galaxy) = 0;
};

// What a field query needs from the running observatory.
struct FieldHooks {
    // The observatory clock is paused while a field is read (messages run
    // nested event loops in which its timer would tick).
    std::function<void()> stopClock;
    std::function<void()> restartClock;
    // Galaxy pictures; none are loaded without it.
    ImageLoader loadImage;
    int telescope = 0;  // 0 the 0.4 m, 1 the 1.0 m, 2 the 4.0 m
};

struct NearestResult {
    int index = -1;  // -1: none
    double distance = 0;
};

struct PointResult {
    enum class What { None, Object, Galaxy } what = What::None;
    int index = -1;
    bool isGalaxy() const { return what == What::Galaxy; }
};

inline constexpr double NearestPixelLimit = 350;
// 2 arcminutes: NearestToPoint looks no farther.
inline constexpr double NearestDegreeLimit = 1.0 / 30;
// Catalog duplicates of one object lie within this distance.
inline constexpr double MergeRadius = 30.0 / 3600;
// How far past the aperture ObjectsNear looks, degrees.
inline constexpr double NeighbourMargin = 0.0025;

class GSCFieldObj {
public:
    GSCFieldObj(platform::Services& services, const app::OptsRec& opts, GSCRgnsTblObj& table);
    virtual ~GSCFieldObj();
    GSCFieldObj(const GSCFieldObj&) = delete;
    GSCFieldObj& operator=(const GSCFieldObj&) = delete;

    // 1 for the instrument field, 0 for the finder field.
    virtual int catalogFlag() const { return 1; }

    // Slot 0: the object list entry nearest to the view point, closer than
    // 350 pixels; skipStars passes over kind-0 objects.
    virtual NearestResult NearestObject(double x, double y, bool skipStars);
    // Slot 1: the same over the galaxy list.
    virtual NearestResult NearestGalaxy(double x, double y);
    // Slot 2: the object list from the catalog files of the selection.
    virtual void ReadStars(const FieldLimits& limits, const RegionSelection& selection);
    // Slot 3: the galaxy list.
    virtual void ReadGalaxies(const FieldLimits& limits);

    // Stars, quasars (instrument field), galaxies and asteroids of the box.
    // False when no star was read (after its message).
    bool QueryField(const FieldLimits& limits, const RegionSelection& selection, Extended jd);
    // The quasar list from the quasar catalog.
    void ReadQuasars(const FieldLimits& limits);
    // The asteroids of the asteroid list's in-field list at jd, and with
    // interval not 0 each again at jd + interval right after it (days).
    void AddAsteroids(Extended interval, Extended jd);

    // The entry at a view point; scale is the view's pixels per degree.
    PointResult ObjectAtPoint(double x, double y, double scale, InstrumentAcceptance* instrument);
    // Every object within apertureRadius + 0.0025 degrees of the point.
    FieldObjectList ObjectsNear(double dec, double ra, double apertureRadius);
    // The object list entry nearest to the point within 2 arcminutes (and,
    // when vMag is not 0, within 1 magnitude of it); null when none.
    FieldObject* NearestToPoint(Single vMag, double dec, double ra);
    // Writes a star's values back into its region file (instrument catalog).
    bool UpdateStar(const FieldObject& object, bool silent = false);

    FieldObjectList objects;
    GalaxyList galaxies;
    FieldObjectList quasars;
    Single brightestV = 25.0f;
    Single faintestV = -2.0f;
    double lastNearestDistance = 0;
    int lastNearestIndex = -1;

    FieldHooks hooks;
    TOrbitList* asteroidList = nullptr;  // not owned; null until a date is set
    const ExtendedObjects* extendedObjects() const { return extended_.get(); }

protected:
    // The catalog folder of this field, ending in "/".
    virtual std::string CatalogFolder() const;
    std::string ProgramFile(const std::string& name) const;
    std::string RegionFilePath(int region) const;
    // The bytes of a region file; nullopt after "Unable to Open Star Catalog File!".
    std::optional<Bytes> ReadRegionFile(int region);
    // Reads the galaxy catalog; instrument entries get colours, types and pictures.
    void ReadGalaxyCatalog(const FieldLimits& limits, bool instrument);
    void AddStar(const FieldObject& star);
    void MergeQuasars();
    void TidyGalaxies();

    platform::Services& services_;
    const app::OptsRec& opts_;
    GSCRgnsTblObj& table_;
    std::unique_ptr<ExtendedObjects> extended_;
    bool extendedTried_ = false;
};

class FSCFieldObj : public GSCFieldObj {
public:
    using GSCFieldObj::GSCFieldObj;
    int catalogFlag() const override { return 0; }
    void ReadStars(const FieldLimits& limits, const RegionSelection& selection) override;
    void ReadGalaxies(const FieldLimits& limits) override;

protected:
    std::string CatalogFolder() const override;
};

}  // namespace qnr
