// The information list window on real widgets: its lines, size and menus,
// and a search that runs into the next line.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "photometry/win/InfoListForm.h"
#include "support/Fakes.h"

using namespace qnr;

class InfoListFormTest : public QObject {
    Q_OBJECT

private slots:
    void showAndSearch();
};

void InfoListFormTest::showAndSearch() {
    test::FakePlatform fake;
    platform::Services services = fake.services();
    app::OptsRec opts;
    photometry::InfoListReport list(services, opts);
    list.SetCaption("Current Site & Telescope Parameters");
    list.SetTitle("Site Parameters");
    std::vector<std::string> lines;
    for (int i = 0; i < 30; ++i) lines.push_back("Line " + std::to_string(i) + " of the site report");
    lines[10] = "Telescope: 1.0 m";
    lines[11] = "Reflector";
    list.SetLines(lines);

    photometry::TInfoListForm1 form(list);
    form.ShowList();
    QCOMPARE(form.windowTitle(), QStringLiteral("Current Site & Telescope Parameters"));
    auto* box = form.findChild<QListWidget*>(QStringLiteral("ListBox1"));
    QCOMPARE(box->count(), 30);
    QCOMPARE(box->font().pointSize(), 8);
    QCOMPARE(box->height(), qRound(22.3 * QFontMetrics(box->font()).height()));  // more than 21 lines
    QVERIFY(!form.findChild<QMenu*>(QStringLiteral("Edit1"))->menuAction()->isVisible());
    QVERIFY(!form.findChild<QAction*>(QStringLiteral("CommaDelimit"))->isEnabled());

    QTimer::singleShot(0, [] {
        QWidget* search = QApplication::activeModalWidget();
        QVERIFY(search);
        QCOMPARE(search->windowTitle(), QStringLiteral("Find Text String"));
        search->findChild<QLineEdit*>(QStringLiteral("SrchStr1"))->setText(QStringLiteral("1.0 m reflector"));
        const QByteArray dir = qgetenv("QNR_SHOT_DIR");
        if (!dir.isEmpty()) search->grab().save(QString::fromLocal8Bit(dir) + "/search-dialog.png");
        search->findChild<QPushButton*>(QStringLiteral("SrchTopBtn"))->click();
    });
    form.findChild<QAction*>(QStringLiteral("Search1"))->trigger();
    QCOMPARE(box->currentRow(), 10);
    QVERIFY(fake.dialogs.messages.empty());
    const QByteArray dir = qgetenv("QNR_SHOT_DIR");
    if (!dir.isEmpty()) form.grab().save(QString::fromLocal8Bit(dir) + "/info-list.png");
}

QTEST_MAIN(InfoListFormTest)
#include "InfoListFormTest.moc"
