// The instrument-panel widgets driven as a user would: mouse and keys on real
// widgets, values read back, pictures checked where the picture is the point.
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>
#include <functional>

#include "panelart/Glyphs.h"
#include "platform/FileSystem.h"
#include "support/Fakes.h"
#include "ui/panel/DigitGlyphs.h"
#include "ui/panel/IndicatorLamp.h"
#include "ui/panel/MultiPositionSwitch.h"
#include "ui/panel/RockerSwitch.h"
#include "ui/panel/SegmentShapes.h"
#include "ui/panel/SevenSegmentDisplay.h"
#include "ui/panel/ToggleSwitch.h"

using namespace qnr;
using ui::RockerSwitch;

namespace {

QImage Picture(QWidget& w) {
    w.resize(w.sizeHint());
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int CountPixels(const QImage& image, const std::function<bool(QColor)>& pred) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (pred(image.pixelColor(x, y))) ++n;
    return n;
}

bool BrightRed(QColor c) { return c.red() > 200 && c.green() < 120; }

// Writes a complete glyph set of plain colours, one per character, under
// names whose case differs from the expected ones.
void WriteColourGlyphs(const std::string& folder, QSize size) {
    int k = 0;
    for (char c : ui::segments::Characters) {
        QImage img(size, QImage::Format_RGB32);
        img.fill(QColor::fromHsv((k++ * 25) % 360, 255, 255));
        std::string name = ui::segments::GlyphFileName(c);
        for (char& ch : name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        QVERIFY(img.save(QString::fromStdString(folder + name), "BMP"));
    }
}

}  // namespace

class PanelTest : public QObject {
    Q_OBJECT

private slots:
    void lampLightsAndTellsOnce();
    void lampPicture_data();
    void lampPicture();

    void rockerMomentary_data();
    void rockerMomentary();
    void rockerLatching();
    void rockerKeysAndDisable();
    void rockerDisabledIgnoresClicks();

    void toggleByClickAndKey();
    void toggleSetDoesNotClaimUser();
    void toggleReleaseOutsideCancels();
    void toggleDisabled();

    void multiClickEveryMark();
    void multiKeysWheelAndBounds();
    void multiRelabelKeepsOrClamps();

    void displayText_data();
    void displayText();
    void displaySegmentsLight();
    void displayGlyphsFromFolder();
    void displayIncompleteGlyphsFallBack();
    void generatedGlyphsLoad();

    void gallery();
};

void PanelTest::lampLightsAndTellsOnce() {
    ui::IndicatorLamp lamp(ui::IndicatorLamp::Red(), ui::IndicatorLamp::Shape::Round);
    lamp.setObjectName("IsClosedLED");
    QSignalSpy spy(&lamp, &ui::IndicatorLamp::litChanged);
    QVERIFY(!lamp.isLit());
    lamp.setLit(true);
    lamp.setLit(true);  // no change, no signal
    lamp.setLit(false);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy[0][0].toBool(), true);
    QCOMPARE(spy[1][0].toBool(), false);
    QCOMPARE(lamp.property("lit").toBool(), false);
}

void PanelTest::lampPicture_data() {
    QTest::addColumn<int>("shape");
    QTest::newRow("round") << int(ui::IndicatorLamp::Shape::Round);
    QTest::newRow("arrow up") << int(ui::IndicatorLamp::Shape::ArrowUp);
    QTest::newRow("arrow left") << int(ui::IndicatorLamp::Shape::ArrowLeft);
}

// A lit green lamp shows clearly green light; unlit it is dark. The same
// lamp disabled still shows its state.
void PanelTest::lampPicture() {
    QFETCH(int, shape);
    ui::IndicatorLamp lamp(ui::IndicatorLamp::Green(), ui::IndicatorLamp::Shape(shape));
    auto green = [](QColor c) { return c.green() > 180 && c.red() < 150; };
    const int dark = CountPixels(Picture(lamp), green);
    lamp.setLit(true);
    const int lit = CountPixels(Picture(lamp), green);
    QCOMPARE(dark, 0);
    QVERIFY2(lit > 30, qPrintable(QString::number(lit)));
    lamp.setEnabled(false);
    QCOMPARE(CountPixels(Picture(lamp), green), lit);
}

void PanelTest::rockerMomentary_data() {
    QTest::addColumn<bool>("upper");
    QTest::newRow("up") << true;
    QTest::newRow("down") << false;
}

