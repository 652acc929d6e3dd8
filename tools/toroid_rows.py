"""The Stewart toroids that no public data gives, built exactly from unit-edge pieces.

Each row follows its symbol: the solid or stack before the slash is drilled by the pieces after it,
and pieces in parentheses join the drilling pieces. Every piece is a convex solid of unit edge
(prism, antiprism, cupola, rotunda, Archimedean or Platonic solid), given by its corners and taken
as their convex hull; most stand on the row's axis as rings of corners.

One rule makes a row from its pieces: each piece counts +1 (glued on) or -1 (drilled out), and the
row's surface is the sum of the pieces' outward faces, a face counted -1 turned round. Two equal
polygons of opposite turning cancel: a face where two glued pieces meet, the mouth of a tunnel where
a drilled piece's face lies on the solid's face, or a face where two drilled pieces meet. What is
left is the surface, wound outwards.

The rows are exact: every edge is 1 and every face regular, so gen_spring_tables.py stores the
positions as built, without relaxing. check() tests what a row must be before it is stored.
Needs numpy and scipy. Nothing here is run by the build.
"""

import math

import numpy as np

from near_miss_rows import Row, _axis_rotation, circumradius, hull_faces, inradius, renumbered

DEG = math.pi / 180


# ---------------------------------------------------------------------------------------------
# Pieces, as lists of corners. A ring is a regular polygon of unit edge about the z axis.

def ring(n, z, turn, radius=None):
    """The n corners at height z, the first at angle turn; unit edge unless a radius is given."""
    r = circumradius(n) if radius is None else radius
    return [np.array([r * math.cos(turn + 2 * math.pi * k / n), r * math.sin(turn + 2 * math.pi * k / n), z])
            for k in range(n)]


def prism(n, z, turn):
    """P n from height z to z + 1."""
    return ring(n, z, turn) + ring(n, z + 1, turn)


def antiprism_height(n):
    return math.sqrt(1 - (2 * circumradius(n) * math.sin(math.pi / (2 * n))) ** 2)


def antiprism(n, z, turn, z_top=None):
    """S n from height z: the upper n-gon turned half a step. With z_top it runs down from there."""
    h = antiprism_height(n)
    if z_top is not None:
        z = z_top - h
    return ring(n, z, turn) + ring(n, z + h, turn + math.pi / n)


def cupola_height(n):
    return math.sqrt(1 - (inradius(2 * n) - inradius(n)) ** 2)


def cupola(n, z_small, turn, z_wide):
    """Q n: the n-gon at height z_small, its first corner at angle turn, and the 2n-gon at z_wide
    (one cupola height above or below). A corner of the n-gon points at the middle of an edge of
    the 2n-gon."""
    if abs(abs(z_small - z_wide) - cupola_height(n)) > 1e-12:
        raise ValueError("cupola: wrong height")
    return ring(n, z_small, turn) + ring(2 * n, z_wide, turn + math.pi / (2 * n))


def rotunda(z, turn):
    """R5 with its decagon at height z and its pentagon above, the pentagon's first corner at
    angle turn; the middle ring of five points between two corners of the pentagon."""
    height = math.sqrt(1 + 2 / math.sqrt(5))
    return (ring(10, z, turn + 18 * DEG) + ring(5, z + circumradius(5), turn + 36 * DEG, height)
            + ring(5, z + height, turn))


def cuboctahedron(z, turn):
    """B4 on a 4-fold axis from height z: two squares turned alike, the middle ring of four turned
    half a step."""
    r = circumradius(4)
    return ring(4, z, turn) + ring(4, z + r, turn + math.pi / 4, 1.0) + ring(4, z + 2 * r, turn)


def truncated_cube():
    """T4 with its octagons facing the axes, centred on the origin."""
    a, b = 0.5, 0.5 + circumradius(4)
    return [np.array([sx * p[0], sy * p[1], sz * p[2]]) for p in ((a, b, b), (b, a, b), (b, b, a))
            for sx in (1, -1) for sy in (1, -1) for sz in (1, -1)]


