#include "assistant/StartUp.h"
#include "assistant/frmZumikey.h"
#include "core/Clock.h"
#include "core/Cp932.h"
#include "platform/ForeignWindows.h"
#include "platform/QtDialogs.h"
#include "platform/SingleInstance.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zumikey"));
    const QString programFolder = QCoreApplication::applicationDirPath();
    QtDialogs dialogs;

    SingleInstance instance(QStringLiteral("zumikey"), programFolder);
    if (!acquireSingleInstance(instance, dialogs))
        return 0;
    if (!cp932::isAvailable()) {
        dialogs.message({QStringLiteral("文字コード（Shift_JIS）の変換機能が見つかりません。"),
                         QStringLiteral("エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return 1;
    }

    SystemClock clock;
    const std::unique_ptr<ForeignWindows> windows = createForeignWindows();
    frmZumikey window(programFolder, dialogs, clock, *windows);
    window.show();
    return app.exec();
}
