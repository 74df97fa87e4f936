#include "assistant/InstanceCheck.h"
#include "assistant/frmUserProfile.h"
#include "assistant/frmZumikey.h"
#include "bridge/BridgeLink.h"
#include "bridge/BridgeServer.h"
#include "bridge/HostRelay.h"
#include "core/AtomicFile.h"
#include "core/Clock.h"
#include "core/Cp932.h"
#include "core/FileFaults.h"
#include "core/Scramble.h"
#include "platform/ForeignWindows.h"
#include "platform/SingleInstance.h"
#include "platform/WindowLevel.h"
#include "profile/Household.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

namespace {

using K = ProfileKey;

// Stands in for the desktop: records what the window asks of other programs' windows.
class FakeWindows : public ForeignWindows
{
public:
    bool available() const override { return isAvailable; }
    quint64 activeWindow() override { return active; }
    bool activate(quint64 window) override
    {
        activated.append(window);
        return activateSucceeds;
    }
    bool sendKeys(const QList<KeyStroke>& strokes) override
    {
        sent.append(strokes);
        return true;
    }
    qint64 windowProcess(quint64 window) override { return owners.value(window); }

    bool isAvailable = true;
    quint64 active = 0;
    bool activateSucceeds = true;
    QList<quint64> activated;
    QList<QList<KeyStroke>> sent;
    QHash<quint64, qint64> owners;
};

const KeyStroke kCtrlV{{QStringLiteral("Control_L")}, QStringLiteral("v")};
const KeyStroke kTab{{}, QStringLiteral("Tab")};

// The household's second person.
UserProfile brotherProfile()
{
    UserProfile p;
    p[K::UserName1] = QStringLiteral("山田");
    p[K::UserName2] = QStringLiteral("太郎");
    return p;
}

UserProfile sampleProfile()
{
    UserProfile p;
    p[K::UserName1] = QStringLiteral("山田");
    p[K::UserName2] = QStringLiteral("花子");
    p[K::UserNameKana1] = QStringLiteral("やまだ");
    p[K::UserNameKana2] = QStringLiteral("はなこ");
    p[K::UserBirthday] = QStringLiteral("1971/01/01");
    return p;
}

struct Assistant
{
    QTemporaryDir dir;
    AppPaths paths{dir.path()};
    ScriptedDialogs dialogs;
    FixedClock clock{QDate(1990, 12, 31)};
    FakeWindows windows;
    std::unique_ptr<frmZumikey> form;

    void open() { form = std::make_unique<frmZumikey>(dir.path(), dialogs, clock, windows); }
    void writeProfile(const UserProfile& p) const
    {
        QCOMPARE(saveUserProfileFile(paths.profilePath(), p), QString());
    }
    void writeSettings(const QString& text) const
    {
        QByteArray plain;
        QVERIFY(cp932::encode(text, plain));
        QVERIFY(writeFileAtomically(paths.assistantSettingsPath(), scrambleBytes(plain)).isEmpty());
    }
    QPushButton* button(FieldRow row, int index) const { return form->fieldButton(row, index); }
    template <typename T> T* find(const char* name) const
    {
        return form->findChild<T*>(QLatin1String(name));
    }
};

} // namespace

class TestFrmZumikey : public QObject
{
    Q_OBJECT

private slots:
    // Damaged files never crash the assistant and are never written over without a word:
    // each is kept under a dated name, with one box, and replaced by what could be read.
    void damagedFilesAreKeptAndReportedOnce_data()
    {
        QTest::addColumn<bool>("profile"); // user.dat, else zumikey.ini
        QTest::addColumn<QByteArray>("stored");
        const QByteArray random("\x8a\x01\xff\x13zq\x80\xe3\x9c\x00\x7f\x42");
        for (const bool profile : {true, false}) {
            const char* name = profile ? "user.dat" : "zumikey.ini";
            QTest::addRow("%s random", name) << profile << random;
            QTest::addRow("%s NUL-filled", name) << profile << QByteArray(300, '\0');
            QTest::addRow("%s cut short", name)
                << profile
                << scrambleBytes(profile ? "[UserProfile]\r\nUserName1=\x8e\x52"
                                         : "[Position]\r\nUserInputTop=15");
            QTest::addRow("%s huge", name) << profile << QByteArray(3 * 1024 * 1024, 'x');
        }
    }
    void damagedFilesAreKeptAndReportedOnce()
    {
        QFETCH(bool, profile);
        QFETCH(QByteArray, stored);
        Assistant a;
        const QString path = profile ? a.paths.profilePath() : a.paths.assistantSettingsPath();
        QVERIFY(writeFileAtomically(path, stored).isEmpty());
        a.dialogs.queueAnswer(MessageAnswer::Ok);
        a.open();
        QCOMPARE(a.dialogs.shown.size(), 1);
        QCOMPARE(a.dialogs.shown[0].box.caption, QStringLiteral("ファイルエラー"));
        QVERIFY(a.dialogs.shown[0].box.text.contains(path));
        QCOMPARE(readWholeFile(path + QStringLiteral(".damaged-19901231")).bytes, stored);
        a.form->close();
        a.form.reset();
        a.dialogs.shown.clear();
        a.open();
        QVERIFY(a.dialogs.shown.isEmpty());
    }

