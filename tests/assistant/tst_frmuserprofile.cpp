#include "assistant/frmUserProfile.h"
#include "core/AppPaths.h"
#include "core/AtomicFile.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QDateEdit>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

using K = ProfileKey;

struct Editor
{
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    QString folder = dir.path();
    QString path = AppPaths(folder).profilePath();
    std::unique_ptr<frmUserProfile> form;

    void open()
    {
        form = std::make_unique<frmUserProfile>(AppPaths(folder), kFirstPerson, false, dialogs);
    }
    QLineEdit* edit(const char* name) const
    {
        return form->findChild<QLineEdit*>(QLatin1String(name));
    }
    void click(const char* name) const
    {
        QTest::mouseClick(form->findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
    }
};

} // namespace

class TestFrmUserProfile : public QObject
{
    Q_OBJECT

private slots:
    void emptyEditorWithoutFile()
    {
        Editor e;
        e.open();
        QCOMPARE(e.form->windowTitle(), QStringLiteral("プロフィール管理"));
        QCOMPARE(e.form->findChild<QDateEdit*>(QStringLiteral("dtpUserBirthday"))->date(),
                 QDate(1970, 1, 1));
        QVERIFY(e.form->findChild<QRadioButton*>(QStringLiteral("optUserWoman"))->isChecked());
        QVERIFY(e.edit("txtUserName_1")->text().isEmpty());
    }

