"""Packs a knapsack with zoint: maximise the value of the items taken within
the capacity, written as minimising minus the value.

    PYTHONPATH=python python3 examples/python/knapsack.py   (in the source tree, once built)
    python3 examples/python/knapsack.py                     (with ZOInt installed)
"""
import zoint

values = [10, 13, 7, 8]
weights = [[3, 4, 2, 3]]  # one row: the weight of each item
capacity = [7]

result = zoint.solve([-v for v in values], weights, capacity, time_limit=10)
if result.status == "optimal":
    print("value", -result.value, "taking", result.x)
else:
    print(result.status)
