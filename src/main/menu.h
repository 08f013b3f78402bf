#pragma once

#include "base/subscriber_base.h"
#include "io/console.h"

// Runs the main menu until the user chooses 0 or the input ends, then
// flushes the output. Returns the exit status: 0 when the run met no
// failure, 1 when it did (see Console::failed) or memory ran out (which
// ends the run at once).
int runMenu(Console& console, SubscriberBase& a);
