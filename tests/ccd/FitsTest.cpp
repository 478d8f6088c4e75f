#include <gtest/gtest.h>
#include <fitsio.h>

#include "astro/Random.h"
#include "ccd/CCD_Fits.h"
#include "CcdTestSupport.h"
#include "support/Fakes.h"

namespace qnr::ccd {
namespace {

TEST(FitsRecords, CardLayouts) {
    struct Row { std::string card; std::string expected; } rows[] = {
        {LogicalRecord("SIMPLE", true), "SIMPLE  =                    T /"},
        {IntegerRecord("BITPIX", "-32"), "BITPIX  =                  -32 /"},
        {TextRecord("FILTER", "V"), "FILTER  = 'V       '           /"},
        {TextRecord("OBSERVAT", "Kitt Peak Nat'l. Obs."), "OBSERVAT= 'Kitt Peak Nat''l. Obs.' /"},
        {TextRecord("OBJECT", "Qnra-NGC 2392 Eskimo"), "OBJECT  = 'Qnra-NGC 2392 Eskimo' /"},
        {EndRecord(), "END"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.card.size(), 80u);
        EXPECT_EQ(r.card.substr(0, r.expected.size()), r.expected);
        EXPECT_EQ(r.card.find_last_not_of(' ') + 1, r.expected.size()) << r.card;
    }
    // A text that fills the card still closes its quote, apostrophes doubled.
    const std::string card = TextRecord("OBSERVER", std::string(60, 'a') + "'''''");
    EXPECT_EQ(card.size(), 80u);
    EXPECT_EQ(card.substr(10, 1), "'");
    EXPECT_EQ(card.substr(card.find_last_not_of(" /") , 1), "'");
}

TEST(FitsRecords, CoordinateTexts) {
    struct Row { Extended v; bool ra; const char* text; } rows[] = {
        {5 + 34 / 60.0L + 31.94L / 3600, true, "5:34:31.9"},
        {22 + 0 / 60.0L + 52.2L / 3600, false, "22:00:52"},
        {-(5 + 23 / 60.0L + 28 / 3600.0L), false, "-5:23:28"},
        {-0.5L, false, "-0:30:00"},
    };
    for (const Row& r : rows) EXPECT_EQ(r.ra ? FitsRaText(r.v) : FitsDecText(r.v), r.text);
}

TEST(FitsRecords, ObjectAndObserverTexts) {
    EXPECT_EQ(ObjectText(true, "M 42", "X"), "M 42");
    EXPECT_EQ(ObjectText(false, "M 42", "LAB3"), "Qnra-LAB3");
    EXPECT_EQ(ObjectText(true, "", "UNKNOWN"), "UNKNOWN");
    EXPECT_EQ(ObjectText(false, "", ""), "UNKNOWN");
    // The file name follows the same rule as the header: "unknown" typed in
    // any case stays as typed, and only the header cuts long names.
    EXPECT_EQ(ObjectName(false, "", "unknown"), "unknown");
    EXPECT_EQ(ObjectText(false, "", "unknown"), "unknown");
    EXPECT_EQ(ObjectName(true, std::string(70, 'n'), "X").size(), 70u);
    EXPECT_EQ(ObjectText(true, std::string(70, 'n'), "X").size(), 68u);
    EXPECT_EQ(ObserverText({"Ann Lee", "", "Bo O'Hara", "Cy"}), "Ann Lee,Bo O'Hara,Cy");
    EXPECT_EQ(ObserverText({std::string(40, 'a'), std::string(30, 'b'), "c", ""}), std::string(40, 'a') + ",c");
}

FitsHeader SampleHeader(int w, int h) {
    FitsHeader hd;
    hd.width = w;
    hd.height = h;
    hd.object = "Qnra-O'Neil's Field";
    hd.date = "2004-03-07T21:05:09";
    hd.filter = 3;
    hd.ra = 5 + 34 / 60.0L + 31.94L / 3600;
    hd.dec = -0.5L;
    hd.observatory = "Kitt Peak Nat'l. Obs. - Arizona";
    hd.telescope = "KPNO 0.9m (36\") Telescope";
    hd.detector = "Site CH350 003B Back-Illuminated";
    hd.observer = "Ann Lee,Bo O'Hara";
    hd.exposure = 120;
    hd.dateObs = "2004-03-07T21:03:00";
    hd.gain = 5;
    return hd;
}

// The file as the field's standard reader sees it: every card and every pixel.
TEST(FitsFile, StandardReaderReadsHeaderAndPixelsBack) {
    test::TempFolder tmp;
    ImgArrayObj img;
    ASSERT_TRUE(img.Allocate(1024, 1024));
    RandomGenerator::global().setSeed(11);
    for (float& v : img.values()) v = static_cast<float>(RandomReal() * 70000 - 100);
    img.Set(0, 0, 65536.0f);
    img.Set(1023, 0, 0.25f);
    const FitsHeader hd = SampleHeader(1024, 1024);
    const std::vector<std::uint8_t> bytes = FitsBytes(hd, img);
    EXPECT_EQ(bytes.size(), 4199040u);  // 1 header block + 1457 data blocks
    const std::string path = tmp.file("T.FIT");
    test::WriteAll(path, bytes);

    fitsfile* f = nullptr;
    int status = 0;
    ASSERT_EQ(fits_open_file(&f, path.c_str(), READONLY, &status), 0) << status;
    int bitpix = 0, naxis = 0;
    long dims[2] = {0, 0};
    fits_get_img_param(f, 2, &bitpix, &naxis, dims, &status);
    EXPECT_EQ(bitpix, FLOAT_IMG);
    EXPECT_EQ(naxis, 2);
    EXPECT_EQ(dims[0], 1024);
    EXPECT_EQ(dims[1], 1024);
    struct Text { const char* key; std::string value; } texts[] = {
        {"OBJECT", "Qnra-O'Neil's Field"}, {"ORIGIN", "Zarn Simulation"}, {"DATE", "2004-03-07T21:05:09"},
        {"FILTER", "R"}, {"RA", "5:34:31.9"}, {"DEC", "-0:30:00"}, {"EPOCH", "2000.0"},
        {"OBSERVAT", "Kitt Peak Nat'l. Obs. - Arizona"}, {"TELESCOP", "KPNO 0.9m (36\") Telescope"},
        {"INSTRUME", "CCD Camera"}, {"DETECTOR", "Site CH350 003B Back-Illuminated"},
        {"OBSERVER", "Ann Lee,Bo O'Hara"}, {"DATE-OBS", "2004-03-07T21:03:00"},
    };
    for (const Text& t : texts) {
        char value[FLEN_VALUE] = {0};
        fits_read_key(f, TSTRING, t.key, value, nullptr, &status);
        EXPECT_EQ(status, 0) << t.key;
        EXPECT_EQ(std::string(value), t.value) << t.key;
    }
    struct Int { const char* key; long value; } ints[] = {{"EXP", 120}, {"GAIN", 5}};
    for (const Int& i : ints) {
        long v = 0;
        fits_read_key(f, TLONG, i.key, &v, nullptr, &status);
        EXPECT_EQ(status, 0) << i.key;
        EXPECT_EQ(v, i.value) << i.key;
    }
    int keys = 0, more = 0;
    fits_get_hdrspace(f, &keys, &more, &status);
    EXPECT_EQ(keys, 20);  // every card but END
    std::vector<float> back(1024 * 1024);
    int anynul = 0;
    fits_read_img(f, TFLOAT, 1, static_cast<LONGLONG>(back.size()), nullptr, back.data(), &anynul, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(back, img.values());
    fits_close_file(f, &status);
    EXPECT_EQ(status, 0);
}

TEST(FitsFile, SequenceNumbers) {
    test::TempFolder tmp;
    platform::StdFileSystem files;
    EXPECT_EQ(NextFreeName(files, tmp.path(), "Qnra-LAB-01.FIT"), "Qnra-LAB-01.FIT");
    test::WriteAll(tmp.file("Qnra-LAB-01.FIT"), {1});
    test::WriteAll(tmp.file("QNRA-LAB-02.FIT"), {1});  // another case counts as the same name
    EXPECT_EQ(NextFreeName(files, tmp.path(), "Qnra-LAB-01.FIT"), "Qnra-LAB-03.FIT");
    test::WriteAll(tmp.file("X-99.FIT"), {1});
    EXPECT_EQ(NextFreeName(files, tmp.path(), "X-99.FIT"), "X-100.FIT");
    test::WriteAll(tmp.file("PLAIN.FIT"), {1});
    EXPECT_EQ(NextFreeName(files, tmp.path(), "PLAIN.FIT"), "PLAIN-01.FIT");
}

// Names with a time stamp hold digit runs too long for any number: they count
// as names without a sequence number, which one is started after.
TEST(FitsFile, LongDigitRunsBeforeTheDotStartASequence) {
    test::TempFolder tmp;
    platform::StdFileSystem files;
    struct Row { const char* existing; const char* proposed; };
    const Row rows[] = {
        {"LAB-20240414123456789012.FIT", "LAB-20240414123456789012-01.FIT"},  // 20 digits
        {"9223372036854775806.FIT", "9223372036854775807.FIT"},
        {"9223372036854775807.FIT", "9223372036854775807-01.FIT"},            // the largest, nothing above it
        {"LAB-99999999999999999999999999999999999999.FIT", "LAB-99999999999999999999999999999999999999-01.FIT"},
    };
    for (const Row& r : rows) {
        test::WriteAll(tmp.file(r.existing), {1});
        EXPECT_EQ(NextFreeName(files, tmp.path(), r.existing), r.proposed) << r.existing;
    }
}

struct SaveRig {
    test::FakePlatform fake;
    test::SaveChooser chooser;
    platform::Services services;
    FITSFileObj fits{services};
    ImgArrayObj img;
    SaveRig() : services(fake.services()) {
        services.chooser = &chooser;
        img.Allocate(4, 3);
    }
    bool Save(const std::string& folder) { return fits.Save(img, SampleHeader(4, 3), "Qnra-LAB-01.FIT", folder); }
};

TEST(FitsFile, SaveProposesNamesAsksBeforeOverwritingAndKeepsCase) {
    test::TempFolder tmp;
    SaveRig rig;
    rig.chooser.answers = {tmp.file("Qnra-LAB-01.FIT")};
    ASSERT_TRUE(rig.Save(tmp.path()));
    EXPECT_EQ(rig.chooser.saves[0].defaultName, "Qnra-LAB-01.FIT");
    EXPECT_EQ(rig.chooser.saves[0].startFolder, tmp.path());
    EXPECT_EQ(rig.chooser.saves[0].title, "Save Image as FITS File");
    EXPECT_EQ(rig.chooser.saves[0].defaultExtension, "FIT");
    EXPECT_EQ(test::ReadAll(tmp.file("Qnra-LAB-01.FIT")).size(), 2880u * 2);

    // Second save: "-02" proposed; the user picks the existing file, says No,
    // then a lower-case name that is written as typed.
    rig.chooser.answers = {tmp.file("Qnra-LAB-01.FIT"), tmp.file("mine.fit")};
    rig.fake.dialogs.script({platform::Answer::No});
    ASSERT_TRUE(rig.Save(tmp.path()));
    EXPECT_EQ(rig.chooser.saves[1].defaultName, "Qnra-LAB-02.FIT");
    ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.fake.dialogs.messages[0].text, "Qnra-LAB-01.FIT Already Exists!\r\n\r\nDo You Want to Overwrite It?");
    EXPECT_EQ(rig.fake.dialogs.messages[0].caption, "Replace Existing File?");
    EXPECT_TRUE(rig.fake.files.exists(tmp.file("mine.fit")));
    EXPECT_FALSE(rig.fake.files.exists(tmp.file("MINE.FIT")));
    EXPECT_EQ(rig.fits.fileName, "mine.fit");

    rig.chooser.answers = {std::nullopt};
    EXPECT_FALSE(rig.Save(tmp.path()));  // Cancel
}

TEST(FitsFile, SavingAgainAfterATimeStampedNameProposesTheNextName) {
    test::TempFolder tmp;
    SaveRig rig;
    const std::string stamped = "RUN-2024041412345678901234.FIT";
    rig.chooser.answers = {tmp.file(stamped), tmp.file("RUN-2024041412345678901234-01.FIT")};
    ASSERT_TRUE(rig.Save(tmp.path()));
    ASSERT_TRUE(rig.Save(tmp.path()));
    EXPECT_EQ(rig.chooser.saves[1].defaultName, "RUN-2024041412345678901234-01.FIT");
    EXPECT_TRUE(rig.fake.dialogs.messages.empty());
}

TEST(FitsFile, WriteFailureLeavesNoFileAndSaysSo) {
    test::TempFolder tmp;
    SaveRig rig;
    const std::string path = tmp.path() + "missing/IMG-01.FIT";
    rig.chooser.answers = {path};
    EXPECT_FALSE(rig.Save(tmp.path()));
    ASSERT_EQ(rig.fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.fake.dialogs.messages[0].caption, "FITS File Error!");
    EXPECT_EQ(rig.fake.dialogs.messages[0].text.rfind("Unable to Open FITS File!\r\n\r\nFile Name: " + path + "\r\nIOResult = ", 0), 0u);
    EXPECT_FALSE(rig.fake.files.exists(path));
}

TEST(BmpFile, HeaderPaletteAndPaddedRows) {
    const std::vector<std::uint8_t> idx = {64, 100, 127, 200, 1, 2, 3, 4, 5, 6};
    const std::vector<std::uint8_t> b = BmpBytes(idx, 5, 2);
    ASSERT_EQ(b.size(), 1078u + 2 * 8);
    auto u32 = [&](std::size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24; };
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(u32(2), 0u);
    EXPECT_EQ(u32(10), 1078u);
    EXPECT_EQ(u32(14), 40u);
    EXPECT_EQ(u32(18), 5u);
    EXPECT_EQ(static_cast<std::int32_t>(u32(22)), -2);
    EXPECT_EQ(b[28], 8);
    EXPECT_EQ(u32(46), 256u);
    struct Grey { int i; int g; } greys[] = {{0, 0}, {63, 0}, {64, 0}, {127, 255}, {128, 255}};
    for (const Grey& g : greys) {
        const std::size_t at = 54 + 4 * static_cast<std::size_t>(g.i);
        EXPECT_EQ(b[at], b[at + 2]);
        EXPECT_EQ(b[at + 3], 0);
        if (g.i != 100) {
            EXPECT_EQ(b[at], g.g) << g.i;
        }
    }
    EXPECT_EQ(b[54 + 400], 193);  // nearest integer to 255 x sqrt(36 / 63)
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin() + 1078, b.begin() + 1086),
              (std::vector<std::uint8_t>{64, 100, 127, 200, 1, 0, 0, 0}));
}

}  // namespace
}  // namespace qnr::ccd
