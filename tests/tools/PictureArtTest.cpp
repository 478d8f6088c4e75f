// The logo and the title screen: every text stays readable, no star drawn
// over it.
#include <QtTest>

#include "pictures/Art.h"

using namespace qnr;

class PictureArtTest : public QObject {
    Q_OBJECT

private slots:
    void starsKeepClearOfTheTexts_data() {
        QTest::addColumn<int>("picture");
        QTest::newRow("logo") << 0;
        QTest::newRow("title") << 1;
    }
    void starsKeepClearOfTheTexts() {
        QFETCH(int, picture);
        pictures::PictureLayout layout;
        const QImage image = picture == 0 ? pictures::Logo(&layout) : pictures::Title(&layout);
        QVERIFY(!image.isNull());
        QVERIFY(layout.texts.size() >= 3);
        QVERIFY(layout.stars.size() > 100);  // a starry sky still
        for (const QRectF& text : layout.texts) {
            QVERIFY(!text.isEmpty());
            for (const QRectF& star : layout.stars)
                QVERIFY2(!star.intersects(text),
                         qPrintable(QStringLiteral("a star at %1,%2 over the text at %3,%4 %5x%6")
                                        .arg(star.center().x()).arg(star.center().y()).arg(text.x()).arg(text.y())
                                        .arg(text.width()).arg(text.height())));
        }
    }
};

QTEST_MAIN(PictureArtTest)
#include "PictureArtTest.moc"
