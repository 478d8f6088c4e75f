#include "app/Options.h"

#include <cmath>
#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "astro/MathStd.h"
#include "support/Fakes.h"

namespace qnr::app {
namespace {

using test::ReadAll;
using test::WriteAll;

const char* const kContinue = "Program will continue with defaults or alternative file.";

float SingleAt(const Bytes& b, std::size_t offset) {
    RecordReader r(b.data() + offset, 4);
    return r.single();
}
std::int32_t Int32At(const Bytes& b, std::size_t offset) {
    RecordReader r(b.data() + offset, 4);
    return r.i32();
}
Extended ExtendedAt(const Bytes& b, std::size_t offset) {
    RecordReader r(b.data() + offset, 10);
    return r.extended();
}
std::string TextAt(const Bytes& b, std::size_t offset, std::size_t capacity) {
    RecordReader r(b.data() + offset, capacity + 1);
    return r.text(capacity);
}

// An options object on fakes, with its program folder and data folder in a
// temporary tree.
class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.identity.program = tmp.file("program/");
        platform.identity.userData = tmp.file("userdata/");
        files.makeFolders(tmp.file("program"));
        files.makeFolders(tmp.file("data"));
        savedCwd = files.currentFolder();
        files.setCurrentFolder(tmp.file("data"));
    }
    void TearDown() override { files.setCurrentFolder(savedCwd); }

    OptsObj Defaults() {
        OptsObj o(services);
        o.InitIdentification(OptionsFileName, ProgramVersion);
        o.SetDefaults();
        return o;
    }
    Bytes DefaultBytes() { return EncodeOptions(Defaults().rec); }

    test::TempFolder tmp;
    test::FakePlatform platform;
    platform::Services services = platform.services();
    platform::StdFileSystem files;
    std::string savedCwd;
};