// A press rocks the switch at once and says which way; the release springs it
// back. A handler sees the new position when it runs.
void PanelTest::rockerMomentary() {
    QFETCH(bool, upper);
    RockerSwitch rocker;
    rocker.setObjectName("DomeSw1");
    rocker.setLabels("OPEN", "CLOSE");
    rocker.resize(rocker.sizeHint());
    QSignalSpy up(&rocker, &RockerSwitch::upPressed);
    QSignalSpy down(&rocker, &RockerSwitch::downPressed);
    QSignalSpy moved(&rocker, &RockerSwitch::positionChanged);
    RockerSwitch::Position seen = RockerSwitch::Position::Centre;
    auto look = [&] { seen = rocker.position(); };
    connect(&rocker, &RockerSwitch::upPressed, this, look);
    connect(&rocker, &RockerSwitch::downPressed, this, look);

    const QPoint at(rocker.width() / 2, upper ? rocker.height() / 3 : rocker.height() * 2 / 3);
    const auto expected = upper ? RockerSwitch::Position::Up : RockerSwitch::Position::Down;
    QTest::mousePress(&rocker, Qt::LeftButton, {}, at);
    QCOMPARE(rocker.position(), expected);
    QCOMPARE(seen, expected);
    QCOMPARE(up.count(), upper ? 1 : 0);
    QCOMPARE(down.count(), upper ? 0 : 1);
    QTest::mouseRelease(&rocker, Qt::LeftButton, {}, at);
    QCOMPARE(rocker.position(), RockerSwitch::Position::Centre);
    QCOMPARE(moved.count(), 2);
    QCOMPARE(up.count() + down.count(), 1);  // the release is no second command
}

void PanelTest::rockerLatching() {
    RockerSwitch rocker;
    rocker.setMomentary(false);
    rocker.resize(rocker.sizeHint());
    QSignalSpy up(&rocker, &RockerSwitch::upPressed);
    QSignalSpy down(&rocker, &RockerSwitch::downPressed);
    const QPoint top(rocker.width() / 2, 8), bottom(rocker.width() / 2, rocker.height() - 8);
    QTest::mouseClick(&rocker, Qt::LeftButton, {}, top);
    QCOMPARE(rocker.position(), RockerSwitch::Position::Up);
    QTest::mouseClick(&rocker, Qt::LeftButton, {}, top);  // pressing up again is still a command
    QCOMPARE(up.count(), 2);
    QTest::mouseClick(&rocker, Qt::LeftButton, {}, bottom);
    QCOMPARE(rocker.position(), RockerSwitch::Position::Down);
    QCOMPARE(down.count(), 1);
    // The window may put it back without issuing a command.
    rocker.setPosition(RockerSwitch::Position::Centre);
    QCOMPARE(rocker.positionValue(), 0);
    QCOMPARE(up.count() + down.count(), 3);
    // Back to momentary: it does not stay rocked.
    QTest::mouseClick(&rocker, Qt::LeftButton, {}, bottom);
    rocker.setMomentary(true);
    QCOMPARE(rocker.position(), RockerSwitch::Position::Centre);
}

void PanelTest::rockerKeysAndDisable() {
    RockerSwitch rocker;
    rocker.resize(rocker.sizeHint());
    QSignalSpy up(&rocker, &RockerSwitch::upPressed);
    QSignalSpy down(&rocker, &RockerSwitch::downPressed);
    QTest::keyPress(&rocker, Qt::Key_Up);
    QCOMPARE(rocker.position(), RockerSwitch::Position::Up);
    QTest::keyPress(&rocker, Qt::Key_Down);  // held up: the other key waits
    QCOMPARE(down.count(), 0);
    QTest::keyRelease(&rocker, Qt::Key_Up);
    QCOMPARE(rocker.position(), RockerSwitch::Position::Centre);
    QTest::keyClick(&rocker, Qt::Key_Down);
    QCOMPARE(down.count(), 1);
    QCOMPARE(up.count(), 1);

    // A handler that disables the switch while it is held must not leave it rocked.
    connect(&rocker, &RockerSwitch::upPressed, &rocker, [&] { rocker.setEnabled(false); });
    QTest::mousePress(&rocker, Qt::LeftButton, {}, QPoint(rocker.width() / 2, 6));
    QCOMPARE(rocker.position(), RockerSwitch::Position::Centre);
}

