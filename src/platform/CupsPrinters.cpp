#include "platform/CupsPrinters.h"

#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>

CupsPrinters::CupsPrinters() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

CupsPrinters::~CupsPrinters() = default;

QStringList CupsPrinters::printerNames()
{
    return QPrinterInfo::availablePrinterNames();
}

QString CupsPrinters::defaultPrinterName()
{
    return QPrinterInfo::defaultPrinterName();
}

bool CupsPrinters::measure(const QString& name, PrinterGeometry& geometry, QString& error)
{
    if (QPrinterInfo::printerInfo(name).isNull()) {
        error = QStringLiteral("プリンター「%1」が見つかりません。").arg(name);
        return false;
    }
    // Switching printers keeps paper and orientation where the new one offers them.
    if (m_printer->printerName() != name || m_printer->outputFormat() != QPrinter::NativeFormat)
        m_printer->setPrinterName(name);
    if (!m_printer->isValid()) {
        error = QStringLiteral("プリンター「%1」を使えません。").arg(name);
        return false;
    }
    QPageLayout layout = m_printer->pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF borders = layout.minimumMargins();
    // Painting starts where the printer can print.
    m_printer->setPageMargins(borders, QPageLayout::Millimeter);
    const QRectF paper = layout.fullRect(QPageLayout::Millimeter);
    geometry = {int(std::lround(borders.left())),  int(std::lround(borders.top())),
                int(std::lround(borders.right())), int(std::lround(borders.bottom())),
                int(std::lround(paper.width())),   int(std::lround(paper.height()))};
    return true;
}

QString CupsPrinters::showProperties(QWidget* parent, const QString& name)
{
    if (m_printer->printerName() != name)
        m_printer->setPrinterName(name);
    QPrintDialog dialog(m_printer.get(), parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return m_printer->printerName();
}

QPagedPaintDevice* CupsPrinters::device(const QString& title)
{
    m_printer->setDocName(title);
    return m_printer.get();
}

QString CupsPrinters::jobError()
{
    if (m_printer->printerState() == QPrinter::Error)
        return QStringLiteral("プリンター「%1」が印刷を受け付けませんでした。")
            .arg(m_printer->printerName());
    return QString();
}
