#pragma once
// The exercise options: the record, its defaults, the options file and the
// instructor password.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "astro/BinFile.h"
#include "astro/Types.h"
#include "platform/Services.h"

namespace qnr::app {

inline constexpr std::size_t OptionsFileSize = 4586;
inline constexpr const char* OptionsFileName = "QNR_OPTS.INI";
inline constexpr const char* ProgramVersion = "1.121";

// One optical telescope with its site.
struct TelescopeEntry {
    std::string name;           // text[40]
    Single availability = 1;    // probability 0..1
    std::uint8_t minAllocation = 255;
    std::uint8_t maxAllocation = 255;
    std::uint8_t reapplyWait = 0;  // minutes
    Single aperture = 0;        // mm
    Single focalLength = 0;     // mm
    Single finderFactor = 0;    // magnitudes
    Single scopeFactor = 0;     // magnitudes
    Single seeingDisk = 0;      // arcseconds
    std::string siteName;       // text[40]
    Extended longitude = 0;     // radians, east positive
    Extended latitude = 0;      // radians
    Extended horizonLimit = 0;  // radians
    Single altitude = 0;        // metres
    Single utMinusLocal = 0;    // hours
};

struct CameraBlock {
    std::string name;           // text[40]
    Single pixelWidth = 24;     // microns
    Single pixelHeight = 24;
    Single readNoise = 5;       // electrons per pixel
    Single darkNoise = 2;       // electrons per pixel per second
    Single baseMagnitude = 10;
    std::int32_t baseCount = 1000;
    std::int32_t baseExposure = 10;  // seconds
    std::int32_t bias = 1000;
    std::int32_t imageWidth = 1024;
    std::int32_t imageHeight = 1024;
    std::int32_t adDepth = 16;
    std::int32_t wellDepth = 320000;
    std::uint8_t cooling = 0;   // 0 thermoelectric, 1 liquid nitrogen
    bool positionNoise = true;
};

// The instructor password as stored: length 0..16 and the complemented bytes.
struct ScrambledPassword {
    std::array<std::uint8_t, 16> bytes{};
    std::uint8_t length = 0;
};
ScrambledPassword ScramblePassword(const std::string& password);
std::string UnscramblePassword(const ScrambledPassword& stored);

struct OptsRec {
    // Identification and folders (not saved, except fileVersion).
    std::string programVersion;   // text[71]
    std::string fileName;         // text[71]
    std::string backupName;       // text[71]
    std::string fileVersion;      // text[71], the file's first field
    std::string programFolder;    // text[255], ends in "/"
    std::string dataFolder;       // text[255], ends in "/"
    std::string usersFolder;      // text[255]
    std::string currentHotList;   // text[71]

    // Display and help files, text[71].
    std::string logoBitmap, titleBitmap, generalHelp, mainHelpList, observatoryHelpList,
        spectrometerHelpList, photometerHelpList, cameraHelpList, measuringHelpList,
        classificationHelpList, userHelp, reminderFile;
    // Data files in the program folder, text[71].
    std::string galaxyImagesList, zLinesCatalogList, atlasList, spectralLineList, galaxyCatalog,
        qsoCatalog, qsoSpectrum, classificationList, hotListFile, clusterList;
    // Folders and programs, text[255].
    std::string instrumentCatalogFolder, finderCatalogFolder, spectraIndexFile, galaxySpectraFolder,
        galaxyImagesFolder, spreadsheetProgram, astrometryProgram, logFile, orbitFile;
    std::uint8_t orbitFileKind = 1;  // 0 QNRA_AST, 1 QNRA_MPC, 2 other

    // Site of the current telescope (not saved).
    std::string siteName;  // text[40]
    Extended siteLongitude = 0, siteLatitude = 0, siteHorizonLimit = 0;
    Single siteAltitude = 0;

    // Time zone (not saved).
    Single zoneHours = 0;      // UT minus local, hours
    Single daylightHours = 0;  // daylight bias in force, hours
    std::string zoneName = "Unknown";

