#pragma once

#include <QObject>

class Dialogs;
class QComboBox;

// Choice lists take no typing: only the Up and Down keys change the choice (focus keys
// still move on); every other key is refused with a beep.
class ChoiceKeyFilter : public QObject
{
    Q_OBJECT

public:
    ChoiceKeyFilter(Dialogs& dialogs, QObject* parent);
    // Installs the filter on `list` and on its pop-up, where typing would search.
    void attach(QComboBox* list);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Dialogs& m_dialogs;
};
