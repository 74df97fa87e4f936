#pragma once

#include "core/AppPaths.h"
#include "diary/MonthFile.h"
#include "diary/SearchCriteria.h"
#include "diary/Tally.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>

// Reads the month files (a few ahead, on worker threads) and keeps the entries that match.
// Only the months read ahead are held besides the results.

// The month files one step of the scan reads: the twelve months of a year folder when no
// key-date range is set, else one month of the range.
struct SearchStep
{
    QStringList monthFiles;
};

// The steps of a search: with a key-date range every month from its first to its last
// (across year ends), else every year folder ("0000" and "ini" are never years).
QList<SearchStep> planSearchSteps(const AppPaths& paths, const SearchCriteria& criteria);

struct SearchProgress
{
    qint64 testedEntries = 0; // the progress bar's value
    int stepsDone = 0;
    int stepCount = 0;
};

struct UnreadableMonthFile
{
    QString path;
    MonthRead::Status status = MonthRead::Status::Refused; // Refused, Damaged or Unreadable
};

struct SearchScanHooks
{
    // Called at most once per `progressInterval` of scanning; the window updates the
    // progress bar and lets pending events run here, so its stop button reacts.
    std::function<void(const SearchProgress&)> progress;
    std::chrono::milliseconds progressInterval{50};
    // Checked after every entry; true stops the scan, which then keeps no results.
    std::function<bool()> stopRequested;
    // A month file that could not be read (wrong password, damaged); the scan goes on.
    // The window reports it ("認証エラー") when it is called.
    std::function<void(const UnreadableMonthFile&)> unreadableFile;
    // When set, each matching entry is handed over here in scan order instead of being kept:
    // the outcome then holds no results (nor their statistics).
    std::function<void(const EntryRecord&)> matched;
    // With `matched`: the fields its entries carry, those the criteria test among them; the
    // others are left empty, which spares making them.
    EntryFieldMask matchedFields = kAllEntryFields;
};

struct SearchOutcome
{
    bool interrupted = false;
    QList<EntryRecord> results; // in scan order; empty when interrupted
    QList<UnreadableMonthFile> unreadable;
    // The figures of the results (tallyEntries), counted as each was kept; none when the
    // results were handed to `matched`.
    Tally tally;
    qint64 testedEntries = 0;
};

// Runs a whole search. `startPassword` is the start password in force (empty when none);
// month files that do not carry it are skipped and reported.
SearchOutcome runSearch(const AppPaths& paths, const SearchCriteria& criteria,
                        const QString& startPassword, const SearchScanHooks& hooks = {});
