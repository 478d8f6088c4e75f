// The topic chooser and the viewer on real widgets: open a topic, follow a
// related topic, go Back, search and print.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QCheckBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "help/Helplst.h"
#include "help/win/GetSrchStrDlg.h"
#include "help/win/HelpLstDlg.h"
#include "help/win/HelpWin.h"
#include "support/Fakes.h"
#include "ui/QtPrinter.h"

using namespace qnr;

namespace {

// Runs `act` on the modal dialog that is about to open.
void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return WhenModal(act);
        act(modal);
        // A failed check inside leaves the dialog up; closing it lets the test end.
        if (QTest::currentTestFailed())
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
}

void Save(QWidget* w, const char* name) {
    const QByteArray dir = qgetenv("QNR_SHOT_DIR");
    if (!dir.isEmpty()) w->grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

}  // namespace

class HelpWinTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void openFollowAndGoBack();
    void searchAndPrint();
    void findTopicInTheChooser();
    void aLongTopicOpensAtItsTop();
    void topicsWithoutAListSaySo();
    void theViewerOpensBesideItsOpener();

private:
    void choose(const QString& title);

    std::unique_ptr<test::TempFolder> folder_;
    std::unique_ptr<test::FakePlatform> fake_;
    std::unique_ptr<ui::PdfPrinter> printer_;
    platform::Services services_;
    std::unique_ptr<help::HelpList> list_;
    std::unique_ptr<help::TGetSrchStrDlg> search_;
    std::unique_ptr<help::THelpLstDlg> chooser_;
    std::unique_ptr<help::THelpWin> viewer_;
};

void HelpWinTest::init() {
    folder_ = std::make_unique<test::TempFolder>();
    fake_ = std::make_unique<test::FakePlatform>();
    printer_ = std::make_unique<ui::PdfPrinter>(folder_->file("topic.pdf"));
    services_ = fake_->services();
    services_.printer = printer_.get();
    test::WriteAll(folder_->file("TestHlp.LST"),
                   Bytes("\"The Telescope\" \"begin\"\r\n\"Slewing\" \"SCOPE.HLP\"\r\n\"Tracking\" \"scope.hlp\"\r\n"
                         "\"The Telescope\" \"end\"\r\n\"Leaving\" \"leave.hlp\"\r\n"));
    test::WriteAll(folder_->file("scope.hlp"),
                   Bytes("*Slewing*\r\nSlewing moves the telescope to new coordinates. Choose a target from the "
                         "hot list or type its right ascension and declination, then confirm the slew.\r\n\r\n"
                         "RELATED TOPICS\r\nTracking\r\nLeaving\r\n"
                         "*Tracking*\r\nThe drive turns the telescope with the sky so that a star stays in the "
                         "field of view while you observe it.\r\nRELATED TOPICS\r\nSlewing\r\n*****\r\n"));
    list_ = help::LoadHelpList(folder_->file("TestHlp.LST"), services_);
    QVERIFY(list_);
    search_ = std::make_unique<help::TGetSrchStrDlg>();
    chooser_ = std::make_unique<help::THelpLstDlg>(services_, search_.get());
    viewer_ = std::make_unique<help::THelpWin>(services_, search_.get(), chooser_.get());
    viewer_->SetPrintIdentity([] { return help::PrintIdentity{{"Ann Lee", "Bo Chan", "", ""}, "4"}; });
}

void HelpWinTest::cleanup() {
    viewer_.reset();
    chooser_.reset();
    search_.reset();
    list_.reset();
    printer_.reset();
    fake_.reset();
    folder_.reset();
}

