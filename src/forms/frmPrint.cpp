#include "forms/frmPrint.h"

#include "core/Dialogs.h"
#include "core/RuntimeError.h"
#include "diary/PrintLayout.h"
#include "forms/ChoiceKeyFilter.h"
#include "forms/FormHelpers.h"
#include "forms/ScreenFit.h"
#include "forms/uscUpDown.h"
#include "platform/TextPagePainter.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPdfWriter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kJobTitle = QStringLiteral("zumicho");
// The printer error of the run-time error box.
constexpr int kPrinterError = 482;

// The faces the layout can count on: half-width characters half as wide as full-width ones.
QString monospacedFace(const QString& fontName)
{
    return fontName == u"ＭＳ ゴシック" ? QStringLiteral("IPAGothic") : QStringLiteral("IPAMincho");
}

} // namespace

frmPrint::frmPrint(Dialogs& dialogs, Printers& printers, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_printers(printers)
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("印刷"));
    setModal(true);
    buildUi();
}

QString frmPrint::pdfDestinationName()
{
    return QStringLiteral("PDFファイル");
}

void frmPrint::buildUi()
{
    auto* printerFrame = new QGroupBox(QStringLiteral("プリンター"));
    cboPrinter = named(new QComboBox, "cboPrinter");
    cboPrinter->setAccessibleName(QStringLiteral("プリンター"));
    cboPrinter->setMinimumContentsLength(24);
    cmdProperty = named(new QPushButton(QStringLiteral("プロパティ")), "cmdProperty");
    auto* printerRow = new QHBoxLayout(printerFrame);
    printerRow->addWidget(cboPrinter, 1);
    printerRow->addWidget(cmdProperty);

    auto* fontFrame = new QGroupBox(QStringLiteral("フォント設定"));
    cboFont = named(new QComboBox, "cboFont");
    cboFontSize = named(new QComboBox, "cboFontSize");
    auto* fontRow = new QHBoxLayout(fontFrame);
    fontRow->addWidget(captionFor(cboFont, QStringLiteral("フォント名(&F)")));
    fontRow->addWidget(cboFont, 1);
    fontRow->addWidget(captionFor(cboFontSize, QStringLiteral("サイズ(&S)")));
    fontRow->addWidget(cboFontSize);

    fraYohaku = named(new QGroupBox(QStringLiteral("余白設定(単位：mm)")), "fraYohaku");
    auto* margins = new QGridLayout(fraYohaku);
    const auto margin = [&](const char* name, const QString& caption, int row, int column) {
        auto* control = named(new uscUpDown(m_dialogs), name);
        margins->addWidget(captionFor(control->textBox(), caption), row, column);
        margins->addWidget(control, row, column + 1);
        return control;
    };
    uscLeftMargin = margin("uscLeftMargin", QStringLiteral("左(&L)"), 0, 0);
    uscTopMargin = margin("uscTopMargin", QStringLiteral("上(&T)"), 0, 2);
    uscRightMargin = margin("uscRightMargin", QStringLiteral("右(&R)"), 1, 0);
    uscBottomMargin = margin("uscBottomMargin", QStringLiteral("下(&B)"), 1, 2);

    cmdPrintStart = named(new QPushButton(QStringLiteral("印刷")), "cmdPrintStart");
    cmdCancel = named(new QPushButton(QStringLiteral("キャンセル")), "cmdCancel");
    cmdPrintStart->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdPrintStart);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerFrame);
    layout->addWidget(fontFrame);
    layout->addWidget(fraYohaku);
    layout->addLayout(buttons);

    auto* keys = new ChoiceKeyFilter(m_dialogs, this, ChoiceKeyFilter::BeepOn::TypedCharacter);
    for (QComboBox* list : {cboPrinter, cboFont, cboFontSize})
        keys->attach(list);

    connect(cboPrinter, &QComboBox::currentIndexChanged, this, &frmPrint::cboPrinter_Change);
    connect(cmdProperty, &QPushButton::clicked, this, &frmPrint::cmdProperty_Click);
    connect(cmdPrintStart, &QPushButton::clicked, this, &frmPrint::cmdPrintStart_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPrint::reject);
}

void frmPrint::Form_Load()
{
    cboFont->addItems({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("ＭＳ 明朝")});
    cboFont->setCurrentIndex(1);
    for (int size : printlayout::fontSizes())
        cboFontSize->addItem(QString::number(size));
    cboFontSize->setCurrentText(QStringLiteral("12"));

    const QStringList printers = m_printers.printerNames();
    const QSignalBlocker quiet(cboPrinter);
    cboPrinter->addItems(printers);
    cboPrinter->addItem(pdfDestinationName());
    const QString preferred = m_printers.defaultPrinterName();
    cboPrinter->setCurrentIndex(printers.contains(preferred) ? int(printers.indexOf(preferred))
                                                             : 0);
    cboPrinter_Change();
}

void frmPrint::centreOn(const QWidget* window)
{
    adjustSize();
    const QRect frame = window->frameGeometry();
    move(frame.left() + frame.width() / 2 - width() / 2,
         frame.top() + frame.height() / 2 - height() / 2);
    fitOnScreen(this, window);
}

bool frmPrint::pdfChosen() const
{
    return cboPrinter->currentText() == pdfDestinationName() &&
           cboPrinter->currentIndex() == cboPrinter->count() - 1;
}

