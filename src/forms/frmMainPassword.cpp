// The start password's login while starting up.
#include "forms/frmMain.h"

#include "forms/frmStartPassword.h"

bool frmMain::StartPasswordLogin()
{
    if (m_loginPrompt)
        return m_loginPrompt();
    frmStartPassword form(frmStartPassword::Mode::Login, m_state.settings.startPasswordText,
                          m_context.dialogs, this);
    return form.exec() == QDialog::Accepted;
}
