#pragma once
// The observable asteroids of the observation date: the orbit file of
// 151-byte state-vector records, the list of the bodies bright enough that
// are near-Earth asteroids or near opposition, the in-field part of it for
// the field query, and the texts of the list report and the elements report.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "astro/BinFile.h"
#include "astro/DateTime.h"
#include "astro/LinkLst.h"
#include "astro/MathStd.h"
#include "astro/Orbit_Pr.h"
#include "astro/Types.h"
#include "catalogs/FieldObject.h"

namespace qnr {

namespace app { struct OptsRec; }
namespace platform { struct Services; }

// ---- Orbit files (".CMO").

inline constexpr std::size_t OrbitRecordSize = 151;

// Indexes into OrbitRecord::notes (file offsets 145 to 150).
inline constexpr std::size_t NoteCrossing = 0;      // AST: planet-crossing flags
inline constexpr std::size_t NoteComputation = 1;   // both: orbit computation notes
inline constexpr std::size_t NoteCritical = 2;      // MPC: critical flags
inline constexpr std::size_t NoteCriticalList = 3;  // AST: critical-list code
inline constexpr std::size_t NoteGroup = 4;         // MPC: orbit group
inline constexpr std::size_t NoteImportance = 5;    // AST: importance; MPC: uncertainty U

struct OrbitRecord {
    std::uint8_t reserved = 0;
    std::string name;    // text[30]
    std::string number;  // text[7]; empty when unnumbered
    Extended epoch = 0;  // JD of the state vector
    Vector3 position;    // km, heliocentric ecliptic of the equinox below
    Vector3 velocity;    // km/s
    std::uint8_t centralBody = 0;
    std::uint8_t magnitudeType = MagnitudeAsteroid;  // 1 asteroid (H, G), 2 comet
    Extended H = 0;
    Extended G = 0;
    std::uint8_t kind = KindMean;
    std::uint8_t frame = FrameEcliptic;
    std::uint8_t equinoxCode = EpochJ2000;  // 0 Besselian, 1 Julian, 2 of date
    Extended equinoxJD = JD_J2000;
    std::array<std::uint8_t, 6> notes{};
};

template <class V>
void VisitOrbitRecord(V& v, OrbitRecord& r) {
    v.u8(r.reserved);
    v.text(r.name, 30);
    v.text(r.number, 7);
    v.extended(r.epoch);
    v.extended(r.position.x);
    v.extended(r.position.y);
    v.extended(r.position.z);
    v.extended(r.velocity.x);
    v.extended(r.velocity.y);
    v.extended(r.velocity.z);
    v.u8(r.centralBody);
    v.u8(r.magnitudeType);
    v.extended(r.H);
    v.extended(r.G);
    v.u8(r.kind);
    v.u8(r.frame);
    v.u8(r.equinoxCode);
    v.extended(r.equinoxJD);
    for (auto& n : r.notes) v.u8(n);
}

Bytes EncodeOrbitFile(const std::vector<OrbitRecord>& records);
std::vector<OrbitRecord> DecodeOrbitFile(const Bytes& bytes);

StateVector StateOf(const OrbitRecord& record);
MagnitudeParameters MagnitudeOf(const OrbitRecord& record);

// Where a field shows an asteroid: its astrometric place in the star
// catalog's frame (J2000.0), so that it sits among the stars where an
// astrometric measurement finds it; nullopt when the orbit gives no place.
struct AsteroidPlace {
    double ra = 0, dec = 0;  // hours, degrees
    Extended magnitude = 100;
    Extended distanceAU = 0;
};
std::optional<AsteroidPlace> AsteroidPlaceAt(SolarBody& body, Extended jd);
// "(433) Eros" for a numbered body, else the name; trailing blanks removed.
std::string AsteroidName(const OrbitRecord& record);

// 0 AST notes ("QNRA_AST" in the name), 1 MPC notes ("QNRA_MPC"), 2 none.
inline constexpr int OrbitNotesAST = 0;
inline constexpr int OrbitNotesMPC = 1;
inline constexpr int OrbitNoList = 2;
int OrbitFileType(const std::string& fileName);

// Whether a body of the file type counts as a near-Earth asteroid.
bool IsNearEarth(const OrbitRecord& record, int fileType);

// ---- The observable list.

struct OrbitListEntry {
    double ra = 0;   // hours, 0-24, equator of date
    double dec = 0;  // degrees
    Single magnitude = 0;
    Single delta = 0;  // geocentric distance, AU
    OrbitRecord record;
};

class ObservableAsteroids : public SortableLinkList<OrbitListEntry> {
public:
    bool Greater(const OrbitListEntry& a, const OrbitListEntry& b) const override { return a.ra > b.ra; }
};

struct OrbFileSelectRec {
    Single limitingMagnitude = 16.0f;
};

// A hot-list target made from an entry.
struct HotListTarget {
    std::string name;  // up to 24 characters
    double ra = 0;
    double dec = 0;
    std::uint8_t kind = 0;
};

// The text of a report window.
struct ReportText {
    std::string caption;
    std::string reportName;
    std::vector<std::string> lines;
    // The lines that show list entries (-1 when there are none).
    int firstEntryLine = -1;
    int lastEntryLine = -1;
    // The entry a line shows, for a double-click; nullopt off the entry lines.
    std::optional<int> EntryOfLine(int line) const;
};

// The opposition window: anti-solar RA +- 1 h (hours).
struct OppositionWindow {
    double low = 0;
    double high = 0;
    bool Contains(double ra) const;
};
OppositionWindow OppositionWindowAt(Extended jd);

class TOrbitList {
public:
    TOrbitList(platform::Services& services, const app::OptsRec& opts);

    // Builds the observable list for the local day number d; false for an
    // orbit file of type 2 or one that cannot be read (after its message).
    bool ComputeList(double d);
    void SetFieldLimits(const FieldLimits& limits) { fieldLimits = limits; }
    void ComputeInField();

    // The list report (ShowReport's window text).
    ReportText Report();
    // The elements report of entry index; nullopt for a bad index.
    std::optional<ReportText> Elements(int index);
    std::optional<HotListTarget> FormatForHotList(int index);

    // The orbit file, resolved against the program folder.
    std::string OrbitFilePath() const;
    int fileType() const { return fileType_; }

    ObsDateTime date;
    int nearEarthCount = 0;
    int oppositionCount = 0;
    ObservableAsteroids observable;
    FieldLimits fieldLimits;
    LinkListObj<OrbitListEntry> inField;
    bool inFieldComputed = false;
    OrbFileSelectRec selection;

private:
    platform::Services& services_;
    const app::OptsRec& opts_;
    int fileType_ = OrbitNotesMPC;
};

// The lines of the elements report of one record.
std::vector<std::string> ElementsLines(const OrbitRecord& record, int fileType);
// The report line of one entry.
std::string AsteroidReportLine(const OrbitListEntry& entry, int fileType);

}  // namespace qnr
