// The child side of the crash driver: the real main window over the run's diary, driven
// through its buttons as a user would, until the parent kills it.
#include "CrashChild.h"

#include "core/AppContext.h"
#include "core/Clock.h"
#include "core/Dialogs.h"
#include "forms/frmDataInput.h"
#include "forms/frmMain.h"
#include "forms/frmStartPassword.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

namespace {

// A user who goes on: yes to every question, the run's folder to every folder choice.
// Error boxes are counted: an operation that showed one is not journaled.
class ChildDialogs : public Dialogs
{
public:
    MessageAnswer message(const MessageBoxSpec& box) override
    {
        if (box.icon == MessageIcon::Critical || box.icon == MessageIcon::Exclamation) {
            ++errors;
            std::fprintf(stderr, "box %s: %s\n", qPrintable(box.caption), qPrintable(box.text));
        }
        return box.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    }
    QString saveFileName(const FileDialogSpec&) override { return {}; }
    QString openFileName(const FileDialogSpec&) override { return {}; }
    QString folderName(const QString&, const QString&) override { return folder; }
    QString clipboardText() override { return clipboard; }
    void setClipboardText(const QString& text) override { clipboard = text; }
    ShellResult openUrl(const QString&) override { return ShellResult::Opened; }
    bool startDetached(const QString&, const QStringList&) override { return true; }
    void beep() override {}

    int errors = 0;
    QString folder;
    QString clipboard;
};

template <typename T> T* widget(QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

void click(QObject* parent, const char* name)
{
    auto* button = widget<QPushButton>(parent, name);
    if (!button->isEnabled())
        qFatal("%s is not enabled", name);
    button->click();
}

class Child
{
public:
    Child(CrashOp op, const RunFolder& run)
        : m_op(op), m_run(run), m_window(AppContext{run.paths(), m_dialogs, m_clock})
    {}

    int run()
    {
        // The user types the start password into every password window (the login, and the
        // question when the encryption goes off).
        QTimer typist;
        QObject::connect(&typist, &QTimer::timeout, [] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* form = qobject_cast<frmStartPassword*>(w);
                if (form && form->isVisible()) {
                    widget<QLineEdit>(form, "txtStartPassword")->setText(kCrashPassword);
                    form->cmdOk_Click();
                }
            }
        });
        typist.start(5);
        if (!m_window.Form_Load())
            return 2;
        m_window.show();
        std::puts("ready");
        std::fflush(stdout);
        switch (m_op) {
        case CrashOp::Registration:
            registration();
            break;
        case CrashOp::Import:
            import();
            break;
        case CrashOp::Apply:
            apply();
            break;
        case CrashOp::Password:
            password();
            break;
        case CrashOp::Backup:
            backup();
            break;
        case CrashOp::Restore:
            restore();
            break;
        case CrashOp::EncryptOn:
        case CrashOp::EncryptOff:
            encryption();
            break;
        }
        std::puts("done");
        std::fflush(stdout);
        return m_dialogs.errors == 0 ? 0 : 3;
    }

private:
    // Runs one operation and journals it when it showed no error box.
    template <typename F> void step(const QString& line, F operation)
    {
        const int before = m_dialogs.errors;
        operation();
        if (m_dialogs.errors != before)
            return;
        QFile journal(m_run.journal());
        if (!journal.open(QIODevice::Append) || journal.write(line.toUtf8() + '\n') < 0)
            qFatal("cannot write the journal");
    }

    void registration()
    {
        click(&m_window, "cmdNewInput");
        auto* form = m_window.findChild<frmDataInput*>();
        if (!form)
            qFatal("no entry form");
        for (const PlannedEntry& entry : registrationPlan()) {
            widget<QDateEdit>(form, "dtpNowDay")->setDate(entry.nowDay);
            widget<QDateEdit>(form, "dtpEndDay")->setDate(entry.endDay);
            widget<QLineEdit>(form, "txtPresent")->setText(entry.present);
            step(QStringLiteral("registration\t") + entry.present,
                 [&] { click(form, "cmdKoshin"); });
        }
    }

    void import()
    {
        int firstId = 900000;
        for (const QList<PlannedEntry>& listings : importPlan()) {
            QStringList presents;
            for (const PlannedEntry& listing : listings)
                presents.append(listing.present);
            m_dialogs.clipboard = importClipboard(listings, firstId);
            firstId += 100;
            step(QStringLiteral("import\t") + presents.join(u'\t'),
                 [&] { click(&m_window, "cmdInput"); });
        }
    }

    void settingsTab()
    {
        auto* tabs = widget<QTabWidget>(&m_window, "tabMain");
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->property("tabKey").toString() == u"T_Setting")
                tabs->setCurrentIndex(i);
        }
    }

    // The stored password switched on and off; the box is set without its click, which
    // would ask for the password the settings already hold.
    void password()
    {
        settingsTab();
        for (int round = 0; round < kApplyRounds; ++round) {
            const bool on = round % 2 == 0;
            widget<QCheckBox>(&m_window, "chkStartPassword")->setChecked(on);
            widget<QPushButton>(&m_window, "cmdSetting")->setEnabled(true);
            step(QStringLiteral("password\t") + (on ? u'1' : u'0'),
                 [&] { click(&m_window, "cmdSetting"); });
        }
    }

    // The encryption box switched round by round, from its stored state.
    void encryption()
    {
        settingsTab();
        auto* box = widget<QCheckBox>(&m_window, "chkEncryptData");
        for (int round = 0; round < kApplyRounds; ++round) {
            box->click();
            step(QStringLiteral("encrypt\t") + (box->isChecked() ? u'1' : u'0'),
                 [&] { click(&m_window, "cmdSetting"); });
        }
    }

    void apply()
    {
        settingsTab();
        for (int round = 0; round < kApplyRounds; ++round) {
            const bool endDay = round % 2 == 0;
            widget<QRadioButton>(&m_window, endDay ? "optEndDay" : "optNowDay")->click();
            step(QStringLiteral("apply\t") + (endDay ? u'0' : u'1'),
                 [&] { click(&m_window, "cmdSetting"); });
        }
    }

    void backup()
    {
        m_dialogs.folder = m_run.place();
        for (int round = 0; round < kBackupRounds; ++round)
            step(QStringLiteral("backup"), [&] { click(&m_window, "cmdBackUp"); });
    }

    void restore()
    {
        m_dialogs.folder = m_run.restoreSource();
        step(QStringLiteral("restore"), [&] { click(&m_window, "cmdRestore"); });
    }

    CrashOp m_op;
    RunFolder m_run;
    ChildDialogs m_dialogs;
    FixedClock m_clock{kCrashToday};
    frmMain m_window;
};

} // namespace

int runChild(CrashOp op, const RunFolder& run)
{
    return Child(op, run).run();
}
