// The observable asteroid list, its reports, and the asteroids of a field.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/Coords.h"
#include "astro/DateTime.h"
#include "astro/Orbit_Pr.h"
#include "astro/StringUt.h"
#include "astro/Sun.h"
#include "catalogs/AstFlDlg.h"
#include "catalogs/CatalogFixture.h"
#include "catalogs/OrbRpt.h"
#include "catalogs/SkyCatalogs.h"

namespace qnr {
namespace {

using test::CatalogTree;

// The exercise's first date, 2002-04-14 12:00 UT, with the site's zone 0.
const double FirstDay = static_cast<double>(EncodeDate(2002, 4, 14)) + 0.5;
const Extended FirstJD = 2452379.0L;
constexpr double Arcsec = 1.0 / 3600;

Vector3 UnitEcliptic(double raHours, double decDeg) {
    const Extended a = raHours * 15 * DegToRad, d = decDeg * DegToRad, e = 23.43929111L * DegToRad;
    const Extended x = std::cos(d) * std::cos(a), y = std::cos(d) * std::sin(a), z = std::sin(d);
    return {x, y * std::cos(e) + z * std::sin(e), -y * std::sin(e) + z * std::cos(e)};
}

// A body seen from the Earth at (ra, dec), J2000.0, delta AU away on jd, on
// a circular orbit about the Sun.
OrbitRecord BodyAt(const std::string& name, double ra, double dec, double delta, Extended H, Extended jd = FirstJD) {
    OrbitRecord r;
    r.name = name;
    r.epoch = jd;
    const Vector3 earth = EarthVector(Sun{}, jd);
    r.position = VecAdd(earth, VecScale(UnitEcliptic(ra, dec), delta * KmPerAU));
    const Vector3 along = VecCross({0, 0, 1}, r.position);
    const Extended speed = std::sqrt(GMSun / VecLength(r.position));
    r.velocity = VecScale(along, speed / VecLength(along));
    r.magnitudeType = MagnitudeAsteroid;
    r.H = H;
    r.G = 0.15L;
    r.kind = KindMean;
    r.frame = FrameEcliptic;
    r.equinoxCode = EpochJ2000;
    r.equinoxJD = JD_J2000;
    return r;
}

// The same place reached on an orbit of eccentricity e from a state 30 days
// earlier, so that the list has to solve Kepler's equation to get there.
OrbitRecord PropagatedBodyAt(const std::string& name, double ra, double dec, double delta, Extended speedFactor) {
    OrbitRecord r = BodyAt(name, ra, dec, delta, 8);
    r.velocity = VecScale(r.velocity, speedFactor);
    StateVector now = StateOf(r);
    const Orbit orbit = MakeOrbit(ElementsFromState(now, GMSun), GMSun);
    const std::optional<StateVector> then = StateAt(orbit, FirstJD - 30);
    r.epoch = FirstJD - 30;
    r.position = then->position;
    r.velocity = then->velocity;
    return r;
}

Extended HGMagnitude(const OrbitRecord& r, Extended jd) {
    const Vector3 earth = EarthVector(Sun{}, jd);
    const Extended rr = VecLength(r.position) / KmPerAU, R = VecLength(earth) / KmPerAU;
    const Extended d = VecLength(VecAdd(r.position, VecNegate(earth))) / KmPerAU;
    const Extended alpha = std::acos((rr * rr + d * d - R * R) / (2 * rr * d));
    const Extended t = std::tan(alpha / 2);
    const Extended phi1 = std::exp(-3.33L * std::pow(t, 0.63L)), phi2 = std::exp(-1.87L * std::pow(t, 1.22L));
    return r.H + 5 * std::log10(rr * d) - 2.5L * std::log10((1 - r.G) * phi1 + r.G * phi2);
}

// Magnitude minus H for a body at a place: for choosing H near the limit.
Extended MagnitudeOffset(const OrbitRecord& r) {
    SolarBody body = MakeSolarBody(StateOf(r), KindAstrometric, MagnitudeOf(r), nullptr);
    return Magnitude(body, FirstJD) - r.H;
}

// J2000.0 to the equator of date, for comparing with the list's places.
std::pair<double, double> OfDate(double ra, double dec, Extended jd) {
    SkyPosition p;
    SetEquatorial(p, KindMean, EpochJ2000, JD_J2000);
    p.first = ra * 15 * DegToRad;
    p.second = dec * DegToRad;
    PrecessEquatorial(p, EpochOfDate, jd);
    return {static_cast<double>(NormalizeHours(p.first * 12 / Pi)), static_cast<double>(p.second * RadToDeg)};
}

double Separation(double ra1, double dec1, double ra2, double dec2) {
    double dRA = std::fabs(ra1 - ra2);
    if (dRA > 12) dRA = 24 - dRA;
    const double a = dRA * 15 * std::cos(dec1 * 3.14159265358979323846 / 180);
    return std::hypot(a, dec1 - dec2);
}

std::vector<std::string> EntryNames(ObservableAsteroids& list) {
    std::vector<std::string> out;
    list.Reset();
    while (const OrbitListEntry* e = list.Next()) out.push_back(AsteroidName(e->record));
    list.Reset();
    return out;
}

TEST(OppositionWindow, AcrossZeroAndForTheFirstDate) {
    const OppositionWindow across{23.5, 1.5};
    EXPECT_TRUE(across.Contains(0.2));
    EXPECT_TRUE(across.Contains(23.6));
    EXPECT_FALSE(across.Contains(1.6));
    EXPECT_FALSE(across.Contains(12.0));
    const OppositionWindow w = OppositionWindowAt(FirstJD);
    // The Sun stands at about 1h31m on 2002-04-14 (almanac); 0.05 h covers
    // the day's motion and the rounding of that figure.
    EXPECT_NEAR(w.low, 12.52, 0.05);
    EXPECT_NEAR(w.high, 14.52, 0.05);
}

class OrbitListTest : public testing::Test {
protected:
    void SetUp() override {
        const OppositionWindow w = OppositionWindowAt(FirstJD);
        opposition = (w.low + w.high) / 2;
    }
    CatalogTree tree;
    double opposition = 0;
};

TEST_F(OrbitListTest, KeepsNearEarthAsteroidsAndThoseNearOpposition) {
    OrbitRecord circular = BodyAt("Circular", opposition + 0.2, -8.0, 1.5, 10);
    circular.number = "1001";
    OrbitRecord nearEarth = BodyAt("Near Earth", 6.0, 20.0, 0.2, 15);
    nearEarth.notes[NoteGroup] = 3;  // Apollo
    OrbitRecord faint = BodyAt("Faint", opposition - 0.1, -9.0, 1.5, 15);
    OrbitRecord elsewhere = BodyAt("Elsewhere", 6.0, 20.0, 1.5, 8);
    elsewhere.notes[NoteGroup] = 16;  // a cubewano is no near-Earth asteroid
    OrbitRecord parabolic = PropagatedBodyAt("Near Parabolic", opposition - 0.3, -7.0, 1.5, std::sqrt(2.0L) * 0.9975L);
    parabolic.magnitudeType = MagnitudeComet;
    parabolic.G = 10;
    // Just inside and just outside the limit: the computed magnitude is exact
    // to far better than the 0.001 and 0.01 margins.
    OrbitRecord limit = BodyAt("At Limit", opposition + 0.4, -8.0, 1.5, 10);
    const Extended offset = MagnitudeOffset(limit);
    limit.H = 15.999L - offset;
    OrbitRecord over = BodyAt("Over Limit", opposition + 0.5, -8.0, 1.5, 10);
    over.H = 16.01L - MagnitudeOffset(over);
    tree.orbits({circular, nearEarth, faint, elsewhere, parabolic, limit, over});

    TOrbitList list(tree.services, tree.opts);
    ASSERT_TRUE(list.ComputeList(FirstDay));
    EXPECT_TRUE(tree.fakes.dialogs.messages.empty());
    EXPECT_EQ(list.date.JulianDate(), FirstJD);
    EXPECT_EQ(list.nearEarthCount, 1);
    EXPECT_EQ(list.oppositionCount, 3);
    // In RA order.
    EXPECT_EQ(EntryNames(list.observable),
              (std::vector<std::string>{"Near Earth", "Near Parabolic", "(1001) Circular", "At Limit"}));

    // Places of date: the J2000.0 target precessed; tolerance 30 arcseconds for
    // the light time (the body is placed at jd, the astrometric place is of
    // jd minus about 12 minutes, under 15 arcseconds of motion).
    const OrbitListEntry& c = *list.observable.ItemAt(2);
    const auto [ra, dec] = OfDate(opposition + 0.2, -8.0, FirstJD);
    EXPECT_LT(Separation(c.ra, c.dec, ra, dec), 30 * Arcsec);
    EXPECT_NEAR(c.delta, 1.5, 1e-4);
    EXPECT_NEAR(c.magnitude, HGMagnitude(circular, FirstJD), 0.01);

    const OrbitListEntry& p = *list.observable.ItemAt(1);
    const auto [pra, pdec] = OfDate(opposition - 0.3, -7.0, FirstJD);
    EXPECT_LT(Separation(p.ra, p.dec, pra, pdec), 30 * Arcsec) << "the near-parabolic orbit comes back to its place";

    const auto target = list.FormatForHotList(2);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->name, "(1001) Circular");
    EXPECT_EQ(target->ra, c.ra);
    EXPECT_EQ(target->kind, 0);
    EXPECT_FALSE(list.FormatForHotList(4));
}

TEST_F(OrbitListTest, AstNotesCountOnlyPureCrossingFlagsAsNearEarth) {
    tree.opts.orbitFile = tree.opts.programFolder + "ORBIT/QNRA_AST.CMO";
    OrbitRecord amorMars = BodyAt("Amor and Mars", opposition, -8.0, 1.0, 12);
    amorMars.notes[NoteCrossing] = 12;
    OrbitRecord amorFar = BodyAt("Amor Far", 6.0, 20.0, 1.0, 12);
    amorFar.notes[NoteCrossing] = 12;
    OrbitRecord apollo = BodyAt("Apollo", 6.0, 20.0, 1.0, 12);
    apollo.notes[NoteCrossing] = 2;
    tree.orbits({amorMars, amorFar, apollo});
    TOrbitList list(tree.services, tree.opts);
    ASSERT_TRUE(list.ComputeList(FirstDay));
    EXPECT_EQ(list.fileType(), OrbitNotesAST);
    EXPECT_EQ(list.nearEarthCount, 1);
    EXPECT_EQ(list.oppositionCount, 1);
    EXPECT_EQ(EntryNames(list.observable), (std::vector<std::string>{"Apollo", "Amor and Mars"}));
}

TEST_F(OrbitListTest, OtherFileNamesGiveNoListAndAMissingFileItsMessage) {
    tree.opts.orbitFile = tree.opts.programFolder + "ORBIT/QNRA_ORB.CMO";
    tree.orbits({BodyAt("Anything", opposition, -8, 1.5, 10)});
    TOrbitList list(tree.services, tree.opts);
    EXPECT_FALSE(list.ComputeList(FirstDay));
    EXPECT_TRUE(list.observable.IsEmpty());
    EXPECT_TRUE(tree.fakes.dialogs.messages.empty());

    tree.opts.orbitFile = tree.opts.programFolder + "ORBIT/QNRA_MPC.CMO";
    EXPECT_FALSE(list.ComputeList(FirstDay));
    EXPECT_EQ(tree.fakes.dialogs.shown(),
              (std::vector<std::string>{"File Error|Unable to Open Orbital Elements File.\r\nFilename: " +
                                        tree.opts.orbitFile + "\r\n\r\nFile Not Found!"}));
}

TEST_F(OrbitListTest, ReportLines) {
    OrbitRecord circular = BodyAt("Circular", opposition + 0.2, -8.0, 1.5, 10);
    circular.number = "1001";
    circular.notes[NoteGroup] = 3;
    circular.notes[NoteComputation] = 64;
    circular.notes[NoteCritical] = 128;
    circular.notes[NoteImportance] = 5;
    tree.orbits({circular});
    tree.opts.zoneName = "Mountain Standard Time";
    TOrbitList list(tree.services, tree.opts);
    ASSERT_TRUE(list.ComputeList(FirstDay));
    const ReportText r = list.Report();
    EXPECT_EQ(r.caption, "Current Observable Asteroids");
    EXPECT_EQ(r.reportName, "Observable Asteroids");
    const std::vector<std::string> head = {
        std::string(80, ' '),
        "Observation Date: Sunday April 14, 2002",
        "Local Time: 12:00:00 Mountain Standard Time",
        "Julian Date: 2452379.000000",
        "Limiting Magnitude: m <= 16.00",
        std::string(80, ' '),
        "Near-Earth Asteroids (Aten, Apollo & Amor Groups): 1",
        "Asteriods Near Opposition: 0",
        "Total Observable Asteroids: 1",
        std::string(80, ' '),
        "Double-Click Entry for Orbital Elements, Notes",
        std::string(80, ' '),
        "                         Right Ascn.  Declination  App.  Distance  Notes(*)",
        "Object Name              Hr Mn Sec     \xB0  '  \"     Mag     (AU)    (1) (2) (3) (4)",
    };
    ASSERT_GT(r.lines.size(), head.size());
    EXPECT_EQ(std::vector<std::string>(r.lines.begin(), r.lines.begin() + 14), head);
    EXPECT_EQ(r.firstEntryLine, 14);
    EXPECT_EQ(r.lastEntryLine, 14);
    EXPECT_EQ(r.EntryOfLine(14), 0);
    EXPECT_FALSE(r.EntryOfLine(13));
    EXPECT_FALSE(r.EntryOfLine(15));
    const std::string& entry = r.lines[14];
    EXPECT_EQ(entry.substr(0, 25), "(1001) Circular          ");
    EXPECT_EQ(entry.substr(67), "  3| 64|128|  5");
    EXPECT_EQ(r.lines[15], std::string(80, ' '));
    EXPECT_EQ(r.lines[16], "*Notes:");
    EXPECT_EQ(r.lines[18], "   (1) Orbit Group/Zone");
    EXPECT_EQ(r.lines.back(), "       10: Highest Orbit Uncertainty");
    // Three groups end with a blank line, the last does not.
    EXPECT_EQ(std::count(r.lines.begin() + 18, r.lines.end(), std::string(80, ' ')), 3);
}

TEST(OrbitReport, EntryLineColumns) {
    OrbitListEntry e;
    e.record.name = "Eros";
    e.record.number = "433";
    e.ra = 1.5;
    e.dec = -5.25;
    e.magnitude = 9.8f;
    e.delta = 1.23456f;
    e.record.notes[NoteGroup] = 4;
    e.record.notes[NoteComputation] = 2;
    EXPECT_EQ(AsteroidReportLine(e, OrbitNotesMPC),
              "(433) Eros               01 30 00.00  -05 15 00.0  09.8   1.23456    4|  2|   |   ");
    e.record.notes[NoteCrossing] = 12;
    e.record.notes[NoteCriticalList] = 7;
    e.record.notes[NoteImportance] = 10;
    e.magnitude = 0;  // no magnitude: its columns stay blank
    e.delta = 12.5f;
    EXPECT_EQ(AsteroidReportLine(e, OrbitNotesAST),
              "(433) Eros               01 30 00.00  -05 15 00.0        12.50000   12|  2|  7| 10");
    // Mended: a long name is cut before the RA column instead of showing
    // through between the columns.
    e.record.name = "A Very Long Asteroid Name Here";
    EXPECT_EQ(AsteroidReportLine(e, OrbitNotesAST).substr(0, 26), "(433) A Very Long Astero 0");
}

TEST_F(OrbitListTest, ElementsReport) {
    OrbitRecord circular = BodyAt("Circular", opposition + 0.2, -8.0, 1.5, 10.5L);
    circular.number = "1001";
    circular.notes[NoteGroup] = 3;
    circular.notes[NoteComputation] = 64;
    circular.notes[NoteCritical] = 128 + 32;
    circular.notes[NoteImportance] = 5;
    tree.orbits({circular});
    TOrbitList list(tree.services, tree.opts);
    ASSERT_TRUE(list.ComputeList(FirstDay));
    const auto r = list.Elements(0);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->caption, "Osculating Orbital Elements");
    EXPECT_EQ(r->reportName, "(1001) Circular");
    const auto& L = r->lines;
    ASSERT_EQ(L.size(), 9u + 7u);
    EXPECT_EQ(L[0], std::string(65, ' '));
    EXPECT_EQ(L[1], "Body: (1001) Circular");
    EXPECT_EQ(L[3], "Reference: J2000.0    Epoch: 2002/04/14.5 TDT  (2452379.0)");
    const Extended a = VecLength(circular.position) / KmPerAU;
    EXPECT_EQ(L[4].rfind("a: " + TrimFixedStr(a, 7) + " AU", 0), 0u) << L[4];
    EXPECT_EQ(L[4].substr(44), "e: 0.0");
    EXPECT_EQ(L[8], "H: 10.50              G: 0.15");
    const std::vector<std::string> notes = {"",
                                            "*** Orbit Notes ***",
                                            "Apollo Group Asteroid (a > 1.0 AU; 0 < q < 1.0).",
                                            "1-opposition object seen at earlier opposition.",
                                            "Potentially Hazardous Asteroid (PHA)!",
                                            "H is unknown.  H = 14 assumed.",
                                            "Orbital Uncertainty Parameter (U) = 5"};
    EXPECT_EQ(std::vector<std::string>(L.begin() + 9, L.end()), notes);
    EXPECT_FALSE(list.Elements(1));
}

