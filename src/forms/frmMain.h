#pragma once

#include "core/AppContext.h"
#include "diary/Commands.h"
#include "diary/ImportRegistration.h"
#include "diary/MonthNavigation.h"
#include "diary/ShownMonth.h"
#include "diary/Summaries.h"
#include "diary/Tally.h"
#include "forms/ColumnSort.h"
#include "forms/EntryFormHost.h"
#include "forms/MainParts.h"
#include "forms/MainState.h"
#include "forms/SearchHost.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class EntryTableModel;
class Printers;
namespace listexport {
struct ExportInput;
}
class frmDataInput;
class frmDataSearch;
class frmChart;
class QCheckBox;
class QDateEdit;
class QFrame;
class DigitKeyFilter;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class SettingsPage;
class StatisticsPanel;

// The address an entry's page opens at: entries taken from the site (ID other than "0")
// open the site's pick-up page instead of a category page.
QString siteAddressFor(const QString& url, const QString& id);

// The diary's main window: one tab strip over the month, year, total, search, settings and
// about pages, the statistics panel, the command buttons and the month navigation.

class frmMain : public QWidget, public EntryFormHost, public SearchHost
{
    Q_OBJECT

public:
    explicit frmMain(const AppContext& context, QWidget* parent = nullptr);
    ~frmMain() override;

    // The load step: folders, settings, first-start question, window level, current month.
    // Returns false when start-up must end without showing the window.
    bool Form_Load();

    EntryTableModel* monthModel() const { return m_monthModel; }
    // The month on show; the month list mirrors it.
    ShownMonth& shownMonth() { return *m_month; }
    // Makes `day` the day on show and loads its month.
    void showMonthOf(const QDate& day);
    EntryTableModel* searchModel() const { return m_searchModel; }

    // The entry form's view of this window.
    const AppContext& context() const override { return m_context; }
    const Settings& settings() const override { return m_state.settings; }
    int entryCount() const override;
    EntryRecord entryAt(int row) const override;
    QDate shownDate() const override;
    EditOutcome finishEdit(const EntryRecord& entry, int row) override;
    void entryFormClosed() override;
    void OpenSiteUrl(const QString& url, const QString& id) override;
    void OpenDocument(const QString& path) override;
    void showHelp(HelpTopic topic) override;
    QWidget* mainWidget() override { return this; }
    EntryTableModel& searchList() override { return *m_searchModel; }
    // Recounts the list on show and fills the statistics panel.
    void RefreshTotals() override;

    Tab currentTab() const;
    // Enables every command by the one rule, from the tab, the selection, the lists, the
    // month's readability and a running search. Called after every change that can affect it.
    void updateCommands();
    MainState& state() { return m_state; }
    // Loads the month of the day on show (the date picker) into the month list. A file that
    // cannot be read is told at once, unless the caller lists it in its own box.
    void LoadMonthFile(bool reportUnreadable = true);
    // Writes the month on show to its own file. False (with a message to the user) when it
    // was not written; the list then shows again what the file holds.
    bool SaveMonthFile();
    // Sorts the month on show by key date and ID when that option is on.
    void SortMonthList();

    // The search form's view of this window (the shared members above serve it too).
    Tally refreshTotalTally() override;
    void setSearchRunning(bool running) override;
    void clearStatisticsPanel() override;
    void searchFormClosed() override;
    void cmdSimekiri_Click() override;

    static QString VersionText();

    // Writes the list chosen by the last save (the path in m_outputFileName) as CSV or HTML. False
    // when nothing was written; the user has been told why.
    bool Output();
    // The cells of a list and the statistics panel, as saving and printing take them.
    listexport::ExportInput listInput(const QTableView* list) const;

