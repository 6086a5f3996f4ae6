#!/usr/bin/python3
"""Draws one text list with `tarvo-cli dxf` in one variant of the drawing's options
and has independent readers take it: ezdxf audits it and finds its layers and the
first point's cross, GDAL's ogrinfo reads the layers, LibreCAD's dxf2pdf renders a
page with ink on it. In EPSG:5514 axes gdaltransform must put that point in Prague.

The variant "million" draws measured data instead (EXAMPLE, an NTS-350 job) with the
million added and in EPSG:5514 axes: every point must lie in the Czech Republic and
agree with the job's coordinate list (.asc) to the millimetre.

Usage: dxf_readers_check.py TARVO_CLI VARIANT (default, epsg, layers, 3d or all)
       dxf_readers_check.py TARVO_CLI million EXAMPLE
Exit 77 (skipped) when a reader is not installed (tools/install-deps installs them)."""

import os
import shutil
import subprocess
import sys
import tempfile

READERS = {"ogrinfo": "gdal-bin", "gdaltransform": "gdal-bin", "librecad": "librecad", "pdftoppm": "poppler-utils"}
missing = [f"{tool} ({package})" for tool, package in READERS.items() if shutil.which(tool) is None]
try:
    import ezdxf
except ImportError:
    missing.append("ezdxf (python3-ezdxf)")
if missing:
    print(f"SKIP: DXF readers missing: {', '.join(missing)}; install them with tools/install-deps")
    sys.exit(77)

VARIANTS = {"default": (0, 0, 0), "epsg": (1, 0, 0), "layers": (0, 1, 0), "3d": (0, 0, 1), "all": (1, 1, 1)}
# Name, Y, X, height and code; P1 lies in Prague (14.420 E, 50.087 N).
LIST = "P1 742888 1043086 250.5 mezník\r\nP2 742900 1043100 251.25 Mezník \r\nP3 742870 1043120\r\n" \
       "P4 742850 1043060 249.2 žlutý plot\r\n"
LAYERS = {"MEZNIK", "BEZ_KODU", "ZLUTY_PLOT"}
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(command, **options):
    return subprocess.run(command, capture_output=True, text=True, timeout=90, **options)


def check_million(cli, example):
    """The drawing of measured data with the million, against the job's .asc."""
    with tempfile.TemporaryDirectory() as work:
        env = dict(os.environ, HOME=work, XDG_CONFIG_HOME=os.path.join(work, "config"), XDG_RUNTIME_DIR=work)
        job = shutil.copyfile(example, os.path.join(work, "job.sdt"))
        common = ["--set", "Flag=0", "--set", "DeviceType=0", "--million"]
        check(run([cli, "convert", *common, job], env=env).returncode == 0, "tarvo-cli convert failed")
        drawn = run([cli, "dxf", *common, "--set", "DXF_Axes=1", job], env=env)
        check(drawn.returncode == 0 and "S-JTSK" not in drawn.stderr, f"tarvo-cli dxf: {drawn.stderr.strip()}")
        with open(os.path.join(work, "job.asc"), encoding="cp1250") as file:
            listed = sorted((float(f[1]), float(f[2])) for f in map(str.split, file) if len(f) >= 3)  # Y, X
        # The level arm of a point's cross runs through the point; EPSG:5514 axes: x = -Y, y = -X.
        centres = [((e.dxf.start[0] + e.dxf.end[0]) / 2, e.dxf.start[1]) for e in ezdxf.readfile(
            os.path.join(work, "job.dxf")).modelspace() if e.dxftype() == "LINE" and e.dxf.start[1] == e.dxf.end[1]]
        drawn_points = sorted((-x, -y) for x, y in centres)
        check(len(listed) > 0 and len(drawn_points) == len(listed) and all(
            abs(a - b) < 0.0005 for p, q in zip(drawn_points, listed) for a, b in zip(p, q)),
            f"drawing {drawn_points} against the .asc {listed}")
        moved = run(["gdaltransform", "-s_srs", "EPSG:5514", "-t_srs", "EPSG:4326"],
                    input="".join(f"{x} {y}\n" for x, y in centres))
        places = [tuple(map(float, line.split()[:2])) for line in moved.stdout.splitlines() if line.strip()]
        check(len(places) == len(centres) and all(12.09 < e < 18.86 and 48.55 < n < 51.06 for e, n in places),
              f"gdaltransform: points at {places}, not in the Czech Republic")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


