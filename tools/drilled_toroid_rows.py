"""The Stewart toroids drilled through Archimedean solids, built exactly from unit-edge pieces.

The rows whose symbol drills one tunnel at every face of one type (K4 / 12P4 (E4) and the like)
are built from one tunnel: the pieces that run from one face of the outer solid in to the facing
face of the solid in the middle, which is drilled out with them. The tunnel is repeated over the
symmetry group of the outer solid as the program itself holds it (the helper orvane_sym_group
prints its operations), so that the row keeps that group in the orientation the program detects.
The pieces are added and drilled by the rule of toroid_rows.Sum.

Needs numpy and scipy. Nothing here is run by the build.
"""

import itertools
import math
import subprocess

import numpy as np

from near_miss_rows import circumradius, hull_faces
from toroid_rows import Sum, antiprism, antiprism_height, cupola, cupola_height, rotunda

PHI = (1 + 5 ** 0.5) / 2


# ---------------------------------------------------------------------------------------------
# The program's groups.

def group(tool, kind):
    """The operations of the program's full tetrahedral, octahedral or icosahedral group."""
    out = subprocess.run([tool, kind], capture_output=True, text=True, check=True).stdout
    return [np.array([float(w) for w in line.split()]).reshape(3, 3) for line in out.strip().split("\n")]


def keeps(points, ops):
    """Whether every operation maps the point set onto itself."""
    pts = np.asarray(points, float)
    for m in ops:
        for q in pts @ m.T:
            if np.min(np.linalg.norm(pts - q, axis=1)) > 1e-9:
                return False
    return True


# ---------------------------------------------------------------------------------------------
# The solids, centred on the origin with unit edges: octahedral ones with their 4-fold axes on the
# coordinate axes, icosahedral ones with their 2-fold axes there (as the program's groups have them).

def _signed(p):
    return {tuple(s * c for s, c in zip(signs, p)) for signs in itertools.product((1, -1), repeat=3)}


def _all_permutations(bases):
    return [np.array(q, float) for q in {q for b in bases for p in itertools.permutations(b) for q in _signed(p)}]


def _cyclic_permutations(bases):
    """The bases' even permutations with all signs, mirrored across x = y: the usual forms have the
    icosahedron at (0, +-PHI, +-1) and its cyclic permutations, the program's group at (0, +-1, +-PHI)."""
    return [np.array((q[1], q[0], q[2]), float) for q in
            {q for b in bases for k in range(3) for q in _signed(tuple(np.roll(np.array(b, float), k)))}]


def _unit_edge(points):
    pts = np.asarray(points, float)
    edge = min(np.linalg.norm(pts[i] - pts[j]) for i in range(len(pts)) for j in range(i + 1, len(pts)))
    return [p / edge for p in pts]


def truncated_cuboctahedron():
    """K4."""
    r = math.sqrt(2)
    return _unit_edge(_all_permutations([(1, 1 + r, 1 + 2 * r)]))


def rhombicuboctahedron():
    """E4."""
    return _unit_edge(_all_permutations([(1, 1, 1 + math.sqrt(2))]))


def dodecahedron():
    """D5."""
    return _unit_edge(_cyclic_permutations([(1, 1, 1), (0, 1 / PHI, PHI)]))


def truncated_dodecahedron():
    """T5."""
    return _unit_edge(_cyclic_permutations([(0, 1 / PHI, 2 + PHI), (1 / PHI, PHI, 2 * PHI), (PHI, 2, PHI + 1)]))


def rhombicosidodecahedron():
    """E5."""
    return _unit_edge(_cyclic_permutations([(1, 1, PHI ** 3), (PHI ** 2, PHI, 2 * PHI), (2 + PHI, 0, PHI ** 2)]))


def truncated_icosidodecahedron():
    """K5."""
    return _unit_edge(_cyclic_permutations([(1 / PHI, 1 / PHI, 3 + PHI), (2 / PHI, PHI, 1 + 2 * PHI),
                                            (1 / PHI, PHI ** 2, 3 * PHI - 1), (2 * PHI - 1, 2, 2 + PHI),
                                            (PHI, 3, 2 * PHI)]))


# ---------------------------------------------------------------------------------------------
# One tunnel, placed on a face.

def face_of(points, normal):
    """The corners of the convex solid on its face with this outward normal direction."""
    n = np.asarray(normal, float) / np.linalg.norm(normal)
    top = max(np.dot(p, n) for p in points)
    return [p for p in points if np.dot(p, n) > top - 1e-9]