TEST_F(OptionsTest, DefaultFileHasTheDocumentedLayout) {
    Bytes b = DefaultBytes();
    ASSERT_EQ(b.size(), OptionsFileSize);
    struct TextRow { std::size_t offset, capacity; const char* value; };
    const TextRow texts[] = {
        {0, 71, "1.121"},          {72, 71, "ZARNLOGO.BMP"},   {144, 71, "QNRTITLE.BMP"},
        {216, 71, ""},             {288, 71, "QnRMnHlp.LST"},  {864, 71, "REMINDER.OBS"},
        {936, 71, "GLIMAGES.LST"}, {1512, 71, "Quenara.HTL"},  {1584, 71, "CLUSTERS.DAT"},
        {3448, 255, "ZARNLOG.LOG"}, {3997, 40, "0.4m (16\") Telescope"},
        {3997 + 147, 40, "KPNO 0.9m (36\") Telescope"}, {3997 + 294 + 68, 40, "Kitt Peak Nat'l. Obs. - Arizona"},
        {4438, 40, "Site CH350 003B Back-Illuminated"}, {4567, 4, ""},
    };
    for (const auto& t : texts) EXPECT_EQ(TextAt(b, t.offset, t.capacity), t.value) << "offset " << t.offset;

    EXPECT_EQ(TextAt(b, 1656, 255), tmp.file("program/CGSC/"));
    EXPECT_EQ(TextAt(b, 3704, 255), tmp.file("program/ORBIT/QNRA_MPC.CMO"));
    EXPECT_EQ(b[3960], 1);  // orbit file kind
    EXPECT_EQ(SingleAt(b, 3961), 2.5f);
    EXPECT_EQ(SingleAt(b, 3969), 15.0f);
    EXPECT_EQ(SingleAt(b, 3989), 4700.0f);
    EXPECT_EQ(SingleAt(b, 3993), 5.0f);

    // The telescope table: longitudes, latitudes and horizon limits as extended radians.
    const double lonDeg[] = {-77.2405556, -111.6, -111.6};
    const double latDeg[] = {39.8402778, 31.9633333, 31.9633333};
    for (int i = 0; i < 3; ++i) {
        std::size_t e = 3997 + 147 * static_cast<std::size_t>(i);
        EXPECT_NEAR(static_cast<double>(ExtendedAt(b, e + 109) * RadToDeg), lonDeg[i], 1e-12) << i;
        EXPECT_NEAR(static_cast<double>(ExtendedAt(b, e + 119) * RadToDeg), latDeg[i], 1e-12) << i;
        EXPECT_NEAR(static_cast<double>(ExtendedAt(b, e + 129) * RadToDeg), 10.0, 1e-15) << i;
    }
    EXPECT_NEAR(static_cast<double>(ExtendedAt(b, 3997 + 109)), -1.34810201129, 1e-11);  // -77.2405556 deg
    EXPECT_EQ(SingleAt(b, 3997 + 147 + 41), 0.5f);           // 1.0 m availability
    EXPECT_EQ(b[3997 + 147 + 45], 12);                        // 1.0 m minimum allocation
    EXPECT_EQ(b[3997 + 294 + 47], 15);                        // 4.0 m reapply wait
    EXPECT_EQ(SingleAt(b, 3997 + 294 + 52), 10287.0f);        // 4.0 m focal length, 3810 x 2.7
    EXPECT_EQ(SingleAt(b, 3997 + 139), 176.784f);             // 0.4 m altitude
    EXPECT_EQ(SingleAt(b, 3997 + 147 + 143), 7.0f);           // 1.0 m UT minus local

    EXPECT_EQ(SingleAt(b, 4438 + 41), 24.0f);
    EXPECT_EQ(Int32At(b, 4438 + 85), 320000);  // well depth
    EXPECT_EQ(b[4438 + 90], 1);                // position noise
    EXPECT_EQ(Int32At(b, 4529), 3);
    EXPECT_EQ(Int32At(b, 4533), 1000);
    EXPECT_EQ(Int32At(b, 4545), 1);
    EXPECT_EQ(b[4549], 4);
    EXPECT_EQ(b[4550], static_cast<std::uint8_t>(~'M'));
    EXPECT_EQ(b[4553], static_cast<std::uint8_t>(~'Q'));
    EXPECT_EQ(b[4566], 4);
    const std::uint8_t switches[] = {1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 1, 0};
    for (std::size_t i = 0; i < sizeof switches; ++i) EXPECT_EQ(b[4572 + i], switches[i]) << "switch " << i;
}

TEST_F(OptionsTest, SavedFileReadsBackField_for_field) {
    OptsObj o = Defaults();
    o.rec.labTable = "12";
    o.rec.testMode = true;
    o.rec.telescopes[1].longitude = -1.947787L;
    o.rec.password = ScramblePassword("Secret");
    ASSERT_TRUE(o.Save(tmp.file("data")));
    Bytes saved = ReadAll(tmp.file("data/QNR_OPTS.INI"));
    ASSERT_EQ(saved.size(), OptionsFileSize);

    OptsObj back(services);
    back.InitIdentification(OptionsFileName, ProgramVersion);
    back.SetDefaults();
    ASSERT_TRUE(back.ReadFile(tmp.file("data/QNR_OPTS.INI")));
    EXPECT_EQ(EncodeOptions(back.rec), saved);
    EXPECT_EQ(back.rec.labTable, "12");
    EXPECT_TRUE(back.rec.testMode);
    EXPECT_EQ(back.rec.telescopes[1].longitude, -1.947787L);
    EXPECT_EQ(UnscramblePassword(back.rec.password), "Secret");
    EXPECT_TRUE(platform.dialogs.messages.empty());
}

