// Builds the controls of the entry form; behaviour lives in frmDataInput.cpp.
#include "forms/frmDataInput.h"

#include "core/AppContext.h"
#include "core/Dialogs.h"
#include "forms/ChoiceKeyFilter.h"
#include "forms/DigitKeyFilter.h"
#include "forms/EntryFormHost.h"
#include "forms/FormHelpers.h"
#include "forms/ScreenFit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

// The fixed choices, in the order the user knows them.
const QStringList kGenres = {QStringLiteral("自動車・二輪車"),
                             QStringLiteral("現金"),
                             QStringLiteral("商品券・図書カード"),
                             QStringLiteral("チケット・試写券"),
                             QStringLiteral("旅行・宿泊券"),
                             QStringLiteral("コンピュータ関連"),
                             QStringLiteral("家電ＡＶ製品"),
                             QStringLiteral("ゲーム・キッズ"),
                             QStringLiteral("雑貨・花・インテリア"),
                             QStringLiteral("ファッション"),
                             QStringLiteral("化粧品・エステ"),
                             QStringLiteral("アクセサリー"),
                             QStringLiteral("食べ物"),
                             QStringLiteral("飲み物"),
                             QStringLiteral("健康・スポーツ"),
                             QStringLiteral("ペット"),
                             QStringLiteral("本・CD・DVD"),
                             QStringLiteral("その他"),
                             QStringLiteral("子供用品・ホビー"),
                             QStringLiteral("日用雑貨・住まい"),
                             QStringLiteral("健康食品グッズ"),
                             QStringLiteral("本・CD・ビデオ"),
                             QStringLiteral("車・二輪車関連"),
                             QStringLiteral("商品券・図書券"),
                             QStringLiteral("ゲーム・子供用品"),
                             QStringLiteral("健康食品＆グッズ"),
                             QStringLiteral("レジャー・ペット")};
const QStringList kResults = {QStringLiteral("不明"),     QStringLiteral("未応募"),
                              QStringLiteral("応募済み"), QStringLiteral("落選"),
                              QStringLiteral("小物当選"), QStringLiteral("中物当選"),
                              QStringLiteral("大物当選"), QStringLiteral("その他")};
const QStringList kWinnerUnits = {QStringLiteral("名様"), QStringLiteral("全員")};
const QStringList kEntryFormats = {
    QStringLiteral("アンケート"),   QStringLiteral("モニター"),       QStringLiteral("クイズ"),
    QStringLiteral("ゲーム"),       QStringLiteral("意見・感想"),     QStringLiteral("簡単"),
    QStringLiteral("公募"),         QStringLiteral("会員登録"),       QStringLiteral("投稿・投票"),
    QStringLiteral("その他"),       QStringLiteral("調査アンケート"), QStringLiteral("広告メール"),
    QStringLiteral("メルマガ購読"), QStringLiteral("キーワード"),     QStringLiteral("感想"),
    QStringLiteral("投票")};
const QStringList kSelections = {QStringLiteral("抽選"),     QStringLiteral("先着"),
                                 QStringLiteral("もれなく"), QStringLiteral("優秀者"),
                                 QStringLiteral("正解者"),   QStringLiteral("その他")};
const QStringList kCycles = {QStringLiteral("不定期"), QStringLiteral("毎月"),
                             QStringLiteral("毎週"), QStringLiteral("毎日")};
const QStringList kEntryWays = {QStringLiteral("ネット応募"), QStringLiteral("郵送応募"),
                                QStringLiteral("携帯応募")};

QComboBox* choiceList(const char* name, const QStringList& items, const QString& initial)
{
    auto* list = named(new QComboBox, name);
    list->addItems(items);
    list->setProperty("fixedCount", items.size());
    list->setCurrentIndex(static_cast<int>(items.indexOf(initial)));
    list->setMaxVisibleItems(16);
    return list;
}

QDateEdit* datePicker(const char* name)
{
    auto* picker = named(new QDateEdit, name);
    picker->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    picker->setCalendarPopup(true);
    picker->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    return picker;
}

QLineEdit* numberBox(const char* name)
{
    auto* box = named(new QLineEdit(QStringLiteral("0")), name);
    box->setMaxLength(9);
    box->setAlignment(Qt::AlignRight);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    return box;
}

// "※　色の項目は…" with the coloured square in the blank after the mark.
QLabel* legendLine(const char* name, const QString& colour, const QString& text)
{
    auto* line = named(
        new QLabel(QStringLiteral("※<span style=\"color:%1\">■</span>%2").arg(colour, text)), name);
    line->setTextFormat(Qt::RichText);
    line->setAccessibleName(QStringLiteral("※　") + text);
    return line;
}

} // namespace

