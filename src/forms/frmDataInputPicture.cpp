// The entry's picture: showing it, choosing and dropping it, opening it.
#include "forms/frmDataInput.h"

#include "core/AppContext.h"
#include "core/Dialogs.h"
#include "diary/EntryFormText.h"
#include "forms/EntryFormHost.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>

namespace {

// The program's name as the source of its errors.
const QString kErrorSource = QStringLiteral("zumicho");

struct LoadError
{
    int number;
    QString description;
};

// Numbers and descriptions as the user knows them from other programs' picture errors.
LoadError describe(const QString& path, QImageReader::ImageReaderError error)
{
    if (!QFileInfo(path).isFile())
        return {53, QStringLiteral("ファイルが見つかりません。")};
    switch (error) {
    case QImageReader::UnsupportedFormatError:
    case QImageReader::InvalidDataError:
        return {481, QStringLiteral("ピクチャが不正です。")};
    default:
        return {75, QStringLiteral("パス名またはファイル名が無効です。")};
    }
}

} // namespace

void frmDataInput::clearPicture()
{
    imgPicView->clear();
    updatePictureCursor();
}

bool frmDataInput::loadPicture()
{
    QImageReader reader(m_picturePath);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (!image.isNull()) {
        const QPixmap pixmap = QPixmap::fromImage(image);
        imgPicView->setPixmap(
            pixmap.scaled(fraPicture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
        lblError->clear();
        updatePictureCursor();
        return true;
    }
    const LoadError error = describe(m_picturePath, reader.error());
    m_pictureErrorText = entryform::pictureErrorText(error.number, kErrorSource, error.description);
    m_host.context().dialogs.message(
        {m_pictureErrorText, QStringLiteral("ｴﾗｰ"), MessageIcon::Critical, MessageButtons::Ok});
    // The entry loses its picture reference; the error text takes the picture's place.
    m_picturePath.clear();
    lblError->setText(m_pictureErrorText);
    fraPicture->setCurrentWidget(lblError);
    clearPicture();
    return false;
}

void frmDataInput::showPicture()
{
    fraPicture->setCurrentWidget(lblError);
    lblError->clear();
    if (m_picturePath.isEmpty()) {
        cmdPicOut->setEnabled(false);
        clearPicture();
        return;
    }
    cmdPicOut->setEnabled(true);
    if (loadPicture())
        fraPicture->setCurrentWidget(imgPicView);
}

void frmDataInput::cmdPicIn_Click()
{
    FileDialogSpec spec;
    spec.caption = QStringLiteral("画像登録");
    spec.filter = QStringLiteral("Picture (*.bmp *.wmf *.emf *.jpeg *.jpg *.gif);;All Files (*)");
    const QString chosen = m_host.context().dialogs.openFileName(spec);
    if (chosen.isEmpty())
        return; // cancelled: the picture stays as it was
    m_picturePath = chosen;
    lblError->clear();
    if (loadPicture())
        fraPicture->setCurrentWidget(imgPicView);
    cmdPicOut->setEnabled(true);
    cmdKoshin->setEnabled(true);
}

void frmDataInput::cmdPicOut_Click()
{
    // Only the reference goes; the picture file itself is left alone.
    fraPicture->setCurrentWidget(lblError);
    m_picturePath.clear();
    clearPicture();
    cmdPicOut->setEnabled(false);
    cmdKoshin->setEnabled(true);
}

void frmDataInput::updatePictureCursor()
{
    if (lblError->text().isEmpty() && !m_picturePath.isEmpty())
        imgPicView->setCursor(Qt::PointingHandCursor);
    else
        imgPicView->unsetCursor();
}

void frmDataInput::imgPicView_Click()
{
    if (lblError->text().isEmpty() && !m_picturePath.isEmpty())
        m_host.OpenDocument(m_picturePath);
}

bool frmDataInput::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == imgPicView && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_handlers.run([this] { imgPicView_Click(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
