// The photometer on real widgets, opened from a real telescope window on a
// small catalog tree: choose the photometer and Access it, set filter, time
// and count, read the sky and then the star by ticking PhotoTimer, record
// the magnitude and find it in the results list and in its saved file; the
// aperture dialog and closing with unrecorded readings.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <functional>
#include <memory>

#include "app/Options.h"
#include "catalogs/CatalogFixture.h"
#include "catalogs/SkyCatalogs.h"
#include "help/ListFakes.h"
#include "observatory/HotList.h"
#include "observatory/win/ObsLab.h"
#include "photometry/RsltsList.h"
#include "photometry/win/ObsRsltsDlg.h"
#include "photometry/win/PhotDlg1.h"
#include "photometry/win/Photomtr.h"
#include "photometry/win/RsltsListForm.h"
#include "support/Fakes.h"
#include "ui/panel/MultiPositionSwitch.h"
#include "ui/panel/SevenSegmentDisplay.h"
#include "ui/panel/ToggleSwitch.h"

using namespace qnr;

namespace {

constexpr double StarRa = 23.95, StarDec = 3.5;

void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return WhenModal(act);
        act(modal);
        if (QTest::currentTestFailed())
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
}

void Shot(QWidget* w, const char* name) {
    const QByteArray dir = qgetenv("QNR_GRAB_DIR");
    if (!dir.isEmpty()) w->grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

// A click on a selector's position, as a student turns it.
void Turn(ui::MultiPositionSwitch* s, int position) {
    QVERIFY(s);
    QTest::mouseClick(s, Qt::LeftButton, {}, s->markPoint(position).toPoint());
    QCOMPARE(s->value(), position);
}

InstrumentStarRecord Record(double ra, double dec, double v, double bv, double ub, const char* number) {
    InstrumentStarRecord r;
    r.ra = static_cast<std::int32_t>(std::lround(ra * 1e7));
    r.dec = static_cast<std::int32_t>(std::lround(dec * 1e5));
    r.V = static_cast<std::int16_t>(std::lround(v * 1000));
    r.BV = static_cast<std::int16_t>(std::lround(bv * 1000));
    r.UB = static_cast<std::int16_t>(std::lround(ub * 1000));
    r.flags = 0x0C;  // both colours measured
    r.number = number;
    return r;
}

// The telescope window with the photometer as the observatory wires them.
struct Observatory {
    platform::Services services;
    app::OptsRec& opts;
    ObsDateTime clock;
    std::unique_ptr<SkyCatalogs> sky;
    std::unique_ptr<observatory::TObsrvtry> scope;
    std::unique_ptr<photometry::ResultsList> results;
    std::unique_ptr<photometry::RsltsListForm1> resultsForm;
    photometry::TPhotometer* photometer = nullptr;

    Observatory(platform::Services s, app::OptsRec& o, platform::Dialogs& dialogs, double now) : services(s), opts(o) {
        observatory::TelescopeWindowLinks links;
        links.refreshClock = [this, now] { clock.SetDayNumber(now); };
        links.openInstrument = [this](int instrument) {
            if (instrument != 1) return false;
            photometer->OpenFor();
            return true;
        };
        sky = std::make_unique<SkyCatalogs>(services, opts);
        scope = std::make_unique<observatory::TObsrvtry>(services, opts, clock, links);
        scope->SetCatalogs(sky.get());
        results = std::make_unique<photometry::ResultsList>(services, opts);
        resultsForm = std::make_unique<photometry::RsltsListForm1>(*results, dialogs);
        photometry::PhotometerLinks pl;
        pl.exerciseId = [] { return std::string("UNKNOWN"); };
        pl.findOrCreate = [this](const std::string& id, double t) -> photometry::ObsResult& {
            return results->FindOrCreate(id, t);
        };
        pl.review = [this](photometry::ObsResult& e) { return resultsForm->Review(e); };
        photometer = new photometry::TPhotometer(services, opts, *scope, pl, scope.get());
        photometer->setWindowFlag(Qt::Window);
        scope->SetPhotometerAcceptance(&photometer->photometer());
        scope->TakeTelescope(1);
        scope->show();
    }
    template <class T> T* Scope(const char* name) { return scope->findChild<T*>(QLatin1String(name)); }
    template <class T> T* Ph(const char* name) { return photometer->findChild<T*>(QLatin1String(name)); }
    QString Text(const char* name) { return Ph<QLineEdit>(name)->text(); }

    void PointAt(double ra, double dec) {
        scope->mount().SetRightAscension(ra);
        scope->mount().SetDeclination(dec);
        scope->RefreshView();
        QApplication::processEvents();
    }
    // Drive on, telescope view, the photometer chosen and accessed.
    void OpenPhotometer() {
        QTest::mouseClick(Scope<ui::ToggleSwitch>("DriveBtn"), Qt::LeftButton);
        QVERIFY(scope->mount().tracking());
        Turn(Scope<ui::MultiPositionSwitch>("ViewSlider"), 0);
        Turn(Scope<ui::MultiPositionSwitch>("InstSlider"), 1);
        QVERIFY(Scope<QPushButton>("RdngBtn")->isEnabled());
        QTest::mouseClick(Scope<QPushButton>("RdngBtn"), Qt::LeftButton);
        QVERIFY(photometer->isVisible());
        QVERIFY(!Scope<QPushButton>("RdngBtn")->isEnabled());
        QVERIFY(!Scope<ui::ToggleSwitch>("DriveBtn")->isEnabled());
    }
    // Back to the photometer window after moving the telescope.
    void Return() {
        photometer->activateWindow();
        QApplication::processEvents();
        if (!photometer->isActiveWindow()) photometer->OpenFor();  // a platform without activation
    }
    // Start, then PhotoTimer's ticks until the set ends; the ticks taken.
    int Read() {
        QTest::mouseClick(Ph<QPushButton>("StrtBtn"), Qt::LeftButton);
        int ticks = 0;
        while (photometer->PhotoTimer->isActive() && ticks < 100000) {
            photometer->PhotoTimerTimer();
            ++ticks;
        }
        return ticks;
    }
};

}  // namespace

