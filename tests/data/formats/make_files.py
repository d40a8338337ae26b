#!/usr/bin/env python3
# Writes the small model files of the format tests: one square pyramid in
# every format and variant, each next to its OFF twin, plus a pentagon.
# Run from this folder; the files are committed, this only says how they were made.
import struct

# pyramid.off: a quad base and four sides; the apex is not a float value.
P = [(0, 0, 0), (0, 2, 0), (2, 2, 0), (2, 0, 0), (1.1, 0.9, 1.3)]
PF = [(0, 1, 2, 3), (0, 3, 4), (3, 2, 4), (2, 1, 4), (1, 0, 4)]
# pyramid_tri.off: the base as two triangles; every coordinate a float value,
# vertices numbered in order of first appearance in the faces (as STL welds them).
T = [(0, 0, 0), (0, 2, 0), (2, 2, 0), (2, 0, 0), (1, 1, 1.5)]
TF = [(0, 1, 2), (0, 2, 3), (0, 3, 4), (3, 2, 4), (2, 1, 4), (1, 0, 4)]


def num(v):
    return repr(float(v)) if not float(v).is_integer() else str(int(v))


def off(vs, fs):
    lines = ["OFF", f"{len(vs)} {len(fs)} 0"]
    lines += [" ".join(num(c) for c in v) for v in vs]
    lines += [" ".join(str(k) for k in (len(f),) + f) for f in fs]
    return "\n".join(lines) + "\n"


def write(name, data):
    with open(name, "wb") as out:
        out.write(data.encode() if isinstance(data, str) else data)


write("pyramid.off", off(P, PF))
write("pyramid_tri.off", off(T, TF))

# Text PLY: an extra colour per vertex, a flag per face and an edge element, all skipped.
ply = ["ply", "format ascii 1.0", "comment a square pyramid", "obj_info made by hand",
       f"element vertex {len(P)}", "property float x", "property float y", "property float z",
       "property uchar red", f"element face {len(PF)}", "property list uchar int vertex_indices",
       "property int flags", "element edge 2", "property int vertex1", "property int vertex2", "end_header"]
ply += [" ".join(num(c) for c in v) + " 255" for v in P]
ply += [" ".join(str(k) for k in (len(f),) + f) + " 7" for f in PF]
ply += ["0 1", "1 2"]
write("pyramid_ascii.ply", "\n".join(ply) + "\n")

# Binary little endian: a skipped float before x, a skipped list in the vertex
# element, "vertex_index" with uint8 count and int32 indices, an extra element with a list.
head = ("ply\nformat binary_little_endian 1.0\ncomment little endian\n"
        f"element vertex {len(P)}\nproperty float nx\nproperty double x\nproperty double y\nproperty double z\n"
        "property list uchar short tags\n"
        f"element face {len(PF)}\nproperty list uint8 int32 vertex_index\n"
        "element material 1\nproperty list int float weights\nproperty uchar kind\nend_header\n")
body = b""
for v in P:
    body += struct.pack("<fddd", 0.5, *map(float, v)) + struct.pack("<Bhh", 2, 7, -7)
for f in PF:
    body += struct.pack("<B", len(f)) + struct.pack(f"<{len(f)}i", *f)
body += struct.pack("<i3fB", 3, 1.0, 2.0, 3.0, 9)
write("pyramid_le.ply", head.encode() + body)

# Binary big endian: the face element before the vertex element, ushort count
# and uint indices, a skipped uchar after the list.
head = ("ply\r\nformat binary_big_endian 1.0\r\n"
        f"element face {len(PF)}\r\nproperty list ushort uint vertex_indices\r\nproperty uchar alpha\r\n"
        f"element vertex {len(P)}\r\nproperty double x\r\nproperty double y\r\nproperty double z\r\nend_header\r\n")
body = b""
for f in PF:
    body += struct.pack(">H", len(f)) + struct.pack(f">{len(f)}I", *f) + b"\x80"
for v in P:
    body += struct.pack(">ddd", *map(float, v))
write("pyramid_be.ply", head.encode() + body)

# OBJ: every corner form, negative indices, a fourth coordinate, and the
# statements that are skipped (objects, groups, materials, smoothing, vt, vn).
obj = """# a square pyramid
mtllib pyramid.mtl
o base
v 0 0 0
v 0 2 0 1.0
v 2 2 0
v 2 0 0
v 1.1 0.9 1.3
vt 0 0
vt 1 0
vt 1 1
vt 0 1
vn 0 0 -1
g bottom
usemtl stone
s off
f 1/1 2/2 3/3 4/4
o sides
g sides
s 1
f 1//1 4//1 5//1
f 4/1/1 3/2/1 5/3/1
f -3 -4 -1
l 1 2
f 2/4/1 1/1/1 -1/3/1
"""
write("pyramid.obj", obj)

# STL text: the triangle pyramid, with upper-case keywords in one facet.
def stl_text(vs, fs):
    out = ["solid pyramid"]
    for f in fs:
        out += ["  facet normal 0 0 0", "    outer loop"]
        out += ["      vertex " + " ".join(num(c) for c in vs[k]) for k in f]
        out += ["    endloop", "  endfacet"]
    out.append("endsolid pyramid")
    return "\n".join(out) + "\n"


text = stl_text(T, TF).replace("  facet normal 0 0 0\n    outer loop\n      vertex 2 2 0",
                              "  FACET NORMAL 0 0 0\n    OUTER LOOP\n      VERTEX 2 2 0", 1)
write("pyramid_ascii.stl", text)

# STL binary: the header starts with "solid", which must not make it text.
data = b"solid but binary".ljust(80, b" ") + struct.pack("<I", len(TF))
for f in TF:
    data += struct.pack("<3f", 0, 0, 0)
    for k in f:
        data += struct.pack("<3f", *map(float, T[k]))
    data += struct.pack("<H", 0)
write("pyramid_binary.stl", data)

# A pentagon and a triangle.
write("pentagon.obj", "v 0 0 0\nv 1 0 0\nv 2 1 0\nv 1 2 0\nv 0 1 0\nv -1 -1 1\nf 1 2 3 4 5\nf 1 5 6\n")
