#include "assistant/frmZumikey.h"

#include "bridge/BridgeLink.h"
#include "bridge/BridgeServer.h"
#include "bridge/HostRegistration.h"
#include "core/Clock.h"
#include "core/Dialogs.h"
#include "platform/ForeignWindows.h"

#include <QComboBox>
#include <QFileInfo>
#include <QJsonObject>
#include <QProcessEnvironment>

namespace {

// The after-key as the page carries it out: "Tab", "Enter" or "".
QString afterKeyName(const QString& keyInputAfter)
{
    const QString sequence = afterKeySequence(keyInputAfter);
    if (sequence == QLatin1String("{TAB}"))
        return QStringLiteral("Tab");
    if (sequence == QLatin1String("{ENTER}"))
        return QStringLiteral("Enter");
    return {};
}

} // namespace

void frmZumikey::setBrowserBridge(BridgeServer* bridge, const QString& home)
{
    const QString host = m_paths.programFolder() + u'/' + QLatin1String(bridgelink::kHostProgram);
    if (!bridge || !QFileInfo(host).isExecutable())
        return;
    m_bridge = bridge;
    connect(bridge, &BridgeServer::messageReceived, this, &frmZumikey::browserAnswered);
    QStringList failures;
    const QString listenError = bridge->listen();
    if (!listenError.isEmpty())
        failures << QStringLiteral("接続の受け付け: ") + listenError;
    failures << hostregistration::registerHost(
        hostregistration::targets(home, QProcessEnvironment::systemEnvironment(), host));
    if (failures.isEmpty())
        return;
    m_dialogs.message({QStringLiteral("ブラウザー連携の準備ができませんでした。\r\n") +
                           failures.join(QStringLiteral("\r\n")) +
                           QStringLiteral("\r\nブラウザーの入力欄へ直接入力することはできません。"),
                       QStringLiteral("ズミキー"), MessageIcon::Critical, MessageButtons::Ok});
}

bool frmZumikey::browserIsTarget() const
{
    if (!m_bridge || !m_bridge->browserConnected())
        return false;
    // Where other windows can be reached, the browser is the target only when it was the
    // window the user worked in last.
    return !m_windows.available() ||
           m_bridge->browserOwnsProcess(m_windows.windowProcess(mlngTargetWnd));
}

bool frmZumikey::sendToBrowser(const QString& text)
{
    return browserIsTarget() &&
           m_bridge->send(bridgelink::insertMessage(++m_bridgeRequest, text,
                                                    afterKeyName(cboKeyInputAfter->currentText())));
}

void frmZumikey::cmdFormFill_Click()
{
    if (!browserIsTarget()) {
        m_dialogs.message(
            {QStringLiteral("フォームへの一括入力は、拡張機能「ズミキー連携」を追加したブラウザーで"
                            "行います。\r\nブラウザーで応募フォームを開いてから、もう一度押して"
                            "ください。"),
             QStringLiteral("ズミキー"), MessageIcon::Information, MessageButtons::Ok});
        return;
    }
    QJsonObject values;
    for (const auto& [key, value] : formFillValues(m_profile, m_clock.today()))
        values.insert(key, value);
    m_bridge->send({{QStringLiteral("type"), QStringLiteral("fill")},
                    {QStringLiteral("id"), ++m_bridgeRequest},
                    {QStringLiteral("values"), values}});
}

void frmZumikey::browserAnswered(const QJsonObject& message)
{
    if (message.value(QStringLiteral("type")).toString() != QLatin1String("result") ||
        message.value(QStringLiteral("ok")).toBool())
        return;
    const QString error = message.value(QStringLiteral("error")).toString();
    QString text;
    if (error == QLatin1String("no-field") || error == QLatin1String("no-tab"))
        text = QStringLiteral("ブラウザーで入力欄が選ばれていないため、入力できませんでした。\r\n"
                              "入力したい欄をクリックしてから、もう一度ボタンを押してください。");
    else if (error == QLatin1String("no-form"))
        text = QStringLiteral("このページには、一括入力できる欄が見つかりませんでした。");
    else if (error == QLatin1String("read-only"))
        text = QStringLiteral("選ばれている入力欄には書き込めないため、入力できませんでした。");
    else
        text = QStringLiteral("ブラウザーの入力欄に入力できませんでした。\r\n") + error;
    m_dialogs.message(
        {text, QStringLiteral("ズミキー"), MessageIcon::Exclamation, MessageButtons::Ok});
}
