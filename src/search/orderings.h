#pragma once

#include <string_view>

#include "record/record.h"

// Strings order byte by byte as unsigned values, a prefix first; dates by
// year, then month, then day, each as a signed number.

// The orderings of two records by one field, for the sort.
bool lessBySurname(const Record& a, const Record& b);
bool lessByDistrict(const Record& a, const Record& b);
bool lessByContractDate(const Record& a, const Record& b);
bool lessByLastPaymentDate(const Record& a, const Record& b);

// A record against a query, for the lower-bound search (record first).
bool surnameBefore(const Record& r, std::string_view key);
bool districtBefore(const Record& r, std::string_view key);
bool contractDateBefore(const Record& r, Date key);
bool lastPaymentDateBefore(const Record& r, Date key);
