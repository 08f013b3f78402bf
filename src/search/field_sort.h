#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "record/record.h"

// Sorting the list in place by one field, fast: the one place for speed
// tricks (keys, radix passes, prefetching, moving records into order).
//
// Promise: `records` ends in the same order as std::sort would leave it with
// that field's ordering (lessBySurname, lessByDistrict, lessByContractDate,
// lessByLastPaymentDate). Records with equal keys end up in an unspecified
// but deterministic order: the same input always gives the same order.
void sortByField(std::vector<Record>& records, std::string Record::*field);
void sortByField(std::vector<Record>& records, Date Record::*field);

// Asks for a string's bytes to be brought into cache. Loops over many
// records call this a few records ahead: after a sort, the records' words lie
// scattered over the heap and each would otherwise be a cache miss.
inline void prefetchWord(const std::string& word) { __builtin_prefetch(word.data()); }
inline void prefetchWords(const Record& r) {
  prefetchWord(r.surname);
  prefetchWord(r.district);
  prefetchWord(r.address);
}
// For loops that reach records out of order: the record itself, whose
// words are then fetched once it has arrived.
inline void prefetchRecord(const Record& r) {
  __builtin_prefetch(&r);
  __builtin_prefetch(reinterpret_cast<const char*>(&r) + 64);
}
// A field's bytes, for loops over one field (dates live in the record).
inline void prefetchField(const std::string& s) { prefetchWord(s); }
inline void prefetchField(const Date& /*unused*/) {}
// How far ahead those loops fetch (records twice as far).
inline constexpr std::size_t kPrefetchDistance = 8;
