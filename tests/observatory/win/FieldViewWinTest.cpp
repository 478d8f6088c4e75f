// The telescope window's display on a small catalog tree: a field is shown
// around the pointing and an Edit Mode click identifies the nearest star.
#include <QLabel>
#include <QtTest>

#include "app/Options.h"
#include "catalogs/CatalogFixture.h"
#include "support/Fakes.h"
#include "catalogs/SkyCatalogs.h"
#include "observatory/win/ObsLab.h"

using namespace qnr;

class FieldViewWinTest : public QObject {
    Q_OBJECT

private slots:
    // With QNR_GRAB_DIR set: pictures of the finder and telescope views of
    // three hot-list targets on the bundled data tree, for a person to look at.
    void bundledTargetsForAPerson() {
        const char* dir = std::getenv("QNR_GRAB_DIR");
        if (!dir) QSKIP("set QNR_GRAB_DIR to keep the pictures");
        test::FakePlatform fakes;
        platform::Services services = fakes.services();
        fakes.identity.program = QNR_PROGRAM_FOLDER "/";
        app::OptsObj o(services);
        o.InitIdentification(app::OptionsFileName, app::ProgramVersion);
        o.SetDefaults();
        app::OptsRec opts = o.rec;
        test::TempFolder users;
        opts.usersFolder = users.path();  // the Edit Mode region log goes there
        opts.observatoryHelpList.clear();
        opts.editMode = true;
        fakes.clock.now = 37360.0 + 22.0 / 24;  // the evening of the exercise
        ObsDateTime clock;
        observatory::TelescopeWindowLinks links;
        links.refreshClock = [&] { clock.SetDayNumber(fakes.clock.now); };
        SkyCatalogs sky(services, opts);
        observatory::TObsrvtry w(services, opts, clock, links);
        w.SetCatalogs(&sky);
        w.TakeTelescope(1);
        w.show();
        struct Target { const char* name; double ra, dec; };
        const Target targets[] = {{"M13", 16.6948, 36.4613}, {"M87", 12.5137287, 12.3911233}, {"3C273", 12.4851931, 2.0523883}};
        for (const auto& t : targets) {
            for (bool telescope : {false, true}) {
                w.mount().SetTelescopeView(telescope);
                w.mount().SetRightAscension(t.ra);
                w.mount().SetDeclination(t.dec);
                w.RefreshView();
                QApplication::processEvents();
                w.findChild<QWidget*>("CRT1")->grab().save(QString("%1/%2-%3.png").arg(dir, t.name, telescope ? "telescope" : "finder"));
            }
        }
    }

    void fieldShownAndClickIdentifies() {
        test::CatalogTree tree;
        tree.writeTable();
        tree.emptyExtras();
        tree.finderStars(test::RegionWest, {{23.95, 3.5, 6.0f, "00001"}, {23.9, 3.2, 7.0f, "00002"}});
        tree.finderStars(test::RegionEast, {{0.05, 3.5, 8.0f, "00001"}});
        app::OptsObj o(tree.services);
        o.InitIdentification(app::OptionsFileName, app::ProgramVersion);
        o.SetDefaults();
        app::OptsRec opts = o.rec;
        opts.programFolder = tree.opts.programFolder;
        opts.instrumentCatalogFolder = tree.opts.instrumentCatalogFolder;
        opts.finderCatalogFolder = tree.opts.finderCatalogFolder;
        opts.galaxyCatalog = tree.opts.galaxyCatalog;
        opts.qsoCatalog = tree.opts.qsoCatalog;
        opts.galaxyImagesFolder = tree.opts.galaxyImagesFolder;
        opts.galaxyImagesList = tree.opts.galaxyImagesList;
        opts.usersFolder = tree.opts.usersFolder;  // the Edit Mode region log goes there
        opts.observatoryHelpList.clear();
        opts.editMode = true;
        tree.fakes.clock.now = 37360.5;
        ObsDateTime clock;
        observatory::TelescopeWindowLinks links;
        links.refreshClock = [&] { clock.SetDayNumber(tree.fakes.clock.now); };
        std::optional<observatory::Identified> seen;
        links.objectIdentified = [&](const observatory::Identified& id, bool finder) {
            seen = id;
            QVERIFY(finder);
        };
        SkyCatalogs sky(tree.services, opts);
        observatory::TObsrvtry w(tree.services, opts, clock, links);
        w.SetCatalogs(&sky);
        w.TakeTelescope(1);
        w.show();
        w.mount().SetRightAscension(23.95);
        w.mount().SetDeclination(3.5);
        w.RefreshView();
        QApplication::processEvents();
        QVERIFY(w.fieldView()->haveField());
        QWidget* crt = w.findChild<QWidget*>("CRT1");
        QVERIFY(crt);
        const QImage shown = crt->grab().toImage();
        // The magnitude-6 star at the centre is bright; the finder square is red.
        QVERIFY(qRed(shown.pixel(156, 156)) > 200);
        QCOMPARE(w.CentreBrightness() > 100, true);
        QCOMPARE(w.findChild<QLabel*>("ViewLbl2")->text(), QString("2.5 Degree"));
        if (const char* dir = std::getenv("QNR_GRAB_DIR")) shown.save(QString(dir) + "/finder-small-tree.png");

        // Click a few pixels off the second star.
        const FieldObject* second = nullptr;
        sky.finder.objects.Reset();
        while (const FieldObject* f = sky.finder.objects.Next())
            if (f->V == 7.0f) second = f;
        QVERIFY(second);
        const QPoint at(static_cast<int>(second->x) - w.fieldView()->cornerX() + 3,
                        static_cast<int>(second->y) - w.fieldView()->cornerY() - 2);
        QTest::mouseClick(crt, Qt::LeftButton, {}, at);
        QVERIFY(seen.has_value());
        QVERIFY(seen->star);
        QCOMPARE(seen->object.V, 7.0f);
        QVERIFY(w.fieldView()->marked().has_value());
        QVERIFY(tree.fakes.dialogs.messages.empty());
    }
};

QTEST_MAIN(FieldViewWinTest)
#include "FieldViewWinTest.moc"
