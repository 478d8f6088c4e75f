#include "catalogs/AstFlDlg.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "app/Options.h"
#include "astro/Coords.h"
#include "astro/StringUt.h"
#include "astro/Sun.h"
#include "catalogs/RecordCodec.h"
#include "platform/FileSystem.h"
#include "platform/Services.h"

namespace qnr {

namespace {

auto OrbitVisit = [](auto& v, OrbitRecord& r) { VisitOrbitRecord(v, r); };

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return s.substr(b, e - b);
}

// Writes s into line from 1-based column col, lengthening the line if needed.
void Put(std::string& line, std::size_t col, const std::string& s) {
    const std::size_t at = col - 1;
    if (line.size() < at + s.size()) line.resize(at + s.size(), ' ');
    line.replace(at, s.size(), s);
}

// Fields from columns 1, 23 and 45; a longer field pushes the next one on
// rather than being overwritten by it.
std::string Columns(std::initializer_list<std::string> fields) {
    std::string line;
    std::size_t col = 0;
    for (const std::string& f : fields) {
        if (line.size() < col) line.resize(col, ' ');
        line += f;
        col += 22;
    }
    return line;
}

std::string Spaces(std::size_t n) { return std::string(n, ' '); }


// "2004/01/01.5": the UT date and the day fraction to one decimal, cut.
std::string DateWithFraction(Extended jd) {
    const Extended dayNumber = jd - JulianDateOfDayZero;
    Extended whole = std::floor(dayNumber);
    std::string frac = FixedStr(dayNumber - whole, 5);
    if (frac[0] == '1') {  // 0.999995 and above shows as the next day's .0
        whole += 1;
        frac = FixedStr(0, 5);
    }
    frac.erase(0, 1);
    frac.resize(frac.size() - 4);
    const CalendarDate d = DecodeDate(static_cast<double>(whole));
    std::string year = std::to_string(d.year);
    while (year.size() < 4) year = "0" + year;
    return year + "/" + ZeroPadded(d.month, 2) + "/" + ZeroPadded(d.day, 2) + frac;
}

std::string Degrees(Extended radians) { return TrimFixedStr(radians * RadToDeg, 5) + " deg"; }

const char* EquinoxText(std::uint8_t equinoxClass) {
    switch (equinoxClass) {
        case 0: return "B1900.0";
        case 1: return "B1950.0";
        case 2: return "J2000.0";
        case 3: return "J2050.0";
        default: return "True of Date";
    }
}

const char* const AtenText = "Aten Group Asteriod (a < 1.0 AU).";
const char* const ApolloText = "Apollo Group Asteroid (a > 1.0 AU; 0 < q < 1.0).";
const char* const AmorText = "Amor Group Asteroid (a > 1.0167 AU; 1.0167 < q < 1.3).";

struct Bit {
    int value;
    const char* text;
};

const Bit AstCrossing[] = {{1, AtenText}, {2, ApolloText}, {4, AmorText},
                           {8, "Crosses Mars Orbit (1.3 < q < 1.6660 AU)."}, {16, "Crosses Outer-Planet Orbit."}};
const Bit AstComputation[] = {
    {1, "Orbit derived from uncertainly (erroneously?) linked observations."},
    {2, "Eccentricity assumed."},
    {4, "Eccentricity and semi-major axis assumed."},
    {8, "Omitted observations have degraded OQP by more than 0.1."},
    {16, "OQP degrades by more than 0.1 if unsubstantiated observations omitted."},
    {32, "Orbit derived from data containing observations not in MPC files."},
    {64, "H is unknown.  H = 14 assumed."},
    {128, "Asteroid sought, but not found."}};
const char* const AstCriticalList[] = {"Lost Asteroid!", "Observed at Only Two Apparitions!",
                                       "Observed at Only Three Apparitions!", "Last Observed More Than 10 Years Ago!",
                                       "Observed Only 1 Night in Last 10 Years!", "Poorly Observed Asteroid!"};
const Bit MpcGroups[] = {{2, AtenText},
                         {3, ApolloText},
                         {4, AmorText},
                         {8, "Hilda Group Asteroid (3.7 < a < 4.2)."},
                         {9, "Jupiter Trojan (5.05 < a < 5.40)."},
                         {10, "Centaur Object."},
                         {14, "Plutino Object."},
                         {15, "Other Resonant TNO."},
                         {16, "Cubewano Object."},
                         {17, "Scattered Disk Object."}};
const Bit MpcCritical[] = {{32, "1-opposition object seen at earlier opposition."},
                           {64, "MPC Critical List Numbered Asteroid!"},
                           {128, "Potentially Hazardous Asteroid (PHA)!"}};
const Bit MpcComputation[] = {{2, "Eccentricity assumed."}, {64, "H is unknown.  H = 14 assumed."}};

// Legends of the list report: "" ends a group (an 80-space line follows).
const char* const AstLegend[] = {
    "   (1)  Planet-Crossing Asteroids",
    "        1: Aten Group Asteriod (a < 1.0 AU).",
    "        2: Apollo Group Asteroid (a > 1.0 AU; 0 < q < 1.0).",
    "        4: Amor Group Asteroid (a > 1.0167 AU; 1.0167 < q < 1.3).",
    "        8: Crosses Mars Orbit (1.3 < q < 1.6660 AU).",
    "       16: Crosses Outer-Planet Orbit",
    "        n: Crosses Inner- and Outer-Planet Orbit",
    "",
    "   (2)  Orbit Computation Notes",
    "        1: Orbit derived from uncertainly (erroneously?) linked observations.",
    "        2: Eccentricity assumed.",
    "        4: Eccentricity and semi-major axis assumed.",
    "        8: Omitted observations have degraded OQP by more than 0.1.",
    "       16: OQP degrades by more than 0.1 if unsubstantiated observations omitted.",
    "       32: Orbit derived from data containing observations not in MPC files.",
    "       64: H is unknown.  H = 14 assumed.",
    "      128: Asteroid sought, but not found.",
    "        n: Sum of Preceding Entries",
    "",
    "   (3)  MPC Critical-List Numbered Asteroids",
    "        1: Lost Asteroid.",
    "        2: Observed at Only Two Apparitions.",
    "        3: Observed at Only Three Apparitions.",
    "        4: Last Observed More Than 10 Years Ago.",
    "        5: Observed Only 1 Night in Last 10 Years.",
    "        6: Poorly Observed Asteroid.",
    "        7: Absolute Magnitude Poorly Known.",
    "",
    "   (4)  Importance of Additional/Frequent Observations (10=Highest)",
};
const char* const MpcLegend[] = {
    "   (1) Orbit Group/Zone",
    "        2: Aten Group Asteriod (a < 1.0 AU).",
    "        3: Apollo Group Asteroid (a > 1.0 AU; 0 < q < 1.0).",
    "        4: Amor Group Asteroid (a > 1.0167 AU; 1.0167 < q < 1.3).",
    "        8: Hilda Group Asteroid (3.7 < a < 4.2).",
    "        9: Jupiter Trojan (5.05 < a < 5.40).",
    "       10: Centaur Object.",
    "       14: Plutino Object.",
    "       15: Other Resonant TNO.",
    "       16: Cubewano Object.",
    "       17: Scattered Disk Object.",
    "",
    "   (2) Orbit Computation Notes",
    "        2: Eccentricity assumed.",
    "       64: H is unknown.  H = 14 assumed.",
    "",
    "   (3) Critical List",
    "       32: 1-opposition object seen at earlier opposition.",
    "       64: MPC Critical List Numbered Asteroid!",
    "      128: Potentially Hazardous Asteroid (PHA)!",
    "",
    "   (4) Orbital Uncertainty Parameter (U)",
    "        1: Well-Determined Orbit",
    "       10: Highest Orbit Uncertainty",
};

// The four note bytes a report line shows, by file type.
std::array<std::size_t, 4> ReportedNotes(int fileType) {
    if (fileType == OrbitNotesAST) return {NoteCrossing, NoteComputation, NoteCriticalList, NoteImportance};
    return {NoteGroup, NoteComputation, NoteCritical, NoteImportance};
}

}  // namespace

