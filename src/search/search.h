#pragma once

#include <string>
#include <vector>

#include "io/console.h"
#include "list/record_list.h"
#include "record/record.h"
#include "search/sort/field_sort.h"

enum class Criterion { kSurname = 1, kDistrict = 2, kContractDate = 3, kLastPaymentDate = 4 };
enum class Algorithm { kSequential = 1, kBinary = 2 };

// `text` is the query of the string criteria, `date` that of the date ones.
struct Query {
  std::string text;
  Date date;
};

// Sequential: every record whose field equals the query, in list order.
// Binary: sorts `records` by the field with `sorter` (unless it is in that
// order already) and returns at most the first record in that order whose
// field equals the query. The pointers point into `records`.
std::vector<const Record*> findMatches(RecordList& records, Criterion criterion,
                                       Algorithm algorithm, const Query& query,
                                       FieldSorter& sorter);

// The search dialogue over `records`: criterion, algorithm and query, then
// the result files or "nothing found". Stops at the end of the input.
void runSearch(Console& console, RecordList& records, FieldSorter& sorter);
