#pragma once

#include <istream>
#include <ostream>

// Runs the main menu over the given streams until the user chooses 0 or the
// input ends. Returns the exit status (always 0). Result files of searches
// are written in the current directory.
int runMenu(std::istream& in, std::ostream& out, std::ostream& err);
