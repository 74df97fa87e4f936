#pragma once

#include "platform/Printers.h"

#include <memory>

class QPrinter;

// The desktop's print queues through Qt's print support (CUPS on Linux).
class CupsPrinters : public Printers
{
public:
    CupsPrinters();
    ~CupsPrinters() override;

    QStringList printerNames() override;
    QString defaultPrinterName() override;
    bool measure(const QString& name, PrinterGeometry& geometry, QString& error) override;
    QString showProperties(QWidget* parent, const QString& name) override;
    QPagedPaintDevice* device(const QString& title) override;
    QString jobError() override;

private:
    std::unique_ptr<QPrinter> m_printer;
};
