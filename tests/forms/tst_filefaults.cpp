#include "assistant/frmUserProfile.h"
#include "core/AtomicFile.h"
#include "core/FileFaults.h"
#include "core/Scramble.h"
#include "diary/Backup.h"
#include "diary/MonthFile.h"
#include "diary/SummaryFiles.h"
#include "support/MainWindowHarness.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Files = QMap<QString, QByteArray>;

// Every file below `root` by relative path; our work folder holds only records and
// temporaries, which are checked on their own.
Files filesBelow(const QString& root)
{
    Files files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        if (!relative.startsWith(QLatin1String("data/.zumi-work/")))
            files.insert(relative, readWholeFile(path).ok ? readWholeFile(path).bytes
                                                          : QByteArray("unreadable"));
    }
    return files;
}

QString listing(const QString& id, const QString& deadline)
{
    return QStringLiteral(
               "ID:%1 賞品:景品 <http://example.jp/x>\r\nURL http://www.example.jp/c/\r\n"
               "当選数:10名様 締切:%2\r\nサイト名:サンプル\r\n紹介文:記念\r\n"
               "［家電ＡＶ製品│アンケート│抽選│毎月│ネット応募］\r\n")
        .arg(id, deadline);
}

// One operation of the two programs over a fresh program folder, started and ready.
struct Fixture : MainWindowHarness
{
    Fixture() : MainWindowHarness(QDate(2026, 7, 15), "[Setting]\r\nFormatKey=0\r\n")
    {
        QList<EntryRecord> july;
        for (int i = 0; i < 3; ++i)
            july.append(makeEntry("2026/07/01", QString::number(i)));
        folder.writeMonth("2026", "07", july);
        YearSummary year;
        year.months[6].entries = 3;
        year.months[6].expenses = Currency::fromUnits(700);
        writeYearSummary(folder.paths().yearSummaryPath("2026"), year);
        writeTotalSummary(folder.paths().totalSummaryPath(),
                          {TotalRow{"2026", year.yearTally(), {}}});
        writeFileAtomically(folder.path() + "/out.csv", "an older list");
        backupData(folder.paths(), folder.path(), QDate(2026, 1, 1)); // what a restore brings back
        july.append(makeEntry("2026/07/02", "3"));
        folder.writeMonth("2026", "07", july);
        start(true);
    }
    // Answers the OK boxes the operation may show from here on.
    void answerOkBoxes()
    {
        for (int i = 0; i < okBoxes; ++i)
            dialogs.queueAnswer(MessageAnswer::Ok);
    }
    std::unique_ptr<frmUserProfile> profile;
    int okBoxes = 0;
};

struct Operation
{
    std::function<void(Fixture&)> run;
    int doneBoxes = 0; // the OK boxes that say it is done
};

const QMap<QString, Operation>& operations()
{
    static const QMap<QString, Operation> all{
        {"registration save", {[](Fixture& f) {
             f.button("cmdNewInput")->click();
             f.form()->findChild<QLineEdit*>("txtPresent")->setText("ホットプレート");
             f.answerOkBoxes();
             f.form()->findChild<QPushButton*>("cmdKoshin")->click();
         }}},
        {"clipboard import", {[](Fixture& f) {
             f.dialogs.clipboard = listing("71", "2026/07/31") + listing("81", "2026/08/15");
             f.answerOkBoxes();
             f.button("cmdInput")->click();
         }}},
        {"month emptied", {[](Fixture& f) {
             f.child<QTableView>("lvwMonth")->selectAll(); // every row: deleted without a question
             f.answerOkBoxes();
             f.button("cmdDelete")->click();
         }}},
        {"year row delete", {[](Fixture& f) {
             f.selectTab("T_Year");
             auto* year = f.child<QTableView>("lvwYear");
             emit year->clicked(year->model()->index(6, 0));
             f.answerOkBoxes();
             f.button("cmdDelete")->click();
         }}},
        {"settings save", {[](Fixture& f) {
             f.answerOkBoxes();
             f.button("cmdEnd")->click();
         }}},
        {"settings apply",
         {[](Fixture& f) {
              f.selectTab("T_Setting");
              f.child<QRadioButton>("optEndDay")->click(); // a key change rewrites every month
              f.answerOkBoxes();
              f.button("cmdSetting")->click();
          },
          1}},
        {"export",
         {[](Fixture& f) {
              f.dialogs.queueFileName(f.folder.path() + "/out.csv");
              f.answerOkBoxes();
              f.button("cmdSave")->click();
          },
          1}},
        {"backup",
         {[](Fixture& f) {
              f.dialogs.queueFolder(f.folder.path());
              f.answerOkBoxes();
              f.button("cmdBackUp")->click();
          },
          1}},
        {"restore",
         {[](Fixture& f) {
              f.dialogs.queueAnswer(MessageAnswer::Yes);
              f.dialogs.queueFolder(f.folder.path() + "/20260101_zumicho_backup");
              f.answerOkBoxes();
              f.button("cmdRestore")->click();
          },
          1}},
        {"profile save", {[](Fixture& f) {
             f.profile =
                 std::make_unique<frmUserProfile>(f.folder.paths(), kFirstPerson, false, f.dialogs);
             f.profile->findChild<QLineEdit*>("txtUserJob")->setText("会社員");
             f.answerOkBoxes();
             QTest::mouseClick(f.profile->findChild<QPushButton*>("cmdUserSet"), Qt::LeftButton);
         }}},
    };
    return all;
}

