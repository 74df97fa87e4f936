#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

// Gives a control the name the design documents use, so readers and tests can find it.
template <typename W> W* named(W* widget, const char* objectName)
{
    widget->setObjectName(QString::fromLatin1(objectName));
    return widget;
}

// A caption label for `buddy`; screen readers and end-to-end checks find the control by it.
inline QLabel* captionFor(QWidget* buddy, const QString& caption, QWidget* parent = nullptr)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(caption);
    return label;
}
