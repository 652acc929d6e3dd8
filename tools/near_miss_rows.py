"""The near-miss rows that no public data gives, built from what is known of each solid.

Each row is worked out from its name, its face, edge and vertex counts, its symbol and the
catalogue's description, and built as a start shape: regular polygons placed on symmetry axes and
closed by their convex hull, a Minkowski sum of a library solid with unit segments, or a face list
written out. gen_spring_tables.py writes each row's description from the start shape's faces and
stores the positions that the spring relaxation gives from that start.

Needs numpy and scipy (Debian: python3-numpy, python3-scipy). Nothing here is run by the build.
"""

import itertools
import math

import numpy as np
from scipy.optimize import minimize, minimize_scalar
from scipy.spatial import cKDTree
from scipy.spatial import ConvexHull

PHI = (1 + 5 ** 0.5) / 2


class Row:
    """One authored row: its start shape, the options of its description and what it promises.

    planarity: the number after '~' (springs of faces up to that size give way to planarity).
    regular: the face sizes that should come out regular, for the relaxation report.
    planarity_only: the start shape already has the wanted edges (an exact construction), so only
    the planarity pass runs; the regular pass would trade its equal edges away.
    """

    def __init__(self, verts, faces, planarity, regular, planarity_only=False, note=""):
        self.verts = [tuple(float(c) for c in v) for v in verts]
        self.faces = [list(f) for f in faces]
        self.planarity = planarity
        self.regular = regular
        self.planarity_only = planarity_only
        self.note = note


# ---------------------------------------------------------------------------------------------
# Symmetry groups, as lists of 3x3 matrices.

def _rotations_of(generators):
    group = [np.eye(3)]
    frontier = [np.eye(3)]
    while frontier:
        new = []
        for g in frontier:
            for h in generators:
                m = h @ g
                if not any(np.allclose(m, k, atol=1e-9) for k in group):
                    group.append(m)
                    new.append(m)
        frontier = new
    return group


def _axis_rotation(axis, angle):
    a = np.asarray(axis, float)
    a = a / np.linalg.norm(a)
    x, y, z = a
    c, s = math.cos(angle), math.sin(angle)
    return np.array([[c + x * x * (1 - c), x * y * (1 - c) - z * s, x * z * (1 - c) + y * s],
                     [y * x * (1 - c) + z * s, c + y * y * (1 - c), y * z * (1 - c) - x * s],
                     [z * x * (1 - c) - y * s, z * y * (1 - c) + x * s, c + z * z * (1 - c)]])


def tetrahedral_rotations():
    return _rotations_of([_axis_rotation((1, 1, 1), 2 * math.pi / 3), _axis_rotation((1, 0, 0), math.pi)])


def octahedral_rotations():
    return _rotations_of([_axis_rotation((0, 0, 1), math.pi / 2), _axis_rotation((1, 1, 1), 2 * math.pi / 3)])


def icosahedral_rotations():
    # The icosahedron (0, +-1, +-PHI) and its cyclic permutations: a 5-fold axis through (0, 1, PHI).
    return _rotations_of([_axis_rotation((0, 1, PHI), 2 * math.pi / 5), _axis_rotation((1, 1, 1), 2 * math.pi / 3)])


# ---------------------------------------------------------------------------------------------
# Polygons, hulls and numbering.

def unit(v):
    v = np.asarray(v, float)
    return v / np.linalg.norm(v)


def regular_polygon(n, centre, normal, towards, first_angle):
    """A regular n-gon of unit edge: centre, plane normal, an in-plane direction and the angle of
    its first corner from that direction, turning counter-clockwise about the normal."""
    normal = unit(normal)
    u = np.asarray(towards, float)
    u = unit(u - np.dot(u, normal) * normal)
    v = np.cross(normal, u)
    radius = 1 / (2 * math.sin(math.pi / n))
    return [np.asarray(centre, float) + radius * (math.cos(first_angle + 2 * math.pi * k / n) * u +
                                                  math.sin(first_angle + 2 * math.pi * k / n) * v)
            for k in range(n)]


def inradius(n):
    return 1 / (2 * math.tan(math.pi / n))


def circumradius(n):
    return 1 / (2 * math.sin(math.pi / n))


