#include "forms/frmDataInput.h"

#include "core/AppContext.h"
#include "core/Cp932.h"
#include "core/Dialogs.h"
#include "diary/EntryFormText.h"
#include "diary/Settings.h"
#include "forms/EntryFormHost.h"
#include "forms/ScreenFit.h"
#include "platform/WindowLevel.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");

// Shows `text` in a choice list, also a text that is not one of its fixed items (kept
// from a copied listing); such a text is offered only while it is shown.
void setChoice(QComboBox* list, const QString& text)
{
    const int fixed = list->property("fixedCount").toInt();
    while (list->count() > fixed)
        list->removeItem(list->count() - 1);
    int index = -1;
    for (int i = 0; i < fixed; ++i) {
        if (list->itemText(i) == text) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        list->addItem(text);
        index = list->count() - 1;
    }
    list->setCurrentIndex(index);
}

} // namespace

frmDataInput::frmDataInput(EntryFormHost& host)
    : QWidget(host.mainWidget(), Qt::Window), m_host(host)
{
    setAttribute(Qt::WA_DeleteOnClose);
    buildUi();
    arrangeDateRows();
    connectEvents();
    Form_Load();
    keepOnOwnersScreen(this, host.mainWidget());
}

frmDataInput::~frmDataInput() = default;

void frmDataInput::connectEvents()
{
    // A command waits for the one running (it may be waiting for a box); closing comes once
    // that is over.
    const auto command = [this](void (frmDataInput::*handler)()) {
        return [this, handler] { m_handlers.run([this, handler] { (this->*handler)(); }); };
    };
    connect(cmdKoshin, &QPushButton::clicked, this, command(&frmDataInput::cmdKoshin_Click));
    connect(cmdClose, &QPushButton::clicked, this, &frmDataInput::cmdClose_Click);
    connect(cmdTopRecord, &QPushButton::clicked, this, command(&frmDataInput::cmdTopRecord_Click));
    connect(cmdBackRecord, &QPushButton::clicked, this,
            command(&frmDataInput::cmdBackRecord_Click));
    connect(cmdNextRecord, &QPushButton::clicked, this,
            command(&frmDataInput::cmdNextRecord_Click));
    connect(cmdEndRecord, &QPushButton::clicked, this, command(&frmDataInput::cmdEndRecord_Click));
    connect(cmdHelp, &QPushButton::clicked, this, command(&frmDataInput::cmdHelp_Click));
    connect(cmdHensyuURL, &QPushButton::clicked, this, command(&frmDataInput::cmdHensyuURL_Click));
    connect(cmdPicIn, &QPushButton::clicked, this, command(&frmDataInput::cmdPicIn_Click));
    connect(cmdPicOut, &QPushButton::clicked, this, command(&frmDataInput::cmdPicOut_Click));
    imgPicView->installEventFilter(this);

    // Any change of a field makes "更新" available.
    for (QLineEdit* box : {txtID, txtSite, txtURL, txtPresent, txtHappyMoney, txtNumber})
        connect(box, &QLineEdit::textChanged, this, &frmDataInput::changed);
    connect(txtMsg, &QPlainTextEdit::textChanged, this, &frmDataInput::changed);
    for (QDateEdit* picker : {dtpEndDay, dtpNowDay, dtpHappyDay})
        connect(picker, &QDateEdit::dateChanged, this, &frmDataInput::changed);
    for (QComboBox* list :
         {cboGenre, cboKekka, cboNumber, cboOboKeishiki, cboSenkoWay, cboCycle, cboOboWay})
        connect(list, &QComboBox::currentIndexChanged, this, &frmDataInput::changed);
    connect(chkHappyDay, &QCheckBox::toggled, this, &frmDataInput::chkHappyDay_Click);
    connect(cboNumber, &QComboBox::currentIndexChanged, this, &frmDataInput::cboNumber_Click);
    connect(txtURL, &QLineEdit::textChanged, this, &frmDataInput::txtURL_Change);
    // The user's own changes of the winners end the protection of a copied winners text.
    connect(txtNumber, &QLineEdit::textEdited, this, [this] { m_winnersEdited = true; });
    connect(cboNumber, &QComboBox::activated, this, [this] { m_winnersEdited = true; });
}