def truncated_octahedron():
    """K3 with its squares facing the axes, centred on the origin."""
    out = []
    for p in ((0, 1, 2), (0, 2, 1), (1, 0, 2), (2, 0, 1), (1, 2, 0), (2, 1, 0)):
        for s in ((1, 1, 1), (1, 1, -1), (1, -1, 1), (1, -1, -1), (-1, 1, 1), (-1, 1, -1), (-1, -1, 1), (-1, -1, -1)):
            q = np.array([s[0] * p[0], s[1] * p[1], s[2] * p[2]], float) / math.sqrt(2)
            if not any(np.linalg.norm(q - r) < 1e-12 for r in out):
                out.append(q)
    return out


def octahedron():
    """S3 centred on the origin, its corners on the axes."""
    return [np.array(v, float) / math.sqrt(2) for v in
            ((1, 0, 0), (-1, 0, 0), (0, 1, 0), (0, -1, 0), (0, 0, 1), (0, 0, -1))]


def truncated_tetrahedron():
    """T3 centred on the origin: its hexagons face the corners (-1, -1, -1), (-1, 1, 1), ... and its
    triangles the opposite ones."""
    out = []
    for p in ((3, 1, 1), (1, 3, 1), (1, 1, 3)):
        for s in ((1, 1, 1), (1, -1, -1), (-1, 1, -1), (-1, -1, 1)):
            out.append(np.array([s[0] * p[0], s[1] * p[1], s[2] * p[2]], float) / (2 * math.sqrt(2)))
    return out


def face_of(points, normal):
    """The corners of the convex piece that lie on its face with this outward normal direction."""
    n = np.asarray(normal, float) / np.linalg.norm(normal)
    top = max(np.dot(p, n) for p in points)
    return [p for p in points if np.dot(p, n) > top - 1e-9]


# ---------------------------------------------------------------------------------------------
# The rule.

class Sum:
    """Signed pieces and the surface they make."""

    def __init__(self):
        self.points = []
        self.faces = {}  # corner cycle, as turning once counted -> count

    def point(self, p):
        for i, q in enumerate(self.points):
            if np.linalg.norm(p - q) < 1e-7:
                return i
        self.points.append(np.asarray(p, float))
        return len(self.points) - 1

    def add(self, corners, sign=1):
        """Glue on (sign +1) or drill out (sign -1) the convex piece with these corners."""
        pts = [np.asarray(p, float) for p in corners]
        for face in hull_faces(pts):
            ids = [self.point(pts[i]) for i in face]
            if sign < 0:
                ids.reverse()
            back = _canonical(list(reversed(ids)))
            if back in self.faces:
                self.faces[back] -= 1
                if not self.faces[back]:
                    del self.faces[back]
            else:
                key = _canonical(ids)
                self.faces[key] = self.faces.get(key, 0) + 1
        return self

    def drill(self, corners):
        return self.add(corners, -1)

    def row(self, note=""):
        faces = []
        for key, count in self.faces.items():
            if count != 1:
                raise ValueError(f"face {key} counted {count} times")
            faces.append(list(key))
        used = sorted({i for f in faces for i in f})
        number = {old: new for new, old in enumerate(used)}
        verts, faces = renumbered([self.points[i] for i in used], [[number[i] for i in f] for f in faces])
        return Row(verts, faces, 0, set(), note=note)


def _canonical(ids):
    k = ids.index(min(ids))
    return tuple(ids[k:] + ids[:k])


# ---------------------------------------------------------------------------------------------
# The rows. Heights run up the z axis; every axial piece is lined up on the faces it meets.

def simplest_torus():
    """P6 / gP6: the hexagonal prism "drilled" by a hexagonal prism turned a quarter about the line
    through the centres of two opposite squares, which the two share. The turned prism stands out
    above and below the first, so the faces cross: the one row here that is no Stewart toroid."""
    turn = np.array([[0.0, 0.0, 1.0], [0.0, 1.0, 0.0], [-1.0, 0.0, 0.0]])  # a quarter about y
    p6 = prism(6, -0.5, 0)  # squares facing +-y
    return Sum().add(p6).drill([turn @ p for p in p6]).row("P6 less a P6 turned a quarter, crossing it")


