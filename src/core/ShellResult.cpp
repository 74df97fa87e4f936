#include "core/ShellResult.h"

QString shellErrorText(ShellResult result, const QString& path)
{
    switch (result) {
    case ShellResult::FileNotFound:
        return QStringLiteral("File not found:") + path;
    case ShellResult::PathNotFound:
        return QStringLiteral("Path not found:") + path;
    case ShellResult::AccessDenied:
        return QStringLiteral("Access denied");
    case ShellResult::OutOfMemory:
        return QStringLiteral("Out of memory");
    case ShellResult::BadExecutable:
        return QStringLiteral("Invalid EXE file or error in EXE image");
    case ShellResult::SharingViolation:
        return QStringLiteral("A sharing violation occurred");
    case ShellResult::IncompleteAssociation:
        return QStringLiteral("Incomplete or invalid file association");
    case ShellResult::DdeTimeout:
        return QStringLiteral("DDE Time out");
    case ShellResult::DdeFailed:
        return QStringLiteral("DDE transaction failed");
    case ShellResult::DdeBusy:
        return QStringLiteral("DDE busy");
    case ShellResult::NoAssociation:
        return QStringLiteral("No association for file extension");
    case ShellResult::DllNotFound:
        return QStringLiteral("DLL not found");
    case ShellResult::Unknown:
    case ShellResult::Opened:
        break;
    }
    return QStringLiteral("Unknown error");
}
