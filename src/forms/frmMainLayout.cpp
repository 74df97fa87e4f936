// Builds the controls of the main window; behaviour lives in the other frmMain files.
#include "forms/frmMain.h"

#include "forms/EntryTableModel.h"
#include "forms/FormHelpers.h"

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

QLineEdit* readOnlyBox(const char* name)
{
    auto* box = named(new QLineEdit(QStringLiteral("0")), name);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(110);
    return box;
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
    m_searchTempModel = named(new EntryTableModel(this), "lvwSearchTemp");
    m_yearModel = named(new QStandardItemModel(this), "lvwYearModel");
    m_totalModel = named(new QStandardItemModel(this), "lvwTotalModel");

    tabMain = named(new QTabWidget, "tabMain");
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
        {Tab::Setting, "T_Setting", u"設　　　定", buildSettingsPage()},
        {Tab::About, "T_About", u"ソフト情報", buildAboutPage()},
    };
    for (const auto& tab : tabs) {
        tab.page->setProperty("tab", static_cast<int>(tab.tab));
        tab.page->setProperty("tabKey", QString::fromLatin1(tab.key));
        tabMain->addTab(tab.page, QString::fromUtf16(tab.caption));
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabMain, 1);
    layout->addWidget(buildStatisticsPanel());
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