    // A file that cannot be opened is not damaged: one box says so, nothing is copied aside,
    // and neither closing the window nor the profile editor writes over it.
    void unreadableFilesAreLeftAsTheyAre_data()
    {
        QTest::addColumn<bool>("profile"); // user.dat, else zumikey.ini
        QTest::newRow("user.dat") << true;
        QTest::newRow("zumikey.ini") << false;
    }
    void unreadableFilesAreLeftAsTheyAre()
    {
        QFETCH(bool, profile);
        Assistant a;
        a.writeProfile(sampleProfile());
        a.writeSettings(QStringLiteral("[UserInputOption]\r\nFormState=0\r\n"));
        const QString path = profile ? a.paths.profilePath() : a.paths.assistantSettingsPath();
        const QByteArray stored = readWholeFile(path).bytes;
        filefaults::refuseReads(path);
        a.dialogs.queueAnswer(MessageAnswer::Ok);
        a.open();
        QCOMPARE(a.dialogs.shown.size(), 1);
        const MessageBoxSpec& told = a.dialogs.shown[0].box;
        QCOMPARE(told.caption, QStringLiteral("ファイルエラー"));
        QVERIFY(told.text.startsWith(QStringLiteral("ファイル「%1」を読み込めません。").arg(path)));
        QVERIFY(!told.text.contains(QStringLiteral("壊れ")));
        QCOMPARE(saveUserProfileFile(a.paths.profilePath(), sampleProfile()).isEmpty(), !profile);
        a.form->close();
        a.form.reset();
        filefaults::refuseReads(QString());
        QCOMPARE(a.dialogs.shown.size(), 1);
        QCOMPARE(readWholeFile(path).bytes, stored);
        QCOMPARE(QDir(a.paths.iniFolder()).entryList(QDir::Files).size(), 2);
    }

