"""Exact solver for 0-1 programs: ZOInt's C API (zoint_solve) through ctypes.

    minimise  costs . x
    subject to rows[j] . x <= rhs[j] for every row j, x in {0, 1}^n

    >>> import zoint
    >>> r = zoint.solve([5, 3, 4], [[-1, -1, 0], [0, -1, -1]], [-1, -1])
    >>> r.status, r.value, r.x
    ('optimal', 3, [0, 1, 0])

The library is libzoint.so: the file named by the ZOINT_LIBRARY environment
variable, or else the one in the project's build folder (build/linux).
"""

import ctypes
import math
import operator
import os

NO_SOLUTION = 2**63 - 1
MAX_VARIABLES = 100
MAX_CONSTRAINTS = 50

_STATUS_NAMES = {0: "optimal", 1: "infeasible", 2: "stopped"}
_BAD_SIZE, _OUT_OF_RANGE, _OUT_OF_MEMORY, _BAD_ARGUMENT = 3, 4, 5, 6


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

    status: "optimal", "infeasible" or "stopped" (by the time limit);
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


def _library_path():
    path = os.environ.get("ZOINT_LIBRARY")
    if path:
        return path
    here = os.path.dirname(os.path.abspath(__file__))
    return os.path.join(here, os.pardir, "build", "linux", "libzoint.so")


def _load():
    global _library
    if _library is None:
        path = _library_path()
        try:
            library = ctypes.CDLL(path)
        except OSError as error:
            raise OSError("cannot load libzoint (%s); set ZOINT_LIBRARY to its path, or build the "
                          "project first: %s" % (path, error)) from None
        library.zoint_solve.argtypes = [ctypes.c_int32, ctypes.c_int32, ctypes.POINTER(ctypes.c_int64),
                                        ctypes.POINTER(ctypes.c_int64), ctypes.POINTER(ctypes.c_int64),
                                        ctypes.POINTER(_Options), ctypes.POINTER(ctypes.c_int64),
                                        ctypes.POINTER(ctypes.c_int32)]
        library.zoint_solve.restype = ctypes.c_int
        _library = library
    return _library


def _integers(values, what):
    """values as a list of Python ints within int64_t."""
    try:
        numbers = [operator.index(v) for v in values]
    except TypeError:
        raise ValueError("%s must hold integers" % what) from None
    for v in numbers:
        if not -2**63 <= v < 2**63:
            raise ValueError("%s: %d is outside the signed 64-bit range" % (what, v))
    return numbers


def solve(costs, rows, rhs, time_limit=None):
    """Minimises costs . x subject to rows[j] . x <= rhs[j], x binary.

    costs: n integers; rows: m sequences of n integers; rhs: m integers;
    n <= 100, m <= 50, every number a signed 64-bit integer, and no sum that
    can leave that range (sum of |costs|, and of each row's |coefficients|,
    at most 2**63 - 1). time_limit: seconds, or None for no limit.

    Among optimal assignments it returns the lexicographically smallest
    (x[0] most significant, 0 before 1). Raises ValueError on bad arguments
    and MemoryError when memory runs out.
    """
    try:
        costs = list(costs)
        rows = [list(row) for row in rows]
        rhs = list(rhs)
    except TypeError:
        raise ValueError("costs, rows and rhs must be sequences") from None
    n, m = len(costs), len(rows)
    if n > MAX_VARIABLES or m > MAX_CONSTRAINTS:
        raise ValueError("at most %d variables and %d rows; got %d and %d" % (MAX_VARIABLES, MAX_CONSTRAINTS, n, m))
    if len(rhs) != m:
        raise ValueError("%d rows but %d right-hand sides" % (m, len(rhs)))
    for j, row in enumerate(rows):
        if len(row) != n:
            raise ValueError("row %d has %d coefficients; there are %d variables" % (j, len(row), n))
    options = _Options()
    if time_limit is not None:
        try:
            seconds = float(time_limit)
        except (TypeError, ValueError):
            raise ValueError("time_limit must be a number of seconds") from None
        if math.isnan(seconds) or seconds <= 0:
            raise ValueError("time_limit must be a positive number of seconds")
        options.time_limit = seconds

    flat = [v for row in rows for v in row]
    c_costs = (ctypes.c_int64 * max(n, 1))(*_integers(costs, "costs"))
    c_rows = (ctypes.c_int64 * max(n * m, 1))(*_integers(flat, "rows"))
    c_rhs = (ctypes.c_int64 * max(m, 1))(*_integers(rhs, "rhs"))
    value = ctypes.c_int64(0)
    x = (ctypes.c_int32 * max(n, 1))()
    status = _load().zoint_solve(n, m, c_costs, c_rows, c_rhs, ctypes.byref(options), ctypes.byref(value), x)
    if status in _STATUS_NAMES:
        return Result(_STATUS_NAMES[status], value.value, list(x)[:n])
    if status == _OUT_OF_RANGE:
        raise ValueError("a sum can leave the signed 64-bit range (sum of |costs|, or of a row's "
                         "|coefficients|, above 2**63 - 1): no exact answer")
    if status == _OUT_OF_MEMORY:
        raise MemoryError("zoint_solve ran out of memory")
    raise ValueError("zoint_solve refused its arguments (status %d)" % status)