void PanelTest::rockerDisabledIgnoresClicks() {
    RockerSwitch rocker;
    rocker.resize(rocker.sizeHint());
    const QImage enabledPicture = Picture(rocker);
    rocker.setEnabled(false);
    QSignalSpy up(&rocker, &RockerSwitch::upPressed);
    QTest::mouseClick(&rocker, Qt::LeftButton, {}, QPoint(rocker.width() / 2, 6));
    QCOMPARE(up.count(), 0);
    QCOMPARE(rocker.position(), RockerSwitch::Position::Centre);
    QVERIFY(Picture(rocker) != enabledPicture);  // the disabled state shows
}

void PanelTest::toggleByClickAndKey() {
    ui::ToggleSwitch sw;
    sw.setObjectName("OptCntrlSw");
    sw.setText("Off");
    sw.resize(sw.sizeHint());
    QSignalSpy toggled(&sw, &ui::ToggleSwitch::toggled);
    QSignalSpy clicked(&sw, &ui::ToggleSwitch::clicked);
    QTest::mouseClick(&sw, Qt::LeftButton, {}, sw.rect().center());
    QVERIFY(sw.isOn());
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked[0][0].toBool(), true);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) QTest::keyClick(&sw, key);
    QVERIFY(!sw.isOn());  // three flips from on
    QCOMPARE(toggled.count(), 4);
    QCOMPARE(clicked.count(), 4);
    QTest::keyClick(&sw, Qt::Key_A);  // other keys do nothing
    QCOMPARE(toggled.count(), 4);
    sw.setText("On");
    QCOMPARE(sw.text(), QString("On"));
    QCOMPARE(sw.property("on").toBool(), false);
}

void PanelTest::toggleSetDoesNotClaimUser() {
    ui::ToggleSwitch sw;
    QSignalSpy toggled(&sw, &ui::ToggleSwitch::toggled);
    QSignalSpy clicked(&sw, &ui::ToggleSwitch::clicked);
    sw.setOn(true);
    sw.setOn(true);
    QCOMPARE(toggled.count(), 1);
    QCOMPARE(clicked.count(), 0);
    // The lamp shows the state.
    const int litOn = CountPixels(Picture(sw), [](QColor c) { return c.green() > 180 && c.red() < 150; });
    sw.setOn(false);
    const int litOff = CountPixels(Picture(sw), [](QColor c) { return c.green() > 180 && c.red() < 150; });
    QVERIFY(litOn > 10);
    QCOMPARE(litOff, 0);
}

void PanelTest::toggleReleaseOutsideCancels() {
    QWidget host;
    ui::ToggleSwitch* sw = new ui::ToggleSwitch(&host);
    sw->resize(sw->sizeHint());
    host.resize(200, 200);
    QTest::mousePress(sw, Qt::LeftButton, {}, sw->rect().center());
    QTest::mouseRelease(sw, Qt::LeftButton, {}, QPoint(sw->width() + 40, sw->height() + 40));
    QVERIFY(!sw->isOn());
}

void PanelTest::toggleDisabled() {
    ui::ToggleSwitch sw;
    sw.setText("On");
    const QImage enabledPicture = Picture(sw);
    sw.setEnabled(false);
    QTest::mouseClick(&sw, Qt::LeftButton, {}, sw.rect().center());
    QTest::keyClick(&sw, Qt::Key_Return);
    QVERIFY(!sw.isOn());
    QVERIFY(Picture(sw) != enabledPicture);
}

