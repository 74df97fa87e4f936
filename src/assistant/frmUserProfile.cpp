#include "assistant/frmUserProfile.h"

#include "core/AtomicFile.h"
#include "core/Dialogs.h"
#include "platform/WindowLevel.h"
#include "profile/ProfileValidation.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace {

using K = ProfileKey;

const QDate kDefaultBirthday(1970, 1, 1);
const QString kDateFormat = QStringLiteral("yyyy/MM/dd");
const QString kMan = QStringLiteral("男性");
const QString kWoman = QStringLiteral("女性");

} // namespace

frmUserProfile::frmUserProfile(const AppPaths& paths, int person, bool topMost, Dialogs& dialogs,
                               QWidget* parent)
    : QDialog(parent), m_paths(paths), m_person(person), m_path(personProfilePath(paths, person)),
      m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmUserProfile"));
    setWindowTitle(QStringLiteral("プロフィール管理"));
    buildLayout();
    // Form_Load: the same stacking as the main window, then the file.
    setTopMost(this, topMost);
    showPerson(person);
    LoadProfileEditor();
}

QLineEdit* frmUserProfile::addBox(K key, const QString& objectName, int maxLength, bool inputMethod,
                                  const QString& toolTip, const QString& accessibleName)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(objectName);
    edit->setMaxLength(maxLength);
    edit->setToolTip(toolTip);
    edit->setAccessibleName(accessibleName);
    if (!inputMethod) {
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        edit->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhNoPredictiveText);
    }
    m_boxes[key] = edit;
    return edit;
}

