#pragma once

#include "core/AppPaths.h"
#include "profile/Household.h"
#include "profile/UserProfile.h"

#include <QDialog>

#include <map>

class Dialogs;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The profile editor: every field of one person's profile in one form, checked before it is
// saved. It also adds people to the household and removes them, all but the first.
class frmUserProfile : public QDialog
{
    Q_OBJECT

public:
    // Edits `person` of the household below `paths`; `topMost` gives the editor the same
    // stacking as the assistant's window.
    frmUserProfile(const AppPaths& paths, int person, bool topMost, Dialogs& dialogs,
                   QWidget* parent = nullptr);

    // The person on show, the one added or the first after a removal.
    int person() const { return m_person; }

    // The text box behind a profile key; null for the birthday and the sex.
    QLineEdit* box(ProfileKey key) const;
    // What the boxes hold now.
    UserProfile boxValues() const;

    void LoadProfileEditor();
    bool SaveUserProfile(const UserProfile& profile);

public slots:
    void cmdUserSet_Click();
    void cmdUserClear_Click();
    void cmdClose_Click();
    void cmdPersonAdd_Click();
    void cmdPersonRemove_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    QLineEdit* addBox(ProfileKey key, const QString& objectName, int maxLength, bool inputMethod,
                      const QString& toolTip, const QString& accessibleName);
    void clearBoxes();
    void showPerson(int person);

    AppPaths m_paths;
    int m_person;
    QString m_path;
    Dialogs& m_dialogs;
    std::map<ProfileKey, QLineEdit*> m_boxes;
    QList<QLineEdit*> m_digitBoxes;
    QDateEdit* dtpUserBirthday = nullptr;
    QRadioButton* optUserMan = nullptr;
    QRadioButton* optUserWoman = nullptr;
    QPushButton* cmdUserSet = nullptr;
    QPushButton* cmdUserClear = nullptr;
    QPushButton* cmdClose = nullptr;
    QLabel* lblPersonName = nullptr;
    QPushButton* cmdPersonAdd = nullptr;
    QPushButton* cmdPersonRemove = nullptr;
};
