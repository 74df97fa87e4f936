#pragma once

#include "diary/MonthFile.h"
#include "diary/Summaries.h"
#include "diary/SummaryFiles.h"

#include <QList>
#include <QPair>
#include <QStringList>

class QAbstractItemModel;
class QStandardItemModel;
class QTableView;

// The lists of the main window's pages: rows picked whole, read only, no grid.
QTableView* makeList(const char* name, QAbstractItemModel* model, const QString& accessibleName,
                     bool multiSelect);

// The year and total lists: headings with widths in twips, rows with their colours and bold.
void setSummaryColumns(QStandardItemModel* model, QTableView* view,
                       const QList<QPair<const char16_t*, int>>& columns);
void fillSummaryList(QStandardItemModel* model, const QList<SummaryListRow>& rows);
// Every cell of a summary list, as saving and printing take them.
QList<QStringList> summaryRows(const QStandardItemModel* model);
// A summary file holds no password line: it is either damaged or cannot be opened.
MonthRead::Status summaryProblem(const SummaryReadStatus& status);
