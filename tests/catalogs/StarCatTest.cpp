// Field boxes, region selection and the field query over a small catalog tree.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "astro/MathStd.h"
#include "catalogs/SkyCatalogs.h"
#include "catalogs/Star_Cat.h"
#include "catalogs/CatalogFixture.h"
#include "help/TextLists.h"

namespace qnr {
namespace {

using test::CatalogTree;
using test::Quasar;

std::vector<std::string> Names(FieldObjectList& list) {
    std::vector<std::string> out;
    list.Reset();
    while (const FieldObject* o = list.Next()) out.push_back(o->name);
    list.Reset();
    return out;
}

// ---- Boxes and in-field tests.

struct BoxRow {
    const char* why;
    double ra, dec, h;
    double minRA, maxRA, minDec, maxDec;
};

TEST(FieldLimits, BoxAroundAPointingWrapsAtZeroAndTakesEveryRANearAPole) {
    const double w12 = 0.375 / 15;                                    // half width on the equator, hours
    const double w85 = 3.75 / (15 * std::cos(85.0 * 3.14159265358979323846 / 180));  // finder box at 85 degrees
    const BoxRow rows[] = {
        {"equator", 12.0, 0.0, 0.375, 12 - w12, 12 + w12, -0.375, 0.375},
        {"across 0h", 0.0, 0.0, 0.375, 24 - w12, w12, -0.375, 0.375},
        {"high, not reaching the pole", 3.0, 85.0, 3.75, 3 - w85, 3 + w85, 81.25, 88.75},
        // Mended: these divided by cos 90 = 0, or gave half widths over 12 h.
        {"at the north pole", 6.0, 90.0, 0.375, 0, 24, 89.625, 90},
        {"finder box reaching the pole", 3.0, 89.8, 3.75, 0, 24, 86.05, 90},
        {"at the south pole", 3.0, -89.9, 0.375, 0, 24, -90, -89.525},
    };
    for (const BoxRow& r : rows) {
        SCOPED_TRACE(r.why);
        const FieldLimits f = MakeFieldLimits(r.ra, r.dec, r.h, 20.0f);
        // Tolerance: the box is arithmetic on doubles, exact to rounding.
        EXPECT_NEAR(f.MinRA, r.minRA, 1e-9);
        EXPECT_NEAR(f.MaxRA, r.maxRA, 1e-9);
        EXPECT_NEAR(f.MinDec, r.minDec, 1e-9);
        EXPECT_NEAR(f.MaxDec, r.maxDec, 1e-9);
        EXPECT_TRUE(std::isfinite(f.MinRA) && std::isfinite(f.MaxRA));
    }
}

TEST(FieldLimits, InFieldTestAndThePastTheEndSignal) {
    const FieldLimits normal{1.0, 2.0, -1.0, 1.0, 20};
    const FieldLimits across{23.8, 0.2, -1.0, 1.0, 20};
    struct Row {
        const FieldLimits* f;
        double ra, dec;
        bool in, pastEnd;
    } rows[] = {
        {&normal, 1.5, 0, true, false}, {&normal, 2.5, 0, false, true},  {&normal, 0.5, 0, false, false},
        {&normal, 1.5, 1.5, false, false}, {&across, 23.9, 0, true, false}, {&across, 0.1, 0, true, false},
        {&across, 0.3, 0, false, true},  {&across, 13.0, 0, false, false}, {&across, 23.7, 0, false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.ra << " " << r.dec);
        const InFieldResult t = TestInField(*r.f, r.ra, r.dec);
        EXPECT_EQ(t.in, r.in);
        EXPECT_EQ(t.pastEnd, r.pastEnd);
    }
}

TEST(FieldLimits, DesignationsMatchWhole) {
    struct Row {
        const char* text;
        const char* designation;
        bool match;
    } rows[] = {
        {"M 31 (NGC 224)", "NGC 224", true}, {"NGC 224", "NGC 224", true},
        // Mended: a plain "contains" caught these.
        {"NGC 2240", "NGC 224", false},      {"NGC 2249", "NGC 224", false},
        {"M 31 (NGC 224)", "NGC 22", false}, {"IC 10", "IC 1", false},
        {"IC 1", "IC 1", true},              {"M 31 (NGC 224)", "", false},
    };
    for (const Row& r : rows) EXPECT_EQ(ContainsDesignation(r.text, r.designation), r.match) << r.text << " / " << r.designation;
}

// ---- Region table.

TEST(RegionTable, SelectsAcrossZeroAndAtThePole) {
    CatalogTree tree;
    tree.writeTable();
    GSCRgnsTblObj table(tree.services, tree.opts);
    ASSERT_TRUE(table.LoadTable());
    struct Row {
        const char* why;
        FieldLimits f;
        std::vector<std::uint16_t> regions;
    } rows[] = {
        {"across 0h", {23.9, 0.1, 3.0, 4.0, 20}, {test::RegionWest, test::RegionEast}},
        {"west of 0h", {23.6, 23.9, 3.0, 4.0, 20}, {test::RegionWest}},
        {"east of the exercise regions", {0.6, 0.9, 3.0, 4.0, 20}, {test::RegionOther}},
        {"around the pole", {0, 24, 86.0, 90.0, 14}, {test::RegionPoleA, test::RegionPoleB}},
        {"empty sky", {3.0, 3.5, 10.0, 11.0, 20}, {}},
    };
    for (const Row& r : rows) EXPECT_EQ(table.SelectRegions(r.f).regions, r.regions) << r.why;
    EXPECT_TRUE(tree.fakes.dialogs.messages.empty());
}

TEST(RegionTable, KeepsTheFirstHundredRegionsAndReportsEachOneOver) {
    CatalogTree tree;
    for (int i = 0; i < 151; ++i) tree.region(1000 + i, {10.0 + i * 0.001, 10.001 + i * 0.001, 40.0, 41.0});
    tree.writeTable();
    GSCRgnsTblObj table(tree.services, tree.opts);
    ASSERT_TRUE(table.LoadTable());
    const RegionSelection sel = table.SelectRegions({9.9, 10.2, 40.2, 40.8, 20});
    ASSERT_EQ(sel.count(), 100);
    EXPECT_EQ(sel.regions.front(), 1000);
    EXPECT_EQ(sel.regions.back(), 1099);
    const auto shown = tree.fakes.dialogs.shown();
    ASSERT_EQ(shown.size(), 51u);
    for (const auto& s : shown) EXPECT_EQ(s, "Region Table Full!|Field Contains Too Many Regions!");
}

TEST(RegionTable, ExerciseRegionsOnly) {
    CatalogTree tree;
    GSCRgnsTblObj table(tree.services, tree.opts);
    struct Row {
        std::vector<std::uint16_t> regions;
        bool available;
    } rows[] = {
        {{282, 285}, true},
        {{282, 283, 285}, false},  // one region outside the list refuses the whole field
        {{283}, false},
        {{7580}, true},
        {{7577, 7580, 7581}, false},
    };
    for (const Row& r : rows) EXPECT_EQ(table.AllRegionsAvailable({r.regions}), r.available);
    EXPECT_EQ(ExerciseRegions().size(), 66u);
}

TEST(RegionTable, RegionFilesLieInTheirDeclinationBands) {
    EXPECT_EQ(RegionFileName(1), "GSC/N0000/0001.BIN");
    EXPECT_EQ(RegionFileName(282), "GSC/N0000/0282.BIN");
    EXPECT_EQ(RegionFileName(594), "GSC/N0730/0594.BIN");
    EXPECT_EQ(RegionFileName(4662), "GSC/N8230/4662.BIN");
    EXPECT_EQ(RegionFileName(4663), "GSC/S0000/4663.BIN");
    EXPECT_EQ(RegionFileName(9537), "GSC/S8230/9537.BIN");
}

TEST(RegionTable, MissingTableIsReportedTwiceAndNoFieldOpens) {
    CatalogTree tree;
    SkyCatalogs sky(tree.services, tree.opts);
    const FieldLimits f{23.9, 0.1, 3.0, 4.0, 20};
    EXPECT_EQ(sky.OpenField(FieldKind::Finder, f, 2452379.0L), FieldStatus::NoRegions);
    const std::string name = tree.opts.instrumentCatalogFolder + "TABLES/REGIONS.BIN";
    const std::vector<std::string> expected = {
        "Converted GSC Regions Error!|Unable to Open Converted GSC Regions Table!\r\n\r\nFile Name: " + name +
            "\r\nFile Not Found!",
        "File Error!|Unable to Load GSC Regions File.\r\n\r\nFile Name: " + name};
    EXPECT_EQ(tree.fakes.dialogs.shown(), expected);
    // Loaded once per run: a later query neither retries nor repeats the messages.
    EXPECT_EQ(sky.OpenField(FieldKind::Finder, f, 2452379.0L), FieldStatus::NoRegions);
    EXPECT_EQ(tree.fakes.dialogs.messages.size(), 2u);
}

// ---- Stars.

class StarFieldTest : public testing::Test {
protected:
    void SetUp() override {
        tree.writeTable();
        tree.emptyExtras();
        const SpectralTypeCode g2v = ParseSpType("G2V");
        tree.stars(test::RegionWest,
                   {MakeInstrumentStar("00001", 23.95, 3.5, 12.5, 0.65, 0.2, g2v, StarClassAssigned | StarBVAssigned, 7),
                    MakeInstrumentStar("00002", 23.85, 3.5, 11.0, 0.5, 0.1, 0, 0),    // west of the box
                    MakeInstrumentStar("00003", 23.95, 4.5, 11.0, 0.5, 0.1, 0, 0),    // north of it
                    MakeInstrumentStar("00004", 23.97, 3.6, 20.5, 0.5, 0.1, 0, 0)});  // fainter than 20
        tree.stars(test::RegionEast, {MakeInstrumentStar("00001", 0.05, 3.5, 9.0, 1.1, 0.9, 0, 0)});
        tree.finderStars(test::RegionWest, {{23.95, 3.5, 11.0f, "00001"}, {23.96, 3.5, 11.8f, "00002"}});
        tree.finderStars(test::RegionEast, {{0.05, 3.5, 10.0f, "00001"}});
    }
    CatalogTree tree;
    const FieldLimits across{23.9, 0.1, 3.0, 4.0, 20};
};

TEST_F(StarFieldTest, InstrumentStarsOnBothSidesOfZero) {
    SkyCatalogs sky(tree.services, tree.opts);
    ASSERT_EQ(sky.OpenField(FieldKind::Instrument, across, 2452379.0L), FieldStatus::Opened);
    GSCFieldObj& f = sky.instrument;
    EXPECT_EQ(Names(f.objects), (std::vector<std::string>{"00282-00001", "00285-00001"}));
    const FieldObject& s = *f.objects.ItemAt(0);
    // Tolerance: the record holds RA to 1e-7 h, Dec to 1e-5 degrees, magnitudes to 0.001.
    EXPECT_NEAR(s.ra, 23.95, 1e-7);
    EXPECT_NEAR(s.dec, 3.5, 1e-5);
    EXPECT_NEAR(s.V, 12.5, 1e-4);
    EXPECT_NEAR(s.BV, 0.65, 1e-4);
    EXPECT_NEAR(s.UB, 0.2, 1e-4);
    EXPECT_EQ(s.Z, 7.0f);
    EXPECT_TRUE(s.classAssigned);
    EXPECT_FALSE(s.luminosityAssigned);
    EXPECT_TRUE(s.bvAssigned);
    EXPECT_FALSE(s.ubAssigned);
    EXPECT_EQ(s.spType, ParseSpType("G2V"));
    EXPECT_EQ(s.kind, KindStar);
    EXPECT_FLOAT_EQ(f.brightestV, 9.0f);
    EXPECT_FLOAT_EQ(f.faintestV, 12.5f);
    EXPECT_TRUE(tree.fakes.dialogs.messages.empty()) << tree.fakes.dialogs.shown().front();
}

TEST_F(StarFieldTest, FinderStarsCarryNoColoursAndStopAtTheFinderLimit) {
    SkyCatalogs sky(tree.services, tree.opts);
    ASSERT_EQ(sky.OpenField(FieldKind::Finder, across, 2452379.0L), FieldStatus::Opened);
    EXPECT_EQ(Names(sky.finder.objects), (std::vector<std::string>{"00282-00001", "00285-00001"}));
    const FieldObject& s = *sky.finder.objects.ItemAt(0);
    EXPECT_EQ(s.BV, NoMagnitude);
    EXPECT_EQ(s.UB, NoMagnitude);
    EXPECT_TRUE(s.classAssigned && s.luminosityAssigned && s.bvAssigned && s.ubAssigned);
    EXPECT_EQ(s.spType, 0);
    EXPECT_TRUE(sky.instrument.objects.IsEmpty()) << "the fields are independent";
}

TEST_F(StarFieldTest, InstrumentFieldTouchingOneOtherRegionIsRefused) {
    SkyCatalogs sky(tree.services, tree.opts);
    // 23.9h to 0.6h touches 282, 285 and 283; only the last is outside the exercise.
    EXPECT_EQ(sky.OpenField(FieldKind::Instrument, {23.9, 0.6, 3.0, 4.0, 20}, 2452379.0L), FieldStatus::NotAvailable);
    EXPECT_TRUE(sky.instrument.objects.IsEmpty());
    // The finder may look there.
    tree.stars(test::RegionOther, {});
    tree.finderStars(test::RegionOther, {});
    EXPECT_EQ(sky.OpenField(FieldKind::Finder, {23.9, 0.6, 3.0, 4.0, 14}, 2452379.0L), FieldStatus::Opened);
}

TEST_F(StarFieldTest, MissingRegionFileStopsTheReadingAndKeepsTheStarsRead) {
    tree.services.files->removeFile(tree.opts.instrumentCatalogFolder + RegionFileName(test::RegionEast));
    SkyCatalogs sky(tree.services, tree.opts);
    ASSERT_EQ(sky.OpenField(FieldKind::Instrument, across, 2452379.0L), FieldStatus::Opened);
    EXPECT_EQ(Names(sky.instrument.objects), (std::vector<std::string>{"00282-00001"}));
    EXPECT_EQ(tree.fakes.dialogs.shown(),
              (std::vector<std::string>{"Star Catalog File Error!|Unable to Open Star Catalog File!\r\n\r\nFile Name: " +
                                        tree.opts.instrumentCatalogFolder + "GSC/N0000/0285.BIN\r\nFile Not Found!"}));
}

TEST_F(StarFieldTest, FieldWithoutStarsReportsItsLimits) {
    tree.stars(test::RegionOther, {});
    SkyCatalogs sky(tree.services, tree.opts);
    EXPECT_FALSE(sky.instrument.QueryField({0.6, 0.9, 3.0, 4.0, 20}, {{test::RegionOther}}, 2452379.0L));
    EXPECT_EQ(tree.fakes.dialogs.shown(),
              (std::vector<std::string>{"No Stars Found in Field!|Possible Error in Field Parameters:\r\n\r\nMinRA: "
                                        "0.600000\r\nMaxRA: 0.900000\r\nMinDec: 3.00000\r\nMaxDec: "
                                        "4.00000\r\nLimitMag: 20.000"}));
}

TEST_F(StarFieldTest, TheClockPausesForTheQuery) {
    SkyCatalogs sky(tree.services, tree.opts);
    std::vector<std::string> calls;
    FieldHooks hooks;
    hooks.stopClock = [&] { calls.push_back("stop"); };
    hooks.restartClock = [&] { calls.push_back("restart"); };
    sky.SetHooks(hooks);
    // A message during the query comes while the clock is stopped.
    tree.fakes.dialogs.whileShown = [&] { calls.push_back("message"); };
    tree.services.files->removeFile(tree.opts.programFolder + "ZARN_QSO.DAT");
    ASSERT_EQ(sky.OpenField(FieldKind::Instrument, across, 2452379.0L), FieldStatus::Opened);
    EXPECT_EQ(calls, (std::vector<std::string>{"stop", "message", "restart"}));
}

TEST_F(StarFieldTest, EditModeLogsTheSelectionAndTheGalaxies) {
    tree.opts.editMode = true;
    tree.galaxies({test::Galaxy("7", 0.02, 3.4, 12.0f)});
    SkyCatalogs sky(tree.services, tree.opts);
    ASSERT_EQ(sky.OpenField(FieldKind::Instrument, across, 2452379.0L), FieldStatus::Opened);
    const auto bytes = test::ReadAll(tree.opts.usersFolder + "RGNDATA.TXT");
    const std::vector<std::string> lines = help::SplitTextLines(bytes);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].rfind("RA Limits: 23h 54m 00.00s to 00h 06m 00.00s", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind("Dec Limits: +03", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2], "Number of Regions: 2");
    EXPECT_EQ(lines[3], "282");
    EXPECT_EQ(lines[4], "285");
    EXPECT_EQ(lines[5], "Galaxy NGC 7");
}

// ---- Quasars and galaxies merged with the stars.

class MergeTest : public StarFieldTest {
protected:
    void SetUp() override {
        StarFieldTest::SetUp();
        tree.stars(test::RegionEast, {MakeInstrumentStar("00001", 0.02, 3.5, 17.0, 0.5, 0.1, 0, 0),
                                      MakeInstrumentStar("00002", 0.08, 3.5, 15.0, 0.5, 0.1, 0, 0)});
    }
    std::vector<std::string> Query(const std::vector<QuasarRecord>& quasars) {
        tree.quasars(quasars);
        SkyCatalogs sky(tree.services, tree.opts);
        EXPECT_EQ(sky.OpenField(FieldKind::Instrument, across, 2452379.0L), FieldStatus::Opened);
        std::vector<std::string> out;
        sky.instrument.objects.Reset();
        while (const FieldObject* o = sky.instrument.objects.Next())
            out.push_back(o->name + (o->kind == KindQuasar ? "/q" : ""));
        return out;
    }
};

TEST_F(MergeTest, QuasarReplacesAStarWithinThirtyArcseconds) {
    const double arcsec = 1.0 / 3600;
    struct Row {
        const char* why;
        double offsetArcsec;
        Single V;
        std::vector<std::string> objects;
    } rows[] = {
        {"29.9 arcseconds", 29.9, 17.3f, {"00282-00001", "Q1/q", "00285-00002"}},
        {"30 arcseconds", 30.0, 17.3f, {"00282-00001", "Q1/q", "00285-00002"}},
        {"31 arcseconds: both stay, the quasar after the star", 31.0, 17.3f,
         {"00282-00001", "00285-00001", "Q1/q", "00285-00002"}},
        {"near but a magnitude apart", 10.0, 18.1f, {"00282-00001", "00285-00001", "Q1/q", "00285-00002"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        EXPECT_EQ(Query({Quasar("Q1", 0.02, 3.5 + r.offsetArcsec * arcsec, r.V, 1.5f)}), r.objects);
    }
}

TEST_F(MergeTest, QuasarsOnBothSidesOfZeroAreRead) {
    // The box runs from 23.9h to 0.1h: the file's last quasar lies above MinRA.
    // Q5 lies past MaxRA, where a reader that did not go on would stop.
    EXPECT_EQ(Query({Quasar("Q1", 0.05, 3.5, 18.0f, 1.0f), Quasar("Q5", 1.0, 3.5, 18.0f, 1.0f),
                     Quasar("Q2", 23.97, 3.5, 18.0f, 2.0f)}),
              (std::vector<std::string>{"00282-00001", "00285-00001", "Q1/q", "00285-00002", "Q2/q"}));
}

TEST_F(MergeTest, QuasarRecordBecomesAFieldObject) {
    tree.quasars({Quasar("3C 273-like", 0.05, 3.6, 16.5f, 0.158f)});
    SkyCatalogs sky(tree.services, tree.opts);
    ASSERT_EQ(sky.OpenField(FieldKind::Instrument, across, 2452379.0L), FieldStatus::Opened);
    ASSERT_EQ(sky.instrument.quasars.Count(), 1);
    const FieldObject& q = *sky.instrument.quasars.ItemAt(0);
    EXPECT_EQ(q.name, "3C 273-like");
    EXPECT_EQ(q.kind, KindQuasar);
    EXPECT_EQ(q.spType, 99);
    EXPECT_FLOAT_EQ(q.Z, 0.158f);
    EXPECT_TRUE(q.bvAssigned);
    EXPECT_FALSE(q.ubAssigned);
    EXPECT_FALSE(q.classAssigned);
}

TEST_F(MergeTest, GalaxyTidyUp) {
    const double arcsec = 1.0 / 3600;
    tree.stars(test::RegionEast, {MakeInstrumentStar("00001", 0.02, 3.5, 13.0, 0.5, 0.1, 0, 0)});
    tree.quasars({Quasar("QA", 0.04, 3.5, 16.0f, 1.0f), Quasar("QB", 0.06, 3.5, 16.0f, 1.0f)});
    tree.galaxies({test::Galaxy("1", 0.02, 3.5 + 10 * arcsec, 13.2f),    // its catalog star goes
                   test::Galaxy("2", 0.04, 3.5 + 5 * arcsec, 16.4f),     // the quasar there replaces it
                   test::Galaxy("3", 0.06, 3.5, 18.0f),                  // two magnitudes apart: both stay
                   test::Galaxy("4", 0.08, 3.5 + 40 * arcsec, 12.0f)});  // nothing within 30 arcseconds
    SkyCatalogs sky(tree.services, tree.opts);
    ASSERT_EQ(sky.OpenField(FieldKind::Instrument, across, 2452379.0L), FieldStatus::Opened);
    EXPECT_EQ(Names(sky.instrument.objects), (std::vector<std::string>{"00282-00001", "QA", "QB"}));
    std::vector<std::string> galaxies;
    sky.instrument.galaxies.Reset();
    while (const GalaxyEntry* g = sky.instrument.galaxies.Next()) galaxies.push_back(g->name);
    EXPECT_EQ(galaxies, (std::vector<std::string>{"NGC 1", "NGC 3", "NGC 4"}));
}

// ---- Points of the view.

class FakeInstrument final : public InstrumentAcceptance {
public:
    Extended value = 0;
    int objectCalls = 0, galaxyCalls = 0;
    Extended ObjectValue(const FieldObject&) override {
        ++objectCalls;
        return value;
    }
    Extended GalaxyValue(const GalaxyEntry&) override {
        ++galaxyCalls;
        return 1;
    }
};

TEST(FieldPoints, ObjectAtPointWeighsTheGalaxyRadius) {
    test::FakePlatform fakes;
    auto services = fakes.services();
    app::OptsRec opts;
    GSCRgnsTblObj table(services, opts);
    GSCFieldObj field(services, opts, table);
    FieldObject star;
    star.name = "star";
    star.x = 100;
    star.y = 100;
    field.objects.InsertFirst(star);
    GalaxyEntry galaxy;
    galaxy.name = "NGC 1";
    galaxy.x = 110;
    galaxy.y = 100;
    galaxy.major = 2.0f;  // at 600 pixels per degree a radius of 10 pixels
    field.galaxies.InsertSorted(galaxy);

    using W = PointResult::What;
    struct Row {
        const char* why;
        double x;
        Extended instrumentValue;
        W what;
    } rows[] = {
        {"on the star", 100, 0, W::Object},
        {"star nearer, inside the galaxy, instrument sees no star light", 104, 0, W::Galaxy},
        {"star nearer, inside the galaxy, instrument sees the star", 104, 0.5, W::Object},
        {"galaxy nearer and inside its radius", 112, 0, W::Galaxy},
        {"galaxy nearer but outside its radius", 125, 0, W::None},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        FakeInstrument instrument;
        instrument.value = r.instrumentValue;
        EXPECT_EQ(field.ObjectAtPoint(r.x, 100, 600, &instrument).what, r.what);
    }
    // A galaxy without a size has a radius of at least 3 pixels (0.5' here is 2.5).
    field.galaxies.ItemAt(0)->major = 0;
    EXPECT_EQ(field.ObjectAtPoint(112.9, 100, 600, nullptr).what, W::Galaxy);
    EXPECT_EQ(field.ObjectAtPoint(113.1, 100, 600, nullptr).what, W::None);
    field.objects.RemoveAll();
    field.galaxies.RemoveAll();
    EXPECT_EQ(field.ObjectAtPoint(100, 100, 600, nullptr).what, W::None);
}

TEST(FieldPoints, NearestAndObjectsNear) {
    test::FakePlatform fakes;
    auto services = fakes.services();
    app::OptsRec opts;
    GSCRgnsTblObj table(services, opts);
    GSCFieldObj field(services, opts, table);
    auto add = [&](const char* name, double dDec, Single V, std::uint8_t kind) {
        FieldObject o;
        o.name = name;
        o.ra = 6.0;
        o.dec = 20.0 + dDec;
        o.V = V;
        o.kind = kind;
        field.objects.GoLast();
        field.objects.InsertAfterCurrent(o);
        if (kind == KindQuasar) field.quasars.InsertFirst(o);
    };
    add("near", 0.005, 12.0f, KindStar);
    add("far", 0.010, 12.0f, KindStar);
    add("quasar", -0.002, 17.0f, KindQuasar);
    add("outside", 0.040, 12.0f, KindStar);

    FieldObjectList near = field.ObjectsNear(20.0, 6.0, 0.005);
    EXPECT_EQ(Names(near), (std::vector<std::string>{"near", "quasar"})) << "the quasar once only";

    FieldObject* n = field.NearestToPoint(0, 20.0, 6.0);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->name, "quasar");
    EXPECT_EQ(field.lastNearestIndex, 2);
    EXPECT_NEAR(field.lastNearestDistance, 0.002, 1e-12);
    // With a magnitude only objects within 1 of it count.
    EXPECT_EQ(field.NearestToPoint(12.5f, 20.0, 6.0)->name, "near");
    // Nothing within 2 arcminutes.
    EXPECT_EQ(field.NearestToPoint(0, 21.0, 6.0), nullptr);
    EXPECT_EQ(field.lastNearestIndex, -1);

    field.objects.ItemAt(1)->x = 50;
    EXPECT_EQ(field.NearestObject(48, 0, false).index, 1);
    EXPECT_EQ(field.NearestObject(48, 0, true).index, 2) << "skipping stars";
    EXPECT_EQ(field.NearestObject(500, 500, false).index, -1);
}

// ---- Writing a star back.

// The standard file system, with chosen files reported read-only (the tests
// may run with rights that ignore the file mode).
class ReadOnlyFiles final : public test::ForwardingFileSystem {
public:
    std::set<std::string> readOnly;
    bool isReadOnly(const std::string& p) override { return readOnly.count(p) > 0 || real.isReadOnly(p); }
};

class UpdateStarTest : public testing::Test {
protected:
    void SetUp() override {
        tree.services.files = &files;
        tree.opts.editMode = true;
        std::vector<InstrumentStarRecord> stars;
        for (int i = 1; i <= 7; ++i)
            stars.push_back(MakeInstrumentStar("000" + std::to_string(i) + "0", 0.01 * i, 3.5, 12.0, 0.5, 0.1,
                                               ParseSpType("G0V"), StarBVAssigned | StarLuminosityAssigned, 3));
        tree.stars(test::RegionEast, stars);
        path = tree.opts.instrumentCatalogFolder + "GSC/N0000/0285.BIN";
        before = test::ReadAll(path);
    }
    FieldObject Star(const std::string& name) {
        FieldObject o;
        o.name = name;
        o.V = 11.234f;
        o.BV = NoMagnitude;  // no value: never written back
        o.UB = 0.456f;
        o.ubAssigned = true;
        o.Z = 12.6f;
        o.spType = ParseSpType("K0III");
        o.classAssigned = true;
        o.luminosityAssigned = false;
        return o;
    }
    ReadOnlyFiles files;
    CatalogTree tree;
    std::string path;
    Bytes before;
};

TEST_F(UpdateStarTest, FindsTheRecordByBisectionAndRewritesOnlyIt) {
    for (int i = 1; i <= 7; ++i) {
        SCOPED_TRACE(i);
        GSCRgnsTblObj table(tree.services, tree.opts);
        GSCFieldObj field(tree.services, tree.opts, table);
        tree.stars(test::RegionEast, DecodeInstrumentStars(before));
        tree.fakes.dialogs.clear();
        const std::string name = "00285-000" + std::to_string(i) + "0";
        ASSERT_TRUE(field.UpdateStar(Star(name)));
        const Bytes after = test::ReadAll(path);
        ASSERT_EQ(after.size(), before.size());
        const std::size_t at = static_cast<std::size_t>(i - 1) * InstrumentStarSize;
        for (std::size_t b = 0; b < after.size(); ++b) {
            if (b < at || b >= at + InstrumentStarSize) {
                ASSERT_EQ(after[b], before[b]) << "byte " << b;
            }
        }
        const InstrumentStarRecord r = DecodeInstrumentStars(after)[static_cast<std::size_t>(i - 1)];
        EXPECT_EQ(r.V, 11234);
        EXPECT_EQ(r.BV, 500);   // unchanged
        EXPECT_EQ(r.UB, 456);
        EXPECT_EQ(r.spare, 13);
        EXPECT_EQ(r.spType, ParseSpType("K0III"));
        EXPECT_EQ(r.flags, StarClassAssigned | StarBVAssigned | StarUBAssigned);
        EXPECT_EQ(tree.fakes.dialogs.shown(), (std::vector<std::string>{"Update Successful|Object " + name + " Updated"}));
    }
}

TEST_F(UpdateStarTest, ReportsWhatStopsTheUpdate) {
    GSCRgnsTblObj table(tree.services, tree.opts);
    GSCFieldObj field(tree.services, tree.opts, table);
    EXPECT_FALSE(field.UpdateStar(Star("00285-00055")));
    EXPECT_EQ(tree.fakes.dialogs.shown().back(),
              "Update Unsuccessful!|Unable to locate object 00285-00055 in file\r\n" + path);
    files.readOnly.insert(path);
    EXPECT_FALSE(field.UpdateStar(Star("00285-00050")));
    EXPECT_EQ(tree.fakes.dialogs.shown().back(),
              "Star Catalog File Error!|Unable to Open Star Catalog File for Update!\r\n\r\nFile Name: " + path +
                  "\r\nFile is Read Only!");
    files.readOnly.clear();
    EXPECT_FALSE(field.UpdateStar(Star("00282-00010")));
    EXPECT_EQ(tree.fakes.dialogs.shown().back(),
              "Star Catalog File Error!|Unable to Open Star Catalog File for Update!\r\n\r\nFile Name: " +
                  tree.opts.instrumentCatalogFolder + "GSC/N0000/0282.BIN\r\nFile Not Found!");
    EXPECT_EQ(test::ReadAll(path), before);
    // Silent, or outside Edit Mode, a success says nothing.
    tree.fakes.dialogs.clear();
    EXPECT_TRUE(field.UpdateStar(Star("00285-00030"), true));
    EXPECT_TRUE(tree.fakes.dialogs.messages.empty());
}

}  // namespace
}  // namespace qnr