TEST(OrbitReport, AstNotesOfTheElementsReport) {
    OrbitRecord r = BodyAt("Body", 3.0, 0.0, 1.0, 12);
    r.notes[NoteCrossing] = 12;
    r.notes[NoteComputation] = 1 + 128;
    r.notes[NoteCriticalList] = 2;
    r.notes[NoteImportance] = 4;
    const auto L = ElementsLines(r, OrbitNotesAST);
    const std::vector<std::string> expected = {"*** Orbit Notes ***",
                                               "Amor Group Asteroid (a > 1.0167 AU; 1.0167 < q < 1.3).",
                                               "Crosses Mars Orbit (1.3 < q < 1.6660 AU).",
                                               "Orbit derived from uncertainly (erroneously?) linked observations.",
                                               "Asteroid sought, but not found.",
                                               "MPC Critical List - Observed at Only Two Apparitions!",
                                               "Importance of Additional/Frequent Observations: 4"};
    ASSERT_GE(L.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(L.end() - static_cast<std::ptrdiff_t>(expected.size()), L.end()), expected);
    r.notes = {};
    EXPECT_EQ(ElementsLines(r, OrbitNotesAST).back().rfind("H: ", 0), 0u) << "no notes section without notes";
}

// ---- Asteroids in a field.

class AsteroidFieldTest : public OrbitListTest {
protected:
    void SetUp() override {
        OrbitListTest::SetUp();
        // An exercise region around the opposition point holding one star.
        tree.region(4966, {opposition - 0.5, opposition + 0.5, -15.0, 0.0});
        tree.writeTable();
        tree.stars(4966, {MakeInstrumentStar("00001", opposition, -8.1, 12.0, 0.5, 0.1, 0, 0)});
        tree.emptyExtras();
        OrbitRecord a = BodyAt("Alpha", opposition + 0.01, -8.0, 1.5, 10);
        a.number = "77";
        tree.orbits({a, BodyAt("Beta", opposition - 0.01, -8.05, 1.2, 11)});
        limits = MakeFieldLimits(opposition, -8.0, 0.375, InstrumentLimitMag);
    }
    std::vector<const FieldObject*> Asteroids(GSCFieldObj& f) {
        std::vector<const FieldObject*> out;
        f.objects.Reset();
        while (const FieldObject* o = f.objects.Next())
            if (o->kind == KindAsteroid) out.push_back(o);
        f.objects.Reset();
        return out;
    }
    FieldLimits limits;
};