// A failing call may be told in more than one box (the failure, then what was left undone).
constexpr int kMostBoxesOfAFailure = 4;

// A box that names a file below `folder`.
bool namesAFile(const ScriptedDialogs& dialogs, const QString& folder)
{
    for (const auto& shown : dialogs.shown) {
        const bool error =
            shown.box.icon == MessageIcon::Critical || shown.box.icon == MessageIcon::Exclamation;
        if (error && shown.box.text.contains(QDir::toNativeSeparators(folder)))
            return true;
    }
    return false;
}

// Operations that save several months pass through whole versions of the summaries
// between the old and the new one.
bool readsWhole(const QString& relative, const QByteArray& bytes)
{
    static const QRegularExpression month(QStringLiteral("^data/\\d{4}/\\d\\d\\.log$"));
    static const QRegularExpression summary(QStringLiteral("^data/0000/.+\\.log$"));
    // A backup whose copy is complete but not yet moved in leaves its mark for the next start.
    if (relative == u"data.backup_pending")
        return bytes.endsWith("_backup\n");
    const QByteArray plain = scrambleBytes(bytes);
    if (month.match(relative).hasMatch())
        return parseMonthText(plain, QString()).status == MonthText::Status::Loaded;
    return summary.match(relative).hasMatch() && plain.endsWith("\r\n");
}

// A call of the file layer by what it did and to which path below `root`; temporary files
// by their kind only.
QString callName(const filefaults::Call& call, const QString& root)
{
    static const char* const kOps[] = {"write", "flush", "sync", "rename", "remove"};
    static const QRegularExpression temporary(QStringLiteral("[^/]*\\.tmp$"));
    QString path = QDir(root).relativeFilePath(call.path);
    path.replace(temporary, QStringLiteral("*.tmp"));
    return QString::fromLatin1(kOps[int(call.op)]) + u' ' + path;
}

// The only calls that may fail without a word, by name and by the call just before: each
// leaves a record that costs some work at the next start, and all the user asked for is done.
bool mayFailUnseen(const QString& call, const QString& before)
{
    static const struct
    {
        QRegularExpression call;
        QString before; // empty: any
    } allowed[] = {
        // The record of a finished save unit: left behind, it costs a recount of its month.
        {QRegularExpression(QStringLiteral("^remove data/\\.zumi-work/recount-\\d{4}-\\d\\d$")),
         {}},
        // The mark of a finished backup: the next backup or start finds nothing to finish and
        // removes it.
        {QRegularExpression(QStringLiteral("^remove data\\.backup_pending$")), {}},
        {QRegularExpression(QStringLiteral("^sync \\.$")),
         QStringLiteral("remove data.backup_pending")},
    };
    for (const auto& a : allowed) {
        if (a.call.match(call).hasMatch() && (a.before.isEmpty() || a.before == before))
            return true;
    }
    return false;
}

// Every file and folder below `root` whose permissions are not the user's alone (0600, 0700),
// as "path mode".
QStringList notPrivate(const QString& root, const QStringList& keptModes)
{
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        const int mode = permissionBits(path);
        const int expected = keptModes.contains(relative) ? 0640
                             : it.fileInfo().isDir()      ? 0700
                                                          : 0600;
        if (mode != expected)
            found.append(relative + u' ' + QString::number(mode, 8));
    }
    return found;
}

bool saidDone(const ScriptedDialogs& dialogs)
{
    for (const auto& shown : dialogs.shown) {
        if (shown.box.caption == u"完了")
            return true;
    }
    return false;
}

} // namespace

