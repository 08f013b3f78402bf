#pragma once

#include <vector>

#include "io/console.h"
#include "record/record.h"

inline constexpr const char* kForwardFile = "output.txt";
inline constexpr const char* kReversedFile = "output_reverce.txt";

// Replaces file `name` with the header line and record line of each match,
// in the order given or last first. Returns the errno value of the failure
// when the file could not be written in full, and 0 otherwise.
int writeResultFile(const char* name, const std::vector<const Record*>& matches, bool reversed);

// Writes the forward file, then the reversed one (even when the first
// failed), after showing the pending dialogue (an open may wait, on a
// FIFO). Reports each failure; true when both were written in full.
bool writeResultFiles(Console& console, const std::vector<const Record*>& matches);
