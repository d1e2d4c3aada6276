"""ZOInt, an exact solver for 0-1 programs, from Python: its C API
(zoint_solve in libzoint.so.1) through ctypes.

    minimise  costs . x
    subject to rows[j] . x <= rhs[j] for every row j,  x in {0, 1}^n

    >>> import zoint
    >>> r = zoint.solve([5, 3, 4], [[-1, -1, 0], [0, -1, -1]], [-1, -1])
    >>> r.status, r.value, r.x
    ('optimal', 3, [0, 1, 0])

A solve runs in a thread of its own, without the GIL, so other Python
threads go on, and Ctrl-C stops it at once: solve then raises
KeyboardInterrupt, whose `result` attribute is the best assignment found so
far (status "stopped"). A time limit, a node limit, or a `cancel` event set
by another thread stop it the same way, and solve returns that result.

The library is looked for, in this order: the file named by the
ZOINT_LIBRARY environment variable; where `cmake --install` or the Debian
package put it, beside this module; a source tree's build folder
(build/linux); then libzoint.so.1 through the system's loader.
"""

import ctypes
import math
import numbers
import operator
import os
import threading

NO_SOLUTION = 2**63 - 1
MAX_VARIABLES = 100
MAX_CONSTRAINTS = 50
LIBRARY_NAME = "libzoint.so.1"

# The install rules set this to the installed library's path, relative to
# this file; it stays None in the source tree.
_INSTALLED_LIBRARY = None

# How often the waiting thread looks at a cancel event, in seconds.
_POLL_SECONDS = 0.05

_STATUS_NAMES = {0: "optimal", 1: "infeasible", 2: "stopped"}
# zoint_solve's status when memory ran short; the arguments' statuses (3, 4,
# 6) are raised as ValueError, though the checks here leave none of them.
_OUT_OF_MEMORY = 5
_LARGEST = 2**63 - 1


class _Progress(ctypes.Structure):
    _fields_ = [("seconds", ctypes.c_double), ("nodes", ctypes.c_uint64), ("has_solution", ctypes.c_int32),
                ("best_value", ctypes.c_int64), ("bound", ctypes.c_int64)]


_ProgressCallback = ctypes.CFUNCTYPE(None, ctypes.POINTER(_Progress), ctypes.c_void_p)


class _Options(ctypes.Structure):
    _fields_ = [("time_limit", ctypes.c_double), ("node_limit", ctypes.c_uint64),
                ("cancel", ctypes.POINTER(ctypes.c_int32)), ("progress", _ProgressCallback),
                ("user_data", ctypes.c_void_p), ("progress_interval", ctypes.c_double)]


class Result:
    """The answer of one solve.

    status: "optimal", "infeasible", or "stopped" (by a limit, a cancel
    event or Ctrl-C; x is then the best assignment found, not proven optimal);
    value: the objective of x, or NO_SOLUTION when there is no assignment;
    x: the assignment, a list of 0 and 1 (all 0 when there is none).
    """

    __slots__ = ("status", "value", "x")

    def __init__(self, status, value, x):
        self.status = status
        self.value = value
        self.x = x

    def __repr__(self):
        return "Result(status=%r, value=%r, x=%r)" % (self.status, self.value, self.x)


_library = None
_library_path = None
_library_lock = threading.Lock()


def _candidates():
    """Where the library may be, in the order they are tried."""
    here = os.path.dirname(os.path.abspath(__file__))
    named = os.environ.get("ZOINT_LIBRARY")
    if named:
        return [named]
    paths = []
    if _INSTALLED_LIBRARY is not None:
        paths.append(os.path.normpath(os.path.join(here, _INSTALLED_LIBRARY)))
    paths.append(os.path.join(here, os.pardir, "build", "linux", "libzoint.so"))
    return [path for path in paths if os.path.exists(path)] + [LIBRARY_NAME]


