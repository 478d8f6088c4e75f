#include "app/Options.h"

#include <algorithm>
#include <cctype>

#include "astro/MathStd.h"
#include "astro/StringUt.h"

namespace qnr::app {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

constexpr int EofCode = 100;

class WritingVisitor final : public OptionsFieldVisitor {
public:
    explicit WritingVisitor(RecordWriter& w) : w_(w) {}
    void text(const std::string&, std::string& v, std::size_t capacity) override { w_.text(v, capacity); }
    void byte(const std::string&, std::uint8_t& v) override { w_.u8(v); }
    void flag(const std::string&, bool& v) override { w_.u8(v ? 1 : 0); }
    void single(const std::string&, Single& v) override { w_.single(v); }
    void int32(const std::string&, std::int32_t& v) override { w_.i32(v); }
    void angle(const std::string&, Extended& v) override { w_.extended(v); }
    void password(const std::string&, ScrambledPassword& v) override {
        w_.raw(v.bytes.data(), v.bytes.size());
        w_.u8(v.length);
    }
private:
    RecordWriter& w_;
};

class ReadingVisitor final : public OptionsFieldVisitor {
public:
    explicit ReadingVisitor(RecordReader& r) : r_(r) {}
    void text(const std::string&, std::string& v, std::size_t capacity) override { v = r_.text(capacity); }
    void byte(const std::string&, std::uint8_t& v) override { v = r_.u8(); }
    void flag(const std::string&, bool& v) override { v = r_.u8() != 0; }
    void single(const std::string&, Single& v) override { v = r_.single(); }
    void int32(const std::string&, std::int32_t& v) override { v = r_.i32(); }
    void angle(const std::string&, Extended& v) override { v = r_.extended(); }
    void password(const std::string&, ScrambledPassword& v) override {
        for (auto& b : v.bytes) b = r_.u8();
        v.length = std::min<std::uint8_t>(r_.u8(), 16);
    }
private:
    RecordReader& r_;
};

TelescopeEntry Telescope(const char* name, Single availability, std::uint8_t minAlloc, std::uint8_t maxAlloc,
                         std::uint8_t wait, Single aperture, Single focal, Single finder, Single scope,
                         Single seeing, const char* site, Extended lonDeg, Extended latDeg, Single altitude,
                         Single zone) {
    TelescopeEntry t;
    t.name = name;
    t.availability = availability;
    t.minAllocation = minAlloc;
    t.maxAllocation = maxAlloc;
    t.reapplyWait = wait;
    t.aperture = aperture;
    t.focalLength = focal;
    t.finderFactor = finder;
    t.scopeFactor = scope;
    t.seeingDisk = seeing;
    t.siteName = site;
    t.longitude = lonDeg * DegToRad;
    t.latitude = latDeg * DegToRad;
    t.horizonLimit = 10 * DegToRad;
    t.altitude = altitude;
    t.utMinusLocal = zone;
    return t;
}

}  // namespace

ScrambledPassword ScramblePassword(const std::string& password) {
    ScrambledPassword s;
    s.length = static_cast<std::uint8_t>(std::min<std::size_t>(password.size(), 16));
    for (std::size_t i = 0; i < s.length; ++i)
        s.bytes[i] = static_cast<std::uint8_t>(~static_cast<unsigned char>(password[i]));
    return s;
}

std::string UnscramblePassword(const ScrambledPassword& stored) {
    std::string text;
    for (std::size_t i = 0; i < std::min<std::size_t>(stored.length, 16); ++i)
        text += static_cast<char>(static_cast<std::uint8_t>(~stored.bytes[i]));
    return text;
}

std::string LogFilePath(const OptsRec& rec) {
    if (!rec.logFile.empty() && rec.logFile.find('/') == std::string::npos) return rec.dataFolder + rec.logFile;
    return rec.logFile;
}

std::string VersionKey(const std::string& version) {
    auto dot = version.find('.');
    if (dot == std::string::npos) return version.substr(0, 2);
    return version.substr(0, dot + 3);
}