// The rate selector's labels: a click on each mark picks that position.
void PanelTest::multiClickEveryMark() {
    ui::MultiPositionSwitch sw({"1", "2", "4", "8", "16"});
    sw.setObjectName("RateSlider");
    sw.resize(sw.sizeHint());
    QSignalSpy activated(&sw, &ui::MultiPositionSwitch::activated);
    for (int i : {4, 0, 3, 1, 2}) {
        QTest::mouseClick(&sw, Qt::LeftButton, {}, sw.markPoint(i).toPoint());
        QCOMPARE(sw.value(), i);
        QCOMPARE(activated.last()[0].toInt(), i);
    }
    QCOMPARE(activated.count(), 5);
    QCOMPARE(sw.valueLabel(), QString("4"));
    // Clicking the chosen position again is no change.
    QTest::mouseClick(&sw, Qt::LeftButton, {}, sw.markPoint(2).toPoint());
    QCOMPARE(activated.count(), 5);

    // A wide arc (eight positions reach round below the knob) picks the same way.
    ui::MultiPositionSwitch wide({"a", "b", "c", "d", "e", "f", "g", "h"});
    wide.resize(wide.sizeHint());
    for (int i = 7; i >= 0; --i) {
        QTest::mouseClick(&wide, Qt::LeftButton, {}, wide.markPoint(i).toPoint());
        QCOMPARE(wide.value(), i);
    }
    // So does a chosen arc: three positions at left, up and right.
    ui::MultiPositionSwitch three({"CCD Camera", "Photometer", "Spectrometer"});
    three.setSweep(180);
    three.resize(three.sizeHint());
    for (int i : {2, 0, 1}) {
        QTest::mouseClick(&three, Qt::LeftButton, {}, three.markPoint(i).toPoint());
        QCOMPARE(three.value(), i);
    }
    QCOMPARE(three.markPoint(0).y(), three.markPoint(2).y());
    QVERIFY(three.markPoint(1).y() < three.markPoint(0).y());
}

void PanelTest::multiKeysWheelAndBounds() {
    ui::MultiPositionSwitch sw({"CCD Camera", "Photometer", "Spectrometer"});
    sw.resize(sw.sizeHint());
    QSignalSpy changed(&sw, &ui::MultiPositionSwitch::valueChanged);
    QSignalSpy activated(&sw, &ui::MultiPositionSwitch::activated);
    QTest::keyClick(&sw, Qt::Key_Right);
    QTest::keyClick(&sw, Qt::Key_Up);
    QCOMPARE(sw.value(), 2);
    QTest::keyClick(&sw, Qt::Key_Right);  // no wrap past the end
    QCOMPARE(sw.value(), 2);
    QCOMPARE(activated.count(), 2);
    QTest::keyClick(&sw, Qt::Key_Home);
    QCOMPARE(sw.value(), 0);

    const QPointF centre = QRectF(sw.rect()).center();
    QWheelEvent wheel(centre, sw.mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&sw, &wheel);
    QCOMPARE(sw.value(), 1);

    sw.setValue(7);  // clamped, and not a user change
    QCOMPARE(sw.value(), 2);
    QCOMPARE(activated.count(), 4);
    QCOMPARE(changed.count(), 5);

    sw.setEnabled(false);
    QTest::mouseClick(&sw, Qt::LeftButton, {}, sw.markPoint(0).toPoint());
    QTest::keyClick(&sw, Qt::Key_Left);
    QCOMPARE(sw.value(), 2);
}

void PanelTest::multiRelabelKeepsOrClamps() {
    ui::MultiPositionSwitch sw({"1", "2", "4", "8", "16"});
    sw.setValue(3);
    sw.setLabels({"a", "b", "c", "d"});
    QCOMPARE(sw.value(), 3);
    sw.setLabels({"a", "b"});
    QCOMPARE(sw.value(), 0);
    sw.setLabels({});
    QCOMPARE(sw.count(), 1);
}

void PanelTest::displayText_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("shown");
    QTest::newRow("clock") << "12:34:56" << "12:34:56";
    QTest::newRow("julian date") << "2452379.000000" << "2452379.000000";
    QTest::newRow("signed") << "-05" << "-05";
    QTest::newRow("blanks") << " 7 " << " 7 ";
    QTest::newRow("foreign characters blank") << "1h2+3" << "1 2 3";
    QTest::newRow("empty") << "" << "";
}

void PanelTest::displayText() {
    QFETCH(QString, given);
    QFETCH(QString, shown);
    ui::SevenSegmentDisplay d(8);
    d.setObjectName("RAClock");
    QSignalSpy spy(&d, &ui::SevenSegmentDisplay::textChanged);
    d.setText("x");
    d.setText(given);
    QCOMPARE(d.text(), shown);
    QCOMPARE(d.value(), shown);
    QCOMPARE(spy.count(), 2);
    // Eight cells unless the text needs more.
    const int cells = qMax(8, int(shown.size()));
    QCOMPARE(d.sizeHint().width(), cells * ui::segments::GlyphWidth + 6);
}

