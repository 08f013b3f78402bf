#pragma once

// A hint that `p` will be read soon: a compiler builtin, so it lives with
// the platform layer. Nothing where the compiler has no such hint, or in a
// build with SUBSCRIBERS_PREFETCH=OFF (0 here), to measure.
#ifndef SUBSCRIBERS_PREFETCH
#define SUBSCRIBERS_PREFETCH 1
#endif
#if SUBSCRIBERS_PREFETCH && (defined(__GNUC__) || defined(__clang__))
#define SUBSCRIBERS_PREFETCH_HINT(p) __builtin_prefetch(p)
#else
#define SUBSCRIBERS_PREFETCH_HINT(p) static_cast<void>(p)
#endif