// Picks `title` in the chooser when it comes up and reads it.
void HelpWinTest::choose(const QString& title) {
    WhenModal([this, title](QWidget* modal) {
        QCOMPARE(modal, chooser_.get());
        QCOMPARE(modal->windowTitle(), QStringLiteral("Select Help Topic"));
        auto* box = modal->findChild<QListWidget*>(QStringLiteral("HlpLstBox"));
        const auto items = box->findItems(title, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        box->setCurrentItem(items.front());
        Save(modal, "help-chooser");
        modal->findChild<QAction*>(QStringLiteral("ReadPrintTopic1"))->trigger();
    });
}

void HelpWinTest::openFollowAndGoBack() {
    choose(QStringLiteral("  Slewing"));
    help::ShowHelpTopics(list_.get(), folder_->path(), *chooser_, *viewer_);
    QVERIFY(viewer_->isVisible());
    QCOMPARE(viewer_->windowTitle(), QStringLiteral("Help - Slewing"));
    auto* lines = viewer_->findChild<QListWidget*>(QStringLiteral("ListBox1"));
    QVERIFY(lines);
    QCOMPARE(lines->item(0)->text(), QStringLiteral(" "));
    QVERIFY(lines->item(1)->text().startsWith(QStringLiteral("  Slewing moves the telescope")));
    auto* back = viewer_->findChild<QAction*>(QStringLiteral("Back1"));
    QVERIFY(!back->isEnabled());
    Save(viewer_.get(), "help-viewer");

    // A double click on a related topic opens it.
    const auto related = lines->findItems(QStringLiteral("  Tracking  "), Qt::MatchExactly);
    QCOMPARE(related.size(), 1);
    const QRect rect = lines->visualItemRect(related.front());
    QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(viewer_->windowTitle(), QStringLiteral("Help - Tracking"));
    QVERIFY(back->isEnabled());
    QCOMPARE(list_->lastChosen, 2);

    back->trigger();
    QCOMPARE(viewer_->windowTitle(), QStringLiteral("Help - Slewing"));
    QVERIFY(!back->isEnabled());

    // Leaving has no file: the message, and Slewing stays.
    fake_->dialogs.clear();
    const auto missing = lines->findItems(QStringLiteral("  Leaving  "), Qt::MatchExactly);
    QCOMPARE(missing.size(), 1);
    lines->setCurrentItem(missing.front());
    emit lines->itemDoubleClicked(missing.front());
    QCOMPARE(fake_->dialogs.messages.size(), size_t(1));
    QCOMPARE(QString::fromStdString(fake_->dialogs.messages[0].caption), QStringLiteral("Help Not Available"));
    QCOMPARE(viewer_->windowTitle(), QStringLiteral("Help - Slewing"));
    QVERIFY(!back->isEnabled());

    // Show Help Topics from the viewer is a step Back returns from.
    choose(QStringLiteral("  Tracking"));
    viewer_->findChild<QAction*>(QStringLiteral("ShowHelpTopics1"))->trigger();
    QCOMPARE(viewer_->windowTitle(), QStringLiteral("Help - Tracking"));
    QVERIFY(back->isEnabled());

    // Closing forgets the history.
    viewer_->findChild<QAction*>(QStringLiteral("CloseTopicWindow1"))->trigger();
    QVERIFY(!viewer_->isVisible());
    QVERIFY(!viewer_->model().CanGoBack());
}

void HelpWinTest::searchAndPrint() {
    choose(QStringLiteral("  Tracking"));
    help::ShowHelpTopics(list_.get(), folder_->path(), *chooser_, *viewer_);
    auto* lines = viewer_->findChild<QListWidget*>(QStringLiteral("ListBox1"));
    // The long line was split: "stays in the" ends one shown line, "field" starts the next.
    int splitAt = -1;
    for (int i = 0; i < lines->count(); ++i)
        if (lines->item(i)->text().trimmed().endsWith(QStringLiteral("stays in the"))) splitAt = i;
    QVERIFY2(splitAt > 0, "the topic line was not broken where the test expects");

    WhenModal([](QWidget* modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("Find Help Item"));
        modal->findChild<QLineEdit*>(QStringLiteral("SrchStr1"))->setText(QStringLiteral("IN THE FIELD"));
        modal->findChild<QPushButton*>(QStringLiteral("SrchTopBtn"))->click();
    });
    viewer_->findChild<QAction*>(QStringLiteral("SearchText1"))->trigger();
    QCOMPARE(lines->currentRow(), splitAt);
    QVERIFY(fake_->dialogs.messages.empty());

    viewer_->findChild<QAction*>(QStringLiteral("PrintTopic1"))->trigger();
    const auto pdf = test::ReadAll(folder_->file("topic.pdf"));
    QVERIFY(pdf.size() > 1000);
    QCOMPARE(std::string(pdf.begin(), pdf.begin() + 4), std::string("%PDF"));
    const QByteArray dir = qgetenv("QNR_SHOT_DIR");
    if (!dir.isEmpty()) test::WriteAll(dir.toStdString() + "/help-topic.pdf", pdf);
}

