#pragma once

#include "core/AppPaths.h"
#include "diary/EntryRecord.h"

#include <QString>

// Builds diaries of any size with the diary's own month-file writer, so that searches are
// measured on files exactly like the user's.
struct DiaryShape
{
    int firstYear = 2005;
    int years = 20;
    int entriesPerMonth = 400;
    QString passwordLine; // written into every month file when not empty
    quint32 seed = 1;
};

// Writes data/<year>/<MM>.log for every month of the shape, plus the summary and settings
// folders a real diary has. Returns the number of entries written, or -1 on a write error.
qint64 writeGeneratedDiary(const AppPaths& paths, const DiaryShape& shape);

// The entry a generated diary holds at (year, month, index); the same every time.
EntryRecord generatedEntry(const DiaryShape& shape, int year, int month, int index);