def _same_points(a, b):
    if len(a) != len(b):
        return False
    return all(min(np.linalg.norm(p - q) for q in b) < 1e-9 for p in a)


def _onto_axis(normal):
    """A rotation that carries the z axis onto the normal."""
    n = np.asarray(normal, float) / np.linalg.norm(normal)
    z = np.array([0.0, 0.0, 1.0])
    v = np.cross(z, n)
    s, c = np.linalg.norm(v), np.dot(z, n)
    if s < 1e-12:
        return np.eye(3) if c > 0 else np.diag([1.0, -1.0, -1.0])
    k = np.array([[0, -v[2], v[1]], [v[2], 0, -v[0]], [-v[1], v[0], 0]]) / s
    angle = math.atan2(s, c)
    return np.eye(3) + math.sin(angle) * k + (1 - math.cos(angle)) * k @ k


def place_tunnel(outer, inner, normal, make_pieces, outer_sides, inner_sides):
    """The pieces of one tunnel on the face of outer with this normal, each a list of corners.

    make_pieces(top, turn) gives the pieces about the z axis for an outer face at height top whose
    first corner lies at angle turn. Of the turns that line the tunnel's mouth up with the outer
    face, the one is taken whose far end lies on the inner solid's face of the same normal."""
    mouth, end = face_of(outer, normal), face_of(inner, normal)
    if len(mouth) != outer_sides or len(end) != inner_sides:
        raise ValueError(f"place_tunnel: faces of {len(mouth)} and {len(end)} corners")
    n = np.asarray(normal, float) / np.linalg.norm(normal)
    top = np.dot(mouth[0], n)
    bottom = np.dot(end[0], n)
    frame = _onto_axis(n)
    local = frame.T @ mouth[0]
    first = math.atan2(local[1], local[0])
    for step in range(outer_sides):
        pieces = [[frame @ p for p in piece] for piece in make_pieces(top, first + 2 * math.pi * step / outer_sides)]
        corners = [p for piece in pieces for p in piece]
        at_top = [p for p in corners if abs(np.dot(p, n) - top) < 1e-9]
        at_bottom = [p for p in corners if abs(np.dot(p, n) - bottom) < 1e-9]
        if _same_points(_distinct(at_top), mouth) and _same_points(_distinct(at_bottom), end):
            return pieces
    raise ValueError("place_tunnel: no turn lines the tunnel up with both faces")


def _distinct(points):
    out = []
    for p in points:
        if not any(np.linalg.norm(p - q) < 1e-9 for q in out):
            out.append(p)
    return out


def tunnels_over_group(pieces, ops):
    """The tunnel repeated by every operation, each image once."""
    seen, out = set(), []
    for m in ops:
        image = [[m @ p for p in piece] for piece in pieces]
        key = tuple(sorted(tuple(round(c, 6) for c in p) for piece in image for p in piece))
        if key not in seen:
            seen.add(key)
            out.append(image)
    return out


def drilled(outer, inner, tunnels, note):
    total = Sum().add(outer).drill(inner)
    for tunnel in tunnels:
        for piece in tunnel:
            total.drill(piece)
    return total.row(note)


def _face_normals(points, sides):
    """The outward normals of the convex solid's faces with this many sides."""
    pts = np.asarray(points, float)
    out = []
    for face in hull_faces(pts):
        if len(face) == sides:
            c = pts[face].mean(axis=0)
            out.append(c / np.linalg.norm(c))
    return out


# ---------------------------------------------------------------------------------------------
# Tunnel pieces about the z axis, the mouth at height top.

def _cupola_down(n):
    """Q n from the 2n-gon at the mouth in to its n-gon."""
    h = cupola_height(n)
    return lambda top, turn: [cupola(n, top - h, turn + math.pi / (2 * n), top)]


def _cupola_and_antiprism(n):
    """Q n from the mouth in to its n-gon, then S n on in from that n-gon."""
    h, g = cupola_height(n), antiprism_height(n)

    def make(top, turn):
        small = turn + math.pi / (2 * n)
        return [cupola(n, top - h, small, top), antiprism(n, top - h - g, small - math.pi / n)]
    return make


def _rotunda_down(top, turn):
    """R5 from the decagon at the mouth in to its pentagon."""
    flip = np.diag([1.0, -1.0, -1.0])  # upside down, which mirrors the turn
    return [[flip @ p + np.array([0.0, 0.0, top]) for p in rotunda(0, -turn - 18 * math.pi / 180)]]