void HelpWinTest::findTopicInTheChooser() {
    WhenModal([this](QWidget* modal) {
        WhenModal([](QWidget* search) {
            QCOMPARE(search->windowTitle(), QStringLiteral("Find Help Topic"));
            search->findChild<QLineEdit*>(QStringLiteral("SrchStr1"))->setText(QStringLiteral(" leaving "));
            search->findChild<QPushButton*>(QStringLiteral("SrchTopBtn"))->click();
        });
        modal->findChild<QAction*>(QStringLiteral("FindTopic1"))->trigger();
        auto* box = modal->findChild<QListWidget*>(QStringLiteral("HlpLstBox"));
        QCOMPARE(box->currentItem()->text(), QStringLiteral("Leaving"));
        modal->findChild<QAction*>(QStringLiteral("CloseHelpTopics1"))->trigger();
    });
    QVERIFY(!chooser_->Choose(list_.get()));
    QCOMPARE(list_->lastChosen, 4);  // the selection is remembered on close
}

// A topic taller than the window opens at its first line with nothing
// highlighted, and the scroll bar shows that: its thumb at the top.
void HelpWinTest::aLongTopicOpensAtItsTop() {
    std::string text = "*Long*\r\n";
    for (int i = 1; i <= 60; ++i) text += "Line " + std::to_string(i) + " of a topic that is longer than the window.\r\n";
    test::WriteAll(folder_->file("long.hlp"), Bytes(text + "*****\r\n"));
    // Scrolled down and with a line picked in an earlier topic.
    QVERIFY(viewer_->ShowTopic(help::HelpEntry{"Long", "long.hlp"}, folder_->path()));
    auto* lines = viewer_->findChild<QListWidget*>(QStringLiteral("ListBox1"));
    QApplication::processEvents();
    lines->setCurrentRow(50);
    lines->scrollToBottom();
    viewer_->close();
    for (int pass = 0; pass < 2; ++pass) {
        QVERIFY(viewer_->ShowTopic(help::HelpEntry{"Long", "long.hlp"}, folder_->path()));
        QApplication::processEvents();
        QVERIFY(QTest::qWaitForWindowExposed(viewer_.get()));
        QApplication::processEvents();
        Save(viewer_.get(), pass == 0 ? "help-viewer-long" : "help-viewer-long-again");
        QCOMPARE(lines->count(), 62);
        QVERIFY(lines->selectedItems().isEmpty());
        QCOMPARE(lines->currentRow(), -1);
        QScrollBar* bar = lines->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(lines->indexAt(QPoint(1, 1)).row(), 0);
    }
}

// A Help item whose window has no list is never silent: the chooser's warning.
void HelpWinTest::topicsWithoutAListSaySo() {
    help::ShowHelpTopics(nullptr, folder_->path(), *chooser_, *viewer_);
    QCOMPARE(fake_->dialogs.shown(), std::vector<std::string>{"Select Help Topic|No Help List to Display!"});
    QVERIFY(!chooser_->isVisible());
    QVERIFY(!viewer_->isVisible());
}

// The viewer opens beside the window whose Help was used, or over it below
// its menu bar when the screen has no room beside it; always on the screen.
void HelpWinTest::theViewerOpensBesideItsOpener() {
    struct Row { int x, y, width, height; };
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const Row rows[] = {
        {area.left() + 10, area.top() + 10, 100, 150},                    // room to its right
        {area.right() - 110, area.top() + 10, 100, 150},                  // room to its left
        {area.left(), area.top(), area.width(), area.height() / 2},       // as wide as the screen
    };
    for (const Row& r : rows) {
        QMainWindow opener;
        opener.menuBar()->addMenu(QStringLiteral("&File"));
        opener.setGeometry(r.x, r.y, r.width, r.height);
        opener.show();
        QVERIFY(QTest::qWaitForWindowExposed(&opener));
        choose(QStringLiteral("  Slewing"));
        help::ShowHelpTopics(list_.get(), folder_->path(), *chooser_, *viewer_, &opener);
        QVERIFY(viewer_->isVisible());
        QApplication::processEvents();
        const QRect placed = viewer_->frameGeometry(), o = opener.frameGeometry();
        QVERIFY(area.contains(placed));
        const QRect menu(opener.menuWidget()->mapToGlobal(QPoint(0, 0)), opener.menuWidget()->size());
        QVERIFY(!placed.intersects(menu));
        if (area.right() - o.right() >= placed.width())
            QVERIFY(placed.left() > o.right());
        else if (o.left() - area.left() >= placed.width())
            QVERIFY(placed.right() < o.left());
        else
            QVERIFY(o.contains(placed.topLeft()));
        viewer_->close();
    }
}

QTEST_MAIN(HelpWinTest)
#include "HelpWinTest.moc"
