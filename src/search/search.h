#pragma once

#include <string>
#include <vector>

#include "record/record.h"

// Orderings for the sort: strings byte by byte as unsigned values, a prefix
// first; dates by year, then month, then day.
bool lessBySurname(const Record& a, const Record& b);
bool lessByDistrict(const Record& a, const Record& b);
bool lessByContractDate(const Record& a, const Record& b);
bool lessByLastPaymentDate(const Record& a, const Record& b);

// A record against a query, for the lower-bound search (record first).
bool surnameBefore(const Record& r, const std::string& key);
bool districtBefore(const Record& r, const std::string& key);
bool contractDateBefore(const Record& r, Date key);
bool lastPaymentDateBefore(const Record& r, Date key);

bool dateBefore(const Date& a, const Date& b);

enum class Criterion { kSurname = 1, kDistrict = 2, kContractDate = 3, kLastPaymentDate = 4 };
enum class Algorithm { kSequential = 1, kBinary = 2 };

// `text` is the query of the string criteria, `date` that of the date ones.
struct Query {
  std::string text;
  Date date;
};

// Sequential: every record whose field equals the query, in list order.
// Binary: sorts `records` by the field (unless it is in that order already,
// which leaves it as a sort would) and returns at most the first record in
// that order whose field equals the query. The pointers point into `records`.
std::vector<const Record*> findMatches(std::vector<Record>& records, Criterion criterion,
                                       Algorithm algorithm, const Query& query);

inline constexpr const char* kForwardFile = "output.txt";
inline constexpr const char* kReversedFile = "output_reverce.txt";

// Replaces file `name` with the header line and record line of each match,
// in the order given or last first. Returns an empty string when the file was
// written in full, else the error line to report.
std::string writeResultFile(const char* name, const std::vector<const Record*>& results,
                            bool reversed);