class PhotometerWinTest : public QObject {
    Q_OBJECT

private slots:
    void wholeSequenceFromTheTelescope();
    void apertureDialogAndClosing();
    void standardFieldForAPerson();
};

namespace {
struct Tree {
    test::CatalogTree tree;
    test::ScriptedChooser chooser;
    app::OptsRec opts;
    Tree() {
        tree.writeTable();
        tree.emptyExtras();
        tree.stars(test::RegionWest, {Record(StarRa, StarDec, 12.0, 0.5, 0.1, "00001"),
                                      Record(23.96, 3.45, 14.0, 0.7, 0.2, "00002")});
        tree.finderStars(test::RegionWest, {{StarRa, StarDec, 12.0f, "00001"}});
        app::OptsObj o(tree.services);
        o.InitIdentification(app::OptionsFileName, app::ProgramVersion);
        o.SetDefaults();
        opts = o.rec;
        for (auto f : {&app::OptsRec::programFolder, &app::OptsRec::instrumentCatalogFolder,
                        &app::OptsRec::finderCatalogFolder, &app::OptsRec::galaxyCatalog, &app::OptsRec::qsoCatalog,
                        &app::OptsRec::galaxyImagesFolder, &app::OptsRec::galaxyImagesList, &app::OptsRec::usersFolder})
            opts.*f = tree.opts.*f;
        opts.observatoryHelpList.clear();
        opts.photometerHelpList.clear();
        opts.showObjectId = true;
        tree.fakes.clock.now = 37360.5;
        tree.services.chooser = &chooser;
    }
};
}  // namespace