void VisitSavedFields(OptsRec& r, OptionsFieldVisitor& v) {
    v.text("file_version", r.fileVersion, 71);
    v.text("logo_bitmap", r.logoBitmap, 71);
    v.text("title_bitmap", r.titleBitmap, 71);
    v.text("general_help_file", r.generalHelp, 71);
    v.text("main_help_list", r.mainHelpList, 71);
    v.text("observatory_help_list", r.observatoryHelpList, 71);
    v.text("spectrometer_help_list", r.spectrometerHelpList, 71);
    v.text("photometer_help_list", r.photometerHelpList, 71);
    v.text("camera_help_list", r.cameraHelpList, 71);
    v.text("measuring_help_list", r.measuringHelpList, 71);
    v.text("classification_help_list", r.classificationHelpList, 71);
    v.text("user_help_file", r.userHelp, 71);
    v.text("reminder_file", r.reminderFile, 71);
    v.text("galaxy_images_list", r.galaxyImagesList, 71);
    v.text("z_lines_catalog_list", r.zLinesCatalogList, 71);
    v.text("atlas_list", r.atlasList, 71);
    v.text("spectral_line_list", r.spectralLineList, 71);
    v.text("galaxy_catalog", r.galaxyCatalog, 71);
    v.text("qso_catalog", r.qsoCatalog, 71);
    v.text("qso_spectrum", r.qsoSpectrum, 71);
    v.text("classification_list", r.classificationList, 71);
    v.text("hot_list_file", r.hotListFile, 71);
    v.text("cluster_list", r.clusterList, 71);
    v.text("instrument_catalog_folder", r.instrumentCatalogFolder, 255);
    v.text("finder_catalog_folder", r.finderCatalogFolder, 255);
    v.text("spectra_index_file", r.spectraIndexFile, 255);
    v.text("galaxy_spectra_folder", r.galaxySpectraFolder, 255);
    v.text("galaxy_images_folder", r.galaxyImagesFolder, 255);
    v.text("spreadsheet_program", r.spreadsheetProgram, 255);
    v.text("astrometry_program", r.astrometryProgram, 255);
    v.text("log_file", r.logFile, 255);
    v.text("orbit_file", r.orbitFile, 255);
    v.byte("orbit_file_kind", r.orbitFileKind);
    v.single("finder_field_deg", r.finderField);
    v.single("finder_mag_limit", r.finderMagLimit);
    v.single("instrument_field_arcmin", r.instrumentField);
    v.single("base_magnitude", r.baseMagnitude);
    v.single("photometer_sky_mag", r.photometerSkyMag);
    v.single("spectrometer_sky_mag", r.spectrometerSkyMag);
    v.single("default_min_wavelength", r.defaultMinWavelength);
    v.single("default_max_wavelength", r.defaultMaxWavelength);
    v.single("base_slew_rate", r.baseSlewRate);
    for (std::size_t i = 0; i < r.telescopes.size(); ++i) {
        TelescopeEntry& t = r.telescopes[i];
        const std::string k = "telescope." + std::to_string(i) + ".";
        v.text(k + "name", t.name, 40);
        v.single(k + "availability", t.availability);
        v.byte(k + "min_allocation", t.minAllocation);
        v.byte(k + "max_allocation", t.maxAllocation);
        v.byte(k + "reapply_wait_min", t.reapplyWait);
        v.single(k + "aperture_mm", t.aperture);
        v.single(k + "focal_length_mm", t.focalLength);
        v.single(k + "finder_factor", t.finderFactor);
        v.single(k + "scope_factor", t.scopeFactor);
        v.single(k + "seeing_disk_arcsec", t.seeingDisk);
        v.text(k + "site_name", t.siteName, 40);
        v.angle(k + "longitude", t.longitude);
        v.angle(k + "latitude", t.latitude);
        v.angle(k + "horizon_limit", t.horizonLimit);
        v.single(k + "altitude_m", t.altitude);
        v.single(k + "ut_minus_local_hours", t.utMinusLocal);
    }
    CameraBlock& c = r.camera;
    v.text("camera.name", c.name, 40);
    v.single("camera.pixel_width_um", c.pixelWidth);
    v.single("camera.pixel_height_um", c.pixelHeight);
    v.single("camera.read_noise", c.readNoise);
    v.single("camera.dark_noise", c.darkNoise);
    v.single("camera.base_magnitude", c.baseMagnitude);
    v.int32("camera.base_count", c.baseCount);
    v.int32("camera.base_exposure_s", c.baseExposure);
    v.int32("camera.bias", c.bias);
    v.int32("camera.image_width", c.imageWidth);
    v.int32("camera.image_height", c.imageHeight);
    v.int32("camera.ad_depth", c.adDepth);
    v.int32("camera.well_depth", c.wellDepth);
    v.byte("camera.cooling", c.cooling);
    v.flag("camera.position_noise", c.positionNoise);
    v.int32("field_creation_factor", r.fieldCreationFactor);
    v.int32("photometer_base_count", r.photometerBaseCount);
    v.int32("photometer_timer_ms", r.photometerTimerWait);
    v.int32("spectrometer_base_count", r.spectrometerBaseCount);
    v.int32("spectrometer_timer_ms", r.spectrometerTimerWait);
    v.byte("slew_speed", r.slewSpeed);
    v.password("password", r.password);
    v.text("lab_table", r.labTable, 4);
    v.flag("login_required", r.loginRequired);
    v.flag("test_mode", r.testMode);
    v.flag("limit_slewing", r.limitSlewing);
    v.flag("edit_mode", r.editMode);
    v.flag("compute_magnitudes", r.computeMagnitudes);
    v.flag("show_object_mag", r.showObjectMag);
    v.flag("show_object_id", r.showObjectId);
    v.flag("include_r_and_i", r.includeRI);
    v.flag("fast_scope_change", r.fastScopeChange);
    v.flag("restrict_scope_access", r.restrictScopeAccess);
    v.flag("sound_effects", r.soundEffects);
    v.flag("write_log_file", r.writeLogFile);
    v.flag("allow_user_change", r.allowUserChange);
    v.flag("time_dependent_data", r.timeDependentData);
}

