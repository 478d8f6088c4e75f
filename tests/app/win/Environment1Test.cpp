// The main window: its size, phase, options and logo, and the whole exercise
// from login to exit driven through its real menus and dialogs.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>
#include <memory>

#include "../ExerciseFakes.h"
#include "app/win/Zarn_Obs.h"
#include "pictures/Cursor.h"
#include "support/Fakes.h"
#include "ui/QtFileChooser.h"

using namespace qnr;
using platform::Answer;

namespace {

// Runs the handlers one per modal dialog, in order, each once its dialog is up.
// The handlers run from the dialogs' own event loops (zero-time timers), so
// nothing waits on the clock.
class Modals {
public:
    void add(std::function<void(QWidget*)> handler) {
        handlers_.push_back(std::move(handler));
        if (handlers_.size() == 1) arm();
    }
    bool done() const { return handlers_.empty(); }

private:
    void arm() {
        QTimer::singleShot(0, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == handled_) {
                arm();
                return;
            }
            handled_ = modal;
            auto handler = std::move(handlers_.front());
            handlers_.pop_front();
            if (!handlers_.empty()) arm();
            handler(modal);
            // A failed check leaves its dialog open; end it so that the test
            // reports instead of hanging.
            if (QTest::currentTestFailed() && handled_ && handled_->isVisible())
                if (auto* dialog = qobject_cast<QDialog*>(handled_.data())) dialog->done(QDialog::Rejected);
        });
    }
    std::deque<std::function<void(QWidget*)>> handlers_;
    QPointer<QWidget> handled_;
};

template <class T>
T* Child(QWidget* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    if (!child) qWarning("no child %s", name);
    return child;
}

void Type(QWidget* dialog, const char* name, const QString& text) {
    auto* edit = Child<QLineEdit>(dialog, name);
    QVERIFY(edit);
    edit->clear();
    QTest::keyClicks(edit, text);
}

void Click(QWidget* dialog, const char* name) {
    auto* button = Child<QPushButton>(dialog, name);
    QVERIFY(button);
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

std::string Text(const std::vector<std::uint8_t>& b) { return std::string(b.begin(), b.end()); }

}  // namespace

class Environment1Test : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void creation();
    void logoFoundWithoutRegardToCase();
    void missingLogoLeavesDisplayBlack();
    void maximiseRefused();
    void loginToExit();
    void instructorWithThreeWrongPasswords();
    void mountDialogTakesATypedOrBrowsedPath();
    void accentedNameFolderInTheFileDialog_data();
    void accentedNameFolderInTheFileDialog();
    void cursorsAndAboutBox();

private:
    void writeOptions(const std::function<void(app::OptsRec&)>& edit);
    QAction* action(app::TEnvironment1& window, const char* name);
    // Every menu item, menu and panel control shows the state the exercise holds.
    void compareMenus(app::TEnvironment1& window);

    std::unique_ptr<app::TEnvironment1> makeWindow();
    QImage grabDisplay(app::TEnvironment1& window);

    std::unique_ptr<test::TempFolder> program_, userData_;
    std::unique_ptr<test::FakePlatform> fake_;
    std::unique_ptr<test::FakeChooser> chooser_;
    platform::Services services_;
    std::string startFolder_;
    std::string dataFolder_;
    Modals modals_;
};