void frmUserProfile::buildLayout()
{
    auto* grid = new QGridLayout;
    int row = 0;
    QList<QWidget*> tabOrder;

    // One labelled row of boxes; the label names the first box, the others carry the label
    // text and their own tool tip as accessible name.
    const auto addRow = [&](const QString& labelName, const QString& caption,
                            const QList<QLineEdit*>& boxes) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(labelName);
        label->setBuddy(boxes.first());
        grid->addWidget(label, row, 0);
        auto* line = new QHBoxLayout;
        bool shortBoxes = true;
        for (QLineEdit* b : boxes) {
            // Boxes of a few digits are sized to what they hold.
            if (b->maxLength() <= 4)
                b->setFixedWidth(
                    b->fontMetrics().horizontalAdvance(QString(b->maxLength() + 2, u'0')) + 12);
            else
                shortBoxes = false;
            line->addWidget(b);
            tabOrder << b;
        }
        if (shortBoxes)
            line->addStretch();
        grid->addLayout(line, row, 1);
        ++row;
    };
    const auto named = [](const QString& caption, const QString& part) {
        return part.isEmpty() ? caption : caption + u' ' + part;
    };

    const QString nameParts[] = {QStringLiteral("姓"), QStringLiteral("名")};
    const QString addressParts[] = {QStringLiteral("都道府県"), QStringLiteral("市区町村"),
                                    QStringLiteral("番地"), QStringLiteral("建物")};

    const QString nameCaption = QStringLiteral("お名前(漢字)");
    addRow(QStringLiteral("lblUserName"), nameCaption,
           {addBox(K::UserName1, QStringLiteral("txtUserName_1"), 10, true, nameParts[0],
                   named(nameCaption, nameParts[0])),
            addBox(K::UserName2, QStringLiteral("txtUserName_2"), 10, true, nameParts[1],
                   named(nameCaption, nameParts[1]))});
    const QString kanaCaption = QStringLiteral("お名前(かな)");
    addRow(QStringLiteral("lblUserNameKana"), kanaCaption,
           {addBox(K::UserNameKana1, QStringLiteral("txtUserNameKana_1"), 20, true, nameParts[0],
                   named(kanaCaption, nameParts[0])),
            addBox(K::UserNameKana2, QStringLiteral("txtUserNameKana_2"), 20, true, nameParts[1],
                   named(kanaCaption, nameParts[1]))});
    const QString mailCaption = QStringLiteral("メールアドレス");
    addRow(QStringLiteral("lblUserMail"), mailCaption,
           {addBox(K::UserMail, QStringLiteral("txtUserMail"), 96, false, QString(), mailCaption)});
    const QString zipCaption = QStringLiteral("郵便番号");
    QLineEdit* zip1 = addBox(K::UserZip1, QStringLiteral("txtUserZip_1"), 3, false, QString(),
                             named(zipCaption, QStringLiteral("1")));
    QLineEdit* zip2 = addBox(K::UserZip2, QStringLiteral("txtUserZip_2"), 4, false, QString(),
                             named(zipCaption, QStringLiteral("2")));
    addRow(QStringLiteral("lblUserZip"), zipCaption, {zip1, zip2});
    m_digitBoxes << zip1 << zip2;

    const struct
    {
        const char* label;
        const char16_t* caption;
        const char* box;
        K first;
    } addressRows[] = {
        {"lblUserAddress", u"住所(漢字)", "txtUserAddress_%1", K::UserAddress1},
        {"lblUserAddressKana", u"住所(かな)", "txtUserAddressKana_%1", K::UserAddressKana1},
    };
    for (const auto& r : addressRows) {
        const QString caption = QString::fromUtf16(r.caption);
        QList<QLineEdit*> boxes;
        for (int i = 0; i < 4; ++i)
            boxes << addBox(static_cast<K>(static_cast<int>(r.first) + i),
                            QString::fromLatin1(r.box).arg(i + 1), 50, true, addressParts[i],
                            named(caption, addressParts[i]));
        addRow(QString::fromLatin1(r.label), caption, boxes);
    }

    const struct
    {
        const char* label;
        const char16_t* caption;
        const char* box;
        K first;
    } telRows[] = {
        {"lblUserTel1", u"電話番号1", "txtUserTel1_%1", K::UserTel11},
        {"lblUserTel2", u"電話番号2", "txtUserTel2_%1", K::UserTel21},
    };
    for (const auto& r : telRows) {
        const QString caption = QString::fromUtf16(r.caption);
        QList<QLineEdit*> boxes;
        for (int i = 0; i < 3; ++i)
            boxes << addBox(static_cast<K>(static_cast<int>(r.first) + i),
                            QString::fromLatin1(r.box).arg(i + 1), 4, false, QString(),
                            named(caption, QString::number(i + 1)));
        addRow(QString::fromLatin1(r.label), caption, boxes);
        m_digitBoxes << boxes;
    }

    auto* birthdayLabel = new QLabel(QStringLiteral("生年月日"), this);
    birthdayLabel->setObjectName(QStringLiteral("lblUserBirthday"));
    dtpUserBirthday = new QDateEdit(this);
    dtpUserBirthday->setObjectName(QStringLiteral("dtpUserBirthday"));
    dtpUserBirthday->setDisplayFormat(kDateFormat);
    dtpUserBirthday->setCalendarPopup(true);
    dtpUserBirthday->setMinimumDate(QDate(1900, 1, 1));
    birthdayLabel->setBuddy(dtpUserBirthday);
    grid->addWidget(birthdayLabel, row, 0);
    grid->addWidget(dtpUserBirthday, row++, 1, Qt::AlignLeft);
    tabOrder << dtpUserBirthday;

    auto* sexLabel = new QLabel(QStringLiteral("性別"), this);
    sexLabel->setObjectName(QStringLiteral("lblUserSex"));
    optUserMan = new QRadioButton(kMan, this);
    optUserMan->setObjectName(QStringLiteral("optUserMan"));
    optUserWoman = new QRadioButton(kWoman, this);
    optUserWoman->setObjectName(QStringLiteral("optUserWoman"));
    auto* sexGroup = new QButtonGroup(this);
    sexGroup->addButton(optUserMan);
    sexGroup->addButton(optUserWoman);
    auto* sexLine = new QHBoxLayout;
    sexLine->addWidget(optUserMan);
    sexLine->addWidget(optUserWoman);
    sexLine->addStretch();
    grid->addWidget(sexLabel, row, 0);
    grid->addLayout(sexLine, row++, 1);
    tabOrder << optUserMan << optUserWoman;

    const QString jobCaption = QStringLiteral("職業");
    QLineEdit* job =
        addBox(K::UserJob, QStringLiteral("txtUserJob"), 50, true, QString(), jobCaption);
    auto* jobLabel = new QLabel(jobCaption, this);
    jobLabel->setObjectName(QStringLiteral("lblUserJob"));
    jobLabel->setBuddy(job);
    grid->addWidget(jobLabel, row, 0);
    grid->addWidget(job, row++, 1);
    tabOrder << job;

    cmdUserSet = new QPushButton(QStringLiteral("更新(&A)"), this);
    cmdUserSet->setObjectName(QStringLiteral("cmdUserSet"));
    cmdUserClear = new QPushButton(QStringLiteral("クリア(&R)"), this);
    cmdUserClear->setObjectName(QStringLiteral("cmdUserClear"));
    cmdClose = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    for (QPushButton* b : {cmdUserSet, cmdUserClear, cmdClose}) {
        b->setAutoDefault(false);
        tabOrder << b;
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdUserSet);
    buttons->addWidget(cmdUserClear);
    buttons->addWidget(cmdClose);

    auto* personLabel = new QLabel(QStringLiteral("編集する人"), this);
    personLabel->setObjectName(QStringLiteral("lblPerson"));
    lblPersonName = new QLabel(this);
    lblPersonName->setObjectName(QStringLiteral("lblPersonName"));
    lblPersonName->setTextFormat(Qt::PlainText);
    lblPersonName->setAccessibleName(personLabel->text());
    cmdPersonAdd = new QPushButton(QStringLiteral("人を追加(&N)"), this);
    cmdPersonAdd->setObjectName(QStringLiteral("cmdPersonAdd"));
    cmdPersonRemove = new QPushButton(QStringLiteral("この人を削除(&D)"), this);
    cmdPersonRemove->setObjectName(QStringLiteral("cmdPersonRemove"));
    auto* personLine = new QHBoxLayout;
    personLine->addWidget(personLabel);
    personLine->addWidget(lblPersonName, 1);
    for (QPushButton* b : {cmdPersonAdd, cmdPersonRemove}) {
        b->setAutoDefault(false);
        personLine->addWidget(b);
        tabOrder << b;
    }

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(personLine);
    outer->addLayout(grid);
    outer->addLayout(buttons);

    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    for (QLineEdit* b : std::as_const(m_digitBoxes))
        b->installEventFilter(this);

    connect(cmdUserSet, &QPushButton::clicked, this, &frmUserProfile::cmdUserSet_Click);
    connect(cmdUserClear, &QPushButton::clicked, this, &frmUserProfile::cmdUserClear_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmUserProfile::cmdClose_Click);
    connect(cmdPersonAdd, &QPushButton::clicked, this, &frmUserProfile::cmdPersonAdd_Click);
    connect(cmdPersonRemove, &QPushButton::clicked, this, &frmUserProfile::cmdPersonRemove_Click);
}

