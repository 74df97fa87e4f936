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
    if (!instance.tryAcquire()) {
        dialogs.message({QStringLiteral("ズミキー（入力支援ツール）は、すでに起動しています。"),
                         QStringLiteral("多重起動不可"), MessageIcon::None, MessageButtons::Ok});
        return 0;
    }
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