// Drawn as segments, "8" lights all seven, "1" two, a blank none.
void PanelTest::displaySegmentsLight() {
    auto lit = [](const QString& text) {
        ui::SevenSegmentDisplay d(1);
        d.setText(text);
        return CountPixels(Picture(d), BrightRed);
    };
    const int eight = lit("8"), one = lit("1"), minus = lit("-"), blank = lit(" ");
    QCOMPARE(blank, 0);
    QVERIFY(one > 0);
    QVERIFY(minus > 0 && minus < one);  // one bar against two
    QVERIFY(eight > 2 * one + 2 * minus);
    QVERIFY(lit("0") < eight && lit("0") > 2 * one);
    QVERIFY(lit(":") > 0 && lit(".") > 0 && lit(".") < lit(":"));
}

// A complete set is found under names of any case and each cell shows its
// own picture, at the pictures' own size.
void PanelTest::displayGlyphsFromFolder() {
    test::TempFolder folder;
    const QSize size(12, 20);
    WriteColourGlyphs(folder.path(), size);
    platform::StdFileSystem files;
    const ui::DigitGlyphs glyphs = ui::DigitGlyphs::Load(files, folder.path());
    QVERIFY(glyphs.complete());
    QCOMPARE(glyphs.size(), size);

    ui::SevenSegmentDisplay d(4);
    d.setGlyphs(glyphs);
    QVERIFY(d.usesGlyphs());
    QCOMPARE(d.sizeHint(), QSize(4 * 12 + 6, 20 + 6));
    const QString text = "-9:.";
    d.setText(text);
    const QImage picture = Picture(d);
    for (int i = 0; i < text.size(); ++i) {
        const QColor want = glyphs.glyph(text[i].toLatin1()).pixelColor(0, 0);
        const QColor got = picture.pixelColor(3 + i * 12 + 6, 3 + 10);
        QCOMPARE(got.rgb(), want.rgb());
    }
    // Right-aligned: the short text leaves the blank glyph in front.
    d.setText("5");
    QCOMPARE(Picture(d).pixelColor(3 + 6, 13).rgb(), glyphs.glyph(' ').pixelColor(0, 0).rgb());
}

void PanelTest::displayIncompleteGlyphsFallBack() {
    test::TempFolder folder;
    WriteColourGlyphs(folder.path(), QSize(12, 20));
    platform::StdFileSystem files;
    QVERIFY(files.removeFile(folder.file("COLON.BMP")) == 0);
    QImage odd(13, 20, QImage::Format_RGB32);
    odd.fill(Qt::white);
    QVERIFY(odd.save(QString::fromStdString(folder.file("DIGIT_3.BMP")), "BMP"));

    const ui::DigitGlyphs glyphs = ui::DigitGlyphs::Load(files, folder.path());
    QVERIFY(!glyphs.complete());
    QCOMPARE(glyphs.missing(), (std::vector<std::string>{"Digit_3.bmp", "colon.bmp"}));
    ui::SevenSegmentDisplay d(2);
    d.setGlyphs(glyphs);
    QVERIFY(!d.usesGlyphs());
    d.setText("88");
    QVERIFY(CountPixels(Picture(d), BrightRed) > 0);  // segments, not the pictures

    const ui::DigitGlyphs none = ui::DigitGlyphs::Load(files, folder.path() + "nowhere/");
    QCOMPARE(none.missing().size(), ui::segments::Characters.size());
}

// The pictures the build generates are a complete set the displays take.
void PanelTest::generatedGlyphsLoad() {
    test::TempFolder folder;
    for (char c : ui::segments::Characters)
        test::WriteAll(folder.file(ui::segments::GlyphFileName(c)), panelart::GlyphPicture(c));
    platform::StdFileSystem files;
    const ui::DigitGlyphs glyphs = ui::DigitGlyphs::Load(files, folder.path());
    QVERIFY(glyphs.complete());
    QCOMPARE(glyphs.size(), QSize(ui::segments::GlyphWidth, ui::segments::GlyphHeight));
    auto red = [&](char c) { return CountPixels(glyphs.glyph(c), BrightRed); };
    QCOMPARE(red(' '), 0);
    QVERIFY(red('8') > red('0') && red('0') > red('7') && red('7') > red('1') && red('1') > red('-'));
}