    // Asks for the start password while starting; false ends the program.
    void setLoginPrompt(std::function<bool()> prompt);
    // The printers the print dialog offers; the desktop's own unless set.
    void setPrinters(std::shared_ptr<Printers> printers) { m_printers = std::move(printers); }
    void cmdShortcut_Click();
    // The settings tab's 適用.
    void cmdSetting_Click();
    // Ends the program at once, without the end sequence (which would store the settings).
    void endWithoutSaving();
    // The month and search lists take the key date and column widths of the settings tab.
    void rebuildEntryLists();

public slots:
    void cmdEnd_Click();
    void tabMain_Click();
    void cmdMonthBack_Click();
    void cmdMonthNext_Click();
    void cmdYearBack_Click();
    void cmdYearNext_Click();
    void dtpDate_Change();
    void cmdUnhappyMoneyIn_Click();
    void cmdDelete_Click();
    void cmdAllDelete_Click();
    void DeleteSelectedEntries();
    void cmdURL_Click();
    void cmdInput_Click();
    void cmdCsvInput_Click();
    void cmdHelp_Click();
    void cmdUserInput_Click();
    void cmdNewInput_Click();
    void cmdHensyu_Click();
    void cmdBackUp_Click();
    void cmdRestore_Click();
    void cmdSave_Click();
    // The chart window of the year tab, or of the total tab.
    void openChart(bool total);
    void cmdPrint_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    QWidget* buildMonthPage();
    QWidget* buildYearPage();
    QWidget* buildTotalPage();
    QWidget* buildSearchPage();
    QWidget* buildAboutPage();
    QWidget* buildCommandBar();

    void setCurrentDate(const QDate& date);
    void connectShownMonth();
    void afterMonthRead(bool reportUnreadable = true);
    // Tells the user why a save failed; false when it did not fail.
    bool reportFailedSave(const MonthSave& save);
    // Hooks of the month road: after a load (expenses of the month) and after a save
    // (year and total summaries, target check).
    void monthLoaded();
    bool monthSaved();
    // Start-up, after the login: finishes the saves a crash cut short.
    void finishSummaryUnits();

    void connectEvents();
    void connectShellCommands();
    void connectBackupCommands();
    // Entry form commands: new entry, edit, double click and the Enter and Delete keys.
    void connectEntryCommands();
    bool entryListKeyDown(QTableView* view, int key);
    bool summaryListKeyDown(int key);
    frmDataInput* entryForm();
    void emptiedMonth();
    bool removeYearFromTotal(const QString& year);
    void afterYearFolderRemoved(const QString& year);
    // Tells that a file or folder of the data could not be deleted ("" tells nothing).
    void reportNotRemoved(const QString& path);
    // Removes rows (0-based) of the month on show and saves or tidies the month.
    void removeMonthRows(QList<int> rows);
    // After rows left the month on show and it was saved: the summaries, or the tidy-up
    // of a month that became empty.
    void afterRowsRemoved();
    // The edits of the entry form: in place, to another month, or as a new entry.
    EditOutcome updateInPlace(const EntryRecord& entry, int row);
    EditOutcome moveToOtherMonth(const EntryRecord& entry, int row);
    EditOutcome appendEntry(const EntryRecord& entry);
    // A refused change of a month that could not be read; says why.
    bool monthWritable();
    // Sorts and saves the month on show.
    bool commitMonth();
    // Ends the selection state: edit, home page and delete wait for the next pick.
    void disableEntryCommands();
    // The same after a delete, which also ends the expense booking and the picked rows of
    // the year and total lists.
    void endDeleteSelection();
    void BuildEntryColumns(QTableView* view);
    void sortByHeader(QTableView* view, int column);
    void ListViewColumnHeadersYear();
    void ListViewColumnHeadersTotal();
    void ShowYearList();
    void ShowTotalList();
    void fillSummaryList(QStandardItemModel* model, const QList<SummaryListRow>& rows);
    bool UpdateYearSummary(const QDate& month, const Tally& monthTally);
    // The year and month in focus: the date picker's, which the year and total rows move.
    QString focusYear() const;
    QString focusMonth() const;
    void setMonthLabelCaption();
    // The login while starting up: the installed prompt, else the password window.
    bool StartPasswordLogin();
    void lvwYear_ItemClick(int row);
    void lvwTotal_ItemClick(int row);
    // A click or keys picked rows of the month or search list.
    void entryListPicked(QTableView* view);
    // The row of a list when exactly one is selected.
    static std::optional<int> soleSelectedRow(const QTableView* view);
    // The entry that edit and home page act on: the one selected row of the tab's list, once
    // picked; none while several or no rows are selected.
    std::optional<int> entryCommandRow() const;
    ShownDay shownDay() const;
    void stepShownMonth(int delta);
    void stepShownYear(int delta);
    void showDay(const ShownDay& day);
    void applyEntryColumnWidths(QTableView* view);
    // Loads the search form unless it is loaded, with today's dates and the key date's row on top.
    void loadSearchForm();
    void unloadSearchForm();
    // Registers imported rows month by month, then shows `start`'s month again.
    ImportOutcome registerImport(const QList<EntryRecord>& rows, const QDate& start);
    // Entries whose deadline is coming up: read, shown in the search list, announced at start.
    QList<EntryRecord> scanOpenDeadlines(bool reportUnreadable);
    void showDeadlineList(QList<EntryRecord> entries);
    void noticeDeadlinesAtStart();
    // Redraws the chart window, if open, from the rows the tabs now hold.
    void refreshChart();

