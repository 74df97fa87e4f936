// The search form's controls, their rules, new conditions and closing; the search itself
// is in frmDataSearchRun.cpp.
#include "forms/frmDataSearch.h"

#include "core/AppContext.h"
#include "core/Clock.h"
#include "diary/Settings.h"
#include "forms/ChoiceKeyFilter.h"
#include "forms/DeadlineCalendarExport.h"
#include "forms/DigitKeyFilter.h"
#include "forms/EntryTableModel.h"
#include "forms/FormHelpers.h"
#include "forms/ScreenFit.h"
#include "forms/SearchHost.h"
#include "platform/WindowLevel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Rows of the criteria grid. The two date rows trade places with the key date.
constexpr int kKeyDateRow = 0;
constexpr int kOtherDateRow = 10;

const char16_t* const kGenres[] = {u"自動車・二輪車",
                                   u"現金",
                                   u"商品券・図書カード",
                                   u"チケット・試写券",
                                   u"旅行・宿泊券",
                                   u"コンピュータ関連",
                                   u"家電ＡＶ製品",
                                   u"ゲーム・キッズ",
                                   u"雑貨・花・インテリア",
                                   u"ファッション",
                                   u"化粧品・エステ",
                                   u"アクセサリー",
                                   u"食べ物",
                                   u"飲み物",
                                   u"健康・スポーツ",
                                   u"ペット",
                                   u"本・CD・DVD",
                                   u"その他",
                                   u"子供用品・ホビー",
                                   u"日用雑貨・住まい",
                                   u"健康食品グッズ",
                                   u"本・CD・ビデオ",
                                   u"車・二輪車関連",
                                   u"商品券・図書券",
                                   u"ゲーム・子供用品",
                                   u"健康食品＆グッズ",
                                   u"レジャー・ペット"};
const char16_t* const kResults[] = {u"不明",     u"未応募",   u"応募済み", u"落選",  u"全当選",
                                    u"小物当選", u"中物当選", u"大物当選", u"その他"};
const char16_t* const kFormats[] = {
    u"アンケート",   u"モニター",   u"クイズ",     u"ゲーム", u"意見・感想",     u"簡単",
    u"公募",         u"会員登録",   u"投稿・投票", u"その他", u"調査アンケート", u"広告メール",
    u"メルマガ購読", u"キーワード", u"感想",       u"投票"};
const char16_t* const kSelections[] = {u"抽選",   u"先着",   u"もれなく",
                                       u"優秀者", u"正解者", u"その他"};
const char16_t* const kCycles[] = {u"不定期", u"毎月", u"毎週", u"毎日"};
const char16_t* const kMethods[] = {u"ネット応募", u"郵送応募", u"携帯応募", u"ハガキ応募"};

template <size_t N> QComboBox* choiceList(const char* name, const char16_t* const (&items)[N])
{
    auto* combo = named(new QComboBox, name);
    combo->setEditable(false);
    combo->addItem(kNoCondition);
    for (const char16_t* item : items)
        combo->addItem(QString::fromUtf16(item));
    combo->setMaxVisibleItems(16);
    return combo;
}

QDateEdit* datePicker(const char* name, const QString& accessibleName)
{
    auto* picker = named(new QDateEdit, name);
    picker->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    picker->setCalendarPopup(true);
    picker->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    picker->setAccessibleName(accessibleName);
    picker->setEnabled(false);
    return picker;
}

QLineEdit* boundBox(const char* name, const QString& accessibleName, int maxLength)
{
    auto* box = named(new QLineEdit(QStringLiteral("0")), name);
    box->setAlignment(Qt::AlignRight);
    box->setMaxLength(maxLength);
    box->setFixedWidth(130);
    box->setAccessibleName(accessibleName);
    box->setEnabled(false);
    return box;
}

QLabel* until()
{
    return new QLabel(QStringLiteral("～"));
}

} // namespace

