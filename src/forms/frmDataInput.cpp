#include "forms/frmDataInput.h"

#include "core/AppContext.h"
#include "core/Cp932.h"
#include "core/Dialogs.h"
#include "diary/Settings.h"
#include "platform/WindowLevel.h"
#include "diary/DuplicateCheck.h"
#include "diary/EntryFormHost.h"
#include "diary/EntryFormText.h"
#include "diary/KeySort.h"
#include "forms/EntryTableModel.h"
#include "forms/MainState.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");
const QString kMonthFormat = QStringLiteral("yyyy/MM");

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

// Entries equal but for leading zeros of the ID, which the key sort removes.
bool sameEntryAfterSort(const EntryRecord& listed, const EntryRecord& written)
{
    EntryRecord expected = written;
    if (const auto number = normalizedNumber(written[ID]))
        expected[ID] = *number;
    return listed == expected || listed == written;
}

int rowAfterSort(const QList<EntryRecord>& rows, const EntryRecord& written)
{
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (sameEntryAfterSort(rows.at(i), written))
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

frmDataInput::frmDataInput(EntryFormHost& host) : QWidget(host.mainWidget(), Qt::Window), m_host(host)
{
    setAttribute(Qt::WA_DeleteOnClose);
    buildUi();
    arrangeDateRows();
    connectEvents();
    Form_Load();
}

frmDataInput::~frmDataInput() = default;

void frmDataInput::connectEvents()
{
    connect(cmdKoshin, &QPushButton::clicked, this, &frmDataInput::cmdKoshin_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmDataInput::cmdClose_Click);
    connect(cmdTopRecord, &QPushButton::clicked, this, &frmDataInput::cmdTopRecord_Click);
    connect(cmdBackRecord, &QPushButton::clicked, this, &frmDataInput::cmdBackRecord_Click);
    connect(cmdNextRecord, &QPushButton::clicked, this, &frmDataInput::cmdNextRecord_Click);
    connect(cmdEndRecord, &QPushButton::clicked, this, &frmDataInput::cmdEndRecord_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmDataInput::cmdHelp_Click);
    connect(cmdHensyuURL, &QPushButton::clicked, this, &frmDataInput::cmdHensyuURL_Click);
    connect(cmdPicIn, &QPushButton::clicked, this, &frmDataInput::cmdPicIn_Click);
    connect(cmdPicOut, &QPushButton::clicked, this, &frmDataInput::cmdPicOut_Click);
    imgPicView->installEventFilter(this);

    // Any change of a field makes "更新" available.
    for (QLineEdit* box : {txtID, txtSite, txtURL, txtPresent, txtHappyMoney, txtNumber})
        connect(box, &QLineEdit::textChanged, this, &frmDataInput::changed);
    connect(txtMsg, &QPlainTextEdit::textChanged, this, &frmDataInput::changed);
    for (QDateEdit* picker : {dtpEndDay, dtpNowDay, dtpHappyDay})
        connect(picker, &QDateEdit::dateChanged, this, &frmDataInput::changed);
    for (QComboBox* list : {cboGenre, cboKekka, cboNumber, cboOboKeishiki, cboSenkoWay, cboCycle, cboOboWay})
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
    m_host.disableEntryCommands();
}

void frmDataInput::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (m_host.settings().formState)
        setTopMost(m_host.mainWidget(), true);
    MainState& state = m_host.state();
    state.selectedMonthIndex = 0;
    state.selectedSearchIndex = 0;
    setMainWindowEnabled(true);
    m_host.mainWidget()->activateWindow();
}

