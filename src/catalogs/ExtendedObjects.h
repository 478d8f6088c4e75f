#pragma once
// Galaxies and quasars: the galaxy catalog with its hour index, the quasar
// catalog, the list of galaxies that have real pictures ("GLIMAGES.LST"),
// their picture objects, the galaxy-type texts and two magnitude helpers.
// The writers of every format are public so that the data tree can be laid
// out with the same code that reads it.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "astro/BinFile.h"
#include "astro/Types.h"
#include "catalogs/FieldObject.h"
#include "catalogs/SpType.h"

namespace qnr {

namespace platform { struct Services; }

// ---- Galaxy catalog ("ZARN_GLX.DAT"), 59-byte records sorted by RA.

inline constexpr std::size_t GalaxyRecordSize = 59;
inline constexpr std::uint8_t GalaxyNameNGC = 0;
inline constexpr std::uint8_t GalaxyNameIC = 1;
inline constexpr std::uint8_t GalaxyOwnName = 2;

struct GalaxyRecord {
    double ra = 0;   // hours
    double dec = 0;  // degrees
    Single major = 0;  // arcminutes
    Single minor = 0;
    Single magnitude = 0;
    Single spare = 0;
    std::int16_t positionAngle = 0;  // degrees, 0 = not given
    std::int8_t typeCode = 0;        // -9 .. 20
    char bar = ' ';                  // 'B', 'X' or ' '
    char luminosity = ' ';           // '1'..'9' or ' '
    char variety = ' ';
    std::uint8_t nameKind = GalaxyNameNGC;  // 0 NGC, 1 IC, other: own name
    std::string number;   // text[7]
    std::string ownName;  // text[11]
};

template <class V>
void VisitGalaxyRecord(V& v, GalaxyRecord& r) {
    v.dbl(r.ra);
    v.dbl(r.dec);
    v.single(r.major);
    v.single(r.minor);
    v.single(r.magnitude);
    v.single(r.spare);
    v.i16(r.positionAngle);
    v.i8(r.typeCode);
    v.ch(r.bar);
    v.ch(r.luminosity);
    v.ch(r.variety);
    v.u8(r.nameKind);
    v.text(r.number, 7);
    v.text(r.ownName, 11);
}

Bytes EncodeGalaxyCatalog(const std::vector<GalaxyRecord>& records);
std::vector<GalaxyRecord> DecodeGalaxyCatalog(const Bytes& bytes);
GalaxyRecord DecodeGalaxyRecord(const Bytes& bytes, std::size_t index);

// "NGC " + number, "IC " + number, or the own name.
std::string GalaxyName(const GalaxyRecord& record);

// ---- Galaxy index (".NDX"): a whole-hour key and the first record from it on.

struct GalaxyIndexEntry {
    std::int32_t key = 0;     // RA, whole hours
    std::int32_t record = 0;  // number of the first record at or after that hour
};
inline constexpr std::size_t GalaxyIndexEntrySize = 8;

template <class V>
void VisitGalaxyIndexEntry(V& v, GalaxyIndexEntry& e) {
    v.i32(e.key);
    v.i32(e.record);
}

// The marks 0 to 24 of an RA-sorted catalog; the last (24) is the record count.
std::vector<GalaxyIndexEntry> BuildGalaxyIndex(const std::vector<GalaxyRecord>& sortedRecords);
Bytes EncodeGalaxyIndex(const std::vector<GalaxyIndexEntry>& entries);
std::vector<GalaxyIndexEntry> DecodeGalaxyIndex(const Bytes& bytes);
// The catalog's name with its extension replaced by ".NDX".
std::string GalaxyIndexName(const std::string& catalogPath);
// The record to start reading from for minRA: walking back from the
// second-to-last entry, the first whose key does not exceed minRA.
std::int32_t GalaxyIndexStart(const std::vector<GalaxyIndexEntry>& index, double minRA);

// ---- Quasar catalog ("ZARN_QSO.DAT"), 52-byte records sorted by RA.

inline constexpr std::size_t QuasarRecordSize = 52;

struct QuasarRecord {
    std::string name;  // text[17]
    double ra = 0;
    double dec = 0;
    Single V = NoMagnitude;
    Single BV = NoMagnitude;
    Single UB = NoMagnitude;
    Single Z = 0;
    std::uint8_t bvAssigned = 0;
    std::uint8_t ubAssigned = 0;
};

template <class V>
void VisitQuasarRecord(V& v, QuasarRecord& r) {
    v.text(r.name, 17);
    v.dbl(r.ra);
    v.dbl(r.dec);
    v.single(r.V);
    v.single(r.BV);
    v.single(r.UB);
    v.single(r.Z);
    v.u8(r.bvAssigned);
    v.u8(r.ubAssigned);
}

Bytes EncodeQuasarCatalog(const std::vector<QuasarRecord>& records);
std::vector<QuasarRecord> DecodeQuasarCatalog(const Bytes& bytes);

// The spectral code every quasar of a field carries.
inline constexpr SpectralTypeCode QuasarSpectralCode = 99;

// A quasar record as a field object (kind 3).
FieldObject QuasarObject(const QuasarRecord& record);

// ---- Galaxy pictures.

// A picture as a loader hands it over: rows of red, green, blue bytes.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // 3 bytes per pixel, row by row
};
// A grey picture, one byte per pixel.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> grey;
};
// Reads a picture file; nullopt when it cannot. Supplied by the window layer.
using ImageLoader = std::function<std::optional<RgbImage>(const std::string& path)>;

