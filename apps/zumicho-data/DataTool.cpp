#include "DataTool.h"

#include "core/AtomicFile.h"
#include "core/FileCrypto.h"
#include "core/Scramble.h"
#include "diary/DeadlineCalendar.h"
#include "diary/Deadlines.h"
#include "diary/MonthFile.h"
#include "diary/Reminders.h"
#include "diary/Settings.h"
#include "diary/SummaryUnits.h"
#include "platform/DesktopNotifications.h"
#include "platform/SingleInstance.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

const char* const kUsage =
    "usage: zumicho-data decode FILE [--password TEXT]\n"
    "                                             write the plain bytes of a stored file (of an\n"
    "                                             encrypted diary: with its start password)\n"
    "       zumicho-data encode FILE              write the stored (scrambled) form of a plain "
    "file\n"
    "       zumicho-data month FILE [--password TEXT]\n"
    "                                             print the entries of a month file as UTF-8,\n"
    "                                             one a line, fields separated by tabs\n"
    "       zumicho-data recount DATAFOLDER [--password TEXT]\n"
    "                                             rewrite the year and total rows from the month\n"
    "                                             files, keeping expenses (refused while the\n"
    "                                             diary has the folder open)\n"
    "       zumicho-data deadlines DATAFOLDER [--ics FILE] [--notify] [--days N]\n"
    "                                     [--password TEXT]\n"
    "                                             the entries whose deadline is coming up (as\n"
    "                                             締切間近 finds them, N days ahead; default: the\n"
    "                                             diary's setting): written as an iCalendar file\n"
    "                                             with an alarm N days before each, and/or told\n"
    "                                             through the desktop's notifications\n";

QString escapeField(QString field)
{
    field.replace(u'\\', QStringLiteral("\\\\"));
    field.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    field.replace(u'\n', QStringLiteral("\\n"));
    field.replace(u'\r', QStringLiteral("\\n"));
    field.replace(u'\t', QStringLiteral("\\t"));
    return field;
}

QString describeChange(const RowChange& change)
{
    const QString row =
        change.month == 0
            ? change.year + QStringLiteral(" total")
            : change.year + u'/' + QString::number(change.month).rightJustified(2, u'0');
    QStringList parts;
    const auto compare = [&](const char* name, const QString& before, const QString& after) {
        if (before != after)
            parts.append(QStringLiteral("%1 %2 -> %3").arg(QLatin1String(name), before, after));
    };
    const Tally& b = change.before;
    const Tally& a = change.after;
    compare("entries", QString::number(b.entries), QString::number(a.entries));
    compare("wins", QString::number(b.wins), QString::number(a.wins));
    compare("small", QString::number(b.small), QString::number(a.small));
    compare("medium", QString::number(b.medium), QString::number(a.medium));
    compare("large", QString::number(b.large), QString::number(a.large));
    compare("won", b.wonAmount.toText(), a.wonAmount.toText());
    compare("expenses", b.expenses.toText(), a.expenses.toText());
    return row + QStringLiteral(": ") +
           (parts.isEmpty() ? QStringLiteral("added") : parts.join(QStringLiteral(", ")));
}

// Opens the key of an encrypted diary whose data folder is `dataFolder` with `password`. True
// with no key for a diary that is not encrypted; false, once told why, when it cannot be opened.
bool openKey(const QString& dataFolder, const QString& password,
             std::shared_ptr<const DiaryKey>& key, QTextStream& err)
{
    const QString keyPath = dataFolder + QStringLiteral("/ini/key.txt");
    if (!QFileInfo::exists(keyPath))
        return true;
    const ReadResult read = readWholeFile(keyPath, 4096);
    const KeyRecord record =
        read.ok ? KeyRecord::fromText(QString::fromLatin1(read.bytes).trimmed()) : KeyRecord();
    if (!record.isValid()) {
        err << "zumicho-data: " << keyPath << " is damaged; the encrypted files cannot be opened\n";
        return false;
    }
    if (password.isEmpty()) {
        err << "zumicho-data: the data files are encrypted; give the start password with "
               "--password\n";
        return false;
    }
    key = DiaryKey::unlock(password, record);
    if (!key)
        err << "zumicho-data: the password does not open the encrypted data files\n";
    return key != nullptr;
}

// The data folder that holds a stored file: the nearest folder above it named "data".
QString dataFolderAbove(const QString& file)
{
    for (QDir dir = QFileInfo(file).absoluteDir();;) {
        if (dir.dirName() == u"data")
            return dir.absolutePath();
        if (!dir.cdUp())
            return QString();
    }
}

