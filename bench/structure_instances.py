#!/usr/bin/env python3
"""Writes fresh instances of two structured families, each in a folder of its
own with ZOIntIn.dat, NAME.lp and optimum.txt, for the instances benchmark
(zoint_instances_bench DIR).

  market split (Cornuejols and Dawande): m equations over n = 10(m - 1)
    binaries, a_ij uniform in 0 ... 99 row by row, d_i = floor(sum_j a_ij / 2),
    minimise sum x. Named msM_N_sSEED.
  Todd's knapsack: w_j = p_j = 2^(k+n+1) + 2^(k+n+1-j) + 1, j = 1 ... n,
    k = floor(log2 n), capacity floor(sum w / 2); maximise p.x, written with
    every variable complemented (costs p, row -w.y <= C - sum w). Named
    todd_nN.

The optimum is computed here without the library: Todd's by its structure
(every subset sum tells its subset apart; see todd_optimum), checked against
a plain meet in the middle for n <= 30; market split's by the separate
program zoint_market_split_check (bench/market_split_check.cpp, a plain
enumeration of both halves matched through a sorted list), given with
--checker. Without it, market split folders get no optimum.txt.

usage: structure_instances.py [--checker PATH] OUTDIR INSTANCE...
  INSTANCE: ms:M:SEED (market split with M equations) or todd:N
"""
import bisect
import os
import random
import subprocess
import sys

NO_SOLUTION = 9223372036854775807


def write_instance(outdir, name, costs, rows, optimum, comment):
    """rows: lists of n coefficients then the right-hand side, each a <= row."""
    folder = os.path.join(outdir, name)
    os.makedirs(folder, exist_ok=True)
    n = len(costs)
    with open(os.path.join(folder, "ZOIntIn.dat"), "w") as f:
        f.write("%d,%d\n" % (n, len(rows)))
        f.write("".join("%d," % c for c in costs) + "\n")
        for row in rows:
            f.write(",".join(str(v) for v in row) + "\n")
    with open(os.path.join(folder, name + ".lp"), "w") as f:
        f.write("\\ %s: converted 0-1 problem (ZOIntIn.dat form)\n" % name)
        f.write("\\ %s\n" % comment)
        f.write("Minimize\n")
        f.write(lp_terms(" obj:", costs) + "\n")
        f.write("Subject To\n")
        for j, row in enumerate(rows):
            f.write(lp_terms(" c%d:" % j, row[:n]) + " <= %d\n" % row[n])
        f.write("Binary\n")
        for start in range(0, n, 10):
            f.write(" " + " ".join("y%d" % i for i in range(start, min(n, start + 10))) + "\n")
        f.write("End\n")
    path = os.path.join(folder, "optimum.txt")
    if optimum is not None:
        with open(path, "w") as f:
            f.write("%d\n" % optimum)
    elif os.path.exists(path):
        os.remove(path)


def lp_terms(head, values):
    lines = []
    terms = ["%s %d y%d" % ("-" if v < 0 else "+", abs(v), i) for i, v in enumerate(values) if v != 0]
    for start in range(0, len(terms), 8):
        lines.append((head if start == 0 else "  ") + " " + " ".join(terms[start:start + 8]))
    return "\n".join(lines) if lines else head + " 0 y0"


# --- Todd ------------------------------------------------------------------

def todd_weights(n):
    k = n.bit_length() - 1
    top = k + n + 1
    return [2 ** top + 2 ** (top - j) + 1 for j in range(1, n + 1)], top


def largest_with_ones(limit, ones, bits):
    """The largest y <= limit, y < 2^bits, with exactly `ones` bits set; None if none."""
    limit = min(limit, 2 ** bits - 1)
    if limit < 0 or ones > bits:
        return None
    if bin(limit).count("1") == ones:
        return limit
    # Keep limit's bits above position i, clear its 1 at i, and set the
    # highest free bits below i; the lowest such i gives the largest y.
    for i in range(bits):
        if not (limit >> i) & 1:
            continue
        high = (limit >> (i + 1)) << (i + 1)
        left = ones - bin(high).count("1")
        if 0 <= left <= i:
            return high | (((1 << left) - 1) << (i - left))
    return None


def todd_optimum(n):
    """The best subset sum at most C. A subset S sums to |S| 2^top + y 2^(top-n)
    + |S|, with y the n-bit number whose bit n - j is set for each j in S;
    |S| < 2^(k+1) = 2^(top-n), so the sum gives |S| and y apart. For each
    size, the best y is the largest with that many ones that fits."""
    w, top = todd_weights(n)
    capacity = sum(w) // 2
    best = None
    for size in range(n + 1):
        room = capacity - size * 2 ** top - size
        if room < 0:
            continue
        y = largest_with_ones(room >> (top - n), size, n)
        if y is not None:
            total = size * 2 ** top + (y << (top - n)) + size
            assert total <= capacity
            best = total if best is None else max(best, total)
    return best


def best_subset_sum_by_halves(w, capacity):
    """A plain meet in the middle, as a check of todd_optimum for small n."""
    half = len(w) // 2

    def sums(items):
        out = [0]
        for v in items:
            out += [s + v for s in out]
        return out

    right = sorted(sums(w[half:]))
    best = -1
    for s in sums(w[:half]):
        if s <= capacity:
            best = max(best, s + right[bisect.bisect_right(right, capacity - s) - 1])
    return best


def todd(outdir, n):
    w, _ = todd_weights(n)
    capacity = sum(w) // 2
    best = todd_optimum(n)
    if n <= 30:
        assert best == best_subset_sum_by_halves(w, capacity), n
    assert sum(w) < 2 ** 63, "no sum may wrap"
    rows = [[-v for v in w] + [capacity - sum(w)]]
    write_instance(outdir, "todd_n%d" % n, w, rows, sum(w) - best,
                   "original_opt = %d + (-1) * value / 1" % sum(w))


# --- Market split ----------------------------------------------------------

def market_split(outdir, m, seed, checker):
    n = 10 * (m - 1)
    rng = random.Random(seed)
    a = [[rng.randint(0, 99) for _ in range(n)] for _ in range(m)]
    d = [sum(row) // 2 for row in a]
    rows = []
    for row, rhs in zip(a, d):
        rows.append(row + [rhs])
        rows.append([-v for v in row] + [-rhs])
    name = "ms%d_%d_s%d" % (m, n, seed)
    write_instance(outdir, name, [1] * n, rows, None, "original_opt = 0 + (1) * value / 1")
    if checker:
        folder = os.path.join(outdir, name)
        out = subprocess.run([checker, os.path.join(folder, "ZOIntIn.dat")], check=True, capture_output=True,
                             text=True).stdout.split()
        with open(os.path.join(folder, "optimum.txt"), "w") as f:
            f.write(out[0] + "\n")
        print("%s: optimum %s, %s assignments meet the equations, the smallest optimal %s"
              % (name, out[0], out[1], out[2]))


def main(argv):
    checker = None
    if len(argv) > 1 and argv[0] == "--checker":
        checker, argv = argv[1], argv[2:]
    if len(argv) < 2:
        sys.exit(__doc__)
    outdir = argv[0]
    for instance in argv[1:]:
        parts = instance.split(":")
        if parts[0] == "ms":
            market_split(outdir, int(parts[1]), int(parts[2]), checker)
        elif parts[0] == "todd":
            todd(outdir, int(parts[1]))
        else:
            sys.exit("unknown instance " + instance)


if __name__ == "__main__":
    main(sys.argv[1:])