def main():
    if len(sys.argv) == 4 and sys.argv[2] == "million":
        return check_million(sys.argv[1], sys.argv[3])
    if len(sys.argv) != 3 or sys.argv[2] not in VARIANTS:
        print(__doc__)
        return 2
    cli, variant = sys.argv[1], sys.argv[2]
    axes, layers, heights = VARIANTS[variant]
    with tempfile.TemporaryDirectory() as work:
        env = dict(os.environ, HOME=work, XDG_CONFIG_HOME=os.path.join(work, "config"), XDG_RUNTIME_DIR=work)
        with open(os.path.join(work, "body.txt"), "w", encoding="cp1250", newline="") as file:
            file.write(LIST)
        drawn = run([cli, "dxf", "--set", "Flag=0", "--set", f"DXF_Axes={axes}", "--set", f"DXF_Layers={layers}",
                     "--set", f"DXF_3D={heights}", os.path.join(work, "body.txt")], env=env)
        check(drawn.stderr.strip() == "Vykresleno: 4 body. Zapsáno: body.dxf.", f"tarvo-cli: {drawn.stderr.strip()}")
        path = os.path.join(work, "body.dxf")
        expected_layers = LAYERS if layers else {"0"}

        doc = ezdxf.readfile(path)
        auditor = doc.audit()
        check(not auditor.has_errors, f"ezdxf: audit errors: {[e.message for e in auditor.errors]}")
        used = {entity.dxf.layer for entity in doc.modelspace()}
        check(used == expected_layers, f"ezdxf: layers {used}")
        if layers:
            colours = [layer.dxf.color for layer in doc.layers if layer.dxf.name in LAYERS]
            check(len(colours) == 3 and all(0 < c < 256 and c != 7 for c in colours), f"ezdxf: colours {colours}")
        arm = next(entity for entity in doc.modelspace() if entity.dxftype() == "LINE")
        centre = ((arm.dxf.start[0] + arm.dxf.end[0]) / 2, arm.dxf.start[1], arm.dxf.start[2])
        expected = (-742888.0, -1043086.0) if axes else (742888.0, 1043086.0)
        check(centre == (*expected, 250.5 if heights else 0.0), f"ezdxf: P1 drawn at {centre}")

        listing = run(["ogrinfo", "-ro", "-al", "-q", path])
        read = {line.split("=", 1)[1].strip() for line in listing.stdout.splitlines() if "Layer (String)" in line}
        check(read == expected_layers, f"ogrinfo: layers {read} ({listing.stderr.strip()})")

        rendered = run(["librecad", "dxf2pdf", "-a", "-t", work, path], env=dict(env, QT_QPA_PLATFORM="offscreen"))
        page = run(["pdftoppm", "-gray", "-r", "50", "-singlefile", os.path.join(work, "body.pdf"),
                    os.path.join(work, "page")])
        if page.returncode != 0:
            failures.append(f"librecad dxf2pdf made no page: {rendered.stderr.strip()} {page.stderr.strip()}")
        else:
            with open(os.path.join(work, "page.pgm"), "rb") as file:
                pixels = file.read().split(maxsplit=4)[4]  # P5, width, height, maximum, pixels
            ink = sum(1 for value in pixels if value < 200)
            check(ink > 100, f"librecad: the rendered page is blank ({ink} dark pixels)")

        if axes:
            moved = run(["gdaltransform", "-s_srs", "EPSG:5514", "-t_srs", "EPSG:4326"], input=f"{centre[0]} {centre[1]}")
            east, north = (float(value) for value in (moved.stdout.split() or ["nan", "nan"])[:2])
            check(abs(east - 14.420) < 5e-4 and abs(north - 50.087) < 5e-4, f"gdaltransform: P1 at {east} E, {north} N")
    for failure in failures:
        print("FAIL:", failure)
    print(f"variant {variant}: {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