Bytes EncodeOptions(const OptsRec& rec) {
    OptsRec copy = rec;
    RecordWriter w;
    WritingVisitor v(w);
    VisitSavedFields(copy, v);
    return w.take();
}

bool DecodeOptions(const Bytes& bytes, OptsRec& rec, std::size_t& consumed) {
    RecordReader r(bytes);
    ReadingVisitor v(r);
    VisitSavedFields(rec, v);
    consumed = r.position();
    return !r.failed();
}

OptsObj::OptsObj(platform::Services& services) : services_(services) {}

void OptsObj::InitIdentification(const std::string& fileName, const std::string& programVersion) {
    rec.programVersion = programVersion;
    rec.fileName = fileName;
    rec.backupName = BackupName(fileName);
    rec.fileVersion = programVersion;
    rec.programFolder = platform::WithTrailingSlash(services_.identity->programFolder());
}

void OptsObj::ChooseDataFolder() {
    auto& files = *services_.files;
    rec.dataFolder = platform::WithTrailingSlash(files.currentFolder());
    // Started from the program folder itself: keep user data out of it.
    if (SameIgnoringCase(rec.programFolder, rec.dataFolder)) {
        std::string folder = platform::WithTrailingSlash(services_.identity->userDataLocation()) + "ZARN/QUENARA/";
        files.makeFolders(folder);
        if (files.setCurrentFolder(folder) == 0) rec.dataFolder = folder;
    }
}

void OptsObj::ReadTimeZone() {
    platform::TimeZoneInfo z = services_.clock->timeZone();
    if (!z.known) {
        rec.zoneHours = 0;
        rec.daylightHours = 0;
        rec.zoneName = "Unknown";
        return;
    }
    int bias = z.biasMinutes + (z.daylightInForce ? z.daylightBiasMinutes : z.standardBiasMinutes);
    rec.zoneHours = static_cast<Single>(bias) / 60.0f;
    rec.daylightHours = z.daylightInForce ? static_cast<Single>(z.daylightBiasMinutes) / 60.0f : 0.0f;
    rec.zoneName = z.name.empty() ? "Unknown" : z.name;
}

void OptsObj::Create(const std::string& fileName, const std::string& programVersion) {
    InitIdentification(fileName, programVersion);
    ChooseDataFolder();
    ReadTimeZone();
    SetDefaults();
    loadedFrom_.clear();
    if (!ReadFile(rec.dataFolder + rec.fileName) && rec.dataFolder != rec.programFolder)
        ReadFile(rec.programFolder + rec.fileName);
    rec.administrator = false;
}