def cake_pan():
    """Q3 P6 / P3 Q3, "Cake-pan": the elongated triangular cupola (J18: a triangular cupola on a
    hexagonal prism) drilled from its hexagon by a cupola upside down, whose triangle a triangular
    prism carries on up through the top triangle."""
    h = cupola_height(3)
    return (Sum().add(prism(6, 0, 30 * DEG)).add(cupola(3, 1 + h, 0, 1))
            .drill(cupola(3, h, 0, 0)).drill(prism(3, h, 0))
            .row("J18 drilled by an inverted triangular cupola and a triangular prism"))


def tortuous_tunnel():
    """Q3 Q3 / S3 S3, "Tortuous Tunnel": the triangular orthobicupola (J27) drilled from triangle
    to triangle by two octahedra stacked face to face; the octahedra's shared triangle lies in the
    hexagon's plane, turned half a step from the outer triangles."""
    h = cupola_height(3)
    return (Sum().add(cupola(3, h, 0, 0)).add(cupola(3, -h, 0, 0))
            .drill(antiprism(3, -h, 0)).drill(antiprism(3, 0, 60 * DEG))
            .row("J27 drilled by two octahedra on its axis"))


def drilled_truncated_cube():
    """T4 / gQ4 P4 Q4: the truncated cube drilled between two opposite octagons by a square cupola
    from each octagon, narrowing inwards, and the cube between their squares. Placed as on the
    augmented truncated cube (J66), mirrored inwards, a cupola's squares would lie against the
    truncated cube's triangles; "g" turns the drill an eighth, so that its squares lie against the
    side octagons and the cube's faces are parallel to them."""
    b = 0.5 + circumradius(4)
    h = cupola_height(4)
    turn = 45 * DEG  # the square's corners on the diagonals: its sides face the side octagons
    return (Sum().add(truncated_cube())
            .drill(cupola(4, b - h, turn, b)).drill(prism(4, -b + h, turn)).drill(cupola(4, -b + h, turn, -b))
            .row("T4 drilled by two square cupolae and a cube, turned an eighth from J66's cupola"))


def drilled_square_bicupola():
    """Q4 Q4 / B4: the square orthobicupola (J28) drilled from square to square by a
    cuboctahedron on its 4-fold axis."""
    h = cupola_height(4)
    return (Sum().add(cupola(4, h, 0, 0)).add(cupola(4, -h, 0, 0))
            .drill(cuboctahedron(-h, 0))
            .row("J28 drilled by a cuboctahedron"))


def oriental_hat():
    """R5 / S5 Q5, "Oriental Hat": the pentagonal rotunda drilled from its decagon by a pentagonal
    cupola and on through its pentagon by a pentagonal antiprism."""
    height = math.sqrt(1 + 2 / math.sqrt(5))
    h = cupola_height(5)
    if abs(h + antiprism_height(5) - height) > 1e-12:
        raise ValueError("oriental_hat: the pieces do not span the rotunda")
    return (Sum().add(rotunda(0, 0)).drill(cupola(5, h, 36 * DEG, 0)).drill(antiprism(5, h, 36 * DEG))
            .row("R5 drilled by a pentagonal cupola and a pentagonal antiprism"))


def drilled_biaugmented_truncated_cube():
    """Q4 (T4) Q4 / B4 (P4) B4: the biaugmented truncated cube (J67) drilled from square to square
    by a cuboctahedron, a cube and a cuboctahedron. As on J67, each cupola's squares lie against the
    truncated cube's triangles (turned the other way its triangles would lie in one plane with
    them), and the drill follows the cupolae's top squares."""
    b = 0.5 + circumradius(4)
    h = cupola_height(4)
    r = circumradius(4)
    square = 0.0  # corners on the axes: sides facing the triangles
    return (Sum().add(truncated_cube()).add(cupola(4, b + h, square, b)).add(cupola(4, -b - h, square, -b))
            .drill(cuboctahedron(0.5, square)).drill(prism(4, -0.5, square)).drill(cuboctahedron(-0.5 - 2 * r, square))
            .row("J67 drilled by a cuboctahedron, a cube and a cuboctahedron"))


