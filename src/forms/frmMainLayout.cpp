// Builds the controls of the main window's frame; the pages build their own.
#include "forms/frmMain.h"

#include "forms/FlowLayout.h"
#include "forms/FormHelpers.h"
#include "forms/MonthPage.h"
#include "forms/ScreenFit.h"
#include "forms/SearchPage.h"
#include "forms/SettingsPage.h"
#include "forms/StatisticsPanel.h"
#include "forms/TotalPage.h"
#include "forms/YearPage.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

void frmMain::buildUi()
{
    setObjectName(QStringLiteral("frmMain"));
    tabMain = named(new QTabWidget, "tabMain");
    m_parts.tabMain = tabMain;
    m_parts.panel = new StatisticsPanel;
    QWidget* commands = buildCommandBar();
    // Each page finds the others through the parts, so all are made before any is used.
    m_parts.settings = new SettingsPage(m_parts);
    m_parts.month = new MonthPage(m_parts);
    m_parts.year = new YearPage(m_parts);
    m_parts.total = new TotalPage(m_parts);
    m_parts.search = new SearchPage(m_parts);
    auto* about = new MainPage(m_parts);
    buildAboutPage(about);
    const struct
    {
        Tab tab;
        const char* key;
        const char16_t* caption;
        MainPage* page;
    } tabs[] = {
        {Tab::Month, "T_Month", u"月　　　間", m_parts.month},
        {Tab::Year, "T_Year", u"年　　　間", m_parts.year},
        {Tab::Total, "T_Total", u"総　　　計", m_parts.total},
        {Tab::Search, "T_Search", u"検　　　索", m_parts.search},
        {Tab::Setting, "T_Setting", u"設　　　定", m_parts.settings},
        {Tab::About, "T_About", u"ソフト情報", about},
    };
    for (const auto& tab : tabs) {
        // On a small or high-DPI screen a page that cannot shrink scrolls, and the panel and
        // the commands below it stay in reach.
        QScrollArea* holder = scrollingPage(tab.page);
        for (QWidget* w : {static_cast<QWidget*>(tab.page), static_cast<QWidget*>(holder)}) {
            w->setProperty("tab", static_cast<int>(tab.tab));
            w->setProperty("tabKey", QString::fromLatin1(tab.key));
        }
        m_pages[static_cast<int>(tab.tab)] = tab.page;
        tabMain->addTab(holder, QString::fromUtf16(tab.caption));
    }

    // The panel scrolls sideways where the screen is narrower than its row; the commands wrap.
    QScrollArea* panelHolder = scrollingPage(m_parts.panel);
    panelHolder->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabMain, 1);
    layout->addWidget(panelHolder);
    layout->addWidget(commands);
    keepOnOwnersScreen(this, nullptr);
    resize(1000, 640);
}

void frmMain::buildAboutPage(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);

    auto* site = named(new QGroupBox(QStringLiteral("懸賞情報サイト「ズミラ広場」")), "fraZumira");
    auto* siteRow = new QHBoxLayout(site);
    cmdZumiraHomepage = pushButton("cmdZumiraHomepage", QStringLiteral("ズミラ広場を開く"));
    cmdZumiraMail = pushButton("cmdZumiraMail", QStringLiteral("ズミラ広場へのお問い合わせ"));
    siteRow->addWidget(cmdZumiraHomepage);
    siteRow->addWidget(cmdZumiraMail);
    siteRow->addStretch();
    layout->addWidget(site);

    auto* home = named(new QGroupBox(QStringLiteral("作者")), "fraHome");
    auto* homeRow = new QHBoxLayout(home);
    cmdMyHomepage = pushButton("cmdMyHomepage", QStringLiteral("作者のホームページ"));
    cmdMyMail = pushButton("cmdMyMail", QStringLiteral("作者へのメール"));
    homeRow->addWidget(cmdMyHomepage);
    homeRow->addWidget(cmdMyMail);
    homeRow->addStretch();
    layout->addWidget(home);

    auto* notices = named(new QGroupBox(QStringLiteral("ソフト情報")), "fraTyosaku");
    auto* noticeColumn = new QVBoxLayout(notices);
    lblVersion = named(new QLabel, "lblVersion");
    noticeColumn->addWidget(lblVersion);
    noticeColumn->addWidget(new QLabel(
        QStringLiteral("本ソフトはフリーソフトです。データは各自の責任で保存して下さい。")));
    cmdShortcut = pushButton("cmdShortcut", QStringLiteral("ﾃﾞｽｸﾄｯﾌﾟ上にｼｮｰﾄｶｯﾄ作成"));
    auto* shortcutRow = new QHBoxLayout;
    shortcutRow->addWidget(cmdShortcut);
    shortcutRow->addStretch();
    noticeColumn->addLayout(shortcutRow);
    layout->addWidget(notices);
    layout->addStretch();
}

