// From the main window to a pulsar: take the radio telescope, switch its
// control on, slew by typed coordinates and from the hot list, open the
// receiver and read the attached pulsar and the map's marker, by the widgets'
// object names. Timers are ticked by hand.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "app/win/Zarn_Obs.h"
#include "astro/Coords.h"
#include "observatory/HotList.h"
#include "observatory/win/ObsLab.h"
#include "radio/RadiOpts.h"
#include "radio/win/AitoffMap.h"
#include "radio/win/Zarn_rad.h"
#include "support/Fakes.h"
#include "ui/panel/SevenSegmentDisplay.h"
#include "ui/panel/ToggleSwitch.h"

using namespace qnr;

class RadioLabFlowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempFolder> program_, userData_;
    std::unique_ptr<test::FakePlatform> fake_;
    platform::Services services_;
    std::string startFolder_;

    // Answers the next modal dialog once it is up.
    void OnModal(std::function<void(QWidget*)> handler) {
        QTimer::singleShot(0, [this, handler] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) {
                OnModal(handler);
                return;
            }
            handler(modal);
            if (QTest::currentTestFailed())
                if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        });
    }
    static void Type(QWidget* dialog, const char* name, const QString& text) {
        auto* e = dialog->findChild<QLineEdit*>(name);
        QVERIFY2(e, name);
        e->setText(text);
    }
    static void Click(QWidget* dialog, const char* name) {
        auto* b = dialog->findChild<QPushButton*>(name);
        QVERIFY2(b, name);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    static QString Shown(QWidget& w, const char* name) {
        if (auto* d = w.findChild<ui::SevenSegmentDisplay*>(name)) return d->text();
        if (auto* l = w.findChild<QLabel*>(name)) return l->text();
        return QString("<no %1>").arg(name);
    }
    static void Save(QWidget& w, const char* name) {
        const QByteArray dir = qgetenv("QNR_SHOT_DIR");
        if (!dir.isEmpty()) w.grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
    }
    void CopyFromBuild(const std::string& name) {
        const std::string from = std::string(QNR_PROGRAM_FOLDER) + "/" + name;
        if (fake_->files.exists(from)) QCOMPARE(fake_->files.copyFile(from, program_->file(name)), 0);
    }
    // The slew dialog's answers ("Confirm Slew" and the arrival box) come from the fakes.
    static void Arrive(radio::TRadioLab& lab) {
        int ticks = 0;
        while (lab.scope().programmedSlew() && ticks < 10000) {
            lab.SlewTimer2Timer();
            ++ticks;
        }
        QVERIFY(ticks > 1);
    }

    // The main window with both telescope windows, running, the radio telescope held.
    struct Observatory {
        std::unique_ptr<app::TEnvironment1> main;
        std::unique_ptr<observatory::TObsrvtry> optical;
        std::unique_ptr<radio::TRadioLab> radio;
    };
    void Start(Observatory& o) {
        o.main = std::make_unique<app::TEnvironment1>(services_);
        o.optical = app::CreateTelescopeWindow(services_, *o.main);
        o.radio = app::CreateRadioWindow(services_, *o.main);
        o.main->show();
        OnModal([](QWidget* dlg) {
            Type(dlg, "IDEd", "PSR-1");
            Click(dlg, "OKBtn");
        });
        o.main->findChild<QAction*>("Run1")->trigger();
        QCOMPARE(o.main->displayPhase(), app::DisplayPhase::Running);
        o.main->findChild<QAction*>("Radio1")->trigger();
        QCOMPARE(o.main->findChild<QLabel*>("IDPnl")->text(), QString("Accessing Radio Telescope"));
        o.main->ScopeTimerTimer();
        QCOMPARE(o.main->findChild<QLabel*>("IDPnl")->text(), QString("100 Meter Radio Telescope"));
        QVERIFY(o.main->findChild<QAction*>("Radio1")->isChecked());
    }

private slots:
    void init() {
        program_ = std::make_unique<test::TempFolder>();
        userData_ = std::make_unique<test::TempFolder>();
        fake_ = std::make_unique<test::FakePlatform>();
        fake_->identity.program = program_->path();
        fake_->identity.userData = userData_->path();
        fake_->clock.zone = {0, 0, 0, false, true, "UTC"};
        services_ = fake_->services();
        startFolder_ = fake_->files.currentFolder();
        QCOMPARE(fake_->files.setCurrentFolder(program_->path()), 0);
        QCOMPARE(fake_->files.makeFolders(program_->file("CGSC/TABLES")), 0);
        test::WriteAll(program_->file("CGSC/TABLES/REGIONS.BIN"), {0});
        test::FakeDialogs yes;
        yes.fallback = platform::Answer::Yes;
        platform::Services s = services_;
        s.dialogs = &yes;
        app::OptsObj o(s);
        o.InitIdentification(app::OptionsFileName, app::ProgramVersion);
        o.SetDefaults();
        o.rec.loginRequired = false;  // Demonstration Mode
        QVERIFY(o.Save(program_->path()));
        // The catalog pulsars on the map.
        radio::RadiOptsObj r(s, false);
        r.Init(radio::RadioOptionsFileName, program_->path(), radio::RadioOptionsVersion, program_->path());
        r.rec.plotPulsars = true;
        QVERIFY(r.Write(program_->path()));
        // Two pulsars on the hot list.
        const std::vector<observatory::ObjctDat> targets = {
            {"PSR B0329+54", 3 + 32 / 60.0L + 59.37L / 3600, 54 + 34 / 60.0L + 43.6L / 3600, ""},
            {"PSR B1919+21", 19 + 21 / 60.0L + 44.81L / 3600, 21 + 53 / 60.0L + 2.2L / 3600, ""}};
        test::WriteAll(program_->file("Quenara.HTL"), observatory::EncodeHotList(targets));
        for (const char* name : {"PULSARS.DAT", "RADIOTEL.BMP", "PULSRHLP.LST", "PULSRHLP.HLP", "blank.bmp",
                                 "colon.bmp", "period.bmp", "minus.bmp"})
            CopyFromBuild(name);
        for (int d = 0; d <= 9; ++d) CopyFromBuild("Digit_" + std::to_string(d) + ".bmp");
    }
    void cleanup() {
        fake_->files.setCurrentFolder(startFolder_);
        fake_.reset();
        program_.reset();
        userData_.reset();
    }

    void takeTheRadioTelescopeAndFindPulsars() {
        QVERIFY2(fake_->files.exists(program_->file("PULSARS.DAT")), "the build writes PULSARS.DAT");
        Observatory o;
        Start(o);
        app::TEnvironment1& main = *o.main;
        // The main display shows the radio telescope's picture.
        if (fake_->files.exists(program_->file("RADIOTEL.BMP"))) {
            const QImage display = main.findChild<QWidget*>("CRT1")->grab().toImage();
            QVERIFY(QColor(display.pixel(display.width() / 2, display.height() / 2)) != QColor(Qt::black));
            Save(main, "main-radio-telescope");
        }

        auto* radioSwitch = main.findChild<ui::ToggleSwitch*>("RadCntrlSw");
        QVERIFY(radioSwitch->isEnabled());
        QTest::mouseClick(radioSwitch, Qt::LeftButton);
        radio::TRadioLab& lab = *o.radio;
        QVERIFY(radioSwitch->isOn());
        QVERIFY(lab.isVisible());
        QVERIFY(main.findChild<QAction*>("RadioWin")->isVisible());
        QVERIFY(!main.findChild<QAction*>("SetDateTime1")->isEnabled());
        QCOMPARE(Shown(lab, "StatnTxt"), QString("NRAO - Greenbank, WV"));
        QCOMPARE(Shown(lab, "PlsrTxt"), QString("Receiver off"));
        QVERIFY(!lab.findChild<QPushButton*>("RcvrBtn")->isEnabled());

        // The map: the grid on navy, a few hundred pulsar dots, the marker at the zenith.
        radio::AitoffMap& map = lab.map();
        QVERIFY(map.initialised());
        int cyan = 0;
        for (int y = 0; y < map.background().height(); ++y)
            for (int x = 0; x < map.background().width(); ++x)
                if (QColor(map.background().pixel(x, y)) == radio::AitoffMap::Cyan()) ++cyan;
        QVERIFY2(cyan > 300, qPrintable(QString::number(cyan)));

        // Drive on, then B1919+21 by typed coordinates.
        QTest::mouseClick(lab.findChild<ui::ToggleSwitch*>("DriveBtn"), Qt::LeftButton);
        QVERIFY(lab.scope().tracking());
        QCOMPARE(Shown(lab, "ClockLbl"), QString("On"));
        fake_->dialogs.script({platform::Answer::Yes});
        OnModal([](QWidget* dlg) {
            QVERIFY(dlg->findChild<QGroupBox*>("EpochGrp")->isEnabled());
            Type(dlg, "RAHr", "19");
            Type(dlg, "RAMin", "21");
            Type(dlg, "RASec", "44.81");
            Type(dlg, "DecDeg", "21");
            Type(dlg, "DecMin", "53");
            Type(dlg, "DecSec", "2.2");
            Click(dlg, "OKBtn");
        });
        lab.findChild<QAction*>("SetCoordinates1")->trigger();
        QVERIFY(lab.scope().programmedSlew());
        QCOMPARE(QString::fromStdString(fake_->dialogs.messages.back().caption), QString("Confirm Slew"));
        Arrive(lab);
        QCOMPARE(QString::fromStdString(fake_->dialogs.messages.back().caption), QString("Slew Completed"));
        QCOMPARE(Shown(lab, "RAClock"), QString("19:21:44.8"));
        QCOMPARE(Shown(lab, "DecClock"), QString(" 21:53:02"));

        // The receiver attaches the pulsar under the beam.
        QTest::mouseClick(lab.findChild<QPushButton*>("RcvrBtn"), Qt::LeftButton);
        QCOMPARE(Shown(lab, "PlsrTxt"), QString::fromLatin1("Attached: B1919+21, 0.00\xB0 from the pointing"));
        QVERIFY(lab.findChild<QAction*>("AddCurrentItemtoList1")->isEnabled());
        // The marker sits on the pulsar's place on the map: the square inverted.
        const PixelPoint at = map.geometry().SkyToPixel(lab.scope().declination(), lab.scope().rightAscension());
        QVERIFY(map.geometry().markerDrawn);
        QCOMPARE(map.geometry().marker, (PixelRect{at.x - 3, at.y - 3, at.x + 3, at.y + 3}));
        const QImage frame = map.Frame();
        const QColor under(map.background().pixel(at.x + 2, at.y + 2));
        const QColor shown(frame.pixel(at.x + 2, at.y + 2));
        QCOMPARE(shown, QColor(255 - under.red(), 255 - under.green(), 255 - under.blue()));
        Save(lab, "radio-telescope-B1919");

        // From the hot list: B0329+54 (the first line by right ascension),
        // its coordinates shown with the epoch fixed.
        fake_->dialogs.script({platform::Answer::Yes});
        OnModal([this](QWidget* list) {
            auto* box = list->findChild<QListWidget*>("ListBox1");
            QVERIFY(box);
            QCOMPARE(box->count(), 2);
            box->setCurrentRow(0);
            OnModal([](QWidget* dlg) {
                QVERIFY(!dlg->findChild<QGroupBox*>("EpochGrp")->isEnabled());
                QCOMPARE(dlg->findChild<QLineEdit*>("RAHr")->text(), QString("3"));
                Click(dlg, "OKBtn");
            });
            list->findChild<QAction*>("SlewtoSelection1")->trigger();
        });
        lab.findChild<QAction*>("ViewSelectfromList1")->trigger();
        QVERIFY(lab.scope().programmedSlew());
        QCOMPARE(QString::fromStdString(lab.scope().mapCaption()), QString("Slewing to Target Declination"));
        for (int i = 0; i < 10; ++i) lab.SlewTimer2Timer();
        Save(lab, "radio-telescope-slewing");
        Arrive(lab);
        QCOMPARE(Shown(lab, "RAClock"), QString("03:32:59.4"));
        QCOMPARE(Shown(lab, "DecClock"), QString(" 54:34:44"));
        // The clock tick follows the receiver's pulsar as the telescope moves.
        lab.clockTimerTimer();
        QVERIFY2(Shown(lab, "PlsrTxt").startsWith("Attached: B0329+54, 0.0"), qPrintable(Shown(lab, "PlsrTxt")));
        const PixelPoint there = map.geometry().SkyToPixel(lab.scope().declination(), lab.scope().rightAscension());
        QCOMPARE(map.geometry().marker, (PixelRect{there.x - 3, there.y - 3, there.x + 3, there.y + 3}));
        Save(lab, "radio-telescope-B0329");

        // A hand slew stops when the button is let go, wherever the pointer is.
        auto* north = lab.findChild<QPushButton*>("NBtn");
        QTest::mousePress(north, Qt::LeftButton);
        QVERIFY(lab.scope().manualSlew());
        lab.SlewTimerTimer();
        QTest::mouseRelease(north, Qt::LeftButton, {}, QPoint(north->width() + 60, north->height() + 40));
        QVERIFY(!lab.scope().manualSlew());

        // Closing the window hides it and switches the radio control off.
        lab.close();
        QVERIFY(!lab.isVisible());
        QVERIFY(!radioSwitch->isOn());
        QVERIFY(main.findChild<QAction*>("SetDateTime1")->isEnabled());
        fake_->dialogs.fallback = platform::Answer::Yes;
        main.close();
    }

    void anUnreadableCatalogTakesOnlyTheRadioTelescopeAway() {
        fake_->files.removeFile(program_->file("PULSARS.DAT"));
        Observatory o;
        Start(o);
        app::TEnvironment1& main = *o.main;
        fake_->dialogs.clear();
        auto* radioSwitch = main.findChild<ui::ToggleSwitch*>("RadCntrlSw");
        QTest::mouseClick(radioSwitch, Qt::LeftButton);
        QVERIFY(!o.radio->isVisible());
        QCOMPARE(fake_->dialogs.messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(fake_->dialogs.messages[0].caption), QString("Radio Telescope Unavailable"));
        QVERIFY(QString::fromStdString(fake_->dialogs.messages[0].text).startsWith("Unable to Open Pulsar Data File!"));
        QVERIFY(!radioSwitch->isOn());
        QVERIFY(!radioSwitch->isEnabled());
        QVERIFY(!main.findChild<QAction*>("Radio1")->isEnabled());
        // The exercise goes on: the optical telescopes and the menus are there.
        QVERIFY(main.findChild<QAction*>("Access1p0")->isEnabled());
        QVERIFY(main.findChild<QAction*>("SetDateTime1")->isEnabled());
        fake_->dialogs.fallback = platform::Answer::Yes;
        main.close();
    }
};

QTEST_MAIN(RadioLabFlowTest)
#include "RadioLabFlowTest.moc"
