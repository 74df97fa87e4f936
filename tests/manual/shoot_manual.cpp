// Takes the manual's pictures from the real windows over a throw-away program folder:
//   QT_QPA_PLATFORM=offscreen shoot_manual <folder for the PNG files>
#include "assistant/UserProfile.h"
#include "assistant/frmUserProfile.h"
#include "assistant/frmZumikey.h"
#include "core/Clock.h"
#include "forms/frmDataSearch.h"
#include "forms/frmMain.h"
#include "forms/frmStartPassword.h"
#include "platform/FolderDialog.h"
#include "platform/ForeignWindows.h"
#include "support/ScriptedDialogs.h"
#include "support/TempProgramFolder.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

namespace {

// The assistant is shown only; it never types anywhere.
class NoWindows : public ForeignWindows
{
public:
    bool available() const override { return true; }
    quint64 activeWindow() override { return 0; }
    bool activate(quint64) override { return false; }
    bool sendKeys(const QList<KeyStroke>&) override { return false; }
};

QString g_out;

void shoot(QWidget* window, const QString& name)
{
    window->show();
    QApplication::processEvents();
    if (!window->grab().save(g_out + u'/' + name + QStringLiteral(".png")))
        qFatal("cannot write %s", qPrintable(name));
}

void writeSampleDiary(const TempProgramFolder& folder)
{
    folder.writeSettings("[Setting]\r\n");
    folder.writeMonth(
        "2026", "12",
        {makeEntry("2026/12/03", "0", QStringLiteral("お米券 5kg分"), QStringLiteral("小物当選"),
                   QStringLiteral("2000")),
         makeEntry("2026/12/10", "10234", QStringLiteral("温泉ペア宿泊券")),
         makeEntry("2026/12/15", "10567", QStringLiteral("ノートパソコン"), QStringLiteral("落選")),
         makeEntry("2026/12/20", "0", QStringLiteral("QUOカード 1000円分"),
                   QStringLiteral("中物当選"), QStringLiteral("1000")),
         makeEntry("2026/12/24", "10981", QStringLiteral("クリスマスケーキ"))});
    folder.writeMonth("2026", "11",
                      {makeEntry("2026/11/05", "0", QStringLiteral("図書カード"),
                                 QStringLiteral("小物当選"), QStringLiteral("500")),
                       makeEntry("2026/11/18", "9876", QStringLiteral("液晶テレビ"),
                                 QStringLiteral("大物当選"), QStringLiteral("50000"))});
}

UserProfile sampleProfile()
{
    using K = ProfileKey;
    UserProfile p;
    const std::pair<K, const char16_t*> values[] = {
        {K::UserName1, u"山田"},
        {K::UserName2, u"花子"},
        {K::UserNameKana1, u"やまだ"},
        {K::UserNameKana2, u"はなこ"},
        {K::UserMail, u"hanako@example.jp"},
        {K::UserZip1, u"100"},
        {K::UserZip2, u"0001"},
        {K::UserAddress1, u"東京都"},
        {K::UserAddress2, u"千代田区"},
        {K::UserAddress3, u"千代田1-1"},
        {K::UserAddressKana1, u"とうきょうと"},
        {K::UserAddressKana2, u"ちよだく"},
        {K::UserAddressKana3, u"ちよだ1-1"},
        {K::UserTel11, u"03"},
        {K::UserTel12, u"1234"},
        {K::UserTel13, u"5678"},
        {K::UserBirthday, u"1980/04/01"},
        {K::UserSex, u"女性"},
        {K::UserJob, u"主婦"},
    };
    for (const auto& [key, value] : values)
        p[key] = QString::fromUtf16(value);
    return p;
}

void selectTab(QTabWidget* tabs, const char* key)
{
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->widget(i)->property("tabKey").toString() == QLatin1String(key))
            tabs->setCurrentIndex(i);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2)
        qFatal("usage: shoot_manual <output folder>");
    g_out = QString::fromLocal8Bit(argv[1]);

    TempProgramFolder folder;
    writeSampleDiary(folder);
    ScriptedDialogs dialogs;
    const FixedClock clock(QDate(2026, 12, 7));

    frmMain main(AppContext{folder.paths(), dialogs, clock});
    main.setLoginPrompt([] { return true; });
    if (!main.Form_Load())
        qFatal("start-up refused");
    auto* tabs = main.findChild<QTabWidget*>(QStringLiteral("tabMain"));
    for (const char* key : {"T_Month", "T_Year", "T_Total", "T_Setting", "T_About"}) {
        selectTab(tabs, key);
        shoot(&main, QStringLiteral("main-") + QString::fromLatin1(key).mid(2).toLower());
    }

    selectTab(tabs, "T_Month");
    main.findChild<QPushButton*>(QStringLiteral("cmdNewInput"))->click();
    if (auto* entry = main.findChild<QWidget*>(QStringLiteral("frmDataInput"))) {
        shoot(entry, QStringLiteral("entry"));
        entry->close();
    }

    selectTab(tabs, "T_Search");
    shoot(&main, QStringLiteral("main-search"));
    if (auto* search = main.findChild<frmDataSearch*>(QStringLiteral("frmDataSearch")))
        shoot(search, QStringLiteral("search"));

    frmStartPassword password(frmStartPassword::Mode::Login, QStringLiteral("secret"), dialogs);
    shoot(&password, QStringLiteral("password"));
    password.close();

    QTimer::singleShot(100, [] {
        QWidget* picker = QApplication::activeModalWidget();
        shoot(picker, QStringLiteral("backup-folder"));
        static_cast<QDialog*>(picker)->reject();
    });
    chooseFolder(nullptr, QStringLiteral("バックアップ先を指定して下さい。"), folder.path());

    saveUserProfileFile(folder.paths().profilePath(), sampleProfile());
    NoWindows windows;
    frmZumikey assistant(folder.path(), dialogs, clock, windows);
    shoot(&assistant, QStringLiteral("zumikey"));
    frmUserProfile editor(folder.paths().profilePath(), false, dialogs);
    editor.LoadProfileEditor();
    shoot(&editor, QStringLiteral("profile"));
    return 0;
}
