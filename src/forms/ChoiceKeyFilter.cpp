#include "forms/ChoiceKeyFilter.h"

#include "core/Dialogs.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>

ChoiceKeyFilter::ChoiceKeyFilter(Dialogs& dialogs, QObject* parent, BeepOn beepOn)
    : QObject(parent), m_dialogs(dialogs), m_beepOn(beepOn)
{}

void ChoiceKeyFilter::attach(QComboBox* list)
{
    list->setEditable(false);
    list->installEventFilter(this);
    list->view()->installEventFilter(this);
    list->view()->setProperty("choicePopup", true);
}

bool ChoiceKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    // Moving the focus and the modifier keys of shortcuts are not typing.
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        return false;
    default:
        break;
    }
    if (watched->property("choicePopup").toBool()) {
        // An open pop-up still needs its keys to choose or to close; only typed text,
        // which would search the items, is refused.
        const QString text = key->text();
        if (text.isEmpty() || text.at(0).unicode() < 32)
            return false;
    }
    const QString text = key->text();
    const bool typed = !text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127;
    if (typed || m_beepOn == BeepOn::EveryRefusedKey)
        m_dialogs.beep();
    return true;
}
