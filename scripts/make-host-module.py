#!/usr/bin/env python3
"""Builds a small Windows executable that carries a language text as the
resource of type Tarvin, name Tarvin, with a real toolchain:

  make-host-module.py TEXTFILE OUT.exe [--arch x86_64|i686] [--linker gnu|lld]
                      [--dll] [--type TYPE] [--name NAME] [--lang ID]
                      [--add TYPE NAME LANG FILE]...

The resources are written as a .res file, not an .rc script, because the
resource compilers upper-case names given in an .rc file. A TYPE or NAME of
the form #N is the ordinal N. TEXTFILE may be '-' for no main resource.

gnu: binutils-mingw-w64 (windres -J res -O coff, as, ld -s --no-insert-timestamp).
lld: lld-link /Brepro, with the stub assembled by llvm-mc (or mingw as).
The output is byte-reproducible. Other scripts may import build_module().
"""
import argparse
import os
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile

STUB = """\t.text
\t.globl start
\t.globl _start
start:
_start:
\txorl %eax, %eax
\tret
"""

MACHINE = {"x86_64": ("x86_64-w64-mingw32", "x64", "x86_64-pc-windows-msvc"),
           "i686": ("i686-w64-mingw32", "x86", "i686-pc-windows-msvc")}


def _res_id(value):
    """A type or name field of a .res header: a UTF-16 string or an ordinal."""
    if value.startswith("#"):
        return struct.pack("<HH", 0xFFFF, int(value[1:]))
    return value.encode("utf-16-le") + b"\0\0"


def _res_entry(rtype, name, lang, data):
    ids = _res_id(rtype) + _res_id(name)
    ids += b"\0" * (-len(ids) % 4)
    tail = struct.pack("<IHHII", 0, 0x1030, lang, 0, 0)
    header = struct.pack("<II", len(data), 8 + len(ids) + len(tail)) + ids + tail
    return header + data + b"\0" * (-len(data) % 4)


def res_bytes(resources):
    """A 32-bit .res file holding (type, name, lang, data) tuples in order."""
    out = _res_entry("#0", "#0", 0, b"")
    for rtype, name, lang, data in resources:
        out += _res_entry(rtype, name, lang, data)
    return out


def _run(cmd):
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL)


def build_module(resources, out, arch="x86_64", linker="gnu", dll=False):
    """Links a stub executable carrying resources [(type, name, lang, bytes)]."""
    prefix, machine, triple = MACHINE[arch]
    out = pathlib.Path(out)
    with tempfile.TemporaryDirectory(prefix="hostmod.") as tmp:
        tmp = pathlib.Path(tmp)
        (tmp / "tarvin.res").write_bytes(res_bytes(resources))
        (tmp / "stub.s").write_text(STUB)
        partial = tmp / "out.exe"
        if linker == "gnu":
            _run([prefix + "-as", "-o", str(tmp / "stub.o"), str(tmp / "stub.s")])
            _run([prefix + "-windres", "-J", "res", "-O", "coff",
                  "-i", str(tmp / "tarvin.res"), "-o", str(tmp / "res.o")])
            _run([prefix + "-ld", "-s", "--no-insert-timestamp", "-e", "start",
                  *(["--dll"] if dll else []),
                  "-o", str(partial), str(tmp / "stub.o"), str(tmp / "res.o")])
        elif linker == "lld":
            mc = shutil.which("llvm-mc") or shutil.which("llvm-mc-14")
            if mc:
                _run([mc, "-triple", triple, "-filetype=obj",
                      "-o", str(tmp / "stub.o"), str(tmp / "stub.s")])
            else:
                _run([prefix + "-as", "-o", str(tmp / "stub.o"), str(tmp / "stub.s")])
            # The stub has no exception handlers to declare (/safeseh:no).
            _run(["lld-link", "/nologo", "/Brepro", "/entry:start", "/subsystem:console",
                  "/nodefaultlib", "/safeseh:no", "/machine:" + machine,
                  *(["/dll"] if dll else []),
                  "/out:" + str(partial), str(tmp / "stub.o"), str(tmp / "tarvin.res")])
        else:
            raise ValueError("unknown linker " + linker)
        # Readers running at the same time see the old file or the whole new one.
        staged = out.with_name(out.name + ".%d.tmp" % os.getpid())
        shutil.copyfile(partial, staged)
        os.replace(staged, out)


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("text", help="language text file, or - for no main resource")
    ap.add_argument("out")
    ap.add_argument("--arch", choices=sorted(MACHINE), default="x86_64")
    ap.add_argument("--linker", choices=["gnu", "lld"], default="gnu")
    ap.add_argument("--dll", action="store_true", help="link a library instead of a program")
    ap.add_argument("--type", default="Tarvin")
    ap.add_argument("--name", default="Tarvin")
    ap.add_argument("--lang", type=int, default=0)
    ap.add_argument("--add", nargs=4, action="append", default=[],
                    metavar=("TYPE", "NAME", "LANG", "FILE"))
    args = ap.parse_args(argv)
    resources = []
    if args.text != "-":
        resources.append((args.type, args.name, args.lang, pathlib.Path(args.text).read_bytes()))
    for rtype, name, lang, path in args.add:
        resources.append((rtype, name, int(lang), pathlib.Path(path).read_bytes()))
    build_module(resources, args.out, args.arch, args.linker, args.dll)


if __name__ == "__main__":
    main(sys.argv[1:])
