#pragma once

#include <istream>
#include <ostream>

#include "base/console.h"
#include "base/subscriber_base.h"

// Runs the main menu until the user chooses 0 or the input ends, then
// flushes the output. Returns the exit status (always 0). Result files of
// searches are written in the current directory.
int runMenu(Console& console, SubscriberBase& a);

// The same over the given streams, with a list of its own.
int runMenu(std::istream& in, std::ostream& out, std::ostream& err);
