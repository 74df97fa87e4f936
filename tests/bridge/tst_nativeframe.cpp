// The browser bridge without a browser: the framing, the host's relay and the assistant's
// socket.
#include "bridge/BridgeLink.h"
#include "bridge/BridgeServer.h"
#include "bridge/HostRegistration.h"
#include "bridge/HostRelay.h"
#include "bridge/NativeFrame.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace {

QByteArray lengthOf(quint32 n)
{
    QByteArray b(4, Qt::Uninitialized);
    std::memcpy(b.data(), &n, 4);
    return b;
}

QByteArray framed(const QByteArray& body)
{
    return lengthOf(quint32(body.size())) + body;
}

// Every message a relay wrote to the browser, in order.
struct Browser
{
    nativeframe::Reader reader;
    QList<QJsonObject> got;
    void take(const QByteArray& bytes)
    {
        reader.append(bytes);
        while (const auto body = reader.next())
            got.append(nativeframe::parseObject(*body).value_or(QJsonObject{}));
    }
    QStringList types() const
    {
        QStringList t;
        for (const QJsonObject& m : got)
            t << m.value(QStringLiteral("type")).toString() +
                     (m.contains(QStringLiteral("assistant"))
                          ? QString(m.value(QStringLiteral("assistant")).toBool() ? u'+' : u'-')
                          : QString()) +
                     (m.contains(QStringLiteral("error"))
                          ? u':' + m.value(QStringLiteral("error")).toString()
                          : QString());
        return t;
    }
};

} // namespace