class TestFileFaults : public QObject
{
    Q_OBJECT

private slots:
    // Each operation once for every call of the file layer it makes, that call failing.
    void everyFailingCallIsReportedAndLosesNothing_data()
    {
        QTest::addColumn<QString>("operation");
        for (const QString& name : operations().keys())
            QTest::newRow(qPrintable(name)) << name;
    }

    void everyFailingCallIsReportedAndLosesNothing()
    {
        QFETCH(QString, operation);
        const Operation& op = operations()[operation];
        Files before;
        Files after;
        long calls = 0;
        {
            Fixture f;
            before = filesBelow(f.folder.path());
            f.okBoxes = op.doneBoxes;
            filefaults::start(0);
            op.run(f);
            calls = filefaults::stop();
            after = filesBelow(f.folder.path());
            QVERIFY(!namesAFile(f.dialogs, f.folder.path()));
            QVERIFY(f.dialogs.allAnswersUsed());
        }
        QVERIFY(calls > 0);
        QVERIFY(after != before);
        QStringList unseen;
        for (long k = 1; k <= calls; ++k) {
            Fixture f;
            const Files start = filesBelow(f.folder.path());
            f.okBoxes = kMostBoxesOfAFailure;
            filefaults::start(k);
            op.run(f);
            filefaults::stop();
            f.dialogs.dropUnusedAnswers();
            const QList<filefaults::Call> made = filefaults::calls();
            QVERIFY(made.size() >= k);
            const QString call = callName(made[k - 1], f.folder.path());
            const QString at = QStringLiteral("call %1 (%2)").arg(k).arg(call);
            const Files now = filesBelow(f.folder.path());
            if (!namesAFile(f.dialogs, f.folder.path())) {
                const QString before = k > 1 ? callName(made[k - 2], f.folder.path()) : QString();
                QVERIFY2(mayFailUnseen(call, before), qPrintable(at + " failed without a word"));
                Files withoutMark = now;
                withoutMark.remove(QStringLiteral("data.backup_pending")); // tidied at next start
                QVERIFY2(withoutMark == after, qPrintable(at + " failed without a word"));
                unseen.append(call);
                continue;
            }
            QVERIFY2(!saidDone(f.dialogs), qPrintable(at));
            for (auto it = now.cbegin(); it != now.cend(); ++it) {
                // The old file as it was, or a new one complete; nothing else appears.
                const bool asBefore = start.contains(it.key()) && start[it.key()] == it.value();
                const bool asAfter = after.contains(it.key()) && after[it.key()] == it.value();
                QVERIFY2(asBefore || asAfter || readsWhole(it.key(), it.value()),
                         qPrintable(at + ": " + it.key()));
            }
            for (auto it = start.cbegin(); it != start.cend(); ++it)
                QVERIFY2(now.contains(it.key()) || !after.contains(it.key()),
                         qPrintable(at + " lost " + it.key()));
            const QStringList work =
                QDir(workFolderOf(f.folder.paths().dataFolder())).entryList({"*.tmp"}, QDir::Files);
            QVERIFY2(work.isEmpty(), qPrintable(at + ": " + work.join(' ')));
        }
        qInfo("%s: %ld calls of the file layer, each failed once: %ld reported, %ld unseen (%s)",
              qPrintable(operation), calls, calls - long(unseen.size()), long(unseen.size()),
              qPrintable(unseen.join(QStringLiteral(", "))));
    }

