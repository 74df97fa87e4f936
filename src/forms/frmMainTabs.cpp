// Switching tabs and wiring the window's events.
#include "forms/frmMain.h"

#include "diary/EntryFormText.h"
#include "forms/DigitKeyFilter.h"
#include "forms/EntryTableModel.h"
#include "forms/frmDataSearch.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>

Tab frmMain::currentTab() const
{
    return static_cast<Tab>(tabMain->currentWidget()->property("tab").toInt());
}

void frmMain::updateCommands()
{
    CommandInputs in;
    in.tab = currentTab();
    in.searchRunning = m_searchRunning;
    in.monthReadable = m_month->readable();
    in.shownEntries = m_shownTally.entries;
    in.expenseEnded = m_expenseEnded;
    if (in.tab == Tab::Month || in.tab == Tab::Search) {
        QTableView* view = in.tab == Tab::Month ? lvwMonth : lvwSearch;
        const QModelIndexList rows = view->selectionModel()->selectedRows();
        in.picked = m_entryPicked;
        in.selectedRows = static_cast<int>(rows.size());
        if (const std::optional<int> row = soleSelectedRow(view)) {
            const auto* model = static_cast<const EntryTableModel*>(view->model());
            in.selectedHasPage = entryform::isWebAddress(model->entry(*row)[URL]);
        }
    } else if (in.tab == Tab::Year) {
        in.picked = m_state.selectedYearRow.has_value();
        in.focusMonthEntries = m_yearSummary.months[dtpDate->date().month() - 1].entries;
    } else if (in.tab == Tab::Total) {
        in.picked = m_state.selectedTotalRow.has_value();
    }
    const CommandState c = commandStateFor(in);
    const std::pair<QWidget*, bool> commands[] = {
        {cmdNewInput, c.newInput},
        {cmdInput, c.input},
        {cmdCsvInput, c.input}, // the CSV import sits beside 取込登録 and follows its rule
        {cmdHensyu, c.hensyu},
        {cmdURL, c.url},
        {cmdDelete, c.del},
        {cmdAllDelete, c.allDelete},
        {cmdSave, c.save},
        {cmdPrint, c.print},
        {cmdUnhappyMoneyIn, c.unhappyMoneyIn},
        {cmdMonthBack, c.monthSteps},
        {cmdMonthNext, c.monthSteps},
        {cmdYearBack, c.yearSteps},
        {cmdYearNext, c.yearSteps},
        {dtpDate, c.datePicker},
    };
    for (const auto& [command, enabled] : commands)
        command->setEnabled(enabled);
}

void frmMain::connectEvents()
{
    connect(tabMain, &QTabWidget::currentChanged, this, &frmMain::tabMain_Click);
    connectShellCommands();
    connectBackupCommands();
    connectEntryCommands();
    connect(cmdDelete, &QPushButton::clicked, this, &frmMain::cmdDelete_Click);
    connect(cmdInput, &QPushButton::clicked, this, &frmMain::cmdInput_Click);
    connect(cmdCsvInput, &QPushButton::clicked, this, &frmMain::cmdCsvInput_Click);
    connect(cmdYearGraph, &QPushButton::clicked, this, [this] { openChart(false); });
    connect(cmdTotalGraph, &QPushButton::clicked, this, [this] { openChart(true); });
    connect(cmdSetting, &QPushButton::clicked, this, &frmMain::cmdSetting_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmMain::cmdSave_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmMain::cmdPrint_Click);
    connect(cmdAllDelete, &QPushButton::clicked, this, &frmMain::cmdAllDelete_Click);
    connect(cmdMonthBack, &QPushButton::clicked, this, &frmMain::cmdMonthBack_Click);
    connect(cmdMonthNext, &QPushButton::clicked, this, &frmMain::cmdMonthNext_Click);
    connect(cmdYearBack, &QPushButton::clicked, this, &frmMain::cmdYearBack_Click);
    connect(cmdYearNext, &QPushButton::clicked, this, &frmMain::cmdYearNext_Click);
    connect(dtpDate, &QDateEdit::dateChanged, this, &frmMain::dtpDate_Change);
    connect(cmdUnhappyMoneyIn, &QPushButton::clicked, this, &frmMain::cmdUnhappyMoneyIn_Click);
    connect(txtUnhappyMoneyValue, &QLineEdit::returnPressed, this, [this] {
        if (!txtUnhappyMoneyValue->text().isEmpty())
            cmdUnhappyMoneyIn_Click();
    });
    connect(lvwMonth->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { ColumnHeaderClikSort(lvwMonth, column); });
    connect(lvwSearch->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { ColumnHeaderClikSort(lvwSearch, column); });
    for (QTableView* view : {lvwMonth, lvwSearch}) {
        // A click, also on a row that is still selected, or keys that select rows pick
        // them; rows that only leave the selection (removed, sorted away) pick nothing.
        connect(view, &QTableView::clicked, this, [this, view] { entryListPicked(view); });
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, view](const QItemSelection& selected) {
                    if (!selected.isEmpty())
                        entryListPicked(view);
                    else
                        updateCommands();
                });
    }
    // The arrow keys pick a month or year exactly as a click does.
    const auto summaryPicks = [this](QTableView* view, void (frmMain::*itemClick)(int)) {
        connect(view, &QTableView::clicked, this,
                [this, itemClick](const QModelIndex& index) { (this->*itemClick)(index.row()); });
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, itemClick](const QItemSelection& selected) {
                    if (!selected.isEmpty())
                        (this->*itemClick)(selected.indexes().first().row());
                });
    };
    summaryPicks(lvwYear, &frmMain::lvwYear_ItemClick);
    summaryPicks(lvwTotal, &frmMain::lvwTotal_ItemClick);

    m_digitFilter = new DigitKeyFilter(m_context.dialogs, this);
    for (QLineEdit* box : txtSize) {
        m_digitFilter->attach(box);
        connect(box, &QLineEdit::textEdited, this, &frmMain::settingChanged);
    }
    m_digitFilter->attach(txtDreamMoney);
    m_digitFilter->attach(txtSimekiriDays);
    connect(txtSimekiriDays, &QLineEdit::textEdited, this, &frmMain::settingChanged);
    connect(txtDreamMoney, &QLineEdit::textEdited, this, &frmMain::settingChanged);
    m_digitFilter->attach(txtUnhappyMoneyValue);
    connect(chkStartPassword, &QCheckBox::clicked, this, &frmMain::chkStartPassword_Click);
    for (QCheckBox* box : {chkStartZumira, chkFormState, chkNoTyohuku, chkSortOn, chkDeleteKakunin,
                           chkAllDeleteKakunin, chkAutoSumOutput, chkSimekiriStart})
        connect(box, &QCheckBox::clicked, this, &frmMain::settingChanged);
    for (QRadioButton* option : {optEndDay, optNowDay}) {
        connect(option, &QRadioButton::clicked, this, [this] {
            arrangeDateWidthBoxes(optEndDay->isChecked());
            settingChanged();
        });
    }
}

