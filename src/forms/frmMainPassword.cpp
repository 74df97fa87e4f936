// The start password on the main window's side: the login while starting up and the
// settings tab's check box. Changes stay in memory until the settings are applied.
#include "forms/frmMain.h"

#include "forms/frmStartPassword.h"

#include <QCheckBox>
#include <QPushButton>

bool frmMain::StartPasswordLogin()
{
    if (m_loginPrompt)
        return m_loginPrompt();
    frmStartPassword form(frmStartPassword::Mode::Login, m_state.settings.startPasswordText,
                          m_context.dialogs, this);
    return form.exec() == QDialog::Accepted;
}

void frmMain::chkStartPassword_Click()
{
    const auto afterwards = [this] {
        m_state.suppressPasswordDialog = false;
        cmdSetting->setEnabled(true);
    };
    if (m_state.suppressPasswordDialog) {
        afterwards();
        return;
    }
    // The box has already changed: on means switching the lock on, off switching it off.
    const bool switchingOn = chkStartPassword->isChecked();
    auto* form = new frmStartPassword(switchingOn ? frmStartPassword::Mode::Set
                                                  : frmStartPassword::Mode::Release,
                                      m_state.settings.startPasswordText, m_context.dialogs, this);
    form->setAttribute(Qt::WA_DeleteOnClose);
    connect(form, &QDialog::finished, this, [this, form, switchingOn, afterwards](int result) {
        if (result == QDialog::Accepted) {
            m_state.settings.startPasswordText = form->password();
        } else {
            // Cancel, Escape or the window's close command: the box goes back.
            m_state.suppressPasswordDialog = true;
            chkStartPassword->setChecked(!switchingOn);
            if (switchingOn)
                m_state.settings.startPasswordText.clear();
        }
        m_state.settings.startPassword = chkStartPassword->isChecked();
        afterwards();
    });
    form->open();
}