def _load():
    global _library, _library_path
    with _library_lock:
        if _library is not None:
            return _library
        errors = []
        for path in _candidates():
            try:
                library = ctypes.CDLL(path)
            except OSError as error:
                errors.append(str(error))
                continue
            library.zoint_solve.argtypes = [ctypes.c_int32, ctypes.c_int32, ctypes.POINTER(ctypes.c_int64),
                                            ctypes.POINTER(ctypes.c_int64), ctypes.POINTER(ctypes.c_int64),
                                            ctypes.POINTER(_Options), ctypes.POINTER(ctypes.c_int64),
                                            ctypes.POINTER(ctypes.c_int32)]
            library.zoint_solve.restype = ctypes.c_int
            # Older libraries have no lists; solve still works with them.
            if hasattr(library, "zoint_solve_list"):
                library.zoint_solve_list.argtypes = [
                    ctypes.c_int32, ctypes.c_int32, ctypes.POINTER(ctypes.c_int64), ctypes.POINTER(ctypes.c_int64),
                    ctypes.POINTER(ctypes.c_int64), ctypes.POINTER(_Options), ctypes.c_int, ctypes.c_int64,
                    ctypes.c_int32, ctypes.POINTER(ctypes.c_int64), ctypes.POINTER(ctypes.c_int32),
                    ctypes.POINTER(ctypes.c_int32), ctypes.POINTER(ctypes.c_int32)]
                library.zoint_solve_list.restype = ctypes.c_int
            _library, _library_path = library, path
            return library
        raise OSError("cannot load the zoint library (%s); install ZOInt, or set ZOINT_LIBRARY to the path of "
                      "libzoint.so" % "; ".join(errors))


def library_path():
    """The path (or name) the zoint library was loaded from; loads it."""
    _load()
    return _library_path


def _integer(value, where):
    """value as a Python int within int64_t; bools, floats and strings refused."""
    if isinstance(value, bool):
        raise TypeError("%s must be an integer, not a bool (%r)" % (where, value))
    try:
        number = operator.index(value)
    except TypeError:
        raise TypeError("%s must be an integer, not %s (%r)" % (where, type(value).__name__, value)) from None
    if not -2**63 <= number <= _LARGEST:
        raise ValueError("%s: %d is outside the signed 64-bit range" % (where, number))
    return number


def _integers(values, where):
    if isinstance(values, (str, bytes)) or not hasattr(values, "__iter__"):
        raise TypeError("%s must be a sequence of integers, not %s" % (where, type(values).__name__))
    return [_integer(v, "%s[%d]" % (where, i)) for i, v in enumerate(values)]


def _check_sums(values, where):
    # The library's one limit, in the words the command line uses.
    if sum(abs(v) for v in values) > _LARGEST:
        raise ValueError("%s: the sum of the coefficients' magnitudes exceeds 2^63 - 1, so sums could wrap" % where)


def _seconds(time_limit):
    """The C API's time limit: 0 for none."""
    if time_limit is None:
        return 0.0
    if isinstance(time_limit, bool) or not isinstance(time_limit, numbers.Real):
        raise TypeError("time_limit must be a number of seconds, not %s (%r)"
                        % (type(time_limit).__name__, time_limit))
    seconds = float(time_limit)
    if math.isnan(seconds) or seconds <= 0:
        raise ValueError("time_limit must be a positive number of seconds, not %r" % (time_limit,))
    return 0.0 if math.isinf(seconds) else seconds


def _nodes(node_limit):
    """The C API's node limit: 0 for none."""
    if node_limit is None:
        return 0
    nodes = _integer(node_limit, "node_limit")
    if nodes < 1:
        raise ValueError("node_limit must be a positive number of search nodes, not %r" % (node_limit,))
    return nodes


def solve(costs, rows, rhs, time_limit=None, node_limit=None, cancel=None):
    """Minimises costs . x subject to rows[j] . x <= rhs[j], x binary.

    costs: n integers; rows: m sequences of n integers; rhs: m integers;
    n <= 100, m <= 50, every number a signed 64-bit integer, and, for the
    costs and for each row, the sum of the coefficients' magnitudes at most
    2^63 - 1, so that no sum can wrap.

    time_limit: seconds (None: no limit); node_limit: search nodes (None: no
    limit); cancel: an object with is_set(), such as threading.Event, that
    another thread may set. Each stops the search with the best assignment
    found, status "stopped".

    Returns a Result: among optimal assignments, the lexicographically
    smallest (x[0] most significant, 0 before 1). Ctrl-C raises
    KeyboardInterrupt, with the best assignment so far as its `result`.

    Raises TypeError for an argument of the wrong type (a bool, a float or a
    string where an integer is needed, a string time limit), ValueError for
    a wrong value (sizes, lengths, numbers beyond 64 bits, sums that could
    wrap, limits that are not positive) and MemoryError when memory runs out.
    """
    problem = _checked_problem(costs, rows, rhs, cancel)
    n = problem.n
    options = _options(time_limit, node_limit)
    value = ctypes.c_int64(0)
    x = (ctypes.c_int32 * max(n, 1))()
    library = _load()

    def call():
        return library.zoint_solve(n, problem.m, problem.costs, problem.rows, problem.rhs, ctypes.byref(options),
                                   ctypes.byref(value), x)

    return _run(call, options, cancel, lambda outcome: _answer(outcome, value, x, n))


