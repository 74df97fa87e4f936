#include "diary/ClipboardImport.h"
#include "diary/ImportRegistration.h"
#include "support/TempProgramFolder.h"

#include <QMap>
#include <QSet>
#include <QTest>

namespace {

// Month lists kept in memory, recording what the registration asks of the window.
struct FakeMonths
{
    QMap<QString, QList<EntryRecord>> months; // "yyyy/MM"
    QStringList unreadable;
    QString failingSave;
    QStringList calls;
    QList<QString> questions; // IDs asked about
    QSet<QString> declineIds;

    ImportHooks hooks()
    {
        ImportHooks h;
        h.loadMonth =
            [this](const QString& y,
                   const QString& m) -> std::variant<QList<EntryRecord>, UnreadableMonth> {
            calls << "load " + y + "/" + m;
            if (unreadable.contains(y + "/" + m))
                return UnreadableMonth{y + "/" + m + ".log", MonthRead::Status::Damaged};
            return months.value(y + "/" + m);
        };
        h.appendAndSave = [this](const QString& y, const QString& m,
                                 const QList<EntryRecord>& rows) {
            calls << "save " + y + "/" + m;
            if (failingSave == y + "/" + m)
                return false;
            months[y + "/" + m] += rows;
            return true;
        };
        h.confirmDuplicate = [this](const EntryRecord& row) {
            questions << row[ID];
            return !declineIds.contains(row[ID]);
        };
        return h;
    }

    QStringList ids(const QString& month) const
    {
        QStringList out;
        for (const EntryRecord& e : months.value(month))
            out << e[ID];
        return out;
    }
};

QString listing(const QString& id, const QString& deadline)
{
    return QStringLiteral(
               "ID:%1 賞品:賞品%1\n当選数:5名様 "
               "締切:%2\nサイト名:S\n紹介文:\n［現金│アンケート│抽選│毎月│ネット応募］\n")
        .arg(id, deadline);
}

QList<EntryRecord> parsedAndSorted(const QString& text, bool keyIsEndDay)
{
    ImportParseOptions o;
    o.keyIsEndDay = keyIsEndDay;
    o.viewedDay = QDate(2024, 2, 20);
    QList<EntryRecord> rows = parseClipboardListings(text, o).records;
    sortImportedRows(rows);
    return rows;
}

const QString kMarchAndApril = listing("11", "2024/04/05") + listing("12", "2024/03/20") +
                               listing("13", "2024/04/01") + listing("14", "2024/03/02");

} // namespace

class TestImportRegistration : public QObject
{
    Q_OBJECT

private slots:
    // Deadline as key: each month is loaded and saved once, in date order.
    void deadlineKeyFillsEachMonth_data()
    {
        QTest::addColumn<bool>("duplicateCheck");
        QTest::newRow("with duplicate check") << true;
        QTest::newRow("without duplicate check") << false;
    }
    void deadlineKeyFillsEachMonth()
    {
        QFETCH(bool, duplicateCheck);
        FakeMonths store;
        store.months["2024/03"] = {makeEntry("2024/03/01", "12")};
        const ImportOutcome outcome = registerImportedRows(parsedAndSorted(kMarchAndApril, true),
                                                           duplicateCheck, store.hooks());
        QCOMPARE(outcome.registered, 4);
        QCOMPARE(store.calls,
                 (QStringList{"load 2024/03", "save 2024/03", "load 2024/04", "save 2024/04"}));
        QCOMPARE(store.ids("2024/03"), (QStringList{"12", "14", "12"}));
        QCOMPARE(store.ids("2024/04"), (QStringList{"13", "11"}));
        // Asked only with the check on, and registered on Yes.
        QCOMPARE(store.questions, duplicateCheck ? QStringList{"12"} : QStringList{});
    }

    // Entry date as key: every listing goes into the month on show.
    void entryDateKeyFillsViewedMonth_data() { deadlineKeyFillsEachMonth_data(); }
    void entryDateKeyFillsViewedMonth()
    {
        QFETCH(bool, duplicateCheck);
        FakeMonths store;
        const ImportOutcome outcome = registerImportedRows(parsedAndSorted(kMarchAndApril, false),
                                                           duplicateCheck, store.hooks());
        QCOMPARE(outcome.registered, 4);
        QCOMPARE(store.calls, (QStringList{"load 2024/02", "save 2024/02"}));
        QCOMPARE(store.ids("2024/02"), (QStringList{"11", "12", "13", "14"}));
    }

