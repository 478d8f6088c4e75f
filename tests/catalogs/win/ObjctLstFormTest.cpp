// The object-list report window on real widgets: heading lines select
// nothing, an entry goes to the hot list from the pop-up menu, the window is
// sized to its lines.
#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QtTest>
#include <memory>

#include "catalogs/win/ObjctLstForm.h"
#include "support/Fakes.h"

using namespace qnr;
using observatory::ObjctDat;

namespace {

class QuasarReport final : public catalogs::ObjectListReport {
public:
    using ObjectListReport::ObjectListReport;
    int dataRequests = 0;
    bool FormatforHotList(int index, ObjctDat& entry) override {
        entry = ObjctDat{index == 0 ? "3C 273" : "3C 48", index == 0 ? 12.4852L : 1.6281L, 2.0524L, "quasar"};
        return true;
    }
    void SelectionData() override { ++dataRequests; }
};

class RecordingHotList final : public observatory::HotListEditor {
public:
    std::vector<ObjctDat> added;
    void Add(const ObjctDat& entry) override { added.push_back(entry); }
    bool StartNewList(const std::string&) override { return true; }
};

}  // namespace

class ObjctLstFormTest : public QObject {
    Q_OBJECT

private slots:
    void selectionAndHandOver();
};

void ObjctLstFormTest::selectionAndHandOver() {
    test::FakePlatform fake;
    platform::Services services = fake.services();
    app::OptsRec opts;
    QuasarReport report(services, opts);
    RecordingHotList hotList;
    report.SetHotList(&hotList);
    std::vector<std::string> lines = {"Quasars of the Exercise", "Name        RA           Dec"};
    lines.push_back("3C 273      12 29 06.7   +02 03 09");
    lines.push_back("3C 48       01 37 41.3   +33 09 35");
    report.SetReport(lines, 2, 3);
    report.SetCaption("QSO List");

    catalogs::TObjctListForm1 form(report);
    form.ShowReport();
    QCOMPARE(form.windowTitle(), QStringLiteral("QSO List"));
    auto* box = form.findChild<QListWidget*>(QStringLiteral("ListBox1"));
    QVERIFY(box);
    QCOMPARE(box->count(), 4);
    // Four lines: 5.3 line heights of the list's font.
    QCOMPARE(box->height(), qRound(5.3 * QFontMetrics(box->font()).height()));
    QVERIFY(box->font().fixedPitch());

    auto releaseOn = [&](int row, Qt::MouseButton button) {
        const QRect rect = box->visualItemRect(box->item(row));
        QTest::mouseClick(box->viewport(), button, {}, rect.center());
    };
    releaseOn(1, Qt::LeftButton);  // a heading
    QVERIFY(!form.findChild<QAction*>(QStringLiteral("AddtoCurrentHotList2"))->isEnabled());
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, box->visualItemRect(box->item(1)).center());
    QCOMPARE(report.dataRequests, 0);

    releaseOn(3, Qt::LeftButton);  // the last entry line
    QCOMPARE(report.selectedEntry(), 1);
    QVERIFY(form.findChild<QAction*>(QStringLiteral("AddtoCurrentHotList2"))->isEnabled());
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, box->visualItemRect(box->item(3)).center());
    QCOMPARE(report.dataRequests, 1);

    releaseOn(2, Qt::RightButton);
    auto* popup = form.findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    QVERIFY(popup->isVisible());
    form.findChild<QAction*>(QStringLiteral("AddtoCurrentHotList1"))->trigger();
    popup->close();
    QCOMPARE(hotList.added.size(), size_t(1));
    QCOMPARE(QString::fromStdString(hotList.added[0].identifier), QStringLiteral("3C 273"));
    QCOMPARE(fake.dialogs.shown(), std::vector<std::string>{"Confirmation|Object 3C 273 Added to Current Hot List."});

    const QByteArray dir = qgetenv("QNR_SHOT_DIR");
    if (!dir.isEmpty()) form.grab().save(QString::fromLocal8Bit(dir) + "/object-list.png");
    form.findChild<QAction*>(QStringLiteral("Close1"))->trigger();
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(ObjctLstFormTest)
#include "ObjctLstFormTest.moc"