TEST_F(AsteroidFieldTest, AsteroidsSitAtTheirCatalogFramePlaces) {
    SkyCatalogs sky(tree.services, tree.opts);
    EXPECT_EQ(sky.OpenField(FieldKind::Instrument, limits, FirstJD), FieldStatus::Opened);
    EXPECT_TRUE(Asteroids(sky.instrument).empty()) << "no date set yet, no asteroid list";

    ASSERT_TRUE(sky.SetObservationDate(FirstDay));
    ASSERT_EQ(sky.OpenField(FieldKind::Instrument, limits, FirstJD), FieldStatus::Opened);
    EXPECT_TRUE(sky.asteroids()->inFieldComputed);
    const auto found = Asteroids(sky.instrument);
    ASSERT_EQ(found.size(), 2u);
    // In the list's RA order: Beta lies west of Alpha.
    EXPECT_EQ(found[0]->name, "Beta");
    const FieldObject& alpha = *found[1];
    EXPECT_EQ(alpha.name, "(77) Alpha");
    // Mended: placed in the J2000.0 frame of the stars. Tolerance as for the
    // list: 30 arcseconds for the light time.
    EXPECT_LT(Separation(alpha.ra, alpha.dec, opposition + 0.01, -8.0), 30 * Arcsec);
    EXPECT_FLOAT_EQ(alpha.BV, 0.65f);
    EXPECT_FLOAT_EQ(alpha.UB, 0.195f);
    EXPECT_TRUE(alpha.bvAssigned && alpha.ubAssigned);
    EXPECT_FALSE(alpha.classAssigned || alpha.luminosityAssigned);
    EXPECT_EQ(alpha.spType, ParseSpType("G2V"));
    EXPECT_NEAR(alpha.V, HGMagnitude(BodyAt("Alpha", opposition + 0.01, -8.0, 1.5, 10), FirstJD), 0.01);
}

