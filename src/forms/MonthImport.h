#pragma once

#include "diary/ImportRegistration.h"

#include <QDate>
#include <QList>

struct MainParts;

// Registering many entries at once on the month tab: listings copied from the
// contest-information site (取込登録) and a diary kept as CSV (CSV取込). Both register
// month by month and then show the month that was on show before.
class MonthImport
{
public:
    explicit MonthImport(MainParts& parts) : m_parts(parts) {}

    void cmdInput_Click();
    void cmdCsvInput_Click();

private:
    ImportOutcome registerImport(const QList<EntryRecord>& rows, const QDate& start);

    MainParts& m_parts;
};