TEST_F(OptionsTest, VersionsMatchToTwoDecimals) {
    struct Row { const char* version; bool accepted; };
    const Row rows[] = {{"1.121", true}, {"1.120", true}, {"1.129", true}, {"1.12", true},
                        {"1.13", false}, {"1.1", false},  {"2.121", false}, {"", false}};
    for (const auto& row : rows) {
        Bytes b = DefaultBytes();
        RecordWriter w;
        w.text(row.version, 71);
        std::copy(w.bytes().begin(), w.bytes().end(), b.begin());
        const std::string path = tmp.file("data/QNR_OPTS.INI");
        WriteAll(path, b);
        OptsObj o = Defaults();
        platform.dialogs.clear();
        EXPECT_EQ(o.ReadFile(path), row.accepted) << row.version;
        if (!row.accepted) {
            ASSERT_EQ(platform.dialogs.messages.size(), 1u) << row.version;
            EXPECT_EQ(platform.dialogs.messages[0].caption, "Version Error");
            EXPECT_EQ(platform.dialogs.messages[0].text,
                      "Options File " + path + " is obsolete.\r\n" + kContinue);
        }
    }
}

TEST_F(OptionsTest, WrongLengthFilesAreReportedAndTheNextCandidateTakesOver) {
    struct Row { const char* what; int delta; const char* why; };
    const Row rows[] = {{"one byte longer", +1, "EOF Not Reached!"},
                        {"one byte shorter", -1, "EOF!"},
                        {"only a version", 72 - static_cast<int>(OptionsFileSize), "EOF!"},
                        {"empty", -static_cast<int>(OptionsFileSize), "EOF!"}};
    for (const auto& row : rows) {
        Bytes bad = DefaultBytes();
        bad.resize(static_cast<std::size_t>(static_cast<int>(bad.size()) + row.delta), 0x55);
        WriteAll(tmp.file("data/QNR_OPTS.INI"), bad);
        // A good file in the program folder is the next candidate.
        OptsObj good = Defaults();
        good.rec.labTable = "7";
        WriteAll(tmp.file("program/QNR_OPTS.INI"), EncodeOptions(good.rec));

        platform.dialogs.clear();
        OptsObj o(services);
        o.Create(OptionsFileName, ProgramVersion);
        ASSERT_EQ(platform.dialogs.messages.size(), 1u) << row.what;
        const auto& m = platform.dialogs.messages[0];
        EXPECT_EQ(m.caption, "File Error") << row.what;
        EXPECT_EQ(m.text, "Options File " + tmp.file("data/QNR_OPTS.INI") + " is Invalid.\r\n" + kContinue +
                              "\r\n\r\n" + row.why)
            << row.what;
        EXPECT_EQ(o.loadedFrom(), tmp.file("program/QNR_OPTS.INI")) << row.what;
        EXPECT_EQ(o.rec.labTable, "7") << row.what;

        // Without the program folder's file the defaults take over.
        std::filesystem::remove(tmp.file("program/QNR_OPTS.INI"));
        OptsObj d(services);
        d.Create(OptionsFileName, ProgramVersion);
        EXPECT_TRUE(d.loadedFrom().empty()) << row.what;
        EXPECT_EQ(EncodeOptions(d.rec), DefaultBytes()) << row.what;
    }
}

TEST_F(OptionsTest, MissingFileFailsQuietly) {
    OptsObj o(services);
    o.Create(OptionsFileName, ProgramVersion);
    EXPECT_TRUE(platform.dialogs.messages.empty());
    EXPECT_TRUE(o.loadedFrom().empty());
    EXPECT_EQ(o.rec.dataFolder, tmp.file("data/"));
    EXPECT_EQ(o.rec.programFolder, tmp.file("program/"));
    EXPECT_EQ(o.rec.backupName, "QNR_OPTS.BAK");
}

TEST_F(OptionsTest, AdministratorNeverComesFromTheFile) {
    OptsObj o = Defaults();
    o.rec.administrator = true;
    ASSERT_TRUE(o.Save(tmp.file("data")));
    Bytes b = ReadAll(tmp.file("data/QNR_OPTS.INI"));
    EXPECT_EQ(b, DefaultBytes());  // not even stored
    OptsObj r = Defaults();
    r.rec.administrator = true;
    ASSERT_TRUE(r.ReadFile(tmp.file("data/QNR_OPTS.INI")));
    EXPECT_FALSE(r.rec.administrator);
}

