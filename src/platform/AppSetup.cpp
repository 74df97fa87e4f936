#include "platform/AppSetup.h"

#include "core/Dialogs.h"
#include "platform/AppIcon.h"
#include "platform/WindowLevel.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void setUpApplication(const QString& name, const QString& desktopEntry)
{
    QApplication::setApplicationName(name);
    QApplication::setDesktopFileName(desktopEntry);
    QApplication::setWindowIcon(applicationIcon());
    if (!installQtJapanese())
        qWarning(
            "Qt's Japanese translation (qtbase_ja.qm) was not found; its dialogs stay in English.");
}

void tellWindowLimits(Dialogs& dialogs, const QString& caption)
{
    setWindowLevelNotice([&dialogs, caption](const QString& text) {
        dialogs.message({text, caption, MessageIcon::Information, MessageButtons::Ok});
    });
}

bool installQtJapanese()
{
    // Japanese whatever the session's language: every text of the programs is Japanese.
    static QTranslator translator;
    if (translator.isEmpty() &&
        !translator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qt"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::removeTranslator(&translator);
    return QCoreApplication::installTranslator(&translator);
}