class _Problem:
    """The arguments as the C API takes them, checked."""

    __slots__ = ("n", "m", "costs", "rows", "rhs")


def _checked_problem(costs, rows, rhs, cancel):
    costs = _integers(costs, "costs")
    if isinstance(rows, (str, bytes)) or not hasattr(rows, "__iter__"):
        raise TypeError("rows must be a sequence of rows, not %s" % type(rows).__name__)
    rows = [_integers(row, "rows[%d]" % j) for j, row in enumerate(rows)]
    rhs = _integers(rhs, "rhs")
    n, m = len(costs), len(rows)
    if n > MAX_VARIABLES or m > MAX_CONSTRAINTS:
        raise ValueError("at most %d variables and %d rows; got %d and %d" % (MAX_VARIABLES, MAX_CONSTRAINTS, n, m))
    if len(rhs) != m:
        raise ValueError("%d rows but %d right-hand sides" % (m, len(rhs)))
    for j, row in enumerate(rows):
        if len(row) != n:
            raise ValueError("rows[%d] has %d coefficients; there are %d variables" % (j, len(row), n))
    _check_sums(costs, "costs")
    for j, row in enumerate(rows):
        _check_sums(row, "rows[%d]" % j)
    if cancel is not None and not callable(getattr(cancel, "is_set", None)):
        raise TypeError("cancel must have an is_set() method, such as threading.Event; not %s"
                        % type(cancel).__name__)
    problem = _Problem()
    problem.n, problem.m = n, m
    problem.costs = (ctypes.c_int64 * max(n, 1))(*costs)
    problem.rows = (ctypes.c_int64 * max(n * m, 1))(*[v for row in rows for v in row])
    problem.rhs = (ctypes.c_int64 * max(m, 1))(*rhs)
    return problem


def _options(time_limit, node_limit):
    options = _Options()
    options.time_limit = _seconds(time_limit)
    options.node_limit = _nodes(node_limit)
    # The cancel flag the waiting thread raises on Ctrl-C or a cancel event.
    options._stop = ctypes.c_int32(0)
    options.cancel = ctypes.pointer(options._stop)
    return options


def _run(call, options, cancel, answer):
    """Runs call() in a thread of its own and returns answer(outcome)."""
    stop = options._stop
    outcome = {}
    done = threading.Event()

    def work():
        # ctypes lets go of the GIL for the length of the foreign call.
        try:
            outcome["status"] = call()
        except BaseException as error:  # handed to the caller below
            outcome["error"] = error
        finally:
            done.set()

    # The caller waits on an event, not on Thread.join: a join that Ctrl-C
    # interrupts can take the thread for ended while it still runs.
    threading.Thread(target=work, name="zoint.solve", daemon=True).start()
    try:
        while not done.wait(_POLL_SECONDS):
            if cancel is not None and cancel.is_set():
                stop.value = 1
    except KeyboardInterrupt as interrupt:
        stop.value = 1
        # The search stops within a node's work; a second Ctrl-C meanwhile
        # must not leave it running on memory that is about to go.
        while not done.is_set():
            try:
                done.wait()
            except KeyboardInterrupt:
                pass
        try:
            interrupt.result = answer(outcome)
        except (MemoryError, ValueError):
            interrupt.result = None
        raise
    return answer(outcome)


