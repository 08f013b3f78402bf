#pragma once

// The reason a failure line gives for errno value `error`: the program's
// own Russian text for the errors a user meets, else the system's text in
// the C locale (never one that depends on installed locales); 0 reads as an
// input/output error. Allocates nothing: static text, valid until the next call.
const char* errorReason(int error);
