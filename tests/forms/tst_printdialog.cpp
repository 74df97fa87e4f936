#include "forms/frmPrint.h"
#include "support/FakePrinters.h"
#include "support/ScriptedDialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const PrinterGeometry kA4{5, 4, 6, 7, 210, 297};
const PrinterGeometry kLetter{3, 3, 3, 12, 216, 279};

QStringList margins(frmPrint& dialog)
{
    QStringList values;
    for (const char* name : {"uscLeftMargin", "uscTopMargin", "uscRightMargin", "uscBottomMargin"})
        values.append(dialog.findChild<QWidget*>(name)->findChild<QLineEdit*>("txtValue")->text());
    return values;
}

QStringList listLines(int rows)
{
    QStringList lines{"header"};
    for (int i = 1; i <= rows; ++i)
        lines.append(QStringLiteral("%1,賞品%1").arg(i));
    return lines;
}

} // namespace

class TestPrintDialog : public QObject
{
    Q_OBJECT

    struct Fixture
    {
        ScriptedDialogs dialogs;
        FakePrinters printers;
        QTemporaryDir dir;
        std::unique_ptr<frmPrint> dialog;

        frmPrint& open(const QStringList& lines)
        {
            printers.outputPath = dir.filePath("job.pdf");
            dialog = std::make_unique<frmPrint>(dialogs, printers);
            dialog->MPSetString(lines);
            dialog->Form_Load();
            dialog->show();
            return *dialog;
        }
        QPushButton* button(const char* name) { return dialog->findChild<QPushButton*>(name); }
        QComboBox* list(const char* name) { return dialog->findChild<QComboBox*>(name); }
    };

private slots:
    void destinations_data()
    {
        QTest::addColumn<QList<FakePrinters::Printer>>("installed");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<bool>("printEnabled");
        QTest::addColumn<bool>("propertyEnabled");
        QTest::addColumn<int>("boxes");
        QTest::newRow("no printer: only the PDF file")
            << QList<FakePrinters::Printer>{} << QStringList{"PDFファイル"} << true << false << 0;
        QTest::newRow("printer that cannot be used")
            << QList<FakePrinters::Printer>{{"broken", kA4, false}}
            << QStringList{"broken", "PDFファイル"} << false << false << 1;
        QTest::newRow("default printer chosen")
            << QList<FakePrinters::Printer>{{"a", kLetter, true}, {"b", kA4, true}}
            << QStringList{"a", "b", "PDFファイル"} << true << true << 0;
    }
    void destinations()
    {
        QFETCH(QList<FakePrinters::Printer>, installed);
        QFETCH(QStringList, items);
        QFETCH(bool, printEnabled);
        QFETCH(bool, propertyEnabled);
        QFETCH(int, boxes);
        Fixture f;
        f.printers.printers = installed;
        f.printers.defaultName = "b";
        for (int i = 0; i < boxes; ++i)
            f.dialogs.queueAnswer(MessageAnswer::Ok);
        frmPrint& dialog = f.open(listLines(1));
        QStringList shown;
        for (int i = 0; i < f.list("cboPrinter")->count(); ++i)
            shown.append(f.list("cboPrinter")->itemText(i));
        QCOMPARE(shown, items);
        QCOMPARE(f.button("cmdPrintStart")->isEnabled(), printEnabled);
        QCOMPARE(f.button("cmdProperty")->isEnabled(), propertyEnabled);
        QCOMPARE(f.dialogs.shown.size(), boxes);
        QCOMPARE(f.list("cboFont")->currentText(), "ＭＳ 明朝");
        QCOMPARE(f.list("cboFontSize")->currentText(), "12");
        if (installed.size() == 2)
            QCOMPARE(margins(dialog), (QStringList{"5", "4", "6", "7"}));
    }

    void changingPrinterResetsMargins()
    {
        Fixture f;
        f.printers.printers = {{"a", kA4, true}, {"b", kLetter, true}};
        frmPrint& dialog = f.open(listLines(1));
        dialog.findChild<QWidget*>("uscLeftMargin")->findChild<QLineEdit*>()->setText("30");
        f.list("cboPrinter")->setCurrentIndex(1);
        QCOMPARE(margins(dialog), (QStringList{"3", "3", "3", "12"}));
        // A printer chosen in the properties dialog is taken over with its borders.
        f.printers.propertiesAnswer = "a";
        f.button("cmdProperty")->click();
        QCOMPARE(f.list("cboPrinter")->currentText(), "a");
        QCOMPARE(margins(dialog), (QStringList{"5", "4", "6", "7"}));
    }

    // Screen readers read the captions without their keys.
    void captionsReadWithoutMnemonics()
    {
        Fixture f;
        frmPrint& dialog = f.open(listLines(1));
        QStringList names;
        for (const char* name :
             {"uscLeftMargin", "uscTopMargin", "uscRightMargin", "uscBottomMargin"})
            names << dialog.findChild<QWidget*>(name)->findChild<QLineEdit*>()->accessibleName();
        names << f.list("cboFont")->accessibleName() << f.list("cboFontSize")->accessibleName();
        QCOMPARE(names, (QStringList{"左", "上", "右", "下", "フォント名", "サイズ"}));
    }