    void controlsCarryTheirNames()
    {
        Assistant a;
        a.open();
        QCOMPARE(a.form->windowTitle(), QStringLiteral("ズミキー"));
        const struct
        {
            const char* name;
            int parts;
            const char16_t* caption;
        } rows[] = {
            {"cmdUserName", 2, u"お名前(漢字)"},   {"cmdUserNameKana", 2, u"お名前(ルビ)"},
            {"cmdUserMail", 2, u"メールアドレス"}, {"cmdUserZip", 2, u"郵便番号"},
            {"cmdUserAddress", 4, u"住所(漢字)"},  {"cmdUserAddressKana", 4, u"住所(ルビ)"},
            {"cmdUserTel1", 3, u"電話番号1"},      {"cmdUserTel2", 3, u"電話番号2"},
            {"cmdUserBirthday", 3, u"生年月日"},
        };
        for (const auto& row : rows) {
            const QString name = QString::fromLatin1(row.name);
            auto* main = a.form->findChild<QPushButton*>(name + QStringLiteral("_0"));
            QVERIFY2(main, row.name);
            QCOMPARE(main->text(), QString::fromUtf16(row.caption));
            for (int i = 1; i <= row.parts; ++i)
                QCOMPARE(a.form->findChild<QPushButton*>(name + u'_' + QString::number(i))->text(),
                         QString::number(i));
            QVERIFY(!a.form->findChild<QPushButton*>(name + u'_' + QString::number(row.parts + 1)));
        }
        QCOMPARE(a.find<QPushButton>("cmdUserAge")->text(), QStringLiteral("年齢"));
        QCOMPARE(a.find<QPushButton>("cmdUserSex")->text(), QStringLiteral("性別"));
        QCOMPARE(a.find<QPushButton>("cmdUserJob")->text(), QStringLiteral("職業"));
        QCOMPARE(a.find<QPushButton>("cmdUserProfile")->text(), QStringLiteral("プロフィール管理"));
        QVERIFY(a.find<QComboBox>("cboRuby") && a.find<QComboBox>("cboKeyInputBefore") &&
                a.find<QComboBox>("cboKeyInputAfter"));
        QCOMPARE(a.find<QTimer>("tmrCheckActiveWindow")->interval(), 50);
        QVERIFY(a.find<QTimer>("tmrCheckActiveWindow")->isActive());
        QVERIFY(a.form->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    }

    void firstStartUsesDefaultsAndWritesTheFileAtClose()
    {
        Assistant a;
        const mode_t umask = ::umask(022);
        a.open();
        QVERIFY(a.find<QCheckBox>("chkFormState")->isChecked());
        QVERIFY(a.form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(a.find<QComboBox>("cboRuby")->currentText(), QStringLiteral("ひらがな"));
        QCOMPARE(a.find<QComboBox>("cboKeyInputBefore")->currentText(), QStringLiteral("Ctrl + V"));
        QCOMPARE(a.find<QComboBox>("cboKeyInputAfter")->currentText(), QStringLiteral("なし"));
        QVERIFY(!a.button(FieldRow::UserName, 0)->isEnabled()); // no profile yet
        QVERIFY(!a.button(FieldRow::UserAge, 0)->isEnabled());

        a.form->move(150, 90);
        a.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(a.form.get()));
        const QPoint at = a.form->pos();
        a.form->close();
        const ReadResult read = readWholeFile(a.paths.assistantSettingsPath());
        QVERIFY(read.ok);
        QByteArray expected;
        QVERIFY(cp932::encode(QStringLiteral("[Position]\r\nUserInputTop=%1\r\nUserInputLeft=%2\r\n"
                                             "[UserInputOption]\r\nFormState=1\r\nRuby=ひらがな\r\n"
                                             "KeyInputBefore=Ctrl + V\r\nKeyInputAfter=なし\r\n")
                                  .arg(pixelsToTwips(at.y()))
                                  .arg(pixelsToTwips(at.x())),
                              expected));
        QCOMPARE(scrambleBytes(read.bytes), expected);
        QVERIFY(read.bytes != expected);
        ::umask(umask);
        // The user's alone, whatever the umask.
        for (const QString& folder :
             {a.paths.dataFolder(), a.paths.iniFolder(), workFolderOf(a.paths.dataFolder())})
            QCOMPARE(permissionBits(folder), 0700);
        QCOMPARE(permissionBits(a.paths.assistantSettingsPath()), 0600);
    }

    void storedSettingsAreApplied()
    {
        Assistant a;
        a.writeSettings(QStringLiteral("[Position]\r\nUserInputTop=1500\r\nUserInputLeft=3000\r\n"
                                       "[UserInputOption]\r\nFormState=0\r\nRuby=カタカナ\r\n"
                                       "KeyInputBefore=Shift + Ins\r\nKeyInputAfter=Esc\r\n"));
        a.open();
        QCOMPARE(a.form->pos(), QPoint(200, 100));
        QVERIFY(!a.find<QCheckBox>("chkFormState")->isChecked());
        QVERIFY(!a.form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(a.find<QComboBox>("cboRuby")->currentText(), QStringLiteral("カタカナ"));
        QCOMPARE(a.find<QComboBox>("cboRuby")->currentIndex(), 1); // the list follows the text
        QCOMPARE(a.find<QComboBox>("cboKeyInputBefore")->currentText(),
                 QStringLiteral("Shift + Ins"));
        // Not in the list: shown as stored, and it sends no key.
        QCOMPARE(a.find<QComboBox>("cboKeyInputAfter")->currentText(), QStringLiteral("Esc"));

        a.find<QCheckBox>("chkFormState")->click();
        QVERIFY(a.form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        a.form->close();
        const AssistantSettings saved = loadAssistantSettings(a.paths.assistantSettingsPath());
        QVERIFY(saved.formState);
        QCOMPARE(saved.keyInputAfter, QStringLiteral("Esc"));
        QCOMPARE(saved.top.value_or(0), 1500);
        QCOMPARE(saved.left.value_or(0), 3000);
    }

    void optionPanelOpensAndCloses()
    {
        Assistant a;
        a.open();
        a.form->show();
        auto* option = a.find<QPushButton>("cmdOption");
        auto* frame = a.find<QFrame>("fraOption");
        QCOMPARE(option->text(), QStringLiteral("オプション表示"));
        QVERIFY(!frame->isVisible());
        const int closedHeight = a.form->sizeHint().height();
        option->click();
        QCOMPARE(option->text(), QStringLiteral("オプション非表示"));
        QCOMPARE(option->toolTip(), QStringLiteral("オプション非表示"));
        QVERIFY(frame->isVisible());
        QVERIFY(a.find<QComboBox>("cboRuby")->isEnabled());
        QVERIFY(a.form->sizeHint().height() > closedHeight);
        option->click();
        QCOMPARE(option->text(), QStringLiteral("オプション表示"));
        QVERIFY(!frame->isVisible());
        QVERIFY(!a.find<QCheckBox>("chkFormState")->isEnabled());
    }

    void combosOnlyChangeFromTheirLists()
    {
        Assistant a;
        a.open();
        auto* combo = a.find<QComboBox>("cboKeyInputAfter");
        QTest::keyClick(combo, Qt::Key_A);
        QTest::keyClick(combo, Qt::Key_Delete);
        QCOMPARE(combo->currentText(), QStringLiteral("なし"));
        QCOMPARE(a.dialogs.beeps, 2);
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentText(), QStringLiteral("Tabキー"));
        QCOMPARE(a.dialogs.beeps, 2);
    }

    void buttonsFollowTheProfile()
    {
        Assistant a;
        UserProfile p;
        p[K::UserName1] = QStringLiteral("山田");
        p[K::UserTel11] = QStringLiteral("03");
        a.writeProfile(p);
        a.open();
        QVERIFY(!a.button(FieldRow::UserName, 0)->isEnabled());
        QVERIFY(a.button(FieldRow::UserName, 1)->isEnabled());
        QVERIFY(!a.button(FieldRow::UserName, 2)->isEnabled());
        QVERIFY(a.button(FieldRow::UserTel1, 0)->isEnabled());
        QVERIFY(!a.button(FieldRow::UserTel1, 2)->isEnabled());
        QVERIFY(!a.button(FieldRow::UserBirthday, 0)->isEnabled());
    }

    void trackingKeepsTheLastOtherWindow()
    {
        Assistant a;
        a.open();
        a.form->show();
        a.windows.active = 0x400001;
        a.form->tmrCheckActiveWindow_Timer();
        QCOMPARE(a.form->targetWindow(), quint64(0x400001));
        a.windows.active = 0;
        a.form->tmrCheckActiveWindow_Timer();
        QCOMPARE(a.form->targetWindow(), quint64(0x400001));
        a.windows.active = static_cast<quint64>(a.form->winId());
        a.form->tmrCheckActiveWindow_Timer();
        QCOMPARE(a.form->targetWindow(), quint64(0x400001));
        a.windows.active = 0x600002;
        QTRY_COMPARE(a.form->targetWindow(), quint64(0x600002)); // the timer itself
    }

    void clickPastesIntoTheTarget_data()
    {
        QTest::addColumn<QString>("ruby");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<QList<KeyStroke>>>("keys");
        QTest::newRow("hiragana, no after key")
            << "ひらがな"
            << "なし"
            << "やまだ　はなこ" << QList<QList<KeyStroke>>{{kCtrlV}};
        QTest::newRow("katakana, then Tab")
            << "カタカナ"
            << "Tabキー"
            << "ヤマダ　ハナコ" << QList<QList<KeyStroke>>{{kCtrlV}, {kTab}};
    }

    void clickPastesIntoTheTarget()
    {
        QFETCH(QString, ruby);
        QFETCH(QString, after);
        QFETCH(QString, text);
        QFETCH(QList<QList<KeyStroke>>, keys);
        Assistant a;
        a.writeProfile(sampleProfile());
        a.open();
        a.find<QComboBox>("cboRuby")->setCurrentText(ruby);
        a.find<QComboBox>("cboKeyInputAfter")->setCurrentText(after);
        a.windows.active = 0x400001;
        a.form->tmrCheckActiveWindow_Timer();
        a.dialogs.clipboard = QStringLiteral("前にコピーした文");

        a.button(FieldRow::UserNameKana, 0)->click();
        QCOMPARE(a.dialogs.clipboard, text);
        QVERIFY(a.windows.sent.isEmpty()); // keys go out from the event loop, not the click
        QTRY_COMPARE(a.windows.sent, keys);
        QCOMPARE(a.windows.activated, QList<quint64>{0x400001});
        // Once the paste is done, the clipboard holds what it held before.
        QCOMPARE(a.dialogs.clipboard, text);
        QTRY_COMPARE(a.dialogs.clipboard, QStringLiteral("前にコピーした文"));
    }

    void failedActivationLeavesTheTextOnTheClipboard()
    {
        Assistant a;
        a.writeProfile(sampleProfile());
        a.open();
        a.button(FieldRow::UserName, 1)->click(); // no target yet
        QCOMPARE(a.dialogs.clipboard, QStringLiteral("山田"));
        QTest::qWait(20);
        QVERIFY(a.windows.activated.isEmpty());

        a.windows.active = 0x400001;
        a.form->tmrCheckActiveWindow_Timer();
        a.windows.activateSucceeds = false; // the window was closed meanwhile
        a.button(FieldRow::UserName, 2)->click();
        QTRY_COMPARE(a.windows.activated.size(), 1);
        QTest::qWait(20);
        QCOMPARE(a.dialogs.clipboard, QStringLiteral("花子"));
        QVERIFY(a.windows.sent.isEmpty());
        QVERIFY(a.dialogs.shown.isEmpty());
    }

    void withoutX11TheUserIsToldOnce()
    {
        Assistant a;
        a.writeProfile(sampleProfile());
        a.windows.isAvailable = false;
        a.open();
        a.dialogs.queueAnswer(MessageAnswer::Ok);
        a.button(FieldRow::UserName, 0)->click();
        QTRY_COMPARE(a.dialogs.shown.size(), 1);
        QVERIFY(a.dialogs.shown.first().box.text.contains(QStringLiteral("クリップボード")));
        QVERIFY(a.dialogs.shown.first().box.text.contains(QStringLiteral("「ズミキー連携」")));
        a.button(FieldRow::UserName, 1)->click();
        QTest::qWait(20);
        QCOMPARE(a.dialogs.shown.size(), 1);
        QCOMPARE(a.dialogs.clipboard, QStringLiteral("山田"));
    }

    // A browser with the extension, as its host connects: process 4242 owns window 0x500001.
    void browserTakesTheTextWhereItIsTheTarget_data()
    {
        QTest::addColumn<bool>("x11");
        QTest::addColumn<quint64>("target");
        QTest::addColumn<bool>("toBrowser");
        QTest::newRow("X11, the browser was last") << true << quint64(0x500001) << true;
        QTest::newRow("X11, another program was last") << true << quint64(0x400001) << false;
        QTest::newRow("Wayland") << false << quint64(0) << true;
    }

    void browserTakesTheTextWhereItIsTheTarget()
    {
        QFETCH(bool, x11);
        QFETCH(quint64, target);
        QFETCH(bool, toBrowser);
        Assistant a;
        a.writeProfile(sampleProfile());
        QCOMPARE(saveUserProfileFile(personProfilePath(a.paths, 2), brotherProfile()), QString());
        a.windows.isAvailable = x11;
        a.windows.owners = {{0x500001, 4242}, {0x400001, 99}};
        QFile host(a.dir.filePath(QStringLiteral("zumikey-bridge")));
        QVERIFY(host.open(QIODevice::WriteOnly));
        host.close();
        QVERIFY(host.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        a.open();
        const QString socket = a.dir.filePath(QStringLiteral("bridge"));
        BridgeServer bridge(socket);
        QTemporaryDir home;
        a.form->setBrowserBridge(&bridge, home.path());
        QVERIFY(QFileInfo::exists(
            home.filePath(QStringLiteral(".mozilla/native-messaging-hosts/zumikey.bridge.json"))));
        nativeframe::Reader reader;
        QList<QJsonObject> inBrowser;
        HostRelay relay(socket, QJsonArray{777, 4242}, [&](const QByteArray& bytes) {
            reader.append(bytes);
            while (const auto body = reader.next())
                inBrowser << nativeframe::parseObject(*body).value_or(QJsonObject{});
        });
        relay.start();
        relay.fromBrowser(nativeframe::encode({{QStringLiteral("type"), QStringLiteral("hello")}}));
        QTRY_VERIFY(bridge.browserConnected());

        a.find<QComboBox>("cboKeyInputAfter")->setCurrentText(QStringLiteral("Tabキー"));
        a.windows.active = target;
        a.form->tmrCheckActiveWindow_Timer();
        a.button(FieldRow::UserName, 1)->click();
        if (toBrowser) {
            QTRY_VERIFY(!inBrowser.isEmpty() && inBrowser.last().contains(QStringLiteral("text")));
            QCOMPARE(inBrowser.last(),
                     bridgelink::insertMessage(1, QStringLiteral("山田"), QStringLiteral("Tab")));
            QCOMPARE(a.dialogs.clipboard, QString()); // nothing on the clipboard
            QTest::qWait(200);
            QVERIFY(a.windows.sent.isEmpty());
            QVERIFY(a.dialogs.shown.isEmpty());
            // The one-click fill sends the person chosen now.
            QTest::keyClick(a.find<QComboBox>("cboPerson"), Qt::Key_Down);
            a.find<QPushButton>("cmdFormFill")->click();
            QTRY_COMPARE(inBrowser.last().value(QStringLiteral("type")).toString(),
                         QStringLiteral("fill"));
            const QJsonObject values = inBrowser.last().value(QStringLiteral("values")).toObject();
            QCOMPARE(values.value(QStringLiteral("given")).toString(), QStringLiteral("太郎"));
            QVERIFY(!values.contains(QStringLiteral("bday"))); // hers is not sent
        } else {
            QCOMPARE(a.dialogs.clipboard, QStringLiteral("山田"));
            QTRY_COMPARE(a.windows.sent.size(), 2); // the paste key, then Tab
            QVERIFY(!inBrowser.last().contains(QStringLiteral("text")));
        }
        // An answer of the extension that nothing could be filled is told.
        a.dialogs.clearShown();
        a.dialogs.queueAnswer(MessageAnswer::Ok);
        relay.fromBrowser(
            nativeframe::encode({{QStringLiteral("type"), QStringLiteral("result")},
                                 {QStringLiteral("ok"), false},
                                 {QStringLiteral("error"), QStringLiteral("no-form")}}));
        QTRY_COMPARE(a.dialogs.shown.size(), 1);
        QCOMPARE(a.dialogs.shown.first().box.text,
                 QStringLiteral("このページには、一括入力できる欄が見つかりませんでした。"));
    }

    void formFillNeedsTheBrowserExtension()
    {
        Assistant a;
        a.writeProfile(sampleProfile());
        a.open();
        a.dialogs.queueAnswer(MessageAnswer::Ok);
        a.find<QPushButton>("cmdFormFill")->click();
        QCOMPARE(a.dialogs.shown.size(), 1);
        QVERIFY(a.dialogs.shown.first().box.text.contains(QStringLiteral("「ズミキー連携」")));
        QCOMPARE(a.dialogs.clipboard, QString());
    }

    void toolTipAndAgeFollowTheClock()
    {
        Assistant a;
        a.writeProfile(sampleProfile());
        a.open();
        QPushButton* age = a.button(FieldRow::UserAge, 0);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(age, &enter);
        QCOMPARE(age->toolTip(), QStringLiteral("19歳"));
        QCOMPARE(a.form->userAge(), QStringLiteral("19歳"));
        QVERIFY(a.dialogs.clipboard.isEmpty()); // hovering puts nothing on the clipboard

        a.clock.setToday(QDate(1991, 1, 1));
        age->click();
        QCOMPARE(a.dialogs.clipboard, QStringLiteral("20歳"));
        QCOMPARE(a.form->userAge(), QStringLiteral("20歳"));
    }

    void secondInstanceIsRefused()
    {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        SingleInstance first(QStringLiteral("zumikey"), dir.path());
        QVERIFY(acquireSingleInstance(first, dialogs));
        SingleInstance second(QStringLiteral("zumikey"), dir.path());
        dialogs.queueAnswer(MessageAnswer::Ok);
        QVERIFY(!acquireSingleInstance(second, dialogs));
        QCOMPARE(dialogs.shown.size(), 1);
        const MessageBoxSpec& box = dialogs.shown.first().box;
        QCOMPARE(box.text, QStringLiteral("ズミキー（入力支援ツール）は、すでに起動しています。"));
        QCOMPARE(box.caption, QStringLiteral("多重起動不可"));
        QCOMPARE(box.icon, MessageIcon::None);
        QCOMPARE(box.buttons, MessageButtons::Ok);
    }

    // The person choice decides what a button types and outlives a restart; a remembered
    // person whose file went away gives way to the first.
    void personChoiceDecidesTheTextAndIsRemembered()
    {
        Assistant a;
        a.writeProfile(sampleProfile());
        QCOMPARE(saveUserProfileFile(personProfilePath(a.paths, 2), brotherProfile()), QString());
        const QByteArray stored = readWholeFile(a.paths.profilePath()).bytes;
        const struct
        {
            const char16_t* shown; // at start
            Qt::Key key;
            const char16_t* typed;
        } starts[] = {{u"山田 花子", Qt::Key_Down, u"太郎"},
                      {u"山田 太郎", Qt::Key_Up, u"花子"},
                      {u"山田 花子", Qt::Key_Down, u"太郎"}};
        for (const auto& start : starts) {
            a.open();
            auto* person = a.find<QComboBox>("cboPerson");
            QCOMPARE(person->currentText(), QString::fromUtf16(start.shown));
            QTest::keyClick(person, start.key);
            a.button(FieldRow::UserName, 2)->click();
            QCOMPARE(a.dialogs.clipboard, QString::fromUtf16(start.typed));
            a.form->close();
        }
        QCOMPARE(readWholeFile(a.paths.profilePath()).bytes, stored);
        QVERIFY(QFile::remove(personProfilePath(a.paths, 2)));
        a.open();
        QCOMPARE(a.form->person(), kFirstPerson);
        QVERIFY(a.dialogs.shown.isEmpty());
    }

    void profileEditorReloadsTheButtons()
    {
        Assistant a;
        a.open();
        QVERIFY(!a.button(FieldRow::UserBirthday, 0)->isEnabled());
        bool edited = false;
        QTimer::singleShot(0, this, [&] {
            auto* editor = qobject_cast<frmUserProfile*>(QApplication::activeModalWidget());
            QVERIFY(editor);
            editor->box(K::UserName1)->setText(QStringLiteral("山田"));
            editor->findChild<QPushButton*>(QStringLiteral("cmdUserSet"))->click();
            editor->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
            edited = true;
        });
        a.find<QPushButton>("cmdUserProfile")->click();
        QVERIFY(edited);
        QCOMPARE(a.form->profile()[K::UserName1], QStringLiteral("山田"));
        QVERIFY(a.button(FieldRow::UserName, 1)->isEnabled());
        // The birthday is always written, so its buttons and the age come alive.
        QVERIFY(a.button(FieldRow::UserBirthday, 0)->isEnabled());
        QVERIFY(a.button(FieldRow::UserAge, 0)->isEnabled());

        // A person added there is the one the window types afterwards, and at the next start.
        QTimer::singleShot(0, this, [] {
            auto* editor = qobject_cast<frmUserProfile*>(QApplication::activeModalWidget());
            editor->findChild<QPushButton*>(QStringLiteral("cmdPersonAdd"))->click();
            editor->reject();
        });
        a.find<QPushButton>("cmdUserProfile")->click();
        QCOMPARE(a.find<QComboBox>("cboPerson")->currentText(), QStringLiteral("2人目"));
        QVERIFY(!a.button(FieldRow::UserName, 1)->isEnabled());
        QCOMPARE(loadChosenPerson(a.paths.personChoicePath()), 2);
    }
};

QTEST_MAIN(TestFrmZumikey)
#include "tst_frmzumikey.moc"
