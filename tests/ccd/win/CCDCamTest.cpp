// The camera window on real widgets with a fake telescope: expose at once in
// Test Mode, count down otherwise, stop early keeping the image, save FITS
// files with the proposed names, and the guards against losing an image.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/Options.h"
#include "catalogs/SkyCatalogs.h"
#include "ccd/win/CCD_Cam.h"
#include "observatory/HandOff.h"
#include "support/Fakes.h"
#include "ui/panel/MultiPositionSwitch.h"
#include "ui/panel/SevenSegmentDisplay.h"
#include "../CcdTestSupport.h"

using namespace qnr;

namespace {

class FakeHandOff final : public observatory::TelescopeHandOff {
public:
    explicit FakeHandOff(SkyCatalogs& sky) : sky_(sky) {}
    std::optional<FieldObject> CurrentObject() override { return std::nullopt; }
    int CentreBrightness() override { return 0; }
    const Raster* FieldPicture() override { return nullptr; }
    const Raster* GalaxyLayer() override { return layer; }
    Extended RightAscension() override { return ra; }
    Extended Declination() override { return dec; }
    int Telescope() override { return 1; }
    Extended TelescopeBaseMagnitude() override { return 9; }
    Extended CameraFieldWidth() override { return 1; }
    Extended CameraFieldHeight() override { return 1; }
    Extended JulianDate() override { return jd; }
    SkyCatalogs& Catalogs() override { return sky_; }
    void SetPhotometerAperture(int) override {}
    void InstrumentClosed() override { ++closedCount; }

    Extended ra = 7.4777, dec = 20.9117;  // NGC 2392
    Extended jd = 2452379.25L;
    const Raster* layer = nullptr;
    int closedCount = 0;

private:
    SkyCatalogs& sky_;
};

struct Rig {
    test::FakePlatform fake;
    test::SaveChooser chooser;
    test::TempFolder folder;
    platform::Services services;
    app::OptsRec opts = test::CameraOpts(128);
    std::unique_ptr<SkyCatalogs> sky;
    std::unique_ptr<FakeHandOff> handOff;
    std::unique_ptr<ccd::TCCDCam> cam;

    explicit Rig(bool testMode, const std::function<void(app::OptsRec&)>& setUp = {}) : services(fake.services()) {
        services.chooser = &chooser;
        opts.testMode = testMode;
        if (setUp) setUp(opts);
        opts.camera.readNoise = 5;
        sky = std::make_unique<SkyCatalogs>(services, opts);
        handOff = std::make_unique<FakeHandOff>(*sky);
        test::AddObject(sky->instrument.objects, test::Star("NGC 2392", 7.4777, 20.9117, 10.0f));
        ccd::CameraContext ctx;
        ctx.objectId = "LAB7";
        ctx.observers = {"Ann Lee", "Bo O'Hara", "", ""};
        ctx.userFolder = folder.path();
        cam = std::make_unique<ccd::TCCDCam>(*handOff, services, opts, ctx);
        cam->show();
    }
    template <class T> T* find(const char* name) { return cam->findChild<T*>(QLatin1String(name)); }
    QString status() { return find<QLineEdit>("StatusEd")->text(); }
    void expose(const QString& text) {
        find<QLineEdit>("ExpEd")->setText(text);
        QTest::mouseClick(find<QPushButton>("GoBtn"), Qt::LeftButton);
    }
};

void Shot(QWidget* w, const char* name) {
    const QByteArray dir = qgetenv("QNR_SCREENSHOT_DIR");
    if (!dir.isEmpty()) w->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name));
}

// The whole screen, as a person sees the windows over each other (a real display only).
void ScreenShot(const char* name) {
    const QByteArray dir = qgetenv("QNR_SCREENSHOT_DIR");
    if (dir.isEmpty() || QGuiApplication::platformName() == QLatin1String("offscreen")) return;
    QApplication::processEvents();
    QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(dir) + QLatin1Char('/') +
                                                          QLatin1String(name));
}

// Runs `act` on the modal dialog that is about to open.
void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return WhenModal(act);
        act(modal);
        if (QTest::currentTestFailed())
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
}

}  // namespace

