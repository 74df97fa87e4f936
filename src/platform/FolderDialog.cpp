#include "platform/FolderDialog.h"

#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QVBoxLayout>

QString chooseFolder(QWidget* parent, const QString& prompt, const QString& startFolder)
{
    QDialog frame(parent);
    frame.setObjectName(QStringLiteral("dlgBrowseFolder"));
    frame.setWindowTitle(QStringLiteral("フォルダの参照"));

    auto* label = new QLabel(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    label->setObjectName(QStringLiteral("lblPrompt"));
    label->setWordWrap(true);

    // The widget file dialog, not the desktop's own, so that the prompt can stand inside it.
    auto* picker = new QFileDialog(&frame, QString(), startFolder);
    picker->setObjectName(QStringLiteral("dlgFolder"));
    picker->setOption(QFileDialog::DontUseNativeDialog);
    picker->setOption(QFileDialog::ShowDirsOnly);
    picker->setFileMode(QFileDialog::Directory);
    picker->setWindowFlags(Qt::Widget);
    QObject::connect(picker, &QFileDialog::accepted, &frame, &QDialog::accept);
    QObject::connect(picker, &QFileDialog::rejected, &frame, &QDialog::reject);

    auto* layout = new QVBoxLayout(&frame);
    layout->addWidget(label);
    layout->addWidget(picker, 1);
    frame.resize(640, 480);

    if (frame.exec() != QDialog::Accepted)
        return QString();
    const QStringList chosen = picker->selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}
