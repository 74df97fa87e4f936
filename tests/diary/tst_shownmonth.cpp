#include "core/Scramble.h"
#include "diary/ShownMonth.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestShownMonth : public QObject
{
    Q_OBJECT

private slots:
    void loadTellsHowTheFileWasRead_data()
    {
        QTest::addColumn<QString>("filePassword");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("rows");
        using S = MonthRead::Status;
        QTest::newRow("missing") << "-"
                                 << "" << false << int(S::Missing) << 0;
        QTest::newRow("loaded") << ""
                                << "" << false << int(S::Loaded) << 2;
        QTest::newRow("refused: another password") << "a"
                                                   << "b" << false << int(S::Refused) << 0;
        QTest::newRow("refused: password expected") << ""
                                                    << "b" << false << int(S::Refused) << 0;
        QTest::newRow("damaged") << ""
                                 << "" << true << int(S::Damaged) << 0;
    }
    void loadTellsHowTheFileWasRead()
    {
        QFETCH(QString, filePassword);
        QFETCH(QString, password);
        QFETCH(bool, damaged);
        QFETCH(int, state);
        QFETCH(int, rows);
        TempProgramFolder folder;
        if (filePassword != u"-")
            folder.writeMonth("2026", "07",
                              {makeEntry("2026/07/01", "1"), makeEntry("2026/07/02", "2")},
                              filePassword);
        if (damaged) {
            QFile file(folder.paths().monthFilePath("2026", "07"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(scrambleBytes("\"2026/07/01\",\"1\"\r\n")); // the first record cut short
        }
        ShownMonth month(folder.paths());
        QSignalSpy reset(&month, &ShownMonth::reset);
        month.load(QDate(2026, 7, 15), password);
        QCOMPARE(month.month(), QDate(2026, 7, 1));
        QCOMPARE(int(month.fileState()), state);
        QCOMPARE(month.rowCount(), rows);
        QCOMPARE(reset.count(), 1);
        const bool readable =
            state == int(MonthRead::Status::Missing) || state == int(MonthRead::Status::Loaded);
        QCOMPARE(month.readable(), readable);
        if (!readable) {
            // A month that could not be read takes no change and is never written.
            const QByteArray before = bytesOf(month.path());
            QVERIFY(!month.append({makeEntry("2026/07/03", "3")}));
            QVERIFY(!month.remove({0}));
            QCOMPARE(month.save(password).outcome, MonthSave::Outcome::Unreadable);
            QCOMPARE(bytesOf(month.path()), before);
        }
    }

    void savesOnlyItsOwnFile()
    {
        TempProgramFolder folder;
        folder.writeMonth("2026", "08", {makeEntry("2026/08/01", "8")});
        const QString august = folder.paths().monthFilePath("2026", "08");
        const QByteArray augustBefore = bytesOf(august);
        ShownMonth month(folder.paths());
        month.load(QDate(2026, 7, 31), QString());
        QSignalSpy appended(&month, &ShownMonth::appended);
        QVERIFY(month.append({makeEntry("2026/07/01", "1"), makeEntry("2026/07/02", "2")}));
        QCOMPARE(appended.first(), (QVariantList{0, 2}));
        QVERIFY(month.dirty());
        QVERIFY(month.save(QString()).ok());
        QVERIFY(!month.dirty());
        QCOMPARE(bytesOf(august), augustBefore);
        QVERIFY(folder.plainFile("data/2026/07.log").startsWith("\"2026/07/01\",\"1\""));
        // Emptied, the month leaves no file.
        QVERIFY(month.remove({1, 0}));
        QVERIFY(month.save(QString()).ok());
        QVERIFY(!QFile::exists(month.path()));
    }

    // A view that shares the rows lets go of them when told, and gets them back in order: the
    // month's list is changed where it is, with room for the added rows.
    void appendArrangedChangesTheListInPlace()
    {
        TempProgramFolder folder;
        folder.writeMonth("2026", "07",
                          {makeEntry("2026/07/01", "1"), makeEntry("2026/07/09", "9")});
        ShownMonth month(folder.paths());
        QList<EntryRecord> view;
        QStringList told;
        connect(&month, &ShownMonth::aboutToReset, [&] {
            told << "about";
            view = {};
        });
        connect(&month, &ShownMonth::reset, [&] {
            told << "reset";
            view = month.entries();
        });
        month.load(QDate(2026, 7, 1), QString());
        const EntryRecord* rows = month.entries().constData();
        const auto byId = [](QList<EntryRecord>& list) {
            std::sort(list.begin(), list.end(),
                      [](const EntryRecord& a, const EntryRecord& b) { return a[ID] < b[ID]; });
        };
        QVERIFY(month.appendArranged({makeEntry("2026/07/05", "5")}, byId));
        QCOMPARE(month.entries().constData(), rows);
        QCOMPARE(told, (QStringList{"about", "reset", "about", "reset"}));
        QCOMPARE(view.size(), 3);
        QCOMPARE(view[1][ID], QStringLiteral("5"));
        QVERIFY(month.dirty());
    }

    void failedSaveKeepsTheFileAndStaysDirty()
    {
        TempProgramFolder folder;
        folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "1")});
        ShownMonth month(folder.paths());
        month.load(QDate(2026, 7, 1), QString());
        const QString path = month.path();
        QVERIFY(QFile::rename(path, path + ".kept"));
        QVERIFY(QDir().mkpath(path)); // a folder where the file belongs: the write fails
        QVERIFY(month.append({makeEntry("2026/07/02", "2")}));
        const MonthSave save = month.save(QString());
        QCOMPARE(save.outcome, MonthSave::Outcome::WriteFailed);
        QCOMPARE(save.path, path);
        QVERIFY(month.dirty());
    }

    void moveWritesTheOtherMonthFirst_data()
    {
        QTest::addColumn<bool>("otherRefused");
        QTest::newRow("other month readable") << false;
        QTest::newRow("other month refused") << true;
    }
    void moveWritesTheOtherMonthFirst()
    {
        QFETCH(bool, otherRefused);
        TempProgramFolder folder;
        folder.writeMonth("2026", "07",
                          {makeEntry("2026/07/01", "1"), makeEntry("2026/07/02", "2")});
        folder.writeMonth("2026", "08", {makeEntry("2026/08/09", "9")},
                          otherRefused ? QStringLiteral("x") : QString());
        const QByteArray julyBefore = bytesOf(folder.paths().monthFilePath("2026", "07"));
        const QByteArray augustBefore = bytesOf(folder.paths().monthFilePath("2026", "08"));
        ShownMonth month(folder.paths());
        month.load(QDate(2026, 7, 1), QString());
        EntryRecord moved = month.entries().at(0);
        moved[KeyDate] = QStringLiteral("2026/08/03");
        const ShownMonth::Move move =
            month.moveRow(0, moved, QString(), [](QList<EntryRecord>& rows) {
                std::sort(rows.begin(), rows.end(), [](const EntryRecord& a, const EntryRecord& b) {
                    return a[KeyDate] < b[KeyDate];
                });
            });
        QCOMPARE(move.ok(), !otherRefused);
        if (otherRefused) {
            QCOMPARE(month.rowCount(), 2);
            QCOMPARE(bytesOf(folder.paths().monthFilePath("2026", "07")), julyBefore);
            QCOMPARE(bytesOf(folder.paths().monthFilePath("2026", "08")), augustBefore);
            return;
        }
        QCOMPARE(move.otherMonth, QDate(2026, 8, 1));
        QCOMPARE(month.rowCount(), 1);
        QCOMPARE(month.entries().at(0)[ID], QStringLiteral("2"));
        QVERIFY(!month.dirty());
        QVERIFY(folder.plainFile("data/2026/07.log").startsWith("\"2026/07/02\""));
        QVERIFY(folder.plainFile("data/2026/08.log").startsWith("\"2026/08/03\",\"1\""));
        QCOMPARE(move.otherEntries.size(), 2);
    }
};

QTEST_MAIN(TestShownMonth)
#include "tst_shownmonth.moc"