void Environment1Test::init() {
    program_ = std::make_unique<test::TempFolder>();
    userData_ = std::make_unique<test::TempFolder>();
    fake_ = std::make_unique<test::FakePlatform>();
    fake_->identity.program = program_->path();
    fake_->identity.userData = userData_->path();
    chooser_ = std::make_unique<test::FakeChooser>();
    services_ = fake_->services();
    services_.chooser = chooser_.get();
    dataFolder_ = userData_->path() + "ZARN/QUENARA/";
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

void Environment1Test::writeOptions(const std::function<void(app::OptsRec&)>& edit) {
    QCOMPARE(fake_->files.makeFolders(dataFolder_), 0);
    test::FakeDialogs yes;
    yes.fallback = Answer::Yes;
    platform::Services s = services_;
    s.dialogs = &yes;
    app::OptsObj o(s);
    o.InitIdentification(app::OptionsFileName, app::ProgramVersion);
    o.SetDefaults();
    edit(o.rec);
    QVERIFY(o.Save(dataFolder_));
}

QAction* Environment1Test::action(app::TEnvironment1& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

void Environment1Test::compareMenus(app::TEnvironment1& window) {
    for (const auto& [name, state] : window.exercise().menus()) {
        const QString objectName = QString::fromStdString(name);
        if (auto* a = window.findChild<QAction*>(objectName)) {
            // Qt counts a hidden action as disabled.
            if (state.visible) QVERIFY2(a->isEnabled() == state.enabled, name.c_str());
            QVERIFY2(a->isVisible() == state.visible, name.c_str());
        } else {
            auto* w = window.findChild<QWidget*>(objectName);
            QVERIFY2(w, name.c_str());
            QVERIFY2(w->isEnabled() == state.enabled, name.c_str());
            QVERIFY2(w->isVisibleTo(&window) == state.visible, name.c_str());
        }
    }
}

void Environment1Test::loginToExit() {
    writeOptions([](app::OptsRec& o) { o.writeLogFile = true; });
    QImage title(200, 100, QImage::Format_RGB32);
    title.fill(QColor(20, 200, 40));
    QVERIFY(title.save(QString::fromStdString(program_->file("QNRTITLE.BMP")), "BMP"));
    QCOMPARE(fake_->files.makeFolders(program_->path() + "CGSC/TABLES/"), 0);
    test::WriteAll(program_->file("CGSC/TABLES/REGIONS.BIN"), {1, 2, 3});

    auto window = makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->displayPhase(), app::DisplayPhase::Logo);
    QVERIFY(action(*window, "Login1")->isEnabled());
    QVERIFY(!action(*window, "Run1")->isEnabled());
    QVERIFY(!action(*window, "SetDateTime1")->isVisible());
    QVERIFY(!action(*window, "Telescopes1")->isEnabled());
    compareMenus(*window);

    // File, Login...: the names and the table, OK, and "Yes" to the question.
    modals_.add([](QWidget* dlg) {
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Student Accounting"));
        Type(dlg, "Stud1", QStringLiteral("Aaa Bbb Ccc"));
        Type(dlg, "Stud2", QStringLiteral("Ddd"));
        Type(dlg, "LabTbl", QStringLiteral("7"));
        Click(dlg, "OKBtn");
    });
    fake_->dialogs.script({Answer::Yes});
    action(*window, "Login1")->trigger();
    QVERIFY(modals_.done());
    QCOMPARE(window->displayPhase(), app::DisplayPhase::Title);
    QVERIFY(fake_->files.isFolder(dataFolder_ + "Users/ACcc/"));
    QVERIFY(!action(*window, "Login1")->isEnabled());
    QVERIFY(action(*window, "Run1")->isEnabled());
    QCOMPARE(grabDisplay(*window).pixelColor(10, 10), QColor(20, 200, 40));  // the title picture
    compareMenus(*window);

    // File, Run...: the catalogs are where they belong; the first date dialog
    // cannot be cancelled and has the fixed moment.
    modals_.add([](QWidget* dlg) {
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Set Date/Time, ID"));
        auto* date = Child<QLineEdit>(dlg, "DateEd");
        auto* time = Child<QLineEdit>(dlg, "TimeEd");
        QVERIFY(date && time);
        QCOMPARE(date->text(), QStringLiteral("2002/04/14"));
        QCOMPARE(time->text(), QStringLiteral("12:00:00"));
        QVERIFY(!date->isEnabled());
        QVERIFY(!time->isEnabled());
        QVERIFY(!Child<QPushButton>(dlg, "CancelBtn")->isEnabled());
        QCOMPARE(dlg->focusWidget(), Child<QWidget>(dlg, "IDEd"));
        QTest::keyClick(dlg, Qt::Key_Escape);  // refused
        QVERIFY(dlg->isVisible());
        Type(dlg, "IDEd", QStringLiteral("M 67"));
        Click(dlg, "OKBtn");
    });
    action(*window, "Run1")->trigger();
    QVERIFY(modals_.done());
    QCOMPARE(window->displayPhase(), app::DisplayPhase::Running);
    QCOMPARE(window->exercise().objectId(), std::string("M 67"));
    QVERIFY(action(*window, "Telescopes1")->isEnabled());
    QVERIFY(action(*window, "Tools1")->isEnabled());
    QVERIFY(!action(*window, "Run1")->isEnabled());
    QVERIFY(action(*window, "SetDateTime1")->isVisible() && action(*window, "SetDateTime1")->isEnabled());
    QVERIFY(window->findChild<QWidget*>(QStringLiteral("IDPnl"))->isVisible());
    QVERIFY(window->findChild<QWidget*>(QStringLiteral("OptCntrlSw"))->isVisible());
    QVERIFY(!window->findChild<QWidget*>(QStringLiteral("OptCntrlSw"))->isEnabled());
    QCOMPARE(grabDisplay(*window).pixelColor(10, 10), QColor(Qt::black));  // no telescope on the display
    compareMenus(*window);

    // Exit: no reminder file in the program folder, so its error and then the
    // plain question, answered Yes.
    fake_->dialogs.clear();
    fake_->dialogs.script({Answer::Yes});
    action(*window, "Exit1")->trigger();
    QVERIFY(!window->isVisible());
    const auto shown = fake_->dialogs.shown();
    QCOMPARE(shown.size(), std::size_t(2));
    QCOMPARE(fake_->dialogs.messages[0].caption, std::string("File Error!"));
    QCOMPARE(shown[1], std::string("** Exercise Finished? **|Are You Sure You Want to Quit This Exercise?"));

    const std::string log = Text(test::ReadAll(dataFolder_ + "ZARNLOG.LOG"));
    QCOMPARE(log,
             std::string("Login: ZARN_QNR\r\nDate: 04-14-2002\r\nTime: 12:00:00.00\r\nName1: Aaa Bbb Ccc\r\n"
                         "Name2: Ddd\r\nTable: 7\r\nEndLogin: ZARN_QNR\r\n**********\r\n"
                         "Component: Exercise: The Durev for Quenara\r\nDate: 04-14-2002\r\nTime: 12:00:00.00\r\n"
                         "Name1: Aaa Bbb Ccc\r\nTable: 7\r\nElapsed Time:  0:00:00.00\r\n**********\r\n"
                         "Logout: ZARN_QNR\r\nDate: 04-14-2002\r\nTime: 12:00:00.00\r\nName1: Aaa Bbb Ccc\r\n"
                         "Name2: Ddd\r\nTable: 7\r\nElapsed Time:  0:00:00.00\r\nEndLogout: ZARN_QNR\r\n"
                         "**********\r\n**********\r\n"));
}

void Environment1Test::instructorWithThreeWrongPasswords() {
    auto window = makeWindow();
    window->show();
    modals_.add([](QWidget* dlg) {
        Type(dlg, "Stud1", QStringLiteral("instructor"));
        Click(dlg, "OKBtn");
    });
    for (const char* typed : {"mvrq", "MVR", "Q"}) {
        modals_.add([typed](QWidget* dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Password Required"));
            auto* field = Child<QLineEdit>(dlg, "Password");
            QVERIFY(field);
            QVERIFY(field->text().isEmpty());
            QCOMPARE(field->echoMode(), QLineEdit::Password);
            QTest::keyClicks(field, QString::fromLatin1(typed));
            Click(dlg, "OKBtn");
        });
    }
    fake_->dialogs.script({Answer::Yes});
    action(*window, "Login1")->trigger();
    QVERIFY(modals_.done());
    QCOMPARE(fake_->dialogs.shown().back(), std::string("Options Access Denied!|Too Many Invalid Passwords!"));
    QCOMPARE(window->displayPhase(), app::DisplayPhase::Title);
    QCOMPARE(window->exercise().loginRecord().names[0], std::string("instructor"));
    QVERIFY(!window->exercise().optionsAccess());
    compareMenus(*window);
}

void Environment1Test::mountDialogTakesATypedOrBrowsedPath() {
    test::TempFolder medium;
    QCOMPARE(fake_->files.makeFolders(medium.path() + "Star Data/cgsc/TABLES/"), 0);
    test::WriteAll(medium.file("Star Data/cgsc/TABLES/REGIONS.BIN"), {1});
    for (bool browse : {false, true}) {
        fake_->files.removeFile(dataFolder_ + "QNR_OPTS.INI");
        chooser_->folderAnswer = medium.path() + "Star Data";
        chooser_->folderStarts.clear();
        auto window = makeWindow();
        window->show();
        modals_.add([](QWidget* dlg) {
            Type(dlg, "Stud1", QStringLiteral("Aaa"));
            Click(dlg, "OKBtn");
        });
        fake_->dialogs.script({Answer::Yes});
        action(*window, "Login1")->trigger();
        modals_.add([&](QWidget* dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Mount Data Media"));
            QCOMPARE(Child<QLabel>(dlg, "TextLbl")->text(),
                     QStringLiteral("Please mount Toval Installation CD-ROM on drive indicated, or supply correct "
                                    "path to Finder or Instrument Star Catalog (FGSC/ or CGSC/)."));
            QCOMPARE(Child<QLabel>(dlg, "PathLbl")->text(), QStringLiteral("(Double-Click to Browse)"));
            auto* path = Child<QLineEdit>(dlg, "PathEd");
            if (browse) {
                QTest::mouseDClick(path, Qt::LeftButton);
                QCOMPARE(path->text(), QString::fromStdString(medium.path() + "Star Data/"));
            } else {
                Type(dlg, "PathEd", QString::fromStdString(medium.path() + "Star Data/CGSC"));
            }
            Click(dlg, "OKBtn");
        });
        modals_.add([](QWidget* dlg) { Click(dlg, "OKBtn"); });
        action(*window, "Run1")->trigger();
        QVERIFY(modals_.done());
        QCOMPARE(chooser_->folderStarts.size(), std::size_t(browse ? 1 : 0));
        if (browse) QCOMPARE(chooser_->folderStarts[0], program_->path());  // the typed path was no folder
        // The path keeps its case; the catalog part is found whatever its case.
        QCOMPARE(window->opts().instrumentCatalogFolder,
                 medium.path() + (browse ? "Star Data/cgsc/" : "Star Data/CGSC/"));
        QCOMPARE(window->opts().finderCatalogFolder, medium.path() + "Star Data/FGSC/");
        QCOMPARE(window->exercise().objectId(), std::string("UNKNOWN"));
        QCOMPARE(window->displayPhase(), app::DisplayPhase::Running);
    }
}

void Environment1Test::accentedNameFolderInTheFileDialog_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");
    QTest::newRow("Ana Garc\u00eda") << QString::fromUtf8("Ana Garc\u00eda") << QStringLiteral("AGarcia");
    QTest::newRow("\u00c9mile") << QString::fromUtf8("\u00c9mile") << QStringLiteral("Emile");
    QTest::newRow("M\u00fcller") << QString::fromUtf8("M\u00fcller") << QStringLiteral("Muller");
}

