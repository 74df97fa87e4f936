#pragma once

#include "diary/Tally.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <optional>

// The two summary files below data/0000: one per year ("2026.log", twelve month rows of
// ten fields) and "total.log" (one row of eleven fields per year, in year order). Both are
// comma-separated without quotes, code page 932, CR LF, scrambled at rest.
//
// Rows are held as tallies; the win rate and the balance are always derived from them,
// so a written file never carries a rate or balance that disagrees with its counts.

// The texts of fields 2-10 of a summary row: the five counts, the rate, the won amount,
// the expenses and the balance.
QStringList summaryTexts(const Tally& figures);

// Twelve month rows, January first.
struct YearSummary
{
    std::array<Tally, 12> months;

    // Sums of all twelve rows, classes included.
    Tally yearTally() const;
    bool operator==(const YearSummary&) const = default;
};

struct TotalRow
{
    QString year; // four digits
    Tally figures;
    Currency toTarget; // 目標収支金額: still missing to the target after this year
    bool operator==(const TotalRow&) const = default;
};

// Plain forms. The year summary holds the only record of the expenses, so the parsers
// take nothing on trust: a file that is not exactly what the writers make (twelve month
// rows, a figure in every field, sums that fit) is damaged and gives no value.
QByteArray formatYearSummary(const YearSummary& summary);
std::optional<YearSummary> parseYearSummary(const QByteArray& plain);
QByteArray formatTotalSummary(const QList<TotalRow>& rows);
std::optional<QList<TotalRow>> parseTotalSummary(const QByteArray& plain);

// The ten texts of a year row and the eleven texts of a total row, as the lists show them.
QStringList yearRowTexts(int month, const Tally& figures);
QStringList totalRowTexts(const TotalRow& row);

// Reading from disk. A missing file is not an error (zero rows / no rows); a file that
// exists but cannot be read or is damaged is reported, and must then not be overwritten.
struct SummaryReadStatus
{
    bool existed = false;
    QString error;           // empty when the file was read or did not exist
    bool unreadable = false; // could not be opened or read at all, as opposed to damaged
    bool ok() const { return error.isEmpty(); }
};

class DiaryKey;

// `key` opens the files of an encrypted diary; one that fails authentication is damaged.
YearSummary readYearSummary(const QString& path, SummaryReadStatus* status = nullptr,
                            const DiaryKey* key = nullptr);
QList<TotalRow> readTotalSummary(const QString& path, SummaryReadStatus* status = nullptr,
                                 const DiaryKey* key = nullptr);

// Atomic, and encrypted under `key` or else scrambled. An empty total list removes
// "total.log", the way an empty month leaves no month file. Return an empty string on
// success.
QString writeYearSummary(const QString& path, const YearSummary& summary,
                         const DiaryKey* key = nullptr);
QString writeTotalSummary(const QString& path, const QList<TotalRow>& rows,
                          const DiaryKey* key = nullptr);

// Orders the rows by year and fills in 目標収支金額: the target minus the running sum of the
// balances, so it turns negative once the target is exceeded. False when a figure does not
// fit; the rows must then not be stored.
bool applyTargetColumn(QList<TotalRow>& rows, Currency target);
