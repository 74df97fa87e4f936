#include "core/AtomicFile.h"
#include "core/FileFaults.h"
#include "diary/MonthFile.h"
#include "diary/SettingsApply.h"
#include "diary/SummaryFiles.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <algorithm>

namespace {

EntryRecord entry(const QString& key, const QString& other, const QString& id)
{
    EntryRecord e = makeEntry(key, id);
    e[OtherDate] = other;
    return e;
}

QList<EntryRecord> monthEntries(const TempProgramFolder& f, const QString& year,
                                const QString& month, const QString& password = QString())
{
    const MonthRead read = readMonthFile(f.paths().monthFilePath(year, month), password);
    return read.status == MonthRead::Status::Loaded ? read.entries : QList<EntryRecord>();
}

// The whole key change as the apply button runs it; the commit stores `settingsImage`.
KeyRewrite changeKey(const TempProgramFolder& f, const ApplyProgress& progress = {})
{
    const StoredMonths read = readStoredMonths(f.paths(), QString(), QString(), progress);
    return rewriteKeyDates(
        f.paths(), regroupByNewKey(read, progress), read.records, QString(), {},
        [](const QString& path) { return writeFileAtomically(path, "new settings"); }, progress);
}

// A password rewrite whose commit stores `settingsImage`.
PasswordRewrite changePassword(const TempProgramFolder& f, const QString& oldPassword,
                               const QString& newPassword,
                               const QByteArray& settingsImage = "new settings")
{
    return rewritePasswordLines(f.paths(), oldPassword, newPassword, [&](const QString& path) {
        return writeFileAtomically(path, settingsImage);
    });
}

QDateTime modified(const TempProgramFolder& f, const QString& relative)
{
    return QFileInfo(f.path() + u'/' + relative).lastModified();
}

} // namespace

class TestSettingsApply : public QObject
{
    Q_OBJECT

private slots:
    void keyChangeMovesEntriesToTheirNewMonthAndBack()
    {
        TempProgramFolder f;
        // Entry date leads: booked in March, deadline in April.
        const EntryRecord aprilDeadline = entry("2026/03/10", "2026/04/05", "0012");
        f.writeMonth("2026", "03",
                     {aprilDeadline, entry("2026/03/20", "2026/03/25", "abc"),
                      entry("2026/03/21", "2026/03/25", "5"),
                      entry("2026/03/22", "2026/03/25", "003")});
        YearSummary withExpense;
        withExpense.months[2].expenses = Currency::fromUnits(500);
        QVERIFY(writeYearSummary(f.paths().yearSummaryPath("2026"), withExpense).isEmpty());
        QVERIFY(writeFileAtomically(f.paths().yearFolder("2026") + "/memo.txt", "kept").isEmpty());
        // The user's own folders in a year folder, a month-like name among them.
        QVERIFY(QDir().mkpath(f.paths().yearFolder("2026") + "/photos/01.log"));
        QVERIFY(writeFileAtomically(f.paths().yearFolder("2026") + "/photos/prize.jpg", "jpg")
                    .isEmpty());

        QList<int> steps;
        const KeyRewrite done = changeKey(f, [&](int value, int maximum) {
            QVERIFY(maximum == 0 || maximum == 12);
            steps.append(value);
        });
        QVERIFY2(done.error.isEmpty(), qPrintable(done.error));
        QVERIFY(done.committed);
        // Read, copied and written: three steps per entry, always forward.
        QCOMPARE(steps.last(), 12);
        QVERIFY(std::is_sorted(steps.begin(), steps.end()));

        const QList<EntryRecord> march = monthEntries(f, "2026", "03");
        QCOMPARE(march.size(), 3);
        // Key date, then ID as a number: 3 before 5, the non-numeric ID last; zeros dropped.
        QCOMPARE(march[0][ID], QString("3"));
        QCOMPARE(march[1][ID], QString("5"));
        QCOMPARE(march[2][ID], QString("abc"));
        QCOMPARE(march[0][KeyDate], QString("2026/03/25"));
        QCOMPARE(march[0][OtherDate], QString("2026/03/22"));
        const QList<EntryRecord> april = monthEntries(f, "2026", "04");
        QCOMPARE(april.size(), 1);
        QCOMPARE(april[0][KeyDate], QString("2026/04/05"));
        QCOMPARE(april[0][OtherDate], QString("2026/03/10"));
        QCOMPARE(april[0][ID], QString("12"));

        // Summaries rebuilt from the new months; the booked expense is gone.
        const YearSummary year = readYearSummary(f.paths().yearSummaryPath("2026"));
        QCOMPARE(year.months[2].entries, 3);
        QCOMPARE(year.months[3].entries, 1);
        QCOMPARE(year.months[2].expenses, Currency());
        const QList<TotalRow> total = readTotalSummary(f.paths().totalSummaryPath());
        QCOMPARE(total.size(), 1);
        QCOMPARE(total[0].figures.entries, 4);

        // The settings that go with the new files are in place; nothing is left over.
        QCOMPARE(readWholeFile(f.paths().settingsPath()).bytes, QByteArray("new settings"));
        QVERIFY(!QFileInfo::exists(f.paths().dataFolder() + "/.apply"));
        QCOMPARE(readWholeFile(f.paths().yearFolder("2026") + "/memo.txt").bytes,
                 QByteArray("kept"));
        QCOMPARE(readWholeFile(f.paths().yearFolder("2026") + "/photos/prize.jpg").bytes,
                 QByteArray("jpg"));
        QVERIFY(QFileInfo(f.paths().yearFolder("2026") + "/photos/01.log").isDir());

        // And back: the April entry returns to March with both dates as they were.
        QVERIFY(changeKey(f).error.isEmpty());
        QVERIFY(!QFileInfo::exists(f.paths().monthFilePath("2026", "04")));
        EntryRecord restored = aprilDeadline;
        restored[ID] = "12";
        QVERIFY(monthEntries(f, "2026", "03").contains(restored));
    }