void frmDataInput::closeEvent(QCloseEvent* event)
{
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

bool frmDataInput::onSearchTab() const
{
    return m_host.currentTabKey() == u"T_Search";
}

EntryTableModel& frmDataInput::currentList() const
{
    return onSearchTab() ? m_host.searchList() : m_host.monthList();
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
    m_host.state().selectedMonthIndex = 0; // what makes "更新" append
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
}

void frmDataInput::OpenEntryForEdit()
{
    MainState& state = m_host.state();
    const QString tab = m_host.currentTabKey();
    if (tab == u"T_Month") {
        m_activeEntryIndex = state.selectedMonthIndex;
    } else if (tab == u"T_Search") {
        m_activeEntryIndex = state.selectedSearchIndex;
        const QDate shown = m_host.shownDate();
        state.curYear = shown.toString(QStringLiteral("yyyy"));
        state.curMonth = shown.toString(QStringLiteral("MM"));
    } else {
        return;
    }
    arrangeDateRows();
    setStepButtonsEnabled(true);

    const EntryTableModel& list = currentList();
    const bool hasRow = m_activeEntryIndex >= 1 && m_activeEntryIndex <= list.rowCount();
    const QString id = hasRow ? list.entry(m_activeEntryIndex - 1)[ID] : QStringLiteral("0");
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
    setMainWindowEnabled(false);
    m_host.disableEntryCommands();
    const EntryTableModel& list = currentList();
    lblActiveNumber->setText(QString::number(m_activeEntryIndex));
    lblMaxNumber->setText(QStringLiteral("/　") + QString::number(list.rowCount()));

    if (m_activeEntryIndex >= 1 && m_activeEntryIndex <= list.rowCount()) {
        const EntryRecord row = list.entry(m_activeEntryIndex - 1);
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
    const int count = currentList().rowCount();
    int index = m_activeEntryIndex;
    switch (step) {
    case Step::First: index = 1; break;
    case Step::Back: index = index > 1 ? index - 1 : index; break;
    case Step::Next: index = index < count ? index + 1 : index; break;
    case Step::Last: index = count; break;
    }
    MainState& state = m_host.state();
    if (onSearchTab())
        state.selectedSearchIndex = index;
    else
        state.selectedMonthIndex = index;
    // Unsaved changes of the row on show are dropped.
    m_showFormOnLoad = false;
    OpenEntryForEdit();
    cmdKoshin->setEnabled(false);
}

void frmDataInput::cmdHensyuURL_Click()
{
    m_host.OpenSiteUrl(txtURL->text(), txtID->text());
}

void frmDataInput::cmdHelp_Click()
{
    const QString help = m_host.context().paths.programFolder() + QStringLiteral("/zumicho.chm");
    if (QFileInfo::exists(help)) {
        m_host.OpenDocument(help);
        return;
    }
    m_host.context().dialogs.message({QStringLiteral("ヘルプを表示させたい場合は、「zumicho.exe」と\r\n"
                                                     "「zumicho.chm」を同じフォルダに入れて下さい。"),
                                      QStringLiteral("ヘルプが見つかりません"), MessageIcon::Critical,
                                      MessageButtons::Ok});
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
    e[HappyDay] = chkHappyDay->isChecked() ? dtpHappyDay->date().toString(kDateFormat) : kNoHappyDay;
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
        {u"応募先", txtSite->text(), txtSite},         {u"ＵＲＬ", txtURL->text(), txtURL},
        {u"賞品名", txtPresent->text(), txtPresent},   {u"コメント", txtMsg->toPlainText(), txtMsg},
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
            {QStringLiteral("「%1」に保存できない文字「%2」が含まれています。").arg(QString::fromUtf16(field.caption), shown),
             QStringLiteral("ｴﾗｰ"), MessageIcon::Critical, MessageButtons::Ok});
        field.box->setFocus();
        return false;
    }
    return true;
}

void frmDataInput::showMonthOf(const QDate& date)
{
    MainState& state = m_host.state();
    state.curYear = date.toString(QStringLiteral("yyyy"));
    state.curMonth = date.toString(QStringLiteral("MM"));
    // The day on show stays where the new month has it (31 becomes 30 in June).
    const int day = std::clamp(state.curDay.toInt(), 1, date.daysInMonth());
    state.curDay = QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0'));
    state.lastYearMonth = date.toString(kMonthFormat);
    m_host.LoadMonthFile();
}

bool frmDataInput::monthWritable()
{
    if (m_host.state().monthReadable())
        return true;
    m_host.SaveMonthFile(); // refuses, and tells the user why
    return false;
}

bool frmDataInput::commitMonth()
{
    MainState& state = m_host.state();
    state.monthDirty = true;
    m_host.SortMonthList();
    const bool saved = m_host.SaveMonthFile();
    if (!saved)
        m_host.LoadMonthFile(); // the list shows what the file holds
    state.monthDirty = false;
    return saved;
}