QLineEdit* frmUserProfile::box(ProfileKey key) const
{
    const auto it = m_boxes.find(key);
    return it == m_boxes.end() ? nullptr : it->second;
}

UserProfile frmUserProfile::boxValues() const
{
    UserProfile p;
    for (const auto& [key, edit] : m_boxes)
        p[key] = edit->text();
    p[K::UserBirthday] = dtpUserBirthday->date().toString(kDateFormat);
    p[K::UserSex] = optUserMan->isChecked() ? kMan : kWoman;
    return p;
}

void frmUserProfile::LoadProfileEditor()
{
    const UserProfile p = loadUserProfileFile(m_path);
    for (const auto& [key, edit] : m_boxes)
        edit->setText(p[key]);
    const QDate birthday = p.birthDate();
    dtpUserBirthday->setDate(birthday.isValid() ? birthday : kDefaultBirthday);
    (p[K::UserSex] == kMan ? optUserMan : optUserWoman)->setChecked(true);
}

bool frmUserProfile::SaveUserProfile(const UserProfile& profile)
{
    const QString error = saveUserProfileFile(m_path, profile);
    if (error.isEmpty()) {
        showPerson(m_person); // the name may have changed
        return true;
    }
    // The old file is still there; say so rather than pretend it was saved.
    m_dialogs.message({QStringLiteral("プロフィールを保存できませんでした。\r\n") + error,
                       QStringLiteral("エラー"), MessageIcon::Critical, MessageButtons::Ok});
    return false;
}

