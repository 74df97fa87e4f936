// The statistics panel.
#include "frmMain.h"

#include "views/EntryTableModel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

bool frmMain::chkStartPasswordChecked() const { return chkStartPassword->isChecked(); }
bool frmMain::optEndDayChecked() const { return optEndDay->isChecked(); }

void frmMain::RefreshTotals()
{
    txtTotalCount->setText(QString::number(m_monthModel->rowCount()));
}

void frmMain::monthLoaded() {}
void frmMain::monthSaved() {}
