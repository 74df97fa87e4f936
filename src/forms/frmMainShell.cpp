// Web pages, mail, help, the desktop shortcut and starting the input assistant.
#include "forms/frmMain.h"

#include "core/Dialogs.h"
#include "diary/Deployment.h"
#include "diary/KeySort.h"
#include "diary/ShellServices.h"
#include "forms/EntryTableModel.h"

#include <QDateEdit>
#include <QFileInfo>
#include <QPushButton>

QDate frmMain::shownDate() const
{
    return dtpDate->date();
}

void frmMain::SortMonthList()
{
    if (!m_state.settings.sortOn)
        return;
    m_month->arrange([](QList<EntryRecord>& rows) { ::SortMonthList(rows, true); });
}

QString siteAddressFor(const QString& url, const QString& id)
{
    QString address = url;
    if (id != u"0")
        address.replace(deployment::kSiteCategoryPrefix, deployment::kSitePickupPrefix);
    return address;
}

void frmMain::OpenSiteUrl(const QString& url, const QString& id)
{
    OpenAddress(m_context.dialogs, siteAddressFor(url, id));
}

void frmMain::OpenDocument(const QString& path)
{
    ::OpenDocument(m_context.dialogs, path);
}

void frmMain::showHelp(HelpTopic topic)
{
    ShowHelp(m_context.dialogs, m_context.paths, topic);
}

void frmMain::cmdURL_Click()
{
    const bool onSearch = currentTab() == Tab::Search;
    const std::optional<int> row = entryCommandRow();
    const EntryTableModel* model = onSearch ? m_searchModel : m_monthModel;
    if (pickedRowWithin(row, model->rowCount())) {
        const EntryRecord& entry = model->entry(*row);
        OpenSiteUrl(entry[URL], entry[ID]);
    }
    disableEntryCommands();
    m_state.selectedMonthRow.reset();
    m_state.selectedSearchRow.reset();
}

void frmMain::cmdHelp_Click()
{
    showHelp(helpTopicForTab(currentTab()));
}

void frmMain::cmdUserInput_Click()
{
    const QString assistant = m_context.paths.programFolder() + QStringLiteral("/zumikey");
    if (QFileInfo(assistant).isExecutable() && m_context.dialogs.startDetached(assistant, {}))
        return;
    m_context.dialogs.message(
        {QStringLiteral("入力支援システムを使用したい場合は、「zumicho.exe」と\r\n"
                        "「zumikey.exe」を同じフォルダに入れて下さい。"),
         QStringLiteral("zumikey.exeが見つかりません"), MessageIcon::Critical, MessageButtons::Ok});
}

void frmMain::connectShellCommands()
{
    connect(cmdURL, &QPushButton::clicked, this, &frmMain::cmdURL_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmMain::cmdHelp_Click);
    connect(cmdUserInput, &QPushButton::clicked, this, &frmMain::cmdUserInput_Click);
    connect(cmdShortcut, &QPushButton::clicked, this, &frmMain::cmdShortcut_Click);
    connect(cmdZumiraHomepage, &QPushButton::clicked, this,
            [this] { OpenSiteUrl(deployment::kSiteHome, "0"); });
    connect(cmdZumiraMail, &QPushButton::clicked, this,
            [this] { OpenSiteUrl(deployment::kSiteContact, "0"); });
    connect(cmdMyHomepage, &QPushButton::clicked, this,
            [this] { OpenSiteUrl(deployment::kDeveloperHome, "0"); });
    connect(cmdMyMail, &QPushButton::clicked, this, [this] {
        OpenAddress(m_context.dialogs, QStringLiteral("mailto:") + deployment::kDeveloperMail);
    });
}
