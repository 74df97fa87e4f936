#pragma once

#include "forms/RunningHandlers.h"

#include "core/FileCrypto.h"

#include <QDialog>

#include <memory>

class Dialogs;
class QLabel;
class QLineEdit;
class QPushButton;

// "記帳者認証": asks for the start password at start-up (login), sets a new one when the
// lock is switched on (set) and checks the old one when it is switched off (release).
// OK closes the window only with the right (or a storable, confirmed) password; Cancel,
// Escape and the window's own close command all reject it, and the caller undoes the change.
class frmStartPassword : public QDialog
{
    Q_OBJECT

public:
    enum class Mode { Login, Set, Release };

    // `currentPassword` is the password in memory; login and release compare with it.
    frmStartPassword(Mode mode, const QString& currentPassword, Dialogs& dialogs,
                     QWidget* parent = nullptr);

    Mode mode() const { return m_mode; }
    // After OK: the password to keep in memory (the new one when set, empty when released,
    // the unchanged one after a login; the typed one after a login checked against a record).
    QString password() const { return m_password; }

    // For an encrypted diary: login and release check the typed password against `record`
    // instead (the password is kept nowhere), and a login keeps the key it opens.
    void checkAgainst(const KeyRecord* record) { m_record = record; }
    std::unique_ptr<DiaryKey> takeKey();

    static constexpr int kMaxLength = 40;

    // Why a typed password cannot be kept, as told to the user; empty when it can.
    static QString refusalReason(const QString& password);

public slots:
    void cmdOk_Click();
    void cmdCancel_Click();
    // Closing waits while the window's own box is up.
    void done(int result) override;

private:
    void textChanged();
    void checkPassword();
    bool canPressOk() const;
    void refuse(const QString& text);

    bool matches(const QString& typed);

    const Mode m_mode;
    const KeyRecord* m_record = nullptr;
    std::unique_ptr<DiaryKey> m_key;
    QString m_password;
    Dialogs& m_dialogs;
    RunningHandlers m_handlers;

    QLabel* lblStartPassword = nullptr;
    QLineEdit* txtStartPassword = nullptr;
    QLabel* lblStartPasswordKakunin = nullptr;
    QLineEdit* txtStartPasswordKakunin = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
};
