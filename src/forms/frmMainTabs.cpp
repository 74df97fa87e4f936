// Switching tabs and wiring the window's events.
#include "forms/SettingsPage.h"
#include "forms/StatisticsPanel.h"
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
    in.searchRunning = m_state.searchRunning;
    in.monthReadable = m_month->readable();
    in.shownEntries = m_shownTally.entries;
    in.expenseEnded = m_expenseEnded;
    if (in.tab == Tab::Month || in.tab == Tab::Search) {
        QTableView* view = in.tab == Tab::Month ? lvwMonth : lvwSearch;
        const QModelIndexList rows = view->selectionModel()->selectedRows();
        in.picked = m_state.entryPicked;
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
    m_settingsPage->commandInputs(in);
    const CommandState c = commandStateFor(in);
    m_settingsPage->applyCommands(c);
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
        {fraUnhappyMoney, c.expenseFrame},
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
            [this](int column) { sortByHeader(lvwMonth, column); });
    connect(lvwSearch->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { sortByHeader(lvwSearch, column); });
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
    m_digitFilter->attach(txtUnhappyMoneyValue);
}

void frmMain::tabMain_Click()
{
    const Tab key = currentTab();
    m_state.entryPicked = false;
    m_expenseEnded = false;

    m_state.suppressPasswordDialog = true;
    if (key != Tab::Setting)
        m_settingsPage->readSettings(); // settings edited but not applied are dropped
    if (m_month->dirty())
        SaveMonthFile();

    m_panel->clear();
    m_state.selectedMonthRow.reset();
    m_state.selectedYearRow.reset();
    m_state.selectedTotalRow.reset();
    m_state.selectedSearchRow.reset();
    prgShinko->setValue(0);
    if (key != Tab::Search) {
        m_searchModel->clear();
        unloadSearchForm();
    }

    if (key == Tab::Month) {
        BuildEntryColumns(lvwMonth);
        LoadMonthFile();
    } else if (key == Tab::Year) {
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
        m_settingsPage->enter();
    }
    updateCommands();
}

void frmMain::BuildEntryColumns(QTableView* view)
{
    auto* model = static_cast<EntryTableModel*>(view->model());
    model->setKeyIsEndDay(m_settingsPage->keyIsEndDayShown());
    applyEntryColumnWidths(view);
}
