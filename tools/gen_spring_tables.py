#!/usr/bin/env python3
"""Writes the library's two stored spring tables from the OFF files in resources/polyhedra.

For every row of INDEX.tsv with status "ok" the description is "h " and the file's faces in order,
and the positions record is the file's vertices in order. Rows without a file get an empty text
(except the fixed texts below) and an empty record. Two rows differ:

- J1 and J10 keep their fixed texts; their positions are the file's vertices in those texts' vertex
  order, found by matching the texts' faces onto the file's faces.
- Row 203's file is the canonical form, whose edges are unequal: its description carries the
  planarity option for all its faces and its record holds the positions that relaxing the description gives, started
  from the file's shape (a random start can settle into a shape of lower symmetry). Those come from
  the helper program orvane_relax_desc of the build (--relax-tool); without it, as for a first
  build, the row's record stays empty.

- The near misses without public data (near_miss_rows.py) are built there as start shapes; their
  descriptions are "h ~N " and the start shape's faces, and their records hold what relaxing the
  description from the start shape gives. The Wedge keeps its fixed text and is relaxed from a
  seeded random start. Each of these rows prints its relaxation report: the force left, the
  shortest and longest edge and the largest angle error of the faces that should be regular.

- The Stewart toroids without public data are built exactly from unit-edge pieces (toroid_rows.py,
  and drilled_toroid_rows.py for those drilled through Archimedean solids, which repeats a tunnel
  over the program's own groups as the helper orvane_sym_group prints them) and stored as built,
  after their checks.

Usage (from the project's root, after a build; needs python3-numpy and python3-scipy):
    tools/gen_spring_tables.py --relax-tool build/bin/orvane_relax_desc [--sym-tool build/bin/orvane_sym_group]

It writes src/library/StoredSpringDescs.cpp and src/library/StoredSpringPositions.cpp. The build
never runs it.
"""

import argparse
import csv
import math
import os
import struct
import subprocess
import sys
import tempfile

import drilled_toroid_rows
import near_miss_rows
import toroid_rows

FIRST_POSITION = 105
LAST_POSITION = 240
MAX_RECORD_VERTS = 1000

# Texts that are kept as written, by table position.
FIXED_TEXTS = {
    105: "h (4 1 0 3) (1 4 2) (0 1 2) (3 0 2) (4 3 2)",
    114: "h (4 7 8) (8 7 6) (8 6 3) (3 6 1) (3 1 0) (0 1 2) (0 2 4)(4 2 7) (4 8 5) (8 3 5) (3 0 5) (0 4 5) "
         "(1 6 7 2)t(0 3 8 4)",
    208: "h ~3 (0 1 2 7 6) (0 1 8 13 12) (1 2 8) (0 6 12) (2 3 7) (3 4 7) (4 5 7)(5 6 7) (8 9 13) (9 10 13) "
         "(10 11 13) (11 12 13) (2 3 9 8) (3 4 10 9)(4 5 11 10) (5 6 12 11)",
}
# Rows whose stored positions are relaxed from their description instead of read from the file, with
# the options of their description. Every face of row 203 takes part in the planarity pass: none of
# its face types can be regular with equal edges, and all must stay planar.
RELAXED = {203: "h ~12 "}
RELAX_SEED = 1
RELAX_ATTEMPTS = 10
# Rows with a fixed text and no file: relaxed from a seeded random start. The Wedge's pentagons and
# squares keep their springs (~3), so those are the faces that should come out regular.
RELAXED_FROM_TEXT = {208: {4, 5}}


def read_off(path):
    with open(path) as f:
        words = f.read().split()
    if words[0] != "OFF":
        sys.exit(f"{path}: not an OFF file")
    nv, nf = int(words[1]), int(words[2])
    at = 4
    verts = []
    for _ in range(nv):
        verts.append(tuple(float(w) for w in words[at:at + 3]))
        at += 3
    faces = []
    for _ in range(nf):
        n = int(words[at])
        faces.append([int(w) for w in words[at + 1:at + 1 + n]])
        at += 1 + n
    return verts, faces


def parse_desc_faces(text):
    """The visible polygons of a description, as lists of node indices ('t' and 'T' ones left out)."""
    faces = []
    hidden = False
    i = 0
    while i < len(text):
        c = text[i]
        if c in "tT":
            hidden = True
        elif c == "(":
            j = text.index(")", i)
            if not hidden:
                faces.append([int(w) for w in text[i + 1:j].split()])
            hidden = False
            i = j
        i += 1
    return faces


def canonical_cycle(face):
    k = face.index(min(face))
    return tuple(face[k:] + face[:k])


def match_vertices(desc_faces, off_faces, num_verts):
    """A map from description vertices to file vertices that carries every face onto a face, the
    same way round if possible, else the other way round."""
    for reverse in (False, True):
        targets = set()
        for face in off_faces:
            f = list(reversed(face)) if reverse else face
            targets.add(canonical_cycle(f))
        mapping = [-1] * num_verts
        used = [False] * num_verts

        def faces_fit():
            for face in desc_faces:
                if all(mapping[v] >= 0 for v in face):
                    if canonical_cycle([mapping[v] for v in face]) not in targets:
                        return False
            return True

        def assign(v):
            if v == num_verts:
                return True
            for w in range(num_verts):
                if used[w]:
                    continue
                mapping[v] = w
                used[w] = True
                if faces_fit() and assign(v + 1):
                    return True
                used[w] = False
                mapping[v] = -1
            return False

        if assign(0):
            return mapping
    return None


