#pragma once

#include "diary/Tally.h"

#include <QGroupBox>
#include <array>

class QLineEdit;

// The statistics panel (自動集計) below the tabs: six read-only figures set from a tally.
// Saving and printing take the figures from here, never back from the boxes.
class StatisticsPanel : public QGroupBox
{
public:
    explicit StatisticsPanel(QWidget* parent = nullptr);

    void setTally(const Tally& tally);
    // Back to zero, as a tab switch or new search conditions leave it.
    void clear();
    // What the panel shows, and its six texts in the order of the boxes.
    const Tally& tally() const { return m_tally; }
    std::array<QString, 6> texts() const;

private:
    void showTexts(const PanelTexts& texts);

    Tally m_tally;
    PanelTexts m_texts = emptyPanelTexts();
    QLineEdit* txtHappyCount = nullptr;
    QLineEdit* txtTotalCount = nullptr;
    QLineEdit* txtPercent = nullptr;
    QLineEdit* txtHappyMoney = nullptr;
    QLineEdit* txtUnhappyMoney = nullptr;
    QLineEdit* txtTotalMoney = nullptr;
};