std::string OptsObj::MediaFallback(const std::string& relative, const std::string& probe) {
    auto& files = *services_.files;
    if (files.exists(files.resolve(rec.programFolder + probe))) return rec.programFolder + relative;
    for (const auto& root : files.removableMediaRoots())
        if (files.exists(files.resolve(root + probe))) return root + relative;
    // No medium holds it either: keep the program folder; locating the
    // catalogs at Run asks the user where the medium is.
    return rec.programFolder + relative;
}

void OptsObj::SetDefaults() {
    OptsRec d;
    d.programVersion = rec.programVersion;
    d.fileName = rec.fileName;
    d.backupName = rec.backupName;
    d.fileVersion = rec.programVersion;
    d.programFolder = rec.programFolder;
    d.dataFolder = rec.dataFolder;
    d.usersFolder = rec.usersFolder;
    d.currentHotList = rec.currentHotList;
    d.zoneHours = rec.zoneHours;
    d.daylightHours = rec.daylightHours;
    d.zoneName = rec.zoneName;
    d.siteName = rec.siteName;
    d.siteLongitude = rec.siteLongitude;
    d.siteLatitude = rec.siteLatitude;
    d.siteHorizonLimit = rec.siteHorizonLimit;
    d.siteAltitude = rec.siteAltitude;

    d.logoBitmap = "ZARNLOGO.BMP";
    d.titleBitmap = "QNRTITLE.BMP";
    d.mainHelpList = "QnRMnHlp.LST";
    d.observatoryHelpList = "ObsrvHlp.LST";
    d.spectrometerHelpList = "SpecHlp.LST";
    d.photometerHelpList = "PhotoHlp.LST";
    d.cameraHelpList = "CamHlp.LST";
    d.measuringHelpList = "MeasHlp.LST";
    d.classificationHelpList = "ClassHlp.LST";
    d.reminderFile = "REMINDER.OBS";
    d.galaxyImagesList = "GLIMAGES.LST";
    d.zLinesCatalogList = "ZOBJECTS.LST";
    d.atlasList = "ATLAS2.LST";
    d.spectralLineList = "SPECLNS.LNL";
    d.galaxyCatalog = "ZARN_GLX.DAT";
    d.qsoCatalog = "ZARN_QSO.DAT";
    d.qsoSpectrum = "QSOSPECT.DAT";
    d.classificationList = "CLASSIFY.LST";
    d.hotListFile = "Quenara.HTL";
    d.clusterList = "CLUSTERS.DAT";
    d.logFile = "ZARNLOG.LOG";

    rec = d;
    rec.instrumentCatalogFolder = MediaFallback("CGSC/", "CGSC/TABLES/REGIONS.BIN");
    rec.finderCatalogFolder = MediaFallback("FGSC/", "FGSC/TABLES/REGIONS.BIN");
    rec.spectraIndexFile = MediaFallback("SPECTRA/JSPECT2/JSPEC2.SPI", "SPECTRA/JSPECT2/JSPEC2.SPI");
    rec.galaxySpectraFolder = MediaFallback("SPECTRA/GALAXIES/", "SPECTRA/GALAXIES/GLXYSP.LST");
    rec.galaxyImagesFolder = MediaFallback("IMAGES/GALAXIES/", "IMAGES/GALAXIES/GLIMAGES.LST");
    rec.orbitFile = MediaFallback("ORBIT/QNRA_MPC.CMO", "ORBIT/QNRA_MPC.CMO");
    rec.orbitFileKind = 1;

    // The astrometry program lives in a sibling folder of the program folder.
    rec.astrometryProgram.clear();
    std::string folder = rec.programFolder;
    if (!folder.empty() && folder.back() == '/') folder.pop_back();
    if (auto slash = folder.rfind('/'); slash != std::string::npos) {
        std::string candidate = services_.files->resolve(folder.substr(0, slash) + "/RAVORIZI/ZARN_AST.EXE");
        if (services_.files->exists(candidate) && !services_.files->isFolder(candidate))
            rec.astrometryProgram = candidate;
    }

    rec.camera.name = "Site CH350 003B Back-Illuminated";
    rec.password = ScramblePassword("MVRQ");

    rec.telescopes[0] = Telescope("0.4m (16\") Telescope", 1.0f, 255, 255, 0, 406.4f, 4627.5f, -6.0f, -2.0f, 3.0f,
                                  "Brenmoor College Observatory", -77.2405556L, 39.8402778L, 176.784f, 5.0f);
    rec.telescopes[1] = Telescope("KPNO 0.9m (36\") Telescope", 0.5f, 12, 24, 10, 914.4f, 9144.0f, -5.0f, 0.0f,
                                  1.8f, "Kitt Peak Nat'l. Obs. - Arizona", -111.6L, 31.9633333L, 2120.0f, 7.0f);
    rec.telescopes[2] = Telescope("KPNO 4m (158\") Mayall Telescope", 0.25f, 8, 16, 15, 3810.0f, 3810.0f * 2.7f,
                                  -4.0f, 3.0f, 1.8f, "Kitt Peak Nat'l. Obs. - Arizona", -111.6L, 31.9633333L,
                                  2120.0f, 7.0f);
}