    const AppContext m_context;
    MainState m_state;
    MainParts m_parts;
    ShownMonth* m_month = nullptr;
    bool m_expenseEnded = false;
    bool m_ended = false;
    Tally m_monthTally;
    Tally m_yearTally;
    Tally m_totalTally;
    Tally m_searchTally;
    Tally m_shownTally;
    YearSummary m_yearSummary;
    SortToggle m_monthSort;
    SortToggle m_searchSort;
    std::function<bool()> m_loginPrompt;
    QPointer<frmDataInput> m_entryForm;
    QPointer<frmDataSearch> m_searchForm;
    QPointer<frmChart> m_chart;
    // The rows of the total list as last read, for the chart.
    QList<TotalRow> m_totalRows;
    Qt::MouseButton m_lastMouseButton = Qt::NoButton;
    // The path chosen in the last save dialog, offered again the next time.
    QString m_outputFileName;
    // The list the last save chose by its tab.
    QTableView* m_outputList = nullptr;
    std::shared_ptr<Printers> m_printers;

    // Controls; each also carries its name as its objectName.
    QTabWidget* tabMain = nullptr;
    QTableView* lvwMonth = nullptr;
    QTableView* lvwYear = nullptr;
    QTableView* lvwTotal = nullptr;
    QTableView* lvwSearch = nullptr;
    EntryTableModel* m_monthModel = nullptr;
    EntryTableModel* m_searchModel = nullptr;
    QStandardItemModel* m_yearModel = nullptr;
    QStandardItemModel* m_totalModel = nullptr;
    QFrame* fraLabel = nullptr;
    QLabel* lblSyo = nullptr;
    QLabel* lblTyu = nullptr;
    QLabel* lblDai = nullptr;
    QLabel* lblDay = nullptr;
    QLabel* lblVersion = nullptr;
    QGroupBox* fraUnhappyMoney = nullptr;
    QLabel* lblMonth = nullptr;
    QLineEdit* txtUnhappyMoneyValue = nullptr;
    QPushButton* cmdUnhappyMoneyIn = nullptr;
    QPushButton* cmdYearGraph = nullptr;
    QPushButton* cmdTotalGraph = nullptr;
    DigitKeyFilter* m_digitFilter = nullptr;
    StatisticsPanel* m_panel = nullptr;
    SettingsPage* m_settingsPage = nullptr;
    QPushButton* cmdHensyu = nullptr;
    QPushButton* cmdInput = nullptr;
    QPushButton* cmdCsvInput = nullptr;
    QPushButton* cmdNewInput = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdAllDelete = nullptr;
    QPushButton* cmdURL = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdBackUp = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdYearBack = nullptr;
    QPushButton* cmdMonthBack = nullptr;
    QPushButton* cmdMonthNext = nullptr;
    QPushButton* cmdYearNext = nullptr;
    QDateEdit* dtpDate = nullptr;
    QProgressBar* prgShinko = nullptr;
    QPushButton* cmdEnd = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdUserInput = nullptr;
    QPushButton* cmdShortcut = nullptr;
    QPushButton* cmdZumiraHomepage = nullptr;
    QPushButton* cmdZumiraMail = nullptr;
    QPushButton* cmdMyHomepage = nullptr;
    QPushButton* cmdMyMail = nullptr;
};
