#pragma once

#include "core/ShellResult.h"

#include <QString>
#include <QStringList>

// Every message box, question, file and folder choice, clipboard access, shell open and
// process start of both programs goes through this interface. The programs install the
// real Qt implementation; tests install a scripted one that answers from a queue.

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageBoxSpec
{
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    // The button that Enter presses; the first button when unset.
    MessageAnswer defaultButton = MessageAnswer::Ok;
};

struct FileDialogSpec
{
    QString caption;
    QString folder;
    QString fileName;
    QString filter;
};

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    virtual MessageAnswer message(const MessageBoxSpec& box) = 0;
    // Empty when the user cancelled.
    virtual QString saveFileName(const FileDialogSpec& spec) = 0;
    virtual QString openFileName(const FileDialogSpec& spec) = 0;
    // The prompt is shown in full inside the folder dialog; it may hold several lines.
    virtual QString folderName(const QString& prompt, const QString& startFolder) = 0;

    virtual QString clipboardText() = 0;
    // The text is marked for clipboard managers as secret (it is the user's profile), and
    // what the clipboard held before is kept for restoreClipboard().
    virtual void setClipboardText(const QString& text) = 0;
    // Puts back what the clipboard held before the last setClipboardText, unless something
    // else has been copied since.
    virtual void restoreClipboard() {}

    // Hands a web address, mail address or document (a file URL, perhaps with a fragment)
    // to the desktop, and says why it could not.
    virtual ShellResult openUrl(const QString& url) = 0;
    // Starts a program detached; neither waits for it nor keeps a handle.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
    // A short sound for refused keystrokes.
    virtual void beep() = 0;
};
