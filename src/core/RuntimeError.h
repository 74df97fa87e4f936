#pragma once

#include <QString>

class Dialogs;

// An unexpected failure caught where it happened, with the number and description the
// user reports to support.
struct RuntimeError
{
    int number = 0;
    QString description;
};

// "実行時エラー '<number>':" and the description on the next line, caption "エラー".
void ShowRuntimeError(Dialogs& dialogs, const RuntimeError& error);
