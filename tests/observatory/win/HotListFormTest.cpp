// The hot list window on real widgets: choose a target and reach it through
// the telescope's stand-in, edit an entry in Edit Mode, search.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "observatory/win/HOVerifyDlg.h"
#include "observatory/win/HotListForm.h"
#include "support/Fakes.h"

using namespace qnr;
using observatory::ObjctDat;

namespace {

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

void DoubleClickRow(QListWidget* list, int row) {
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

// The telescope window as the hot list sees it.
class StandInTelescope final : public observatory::HotListHost {
public:
    std::vector<ObjctDat> slews;
    int cancelFirst = 0;  // the coordinate dialog is cancelled this many times
    bool SlewTo(const ObjctDat& target) override {
        slews.push_back(target);
        return cancelFirst-- <= 0;
    }
    ObjctDat CurrentPosition() override { return {"", 10.0L, 20.0L, ""}; }
};

}  // namespace

class HotListFormTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void chooseATargetAndReachIt();
    void editMovesTheEntryInEditMode();
    void searchSelectsTheLine();

private:
    std::unique_ptr<test::TempFolder> users_;
    std::unique_ptr<test::FakePlatform> fake_;
    platform::Services services_;
    app::OptsRec opts_;
    std::unique_ptr<observatory::HotList> list_;
    StandInTelescope telescope_;
    std::unique_ptr<observatory::THotListForm1> form_;
};

void HotListFormTest::init() {
    users_ = std::make_unique<test::TempFolder>();
    fake_ = std::make_unique<test::FakePlatform>();
    services_ = fake_->services();
    opts_ = app::OptsRec{};
    opts_.usersFolder = users_->path();
    list_ = std::make_unique<observatory::HotList>(services_, opts_);
    list_->SetCurrentPath(users_->file("Quenara.HTL"));
    list_->SetHost(&telescope_);
    telescope_ = StandInTelescope{};
    for (const ObjctDat& e : {ObjctDat{"Vega", 18.6156L, 38.7837L, "A0V"}, ObjctDat{"Sirius", 6.7525L, -16.7161L, "A1V"},
                              ObjctDat{"M31", 0.7123L, 41.2688L, "galaxy"},
                              ObjctDat{"3C 273", 12.4852L, 2.0524L, "quasar"}})
        list_->Add(e);
    form_ = std::make_unique<observatory::THotListForm1>(services_, *list_);
}

void HotListFormTest::cleanup() {
    form_.reset();
    list_.reset();
    fake_.reset();
    users_.reset();
}

void HotListFormTest::chooseATargetAndReachIt() {
    // First choice 3C 273 (line 3 by RA), cancelled at the coordinate dialog;
    // the list comes back and Vega is chosen and confirmed.
    telescope_.cancelFirst = 1;
    WhenModal([this](QWidget* modal) {
        QCOMPARE(modal, form_.get());
        QCOMPARE(modal->windowTitle(), QStringLiteral("Quenara Observation Hot List"));
        auto* box = form_->findChild<QListWidget*>(QStringLiteral("ListBox1"));
        QCOMPARE(box->count(), 4);
        QVERIFY(box->item(0)->text().startsWith(QStringLiteral("   1   0h 42m")));
        QVERIFY(!box->item(0)->text().contains(QStringLiteral("M31")));  // names hidden outside Edit Mode
        QVERIFY(!form_->findChild<QAction*>(QStringLiteral("SlewtoSelection1"))->isEnabled());
        QVERIFY(!form_->findChild<QAction*>(QStringLiteral("EditSelectedLine1"))->isEnabled());
        Save(form_.get(), "hotlist-window");
        WhenModal([this](QWidget* again) {
            QCOMPARE(again, form_.get());
            auto* box2 = form_->findChild<QListWidget*>(QStringLiteral("ListBox1"));
            QCOMPARE(box2->currentRow(), 2);  // the last selected line
            box2->setCurrentRow(3);
            QVERIFY(form_->findChild<QAction*>(QStringLiteral("SlewtoSelection1"))->isEnabled());
            form_->findChild<QAction*>(QStringLiteral("SlewtoSelection1"))->trigger();
        });
        DoubleClickRow(box, 2);
    });
    form_->SelectFromList();
    QCOMPARE(telescope_.slews.size(), size_t(2));
    QCOMPARE(QString::fromStdString(telescope_.slews[0].identifier), QStringLiteral("3C 273"));
    QCOMPARE(QString::fromStdString(telescope_.slews[1].identifier), QStringLiteral("Vega"));
    QCOMPARE(static_cast<double>(telescope_.slews[1].ra), 18.6156);
    QVERIFY(!form_->isVisible());
}

void HotListFormTest::editMovesTheEntryInEditMode() {
    opts_.editMode = true;
    WhenModal([this](QWidget*) {
        auto* box = form_->findChild<QListWidget*>(QStringLiteral("ListBox1"));
        QVERIFY(box->item(0)->text().startsWith(QStringLiteral("M31 ")));
        box->setCurrentRow(0);
        WhenModal([](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Add/Edit Hot List Entry"));
            QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("RAHrsEd"))->text(), QStringLiteral("0"));
            QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("RAMinEd"))->text(), QStringLiteral("42"));
            dialog->findChild<QLineEdit*>(QStringLiteral("RAHrsEd"))->setText(QStringLiteral("25"));
            dialog->findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
            // Refused: the dialog stays up until the value is mended.
            QVERIFY(dialog->isVisible());
            dialog->findChild<QLineEdit*>(QStringLiteral("RAHrsEd"))->setText(QStringLiteral("20"));
            Save(dialog, "hotlist-entry-dialog");
            dialog->findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
        });
        form_->findChild<QAction*>(QStringLiteral("EditSelectedLine1"))->trigger();
        QVERIFY(box->item(3)->text().startsWith(QStringLiteral("M31 ")));
        QCOMPARE(box->currentRow(), 3);
        QVERIFY(form_->findChild<QAction*>(QStringLiteral("UndoEditDelete1"))->isEnabled());
        Save(form_.get(), "hotlist-edit-mode");
        form_->findChild<QAction*>(QStringLiteral("UndoEditDelete1"))->trigger();
        QVERIFY(box->item(0)->text().startsWith(QStringLiteral("M31 ")));
        QVERIFY(!form_->findChild<QAction*>(QStringLiteral("UndoEditDelete1"))->isEnabled());
        form_->findChild<QAction*>(QStringLiteral("Close1"))->trigger();
    });
    form_->ShowModal();
    QCOMPARE(fake_->dialogs.shown(), std::vector<std::string>{"Input Error!|Right Ascension is Invalid!"});
    QVERIFY(!list_->targetChosen());
}

void HotListFormTest::searchSelectsTheLine() {
    opts_.editMode = true;
    WhenModal([this](QWidget*) {
        WhenModal([](QWidget* search) {
            QCOMPARE(search->windowTitle(), QStringLiteral("Find Text String"));
            search->findChild<QLineEdit*>(QStringLiteral("SrchStr1"))->setText(QStringLiteral("quasar vega"));
            search->findChild<QPushButton*>(QStringLiteral("SrchTopBtn"))->click();
        });
        form_->findChild<QAction*>(QStringLiteral("Search1"))->trigger();
        QCOMPARE(form_->findChild<QListWidget*>(QStringLiteral("ListBox1"))->currentRow(), 2);
        form_->reject();
    });
    form_->ShowModal();
    QVERIFY(fake_->dialogs.messages.empty());
}

QTEST_MAIN(HotListFormTest)
#include "HotListFormTest.moc"