QWidget* frmMain::buildCommandBar()
{
    auto* bar = new QWidget;
    // The entry commands and the navigation share a row that wraps where the screen is too
    // narrow for both (200 % on a laptop); progress and the program's own commands come below.
    auto* rows = new QVBoxLayout(bar);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* upper = new FlowLayout;
    auto* entryGroup = new QWidget;
    auto* navigationGroup = new QWidget;
    upper->addWidget(entryGroup);
    upper->addWidget(navigationGroup);
    entryGroup->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* row = new QHBoxLayout(entryGroup);
    auto* navigation = new QHBoxLayout(navigationGroup);
    for (QHBoxLayout* l : {row, navigation})
        l->setContentsMargins(0, 0, 0, 0);
    auto* lower = new QHBoxLayout;
    rows->addLayout(upper);
    rows->addLayout(lower);
    cmdHensyu = pushButton("cmdHensyu", QStringLiteral("編集(&H)"));
    cmdInput = pushButton("cmdInput", QStringLiteral("取込登録(&T)"));
    cmdCsvInput = pushButton("cmdCsvInput", QStringLiteral("CSV取込(&V)"),
                             QStringLiteral("CSVファイルの懸賞情報を登録します"));
    cmdNewInput = pushButton("cmdNewInput", QStringLiteral("手動登録(&M)"));
    cmdDelete = pushButton("cmdDelete", QStringLiteral("削除(&D)"));
    cmdAllDelete = pushButton("cmdAllDelete", QStringLiteral("全削除(&C)"));
    cmdURL = pushButton("cmdURL", QStringLiteral("ﾎｰﾑﾍﾟｰｼﾞ(&U)"));
    cmdSave = pushButton("cmdSave", QStringLiteral("保存(&S)"));
    cmdPrint = pushButton("cmdPrint", QStringLiteral("印刷(&P)"));
    cmdYearBack = pushButton("cmdYearBack", QStringLiteral("<<"), QStringLiteral("前年"));
    cmdMonthBack = pushButton("cmdMonthBack", QStringLiteral("<"), QStringLiteral("前月"));
    cmdMonthNext = pushButton("cmdMonthNext", QStringLiteral(">"), QStringLiteral("次月"));
    cmdYearNext = pushButton("cmdYearNext", QStringLiteral(">>"), QStringLiteral("次年"));
    dtpDate = named(new QDateEdit, "dtpDate");
    m_parts.dtpDate = dtpDate;
    dtpDate->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    dtpDate->setCalendarPopup(true);
    dtpDate->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    dtpDate->setAccessibleName(QStringLiteral("日付"));
    prgShinko = named(new QProgressBar, "prgShinko");
    m_parts.prgShinko = prgShinko;
    prgShinko->setTextVisible(false);
    prgShinko->setValue(0);
    cmdEnd = pushButton("cmdEnd", QStringLiteral("終了(&E)"));
    cmdHelp = pushButton("cmdHelp", QStringLiteral("ヘルプ(&Q)"));
    cmdUserInput = pushButton("cmdUserInput", QStringLiteral("ズミキー(&N)"));
    cmdBackUp = pushButton("cmdBackUp", QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ(&B)"));
    cmdRestore = pushButton("cmdRestore", QStringLiteral("ﾘｽﾄｱ(&R)"));
    for (QPushButton* b : {cmdHensyu, cmdInput, cmdCsvInput, cmdNewInput, cmdDelete, cmdAllDelete,
                           cmdURL, cmdSave, cmdPrint})
        row->addWidget(b);
    row->addStretch();
    for (QWidget* w : std::initializer_list<QWidget*>{cmdYearBack, cmdMonthBack, dtpDate,
                                                      cmdMonthNext, cmdYearNext})
        navigation->addWidget(w);
    lower->addWidget(prgShinko, 1);
    lower->addWidget(cmdBackUp);
    lower->addWidget(cmdRestore);
    lower->addWidget(cmdUserInput);
    lower->addWidget(cmdHelp);
    lower->addWidget(cmdEnd);
    for (QPushButton* b : {cmdYearBack, cmdMonthBack, cmdMonthNext, cmdYearNext})
        b->setFixedWidth(36);
    return bar;
}