Bytes EncodeOrbitFile(const std::vector<OrbitRecord>& records) { return EncodeRecords(records, OrbitVisit); }

std::vector<OrbitRecord> DecodeOrbitFile(const Bytes& bytes) {
    return DecodeRecords<OrbitRecord>(bytes, OrbitRecordSize, OrbitVisit);
}

std::optional<AsteroidPlace> AsteroidPlaceAt(SolarBody& body, Extended jd) {
    const BodyPlace place = GeocentricPosition(body, jd);
    if (!place.ok) return std::nullopt;
    AsteroidPlace p;
    p.magnitude = Magnitude(body, jd);
    p.distanceAU = place.distance;
    SkyPosition eq;
    EclipticToEquatorial(eq, place.position);
    PrecessEquatorial(eq, EpochJ2000, JD_J2000);
    p.ra = static_cast<double>(NormalizeHours(eq.first * 12 / Pi));
    p.dec = static_cast<double>(eq.second * RadToDeg);
    return p;
}

StateVector StateOf(const OrbitRecord& r) {
    StateVector s;
    s.name = r.name;
    s.time = r.epoch;
    s.position = r.position;
    s.velocity = r.velocity;
    s.centralBody = r.centralBody;
    s.designation = r.number;
    SetPosition(s.header, r.kind, r.frame, r.equinoxCode, r.equinoxJD);
    return s;
}