// The group's folder, made by the core, is the one Qt's own file dialog opens
// in and lists, and the file picked there is the core's file.
void Environment1Test::accentedNameFolderInTheFileDialog() {
    QFETCH(QString, name);
    QFETCH(QString, folder);
    writeOptions([](app::OptsRec& o) { o.spreadsheetProgram = "/opt/sheet"; });
    ui::QtFileChooser chooser;
    test::FakeProcesses processes;
    services_.chooser = &chooser;
    services_.processes = &processes;
    auto window = makeWindow();
    window->show();
    modals_.add([&](QWidget* dlg) {
        // Typed as a keyboard layout with the accented keys sends them.
        auto* edit = Child<QLineEdit>(dlg, "Stud1");
        QVERIFY(edit);
        for (const QChar c : name) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &press);
        }
        QCOMPARE(edit->text(), name);
        Click(dlg, "OKBtn");
    });
    fake_->dialogs.script({Answer::Yes});
    action(*window, "Login1")->trigger();
    QVERIFY(modals_.done());
    const std::string users = window->opts().usersFolder;
    test::WriteAll(users + "Run 1.CSV", {'1', ',', '2', '\n'});

    modals_.add([&](QWidget* dlg) {
        auto* files = qobject_cast<QFileDialog*>(dlg);
        QVERIFY(files);
        QCOMPARE(files->directory().absolutePath() + QLatin1Char('/'), QString::fromStdString(users));
        QCOMPARE(files->directory().entryList(QDir::Files), QStringList{QStringLiteral("Run 1.CSV")});
        files->selectFile(QStringLiteral("Run 1.CSV"));
        static_cast<QDialog*>(files)->accept();  // as Open does
    });
    action(*window, "Spreadsheet1")->trigger();
    QVERIFY(modals_.done());
    QCOMPARE(processes.starts.size(), std::size_t(1));
    QCOMPARE(processes.starts[0].folder, users);
    QCOMPARE(processes.starts[0].arguments, std::vector<std::string>{"Run 1.CSV"});
    QCOMPARE(Text(test::ReadAll(processes.starts[0].folder + processes.starts[0].arguments[0])),
             std::string("1,2\n"));
    // ASCII names keep their folders; accented letters lose their accents.
    QCOMPARE(QString::fromStdString(window->exercise().loginRecord().userFolder), folder);
    QCOMPARE(users, dataFolder_ + "Users/" + folder.toStdString() + "/");
}

