#include "assistant/InstanceCheck.h"
#include "assistant/frmZumikey.h"
#include "bridge/BridgeLink.h"
#include "bridge/BridgeServer.h"
#include "core/AppPaths.h"
#include "core/Clock.h"
#include "core/Cp932.h"
#include "platform/AppSetup.h"
#include "platform/ForeignWindows.h"
#include "platform/QtDialogs.h"
#include "platform/SingleInstance.h"
#include "profile/KanaWidth.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The desktop entry's name (apps/desktop/).
    setUpApplication(QStringLiteral("zumikey"), QStringLiteral("com.example.zumikey"));
    const AppPaths paths = AppPaths::forInstall(QCoreApplication::applicationDirPath());
    QtDialogs dialogs;
    tellWindowLimits(dialogs, QStringLiteral("ズミキー"));

    SingleInstance instance(QStringLiteral("zumikey"), paths.dataFolder());
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
    BridgeServer bridge(bridgelink::socketPath(paths.dataFolder()));
    // The window keeps only files below data/, so it is given the folder that holds it.
    frmZumikey window(paths.dataHome(), dialogs, clock, *windows);
    window.setBrowserBridge(&bridge, QDir::homePath());
    window.show();
    return app.exec();
}
