#pragma once

#include "diary/EntryRecord.h"
#include "forms/RunningHandlers.h"

#include <QWidget>
#include <optional>

class ChoiceKeyFilter;
class DigitKeyFilter;
class EntryFormHost;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

// The entry form "懸賞情報編集フォーム": types a new contest entry, or changes the entry
// selected in the month or search list and steps through that list; attaches a picture
// and opens the entry's page. It is shown modeless while the main window is disabled.
class frmDataInput : public QWidget
{
    Q_OBJECT

public:
    explicit frmDataInput(EntryFormHost& host);
    ~frmDataInput() override;

    // "手動登録": an empty form whose "更新" appends a new entry, and goes on appending.
    void OpenForNewEntry();
    // Shows row `row` (0-based) of the list the form was opened from.
    void OpenEntryForEdit(int row);
    // Fills the form from the active row of that list.
    void ShowEntryInForm();

    QString picturePath() const { return m_picturePath; }

public slots:
    void cmdKoshin_Click();
    void cmdClose_Click();
    void cmdTopRecord_Click();
    void cmdBackRecord_Click();
    void cmdNextRecord_Click();
    void cmdEndRecord_Click();
    void cmdHelp_Click();
    void cmdHensyuURL_Click();
    void cmdPicIn_Click();
    void cmdPicOut_Click();
    void imgPicView_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Step { First, Back, Next, Last };

    void buildUi();
    void connectEvents();
    void Form_Load();
    void Form_Unload();

    bool keyIsEndDay() const;
    QDateEdit* keyDatePicker() const;
    // The key date's row leads the form and the tab order; the other date sits lower.
    void arrangeDateRows();
    void setTabOrderByKey();
    // Label colours: blue for a field the user may change, red for a locked one.
    void setFieldEditable(QLabel* label, QWidget* field, bool editable);
    void setMainWindowEnabled(bool enabled);
    void setStepButtonsEnabled(bool enabled);

    void changed();
    void cboNumber_Click();
    void chkHappyDay_Click();
    void txtURL_Change();
    void stepTo(Step step);

    // Pictures.
    void showPicture();
    // Loads m_picturePath; on failure reports it and leaves the error text in its place.
    bool loadPicture();
    void clearPicture();
    void updatePictureCursor();

    // The entry as the form would store it. "全員" resets the count box to "0".
    EntryRecord entryFromForm();
    QString winnersToStore() const;
    // Refuses text that code page 932 cannot hold, naming the field.
    bool textsCanBeStored();

    EntryFormHost& m_host;
    RunningHandlers m_handlers;
    int m_activeRow = -1; // -1 while the form takes a new entry
    bool m_showFormOnLoad = true;
    bool m_unloaded = false;
    QString m_picturePath;
    QString m_pictureErrorText;
    // The winners text as loaded, kept on save while the user leaves the winners alone.
    std::optional<QString> m_loadedWinners;
    bool m_winnersEdited = false;

    ChoiceKeyFilter* m_choiceFilter = nullptr;
    DigitKeyFilter* m_digitFilter = nullptr;
    QGridLayout* m_fieldGrid = nullptr;

    // Controls, each also carrying its name as its objectName.
    QLabel* lblEndDay = nullptr;
    QDateEdit* dtpEndDay = nullptr;
    QLabel* lblNowDay = nullptr;
    QDateEdit* dtpNowDay = nullptr;
    QLabel* lblID = nullptr;
    QLineEdit* txtID = nullptr;
    QLabel* lblSite = nullptr;
    QLineEdit* txtSite = nullptr;
    QLabel* lblURL = nullptr;
    QLineEdit* txtURL = nullptr;
    QPushButton* cmdHensyuURL = nullptr;
    QLabel* lblGenre = nullptr;
    QComboBox* cboGenre = nullptr;
    QLabel* lblPresent = nullptr;
    QLineEdit* txtPresent = nullptr;
    QLabel* lblKekka = nullptr;
    QComboBox* cboKekka = nullptr;
    QLabel* lblNote = nullptr;
    QLabel* lblHappyMoney = nullptr;
    QLineEdit* txtHappyMoney = nullptr;
    QLabel* lblNumber = nullptr;
    QLineEdit* txtNumber = nullptr;
    QComboBox* cboNumber = nullptr;
    QCheckBox* chkHappyDay = nullptr;
    QDateEdit* dtpHappyDay = nullptr;
    QLabel* lblOboKeishiki = nullptr;
    QComboBox* cboOboKeishiki = nullptr;
    QLabel* lblSenkoWay = nullptr;
    QComboBox* cboSenkoWay = nullptr;
    QLabel* lblCycle = nullptr;
    QComboBox* cboCycle = nullptr;
    QLabel* lblOboWay = nullptr;
    QComboBox* cboOboWay = nullptr;
    QLabel* lblMsg = nullptr;
    QPlainTextEdit* txtMsg = nullptr;
    QStackedWidget* fraPicture = nullptr;
    QLabel* imgPicView = nullptr;
    QLabel* lblError = nullptr;
    QPushButton* cmdPicIn = nullptr;
    QPushButton* cmdPicOut = nullptr;
    QLabel* lblActiveNumber = nullptr;
    QLabel* lblMaxNumber = nullptr;
    QPushButton* cmdTopRecord = nullptr;
    QPushButton* cmdBackRecord = nullptr;
    QPushButton* cmdNextRecord = nullptr;
    QPushButton* cmdEndRecord = nullptr;
    QPushButton* cmdKoshin = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdHelp = nullptr;
};