frmDataSearch::frmDataSearch(SearchHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), m_host(host)
{
    setObjectName(QStringLiteral("frmDataSearch"));
    setWindowTitle(QStringLiteral("懸賞情報検索フォーム"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildUi();
    connectEvents();
    arrangeDateRows(m_host.settings().keyIsEndDay);
    keepOnOwnersScreen(this, parent);
    setAllDates(m_host.context().clock.today());
}

frmDataSearch::~frmDataSearch() = default;

void frmDataSearch::buildUi()
{
    m_criteria = new QWidget;
    m_grid = new QGridLayout(m_criteria);
    m_grid->setContentsMargins(0, 0, 0, 0);

    // Check box, lower bound, "～", upper bound, unit.
    const auto rangeRow = [this](int row, QCheckBox* check, QWidget* low, QWidget* high,
                                 const QString& unit) {
        m_grid->addWidget(check, row, 0);
        m_grid->addWidget(low, row, 1);
        m_grid->addWidget(until(), row, 2, Qt::AlignCenter);
        m_grid->addWidget(high, row, 3);
        if (!unit.isEmpty())
            m_grid->addWidget(new QLabel(unit), row, 4);
    };
    const auto textRow = [this](int row, QWidget* box, const QString& caption) {
        m_grid->addWidget(captionFor(box, caption), row, 0);
        m_grid->addWidget(box, row, 1, 1, 4);
    };

    chkEndDay = named(new QCheckBox(QStringLiteral("締 切 日")), "chkEndDay");
    dtpEndDayBefore = datePicker("dtpEndDayBefore", QStringLiteral("締 切 日から"));
    dtpEndDayAfter = datePicker("dtpEndDayAfter", QStringLiteral("締 切 日まで"));
    chkNowDay = named(new QCheckBox(QStringLiteral("応 募 日")), "chkNowDay");
    dtpNowDayBefore = datePicker("dtpNowDayBefore", QStringLiteral("応 募 日から"));
    dtpNowDayAfter = datePicker("dtpNowDayAfter", QStringLiteral("応 募 日まで"));
    // Row 0 (kKeyDateRow) holds the key date; arrangeDateRows places both date rows.

    chkID = named(new QCheckBox(QStringLiteral("ＩＤ番号")), "chkID");
    txtIDDown = boundBox("txtIDDown", QStringLiteral("ＩＤ番号から"), 14);
    txtIDUp = boundBox("txtIDUp", QStringLiteral("ＩＤ番号まで"), 14);
    rangeRow(1, chkID, txtIDDown, txtIDUp, QString());

    chkHappyMoney = named(new QCheckBox(QStringLiteral("当 選 額")), "chkHappyMoney");
    txtHappyMoneyDown = boundBox("txtHappyMoneyDown", QStringLiteral("当 選 額から"), 14);
    txtHappyMoneyUp = boundBox("txtHappyMoneyUp", QStringLiteral("当 選 額まで"), 14);
    rangeRow(2, chkHappyMoney, txtHappyMoneyDown, txtHappyMoneyUp, QStringLiteral("円"));

    chkNumber = named(new QCheckBox(QStringLiteral("当 選 数")), "chkNumber");
    txtNumberDown = boundBox("txtNumberDown", QStringLiteral("当 選 数から"), 9);
    txtNumberUp = boundBox("txtNumberUp", QStringLiteral("当 選 数まで"), 9);
    rangeRow(3, chkNumber, txtNumberDown, txtNumberUp, QStringLiteral("名"));
    auto* note =
        named(new QLabel(QStringLiteral("※当選数「全員」も結果に含めたい場合は値を0にする")),
              "lblNumberNote");
    m_grid->addWidget(note, 4, 1, 1, 4);

    txtSite = named(new QLineEdit, "txtSite");
    textRow(5, txtSite, QStringLiteral("応 募 先"));
    txtURL = named(new QLineEdit, "txtURL");
    textRow(6, txtURL, QStringLiteral("Ｕ Ｒ Ｌ"));
    txtPresent = named(new QLineEdit, "txtPresent");
    textRow(7, txtPresent, QStringLiteral("賞 品 名"));
    cboGenre = choiceList("cboGenre", kGenres);
    textRow(8, cboGenre, QStringLiteral("ジャンル"));
    cboKekka = choiceList("cboKekka", kResults);
    textRow(9, cboKekka, QStringLiteral("結　　果"));
    // Row 10 (kOtherDateRow) holds the other date.
    chkHappyDay = named(new QCheckBox(QStringLiteral("当 選 日")), "chkHappyDay");
    dtpHappyDayBefore = datePicker("dtpHappyDayBefore", QStringLiteral("当 選 日から"));
    dtpHappyDayAfter = datePicker("dtpHappyDayAfter", QStringLiteral("当 選 日まで"));
    rangeRow(11, chkHappyDay, dtpHappyDayBefore, dtpHappyDayAfter, QString());
    cboOboKeishiki = choiceList("cboOboKeishiki", kFormats);
    textRow(12, cboOboKeishiki, QStringLiteral("応募形式"));
    cboSenkoWay = choiceList("cboSenkoWay", kSelections);
    textRow(13, cboSenkoWay, QStringLiteral("選考方法"));
    cboCycle = choiceList("cboCycle", kCycles);
    textRow(14, cboCycle, QStringLiteral("サイクル"));
    cboOboWay = choiceList("cboOboWay", kMethods);
    textRow(15, cboOboWay, QStringLiteral("応募方法"));
    txtMsg = named(new QLineEdit, "txtMsg");
    textRow(16, txtMsg, QStringLiteral("コメント"));
    txtSnap = named(new QLineEdit, "txtSnap");
    textRow(17, txtSnap, QStringLiteral("画　　像"));
    chkBigAndSmall =
        named(new QCheckBox(QStringLiteral("大文字と小文字を区別する")), "chkBigAndSmall");
    m_grid->addWidget(chkBigAndSmall, 18, 1, 1, 4);
    m_grid->setColumnStretch(5, 1);

    cmdSearch = named(new QPushButton(QStringLiteral("検索開始(&I)")), "cmdSearch");
    cmdNewSearch = named(new QPushButton(QStringLiteral("新条件(&W)")), "cmdNewSearch");
    cmdSimekiri = named(new QPushButton(QStringLiteral("締切間近(&L)")), "cmdSimekiri");
    cmdSimekiri->setToolTip(QStringLiteral("締切日が近い未応募・不明の懸賞を一覧にします"));
    cmdCalendar = named(new QPushButton(QStringLiteral("カレンダー出力(&C)")), "cmdCalendar");
    cmdCalendar->setToolTip(
        QStringLiteral("締切間近の懸賞を、カレンダーのアプリで読み込めるファイルに保存します"));
    cmdClose = named(new QPushButton(QStringLiteral("終了(&E)")), "cmdClose");
    cmdHelp = named(new QPushButton(QStringLiteral("ヘルプ(&Q)")), "cmdHelp");
    prgShinko = named(new QProgressBar, "prgShinko");
    prgShinko->setTextVisible(false);
    prgShinko->setRange(0, 1);
    prgShinko->setValue(0);
    prgShinko->setAccessibleName(QStringLiteral("検索の進み具合"));

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdSearch, cmdNewSearch, cmdSimekiri, cmdCalendar, cmdClose, cmdHelp})
        buttons->addWidget(b);
    buttons->addStretch();

    // On a small screen the criteria scroll; the commands stay in sight.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scrollingPage(m_criteria));
    layout->addLayout(buttons);
    layout->addWidget(prgShinko);
}

