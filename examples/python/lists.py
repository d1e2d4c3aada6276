"""Lists the three cheapest ways to pick two of three items with zoint, then
every optimal one: minimise x0 + x1 + 2 x2 subject to x0 + x1 + x2 >= 2.

    PYTHONPATH=python python3 examples/python/lists.py   (in the source tree, once built)
    python3 examples/python/lists.py                     (with ZOInt installed)
"""
import zoint

costs = [1, 1, 2]
rows = [[-1, -1, -1]]  # x0 + x1 + x2 >= 2, written as <=
rhs = [-2]

for result in zoint.solutions(costs, rows, rhs, count=3):
    print(result.value, "at", result.x)
optimal = zoint.solutions(costs, rows, rhs, all_optimal=True)
print(len(optimal), "optimal,", "all of them" if optimal.complete else "and more")
