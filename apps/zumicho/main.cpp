#include "core/AppContext.h"
#include "core/AppPaths.h"
#include "core/Clock.h"
#include "core/Cp932.h"
#include "core/FreedMemory.h"
#include "forms/DiaryInstance.h"
#include "forms/frmMain.h"
#include "platform/AppSetup.h"
#include "platform/QtDialogs.h"
#include "platform/SingleInstance.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    configureHeap();
    QApplication app(argc, argv);
    // The desktop entry's name (apps/desktop/).
    setUpApplication(QStringLiteral("zumicho"), QStringLiteral("com.example.zumicho"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QtDialogs dialogs;
    tellWindowLimits(dialogs, QStringLiteral("ズミラ帳"));
    const QString programFolder = QCoreApplication::applicationDirPath();

    const AppPaths paths = AppPaths::forInstall(programFolder);
    SingleInstance instance(QStringLiteral("zumicho"), paths.dataFolder());
    if (!acquireDiaryInstance(instance, dialogs))
        return instance.heldElsewhere() ? 0 : 1;
    if (!cp932::isAvailable()) {
        // Without the converter nothing could be read or written safely.
        dialogs.message(
            {QStringLiteral("文字コード (Shift_JIS / CP932) の変換機能が見つかりません。"),
             QStringLiteral("起動エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return 1;
    }

    SystemClock clock;
    frmMain window(AppContext{paths, dialogs, clock});
    if (!window.Form_Load())
        return 0;
    window.show();
    // Only now: a later start must not show the window before the start password was given.
    instance.showOnRequest(&window);
    return app.exec();
}