QWidget* frmMain::buildSettingsPage()
{
    fraSetting = named(new QGroupBox, "fraSetting");
    auto* grid = new QGridLayout(fraSetting);

    auto* keyFrame = new QGroupBox(QStringLiteral("構成キー"));
    optEndDay = named(new QRadioButton(QStringLiteral("締切日")), "optEndDay");
    optNowDay = named(new QRadioButton(QStringLiteral("応募日")), "optNowDay");
    auto* keyLayout = new QVBoxLayout(keyFrame);
    keyLayout->addWidget(optEndDay);
    keyLayout->addWidget(optNowDay);
    keyLayout->addWidget(
        new QLabel(QStringLiteral("※構成キーを変更　すると、支出総　額は全て0円に　なります。")));
    grid->addWidget(keyFrame, 0, 0);

    auto* widthFrame = new QGroupBox(QStringLiteral("「月間」「検索」の各項目幅"));
    auto* widthGrid = new QGridLayout(widthFrame);
    static const char* const kBoxNames[kWidthKeyCount] = {
        "txtSizeNowDay",   "txtSizeID",      "txtSizeSite",     "txtSizeURL",
        "txtSizeGenre",    "txtSizePresent", "txtSizeKekka",    "txtSizeHappyMoney",
        "txtSizeNumber",   "txtSizeEndDay",  "txtSizeHappyDay", "txtSizeOboKeishiki",
        "txtSizeSenkoWay", "txtSizeCycle",   "txtSizeOboWay",   "txtSizeMsg"};
    static const char16_t* const kCaptions[kWidthKeyCount] = {
        u"応 募 日", u"ＩＤ番号", u"応募先",   u"ＵＲＬ",   u"ジャンル", u"賞品名",
        u"結果",     u"当選額",   u"当選数",   u"締 切 日", u"当選日",   u"応募形式",
        u"選考方法", u"サイクル", u"応募方法", u"コメント"};
    m_widthGrid = widthGrid;
    for (int i = 0; i < kWidthKeyCount; ++i) {
        txtSize[i] = named(new QLineEdit, kBoxNames[i]);
        txtSize[i]->setMaxLength(5);
        txtSize[i]->setAlignment(Qt::AlignRight);
        txtSize[i]->setFixedWidth(70);
        // The two date boxes sit beside lblMain (the key date) and lblSub (the other date).
        QLabel* caption = nullptr;
        if (i == int(WidthKey::NowDay))
            caption = lblMain = named(new QLabel(QString::fromUtf16(kCaptions[i])), "lblMain");
        else if (i == int(WidthKey::EndDay))
            caption = lblSub = named(new QLabel(QString::fromUtf16(kCaptions[i])), "lblSub");
        else
            caption = captionFor(txtSize[i], QString::fromUtf16(kCaptions[i]));
        widthGrid->addWidget(caption, i / 4, (i % 4) * 2);
        widthGrid->addWidget(txtSize[i], i / 4, (i % 4) * 2 + 1);
    }
    grid->addWidget(widthFrame, 0, 1, 2, 1);

    auto* optionFrame = new QGroupBox(QStringLiteral("オプション"));
    auto* options = new QVBoxLayout(optionFrame);
    const auto check = [&](QCheckBox*& box, const char* name, const char16_t* caption) {
        box = named(new QCheckBox(QString::fromUtf16(caption)), name);
        options->addWidget(box);
    };
    check(chkStartPassword, "chkStartPassword", u"起動時に記帳者認証を行う");
    check(chkStartZumira, "chkStartZumira", u"起動時に「ズミラ広場」サイトを開く");
    check(chkFormState, "chkFormState", u"常に手前に表示する");
    check(chkNoTyohuku, "chkNoTyohuku", u"登録前に重複確認する");
    check(chkSortOn, "chkSortOn", u"登録・編集後に構成キーでソートする");
    check(chkDeleteKakunin, "chkDeleteKakunin", u"削除前に確認する");
    check(chkAllDeleteKakunin, "chkAllDeleteKakunin", u"全削除前に確認する");
    check(chkAutoSumOutput, "chkAutoSumOutput", u"保存・印刷時に自動集計も出力する");
    check(chkSimekiriStart, "chkSimekiriStart", u"起動時に締切間近の懸賞を知らせる");
    txtSimekiriDays = named(new QLineEdit, "txtSimekiriDays");
    txtSimekiriDays->setMaxLength(2);
    txtSimekiriDays->setAlignment(Qt::AlignRight);
    txtSimekiriDays->setFixedWidth(40);
    auto* daysRow = new QHBoxLayout;
    daysRow->addWidget(captionFor(txtSimekiriDays, QStringLiteral("締切間近とする日数（0～99）")));
    daysRow->addWidget(txtSimekiriDays);
    daysRow->addWidget(new QLabel(QStringLiteral("日以内")));
    daysRow->addStretch();
    options->addLayout(daysRow);
    grid->addWidget(optionFrame, 1, 0);

    auto* targetFrame = named(new QGroupBox(QStringLiteral("目標収支金額")), "fraDreamMoney");
    auto* targetRow = new QHBoxLayout(targetFrame);
    txtDreamMoney = named(new QLineEdit, "txtDreamMoney");
    txtDreamMoney->setMaxLength(9);
    txtDreamMoney->setAlignment(Qt::AlignRight);
    txtDreamMoney->setFixedWidth(110);
    txtDreamMoney->setAccessibleName(QStringLiteral("目標収支金額"));
    targetRow->addWidget(txtDreamMoney);
    targetRow->addWidget(new QLabel(QStringLiteral("円")));
    targetRow->addStretch();
    cmdSetting = pushButton("cmdSetting", QStringLiteral("適用(&A)"));
    cmdSetting->setEnabled(false);
    auto* bottomRow = new QHBoxLayout;
    bottomRow->addWidget(targetFrame);
    bottomRow->addStretch();
    bottomRow->addWidget(cmdSetting);
    grid->addLayout(bottomRow, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    fraSetting->setEnabled(false);
    return fraSetting;
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

QWidget* frmMain::buildStatisticsPanel()
{
    auto* frame = named(new QGroupBox(QStringLiteral("自動集計")), "fraJidoSyukei");
    auto* row = new QHBoxLayout(frame);
    const auto add = [&](QLineEdit*& box, const char* name, const char16_t* caption,
                         const char16_t* unit) {
        box = readOnlyBox(name);
        row->addWidget(captionFor(box, QString::fromUtf16(caption)));
        row->addWidget(box);
        row->addWidget(new QLabel(QString::fromUtf16(unit)));
    };
    add(txtHappyCount, "txtHappyCount", u"当選総数", u"件");
    add(txtTotalCount, "txtTotalCount", u"応募総数", u"件");
    row->addWidget(new QLabel(QStringLiteral("× 100 ＝")));
    add(txtPercent, "txtPercent", u"当選率", u"％");
    txtPercent->setText(QStringLiteral("0.00"));
    add(txtHappyMoney, "txtHappyMoney", u"当選総額", u"円");
    add(txtUnhappyMoney, "txtUnhappyMoney", u"支出総額", u"円");
    add(txtTotalMoney, "txtTotalMoney", u"収支総額", u"円");
    row->addStretch();
    return frame;
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
    dtpDate->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    dtpDate->setCalendarPopup(true);
    dtpDate->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    dtpDate->setAccessibleName(QStringLiteral("日付"));
    prgShinko = named(new QProgressBar, "prgShinko");
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