MagnitudeParameters MagnitudeOf(const OrbitRecord& r) { return {r.magnitudeType, r.H, r.G}; }

std::string AsteroidName(const OrbitRecord& r) {
    const std::string number = Trim(r.number);
    return TrimRight(number.empty() ? r.name : "(" + number + ") " + r.name);
}

int OrbitFileType(const std::string& fileName) {
    std::string upper = fileName;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper.find("QNRA_AST") != std::string::npos) return OrbitNotesAST;
    if (upper.find("QNRA_MPC") != std::string::npos) return OrbitNotesMPC;
    return OrbitNoList;
}

bool IsNearEarth(const OrbitRecord& r, int fileType) {
    if (fileType == OrbitNotesMPC) {
        const int g = r.notes[NoteGroup];
        return g == 2 || g == 3 || g == 4;
    }
    if (fileType == OrbitNotesAST) {
        const int c = r.notes[NoteCrossing];
        return c == 1 || c == 2 || c == 4;
    }
    return false;
}

std::optional<int> ReportText::EntryOfLine(int line) const {
    if (firstEntryLine < 0 || line < firstEntryLine || line > lastEntryLine) return std::nullopt;
    return line - firstEntryLine;
}

bool OppositionWindow::Contains(double ra) const {
    if (low >= high) return ra >= low || ra <= high;
    return low <= ra && ra <= high;
}

OppositionWindow OppositionWindowAt(Extended jd) {
    Sun sun;
    sun.mode = SunApparent;
    SunPlace place = SunPosition(sun, jd);
    place.position.second += Pi;
    SkyPosition eq;
    EclipticToEquatorial(eq, place.position);
    const double alpha0 = static_cast<double>(NormalizeHours(eq.first * 12 / Pi));
    OppositionWindow w;
    w.low = alpha0 - 1;
    if (w.low <= 0) w.low += 24;
    w.high = alpha0 + 1;
    if (w.high >= 24) w.high -= 24;
    return w;
}

TOrbitList::TOrbitList(platform::Services& services, const app::OptsRec& opts) : services_(services), opts_(opts) {}

std::string TOrbitList::OrbitFilePath() const {
    std::string path = opts_.orbitFile;
    if (!path.empty() && path[0] != '/') path = opts_.programFolder + path;
    return services_.files->resolve(path);
}

bool TOrbitList::ComputeList(double d) {
    nearEarthCount = 0;
    oppositionCount = 0;
    inFieldComputed = false;
    inField.RemoveAll();
    observable.RemoveAll();
    fileType_ = OrbitFileType(opts_.orbitFile);
    if (fileType_ == OrbitNoList) return false;

    date.zone = static_cast<Extended>(opts_.zoneHours) / 24;
    date.SetDayNumber(d);
    const Extended jd = date.JulianDate();
    const OppositionWindow window = OppositionWindowAt(jd);

    const std::string path = OrbitFilePath();
    platform::ReadResult file = services_.files->readFile(path, std::size_t{1} << 30);
    if (file.code != 0) {
        services_.dialogs->show("Unable to Open Orbital Elements File.\r\nFilename: " + path + "\r\n" + "\r\n" +
                                    IOErrorText(file.code),
                                "File Error", platform::Icon::Error);
        return false;
    }

    const std::size_t count = file.bytes.size() / OrbitRecordSize;
    for (std::size_t i = 0; i < count; ++i) {
        OrbitListEntry entry;
        entry.record = DecodeOne<OrbitRecord>(file.bytes.data() + i * OrbitRecordSize, OrbitRecordSize, OrbitVisit);
        SolarBody body = MakeSolarBody(StateOf(entry.record), KindAstrometric, MagnitudeOf(entry.record),
                                       services_.dialogs);
        BodyPlace place = GeocentricPosition(body, jd);
        if (!place.ok) continue;  // the solver's message was shown; the body has no place
        const Extended m = Magnitude(body, jd);
        if (!(m <= static_cast<Extended>(selection.limitingMagnitude))) continue;
        SkyPosition eq;
        EclipticToEquatorial(eq, place.position);
        entry.ra = static_cast<double>(NormalizeHours(eq.first * 12 / Pi));
        entry.dec = static_cast<double>(eq.second * RadToDeg);
        entry.magnitude = static_cast<Single>(m);
        entry.delta = static_cast<Single>(place.distance);
        if (IsNearEarth(entry.record, fileType_)) {
            ++nearEarthCount;
        } else if (window.Contains(entry.ra)) {
            ++oppositionCount;
        } else {
            continue;
        }
        observable.InsertSorted(entry);
    }
    observable.Reset();
    return true;
}

