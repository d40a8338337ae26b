#!/usr/bin/env python3
"""Compares two OBJ files line by line: "vt" lines may differ by at most TOL
in each coordinate, every other line must be the same bytes.
Usage: obj_compare.py A.obj B.obj TOL"""
import sys


def main():
    a = open(sys.argv[1], "rb").read().split(b"\n")
    b = open(sys.argv[2], "rb").read().split(b"\n")
    tolerance = float(sys.argv[3])
    if len(a) != len(b):
        sys.exit(f"{len(a)} lines against {len(b)}")
    worst = 0.0
    for number, (x, y) in enumerate(zip(a, b), 1):
        if x.startswith(b"vt ") and y.startswith(b"vt "):
            u = [float(t) for t in x.split()[1:]]
            v = [float(t) for t in y.split()[1:]]
            if len(u) != len(v):
                sys.exit(f"line {number}: {x!r} against {y!r}")
            for p, q in zip(u, v):
                worst = max(worst, abs(p - q))
                if not abs(p - q) <= tolerance:
                    sys.exit(f"line {number}: {x!r} against {y!r}")
        elif x != y:
            sys.exit(f"line {number}: {x!r} against {y!r}")
    print(f"{sys.argv[2]}: (u,v) within {worst:.3g} of the reference")


main()