void frmDataInput::buildUi()
{
    setObjectName(QStringLiteral("frmDataInput"));
    setWindowTitle(QStringLiteral("懸賞情報編集フォーム"));

    dtpEndDay = datePicker("dtpEndDay");
    lblEndDay = named(captionFor(dtpEndDay, QStringLiteral("締 切 日")), "lblEndDay");
    dtpNowDay = datePicker("dtpNowDay");
    lblNowDay = named(captionFor(dtpNowDay, QStringLiteral("応 募 日")), "lblNowDay");

    txtID = numberBox("txtID");
    txtID->setReadOnly(true); // set from the copied listing only
    // Listings may carry longer IDs; the box shows and keeps them whole.
    txtID->setMaxLength(QLineEdit().maxLength());
    lblID = named(captionFor(txtID, QStringLiteral("ＩＤ番号")), "lblID");
    txtSite = named(new QLineEdit, "txtSite");
    lblSite = named(captionFor(txtSite, QStringLiteral("応 募 先")), "lblSite");
    txtURL = named(new QLineEdit, "txtURL");
    lblURL = named(captionFor(txtURL, QStringLiteral("Ｕ Ｒ Ｌ")), "lblURL");
    cmdHensyuURL = pushButton("cmdHensyuURL", QStringLiteral("ﾎｰﾑﾍﾟｰｼﾞ(&U)"));
    cmdHensyuURL->setEnabled(false);
    cboGenre = choiceList("cboGenre", kGenres, QStringLiteral("その他"));
    lblGenre = named(captionFor(cboGenre, QStringLiteral("ジャンル")), "lblGenre");
    txtPresent = named(new QLineEdit, "txtPresent");
    lblPresent = named(captionFor(txtPresent, QStringLiteral("賞 品 名")), "lblPresent");
    cboKekka = choiceList("cboKekka", kResults, QStringLiteral("不明"));
    lblKekka = named(captionFor(cboKekka, QStringLiteral("結　　果")), "lblKekka");
    lblNote =
        named(new QLabel(QStringLiteral("※当選額は、結果「＊物当選」を選択しないと集計されません")),
              "lblNote");
    txtHappyMoney = numberBox("txtHappyMoney");
    lblHappyMoney = named(captionFor(txtHappyMoney, QStringLiteral("当 選 額")), "lblHappyMoney");
    txtNumber = numberBox("txtNumber");
    lblNumber = named(captionFor(txtNumber, QStringLiteral("当 選 数")), "lblNumber");
    cboNumber = choiceList("cboNumber", kWinnerUnits, QStringLiteral("名様"));
    cboNumber->setAccessibleName(QStringLiteral("当選数の単位"));
    chkHappyDay = named(new QCheckBox(QStringLiteral("当選日")), "chkHappyDay");
    dtpHappyDay = datePicker("dtpHappyDay");
    dtpHappyDay->setAccessibleName(QStringLiteral("当選日"));
    dtpHappyDay->setEnabled(false);
    cboOboKeishiki = choiceList("cboOboKeishiki", kEntryFormats, QStringLiteral("アンケート"));
    lblOboKeishiki =
        named(captionFor(cboOboKeishiki, QStringLiteral("応募形式")), "lblOboKeishiki");
    cboSenkoWay = choiceList("cboSenkoWay", kSelections, QStringLiteral("抽選"));
    lblSenkoWay = named(captionFor(cboSenkoWay, QStringLiteral("選考方法")), "lblSenkoWay");
    cboCycle = choiceList("cboCycle", kCycles, QStringLiteral("不定期"));
    lblCycle = named(captionFor(cboCycle, QStringLiteral("サイクル")), "lblCycle");
    cboOboWay = choiceList("cboOboWay", kEntryWays, QStringLiteral("ネット応募"));
    lblOboWay = named(captionFor(cboOboWay, QStringLiteral("応募方法")), "lblOboWay");
    txtMsg = named(new QPlainTextEdit, "txtMsg");
    txtMsg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtMsg->setTabChangesFocus(true);
    txtMsg->setFixedHeight(txtMsg->fontMetrics().height() * 4 + 12);
    lblMsg = named(captionFor(txtMsg, QStringLiteral("コメント")), "lblMsg");

    m_fieldGrid = new QGridLayout;
    // Rows 0 and 10 hold the two date rows; arrangeDateRows() decides which goes where.
    m_fieldGrid->addWidget(lblID, 1, 0);
    m_fieldGrid->addWidget(txtID, 1, 1);
    m_fieldGrid->addWidget(lblSite, 2, 0);
    m_fieldGrid->addWidget(txtSite, 2, 1, 1, 2);
    m_fieldGrid->addWidget(lblURL, 3, 0);
    m_fieldGrid->addWidget(txtURL, 3, 1);
    m_fieldGrid->addWidget(cmdHensyuURL, 3, 2);
    m_fieldGrid->addWidget(lblGenre, 4, 0);
    m_fieldGrid->addWidget(cboGenre, 4, 1);
    m_fieldGrid->addWidget(lblPresent, 5, 0);
    m_fieldGrid->addWidget(txtPresent, 5, 1, 1, 2);
    m_fieldGrid->addWidget(lblKekka, 6, 0);
    m_fieldGrid->addWidget(cboKekka, 6, 1);
    m_fieldGrid->addWidget(lblNote, 7, 0, 1, 3);
    m_fieldGrid->addWidget(lblHappyMoney, 8, 0);
    auto* money = new QHBoxLayout;
    money->addWidget(txtHappyMoney);
    money->addWidget(new QLabel(QStringLiteral("円")));
    money->addStretch();
    m_fieldGrid->addLayout(money, 8, 1);
    m_fieldGrid->addWidget(lblNumber, 9, 0);
    auto* winners = new QHBoxLayout;
    winners->addWidget(txtNumber);
    winners->addWidget(cboNumber);
    winners->addStretch();
    m_fieldGrid->addLayout(winners, 9, 1);
    m_fieldGrid->addWidget(chkHappyDay, 11, 0);
    m_fieldGrid->addWidget(dtpHappyDay, 11, 1);
    m_fieldGrid->addWidget(lblOboKeishiki, 12, 0);
    m_fieldGrid->addWidget(cboOboKeishiki, 12, 1);
    m_fieldGrid->addWidget(lblSenkoWay, 13, 0);
    m_fieldGrid->addWidget(cboSenkoWay, 13, 1);
    m_fieldGrid->addWidget(lblCycle, 14, 0);
    m_fieldGrid->addWidget(cboCycle, 14, 1);
    m_fieldGrid->addWidget(lblOboWay, 15, 0);
    m_fieldGrid->addWidget(cboOboWay, 15, 1);
    m_fieldGrid->addWidget(lblMsg, 16, 0, Qt::AlignTop);
    m_fieldGrid->addWidget(txtMsg, 16, 1, 1, 2);
    m_fieldGrid->setColumnStretch(1, 1);
    m_fieldGrid->setColumnMinimumWidth(1, 300);

    // The error text and the picture share one place; whichever is in front shows.
    fraPicture = named(new QStackedWidget, "fraPicture");
    fraPicture->setFixedSize(240, 240);
    fraPicture->setFrameShape(QFrame::StyledPanel);
    lblError = named(new QLabel, "lblError");
    lblError->setWordWrap(true);
    lblError->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    imgPicView = named(new QLabel, "imgPicView");
    imgPicView->setAlignment(Qt::AlignCenter);
    imgPicView->setAccessibleName(QStringLiteral("画像"));
    fraPicture->addWidget(lblError);
    fraPicture->addWidget(imgPicView);
    cmdPicIn = pushButton("cmdPicIn", QStringLiteral("画像登録(&I)"));
    cmdPicOut = pushButton("cmdPicOut", QStringLiteral("画像削除(&O)"));
    cmdPicOut->setEnabled(false);
    auto* pictureColumn = new QVBoxLayout;
    pictureColumn->addWidget(fraPicture);
    auto* pictureButtons = new QHBoxLayout;
    pictureButtons->addWidget(cmdPicIn);
    pictureButtons->addWidget(cmdPicOut);
    pictureColumn->addLayout(pictureButtons);
    pictureColumn->addStretch();

    auto* body = new QHBoxLayout;
    body->addLayout(m_fieldGrid, 1);
    body->addLayout(pictureColumn);

    cmdTopRecord = pushButton("cmdTopRecord", QStringLiteral("<<"), QStringLiteral("最初へ"),
                              ToolTipSpoken::AsName);
    cmdBackRecord = pushButton("cmdBackRecord", QStringLiteral("<"), QStringLiteral("前へ"),
                               ToolTipSpoken::AsName);
    cmdNextRecord = pushButton("cmdNextRecord", QStringLiteral(">"), QStringLiteral("次へ"),
                               ToolTipSpoken::AsName);
    cmdEndRecord = pushButton("cmdEndRecord", QStringLiteral(">>"), QStringLiteral("最後へ"),
                              ToolTipSpoken::AsName);
    for (QPushButton* b : {cmdTopRecord, cmdBackRecord, cmdNextRecord, cmdEndRecord})
        b->setFixedWidth(36);
    lblActiveNumber = named(new QLabel, "lblActiveNumber");
    lblActiveNumber->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblActiveNumber->setMinimumWidth(40);
    lblMaxNumber = named(new QLabel, "lblMaxNumber");
    lblMaxNumber->setMinimumWidth(60);
    cmdKoshin = pushButton("cmdKoshin", QStringLiteral("更新(&A)"));
    cmdKoshin->setEnabled(false);
    cmdClose = pushButton("cmdClose", QStringLiteral("閉じる(&C)"));
    cmdHelp = pushButton("cmdHelp", QStringLiteral("ヘルプ(&Q)"));
    auto* commands = new QHBoxLayout;
    commands->addWidget(cmdTopRecord);
    commands->addWidget(cmdBackRecord);
    commands->addWidget(lblActiveNumber);
    commands->addWidget(lblMaxNumber);
    commands->addWidget(cmdNextRecord);
    commands->addWidget(cmdEndRecord);
    commands->addStretch();
    commands->addWidget(cmdKoshin);
    commands->addWidget(cmdClose);
    commands->addWidget(cmdHelp);

    auto* legend = new QHBoxLayout;
    legend->addWidget(
        legendLine("lblEditable", QStringLiteral("#0000ff"), QStringLiteral("色の項目は編集可")));
    legend->addSpacing(16);
    legend->addWidget(
        legendLine("lblLocked", QStringLiteral("#ff0000"), QStringLiteral("色の項目は編集不可")));
    legend->addStretch();

    // On a small screen the fields scroll; the commands stay in sight.
    auto* fields = new QWidget;
    fields->setLayout(body);
    body->setContentsMargins(0, 0, 0, 0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scrollingPage(fields));
    layout->addLayout(commands);
    layout->addLayout(legend);

    m_choiceFilter = new ChoiceKeyFilter(m_host.context().dialogs, this,
                                         ChoiceKeyFilter::BeepOn::EveryRefusedKey);
    for (QComboBox* list :
         {cboGenre, cboKekka, cboNumber, cboOboKeishiki, cboSenkoWay, cboCycle, cboOboWay})
        m_choiceFilter->attach(list);
    m_digitFilter = new DigitKeyFilter(m_host.context().dialogs, this);
    m_digitFilter->attach(txtHappyMoney);
    m_digitFilter->attach(txtNumber);

    for (QLabel* label :
         {lblEndDay, lblNowDay, lblSite, lblURL, lblGenre, lblPresent, lblKekka, lblHappyMoney,
          lblNumber, lblOboKeishiki, lblSenkoWay, lblCycle, lblOboWay, lblMsg})
        setFieldEditable(label, nullptr, true);
    setFieldEditable(lblID, nullptr, false);
    setFieldEditable(nullptr, chkHappyDay, true);
}