def four_drilled_truncated_octahedron():
    """K3 / 4Q3 (S3): the truncated octahedron drilled from four of its hexagons, one in every
    other octant, by triangular cupolae whose triangles are four faces of a central octahedron,
    drilled out with them."""
    k3 = truncated_octahedron()
    s3 = octahedron()
    total = Sum().add(k3).drill(s3)
    for n in ((1, 1, 1), (1, -1, -1), (-1, 1, -1), (-1, -1, 1)):
        total.drill(face_of(k3, n) + face_of(s3, n))
    return total.row("K3 drilled by four triangular cupolae that meet on an octahedron")


def eight_octahedron_ring():
    """8S3: eight octahedra glued face to face in a closed ring. Each octahedron is the mirror image
    of the one before in the face they share; with faces named by the signs of their corners' axes
    (the corners keep their names through each mirroring), the ring leaves its octahedra through
    the faces below, the first entered through the last of them. It leaves every other octahedron
    through the face opposite the one it came in by and the others through a face next to it
    (sharing an edge). Of the rings of eight octahedra whose faces meet only where glued, this
    is one of two; the other turns alternately through faces sharing an edge and a corner."""
    exits = [(-1, -1, -1), (1, -1, -1), (-1, 1, 1), (-1, -1, 1), (1, 1, -1), (-1, 1, -1), (1, -1, 1), (1, 1, 1)]
    corners = octahedron()  # +x, -x, +y, -y, +z, -z
    total = Sum()
    for signs in exits:
        total.add(corners)
        face = [corners[0 if signs[0] > 0 else 1], corners[2 if signs[1] > 0 else 3], corners[4 if signs[2] > 0 else 5]]
        n = np.cross(face[1] - face[0], face[2] - face[0])
        n /= np.linalg.norm(n)
        corners = [p - 2 * np.dot(p - face[0], n) * n for p in corners]
    if any(np.linalg.norm(p - q) > 1e-9 for p, q in zip(corners, octahedron())):
        raise ValueError("eight_octahedron_ring: the ring does not close")
    return total.row("a ring of eight octahedra, turning at every other one through faces sharing an edge")


def single_drilled_truncated_octahedron():
    """K3 / Q3 T3, whose checked data the library has: the truncated octahedron drilled by a
    truncated tetrahedron from one hexagon and a triangular cupola from the opposite one, meeting
    on a triangle. Built only to show that the rule gives the checked data."""
    k3 = truncated_octahedron()
    axis = np.ones(3) / math.sqrt(3)
    # T3 turned a sixth about the axis, so that its hexagon still lies on K3's and its triangle
    # points the other way from the octahedron's face (as in the checked data).
    turn = _axis_rotation(axis, math.pi / 3)
    t3 = [turn @ p for p in truncated_tetrahedron()]
    small = face_of(t3, axis)
    t3 = [p + axis * (1 / math.sqrt(6) - np.dot(small[0], axis)) for p in t3]
    return (Sum().add(k3).drill(t3).drill(face_of(k3, axis) + face_of(t3, axis))
            .row("K3 drilled by a truncated tetrahedron and a triangular cupola"))


# The one row whose faces cross.
CROSSING = {216}
# The genus of each row: every toroid here has one tunnel except the four-drilled truncated
# octahedron, whose four tunnels meet in the middle (V - E + F = -4).
GENUS = {216: 1, 217: 1, 218: 1, 219: 1, 220: 1, 221: 1, 222: 1, 223: 1, 224: 3, 225: 1}


def rows():
    """The built rows by table position."""
    return {
        216: simplest_torus,
        217: cake_pan,
        218: tortuous_tunnel,
        219: drilled_truncated_cube,
        220: drilled_square_bicupola,
        222: oriental_hat,
        223: drilled_biaugmented_truncated_cube,
        224: four_drilled_truncated_octahedron,
        225: eight_octahedron_ring,
    }


# ---------------------------------------------------------------------------------------------
# What a row must be before it is stored.