    // Field and view parameters.
    Single finderField = 2.5f, finderMagLimit = 11.5f, instrumentField = 15.0f, baseMagnitude = 9.0f,
           photometerSkyMag = 16.0f, spectrometerSkyMag = 16.0f, defaultMinWavelength = 3700.0f,
           defaultMaxWavelength = 4700.0f, baseSlewRate = 5.0f;
    Single currentMinWavelength = 3700.0f, currentMaxWavelength = 4700.0f;  // not saved
    std::int32_t fieldCreationFactor = 3, photometerBaseCount = 1000, photometerTimerWait = 100,
                 spectrometerBaseCount = 50, spectrometerTimerWait = 1;
    std::uint8_t slewSpeed = 4;

    CameraBlock camera;

    // Option switches.
    bool loginRequired = true;
    bool administrator = false;  // never read from the file
    bool testMode = false, limitSlewing = false, editMode = false, computeMagnitudes = true,
         showObjectMag = false, showObjectId = false, includeRI = false, fastScopeChange = false,
         restrictScopeAccess = true, soundEffects = true, writeLogFile = false, allowUserChange = true,
         timeDependentData = false;

    std::string labTable;  // text[4]
    ScrambledPassword password;

    std::array<TelescopeEntry, 3> telescopes;
};

// Cuts a version text two characters after its first "." (a text without "."
// keeps its first two characters): "1.121" and "1.129" both give "1.12".
std::string VersionKey(const std::string& version);

// The user log the observatory writes: the log-file option, in the data folder
// unless it names a folder of its own (empty when the options name none).
std::string LogFilePath(const OptsRec& rec);

// Every saved field of the record in file order, driven through a visitor so
// that reading, writing and listing share one table. The visitor gets a stable
// key, a reference to the field, and its stored form.
struct OptionsFieldVisitor {
    virtual ~OptionsFieldVisitor() = default;
    virtual void text(const std::string& key, std::string& value, std::size_t capacity) = 0;
    virtual void byte(const std::string& key, std::uint8_t& value) = 0;
    virtual void flag(const std::string& key, bool& value) = 0;
    virtual void single(const std::string& key, Single& value) = 0;
    virtual void int32(const std::string& key, std::int32_t& value) = 0;
    virtual void angle(const std::string& key, Extended& radians) = 0;  // 10-byte extended
    virtual void password(const std::string& key, ScrambledPassword& value) = 0;
};
void VisitSavedFields(OptsRec& rec, OptionsFieldVisitor& visitor);

Bytes EncodeOptions(const OptsRec& rec);
// Decodes the saved fields into rec; false when the bytes are too short.
bool DecodeOptions(const Bytes& bytes, OptsRec& rec, std::size_t& consumed);

class OptsObj {
public:
    explicit OptsObj(platform::Services& services);
    virtual ~OptsObj() = default;

    // Fills the identification fields, chooses the data folder, reads the time
    // zone, then reads the file from the data folder, else the program folder,
    // else sets the defaults.
    void Create(const std::string& fileName, const std::string& programVersion);
    // The first step of Create alone: names, versions and the program folder.
    void InitIdentification(const std::string& fileName, const std::string& programVersion);
    // Writes the record into folder + file name, keeping the old file as the
    // backup; false when the user declined or the file could not be written.
    // busy(true) and busy(false) bracket the copying and writing alone, so
    // that the hourglass is off for the question and any message.
    bool Save(const std::string& folder, const std::function<void(bool)>& busy = nullptr);

    // Reads one file; false (after its message, if any) when it is missing,
    // obsolete or invalid.
    bool ReadFile(const std::string& path);
    void SetDefaults();
    void ReadTimeZone();

    OptsRec rec;

    // Where the last successful read came from; empty when defaults are in force.
    const std::string& loadedFrom() const { return loadedFrom_; }

protected:
    // Called after all fields were read (before the end-of-file test) and after
    // all were written; descendants may carry more fields.
    virtual void AfterRead(RecordReader&) {}
    virtual void AfterWrite(RecordWriter&) {}

private:
    void ChooseDataFolder();
    std::string MediaFallback(const std::string& relative, const std::string& probe);
    void ReportInvalid(const std::string& path, const std::string& why);

    platform::Services& services_;
    std::string loadedFrom_;
};

// The name of the backup copy: the file name without its extension + ".BAK".
using platform::BackupName;

}  // namespace qnr::app
