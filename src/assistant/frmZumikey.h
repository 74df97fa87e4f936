#pragma once

#include "assistant/AssistantSettings.h"
#include "core/AppPaths.h"
#include "profile/ButtonTexts.h"
#include "profile/UserProfile.h"

#include <QSet>
#include <QWidget>

#include <array>

class BridgeServer;
class Clock;
class Dialogs;
class ForeignWindows;
class QCheckBox;
class QComboBox;
class QFrame;
class QPushButton;
class QTimer;

// The input assistant's window: one button per profile field that types the field into
// the window the user worked in last.
class frmZumikey : public QWidget
{
    Q_OBJECT

public:
    frmZumikey(const QString& programFolder, Dialogs& dialogs, const Clock& clock,
               ForeignWindows& windows, QWidget* parent = nullptr);

    // Button `index` of a row (0 the main button, 1 and up the parts; single buttons 0 only).
    QPushButton* fieldButton(FieldRow row, int index) const;
    const UserProfile& profile() const { return m_profile; }
    // The person of the household whose profile the buttons type.
    int person() const { return m_person; }
    quint64 targetWindow() const { return mlngTargetWnd; }
    const QString& userAge() const { return gstrUserAge; }
    // The settings the option controls hold now.
    AssistantSettings currentSettings() const;

    // Opens the browser bridge: listens on `bridge` and registers the host program of the
    // program folder with the browsers of `home`. Without the host program nothing is done.
    void setBrowserBridge(BridgeServer* bridge, const QString& home);

    void LoadUserProfile();
    void UpdateFieldButtons();
    void PasteToTargetWindow();

public slots:
    void cmdFormFill_Click();
    void cmdOption_Click();
    void chkFormState_Click();
    void cmdUserProfile_Click();
    void cboPerson_Activated(int index);
    void tmrCheckActiveWindow_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void Form_Load();
    void Form_Unload();
    void fieldClicked(FieldRow row, int index);
    QString textFor(FieldRow row, int index);
    void setOptionPanelOpen(bool open);
    bool browserIsTarget() const;
    bool sendToBrowser(const QString& text);
    void browserAnswered(const QJsonObject& message);
    void loadPersonChoice();
    void fillPersonChoice();
    void rememberPerson();

    AppPaths m_paths;
    Dialogs& m_dialogs;
    const Clock& m_clock;
    ForeignWindows& m_windows;

    UserProfile m_profile;
    int m_person = 1;
    QString gstrUserAge;
    quint64 mlngTargetWnd = 0;
    BridgeServer* m_bridge = nullptr;
    int m_bridgeRequest = 0;
    bool m_toldUnavailable = false;
    bool m_unloaded = false;
    // A settings file that could not be read, or a damaged one that could not be kept aside,
    // is never written over.
    bool m_settingsLocked = false;
    bool m_personChoiceLocked = false;
    QSet<QString> m_toldUnreadableProfiles;

    std::array<std::array<QPushButton*, 5>, kFieldRowCount> m_fieldButtons{};
    QComboBox* cboPerson = nullptr;
    QPushButton* cmdFormFill = nullptr;
    QPushButton* cmdUserProfile = nullptr;
    QPushButton* cmdOption = nullptr;
    QFrame* fraOption = nullptr;
    QCheckBox* chkFormState = nullptr;
    QComboBox* cboRuby = nullptr;
    QComboBox* cboKeyInputBefore = nullptr;
    QComboBox* cboKeyInputAfter = nullptr;
    QTimer* tmrCheckActiveWindow = nullptr;
};