class Solutions(list):
    """A list of Result, in the order by objective, then lexicographically
    (x[0] most significant, 0 before 1), each assignment once.

    status: "optimal" (the list asked for), "infeasible" (no assignment; the
    list is empty) or "stopped" (a limit, a cancel event or Ctrl-C: the list
    holds the assignments proven to come first, possibly none);
    complete: True when every assignment of the kind asked for is listed.
    """

    def __init__(self, results, status, complete):
        super().__init__(results)
        self.status = status
        self.complete = complete

    def __repr__(self):
        return "Solutions(status=%r, complete=%r, %s)" % (self.status, self.complete, list.__repr__(self))


_LIST_BEST, _LIST_OPTIMAL, _LIST_WITHIN_GAP = 0, 1, 2


def solutions(costs, rows, rhs, count=None, all_optimal=False, gap=None, max_solutions=1000, time_limit=None,
              node_limit=None, cancel=None):
    """Lists assignments of the problem solve takes, in the order by
    objective, then lexicographically, exact, each once. Exactly one of:

    count: the first `count` assignments (fewer when fewer exist);
    all_optimal=True: every optimal assignment, up to max_solutions;
    gap: every assignment worth at most the optimum plus gap (an integer
    >= 0), up to max_solutions.

    Returns a Solutions list of Result; with count=1 it holds solve's answer.
    Limits, cancel and Ctrl-C as for solve (KeyboardInterrupt's `result` is
    the Solutions proven so far). Raises as solve does, and ValueError for a
    request that is not exactly one of the three or a count below 1.
    """
    asked = [count is not None, bool(all_optimal), gap is not None]
    if sum(asked) != 1:
        raise ValueError("ask for exactly one of count, all_optimal=True and gap")
    if isinstance(all_optimal, bool) is False:
        raise TypeError("all_optimal must be True or False, not %r" % (all_optimal,))
    if count is not None:
        kind, capacity, gap_value = _LIST_BEST, _integer(count, "count"), 0
    else:
        kind = _LIST_OPTIMAL if all_optimal else _LIST_WITHIN_GAP
        capacity = _integer(max_solutions, "max_solutions")
        gap_value = 0 if gap is None else _integer(gap, "gap")
        if gap_value < 0:
            raise ValueError("gap must be at least 0, not %d" % gap_value)
    if not 1 <= capacity <= 2**31 - 1:
        raise ValueError("%s must be between 1 and 2^31 - 1, not %d"
                         % ("count" if count is not None else "max_solutions", capacity))
    problem = _checked_problem(costs, rows, rhs, cancel)
    n = problem.n
    options = _options(time_limit, node_limit)
    library = _load()
    if not hasattr(library, "zoint_solve_list"):
        raise OSError("the zoint library at %s has no lists (zoint_solve_list); install a newer one" % _library_path)
    values = (ctypes.c_int64 * capacity)()
    xs = (ctypes.c_int32 * (capacity * max(n, 1)))()
    listed = ctypes.c_int32(0)
    complete = ctypes.c_int32(0)

    def call():
        return library.zoint_solve_list(n, problem.m, problem.costs, problem.rows, problem.rhs, ctypes.byref(options),
                                        kind, gap_value, capacity, values, xs, ctypes.byref(listed),
                                        ctypes.byref(complete))

    def answer(outcome):
        if "error" in outcome:
            raise outcome["error"]
        status = outcome["status"]
        if status in _STATUS_NAMES:
            results = [Result(_STATUS_NAMES[status], values[k], list(xs[k * n:(k + 1) * n])) for k in range(listed.value)]
            return Solutions(results, _STATUS_NAMES[status], bool(complete.value))
        if status == _OUT_OF_MEMORY:
            raise MemoryError("zoint_solve_list ran out of memory")
        raise ValueError("zoint_solve_list refused its arguments (status %d)" % status)

    return _run(call, options, cancel, answer)


def _answer(outcome, value, x, n):
    if "error" in outcome:
        raise outcome["error"]
    status = outcome["status"]
    if status in _STATUS_NAMES:
        return Result(_STATUS_NAMES[status], value.value, list(x)[:n])
    if status == _OUT_OF_MEMORY:
        raise MemoryError("zoint_solve ran out of memory")
    # The checks above leave none of these; a library of another version might.
    raise ValueError("zoint_solve refused its arguments (status %d)" % status)