    void aFailedKeyChangeNamesTheUsersFile()
    {
        TempProgramFolder f;
        f.writeMonth("2026", "03", {entry("2026/03/10", "2026/03/05", "1")});
        const QByteArray before = readWholeFile(f.paths().monthFilePath("2026", "03")).bytes;
        filefaults::start(1); // the first write: the new March file
        const KeyRewrite failed = changeKey(f);
        filefaults::stop();
        QVERIFY(!failed.committed);
        QVERIFY2(failed.error.contains(f.paths().monthFilePath("2026", "03")),
                 qPrintable(failed.error));
        QVERIFY2(!failed.error.contains(".apply"), qPrintable(failed.error));
        QCOMPARE(readWholeFile(f.paths().monthFilePath("2026", "03")).bytes, before);
    }

    void keyChangeIsRefusedWhileAFileCannotBeRead()
    {
        TempProgramFolder f;
        f.writeMonth("2026", "03", {entry("2026/03/10", "2026/04/05", "1")});
        f.writeMonth("2025", "12", {entry("2025/12/10", "2026/01/05", "2")}, "third");
        const StoredMonths read = readStoredMonths(f.paths(), QString(), QString());
        QVERIFY(!read.canChangeKey());
        QCOMPARE(read.unreadable, QStringList{f.paths().monthFilePath("2025", "12")});

        // An entry without a usable other date could not be placed in any month.
        TempProgramFolder g;
        g.writeMonth("2026", "03", {entry("2026/03/10", "", "1")});
        QVERIFY(!readStoredMonths(g.paths(), QString(), QString()).canChangeKey());
    }

