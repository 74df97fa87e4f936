// Web pages, mail, help, the desktop shortcut and starting the input assistant.
#include "forms/frmMain.h"

#include "core/Dialogs.h"
#include "diary/Deployment.h"
#include "diary/KeySort.h"
#include "forms/EntryTableModel.h"

#include <QDateEdit>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>

QDate frmMain::shownDate() const
{
    return dtpDate->date();
}

void frmMain::SortMonthList()
{
    if (!m_state.settings.sortOn)
        return;
    QList<EntryRecord> rows = m_month->entries();
    ::SortMonthList(rows, true);
    m_month->reorder(rows);
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
    m_context.dialogs.openUrl(siteAddressFor(url, id)); // browser failures are silent
}

void frmMain::OpenDocument(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        m_context.dialogs.message({QStringLiteral("File not found:") + path, QStringLiteral("zumicho"),
                                   MessageIcon::None, MessageButtons::Ok});
        return;
    }
    if (!m_context.dialogs.openUrl(QUrl::fromLocalFile(path).toString())) {
        m_context.dialogs.message({QStringLiteral("No association for file extension"), QStringLiteral("zumicho"),
                                   MessageIcon::None, MessageButtons::Ok});
    }
}

void frmMain::cmdURL_Click()
{
    const bool onSearch = currentTab() == Tab::Search;
    const int index = onSearch ? m_state.selectedSearchIndex : m_state.selectedMonthIndex;
    const EntryTableModel* model = onSearch ? m_searchModel : m_monthModel;
    if (index > 0 && index <= model->rowCount()) {
        const EntryRecord& entry = model->entry(index - 1);
        OpenSiteUrl(entry[URL], entry[ID]);
    }
    disableEntryCommands();
    m_state.selectedMonthIndex = 0;
    m_state.selectedSearchIndex = 0;
}

void frmMain::cmdHelp_Click()
{
    const QString help = m_context.paths.programFolder() + QStringLiteral("/zumicho.chm");
    if (QFileInfo::exists(help)) {
        OpenDocument(help);
        return;
    }
    m_context.dialogs.message({QStringLiteral("ヘルプを表示させたい場合は、「zumicho.exe」と\r\n"
                                              "「zumicho.chm」を同じフォルダに入れて下さい。"),
                               QStringLiteral("ヘルプが見つかりません"), MessageIcon::Critical, MessageButtons::Ok});
}

void frmMain::cmdUserInput_Click()
{
    const QString assistant = m_context.paths.programFolder() + QStringLiteral("/zumikey");
    if (QFileInfo(assistant).isExecutable() && m_context.dialogs.startDetached(assistant, {}))
        return;
    m_context.dialogs.message({QStringLiteral("入力支援システムを使用したい場合は、「zumicho.exe」と\r\n"
                                              "「zumikey.exe」を同じフォルダに入れて下さい。"),
                               QStringLiteral("zumikey.exeが見つかりません"), MessageIcon::Critical, MessageButtons::Ok});
}

void frmMain::connectShellCommands()
{
    connect(cmdURL, &QPushButton::clicked, this, &frmMain::cmdURL_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmMain::cmdHelp_Click);
    connect(cmdUserInput, &QPushButton::clicked, this, &frmMain::cmdUserInput_Click);
    connect(cmdShortcut, &QPushButton::clicked, this, &frmMain::cmdShortcut_Click);
    connect(cmdZumiraHomepage, &QPushButton::clicked, this, [this] { OpenSiteUrl(deployment::kSiteHome, "0"); });
    connect(cmdZumiraMail, &QPushButton::clicked, this, [this] { OpenSiteUrl(deployment::kSiteContact, "0"); });
    connect(cmdMyHomepage, &QPushButton::clicked, this, [this] { OpenSiteUrl(deployment::kDeveloperHome, "0"); });
    connect(cmdMyMail, &QPushButton::clicked, this,
            [this] { m_context.dialogs.openUrl(QStringLiteral("mailto:") + deployment::kDeveloperMail); });
}