def _triangles_meet(a, b):
    """Separating-axis test of two closed triangles, in-plane axes included."""
    na, nb = np.cross(a[1] - a[0], a[2] - a[0]), np.cross(b[1] - b[0], b[2] - b[0])
    axes = [na, nb]
    for i in range(3):
        axes += [np.cross(a[(i + 1) % 3] - a[i], b[(j + 1) % 3] - b[j]) for j in range(3)]
        axes += [np.cross(na, a[(i + 1) % 3] - a[i]), np.cross(nb, b[(i + 1) % 3] - b[i])]
    for axis in axes:
        if np.dot(axis, axis) < 1e-24:
            continue
        pa, pb = [np.dot(p, axis) for p in a], [np.dot(p, axis) for p in b]
        if max(pa) < min(pb) or max(pb) < min(pa):
            return False
    return True


def crossing_faces(row):
    """Pairs of faces that meet other than along shared edges and corners (faces drawn in a little
    towards their centres, so that neighbours stay apart)."""
    pts = [np.asarray(p) for p in row.verts]
    triangles = []
    for i, face in enumerate(row.faces):
        c = np.mean([pts[k] for k in face], axis=0)
        q = [c + (pts[k] - c) * (1 - 1e-4) for k in face]
        triangles += [(i, (q[0], q[k], q[k + 1])) for k in range(1, len(q) - 1)]
    pairs = set()
    for x in range(len(triangles)):
        for y in range(x + 1, len(triangles)):
            (i, a), (j, b) = triangles[x], triangles[y]
            if i != j and (i, j) not in pairs and _triangles_meet(a, b):
                pairs.add((i, j))
    return pairs


def check(row, counts, genus, crosses=False):
    """Problems with the row, as text lines: its counts and genus, every edge 1 and used once each
    way, faces regular and planar, no two faces that share an edge in one plane, and no faces
    crossing unless the row crosses by nature."""
    problems = []
    v, e, f = len(row.verts), sum(len(x) for x in row.faces) // 2, len(row.faces)
    if (f, e, v) != counts:
        problems.append(f"F E V {f} {e} {v}, not {counts}")
    if v - e + f != 2 - 2 * genus:
        problems.append(f"Euler characteristic {v - e + f}, not {2 - 2 * genus}")
    pts = [np.asarray(p) for p in row.verts]
    directed = {}
    for i, face in enumerate(row.faces):
        for k in range(len(face)):
            a, b = face[k], face[(k + 1) % len(face)]
            if (a, b) in directed:
                problems.append(f"edge {a}-{b} twice the same way")
            directed[(a, b)] = i
            if abs(np.linalg.norm(pts[a] - pts[b]) - 1) > 1e-9:
                problems.append(f"edge {a}-{b} of length {np.linalg.norm(pts[a] - pts[b])}")
    normals = []
    for face in row.faces:
        c = np.mean([pts[i] for i in face], axis=0)
        n = sum(np.cross(pts[face[k]] - c, pts[face[(k + 1) % len(face)]] - c) for k in range(len(face)))
        n /= np.linalg.norm(n)
        normals.append(n)
        for i in face:
            if abs(np.dot(pts[i] - c, n)) > 1e-9 or abs(np.linalg.norm(pts[i] - c) - circumradius(len(face))) > 1e-9:
                problems.append(f"face {face} not regular and planar")
                break
    for (a, b), i in directed.items():
        if (b, a) not in directed:
            problems.append(f"edge {a}-{b} used once")
        elif np.dot(normals[i], normals[directed[(b, a)]]) > 1 - 1e-9:
            problems.append(f"faces {row.faces[i]} and {row.faces[directed[(b, a)]]} in one plane")
    crossing = crossing_faces(row)
    if bool(crossing) != crosses:
        problems.append(f"{len(crossing)} pairs of faces cross")
    return problems


if __name__ == "__main__":
    import csv
    import os
    index = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "polyhedra", "INDEX.tsv")
    expected = {}
    with open(index) as f:
        for r in csv.DictReader(f, delimiter="\t"):
            expected[int(r["position"])] = (int(r["F_expected"]), int(r["E_expected"]), int(r["V_expected"]))
    built = dict(rows())
    built[221] = single_drilled_truncated_octahedron
    for position, make in sorted(built.items()):
        row = make()
        problems = check(row, expected[position], GENUS[position], position in CROSSING)
        print(position, "ok" if not problems else problems[:5])
