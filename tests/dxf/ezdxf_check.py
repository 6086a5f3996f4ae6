#!/usr/bin/python3
"""Reads drawings made by `tarvo-cli dxf` with an independent DXF reader (ezdxf),
audits them and checks every entity, layer, colour, position and text against the
points of the text lists in data/.

Usage: ezdxf_check.py TARVO_CLI DATA_DIR EXAMPLE_JOB
Exit 77 (skipped) when ezdxf cannot be imported."""

import os
import shutil
import subprocess
import sys
import tempfile

SKIP = 77
try:
    import ezdxf
except ImportError as error:
    print(f"SKIP: python3-ezdxf cannot be imported ({error}); install it with tools/install-deps")
    sys.exit(SKIP)

RATIOS = [0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 20.0]
TOLERANCE = 1e-5

# The points of the text lists as they were meant: name, Y, X, height or None, code.
SEVERAL = [
    ("P1", 100.0, 200.0, 50.0, "K"),
    ("P2", -50.5, 300.25, None, "hranice"),
    ("P3", 10.0, 20.0, 5.5, ""),
    ("č.4", 40.0, 60.0, 12.0, "mezník žluťoučký"),
    ("", 5.0, 6.0, 7.0, ""),
]
ORIGIN = [("A", 0.0, 0.0, 0.0, ""), ("B", 0.0, 0.0, None, "")]
# The coordinate records of data/measured.sdt (NTS-350); its station and sighting
# are not drawn.
MEASURED = [("B7", 765.432, 1234.567, 0.32, ""), ("B8", -766.432, 1235.567, 0.33, "mezník")]
# The points of examples/nts350-job.sdt: S-JTSK coordinates, without the million.
EXAMPLE = [("4001", 742118.903, 43512.345, 312.455, "ST"), ("4002", 742105.877, 43699.118, 312.207, "ST"),
           ("4003", 741977.650, 43570.004, 313.020, "")]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def close(a, b):
    return abs(a - b) <= TOLERANCE * max(1.0, abs(b))


def close_point(actual, expected):
    return close(actual[0], expected[0]) and close(actual[1], expected[1]) and close(actual[2], 0.0)


def expected_entities(points, swap, ratio):
    drawn = [((x, y) if swap else (y, x), name, z, code) for name, y, x, z, code in points]
    xs = [p[0][0] for p in drawn]
    ys = [p[0][1] for p in drawn]
    extent = max(max(xs) - min(xs), max(ys) - min(ys))
    s = (0.05 * extent if extent > 0 else 1.0) * RATIOS[ratio]
    entities = []
    for (x, y), name, z, code in drawn:
        entities.append(("TEXT", 1, (x - 0.5 * s, y + 0.7 * s), (x, y + 0.6 * s), 0.2 * s, name, 1, 1))
        if z is not None:
            entities.append(("TEXT", 4, (x + 0.2 * s, y + 0.225 * s), (x + 0.2 * s, y + 0.3 * s), 0.1 * s,
                             f"{z:.3f}", 0, 2))
        if code:
            entities.append(("TEXT", 3, (x + 0.2 * s, y - 0.225 * s), (x + 0.2 * s, y - 0.3 * s), 0.1 * s, code, 0, 2))
        entities.append(("LINE", (x - 0.5 * s, y), (x + 0.5 * s, y)))
        entities.append(("LINE", (x, y - 0.5 * s), (x, y + 0.5 * s)))
    return entities


def check_drawing(label, path, points, swap, ratio):
    try:
        doc = ezdxf.readfile(path)
    except Exception as error:  # the reader refused the file
        failures.append(f"{label}: ezdxf cannot read the drawing: {error}")
        return
    check(doc.dxfversion == "AC1009", f"{label}: version {doc.dxfversion}, expected AC1009")
    check(doc.encoding == "cp1250", f"{label}: read with encoding {doc.encoding}, expected cp1250")
    auditor = doc.audit()
    check(not auditor.has_errors, f"{label}: audit errors: {[e.message for e in auditor.errors]}")

    actual = list(doc.modelspace())
    expected = expected_entities(points, swap, ratio)
    check(len(actual) == len(expected), f"{label}: {len(actual)} entities, expected {len(expected)}")
    for index, (entity, want) in enumerate(zip(actual, expected)):
        where = f"{label}: entity {index}"
        check(entity.dxftype() == want[0], f"{where}: {entity.dxftype()}, expected {want[0]}")
        check(entity.dxf.layer == "0", f"{where}: layer {entity.dxf.layer}")
        if entity.dxftype() != want[0]:
            continue
        if want[0] == "TEXT":
            _, colour, insert, align, height, text, halign, valign = want
            check(entity.dxf.color == colour, f"{where}: colour {entity.dxf.color}, expected {colour}")
            check(close_point(entity.dxf.insert, insert), f"{where}: insert {entity.dxf.insert}, expected {insert}")
            check(close_point(entity.dxf.align_point, align),
                  f"{where}: alignment {entity.dxf.align_point}, expected {align}")
            check(close(entity.dxf.height, height), f"{where}: height {entity.dxf.height}, expected {height}")
            check(entity.dxf.text == text, f"{where}: text {entity.dxf.text!r}, expected {text!r}")
            check(entity.dxf.halign == halign, f"{where}: halign {entity.dxf.halign}, expected {halign}")
            check(entity.dxf.valign == valign, f"{where}: valign {entity.dxf.valign}, expected {valign}")
        else:
            _, start, end = want
            check(entity.dxf.color == 256, f"{where}: colour {entity.dxf.color}, expected by layer")
            check(close_point(entity.dxf.start, start), f"{where}: start {entity.dxf.start}, expected {start}")
            check(close_point(entity.dxf.end, end), f"{where}: end {entity.dxf.end}, expected {end}")


