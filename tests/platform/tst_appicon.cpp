#include "platform/AppIcon.h"

#include <QImage>
#include <QTest>

class TestAppIcon : public QObject
{
    Q_OBJECT

private slots:
    // Without Qt's SVG plugins the title bars would show no icon at all.
    void rendersFromTheCompiledInFile()
    {
        const QImage image = applicationIcon().pixmap(64, 64).toImage();
        QVERIFY2(!image.isNull(), "the SVG icon could not be drawn; is libqt6svg6 installed?");
        QCOMPARE(image.size(), QSize(64, 64));
        QCOMPARE(qAlpha(image.pixel(1, 1)), 0);                // round corner
        QCOMPARE(image.pixelColor(52, 56), QColor("#2f6db5")); // cover
        QCOMPARE(image.pixelColor(36, 40), QColor("#f5c518")); // star
    }
};

QTEST_MAIN(TestAppIcon)
#include "tst_appicon.moc"
