#!/usr/bin/python3
"""Draws one text list with `tarvo-cli dxf` in one variant of the drawing's options
and has three independent readers take the drawing: ezdxf audits it and checks
where each point's cross lies, on which layer and at which height; GDAL's ogrinfo
reads its layers; LibreCAD's dxf2pdf renders it to a PDF that shows the points.
In EPSG:5514 axes the drawn cross of a point in Prague goes through gdaltransform
to WGS 84 and must land in Prague.

Usage: dxf_readers_check.py TARVO_CLI VARIANT
VARIANT: default, epsg, layers, 3d or all (the three options at once).
Exit 77 (skipped) when a reader is not installed (tools/install-deps installs them)."""

import os
import shutil
import subprocess
import sys
import tempfile

SKIP = 77
READERS = {"ogrinfo": "gdal-bin", "gdaltransform": "gdal-bin", "librecad": "librecad", "pdftoppm": "poppler-utils"}
missing = [f"{tool} ({package})" for tool, package in READERS.items() if shutil.which(tool) is None]
try:
    import ezdxf
except ImportError:
    missing.append("ezdxf (python3-ezdxf)")
if missing:
    print(f"SKIP: DXF readers missing: {', '.join(missing)}; install them with tools/install-deps")
    sys.exit(SKIP)

VARIANTS = {  # DXF_Axes, DXF_Layers, DXF_3D
    "default": (0, 0, 0),
    "epsg": (1, 0, 0),
    "layers": (0, 1, 0),
    "3d": (0, 0, 1),
    "all": (1, 1, 1),
}

# Name, Y, X, height or None, code; P1 lies in Prague (14.420 E, 50.087 N).
POINTS = [
    ("P1", 742888.0, 1043086.0, 250.5, "mezník"),
    ("P2", 742900.0, 1043100.0, 251.25, "Mezník "),
    ("P3", 742870.0, 1043120.0, None, ""),
    ("P4", 742850.0, 1043060.0, 249.2, "žlutý plot"),
]
LAYERS = {"mezník": "MEZNIK", "Mezník ": "MEZNIK", "": "BEZ_KODU", "žlutý plot": "ZLUTY_PLOT"}
PRAGUE = (14.420, 50.087)

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(command, **options):
    return subprocess.run(command, capture_output=True, text=True, timeout=90, **options)


def check_with_ezdxf(path, epsg, layered, heights):
    """Returns the drawn centre of each point's cross."""
    doc = ezdxf.readfile(path)
    check(doc.encoding == "cp1250", f"ezdxf: encoding {doc.encoding}, expected cp1250")
    auditor = doc.audit()
    check(not auditor.has_errors, f"ezdxf: audit errors: {[e.message for e in auditor.errors]}")
    if layered:
        declared = {layer.dxf.name for layer in doc.layers} - {"0", "Defpoints"}
        check(declared == set(LAYERS.values()), f"ezdxf: layers {declared}")
        colours = [layer.dxf.color for layer in doc.layers if layer.dxf.name in LAYERS.values()]
        check(all(0 < colour < 256 and colour != 7 for colour in colours), f"ezdxf: layer colours {colours}")
    lines = [e for e in doc.modelspace() if e.dxftype() == "LINE"]
    names = [e.dxf.text for e in doc.modelspace() if e.dxftype() == "TEXT" and e.dxf.halign == 1]
    check(names == [p[0] for p in POINTS], f"ezdxf: point names {names}")
    check(len(lines) == 2 * len(POINTS), f"ezdxf: {len(lines)} lines")
    centres = []
    for (name, y, x, z, code), arm in zip(POINTS, lines[0::2]):
        centre = ((arm.dxf.start[0] + arm.dxf.end[0]) / 2, arm.dxf.start[1])
        centres.append(centre)
        expected = (-y, -x) if epsg else (y, x)
        check(abs(centre[0] - expected[0]) < 1e-6 and abs(centre[1] - expected[1]) < 1e-6,
              f"ezdxf: {name} drawn at {centre}, expected {expected}")
        elevation = (z or 0.0) if heights else 0.0
        check(arm.dxf.start[2] == elevation and arm.dxf.end[2] == elevation,
              f"ezdxf: {name} at z {arm.dxf.start[2]}, expected {elevation}")
        layer = LAYERS[code] if layered else "0"
        check(arm.dxf.layer == layer, f"ezdxf: {name} on layer {arm.dxf.layer}, expected {layer}")
    for text in (e for e in doc.modelspace() if e.dxftype() == "TEXT"):
        check(text.dxf.insert[2] == text.dxf.align_point[2], f"ezdxf: text {text.dxf.text} slanted in z")
    return centres


