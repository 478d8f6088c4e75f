// The main window as created: its size, phase, options and logo.
#include <QImage>
#include <QLayout>
#include <QtTest>
#include <memory>

#include "app/win/Zarn_Obs.h"
#include "support/Fakes.h"

using namespace qnr;

class Environment1Test : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void creation();
    void logoFoundWithoutRegardToCase();
    void missingLogoLeavesDisplayBlack();
    void maximiseRefused();

private:
    std::unique_ptr<app::TEnvironment1> makeWindow();
    QImage grabDisplay(app::TEnvironment1& window);

    std::unique_ptr<test::TempFolder> program_, userData_;
    std::unique_ptr<test::FakePlatform> fake_;
    platform::Services services_;
    std::string startFolder_;
};

void Environment1Test::init() {
    program_ = std::make_unique<test::TempFolder>();
    userData_ = std::make_unique<test::TempFolder>();
    fake_ = std::make_unique<test::FakePlatform>();
    fake_->identity.program = program_->path();
    fake_->identity.userData = userData_->path();
    services_ = fake_->services();
    // Started from the program folder, as the desktop starts it.
    startFolder_ = fake_->files.currentFolder();
    QCOMPARE(fake_->files.setCurrentFolder(program_->path()), 0);
}

void Environment1Test::cleanup() {
    fake_->files.setCurrentFolder(startFolder_);
    fake_.reset();
    program_.reset();
    userData_.reset();
}

std::unique_ptr<app::TEnvironment1> Environment1Test::makeWindow() {
    return std::make_unique<app::TEnvironment1>(services_);
}

QImage Environment1Test::grabDisplay(app::TEnvironment1& window) {
    auto* crt = window.findChild<QWidget*>(QStringLiteral("CRT1"));
    if (!crt) return {};
    return crt->grab().toImage();
}

void Environment1Test::creation() {
    auto window = makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    QCOMPARE(window->windowTitle(), QStringLiteral("Quenara Exercise"));
    QCOMPARE(window->centralWidget()->size(), QSize(632, 434));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window->displayPhase(), app::DisplayPhase::Logo);

    auto* panel = window->findChild<QWidget*>(QStringLiteral("CrtPnl"));
    auto* crt = window->findChild<QWidget*>(QStringLiteral("CRT1"));
    QVERIFY(panel && crt);
    QCOMPARE(crt->parentWidget(), panel);
    QCOMPARE(crt->size(), QSize(476, 356));
    const QRect client(QPoint(0, 0), window->centralWidget()->size());
    QVERIFY(client.contains(QRect(crt->mapTo(window->centralWidget(), QPoint(0, 0)), crt->size())));
    auto* id = window->findChild<QWidget*>(QStringLiteral("IDPnl"));
    QVERIFY(id && !id->isVisible());

    // No options file anywhere: the defaults, silently, and the user data
    // kept out of the program folder.
    const app::OptsRec& opts = window->opts();
    QCOMPARE(opts.fileVersion, std::string("1.121"));
    QCOMPARE(opts.logoBitmap, std::string("ZARNLOGO.BMP"));
    QCOMPARE(opts.programFolder, program_->path());
    QCOMPARE(opts.dataFolder, userData_->path() + "ZARN/QUENARA/");
    QVERIFY(fake_->dialogs.messages.empty());
    QVERIFY(!window->hasLogo());
}

void Environment1Test::logoFoundWithoutRegardToCase() {
    QImage logo(120, 60, QImage::Format_RGB32);
    logo.fill(QColor(200, 30, 40));
    QVERIFY(logo.save(QString::fromStdString(program_->file("ZarnLogo.bmp")), "BMP"));

    auto window = makeWindow();
    window->show();
    QVERIFY(window->hasLogo());
    const QImage shown = grabDisplay(*window);
    QCOMPARE(shown.size(), QSize(476, 356));
    QCOMPARE(shown.pixelColor(0, 0), QColor(200, 30, 40));      // drawn at the top left
    QCOMPARE(shown.pixelColor(119, 59), QColor(200, 30, 40));
    QCOMPARE(shown.pixelColor(120, 60), QColor(Qt::black));     // the rest of the display stays black
    QCOMPARE(shown.pixelColor(475, 355), QColor(Qt::black));
}

void Environment1Test::missingLogoLeavesDisplayBlack() {
    // A file under the logo's name that is no picture counts as missing.
    test::WriteAll(program_->file("ZARNLOGO.BMP"), {'n', 'o', 't', ' ', 'a', ' ', 'B', 'M', 'P'});
    auto window = makeWindow();
    window->show();
    QVERIFY(!window->hasLogo());
    const QImage shown = grabDisplay(*window);
    QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::black));
    QCOMPARE(shown.pixelColor(238, 178), QColor(Qt::black));
    QVERIFY(fake_->dialogs.messages.empty());
}

void Environment1Test::maximiseRefused() {
    auto window = makeWindow();
    window->show();
    const QSize before = window->size();
    window->setWindowState(Qt::WindowMaximized);
    QVERIFY(!(window->windowState() & Qt::WindowMaximized));
    QCOMPARE(window->size(), before);
}

QTEST_MAIN(Environment1Test)
#include "Environment1Test.moc"
