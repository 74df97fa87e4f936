#pragma once

#include "core/AtomicFile.h"
#include "core/Clock.h"
#include "diary/Reminders.h"
#include "forms/MonthPage.h"
#include "forms/SearchPage.h"
#include "forms/SettingsPage.h"
#include "forms/frmDataInput.h"
#include "forms/frmMain.h"
#include "support/LiveBoxDialogs.h"
#include "support/TempProgramFolder.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <memory>

// A main window over a throw-away program folder, started on a fixed day.
struct MainWindowHarness
{
    // The start-up notice of deadlines coming up stays off unless a test's settings name it,
    // and so does the daily one unless a test writes its own reminders file, so the entries
    // of other tests never raise them.
    explicit MainWindowHarness(QDate today, const QByteArray& settings = "[Setting]\r\n")
        : clock(today)
    {
        folder.writeSettings(
            settings.contains("SimekiriStart=") ? settings : settings + "SimekiriStart=0\r\n");
        if (!writeFileAtomically(reminderSettingsPath(folder.paths()), "[Reminders]\r\nDaily=0\r\n")
                 .isEmpty())
            qFatal("cannot write the reminders file");
    }
    frmMain& start(bool shown = false)
    {
        window = std::make_unique<frmMain>(AppContext{folder.paths(), dialogs, clock});
        if (loginPrompt)
            window->setLoginPrompt(loginPrompt);
        if (!window->Form_Load())
            qFatal("start-up refused");
        if (shown)
            window->show();
        return *window;
    }
    template <typename T> T* child(const char* name)
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }
    void selectTab(const char* key)
    {
        auto* tabs = child<QTabWidget>("tabMain");
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->property("tabKey").toString() == QLatin1String(key))
                tabs->setCurrentIndex(i);
        }
    }
    // Clicks one row of a list as the user would, which selects only that row (with Ctrl,
    // adds it to the selection or takes it out).
    void clickRow(const char* list, int row, Qt::KeyboardModifiers modifiers = {})
    {
        auto* view = child<QTableView>(list);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers,
                          view->visualRect(view->model()->index(row, 0)).center());
    }
    // The open entry form, if any.
    frmDataInput* form()
    {
        for (auto* f : window->findChildren<frmDataInput*>()) {
            if (f->isVisible())
                return f;
        }
        return nullptr;
    }
    QString panel(const char* box) { return child<QLineEdit>(box)->text(); }
    QString shownDate() { return child<QDateEdit>("dtpDate")->date().toString("yyyy/MM/dd"); }

    TempProgramFolder folder;
    LiveBoxDialogs dialogs;
    FixedClock clock;
    std::unique_ptr<frmMain> window;
    // Answers the login of a locked diary instead of the password window, when set.
    std::function<bool()> loginPrompt;
};
