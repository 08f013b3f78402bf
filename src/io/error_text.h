#pragma once

// The reason that a failure line gives for errno value `error`: the
// program's own Russian text for the errors a user can meet, the system's
// text in the C locale for any other, never a text that depends on which
// locales are installed. 0 (a device that failed without saying why)
// reads as an input/output error. Allocates nothing: the text is static,
// valid until the next call.
const char* errorReason(int error);