def orbit(points, group):
    out = []
    for g in group:
        for p in points:
            q = g @ p
            if not any(np.linalg.norm(q - r) < 1e-7 for r in out):
                out.append(q)
    return out


def merge_close(points, tol):
    """Points closer than tol become their mean."""
    points = [np.asarray(p, float) for p in points]
    groups = []
    for p in points:
        for g in groups:
            if np.linalg.norm(g[0] - p) < tol:
                g.append(p)
                break
        else:
            groups.append([p])
    return [sum(g) / len(g) for g in groups]


def hull_faces(points, angle_tol=1e-7, offset_tol=1e-7):
    """The faces of the convex hull as corner lists, counter-clockwise seen from outside. Triangles of
    the hull whose planes agree within the tolerances make one face; points inside a face or on
    an edge are no corners."""
    pts = np.asarray(points, float)
    hull = ConvexHull(pts)
    groups = []
    for simplex, eq in zip(hull.simplices, hull.equations):
        for g in groups:
            if np.dot(g[0][:3], eq[:3]) > math.cos(angle_tol) and abs(g[0][3] - eq[3]) < offset_tol:
                g[1].update(simplex)
                break
        else:
            groups.append([eq, set(simplex)])
    faces = []
    for eq, members in groups:
        normal = eq[:3]
        members = list(members)
        centre = pts[members].mean(axis=0)
        u = unit(pts[members[0]] - centre)
        v = np.cross(normal, u)
        members.sort(key=lambda i: math.atan2(np.dot(pts[i] - centre, v), np.dot(pts[i] - centre, u)))
        # Drop corners where the boundary runs straight on.
        corners = []
        for k, i in enumerate(members):
            a, b = pts[members[k - 1]], pts[members[(k + 1) % len(members)]]
            if np.linalg.norm(np.cross(pts[i] - a, b - pts[i])) > 1e-9 * max(1.0, np.linalg.norm(b - a)):
                corners.append(i)
        faces.append(corners)
    return faces


def renumbered(points, faces):
    """The corners of the faces numbered from 0 in a fixed order (by height, then around), each face
    starting at its lowest number, the faces sorted: the same shape gives the same text."""
    used = sorted({i for f in faces for i in f})
    key = {i: (-round(points[i][2], 6), round(math.atan2(points[i][1], points[i][0]), 6), -round(points[i][0], 6))
           for i in used}
    order = sorted(used, key=lambda i: key[i])
    number = {old: new for new, old in enumerate(order)}
    verts = [points[i] for i in order]
    out = []
    for f in faces:
        g = [number[i] for i in f]
        k = g.index(min(g))
        out.append(g[k:] + g[:k])
    out.sort(key=lambda f: (-len(f), f))
    return verts, out


def hull_row(points, planarity, regular, angle_tol=1e-7, offset_tol=1e-7, **kw):
    faces = hull_faces(points, angle_tol, offset_tol)
    verts, faces = renumbered([np.asarray(p, float) for p in points], faces)
    return Row(verts, faces, planarity, regular, **kw)


def minkowski_with_segments(points, directions):
    """The Minkowski sum of the points' hull with unit segments centred on the origin."""
    pts = np.asarray(points, float)
    for d in directions:
        d = unit(d)
        pts = np.vstack([pts - d / 2, pts + d / 2])
        pts = pts[ConvexHull(pts).vertices]
    return pts


def axis_directions(points):
    """One direction for each line through the origin that the points lie on."""
    out = []
    for p in points:
        p = unit(p)
        if not any(abs(abs(np.dot(p, q)) - 1) < 1e-9 for q in out):
            out.append(p)
    return out


def cyclic_sign_orbit(bases):
    out = []
    for b in bases:
        for x, y, z in ((b[0], b[1], b[2]), (b[1], b[2], b[0]), (b[2], b[0], b[1])):
            for sx, sy, sz in itertools.product((1, -1), repeat=3):
                p = np.array([sx * x, sy * y, sz * z], float)
                if not any(np.linalg.norm(p - q) < 1e-9 for q in out):
                    out.append(p)
    return out


def truncated_icosahedron():
    """Unit edge, in the frame of icosahedral_rotations()."""
    return [p / 2 for p in cyclic_sign_orbit([(0, 1, 3 * PHI), (1, 2 + PHI, 2 * PHI), (PHI, 2, 2 * PHI + 1)])]


