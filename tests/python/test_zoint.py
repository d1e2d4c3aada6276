"""The Python module over the C API: answers, limits and refusals."""

import itertools
import math
import random
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

    def test_time_limit_stops_with_the_best_found(self):
        rng = random.Random(5)
        n, m = 100, 10
        weights = [[rng.randint(1, 1000) for _ in range(n)] for _ in range(m)]
        values = [sum(w[i] for w in weights) // m + rng.randint(-10, 10) for i in range(n)]
        rhs = [sum(w) // 2 for w in weights]
        r = zoint.solve([-v for v in values], weights, rhs, time_limit=0.05)
        self.assertEqual(r.status, "stopped")
        if r.value != zoint.NO_SOLUTION:
            self.assertEqual(r.value, -sum(v * x for v, x in zip(values, r.x)))
            for w, b in zip(weights, rhs):
                self.assertLessEqual(sum(a * x for a, x in zip(w, r.x)), b)

    def test_bad_arguments_raise_value_error(self):
        wide = 2**63
        cases = [
            ([1, 2], [[1]], [0]),                        # a row shorter than n
            ([1], [[1]], []),                            # fewer right-hand sides than rows
            ([1] * 101, [], []),                         # n > 100
            ([1], [[1]] * 51, [1] * 51),                 # m > 50
            ([1.5], [], []),                             # not an integer
            (["3"], [], []),
            ([wide], [], []),                            # outside int64
            ([1], [[-wide - 1]], [0]),
            ([2**63 - 1, 1], [], []),                    # the costs' sum can wrap
            ([1, 1], [[2**62, 2**62]], [0]),             # a row's sum can wrap
            (5, [], []),                                 # not a sequence
        ]
        for costs, rows, rhs in cases:
            with self.assertRaises(ValueError, msg=repr((costs, rows, rhs))):
                zoint.solve(costs, rows, rhs)
        for limit in (0, -1, math.nan, "soon"):
            with self.assertRaises(ValueError, msg=repr(limit)):
                zoint.solve([1], [], [], time_limit=limit)


if __name__ == "__main__":
    unittest.main()
