"""The Python module over the C API: answers, limits, Ctrl-C, threads and refusals.

Run against the module of the source tree by the test command, and against
the installed one by the packaging stage (tests/packaging/run.sh).
"""

import itertools
import math
import os
import random
import signal
import subprocess
import sys
import threading
import time
import unittest

import zoint


def brute_force(costs, rows, rhs):
    """The least objective and the lexicographically smallest x reaching it."""
    best, best_x = zoint.NO_SOLUTION, [0] * len(costs)
    for x in itertools.product((0, 1), repeat=len(costs)):  # lexicographic order
        if all(sum(a * v for a, v in zip(row, x)) <= b for row, b in zip(rows, rhs)):
            value = sum(c * v for c, v in zip(costs, x))
            if value < best:
                best, best_x = value, list(x)
    return best, best_x


def hard_knapsack():
    """A 100-variable, 10-row knapsack (maximise, as minimise minus the value)
    that the search needs far more than a minute for."""
    rng = random.Random(5)
    n, m = 100, 10
    weights = [[rng.randint(1, 1000) for _ in range(n)] for _ in range(m)]
    values = [sum(w[i] for w in weights) // m + rng.randint(-10, 10) for i in range(n)]
    capacity = [sum(w) // 2 for w in weights]
    return [-v for v in values], weights, capacity


def feasible_with_value(result, costs, rows, rhs):
    return all(sum(a * x for a, x in zip(row, result.x)) <= b for row, b in zip(rows, rhs)) and \
        result.value == sum(c * x for c, x in zip(costs, result.x))


class Solve(unittest.TestCase):
    def test_the_worked_example(self):
        r = zoint.solve([5, 3, 4], [[-1, -1, 0], [0, -1, -1]], [-1, -1])
        self.assertEqual((r.status, r.value, r.x), ("optimal", 3, [0, 1, 0]))

    def test_agrees_with_brute_force_for_every_sign(self):
        rng = random.Random(3)
        for _ in range(60):
            n, m = rng.randint(0, 9), rng.randint(0, 4)
            costs = [rng.randint(-9, 9) for _ in range(n)]
            rows = [[rng.randint(-5, 5) for _ in range(n)] for _ in range(m)]
            rhs = [rng.randint(-4, 6) for _ in range(m)]
            r = zoint.solve(costs, rows, rhs)
            value, x = brute_force(costs, rows, rhs)
            self.assertEqual((r.value, r.x), (value, x), (costs, rows, rhs))
            self.assertEqual(r.status, "infeasible" if value == zoint.NO_SOLUTION else "optimal")

    def test_tuples_and_other_integer_types(self):
        r = zoint.solve((7, -7), (), ())
        self.assertEqual((r.status, r.value, r.x), ("optimal", -7, [0, 1]))

    def test_sums_up_to_the_limit_are_accepted(self):
        # 2^63 - 1 for the costs and for a row, the library's one limit.
        r = zoint.solve([2**63 - 2, 1], [[2**62, 2**62 - 1]], [2**62])
        self.assertEqual((r.status, r.value, r.x), ("optimal", 0, [0, 0]))
        r = zoint.solve([-(2**63 - 2), -1], [[1, 1]], [1])
        self.assertEqual((r.status, r.value, r.x), ("optimal", -(2**63 - 2), [1, 0]))


class Limits(unittest.TestCase):
    def test_time_limit_stops_with_the_best_found(self):
        costs, rows, rhs = hard_knapsack()
        r = zoint.solve(costs, rows, rhs, time_limit=0.05)
        self.assertEqual(r.status, "stopped")
        if r.value != zoint.NO_SOLUTION:
            self.assertTrue(feasible_with_value(r, costs, rows, rhs))

    def test_node_limit_stops_with_the_best_found(self):
        costs, rows, rhs = hard_knapsack()
        r = zoint.solve(costs, rows, rhs, node_limit=2000, time_limit=60)
        self.assertEqual(r.status, "stopped")
        self.assertNotEqual(r.value, zoint.NO_SOLUTION)
        self.assertTrue(feasible_with_value(r, costs, rows, rhs))

    def test_a_cancel_event_set_by_another_thread_stops_it(self):
        costs, rows, rhs = hard_knapsack()
        cancel = threading.Event()
        timer = threading.Timer(0.3, cancel.set)
        timer.start()
        try:
            r = zoint.solve(costs, rows, rhs, time_limit=60, cancel=cancel)
        finally:
            timer.cancel()
        self.assertEqual(r.status, "stopped")
        self.assertTrue(feasible_with_value(r, costs, rows, rhs))

    def test_other_threads_run_while_it_solves(self):
        costs, rows, rhs = hard_knapsack()
        ticks = []
        running = threading.Event()
        running.set()

        def tick():
            while running.is_set():
                ticks.append(time.monotonic())
                time.sleep(0.01)

        ticker = threading.Thread(target=tick)
        ticker.start()
        start = time.monotonic()
        try:
            zoint.solve(costs, rows, rhs, time_limit=0.6)
        finally:
            end = time.monotonic()
            running.clear()
            ticker.join()
        # Were the GIL held through the call, nothing would tick inside it.
        inside = [t for t in ticks if start + 0.1 < t < end - 0.1]
        self.assertGreater(len(inside), 5)


class CtrlC(unittest.TestCase):
    """Ctrl-C, sent as SIGINT to a Python process solving the hard knapsack."""

    def run_interrupted(self, script):
        environment = dict(os.environ)
        # The child imports the very module under test.
        here = os.path.dirname(os.path.abspath(zoint.__file__))
        environment["PYTHONPATH"] = os.pathsep.join(filter(None, [here, environment.get("PYTHONPATH")]))
        child = subprocess.Popen([sys.executable, "-c", script], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                 text=True, env=environment)
        try:
            self.assertEqual(child.stdout.readline(), "solving\n")
            time.sleep(0.5)
            self.assertIsNone(child.poll(), "the solve ended before Ctrl-C")
            child.send_signal(signal.SIGINT)
            # Without the interrupt the call would run for its minute.
            out, err = child.communicate(timeout=10)
        finally:
            if child.poll() is None:
                child.kill()
                child.communicate()
        return child.returncode, out, err

    SETUP = ("import sys, zoint\n"
             "sys.path.insert(0, %r)\n"
             "from test_zoint import hard_knapsack, feasible_with_value\n"
             "costs, rows, rhs = hard_knapsack()\n"
             "print('solving', flush=True)\n") % os.path.dirname(os.path.abspath(__file__))

    def test_raises_keyboard_interrupt_at_once(self):
        status, out, err = self.run_interrupted(self.SETUP + "zoint.solve(costs, rows, rhs, time_limit=60)\n")
        self.assertIn("KeyboardInterrupt", err)
        # Python ends by the signal itself after an uncaught KeyboardInterrupt.
        self.assertEqual(status, -signal.SIGINT, err)

    def test_the_best_assignment_so_far_comes_with_it(self):
        status, out, err = self.run_interrupted(
            self.SETUP +
            "try:\n"
            "    zoint.solve(costs, rows, rhs, time_limit=60)\n"
            "except KeyboardInterrupt as interrupt:\n"
            "    r = interrupt.result\n"
            "    print(r.status, feasible_with_value(r, costs, rows, rhs))\n")
        self.assertEqual((status, out), (0, "stopped True\n"), err)


class BadArguments(unittest.TestCase):
    def test_wrong_types_raise_type_error(self):
        cases = [
            (([1.5], [], []), {}, r"costs\[0\] must be an integer, not float \(1\.5\)"),
            ((["3"], [], []), {}, r"costs\[0\] must be an integer, not str"),
            (([True, 1], [], []), {}, r"costs\[0\] must be an integer, not a bool \(True\)"),
            (([1], [[False]], [0]), {}, r"rows\[0\]\[0\] must be an integer, not a bool"),
            (([1], [[1]], [1.0]), {}, r"rhs\[0\] must be an integer, not float"),
            ((5, [], []), {}, r"costs must be a sequence of integers, not int"),
            (("12", [], []), {}, r"costs must be a sequence of integers, not str"),
            (([1], 7, [1]), {}, r"rows must be a sequence of rows, not int"),
            (([1], [1], [1]), {}, r"rows\[0\] must be a sequence of integers, not int"),
            (([1], [], []), {"time_limit": "1"}, r"time_limit must be a number of seconds, not str \('1'\)"),
            (([1], [], []), {"time_limit": True}, r"time_limit must be a number of seconds, not bool"),
            (([1], [], []), {"node_limit": 2.5}, r"node_limit must be an integer, not float"),
            (([1], [], []), {"node_limit": True}, r"node_limit must be an integer, not a bool"),
            (([1], [], []), {"cancel": True}, r"cancel must have an is_set\(\) method"),
        ]
        for arguments, options, message in cases:
            with self.assertRaisesRegex(TypeError, message, msg=repr((arguments, options))):
                zoint.solve(*arguments, **options)

    def test_wrong_values_raise_value_error(self):
        wide = 2**63
        cases = [
            (([1, 2], [[1]], [0]), {}, r"rows\[0\] has 1 coefficients; there are 2 variables"),
            (([1], [[1]], []), {}, r"1 rows but 0 right-hand sides"),
            (([1] * 101, [], []), {}, r"at most 100 variables and 50 rows"),
            (([1], [[1]] * 51, [1] * 51), {}, r"at most 100 variables and 50 rows"),
            (([wide], [], []), {}, r"costs\[0\]: 9223372036854775808 is outside the signed 64-bit range"),
            (([1], [[-wide - 1]], [0]), {}, r"rows\[0\]\[0\]: .* is outside the signed 64-bit range"),
            (([2**63 - 1, 1], [], []), {},
             r"^costs: the sum of the coefficients' magnitudes exceeds 2\^63 - 1, so sums could wrap$"),
            (([1, 1], [[0, 0], [2**62, 2**62]], [0, 0]), {},
             r"^rows\[1\]: the sum of the coefficients' magnitudes exceeds 2\^63 - 1, so sums could wrap$"),
            (([1], [], []), {"time_limit": 0}, r"time_limit must be a positive number of seconds"),
            (([1], [], []), {"time_limit": -1}, r"time_limit must be a positive number of seconds"),
            (([1], [], []), {"time_limit": math.nan}, r"time_limit must be a positive number of seconds"),
            (([1], [], []), {"node_limit": 0}, r"node_limit must be a positive number of search nodes"),
        ]
        for arguments, options, message in cases:
            with self.assertRaisesRegex(ValueError, message, msg=repr((arguments, options))):
                zoint.solve(*arguments, **options)

    def test_an_infinite_time_limit_is_no_limit(self):
        r = zoint.solve([5, 3, 4], [[-1, -1, 0], [0, -1, -1]], [-1, -1], time_limit=math.inf)
        self.assertEqual(r.status, "optimal")


def sorted_assignments(costs, rows, rhs):
    """Every feasible assignment as (value, x), by value, then lexicographically."""
    found = []
    for x in itertools.product((0, 1), repeat=len(costs)):
        if all(sum(a * v for a, v in zip(row, x)) <= b for row, b in zip(rows, rhs)):
            found.append((sum(c * v for c, v in zip(costs, x)), list(x)))
    return sorted(found)


class Lists(unittest.TestCase):
    def test_the_first_ones_every_optimal_and_within_a_gap(self):
        rng = random.Random(18)
        for _ in range(40):
            n, m = rng.randint(0, 8), rng.randint(0, 3)
            costs = [rng.randint(-3, 3) for _ in range(n)]
            rows = [[rng.randint(-4, 4) for _ in range(n)] for _ in range(m)]
            rhs = [rng.randint(-3, 5) for _ in range(m)]
            everything = sorted_assignments(costs, rows, rhs)
            where = (costs, rows, rhs)
            first = zoint.solutions(costs, rows, rhs, count=4)
            self.assertEqual([(r.value, r.x) for r in first], everything[:4], where)
            self.assertEqual(first.complete, len(everything) <= 4, where)
            self.assertEqual(first.status, "optimal" if everything else "infeasible", where)
            if not everything:
                continue
            least = everything[0][0]
            optimal = zoint.solutions(costs, rows, rhs, all_optimal=True)
            self.assertEqual([(r.value, r.x) for r in optimal], [e for e in everything if e[0] == least], where)
            self.assertTrue(optimal.complete)
            near = [e for e in everything if e[0] <= least + 2]
            within = zoint.solutions(costs, rows, rhs, gap=2, max_solutions=3)
            self.assertEqual([(r.value, r.x) for r in within], near[:3], where)
            self.assertEqual(within.complete, len(near) <= 3, where)

    def test_one_is_the_single_answer(self):
        r = zoint.solve([5, 3, 4], [[-1, -1, 0], [0, -1, -1]], [-1, -1])
        listed = zoint.solutions([5, 3, 4], [[-1, -1, 0], [0, -1, -1]], [-1, -1], count=1)
        self.assertEqual([(x.value, x.x) for x in listed], [(r.value, r.x)])

    def test_requests_that_are_not_exactly_one_kind_are_refused(self):
        example = ([1, 1], [[-1, -1]], [-1])
        for request in ({}, {"count": 2, "all_optimal": True}, {"count": 2, "gap": 1},
                        {"all_optimal": True, "gap": 0}):
            with self.assertRaises(ValueError, msg=request):
                zoint.solutions(*example, **request)
        for request, error in (({"count": 0}, ValueError), ({"gap": -1}, ValueError),
                               ({"count": 1.5}, TypeError), ({"gap": "1"}, TypeError),
                               ({"all_optimal": 1}, TypeError), ({"all_optimal": True, "max_solutions": 0}, ValueError)):
            with self.assertRaises(error, msg=request):
                zoint.solutions(*example, **request)


if __name__ == "__main__":
    unittest.main()