FIVE_FOLD_AXES = axis_directions(cyclic_sign_orbit([(0, 1, PHI)]))
THREE_FOLD_AXES = axis_directions(cyclic_sign_orbit([(1, 1, 1), (0, PHI, 1 / PHI)]))


# ---------------------------------------------------------------------------------------------
# The rows.

def tetrated_dodecahedron():
    """Four caps of three regular pentagons (a dodecahedron's corner) on the 3-fold axes of a
    tetrahedron, moved out until neighbouring caps meet corner to corner. Four single triangles
    fill the opposite 3-fold axes, six pairs of triangles the 2-fold axes; only the edge inside each
    pair gives way (~3), and it comes out longer than the rest."""
    dodeca = cyclic_sign_orbit([(1, 1, 1), (0, 1 / PHI, PHI)])
    edge = 2 / PHI
    top = np.array([1.0, 1.0, 1.0])
    near = [p for p in dodeca if abs(np.linalg.norm(p - top) - edge) < 1e-9]
    # The corner's three pentagons: the corner, its three neighbours and their six other neighbours.
    cap = [top] + near + [p for p in dodeca if any(abs(np.linalg.norm(p - q) - edge) < 1e-9 for q in near)
                          and np.linalg.norm(p - top) > edge + 1e-9]
    cap = [(p - top) / edge for p in cap]
    axis = unit(top)
    # Turn the cap about its axis until one of its edges from the corner lies in the mirror x = y,
    # heading for the z axis, where a pair of triangles will sit.
    towards = unit(np.array([-1.0, -1.0, 2.0]))
    angles = [math.atan2(np.dot(np.cross(unit(c - axis * np.dot(axis, c)), towards), axis),
                         np.dot(unit(c - axis * np.dot(axis, c)), towards)) for c in cap[1:4]]
    turn = _axis_rotation(axis, min(angles, key=abs))
    cap = [turn @ p for p in cap]
    # One rotation for each cap.
    moves = []
    for g in tetrahedral_rotations():
        if not any(np.allclose(g @ axis, h @ axis) for h in moves):
            moves.append(g)

    def caps(distance):
        return [[g @ (p + distance * axis) for p in cap] for g in moves]

    def gap(distance):
        a, others = caps(distance)[0], caps(distance)[1:]
        return min(np.linalg.norm(p - q) for p in a for c in others for q in c)

    result = minimize_scalar(gap, bounds=(1.5, 1.75), method="bounded", options={"xatol": 1e-13})
    points = merge_close([p for c in caps(result.x) for p in c], 1e-5)
    return hull_row(points, 3, {5}, angle_tol=1e-5, offset_tol=1e-5,
                    note="pentagons regular; only the edge inside each pair of triangles gives way")


def enneagonal_faced():
    """O(*, 3, *, [2]): regular enneagons on the eight 3-fold axes, a corner towards each 4-fold axis
    and an edge across each 2-fold axis shared with the neighbour. The hull adds six squares on
    the 4-fold axes (regular, but shorter edged) and 24 triangles between them (~4)."""
    axis = unit((1, 1, 1))
    distance = math.sqrt(3) * math.sqrt(2) / math.sqrt(3) * inradius(9)  # the shared edge lies in z = 0
    # The edge across the 2-fold axis (1, 1, 0) has its midpoint at height 0: distance/sqrt(3) equals
    # inradius * 2/sqrt(6).
    distance = inradius(9) * 2 / math.sqrt(6) * math.sqrt(3)
    ennea = regular_polygon(9, distance * axis, axis, (0, 0, 1), 0.0)
    points = orbit(ennea, octahedral_rotations())
    return hull_row(points, 4, {9}, angle_tol=1e-6, offset_tol=1e-6,
                    note="enneagons regular; squares and triangles give way")


