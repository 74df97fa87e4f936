#pragma once

#include "diary/Commands.h"
#include "diary/Export.h"
#include "diary/Tally.h"
#include "forms/MainParts.h"

#include <QWidget>
#include <optional>

// One tab of the main window. Each page owns its list, model and handlers and answers the
// frame's few questions: its share of the command rule, its figures, its rows for saving
// and printing, and what 削除 and 全削除 do on it.
class MainPage : public QWidget
{
public:
    explicit MainPage(MainParts& parts) : m_parts(parts) {}

    // The tab has just come on show (its selection and the panel were reset).
    virtual void enter() {}
    // Fills the page's part of what decides the commands.
    virtual void commandInputs(CommandInputs& in) const { (void)in; }
    // Enables the page's own controls by the rule's outcome; every page, whichever is on show.
    virtual void applyCommands(const CommandState& c) { (void)c; }
    // Recounts what the page shows: the figures of the statistics panel, or none where the
    // panel stays at zero.
    virtual std::optional<Tally> refreshTotals() { return std::nullopt; }
    // The cells saving and printing take; none where the page has no list.
    virtual std::optional<listexport::ExportInput> exportInput() const { return std::nullopt; }
    // 削除 once it was confirmed; `picked` tells whether a row was picked before the
    // selection ended.
    virtual void removePicked(bool picked) { (void)picked; }
    // 全削除 once it was confirmed.
    virtual void removeAll() {}

protected:
    MainParts& m_parts;
};
