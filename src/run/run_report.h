// What a run reports to whoever made it: which search ran, its counters and
// the warning shown. Returned by the call, never kept between calls.
#ifndef ZOINT_RUN_REPORT_H
#define ZOINT_RUN_REPORT_H

#include "enumeration/search_node.h"
#include "exact_search/exact_search.h"
#include "exchange/messages.h"

namespace zoint {

// How a loaded problem is solved.
enum class SolveMode {
  Exact,       // the exact search: the least objective, then the smallest assignment
  Enumeration  // the depth-first implicit enumeration, with its wrapping sums
};

// What the caller asks for. Hosts always get Automatic; the command line's
// --enumerate, the tests and the benchmarks may ask for the enumeration.
enum class SolveRequest {
  Automatic,       // the exact search wherever no sum can wrap, else the enumeration
  EnumerationOnly  // the enumeration, always
};

// A window on a run under way, for a caller that must tell what was done
// should a signal stop the process (the command line's --stats): the run
// fills it as it goes and empties it before its state is gone. Read from a
// signal handler on the run's own thread, it is plain data.
struct RunWatch {
  volatile bool searching;                // the search stage is under way
  volatile SolveMode mode;                // which search, while searching
  const EnumerationCounters* volatile enumeration;  // its counters, while the enumeration runs; else null
};

struct RunReport {
  bool searched;                    // false when the load failed and nothing was searched
  SolveMode mode;                   // the search that ran, when searched
  EnumerationCounters enumeration;  // its counters, when the enumeration ran
  ExactStats exact;                 // its counters, when the exact search ran
  Failure warning;                  // the warning the run showed the user; None when it showed none
};

}  // namespace zoint

#endif  // ZOINT_RUN_REPORT_H