    void duplicatesAskOncePerListing()
    {
        FakeMonths store;
        store.months["2024/03"] = {makeEntry("2024/03/01", "12"), makeEntry("2024/03/02", "14")};
        store.months["2024/04"] = {makeEntry("2024/04/01", "11")};
        store.declineIds = {"14"};
        const ImportOutcome outcome =
            registerImportedRows(parsedAndSorted(kMarchAndApril, true), true, store.hooks());
        QCOMPARE(store.questions, (QStringList{"14", "12", "11"}));
        QCOMPARE(outcome.registered, 3);
        QCOMPARE(outcome.declined, 1);
        QCOMPARE(store.ids("2024/03"), (QStringList{"12", "14", "12"}));
        QCOMPARE(store.ids("2024/04"), (QStringList{"11", "13", "11"}));
    }

    void sameListingTwiceIsRegisteredTwice()
    {
        FakeMonths store;
        const QString twice = listing("50", "2024/03/10") + listing("50", "2024/03/10");
        registerImportedRows(parsedAndSorted(twice, true), true, store.hooks());
        QVERIFY(store.questions.isEmpty());
        QCOMPARE(store.ids("2024/03"), (QStringList{"50", "50"}));
    }

    void everyRowDeclinedSavesNothing()
    {
        FakeMonths store;
        store.months["2024/03"] = {makeEntry("2024/03/01", "50")};
        store.declineIds = {"50"};
        registerImportedRows(parsedAndSorted(listing("50", "2024/03/10"), true), true,
                             store.hooks());
        QCOMPARE(store.calls, QStringList{"load 2024/03"});
    }

    void unreadableMonthIsLeftAlone()
    {
        FakeMonths store;
        store.unreadable = {"2024/03"};
        int lastDone = 0;
        ImportHooks hooks = store.hooks();
        hooks.progress = [&](int done, int total) {
            QCOMPARE(total, 4);
            QVERIFY(done > lastDone);
            lastDone = done;
        };
        const ImportOutcome outcome =
            registerImportedRows(parsedAndSorted(kMarchAndApril, true), false, hooks);
        QCOMPARE(lastDone, 4);
        QCOMPARE(outcome.registered, 2);
        QCOMPARE(outcome.unreadableMonths.size(), 1);
        QCOMPARE(outcome.unreadableMonths[0].path, QStringLiteral("2024/03.log"));
        QCOMPARE(outcome.notRegistered.size(), 2);
        QVERIFY(!store.calls.contains("save 2024/03"));
        QCOMPARE(store.ids("2024/04"), (QStringList{"13", "11"}));
    }

    void failedSaveEndsTheImport()
    {
        FakeMonths store;
        store.failingSave = "2024/03";
        const ImportOutcome outcome =
            registerImportedRows(parsedAndSorted(kMarchAndApril, true), false, store.hooks());
        QCOMPARE(store.calls, (QStringList{"load 2024/03", "save 2024/03"}));
        QCOMPARE(outcome.registered, 0);
        QCOMPARE(outcome.unsavedMonth, QString("2024/03"));
        QCOMPARE(outcome.notRegistered.size(), 4);
    }

    // Rows left in another order (a different sort column) still reach their months;
    // a month met twice is loaded twice and keeps both runs.
    void unsortedRowsStillReachTheirMonths()
    {
        FakeMonths store;
        ImportParseOptions o;
        o.keyIsEndDay = true;
        o.viewedDay = QDate(2024, 2, 20);
        const QList<EntryRecord> rows = parseClipboardListings(kMarchAndApril, o).records;
        QCOMPARE(groupImportByMonth(rows).size(), 4);
        registerImportedRows(rows, false, store.hooks());
        QCOMPARE(store.ids("2024/03"), (QStringList{"12", "14"}));
        QCOMPARE(store.ids("2024/04"), (QStringList{"11", "13"}));
    }
};

QTEST_GUILESS_MAIN(TestImportRegistration)
#include "tst_importregistration.moc"