void TOrbitList::ComputeInField() {
    inField.RemoveAll();
    const FieldLimits& f = fieldLimits;
    observable.Reset();
    while (OrbitListEntry* e = observable.Next()) {
        if (!InRARange(f, e->ra) || e->dec < f.MinDec || e->dec > f.MaxDec || e->magnitude > f.LimitMag) continue;
        inField.GoLast();
        inField.InsertAfterCurrent(*e);
    }
    observable.Reset();
    inField.Reset();
    inFieldComputed = true;
}

std::string AsteroidReportLine(const OrbitListEntry& e, int fileType) {
    std::string line = Spaces(67);
    // Longer names are cut so that they never run under the coordinates.
    std::string name = AsteroidName(e.record);
    if (name.size() > 24) name.resize(24);
    Put(line, 1, name);
    Put(line, 26, HMSStr(e.ra, 2, false));
    Put(line, 39, DMSStr(e.dec, 1, false));
    if (e.magnitude != 0) {
        std::string m = FixedStr(e.magnitude, 1);
        while (m.size() < 4) m = "0" + m;
        Put(line, 52, m);
    }
    std::string delta = FixedStr(e.delta, 5);
    if (e.delta < 10) delta = " " + delta;
    Put(line, 58, delta);
    const auto notes = ReportedNotes(fileType);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const int v = e.record.notes[notes[i]];
        std::string f = v == 0 ? "   " : std::to_string(v);
        while (f.size() < 3) f = " " + f;
        if (i > 0) line += "|";
        line += f;
    }
    return line;
}

ReportText TOrbitList::Report() {
    ReportText r;
    r.caption = "Current Observable Asteroids";
    r.reportName = "Observable Asteroids";
    auto& L = r.lines;
    const std::string blank = Spaces(80);
    L.push_back(blank);
    L.push_back("Observation Date: " + date.FullDateStr());
    L.push_back("Local Time: " + date.local.TimeStr(0, ":", ":", "") + " " + opts_.zoneName);
    L.push_back("Julian Date: " + date.JulianDateStr(6));
    L.push_back("Limiting Magnitude: m <= " + FixedStr(selection.limitingMagnitude, 2));
    L.push_back(blank);
    L.push_back("Near-Earth Asteroids (Aten, Apollo & Amor Groups): " + std::to_string(nearEarthCount));
    L.push_back("Asteriods Near Opposition: " + std::to_string(oppositionCount));
    L.push_back("Total Observable Asteroids: " + std::to_string(observable.Count()));
    L.push_back(blank);
    L.push_back("Double-Click Entry for Orbital Elements, Notes");
    L.push_back(blank);
    L.push_back("                         Right Ascn.  Declination  App.  Distance  Notes(*)");
    std::string header = "Object Name              Hr Mn Sec     d  '  \"     Mag     (AU)    (1) (2) (3) (4)";
    header[39] = '\xB0';
    L.push_back(header);

    ObservableAsteroids& list = observable;
    const int cursor = list.CurrentIndex();
    list.Reset();
    while (const OrbitListEntry* e = list.Next()) {
        if (r.firstEntryLine < 0) r.firstEntryLine = static_cast<int>(L.size());
        r.lastEntryLine = static_cast<int>(L.size());
        L.push_back(AsteroidReportLine(*e, fileType_));
    }
    list.Reset();
    if (cursor >= 0) list.ItemAt(cursor);

    L.push_back(blank);
    L.push_back("*Notes:");
    L.push_back(blank);
    if (fileType_ == OrbitNotesAST)
        for (const char* s : AstLegend) L.push_back(*s ? std::string(s) : blank);
    else
        for (const char* s : MpcLegend) L.push_back(*s ? std::string(s) : blank);
    return r;
}

