#pragma once

// The tabs of the main window.
enum class Tab { Month, Year, Total, Search, Setting, About };

// What decides which commands of the main window are available.
struct CommandInputs
{
    Tab tab = Tab::Month;
    bool searchRunning = false;
    // The month on show was read (or has no file); an unreadable one takes no changes.
    bool monthReadable = true;
    // Entries counted on the statistics panel of the tab on show.
    int shownEntries = 0;
    // A row was picked by the user (click or keys) since the last command that ends the
    // selection (opening the form, a delete, the home page, an import, a sort, a reload).
    bool picked = false;
    // Selected rows of the month or search list.
    int selectedRows = 0;
    // The one selected entry has a web address.
    bool selectedHasPage = false;
    // Year tab: the entries of the month in focus (its row picked or on show); -1 for none.
    int focusMonthEntries = -1;
    // The expense booking was ended by a delete and waits for the next pick.
    bool expenseEnded = false;
    // Settings tab: a setting was changed since the tab was shown or applied.
    bool settingsEdited = false;
};

// Which commands are available.
struct CommandState
{
    bool newInput = false;       // 手動登録
    bool input = false;          // 取込登録
    bool hensyu = false;         // 編集
    bool url = false;            // ﾎｰﾑﾍﾟｰｼﾞ
    bool del = false;            // 削除
    bool allDelete = false;      // 全削除
    bool save = false;           // 保存
    bool print = false;          // 印刷
    bool unhappyMoneyIn = false; // 記帳
    bool monthSteps = false;     // "<" and ">"
    bool yearSteps = false;      // "<<" and ">>"
    bool datePicker = false;
    bool expenseFrame = false; // the year tab's 支出 frame
    bool settingFrame = false; // the settings tab's controls
    bool setting = false;      // 適用
    bool operator==(const CommandState&) const = default;
};

// The one rule for every command of the main window.
CommandState commandStateFor(const CommandInputs& in);
