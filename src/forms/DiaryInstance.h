#pragma once

class Dialogs;
class SingleInstance;

// The diary's single-instance rule at start: takes the lock of its data folder. When another
// process holds it, says so and asks the running diary to show its window; when the lock
// cannot be made, says that. False when this start must end.
bool acquireDiaryInstance(SingleInstance& lock, Dialogs& dialogs);