void frmDataInput::Form_Load()
{
    if (m_host.settings().formState) {
        // The form takes the top-most place from the main window while it is open.
        setTopMost(m_host.mainWidget(), false);
        setTopMost(this, true);
    }
}

void frmDataInput::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (m_host.settings().formState)
        setTopMost(m_host.mainWidget(), true);
    setMainWindowEnabled(true);
    m_host.entryFormClosed();
    m_host.mainWidget()->activateWindow();
}

void frmDataInput::closeEvent(QCloseEvent* event)
{
    // Closed from the event loop of a box of its own, the form would be deleted under it.
    if (m_handlers.closeLater([this] { close(); })) {
        event->ignore();
        return;
    }
    // Unsaved changes are dropped without a question.
    Form_Unload();
    event->accept();
}

void frmDataInput::cmdClose_Click()
{
    close();
}

bool frmDataInput::keyIsEndDay() const
{
    return m_host.settings().keyIsEndDay;
}

QDateEdit* frmDataInput::keyDatePicker() const
{
    return keyIsEndDay() ? dtpEndDay : dtpNowDay;
}

void frmDataInput::setFieldEditable(QLabel* label, QWidget* field, bool editable)
{
    QWidget* caption = label ? static_cast<QWidget*>(label) : field;
    QPalette palette = caption->palette();
    palette.setColor(QPalette::WindowText, editable ? QColor(0, 0, 255) : QColor(255, 0, 0));
    caption->setPalette(palette);
    if (label && field)
        field->setEnabled(editable);
}

void frmDataInput::setMainWindowEnabled(bool enabled)
{
    m_host.mainWidget()->setEnabled(enabled);
    // Disabling the main window would take its child windows along; this one stays usable.
    if (!enabled && !m_unloaded)
        setEnabled(true);
}

void frmDataInput::setStepButtonsEnabled(bool enabled)
{
    for (QPushButton* b : {cmdTopRecord, cmdBackRecord, cmdNextRecord, cmdEndRecord})
        b->setEnabled(enabled);
}

void frmDataInput::OpenForNewEntry()
{
    const auto running = m_handlers.enter(); // a picture that cannot be shown has a box
    m_activeRow = -1;                        // what makes "更新" append
    arrangeDateRows();
    m_picturePath.clear();
    m_loadedWinners.reset();
    const QDate day = m_host.shownDate();
    dtpNowDay->setDate(day);
    dtpEndDay->setDate(day);
    dtpHappyDay->setDate(day);
    setStepButtonsEnabled(false);
    lblActiveNumber->clear();
    lblMaxNumber->clear();
    cmdKoshin->setEnabled(false);
    show();
    activateWindow();
    setMainWindowEnabled(false);
    keyDatePicker()->setFocus();
}

void frmDataInput::OpenEntryForEdit(int row)
{
    const auto running = m_handlers.enter();
    m_activeRow = row;
    arrangeDateRows();
    setStepButtonsEnabled(true);

    const bool hasRow = m_activeRow >= 0 && m_activeRow < m_host.entryCount();
    const QString id = hasRow ? m_host.entryAt(m_activeRow)[ID] : QStringLiteral("0");
    txtID->setText(id);
    // The deadline of a stored entry never changes; entries copied from the site keep
    // the fields the site gave them.
    setFieldEditable(lblEndDay, dtpEndDay, false);
    setFieldEditable(lblNowDay, dtpNowDay, true);
    const bool typedByHand = id == u"0";
    setFieldEditable(lblSite, txtSite, typedByHand);
    setFieldEditable(lblURL, txtURL, typedByHand);
    setFieldEditable(lblOboKeishiki, cboOboKeishiki, typedByHand);
    setFieldEditable(lblSenkoWay, cboSenkoWay, typedByHand);
    setFieldEditable(lblCycle, cboCycle, typedByHand);
    setFieldEditable(lblOboWay, cboOboWay, typedByHand);

    ShowEntryInForm();
    cmdKoshin->setEnabled(false);
}

