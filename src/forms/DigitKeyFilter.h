#pragma once

#include <QObject>

class Dialogs;
class QLineEdit;

// Number boxes take digits and control keys only; anything else is refused with a beep.
// An emptied box shows "0".
class DigitKeyFilter : public QObject
{
    Q_OBJECT

public:
    DigitKeyFilter(Dialogs& dialogs, QObject* parent);
    // Installs the filter on `box` and keeps it from ever being empty.
    void attach(QLineEdit* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Dialogs& m_dialogs;
};