void frmMain::tabMain_Click()
{
    const Tab key = currentTab();
    m_entryPicked = false;
    m_expenseEnded = false;

    m_state.suppressPasswordDialog = true;
    if (key != Tab::Setting)
        readSettings(); // settings edited but not applied are dropped
    if (m_month->dirty())
        SaveMonthFile();

    showPanel(emptyPanelTexts());
    m_state.selectedMonthRow.reset();
    m_state.selectedYearRow.reset();
    m_state.selectedTotalRow.reset();
    m_state.selectedSearchRow.reset();
    prgShinko->setValue(0);
    if (key != Tab::Search) {
        m_searchModel->clear();
        m_searchTempModel->clear();
        unloadSearchForm();
    }
    fraSetting->setEnabled(key == Tab::Setting);

    if (key == Tab::Month) {
        BuildEntryColumns(lvwMonth);
        LoadMonthFile();
    } else if (key == Tab::Year) {
        fraUnhappyMoney->setEnabled(true);
        ListViewColumnHeadersYear();
        ShowYearList();
        setMonthLabelCaption();
        txtUnhappyMoneyValue->setText(
            m_yearSummary.months[dtpDate->date().month() - 1].expenses.toText());
    } else if (key == Tab::Total) {
        ListViewColumnHeadersTotal();
        ShowTotalList();
    } else if (key == Tab::Search) {
        BuildEntryColumns(lvwSearch);
        loadSearchForm();
        RefreshTotals();
        m_searchForm->show();
        m_searchForm->raise();
    } else if (key == Tab::Setting) {
        fraUnhappyMoney->setEnabled(false);
        readSettings();
        m_state.suppressPasswordDialog = false;
        cmdSetting->setEnabled(false);
    }
    updateCommands();
}

void frmMain::BuildEntryColumns(QTableView* view)
{
    auto* model = static_cast<EntryTableModel*>(view->model());
    model->setKeyIsEndDay(optEndDay->isChecked());
    applyEntryColumnWidths(view);
}

void frmMain::settingChanged()
{
    cmdSetting->setEnabled(true);
}

void frmMain::arrangeDateWidthBoxes(bool keyIsEndDay)
{
    // The key date's box sits first, beside lblMain; the other date's beside lblSub.
    QLineEdit* keyBox = txtSize[int(keyIsEndDay ? WidthKey::EndDay : WidthKey::NowDay)];
    QLineEdit* otherBox = txtSize[int(keyIsEndDay ? WidthKey::NowDay : WidthKey::EndDay)];
    const int subIndex = int(WidthKey::EndDay);
    m_widthGrid->removeWidget(keyBox);
    m_widthGrid->removeWidget(otherBox);
    m_widthGrid->addWidget(keyBox, 0, 1);
    m_widthGrid->addWidget(otherBox, subIndex / 4, (subIndex % 4) * 2 + 1);
    lblMain->setText(keyIsEndDay ? QStringLiteral("締 切 日") : QStringLiteral("応 募 日"));
    lblSub->setText(keyIsEndDay ? QStringLiteral("応 募 日") : QStringLiteral("締 切 日"));
    lblMain->setBuddy(keyBox);
    lblSub->setBuddy(otherBox);
    keyBox->setAccessibleName(lblMain->text());
    otherBox->setAccessibleName(lblSub->text());
    setTabOrder(optNowDay, keyBox);
}