void frmDataInput::ShowEntryInForm()
{
    const auto running = m_handlers.enter();
    setMainWindowEnabled(false);
    const int count = m_host.entryCount();
    lblActiveNumber->setText(QString::number(m_activeRow + 1)); // counted from 1 where shown
    lblMaxNumber->setText(QStringLiteral("/　") + QString::number(count));

    if (m_activeRow >= 0 && m_activeRow < count) {
        const EntryRecord row = m_host.entryAt(m_activeRow);
        QDateEdit* keyPicker = keyDatePicker();
        QDateEdit* otherPicker = keyPicker == dtpEndDay ? dtpNowDay : dtpEndDay;
        keyPicker->setDate(QDate::fromString(row[KeyDate], kDateFormat));
        otherPicker->setDate(QDate::fromString(row[OtherDate], kDateFormat));
        txtID->setText(row[ID]);
        txtSite->setText(row[Site]);
        txtURL->setText(row[URL]);
        setChoice(cboGenre, row[Genre]);
        txtPresent->setText(row[Present]);
        setChoice(cboKekka, row[Kekka]);
        txtHappyMoney->setText(row[HappyMoney]);

        m_loadedWinners = row[Number];
        m_winnersEdited = false;
        const auto winners = entryform::winnersFields(row[Number]);
        // A winners text of the site that is neither (for example "10組") shows as it is.
        txtNumber->setText(winners ? winners->count : row[Number]);
        setChoice(cboNumber, winners ? winners->unit : QStringLiteral("名様"));
        cboNumber_Click();

        const QDate happyDay = QDate::fromString(row[HappyDay], kDateFormat);
        const bool hasHappyDay = row[HappyDay] != kNoHappyDay && happyDay.isValid();
        dtpHappyDay->setDate(hasHappyDay ? happyDay : dtpEndDay->date());
        chkHappyDay->setChecked(hasHappyDay);
        chkHappyDay_Click();

        setChoice(cboOboKeishiki, row[OboKeishiki]);
        setChoice(cboSenkoWay, row[SenkoWay]);
        setChoice(cboCycle, row[Cycle]);
        setChoice(cboOboWay, row[OboWay]);
        txtMsg->setPlainText(entryform::commentForBox(row[Msg]));
        txtURL_Change();

        m_picturePath = row[Pic];
        showPicture();
    }

    if (m_showFormOnLoad) {
        show();
        raise();
        activateWindow();
        keyDatePicker()->setFocus();
    }
    m_showFormOnLoad = true;
}

void frmDataInput::changed()
{
    cmdKoshin->setEnabled(true);
}

void frmDataInput::cboNumber_Click()
{
    const bool count = cboNumber->currentText() == u"名様";
    txtNumber->setEnabled(count);
    // The count box reads as greyed out while "全員" needs no count.
    QPalette palette = txtNumber->palette();
    palette.setColor(QPalette::Base, count ? QApplication::palette().color(QPalette::Base)
                                           : QApplication::palette().color(QPalette::Window));
    txtNumber->setPalette(palette);
}

void frmDataInput::chkHappyDay_Click()
{
    dtpHappyDay->setEnabled(chkHappyDay->isChecked());
    changed();
}

void frmDataInput::txtURL_Change()
{
    cmdHensyuURL->setEnabled(entryform::isWebAddress(txtURL->text()));
}

void frmDataInput::cmdTopRecord_Click()
{
    stepTo(Step::First);
}

void frmDataInput::cmdBackRecord_Click()
{
    stepTo(Step::Back);
}

void frmDataInput::cmdNextRecord_Click()
{
    stepTo(Step::Next);
}

void frmDataInput::cmdEndRecord_Click()
{
    stepTo(Step::Last);
}

void frmDataInput::stepTo(Step step)
{
    const int last = m_host.entryCount() - 1;
    int row = m_activeRow;
    switch (step) {
    case Step::First:
        row = 0;
        break;
    case Step::Back:
        row = row > 0 ? row - 1 : row;
        break;
    case Step::Next:
        row = row < last ? row + 1 : row;
        break;
    case Step::Last:
        row = last;
        break;
    }
    // Unsaved changes of the row on show are dropped.
    m_showFormOnLoad = false;
    OpenEntryForEdit(row);
    cmdKoshin->setEnabled(false);
}

void frmDataInput::cmdHensyuURL_Click()
{
    m_host.OpenSiteUrl(txtURL->text(), txtID->text());
}

void frmDataInput::cmdHelp_Click()
{
    m_host.showHelp(HelpTopic::EntryForm);
}

