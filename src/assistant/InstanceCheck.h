#pragma once

class Dialogs;
class SingleInstance;

// Takes the assistant's single-instance lock; when another copy holds it or the lock cannot
// be made, says so and returns false.
bool acquireSingleInstance(SingleInstance& lock, Dialogs& dialogs);
