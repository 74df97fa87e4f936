#pragma once

struct AppContext;
struct Settings;

// "カレンダー出力": the entries 締切間近 would list, saved as an iCalendar file at a place the
// user chooses. Every outcome is told in a box; true when the file was written.
bool exportDeadlineCalendar(const AppContext& context, const Settings& settings);
