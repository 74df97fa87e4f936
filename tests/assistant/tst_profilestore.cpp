#include "assistant/AssistantSettings.h"
#include "core/AtomicFile.h"
#include "core/Cp932.h"
#include "core/FileFaults.h"
#include "core/Scramble.h"
#include "profile/Household.h"
#include "profile/UserProfile.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(QList<KeyStroke>)

namespace {

QByteArray sjis(const QString& text)
{
    QByteArray bytes;
    cp932::encode(text, bytes);
    return bytes;
}

QByteArray plainOnDisk(const QString& path)
{
    const ReadResult read = readWholeFile(path);
    return read.ok ? scrambleBytes(read.bytes) : QByteArray();
}

} // namespace

class TestProfileStore : public QObject
{
    Q_OBJECT

private slots:
    // A further person's file is user.dat's format under its own name, and reads back whole.
    void furtherPersonFileRoundTrip()
    {
        QTemporaryDir dir;
        const AppPaths paths(dir.path());
        UserProfile p;
        p[ProfileKey::UserName2] = QStringLiteral("太郎");
        const QString second = personProfilePath(paths, 2);
        QCOMPARE(second, paths.iniFolder() + QStringLiteral("/user2.dat"));
        QCOMPARE(saveUserProfileFile(second, p), QString());
        QCOMPARE(saveUserProfileFile(paths.profilePath(), p), QString());
        QCOMPARE(readWholeFile(second).bytes, readWholeFile(paths.profilePath()).bytes);
        QCOMPARE(loadUserProfileFile(second), p);
    }