def relax(tool, text, start, planarity_only=False):
    command = [tool, "--seed", str(RELAX_SEED), "--attempts", str(RELAX_ATTEMPTS)]
    if start:
        command += ["--start", start]
    if planarity_only:
        command += ["--planarity-only", "1"]
    run = subprocess.run(command, input=text, capture_output=True, text=True, check=True)
    lines = run.stdout.split("\n")
    force = float(lines[0])
    count = int(lines[1])
    verts = [tuple(float(w) for w in line.split()) for line in lines[2:2 + count]]
    return force, verts


def write_off(path, verts, faces):
    with open(path, "w") as out:
        edges = sum(len(f) for f in faces) // 2
        out.write(f"OFF\n{len(verts)} {len(faces)} {edges}\n")
        for v in verts:
            out.write(" ".join(repr(float(c)) for c in v) + "\n")
        for f in faces:
            out.write(f"{len(f)} " + " ".join(str(i) for i in f) + "\n")


def relaxation_report(verts, faces, regular):
    """The shortest and longest edge, and the largest corner angle error (degrees) of the faces
    whose sizes are in regular."""
    def sub(a, b):
        return [a[0] - b[0], a[1] - b[1], a[2] - b[2]]

    def length(a):
        return math.sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2])

    edges = [length(sub(verts[f[k]], verts[f[k - 1]])) for f in faces for k in range(len(f))]
    worst = 0.0
    for f in faces:
        n = len(f)
        if n not in regular:
            continue
        for k in range(n):
            a, b = sub(verts[f[k - 1]], verts[f[k]]), sub(verts[f[(k + 1) % n]], verts[f[k]])
            cosine = sum(x * y for x, y in zip(a, b)) / (length(a) * length(b))
            angle = math.degrees(math.acos(max(-1.0, min(1.0, cosine))))
            worst = max(worst, abs(angle - 180.0 * (n - 2) / n))
    return min(edges), max(edges), worst


def c_string_lines(text, width=100):
    """The text as adjacent C string literals, broken at spaces."""
    if not text:
        return ['""']
    pieces = []
    while len(text) > width:
        cut = text.rfind(" ", 0, width) + 1
        if cut <= 0:
            cut = width
        pieces.append(text[:cut])
        text = text[cut:]
    pieces.append(text)
    return ['"' + p + '"' for p in pieces]


def record_bytes(verts):
    data = struct.pack("<I", len(verts))
    for v in verts:
        data += struct.pack("<3d", *v)
    return data


def byte_lines(data, per_line=24):
    return ['"' + "".join(f"\\x{b:02x}" for b in data[i:i + per_line]) + '"' for i in range(0, len(data), per_line)]


def report(position, name, force, verts, faces, regular):
    shortest, longest, angle = relaxation_report(verts, faces, regular)
    print(f"{position} {name}: force {force:.3g}, edges {shortest:.6f} to {longest:.6f}, "
          f"largest angle error of the regular faces {angle:.3g} degrees")


def authored_row(position, name, row, tool):
    """The description of a row built by near_miss_rows and the positions relaxed from its start."""
    text = f"h ~{row.planarity} " + " ".join("(" + " ".join(str(i) for i in f) + ")" for f in row.faces)
    if not tool:
        print(f"{position} {name}: no relax tool given, its record stays empty")
        return text, []
    with tempfile.TemporaryDirectory() as folder:
        start = os.path.join(folder, "start.off")
        write_off(start, row.verts, row.faces)
        force, verts = relax(tool, text, start, row.planarity_only)
    if len(verts) != len(row.verts):
        sys.exit(f"{position} {name}: the relaxation gave {len(verts)} vertices")
    report(position, name, force, verts, row.faces, row.regular)
    return text, verts


def exact_row(position, name, row, index_row):
    """The description and positions of a row built exactly, after its checks."""
    counts = (int(index_row["F_expected"]), int(index_row["E_expected"]), int(index_row["V_expected"]))
    genus = {**toroid_rows.GENUS, **drilled_toroid_rows.GENUS}[position]
    problems = toroid_rows.check(row, counts, genus, position in toroid_rows.CROSSING)
    if problems:
        sys.exit(f"{position} {name}: " + "; ".join(problems[:5]))
    print(f"{position} {name}: built exactly, genus {genus} ({row.note})")
    text = "h " + " ".join("(" + " ".join(str(i) for i in f) + ")" for f in row.faces)
    return text, row.verts