bool frmPrint::measureChosen(PrinterGeometry& geometry)
{
    if (pdfChosen()) {
        geometry = pdfGeometry();
        return true;
    }
    QString error;
    if (m_printers.measure(cboPrinter->currentText(), geometry, error))
        return true;
    showPrinterError(error);
    return false;
}

void frmPrint::cboPrinter_Change()
{
    PrinterGeometry geometry;
    m_destinationUsable = measureChosen(geometry);
    if (m_destinationUsable)
        setMargins(geometry);
    SetPrintControls(true);
}

void frmPrint::setMargins(const PrinterGeometry& geometry)
{
    uscLeftMargin->setValue(QString::number(geometry.minLeft));
    uscTopMargin->setValue(QString::number(geometry.minTop));
    uscRightMargin->setValue(QString::number(geometry.minRight));
    uscBottomMargin->setValue(QString::number(geometry.minBottom));
}

void frmPrint::cmdProperty_Click()
{
    const QString chosen = m_printers.showProperties(this, cboPrinter->currentText());
    if (chosen.isEmpty())
        return;
    const int index = cboPrinter->findText(chosen);
    if (index >= 0 && index != cboPrinter->currentIndex())
        cboPrinter->setCurrentIndex(index); // measures the new printer
    else
        cboPrinter_Change(); // paper or orientation may have changed
}

void frmPrint::SetPrintControls(bool enabled)
{
    m_printing = !enabled;
    const bool hasDestination = cboPrinter->count() > 0;
    cboPrinter->setEnabled(enabled && hasDestination);
    cmdPrintStart->setEnabled(enabled && hasDestination && m_destinationUsable);
    // A PDF file has no printer settings to show.
    cmdProperty->setEnabled(enabled && hasDestination && m_destinationUsable && !pdfChosen());
    cboFont->setEnabled(enabled);
    cboFontSize->setEnabled(enabled);
    for (uscUpDown* margin : {uscLeftMargin, uscTopMargin, uscRightMargin, uscBottomMargin})
        margin->LSSetEnabled(enabled);
    cmdCancel->setEnabled(enabled);
}

void frmPrint::cmdPrintStart_Click()
{
    SetPrintControls(false);
    PrinterGeometry geometry;
    if (!measureChosen(geometry)) {
        m_destinationUsable = false;
        SetPrintControls(true);
        return;
    }
    const auto metrics = printlayout::metricsFor(cboFontSize->currentText().toInt());
    const printlayout::Borders margins{
        uscLeftMargin->Value().toInt(), uscTopMargin->Value().toInt(),
        uscRightMargin->Value().toInt(), uscBottomMargin->Value().toInt()};
    const printlayout::PaperGeometry paper{
        {geometry.minLeft, geometry.minTop, geometry.minRight, geometry.minBottom},
        geometry.paperWidth,
        geometry.paperHeight};
    const printlayout::PageCounts counts = printlayout::pageCounts(paper, margins, *metrics);
    if (!counts.fits()) {
        m_dialogs.message({QStringLiteral("Error:余白が大き過ぎます。"), QStringLiteral("エラー"),
                           MessageIcon::Critical, MessageButtons::Ok});
        SetPrintControls(true);
        return;
    }
    const QList<QStringList> pages = printlayout::layOutPages(m_lines, counts);
    const bool printed = pages.isEmpty() || printPages(pages, metrics->lineHeight);
    SetPrintControls(true);
    if (printed)
        accept();
}

bool frmPrint::printPages(const QList<QStringList>& pages, double lineHeight)
{
    TextPages text;
    text.pages = pages;
    text.font = QFont(monospacedFace(cboFont->currentText()));
    text.font.setPointSize(cboFontSize->currentText().toInt());
    text.font.setKerning(false);
    text.lineHeight = lineHeight;
    text.left = uscLeftMargin->Value().toInt();
    text.top = uscTopMargin->Value().toInt();
    // Let the window repaint between pages; its controls and closing are refused meanwhile.
    const auto pageDone = [](int) { QCoreApplication::processEvents(); };

    QString error;
    if (pdfChosen()) {
        FileDialogSpec spec;
        spec.caption = pdfDestinationName();
        spec.filter = QStringLiteral("*.pdf (*.pdf)");
        QString path = m_dialogs.saveFileName(spec);
        if (path.isEmpty())
            return false;
        // Only the file's own name says whether it has an extension; folders may hold dots.
        if (!QFileInfo(path).fileName().contains(u'.'))
            path += QStringLiteral(".pdf");
        const auto writer = pdfWriter(path, kJobTitle);
        error = paintTextPages(*writer, text, pageDone);
        if (!error.isEmpty())
            error = QStringLiteral("%1 (%2)").arg(error, path);
    } else {
        QPagedPaintDevice* device = m_printers.device(kJobTitle);
        error = device ? paintTextPages(*device, text, pageDone)
                       : QStringLiteral("印刷を始められませんでした。");
        if (error.isEmpty())
            error = m_printers.jobError();
    }
    if (error.isEmpty())
        return true;
    showPrinterError(error);
    return false;
}

void frmPrint::showPrinterError(const QString& detail)
{
    ShowRuntimeError(m_dialogs,
                     {kPrinterError, QStringLiteral("プリンタ エラーです。\r\n%1").arg(detail)});
}

void frmPrint::reject()
{
    if (!m_printing)
        QDialog::reject();
}

void frmPrint::closeEvent(QCloseEvent* event)
{
    if (m_printing)
        event->ignore();
    else
        QDialog::closeEvent(event);
}
