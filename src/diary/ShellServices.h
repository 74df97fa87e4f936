#pragma once

#include "core/ShellResult.h"
#include "diary/Commands.h"

#include <QString>

class AppPaths;
class Dialogs;

// Where each window's ヘルプ button leads in the manual.
enum class HelpTopic {
    MonthTab,
    YearTab,
    TotalTab,
    SearchTab,
    SettingsTab,
    AboutTab,
    EntryForm,
    SearchForm
};

// The manual's page and section of a topic ("main.html#month").
QString helpSection(HelpTopic topic);
// The topic of a main-window tab.
HelpTopic helpTopicForTab(Tab tab);

// Opens a local file with the desktop's program for it; a failure gets a box that names
// why. `fragment` picks a section of an HTML page. True when opened.
bool OpenDocument(Dialogs& dialogs, const QString& path, const QString& fragment = QString());
// Opens a web page or a mail address; a failure gets a box. True when opened.
bool OpenAddress(Dialogs& dialogs, const QString& address);
// Opens the manual at the topic's section, or tells the user the manual is missing.
void ShowHelp(Dialogs& dialogs, const AppPaths& paths, HelpTopic topic);
