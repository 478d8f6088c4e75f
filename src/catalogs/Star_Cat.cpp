#include "catalogs/Star_Cat.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "app/Options.h"
#include "astro/Coords.h"
#include "astro/StringUt.h"
#include "catalogs/AstFlDlg.h"
#include "catalogs/RecordCodec.h"
#include "platform/FileSystem.h"
#include "platform/Services.h"

namespace qnr {

namespace {

auto RegionVisit = [](auto& v, RegionRecord& r) { VisitRegionRecord(v, r); };
auto InstrumentStarVisit = [](auto& v, InstrumentStarRecord& r) { VisitInstrumentStar(v, r); };
auto FinderStarVisit = [](auto& v, FinderStarRecord& r) { VisitFinderStar(v, r); };

constexpr std::size_t MaxCatalogFile = std::size_t{256} << 20;
// Stored positions are exact to 1e-5 degrees; this only absorbs the rounding
// of the distance formula at a merge radius met exactly.
constexpr double MergeSlack = 1e-9;

std::string ZeroPadded(int n, std::size_t width) {
    std::string s = std::to_string(n);
    while (s.size() < width) s = "0" + s;
    return s;
}

std::int16_t ToInt16(Extended v) {
    const Extended r = std::nearbyint(v);
    if (!(r >= -32768)) return -32768;
    if (r > 32767) return 32767;
    return static_cast<std::int16_t>(r);
}

std::string Cut(std::string s, std::size_t n) {
    if (s.size() > n) s.resize(n);
    return s;
}

// Pauses the observatory clock for the life of a field query.
class ClockPause {
public:
    explicit ClockPause(const FieldHooks& hooks) : hooks_(hooks) {
        if (hooks_.stopClock) hooks_.stopClock();
    }
    ~ClockPause() {
        if (hooks_.restartClock) hooks_.restartClock();
    }
    ClockPause(const ClockPause&) = delete;
    ClockPause& operator=(const ClockPause&) = delete;

private:
    const FieldHooks& hooks_;
};

void Append(FieldObjectList& list, const FieldObject& o) {
    list.GoLast();
    list.InsertAfterCurrent(o);
}

}  // namespace

// ---- Region table and records.

Bytes EncodeRegionTable(const std::vector<RegionRecord>& regions) { return EncodeRecords(regions, RegionVisit); }

std::vector<RegionRecord> DecodeRegionTable(const Bytes& bytes) {
    return DecodeRecords<RegionRecord>(bytes, RegionRecordSize, RegionVisit);
}

RegionRecord UnusedRegion() { return {0, 0, -100, -99}; }

bool RegionOverlaps(const FieldLimits& f, const RegionRecord& r) {
    bool raOverlap;
    if (f.MaxRA > f.MinRA)
        raOverlap = f.MinRA < r.highRA && f.MaxRA > r.lowRA;
    else if (r.lowRA >= 12)
        raOverlap = f.MinRA < r.highRA;
    else
        raOverlap = f.MaxRA > r.lowRA;
    return raOverlap && f.MinDec < r.highDec && f.MaxDec > r.lowDec;
}

std::string RegionFileName(int region) {
    struct Band {
        int last;
        const char* folder;
    };
    static const Band Bands[] = {
        {593, "N0000"},  {1177, "N0730"}, {1728, "N1500"}, {2258, "N2230"}, {2780, "N3000"}, {3245, "N3730"},
        {3651, "N4500"}, {4013, "N5230"}, {4293, "N6000"}, {4491, "N6730"}, {4614, "N7500"}, {4662, "N8230"},
        {5259, "S0000"}, {5837, "S0730"}, {6411, "S1500"}, {6988, "S2230"}, {7522, "S3000"}, {8021, "S3730"},
        {8463, "S4500"}, {8839, "S5230"}, {9133, "S6000"}, {9345, "S6730"}, {9489, "S7500"}, {9537, "S8230"}};
    const char* folder = Bands[std::size(Bands) - 1].folder;
    for (const Band& b : Bands)
        if (b.last >= region) {
            folder = b.folder;
            break;
        }
    return std::string("GSC/") + folder + "/" + ZeroPadded(region, 4) + ".BIN";
}

const std::vector<int>& ExerciseRegions() {
    static const std::vector<int> Regions = {
        282,  285,  289,  292,  307,  308,  310,  311,  872,  879,  1442, 1445, 1607, 1608, 1609, 1611, 1612,
        1613, 2123, 2124, 2125, 2528, 2530, 2531, 2533, 2578, 2579, 2586, 2608, 2612, 2621, 2622, 2625, 2626,
        3019, 3020, 3054, 3061, 3455, 3456, 3703, 3707, 3716, 3720, 4119, 4120, 4121, 4123, 4124, 4125, 4966,
        4967, 4969, 4970, 5892, 5895, 5899, 5900, 5903, 5904, 5907, 5908, 7570, 7573, 7577, 7580};
    return Regions;
}

Bytes EncodeInstrumentStars(const std::vector<InstrumentStarRecord>& stars) {
    return EncodeRecords(stars, InstrumentStarVisit);
}

std::vector<InstrumentStarRecord> DecodeInstrumentStars(const Bytes& bytes) {
    return DecodeRecords<InstrumentStarRecord>(bytes, InstrumentStarSize, InstrumentStarVisit);
}

Bytes EncodeFinderStars(const std::vector<FinderStarRecord>& stars) { return EncodeRecords(stars, FinderStarVisit); }

std::vector<FinderStarRecord> DecodeFinderStars(const Bytes& bytes) {
    return DecodeRecords<FinderStarRecord>(bytes, FinderStarSize, FinderStarVisit);
}

InstrumentStarRecord MakeInstrumentStar(const std::string& number, double ra, double dec, double V, double BV,
                                        double UB, SpectralTypeCode spType, std::uint8_t flags, std::int16_t spare) {
    InstrumentStarRecord r;
    r.ra = static_cast<std::int32_t>(std::nearbyint(ra * 1e7));
    r.dec = static_cast<std::int32_t>(std::nearbyint(dec * 1e5));
    r.spType = spType;
    r.V = ToInt16(V * 1000);
    r.BV = ToInt16(BV * 1000);
    r.UB = ToInt16(UB * 1000);
    r.spare = spare;
    r.flags = flags;
    r.number = number;
    return r;
}

FieldObject InstrumentStarObject(const InstrumentStarRecord& r, int region) {
    FieldObject o;
    o.name = Cut(ZeroPadded(region, 5) + "-" + r.number, FieldObjectNameLength);
    o.ra = r.ra / 1e7;
    o.dec = r.dec / 1e5;
    o.V = static_cast<Single>(r.V / 1000.0);
    o.BV = static_cast<Single>(r.BV / 1000.0);
    o.UB = static_cast<Single>(r.UB / 1000.0);
    o.Z = r.spare;
    o.classAssigned = (r.flags & StarClassAssigned) != 0;
    o.luminosityAssigned = (r.flags & StarLuminosityAssigned) != 0;
    o.bvAssigned = (r.flags & StarBVAssigned) != 0;
    o.ubAssigned = (r.flags & StarUBAssigned) != 0;
    o.spType = r.spType;
    o.kind = KindStar;
    return o;
}

FieldObject FinderStarObject(const FinderStarRecord& r, int region) {
    FieldObject o;
    o.name = Cut(ZeroPadded(region, 5) + "-" + r.number, FieldObjectNameLength);
    o.ra = r.ra;
    o.dec = r.dec;
    o.V = r.V;
    o.BV = NoMagnitude;
    o.UB = NoMagnitude;
    o.Z = 0;
    o.classAssigned = o.luminosityAssigned = o.bvAssigned = o.ubAssigned = true;
    o.spType = 0;
    o.kind = KindStar;
    return o;
}

// ---- GSCRgnsTblObj.

GSCRgnsTblObj::GSCRgnsTblObj(platform::Services& services, const app::OptsRec& opts)
    : services_(services), opts_(opts) {}

GSCRgnsTblObj::~GSCRgnsTblObj() = default;

bool GSCRgnsTblObj::LoadTable() {
    auto& files = *services_.files;
    tableName_ = files.resolve(platform::WithTrailingSlash(opts_.instrumentCatalogFolder) + RegionTableName);
    platform::ReadResult file = files.readFile(tableName_, MaxCatalogFile);
    if (file.code != 0)
        services_.dialogs->show("Unable to Open Converted GSC Regions Table!\r\n\r\nFile Name: " + tableName_ +
                                    "\r\n" + IOErrorText(file.code),
                                "Converted GSC Regions Error!", platform::Icon::Error);
    if (file.code != 0 || file.bytes.size() < RegionRecordSize) {
        services_.dialogs->show("Unable to Load GSC Regions File.\r\n\r\nFile Name: " + tableName_, "File Error!",
                                platform::Icon::Error);
        loaded_ = false;
        return false;
    }
    regions_ = DecodeRegionTable(file.bytes);
    loaded_ = true;
    logName_.clear();
    if (opts_.editMode) {
        const std::string folder = opts_.usersFolder.empty() ? opts_.dataFolder : opts_.usersFolder;
        const std::string name = platform::WithTrailingSlash(folder) + "RGNDATA.TXT";
        if (files.writeFileAtomic(name, {}) == 0) logName_ = name;
    }
    return true;
}

RegionSelection GSCRgnsTblObj::SelectRegions(const FieldLimits& limits) {
    RegionSelection sel;
    if (!loaded_) return sel;
    for (std::size_t i = 0; i < regions_.size(); ++i) {
        if (!RegionOverlaps(limits, regions_[i])) continue;
        if (sel.count() < MaxSelectedRegions)
            sel.regions.push_back(static_cast<std::uint16_t>(i + 1));
        else
            services_.dialogs->show("Field Contains Too Many Regions!", "Region Table Full!", platform::Icon::Warning);
    }
    if (opts_.editMode && !logName_.empty()) {
        LogLine("RA Limits: " + HMSStr(limits.MinRA, 2, true) + " to " + HMSStr(limits.MaxRA, 2, true));
        LogLine("Dec Limits: " + DMSStr(limits.MinDec, 2, true) + " to " + DMSStr(limits.MaxDec, 2, true));
        LogLine("Number of Regions: " + std::to_string(sel.count()));
        for (std::uint16_t r : sel.regions) LogLine(std::to_string(r));
    }
    return sel;
}

bool GSCRgnsTblObj::AllRegionsAvailable(const RegionSelection& selection) const {
    const std::vector<int>& allowed = ExerciseRegions();
    std::size_t j = 0;
    for (std::uint16_t r : selection.regions) {
        while (j < allowed.size() && allowed[j] < r) ++j;
        if (j == allowed.size() || allowed[j] != r) return false;
    }
    return true;
}

void GSCRgnsTblObj::LogLine(const std::string& line) {
    if (!opts_.editMode || logName_.empty()) return;
    const std::string text = line + "\r\n";
    services_.files->appendFile(logName_, Bytes(text.begin(), text.end()));
}

// ---- GSCFieldObj.

GSCFieldObj::GSCFieldObj(platform::Services& services, const app::OptsRec& opts, GSCRgnsTblObj& table)
    : services_(services), opts_(opts), table_(table) {}

GSCFieldObj::~GSCFieldObj() = default;

std::string GSCFieldObj::CatalogFolder() const { return platform::WithTrailingSlash(opts_.instrumentCatalogFolder); }

std::string FSCFieldObj::CatalogFolder() const { return platform::WithTrailingSlash(opts_.finderCatalogFolder); }

std::string GSCFieldObj::ProgramFile(const std::string& name) const {
    return services_.files->resolve(!name.empty() && name[0] == '/' ? name : opts_.programFolder + name);
}

std::string GSCFieldObj::RegionFilePath(int region) const {
    return services_.files->resolve(CatalogFolder() + RegionFileName(region));
}

void GSCFieldObj::AddStar(const FieldObject& star) {
    Append(objects, star);
    brightestV = std::min(brightestV, star.V);
    faintestV = std::max(faintestV, star.V);
}

std::optional<Bytes> GSCFieldObj::ReadRegionFile(int region) {
    const std::string path = RegionFilePath(region);
    platform::ReadResult file = services_.files->readFile(path, MaxCatalogFile);
    if (file.code != 0) {
        services_.dialogs->show("Unable to Open Star Catalog File!\r\n\r\nFile Name: " + path + "\r\n" +
                                    IOErrorText(file.code),
                                "Star Catalog File Error!", platform::Icon::Error);
        return std::nullopt;
    }
    return std::move(file.bytes);
}

void GSCFieldObj::ReadStars(const FieldLimits& f, const RegionSelection& selection) {
    for (std::uint16_t region : selection.regions) {
        const std::optional<Bytes> bytes = ReadRegionFile(region);
        if (!bytes) return;
        const std::size_t count = bytes->size() / InstrumentStarSize;
        for (std::size_t i = 0; i < count; ++i) {
            const auto rec = DecodeOne<InstrumentStarRecord>(bytes->data() + i * InstrumentStarSize,
                                                             InstrumentStarSize, InstrumentStarVisit);
            const double dec = rec.dec / 1e5, ra = rec.ra / 1e7, V = rec.V / 1000.0;
            if (dec < f.MinDec || dec > f.MaxDec || !InRARange(f, ra) || !(V <= f.LimitMag)) continue;
            AddStar(InstrumentStarObject(rec, region));
        }
    }
}

void FSCFieldObj::ReadStars(const FieldLimits& f, const RegionSelection& selection) {
    for (std::uint16_t region : selection.regions) {
        const std::optional<Bytes> bytes = ReadRegionFile(region);
        if (!bytes) return;
        const std::size_t count = bytes->size() / FinderStarSize;
        for (std::size_t i = 0; i < count; ++i) {
            const auto rec = DecodeOne<FinderStarRecord>(bytes->data() + i * FinderStarSize, FinderStarSize,
                                                         FinderStarVisit);
            if (rec.V > opts_.finderMagLimit) continue;
            if (rec.dec < f.MinDec || rec.dec > f.MaxDec || !InRARange(f, rec.ra) || !(rec.V <= f.LimitMag)) continue;
            AddStar(FinderStarObject(rec, region));
        }
    }
}

bool GSCFieldObj::QueryField(const FieldLimits& limits, const RegionSelection& selection, Extended jd) {
    ClockPause pause(hooks);
    if (catalogFlag() == 1 && !extendedTried_) {
        extendedTried_ = true;
        extended_ = std::make_unique<ExtendedObjects>();
        extended_->Load(platform::WithTrailingSlash(opts_.galaxyImagesFolder) + opts_.galaxyImagesList, services_);
    }
    objects.RemoveAll();
    brightestV = 25.0f;
    faintestV = -2.0f;

    ReadStars(limits, selection);
    if (objects.IsEmpty()) {
        services_.dialogs->show("Possible Error in Field Parameters:\r\n\r\nMinRA: " + FixedStr(limits.MinRA, 6) +
                                    "\r\n" + "MaxRA: " + FixedStr(limits.MaxRA, 6) + "\r\n" +
                                    "MinDec: " + FixedStr(limits.MinDec, 5) + "\r\n" +
                                    "MaxDec: " + FixedStr(limits.MaxDec, 5) + "\r\n" +
                                    "LimitMag: " + FixedStr(limits.LimitMag, 3),
                                "No Stars Found in Field!", platform::Icon::Warning);
        return false;
    }

    FieldLimits copy = limits;
    if (catalogFlag() == 1) {
        copy.LimitMag = std::max(copy.LimitMag, 16.0f);
        ReadQuasars(copy);
        MergeQuasars();
    } else {
        copy.LimitMag = std::min(copy.LimitMag, 12.0f);
    }

    ReadGalaxies(copy);

    if (asteroidList) {
        FieldLimits forAsteroids = copy;
        if (catalogFlag() == 1) forAsteroids.LimitMag = asteroidList->selection.limitingMagnitude;
        asteroidList->SetFieldLimits(forAsteroids);
        asteroidList->ComputeInField();
        AddAsteroids(0, jd);
    }

    TidyGalaxies();
    return true;
}

void GSCFieldObj::ReadQuasars(const FieldLimits& f) {
    quasars.RemoveAll();
    const std::string path = ProgramFile(opts_.qsoCatalog);
    platform::ReadResult file = services_.files->readFile(path, MaxCatalogFile);
    if (file.code != 0) {
        services_.dialogs->show("Unable to Open QSO Catalog File!\r\n\r\nFile Name: " + path + "\r\n" +
                                    IOErrorText(file.code),
                                "QSO Catalog File Error!", platform::Icon::Error);
        return;
    }
    const std::size_t count = file.bytes.size() / QuasarRecordSize;
    auto visit = [](auto& v, QuasarRecord& r) { VisitQuasarRecord(v, r); };
    for (std::size_t i = 0; i < count; ++i) {
        const auto rec = DecodeOne<QuasarRecord>(file.bytes.data() + i * QuasarRecordSize, QuasarRecordSize, visit);
        const InFieldResult t = TestInField(f, rec.ra, rec.dec);
        if (t.in)
            Append(quasars, QuasarObject(rec));
        // Across 0h the quasars above MinRA lie at the end of the file: read on.
        else if (t.pastEnd && !f.acrossZero())
            break;
    }
    quasars.Reset();
}

void GSCFieldObj::MergeQuasars() {
    quasars.Reset();
    while (const FieldObject* q = quasars.Next()) {
        FieldObject* near = NearestToPoint(q->V, q->dec, q->ra);
        if (near && lastNearestDistance <= MergeRadius + MergeSlack) {
            *near = *q;
            continue;
        }
        int after = -1, i = 0;
        objects.Reset();
        while (const FieldObject* o = objects.Next()) {
            if (o->ra <= q->ra) after = i;
            ++i;
        }
        if (after < 0) {
            objects.InsertFirst(*q);
        } else {
            objects.ItemAt(after);
            objects.InsertAfterCurrent(*q);
        }
    }
    quasars.Reset();
    objects.Reset();
}

void GSCFieldObj::ReadGalaxies(const FieldLimits& limits) { ReadGalaxyCatalog(limits, true); }

void FSCFieldObj::ReadGalaxies(const FieldLimits& limits) { ReadGalaxyCatalog(limits, false); }

void GSCFieldObj::ReadGalaxyCatalog(const FieldLimits& f, bool instrument) {
    galaxies.RemoveAll();
    auto& files = *services_.files;
    const std::string unresolved = !opts_.galaxyCatalog.empty() && opts_.galaxyCatalog[0] == '/'
                                       ? opts_.galaxyCatalog
                                       : opts_.programFolder + opts_.galaxyCatalog;
    const std::string path = files.resolve(unresolved);
    platform::ReadResult catalog = files.readFile(path, MaxCatalogFile);
    if (catalog.code != 0) {
        services_.dialogs->show("Unable to Open Galaxy Catalog File!\r\n\r\nFile Name: " + path + "\r\n" +
                                    IOErrorText(catalog.code),
                                "Galaxy Catalog File Error!", platform::Icon::Error);
        return;
    }
    const std::string indexPath = files.resolve(GalaxyIndexName(unresolved));
    platform::ReadResult indexFile = files.readFile(indexPath, MaxCatalogFile);
    if (indexFile.code != 0) {
        services_.dialogs->show("Unable to Open Galaxy Catalog Index File!\r\n\r\nFile Name: " + indexPath + "\r\n" +
                                    IOErrorText(indexFile.code),
                                "Galaxy Catalog File Error!", platform::Icon::Error);
        return;
    }
    const std::vector<GalaxyIndexEntry> index = DecodeGalaxyIndex(indexFile.bytes);
    ExtendedObjects* pictures = instrument ? extended_.get() : nullptr;
    if (pictures) pictures->SelectInField(f);
    const std::string imagesFolder = platform::WithTrailingSlash(opts_.galaxyImagesFolder);

    const std::size_t count = catalog.bytes.size() / GalaxyRecordSize;
    auto accept = [&](const GalaxyRecord& rec) {
        GalaxyEntry g = GalaxyFromRecord(rec);
        if (!instrument) {
            g.BV = NoMagnitude;
            g.UB = NoMagnitude;
            g.spType = 0;
        }
        table_.LogLine("Galaxy " + g.name);
        if (pictures)
            for (std::size_t k : pictures->inField()) {
                const MessierEntry& m = pictures->entries()[k];
                if (!ContainsDesignation(m.name, g.name)) continue;
                auto bmp = std::make_shared<ExtObjBmp>();
                bmp->Load(m, imagesFolder, hooks.telescope, hooks.loadImage);
                g.image = std::move(bmp);
                g.name = m.name;
                break;
            }
        galaxies.InsertSorted(g);
    };
    auto readFrom = [&](std::size_t start) {
        for (std::size_t i = start; i < count; ++i) {
            const GalaxyRecord rec = DecodeGalaxyRecord(catalog.bytes, i);
            const InFieldResult t = TestInField(f, rec.ra, rec.dec);
            if (t.in) {
                if (rec.magnitude <= f.LimitMag) accept(rec);
            } else if (t.pastEnd) {
                return;
            }
        }
    };
    const std::size_t fromMinRA = static_cast<std::size_t>(std::max<std::int32_t>(GalaxyIndexStart(index, f.MinRA), 0));
    if (f.acrossZero()) {
        readFrom(0);
        readFrom(fromMinRA);
    } else {
        readFrom(fromMinRA);
    }
    galaxies.Reset();
}

void GSCFieldObj::TidyGalaxies() {
    galaxies.Reset();
    while (GalaxyEntry* g = galaxies.Next()) {
        FieldObject* o = NearestToPoint(0, g->dec, g->ra);
        if (!o || lastNearestDistance > MergeRadius + MergeSlack) continue;
        if (o->kind == KindQuasar) {
            if (std::fabs(o->V - g->magnitude) < 1) galaxies.DeleteCurrent();
        } else if (o->kind != KindAsteroid) {
            // A catalog star at the galaxy's centre is the galaxy itself. An
            // asteroid passing in front of it is not, and stays.
            objects.ItemAt(lastNearestIndex);
            objects.DeleteCurrent();
        }
    }
    galaxies.Reset();
    objects.Reset();
}

void GSCFieldObj::AddAsteroids(Extended interval, Extended jd) {
    objects.Reset();
    while (const FieldObject* o = objects.Next())
        if (o->kind == KindAsteroid) objects.DeleteCurrent();
    objects.Reset();
    if (!asteroidList) return;
    static const SpectralTypeCode G2V = ParseSpType("G2V");
    auto& list = asteroidList->inField;
    list.Reset();
    while (const OrbitListEntry* e = list.Next()) {
        SolarBody body = MakeSolarBody(StateOf(e->record), KindAstrometric, MagnitudeOf(e->record), services_.dialogs);
        FieldObject o;
        o.name = Cut(AsteroidName(e->record), FieldObjectNameLength);
        o.BV = 0.65f;
        o.UB = 0.195f;
        o.Z = 0;
        o.bvAssigned = o.ubAssigned = true;
        o.kind = KindAsteroid;
        o.spType = G2V;
        for (int pass = 0; pass < (interval != 0 ? 2 : 1); ++pass) {
            const std::optional<AsteroidPlace> p = AsteroidPlaceAt(body, pass == 0 ? jd : jd + interval);
            if (!p) break;
            o.ra = p->ra;
            o.dec = p->dec;
            o.V = static_cast<Single>(p->magnitude);
            Append(objects, o);
        }
    }
    list.Reset();
    objects.Reset();
}

NearestResult GSCFieldObj::NearestObject(double x, double y, bool skipStars) {
    NearestResult r{-1, NearestPixelLimit};
    int i = 0;
    objects.Reset();
    while (const FieldObject* o = objects.Next()) {
        if (!(skipStars && o->kind == KindStar)) {
            const double d = std::hypot(x - o->x, y - o->y);
            if (d < r.distance) r = {i, d};
        }
        ++i;
    }
    objects.Reset();
    return r;
}

NearestResult GSCFieldObj::NearestGalaxy(double x, double y) {
    NearestResult r{-1, NearestPixelLimit};
    int i = 0;
    galaxies.Reset();
    while (const GalaxyEntry* g = galaxies.Next()) {
        const double d = std::hypot(x - g->x, y - g->y);
        if (d < r.distance) r = {i, d};
        ++i;
    }
    galaxies.Reset();
    return r;
}

PointResult GSCFieldObj::ObjectAtPoint(double x, double y, double scale, InstrumentAcceptance* instrument) {
    const NearestResult o = NearestObject(x, y, false);
    const NearestResult g = NearestGalaxy(x, y);
    PointResult none;
    if (o.index < 0 && g.index < 0) return none;
    const double ds = o.index >= 0 ? o.distance : NearestPixelLimit;
    const double dg = g.index >= 0 ? g.distance : NearestPixelLimit;
    double c = 0;
    if (g.index >= 0) {
        const GalaxyEntry* ge = galaxies.ItemAt(g.index);
        const double size = ge->major == 0 ? 0.5 : ge->major;
        c = std::max(3.0, std::nearbyint(size * scale / 60 / 2));
    }
    PointResult object{PointResult::What::Object, o.index};
    PointResult galaxy{PointResult::What::Galaxy, g.index};
    if (o.index >= 0 && ds <= dg) {
        if (g.index >= 0 && dg < c && instrument) {
            const Extended objectValue = instrument->ObjectValue(*objects.ItemAt(o.index));
            instrument->GalaxyValue(*galaxies.ItemAt(g.index));
            if (objectValue == 0) return galaxy;
        }
        return object;
    }
    if (g.index >= 0 && dg < c) return galaxy;
    return none;
}

FieldObjectList GSCFieldObj::ObjectsNear(double dec, double ra, double apertureRadius) {
    FieldObjectList out;
    const double radius = apertureRadius + NeighbourMargin;
    std::set<std::string> quasarsInObjects;
    objects.Reset();
    while (const FieldObject* o = objects.Next()) {
        if (o->kind == KindQuasar) quasarsInObjects.insert(o->name);
        if (AngularDistance(*o, dec, ra) <= radius) Append(out, *o);
    }
    objects.Reset();
    // The quasar list's entries are already in the object list once merged;
    // each is taken only once, or its light would count twice.
    quasars.Reset();
    while (const FieldObject* q = quasars.Next())
        if (!quasarsInObjects.count(q->name) && AngularDistance(*q, dec, ra) <= radius) Append(out, *q);
    quasars.Reset();
    out.Reset();
    return out;
}

FieldObject* GSCFieldObj::NearestToPoint(Single vMag, double dec, double ra) {
    const double cosDec = std::cos(static_cast<double>(dec * DegToRad));
    int best = -1, i = 0;
    double bestD = NearestDegreeLimit;
    objects.Reset();
    while (const FieldObject* o = objects.Next()) {
        double dRA = std::fabs(ra - o->ra);
        if (dRA > 12) dRA = 24 - dRA;
        const double a = 15 * dRA * cosDec, b = dec - o->dec;
        const double d = std::sqrt(a * a + b * b);
        if (d < bestD && (vMag == 0 || std::fabs(vMag - o->V) < 1)) {
            best = i;
            bestD = d;
        }
        ++i;
    }
    lastNearestIndex = best;
    lastNearestDistance = bestD;
    if (best < 0) {
        objects.Reset();
        return nullptr;
    }
    return objects.ItemAt(best);
}

bool GSCFieldObj::UpdateStar(const FieldObject& object, bool silent) {
    auto& files = *services_.files;
    const std::string caption = "Star Catalog File Error!";
    int region = 0;
    for (std::size_t i = 1; i < 5 && i < object.name.size(); ++i) {
        const char c = object.name[i];
        if (c < '0' || c > '9') {
            region = 0;
            break;
        }
        region = region * 10 + (c - '0');
    }
    const std::string number = object.name.size() > 6 ? object.name.substr(6, 5) : std::string();
    const std::string path = region >= 1 ? RegionFilePath(region) : std::string();

    if (!path.empty() && files.isReadOnly(path)) {
        services_.dialogs->show("Unable to Open Star Catalog File for Update!\r\n\r\nFile Name: " + path + "\r\n" +
                                    "File is Read Only!",
                                caption, platform::Icon::Error);
        return false;
    }
    platform::ReadResult file;
    if (!path.empty()) file = files.readFile(path, MaxCatalogFile);
    if (path.empty() || file.code != 0) {
        services_.dialogs->show("Unable to Open Star Catalog File for Update!\r\n\r\nFile Name: " + path + "\r\n" +
                                    IOErrorText(path.empty() ? 2 : file.code),
                                caption, platform::Icon::Error);
        return false;
    }

    // The records of a region file are sorted by star number.
    const std::size_t count = file.bytes.size() / InstrumentStarSize;
    std::size_t lo = 0, hi = count;
    std::optional<std::size_t> found;
    InstrumentStarRecord rec;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        rec = DecodeOne<InstrumentStarRecord>(file.bytes.data() + mid * InstrumentStarSize, InstrumentStarSize,
                                              InstrumentStarVisit);
        if (rec.number == number) {
            found = mid;
            break;
        }
        if (rec.number < number)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (!found) {
        services_.dialogs->show("Unable to locate object " + object.name + " in file" + "\r\n" + path,
                                "Update Unsuccessful!", platform::Icon::Error);
        return false;
    }

    auto setBit = [&](std::uint8_t bit, bool on) { rec.flags = on ? (rec.flags | bit) : (rec.flags & ~bit); };
    if (object.V < NoMagnitude) rec.V = ToInt16(static_cast<Extended>(object.V) * 1000);
    if (object.BV < NoMagnitude) {
        rec.BV = ToInt16(static_cast<Extended>(object.BV) * 1000);
        setBit(StarBVAssigned, object.bvAssigned);
    }
    if (object.UB < NoMagnitude) {
        rec.UB = ToInt16(static_cast<Extended>(object.UB) * 1000);
        setBit(StarUBAssigned, object.ubAssigned);
    }
    rec.spare = ToInt16(object.Z);
    if (object.spType != 0) {
        rec.spType = object.spType;
        setBit(StarClassAssigned, object.classAssigned);
        setBit(StarLuminosityAssigned, object.luminosityAssigned);
    }
    const Bytes updated = EncodeInstrumentStars({rec});
    std::copy(updated.begin(), updated.end(), file.bytes.begin() + static_cast<std::ptrdiff_t>(*found * InstrumentStarSize));
    if (const int code = files.writeFileAtomic(path, file.bytes); code != 0) {
        services_.dialogs->show("Unable to Open Star Catalog File for Update!\r\n\r\nFile Name: " + path + "\r\n" +
                                    IOErrorText(code),
                                caption, platform::Icon::Error);
        return false;
    }
    if (opts_.editMode && !silent)
        services_.dialogs->show("Object " + object.name + " Updated", "Update Successful", platform::Icon::Information);
    return true;
}

}  // namespace qnr