TEST_F(OptionsTest, ReadResetsTheCurrentWavelengthRange) {
    OptsObj o = Defaults();
    o.rec.defaultMinWavelength = 4000;
    ASSERT_TRUE(o.Save(tmp.file("data")));
    OptsObj r = Defaults();
    r.rec.currentMinWavelength = 5000;
    ASSERT_TRUE(r.ReadFile(tmp.file("data/QNR_OPTS.INI")));
    EXPECT_EQ(r.rec.currentMinWavelength, 4000.0f);
}

TEST_F(OptionsTest, SaveKeepsTheOldFileAsBackup) {
    OptsObj first = Defaults();
    first.rec.labTable = "1";
    ASSERT_TRUE(first.Save(tmp.file("data")));
    Bytes old = ReadAll(tmp.file("data/QNR_OPTS.INI"));
    OptsObj second = Defaults();
    second.rec.labTable = "2";
    ASSERT_TRUE(second.Save(tmp.file("data/")));
    EXPECT_EQ(ReadAll(tmp.file("data/QNR_OPTS.BAK")), old);
    EXPECT_EQ(TextAt(ReadAll(tmp.file("data/QNR_OPTS.INI")), 4567, 4), "2");
}

TEST_F(OptionsTest, EditModeAsksBeforeSaving) {
    const std::string question =
        "Edit Mode is Set!\r\n\r\nStudents using this software in Edit Mode will be able to access/change data "
        "values and program options.\r\n\r\nAre you sure you want to save these option settings?";
    OptsObj o = Defaults();
    o.rec.editMode = true;
    platform.dialogs.script({platform::Answer::No});
    EXPECT_FALSE(o.Save(tmp.file("data")));
    EXPECT_FALSE(files.exists(tmp.file("data/QNR_OPTS.INI")));
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_EQ(platform.dialogs.messages[0].text, question);
    EXPECT_EQ(platform.dialogs.messages[0].caption, "Are You Sure?");
    EXPECT_EQ(platform.dialogs.messages[0].buttons, platform::Buttons::YesNo);

    platform.dialogs.script({platform::Answer::Yes});
    EXPECT_TRUE(o.Save(tmp.file("data")));
    EXPECT_TRUE(files.exists(tmp.file("data/QNR_OPTS.INI")));
}

// The real file system, except that whole-file writes fail as on a full disk.
class FullDisk final : public test::ForwardingFileSystem {
public:
    int writeFileAtomic(const std::string&, const platform::Bytes&) override { return 101; }
    int appendFile(const std::string&, const platform::Bytes&) override { return 101; }
};

TEST_F(OptionsTest, FailedWriteIsReportedAndLeavesTheOldFile) {
    OptsObj first = Defaults();
    first.rec.labTable = "1";
    ASSERT_TRUE(first.Save(tmp.file("data")));
    Bytes old = ReadAll(tmp.file("data/QNR_OPTS.INI"));

    FullDisk disk;
    platform::Services s = services;
    s.files = &disk;
    OptsObj o(s);
    o.InitIdentification(OptionsFileName, ProgramVersion);
    o.SetDefaults();
    o.rec.labTable = "2";
    EXPECT_FALSE(o.Save(tmp.file("data")));
    EXPECT_EQ(ReadAll(tmp.file("data/QNR_OPTS.INI")), old);
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_EQ(platform.dialogs.messages[0].caption, "Options File Error!");
    EXPECT_EQ(platform.dialogs.messages[0].text,
              "Unable to save Options!\r\n\r\nFileName: " + tmp.file("data/QNR_OPTS.INI") + "\r\nDisk Full!");
}

TEST_F(OptionsTest, SaveIntoAMissingFolderFails) {
    OptsObj o = Defaults();
    EXPECT_FALSE(o.Save(tmp.file("nowhere")));
    ASSERT_EQ(platform.dialogs.messages.size(), 1u);
    EXPECT_EQ(platform.dialogs.messages[0].text,
              "Unable to save Options!\r\n\r\nFileName: " + tmp.file("nowhere/QNR_OPTS.INI") +
                  "\r\nFile Not Found!");
}

