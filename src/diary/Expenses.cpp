#include "diary/Expenses.h"

Currency loadMonthExpense(const AppPaths& paths, const QString& year, int month)
{
    if (month < 1 || month > 12)
        return {};
    return readYearSummary(paths.yearSummaryPath(year), nullptr, paths.dataKey())
        .months[month - 1]
        .expenses;
}

bool canBookExpense(const Tally& row)
{
    return row.entries != 0;
}

QString expenseCaption(const QString& year, const QString& month)
{
    return year + QStringLiteral("年") + month + QStringLiteral("月の支出総額");
}

Tally bookingTally(const YearSummary& summary, int month, Currency expense)
{
    if (month < 1 || month > 12)
        return {};
    Tally tally = summary.months[month - 1];
    tally.expenses = expense;
    return tally;
}

ExpenseBooking BookExpense(const AppPaths& paths, const QString& year, int month,
                           const QString& amountText, const TargetState& target)
{
    ExpenseBooking booking;
    const YearList before = readYearList(paths, year);
    if (!before.status.ok()) {
        booking.update.error = before.status.error;
        booking.list = before;
        return booking;
    }
    const Tally tally = bookingTally(before.summary, month, Currency::parseOrZero(amountText));
    booking.update = UpdateYearSummary(paths, year, month, tally, target);
    booking.list = readYearList(paths, year);
    return booking;
}

bool CheckTargetBalance(const TotalRow& row, const TargetState& target)
{
    return !target.target.isZero() && !target.reached && row.toTarget <= Currency();
}

bool CheckTargetBalance(const QList<TotalRow>& rows, const TargetState& target)
{
    for (const TotalRow& row : rows) {
        if (CheckTargetBalance(row, target))
            return true;
    }
    return false;
}

MessageBoxSpec targetReachedMessage()
{
    MessageBoxSpec box;
    box.text = QStringLiteral("目標収支金額を達成しました。");
    box.caption = QStringLiteral("(^-^)vブィ！");
    box.icon = MessageIcon::None;
    box.buttons = MessageButtons::Ok;
    box.defaultButton = MessageAnswer::Ok;
    return box;
}
