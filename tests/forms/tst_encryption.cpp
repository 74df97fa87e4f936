#include "core/AtomicFile.h"
#include "core/Cp932.h"
#include "core/FileCrypto.h"
#include "core/Scramble.h"
#include "diary/Summaries.h"
#include "forms/EntryTableModel.h"
#include "forms/frmStartPassword.h"
#include "support/MainWindowHarness.h"

#include <QApplication>
#include <QCheckBox>
#include <QDirIterator>
#include <QFileInfo>
#include <QTimer>

namespace {

const QByteArray kLocked = "[Setting]\r\nStartPassword=1\r\nStartPasswordInput=Secret\r\n";
const QString kPrize = QStringLiteral("秘密の賞品");

frmStartPassword* shownPasswordWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* form = qobject_cast<frmStartPassword*>(w); form && form->isVisible())
            return form;
    }
    return nullptr;
}

// Types each of `passwords` into the next password window, pressing Enter; one left open
// is closed, which fails the test instead of hanging it.
void answerPasswordWindow(const QStringList& passwords)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, passwords] {
        if (frmStartPassword* form = shownPasswordWindow()) {
            timer->stop();
            timer->deleteLater();
            auto* box = form->findChild<QLineEdit*>("txtStartPassword");
            for (const QString& password : passwords) {
                box->setText(password);
                QTest::keyClick(box, Qt::Key_Return);
            }
            if (form->isVisible())
                form->reject();
        }
    });
    timer->start(10);
}

// No file under data/ holds any of `secrets`, neither as stored nor unscrambled.
void checkNoPlaintext(const AppPaths& paths, const QList<QByteArray>& secrets)
{
    QDirIterator it(paths.dataFolder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        const QByteArray stored = readWholeFile(path).bytes;
        for (const QByteArray& secret : secrets)
            QVERIFY2(!stored.contains(secret) && !scrambleBytes(stored).contains(secret),
                     qPrintable(path + " holds " + QString::fromUtf8(secret)));
        ++files;
    }
    QVERIFY(files >= 5); // settings, key record, month, year, total
}

void applySettings(MainWindowHarness& h)
{
    h.button("cmdSetting")->click();
    QCOMPARE(h.dialogs.shown.last().box.caption, QStringLiteral("完了"));
}

} // namespace

class TestEncryption : public QObject
{
    Q_OBJECT

private slots:
    void switchingOnAndOffThroughTheSettingsTab()
    {
        MainWindowHarness h(QDate(2026, 7, 20), kLocked);
        const QList<EntryRecord> entries = {
            makeEntry("2026/07/03", "11", kPrize, QStringLiteral("小物当選"), "500")};
        h.folder.writeMonth("2026", "07", entries, "Secret");
        QVERIFY(UpdateYearSummary(h.folder.paths(), "2026", 7, tallyEntries(entries), {})
                    .error.isEmpty());
        const QByteArray scrambledMonth =
            readWholeFile(h.folder.path() + "/data/2026/07.log").bytes;
        h.loginPrompt = [] { return true; };
        h.start(true);
        h.selectTab("T_Setting");
        auto* encrypt = h.child<QCheckBox>("chkEncryptData");
        QVERIFY(encrypt->isEnabled() && !encrypt->isChecked());

        // The warning comes first; no backup is taken here.
        encrypt->click();
        h.dialogs.queueAnswer(MessageAnswer::No);
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        applySettings(h);
        QCOMPARE(h.dialogs.shown.first().box.buttons, MessageButtons::YesNoCancel);
        QVERIFY(
            h.dialogs.shown.first().box.text.contains(QStringLiteral("二度と読めなくなります")));
        h.window->close(); // the end sequence stores the settings once more
        QByteArray prize;
        QVERIFY(cp932::encode(kPrize, prize));
        checkNoPlaintext(h.folder.paths(), {prize, kPrize.toUtf8(), "Secret"});
        QVERIFY(isEncryptedForm(readWholeFile(h.folder.path() + "/data/0000/total.log").bytes));
        QVERIFY(h.folder.plainFile("data/ini/zumicho.ini").contains("\r\nStartPasswordInput=\r\n"));

        // The next start opens the files only with the right password.
        h.dialogs.clearShown();
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        h.loginPrompt = nullptr;
        answerPasswordWindow({"secret", "Secret"});
        h.start(true);
        QCOMPARE(h.dialogs.shown.size(), 1);
        QCOMPARE(h.dialogs.shown[0].box.text, QStringLiteral("パスワードが違います。"));
        QCOMPARE(h.window->monthModel()->rowCount(), 1);

        // Switching off asks for the password the files carry again, and gives them back as
        // they were.
        h.selectTab("T_Setting");
        h.child<QCheckBox>("chkEncryptData")->click();
        h.dialogs.queueAnswer(MessageAnswer::Ok);
        answerPasswordWindow({"Secret"});
        applySettings(h);
        QVERIFY(!QFileInfo::exists(h.folder.paths().keyRecordPath()));
        QCOMPARE(readWholeFile(h.folder.path() + "/data/2026/07.log").bytes, scrambledMonth);
        QVERIFY(h.folder.plainFile("data/ini/zumicho.ini").contains("StartPasswordInput=Secret"));
    }
};

QTEST_MAIN(TestEncryption)
#include "tst_encryption.moc"