void frmDataSearch::connectEvents()
{
    const struct
    {
        QCheckBox* check;
        QWidget* low;
        QWidget* high;
    } ranges[] = {{chkEndDay, dtpEndDayBefore, dtpEndDayAfter},
                  {chkNowDay, dtpNowDayBefore, dtpNowDayAfter},
                  {chkHappyDay, dtpHappyDayBefore, dtpHappyDayAfter},
                  {chkID, txtIDDown, txtIDUp},
                  {chkHappyMoney, txtHappyMoneyDown, txtHappyMoneyUp},
                  {chkNumber, txtNumberDown, txtNumberUp}};
    for (const auto& range : ranges) {
        connect(range.check, &QCheckBox::toggled, range.low, &QWidget::setEnabled);
        connect(range.check, &QCheckBox::toggled, range.high, &QWidget::setEnabled);
    }

    m_digitFilter = new DigitKeyFilter(m_host.context().dialogs, this);
    for (QLineEdit* box :
         {txtIDDown, txtIDUp, txtHappyMoneyDown, txtHappyMoneyUp, txtNumberDown, txtNumberUp})
        m_digitFilter->attach(box);
    m_choiceFilter = new ChoiceKeyFilter(m_host.context().dialogs, this,
                                         ChoiceKeyFilter::BeepOn::TypedCharacter);
    for (QComboBox* combo : {cboGenre, cboKekka, cboOboKeishiki, cboSenkoWay, cboCycle, cboOboWay})
        m_choiceFilter->attach(combo);

    connect(cmdSearch, &QPushButton::clicked, this, &frmDataSearch::cmdSearch_Click);
    connect(cmdNewSearch, &QPushButton::clicked, this, &frmDataSearch::cmdNewSearch_Click);
    connect(cmdSimekiri, &QPushButton::clicked, this, [this] {
        if (!m_searching)
            m_host.cmdSimekiri_Click();
    });
    connect(cmdCalendar, &QPushButton::clicked, this, [this] {
        if (!m_searching)
            exportDeadlineCalendar(m_host.context(), m_host.settings());
    });
    connect(cmdClose, &QPushButton::clicked, this, &frmDataSearch::cmdClose_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmDataSearch::cmdHelp_Click);
}

