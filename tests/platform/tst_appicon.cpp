#include "platform/AppIcon.h"
#include "platform/AppSetup.h"
#include "platform/WindowLevel.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QPushButton>
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

    // Only where the window system lets a program keep its window on top is it tried
    // silently; elsewhere the user is told.
    void windowLevelsByPlatform_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("keepsOnTop");
        QTest::newRow("X11") << "xcb" << true;
        QTest::newRow("Wayland") << "wayland" << false;
        QTest::newRow("Wayland, EGL") << "wayland-egl" << false;
        QTest::newRow("offscreen") << "offscreen" << true;
    }
    void windowLevelsByPlatform()
    {
        QFETCH(QString, platform);
        QFETCH(bool, keepsOnTop);
        QCOMPARE(platformKeepsWindowsOnTop(platform), keepsOnTop);
    }

    // Qt's own file dialog (the one used where the desktop has none) reads in Japanese.
    void qtFileDialogSpeaksJapanese()
    {
        QVERIFY2(installQtJapanese(),
                 "qtbase_ja.qm not found; is qt6-translations-l10n installed?");
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        const auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        QStringList texts;
        for (const QAbstractButton* b : buttons->buttons())
            texts << b->text();
        QCOMPARE(texts, (QStringList{"保存(&S)", "キャンセル"}));
        QCOMPARE(dialog.findChild<QLabel*>("fileNameLabel")->text(), "ファイル名(&N):");
        QCOMPARE(dialog.findChild<QLabel*>("lookInLabel")->text(), "アドレス:");
    }
};

QTEST_MAIN(TestAppIcon)
#include "tst_appicon.moc"
