// The radio options: the file's layout, reading with its version and value
// checks, writing with the backup and a reported failure, and the two dialogs.
#include "radio/RadiOpts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "astro/MathStd.h"
#include "support/Fakes.h"

namespace qnr::radio {
namespace {

using test::ReadAll;
using test::WriteAll;

std::uint16_t U16At(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8); }
std::int32_t I32At(const Bytes& b, std::size_t at) {
    return static_cast<std::int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24);
}
float SingleAt(const Bytes& b, std::size_t at) {
    float f;
    std::memcpy(&f, b.data() + at, 4);
    return f;
}
std::string TextAt(const Bytes& b, std::size_t at) { return std::string(b.begin() + at + 1, b.begin() + at + 1 + b[at]); }

// A file system whose writes fail, as on a full disk or a read-only folder.
class FailingWrites final : public test::ForwardingFileSystem {
public:
    int writeFileAtomic(const std::string&, const platform::Bytes&) override { return 101; }
};

class RadiOptsTest : public ::testing::Test {
protected:
    RadiOptsTest() { services = fake.services(); }
    Bytes DefaultsFile() { return EncodeRadioOptions(DefaultRadioOptions(false)); }

    test::FakePlatform fake;
    platform::Services services;
    test::TempFolder data, program;
};

TEST_F(RadiOptsTest, TheDefaultsFileIs982BytesWithEveryFieldAtItsPlace) {
    const Bytes b = DefaultsFile();
    ASSERT_EQ(b.size(), RadioOptionsFileSize);
    EXPECT_EQ(TextAt(b, 0), "1.121");
    EXPECT_EQ(TextAt(b, 72), "RADIOTEL.BMP");
    EXPECT_EQ(TextAt(b, 216), "PULSRHLP.LST");
    EXPECT_EQ(TextAt(b, 576), "PULSARS.DAT");
    EXPECT_EQ(TextAt(b, 648), "NRAO - Greenbank, WV");
    EXPECT_EQ(SingleAt(b, 924), 836.0f);
    EXPECT_EQ(I32At(b, 938), 100);
    EXPECT_EQ(I32At(b, 942), 50);
    EXPECT_EQ(SingleAt(b, 946), 0.765f);
    EXPECT_EQ(U16At(b, 950), 5512);
    EXPECT_EQ(I32At(b, 956), 5);
    EXPECT_EQ(SingleAt(b, 964), 50.0f);
    EXPECT_EQ(b[972], 0);  // fully steerable
    EXPECT_EQ(b[973], 1);  // B1950 names
    EXPECT_EQ(b[975], 5);  // fast slewing
    EXPECT_EQ(b[979], 1);  // sound
    EXPECT_EQ(b[981], 0);
    // The angles read back through the file's extended reals.
    RadiOptsObj o(services, false);
    WriteAll(data.file(RadioOptionsFileName), b);
    ASSERT_TRUE(o.Load(data.file(RadioOptionsFileName)));
    EXPECT_NEAR(static_cast<double>(o.rec.longitude * RadToDeg), -79.84166667, 1e-9);
    EXPECT_NEAR(static_cast<double>(o.rec.latitude * RadToDeg), 38.43, 1e-9);
    EXPECT_NEAR(static_cast<double>(o.rec.horizonLimit * RadToDeg), 10.0, 1e-12);
    // The older consumer platforms' sound runs at another pace.
    EXPECT_EQ(DefaultRadioOptions(true).syncFactor, 0.92f);
}

TEST_F(RadiOptsTest, VersionsWithinTwoDecimalsLoadOthersAreReportedAndKept) {
    const struct {
        const char* version;
        bool loads;
    } rows[] = {{"1.121", true}, {"1.12", true}, {"1.129", true}, {"1.13", false}, {"2.0", false}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.version);
        RadioOptsRec rec = DefaultRadioOptions(false);
        rec.version = r.version;
        rec.aperture = 64;
        const std::string path = data.file(RadioOptionsFileName);
        WriteAll(path, EncodeRadioOptions(rec));
        fake.dialogs.clear();
        RadiOptsObj o(services, false);
        EXPECT_EQ(o.Load(path), r.loads);
        EXPECT_EQ(o.rec.aperture, r.loads ? 64 : 100);
        if (!r.loads) {
            ASSERT_EQ(fake.dialogs.shown().size(), 1u);
            EXPECT_EQ(fake.dialogs.shown()[0], "Version Error|Options File " + path +
                                                   " is obsolete.\r\nProgram will continue with defaults or "
                                                   "alternative file.");
        }
        // Never deleted: it may be the defaults of every user.
        EXPECT_EQ(ReadAll(path), EncodeRadioOptions(rec));
    }
}

