#pragma once

#include <QByteArray>
#include <QJsonObject>

#include <optional>

// The browsers' native-messaging framing: a 32-bit length in the machine's own byte order,
// then that many bytes of UTF-8 JSON. The host and the assistant speak it to each other too.
namespace nativeframe {

// Browsers refuse a message from a host above 1 MiB; nothing we send comes near it, and
// nothing bigger is taken from either side.
constexpr quint32 kMaxMessageBytes = 1024 * 1024;

// The frame of one object; empty when it would exceed the limit.
QByteArray encode(const QJsonObject& message);

// The object a frame's body holds; nullopt for anything but a JSON object.
std::optional<QJsonObject> parseObject(const QByteArray& body);

// Cuts a byte stream into frame bodies. A length over the limit leaves the stream without a
// way back into step, so the reader stops for good.
class Reader
{
public:
    void append(const QByteArray& bytes);
    // The next complete body, or nullopt while bytes are missing or after a failure.
    std::optional<QByteArray> next();
    bool failed() const { return m_failed; }

private:
    QByteArray m_buffer;
    bool m_failed = false;
};

} // namespace nativeframe