class CCDCamTest : public QObject {
    Q_OBJECT

private slots:
    void exposeInTestModeAndSave();
    void countdownAndStopEarly();
    void guards();
    void helpShowsTheListOrSaysThereIsNoneYet();
    void parametersOpenBesideTheCamera();
};

void CCDCamTest::exposeInTestModeAndSave() {
    Rig rig(true);
    QCOMPARE(rig.cam->windowTitle(), QStringLiteral("Toval CCD Camera Control"));
    QCOMPARE(rig.status(), QStringLiteral("Startup"));
    QCOMPARE(rig.find<ui::SevenSegmentDisplay>("WdDsply")->text(), QStringLiteral("1.15"));  // 128 x 24 um at 9144 mm: 1.155
    QCOMPARE(rig.find<ui::MultiPositionSwitch>("FltrSlider")->count(), 3);
    QVERIFY(!rig.cam->Image1->isEnabled());

    rig.expose(QStringLiteral("30"));
    QCOMPARE(rig.status(), QStringLiteral("Shutter Open"));
    QVERIFY(rig.find<QPushButton>("StopBtn")->isEnabled());
    QVERIFY(!rig.find<QPushButton>("GoBtn")->isEnabled());
    QVERIFY(rig.cam->ObsTimer->isActive());
    QCOMPARE(rig.find<ui::SevenSegmentDisplay>("ExpClock")->text(), QStringLiteral("0:30"));

    rig.cam->ObsTimerTimer();  // Test Mode: done at the first tick
    QVERIFY(!rig.cam->ObsTimer->isActive());
    QVERIFY(rig.cam->imageShown());
    QVERIFY(!rig.cam->imageSaved());
    QVERIFY(rig.cam->Image1->isEnabled());
    const QImage& shown = rig.cam->displayBitmap();
    QCOMPARE(shown.size(), QSize(128, 128));
    QCOMPARE(qGray(shown.pixel(64, 64)), 255);  // the star, above the high cut
    // The sky: the low cut lies 0.75 spreads above its mean, so most of it is black.
    int dark = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) dark += qGray(shown.pixel(x, y)) == 0;
    QVERIFY(dark > 200);
    Shot(rig.cam.get(), "ccd-camera.png");

    // Saved under the proposed name, then the next number is proposed.
    rig.chooser.answers = {rig.folder.file("Qnra-LAB7-01.FIT")};
    rig.cam->Image1->trigger();
    QCOMPARE(rig.chooser.saves.at(0).defaultName, std::string("Qnra-LAB7-01.FIT"));
    QCOMPARE(rig.chooser.saves.at(0).startFolder, rig.folder.path());
    QVERIFY(rig.cam->imageSaved());
    QCOMPARE(rig.status(), QStringLiteral("Image Saved"));
    QCOMPARE(test::ReadAll(rig.folder.file("Qnra-LAB7-01.FIT")).size(), std::size_t(2880 * 24));  // 1 header block, 23 data blocks;
    rig.chooser.answers = {std::nullopt};
    rig.cam->Image1->trigger();
    QCOMPARE(rig.chooser.saves.at(1).defaultName, std::string("Qnra-LAB7-02.FIT"));

    // Closing with the image saved asks nothing and removes the display copy.
    QVERIFY(rig.fake.files.exists(rig.folder.file("CCDImage.BMP")));
    rig.fake.dialogs.clear();
    QVERIFY(rig.cam->close());
    QVERIFY(rig.fake.dialogs.messages.empty());
    QCOMPARE(rig.handOff->closedCount, 1);
    QVERIFY(!rig.fake.files.exists(rig.folder.file("CCDImage.BMP")));
}