TEST_F(RadiOptsTest, ShortOrUnusableFilesAreReportedKeptAndPassedOver) {
    const std::string path = data.file(RadioOptionsFileName);
    const struct {
        const char* what;
        std::function<void(RadioOptsRec&)> edit;
        std::size_t cut;  // bytes kept (0: all)
        const char* reason;
    } rows[] = {
        {"cut short", [](RadioOptsRec&) {}, 900, "EOF!"},
        {"no aperture", [](RadioOptsRec& r) { r.aperture = 0; }, 0, "The antenna aperture must be a whole number from 1 to 10000 m."},
        {"negative aperture", [](RadioOptsRec& r) { r.aperture = -100; }, 0, "The antenna aperture"},
        {"no sample rate", [](RadioOptsRec& r) { r.sampleRate = 0; }, 0, "The sound sample rate must be a whole number from 1000 to 65535 Hz."},
        {"no slew step", [](RadioOptsRec& r) { r.baseSlewRate = 0; }, 0, "The slew increment"},
        {"sync factor 0", [](RadioOptsRec& r) { r.syncFactor = 0; }, 0, "The sound sync factor"},
        {"rate index 9", [](RadioOptsRec& r) { r.maxRateIndex = 9; }, 0, "The fastest slew rate index"},
        {"latitude not a number", [](RadioOptsRec& r) { r.latitude = std::nanl(""); }, 0, "The site latitude"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        RadioOptsRec rec = DefaultRadioOptions(false);
        r.edit(rec);
        Bytes bytes = EncodeRadioOptions(rec);
        if (r.cut) bytes.resize(r.cut);
        WriteAll(path, bytes);
        fake.dialogs.clear();
        RadiOptsObj o(services, false);
        EXPECT_FALSE(o.Load(path));
        EXPECT_EQ(o.rec.aperture, 100);
        ASSERT_EQ(fake.dialogs.messages.size(), 1u);
        EXPECT_EQ(fake.dialogs.messages[0].caption, "File Error");
        EXPECT_NE(fake.dialogs.messages[0].text.find("Options File " + path + " is Invalid."), std::string::npos);
        EXPECT_NE(fake.dialogs.messages[0].text.find(r.reason), std::string::npos) << fake.dialogs.messages[0].text;
        EXPECT_EQ(ReadAll(path), bytes);
    }
    // Bytes after the record are no concern.
    Bytes longer = DefaultsFile();
    longer.push_back(7);
    WriteAll(path, longer);
    RadiOptsObj o(services, false);
    EXPECT_TRUE(o.Load(path));
}

TEST_F(RadiOptsTest, InitTakesTheDataFolderThenTheProgramFolderThenTheDefaults) {
    auto file = [](std::int32_t aperture) {
        RadioOptsRec r = DefaultRadioOptions(false);
        r.aperture = aperture;
        return EncodeRadioOptions(r);
    };
    WriteAll(program.file(RadioOptionsFileName), file(300));
    {
        RadiOptsObj o(services, false);
        o.Init(RadioOptionsFileName, program.path(), RadioOptionsVersion, data.path());
        EXPECT_EQ(o.rec.aperture, 300);
        EXPECT_EQ(o.loadedFrom(), program.file(RadioOptionsFileName));
        EXPECT_EQ(o.backupName, "QNR_RADI.BAK");
    }
    WriteAll(data.file(RadioOptionsFileName), file(26));
    {
        RadiOptsObj o(services, false);
        o.Init(RadioOptionsFileName, program.path(), RadioOptionsVersion, data.path());
        EXPECT_EQ(o.rec.aperture, 26);
    }
    // An obsolete data-folder file gives way to the program folder's.
    RadioOptsRec old = DefaultRadioOptions(false);
    old.version = "1.0";
    WriteAll(data.file(RadioOptionsFileName), EncodeRadioOptions(old));
    {
        RadiOptsObj o(services, false);
        o.Init(RadioOptionsFileName, program.path(), RadioOptionsVersion, data.path());
        EXPECT_EQ(o.rec.aperture, 300);
    }
    test::TempFolder empty;
    RadiOptsObj o(services, false);
    o.Init(RadioOptionsFileName, empty.path(), RadioOptionsVersion, empty.path());
    EXPECT_TRUE(o.loadedFrom().empty());
    EXPECT_EQ(o.rec.aperture, 100);
    EXPECT_TRUE(fake.dialogs.messages.size() == 1u);  // only the obsolete file spoke
}

TEST_F(RadiOptsTest, WriteKeepsTheOldFileAsBackupAndReportsAFailure) {
    RadiOptsObj o(services, false);
    o.Init(RadioOptionsFileName, program.path(), RadioOptionsVersion, data.path());
    ASSERT_TRUE(o.Write(data.path()));
    const Bytes first = ReadAll(data.file(RadioOptionsFileName));
    EXPECT_EQ(first.size(), RadioOptionsFileSize);
    o.rec.aperture = 42;
    ASSERT_TRUE(o.Write(data.path()));
    EXPECT_EQ(ReadAll(data.file("QNR_RADI.BAK")), first);
    EXPECT_EQ(I32At(ReadAll(data.file(RadioOptionsFileName)), 938), 42);

    FailingWrites failing;
    platform::Services s = services;
    s.files = &failing;
    RadiOptsObj broken(s, false);
    broken.Init(RadioOptionsFileName, program.path(), RadioOptionsVersion, data.path());
    broken.rec.aperture = 7;
    fake.dialogs.clear();
    EXPECT_FALSE(broken.Write(data.path()));
    ASSERT_EQ(fake.dialogs.shown().size(), 1u);
    EXPECT_EQ(fake.dialogs.shown()[0], "Options File Error!|Unable to save Options!\r\n\r\nFileName: " +
                                           data.file(RadioOptionsFileName) + "\r\nDisk Full!");
    EXPECT_EQ(I32At(ReadAll(data.file(RadioOptionsFileName)), 938), 42);
}

TEST_F(RadiOptsTest, TheOptionsDialogChecksEveryNumberBeforeItCommits) {
    RadioOptsRec rec = DefaultRadioOptions(false);
    RadioOptionsDialogModel shown(rec);
    EXPECT_EQ(shown.horizon, "10.0");
    EXPECT_EQ(shown.sync, "0.76500");
    EXPECT_EQ(shown.gain, "1.00");
    EXPECT_TRUE(shown.fastSlewing);

    RadioOptionsDialogModel dialog(rec);
    dialog.horizon = "12.5";
    dialog.sync = "1.5";
    dialog.fastSlewing = false;
    dialog.aperture = "42.4";
    ASSERT_TRUE(dialog.Ok(rec, fake.dialogs));
    EXPECT_NEAR(static_cast<double>(rec.horizonLimit), 0.218166, 1e-6);
    EXPECT_EQ(RadioOptionsDialogModel(rec).horizon, "12.5");
    EXPECT_EQ(rec.syncFactor, 1.0f);
    EXPECT_EQ(rec.maxRateIndex, 4);
    EXPECT_EQ(rec.aperture, 42);

    const struct {
        const char* what;
        std::function<void(RadioOptionsDialogModel&)> edit;
        const char* caption;
    } refused[] = {
        {"a word", [](RadioOptionsDialogModel& d) { d.gain = "loud"; }, "Non-Numeric Value!"},
        {"empty", [](RadioOptionsDialogModel& d) { d.temperature = ""; }, "Non-Numeric Value!"},
        {"sample rate 0", [](RadioOptionsDialogModel& d) { d.sampleRate = "0"; }, "Value Out of Range!"},
        {"sample rate past 16 bits", [](RadioOptionsDialogModel& d) { d.sampleRate = "70000"; }, "Value Out of Range!"},
        {"aperture 0", [](RadioOptionsDialogModel& d) { d.aperture = "0"; }, "Value Out of Range!"},
        {"slew step 0", [](RadioOptionsDialogModel& d) { d.slewRate = "0.4"; }, "Value Out of Range!"},
        {"sync 0", [](RadioOptionsDialogModel& d) { d.sync = "0"; }, "Value Out of Range!"},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.what);
        RadioOptsRec before = rec;
        RadioOptionsDialogModel d(rec);
        d.horizon = "20";  // converted before the bad field, and still not taken
        r.edit(d);
        fake.dialogs.clear();
        EXPECT_FALSE(d.Ok(rec, fake.dialogs));
        ASSERT_EQ(fake.dialogs.messages.size(), 1u);
        EXPECT_EQ(fake.dialogs.messages[0].caption, r.caption);
        EXPECT_EQ(EncodeRadioOptions(rec), EncodeRadioOptions(before));
    }
    EXPECT_EQ(fake.dialogs.messages[0].text, "The sound sync factor must be above 0 and at most 1.");
}

TEST_F(RadiOptsTest, TheFilesDialogKeepsTwelveCharacters) {
    RadioOptsRec rec = DefaultRadioOptions(false);
    RadioFilesDialogModel d(rec);
    EXPECT_EQ(d.view, "RADIOTEL.BMP");
    d.pulsarData = "MYPULSARS.DATX";
    d.hotList = "Class.HTL";
    d.Ok(rec);
    EXPECT_EQ(rec.pulsarFile, "MYPULSARS.DA");
    EXPECT_EQ(rec.hotListFile, "Class.HTL");
}

}  // namespace
}  // namespace qnr::radio
