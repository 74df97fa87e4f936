#include "assistant/frmZumikey.h"

#include "core/Clock.h"
#include "core/DamagedFile.h"
#include "core/Dialogs.h"
#include "profile/Household.h"

#include <QComboBox>
#include <QSignalBlocker>

void frmZumikey::loadPersonChoice()
{
    const QString path = m_paths.personChoicePath();
    StoredFile file;
    m_person = loadChosenPerson(path, &file);
    m_personChoiceLocked = !settleStoredFile(path, file, m_clock.today(), m_dialogs);
    fillPersonChoice();
    // A damaged file kept aside is replaced at once, so that it is reported only once.
    if (file.condition == FileCondition::Damaged && !m_personChoiceLocked)
        rememberPerson();
}

void frmZumikey::fillPersonChoice()
{
    const QList<Person> household = loadHousehold(m_paths);
    const QSignalBlocker quiet(cboPerson);
    cboPerson->clear();
    int shown = 0; // a person whose file went away gives way to the first
    for (const Person& p : household) {
        if (p.number == m_person)
            shown = static_cast<int>(cboPerson->count());
        cboPerson->addItem(p.label, p.number);
    }
    cboPerson->setCurrentIndex(shown);
    m_person = cboPerson->itemData(shown).toInt();
}

void frmZumikey::cboPerson_Activated(int index)
{
    const int person = cboPerson->itemData(index).toInt();
    if (person == m_person)
        return;
    m_person = person;
    rememberPerson();
    LoadUserProfile();
    UpdateFieldButtons();
}

void frmZumikey::rememberPerson()
{
    // A choice file that could not be read is never written over; the choice holds this run.
    if (m_personChoiceLocked)
        return;
    const QString error = saveChosenPerson(m_paths.personChoicePath(), m_person);
    if (!error.isEmpty())
        m_dialogs.message({QStringLiteral("選んだ人を保存できませんでした。\r\n") + error,
                           QStringLiteral("保存エラー"), MessageIcon::Critical,
                           MessageButtons::Ok});
}
