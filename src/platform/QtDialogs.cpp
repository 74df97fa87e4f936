#include "platform/QtDialogs.h"

#include "platform/FolderDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonChoice
{
    QMessageBox::StandardButton button;
    MessageAnswer answer;
    const char16_t* caption;
};

} // namespace

QWidget* QtDialogs::parentWindow()
{
    return QApplication::activeWindow();
}

MessageAnswer QtDialogs::message(const MessageBoxSpec& spec)
{
    // Not on the stack: a window deleted while its box is up deletes the box with it.
    const QPointer<QMessageBox> box = new QMessageBox(toQtIcon(spec.icon), spec.caption, spec.text,
                                                      QMessageBox::NoButton, parentWindow());
    QList<ButtonChoice> choices;
    switch (spec.buttons) {
    case MessageButtons::Ok:
        choices = {{QMessageBox::Ok, MessageAnswer::Ok, u"OK"}};
        break;
    case MessageButtons::OkCancel:
        choices = {{QMessageBox::Ok, MessageAnswer::Ok, u"OK"},
                   {QMessageBox::Cancel, MessageAnswer::Cancel, u"キャンセル"}};
        break;
    case MessageButtons::YesNo:
        choices = {{QMessageBox::Yes, MessageAnswer::Yes, u"はい(&Y)"},
                   {QMessageBox::No, MessageAnswer::No, u"いいえ(&N)"}};
        break;
    case MessageButtons::YesNoCancel:
        choices = {{QMessageBox::Yes, MessageAnswer::Yes, u"はい(&Y)"},
                   {QMessageBox::No, MessageAnswer::No, u"いいえ(&N)"},
                   {QMessageBox::Cancel, MessageAnswer::Cancel, u"キャンセル"}};
        break;
    }
    for (const ButtonChoice& choice : choices) {
        QPushButton* button = box->addButton(choice.button);
        button->setText(QString::fromUtf16(choice.caption));
        if (choice.answer == spec.defaultButton)
            box->setDefaultButton(button);
    }
    box->exec();
    const auto clicked = box ? box->standardButton(box->clickedButton()) : QMessageBox::NoButton;
    delete box.data();
    for (const ButtonChoice& choice : choices) {
        if (choice.button == clicked)
            return choice.answer;
    }
    // Closed from the title bar, or gone with its window: the safe answer.
    return spec.buttons == MessageButtons::YesNo ? MessageAnswer::No
           : spec.buttons == MessageButtons::Ok  ? MessageAnswer::Ok
                                                 : MessageAnswer::Cancel;
}

QString QtDialogs::saveFileName(const FileDialogSpec& spec)
{
    const QString start =
        spec.fileName.isEmpty() ? spec.folder : spec.folder + u'/' + spec.fileName;
    return QFileDialog::getSaveFileName(parentWindow(), spec.caption, start, spec.filter);
}

QString QtDialogs::openFileName(const FileDialogSpec& spec)
{
    return QFileDialog::getOpenFileName(parentWindow(), spec.caption, spec.folder, spec.filter);
}

QString QtDialogs::folderName(const QString& prompt, const QString& startFolder)
{
    return chooseFolder(parentWindow(), prompt, startFolder);
}

QString QtDialogs::clipboardText()
{
    return QApplication::clipboard()->text();
}

void QtDialogs::setClipboardText(const QString& text)
{
    QClipboard* clipboard = QApplication::clipboard();
    if (!m_holdingClipboard) {
        m_savedClipboard = std::make_unique<QMimeData>();
        if (const QMimeData* before = clipboard->mimeData()) {
            for (const QString& format : before->formats())
                m_savedClipboard->setData(format, before->data(format));
        }
    }
    auto* data = new QMimeData;
    data->setText(text);
    // Clipboard managers keep no history of a text so marked.
    data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
    clipboard->setMimeData(data);
    m_ourClipboardText = text;
    m_holdingClipboard = true;
}

void QtDialogs::restoreClipboard()
{
    if (!m_holdingClipboard)
        return;
    m_holdingClipboard = false;
    QClipboard* clipboard = QApplication::clipboard();
    if (clipboard->text() != m_ourClipboardText)
        return; // the user has copied something else since
    if (m_savedClipboard && !m_savedClipboard->formats().isEmpty())
        clipboard->setMimeData(m_savedClipboard.release());
    else
        clipboard->clear();
    m_savedClipboard.reset();
}

ShellResult QtDialogs::openUrl(const QString& url)
{
    return m_opener.open(url);
}

bool QtDialogs::startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

void QtDialogs::beep()
{
    QApplication::beep();
}
