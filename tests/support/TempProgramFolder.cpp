#include "TempProgramFolder.h"

#include "core/AtomicFile.h"
#include "core/Scramble.h"
#include "diary/MonthFile.h"

#include <QTest>

TempProgramFolder::TempProgramFolder()
{
    QVERIFY2(m_dir.isValid(), "cannot create a temporary program folder");
}

void TempProgramFolder::writeSettings(const QByteArray& plainText) const
{
    QVERIFY(writeFileAtomically(paths().settingsPath(), scrambleBytes(plainText)).isEmpty());
}

void TempProgramFolder::writeMonth(const QString& year, const QString& month,
                                   const QList<EntryRecord>& entries,
                                   const QString& passwordLine) const
{
    const MonthTextBuild build = formatMonthText(entries, passwordLine);
    QVERIFY(build.ok());
    QVERIFY(writeMonthFile(paths().monthFilePath(year, month), build.plain).isEmpty());
}

QByteArray TempProgramFolder::plainFile(const QString& relativePath) const
{
    const ReadResult read = readWholeFile(path() + u'/' + relativePath);
    return read.ok ? scrambleBytes(read.bytes) : QByteArray();
}

EntryRecord makeEntry(const QString& keyDate, const QString& id, const QString& present,
                      const QString& kekka, const QString& happyMoney)
{
    EntryRecord e;
    e[KeyDate] = keyDate;
    e[ID] = id;
    e[Site] = QStringLiteral("応募先");
    e[URL] = QStringLiteral("http://www.example.jp/");
    e[Genre] = QStringLiteral("食品・飲料");
    e[Present] = present;
    e[Kekka] = kekka;
    e[HappyMoney] = happyMoney;
    e[Number] = QStringLiteral("10名様");
    e[OtherDate] = keyDate;
    e[HappyDay] = kNoHappyDay;
    e[OboKeishiki] = QStringLiteral("アンケート");
    e[SenkoWay] = QStringLiteral("抽選");
    e[Cycle] = QStringLiteral("不定期");
    e[OboWay] = QStringLiteral("ネット応募");
    e[Msg] = QString();
    e[Pic] = QString();
    return e;
}
