#include "bridge/NativeFrame.h"

#include <QJsonDocument>

#include <cstring>

namespace nativeframe {

QByteArray encode(const QJsonObject& message)
{
    const QByteArray body = QJsonDocument(message).toJson(QJsonDocument::Compact);
    if (body.size() > qsizetype(kMaxMessageBytes))
        return {};
    const quint32 length = quint32(body.size());
    QByteArray frame(sizeof length, Qt::Uninitialized);
    std::memcpy(frame.data(), &length, sizeof length);
    return frame + body;
}

std::optional<QJsonObject> parseObject(const QByteArray& body)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    return doc.object();
}

void Reader::append(const QByteArray& bytes)
{
    if (!m_failed)
        m_buffer += bytes;
}

std::optional<QByteArray> Reader::next()
{
    quint32 length = 0;
    if (m_failed || m_buffer.size() < qsizetype(sizeof length))
        return std::nullopt;
    std::memcpy(&length, m_buffer.constData(), sizeof length);
    if (length > kMaxMessageBytes) {
        m_failed = true;
        m_buffer.clear();
        return std::nullopt;
    }
    if (m_buffer.size() < qsizetype(sizeof length + length))
        return std::nullopt;
    QByteArray body = m_buffer.mid(sizeof length, length);
    m_buffer.remove(0, sizeof length + length);
    return body;
}

} // namespace nativeframe
