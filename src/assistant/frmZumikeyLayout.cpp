#include "assistant/frmZumikey.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QComboBox* makeLockedCombo(QWidget* parent, const QString& name, const QStringList& items)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    // Editable only so that a stored text outside the list can be shown as it is; typing is
    // locked by the window's event filter.
    combo->setEditable(true);
    combo->lineEdit()->setReadOnly(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    return combo;
}

} // namespace

void frmZumikey::buildLayout()
{
    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->setSpacing(2);

    // Whose profile the buttons type; a plain list, locked against typing like the others.
    auto* personLine = new QHBoxLayout;
    auto* personLabel = new QLabel(QStringLiteral("入力する人"), this);
    personLabel->setObjectName(QStringLiteral("lblPerson"));
    cboPerson = new QComboBox(this);
    cboPerson->setObjectName(QStringLiteral("cboPerson"));
    personLabel->setBuddy(cboPerson);
    cboPerson->setAccessibleName(personLabel->text());
    cboPerson->installEventFilter(this);
    personLine->addWidget(personLabel);
    personLine->addWidget(cboPerson, 1);
    outer->addLayout(personLine);

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(2);
    rows->setVerticalSpacing(2);
    for (int r = 0; r <= static_cast<int>(FieldRow::UserBirthday); ++r) {
        const auto row = static_cast<FieldRow>(r);
        const QString name = fieldControlName(row);
        const QString caption = fieldCaption(row);
        for (int i = 0; i <= fieldPartCount(row); ++i) {
            auto* b = new QPushButton(i == 0 ? caption : QString::number(i), this);
            b->setObjectName(name + u'_' + QString::number(i));
            b->setFocusPolicy(Qt::NoFocus);
            if (i == 0) {
                b->setMinimumWidth(120);
                rows->addWidget(b, r, 0);
            } else {
                b->setAccessibleName(caption + u' ' + QString::number(i));
                b->setFixedWidth(24);
                rows->addWidget(b, r, i);
            }
            m_fieldButtons[r][i] = b;
        }
    }
    outer->addLayout(rows);

    auto* singles = new QHBoxLayout;
    singles->setSpacing(2);
    for (FieldRow row : {FieldRow::UserAge, FieldRow::UserSex, FieldRow::UserJob}) {
        auto* b = new QPushButton(fieldCaption(row), this);
        b->setObjectName(fieldControlName(row));
        b->setFocusPolicy(Qt::NoFocus);
        singles->addWidget(b);
        m_fieldButtons[static_cast<int>(row)][0] = b;
    }
    outer->addLayout(singles);

    for (int r = 0; r < kFieldRowCount; ++r) {
        for (int i = 0; i < 5; ++i) {
            QPushButton* b = m_fieldButtons[r][i];
            if (!b)
                continue;
            b->installEventFilter(this); // the tool tip shows what a click would type
            connect(b, &QPushButton::clicked, this,
                    [this, r, i] { fieldClicked(static_cast<FieldRow>(r), i); });
        }
    }

    cmdFormFill = new QPushButton(QStringLiteral("フォームに一括入力"), this);
    cmdFormFill->setObjectName(QStringLiteral("cmdFormFill"));
    cmdFormFill->setFocusPolicy(Qt::NoFocus);
    outer->addWidget(cmdFormFill);
    cmdUserProfile = new QPushButton(QStringLiteral("プロフィール管理"), this);
    cmdUserProfile->setObjectName(QStringLiteral("cmdUserProfile"));
    cmdUserProfile->setFocusPolicy(Qt::NoFocus);
    cmdOption = new QPushButton(this); // captioned by Form_Load
    cmdOption->setObjectName(QStringLiteral("cmdOption"));
    cmdOption->setFocusPolicy(Qt::NoFocus);
    outer->addWidget(cmdUserProfile);
    outer->addWidget(cmdOption);

    fraOption = new QFrame(this);
    fraOption->setObjectName(QStringLiteral("fraOption"));
    fraOption->setFrameShape(QFrame::StyledPanel);
    auto* options = new QGridLayout(fraOption);
    chkFormState = new QCheckBox(QStringLiteral("最前面表示"), fraOption);
    chkFormState->setObjectName(QStringLiteral("chkFormState"));
    chkFormState->setChecked(true);
    options->addWidget(chkFormState, 0, 0, 1, 2);
    cboRuby = makeLockedCombo(fraOption, QStringLiteral("cboRuby"), rubyChoices());
    cboKeyInputBefore =
        makeLockedCombo(fraOption, QStringLiteral("cboKeyInputBefore"), keyInputBeforeChoices());
    cboKeyInputAfter =
        makeLockedCombo(fraOption, QStringLiteral("cboKeyInputAfter"), keyInputAfterChoices());
    const struct
    {
        const char* name;
        const char16_t* caption;
        QComboBox* combo;
    } labelled[] = {
        {"lblRuby", u"ルビの入力形式", cboRuby},
        {"lblKeyInputBefore", u"貼り付けキー", cboKeyInputBefore},
        {"lblKeyInputAfter", u"入力後の追加キー", cboKeyInputAfter},
    };
    int line = 1;
    for (const auto& l : labelled) {
        auto* label = new QLabel(QString::fromUtf16(l.caption), fraOption);
        label->setObjectName(QString::fromLatin1(l.name));
        label->setBuddy(l.combo);
        l.combo->setAccessibleName(label->text());
        l.combo->installEventFilter(this);
        l.combo->lineEdit()->installEventFilter(this);
        options->addWidget(label, line, 0);
        options->addWidget(l.combo, line, 1);
        ++line;
    }
    outer->addWidget(fraOption);

    tmrCheckActiveWindow = new QTimer(this);
    tmrCheckActiveWindow->setObjectName(QStringLiteral("tmrCheckActiveWindow"));
    tmrCheckActiveWindow->setInterval(50);

    connect(cboPerson, &QComboBox::activated, this, &frmZumikey::cboPerson_Activated);
    connect(cmdFormFill, &QPushButton::clicked, this, &frmZumikey::cmdFormFill_Click);
    connect(cmdOption, &QPushButton::clicked, this, &frmZumikey::cmdOption_Click);
    connect(cmdUserProfile, &QPushButton::clicked, this, &frmZumikey::cmdUserProfile_Click);
    connect(chkFormState, &QCheckBox::clicked, this, &frmZumikey::chkFormState_Click);
    connect(tmrCheckActiveWindow, &QTimer::timeout, this, &frmZumikey::tmrCheckActiveWindow_Timer);
}
