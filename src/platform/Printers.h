#pragma once

#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QWidget;

// A printer's paper and its unprintable borders, in whole millimetres.
struct PrinterGeometry
{
    int minLeft = 0;
    int minTop = 0;
    int minRight = 0;
    int minBottom = 0;
    int paperWidth = 0;
    int paperHeight = 0;
};

// The installed printers. The print dialog talks only to this, so it can be tried
// without a print system; the program uses the desktop's printers (CupsPrinters).
class Printers
{
public:
    virtual ~Printers() = default;

    virtual QStringList printerNames() = 0;
    // Empty when the desktop names no default printer.
    virtual QString defaultPrinterName() = 0;
    // Selects the printer for the next job and measures its paper as it is set up now.
    // False, with `error` saying why, when the printer cannot be used.
    virtual bool measure(const QString& name, PrinterGeometry& geometry, QString& error) = 0;
    // The printer's own settings: printer, paper and orientation chosen there hold for the
    // next job. Returns the printer chosen there, or an empty text when cancelled.
    virtual QString showProperties(QWidget* parent, const QString& name) = 0;
    // The selected printer as a device for one job; painting starts at the printable area.
    virtual QPagedPaintDevice* device(const QString& title) = 0;
    // What went wrong with the job just ended, empty when it reached the printer.
    virtual QString jobError() = 0;
};