void frmDataSearch::Form_Load()
{
    // With "常に手前に表示する" the form takes the top-most band from the main window, so it
    // is never hidden behind it.
    if (m_host.settings().formState) {
        setTopMost(m_host.mainWidget(), false);
        setTopMost(this, true);
    }
}

void frmDataSearch::setAllDates(const QDate& day)
{
    for (QDateEdit* picker : {dtpEndDayBefore, dtpEndDayAfter, dtpNowDayBefore, dtpNowDayAfter,
                              dtpHappyDayBefore, dtpHappyDayAfter})
        picker->setDate(day);
}

void frmDataSearch::arrangeDateRows(bool keyIsEndDay)
{
    QWidget* const endRow[] = {chkEndDay, dtpEndDayBefore, dtpEndDayAfter};
    QWidget* const nowRow[] = {chkNowDay, dtpNowDayBefore, dtpNowDayAfter};
    const auto place = [this](QWidget* const(&row)[3], int gridRow) {
        for (QWidget* w : row)
            m_grid->removeWidget(w);
        if (QLayoutItem* item = m_grid->itemAtPosition(gridRow, 2)) {
            QWidget* old = item->widget();
            m_grid->removeItem(item);
            delete item;
            delete old;
        }
        m_grid->addWidget(row[0], gridRow, 0);
        m_grid->addWidget(row[1], gridRow, 1);
        m_grid->addWidget(until(), gridRow, 2, Qt::AlignCenter);
        m_grid->addWidget(row[2], gridRow, 3);
    };
    place(keyIsEndDay ? endRow : nowRow, kKeyDateRow);
    place(keyIsEndDay ? nowRow : endRow, kOtherDateRow);

    // Tab order follows the rows from the top.
    QWidget* const(&keyRow)[3] = keyIsEndDay ? endRow : nowRow;
    QWidget* const(&otherRow)[3] = keyIsEndDay ? nowRow : endRow;
    const QList<QWidget*> order = {keyRow[0],        keyRow[1],
                                   keyRow[2],        chkID,
                                   txtIDDown,        txtIDUp,
                                   chkHappyMoney,    txtHappyMoneyDown,
                                   txtHappyMoneyUp,  chkNumber,
                                   txtNumberDown,    txtNumberUp,
                                   txtSite,          txtURL,
                                   txtPresent,       cboGenre,
                                   cboKekka,         otherRow[0],
                                   otherRow[1],      otherRow[2],
                                   chkHappyDay,      dtpHappyDayBefore,
                                   dtpHappyDayAfter, cboOboKeishiki,
                                   cboSenkoWay,      cboCycle,
                                   cboOboWay,        txtMsg,
                                   txtSnap,          chkBigAndSmall,
                                   cmdSearch,        cmdNewSearch,
                                   cmdSimekiri,      cmdCalendar,
                                   cmdClose,         cmdHelp};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void frmDataSearch::cmdNewSearch_Click()
{
    if (m_searching)
        return;
    m_host.searchList().clear();
    m_host.clearStatisticsPanel();
    prgShinko->setValue(prgShinko->minimum());
    for (QCheckBox* box :
         {chkNowDay, chkEndDay, chkHappyDay, chkBigAndSmall, chkID, chkNumber, chkHappyMoney})
        box->setChecked(false);
    setAllDates(m_host.context().clock.today());
    for (QComboBox* combo : {cboGenre, cboKekka, cboOboKeishiki, cboSenkoWay, cboCycle, cboOboWay})
        combo->setCurrentIndex(0);
    for (QLineEdit* box : {txtSite, txtURL, txtPresent, txtMsg, txtSnap})
        box->clear();
    for (QLineEdit* box :
         {txtIDDown, txtIDUp, txtNumberDown, txtNumberUp, txtHappyMoneyDown, txtHappyMoneyUp})
        box->setText(QStringLiteral("0"));
}

void frmDataSearch::cmdClose_Click()
{
    if (m_searching) {
        m_stopRequested = true;
        return;
    }
    close();
}

void frmDataSearch::cmdHelp_Click()
{
    m_host.showHelp(HelpTopic::SearchForm);
}

void frmDataSearch::closeEvent(QCloseEvent* event)
{
    // Closing from the title bar while a search runs only stops the search.
    if (m_searching) {
        m_stopRequested = true;
        event->ignore();
        return;
    }
    if (!m_closed) {
        m_closed = true;
        if (m_host.settings().formState)
            setTopMost(this, false);
        m_host.searchFormClosed();
    }
    event->accept();
}