def _prism_down(n):
    """P n from the mouth in by one unit."""
    def make(top, turn):
        return [[np.array([circumradius(n) * math.cos(turn + 2 * math.pi * k / n),
                           circumradius(n) * math.sin(turn + 2 * math.pi * k / n), z])
                 for z in (top - 1, top) for k in range(n)]]
    return make


# ---------------------------------------------------------------------------------------------
# The rows.

def _tunnel_row(tool, kind, outer, inner, mouth_sides, end_sides, make_pieces, note):
    ops = group(tool, kind)
    if not keeps(outer, ops) or not keeps(inner, ops):
        raise ValueError("the solids do not have the program's group")
    normal = _face_normals(outer, mouth_sides)[0]
    one = place_tunnel(outer, inner, normal, make_pieces, mouth_sides, end_sides)
    tunnels = tunnels_over_group(one, ops)
    if len(tunnels) != len(_face_normals(outer, mouth_sides)):
        raise ValueError(f"{len(tunnels)} tunnels, not one at each face")
    row = drilled(outer, inner, tunnels, note)
    if not keeps(row.verts, ops):
        raise ValueError("the row lost symmetry")
    return row


def _tunnels_at(outer, inner, normals, mouth_sides, end_sides, make_pieces, note):
    """Tunnels at the chosen faces only, each placed on its own."""
    tunnels = [place_tunnel(outer, inner, n, make_pieces, mouth_sides, end_sides) for n in normals]
    return drilled(outer, inner, tunnels, note)


def square_drilled_truncated_cuboctahedron(tool):
    """K4 / 12P4 (E4): a cube from each square of the truncated cuboctahedron in to the facing
    square of a rhombicuboctahedron in the middle."""
    return _tunnel_row(tool, "octahedral", truncated_cuboctahedron(), rhombicuboctahedron(), 4, 4, _prism_down(4),
                       "K4 drilled by twelve cubes meeting on a rhombicuboctahedron")


def four_square_drilled_truncated_cuboctahedron():
    """K4 / 4P4 (E4): cubes from the four squares of the truncated cuboctahedron round one 4-fold
    axis in to the rhombicuboctahedron in the middle; its other faces stay as the cavity's walls."""
    outer = truncated_cuboctahedron()
    ring = [n for n in _face_normals(outer, 4) if abs(n[2]) < 1e-9]
    return _tunnels_at(outer, rhombicuboctahedron(), ring, 4, 4, _prism_down(4),
                       "K4 drilled by four cubes round an axis, meeting on a rhombicuboctahedron")


def two_hole_drilled_truncated_cuboctahedron():
    """K4 / 2 (4P4 (Q4)): twice four cubes joined by a square cupola. The cupolae are the two caps
    of the rhombicuboctahedron in the middle (octagons at z = +-1/2, squares on the z axis); from
    each cap's four slanted squares a cube runs out to a square of the truncated cuboctahedron. The
    octagonal prism between the caps stays solid, so the two cavities each have four tunnels."""
    outer, inner = truncated_cuboctahedron(), rhombicuboctahedron()
    total = Sum().add(outer)
    for sign in (1, -1):
        cap = [p for p in inner if sign * p[2] > 0.25]
        total.drill(cap)
        for n in _face_normals(outer, 4):
            if sign * n[2] > 1e-9:
                total.drill(place_tunnel(outer, inner, n, _prism_down(4), 4, 4)[0])
    return total.row("K4 drilled by two cupolae, the caps of a rhombicuboctahedron, and four cubes from each")


def bilunabirotunda():
    """J91 with its squares facing +-x, centred on the origin: the lunes' triangles meet at
    (0, 0, +-PHI/2), the pentagons' far corners lie at +-1/2 in x and +-PHI^2/2 in y."""
    return ([np.array([sx * PHI / 2, sy / 2, sz / 2]) for sx in (1, -1) for sy in (1, -1) for sz in (1, -1)]
            + [np.array([0.0, 0.0, s * PHI / 2]) for s in (1, -1)]
            + [np.array([sx / 2, sy * PHI ** 2 / 2, 0.0]) for sx in (1, -1) for sy in (1, -1)])


def drilled_rhombicosidodecahedron():
    """E5 / 6 J91 (P4): a bilunabirotunda from each of the six squares of the rhombicosidodecahedron
    on the coordinate axes in to a face of a cube in the middle. Each lies with its pentagons on the
    solid's pentagons, so they go too; its wide side turns on from axis to axis (x to y, y to z, z
    to x), as the solid's pentagons lie (turned the other way they would cross)."""
    cube = [np.array([sx, sy, sz]) / 2 for sx in (1, -1) for sy in (1, -1) for sz in (1, -1)]
    total = Sum().add(rhombicosidodecahedron()).drill(cube)
    axes = np.eye(3)
    for k in range(3):
        axis, wide = axes[k], axes[(k + 1) % 3]
        for sign in (1, -1):
            frame = np.column_stack([sign * axis, wide, np.cross(sign * axis, wide)])
            total.drill([frame @ (p + np.array([(1 + PHI) / 2, 0.0, 0.0])) for p in bilunabirotunda()])
    return total.row("E5 drilled by six bilunabirotundae meeting on a cube")