    void boxes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<bool>("inputMethod");
        QTest::newRow("family name") << "txtUserName_1" << 10 << "姓" << true;
        QTest::newRow("kana given name") << "txtUserNameKana_2" << 20 << "名" << true;
        QTest::newRow("mail") << "txtUserMail" << 96 << "" << false;
        QTest::newRow("zip 1") << "txtUserZip_1" << 3 << "" << false;
        QTest::newRow("zip 2") << "txtUserZip_2" << 4 << "" << false;
        QTest::newRow("address 3") << "txtUserAddress_3" << 50 << "番地" << true;
        QTest::newRow("kana address 4") << "txtUserAddressKana_4" << 50 << "建物" << true;
        QTest::newRow("tel 2-3") << "txtUserTel2_3" << 4 << "" << false;
        QTest::newRow("job") << "txtUserJob" << 50 << "" << true;
    }

    void boxes()
    {
        QFETCH(QString, name);
        QFETCH(int, maxLength);
        QFETCH(QString, toolTip);
        QFETCH(bool, inputMethod);
        Editor e;
        e.open();
        QLineEdit* box = e.form->findChild<QLineEdit*>(name);
        QVERIFY(box);
        QCOMPARE(box->maxLength(), maxLength);
        QCOMPARE(box->toolTip(), toolTip);
        QCOMPARE(box->testAttribute(Qt::WA_InputMethodEnabled), inputMethod);
        QVERIFY(!box->accessibleName().isEmpty() || box->property("buddy").isValid());
    }

    void refusedInputKeepsEverythingAndSelectsTheBox_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("message");
        QTest::newRow("mail with comma")
            << "txtUserMail"
            << "a,b@example.jp"
            << "メールアドレスに不正な文字が含まれています。\r\n\r\n不正な文字　　　! \" # $ % & ' "
               "( ) * + , / : ; < = > ? [ \\ ] ^ ` { | }  ";
        QTest::newRow("family name with blank")
            << "txtUserName_1"
            << "山 田"
            << "「お名前(漢字)」の「姓」の項目に半角文字が含まれています。";
        QTest::newRow("family name with ideographic space")
            << "txtUserName_1"
            << "山　田"
            << "「お名前(漢字)」の「姓」の項目に全角スペースが含まれています。";
        QTest::newRow("kana prefecture with digits")
            << "txtUserAddressKana_1"
            << "よつや1-2"
            << "「住所(かな)」の「都道府県」の項目に、'ふりがな' 以外の文字が入力されています。";
        QTest::newRow("emoji in job")
            << "txtUserJob"
            << "🍣職人"
            << "「職業」の項目に保存できない文字「\xF0\x9F\x8D\xA3」が含まれています。";
    }

    void refusedInputKeepsEverythingAndSelectsTheBox()
    {
        QFETCH(QString, name);
        QFETCH(QString, input);
        QFETCH(QString, message);
        Editor e;
        e.open();
        e.form->show();
        e.edit("txtUserJob")->setText(QStringLiteral("会社員"));
        QLineEdit* box = e.form->findChild<QLineEdit*>(name);
        box->setText(input);
        e.dialogs.queueAnswer(MessageAnswer::Ok);
        e.click("cmdUserSet");
        QCOMPARE(e.dialogs.shown.size(), 1);
        const MessageBoxSpec& shown = e.dialogs.shown.first().box;
        QCOMPARE(shown.caption, QStringLiteral("入力エラー"));
        QCOMPARE(shown.icon, MessageIcon::Critical);
        QCOMPARE(shown.buttons, MessageButtons::Ok);
        if (name == QLatin1String("txtUserJob"))
            QVERIFY(shown.text.startsWith(QStringLiteral("「職業」の項目に保存できない文字")));
        else
            QCOMPARE(shown.text, message);
        QCOMPARE(e.form->focusWidget(), box);
        QCOMPARE(box->selectedText(), box->text());
        QCOMPARE(box->text(), input);
        QVERIFY(!QFileInfo::exists(e.path));
    }

    void saveRewritesKanaAndWritesEveryKey()
    {
        Editor e;
        e.open();
        e.edit("txtUserNameKana_1")->setText(QStringLiteral("やまだｰ"));
        e.edit("txtUserAddressKana_2")->setText(QStringLiteral("よつや1-2"));
        e.edit("txtUserZip_1")->setText(QStringLiteral("160"));
        e.form->findChild<QDateEdit*>(QStringLiteral("dtpUserBirthday"))
            ->setDate(QDate(1985, 3, 9));
        e.form->findChild<QRadioButton*>(QStringLiteral("optUserMan"))->setChecked(true);
        e.click("cmdUserSet");
        QVERIFY(e.dialogs.shown.isEmpty()); // a good save says nothing
        QCOMPARE(e.edit("txtUserNameKana_1")->text(), QStringLiteral("やまだー"));
        QCOMPARE(e.edit("txtUserAddressKana_2")->text(), QStringLiteral("よつや１－２"));
        QVERIFY(e.form->isVisible() || !e.form->result()); // still open, not accepted

        const UserProfile saved = loadUserProfileFile(e.path);
        QCOMPARE(saved[K::UserNameKana1], QStringLiteral("やまだー"));
        QCOMPARE(saved[K::UserAddressKana2], QStringLiteral("よつや１－２"));
        QCOMPARE(saved[K::UserZip1], QStringLiteral("160"));
        QCOMPARE(saved[K::UserBirthday], QStringLiteral("1985/03/09"));
        QCOMPARE(saved[K::UserSex], QStringLiteral("男性"));

        Editor again;
        again.folder = e.folder;
        again.path = e.path;
        again.open();
        QCOMPARE(again.edit("txtUserAddressKana_2")->text(), QStringLiteral("よつや１－２"));
        QCOMPARE(again.form->findChild<QDateEdit*>(QStringLiteral("dtpUserBirthday"))->date(),
                 QDate(1985, 3, 9));
        QVERIFY(again.form->findChild<QRadioButton*>(QStringLiteral("optUserMan"))->isChecked());
    }

    void clearAsksThenEmptiesAndDeletes()
    {
        Editor e;
        UserProfile p;
        p[K::UserName1] = QStringLiteral("山田");
        p[K::UserSex] = QStringLiteral("男性");
        p[K::UserBirthday] = QStringLiteral("1980/05/05");
        QCOMPARE(saveUserProfileFile(e.path, p), QString());
        e.open();

        e.dialogs.queueAnswer(MessageAnswer::No);
        e.click("cmdUserClear");
        QCOMPARE(e.edit("txtUserName_1")->text(), QStringLiteral("山田"));
        QVERIFY(QFileInfo::exists(e.path));

        e.dialogs.queueAnswer(MessageAnswer::Yes);
        e.click("cmdUserClear");
        const MessageBoxSpec& asked = e.dialogs.shown.last().box;
        QCOMPARE(asked.text,
                 QStringLiteral("本当にクリアしますか？\r\n実行すると元には戻せません。"));
        QCOMPARE(asked.caption, QStringLiteral("クリアの確認"));
        QCOMPARE(asked.icon, MessageIcon::Question);
        QCOMPARE(asked.buttons, MessageButtons::YesNo);
        QVERIFY(e.edit("txtUserName_1")->text().isEmpty());
        QCOMPARE(e.form->findChild<QDateEdit*>(QStringLiteral("dtpUserBirthday"))->date(),
                 QDate(1970, 1, 1));
        QVERIFY(e.form->findChild<QRadioButton*>(QStringLiteral("optUserWoman"))->isChecked());
        QVERIFY(!QFileInfo::exists(e.path));
    }

    void digitBoxesRefuseOtherKeys()
    {
        Editor e;
        e.open();
        e.form->show();
        for (const char* name : {"txtUserZip_2", "txtUserTel1_1", "txtUserTel2_3"}) {
            QLineEdit* box = e.edit(name);
            box->setFocus();
            const int before = e.dialogs.beeps;
            QTest::keyClicks(box, QStringLiteral("1a-2"));
            QCOMPARE(box->text(), QStringLiteral("12"));
            QCOMPARE(e.dialogs.beeps - before, 2);
            QTest::keyClick(box, Qt::Key_Backspace);
            QCOMPARE(box->text(), QStringLiteral("1"));
        }
    }

    // A further person is added, edited, cleared and removed in the editor; user.dat stays
    // byte for byte as it was, and removing takes that person's file only.
    void furtherPersonLeavesUserDatAlone()
    {
        Editor e;
        UserProfile first;
        first[K::UserName2] = QStringLiteral("花子");
        QCOMPARE(saveUserProfileFile(e.path, first), QString());
        const QByteArray stored = readWholeFile(e.path).bytes;
        const QString second = AppPaths(e.folder).iniFolder() + QStringLiteral("/user2.dat");
        e.open();
        auto* remove = e.form->findChild<QPushButton*>(QStringLiteral("cmdPersonRemove"));
        QVERIFY(!remove->isEnabled()); // never the first

        e.click("cmdPersonAdd");
        QCOMPARE(e.form->person(), 2);
        QVERIFY(e.edit("txtUserName_2")->text().isEmpty());
        QCOMPARE(permissionBits(second), 0600);
        e.edit("txtUserName_2")->setText(QStringLiteral("太郎"));
        e.click("cmdUserSet");
        QCOMPARE(loadUserProfileFile(second)[K::UserName2], QStringLiteral("太郎"));
        // Cleared, a further person stays in the household with an empty profile.
        e.dialogs.queueAnswer(MessageAnswer::Yes);
        e.click("cmdUserClear");
        QVERIFY(QFileInfo::exists(second));

        e.dialogs.queueAnswer(MessageAnswer::No);
        e.click("cmdPersonRemove");
        QVERIFY(QFileInfo::exists(second));
        e.dialogs.queueAnswer(MessageAnswer::Yes);
        e.click("cmdPersonRemove");
        QCOMPARE(e.dialogs.shown.last().box.text,
                 QStringLiteral("「2人目」のプロフィールを削除しますか？\r\n"
                                "実行すると元には戻せません。"));
        QCOMPARE(e.dialogs.shown.last().box.defaultButton, MessageAnswer::No);
        QVERIFY(!QFileInfo::exists(second));
        QCOMPARE(e.form->person(), kFirstPerson);
        QCOMPARE(e.edit("txtUserName_2")->text(), QStringLiteral("花子"));
        QCOMPARE(readWholeFile(e.path).bytes, stored);
    }

    void closeDoesNotSave()
    {
        Editor e;
        e.open();
        e.form->show();
        e.edit("txtUserName_1")->setText(QStringLiteral("山田"));
        e.click("cmdClose");
        QVERIFY(!e.form->isVisible());
        QVERIFY(!QFileInfo::exists(e.path));
        QVERIFY(e.dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(TestFrmUserProfile)
#include "tst_frmuserprofile.moc"
