#pragma once
// The radio options: the radio telescope's site, aperture, slews and horizon,
// the receiver's and the sound's settings, feature switches and file names,
// their file "QNR_RADI.INI", the checks every usable record passes, and the
// two radio options dialogs without their windows.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "astro/BinFile.h"
#include "astro/Types.h"
#include "platform/Services.h"

namespace qnr::radio {

inline constexpr std::size_t RadioOptionsFileSize = 982;
inline constexpr const char* RadioOptionsFileName = "QNR_RADI.INI";
inline constexpr const char* RadioOptionsVersion = "1.121";

// Telescope types.
inline constexpr std::uint8_t FullySteerable = 0;
inline constexpr std::uint8_t TransitOnly = 1;
inline constexpr std::uint8_t NearZenith = 2;  // behaves as fully steerable

// Pulsar identification.
inline constexpr std::uint8_t IdentifyNone = 0;
inline constexpr std::uint8_t IdentifyB1950 = 1;
inline constexpr std::uint8_t IdentifyJ2000 = 2;

// The ranges a usable record keeps to: a zero aperture divides, a zero slew
// rate never arrives, a sample rate must fit the sound's 16 bits and make a
// sound at all, and the sound cannot run faster than the display.
inline constexpr int MinAperture = 1, MaxAperture = 10000;         // metres
inline constexpr int MinBaseSlewRate = 1, MaxBaseSlewRate = 3600;  // arc seconds per tick
inline constexpr int MinSampleRate = 1000, MaxSampleRate = 65535;  // samples per second

struct RadioOptsRec {
    std::string version = RadioOptionsVersion;  // text[71]
    std::string viewPicture = "RADIOTEL.BMP";   // text[71] each
    std::string onHelpFile;
    std::string mainHelpList = "PULSRHLP.LST";
    std::string analysisHelpList = "PLSANHLP.LST";
    std::string pulsarListHelpList = "PLSLSHLP.LST";
    std::string userHelpFile;
    std::string reminderFile = "REMINDER.PLS";
    std::string pulsarFile = "PULSARS.DAT";
    std::string siteName = "NRAO - Greenbank, WV";  // text[255]
    Extended longitude = 0;     // radians, east positive
    Extended latitude = 0;      // radians
    Single altitude = 836.0f;   // metres
    Extended horizonLimit = 0;  // radians
    std::int32_t aperture = 100;     // metres
    std::int32_t baseSlewRate = 50;  // arc seconds per slew tick
    Single syncFactor = 0.765f;      // real seconds per simulated second
    std::uint16_t sampleRate = 5512;
    Single baseGain = 1.0f;
    std::int32_t background = 5;
    Single beamWidth = 0.0f;  // degrees; 0 uses the computed beam
    Single detectorTemperature = 50.0f;  // kelvin
    Single utMinusLocal = 0.0f;          // hours
    std::uint8_t telescopeType = FullySteerable;
    std::uint8_t pulsarIdentification = IdentifyB1950;
    bool limitSlewing = false;
    std::uint8_t maxRateIndex = 5;  // 5 with fast slewing, else 4
    bool plotPulsars = false;
    bool writeHotList = false;
    bool exactPosition = false;
    bool soundFeatures = true;
    bool testMode = false;
    bool accessPulsarList = false;

    // Not stored: set from the main options' hot-list name.
    std::string hotListFile;  // text[71]
};

// The defaults of a fresh record; the sync factor is 0.92 on the older
// consumer platforms, whose sound runs at another pace.
RadioOptsRec DefaultRadioOptions(bool olderConsumerPlatform);

// Every stored field in file order, through a visitor, so the file layout,
// the reader and qnrtool's listing share one table.
struct RadioFieldVisitor {
    virtual ~RadioFieldVisitor() = default;
    virtual void text(const std::string& key, std::string& value, std::size_t capacity) = 0;
    virtual void byte(const std::string& key, std::uint8_t& value) = 0;
    virtual void flag(const std::string& key, bool& value) = 0;
    virtual void single(const std::string& key, Single& value) = 0;
    virtual void int32(const std::string& key, std::int32_t& value) = 0;
    virtual void uint16(const std::string& key, std::uint16_t& value) = 0;
    virtual void angle(const std::string& key, Extended& radians) = 0;  // 10-byte extended
};
void VisitSavedFields(RadioOptsRec& rec, RadioFieldVisitor& visitor);

Bytes EncodeRadioOptions(const RadioOptsRec& rec);

// The first value a radio telescope cannot work with, as the sentence the
// messages show; nullopt when every value is usable.
std::optional<std::string> RadioOptionsProblem(const RadioOptsRec& rec);

class RadiOptsObj {
public:
    RadiOptsObj(platform::Services& services, bool olderConsumerPlatform);
    virtual ~RadiOptsObj() = default;

    // Stores the names and folders, then loads the data folder's file, else
    // the program folder's, else the defaults.
    void Init(const std::string& fileName, const std::string& programDir, const std::string& version,
              const std::string& dataDir);
    // False (after its message, if any) when the file is missing, obsolete,
    // short or holds an unusable value. The file itself is never removed: it
    // may be the defaults of all users, and an instructor can still mend it.
    bool Load(const std::string& path);
    void Defaults();
    // Writes dir + file name, the old file kept as the backup. False after
    // "Unable to save Options!" when the file could not be written.
    // `busy` is on only while the files are copied and written, never
    // under a message.
    bool Write(const std::string& dir, const std::function<void(bool)>& busy = nullptr);

    RadioOptsRec rec;
    std::string expectedVersion = RadioOptionsVersion;
    std::string fileName = RadioOptionsFileName;
    std::string backupName = "QNR_RADI.BAK";
    std::string programDir, dataDir, userFolder;

    // Where the record came from; empty for the defaults.
    const std::string& loadedFrom() const { return loadedFrom_; }

protected:
    // After all fields were read, and before a written file is closed.
    virtual void AfterLoad(RecordReader&) {}
    virtual void BeforeClose(RecordWriter&) {}

private:
    void ReportInvalid(const std::string& path, const std::string& why);

    platform::Services& services_;
    bool olderConsumerPlatform_;
    std::string loadedFrom_;
};

// "Radio Simulation Options" (TRadiOptsDlg) without its window: the switches,
// the two groups and the edit texts, filled from a record.
class RadioOptionsDialogModel {
public:
    explicit RadioOptionsDialogModel(const RadioOptsRec& rec);

    // OK: every number is read and checked first; only when all are usable
    // does the record take the new values (false after the message, the
    // dialog stays open and rec is unchanged).
    bool Ok(RadioOptsRec& rec, platform::Dialogs& dialogs) const;

    bool limitSlewing = false, fastSlewing = false, plotPulsars = false, writeHotList = false,
         exactPosition = false, soundFeatures = false, testMode = false, accessPulsarList = false;
    int telescopeType = 0;         // ScopeGrp
    int pulsarIdentification = 0;  // IDGrp
    std::string horizon, aperture, slewRate, sampleRate, background, sync, gain, beam, temperature;
};

// "Radio File Options" (TRadioFlDlg): edits of at most 12 characters, stored on OK.
class RadioFilesDialogModel {
public:
    static constexpr std::size_t MaxName = 12;
    explicit RadioFilesDialogModel(const RadioOptsRec& rec);
    void Ok(RadioOptsRec& rec) const;

    std::string view, pulsarData, hotList, mainHelp, analysisHelp, pulsarListHelp, userHelp, reminder;
};

}  // namespace qnr::radio
