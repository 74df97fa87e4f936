#include "assistant/InstanceCheck.h"
#include "assistant/frmZumikey.h"
#include "bridge/BridgeLink.h"
#include "bridge/BridgeServer.h"
#include "core/AppPaths.h"
#include "core/Clock.h"
#include "core/Cp932.h"
#include "platform/AppIcon.h"
#include "platform/ForeignWindows.h"
#include "platform/QtDialogs.h"
#include "platform/SingleInstance.h"
#include "profile/KanaWidth.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zumikey"));
    QApplication::setWindowIcon(applicationIcon());
    const QString programFolder = QCoreApplication::applicationDirPath();
    QtDialogs dialogs;

    SingleInstance instance(QStringLiteral("zumikey"), AppPaths(programFolder).dataFolder());
    if (!acquireSingleInstance(instance, dialogs))
        return instance.heldElsewhere() ? 0 : 1;
    // Without these the profile could neither be stored nor checked.
    if (!cp932::isAvailable() || !kana::isAvailable()) {
        dialogs.message(
            {QStringLiteral("文字の変換機能（ICU）が見つからないため、起動できません。"),
             QStringLiteral("エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return 1;
    }

    SystemClock clock;
    const std::unique_ptr<ForeignWindows> windows = createForeignWindows();
    BridgeServer bridge(bridgelink::socketPath(AppPaths(programFolder).dataFolder()));
    frmZumikey window(programFolder, dialogs, clock, *windows);
    window.setBrowserBridge(&bridge, QDir::homePath());
    window.show();
    return app.exec();
}
