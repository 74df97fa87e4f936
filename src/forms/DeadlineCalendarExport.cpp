#include "forms/DeadlineCalendarExport.h"

#include "core/AppContext.h"
#include "core/AtomicFile.h"
#include "core/Clock.h"
#include "core/Dialogs.h"
#include "diary/DeadlineCalendar.h"
#include "diary/Deadlines.h"
#include "diary/Settings.h"
#include "forms/BusyCursor.h"
#include "forms/UnreadableDataFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kCaption = QStringLiteral("カレンダー出力");

} // namespace

bool exportDeadlineCalendar(const AppContext& context, const Settings& settings)
{
    FileDialogSpec spec;
    spec.caption = kCaption;
    spec.fileName = QStringLiteral("締切間近.ics");
    spec.filter = QStringLiteral("*.ics (*.ics)");
    QString path = context.dialogs.saveFileName(spec);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".ics");
    DeadlineScan scan;
    QString error;
    {
        const BusyCursor busy;
        scan = findOpenEntries(context.paths, settings.keyIsEndDay, settings.passwordInForce(),
                               context.clock.today(), settings.deadlineDays);
        error = writeFileAtomically(path, deadlineCalendar(scan.entries, settings.keyIsEndDay,
                                                           settings.deadlineDays,
                                                           QDateTime::currentDateTimeUtc()));
    }
    reportUnreadableDataFiles(context.dialogs, scan.unreadableFiles);
    if (!error.isEmpty()) {
        context.dialogs.message(
            {QStringLiteral("カレンダーのファイル「%1」を保存できませんでした。\r\n%2")
                 .arg(QDir::toNativeSeparators(path), error),
             QStringLiteral("保存エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return false;
    }
    context.dialogs.message(
        {QStringLiteral("締切日が今日から%1日以内の未応募・不明の懸賞%2件を、カレンダーのファイル"
                        "「%3」に保存しました。カレンダーのアプリで読み込むと、締切日の%1日前に"
                        "お知らせが出ます。")
             .arg(settings.deadlineDays)
             .arg(scan.entries.size())
             .arg(QDir::toNativeSeparators(path)),
         QStringLiteral("完了"), MessageIcon::None, MessageButtons::Ok});
    return true;
}