void PhotometerWinTest::wholeSequenceFromTheTelescope() {
    Tree t;
    Observatory obs(t.tree.services, t.opts, t.tree.fakes.dialogs, 37360.5);
    obs.PointAt(StarRa, StarDec + 0.05);  // blank sky 3' north of the star
    obs.OpenPhotometer();
    photometry::TPhotometer& ph = *obs.photometer;
    QCOMPARE(ph.windowTitle(), QStringLiteral("Toval Photometer Control"));
    QCOMPARE(obs.Ph<ui::MultiPositionSwitch>("FltrSlider")->labels(), QStringList({"U", "B", "V"}));
    QCOMPARE(obs.Ph<ui::MultiPositionSwitch>("RdngSlider")->value(), 1);  // nothing in the aperture: Sky
    QCOMPARE(obs.Text("SkyEd"), QStringLiteral(" V: NO SKY!"));
    QVERIFY(!ph.Record1->isEnabled());

    // B, 1.0 s, two integrations; the sky first.
    Turn(obs.Ph<ui::MultiPositionSwitch>("FltrSlider"), 1);
    Turn(obs.Ph<ui::MultiPositionSwitch>("SecsSlider"), 1);
    Turn(obs.Ph<ui::MultiPositionSwitch>("IntegSlider"), 1);
    Turn(obs.Ph<ui::MultiPositionSwitch>("RdngSlider"), 1);
    QTest::mouseClick(obs.Ph<QPushButton>("StrtBtn"), Qt::LeftButton);
    QVERIFY(ph.PhotoTimer->isActive());
    QCOMPARE(ph.PhotoTimer->interval(), 100);
    QVERIFY(!obs.Ph<QPushButton>("StrtBtn")->isEnabled());
    QVERIFY(obs.Ph<QPushButton>("StpBtn")->isEnabled());
    QVERIFY(!ph.ExitPhotometer1->isEnabled());
    QVERIFY(!obs.Ph<ui::MultiPositionSwitch>("FltrSlider")->isEnabled());
    for (int i = 0; i < 5; ++i) ph.PhotoTimerTimer();
    QCOMPARE(obs.Text("ElpsdEd"), QStringLiteral("  0.5"));
    QCOMPARE(obs.Ph<ui::SevenSegmentDisplay>("DigitImg")->text().size(), 10);
    for (int i = 0; i < 15; ++i) ph.PhotoTimerTimer();
    QVERIFY(!ph.PhotoTimer->isActive());
    QCOMPARE(obs.Text("CmpltEd"), QStringLiteral(" 2"));
    QCOMPARE(obs.Ph<QListWidget>("RawList")->count(), 2);
    QVERIFY(obs.Text("SkyEd").startsWith(" B: "));
    QVERIFY(obs.Text("SkyEd") != QStringLiteral(" B: NO SKY!"));
    Shot(&ph, "photometer-sky");

    // The star: the telescope moves, the student comes back and turns the switch.
    obs.PointAt(StarRa, StarDec);
    obs.Return();
    Turn(obs.Ph<ui::MultiPositionSwitch>("RdngSlider"), 0);
    const std::string name = ph.photometer().target()->name;
    QCOMPARE(obs.Ph<QLabel>("IDText")->text(), QString::fromStdString(name));
    QCOMPARE(obs.Read(), 20);
    const QString mag = obs.Text("MagEd");
    QVERIFY2(mag.startsWith(" B: "), qPrintable(mag));
    const double b = mag.mid(4).toDouble();
    const photometry::SetResult set = *ph.photometer().lastSet();
    QVERIFY2(std::fabs(b - 12.5) < 4 * static_cast<double>(set.magnitudeError), qPrintable(mag));
    QVERIFY(!obs.Text("MeanEd").isEmpty());
    QVERIFY(!obs.Text("SNEd").isEmpty());
    QVERIFY(!ph.findChild<QLabel*>("JDLbl")->text().isEmpty());
    QVERIFY(ph.Record1->isEnabled());
    Shot(&ph, "photometer-star");

    // Record/Review: "Observational Data" shows the reading; OK records it.
    WhenModal([](QWidget* dlg) {
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Observational Data"));
        QVERIFY(!dlg->findChild<QLineEdit*>("BMagEd")->text().trimmed().isEmpty());
        QTest::mouseClick(dlg->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
    });
    ph.Record1->trigger();
    QCOMPARE(t.tree.fakes.dialogs.messages.back().caption, std::string("Data Saved"));
    QVERIFY(!ph.Record1->isEnabled());
    QCOMPARE(obs.results->Count(), 1);
    const photometry::ObsResult entry = obs.results->Entries().front();
    QCOMPARE(entry.objectId, name.substr(0, 15));
    QVERIFY(std::fabs(static_cast<double>(entry.values[1]) - b) < 0.0006);

    // The list shows it, and its saved text holds it.
    obs.resultsForm->ShowAll();
    QListWidget* box = obs.resultsForm->findChild<QListWidget*>("ListBox1");
    QCOMPARE(box->count(), 2);
    QVERIFY(box->item(1)->text().startsWith(QString::fromStdString(name.substr(0, 15))));
    const std::string path = t.opts.usersFolder + "photometry.txt";
    t.chooser.answers = {path};
    obs.resultsForm->findChild<QAction*>("AsDisplayed1")->trigger();
    std::ifstream saved(path);
    QVERIFY(saved.good());
    std::string line, found;
    while (std::getline(saved, line))
        if (line.rfind(name.substr(0, 15), 0) == 0) found = line;
    QVERIFY2(!found.empty(), "the entry is not in the saved file");
    QVERIFY2(found.find(mag.mid(4).trimmed().toStdString()) != std::string::npos, found.c_str());
    Shot(obs.resultsForm.get(), "results-list");

    // Exit gives the telescope its controls back.
    ph.ExitPhotometer1->trigger();
    QVERIFY(!ph.isVisible());
    QVERIFY(obs.Scope<QPushButton>("RdngBtn")->isEnabled());
    QVERIFY(obs.Scope<ui::ToggleSwitch>("DriveBtn")->isEnabled());
}

void PhotometerWinTest::apertureDialogAndClosing() {
    Tree t;
    Observatory obs(t.tree.services, t.opts, t.tree.fakes.dialogs, 37360.5);
    obs.PointAt(StarRa, StarDec + 0.05);
    obs.OpenPhotometer();
    photometry::TPhotometer& ph = *obs.photometer;
    const Extended before = obs.scope->fieldView()->apertureDegrees();

    // The scroll bar applies at once; Cancel restores; OK keeps.
    WhenModal([&](QWidget* dlg) {
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Set Photometer Aperture"));
        auto* scroll = dlg->findChild<QScrollBar*>("ApSzScroll");
        QCOMPARE(scroll->value(), 10);
        scroll->setValue(20);
        QCOMPARE(obs.scope->fieldView()->outlines().apertureRadius, 20);
        QCOMPARE(dlg->findChild<ui::SevenSegmentDisplay*>("ApReadOut")->text(),
                 QString::number(static_cast<double>(obs.scope->fieldView()->apertureDegrees() * 120), 'f', 3));
        QTest::mouseClick(dlg->findChild<QPushButton*>("CnclBtn"), Qt::LeftButton);
    });
    ph.Aperture1->trigger();
    QCOMPARE(obs.scope->fieldView()->outlines().apertureRadius, 10);
    QCOMPARE(obs.scope->fieldView()->apertureDegrees(), before);
    WhenModal([&](QWidget* dlg) {
        dlg->findChild<QScrollBar*>("ApSzScroll")->setValue(30);
        Shot(dlg, "aperture-dialog");
        QTest::mouseClick(dlg->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
    });
    ph.Aperture1->trigger();
    QCOMPARE(obs.scope->fieldView()->outlines().apertureRadius, 30);

    // A sky and a star reading at the wide aperture, left unrecorded.
    Turn(obs.Ph<ui::MultiPositionSwitch>("SecsSlider"), 0);
    Turn(obs.Ph<ui::MultiPositionSwitch>("IntegSlider"), 0);
    QCOMPARE(obs.Read(), 1);
    obs.PointAt(StarRa, StarDec);
    obs.Return();
    Turn(obs.Ph<ui::MultiPositionSwitch>("RdngSlider"), 0);
    QCOMPARE(obs.Read(), 1);
    QVERIFY(obs.Text("MagEd").startsWith(" V: "));
    // Closing asks; Cancel keeps the window, No closes it.
    t.tree.fakes.dialogs.script({platform::Answer::Cancel});
    ph.close();
    QVERIFY(ph.isVisible());
    QCOMPARE(t.tree.fakes.dialogs.messages.back().caption, std::string("Data Not Recorded!"));
    t.tree.fakes.dialogs.script({platform::Answer::No});
    ph.close();
    QVERIFY(!ph.isVisible());
    // Opened again, the sky reading is still there.
    QTest::mouseClick(obs.Scope<QPushButton>("RdngBtn"), Qt::LeftButton);
    QVERIFY(ph.isVisible());
    QVERIFY(obs.Text("SkyEd") != QStringLiteral(" V: NO SKY!"));
}

void PhotometerWinTest::standardFieldForAPerson() {
    // With QNR_GRAB_DIR set: the photometer at the hot list's Landolt field on
    // the bundled data tree, the telescope view with its aperture, and the
    // results list, for a person to look at.
    if (qEnvironmentVariableIsEmpty("QNR_GRAB_DIR")) QSKIP("set QNR_GRAB_DIR to keep the pictures");
    test::FakePlatform fakes;
    test::TempFolder users;
    test::ScriptedChooser chooser;
    platform::Services services = fakes.services();
    services.chooser = &chooser;
    fakes.identity.program = QNR_PROGRAM_FOLDER "/";
    app::OptsObj o(services);
    o.InitIdentification(app::OptionsFileName, app::ProgramVersion);
    o.SetDefaults();
    app::OptsRec opts = o.rec;
    opts.usersFolder = users.path();
    opts.observatoryHelpList.clear();
    opts.showObjectId = true;
    fakes.clock.now = 37360.0 + 23.0 / 24;
    const auto list = observatory::DecodeHotList(test::ReadAll(QNR_PROGRAM_FOLDER "/Quenara.HTL"));
    QVERIFY(list.ok());
    const observatory::ObjctDat* landolt = nullptr;
    for (const auto& e : list.value())
        if (e.identifier.find("Landolt") != std::string::npos) landolt = &e;
    QVERIFY(landolt);
    Observatory obs(services, opts, fakes.dialogs, fakes.clock.now);
    const double ra = static_cast<double>(landolt->ra), dec = static_cast<double>(landolt->dec);
    obs.PointAt(ra, dec + 1.5 / 60);  // blank sky 1.5' north
    obs.OpenPhotometer();
    photometry::TPhotometer& ph = *obs.photometer;
    Turn(obs.Ph<ui::MultiPositionSwitch>("SecsSlider"), 2);
    Turn(obs.Ph<ui::MultiPositionSwitch>("IntegSlider"), 2);
    Turn(obs.Ph<ui::MultiPositionSwitch>("RdngSlider"), 1);
    obs.Read();
    obs.PointAt(ra, dec);
    obs.Return();
    Turn(obs.Ph<ui::MultiPositionSwitch>("RdngSlider"), 0);
    QTest::mouseClick(obs.Ph<QPushButton>("StrtBtn"), Qt::LeftButton);
    for (int i = 0; i < 150; ++i) ph.PhotoTimerTimer();
    Shot(&ph, "landolt-photometer-counting");
    while (ph.PhotoTimer->isActive()) ph.PhotoTimerTimer();
    Shot(&ph, "landolt-photometer-done");
    obs.scope->clocktimerTimer();  // the displays follow the pointing
    Shot(obs.scope.get(), "landolt-telescope");
    WhenModal([](QWidget* dlg) {
        dlg->findChild<QLineEdit*>("RmrksEd")->setText("SA 104-335, V 11.665");
        Shot(dlg, "landolt-observational-data");
        QTest::mouseClick(dlg->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
    });
    ph.Record1->trigger();
    obs.resultsForm->ShowAll();
    Shot(obs.resultsForm.get(), "landolt-results");
    // The whole screen, where the platform has one (Xvfb).
    QApplication::processEvents();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        screen->grabWindow(0).save(qEnvironmentVariable("QNR_GRAB_DIR") + "/landolt-screen.png");
}

QTEST_MAIN(PhotometerWinTest)
#include "PhotometerWinTest.moc"
