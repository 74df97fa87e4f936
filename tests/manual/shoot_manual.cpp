// Takes the manual's pictures from the real windows over a throw-away program folder:
//   QT_QPA_PLATFORM=offscreen:configfile=tests/forms/screen-1920x1080.json
//   shoot_manual <folder for the PNG files>
// (a screen as large as a desktop's: on the default 800x800 one the windows fit themselves to it)
#include "assistant/frmUserProfile.h"
#include "assistant/frmZumikey.h"
#include "core/Clock.h"
#include "diary/SummaryFiles.h"
#include "diary/SummaryUnits.h"
#include "forms/frmChart.h"
#include "forms/frmDataSearch.h"
#include "forms/frmMain.h"
#include "forms/frmPrint.h"
#include "forms/frmStartPassword.h"
#include "platform/FolderDialog.h"
#include "platform/ForeignWindows.h"
#include "profile/UserProfile.h"
#include "support/FakePrinters.h"
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

EntryRecord withDeadline(EntryRecord entry, const QString& deadline)
{
    entry[OtherDate] = deadline;
    return entry;
}

// The months of `year` up to `lastMonth`: a few entries each, every fourth one won, so the year
// tab and its chart have something to show.
void writeSampleYear(const TempProgramFolder& folder, int year, int lastMonth)
{
    static const char16_t* const prizes[] = {u"商品券 3000円分",    u"ご当地グルメ詰め合わせ",
                                             u"映画鑑賞券",         u"コーヒーメーカー",
                                             u"図書カード 500円分", u"高級タオルセット"};
    static const char16_t* const classes[] = {u"小物当選", u"小物当選", u"中物当選"};
    int serial = 0;
    for (int month = 1; month <= lastMonth; ++month) {
        QList<EntryRecord> entries;
        const int count = 5 + (month * 5 + year) % 9;
        for (int i = 0; i < count; ++i, ++serial) {
            const QDate day(year, month, 1 + i * 27 / count);
            const QString date = day.toString(QStringLiteral("yyyy/MM/dd"));
            const QString prize = QString::fromUtf16(prizes[serial % 6]);
            const bool won = serial % 4 == 1;
            const char16_t* kekka = won ? classes[serial % 3] : u"落選";
            const QString amount =
                won ? QString::number(500 * (1 + serial % 5)) : QStringLiteral("0");
            entries.append(withDeadline(makeEntry(date, QString::number(9000 + serial), prize,
                                                  QString::fromUtf16(kekka), amount),
                                        day.addDays(14).toString(QStringLiteral("yyyy/MM/dd"))));
        }
        folder.writeMonth(QString::number(year), QString::number(month).rightJustified(2, u'0'),
                          entries);
    }
}

void writeSampleDiary(const TempProgramFolder& folder)
{
    folder.writeSettings("[Setting]\r\n");
    writeSampleYear(folder, 2025, 12);
    writeSampleYear(folder, 2026, 10);
    folder.writeMonth(
        "2026", "12",
        {makeEntry("2026/12/03", "0", QStringLiteral("お米券 5kg分"), QStringLiteral("小物当選"),
                   QStringLiteral("2000")),
         withDeadline(makeEntry("2026/12/05", "10412", QStringLiteral("電気ケトル"),
                                QStringLiteral("未応募")),
                      QStringLiteral("2026/12/09")),
         withDeadline(makeEntry("2026/12/10", "10234", QStringLiteral("温泉ペア宿泊券")),
                      QStringLiteral("2026/12/12")),
         makeEntry("2026/12/15", "10567", QStringLiteral("ノートパソコン"), QStringLiteral("落選")),
         makeEntry("2026/12/20", "0", QStringLiteral("QUOカード 1000円分"),
                   QStringLiteral("中物当選"), QStringLiteral("1000")),
         makeEntry("2026/12/24", "10981", QStringLiteral("クリスマスケーキ"))});
    folder.writeMonth(
        "2026", "11",
        {makeEntry("2026/11/05", "0", QStringLiteral("図書カード"), QStringLiteral("小物当選"),
                   QStringLiteral("500")),
         makeEntry("2026/11/12", "9801", QStringLiteral("加湿器"), QStringLiteral("落選")),
         makeEntry("2026/11/18", "9876", QStringLiteral("液晶テレビ"), QStringLiteral("大物当選"),
                   QStringLiteral("50000")),
         makeEntry("2026/11/26", "9912", QStringLiteral("旅行券 5万円分"),
                   QStringLiteral("落選"))});

    // Postage booked as expenses, then the summaries counted from the month files the way
    // the program keeps them.
    for (const QString& year : {QStringLiteral("2025"), QStringLiteral("2026")}) {
        YearSummary booked;
        for (int m = 0; m < 12; ++m)
            booked.months[m].expenses = Currency::fromUnits(420 + 84 * (m % 4));
        if (!writeYearSummary(folder.paths().yearSummaryPath(year), booked).isEmpty())
            qFatal("cannot write the year summary of %s", qPrintable(year));
    }
    if (!recountAll(folder.paths(), QString(), {Currency::fromUnits(1000000), false}).ok())
        qFatal("cannot count the sample diary");
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
    dialogs.queueAnswer(MessageAnswer::No); // the deadline notice at start-up
    if (!main.Form_Load())
        qFatal("start-up refused");
    auto* tabs = main.findChild<QTabWidget*>(QStringLiteral("tabMain"));
    for (const char* key : {"T_Month", "T_Year", "T_Total", "T_Setting", "T_About"}) {
        selectTab(tabs, key);
        shoot(&main, QStringLiteral("main-") + QString::fromLatin1(key).mid(2).toLower());
    }

    selectTab(tabs, "T_Year");
    main.findChild<QPushButton*>(QStringLiteral("cmdYearGraph"))->click();
    if (auto* chart = main.findChild<frmChart*>(QStringLiteral("frmChart"))) {
        shoot(chart, QStringLiteral("chart"));
        chart->close();
    }

    selectTab(tabs, "T_Month");
    main.findChild<QPushButton*>(QStringLiteral("cmdNewInput"))->click();
    if (auto* entry = main.findChild<QWidget*>(QStringLiteral("frmDataInput"))) {
        shoot(entry, QStringLiteral("entry"));
        entry->close();
    }

    selectTab(tabs, "T_Search");
    shoot(&main, QStringLiteral("main-search"));
    if (auto* search = main.findChild<frmDataSearch*>(QStringLiteral("frmDataSearch"))) {
        shoot(search, QStringLiteral("search"));
        search->findChild<QPushButton*>(QStringLiteral("cmdSimekiri"))->click();
        shoot(&main, QStringLiteral("main-deadline"));
    }

    FakePrinters printers;
    printers.printers = {{QStringLiteral("居間のプリンタ"), {4, 4, 4, 4, 210, 297}, true},
                         {QStringLiteral("書斎のプリンタ"), {3, 5, 3, 5, 210, 297}, true}};
    printers.defaultName = QStringLiteral("居間のプリンタ");
    frmPrint print(dialogs, printers);
    print.Form_Load();
    shoot(&print, QStringLiteral("print"));
    print.close();

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
    frmUserProfile editor(folder.paths(), kFirstPerson, false, dialogs);
    editor.LoadProfileEditor();
    shoot(&editor, QStringLiteral("profile"));
    return 0;
}
