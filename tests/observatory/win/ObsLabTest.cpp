// The telescope window driven through its real widgets, offscreen.
#include <QApplication>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "observatory/win/ObsLab.h"
#include "support/Fakes.h"
#include "ui/panel/IndicatorLamp.h"
#include "ui/panel/SevenSegmentDisplay.h"
#include "ui/panel/ToggleSwitch.h"

using namespace qnr;

class ObsLabTest : public QObject {
    Q_OBJECT

    test::FakePlatform platform;
    platform::Services services = platform.services();
    app::OptsRec opts;
    ObsDateTime clock;

    QString Shown(observatory::TObsrvtry& w, const char* name) {
        if (auto* d = w.findChild<ui::SevenSegmentDisplay*>(name)) return d->text();
        if (auto* l = w.findChild<QLabel*>(name)) return l->text();
        return QString("<no %1>").arg(name);
    }

    observatory::TelescopeWindowLinks Links() {
        observatory::TelescopeWindowLinks links;
        links.refreshClock = [this] { clock.SetDayNumber(platform.clock.now); };
        return links;
    }

    // Answers the coordinate dialog as soon as it is up.
    void FillCoordinates(QStringList values) {
        QTimer::singleShot(0, [values] {
            auto* dlg = QApplication::activeModalWidget();
            QVERIFY(dlg);
            const char* names[] = {"RAHr", "RAMin", "RASec", "DecDeg", "DecMin", "DecSec"};
            for (int i = 0; i < 6; ++i) dlg->findChild<QLineEdit*>(names[i])->setText(values[i]);
            QTest::mouseClick(dlg->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
        });
    }

private slots:
    void init() {
        app::OptsObj o(services);
        o.InitIdentification(app::OptionsFileName, app::ProgramVersion);
        o.SetDefaults();
        opts = o.rec;
        opts.programFolder = "/nonexistent/";
        opts.observatoryHelpList.clear();  // no help list to report missing
        platform.dialogs.clear();
        platform.clock.now = 37360.5;
    }

    void startsAtTheZenithWithTheDriveOff() {
        observatory::TObsrvtry w(services, opts, clock, Links());
        w.TakeTelescope(1);
        w.show();
        QCOMPARE(w.windowTitle(), QString("Toval Optical Telescope Control"));
        QCOMPARE(Shown(w, "SignChr"), QString("+"));
        QCOMPARE(Shown(w, "DecDrgs"), QString("31"));
        QCOMPARE(Shown(w, "DecMnScs"), QString("57:48"));
        QVERIFY(!w.findChild<QPushButton*>("NBtn")->isEnabled());
        QVERIFY(!w.findChild<ui::IndicatorLamp*>("DrvOnLed")->isLit());
        QCOMPARE(Shown(w, "JDTxt"), QString("2452379.000000"));  // 2002-04-14 12:00 local, zone 0
    }

    void aMissingHelpListIsReportedWhenTheWindowFirstShowsNotWhenItIsBuilt() {
        opts.observatoryHelpList = "ObsrvHlp.LST";  // the program folder does not exist
        observatory::TObsrvtry w(services, opts, clock, Links());
        w.TakeTelescope(1);
        QVERIFY(platform.dialogs.messages.empty());
        w.show();
        const size_t reported = platform.dialogs.messages.size();
        QVERIFY(reported > 0);
        QVERIFY(!w.findChild<QAction*>("Help1")->isEnabled());
        w.hide();
        w.show();
        QCOMPARE(platform.dialogs.messages.size(), reported);  // once, not at every show
    }

    void accessKeepsTheInstrumentControlsOffUntilTheInstrumentCloses() {
        int opened = 0;
        observatory::TelescopeWindowLinks links = Links();
        links.openInstrument = [&](int) {
            ++opened;
            return true;
        };
        observatory::TObsrvtry w(services, opts, clock, links);
        w.TakeTelescope(1);
        w.show();
        QTest::mouseClick(w.findChild<ui::ToggleSwitch*>("DriveBtn"), Qt::LeftButton);
        w.mount().SetTelescopeView(true);
        w.clocktimerTimer();
        auto* access = w.findChild<QPushButton*>("RdngBtn");
        QVERIFY(access->isEnabled());
        QTest::mouseClick(access, Qt::LeftButton);
        QCOMPARE(opened, 1);
        for (int tick = 0; tick < 3; ++tick) {
            w.clocktimerTimer();
            QVERIFY(!access->isEnabled());
            QVERIFY(!w.findChild<QWidget*>("InstSlider")->isEnabled());
        }
        QTest::mouseClick(access, Qt::LeftButton);  // a second camera must not open
        QCOMPARE(opened, 1);
        w.InstrumentClosed();
        QVERIFY(access->isEnabled());
    }

    void slewsToTypedCoordinates() {
        observatory::TObsrvtry w(services, opts, clock, Links());
        w.TakeTelescope(1);
        w.show();
        QTest::mouseClick(w.findChild<ui::ToggleSwitch*>("DriveBtn"), Qt::LeftButton);
        QVERIFY(w.findChild<ui::IndicatorLamp*>("DrvOnLed")->isLit());
        QVERIFY(w.findChild<QPushButton*>("NBtn")->isEnabled());

        platform.dialogs.script({platform::Answer::Yes});  // Confirm Slew
        FillCoordinates({"12", "29", "6.7", "2", "3", "9"});
        w.SetCoordinates1Click();
        QCOMPARE(platform.dialogs.messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(platform.dialogs.messages[0].caption), QString("Confirm Slew"));
        QVERIFY(w.mount().programmedSlew());
        QVERIFY(!w.findChild<QPushButton*>("NBtn")->isEnabled());
        int ticks = 0;
        while (w.mount().programmedSlew() && ticks < 100000) {
            w.SlewTimer2Timer();
            ++ticks;
        }
        QVERIFY(ticks > 1);
        QCOMPARE(Shown(w, "RAClock"), QString("12:29:06"));  // whole seconds; the tenths beside them
        QCOMPARE(Shown(w, "RADSecs"), QString(".7"));
        QCOMPARE(Shown(w, "SignChr"), QString("+"));
        QCOMPARE(Shown(w, "DecDrgs"), QString("02"));
        QCOMPARE(Shown(w, "DecMnScs"), QString("03:09"));
        QVERIFY(w.findChild<QPushButton*>("NBtn")->isEnabled());
        // QNR_GRAB_DIR=folder keeps a picture of the window for a person to look at.
        if (qEnvironmentVariableIsSet("QNR_GRAB_DIR"))
            w.grab().save(qEnvironmentVariable("QNR_GRAB_DIR") + "/telescope-window.png");
    }

    void aHotListTargetFillsTheCoordinateDialog() {
        observatory::TObsrvtry w(services, opts, clock, Links());
        w.TakeTelescope(1);
        w.show();
        QVERIFY(w.findChild<QAction*>("SelectFromList1"));
        QVERIFY(!w.findChild<QAction*>("LoadHotList1")->isVisible());  // Edit Mode only
        QString shownRa, shownDec;
        bool epochLocked = false;
        QTimer::singleShot(0, [&] {
            auto* dlg = QApplication::activeModalWidget();
            QVERIFY(dlg);
            shownRa = dlg->findChild<QLineEdit*>("RAHr")->text() + " " + dlg->findChild<QLineEdit*>("RAMin")->text() +
                      " " + dlg->findChild<QLineEdit*>("RASec")->text();
            shownDec = dlg->findChild<QLineEdit*>("DecDeg")->text() + " " + dlg->findChild<QLineEdit*>("DecMin")->text() +
                       " " + dlg->findChild<QLineEdit*>("DecSec")->text();
            epochLocked = !dlg->findChild<QWidget*>("EpochGrp")->isEnabled();
            QTest::mouseClick(dlg->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
        });
        platform.dialogs.script({platform::Answer::Yes});
        observatory::ObjctDat m87{"M87", 12.5137287, 12.3911233, "Virgo A"};
        QVERIFY(w.SlewTo(m87));
        QCOMPARE(shownRa, QString("12 30 49.42"));
        QCOMPARE(shownDec, QString("12 23 28.0"));
        QVERIFY(epochLocked);
        QVERIFY(w.mount().programmedSlew());
    }

    void manualSlewStopsWhereverTheButtonIsReleased() {
        observatory::TObsrvtry w(services, opts, clock, Links());
        w.TakeTelescope(1);
        w.show();
        QTest::mouseClick(w.findChild<ui::ToggleSwitch*>("DriveBtn"), Qt::LeftButton);
        auto* n = w.findChild<QPushButton*>("NBtn");
        QTest::mousePress(n, Qt::LeftButton);
        QVERIFY(w.mount().manualSlew());
        QVERIFY(w.findChild<ui::IndicatorLamp*>("NLed")->isLit());
        w.SlewTimerTimer();
        // Released far outside the button.
        QTest::mouseRelease(n, Qt::LeftButton, {}, QPoint(-200, -200));
        QVERIFY(!w.mount().manualSlew());
        QVERIFY(!w.findChild<ui::IndicatorLamp*>("NLed")->isLit());
    }

    void closingHidesUnlessTheProgramEnds() {
        bool hidden = false;
        observatory::TelescopeWindowLinks links = Links();
        links.closeConfirmed = [] { return false; };
        links.hidden = [&] { hidden = true; };
        observatory::TObsrvtry w(services, opts, clock, links);
        w.TakeTelescope(0);
        w.show();
        w.close();
        QVERIFY(hidden);
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(ObsLabTest)
#include "ObsLabTest.moc"
