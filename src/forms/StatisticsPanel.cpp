#include "forms/StatisticsPanel.h"

#include "forms/FormHelpers.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

StatisticsPanel::StatisticsPanel(QWidget* parent) : QGroupBox(QStringLiteral("自動集計"), parent)
{
    setObjectName(QStringLiteral("fraJidoSyukei"));
    auto* row = new QHBoxLayout(this);
    const auto add = [&](QLineEdit*& box, const char* name, const char16_t* caption,
                         const char16_t* unit) {
        box = named(new QLineEdit(QStringLiteral("0")), name);
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(110);
        row->addWidget(captionFor(box, QString::fromUtf16(caption)));
        row->addWidget(box);
        row->addWidget(new QLabel(QString::fromUtf16(unit)));
    };
    add(txtHappyCount, "txtHappyCount", u"当選総数", u"件");
    add(txtTotalCount, "txtTotalCount", u"応募総数", u"件");
    row->addWidget(new QLabel(QStringLiteral("× 100 ＝")));
    add(txtPercent, "txtPercent", u"当選率", u"％");
    txtPercent->setText(QStringLiteral("0.00"));
    add(txtHappyMoney, "txtHappyMoney", u"当選総額", u"円");
    add(txtUnhappyMoney, "txtUnhappyMoney", u"支出総額", u"円");
    add(txtTotalMoney, "txtTotalMoney", u"収支総額", u"円");
    row->addStretch();
}

void StatisticsPanel::setTally(const Tally& tally)
{
    m_tally = tally;
    showTexts(panelTexts(tally));
}

void StatisticsPanel::clear()
{
    m_tally = Tally();
    showTexts(emptyPanelTexts());
}

std::array<QString, 6> StatisticsPanel::texts() const
{
    return {m_texts.happyCount, m_texts.totalCount,   m_texts.percent,
            m_texts.happyMoney, m_texts.unhappyMoney, m_texts.totalMoney};
}

void StatisticsPanel::showTexts(const PanelTexts& texts)
{
    m_texts = texts;
    txtHappyCount->setText(texts.happyCount);
    txtTotalCount->setText(texts.totalCount);
    txtPercent->setText(texts.percent);
    txtHappyMoney->setText(texts.happyMoney);
    txtUnhappyMoney->setText(texts.unhappyMoney);
    txtTotalMoney->setText(texts.totalMoney);
}
