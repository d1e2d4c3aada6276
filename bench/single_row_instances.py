#!/usr/bin/env python3
"""Fresh single-row knapsack instances for the instances benchmark.

Writes one folder per instance, each with ZOIntIn.dat and NAME.lp, the way
the shared structure instances are written: maximise p.x subject to
w.x <= C, every variable complemented (y = 1 - x), so the file minimises
p.y subject to -w.y <= C - sum(w). No optimum.txt: the benchmark takes CBC's
optimum as the reference and checks the library's against it.

Families (Pisinger, "Where are the hard knapsack problems?", 2005; Avis),
n = 100 unless noted, weights uniform in 1 ... R, capacity
floor(h/101 * sum(w)) with h = 50 at R = 10^4 and h = 25 at R = 10^6:
  pi_sc     p = w + R/10
  pi_asc    p uniform in w + R/10 -+ R/500
  pi_ss     p = w
  pi_isc    p uniform in 1 ... R, w = p + R/10
  pi_pceil  p = 3 ceil(w/3)
  pi_span   two spanner items (w uniform, p = w + R/10), each divided by 11
            and rounded up; every item a random spanner item times a random
            multiplier 1 ... 10
  avis      w_j = p_j = n(n+1) + j, capacity floor((n-1)/2) n(n+1) + n(n-1)/2

usage: single_row_instances.py OUTDIR [--seeds S1,S2,...]
"""
import argparse
import os
import random


def pisinger(kind, r, n, rng):
    tenth = r // 10
    if kind == "span":
        spanners = []
        for _ in range(2):
            w = rng.randint(1, r)
            p = w + tenth
            spanners.append(((w + 10) // 11, (p + 10) // 11))
        items = []
        for _ in range(n):
            w, p = spanners[rng.randrange(2)]
            a = rng.randint(1, 10)
            items.append((w * a, p * a))
        return items
    items = []
    for _ in range(n):
        if kind == "isc":
            p = rng.randint(1, r)
            items.append((p + tenth, p))
            continue
        w = rng.randint(1, r)
        if kind == "sc":
            p = w + tenth
        elif kind == "asc":
            p = rng.randint(w + tenth - r // 500, w + tenth + r // 500)
        elif kind == "ss":
            p = w
        elif kind == "pceil":
            p = 3 * ((w + 2) // 3)
        else:
            raise ValueError(kind)
        items.append((w, p))
    return items


def write_instance(root, name, items, capacity):
    folder = os.path.join(root, name)
    os.makedirs(folder, exist_ok=True)
    n = len(items)
    costs = [p for _, p in items]
    row = [-w for w, _ in items]
    rhs = capacity - sum(w for w, _ in items)
    with open(os.path.join(folder, "ZOIntIn.dat"), "w") as f:
        f.write("%d,1\n" % n)
        f.write("".join("%d," % c for c in costs) + "\n")
        f.write("".join("%d," % a for a in row) + "%d\n" % rhs)
    terms = lambda coefs: "".join(
        ("\n   " if k and k % 8 == 0 else " ") + ("+ %d y%d" % (c, k) if c >= 0 else "- %d y%d" % (-c, k))
        for k, c in enumerate(coefs))
    with open(os.path.join(folder, name + ".lp"), "w") as f:
        f.write("\\ %s: maximise p.x subject to w.x <= %d, written in y = 1 - x\n" % (name, capacity))
        f.write("Minimize\n obj:%s\n" % terms(costs))
        f.write("Subject To\n c0:%s <= %d\n" % (terms(row), rhs))
        f.write("Binary\n")
        for k in range(0, n, 10):
            f.write(" " + " ".join("y%d" % i for i in range(k, min(n, k + 10))) + "\n")
        f.write("End\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("outdir")
    parser.add_argument("--seeds", default="11,12")
    args = parser.parse_args()
    seeds = [int(s) for s in args.seeds.split(",")]
    for kind in ("sc", "asc", "ss", "span", "isc", "pceil"):
        for exponent, h in ((4, 50), (6, 25)):
            r = 10 ** exponent
            for seed in seeds:
                rng = random.Random(seed * 100 + exponent)
                items = pisinger(kind, r, 100, rng)
                capacity = h * sum(w for w, _ in items) // 101
                write_instance(args.outdir, "pi_%s_r%d_s%d" % (kind, exponent, seed), items, capacity)
    for n in (50, 100):
        items = [(n * (n + 1) + j, n * (n + 1) + j) for j in range(1, n + 1)]
        capacity = (n - 1) // 2 * n * (n + 1) + n * (n - 1) // 2
        write_instance(args.outdir, "avis_n%d" % n, items, capacity)


if __name__ == "__main__":
    main()