class TestNativeFrame : public QObject
{
    Q_OBJECT

private slots:
    void reader_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QList<QByteArray>>("bodies");
        QTest::addColumn<bool>("failed");
        const QByteArray a = "{\"a\":1}";
        const QByteArray b = "{\"b\":\"ズミ\"}";
        const QByteArray whole = framed(a) + framed(b);
        QTest::newRow("two frames in one read")
            << QList<QByteArray>{whole} << QList<QByteArray>{a, b} << false;
        QList<QByteArray> bytes;
        for (char c : whole)
            bytes << QByteArray(1, c);
        QTest::newRow("one byte a read") << bytes << QList<QByteArray>{a, b} << false;
        QTest::newRow("length split, body missing")
            << QList<QByteArray>{framed(a).left(2), framed(a).mid(2, 5)} << QList<QByteArray>{}
            << false;
        QTest::newRow("empty body")
            << QList<QByteArray>{lengthOf(0)} << QList<QByteArray>{""} << false;
        QTest::newRow("at the limit")
            << QList<QByteArray>{lengthOf(nativeframe::kMaxMessageBytes) +
                                 QByteArray(nativeframe::kMaxMessageBytes, ' ')}
            << QList<QByteArray>{QByteArray(nativeframe::kMaxMessageBytes, ' ')} << false;
        QTest::newRow("over the limit stops for good")
            << QList<QByteArray>{framed(a) + lengthOf(nativeframe::kMaxMessageBytes + 1), framed(b)}
            << QList<QByteArray>{a} << true;
        QTest::newRow("a length of 4 GiB")
            << QList<QByteArray>{lengthOf(0xffffffffu)} << QList<QByteArray>{} << true;
    }

    void reader()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QList<QByteArray>, bodies);
        QFETCH(bool, failed);
        nativeframe::Reader reader;
        QList<QByteArray> got;
        for (const QByteArray& chunk : chunks) {
            reader.append(chunk);
            while (const auto body = reader.next())
                got << *body;
        }
        QCOMPARE(got, bodies);
        QCOMPARE(reader.failed(), failed);
    }

    void encodeRefusesOversize()
    {
        const QJsonObject small{{QStringLiteral("text"), QStringLiteral("山田")}};
        QCOMPARE(nativeframe::encode(small),
                 framed(QJsonDocument(small).toJson(QJsonDocument::Compact)));
        const QJsonObject big{
            {QStringLiteral("text"), QString(int(nativeframe::kMaxMessageBytes), u'x')}};
        QVERIFY(nativeframe::encode(big).isEmpty());
    }

    // What the host answers the browser, with and without a running assistant.
    void relay_data()
    {
        QTest::addColumn<bool>("assistant");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QStringList>("toBrowser");
        QTest::addColumn<QStringList>("toAssistant");
        QTest::addColumn<bool>("lost");
        const QByteArray hello = framed("{\"type\":\"hello\",\"browser\":\"chromium\"}");
        QTest::newRow("closed assistant")
            << false << hello << QStringList{"status-", "status-"} << QStringList{} << false;
        QTest::newRow("bad JSON, then a message")
            << true << framed("{\"type\":") + framed("[1,2]") + hello
            << QStringList{"status+", "error:bad-json", "error:bad-json"}
            << QStringList{"host", "hello"} << false;
        QTest::newRow("over-size message")
            << true << hello + lengthOf(nativeframe::kMaxMessageBytes + 1) << QStringList{"status+"}
            << QStringList{"host", "hello"} << true;
    }

    void relay()
    {
        QFETCH(bool, assistant);
        QFETCH(QByteArray, input);
        QFETCH(QStringList, toBrowser);
        QFETCH(QStringList, toAssistant);
        QFETCH(bool, lost);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s"));
        BridgeServer server(path);
        QStringList heard;
        connect(&server, &BridgeServer::messageReceived, this, [&heard](const QJsonObject& m) {
            heard << m.value(QStringLiteral("type")).toString();
        });
        if (assistant)
            QCOMPARE(server.listen(), QString());
        Browser browser;
        HostRelay relay(path, QJsonArray{4242},
                        [&browser](const QByteArray& b) { browser.take(b); });
        QSignalSpy lostSpy(&relay, &HostRelay::browserLost);
        relay.start();
        QTRY_VERIFY(!browser.got.isEmpty());
        relay.fromBrowser(input);
        QTRY_COMPARE(heard, toAssistant);
        QTRY_COMPARE(browser.types(), toBrowser);
        QCOMPARE(lostSpy.count(), lost ? 1 : 0);
        if (assistant && !lost) {
            QVERIFY(server.browserConnected());
            QVERIFY(server.browserOwnsProcess(4242));
            QVERIFY(!server.browserOwnsProcess(4243));
            QVERIFY(server.send(bridgelink::insertMessage(1, QStringLiteral("山田"), {})));
            QTRY_COMPARE(browser.got.last().value(QStringLiteral("text")).toString(),
                         QStringLiteral("山田"));
        }
    }

    // An assistant that starts late, and one that goes away, are both followed.
    void relayFollowsTheAssistant()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s"));
        Browser browser;
        HostRelay relay(path, QJsonArray{1}, [&browser](const QByteArray& b) { browser.take(b); });
        relay.start();
        relay.fromBrowser(framed("{\"type\":\"hello\"}"));
        auto server = std::make_unique<BridgeServer>(path);
        QCOMPARE(server->listen(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(server->browserConnected(), 5000); // the hello is told again
        server.reset();
        QTRY_COMPARE(browser.types().last(), QStringLiteral("status-"));
        server = std::make_unique<BridgeServer>(path);
        QCOMPARE(server->listen(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(server->browserConnected(), 5000);
        QCOMPARE(browser.types(),
                 (QStringList{"status-", "status-", "status+", "status-", "status+"}));
    }

    void registration()
    {
        QTemporaryDir home;
        QProcessEnvironment env;
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral("/etc/elsewhere"));
        const auto targets =
            hostregistration::targets(home.path(), env, QStringLiteral("/opt/z/zumikey-bridge"));
        QCOMPARE(targets.size(), 3);
        for (const auto& t : targets)
            QVERIFY2(t.path.startsWith(home.path() + u'/'), qPrintable(t.path)); // never outside
        QCOMPARE(targets[0].path,
                 home.path() + QStringLiteral("/.config/chromium/NativeMessagingHosts/"
                                              "zumikey.bridge.json"));
        const QJsonObject chromium = QJsonDocument::fromJson(targets[0].content).object();
        QCOMPARE(chromium.value(QStringLiteral("path")).toString(),
                 QStringLiteral("/opt/z/zumikey-bridge"));
        QCOMPARE(chromium.value(QStringLiteral("allowed_origins")).toArray().first().toString(),
                 QStringLiteral("chrome-extension://cjcgabnapkegfdalmnnekfonmiinbggj/"));
        QCOMPARE(QJsonDocument::fromJson(targets[2].content)
                     .object()
                     .value(QStringLiteral("allowed_extensions"))
                     .toArray()
                     .first()
                     .toString(),
                 QStringLiteral("zumikey-bridge@zumicho"));

        QCOMPARE(hostregistration::registerHost(targets), QStringList());
        QFile file(targets[2].path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), targets[2].content);
        // An unchanged manifest is not written again; a changed one is.
        const QDateTime written = QFileInfo(targets[0].path).lastModified();
        QTest::qWait(20);
        QCOMPARE(hostregistration::registerHost(targets), QStringList());
        QCOMPARE(QFileInfo(targets[0].path).lastModified(), written);
        auto moved = hostregistration::targets(home.path(), env, QStringLiteral("/new/zb"));
        QCOMPARE(hostregistration::registerHost(moved), QStringList());
        QFile again(moved[0].path);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QVERIFY(again.readAll().contains("/new/zb"));
        // A folder that cannot be made is told, the other browsers are still registered.
        QTemporaryDir other;
        QFile blocker(other.filePath(QStringLiteral(".mozilla")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QStringList failures = hostregistration::registerHost(
            hostregistration::targets(other.path(), {}, QStringLiteral("/z")));
        QCOMPARE(failures.size(), 1);
        QVERIFY(failures.first().startsWith(QStringLiteral("Firefox: ")));
    }
};

QTEST_GUILESS_MAIN(TestNativeFrame)
#include "tst_nativeframe.moc"
