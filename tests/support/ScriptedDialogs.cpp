#include "ScriptedDialogs.h"

#include <QTest>

namespace {

bool hasButton(MessageButtons buttons, MessageAnswer answer)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return answer == MessageAnswer::Ok;
    case MessageButtons::OkCancel:
        return answer == MessageAnswer::Ok || answer == MessageAnswer::Cancel;
    case MessageButtons::YesNo:
        return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
    case MessageButtons::YesNoCancel:
        return answer != MessageAnswer::Ok;
    }
    return false;
}

} // namespace

MessageAnswer ScriptedDialogs::message(const MessageBoxSpec& box)
{
    MessageAnswer answer;
    if (m_answers.isEmpty()) {
        // Plain OK boxes too: an error box nobody expected is a failure, not a formality.
        unexpected = QStringLiteral("unexpected box: %1 / %2").arg(box.caption, box.text);
        QTest::qFail(qPrintable(unexpected), __FILE__, __LINE__);
        answer = box.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    } else {
        answer = m_answers.dequeue();
        if (!hasButton(box.buttons, answer)) {
            unexpected = QStringLiteral("box without the queued answer's button: %1 / %2")
                             .arg(box.caption, box.text);
            QTest::qFail(qPrintable(unexpected), __FILE__, __LINE__);
        }
    }
    shown.append({box, answer});
    return answer;
}

QString ScriptedDialogs::saveFileName(const FileDialogSpec& spec)
{
    fileDialogs.append(spec);
    if (m_fileNames.isEmpty()) {
        unexpected = QStringLiteral("unexpected save dialog: %1").arg(spec.caption);
        QTest::qFail(qPrintable(unexpected), __FILE__, __LINE__);
        return QString();
    }
    return m_fileNames.dequeue();
}

QString ScriptedDialogs::openFileName(const FileDialogSpec& spec)
{
    fileDialogs.append(spec);
    if (m_fileNames.isEmpty()) {
        unexpected = QStringLiteral("unexpected open dialog: %1").arg(spec.caption);
        QTest::qFail(qPrintable(unexpected), __FILE__, __LINE__);
        return QString();
    }
    return m_fileNames.dequeue();
}

QString ScriptedDialogs::folderName(const QString& prompt, const QString&)
{
    folderPrompts.append(prompt);
    if (m_folders.isEmpty()) {
        unexpected = QStringLiteral("unexpected folder dialog: %1").arg(prompt);
        QTest::qFail(qPrintable(unexpected), __FILE__, __LINE__);
        return QString();
    }
    return m_folders.dequeue();
}

ShellResult ScriptedDialogs::openUrl(const QString& url)
{
    openedUrls.append(url);
    return openResult;
}

bool ScriptedDialogs::startDetached(const QString& program, const QStringList& arguments)
{
    started.append(QStringList{program} + arguments);
    return shellSucceeds;
}
