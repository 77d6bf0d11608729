#!/usr/bin/env python3
"""Writes the starting inputs of the fuzz targets into OUTDIR/<target>/:
  roundtrip: the example and fixture language files;
  pe:        the host modules the PE tests use, linked by the real toolchain;
  merge:     pairs of those files in the merge target's text form, and a few
             programs in its built form.
OUTDIR/stamp is written last."""
import pathlib
import shutil
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parents[1]


def language_files():
    files = sorted((ROOT / "examples").glob("*.trvx")) + sorted((ROOT / "tests" / "fixtures").glob("*.trvx"))
    return [f for f in files if f.is_file()]


def main(outdir):
    outdir = pathlib.Path(outdir)
    (outdir / "stamp").unlink(missing_ok=True)
    for target in ("roundtrip", "pe", "merge"):
        shutil.rmtree(outdir / target, ignore_errors=True)
        (outdir / target).mkdir(parents=True)

    texts = language_files()
    for f in texts:
        shutil.copyfile(f, outdir / "roundtrip" / f.name)

    subprocess.run([sys.executable, str(ROOT / "tests" / "fixtures" / "make_pe_fixtures.py"),
                    str(outdir / "pe")], check=True)
    (outdir / "pe" / "stamp").unlink(missing_ok=True)

    # Text form: code page byte (3: 1252, 1: 1250), base, NUL, open.
    for i, base in enumerate(texts):
        for j, open_ in enumerate(texts):
            if i != j:
                data = bytes([3 if (i + j) % 2 else 1]) + base.read_bytes() + b"\0" + open_.read_bytes()
                (outdir / "merge" / f"text-{base.stem}-{open_.stem}").write_bytes(data)
    # Built form: 0x83 (1252), base program, 0xFF, open program, 0xFF, strays.
    # Step bytes: low two bits 0 child, 1 up, 2 or 3 value; the rest picks a name.
    wide = bytes((n << 2) for n in range(20)) + bytes([1] * 20)
    nested = bytes([0, 2, 4, 6, 0x12, 0x16, 1, 1, 8, 10, 1, 0x40, 0x42])
    cased = bytes([0x10, 0x14, 1, 0x18, 0x1E, 1, 0x1C, 0x22, 1, 0x24, 0x26])
    for name, base, open_ in (("wide", wide, wide[5:] + nested), ("nested", nested, cased),
                              ("cased", cased, nested + wide)):
        data = b"\x83" + base + b"\xff" + open_ + b"\xff" + bytes(range(0, 40, 3))
        (outdir / "merge" / f"built-{name}").write_bytes(data)

    (outdir / "stamp").write_text("seeds\n")


if __name__ == "__main__":
    main(sys.argv[1])