std::vector<std::string> ElementsLines(const OrbitRecord& record, int fileType) {
    const OrbitElements el = ElementsFromState(StateOf(record));
    std::vector<std::string> L;
    L.push_back(Spaces(65));
    L.push_back("Body: " + AsteroidName(record));
    L.push_back(Spaces(65));
    L.push_back(Columns({std::string("Reference: ") + EquinoxText(el.equinoxClass),
                         "Epoch: " + DateWithFraction(el.epoch) + " TDT  (" + FixedStr(el.epoch, 1) + ")"}));
    L.push_back(Columns({"a: " + TrimFixedStr(el.a / KmPerAU, 7) + " AU", "q: " + TrimFixedStr(el.q / KmPerAU, 7) + " AU",
                         "e: " + TrimFixedStr(el.e, 7)}));
    L.push_back(Columns({"Incl: " + Degrees(el.i), "Node: " + Degrees(el.node), "Peri: " + Degrees(el.peri)}));
    L.push_back(Columns({"Lng P: " + Degrees(LongitudeOfPerihelion(el)), "L: " + Degrees(MeanLongitude(el)),
                         "M: " + Degrees(el.M)}));
    L.push_back(Columns({"P: " + TrimFixedStr(PeriodYears(el), 2) + " years",
                         "T: " + DateWithFraction(el.T) + " TDT  (" + FixedStr(el.T, 5) + ")"}));
    if (record.magnitudeType == MagnitudeAsteroid)
        L.push_back(Columns({"H: " + FixedStr(record.H, 2), "G: " + FixedStr(record.G, 2)}));

    const auto& n = record.notes;
    std::vector<std::string> notes;
    auto bits = [&](int value, const auto& table) {
        for (const Bit& b : table)
            if (value & b.value) notes.push_back(b.text);
    };
    bool any = false;
    for (std::size_t i : ReportedNotes(fileType)) any = any || n[i] != 0;
    if (fileType == OrbitNotesAST) {
        bits(n[NoteCrossing], AstCrossing);
        bits(n[NoteComputation], AstComputation);
        const int critical = n[NoteCriticalList];
        if (critical >= 1 && critical <= 6)
            notes.push_back(std::string("MPC Critical List - ") + AstCriticalList[critical - 1]);
        else if (critical == 7)
            notes.push_back("Absolute Magnitude Poorly Known.");
        if (n[NoteImportance] > 0)
            notes.push_back("Importance of Additional/Frequent Observations: " + std::to_string(n[NoteImportance]));
    } else {
        for (const Bit& b : MpcGroups)
            if (n[NoteGroup] == b.value) notes.push_back(b.text);
        bits(n[NoteCritical], MpcCritical);
        bits(n[NoteComputation], MpcComputation);
        if (n[NoteImportance] > 2)
            notes.push_back("Orbital Uncertainty Parameter (U) = " + std::to_string(n[NoteImportance]));
    }
    if (any) {
        L.push_back("");
        L.push_back("*** Orbit Notes ***");
        L.insert(L.end(), notes.begin(), notes.end());
    }
    return L;
}

std::optional<ReportText> TOrbitList::Elements(int index) {
    const OrbitListEntry* e = observable.ItemAt(index);
    if (!e) return std::nullopt;
    ReportText r;
    r.caption = "Osculating Orbital Elements";
    r.reportName = AsteroidName(e->record);
    r.lines = ElementsLines(e->record, fileType_);
    return r;
}

std::optional<HotListTarget> TOrbitList::FormatForHotList(int index) {
    const OrbitListEntry* e = observable.ItemAt(index);
    if (!e) return std::nullopt;
    HotListTarget t;
    t.name = AsteroidName(e->record);
    if (t.name.size() > 24) t.name.resize(24);
    t.ra = e->ra;
    t.dec = e->dec;
    t.kind = 0;
    return t;
}

}  // namespace qnr