HEADER = "// Generated by tools/gen_spring_tables.py from resources/polyhedra: edit the script, not this file.\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--data", default=os.path.join(root, "resources", "polyhedra"))
    parser.add_argument("--out", default=os.path.join(root, "src", "library"))
    parser.add_argument("--relax-tool", help="without it the relaxed rows get empty records (a first build)")
    parser.add_argument("--sym-tool", default=os.path.join(root, "build", "bin", "orvane_sym_group"),
                        help="orvane_sym_group of the build, which gives the groups of the drilled toroids")
    args = parser.parse_args()

    rows = {}
    with open(os.path.join(args.data, "INDEX.tsv")) as f:
        for row in csv.DictReader(f, delimiter="\t"):
            rows[int(row["position"])] = row
    files = {}
    for name in os.listdir(args.data):
        if name.endswith(".off"):
            files[int(name.split("-")[0])] = os.path.join(args.data, name)

    authored = near_miss_rows.rows()
    if not os.access(args.sym_tool, os.X_OK):
        sys.exit(f"{args.sym_tool}: not found; build the program first or give --sym-tool")
    toroids = {**toroid_rows.rows(), **drilled_toroid_rows.rows(args.sym_tool)}
    texts = []
    records = []
    for position in range(FIRST_POSITION, LAST_POSITION + 1):
        row = rows[position]
        name = row["name"]
        if position <= 196:
            name = f"J{position - 104} {name}"
        text = FIXED_TEXTS.get(position, "")
        verts = []
        if row["status"] == "ok":
            off_verts, off_faces = read_off(files[position])
            if (len(off_faces), len(off_verts)) != (int(row["F_expected"]), int(row["V_expected"])):
                sys.exit(f"{position} {name}: counts differ from INDEX.tsv")
            if position in FIXED_TEXTS:
                mapping = match_vertices(parse_desc_faces(text), off_faces, len(off_verts))
                if mapping is None:
                    sys.exit(f"{position} {name}: the fixed text does not fit the file's faces")
                verts = [off_verts[mapping[v]] for v in range(len(off_verts))]
            else:
                option = RELAXED.get(position, "h ")
                text = option + " ".join("(" + " ".join(str(i) for i in face) + ")" for face in off_faces)
                verts = off_verts
            if position in RELAXED and not args.relax_tool:
                print(f"{position} {name}: no relax tool given, its record stays empty")
                verts = []
            elif position in RELAXED:
                force, verts = relax(args.relax_tool, text, files[position])
                print(f"{position} {name}: relaxed, force left {force:g}")
                if len(verts) != len(off_verts):
                    sys.exit(f"{position} {name}: the relaxation gave {len(verts)} vertices")
        if position in authored:
            text, verts = authored_row(position, name, authored[position](), args.relax_tool)
        elif position in toroids:
            text, verts = exact_row(position, name, toroids[position](), rows[position])
        elif position in RELAXED_FROM_TEXT and args.relax_tool:
            force, verts = relax(args.relax_tool, text, None)
            report(position, name, force, verts, parse_desc_faces(text), RELAXED_FROM_TEXT[position])
        if len(verts) > MAX_RECORD_VERTS:
            sys.exit(f"{position} {name}: more than {MAX_RECORD_VERTS} vertices")
        texts.append((position, name, text))
        records.append((position, name, verts))

    with open(os.path.join(args.out, "StoredSpringDescs.cpp"), "w") as out:
        out.write(HEADER)
        out.write('#include "library/StoredSpringDescs.h"\n\nnamespace\n{\n')
        out.write("// One text for each table position from J1 to the last toroid; empty where the row has no data.\n")
        out.write("const char* const kStoredDescs[kNumStoredSpringDescs] = {\n")
        for position, name, text in texts:
            out.write(f"    // {position} {name}\n")
            lines = c_string_lines(text)
            for i, line in enumerate(lines):
                out.write("    " + line + ("," if i == len(lines) - 1 else "") + "\n")
        out.write("};\n}  // namespace\n\n")
        out.write("const char* GetStoredSpringDesc(int index)\n{\n")
        out.write("    if (index < 0 || index >= kNumStoredSpringDescs)\n        return nullptr;\n")
        out.write("    return kStoredDescs[index];\n}\n")

    with open(os.path.join(args.out, "StoredSpringPositions.cpp"), "w") as out:
        out.write(HEADER)
        out.write('#include "library/StoredSpringPositions.h"\n\nnamespace\n{\n')
        out.write("// Record after record, one for each table position from J1 to the last toroid: a 32-bit vertex\n")
        out.write("// count, then x, y and z of each vertex as 64-bit IEEE doubles, all little-endian.\n")
        out.write("const char kData[] =\n")
        for position, name, verts in records:
            out.write(f"    // {position} {name}: {len(verts)} vertices\n")
            for line in byte_lines(record_bytes(verts)):
                out.write("    " + line + "\n")
        out.write("    ;\n}  // namespace\n\n")
        out.write("std::span<const unsigned char> GetStoredSpringPositions()\n{\n")
        out.write("    // The literal's own terminating zero is no part of the data.\n")
        out.write("    return {reinterpret_cast<const unsigned char*>(kData), sizeof kData - 1};\n}\n")
    print(f"wrote {len(texts)} descriptions and {len(records)} position records")


if __name__ == "__main__":
    main()
