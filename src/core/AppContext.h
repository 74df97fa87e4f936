#pragma once

#include "core/AppPaths.h"

class Clock;
class Dialogs;

// What main() hands to the windows: where the program lives, how to talk to the user,
// and what day it is.
struct AppContext
{
    AppPaths paths;
    Dialogs& dialogs;
    const Clock& clock;
};
