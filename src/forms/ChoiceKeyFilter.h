#pragma once

#include <QObject>

class Dialogs;
class QComboBox;

// Choice lists take no typing: only the Up and Down keys change the choice (focus keys
// still move on); every other key is refused. Typed characters always beep; the entry
// form beeps for refused keys such as End or Page Down too, the search form does not.
class ChoiceKeyFilter : public QObject
{
    Q_OBJECT

public:
    enum class BeepOn { TypedCharacter, EveryRefusedKey };
    ChoiceKeyFilter(Dialogs& dialogs, QObject* parent, BeepOn beepOn);
    // Installs the filter on `list` and on its pop-up, where typing would search.
    void attach(QComboBox* list);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Dialogs& m_dialogs;
    BeepOn m_beepOn;
};