def check_marks_fit(label, path):
    """Every cross and text is smaller than a tenth of the extent of the crosses'
    centres: the marks show the job instead of covering it."""
    doc = ezdxf.readfile(path)
    lines = [e for e in doc.modelspace() if e.dxftype() == "LINE"]
    centres = [((e.dxf.start[0] + e.dxf.end[0]) / 2, (e.dxf.start[1] + e.dxf.end[1]) / 2) for e in lines]
    extent = max(max(c[axis] for c in centres) - min(c[axis] for c in centres) for axis in (0, 1))
    check(extent > 0, f"{label}: the points have no extent")
    for entity in doc.modelspace():
        if entity.dxftype() == "LINE":
            size = max(abs(entity.dxf.end[0] - entity.dxf.start[0]), abs(entity.dxf.end[1] - entity.dxf.start[1]))
        else:
            size = entity.dxf.height
        check(0 < size <= 0.1 * extent, f"{label}: {entity.dxftype()} of size {size} in a job {extent} across")


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    cli, data, example = sys.argv[1], sys.argv[2], sys.argv[3]
    # label, source (a file of DATA_DIR or a full path), points, swap, ratio, command
    cases = [
        ("several points", "several.txt", SEVERAL, False, 4, ["dxf"]),
        ("several points, X/Y swapped, 1:10", "several.txt", SEVERAL, True, 7, ["dxf"]),
        ("all points at the origin", "origin.txt", ORIGIN, False, 4, ["dxf"]),
        ("measured data", "measured.sdt", MEASURED, False, 4, ["dxf"]),
        ("measured data through convert --mode dxf", "measured.sdt", MEASURED, True, 2, ["convert", "--mode", "dxf"]),
        ("example job", example, EXAMPLE, False, 4, ["dxf"]),
    ]
    with tempfile.TemporaryDirectory() as work:
        # The profile is not the developer's: an empty one in the work directory.
        env = dict(os.environ, HOME=work, XDG_CONFIG_HOME=os.path.join(work, "config"))
        for number, (label, source, points, swap, ratio, command) in enumerate(cases):
            base = os.path.join(work, f"case{number}")
            extension = os.path.splitext(source)[1]
            shutil.copyfile(os.path.join(data, source), base + extension)
            flag = 0x100 if swap else 0
            run = subprocess.run([cli, *command, "--set", f"Flag={flag}", "--set", f"DXF_Ratio={ratio}",
                                  "--set", "DeviceType=0", base + extension],
                                 env=env, capture_output=True, text=True)
            if run.returncode != 0:
                failures.append(f"{label}: tarvo-cli exited {run.returncode}: {run.stderr.strip()}")
                continue
            check_drawing(label, base + ".dxf", points, swap, ratio)
            if points is EXAMPLE:
                check_marks_fit(label, base + ".dxf")

        # With the overwrite question on, an existing drawing stays without --force.
        base = os.path.join(work, "case0")
        before = open(base + ".dxf", "rb").read()
        refused = subprocess.run([cli, "dxf", "--set", "Flag=0x10", "--set", "DXF_Ratio=0", base + ".txt"],
                                 env=env, capture_output=True, text=True)
        check(refused.returncode == 1, f"refused overwrite: exit {refused.returncode}, expected 1")
        check(refused.stderr.strip().endswith(
            "Nebyl zapsán žádný soubor: výkres case0.dxf už existuje a jeho přepsání bylo odmítnuto."),
            f"refused overwrite: receipt {refused.stderr.strip()!r}")
        check(open(base + ".dxf", "rb").read() == before, "refused overwrite: the drawing changed")
        forced = subprocess.run([cli, "dxf", "--force", "--set", "Flag=0x10", "--set", "DXF_Ratio=0", base + ".txt"],
                                env=env, capture_output=True, text=True)
        check(forced.returncode == 0, f"--force: exit {forced.returncode}, expected 0")
        check_drawing("replaced with --force at 20:1", base + ".dxf", SEVERAL, False, 0)
    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(cases)} drawings checked, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