void OptsObj::ReportInvalid(const std::string& path, const std::string& why) {
    services_.dialogs->show("Options File " + path + " is Invalid.\r\n"
                            "Program will continue with defaults or alternative file.\r\n\r\n" + why,
                            "File Error", platform::Icon::Error);
}

bool OptsObj::ReadFile(const std::string& requested) {
    auto& files = *services_.files;
    const std::string path = files.resolve(requested);
    if (!files.exists(path) || files.isFolder(path)) return false;
    // A descendant's fields may follow; anything far beyond is not an options file.
    platform::ReadResult file = files.readFile(path, 1 << 20);
    if (file.code != 0) return false;

    RecordReader r(file.bytes);
    OptsRec loaded = rec;
    std::string version = r.text(71);
    if (r.failed()) {
        ReportInvalid(path, IOErrorText(EofCode));
        return false;
    }
    if (VersionKey(version) != VersionKey(rec.programVersion)) {
        services_.dialogs->show("Options File " + path + " is obsolete.\r\n"
                                "Program will continue with defaults or alternative file.",
                                "Version Error", platform::Icon::Warning);
        return false;
    }
    RecordReader whole(file.bytes);
    ReadingVisitor v(whole);
    VisitSavedFields(loaded, v);
    if (!whole.failed()) AfterRead(whole);
    if (whole.failed()) {
        ReportInvalid(path, IOErrorText(EofCode));
        return false;
    }
    if (!whole.atEnd()) {
        ReportInvalid(path, "EOF Not Reached!");
        return false;
    }
    rec = loaded;
    rec.currentMinWavelength = rec.defaultMinWavelength;
    rec.currentMaxWavelength = rec.defaultMaxWavelength;
    rec.administrator = false;
    loadedFrom_ = path;
    return true;
}

bool OptsObj::Save(const std::string& folderIn, const std::function<void(bool)>& busy) {
    auto& files = *services_.files;
    if (rec.editMode) {
        platform::Answer a = services_.dialogs->ask(
            {"Edit Mode is Set!\r\n\r\nStudents using this software in Edit Mode will be able to access/change "
             "data values and program options.\r\n\r\nAre you sure you want to save these option settings?",
             "Are You Sure?", platform::Buttons::YesNo, platform::Icon::Warning});
        if (a != platform::Answer::Yes) return false;
    }
    const std::string folder = platform::WithTrailingSlash(folderIn);
    const std::string path = folder + rec.fileName;
    bool busyShown = false;
    auto setBusy = [&](bool on) {
        if (busy && on != busyShown) busy(on);
        busyShown = on;
    };
    setBusy(true);
    auto fail = [&](int code) {
        setBusy(false);
        services_.dialogs->show("Unable to save Options!\r\n\r\nFileName: " + path + "\r\n" + IOErrorText(code),
                                "Options File Error!", platform::Icon::Error);
        return false;
    };
    if (files.exists(path)) {
        if (int code = files.copyFile(path, folder + rec.backupName); code != 0) return fail(code);
    }
    rec.fileVersion = rec.programVersion;
    RecordWriter w;
    OptsRec copy = rec;
    WritingVisitor v(w);
    VisitSavedFields(copy, v);
    AfterWrite(w);
    // Written beside the old file and renamed into place only when complete,
    // so a failed write never leaves a truncated options file.
    if (int code = files.writeFileAtomic(path, w.bytes()); code != 0) return fail(code);
    setBusy(false);
    return true;
}

}  // namespace qnr::app
