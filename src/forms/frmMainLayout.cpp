// Builds the controls of the main window; behaviour lives in the other frmMain files.
#include "forms/frmMain.h"

#include "forms/EntryTableModel.h"
#include "forms/FormHelpers.h"
#include "forms/SettingsPage.h"
#include "forms/StatisticsPanel.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QTableView* makeList(const char* name, QAbstractItemModel* model, const QString& accessibleName,
                     bool multiSelect)
{
    auto* view = named(new QTableView, name);
    view->setModel(model);
    view->setAccessibleName(accessibleName);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection
                                       : QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setSectionsClickable(true);
    return view;
}

QLabel* legendMark(const char* name, const QString& text)
{
    auto* label = named(new QLabel(QStringLiteral("■") + text), name);
    return label;
}

} // namespace

void frmMain::buildUi()
{
    setObjectName(QStringLiteral("frmMain"));
    m_monthModel = named(new EntryTableModel(this), "lvwMonthModel");
    m_searchModel = named(new EntryTableModel(this), "lvwSearchModel");
    m_yearModel = named(new QStandardItemModel(this), "lvwYearModel");
    m_totalModel = named(new QStandardItemModel(this), "lvwTotalModel");

    tabMain = named(new QTabWidget, "tabMain");
    m_parts.tabMain = tabMain;
    m_settingsPage = new SettingsPage(m_parts);
    m_parts.settings = m_settingsPage;
    const struct
    {
        Tab tab;
        const char* key;
        const char16_t* caption;
        QWidget* page;
    } tabs[] = {
        {Tab::Month, "T_Month", u"月　　　間", buildMonthPage()},
        {Tab::Year, "T_Year", u"年　　　間", buildYearPage()},
        {Tab::Total, "T_Total", u"総　　　計", buildTotalPage()},
        {Tab::Search, "T_Search", u"検　　　索", buildSearchPage()},
        {Tab::Setting, "T_Setting", u"設　　　定", m_settingsPage},
        {Tab::About, "T_About", u"ソフト情報", buildAboutPage()},
    };
    for (const auto& tab : tabs) {
        tab.page->setProperty("tab", static_cast<int>(tab.tab));
        tab.page->setProperty("tabKey", QString::fromLatin1(tab.key));
        tabMain->addTab(tab.page, QString::fromUtf16(tab.caption));
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabMain, 1);
    m_panel = new StatisticsPanel;
    m_parts.panel = m_panel;
    layout->addWidget(m_panel);
    layout->addWidget(buildCommandBar());
    resize(1000, 640);
}

QWidget* frmMain::buildMonthPage()
{
    auto* page = new QWidget;
    lvwMonth = makeList("lvwMonth", m_monthModel, QStringLiteral("月間"), true);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lvwMonth);

    fraLabel = named(new QFrame, "fraLabel");
    auto* legend = new QHBoxLayout(fraLabel);
    legend->setContentsMargins(4, 0, 4, 0);
    lblSyo = legendMark("lblSyo", QStringLiteral("　小物当選"));
    lblTyu = legendMark("lblTyu", QStringLiteral("　中物当選"));
    lblDai = legendMark("lblDai", QStringLiteral("　大物当選"));
    lblDay = legendMark("lblDay", QStringLiteral("　当選日"));
    for (QLabel* mark : {lblSyo, lblTyu, lblDai, lblDay})
        legend->addWidget(mark);
    legend->addStretch();
    layout->addWidget(fraLabel);
    return page;
}

QWidget* frmMain::buildYearPage()
{
    auto* page = new QWidget;
    lvwYear = makeList("lvwYear", m_yearModel, QStringLiteral("年間"), false);
    fraUnhappyMoney = named(new QGroupBox(QStringLiteral("支出")), "fraUnhappyMoney");
    lblMonth = named(new QLabel(QStringLiteral("****年**月の支出総額")), "lblMonth");
    txtUnhappyMoneyValue = named(new QLineEdit(QStringLiteral("0")), "txtUnhappyMoneyValue");
    txtUnhappyMoneyValue->setMaxLength(9);
    txtUnhappyMoneyValue->setAlignment(Qt::AlignRight);
    lblMonth->setBuddy(txtUnhappyMoneyValue);
    txtUnhappyMoneyValue->setAccessibleName(QStringLiteral("支出総額"));
    cmdUnhappyMoneyIn = pushButton("cmdUnhappyMoneyIn", QStringLiteral("記帳(&K)"));
    cmdUnhappyMoneyIn->setEnabled(false);
    auto* expense = new QHBoxLayout(fraUnhappyMoney);
    expense->addWidget(lblMonth);
    expense->addWidget(txtUnhappyMoneyValue);
    expense->addWidget(new QLabel(QStringLiteral("円")));
    expense->addWidget(cmdUnhappyMoneyIn);
    expense->addStretch();
    cmdYearGraph = pushButton("cmdYearGraph", QStringLiteral("グラフ(&G)"),
                              QStringLiteral("月別の応募・当選と収支のグラフ"));

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lvwYear, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(fraUnhappyMoney, 1);
    bottom->addWidget(cmdYearGraph);
    layout->addLayout(bottom);
    return page;
}

QWidget* frmMain::buildTotalPage()
{
    auto* page = new QWidget;
    lvwTotal = makeList("lvwTotal", m_totalModel, QStringLiteral("総計"), false);
    cmdTotalGraph = pushButton("cmdTotalGraph", QStringLiteral("グラフ(&G)"),
                               QStringLiteral("年別の応募・当選と収支のグラフ"));
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdTotalGraph);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lvwTotal, 1);
    layout->addLayout(bottom);
    return page;
}

QWidget* frmMain::buildSearchPage()
{
    lvwSearch = makeList("lvwSearch", m_searchModel, QStringLiteral("検索"), true);
    return lvwSearch;
}

QWidget* frmMain::buildAboutPage()
{
    auto* page = new QWidget;
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
    return page;
}

QWidget* frmMain::buildCommandBar()
{
    auto* bar = new QWidget;
    // Two rows keep the window narrow enough for a small laptop screen: the entry commands
    // and the navigation above, progress and the program's own commands below.
    auto* rows = new QVBoxLayout(bar);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    auto* lower = new QHBoxLayout;
    rows->addLayout(row);
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
        row->addWidget(w);
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
