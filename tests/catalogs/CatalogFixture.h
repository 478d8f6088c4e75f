#pragma once
// A small catalog tree in a temporary folder, written with the catalogs' own
// record writers: a region table with a few regions, their star files, the
// galaxy catalog with its index, the quasar catalog, the picture list and an
// orbit file, and the options that point at them.
#include <string>
#include <vector>

#include "app/Options.h"
#include "catalogs/AstFlDlg.h"
#include "catalogs/ExtendedObjects.h"
#include "catalogs/Star_Cat.h"
#include "support/Fakes.h"

namespace qnr::test {

// Region geometry of the tree (numbers from the real table's ranges, so the
// exercise list and the folder bands apply).
inline constexpr int RegionWest = 282;   // 23.5h-24h, Dec 0..7.5, exercise region
inline constexpr int RegionEast = 285;   // 0h-0.5h, Dec 0..7.5, exercise region
inline constexpr int RegionOther = 283;  // 0.5h-1h, Dec 0..7.5, not an exercise region
inline constexpr int RegionPoleA = 4661;  // 0h-12h, Dec 82.5..90
inline constexpr int RegionPoleB = 4662;  // 12h-24h, Dec 82.5..90

class CatalogTree {
public:
    CatalogTree() {
        const std::string root = folder.path();
        opts.programFolder = root;
        opts.dataFolder = root;
        opts.usersFolder = root + "Users/";
        opts.instrumentCatalogFolder = root + "CGSC/";
        opts.finderCatalogFolder = root + "FGSC/";
        opts.galaxyCatalog = "ZARN_GLX.DAT";
        opts.qsoCatalog = "ZARN_QSO.DAT";
        opts.galaxyImagesFolder = root + "IMAGES/GALAXIES/";
        opts.galaxyImagesList = "GLIMAGES.LST";
        opts.orbitFile = root + "ORBIT/QNRA_MPC.CMO";
        services = fakes.services();
        services.files->makeFolders(opts.usersFolder);
        table.assign(RegionCount, UnusedRegion());
        region(RegionWest, {23.5, 24.0, 0.0, 7.5});
        region(RegionEast, {0.0, 0.5, 0.0, 7.5});
        region(RegionOther, {0.5, 1.0, 0.0, 7.5});
        region(RegionPoleA, {0.0, 12.0, 82.5, 90.0});
        region(RegionPoleB, {12.0, 24.0, 82.5, 90.0});
    }

    void region(int n, RegionRecord r) { table[static_cast<std::size_t>(n - 1)] = r; }
    void writeTable() { write(opts.instrumentCatalogFolder + RegionTableName, EncodeRegionTable(table)); }

    void stars(int region, const std::vector<InstrumentStarRecord>& records) {
        write(opts.instrumentCatalogFolder + RegionFileName(region), EncodeInstrumentStars(records));
    }
    void finderStars(int region, const std::vector<FinderStarRecord>& records) {
        write(opts.finderCatalogFolder + RegionFileName(region), EncodeFinderStars(records));
    }
    void galaxies(const std::vector<GalaxyRecord>& sorted) {
        write(opts.programFolder + opts.galaxyCatalog, EncodeGalaxyCatalog(sorted));
        write(GalaxyIndexName(opts.programFolder + opts.galaxyCatalog), EncodeGalaxyIndex(BuildGalaxyIndex(sorted)));
    }
    void quasars(const std::vector<QuasarRecord>& sorted) {
        write(opts.programFolder + opts.qsoCatalog, EncodeQuasarCatalog(sorted));
    }
    void imageList(const std::vector<GalaxyImageLine>& lines) {
        write(opts.galaxyImagesFolder + opts.galaxyImagesList, EncodeGalaxyImageList(lines));
    }
    void orbits(const std::vector<OrbitRecord>& records) { write(opts.orbitFile, EncodeOrbitFile(records)); }
    // Empty galaxy, quasar and picture files, for tests about stars only.
    void emptyExtras() {
        galaxies({});
        quasars({});
        imageList({});
    }

    void write(const std::string& path, const Bytes& bytes) {
        services.files->makeFolders(platform::FolderOf(path));
        services.files->writeFileAtomic(path, bytes);
    }

    TempFolder folder;
    FakePlatform fakes;
    platform::Services services;
    app::OptsRec opts;
    std::vector<RegionRecord> table;
};

inline GalaxyRecord Galaxy(const std::string& ngc, double ra, double dec, Single mag, int type = 3, char bar = ' ',
                           char lum = ' ', char variety = ' ') {
    GalaxyRecord g;
    g.ra = ra;
    g.dec = dec;
    g.magnitude = mag;
    g.major = 2.0f;
    g.minor = 1.0f;
    g.typeCode = static_cast<std::int8_t>(type);
    g.bar = bar;
    g.luminosity = lum;
    g.variety = variety;
    g.nameKind = GalaxyNameNGC;
    g.number = ngc;
    return g;
}

inline QuasarRecord Quasar(const std::string& name, double ra, double dec, Single V, Single Z) {
    QuasarRecord q;
    q.name = name;
    q.ra = ra;
    q.dec = dec;
    q.V = V;
    q.BV = 0.2f;
    q.UB = -0.7f;
    q.Z = Z;
    q.bvAssigned = 1;
    q.ubAssigned = 0;
    return q;
}

}  // namespace qnr::test