def check_with_ogr(path, layered):
    listing = run(["ogrinfo", "-ro", "-al", "-q", path])
    check(listing.returncode == 0, f"ogrinfo failed: {listing.stderr.strip()}")
    layers = {line.split("=", 1)[1].strip() for line in listing.stdout.splitlines()
              if line.strip().startswith("Layer (String)")}
    expected = set(LAYERS.values()) if layered else {"0"}
    check(layers == expected, f"ogrinfo: layers {layers}, expected {expected}")


def check_with_librecad(path, work):
    """dxf2pdf renders the drawing; the page must carry ink, as the points do."""
    out = os.path.join(work, "pdf")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=work, XDG_CONFIG_HOME=os.path.join(work, "config"),
               XDG_RUNTIME_DIR=work)
    rendered = run(["librecad", "dxf2pdf", "-a", "-t", out, path], env=env)
    pdf = os.path.join(out, os.path.splitext(os.path.basename(path))[0] + ".pdf")
    if not os.path.exists(pdf):
        failures.append(f"librecad dxf2pdf wrote no PDF (exit {rendered.returncode}): {rendered.stderr.strip()}")
        return
    picture = run(["pdftoppm", "-gray", "-r", "50", "-singlefile", pdf, os.path.join(work, "page")])
    check(picture.returncode == 0, f"pdftoppm failed: {picture.stderr.strip()}")
    with open(os.path.join(work, "page.pgm"), "rb") as file:
        data = file.read()
    # A binary PGM: "P5", width, height, maximum, then one byte a pixel.
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    pixels = data[at + 1:]
    ink = sum(1 for value in pixels if value < 200)
    check(ink > 100, f"librecad: the rendered page is blank ({ink} dark pixels)")


def check_prague(centre):
    moved = run(["gdaltransform", "-s_srs", "EPSG:5514", "-t_srs", "EPSG:4326"], input=f"{centre[0]} {centre[1]}\n")
    check(moved.returncode == 0, f"gdaltransform failed: {moved.stderr.strip()}")
    east, north = (float(value) for value in moved.stdout.split()[:2])
    check(abs(east - PRAGUE[0]) < 5e-4 and abs(north - PRAGUE[1]) < 5e-4,
          f"gdaltransform: P1 lands at {east:.5f} E, {north:.5f} N, not in Prague {PRAGUE}")


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in VARIANTS:
        print(__doc__)
        return 2
    cli, variant = sys.argv[1], sys.argv[2]
    axes, layers, heights = VARIANTS[variant]
    with tempfile.TemporaryDirectory() as work:
        listing = os.path.join(work, "body.txt")
        with open(listing, "w", encoding="cp1250", newline="") as file:
            for name, y, x, z, code in POINTS:
                height = "" if z is None else f" {z}"
                file.write(f"{name} {y} {x}{height}{' ' + code if code else ''}\r\n")
        env = dict(os.environ, HOME=work, XDG_CONFIG_HOME=os.path.join(work, "config"))
        drawn = run([cli, "dxf", "--set", "Flag=0", "--set", f"DXF_Axes={axes}", "--set", f"DXF_Layers={layers}",
                     "--set", f"DXF_3D={heights}", listing], env=env)
        if drawn.returncode != 0:
            print(f"FAIL: tarvo-cli exited {drawn.returncode}: {drawn.stderr.strip()}")
            return 1
        check(drawn.stderr.strip() == "Vykresleno: 4 body. Zapsáno: body.dxf.", f"receipt: {drawn.stderr.strip()}")
        path = os.path.join(work, "body.dxf")
        centres = check_with_ezdxf(path, axes == 1, layers == 1, heights == 1)
        check_with_ogr(path, layers == 1)
        check_with_librecad(path, work)
        if axes == 1:
            check_prague(centres[0])
    for failure in failures:
        print("FAIL:", failure)
    print(f"variant {variant}: ezdxf, ogrinfo, dxf2pdf{', gdaltransform' if axes else ''}: {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
