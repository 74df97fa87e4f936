#pragma once

#include "profile/UserProfile.h"

#include <QDialog>

#include <map>

class Dialogs;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The profile editor: every field of "user.dat" in one form, checked before it is saved.
class frmUserProfile : public QDialog
{
    Q_OBJECT

public:
    // `topMost` gives the editor the same stacking as the assistant's window.
    frmUserProfile(const QString& profilePath, bool topMost, Dialogs& dialogs,
                   QWidget* parent = nullptr);

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    QLineEdit* addBox(ProfileKey key, const QString& objectName, int maxLength, bool inputMethod,
                      const QString& toolTip, const QString& accessibleName);
    void clearBoxes();

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
};
