#include <cstdio>

#include "cli.h"

namespace zoint_cli {

const char kUsageText[] =
    "usage: zoint [--stats] [--enumerate] [DIR]\n"
    "       zoint solve [--time-limit SECONDS] [--quiet] [--solution FILE]\n"
    "                   [--solutions K | --all-optimal | --gap G] [--max-solutions N] MODEL\n"
    "       zoint convert MODEL DIR\n"
    "       zoint --help | --version\n";

const char kHelpText[] =
    "zoint: exact solver for 0-1 programs\n"
    "\n"
    "  minimise c.x  subject to  a_j.x <= b_j for every row j,  x in {0,1}^n\n"
    "\n"
    "zoint [--stats] [--enumerate] [DIR]\n"
    "  Solves the problem in DIR/ZOIntIn.dat (default: the current directory)\n"
    "  and writes the answer to DIR/ZOIntOut.dat, as a host's call does.\n"
    "  ZOIntIn.dat, decimal integers separated by commas:\n"
    "    line 1      n,m              (n <= 100 variables, m <= 50 rows)\n"
    "    line 2      c_0,...,c_n-1,\n"
    "    lines 3...  a_j0,...,a_jn-1,b_j   one line per row\n"
    "  ZOIntOut.dat:\n"
    "    line 1      the best objective value (9223372036854775807: none)\n"
    "    line 2      x_0,...,x_n-1    (only when n >= 1)\n"
    "  --stats       also print the search that ran, its counters and the\n"
    "                seconds taken, on standard error (after Ctrl-C too)\n"
    "  --enumerate   always run the plain enumeration, even where the exact\n"
    "                search would run (for testing and comparison; with negative\n"
    "                costs its answer may not be the optimum)\n"
    "  Ctrl-C removes ZOIntOut.dat, so that no answer of an earlier run is left.\n"
    "\n"
    "zoint --help     print this text\n"
    "zoint --version  print the version\n"
    "\n"
    "zoint solve [--time-limit SECONDS] [--quiet] [--solution FILE]\n"
    "            [--solutions K | --all-optimal | --gap G] [--max-solutions N] MODEL\n"
    "  Solves a model file: MODEL.lp (CPLEX LP), MODEL.mps (fixed or free MPS)\n"
    "  or MODEL.opb (linear pseudo-Boolean; variables x1, x2, ...), each also\n"
    "  as .gz, the ending in any letter case. Every variable must be binary;\n"
    "  at most 100 variables and 50 rows once = and ranged rows are split.\n"
    "  Prints 'status: optimal', 'infeasible' or 'stopped', then\n"
    "  'objective: V' in the model's own sense and scale (exact; 'none' when\n"
    "  there is no assignment), then one 'name value' line per variable.\n"
    "  Among optimal assignments it gives the lexicographically smallest in\n"
    "  the model's variable order.\n"
    "  --time-limit SECONDS  stop the search after this long and print the\n"
    "                        best assignment found, with 'status: stopped'\n"
    "  --quiet               no progress lines (otherwise one a second on\n"
    "                        standard error once the search has run a second)\n"
    "  --solution FILE       also write the result to FILE (never the model\n"
    "                        file itself: that is a usage error)\n"
    "  Ctrl-C stops the search the same way as the time limit.\n"
    "  Lists, in the order by objective, then lexicographically (each\n"
    "  assignment once, exact):\n"
    "  --solutions K         the first K assignments (fewer when fewer exist)\n"
    "  --all-optimal         every optimal assignment\n"
    "  --gap G               every assignment within G of the optimum (in the\n"
    "                        model's objective)\n"
    "  --max-solutions N     the cap of --all-optimal and --gap (default 1000)\n"
    "  A list prints 'status:', 'solutions: COUNT', 'complete: yes' or 'no'\n"
    "  (whether every assignment asked for is listed), then a block per\n"
    "  assignment: 'solution: K', 'objective: V', the 'name value' lines.\n"
    "  Stopped, a list holds the assignments proven to come first.\n"
    "\n"
    "zoint convert MODEL DIR\n"
    "  Writes DIR/ZOIntIn.dat from the model, and DIR/names.txt with one\n"
    "  variable name per line, and prints how the objective maps back.\n"
    "\n"
    "Exit status:\n"
    "  0  solved: optimal or proven infeasible (zoint DIR: no warning shown)\n"
    "  1  bad input: the model or ZOIntIn.dat was rejected, or a file could\n"
    "     not be read or written\n"
    "  2  usage error\n"
    "  3  stopped by the time limit or by Ctrl-C\n";

int UsageError(const char* what, const char* argument) {
  std::fprintf(stderr, "zoint: %s: %s\n%s", what, argument, kUsageText);
  return kExitUsage;
}

}  // namespace zoint_cli
