#include "forms/frmStartPassword.h"

#include "core/Cp932.h"
#include "core/Dialogs.h"
#include "forms/BusyCursor.h"
#include "forms/FormHelpers.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString captionOf(frmStartPassword::Mode mode)
{
    switch (mode) {
    case frmStartPassword::Mode::Login:
        return QStringLiteral("ズミラ帳記帳者認証　ログイン");
    case frmStartPassword::Mode::Set:
        return QStringLiteral("ズミラ帳記帳者認証　設定");
    case frmStartPassword::Mode::Release:
        break;
    }
    return QStringLiteral("ズミラ帳記帳者認証　解除");
}

QLineEdit* passwordBox(const char* name)
{
    auto* box = named(new QLineEdit, name);
    box->setEchoMode(QLineEdit::Password);
    box->setMaxLength(frmStartPassword::kMaxLength);
    box->setMinimumWidth(260);
    return box;
}

} // namespace

frmStartPassword::frmStartPassword(Mode mode, const QString& currentPassword, Dialogs& dialogs,
                                   QWidget* parent)
    : QDialog(parent), m_mode(mode), m_password(currentPassword), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmStartPassword"));
    setWindowTitle(captionOf(mode));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    txtStartPassword = passwordBox("txtStartPassword");
    txtStartPasswordKakunin = passwordBox("txtStartPasswordKakunin");
    lblStartPassword =
        named(captionFor(txtStartPassword,
                         mode == Mode::Set
                             ? QStringLiteral("パスワードを設定して下さい  [1～40文字以内]")
                             : QStringLiteral("パスワードを入力して下さい  [1～40文字以内]")),
              "lblStartPassword");
    lblStartPasswordKakunin =
        named(captionFor(txtStartPasswordKakunin,
                         QStringLiteral("確認のため同じパスワードを再入力して下さい")),
              "lblStartPasswordKakunin");
    cmdOk = named(new QPushButton(QStringLiteral("OK(&O)")), "cmdOk");
    cmdCancel = named(new QPushButton(QStringLiteral("キャンセル(&C)")), "cmdCancel");
    // Enter is handled by the boxes' own rules, never by a default button.
    for (QPushButton* b : {cmdOk, cmdCancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    cmdOk->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(lblStartPassword);
    layout->addWidget(txtStartPassword);
    layout->addWidget(lblStartPasswordKakunin);
    layout->addWidget(txtStartPasswordKakunin);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    // Only setting a password asks for it twice; the window is shorter without the box.
    lblStartPasswordKakunin->setVisible(mode == Mode::Set);
    txtStartPasswordKakunin->setVisible(mode == Mode::Set);

    connect(txtStartPassword, &QLineEdit::textChanged, this, &frmStartPassword::textChanged);
    connect(txtStartPasswordKakunin, &QLineEdit::textChanged, this, &frmStartPassword::textChanged);
    connect(txtStartPassword, &QLineEdit::returnPressed, this, [this] {
        if (canPressOk())
            cmdOk->click();
    });
    connect(txtStartPasswordKakunin, &QLineEdit::returnPressed, this, [this] {
        if (!txtStartPassword->text().isEmpty() && !txtStartPasswordKakunin->text().isEmpty())
            cmdOk->click();
    });
    connect(cmdOk, &QPushButton::clicked, this, &frmStartPassword::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmStartPassword::cmdCancel_Click);
    txtStartPassword->setFocus();
}

QString frmStartPassword::refusalReason(const QString& password)
{
    // The month files quote the password without any escape, and the settings reader
    // trims blanks and one pair of enclosing quotes; such a password would not read back.
    if (password.contains(u'"'))
        return QStringLiteral("パスワードに「\"」は使用できません。");
    for (QChar c : password) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QStringLiteral("パスワードに制御文字は使用できません。");
    }
    if (!password.isEmpty() && (password.front() == u' ' || password.back() == u' '))
        return QStringLiteral("パスワードの先頭と末尾には空白を使用できません。");
    if (password.size() >= 2 && password.front() == u'\'' && password.back() == u'\'')
        return QStringLiteral("パスワードの前後を「'」で囲むことはできません。");
    const QChar bad = cp932::firstUnencodable(password);
    if (!bad.isNull()) {
        const QString folded = cp932::fold(password);
        const qsizetype at = folded.indexOf(bad);
        const QString shown = bad.isHighSurrogate() && at >= 0 ? folded.mid(at, 2) : QString(bad);
        return QStringLiteral("パスワードに使用できない文字「%1」が含まれています。").arg(shown);
    }
    return QString();
}

bool frmStartPassword::canPressOk() const
{
    if (txtStartPassword->text().isEmpty())
        return false;
    return m_mode != Mode::Set || !txtStartPasswordKakunin->text().isEmpty();
}

void frmStartPassword::textChanged()
{
    cmdOk->setEnabled(canPressOk());
}

void frmStartPassword::refuse(const QString& text)
{
    m_dialogs.message({text, windowTitle(), MessageIcon::Critical, MessageButtons::Ok});
    if (m_mode == Mode::Set)
        txtStartPasswordKakunin->clear();
    txtStartPassword->setFocus();
    txtStartPassword->selectAll();
}

void frmStartPassword::cmdOk_Click()
{
    m_handlers.run([this] { checkPassword(); });
}

void frmStartPassword::checkPassword()
{
    if (!canPressOk())
        return;
    // What the files give back is the folded form, so that is what is kept and compared.
    const QString typed = cp932::fold(txtStartPassword->text());
    switch (m_mode) {
    case Mode::Login:
    case Mode::Release:
        if (!matches(typed)) {
            refuse(QStringLiteral("パスワードが違います。"));
            return;
        }
        if (m_mode == Mode::Release)
            m_password.clear();
        break;
    case Mode::Set: {
        const QString refusal = refusalReason(txtStartPassword->text());
        if (!refusal.isEmpty()) {
            refuse(refusal);
            return;
        }
        if (typed != cp932::fold(txtStartPasswordKakunin->text())) {
            refuse(QStringLiteral("パスワードが違います。"));
            return;
        }
        m_password = typed;
        break;
    }
    }
    accept();
}

bool frmStartPassword::matches(const QString& typed)
{
    if (!m_record)
        return typed == cp932::fold(m_password);
    const BusyCursor busy; // the derivation takes a moment
    m_key = DiaryKey::unlock(typed, *m_record);
    if (m_key)
        m_password = typed; // for the files that go back to carrying it
    return m_key != nullptr;
}

std::unique_ptr<DiaryKey> frmStartPassword::takeKey()
{
    return std::move(m_key);
}

void frmStartPassword::cmdCancel_Click()
{
    reject();
}

void frmStartPassword::done(int result)
{
    // Closed from its own box's event loop, the window would be deleted under the box.
    if (!m_handlers.closeLater([this, result] { done(result); }))
        QDialog::done(result);
}