TEST_F(AsteroidFieldTest, TrailPairsReplaceThePreviousAsteroids) {
    SkyCatalogs sky(tree.services, tree.opts);
    ASSERT_TRUE(sky.SetObservationDate(FirstDay));
    ASSERT_EQ(sky.OpenField(FieldKind::Instrument, limits, FirstJD), FieldStatus::Opened);
    const int stars = sky.instrument.objects.Count() - 2;
    sky.instrument.AddAsteroids(0.1L, FirstJD);
    const auto found = Asteroids(sky.instrument);
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(sky.instrument.objects.Count(), stars + 4);
    EXPECT_EQ(found[0]->name, "Beta");
    EXPECT_EQ(found[1]->name, "Beta");
    EXPECT_EQ(found[2]->name, "(77) Alpha");
    EXPECT_EQ(found[3]->name, "(77) Alpha");
    // Near opposition the body moves westward, by about 1.5 arcminutes in
    // 0.1 day at 1.5 AU; the check only asks for a visible trail to the west.
    const double moved = Separation(found[0]->ra, found[0]->dec, found[1]->ra, found[1]->dec);
    EXPECT_GT(moved, 10 * Arcsec);
    EXPECT_LT(found[1]->ra, found[0]->ra);
}

TEST_F(AsteroidFieldTest, AnAsteroidInFrontOfAGalaxyStays) {
    SkyCatalogs sky(tree.services, tree.opts);
    ASSERT_TRUE(sky.SetObservationDate(FirstDay));
    ASSERT_EQ(sky.OpenField(FieldKind::Instrument, limits, FirstJD), FieldStatus::Opened);
    const FieldObject alpha = *Asteroids(sky.instrument)[1];
    tree.galaxies({test::Galaxy("99", alpha.ra, alpha.dec + 5 * Arcsec, 13.0f)});
    ASSERT_EQ(sky.OpenField(FieldKind::Instrument, limits, FirstJD), FieldStatus::Opened);
    // Mended: the tidy-up removes catalog stars at a galaxy, not asteroids.
    EXPECT_EQ(Asteroids(sky.instrument).size(), 2u);
    EXPECT_EQ(sky.instrument.galaxies.Count(), 1);
}

