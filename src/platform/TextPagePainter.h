#pragma once

#include "platform/Printers.h"

#include <QFont>
#include <QList>
#include <QStringList>
#include <functional>
#include <memory>

class QPdfWriter;

// Plain text lines drawn page by page, each line at its own height from the top margin.
// Millimetres are counted from the device's printable area.
struct TextPages
{
    QList<QStringList> pages;
    QFont font;
    double lineHeight = 0;
    double left = 0;
    double top = 0;
};

// Draws every page; `pageDone` is told 1, 2, ... after each. Returns what failed, or an
// empty text. Pages drawn before a failure have already gone to the device.
QString paintTextPages(QPagedPaintDevice& device, const TextPages& text,
                       const std::function<void(int)>& pageDone);

// A PDF file as a destination of its own: A4 upright, with borders like a printer's.
PrinterGeometry pdfGeometry();
std::unique_ptr<QPdfWriter> pdfWriter(const QString& path, const QString& title);