// The program folder of a data folder given on the command line; empty when it is none.
QString programFolderOf(const QString& dataFolder, QTextStream& err)
{
    const QString data = QDir::cleanPath(QDir(dataFolder).absolutePath());
    if (QFileInfo(data).fileName() == u"data" && QFileInfo(data).isDir())
        return QFileInfo(data).absolutePath();
    err << "zumicho-data: " << dataFolder << ": not a data folder of the diary\n";
    return QString();
}

int recount(const QString& dataFolder, const QString& password, QIODevice& out, QTextStream& err)
{
    const QString program = programFolderOf(dataFolder, err);
    if (program.isEmpty())
        return 1;
    const AppPaths paths(program);
    // Held until the recount is done, so the diary cannot start on the folder meanwhile.
    SingleInstance diary(QStringLiteral("zumicho"), paths.dataFolder());
    if (!diary.tryAcquire()) {
        if (diary.heldElsewhere())
            err << "zumicho-data: the diary has " << dataFolder << " open; end it first\n";
        else
            err << "zumicho-data: cannot create the lock file " << diary.lockPath() << "\n";
        return 1;
    }
    bool existed = false;
    const Settings settings = LoadSettings(paths.settingsPath(), existed);
    std::shared_ptr<const DiaryKey> key;
    if (!openKey(paths.dataFolder(), password, key, err))
        return 1;
    paths.setDataKey(key);
    if (!key && settings.startPassword && settings.startPasswordText != password) {
        err << "zumicho-data: the start password is on; give it with --password\n";
        return 1;
    }
    removeDeadTemporaries(paths.dataFolder());
    const Recount result = recountAll(paths, settings.passwordInForce(),
                                      {settings.dreamMoneyValue, settings.dreamMoneyReached});
    for (const RowChange& change : result.changes)
        out.write(describeChange(change).toUtf8() + '\n');
    if (result.changes.isEmpty())
        out.write("nothing to change\n");
    for (const QString& path : result.unreadable)
        err << "zumicho-data: cannot read " << path << "; its rows were left as they were\n";
    for (const QString& error : result.errors)
        err << "zumicho-data: " << error << "\n";
    if (!result.ok())
        return 1;
    for (const YearMonth& unit : unfinishedSummaryUnits(paths))
        endSummaryUnit(paths, unit); // every row is in line now
    return 0;
}

// While the diary runs on the folder with its daily notice on, it tells the day's deadlines
// itself (and a click on its notice opens them): the timer's run then adds no second one.
bool diaryTellsItself(const AppPaths& paths)
{
    if (!loadReminderSettings(reminderSettingsPath(paths)).settings.daily)
        return false;
    SingleInstance diary(QStringLiteral("zumicho"), paths.dataFolder());
    return !diary.tryAcquire() && diary.heldElsewhere();
}

int deadlines(const QString& dataFolder, const QHash<QString, QString>& options, QTextStream& err)
{
    const QString program = programFolderOf(dataFolder, err);
    if (program.isEmpty())
        return 1;
    const AppPaths paths(program);
    bool existed = false;
    const Settings settings = LoadSettings(paths.settingsPath(), existed);
    const QString password = options.value(QStringLiteral("--password"));
    std::shared_ptr<const DiaryKey> key;
    if (!openKey(paths.dataFolder(), password, key, err))
        return 1;
    paths.setDataKey(key);
    if (!key && settings.startPassword && settings.startPasswordText != password) {
        err << "zumicho-data: the start password is on; give it with --password\n";
        return 1;
    }
    int days = settings.deadlineDays;
    if (options.contains(QStringLiteral("--days"))) {
        bool number = false;
        days = options.value(QStringLiteral("--days")).toInt(&number);
        if (!number || days < 0 || days > kDeadlineDaysMax) {
            err << "zumicho-data: --days takes a number from 0 to " << kDeadlineDaysMax << "\n";
            return 2;
        }
    }
    const DeadlineScan scan = findOpenEntries(
        paths, settings.keyIsEndDay, settings.passwordInForce(), QDate::currentDate(), days);
    for (const UnreadableMonth& month : scan.unreadableFiles)
        err << "zumicho-data: cannot read " << month.path << "; its entries are left out\n";
    if (options.contains(QStringLiteral("--ics"))) {
        const QString target = options.value(QStringLiteral("--ics"));
        const QString error =
            writeFileAtomically(target, deadlineCalendar(scan.entries, settings.keyIsEndDay, days,
                                                         QDateTime::currentDateTimeUtc()));
        if (!error.isEmpty()) {
            err << "zumicho-data: " << error << "\n";
            return 1;
        }
    }
    if (options.contains(QStringLiteral("--notify")) && !scan.entries.isEmpty() &&
        !diaryTellsItself(paths)) {
        const QString error = sendDesktopNotification(
            kDeadlineCaption, deadlineNoticeText(scan.entries, days, settings.keyIsEndDay));
        if (!error.isEmpty()) {
            err << "zumicho-data: " << error << "\n";
            return 1;
        }
    }
    return scan.unreadableFiles.isEmpty() ? 0 : 1;
}

} // namespace

