#pragma once

#include "diary/EntryRecord.h"
#include "diary/ShellServices.h"

#include <QDate>
#include <QString>

class QWidget;
struct AppContext;
struct Settings;

// What became of a finished edit, and what the form shows next.
struct EditOutcome
{
    enum class Next {
        Stay,   // the form keeps what it shows
        Follow, // the entry now stands at `row` (a sort moved it); only the position changes
        Reshow, // show the entry at `row` (the one now at the old place after a move)
        Close,  // nothing is left to show
    };
    bool done = false;
    Next next = Next::Stay;
    int row = -1;
};

// What the entry form needs of the main window: the rows of the list it was opened from,
// the settings in force, and one call that takes a finished edit. The form never changes
// a list or a month file itself.
class EntryFormHost
{
public:
    virtual ~EntryFormHost() = default;

    virtual const AppContext& context() const = 0;
    // The settings in force (key date, always on top, duplicate check, key sort).
    virtual const Settings& settings() const = 0;
    // The rows the form steps through (0-based).
    virtual int entryCount() const = 0;
    virtual EntryRecord entryAt(int row) const = 0;
    // The day of the main window's date picker.
    virtual QDate shownDate() const = 0;
    // Stores `entry`: as row `row` of the list (0-based), or as a new entry when `row` is -1.
    virtual EditOutcome finishEdit(const EntryRecord& entry, int row) = 0;
    // The form closed; the main window takes its commands back.
    virtual void entryFormClosed() = 0;

    // Opens an entry's page; entries taken from the site (ID other than "0") open its
    // pick-up page.
    virtual void OpenSiteUrl(const QString& url, const QString& id) = 0;
    // Opens a file with the desktop's program for it; reports failures.
    virtual void OpenDocument(const QString& path) = 0;
    // Opens the manual at the topic.
    virtual void showHelp(HelpTopic topic) = 0;
    virtual QWidget* mainWidget() = 0;
};
