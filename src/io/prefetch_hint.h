#pragma once

// A hint that `p` will be read soon: a compiler builtin, so it lives in the
// platform layer. Nothing where the compiler has no such hint, or when
// built with SUBSCRIBERS_PREFETCH=OFF, to measure.
#if (defined(__GNUC__) || defined(__clang__)) && !defined(SUBSCRIBERS_NO_PREFETCH)
#define SUBSCRIBERS_PREFETCH(p) __builtin_prefetch(p)
#else
#define SUBSCRIBERS_PREFETCH(p) static_cast<void>(p)
#endif
