// Every window but the main one on a 1920x1080 screen at 200 % (960x540 of room), which is
// smaller both ways than 1366x768 at 100 %: each fits with its minimum size and opens fully
// on its owner's screen. Run with QT_SCALE_FACTOR=2 on an offscreen screen of that size.
#include "assistant/frmUserProfile.h"
#include "assistant/frmZumikey.h"
#include "forms/frmChart.h"
#include "forms/frmDataSearch.h"
#include "forms/frmPrint.h"
#include "forms/frmStartPassword.h"
#include "platform/ForeignWindows.h"
#include "support/FakePrinters.h"
#include "support/MainWindowHarness.h"

#include <QScreen>
#include <QTest>

namespace {

QString describe(const QWidget* w)
{
    return QStringLiteral("%1: minimum %2x%3, at %4,%5 %6x%7")
        .arg(w->objectName())
        .arg(w->minimumSizeHint().expandedTo(w->minimumSize()).width())
        .arg(w->minimumSizeHint().expandedTo(w->minimumSize()).height())
        .arg(w->frameGeometry().x())
        .arg(w->frameGeometry().y())
        .arg(w->frameGeometry().width())
        .arg(w->frameGeometry().height());
}

} // namespace

class TestSmallScreen : public QObject
{
    Q_OBJECT

    QRect area() const { return QGuiApplication::primaryScreen()->availableGeometry(); }

    // Fits when shown, with the smallest size its layout allows, and lies on the screen.
    void checkFits(QWidget* w)
    {
        QVERIFY(w);
        QTRY_VERIFY(w->isVisible());
        qInfo().noquote() << describe(w);
        const QSize least = w->minimumSizeHint().expandedTo(w->minimumSize());
        QVERIFY2(least.width() <= area().width() && least.height() <= area().height(),
                 qPrintable(describe(w)));
        QVERIFY2(area().contains(w->frameGeometry()), qPrintable(describe(w)));
    }

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
        QCOMPARE(area().size(), QSize(960, 540));
    }

    void diaryWindows()
    {
        MainWindowHarness h(QDate(2026, 7, 15));
        frmMain& main = h.start(true);
        checkFits(&main);
        // The commands wrap rather than run off the window's edge: each is in full view.
        for (const char* name :
             {"cmdHensyu", "cmdPrint", "cmdYearBack", "cmdYearNext", "cmdBackUp", "cmdEnd"}) {
            const QWidget* b = h.button(name);
            const QRect shown = b->visibleRegion().boundingRect();
            QVERIFY2(shown.size() == b->size(), name);
        }

        h.button("cmdNewInput")->click();
        frmDataInput* entry = h.form();
        checkFits(entry);
        entry->close();

        h.selectTab("T_Year");
        h.button("cmdYearGraph")->click();
        checkFits(main.findChild<frmChart*>());

        h.selectTab("T_Search");
        checkFits(main.findChild<frmDataSearch*>());
    }

    void dialogs()
    {
        ScriptedDialogs dialogs;
        FakePrinters printers;
        frmPrint print(dialogs, printers);
        print.MPSetString({"header", "1,賞品"});
        print.Form_Load();
        print.show();
        checkFits(&print);

        frmStartPassword password(frmStartPassword::Mode::Set, QString(), dialogs);
        password.show();
        checkFits(&password);
    }

    void assistantWindows()
    {
        TempProgramFolder folder;
        LiveBoxDialogs dialogs;
        FixedClock clock(QDate(2026, 7, 15));
        const std::unique_ptr<ForeignWindows> windows = createForeignWindows();
        frmZumikey assistant(folder.path(), dialogs, clock, *windows);
        assistant.show();
        checkFits(&assistant);

        frmUserProfile profile(folder.paths(), kFirstPerson, false, dialogs, &assistant);
        profile.LoadProfileEditor();
        profile.show();
        checkFits(&profile);
    }
};

QTEST_MAIN(TestSmallScreen)
#include "tst_smallscreen.moc"
