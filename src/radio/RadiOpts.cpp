#include "radio/RadiOpts.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "astro/MathStd.h"
#include "astro/StringUt.h"

namespace qnr::radio {

namespace {

constexpr int EofCode = 100;
// The record is 982 bytes; a file far beyond that is no radio options file.
constexpr std::size_t MaxFileBytes = 1 << 16;

class WritingVisitor final : public RadioFieldVisitor {
public:
    explicit WritingVisitor(RecordWriter& w) : w_(w) {}
    void text(const std::string&, std::string& v, std::size_t capacity) override { w_.text(v, capacity); }
    void byte(const std::string&, std::uint8_t& v) override { w_.u8(v); }
    void flag(const std::string&, bool& v) override { w_.u8(v ? 1 : 0); }
    void single(const std::string&, Single& v) override { w_.single(v); }
    void int32(const std::string&, std::int32_t& v) override { w_.i32(v); }
    void uint16(const std::string&, std::uint16_t& v) override { w_.u16(v); }
    void angle(const std::string&, Extended& v) override { w_.extended(v); }
private:
    RecordWriter& w_;
};

class ReadingVisitor final : public RadioFieldVisitor {
public:
    explicit ReadingVisitor(RecordReader& r) : r_(r) {}
    void text(const std::string&, std::string& v, std::size_t capacity) override { v = r_.text(capacity); }
    void byte(const std::string&, std::uint8_t& v) override { v = r_.u8(); }
    void flag(const std::string&, bool& v) override { v = r_.u8() != 0; }
    void single(const std::string&, Single& v) override { v = r_.single(); }
    void int32(const std::string&, std::int32_t& v) override { v = r_.i32(); }
    void uint16(const std::string&, std::uint16_t& v) override { v = r_.u16(); }
    void angle(const std::string&, Extended& v) override { v = r_.extended(); }
private:
    RecordReader& r_;
};

std::optional<Extended> Number(const std::string& text) {
    std::string rest = text;
    auto v = NextRealField(rest, '\0');
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return *v;
}

// A typed number rounded to a whole one, when it fits an int32.
std::optional<std::int32_t> Whole(const std::string& text) {
    auto v = Number(text);
    if (!v) return std::nullopt;
    const Extended r = std::nearbyint(*v);
    if (r < std::numeric_limits<std::int32_t>::min() || r > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

std::string Range(const char* what, int low, int high, const char* unit) {
    return std::string(what) + " must be a whole number from " + std::to_string(low) + " to " +
           std::to_string(high) + unit + ".";
}

}  // namespace

RadioOptsRec DefaultRadioOptions(bool olderConsumerPlatform) {
    RadioOptsRec r;
    r.longitude = -79.84166667L * DegToRad;
    r.latitude = 38.43L * DegToRad;
    r.horizonLimit = 10 * DegToRad;
    r.syncFactor = olderConsumerPlatform ? 0.92f : 0.765f;
    return r;
}

void VisitSavedFields(RadioOptsRec& r, RadioFieldVisitor& v) {
    v.text("version", r.version, 71);
    v.text("view_picture", r.viewPicture, 71);
    v.text("on_help_file", r.onHelpFile, 71);
    v.text("main_help_list", r.mainHelpList, 71);
    v.text("analysis_help_list", r.analysisHelpList, 71);
    v.text("pulsar_list_help_list", r.pulsarListHelpList, 71);
    v.text("user_help_file", r.userHelpFile, 71);
    v.text("reminder_file", r.reminderFile, 71);
    v.text("pulsar_file", r.pulsarFile, 71);
    v.text("site_name", r.siteName, 255);
    v.angle("site_longitude", r.longitude);
    v.angle("site_latitude", r.latitude);
    v.single("site_altitude_m", r.altitude);
    v.angle("horizon_limit", r.horizonLimit);
    v.int32("aperture_m", r.aperture);
    v.int32("base_slew_rate_arcsec", r.baseSlewRate);
    v.single("sound_sync_factor", r.syncFactor);
    v.uint16("sound_sample_rate_hz", r.sampleRate);
    v.single("base_gain", r.baseGain);
    v.int32("background", r.background);
    v.single("beam_width_deg", r.beamWidth);
    v.single("detector_temperature_k", r.detectorTemperature);
    v.single("ut_minus_local_hours", r.utMinusLocal);
    v.byte("telescope_type", r.telescopeType);
    v.byte("pulsar_identification", r.pulsarIdentification);
    v.flag("limit_slewing", r.limitSlewing);
    v.byte("max_rate_index", r.maxRateIndex);
    v.flag("plot_pulsars", r.plotPulsars);
    v.flag("write_hot_list", r.writeHotList);
    v.flag("exact_position", r.exactPosition);
    v.flag("sound_features", r.soundFeatures);
    v.flag("test_mode", r.testMode);
    v.flag("access_pulsar_list", r.accessPulsarList);
}

Bytes EncodeRadioOptions(const RadioOptsRec& rec) {
    RadioOptsRec copy = rec;
    RecordWriter w;
    WritingVisitor v(w);
    VisitSavedFields(copy, v);
    return w.take();
}

std::optional<std::string> RadioOptionsProblem(const RadioOptsRec& r) {
    if (r.aperture < MinAperture || r.aperture > MaxAperture)
        return Range("The antenna aperture", MinAperture, MaxAperture, " m");
    if (r.baseSlewRate < MinBaseSlewRate || r.baseSlewRate > MaxBaseSlewRate)
        return Range("The slew increment", MinBaseSlewRate, MaxBaseSlewRate, " arc seconds");
    if (r.sampleRate < MinSampleRate) return Range("The sound sample rate", MinSampleRate, MaxSampleRate, " Hz");
    if (!std::isfinite(r.syncFactor) || r.syncFactor <= 0 || r.syncFactor > 1)
        return std::string("The sound sync factor must be above 0 and at most 1.");
    if (!std::isfinite(r.latitude) || std::fabs(r.latitude) > Pi / 2 + 1e-12L)
        return std::string("The site latitude must lie from -90 to +90 degrees.");
    if (!std::isfinite(r.longitude) || std::fabs(r.longitude) > TwoPi + 1e-12L)
        return std::string("The site longitude must lie from -360 to +360 degrees.");
    if (!std::isfinite(r.horizonLimit) || std::fabs(r.horizonLimit) >= Pi / 2)
        return std::string("The horizon limit must lie between -90 and +90 degrees.");
    if (!std::isfinite(r.baseGain) || !std::isfinite(r.beamWidth) || !std::isfinite(r.detectorTemperature) ||
        !std::isfinite(r.altitude) || !std::isfinite(r.utMinusLocal))
        return std::string("A receiver or site value is not a number.");
    if (r.beamWidth < 0) return std::string("The beam width must be 0 (the computed beam) or more.");
    if (r.detectorTemperature < 0) return std::string("The detector temperature must be 0 K or more.");
    if (r.telescopeType > NearZenith) return std::string("The telescope type must be 0, 1 or 2.");
    if (r.pulsarIdentification > IdentifyJ2000) return std::string("The pulsar identification must be 0, 1 or 2.");
    if (r.maxRateIndex != 4 && r.maxRateIndex != 5) return std::string("The fastest slew rate index must be 4 or 5.");
    return std::nullopt;
}

RadiOptsObj::RadiOptsObj(platform::Services& services, bool olderConsumerPlatform)
    : rec(DefaultRadioOptions(olderConsumerPlatform)), services_(services), olderConsumerPlatform_(olderConsumerPlatform) {}

void RadiOptsObj::Init(const std::string& name, const std::string& programFolder, const std::string& version,
                       const std::string& dataFolder) {
    fileName = name;
    backupName = platform::BackupName(name);
    expectedVersion = version;
    programDir = platform::WithTrailingSlash(programFolder);
    dataDir = platform::WithTrailingSlash(dataFolder);
    Defaults();
    if (Load(dataDir + fileName)) return;
    if (dataDir != programDir && Load(programDir + fileName)) return;
    Defaults();
}

void RadiOptsObj::Defaults() {
    const std::string hotList = rec.hotListFile;
    rec = DefaultRadioOptions(olderConsumerPlatform_);
    rec.version = expectedVersion;
    rec.hotListFile = hotList;
    loadedFrom_.clear();
}

void RadiOptsObj::ReportInvalid(const std::string& path, const std::string& why) {
    services_.dialogs->show("Options File " + path + " is Invalid.\r\n"
                            "Program will continue with defaults or alternative file.\r\n\r\n" + why,
                            "File Error", platform::Icon::Error);
}

bool RadiOptsObj::Load(const std::string& requested) {
    auto& files = *services_.files;
    const std::string path = files.resolve(requested);
    if (!files.exists(path) || files.isFolder(path)) return false;
    platform::ReadResult file = files.readFile(path, MaxFileBytes);
    if (file.code != 0) return false;

    RecordReader head(file.bytes);
    const std::string version = head.text(71);
    if (head.failed()) {
        ReportInvalid(path, IOErrorText(EofCode));
        return false;
    }
    if (!SameToTwoDecimals(version, expectedVersion)) {
        services_.dialogs->show("Options File " + path + " is obsolete.\r\n"
                                "Program will continue with defaults or alternative file.",
                                "Version Error", platform::Icon::Information);
        return false;
    }
    RadioOptsRec loaded = rec;
    RecordReader r(file.bytes);
    ReadingVisitor v(r);
    VisitSavedFields(loaded, v);
    // A file cut short is as unusable as one of another version.
    if (!r.failed()) AfterLoad(r);
    if (r.failed()) {
        ReportInvalid(path, IOErrorText(EofCode));
        return false;
    }
    if (auto problem = RadioOptionsProblem(loaded)) {
        ReportInvalid(path, *problem);
        return false;
    }
    rec = loaded;
    loadedFrom_ = path;
    return true;
}

bool RadiOptsObj::Write(const std::string& dirIn, const std::function<void(bool)>& busy) {
    auto& files = *services_.files;
    const std::string dir = platform::WithTrailingSlash(dirIn);
    const std::string path = dir + fileName;
    auto setBusy = [&](bool on) {
        if (busy) busy(on);
    };
    setBusy(true);
    auto fail = [&](int code) {
        setBusy(false);
        services_.dialogs->show("Unable to save Options!\r\n\r\nFileName: " + path + "\r\n" + IOErrorText(code),
                                "Options File Error!", platform::Icon::Error);
        return false;
    };
    if (files.exists(path)) {
        if (int code = files.copyFile(path, dir + backupName); code != 0) return fail(code);
    }
    RadioOptsRec copy = rec;
    RecordWriter w;
    WritingVisitor v(w);
    VisitSavedFields(copy, v);
    BeforeClose(w);
    if (int code = files.writeFileAtomic(path, w.bytes()); code != 0) return fail(code);
    setBusy(false);
    return true;
}

// ---------------------------------------------------------------------------
// The dialogs

RadioOptionsDialogModel::RadioOptionsDialogModel(const RadioOptsRec& r)
    : limitSlewing(r.limitSlewing),
      fastSlewing(r.maxRateIndex == 5),
      plotPulsars(r.plotPulsars),
      writeHotList(r.writeHotList),
      exactPosition(r.exactPosition),
      soundFeatures(r.soundFeatures),
      testMode(r.testMode),
      accessPulsarList(r.accessPulsarList),
      telescopeType(r.telescopeType),
      pulsarIdentification(r.pulsarIdentification),
      horizon(FixedStr(r.horizonLimit * RadToDeg, 1)),
      aperture(std::to_string(r.aperture)),
      slewRate(std::to_string(r.baseSlewRate)),
      sampleRate(std::to_string(r.sampleRate)),
      background(std::to_string(r.background)),
      sync(FixedStr(r.syncFactor, 5)),
      gain(FixedStr(r.baseGain, 2)),
      beam(FixedStr(r.beamWidth, 2)),
      temperature(FixedStr(r.detectorTemperature, 1)) {}

bool RadioOptionsDialogModel::Ok(RadioOptsRec& rec, platform::Dialogs& dialogs) const {
    const auto horizonDeg = Number(horizon);
    const auto ap = Whole(aperture), slew = Whole(slewRate), rate = Whole(sampleRate), noise = Whole(background);
    const auto syncValue = Number(sync), gainValue = Number(gain), beamValue = Number(beam),
               tempValue = Number(temperature);
    if (!horizonDeg || !ap || !slew || !rate || !noise || !syncValue || !gainValue || !beamValue || !tempValue) {
        dialogs.show("Numeric Conversion Error!\r\n\r\nVerify Values of Numeric Parameters.", "Non-Numeric Value!",
                     platform::Icon::Error);
        return false;
    }
    // A rate that does not fit the file's 16 bits is refused, not wrapped.
    if (*rate < MinSampleRate || *rate > MaxSampleRate) {
        dialogs.show(Range("The sound sample rate", MinSampleRate, MaxSampleRate, " Hz"), "Value Out of Range!",
                     platform::Icon::Error);
        return false;
    }
    RadioOptsRec next = rec;
    next.limitSlewing = limitSlewing;
    next.maxRateIndex = fastSlewing ? 5 : 4;
    next.plotPulsars = plotPulsars;
    next.writeHotList = writeHotList;
    next.exactPosition = exactPosition;
    next.soundFeatures = soundFeatures;
    next.testMode = testMode;
    next.accessPulsarList = accessPulsarList;
    next.telescopeType = static_cast<std::uint8_t>(std::clamp(telescopeType, 0, 2));
    next.pulsarIdentification = static_cast<std::uint8_t>(std::clamp(pulsarIdentification, 0, 2));
    next.horizonLimit = *horizonDeg * DegToRad;
    next.aperture = *ap;
    next.baseSlewRate = *slew;
    next.sampleRate = static_cast<std::uint16_t>(*rate);
    next.background = *noise;
    next.syncFactor = static_cast<Single>(std::min<Extended>(*syncValue, 1));
    next.baseGain = static_cast<Single>(*gainValue);
    next.beamWidth = static_cast<Single>(*beamValue);
    next.detectorTemperature = static_cast<Single>(*tempValue);
    if (auto problem = RadioOptionsProblem(next)) {
        dialogs.show(*problem, "Value Out of Range!", platform::Icon::Error);
        return false;
    }
    rec = next;
    return true;
}

RadioFilesDialogModel::RadioFilesDialogModel(const RadioOptsRec& r)
    : view(r.viewPicture),
      pulsarData(r.pulsarFile),
      hotList(r.hotListFile),
      mainHelp(r.mainHelpList),
      analysisHelp(r.analysisHelpList),
      pulsarListHelp(r.pulsarListHelpList),
      userHelp(r.userHelpFile),
      reminder(r.reminderFile) {}

void RadioFilesDialogModel::Ok(RadioOptsRec& r) const {
    auto cut = [](const std::string& s) { return s.substr(0, MaxName); };
    r.viewPicture = cut(view);
    r.pulsarFile = cut(pulsarData);
    r.hotListFile = cut(hotList);
    r.mainHelpList = cut(mainHelp);
    r.analysisHelpList = cut(analysisHelp);
    r.pulsarListHelpList = cut(pulsarListHelp);
    r.userHelpFile = cut(userHelp);
    r.reminderFile = cut(reminder);
}

}  // namespace qnr::radio