// One line of "GLIMAGES.LST".
struct MessierEntry {
    std::string name;  // up to 18 characters
    double ra = 0;     // hours
    double dec = 0;    // degrees
    Single magnitude = 0;
    double x = 0, y = 0;    // view position
    std::string fileName;   // up to 71 characters
    std::int16_t extra1 = 0, extra2 = 0;
    std::int16_t x0 = 0, y0 = 0;  // reference pixel of the picture
};

// The fields of one list line as written.
struct GalaxyImageLine {
    std::string designation;  // "M 31"; empty for a galaxy known by its NGC number only
    std::string ngcNumber;    // "224"
    std::optional<Single> magnitude;  // empty field when absent
    double ra = 0, dec = 0;
    std::string fileName;
    std::int16_t extra1 = 0, extra2 = 0, x0 = 0, y0 = 0;
};
std::string FormatGalaxyImageLine(const GalaxyImageLine& line);
// The whole list file, lines ending in CR LF.
Bytes EncodeGalaxyImageList(const std::vector<GalaxyImageLine>& lines);
// nullopt for a line without the picture part or with a field that does not convert.
std::optional<MessierEntry> ParseGalaxyImageLine(const std::string& line);

// Brightness of the pictures by telescope (0 the 0.4 m, 1 the 1.0 m, 2 the 4.0 m).
double GalaxyImageFactor(int telescope);
// Each pixel's grey level: its red channel times the factor, rounded, at most 255.
GreyImage GreyFromRed(const RgbImage& image, double factor);

// A galaxy's picture: a copy of its list entry and the grey image (none
// when no loader is given or the file cannot be read).
class ExtObjBmp {
public:
    bool Load(const MessierEntry& entry, const std::string& imagesFolder, int telescope,
              const ImageLoader& loader);
    MessierEntry entry;
    std::shared_ptr<const GreyImage> image;
    // Where the picture's top-left corner goes in the view: the entry's view
    // position, each rounded, minus the reference pixel.
    std::pair<int, int> Origin() const;
};

// The galaxies with pictures, and those of them inside the current field.
class ExtendedObjects {
public:
    // Reads the list; false after the message when the file cannot be read.
    bool Load(const std::string& path, platform::Services& services);
    void SelectInField(const FieldLimits& limits);
    const std::vector<MessierEntry>& entries() const { return entries_; }
    // Indexes into entries(), in list order.
    const std::vector<std::size_t>& inField() const { return inField_; }

private:
    std::vector<MessierEntry> entries_;
    std::vector<std::size_t> inField_;
};

// ---- Galaxy entries of a field.

struct GalaxyEntry {
    std::string name;  // up to 18 characters
    double ra = 0;
    double dec = 0;
    Single magnitude = 0;
    Single BV = NoMagnitude;
    Single UB = NoMagnitude;
    Single major = 0, minor = 0;  // arcminutes
    std::int16_t positionAngle = 0;
    Single spare = 0;
    std::int8_t typeCode = 0;
    char bar = ' ', luminosity = ' ', variety = ' ';
    SpectralTypeCode spType = 0;
    double x = 0, y = 0;  // view position
    std::shared_ptr<ExtObjBmp> image;
};

inline constexpr std::size_t GalaxyNameLength = 18;

// Colours and spectral type of a galaxy by its morphological code.
struct GalaxyColours {
    Single BV = NoMagnitude;
    Single UB = NoMagnitude;
    SpectralTypeCode spType = 0;
};
GalaxyColours GalaxyColoursOf(int typeCode);

// A galaxy entry from its record (instrument colours, no picture).
GalaxyEntry GalaxyFromRecord(const GalaxyRecord& record);

// "SABb(s) II-III" and the like.
std::string GalaxyTypeText(int typeCode, char bar, char luminosity, char variety);
std::string GalaxyTypeText(const GalaxyEntry& entry);

// The magnitude of two sources together.
Extended MagnitudeSum(Extended m1, Extended m2);
// zero - 2.5 log10(ratio), or 30 for a ratio that is not positive.
Extended MagnitudeOfRatio(Extended ratio, Extended zero);

}  // namespace qnr
