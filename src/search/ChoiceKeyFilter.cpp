#include "ChoiceKeyFilter.h"

#include "core/Dialogs.h"

#include <QKeyEvent>

ChoiceKeyFilter::ChoiceKeyFilter(Dialogs& dialogs, QObject* parent) : QObject(parent), m_dialogs(dialogs) {}

bool ChoiceKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool plain = !(key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier));
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (plain)
            return false;
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    const QString text = key->text();
    if (plain && !text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127)
        m_dialogs.beep();
    return true;
}
