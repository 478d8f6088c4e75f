#pragma once
// The camera image leaves the system as a FITS file (header cards of 80
// characters in 2880-byte blocks, big-endian single-precision pixels) and is
// shown through an 8-bit grey-scale BMP copy.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "astro/Types.h"
#include "ccd/CCD_Img.h"
#include "platform/Services.h"

namespace qnr::ccd {

inline constexpr std::size_t FitsBlock = 2880;
inline constexpr std::size_t FitsRecord = 80;
inline constexpr const char* FitsSaveTitle = "Save Image as FITS File";
inline constexpr const char* FitsErrorCaption = "FITS File Error!";
inline constexpr const char* BmpErrorCaption = "BMP File Error!";
inline constexpr const char* DisplayFileName = "CCDImage.BMP";

extern const std::array<const char*, 5> FilterNames;  // "NONE", "B", "V", "R", "I"

struct FitsHeader {
    int width = 0, height = 0;
    std::string object;
    std::string date;  // the sky clock at the moment of saving, StampStr with time
    int filter = 0;
    Extended ra = 0;   // hours
    Extended dec = 0;  // degrees
    std::string observatory, telescope;
    std::string instrument = "CCD Camera";
    std::string detector;
    std::string observer;
    Extended exposure = 0;  // seconds
    std::string dateObs;    // the start of the exposure
    int gain = 1;
};

// Record formatters, each exactly 80 characters.
std::string LogicalRecord(const std::string& key, bool value);
std::string IntegerRecord(const std::string& key, const std::string& digits);
// Apostrophes are doubled; a text that would no longer close its quote
// within the card is shortened first.
std::string TextRecord(const std::string& key, const std::string& text);
std::string EndRecord();

// "5:34:31.9" and "-5:23:28": the SexaStr forms without leading spaces.
std::string FitsRaText(Extended hours);
std::string FitsDecText(Extended degrees);

std::vector<std::string> HeaderRecords(const FitsHeader& header);
// The whole file: header blocks, then the pixels row 0 first, zero-filled.
std::vector<std::uint8_t> FitsBytes(const FitsHeader& header, const ImgArrayObj& image);

// OBSERVER: the first name, then each further non-empty one after "," while
// the total stays below 68 characters.
std::string ObserverText(const std::array<std::string, 4>& names);
// The object's name: the target's name when shown and known, else the typed
// ID with "Qnra-" in front unless it is "UNKNOWN" in any case (also for an
// empty ID). The default file name is it + "-01.FIT".
std::string ObjectName(bool showObjectId, const std::string& targetName, const std::string& objectId);
// OBJECT: the object's name cut to the header's 68 characters.
std::string ObjectText(bool showObjectId, const std::string& targetName, const std::string& objectId);

// The file-exists test of the save rules: names differing only in case count
// as the same file, as they did where the format's users came from.
bool ExistsIgnoringCase(platform::FileSystem& files, const std::string& path);
// The proposed name, or the first with a higher sequence number before the
// "." that does not exist in the folder (numbers past 99 take more digits).
std::string NextFreeName(platform::FileSystem& files, const std::string& folder, const std::string& name);

class FITSFileObj {
public:
    explicit FITSFileObj(platform::Services& services) : services_(services) {}

    // The save dialog, the overwrite question and the file; true when saved.
    // defaultName and defaultFolder are used while nothing was saved yet.
    bool Save(const ImgArrayObj& image, const FitsHeader& header, const std::string& defaultName,
              const std::string& defaultFolder);

    std::string fileName;  // the last saved name, without folder
    std::string folder;    // ends in "/"

private:
    platform::Services& services_;
};

// The display copy: 14-byte header, 40-byte information header with a
// negative height (rows top-down), the grey palette, padded rows.
std::vector<std::uint8_t> BmpBytes(const std::vector<std::uint8_t>& indexes, int width, int height);

}  // namespace qnr::ccd