    // The files in data/ini are the household; kept copies and look-alikes are not people.
    void householdIsItsFiles_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QList<int>>("people");
        QTest::addColumn<int>("next");
        QTest::newRow("none") << QStringList{} << QList<int>{1} << 2;
        QTest::newRow("gap filled first")
            << QStringList{"user.dat", "user10.dat", "user3.dat"} << QList<int>{1, 3, 10} << 2;
        QTest::newRow("look-alikes") << QStringList{"user1.dat", "user02.dat", "User2.dat",
                                                    "user2.dat.damaged-20261208", "user99999.dat"}
                                     << QList<int>{1} << 2;
    }
    void householdIsItsFiles()
    {
        QFETCH(QStringList, files);
        QFETCH(QList<int>, people);
        QFETCH(int, next);
        QTemporaryDir dir;
        const AppPaths paths(dir.path());
        for (const QString& name : files)
            QVERIFY(writeFileAtomically(paths.iniFolder() + u'/' + name, "x").isEmpty());
        QCOMPARE(listPeople(paths), people);
        QCOMPARE(nextPersonNumber(people), next);
    }

    void profileFileIsByteExactAndScrambled()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data/ini/user.dat"));
        UserProfile p;
        p[ProfileKey::UserName1] = QStringLiteral("山田");
        p[ProfileKey::UserNameKana2] = QStringLiteral("はなこ");
        p[ProfileKey::UserBirthday] = QStringLiteral("1970/01/01");
        p[ProfileKey::UserSex] = QStringLiteral("女性");
        QCOMPARE(saveUserProfileFile(path, p), QString());
        const QByteArray expected = sjis(QStringLiteral(
            "[UserProfile]\r\nUserName1=山田\r\nUserName2=\r\nUserMail=\r\nUserZip1=\r\nUserZip2="
            "\r\n"
            "UserAddressKana1=\r\nUserAddressKana2=\r\nUserAddressKana3=\r\nUserAddressKana4=\r\n"
            "UserAddress1=\r\nUserAddress2=\r\nUserAddress3=\r\nUserAddress4=\r\n"
            "UserNamekana1=\r\nUserNamekana2=はなこ\r\nUserJob=\r\n"
            "UserTel11=\r\nUserTel12=\r\nUserTel13=\r\nUserTel21=\r\nUserTel22=\r\nUserTel23=\r\n"
            "UserBirthday=1970/01/01\r\nUserSex=女性\r\n"));
        QCOMPARE(plainOnDisk(path), expected);
        QVERIFY(readWholeFile(path).bytes != expected);

        bool existed = false;
        QCOMPARE(loadUserProfileFile(path, &existed), p);
        QVERIFY(existed);
    }

    void bothKanaKeySpellingsRead()
    {
        for (const char* key : {"UserNameKana", "UserNamekana", "USERNAMEKANA"}) {
            const QByteArray text =
                "[UserProfile]\r\n" + QByteArray(key) + "1=" + sjis(QStringLiteral("やまだ")) +
                "\r\n" + QByteArray(key) + "2=" + sjis(QStringLiteral("はなこ")) + "\r\n";
            const UserProfile p = parseProfile(text);
            QCOMPARE(p[ProfileKey::UserNameKana1], QStringLiteral("やまだ"));
            QCOMPARE(p[ProfileKey::UserNameKana2], QStringLiteral("はなこ"));
        }
    }

    void derivedParts()
    {
        UserProfile p;
        QCOMPARE(p.mail1(), QString());
        QCOMPARE(p.mail2(), QString());
        p[ProfileKey::UserMail] = QStringLiteral("nobody");
        QCOMPARE(p.mail1(), QStringLiteral("nobody"));
        QCOMPARE(p.mail2(), QString());
        p[ProfileKey::UserBirthday] = QStringLiteral("1985/3/9"); // hand-edited file
        QCOMPARE(p.birthMonth(), QStringLiteral("03"));
        QCOMPARE(p.birthDay(), QStringLiteral("09"));
    }

    void missingProfileIsEmpty()
    {
        QTemporaryDir dir;
        bool existed = true;
        QCOMPARE(loadUserProfileFile(dir.filePath(QStringLiteral("user.dat")), &existed),
                 UserProfile());
        QVERIFY(!existed);
    }

    void unstorableProfileIsRefusedAndOldFileKept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("user.dat"));
        UserProfile p;
        p[ProfileKey::UserJob] = QStringLiteral("教師");
        QCOMPARE(saveUserProfileFile(path, p), QString());
        p[ProfileKey::UserJob] = QStringLiteral("😀");
        QVERIFY(!saveUserProfileFile(path, p).isEmpty());
        QCOMPARE(loadUserProfileFile(path)[ProfileKey::UserJob], QStringLiteral("教師"));
    }

    // What is not a file as the programs write it is damaged; what can be read is still
    // returned, never with text that could not be written back.
    void damagedFiles_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<FileCondition>("condition");
        QTest::addColumn<QString>("job");
        UserProfile profile;
        profile[ProfileKey::UserJob] = QStringLiteral("教師");
        const QByteArray good = sjis(formatProfileText(profile));
        const auto damaged = FileCondition::Damaged;
        QTest::newRow("sound") << good << FileCondition::Sound << "教師";
        QTest::newRow("empty") << QByteArray() << damaged << "";
        QTest::newRow("random bytes")
            << QByteArray("\x8a\x01\xff\x13zq\x80\xe3\x9c\x00\x7f") << damaged << "";
        QTest::newRow("NUL-filled") << QByteArray(good.size(), '\0') << damaged << "";
        QTest::newRow("cut short") << good.left(good.size() - 5) << damaged << "教師";
        QTest::newRow("undecodable value")
            << QByteArray(good).replace("UserJob=", "UserJob=\x81\x7f") << damaged << "";
        QTest::newRow("huge") << good + QByteArray(2 * 1024 * 1024, 'x') + "\r\n" << damaged << "";
        // Nothing is known of a file that cannot be opened: it is never written over.
        QTest::newRow("cannot be opened") << good << FileCondition::Unreadable << "";
    }
    void damagedFiles()
    {
        QFETCH(QByteArray, plain);
        QFETCH(FileCondition, condition);
        QFETCH(QString, job);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("user.dat"));
        QVERIFY(writeFileAtomically(path, scrambleBytes(plain)).isEmpty());
        const bool unreadable = condition == FileCondition::Unreadable;
        if (unreadable)
            filefaults::refuseReads(path);
        StoredFile found;
        const UserProfile p = loadUserProfileFile(path, nullptr, &found);
        QCOMPARE(found.condition, condition);
        QCOMPARE(p[ProfileKey::UserJob], job);
        for (const QString& value : p.values)
            QVERIFY(!value.contains(QChar::ReplacementCharacter));
        QCOMPARE(saveUserProfileFile(path, p).isEmpty(), !unreadable);
        filefaults::refuseReads(QString());
        if (unreadable)
            QCOMPARE(readWholeFile(path).bytes, scrambleBytes(plain));
    }

    void settingsDefaultsWithoutFile()
    {
        QTemporaryDir dir;
        const AssistantSettings s =
            loadAssistantSettings(dir.filePath(QStringLiteral("zumikey.ini")));
        QVERIFY(!s.top && !s.left);
        QVERIFY(s.formState);
        QCOMPARE(s.ruby, QStringLiteral("ひらがな"));
        QCOMPARE(s.keyInputBefore, QStringLiteral("Ctrl + V"));
        QCOMPARE(s.keyInputAfter, QStringLiteral("なし"));
    }

    void settingsFileRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data/ini/zumikey.ini"));
        AssistantSettings s;
        s.formState = false;
        s.ruby = QStringLiteral("カタカナ");
        s.keyInputBefore = QStringLiteral("Alt , E , P");
        s.keyInputAfter = QStringLiteral("Tabキー");
        QCOMPARE(saveAssistantSettings(path, s, 1500, 3000), QString());
        QCOMPARE(plainOnDisk(path),
                 sjis(QStringLiteral("[Position]\r\nUserInputTop=1500\r\nUserInputLeft=3000\r\n"
                                     "[UserInputOption]\r\nFormState=0\r\nRuby=カタカナ\r\n"
                                     "KeyInputBefore=Alt , E , P\r\nKeyInputAfter=Tabキー\r\n")));
        s.top = 1500;
        s.left = 3000;
        QCOMPARE(loadAssistantSettings(path), s);
    }

    void settingsReadRules_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("top");  // -1: unset
        QTest::addColumn<int>("left"); // -1: unset
        QTest::addColumn<bool>("formState");
        QTest::addColumn<QString>("after");
        QTest::newRow("top without left")
            << QByteArray("[Position]\r\nUserInputTop=600\r\nUserInputLeft=\r\n") << 600 << -1
            << true << "なし";
        QTest::newRow("left without top is ignored")
            << QByteArray("[Position]\r\nUserInputTop=\r\nUserInputLeft=900\r\n") << -1 << -1
            << true << "なし";
        QTest::newRow("decimal position")
            << QByteArray("[Position]\r\nUserInputTop=600.4\r\nUserInputLeft=900\r\n") << 600 << 900
            << true << "なし";
        QTest::newRow("non-numeric values keep the design")
            << QByteArray("[Position]\r\nUserInputTop=abc\r\n[UserInputOption]\r\nFormState=x\r\n")
            << -1 << -1 << true << "なし";
        QTest::newRow("nan and inf are no position")
            << QByteArray("[Position]\r\nUserInputTop=nan\r\nUserInputLeft=inf\r\n"
                          "[UserInputOption]\r\nFormState=nan\r\n")
            << -1 << -1 << true << "なし";
        QTest::newRow("left nan, top kept")
            << QByteArray("[Position]\r\nUserInputTop=600\r\nUserInputLeft=-nan\r\n") << 600 << -1
            << true << "なし";
        QTest::newRow("undecodable option reads as unset")
            << QByteArray("[UserInputOption]\r\nKeyInputAfter=T\x81\r\n") << -1 << -1 << true
            << "なし";
        QTest::newRow("FormState 0")
            << QByteArray("[UserInputOption]\r\nFormState=0\r\n") << -1 << -1 << false << "なし";
        QTest::newRow("unknown after key kept as it is")
            << QByteArray("[UserInputOption]\r\nKeyInputAfter=Esc\r\n") << -1 << -1 << true
            << "Esc";
    }

    void settingsReadRules()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, top);
        QFETCH(int, left);
        QFETCH(bool, formState);
        QFETCH(QString, after);
        const AssistantSettings s = parseAssistantSettings(text);
        QCOMPARE(s.top.value_or(-1), top);
        QCOMPARE(s.left.value_or(-1), left);
        QCOMPARE(s.formState, formState);
        QCOMPARE(s.keyInputAfter, after);
    }

    void keySequences_data()
    {
        QTest::addColumn<QString>("sequence");
        QTest::addColumn<QList<KeyStroke>>("strokes");
        const QString ctrl = QStringLiteral("Control_L");
        QTest::newRow("Ctrl + V") << pasteKeySequence(QStringLiteral("Ctrl + V"))
                                  << QList<KeyStroke>{{{ctrl}, QStringLiteral("v")}};
        // Linux programs have no Edit menu key for it; the choice pastes as Ctrl + V does.
        QTest::newRow("Alt , E , P") << pasteKeySequence(QStringLiteral("Alt , E , P"))
                                     << QList<KeyStroke>{{{ctrl}, QStringLiteral("v")}};
        QTest::newRow("% held for the next key")
            << QStringLiteral("%ep")
            << QList<KeyStroke>{{{QStringLiteral("Alt_L")}, QStringLiteral("e")},
                                {{}, QStringLiteral("p")}};
        QTest::newRow("Shift + Ins")
            << pasteKeySequence(QStringLiteral("Shift + Ins"))
            << QList<KeyStroke>{{{QStringLiteral("Shift_L")}, QStringLiteral("Insert")}};
        QTest::newRow("Tabキー") << afterKeySequence(QStringLiteral("Tabキー"))
                                 << QList<KeyStroke>{{{}, QStringLiteral("Tab")}};
        QTest::newRow("Enterキー") << afterKeySequence(QStringLiteral("Enterキー"))
                                   << QList<KeyStroke>{{{}, QStringLiteral("Return")}};
        QTest::newRow("なし") << afterKeySequence(QStringLiteral("なし")) << QList<KeyStroke>{};
        QTest::newRow("text outside the list")
            << pasteKeySequence(QStringLiteral("Ctrl+V")) << QList<KeyStroke>{};
    }

    void keySequences()
    {
        QFETCH(QString, sequence);
        QFETCH(QList<KeyStroke>, strokes);
        QCOMPARE(parseKeySequence(sequence), strokes);
    }
};

QTEST_GUILESS_MAIN(TestProfileStore)
#include "tst_profilestore.moc"
