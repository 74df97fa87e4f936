#pragma once

#include "core/Dialogs.h"
#include "diary/Summaries.h"

// Monthly expenses, kept only in field 9 (支出総額) of the year summary, and the message
// that tells the user once that the target balance was reached.

// The booked expense of a month, to be carried by the month's tally while the month is on
// show. Taken from the year row whether or not the month has a month file yet, so that an
// amount booked before the first entry survives that entry's save.
Currency loadMonthExpense(const AppPaths& paths, const QString& year, int month);

// Whether the year tab offers 記帳 for a row: only for months with entries. (Enter in the
// amount box books regardless.)
bool canBookExpense(const Tally& row);

// The caption above the amount box: "2026年07月の支出総額".
QString expenseCaption(const QString& year, const QString& month);

// The month tally that a booking writes: the row's counts and won amount, the new expense.
Tally bookingTally(const YearSummary& summary, int month, Currency expense);

struct ExpenseBooking
{
    YearUpdate update; // the rewrite of the year and total summaries
    YearList list;     // the year list to show afterwards
};

// Books the amount typed in the box (digits; empty counts as 0) for `month` of `year`.
// The caller shows the target message when update.total.showTargetMessage is set.
ExpenseBooking BookExpense(const AppPaths& paths, const QString& year, int month,
                           const QString& amountText, const TargetState& target);

// True when the message is due for this row: a target is set, the message was not shown
// for it yet, and the row's 目標収支金額 is 0 or below. The caller then shows
// targetReachedMessage(), sets the flag and saves the settings at once.
bool CheckTargetBalance(const TotalRow& row, const TargetState& target);
// Over all rows of the total summary; the message is shown at most once per update.
bool CheckTargetBalance(const QList<TotalRow>& rows, const TargetState& target);

MessageBoxSpec targetReachedMessage();