void frmUserProfile::cmdUserSet_Click()
{
    ProfileCheck check = validateProfile(boxValues());
    if (check.ok)
        check = checkStorable(check.rewritten);
    // Kana boxes that passed are shown in full width even when a later check fails.
    for (const auto& [key, edit] : m_boxes) {
        if (edit->text() != check.rewritten[key])
            edit->setText(check.rewritten[key]);
    }
    if (!check.ok) {
        m_dialogs.message({check.message, QStringLiteral("入力エラー"), MessageIcon::Critical,
                           MessageButtons::Ok});
        if (QLineEdit* edit = box(check.box)) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        }
        return;
    }
    SaveUserProfile(check.rewritten);
}

void frmUserProfile::clearBoxes()
{
    for (const auto& entry : m_boxes)
        entry.second->clear();
    dtpUserBirthday->setDate(kDefaultBirthday);
    optUserWoman->setChecked(true);
}

void frmUserProfile::cmdUserClear_Click()
{
    const MessageAnswer answer =
        m_dialogs.message({QStringLiteral("本当にクリアしますか？\r\n実行すると元には戻せません。"),
                           QStringLiteral("クリアの確認"), MessageIcon::Question,
                           MessageButtons::YesNo, MessageAnswer::Yes});
    if (answer != MessageAnswer::Yes)
        return;
    clearBoxes();
    if (m_person == kFirstPerson) {
        removeFileDurably(m_path);
    } else if (const QString error = saveUserProfileFile(m_path, {}); !error.isEmpty()) {
        // A further person is there only while the file is, so it is emptied instead.
        m_dialogs.message({QStringLiteral("プロフィールをクリアできませんでした。\r\n") + error,
                           QStringLiteral("エラー"), MessageIcon::Critical, MessageButtons::Ok});
    }
    showPerson(m_person);
}

void frmUserProfile::cmdClose_Click()
{
    reject();
}

void frmUserProfile::showPerson(int person)
{
    const QList<Person> household = loadHousehold(m_paths);
    auto it = std::find_if(household.begin(), household.end(),
                           [person](const Person& p) { return p.number == person; });
    if (it == household.end())
        it = household.begin(); // its file went away meanwhile: the first person
    m_person = it->number;
    m_path = personProfilePath(m_paths, m_person);
    lblPersonName->setText(it->label);
    cmdPersonRemove->setEnabled(m_person != kFirstPerson);
}

void frmUserProfile::cmdPersonAdd_Click()
{
    const int person = nextPersonNumber(listPeople(m_paths));
    // An empty profile makes the person one of the household at once.
    const QString error = person == 0 ? QStringLiteral("これ以上追加できません。")
                                      : saveUserProfileFile(personProfilePath(m_paths, person), {});
    if (!error.isEmpty()) {
        m_dialogs.message({QStringLiteral("人を追加できませんでした。\r\n") + error,
                           QStringLiteral("エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return;
    }
    showPerson(person);
    LoadProfileEditor();
}

void frmUserProfile::cmdPersonRemove_Click()
{
    if (m_person == kFirstPerson)
        return;
    const MessageAnswer answer = m_dialogs.message(
        {QStringLiteral("「%1」のプロフィールを削除しますか？\r\n実行すると元には戻せません。")
             .arg(lblPersonName->text()),
         QStringLiteral("削除の確認"), MessageIcon::Question, MessageButtons::YesNo,
         MessageAnswer::No});
    if (answer != MessageAnswer::Yes)
        return;
    if (!removeFileDurably(m_path)) {
        m_dialogs.message(
            {QStringLiteral("「%1」を削除できませんでした。").arg(QDir::toNativeSeparators(m_path)),
             QStringLiteral("エラー"), MessageIcon::Critical, MessageButtons::Ok});
        return;
    }
    showPerson(kFirstPerson);
    LoadProfileEditor();
}

bool frmUserProfile::eventFilter(QObject* watched, QEvent* event)
{
    // Postal code and telephone boxes take digits and control keys only.
    if (event->type() == QEvent::KeyPress && m_digitBoxes.contains(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (!text.isEmpty() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const char16_t code = text.front().unicode();
            if ((code >= 32 && code <= 47) || code > 57) {
                m_dialogs.beep();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
