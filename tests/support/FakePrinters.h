#pragma once

#include "platform/Printers.h"

#include <QPdfWriter>
#include <functional>
#include <memory>

// The printer seam for tests: printers with chosen borders, jobs written to a PDF file,
// and hooks to watch or break a job between pages.
class FakePrinters : public Printers
{
public:
    struct Printer
    {
        QString name;
        PrinterGeometry geometry;
        bool usable = true;
    };

    QList<Printer> printers;
    QString defaultName;
    // The printer the properties dialog answers with; empty is a cancel.
    QString propertiesAnswer;
    QString outputPath;
    // Runs when the job asks for page 2, 3, ...; a page from `failAtPage` on is refused.
    std::function<void(int)> onNewPage;
    int failAtPage = 0;
    int jobs = 0;
    int pagesStarted = 0;

    QStringList printerNames() override
    {
        QStringList names;
        for (const Printer& p : printers)
            names.append(p.name);
        return names;
    }
    QString defaultPrinterName() override { return defaultName; }
    bool measure(const QString& name, PrinterGeometry& geometry, QString& error) override
    {
        for (const Printer& p : printers) {
            if (p.name == name && p.usable) {
                geometry = p.geometry;
                return true;
            }
        }
        error = QStringLiteral("no printer %1").arg(name);
        return false;
    }
    QString showProperties(QWidget*, const QString&) override { return propertiesAnswer; }
    QPagedPaintDevice* device(const QString&) override
    {
        ++jobs;
        pagesStarted = 1;
        m_writer = std::make_unique<Writer>(outputPath, *this);
        return m_writer.get();
    }
    QString jobError() override { return QString(); }

private:
    class Writer : public QPdfWriter
    {
    public:
        Writer(const QString& path, FakePrinters& owner) : QPdfWriter(path), m_owner(owner) {}
        bool newPage() override
        {
            const int page = ++m_owner.pagesStarted;
            if (m_owner.onNewPage)
                m_owner.onNewPage(page);
            if (m_owner.failAtPage > 0 && page >= m_owner.failAtPage)
                return false;
            return QPdfWriter::newPage();
        }

    private:
        FakePrinters& m_owner;
    };
    std::unique_ptr<Writer> m_writer;
};
