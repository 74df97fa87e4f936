#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QString>
#include <QWidget>

// Gives a control its name as the diary has always called it, so readers and tests can find it.
template <typename W> W* named(W* widget, const char* objectName)
{
    widget->setObjectName(QString::fromLatin1(objectName));
    return widget;
}

// A caption as it is read out: "左(&L)" as "左", "A&&B" as "A&B", "&Save" as "Save".
inline QString withoutMnemonic(QString caption)
{
    static const QRegularExpression bracketed(QStringLiteral("\\(&[^&]\\)"));
    caption.remove(bracketed);
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && i + 1 < caption.size())
            ++i;
        text += caption.at(i);
    }
    return text;
}

// A caption label for `buddy`; screen readers and end-to-end checks find the control by it.
inline QLabel* captionFor(QWidget* buddy, const QString& caption, QWidget* parent = nullptr)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(withoutMnemonic(caption));
    return label;
}

// How a button's tooltip reaches screen readers: as a description beside a caption that
// says enough, or as the button's name where the caption is only arrows.
enum class ToolTipSpoken { AsDescription, AsName };

inline QPushButton* pushButton(const char* objectName, const QString& caption,
                               const QString& toolTip = QString(),
                               ToolTipSpoken spoken = ToolTipSpoken::AsDescription)
{
    auto* button = named(new QPushButton(caption), objectName);
    if (!toolTip.isEmpty()) {
        button->setToolTip(toolTip);
        if (spoken == ToolTipSpoken::AsName)
            button->setAccessibleName(toolTip);
        else
            button->setAccessibleDescription(toolTip);
    }
    return button;
}