// Every widget together on one panel, as a picture to look at; saved when
// QNR_PANEL_GALLERY names a file.
void PanelTest::gallery() {
    QWidget panel;
    panel.setObjectName("gallery");
    panel.setStyleSheet("QWidget#gallery { background: #26292d; } QLabel { color: #e8e4d8; }");
    auto* grid = new QGridLayout(&panel);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->setHorizontalSpacing(14);

    auto* dome = new RockerSwitch;
    dome->setObjectName("DomeSw1");
    dome->setLabels("Open", "Close");
    using Lamp = ui::IndicatorLamp;
    auto* openL = new Lamp(Lamp::Green(), Lamp::Shape::ArrowUp);
    auto* closeL = new Lamp(Lamp::Red(), Lamp::Shape::ArrowDown);
    auto* isOpen = new Lamp(Lamp::Green(), Lamp::Shape::Round);
    auto* isClosed = new Lamp(Lamp::Red(), Lamp::Shape::Round);
    openL->setLit(true);
    isClosed->setLit(true);
    grid->addWidget(openL, 0, 0, Qt::AlignCenter);
    grid->addWidget(dome, 1, 0, Qt::AlignCenter);
    grid->addWidget(closeL, 2, 0, Qt::AlignCenter);
    auto* rocked = new RockerSwitch;
    rocked->setLabels("Open", "Close");
    rocked->setMomentary(false);
    rocked->setPosition(RockerSwitch::Position::Up);
    grid->addWidget(rocked, 1, 1, Qt::AlignCenter);
    grid->addWidget(isOpen, 0, 1, Qt::AlignCenter);
    grid->addWidget(isClosed, 2, 1, Qt::AlignCenter);

    auto* opt = new ui::ToggleSwitch;
    opt->setText("On");
    opt->setOn(true);
    auto* rad = new ui::ToggleSwitch;
    rad->setText("Off");
    rad->setEnabled(false);
    grid->addWidget(opt, 1, 2);
    grid->addWidget(rad, 1, 3);

    auto* rate = new ui::MultiPositionSwitch({"1", "2", "4", "8", "16"});
    rate->setValue(2);
    auto* inst = new ui::MultiPositionSwitch({"CCD Camera", "Photometer", "Spectrometer"});
    inst->setSweep(180);
    inst->setValue(2);
    inst->setEnabled(false);
    auto* wide = new ui::MultiPositionSwitch({"Off", "1", "2", "3", "4", "5", "6", "7"});
    wide->setValue(5);
    grid->addWidget(rate, 1, 4);
    grid->addWidget(inst, 1, 5);
    grid->addWidget(wide, 3, 6, 3, 1);

    test::TempFolder folder;
    for (char c : ui::segments::Characters)
        test::WriteAll(folder.file(ui::segments::GlyphFileName(c)), panelart::GlyphPicture(c));
    platform::StdFileSystem files;
    const ui::DigitGlyphs glyphs = ui::DigitGlyphs::Load(files, folder.path());
    auto* ra = new ui::SevenSegmentDisplay(8);
    ra->setGlyphs(glyphs);
    ra->setText("05:34:31");
    auto* tenths = new ui::SevenSegmentDisplay(2);
    tenths->setGlyphs(glyphs);
    tenths->setText(".9");
    auto* dec = new ui::SevenSegmentDisplay(9);
    dec->setText("-22 00 52");
    auto* digits = new ui::SevenSegmentDisplay(14);
    digits->setGlyphs(glyphs);
    digits->setText("0123456789 :.-");
    auto* segs = new ui::SevenSegmentDisplay(14);
    segs->setText("0123456789 :.-");
    grid->addWidget(new QLabel("RA (pictures)"), 3, 0, 1, 2);
    grid->addWidget(ra, 3, 2, 1, 3);
    grid->addWidget(tenths, 3, 5);
    grid->addWidget(new QLabel("Dec (segments)"), 4, 0, 1, 2);
    grid->addWidget(dec, 4, 2, 1, 3);
    grid->addWidget(digits, 5, 0, 1, 6);
    grid->addWidget(segs, 6, 0, 1, 6);

    panel.adjustSize();
    const QImage picture = panel.grab().toImage();
    QVERIFY(!picture.isNull());
    for (QWidget* w : panel.findChildren<QWidget*>()) QVERIFY(w->width() > 0 && w->height() > 0);
    const QByteArray out = qgetenv("QNR_PANEL_GALLERY");
    if (!out.isEmpty()) QVERIFY(picture.save(QString::fromLocal8Bit(out)));
}

QTEST_MAIN(PanelTest)
#include "PanelTest.moc"
