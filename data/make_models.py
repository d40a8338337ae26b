#!/usr/bin/env python3
"""Writes the sample models of this folder: a torus, a spherical cap (open,
disc-like), a cube of quads and a sphere with two holes of different sizes.
Run from anywhere: python3 data/make_models.py"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def write_off(name, comment, vertices, faces):
    with open(os.path.join(HERE, name), "w", newline="\n") as f:
        f.write("OFF\n")
        f.write("# %s\n" % comment)
        f.write("%d %d 0\n" % (len(vertices), len(faces)))
        for x, y, z in vertices:
            f.write("%.6f %.6f %.6f\n" % (x + 0.0, y + 0.0, z + 0.0))
        for face in faces:
            f.write("%d %s\n" % (len(face), " ".join(str(i) for i in face)))


def torus(n_major=48, n_minor=24, R=1.0, r=0.4):
    vertices, faces = [], []
    for i in range(n_major):
        u = 2 * math.pi * i / n_major
        for j in range(n_minor):
            v = 2 * math.pi * j / n_minor
            vertices.append(((R + r * math.cos(v)) * math.cos(u),
                             (R + r * math.cos(v)) * math.sin(u),
                             r * math.sin(v)))
    idx = lambda i, j: (i % n_major) * n_minor + (j % n_minor)
    for i in range(n_major):
        for j in range(n_minor):
            a, b, c, d = idx(i, j), idx(i + 1, j), idx(i + 1, j + 1), idx(i, j + 1)
            faces.append((a, b, c))
            faces.append((a, c, d))
    return vertices, faces


def cap(rings=12, sectors=40, opening=0.42 * math.pi):
    """A spherical cap from the pole down to polar angle `opening`: one piece, one boundary."""
    vertices = [(0.0, 0.0, 1.0)]
    for k in range(1, rings + 1):
        t = opening * k / rings
        for s in range(sectors):
            p = 2 * math.pi * s / sectors
            vertices.append((math.sin(t) * math.cos(p), math.sin(t) * math.sin(p), math.cos(t)))
    ring = lambda k, s: 1 + (k - 1) * sectors + (s % sectors)
    faces = []
    for s in range(sectors):
        faces.append((0, ring(1, s), ring(1, s + 1)))
    for k in range(1, rings):
        for s in range(sectors):
            a, b = ring(k, s), ring(k, s + 1)
            c, d = ring(k + 1, s + 1), ring(k + 1, s)
            faces.append((a, d, c))
            faces.append((a, c, b))
    return vertices, faces


def cube():
    vertices = [(x, y, z) for z in (-1, 1) for y in (-1, 1) for x in (-1, 1)]
    # Corners listed counter-clockwise seen from outside.
    faces = [(0, 2, 3, 1), (4, 5, 7, 6), (0, 1, 5, 4), (2, 6, 7, 3), (0, 4, 6, 2), (1, 3, 7, 5)]
    return vertices, faces


def sphere_with_two_holes(stacks=16, sectors=32):
    vertices = [(0.0, 0.0, 1.0)]
    for k in range(1, stacks):
        t = math.pi * k / stacks
        for s in range(sectors):
            p = 2 * math.pi * s / sectors
            vertices.append((math.sin(t) * math.cos(p), math.sin(t) * math.sin(p), math.cos(t)))
    vertices.append((0.0, 0.0, -1.0))
    south = len(vertices) - 1
    ring = lambda k, s: 1 + (k - 1) * sectors + (s % sectors)

    # Two holes: a block of 4 x 3 quads and a smaller one of 2 x 2 quads.
    def in_hole(k, s):
        return (5 <= k < 8 and 2 <= s < 6) or (9 <= k < 11 and 18 <= s < 20)

    faces = []
    for s in range(sectors):
        faces.append((0, ring(1, s), ring(1, s + 1)))
        faces.append((south, ring(stacks - 1, s + 1), ring(stacks - 1, s)))
    for k in range(1, stacks - 1):
        for s in range(sectors):
            if in_hole(k, s):
                continue
            a, b = ring(k, s), ring(k, s + 1)
            c, d = ring(k + 1, s + 1), ring(k + 1, s)
            faces.append((a, d, c))
            faces.append((a, c, b))
    return vertices, faces


if __name__ == "__main__":
    write_off("tore.off", "tore : grand rayon 1, petit rayon 0.4, 48 x 24 quadrilateres coupes en deux",
              *torus())
    write_off("calotte.off", "calotte spherique ouverte, d'un seul tenant : bonne pour la parametrisation",
              *cap())
    write_off("cube.off", "cube de six quadrilateres", *cube())
    write_off("deux_trous.off", "sphere percee de deux trous (frontieres de 14 et de 8 aretes)",
              *sphere_with_two_holes())
