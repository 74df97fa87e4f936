#pragma once

#include "core/Dialogs.h"

#include <QList>
#include <QQueue>

// The dialog seam for tests: records every box and answers from queues. A box (plain OK
// boxes included), file dialog or folder choice that no answer was queued for fails the
// running test.
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        MessageBoxSpec box;
        MessageAnswer answer;
    };

    void queueAnswer(MessageAnswer answer) { m_answers.enqueue(answer); }
    void queueFileName(const QString& name) { m_fileNames.enqueue(name); }
    void queueFolder(const QString& folder) { m_folders.enqueue(folder); }

    MessageAnswer message(const MessageBoxSpec& box) override;
    QString saveFileName(const FileDialogSpec& spec) override;
    QString openFileName(const FileDialogSpec& spec) override;
    QString folderName(const QString& prompt, const QString& startFolder) override;
    QString clipboardText() override { return clipboard; }
    void setClipboardText(const QString& text) override
    {
        if (!m_holdingClipboard)
            m_clipboardBefore = clipboard;
        clipboard = m_ourClipboard = text;
        m_holdingClipboard = true;
    }
    void restoreClipboard() override
    {
        if (m_holdingClipboard && clipboard == m_ourClipboard)
            clipboard = m_clipboardBefore;
        m_holdingClipboard = false;
    }
    ShellResult openUrl(const QString& url) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    void beep() override { ++beeps; }

    // True when every queued answer was used.
    bool allAnswersUsed() const
    {
        return m_answers.isEmpty() && m_fileNames.isEmpty() && m_folders.isEmpty();
    }
    // Forgets what was shown so far.
    void clearShown() { shown.clear(); }
    // Forgets the answers not used, so that any further box fails again.
    void dropUnusedAnswers() { m_answers.clear(); }

    QList<Shown> shown;
    QList<FileDialogSpec> fileDialogs;
    QStringList openedUrls;
    QStringList folderPrompts;
    QList<QStringList> started; // program followed by its arguments
    QString clipboard;
    int beeps = 0;
    // What `openUrl` reports, and whether `startDetached` succeeds.
    ShellResult openResult = ShellResult::Opened;
    bool shellSucceeds = true;
    // Set when a box came that nobody expected; tests check it with QVERIFY(!dialogs.unexpected).
    QString unexpected;

private:
    QQueue<MessageAnswer> m_answers;
    QQueue<QString> m_fileNames;
    QQueue<QString> m_folders;
    QString m_clipboardBefore;
    QString m_ourClipboard;
    bool m_holdingClipboard = false;
};
