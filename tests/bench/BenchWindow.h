#pragma once

#include "forms/frmDataInput.h"
#include "forms/frmMain.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QThreadPool>

#include <functional>

// What the benchmark does through the main window, shared by the warm run and the fresh
// processes.

inline double msOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Lets the window finish what a click left queued (repaint, the accessibility bus), as the
// user waits for it too.
inline void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

inline void selectTab(frmMain& window, const QString& caption)
{
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("tabMain"));
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->tabText(i) == caption)
            tabs->setCurrentIndex(i);
    }
}

// One entry registered by hand on the month tab; the time of the 更新 click (the save and its
// summaries, every file synced), or a negative value when the entry form did not open. The
// repaint that follows is left to settle() outside the time.
inline double registerOne(frmMain& window, const QString& prize)
{
    selectTab(window, QStringLiteral("月　　　間"));
    window.findChild<QPushButton*>(QStringLiteral("cmdNewInput"))->click();
    frmDataInput* form = nullptr;
    for (auto* f : window.findChildren<frmDataInput*>()) {
        if (f->isVisible())
            form = f;
    }
    if (!form)
        return -1;
    form->findChild<QLineEdit*>(QStringLiteral("txtPresent"))->setText(prize);
    // Typing an entry takes the user longer than what the tab switch left to the pool (the
    // old search results freed): it is over before they can press 更新.
    QThreadPool::globalInstance()->waitForDone();
    auto* update = form->findChild<QPushButton*>(QStringLiteral("cmdKoshin"));
    const double took = msOf([&] { update->click(); });
    settle();
    if (form->isVisible())
        form->close();
    return took;
}