    // What the programs write is the user's alone whatever the umask: folders 0700, files
    // 0600. A file the user gave other permissions keeps them when it is rewritten, and its
    // copies in a backup have them too.
    void everyFileAndFolderIsTheUsersAlone_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QStringList>("keptModes"); // 0640, as the user set the month file
        const QString month = QStringLiteral("data/2026/07.log");
        QTest::newRow("first start") << QString() << QStringList();
        QTest::newRow("registration") << "registration save" << QStringList{month};
        QTest::newRow("profile save") << "profile save" << QStringList{month};
        QTest::newRow("key change") << "settings apply" << QStringList{month};
        QTest::newRow("backup") << "backup"
                                << QStringList{month, "20260715_zumicho_backup/2026/07.log"};
        QTest::newRow("restore") << "restore" << QStringList(); // from a backup made before
    }

    void everyFileAndFolderIsTheUsersAlone()
    {
        QFETCH(QString, operation);
        QFETCH(QStringList, keptModes);
        const mode_t umask = ::umask(022);
        if (operation.isEmpty()) {
            TempProgramFolder folder;
            ScriptedDialogs dialogs;
            FixedClock clock(QDate(2026, 7, 15));
            dialogs.queueAnswer(MessageAnswer::No); // no desktop shortcut
            {
                frmMain window(AppContext{folder.paths(), dialogs, clock});
                QVERIFY(window.Form_Load());
                QVERIFY(QFileInfo::exists(folder.paths().settingsPath()));
                QVERIFY(QFileInfo::exists(workFolderOf(folder.paths().dataFolder())));
                QCOMPARE(notPrivate(folder.path(), {}), QStringList());
            }
            QCOMPARE(notPrivate(folder.path(), {}), QStringList()); // the lock file too
        } else {
            Fixture f;
            QVERIFY(QFile::setPermissions(f.folder.paths().monthFilePath("2026", "07"),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
            const Operation& op = operations()[operation];
            f.okBoxes = op.doneBoxes;
            op.run(f);
            QVERIFY(f.dialogs.allAnswersUsed());
            QCOMPARE(notPrivate(f.folder.path(), keptModes), QStringList());
        }
        ::umask(umask);
    }

    // A save cut short after its month file, before the year row: the next start, after the
    // login where a start password is set, brings the rows in line with the month file.
    void interruptedSaveIsFinishedAtNextStart_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("no start password") << QString();
        QTest::newRow("start password") << QStringLiteral("pw");
    }

    void interruptedSaveIsFinishedAtNextStart()
    {
        QFETCH(QString, password);
        const QByteArray settings =
            password.isEmpty()
                ? QByteArray("[Setting]\r\n")
                : "[Setting]\r\nStartPassword=1\r\nStartPasswordInput=" + password.toLatin1() +
                      "\r\n";
        // The first failing call after which the month file is written and the year row is
        // not: the save stopped between the two, as a crash there would stop it.
        for (long failAt = 1; failAt < 40; ++failAt) {
            MainWindowHarness h(QDate(2026, 7, 15), settings);
            h.loginPrompt = [] { return true; };
            h.folder.writeMonth("2026", "07", {makeEntry("2026/07/01", "1")}, password);
            h.start(true);
            filefaults::start(failAt);
            h.button("cmdNewInput")->click();
            h.form()->findChild<QLineEdit*>("txtPresent")->setText("二件目");
            for (int i = 0; i < kMostBoxesOfAFailure; ++i)
                h.dialogs.queueAnswer(MessageAnswer::Ok);
            h.form()->findChild<QPushButton*>("cmdKoshin")->click();
            filefaults::stop();
            h.dialogs.dropUnusedAnswers();
            const AppPaths paths = h.folder.paths();
            if (readMonthFile(paths.monthFilePath("2026", "07"), password).entries.size() != 2 ||
                QFile::exists(paths.yearSummaryPath("2026")))
                continue;
            h.window.reset();
            h.start(true);
            QCOMPARE(readYearSummary(paths.yearSummaryPath("2026")).months[6].entries, 2);
            QCOMPARE(readTotalSummary(paths.totalSummaryPath()).value(0).figures.entries, 2);
            return;
        }
        QFAIL("no failing call stops the save between the month file and the year row");
    }

    // A real refusal of the system, not an injected one: a file-size limit below the size
    // of a 60-entry month, in a child process.
    void fileSizeLimitKeepsTheMonth()
    {
        MainWindowHarness h(QDate(2026, 7, 15));
        QList<EntryRecord> july;
        for (int i = 0; i < 59; ++i)
            july.append(makeEntry("2026/07/01", QString::number(i), "景品の名前がここに入ります"));
        h.folder.writeMonth("2026", "07", july);
        h.start(true);
        const QString path = h.folder.paths().monthFilePath("2026", "07");
        const QByteArray old = readWholeFile(path).bytes;
        QVERIFY(old.size() > 4096);
        const pid_t child = ::fork();
        if (child == 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            h.button("cmdNewInput")->click();
            h.form()->findChild<QLineEdit*>("txtPresent")->setText("六十件目");
            h.dialogs.queueAnswer(MessageAnswer::Ok);
            h.form()->findChild<QPushButton*>("cmdKoshin")->click();
            const bool named =
                !h.dialogs.shown.isEmpty() &&
                h.dialogs.shown.first().box.text.contains(QDir::toNativeSeparators(path));
            ::_exit(named ? 0 : 1);
        }
        int status = -1;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(readWholeFile(path).bytes, old);
    }
};

QTEST_MAIN(TestFileFaults)
#include "tst_filefaults.moc"
