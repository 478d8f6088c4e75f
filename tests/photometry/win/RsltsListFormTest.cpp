// The results list window on real widgets: the lines, an edit in
// "Observational Data", delete and undo, both saves, loading them back with
// the "Retain Current Data?" question, the pop-up menu and closing.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "help/ListFakes.h"
#include "photometry/win/ObsRsltsDlg.h"
#include "photometry/win/RsltsListForm.h"
#include "support/Fakes.h"
#include "ui/Latin1.h"

using namespace qnr;
using photometry::ObsResult;

namespace {

constexpr double March2004 = 2453072.586910 - 2415018.5;

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

QStringList Rows(QListWidget* box) {
    QStringList rows;
    for (int i = 0; i < box->count(); ++i) rows << box->item(i)->text();
    return rows;
}

}  // namespace

class RsltsListFormTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void editDeleteAndUndo();
    void saveBothFormsAndLoadThemBack();

private:
    QListWidget* Box() { return form_->findChild<QListWidget*>(QStringLiteral("ListBox1")); }
    QAction* Action(const char* name) { return form_->findChild<QAction*>(QString::fromLatin1(name)); }
    void Record(const std::string& id, double time, int filter, Extended value) {
        ObsResult& e = list_->FindOrCreate(id, time);
        e.values[static_cast<std::size_t>(filter)] = value;
        list_->Review(e, [](photometry::ObsRsltsModel&) { return true; });
    }

    std::unique_ptr<test::TempFolder> users_;
    std::unique_ptr<test::FakePlatform> fake_;
    test::ScriptedChooser chooser_;
    platform::Services services_;
    app::OptsRec opts_;
    std::unique_ptr<photometry::ResultsList> list_;
    std::unique_ptr<photometry::RsltsListForm1> form_;
    int shown_ = 0;
    int closed_ = 0;
};

void RsltsListFormTest::init() {
    users_ = std::make_unique<test::TempFolder>();
    fake_ = std::make_unique<test::FakePlatform>();
    chooser_ = test::ScriptedChooser{};
    services_ = fake_->services();
    services_.chooser = &chooser_;
    opts_ = app::OptsRec{};
    opts_.usersFolder = users_->path();
    opts_.computeMagnitudes = true;
    list_ = std::make_unique<photometry::ResultsList>(services_, opts_);
    Record("HD 1234", March2004, 0, 12.345L);
    Record("HD 1234", March2004 + 0.01, 1, 11.802L);
    Record("NGC 4565 Core", March2004 - 1, 2, 13.25L);
    Record("Smith, Obj. 3", March2004 + 1, 2, 10.5L);
    form_ = std::make_unique<photometry::RsltsListForm1>(*list_, fake_->dialogs);
    shown_ = closed_ = 0;
    form_->onShown = [this] { ++shown_; };
    form_->onClosed = [this] { ++closed_; };
}

void RsltsListFormTest::cleanup() {
    form_.reset();
    list_.reset();
    fake_.reset();
    users_.reset();
}

