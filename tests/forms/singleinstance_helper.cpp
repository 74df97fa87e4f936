// A start of the diary in a process of its own, for the single-instance tests:
//   singleinstance_helper DATAFOLDER start  runs the diary's single-instance rule, prints each
//                                           box as "caption<TAB>text" and exits 0 when this
//                                           start may go on, else 1
//   singleinstance_helper DATAFOLDER hold   takes the lock, prints "held" and waits
#include "forms/DiaryInstance.h"
#include "platform/SingleInstance.h"
#include "support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3)
        return 2;
    SingleInstance lock(QStringLiteral("zumicho"), arguments.at(1));
    QTextStream out(stdout);
    if (arguments.at(2) == u"hold") {
        if (!lock.tryAcquire())
            return 2;
        out << "held" << Qt::endl;
        return app.exec();
    }
    ScriptedDialogs dialogs;
    const bool goesOn = acquireDiaryInstance(lock, dialogs);
    for (const ScriptedDialogs::Shown& shown : dialogs.shown)
        out << shown.box.caption << u'\t' << shown.box.text << u'\n';
    return goesOn ? 0 : 1;
}
