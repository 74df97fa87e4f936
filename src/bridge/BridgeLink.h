#pragma once

#include <QJsonObject>
#include <QString>

// What the browser extension, the native-messaging host and the assistant agree on.
namespace bridgelink {

// The host's name in the browsers' host manifests.
inline constexpr char kHostName[] = "zumikey.bridge";
// The extension's fixed ids: the key in the Chromium manifest yields the first.
inline constexpr char kChromiumExtensionId[] = "cjcgabnapkegfdalmnnekfonmiinbggj";
inline constexpr char kFirefoxExtensionId[] = "zumikey-bridge@zumicho";
inline constexpr char kHostProgram[] = "zumikey-bridge";

// The local socket of the assistant that runs on `dataFolder`: in the user's runtime folder
// (else the temporary folder), named by the folder's real place, so the host of one program
// folder finds the assistant of that folder only.
QString socketPath(const QString& dataFolder);

// Type of every message: "hello" (extension), "host" (host, with its process chain "pids"),
// "status" (host to extension: "assistant" true or false), "insert" (assistant: "text" and
// "after" of "", "Tab", "Enter"; answered by "result" with "ok" and "error"), "error" (host:
// a message it could not read).
QJsonObject insertMessage(int id, const QString& text, const QString& afterKey);
QJsonObject statusMessage(bool assistantConnected);
QJsonObject errorMessage(const QString& error);

} // namespace bridgelink