void frmDataInput::paintPlainIfNotWon(EntryTableModel& list, int row, const EntryRecord& entry)
{
    if (!entry.isWon())
        list.setRowColour(row, QColor(Qt::black));
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

    const EntryRecord entry = entryFromForm();
    MainState& state = m_host.state();
    EntryTableModel& search = m_host.searchList();
    int searchRow = -1;
    if (onSearchTab()) {
        // Find the month row the search row was copied from, all seventeen columns equal.
        searchRow = state.selectedSearchIndex - 1;
        state.selectedMonthIndex = 0;
        if (searchRow >= 0 && searchRow < search.rowCount()) {
            const EntryRecord old = search.entry(searchRow);
            // The row's own key date names its month, also after stepping to it.
            const QDate keyDay = QDate::fromString(old[KeyDate], kDateFormat);
            if (keyDay.isValid()) {
                state.curDay = keyDay.toString(QStringLiteral("dd"));
                showMonthOf(keyDay);
            } else {
                m_host.LoadMonthFile();
            }
            const qsizetype monthRow = m_host.monthList().entries().indexOf(old);
            if (monthRow >= 0)
                state.selectedMonthIndex = static_cast<int>(monthRow) + 1;
        } else {
            searchRow = -1;
        }
    }

    bool done = false;
    bool moved = false;
    if (state.selectedMonthIndex > 0) {
        const bool sameMonth = keyIsEndDay()
                               || dtpNowDay->date().toString(kMonthFormat) == m_host.shownDate().toString(kMonthFormat);
        if (sameMonth) {
            done = updateInPlace(entry);
        } else {
            done = moveToOtherMonth(entry);
            moved = true;
        }
    } else {
        done = appendEntry(entry);
    }
    // The search row shows the entry only once its month holds it.
    if (done && searchRow >= 0) {
        search.replace(searchRow, entry);
        paintPlainIfNotWon(search, searchRow, entry);
        m_host.RefreshTotals();
    }
    if (done && moved)
        afterMove();
    cmdKoshin->setEnabled(false);
}

bool frmDataInput::updateInPlace(const EntryRecord& entry)
{
    if (!monthWritable())
        return false;
    EntryTableModel& month = m_host.monthList();
    const int row = m_host.state().selectedMonthIndex - 1;
    if (row >= month.rowCount())
        return false;
    month.replace(row, entry);
    paintPlainIfNotWon(month, row, entry);
    if (!commitMonth())
        return false;
    if (!onSearchTab()) {
        // The key sort may have moved the entry; follow it, so that a further "更新"
        // changes this entry and not the one that took its place.
        const int sorted = rowAfterSort(month.entries(), entry);
        if (sorted >= 0) {
            m_host.state().selectedMonthIndex = sorted + 1;
            m_activeEntryIndex = sorted + 1;
            lblActiveNumber->setText(QString::number(m_activeEntryIndex));
        }
    }
    return true;
}

bool frmDataInput::moveToOtherMonth(const EntryRecord& entry)
{
    MainState& state = m_host.state();
    EntryTableModel& month = m_host.monthList();
    const QString oldYear = state.curYear;
    const QString oldMonth = state.curMonth;
    const QString oldDay = state.curDay;
    const int oldMonthIndex = state.selectedMonthIndex;
    const int oldSearchIndex = state.selectedSearchIndex;
    if (oldMonthIndex > month.rowCount())
        return false;
    const EntryRecord old = month.entry(oldMonthIndex - 1);

    // The entry joins its new month before it leaves the old one, so a month that cannot
    // be written never costs the entry.
    showMonthOf(dtpNowDay->date());
    bool added = false;
    if (monthWritable()) {
        month.append({entry});
        added = commitMonth();
    }

    state.curYear = oldYear;
    state.curMonth = oldMonth;
    state.curDay = oldDay;
    state.lastYearMonth = oldYear + u'/' + oldMonth;
    m_host.LoadMonthFile();
    if (added) {
        // Moving is not a deletion for the user: no question, and the old row always goes.
        int row = oldMonthIndex - 1;
        if (row >= month.rowCount() || month.entry(row) != old)
            row = static_cast<int>(month.entries().indexOf(old));
        if (row >= 0)
            m_host.removeMonthRowForMove(row);
    }
    state.selectedMonthIndex = std::min(oldMonthIndex, month.rowCount());
    state.selectedSearchIndex = oldSearchIndex;
    return added;
}

void frmDataInput::afterMove()
{
    if (!onSearchTab() && m_host.state().selectedMonthIndex == 0) {
        close(); // the month on show became empty
        return;
    }
    // Show the row that now stands at the old position.
    m_showFormOnLoad = false;
    OpenEntryForEdit();
}

bool frmDataInput::appendEntry(const EntryRecord& entry)
{
    // Compared with the month on show, before the entry's own month is loaded.
    if (!FindDuplicateEntry(m_host.monthList().entries(), entry, m_host.settings(), m_host.context().dialogs))
        return false;
    const QDate keyDay = keyDatePicker()->date();
    if (keyDay.toString(kMonthFormat) != m_host.shownDate().toString(kMonthFormat))
        showMonthOf(keyDay);
    if (!monthWritable())
        return false;
    m_host.monthList().append({entry});
    return commitMonth();
}