    void passwordLinesFollowThePasswordInForce()
    {
        TempProgramFolder f;
        f.writeMonth("2026", "03", {entry("2026/03/10", "2026/04/05", "1")});
        f.writeMonth("2026", "04", {entry("2026/04/10", "2026/04/15", "2")});
        f.writeMonth("2025", "01", {entry("2025/01/10", "2025/01/15", "3")}, "third");
        const QByteArray third = f.plainFile("data/2025/01.log");

        // Switched on: every file gets the line; the third password's file is reported and kept.
        const PasswordRewrite on = changePassword(f, QString(), "pw");
        QVERIFY2(on.error.isEmpty(), qPrintable(on.error));
        QCOMPARE(on.rewritten, 2);
        QCOMPARE(on.refused, QStringList{f.paths().monthFilePath("2025", "01")});
        QVERIFY(f.plainFile("data/2026/03.log").startsWith("\"StartPassword=pw\"\r\n"));
        QCOMPARE(monthEntries(f, "2026", "04", "pw").size(), 1);
        QCOMPARE(f.plainFile("data/2025/01.log"), third);
        QCOMPARE(readWholeFile(f.paths().settingsPath()).bytes, QByteArray("new settings"));
        QVERIFY(!QFileInfo::exists(f.paths().dataFolder() + "/.apply"));

        // No change: every file is read, none is written.
        const QDateTime before = modified(f, "data/2026/03.log");
        QTest::qWait(20);
        const PasswordRewrite same = changePassword(f, "pw", "pw");
        QCOMPARE(same.rewritten, 0);
        QCOMPARE(same.refused.size(), 1);
        QCOMPARE(modified(f, "data/2026/03.log"), before);

        // A damaged file is told apart from a refused one and kept as well.
        QVERIFY(writeFileAtomically(f.paths().monthFilePath("2024", "05"), "\x81").isEmpty());
        // Switched off: the line goes from every file that carried the old password.
        const PasswordRewrite off = changePassword(f, "pw", QString());
        QCOMPARE(off.rewritten, 2);
        QCOMPARE(off.damaged, QStringList{f.paths().monthFilePath("2024", "05")});
        QVERIFY(f.plainFile("data/2026/03.log").startsWith("\"2026/03/10\""));
        QCOMPARE(f.plainFile("data/2025/01.log"), third);
    }

    // Every write, sync, rename and remove of a password change failing in turn, each
    // followed by the next start: the months and the settings always agree on one password.
    void aPasswordChangeThatFailsAnywhereEndsUnderOnePassword()
    {
        for (long failAt = 1;; ++failAt) {
            TempProgramFolder f;
            for (int m = 1; m <= 3; ++m)
                f.writeMonth(
                    "2026", QString("0%1").arg(m),
                    {entry(QString("2026/0%1/10").arg(m), "2026/04/05", QString::number(m))});
            QVERIFY(writeFileAtomically(f.paths().settingsPath(), "old settings").isEmpty());
            filefaults::start(failAt);
            const PasswordRewrite rewrite = changePassword(f, QString(), "pw");
            const long operations = filefaults::stop();
            QVERIFY(rewrite.error.isEmpty() == (failAt > operations));
            // Before the commit nothing of ours is named; after it only the work folder can be.
            QVERIFY2(rewrite.committed || !rewrite.error.contains(".apply"),
                     qPrintable(rewrite.error));
            QVERIFY(finishInterruptedApply(f.paths()) != ApplyRecovery::Failed);

            const QByteArray settings = readWholeFile(f.paths().settingsPath()).bytes;
            QVERIFY(settings == "old settings" || settings == "new settings");
            QCOMPARE(settings == "new settings", rewrite.committed);
            const QString password = rewrite.committed ? "pw" : "";
            for (int m = 1; m <= 3; ++m)
                QCOMPARE(monthEntries(f, "2026", QString("0%1").arg(m), password).size(), 1);
            QVERIFY(!QFileInfo::exists(f.paths().dataFolder() + "/.apply"));
            if (failAt > operations)
                break;
        }
    }