    void printing_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("topMargin");
        QTest::addColumn<int>("failAtPage");
        QTest::addColumn<int>("jobs");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("closed");
        // A4 at 12 pt inside 5/4/6/7 mm borders and the same margins: 64 lines a page.
        QTest::newRow("two pages") << 64 << "" << 0 << 1 << 2 << "" << true;
        QTest::newRow("header only: no page, closes") << 0 << "" << 0 << 0 << 0 << "" << true;
        QTest::newRow("margins too big")
            << 10 << "100" << 0 << 0 << 0 << "Error:余白が大き過ぎます。" << false;
        QTest::newRow("printer fails on page 2")
            << 200 << "" << 2 << 1 << 2 << "実行時エラー '482'" << false;
    }
    void printing()
    {
        QFETCH(int, rows);
        QFETCH(QString, topMargin);
        QFETCH(int, failAtPage);
        QFETCH(int, jobs);
        QFETCH(int, pages);
        QFETCH(QString, box);
        QFETCH(bool, closed);
        Fixture f;
        f.printers.printers = {{"a", kA4, true}};
        f.printers.failAtPage = failAtPage;
        PrinterGeometry tall = kA4;
        tall.paperHeight = 200;
        f.printers.printers[0].geometry = topMargin.isEmpty() ? kA4 : tall;
        frmPrint& dialog = f.open(listLines(rows));
        if (!topMargin.isEmpty()) {
            dialog.findChild<QWidget*>("uscTopMargin")->findChild<QLineEdit*>()->setText(topMargin);
            dialog.findChild<QWidget*>("uscBottomMargin")
                ->findChild<QLineEdit*>()
                ->setText(topMargin);
        }
        if (!box.isEmpty())
            f.dialogs.queueAnswer(MessageAnswer::Ok);
        f.button("cmdPrintStart")->click();
        QCOMPARE(f.printers.jobs, jobs);
        QCOMPARE(f.printers.pagesStarted, pages);
        QCOMPARE(f.dialogs.shown.size(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty())
            QVERIFY2(f.dialogs.shown.first().box.text.startsWith(box),
                     qPrintable(f.dialogs.shown.first().box.text));
        QCOMPARE(!dialog.isVisible(), closed);
        QCOMPARE(dialog.result() == QDialog::Accepted, closed);
        if (!closed) {
            QVERIFY(f.button("cmdPrintStart")->isEnabled() && f.button("cmdCancel")->isEnabled());
            QVERIFY(f.list("cboPrinter")->isEnabled());
        }
    }

    // ".pdf" is added to a file name that has no extension, whatever its folders are called.
    void pdfFileName_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain name") << "list"
                                    << "list.pdf";
        QTest::newRow("folder with a dot") << "my.dir/list"
                                           << "my.dir/list.pdf";
        QTest::newRow("own extension kept") << "my.dir/list.txt"
                                            << "my.dir/list.txt";
        QTest::newRow("already .pdf") << "list.pdf"
                                      << "list.pdf";
    }
    void pdfFileName()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        Fixture f;
        QVERIFY(QDir(f.dir.path()).mkpath("my.dir"));
        frmPrint& dialog = f.open(listLines(3));
        QCOMPARE(f.list("cboPrinter")->currentText(), frmPrint::pdfDestinationName());
        f.dialogs.queueFileName(f.dir.filePath(chosen));
        f.button("cmdPrintStart")->click();
        QVERIFY(f.dialogs.allAnswersUsed());
        QVERIFY(f.dialogs.shown.isEmpty());
        QVERIFY(!dialog.isVisible());
        QVERIFY(QFileInfo(f.dir.filePath(written)).size() > 0);
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files) +
                     QDir(f.dir.filePath("my.dir")).entryList(QDir::Files),
                 QStringList{QFileInfo(written).fileName()});
    }

    void controlsAndClosingRefusedWhilePrinting()
    {
        Fixture f;
        f.printers.printers = {{"a", kA4, true}};
        frmPrint& dialog = f.open(listLines(100));
        QStringList refused;
        f.printers.onNewPage = [&](int) {
            for (const char* name : {"cboPrinter", "cboFont", "cboFontSize"}) {
                if (!f.list(name)->isEnabled())
                    refused.append(name);
            }
            for (const char* name : {"cmdPrintStart", "cmdCancel", "cmdProperty"}) {
                if (!f.button(name)->isEnabled())
                    refused.append(name);
            }
            if (!dialog.findChild<QLineEdit*>("txtValue")->isEnabled())
                refused.append("margin");
            if (!dialog.close())
                refused.append("close");
            QTest::keyClick(&dialog, Qt::Key_Escape);
            if (dialog.isVisible())
                refused.append("Esc");
        };
        f.button("cmdPrintStart")->click();
        QCOMPARE(refused, (QStringList{"cboPrinter", "cboFont", "cboFontSize", "cmdPrintStart",
                                       "cmdCancel", "cmdProperty", "margin", "close", "Esc"}));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestPrintDialog)
#include "tst_printdialog.moc"
