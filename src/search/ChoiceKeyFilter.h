#pragma once

#include <QObject>

class Dialogs;

// Choice lists are picked from, never typed into: only the Up and Down keys move the
// choice; a typed character is refused with a beep, other keys are ignored. Tab still
// moves on.
class ChoiceKeyFilter : public QObject
{
    Q_OBJECT

public:
    ChoiceKeyFilter(Dialogs& dialogs, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Dialogs& m_dialogs;
};
