#include "core/AppContext.h"
#include "core/Clock.h"
#include "core/Cp932.h"
#include "core/FreedMemory.h"
#include "forms/frmMain.h"
#include "platform/AppIcon.h"
#include "platform/QtDialogs.h"
#include "platform/SingleInstance.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    configureHeap();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zumicho"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setWindowIcon(applicationIcon());
    QtDialogs dialogs;
    const QString programFolder = QCoreApplication::applicationDirPath();

    SingleInstance instance(QStringLiteral("zumicho"), programFolder);
    if (!instance.tryAcquire()) {
        dialogs.message({QStringLiteral("ズミラ帳は、すでに起動しています。"),
                         QStringLiteral("多重起動不可"), MessageIcon::None, MessageButtons::Ok});
        return 0;
    }
    if (!cp932::isAvailable()) {
        // Without the converter nothing could be read or written safely.
        dialogs.message(
            {QStringLiteral("文字コード (Shift_JIS / CP932) の変換機能が見つかりません。"),
             QStringLiteral("起動エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return 1;
    }

    SystemClock clock;
    frmMain window(AppContext{AppPaths(programFolder), dialogs, clock});
    if (!window.Form_Load())
        return 0;
    window.show();
    return app.exec();
}
