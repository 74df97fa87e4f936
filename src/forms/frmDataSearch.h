#pragma once

#include "diary/SearchCriteria.h"

#include <QWidget>
#include <chrono>

class ChoiceKeyFilter;
class DigitKeyFilter;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class SearchHost;

// The search form "懸賞情報検索フォーム": criteria over every field of an entry, run over all
// month files; the matches go to the main window's search list. Modeless, beside the main
// window while its search tab is selected; deletes itself when closed.
class frmDataSearch : public QWidget
{
    Q_OBJECT

public:
    // `parent` is the main window; the form is a window of its own above it.
    frmDataSearch(SearchHost& host, QWidget* parent);
    ~frmDataSearch() override;

    // Takes the window level of "常に手前に表示する" from the main window.
    void Form_Load();
    // The six date pickers to `day` (each tab switch to the search tab does this).
    void setAllDates(const QDate& day);
    // The key date's row goes to the top, the other date's row further down.
    void arrangeDateRows(bool keyIsEndDay);

    bool searching() const { return m_searching; }
    // The criteria as the controls hold them; reversed bounds are exchanged in the
    // controls first (as a search does).
    SearchCriteria criteriaFromControls();

    // How often a running search updates the progress bar and lets window events run.
    void setProgressInterval(std::chrono::milliseconds interval) { m_progressInterval = interval; }

public slots:
    void cmdSearch_Click();
    void cmdNewSearch_Click();
    // Stops a running search; otherwise closes the form.
    void cmdClose_Click();
    void cmdHelp_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildUi();
    void connectEvents();
    // Exchanges reversed bounds in the controls, as a search shows them.
    void exchangeReversedBounds();
    void setSearchingState(bool searching);

    SearchHost& m_host;
    bool m_searching = false;
    bool m_stopRequested = false;
    bool m_closed = false;
    std::chrono::milliseconds m_progressInterval{50};

    QGridLayout* m_grid = nullptr;
    QWidget* m_criteria = nullptr;
    DigitKeyFilter* m_digitFilter = nullptr;
    ChoiceKeyFilter* m_choiceFilter = nullptr;

    // Controls, each also carrying its name as its objectName.
    QCheckBox* chkEndDay = nullptr;
    QDateEdit* dtpEndDayBefore = nullptr;
    QDateEdit* dtpEndDayAfter = nullptr;
    QCheckBox* chkNowDay = nullptr;
    QDateEdit* dtpNowDayBefore = nullptr;
    QDateEdit* dtpNowDayAfter = nullptr;
    QCheckBox* chkHappyDay = nullptr;
    QDateEdit* dtpHappyDayBefore = nullptr;
    QDateEdit* dtpHappyDayAfter = nullptr;
    QCheckBox* chkID = nullptr;
    QLineEdit* txtIDDown = nullptr;
    QLineEdit* txtIDUp = nullptr;
    QCheckBox* chkHappyMoney = nullptr;
    QLineEdit* txtHappyMoneyDown = nullptr;
    QLineEdit* txtHappyMoneyUp = nullptr;
    QCheckBox* chkNumber = nullptr;
    QLineEdit* txtNumberDown = nullptr;
    QLineEdit* txtNumberUp = nullptr;
    QLineEdit* txtSite = nullptr;
    QLineEdit* txtURL = nullptr;
    QLineEdit* txtPresent = nullptr;
    QLineEdit* txtMsg = nullptr;
    QLineEdit* txtSnap = nullptr;
    QComboBox* cboGenre = nullptr;
    QComboBox* cboKekka = nullptr;
    QComboBox* cboOboKeishiki = nullptr;
    QComboBox* cboSenkoWay = nullptr;
    QComboBox* cboCycle = nullptr;
    QComboBox* cboOboWay = nullptr;
    QCheckBox* chkBigAndSmall = nullptr;
    QPushButton* cmdSearch = nullptr;
    QPushButton* cmdNewSearch = nullptr;
    QPushButton* cmdSimekiri = nullptr;
    QPushButton* cmdCalendar = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdHelp = nullptr;
    QProgressBar* prgShinko = nullptr;
};