int runDataTool(const QStringList& arguments, QIODevice& out, QTextStream& err)
{
    if (arguments.size() < 2) {
        err << kUsage;
        return 2;
    }
    const QString command = arguments.at(0);
    const QString path = arguments.at(1);
    // Options come in pairs; which ones a command takes is fixed.
    const QHash<QString, QStringList> optionsOf{
        {QStringLiteral("decode"), {QStringLiteral("--password")}},
        {QStringLiteral("encode"), {}},
        {QStringLiteral("month"), {QStringLiteral("--password")}},
        {QStringLiteral("recount"), {QStringLiteral("--password")}},
        {QStringLiteral("deadlines"),
         {QStringLiteral("--ics"), QStringLiteral("--days"), QStringLiteral("--password")}},
    };
    QHash<QString, QString> options;
    QStringList rest = arguments.mid(2);
    if (command == u"deadlines" && rest.removeAll(QStringLiteral("--notify")) == 1)
        options.insert(QStringLiteral("--notify"), QString()); // the one option without a value
    bool usable = optionsOf.contains(command) && rest.size() % 2 == 0;
    for (qsizetype i = 0; usable && i + 1 < rest.size(); i += 2) {
        usable = optionsOf.value(command).contains(rest.at(i)) && !options.contains(rest.at(i));
        options.insert(rest.at(i), rest.at(i + 1));
    }
    if (command == u"deadlines")
        usable = usable && (options.contains(QStringLiteral("--ics")) ||
                            options.contains(QStringLiteral("--notify")));
    if (!usable) {
        err << kUsage;
        return 2;
    }
    const QString password = options.value(QStringLiteral("--password"));
    if (command == u"deadlines")
        return deadlines(path, options, err);
    if (command == u"recount")
        return recount(path, password, out, err);
    if (!QFileInfo(path).isFile()) {
        err << "zumicho-data: no such file: " << path << "\n";
        return 1;
    }
    std::shared_ptr<const DiaryKey> key;
    // Only a file in the encrypted form needs the key; the settings stay scrambled.
    QFile head(path);
    const bool encrypted = head.open(QIODevice::ReadOnly) && isEncryptedForm(head.read(16));
    if (command != u"encode" && encrypted && !openKey(dataFolderAbove(path), password, key, err))
        return 1;
    if (command != u"month") {
        // Any stored file, whatever its size: decoding is how a damaged one is rescued.
        const ReadResult read = readWholeFile(path);
        if (!read.ok) {
            err << "zumicho-data: cannot read " << path << ": " << read.error << "\n";
            return 1;
        }
        if (command == u"encode") {
            out.write(scrambleBytes(read.bytes)); // the transform is its own inverse
            return 0;
        }
        const StoredRead plain = decodeStoredBytes(read.bytes, key.get());
        if (!plain.ok()) {
            err << "zumicho-data: " << path
                << (plain.status == StoredRead::Status::NeedsKey
                        ? ": encrypted, and no key.txt found in its data folder\n"
                        : ": fails authentication: damaged, or of another key\n");
            return 1;
        }
        out.write(plain.plain);
        return 0;
    }
    // The diary's own reader: what it prints is what the diary would show.
    const MonthRead month =
        readMonthFile(path, key ? MonthLock(QString(), key.get()) : MonthLock(password));
    switch (month.status) {
    case MonthRead::Status::Missing:
    case MonthRead::Status::Loaded:
        break;
    case MonthRead::Status::Refused:
        err << "zumicho-data: " << path
            << ": the password does not match the file (give the start password with --password)\n";
        return 1;
    case MonthRead::Status::Damaged:
        err << "zumicho-data: " << path << ": damaged content, not a month file"
            << (QFileInfo(path).size() > kMonthFileSizeMax
                    ? " (larger than any month file; 'decode' still shows its bytes)"
                    : "")
            << "\n";
        return 1;
    case MonthRead::Status::Unreadable:
        err << "zumicho-data: cannot read " << path << "\n";
        return 1;
    }
    for (const EntryRecord& entry : month.entries) {
        QStringList fields;
        for (const QString& field : entry.fields)
            fields.append(escapeField(field));
        out.write(fields.join(u'\t').toUtf8() + '\n');
    }
    return 0;
}