void CCDCamTest::countdownAndStopEarly() {
    Rig rig(false);
    rig.expose(QStringLiteral("60"));
    for (int i = 0; i < 10; ++i) rig.cam->ObsTimerTimer();
    QCOMPARE(rig.cam->remainingSeconds(), 50);
    QCOMPARE(rig.find<ui::SevenSegmentDisplay>("ExpClock")->text(), QStringLiteral("0:50"));

    // Cancel keeps the shutter open.
    rig.fake.dialogs.script({platform::Answer::Cancel});
    QTest::mouseClick(rig.find<QPushButton>("StopBtn"), Qt::LeftButton);
    QCOMPARE(rig.fake.dialogs.messages.back().caption, std::string("Exposure Stopped Prematurely"));
    QCOMPARE(rig.fake.dialogs.messages.back().buttons, platform::Buttons::YesNoCancel);
    QCOMPARE(rig.status(), QStringLiteral("Shutter Open"));
    QVERIFY(rig.cam->ObsTimer->isActive());

    // The telescope drifts away; Yes keeps a 10-second image at the start's pointing.
    rig.handOff->ra += 0.01;
    rig.fake.dialogs.script({platform::Answer::Yes});
    QTest::mouseClick(rig.find<QPushButton>("StopBtn"), Qt::LeftButton);
    QCOMPARE(rig.cam->exposureSeconds(), 10);
    QCOMPARE(rig.find<QLineEdit>("ExpEd")->text(), QStringLiteral("10"));
    QCOMPARE(rig.find<ui::SevenSegmentDisplay>("ExpClock")->text(), QStringLiteral("0:00"));
    QCOMPARE(rig.status(), QStringLiteral("Shutter Closed-View/Save Image"));
    QVERIFY(rig.cam->imageShown());
    QVERIFY(rig.find<QPushButton>("GoBtn")->isEnabled());
    QVERIFY(!rig.find<QPushButton>("StopBtn")->isEnabled());
    QCOMPARE(rig.cam->image()->field.list.size(), std::size_t(1));
    QVERIFY(std::abs(rig.cam->image()->field.list[0].x - 64) < 1);  // still at the centre
    QVERIFY(std::abs(static_cast<double>(rig.cam->image()->field.exposureDays * 86400) - 10) < 1e-9);
    QVERIFY(rig.fake.dialogs.beeps >= 2);

    // In minutes: 10 seconds shows as 0.167.
    rig.find<ui::MultiPositionSwitch>("MinSecSw")->setValue(0);
    QCOMPARE(rig.find<QLineEdit>("ExpEd")->text(), QStringLiteral("0.167"));
    rig.cam->hide();
    rig.fake.dialogs.script({platform::Answer::Yes});
}

