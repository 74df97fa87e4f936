#include "core/AppContext.h"
#include "core/Clock.h"
#include "core/Cp932.h"
#include "forms/AnalysisModel.h"
#include "forms/frmAnalysis.h"
#include "support/ScriptedDialogs.h"
#include "support/TempProgramFolder.h"

#include <QDateEdit>
#include <QFile>
#include <QPushButton>
#include <QTest>

class TestAnalysisWindow : public QObject
{
    Q_OBJECT

private slots:
    // The period's months only; postage at each entry date's rate, from a table written
    // beside the data on first use; the table on show saved as CSV.
    void countsThePeriodAndSavesTheTable()
    {
        TempProgramFolder folder;
        const auto entry = [](const QString& day, const QString& way, const QString& kekka,
                              const QString& amount) {
            EntryRecord e = makeEntry(day, "1", "賞品", kekka, amount);
            e[OboWay] = way;
            return e;
        };
        folder.writeMonth("2024", "01",
                          {entry("2024/01/10", "郵送応募", "小物当選", "1000"),
                           entry("2024/01/11", "ネット応募", "落選", "0")});
        folder.writeMonth("2024", "12", {entry("2024/12/01", "郵送応募", "落選", "0")});
        folder.writeMonth("2025", "01", {entry("2025/01/05", "郵送応募", "大物当選", "9000")});
        ScriptedDialogs dialogs;
        FixedClock clock(QDate(2025, 3, 1));
        const AppContext context{folder.paths(), dialogs, clock};
        frmAnalysis window(context, Settings(), QDate(2024, 1, 1), QDate(2024, 12, 1), nullptr);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.findChild<QPushButton*>("cmdRun")->click();

        QVERIFY(QFile::exists(folder.path() + "/postage.txt"));
        const QList<AnalysisRow> ways = window.model(0)->rows();
        QCOMPARE(ways.size(), 2);
        const AnalysisRow& mailed = ways[0].label == "郵送応募" ? ways[0] : ways[1];
        QCOMPARE(mailed.tally.entries, 2);
        QCOMPARE(mailed.tally.wins, 1);
        QCOMPARE(mailed.tally.small, 1);
        QCOMPARE(mailed.postage, qint64(63 + 85));
        QCOMPARE(window.model(0)->rowTexts(int(&mailed - ways.data())),
                 (QStringList{"郵送応募", "2", "1", "1", "0", "0", "50.00", "1000", "148"}));

        const QString csv = folder.path() + "/ways";
        dialogs.queueFileName(csv);
        dialogs.queueAnswer(MessageAnswer::Ok);
        window.findChild<QPushButton*>("cmdSave")->click();
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].box.caption, QString("完了"));
        QFile saved(csv + ".csv");
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QString text;
        QVERIFY(cp932::decode(saved.readAll(), text));
        QVERIFY(text.startsWith("\"応募方法\",\"応募数\",\"当選数\""));
        QVERIFY(text.contains(
            "\"郵送応募\",\"2\",\"1\",\"1\",\"0\",\"0\",\"50.00\",\"1000\",\"148\"\r\n"));
        QVERIFY(dialogs.unexpected.isEmpty());
    }
};

QTEST_MAIN(TestAnalysisWindow)
#include "tst_analysiswindow.moc"
