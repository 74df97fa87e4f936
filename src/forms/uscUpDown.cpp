#include "forms/uscUpDown.h"

#include "core/Dialogs.h"
#include "forms/FormHelpers.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kDesignText = QStringLiteral("10");
constexpr int kMaximum = 100;

bool digitsOnly(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The rules of the box: the number to show for `text`. The box holds digits only; a sign
// or a blank (which the number conversion would pass over) makes it no number.
QString ruledText(const QString& text)
{
    if (text.isEmpty() || !digitsOnly(text))
        return kDesignText;
    const short number = text.toShort();
    if (number > kMaximum)
        return QString::number(kMaximum);
    return text;
}

QToolButton* spinHalf(Qt::ArrowType arrow, const char* name, const QString& spoken)
{
    auto* button = named(new QToolButton, name);
    button->setAccessibleName(spoken);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(16, 11);
    return button;
}

} // namespace

uscUpDown::uscUpDown(Dialogs& dialogs, QWidget* parent) : QWidget(parent), m_dialogs(dialogs)
{
    txtValue = named(new QLineEdit(kDesignText), "txtValue");
    txtValue->setMaxLength(3);
    txtValue->setAttribute(Qt::WA_InputMethodEnabled, false);
    txtValue->setAlignment(Qt::AlignRight);
    txtValue->setFixedWidth(txtValue->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    txtValue->installEventFilter(this);
    connect(txtValue, &QLineEdit::textChanged, this, [this] {
        applyRules();
        emit valueChanged();
    });

    updValue = named(new QWidget, "updValue");
    m_up = spinHalf(Qt::UpArrow, "updValueUp", QStringLiteral("増やす"));
    m_down = spinHalf(Qt::DownArrow, "updValueDown", QStringLiteral("減らす"));
    auto* spin = new QVBoxLayout(updValue);
    spin->setContentsMargins(0, 0, 0, 0);
    spin->setSpacing(0);
    spin->addWidget(m_up);
    spin->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(txtValue);
    row->addWidget(updValue);
    setFocusProxy(txtValue);
}

QString uscUpDown::Value() const
{
    bool ok = false;
    const short number = txtValue->text().toShort(&ok);
    return ok ? QString::number(number) : kDesignText;
}

void uscUpDown::setValue(const QString& text)
{
    bool ok = false;
    const short number = text.toShort(&ok);
    txtValue->setText(ok ? QString::number(number) : kDesignText);
}

void uscUpDown::LSSetEnabled(bool enabled)
{
    txtValue->setEnabled(enabled);
    updValue->setEnabled(enabled);
}

void uscUpDown::step(int delta)
{
    const int next = std::clamp(Value().toInt() + delta, 0, kMaximum);
    txtValue->setText(QString::number(next));
}

void uscUpDown::applyRules()
{
    const QString ruled = ruledText(txtValue->text());
    if (ruled != txtValue->text())
        txtValue->setText(ruled); // comes back here once with a text the rules keep
}

bool uscUpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtValue && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            step(key->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
        const QString text = key->text();
        const bool shortcut = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
        // Codes 32 to 47 and above 57 are refused, full-width digits with them.
        if (text.size() == 1 && text.at(0).unicode() >= 32 && !shortcut &&
            !(text.at(0).unicode() >= '0' && text.at(0).unicode() <= '9')) {
            m_dialogs.beep();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
