#include "platform/TextPagePainter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

constexpr int kPdfBorder = 10; // mm

} // namespace

QString paintTextPages(QPagedPaintDevice& device, const TextPages& text,
                       const std::function<void(int)>& pageDone)
{
    QPainter painter;
    if (!painter.begin(&device))
        return QStringLiteral("印刷を始められませんでした。");
    painter.setFont(text.font);
    const double dotsX = device.logicalDpiX() / 25.4;
    const double dotsY = device.logicalDpiY() / 25.4;
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
    for (int p = 0; p < text.pages.size(); ++p) {
        if (p > 0 && !device.newPage()) {
            painter.end();
            return QStringLiteral("%1ページ目へ進めませんでした。").arg(p + 1);
        }
        const QStringList& lines = text.pages.at(p);
        for (int i = 0; i < lines.size(); ++i) {
            const QRectF box(text.left * dotsX, (text.top + i * text.lineHeight) * dotsY,
                             device.width(), text.lineHeight * dotsY);
            painter.drawText(box, flags, lines.at(i));
        }
        if (pageDone)
            pageDone(p + 1);
    }
    if (!painter.end())
        return QStringLiteral("印刷を終えられませんでした。");
    return QString();
}

PrinterGeometry pdfGeometry()
{
    const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    return {kPdfBorder,
            kPdfBorder,
            kPdfBorder,
            kPdfBorder,
            int(a4.width() + 0.5),
            int(a4.height() + 0.5)};
}

std::unique_ptr<QPdfWriter> pdfWriter(const QString& path, const QString& title)
{
    auto writer = std::make_unique<QPdfWriter>(path);
    writer->setTitle(title);
    writer->setCreator(title);
    writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(kPdfBorder, kPdfBorder, kPdfBorder, kPdfBorder),
                                      QPageLayout::Millimeter));
    return writer;
}
