#pragma once

#include "core/AppContext.h"
#include "diary/Commands.h"
#include "diary/Export.h"
#include "forms/MainParts.h"
#include "forms/MainState.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class EntryTableModel;
class MainPage;
class MonthPage;
class Printers;
class SearchPage;
class SettingsPage;
class ShownMonth;
class StatisticsPanel;
class TotalPage;
class YearPage;
class QDateEdit;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;

// The address an entry's page opens at: entries taken from the site (ID other than "0")
// open the site's pick-up page instead of a category page.
QString siteAddressFor(const QString& url, const QString& id);

// The diary's main window: the frame around the month, year, total, search, settings and
// about pages, with the statistics panel, the command buttons and the month navigation.
// Each page owns its list and handlers; the frame switches tabs, loads, closes and enables
// the commands by the one rule.
class frmMain : public QWidget
{
    Q_OBJECT

public:
    explicit frmMain(const AppContext& context, QWidget* parent = nullptr);
    ~frmMain() override;

    // The load step: folders, settings, first-start question, window level, current month.
    // Returns false when start-up must end without showing the window.
    bool Form_Load();

    MainState& state() { return m_state; }
    MonthPage& monthPage() { return *m_parts.month; }
    SearchPage& searchPage() { return *m_parts.search; }
    SettingsPage& settingsPage() { return *m_parts.settings; }
    // The month on show and the lists' models (the month list mirrors the month).
    ShownMonth& shownMonth();
    EntryTableModel* monthModel() const;
    EntryTableModel* searchModel() const;
    QDate shownDate() const;

    Tab currentTab() const;
    // Enables every command by the one rule, from the tab, the page on show, the month's
    // readability and a running search. Called after every change that can affect it.
    void updateCommands();
    // Recounts the list on show and fills the statistics panel.
    void RefreshTotals();

    static QString VersionText();

    // Asks for the start password while starting; false ends the program.
    void setLoginPrompt(std::function<bool()> prompt);
    // The printers the print dialog offers; the desktop's own unless set.
    void setPrinters(std::shared_ptr<Printers> printers) { m_printers = std::move(printers); }
    void cmdShortcut_Click();
    // Ends the program at once, without the end sequence (which would store the settings).
    void endWithoutSaving();

public slots:
    void cmdEnd_Click();
    void tabMain_Click();
    void cmdMonthBack_Click();
    void cmdMonthNext_Click();
    void cmdYearBack_Click();
    void cmdYearNext_Click();
    void dtpDate_Change();
    void cmdDelete_Click();
    void cmdAllDelete_Click();
    void DeleteSelectedEntries();
    void cmdHelp_Click();
    void cmdUserInput_Click();
    void cmdBackUp_Click();
    void cmdRestore_Click();
    void cmdSave_Click();
    void cmdPrint_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildUi();
    void buildAboutPage(QWidget* page);
    QWidget* buildCommandBar();
    void connectEvents();
    MainPage* currentPage() const;
    // The login while starting up: the installed prompt, else the password window.
    bool StartPasswordLogin();
    // One month or one year back or forward from the day on show.
    void stepShownDay(bool byYear, int delta);
    // The list on show as saving and printing take it, with the panel's figures.
    std::optional<listexport::ExportInput> exportInput() const;

    const AppContext m_context;
    MainState m_state;
    MainParts m_parts;
    bool m_ended = false;
    std::function<bool()> m_loginPrompt;
    // The path chosen in the last save dialog, offered again the next time.
    QString m_outputFileName;
    std::shared_ptr<Printers> m_printers;
    // The pages by tab, in the order of the tab strip.
    std::array<MainPage*, 6> m_pages{};

    // Controls; each also carries its name as its objectName.
    QTabWidget* tabMain = nullptr;
    QLabel* lblVersion = nullptr;
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
