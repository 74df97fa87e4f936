#pragma once

#include "core/Dialogs.h"
#include "platform/DesktopOpener.h"

#include <QMimeData>

#include <memory>

class QWidget;

// The real dialogs: Qt message boxes, file dialogs, the clipboard and the desktop services.
class QtDialogs : public Dialogs
{
public:
    MessageAnswer message(const MessageBoxSpec& box) override;
    QString saveFileName(const FileDialogSpec& spec) override;
    QString openFileName(const FileDialogSpec& spec) override;
    QString folderName(const QString& prompt, const QString& startFolder) override;
    QString clipboardText() override;
    void setClipboardText(const QString& text) override;
    void restoreClipboard() override;
    ShellResult openUrl(const QString& url) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    void beep() override;

private:
    static QWidget* parentWindow();

    DesktopOpener m_opener;
    std::unique_ptr<QMimeData> m_savedClipboard;
    QString m_ourClipboardText;
    bool m_holdingClipboard = false;
};