QString frmDataInput::winnersToStore() const
{
    // A copied winners text that the form cannot rebuild is kept while the user leaves it.
    if (m_loadedWinners && !m_winnersEdited && !entryform::isPlainWinners(*m_loadedWinners))
        return *m_loadedWinners;
    return entryform::storedWinners(txtNumber->text(), cboNumber->currentText());
}

EntryRecord frmDataInput::entryFromForm()
{
    const QString nowDay = dtpNowDay->date().toString(kDateFormat);
    const QString endDay = dtpEndDay->date().toString(kDateFormat);
    const QString number = winnersToStore();
    if (cboNumber->currentText() == u"全員")
        txtNumber->setText(QStringLiteral("0"));
    const auto replaced = [](QString text) {
        ReplaceQuoteMarks(text);
        return text;
    };
    EntryRecord e;
    e[KeyDate] = keyIsEndDay() ? endDay : nowDay;
    e[OtherDate] = keyIsEndDay() ? nowDay : endDay;
    e[ID] = txtID->text();
    e[Site] = replaced(txtSite->text());
    e[URL] = replaced(txtURL->text());
    e[Genre] = cboGenre->currentText();
    e[Present] = replaced(txtPresent->text());
    e[Kekka] = cboKekka->currentText();
    e[HappyMoney] = entryform::storedAmount(txtHappyMoney->text());
    e[Number] = number;
    e[HappyDay] =
        chkHappyDay->isChecked() ? dtpHappyDay->date().toString(kDateFormat) : kNoHappyDay;
    e[OboKeishiki] = cboOboKeishiki->currentText();
    e[SenkoWay] = cboSenkoWay->currentText();
    e[Cycle] = cboCycle->currentText();
    e[OboWay] = cboOboWay->currentText();
    e[Msg] = replaced(entryform::storedComment(txtMsg->toPlainText()));
    e[Pic] = m_picturePath;
    FoldToStoredForms(e);
    return e;
}

bool frmDataInput::textsCanBeStored()
{
    const struct
    {
        const char16_t* caption;
        QString text;
        QWidget* box;
    } fields[] = {
        {u"応募先", txtSite->text(), txtSite},       {u"ＵＲＬ", txtURL->text(), txtURL},
        {u"賞品名", txtPresent->text(), txtPresent}, {u"コメント", txtMsg->toPlainText(), txtMsg},
        {u"画像", m_picturePath, cmdPicIn},
    };
    for (const auto& field : fields) {
        const QChar bad = cp932::firstUnencodable(field.text);
        if (bad.isNull())
            continue;
        QString shown(bad);
        const QString folded = cp932::fold(field.text);
        const qsizetype at = folded.indexOf(bad);
        if (bad.isHighSurrogate() && at >= 0)
            shown = folded.mid(at, 2);
        m_host.context().dialogs.message(
            {QStringLiteral("「%1」に保存できない文字「%2」が含まれています。")
                 .arg(QString::fromUtf16(field.caption), shown),
             QStringLiteral("ｴﾗｰ"), MessageIcon::Critical, MessageButtons::Ok});
        field.box->setFocus();
        return false;
    }
    return true;
}

void frmDataInput::cmdKoshin_Click()
{
    // The month loads and saves show the hourglass themselves; questions never do.
    cmdKoshin->setEnabled(false);
    Dialogs& dialogs = m_host.context().dialogs;
    if (dtpNowDay->date() > dtpEndDay->date()) {
        dialogs.message({QStringLiteral("応募日が締切日を越えています。"), QStringLiteral("ｴﾗｰ"),
                         MessageIcon::Critical, MessageButtons::Ok});
        return;
    }
    if (!textsCanBeStored())
        return;

    const EditOutcome outcome = m_host.finishEdit(entryFromForm(), m_activeRow);
    cmdKoshin->setEnabled(false);
    if (!outcome.done)
        return;
    switch (outcome.next) {
    case EditOutcome::Next::Stay:
        break;
    case EditOutcome::Next::Follow:
        // A further "更新" changes this entry, not the one that took its place.
        m_activeRow = outcome.row;
        lblActiveNumber->setText(QString::number(m_activeRow + 1));
        break;
    case EditOutcome::Next::Reshow:
        m_showFormOnLoad = false;
        OpenEntryForEdit(outcome.row);
        break;
    case EditOutcome::Next::Close:
        close();
        break;
    }
}