def decagonal_faced():
    """I(2, *, 3, e): regular decagons on the 5-fold axes and regular hexagons on the 2-fold axes,
    each hexagon sharing an edge with both its decagons; the hull closes the gaps with 20 triangles
    on the 3-fold axes and 60 trapezoids (~4)."""
    a5 = unit((0, 1, PHI))
    a2 = np.array([0.0, 0.0, 1.0])
    u = unit(a2 - np.dot(a2, a5) * a5)  # from the decagon's centre towards the hexagon
    w = unit(a5 - np.dot(a5, a2) * a2)  # from the hexagon's centre towards the decagon
    # The shared edge's midpoint: d5 a5 + r10 u = d2 a2 + r6 w, in the plane x = 0.
    m = np.array([[a5[1], -a2[1]], [a5[2], -a2[2]]])
    rhs = inradius(6) * w - inradius(10) * u
    d5, d2 = np.linalg.solve(m, rhs[1:])
    deca = regular_polygon(10, d5 * a5, a5, u, math.pi / 10)
    hexa = regular_polygon(6, d2 * a2, a2, w, math.pi / 6)
    points = orbit(deca + hexa, icosahedral_rotations())
    return hull_row(points, 4, {10, 6}, angle_tol=1e-6, offset_tol=1e-6,
                    note="decagons and hexagons regular; trapezoids and triangles give way")


def hendecagonal_faced():
    """24 regular hendecagons, one facing each vertex of a snub cube (where the faces of its dual,
    the pentagonal icositetrahedron, point), each sharing an edge with the five hendecagons of the
    dual's neighbouring faces; the corner that would sit at a 4-fold axis turns into a square corner.
    The hull adds 6 squares and 56 triangles (chiral octahedral symmetry). Regular hendecagons
    cannot share all those edges exactly (they miss by about 1% of an edge), so every face takes
    part in the relaxation and then in the planarity pass (~11)."""
    tribonacci = 1.839286755214161
    axis = unit((1, 1 / tribonacci, tribonacci))
    group = octahedral_rotations()

    rotations = np.array(group)

    def hendecagons(distance, turn):
        # The group moves a hendecagon off every symmetry axis to 24 distinct places.
        one = np.array(regular_polygon(11, distance * axis, axis, (0, 0, 1), turn))
        return list(np.einsum("gij,pj->gpi", rotations, one).reshape(-1, 3))

    def miss(x):
        pts = np.array(hendecagons(*x))
        # All but the 24 square corners have a partner on a neighbouring hendecagon.
        nearest, _ = cKDTree(pts).query(pts, k=2)
        return np.sort(nearest[:, 1])[239]

    start = min(((miss((d, t)), d, t) for d in np.arange(3.5, 5.0, 0.05)
                 for t in np.arange(0.0, 2 * math.pi / 11, 0.02)))
    best = minimize(miss, [start[1], start[2]], method="Nelder-Mead",
                    options={"xatol": 1e-10, "fatol": 1e-13})
    points = merge_close(hendecagons(*best.x), 1.5 * best.fun + 1e-9)
    return hull_row(points, 11, {11}, angle_tol=0.03, offset_tol=0.1,
                    note="relaxed, then every face planar; hendecagons miss regular by a little")


def equal_edged_near_miss_2():
    """The truncated icosahedron with a zone of unit edges added along each 3-fold axis: 12
    pentagons, the 20 hexagons kept and 90 new equilateral hexagons, all edges equal. This is how
    Equal-edged Near Miss 1 (row 200) relates to the icosahedron, with zones along its 5-fold axes."""
    points = minkowski_with_segments(truncated_icosahedron(), THREE_FOLD_AXES)
    return hull_row(points, 6, {5}, angle_tol=1e-7, offset_tol=1e-7, planarity_only=True,
                    note="built exactly: every edge 1, faces planar; pentagons and the first 20 hexagons regular")


def zonish_truncated_icosahedron():
    """What adding zones along the face normals (the 5-fold and 3-fold axes) makes of the truncated
    icosahedron: its 12 pentagons and 20 hexagons, 60 hexagons, 60 quadrilaterals and 30 decagons.
    Relaxed towards regular faces and then made planar (~10)."""
    points = minkowski_with_segments(truncated_icosahedron(), FIVE_FOLD_AXES + THREE_FOLD_AXES)
    return hull_row(points, 10, {5}, angle_tol=1e-7, offset_tol=1e-7,
                    note="start: every edge 1; relaxed, then every face planar")