void frmDataInput::arrangeDateRows()
{
    QLabel* keyLabel = keyIsEndDay() ? lblEndDay : lblNowDay;
    QLabel* otherLabel = keyIsEndDay() ? lblNowDay : lblEndDay;
    QDateEdit* keyPicker = keyDatePicker();
    QDateEdit* otherPicker = keyPicker == dtpEndDay ? dtpNowDay : dtpEndDay;
    for (QWidget* w : std::initializer_list<QWidget*>{keyLabel, otherLabel, keyPicker, otherPicker})
        m_fieldGrid->removeWidget(w);
    m_fieldGrid->addWidget(keyLabel, 0, 0);
    m_fieldGrid->addWidget(keyPicker, 0, 1);
    m_fieldGrid->addWidget(otherLabel, 10, 0);
    m_fieldGrid->addWidget(otherPicker, 10, 1);
    setTabOrderByKey();
}

void frmDataInput::setTabOrderByKey()
{
    QDateEdit* keyPicker = keyDatePicker();
    QDateEdit* otherPicker = keyPicker == dtpEndDay ? dtpNowDay : dtpEndDay;
    const QList<QWidget*> order = {
        keyPicker,    txtID,       txtSite,        txtURL,       cmdHensyuURL,  cboGenre,
        txtPresent,   cboKekka,    txtHappyMoney,  txtNumber,    cboNumber,     otherPicker,
        chkHappyDay,  dtpHappyDay, cboOboKeishiki, cboSenkoWay,  cboCycle,      cboOboWay,
        txtMsg,       cmdPicIn,    cmdPicOut,      cmdTopRecord, cmdBackRecord, cmdNextRecord,
        cmdEndRecord, cmdKoshin,   cmdClose,       cmdHelp};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}