// The report window's core: its lines, the elements of a chosen entry and
// an entry handed to the hot list.
struct RecordingHotList final : observatory::HotListEditor {
    std::vector<observatory::ObjctDat> added;
    void Add(const observatory::ObjctDat& e) override { added.push_back(e); }
    bool StartNewList(const std::string&) override { return true; }
};

TEST_F(OrbitListTest, TheReportShowsEntriesElementsAndFeedsTheHotList) {
    OrbitRecord circular = BodyAt("Circular", opposition + 0.2, -8.0, 1.5, 10);
    circular.number = "1001";
    tree.orbits({circular});
    TOrbitList list(tree.services, tree.opts);
    ASSERT_TRUE(list.ComputeList(FirstDay));

    catalogs::OrbitListReport report(tree.services, tree.opts);
    RecordingHotList hot;
    report.SetHotList(&hot);
    std::vector<std::string> elements;
    report.showElements = [&](const ReportText& t) { elements = t.lines; };
    report.Fill(list);
    ASSERT_GE(report.firstEntryLine(), 0);
    EXPECT_EQ(report.lastEntryLine(), report.firstEntryLine());
    EXPECT_EQ(report.lines()[static_cast<std::size_t>(report.firstEntryLine())].rfind("(1001) Circular", 0), 0u);

    report.SelectLine(report.firstEntryLine() - 1);  // a heading: nothing chosen
    EXPECT_FALSE(report.hasSelection());
    report.SelectLine(report.firstEntryLine());
    ASSERT_TRUE(report.hasSelection());
    report.SelectionData();
    ASSERT_FALSE(elements.empty());
    bool body = false;
    for (const auto& l : elements) body = body || l.find("Body: (1001) Circular") != std::string::npos;
    EXPECT_TRUE(body);

    ASSERT_TRUE(report.AddToCurrentHotList());
    ASSERT_EQ(hot.added.size(), 1u);
    EXPECT_EQ(hot.added[0].identifier, "(1001) Circular");
    EXPECT_NEAR(static_cast<double>(hot.added[0].dec), list.observable.ItemAt(0)->dec, 1e-9);
}

}  // namespace
}  // namespace qnr
