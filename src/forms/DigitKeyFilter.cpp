#include "forms/DigitKeyFilter.h"

#include "core/Dialogs.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

DigitKeyFilter::DigitKeyFilter(Dialogs& dialogs, QObject* parent)
    : QObject(parent), m_dialogs(dialogs)
{}

void DigitKeyFilter::attach(QLineEdit* box)
{
    box->installEventFilter(this);
    // Pasted text is held to digits as well.
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    connect(box, &QLineEdit::textChanged, box, [box](const QString& text) {
        if (text.isEmpty())
            box->setText(QStringLiteral("0"));
    });
}

bool DigitKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        // Printable characters other than digits: codes 32 to 47 and above 57.
        if (text.size() == 1 && text.at(0).unicode() >= 32 && !text.at(0).isDigit() &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            m_dialogs.beep();
            return true;
        }
        if (text.size() == 1 && text.at(0).isDigit() && text.at(0).unicode() > 127) {
            m_dialogs.beep(); // full-width digits are not numbers here
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