TEST_F(OptionsTest, StartedInTheProgramFolderTheDataFolderIsPerUser) {
    files.setCurrentFolder(tmp.file("program"));
    OptsObj o(services);
    o.Create(OptionsFileName, ProgramVersion);
    EXPECT_EQ(o.rec.dataFolder, tmp.file("userdata/ZARN/QUENARA/"));
    EXPECT_TRUE(files.isFolder(tmp.file("userdata/ZARN/QUENARA")));
    EXPECT_EQ(files.currentFolder(), tmp.file("userdata/ZARN/QUENARA/"));
}

TEST_F(OptionsTest, DataTreeFoldersAndTheAstrometryProgram) {
    // Names in the tree resolve without regard to case.
    files.makeFolders(tmp.file("program/cgsc/tables"));
    WriteAll(tmp.file("program/cgsc/tables/regions.bin"), {0});
    files.makeFolders(tmp.file("RAVORIZI"));
    EXPECT_TRUE(Defaults().rec.astrometryProgram.empty());
    WriteAll(tmp.file("RAVORIZI/ZARN_AST.EXE"), {0});
    OptsObj o = Defaults();
    EXPECT_EQ(o.rec.astrometryProgram, tmp.file("RAVORIZI/ZARN_AST.EXE"));
    EXPECT_EQ(o.rec.instrumentCatalogFolder, tmp.file("program/CGSC/"));
}

TEST_F(OptionsTest, TimeZoneFromThePlatform) {
    struct Row { platform::TimeZoneInfo zone; float hours, daylight; const char* name; };
    const Row rows[] = {
        {{300, 0, -60, false, true, "EST"}, 5.0f, 0.0f, "EST"},
        {{300, 0, -60, true, true, "EDT"}, 4.0f, -1.0f, "EDT"},
        {{-60, 0, -60, false, true, ""}, -1.0f, 0.0f, "Unknown"},
        {{0, 0, 0, false, false, "x"}, 0.0f, 0.0f, "Unknown"},
    };
    for (const auto& row : rows) {
        platform.clock.zone = row.zone;
        OptsObj o(services);
        o.ReadTimeZone();
        EXPECT_EQ(o.rec.zoneHours, row.hours) << row.zone.name;
        EXPECT_EQ(o.rec.daylightHours, row.daylight) << row.zone.name;
        EXPECT_EQ(o.rec.zoneName, row.name);
    }
}

TEST(OptionsPassword, ScramblingComplementsEachCharacter) {
    ScrambledPassword s = ScramblePassword("MVRQ");
    EXPECT_EQ(s.length, 4);
    EXPECT_EQ(s.bytes[0], static_cast<std::uint8_t>(~'M'));
    EXPECT_EQ(UnscramblePassword(s), "MVRQ");
    EXPECT_NE(UnscramblePassword(s), "mvrq");
    EXPECT_EQ(UnscramblePassword(ScramblePassword("")), "");
    EXPECT_EQ(UnscramblePassword(ScramblePassword("0123456789ABCDEFGH")), "0123456789ABCDEF");
    // Filler past the length is ignored.
    s.bytes[7] = 0x12;
    EXPECT_EQ(UnscramblePassword(s), "MVRQ");
}

TEST(OptionsNames, BackupNameAndVersionKey) {
    EXPECT_EQ(BackupName("QNR_OPTS.INI"), "QNR_OPTS.BAK");
    EXPECT_EQ(BackupName("NOEXT"), "NOEXT.BAK");
    EXPECT_EQ(BackupName("A.LONGEXT"), "A.LONGEXT.BAK");
    EXPECT_EQ(VersionKey("1.121"), "1.12");
    EXPECT_EQ(VersionKey("1.1"), "1.1");
    EXPECT_EQ(VersionKey("121"), "12");
}

}  // namespace
}  // namespace qnr::app
