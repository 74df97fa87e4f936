// Switching tabs and wiring the window's events.
#include "forms/frmMain.h"

#include "forms/frmDataSearch.h"
#include "forms/DigitKeyFilter.h"
#include "forms/EntryTableModel.h"
#include "diary/Expenses.h"

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

QString frmMain::currentTabKey() const
{
    return tabMain->currentWidget()->property("tabKey").toString();
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
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, view] { entrySelectionChanged(view); });
    }
    connect(lvwYear, &QTableView::clicked, this, [this](const QModelIndex& index) { lvwYear_ItemClick(index.row()); });
    connect(lvwTotal, &QTableView::clicked, this, [this](const QModelIndex& index) { lvwTotal_ItemClick(index.row()); });

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

void frmMain::enableMonthTabCommands(bool enabled)
{
    if (!enabled) {
        for (QWidget* w : std::initializer_list<QWidget*>{cmdHensyu, cmdDelete, cmdAllDelete, cmdURL, cmdSave, cmdPrint})
            w->setEnabled(false);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{cmdNewInput, cmdInput, cmdCsvInput, cmdMonthBack, cmdMonthNext,
                                                      cmdYearBack, cmdYearNext, dtpDate})
        w->setEnabled(enabled);
}

void frmMain::tabMain_Click()
{
    const QString key = currentTabKey();
    enableMonthTabCommands(false);

    m_state.suppressPasswordDialog = true;
    if (key != u"T_Setting")
        readSettings(); // settings edited but not applied are dropped
    if (m_state.monthDirty)
        SaveMonthFile();

    showPanel(emptyPanelTexts());
    m_state.selectedMonthIndex = m_state.selectedYearIndex = 0;
    m_state.selectedTotalIndex = m_state.selectedSearchIndex = 0;
    prgShinko->setValue(0);
    if (key != u"T_Search") {
        m_searchModel->clear();
        m_searchTempModel->clear();
        unloadSearchForm();
    }
    fraSetting->setEnabled(key == u"T_Setting");

    if (key == u"T_Month") {
        BuildEntryColumns(lvwMonth);
        LoadMonthFile();
        enableMonthTabCommands(true);
    } else if (key == u"T_Year") {
        fraUnhappyMoney->setEnabled(true);
        ListViewColumnHeadersYear();
        ShowYearList();
        setMonthLabelCaption();
        const Tally& row = m_yearSummary.months[m_state.curMonth.toInt() - 1];
        cmdUnhappyMoneyIn->setEnabled(canBookExpense(row));
        txtUnhappyMoneyValue->setText(row.expenses.toText());
        cmdYearBack->setEnabled(true);
        cmdYearNext->setEnabled(true);
    } else if (key == u"T_Total") {
        ListViewColumnHeadersTotal();
        ShowTotalList();
    } else if (key == u"T_Search") {
        BuildEntryColumns(lvwSearch);
        loadSearchForm();
        RefreshTotals();
        m_searchForm->show();
        m_searchForm->raise();
    } else if (key == u"T_Setting") {
        fraUnhappyMoney->setEnabled(false);
        readSettings();
        m_state.suppressPasswordDialog = false;
        cmdSetting->setEnabled(false);
    }
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