def acrohedron_554():
    """Two roofs of two regular pentagons each, the pentagons leaning so that the square between
    their edges at each end of the ridge is square: a corner where two pentagons and a square
    meet. The second roof is the first turned a quarter turn and upside down, its square corners
    meeting the first roof's pentagon tips; eight triangles close it (D2d). The squares and
    triangles give way (~4)."""
    tilt = math.acos(math.cos(math.radians(108)) ** 2 / math.sin(math.radians(108)) ** 2) / 2

    def pentagon(a, b, w):
        pts = [a, b]
        x = b - a
        angle = 0.0
        p = b
        for _ in range(3):
            angle += 72
            p = p + math.cos(math.radians(angle)) * x + math.sin(math.radians(angle)) * w
            pts.append(p)
        return pts

    def roof(height):
        a = np.array([-0.5, 0.0, height])
        b = np.array([0.5, 0.0, height])
        p1 = pentagon(a, b, np.array([0.0, math.cos(tilt), -math.sin(tilt)]))
        p2 = pentagon(a, b, np.array([0.0, -math.cos(tilt), -math.sin(tilt)]))
        sa = p1[4] + p2[4] - a
        sb = p1[2] + p2[2] - b
        return [a, b, p1[2], p1[3], p1[4], p2[2], p2[3], p2[4], sa, sb]

    # The pentagon tip of one roof meets a square corner of the other at equal heights.
    tip_drop = (circumradius(5) + inradius(5)) * math.sin(tilt)
    square_drop = math.sin(math.radians(108)) * 2 * math.sin(tilt)
    height = (tip_drop + square_drop) / 2
    first = roof(height)
    turn = np.array([[0, 1, 0], [1, 0, 0], [0, 0, -1]], float)
    points = merge_close(first + [turn @ p for p in first], 0.1)
    return hull_row(points, 4, {5}, angle_tol=0.05, offset_tol=0.1,
                    note="pentagons regular; squares and triangles give way")


def mixed_prism(n):
    """An n-gon above an (n+1)-gon, joined by one square and 2n - 1 triangles."""
    top = [np.array([circumradius(n) * math.cos(2 * math.pi * (k + 0.5) / n),
                     circumradius(n) * math.sin(2 * math.pi * (k + 0.5) / n), 0.8]) for k in range(n)]
    bottom = [np.array([circumradius(n + 1) * math.cos(2 * math.pi * (k + 0.5) / (n + 1)),
                        circumradius(n + 1) * math.sin(2 * math.pi * (k + 0.5) / (n + 1)), 0.0]) for k in range(n + 1)]
    t = list(range(n))
    b = list(range(n, 2 * n + 1))
    faces = [list(reversed(b)), t[:]]
    # The square joins the first edge of each; triangles zig-zag round the rest.
    faces.append([t[0], b[0], b[1], t[1]])
    i, j = 1, 1  # the last top and bottom corners joined
    while i < n or j < n + 1:
        ti, tn = t[i % n], t[(i + 1) % n]
        bj, bn = b[j % (n + 1)], b[(j + 1) % (n + 1)]
        if j < n + 1 and (i >= n or j <= i):
            faces.append([ti, bj, bn])
            j += 1
        else:
            faces.append([ti, bj, tn])
            i += 1
    return Row(top + bottom, faces, 3, {n, n + 1}, note="the two bases regular where they can be")


def rows():
    """The authored rows by table position.

    198, the Dodecagonal-faced Polyhedron, is not among them: no solid was found that fits its
    counts and is near regular. Six regular dodecagons on the 4-fold axes, corner to corner, close
    with 8 hexagons and 24 triangles to 38 faces, 96 edges and 60 vertices, but where two
    dodecagons meet two triangles the corner angles add up to 420 degrees with regular faces, so
    that solid is far from a near miss; and no two regular dodecagons can share an edge convexly."""
    return {
        197: tetrated_dodecahedron,
        199: enneagonal_faced,
        201: hendecagonal_faced,
        204: equal_edged_near_miss_2,
        205: decagonal_faced,
        206: zonish_truncated_icosahedron,
        207: acrohedron_554,
        209: lambda: mixed_prism(4),
        210: lambda: mixed_prism(5),
        211: lambda: mixed_prism(6),
    }
