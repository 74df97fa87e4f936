#pragma once

#include "platform/Printers.h"

#include <QDialog>
#include <QStringList>

class Dialogs;
class QComboBox;
class QGroupBox;
class QPushButton;
class uscUpDown;

// The print dialog (印刷): printer, font, size and margins, then the lines go out page by
// page. Besides the printers a PDF file can be chosen, so a list can always be kept.
class frmPrint : public QDialog
{
    Q_OBJECT

public:
    frmPrint(Dialogs& dialogs, Printers& printers, QWidget* parent = nullptr);

    // The lines to print: the header first.
    void MPSetString(const QStringList& lines) { m_lines = lines; }
    // Fills the lists and selects the default printer.
    void Form_Load();
    void centreOn(const QWidget* window);
    bool isPrinting() const { return m_printing; }

    static QString pdfDestinationName();

public slots:
    void cmdPrintStart_Click();
    void cmdProperty_Click();
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildUi();
    void cboPrinter_Change();
    bool pdfChosen() const;
    // Measures the chosen destination; false (after telling the user) when it cannot be used.
    bool measureChosen(PrinterGeometry& geometry);
    void setMargins(const PrinterGeometry& geometry);
    void SetPrintControls(bool enabled);
    // Draws the pages on the chosen destination; false when it failed (the user was told).
    bool printPages(const QList<QStringList>& pages, double lineHeight);
    void showPrinterError(const QString& detail);

    Dialogs& m_dialogs;
    Printers& m_printers;
    QStringList m_lines;
    bool m_printing = false;
    // Whether the chosen destination was measured and can take a job.
    bool m_destinationUsable = false;

    QComboBox* cboPrinter = nullptr;
    QPushButton* cmdProperty = nullptr;
    QComboBox* cboFont = nullptr;
    QComboBox* cboFontSize = nullptr;
    QGroupBox* fraYohaku = nullptr;
    uscUpDown* uscLeftMargin = nullptr;
    uscUpDown* uscTopMargin = nullptr;
    uscUpDown* uscRightMargin = nullptr;
    uscUpDown* uscBottomMargin = nullptr;
    QPushButton* cmdPrintStart = nullptr;
    QPushButton* cmdCancel = nullptr;
};
