#include "diary/ShellServices.h"

#include "core/AppPaths.h"
#include "core/Dialogs.h"

#include <QFileInfo>
#include <QUrl>

namespace {

void reportFailure(Dialogs& dialogs, ShellResult result, const QString& what)
{
    dialogs.message({shellErrorText(result, what), QStringLiteral("zumicho"), MessageIcon::None,
                     MessageButtons::Ok});
}

QString manualFolder(const AppPaths& paths)
{
    return paths.programFolder() + QStringLiteral("/manual");
}

} // namespace

QString helpSection(HelpTopic topic)
{
    switch (topic) {
    case HelpTopic::MonthTab:
        return QStringLiteral("main.html#month");
    case HelpTopic::YearTab:
        return QStringLiteral("main.html#year");
    case HelpTopic::TotalTab:
        return QStringLiteral("main.html#total");
    case HelpTopic::SearchTab:
        return QStringLiteral("main.html#search");
    case HelpTopic::SettingsTab:
        return QStringLiteral("main.html#settings");
    case HelpTopic::AboutTab:
        return QStringLiteral("main.html#about");
    case HelpTopic::EntryForm:
        return QStringLiteral("entry.html#form");
    case HelpTopic::SearchForm:
        return QStringLiteral("search.html#form");
    }
    return QStringLiteral("index.html");
}

HelpTopic helpTopicForTab(Tab tab)
{
    switch (tab) {
    case Tab::Month:
        return HelpTopic::MonthTab;
    case Tab::Year:
        return HelpTopic::YearTab;
    case Tab::Total:
        return HelpTopic::TotalTab;
    case Tab::Search:
        return HelpTopic::SearchTab;
    case Tab::Setting:
        return HelpTopic::SettingsTab;
    case Tab::About:
        return HelpTopic::AboutTab;
    }
    return HelpTopic::MonthTab;
}

bool OpenDocument(Dialogs& dialogs, const QString& path, const QString& fragment)
{
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (!fragment.isEmpty())
        url.setFragment(fragment);
    const ShellResult result = dialogs.openUrl(url.toString());
    if (result == ShellResult::Opened)
        return true;
    reportFailure(dialogs, result, path);
    return false;
}

bool OpenAddress(Dialogs& dialogs, const QString& address)
{
    const ShellResult result = dialogs.openUrl(address);
    if (result == ShellResult::Opened)
        return true;
    reportFailure(dialogs, result, address);
    return false;
}

void ShowHelp(Dialogs& dialogs, const AppPaths& paths, HelpTopic topic)
{
    const QString folder = manualFolder(paths);
    if (!QFileInfo::exists(folder + QStringLiteral("/index.html"))) {
        dialogs.message({QStringLiteral("ヘルプを表示させたい場合は、「zumicho」と\r\n"
                                        "「manual」フォルダを同じフォルダに入れて下さい。"),
                         QStringLiteral("ヘルプが見つかりません"), MessageIcon::Critical,
                         MessageButtons::Ok});
        return;
    }
    const QString section = helpSection(topic);
    const qsizetype hash = section.indexOf(u'#');
    OpenDocument(dialogs, folder + u'/' + section.left(hash), section.mid(hash + 1));
}
