#pragma once

#include <QString>

// What became of handing a document or address to the desktop. The failure values keep
// the shell's classic result numbers, by which the users' error texts have always been
// known; values above 32 mean success.
enum class ShellResult {
    Unknown = 0,
    FileNotFound = 2,
    PathNotFound = 3,
    AccessDenied = 5,
    OutOfMemory = 8,
    BadExecutable = 11,
    SharingViolation = 26,
    IncompleteAssociation = 27,
    DdeTimeout = 28,
    DdeFailed = 29,
    DdeBusy = 30,
    NoAssociation = 31,
    DllNotFound = 32,
    Opened = 33,
};

// The text of the box that reports a failure; `path` is what could not be opened.
QString shellErrorText(ShellResult result, const QString& path);