    // What the next start finds of a password change cut off by a kill.
    void anInterruptedPasswordChangeIsFinishedOrUndone()
    {
        TempProgramFolder f;
        f.writeMonth("2026", "03", {entry("2026/03/10", "2026/04/05", "1")});
        f.writeMonth("2026", "04", {entry("2026/04/10", "2026/04/15", "2")});
        const QString staging = f.paths().dataFolder() + "/.apply";
        const AppPaths fresh(staging);
        const QByteArray underPw =
            formatMonthText({entry("2026/03/10", "2026/04/05", "1")}, "pw").plain;
        QVERIFY(writeFileAtomically(staging + "/password", "1").isEmpty());
        QVERIFY(writeMonthFile(fresh.monthFilePath("2026", "03"), underPw).isEmpty());
        QCOMPARE(finishInterruptedApply(f.paths()), ApplyRecovery::RolledBack);
        QCOMPARE(monthEntries(f, "2026", "03").size(), 1);

        // Committed, one file renamed already: the other follows and the settings go in.
        QVERIFY(writeFileAtomically(staging + "/password", "1").isEmpty());
        QVERIFY(writeMonthFile(f.paths().monthFilePath("2026", "03"), underPw).isEmpty());
        QVERIFY(
            writeMonthFile(fresh.monthFilePath("2026", "04"),
                           formatMonthText({entry("2026/04/10", "2026/04/15", "2")}, "pw").plain)
                .isEmpty());
        QVERIFY(writeFileAtomically(staging + "/commit", "pw settings").isEmpty());
        QCOMPARE(finishInterruptedApply(f.paths()), ApplyRecovery::Finished);
        QCOMPARE(monthEntries(f, "2026", "03", "pw").size(), 1);
        QCOMPARE(monthEntries(f, "2026", "04", "pw").size(), 1);
        QCOMPARE(readWholeFile(f.paths().settingsPath()).bytes, QByteArray("pw settings"));
        QVERIFY(!QFileInfo::exists(staging));

        // Finished but for the tidying: known as finished, not as undone.
        QVERIFY(writeFileAtomically(staging + "/done", "").isEmpty());
        QCOMPARE(finishInterruptedApply(f.paths()), ApplyRecovery::Finished);
        QVERIFY(QDir().mkpath(staging));
        QCOMPARE(finishInterruptedApply(f.paths()), ApplyRecovery::None);
        QVERIFY(!QFileInfo::exists(staging));
    }

    void anInterruptedKeyChangeEndsWithOneWholeSetOfData()
    {
        // Not committed: the half-built new data goes, the old data stays.
        TempProgramFolder f;
        f.writeMonth("2026", "03", {entry("2026/03/10", "2026/04/05", "1")});
        const QString staging = f.paths().dataFolder() + "/.apply";
        const AppPaths fresh(staging);
        QVERIFY(writeMonthFile(fresh.monthFilePath("2026", "04"), "partial").isEmpty());
        QCOMPARE(finishInterruptedApply(f.paths()), ApplyRecovery::RolledBack);
        QVERIFY(!QFileInfo::exists(staging));
        QCOMPARE(monthEntries(f, "2026", "03").size(), 1);

        // Committed, cut off while the old folders were being moved aside: it is finished,
        // the settings stored with the commit included.
        const QByteArray newMonth =
            formatMonthText({entry("2027/01/05", "2026/12/30", "9")}, QString()).plain;
        QVERIFY(writeMonthFile(fresh.monthFilePath("2027", "01"), newMonth).isEmpty());
        QVERIFY(writeFileAtomically(staging + "/commit", "committed settings").isEmpty());
        QCOMPARE(finishInterruptedApply(f.paths()), ApplyRecovery::Finished);
        QVERIFY(!QFileInfo::exists(f.paths().yearFolder("2026")));
        QCOMPARE(monthEntries(f, "2027", "01").size(), 1);
        QCOMPARE(readWholeFile(f.paths().settingsPath()).bytes, QByteArray("committed settings"));
        QVERIFY(!QFileInfo::exists(staging));

        // Cut off while the new folders were being moved in: the ones already in place stay.
        QVERIFY(writeMonthFile(fresh.monthFilePath("2028", "02"), newMonth).isEmpty());
        QVERIFY(writeFileAtomically(staging + "/commit", "again").isEmpty());
        QVERIFY(writeFileAtomically(staging + "/moved-out", "1").isEmpty());
        QCOMPARE(finishInterruptedApply(f.paths()), ApplyRecovery::Finished);
        QVERIFY(QFileInfo::exists(f.paths().monthFilePath("2027", "01")));
        QVERIFY(QFileInfo::exists(f.paths().monthFilePath("2028", "02")));
    }
};

QTEST_GUILESS_MAIN(TestSettingsApply)
#include "tst_settingsapply.moc"