void RsltsListFormTest::editDeleteAndUndo() {
    form_->ShowAll();
    QCOMPARE(shown_, 1);
    QCOMPARE(form_->windowTitle(), QStringLiteral("Recorded Results - Computed Magnitudes"));
    QListWidget* box = Box();
    QCOMPARE(box->count(), 4);
    QCOMPARE(box->item(0)->text(),
             QStringLiteral("Object ID       JD(Days)         U      B      V         Z      Spectrum     Comments"));
    QCOMPARE(box->item(2)->text(), QStringLiteral("HD 1234         2453072.586910 12.345 11.802                                 "));
    QVERIFY(form_->findChild<QMenu*>(QStringLiteral("Edit1"))->menuAction()->isVisible());
    QVERIFY(Action("CommaDelimit")->isEnabled());
    QVERIFY(!Action("UndoEditDelete1")->isEnabled());
    Save(form_.get(), "results-list");

    // The header is no entry.
    box->setCurrentRow(0);
    Action("EditSelectedLine1")->trigger();
    QCOMPARE(fake_->dialogs.shown().back(), std::string("No Selection!|Select Text Line for Edit!"));

    // Edit HD 1234: the readings show, R and I are off, the type and remarks are typed.
    box->setCurrentRow(2);
    WhenModal([this](QWidget* modal) {
        auto* dialog = qobject_cast<photometry::TObsRsltsDlg1*>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Observational Data"));
        QCOMPARE(dialog->IDEd->text(), QStringLiteral("HD 1234"));
        QCOMPARE(dialog->JDEd->text(), QStringLiteral("2453072.586910"));
        QVERIFY(dialog->JDEd->isReadOnly());
        QCOMPARE(dialog->ResultsLbl->text(), QStringLiteral("Observed Magnitudes"));
        QCOMPARE(dialog->UMagEd->text(), QStringLiteral("    12.345"));
        QCOMPARE(dialog->VMagEd->text(), QString());
        QVERIFY(dialog->UMagEd->isReadOnly());
        QVERIFY(!dialog->RMagEd->isEnabled());
        QVERIFY(!dialog->IMagLbl->isEnabled());
        QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
        Save(dialog, "observational-data");
        dialog->SpEd->setText(QStringLiteral("G2 V"));
        dialog->ZEd->setText(QStringLiteral("1.5e-5"));
        dialog->RmrksEd->setText(QStringLiteral("standard, night 2"));
        dialog->OKBtn->click();
    });
    Action("EditSelectedLine1")->trigger();
    QCOMPARE(box->item(2)->text(),
             QStringLiteral("HD 1234         2453072.586910 12.345 11.802          1.500E-05 G2V          standard, night 2"));
    QCOMPARE(box->currentRow(), 2);
    QVERIFY(Action("UndoEditDelete1")->isEnabled());
    Action("UndoEditDelete1")->trigger();
    QCOMPARE(box->item(2)->text(), QStringLiteral("HD 1234         2453072.586910 12.345 11.802                                 "));
    QVERIFY(!Action("UndoEditDelete1")->isEnabled());

    // Cancel stores nothing.
    WhenModal([](QWidget* modal) {
        auto* dialog = qobject_cast<photometry::TObsRsltsDlg1*>(modal);
        QVERIFY(dialog);
        dialog->RmrksEd->setText(QStringLiteral("not kept"));
        dialog->BitBtn1->click();
    });
    Action("EditSelectedLine1")->trigger();
    QVERIFY(!box->item(2)->text().contains(QStringLiteral("not kept")));
    QVERIFY(!Action("UndoEditDelete1")->isEnabled());

    // Delete the first entry through the pop-up menu of a double click; undo brings it back.
    const QStringList before = Rows(box);
    const QRect rect = box->visualItemRect(box->item(1));
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, rect.center());
    QMenu* popup = form_->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    QVERIFY(popup->isVisible());
    QCOMPARE(popup->pos(), form_->pos() + rect.center() + QPoint(20, 50));
    popup->hide();
    QCOMPARE(box->currentRow(), 1);
    fake_->dialogs.script({platform::Answer::Yes});
    form_->findChild<QAction*>(QStringLiteral("Delete1"))->trigger();
    QCOMPARE(fake_->dialogs.messages.back().caption, std::string("Confirm Deletion"));
    QCOMPARE(box->count(), 3);
    QVERIFY(!Rows(box).contains(before[1]));
    Action("UndoEditDelete1")->trigger();
    QCOMPARE(Rows(box), before);

    // Close hides the window and tells the main window.
    Action("Close1")->trigger();
    QVERIFY(!form_->isVisible());
    QCOMPARE(closed_, 1);
}

void RsltsListFormTest::saveBothFormsAndLoadThemBack() {
    form_->ShowAll();
    const QStringList shown = Rows(Box());
    const std::string text = users_->file("group3.TXT");
    const std::string csv = users_->file("group3.CSV");
    chooser_.answers = {text, csv};
    Action("AsDisplayed1")->trigger();
    QVERIFY(form_->findChild<QMenu*>(QStringLiteral("SaveasText1"))->menuAction()->isChecked());
    form_->CommaDelimit->trigger();
    QCOMPARE(fake_->dialogs.shown().back(), "Text File Written|Report Text Written to " + csv + ".");
    QVERIFY(form_->findChild<QMenu*>(QStringLiteral("SaveasText1"))->menuAction()->isChecked());
    const auto bytes = test::ReadAll(csv);
    QVERIFY(std::string(bytes.begin(), bytes.end()).find("\"Smith, Obj. 3\",2453073.586910,,,10.500,,,\r\n") !=
            std::string::npos);

    // The next session: the text file into an empty list, no question asked.
    form_.reset();
    list_ = std::make_unique<photometry::ResultsList>(services_, opts_);
    form_ = std::make_unique<photometry::RsltsListForm1>(*list_, fake_->dialogs);
    fake_->dialogs.clear();
    chooser_.answers = {text};
    QVERIFY(form_->LoadSavedData());
    QVERIFY(form_->isVisible());
    QCOMPARE(Rows(Box()), shown);
    QVERIFY(fake_->dialogs.messages.empty());
    QCOMPARE(chooser_.asked.back().defaultName, std::string("Observations.TXT"));

    // Then the comma-separated file over it: No, and Yes at the confirmation.
    fake_->dialogs.script({platform::Answer::No, platform::Answer::Yes});
    chooser_.answers = {csv};
    QVERIFY(form_->LoadSavedData());
    QCOMPARE(fake_->dialogs.shown().at(0).substr(0, 21), std::string("Retain Current Data?|"));
    QCOMPARE(fake_->dialogs.messages.at(1).caption, std::string("Confirm Deletion!"));
    QCOMPARE(Rows(Box()), shown);
    QCOMPARE(chooser_.asked.back().defaultName, std::string("group3.TXT"));

    // Cancelled: nothing loaded, and said so.
    fake_->dialogs.clear();
    chooser_.answers = {std::nullopt};
    QVERIFY(!form_->LoadSavedData());
    QCOMPARE(fake_->dialogs.shown(), std::vector<std::string>{"No Data Loaded|Data was not loaded."});
    QCOMPARE(Rows(Box()), shown);
}

QTEST_MAIN(RsltsListFormTest)
#include "RsltsListFormTest.moc"