def hexagon_drilled_truncated_cuboctahedron(tool):
    """K4 / 8Q3 (E4): a triangular cupola from each hexagon in to a triangle of the
    rhombicuboctahedron in the middle."""
    return _tunnel_row(tool, "octahedral", truncated_cuboctahedron(), rhombicuboctahedron(), 6, 3, _cupola_down(3),
                       "K4 drilled by eight triangular cupolae meeting on a rhombicuboctahedron")


def octagon_drilled_truncated_cuboctahedron(tool):
    """K4 / 6Q4 (E4): a square cupola from each octagon in to an axial square of the
    rhombicuboctahedron in the middle."""
    return _tunnel_row(tool, "octahedral", truncated_cuboctahedron(), rhombicuboctahedron(), 8, 4, _cupola_down(4),
                       "K4 drilled by six square cupolae meeting on a rhombicuboctahedron")


def drilled_truncated_dodecahedron(tool):
    """T5 / 12Q5 S5 (D5): from each decagon of the truncated dodecahedron a pentagonal cupola and
    a pentagonal antiprism in to a face of a dodecahedron in the middle."""
    return _tunnel_row(tool, "icosahedral", truncated_dodecahedron(), dodecahedron(), 10, 5, _cupola_and_antiprism(5),
                       "T5 drilled by twelve pentagonal cupolae and antiprisms meeting on a dodecahedron")


def rotunda_drilled_truncated_icosidodecahedron(tool):
    """K5 / 12R5 (E5): a pentagonal rotunda from each decagon of the truncated icosidodecahedron
    in to a pentagon of a rhombicosidodecahedron in the middle."""
    return _tunnel_row(tool, "icosahedral", truncated_icosidodecahedron(), rhombicosidodecahedron(), 10, 5,
                       _rotunda_down, "K5 drilled by twelve pentagonal rotundae meeting on a rhombicosidodecahedron")


def cupola_drilled_truncated_icosidodecahedron(tool):
    """K5 / 12Q5 S5 (E5): from each decagon a pentagonal cupola and a pentagonal antiprism in to a
    pentagon of the rhombicosidodecahedron in the middle."""
    return _tunnel_row(tool, "icosahedral", truncated_icosidodecahedron(), rhombicosidodecahedron(), 10, 5,
                       _cupola_and_antiprism(5),
                       "K5 drilled by twelve pentagonal cupolae and antiprisms meeting on a rhombicosidodecahedron")


# The genus of each row: its tunnels less one (they meet in the middle).
GENUS = {226: 11, 227: 7, 228: 5, 229: 3, 231: 6, 235: 5, 236: 11, 239: 11, 240: 11}


def rows(tool):
    """The built rows by table position, each made with the program's groups (tool: the path of
    orvane_sym_group)."""
    makers = {
        226: square_drilled_truncated_cuboctahedron,
        227: hexagon_drilled_truncated_cuboctahedron,
        228: octagon_drilled_truncated_cuboctahedron,
        236: drilled_truncated_dodecahedron,
        239: rotunda_drilled_truncated_icosidodecahedron,
        240: cupola_drilled_truncated_icosidodecahedron,
    }
    built = {position: (lambda make=make: make(tool)) for position, make in makers.items()}
    built[229] = four_square_drilled_truncated_cuboctahedron
    built[231] = two_hole_drilled_truncated_cuboctahedron
    built[235] = drilled_rhombicosidodecahedron
    return built


if __name__ == "__main__":
    import csv
    import os
    import sys

    from toroid_rows import check
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    tool = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build", "bin", "orvane_sym_group")
    expected = {}
    with open(os.path.join(root, "resources", "polyhedra", "INDEX.tsv")) as f:
        for r in csv.DictReader(f, delimiter="\t"):
            expected[int(r["position"])] = (int(r["F_expected"]), int(r["E_expected"]), int(r["V_expected"]))
    for position, make in sorted(rows(tool).items()):
        row = make()
        problems = check(row, expected[position], GENUS[position])
        print(position, "ok" if not problems else problems[:5], flush=True)
