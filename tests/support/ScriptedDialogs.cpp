#include "ScriptedDialogs.h"

#include <QTest>

MessageAnswer ScriptedDialogs::message(const MessageBoxSpec& box)
{
    MessageAnswer answer = MessageAnswer::Ok;
    if (m_answers.isEmpty()) {
        if (box.buttons != MessageButtons::Ok) {
            unexpected = QStringLiteral("unexpected question: %1 / %2").arg(box.caption, box.text);
            QTest::qFail(qPrintable(unexpected), __FILE__, __LINE__);
            answer = MessageAnswer::Cancel;
        }
    } else {
        answer = m_answers.dequeue();
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
