#pragma once
// Counts the heap blocks alive in this test program (global operator new/delete are replaced).

#include <cstdint>

namespace vantrel::testing {

int64_t LiveAllocations();

}  // namespace vantrel::testing
