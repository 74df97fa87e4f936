#pragma once

#include <QWidget>

class Dialogs;
class QLineEdit;
class QToolButton;

// A number from 0 to 100 held as the text of a small box, with a spin button beside it.
// The box keeps a text the rules accept, digits only: empty or anything else shows "10",
// above 100 shows "100". Typed letters and signs beep and are not inserted.
class uscUpDown : public QWidget
{
    Q_OBJECT

public:
    uscUpDown(Dialogs& dialogs, QWidget* parent = nullptr);

    // The number without leading zeros.
    QString Value() const;
    // Takes the text through the same rules as typing; "abc" shows "10", "007" shows "7".
    void setValue(const QString& text);
    void LSSetEnabled(bool enabled);
    // One step of the spin button, kept within 0 to 100.
    void step(int delta);

    QLineEdit* textBox() const { return txtValue; }

signals:
    void valueChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyRules();

    Dialogs& m_dialogs;
    QLineEdit* txtValue = nullptr;
    QWidget* updValue = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
};