void Environment1Test::cursorsAndAboutBox() {
    using pictures::CrossHair;
    using pictures::CrossHairStyle;
    // The cursor files as the build writes them, one under another case.
    test::WriteAll(program_->file("WtXHAIR.CUR"), pictures::EncodeCursor(CrossHair(CrossHairStyle::White), 15, 15));
    test::WriteAll(program_->file("xpxhair.cur"), pictures::EncodeCursor(CrossHair(CrossHairStyle::Outlined), 15, 15));
    auto window = makeWindow();
    window->show();
    for (int number : {5, 6}) {
        QVERIFY(window->hasCursor(number));
        QCOMPARE(window->cursor(number).hotSpot(), QPoint(15, 15));
        const QImage image = window->cursor(number).pixmap().toImage();
        QCOMPARE(image.size(), QSize(32, 32));
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);    // the corner is transparent
        QVERIFY(qAlpha(image.pixel(15, 5)) > 0);   // the vertical arm
    }
    QCOMPARE(QColor(window->cursor(5).pixmap().toImage().pixel(15, 15)), QColor(Qt::white));
    QVERIFY(!window->hasCursor(7));

    modals_.add([](QWidget* dlg) {
        QCOMPARE(dlg->windowTitle(), QStringLiteral("About This Exercise"));
        QCOMPARE(Child<QLabel>(dlg, "Version")->text(), QStringLiteral("Version 1.121"));
        QCOMPARE(Child<QLabel>(dlg, "Comments")->text(), QStringLiteral("The Durev for Quenara"));
        Click(dlg, "OKButton");
    });
    action(*window, "AboutthisExercise1")->trigger();
    QVERIFY(modals_.done());
}

QTEST_MAIN(Environment1Test)
#include "Environment1Test.moc"
