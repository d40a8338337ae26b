#!/usr/bin/env python3
"""Writes the binary seed inputs of the topology and editing-session fuzz
targets into corpus/topology and corpus/edit_sequence (the text seeds of the
other targets are kept as files). Run from anywhere; rewrites the seeds."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(bytes(data))


def words(values):
    return b"".join(struct.pack(">H", v & 0xFFFF) for v in values)


# ---- topology: a word (vertex count - 1), then three words per triangle.
def topology(name, vertices, faces):
    flat = [c for f in faces for c in f]
    write("topology", name, words([vertices - 1] + flat))


def grid(n, m, skip=()):
    faces = []
    for j in range(m):
        for i in range(n):
            if (i, j) in skip:
                continue
            a = j * (n + 1) + i
            faces += [(a, a + 1, a + n + 2), (a, a + n + 2, a + n + 1)]
    return (n + 1) * (m + 1), faces


def torus(n, m):
    faces = []
    for j in range(m):
        for i in range(n):
            a, b = j * n + i, j * n + (i + 1) % n
            c, d = ((j + 1) % m) * n + i, ((j + 1) % m) * n + (i + 1) % n
            faces += [(a, b, d), (a, d, c)]
    return n * m, faces


topology("triangle", 3, [(0, 1, 2)])
topology("two_triangles", 4, [(0, 1, 2), (2, 1, 3)])
topology("tetrahedron", 4, [(0, 2, 1), (0, 1, 3), (1, 2, 3), (2, 0, 3)])
topology("grid_3x3", *grid(3, 3))
topology("grid_4x4_two_holes", *grid(4, 4, skip={(1, 1), (2, 2)}))
topology("grid_5x5_holes_5_and_8", *grid(5, 5, skip={(1, 1), (3, 2), (3, 3)}))
topology("torus_4x4", *torus(4, 4))
topology("unused_vertices", 5, [(0, 2, 4)])
topology("three_on_one_edge", 5, [(0, 1, 2), (1, 0, 3), (0, 1, 4)])
topology("same_triangle_twice", 3, [(0, 1, 2), (0, 1, 2)])
topology("repeated_corner_first", 3, [(0, 0, 1), (1, 2, 0)])
topology("repeated_corner_later", 4, [(0, 1, 2), (2, 2, 3)])
topology("bowtie", 5, [(0, 1, 2), (0, 3, 4)])
topology("corner_minus_one", 3, [(0, 1, 0xFFFF)])
topology("corner_vertex_count", 3, [(0, 1, 0xFFFE)])
topology("corner_int_min", 3, [(0xFFFD, 1, 2)])
topology("corner_int_max", 3, [(0, 0xFFFC, 2)])
# Many holes: a grid with every other cell left out needs more edges than the first capacity.
topology("grid_9x9_many_holes", *grid(9, 9, skip={(i, j) for i in range(1, 9, 2) for j in range(1, 9, 2)}))
# Every triangle pair sharing an edge at triangle positions that hit each residue.
topology("strip_20", *grid(20, 1))
topology("fan_disc_7", 8, [(0, 1 + i, 1 + (i + 1) % 7) for i in range(7)])

# ---- editing sessions: see edit_sequence.h for the decoding.
# Shapes: 0 grid (n, m, hole selector[, two words]), 1 torus (n, m), 2 fan disc
# (ring), 3 double pyramid (ring), 4 soup (vertices, faces, corners...); then a lift byte.
# Steps: 0/1/2 modes, 3 pick (kind, word), 4 click, 5 held, 6 up, 7 Enter,
# 8 subdivide, 9 parameterize, 10 boundary display, 11 statistics,
# 12 gesture (kind, word), 13 two edge clicks (word, word), 14 click+Enter
# (kind, word), 15 another command (byte: 2 save and open again, 3 open
# cancelled, others the axes display).
def w(v):
    return [v >> 8 & 0xFF, v & 0xFF]


def session(name, shape, steps):
    write("edit_sequence", name, shape + steps)


GRID3 = [0, 2, 2, 1, 0]
GRID4_HOLES = [0, 3, 3, 0] + w(0x0000) + w(0x0021) + [1]
TORUS = [1, 1, 1, 0]
DISC = [2, 3, 2]
BIPYRAMID = [3, 3, 0]

session("grid_vertex_cut_undo", GRID3, [12, 1] + w(5) + [7])
session("grid_edge_cuts", GRID3, [12, 2] + w(3) + [12, 2] + w(10) + [7] + [13] + w(20) + w(21))
session("grid_face_cuts_all", GRID3, [12, 3] + w(0) + [7] + [12, 3] + w(0)) 
session("grid_face_cut_everything", [0, 0, 0, 1, 0], [12, 3] + w(0) + [12, 3] + w(0) + [8, 9, 11, 7])
session("torus_two_click_edge", TORUS, [1, 3, 2] + w(0) + [4, 3, 2] + w(1) + [4, 7, 8, 12, 1] + w(3))
session("torus_subdivide_twice", TORUS, [8, 8, 12, 1] + w(7) + [7])
session("disc_parameterize_subdivide", DISC, [9, 8, 9, 12, 2] + w(1) + [7, 10])
session("bipyramid_vertex_cut", BIPYRAMID, [12, 1] + w(0) + [7, 7, 12, 1] + w(1) + [15, 7])
session("holes_boundary", GRID4_HOLES, [10, 9, 12, 2] + w(4) + [14, 3] + w(2) + [8, 9])
session("stale_picks", GRID3, [0, 3, 1] + w(0xFFFE) + [4, 3, 1] + w(0xFFFF) + [4, 1, 3, 2] + w(0xFFFE) + [4])
session("modes_together", GRID3, [0, 1, 2, 3, 0] + w(4) + [4, 7, 0, 1, 2])
session("held_button", GRID3, [0, 3, 1] + w(4) + [5, 5, 5, 6, 7, 7])
session("save_and_open_between_cuts", GRID3, [0, 15, 2, 14, 1] + w(5) + [12, 2] + w(4) + [15, 2, 7, 15, 3, 8, 15, 2])
session("soup", [4, 6, 5] + [0, 1, 2, 2, 1, 3, 3, 1, 4, 4, 1, 5, 5, 1, 0] + [0], [12, 1] + w(1) + [7, 8, 9])


# Degenerate models that load: every command must work or be refused with its
# box, never end the program. A soup is [4, vertices - 3, faces - 1, corners...],
# its vertices at (i % 4, i // 4, i % 3), so 0, 1, 2 lie on one line.
def soup(vertices, faces):
    return [4, vertices - 3, len(faces) - 1] + [c for f in faces for c in f] + [0]


session("repeated_corner_subdivide", soup(4, [(0, 0, 2), (1, 3, 2)]),
        [8, 8, 9, 12, 1] + w(0) + [7, 12, 3] + w(0) + [7, 12, 2] + w(1) + [7, 8])
session("bowtie_commands", soup(5, [(0, 1, 4), (0, 3, 2)]),
        [8, 9, 10, 12, 1] + w(0) + [7, 12, 2] + w(0) + [13] + w(1) + w(2) + [7, 8])
session("zero_area_commands", soup(5, [(0, 1, 2), (0, 2, 3), (3, 2, 4)]),
        [9, 10, 8, 12, 1] + w(2) + [7, 12, 3] + w(1) + [7, 9, 8])

# ---- parameterization: a shape as above, then per vertex a mode byte
# (0 keep, 1 coincide with the vertex of the next byte, 2 one coordinate,
# 3 three coordinates) and its coordinate bytes (0 0.0, 1 1.0, 2 -1.0, 3 0.5,
# 4 1e-300, 5 1e300, 6 NaN, 7 inf, 8 -inf, 9 denormal, 10 -0.0, 11 1e-8,
# others (byte >> 4) - 8).
def param(name, shape, coords):
    write("parameterize", name, shape + coords)


param("grid_as_is", GRID3, [])
param("disc_as_is", DISC, [])
param("holes_as_is", GRID4_HOLES, [])
param("closed", BIPYRAMID, [])
param("disc_centre_nan", DISC, [3, 6, 0, 0])
param("disc_centre_inf", DISC, [3, 7, 8, 0])
param("disc_centre_huge", DISC, [3, 5, 5, 5])
param("disc_centre_tiny", DISC, [3, 4, 9, 4])
param("disc_centre_on_rim", DISC, [1, 1])
param("disc_rim_coincide", DISC, [0, 1, 2])
param("grid_flat_line", GRID3, [2 + 4 * 1, 0] * 16)
param("grid_all_zero", GRID3, [3, 0, 0, 0] * 16)
param("grid_one_nan", GRID3, [0] * 5 + [2, 6])