void CCDCamTest::guards() {
    Rig rig(true);
    struct Row { const char* text; int minutes; } bad[] = {{"abc", 0}, {"0", 0}, {"-5", 0}, {"0.004", 1}};
    for (const Row& r : bad) {
        rig.fake.dialogs.clear();
        rig.find<ui::MultiPositionSwitch>("MinSecSw")->setValue(r.minutes ? 0 : 1);
        rig.expose(QLatin1String(r.text));
        QCOMPARE(rig.fake.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(rig.fake.dialogs.messages[0].caption, std::string("Invalid Exposure Time!"));
        QVERIFY(!rig.cam->ObsTimer->isActive());
    }
    rig.find<ui::MultiPositionSwitch>("MinSecSw")->setValue(0);
    rig.expose(QStringLiteral("0.5"));
    QCOMPARE(rig.cam->exposureSeconds(), 30);
    rig.cam->ObsTimerTimer();
    QVERIFY(!rig.cam->imageSaved());

    // Starting again asks about the unsaved image; No drops it.
    rig.fake.dialogs.clear();
    rig.fake.dialogs.script({platform::Answer::No});
    rig.expose(QStringLiteral("0.5"));
    QCOMPARE(rig.fake.dialogs.messages.at(0).caption, std::string("Image Not Saved!"));
    rig.cam->ObsTimerTimer();

    // Closing with an unsaved image asks; No keeps the window.
    rig.fake.dialogs.clear();
    rig.fake.dialogs.script({platform::Answer::No});
    QVERIFY(!rig.cam->close());
    QVERIFY(rig.cam->isVisible());
    QCOMPARE(rig.fake.dialogs.messages.at(0).text,
             std::string("You have not saved the current image!  You will lose the image if you close the CCD "
                         "camera now.\r\n\r\nClose CCD camera anyway?"));
    rig.fake.dialogs.script({platform::Answer::Yes});
    QVERIFY(rig.cam->close());
}

void CCDCamTest::helpShowsTheListOrSaysThereIsNoneYet() {
    test::TempFolder program;
    Rig rig(true, [&](app::OptsRec& o) {
        o.programFolder = program.path();
        o.cameraHelpList = "CamHlp.LST";
    });
    QVERIFY(rig.cam->Help1->isEnabled());  // a list is named

    // Its file is not there yet: said plainly, not silence.
    rig.cam->Help1->trigger();
    QCOMPARE(rig.fake.dialogs.messages.size(), std::size_t(1));
    QCOMPARE(rig.fake.dialogs.messages[0].caption, std::string("No Help Available"));
    QCOMPARE(rig.fake.dialogs.messages[0].text, "There is no help for this window yet.\r\n\r\nThe help list " +
                                                    program.file("CamHlp.LST") + " is not installed.");

    // With the list and its texts: the chooser, then the chosen topic.
    auto bytes = [](const std::string& t) { return std::vector<std::uint8_t>(t.begin(), t.end()); };
    test::WriteAll(program.file("CamHlp.LST"), bytes("\"Taking an Image\" \"CAMERA.HLP\"\r\n\"Saving\" \"CAMERA.HLP\"\r\n"));
    test::WriteAll(program.file("CAMERA.HLP"),
                   bytes("*Taking an Image*\r\nType the exposure time, choose the filter and the gain, then press "
                         "Start. The image shows when the countdown reaches zero.\r\n*Saving*\r\nSave Image "
                         "writes the image as a FITS file in your folder.\r\n*****\r\n"));
    rig.fake.dialogs.clear();
    bool chooserSeen = false;
    WhenModal([&](QWidget* modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("Select Help Topic"));
        chooserSeen = true;
        auto* box = modal->findChild<QListWidget*>(QStringLiteral("HlpLstBox"));
        QCOMPARE(box->count(), 2);
        box->setCurrentRow(0);
        ScreenShot("ccd-camera-help-chooser.png");
        modal->findChild<QAction*>(QStringLiteral("ReadPrintTopic1"))->trigger();
    });
    rig.cam->Help1->trigger();
    QVERIFY(chooserSeen);
    QVERIFY(rig.fake.dialogs.messages.empty());
    QWidget* viewer = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("HelpWin") && w->isVisible()) viewer = w;
    QVERIFY(viewer);
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Help - Taking an Image"));
    ScreenShot("ccd-camera-help-topic.png");
    viewer->close();
}

// The parameter list is placed by no rule of its own: it opens beside the
// camera (or over it, below its menu bar), on the screen, not in the screen's
// corner over whatever window lies there.
void CCDCamTest::parametersOpenBesideTheCamera() {
    Rig rig(true);
    QVERIFY(QTest::qWaitForWindowExposed(rig.cam.get()));
    rig.cam->Information1->trigger();
    QWidget* list = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == QLatin1String("CCD Camera Parameters")) list = w;
    QVERIFY(list);
    QApplication::processEvents();
    const QRect area = rig.cam->screen()->availableGeometry();
    const QRect placed = list->frameGeometry();
    QVERIFY2(area.contains(placed), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(placed.x()).arg(placed.y())
                                                    .arg(placed.width()).arg(placed.height())));
    QWidget* menu = rig.cam->menuWidget();
    const QRect menuOnScreen(menu->mapToGlobal(QPoint(0, 0)), menu->size());
    QVERIFY(!placed.intersects(menuOnScreen));
    const QRect cam = rig.cam->frameGeometry();
    const bool beside = placed.left() > cam.right() || placed.right() < cam.left();
    const bool over = cam.contains(placed.topLeft());
    QVERIFY(beside || over);
    ScreenShot("ccd-camera-parameters.png");
    list->close();
}

QTEST_MAIN(CCDCamTest)
#include "CCDCamTest.moc"
