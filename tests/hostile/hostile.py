#!/usr/bin/env python3
"""Hostile and odd inputs for trvx: pipes, devices, endless streams, deep
trees, huge names. Each run is bounded in time (timeout) and memory
(prlimit), as a shared CI machine must be; every one must end in a clear
message or a bounded result and leave the files it was not asked to write.

    hostile.py CASE --trvx PATH [--no-memory-limit]
    hostile.py big --trvx PATH [--tarvin PATH]     (by hand: GiB and a million levels)

CASE is one of: pipes, devices, deep, reports. The inputs are generated
into a scratch folder; nothing large is kept.
"""
import argparse
import os
import stat
import subprocess
import sys
import tempfile

MIB = 1 << 20


def chain(levels, name="a"):
    return (name + " {\r\n") * levels + "}\r\n" * levels


class Runner:
    def __init__(self, trvx, memory_limit, folder):
        self.trvx = trvx
        self.memory_limit = memory_limit
        self.folder = folder
        self.failures = []

    def write(self, name, text):
        path = os.path.join(self.folder, name)
        with open(path, "w", newline="", encoding="latin-1") as f:
            f.write(text)
        return path

    def run(self, args, stdin=None, stdout=subprocess.PIPE, seconds=20, memory=512 * MIB):
        command = ["timeout", str(seconds)]
        if self.memory_limit:
            command += ["prlimit", "--as=%d" % memory]
        command += [self.trvx] + args
        with open(stdin or os.devnull, "rb") as source:
            result = subprocess.run(command, stdin=source, stdout=stdout, stderr=subprocess.PIPE,
                                    cwd=self.folder)
        return result.returncode, result.stdout or b"", result.stderr.decode("utf-8", "replace")

    def expect(self, label, args, rc, message="", stdin=None, max_output=None, **kw):
        code, out, err = self.run(args, stdin=stdin, **kw)
        problems = []
        if code == 124:
            problems.append("timed out")
        elif code not in (rc if isinstance(rc, tuple) else (rc,)):
            problems.append("exit status %d, not %s" % (code, rc))
        if message not in err:
            problems.append("no %r in its message" % message)
        if max_output is not None and len(out) > max_output:
            problems.append("%d bytes of output, more than %d" % (len(out), max_output))
        # fmt and extract write the file's own bytes; reports must escape.
        raw = args[0] in ("fmt", "extract")
        if "\x1b" in err or (not raw and b"\x1b" in out):
            problems.append("a raw escape character in its output")
        if problems:
            self.failures.append("%s: %s\n    stderr: %s" % (label, "; ".join(problems), err[:300]))
        return out


def case_pipes(r):
    """Opening a pipe blocks until someone writes to it: refused by name."""
    good = r.write("good.trvx", "A {\r\n  Caption = x\r\n}\r\n")
    fifo = os.path.join(r.folder, "pipe.trvx")
    os.mkfifo(fifo)
    os.mkfifo(os.path.join(r.folder, "pipe.exe"))
    pipe = "It is a named pipe, not a file"
    for args in (["fmt", "pipe.trvx"], ["dump", "pipe.trvx"], ["check", "pipe.trvx"],
                 ["stats", "pipe.trvx"], ["update", "good.trvx", "pipe.trvx"],
                 ["diff", "pipe.trvx", "good.trvx"]):
        r.expect(" ".join(args), args, 2 if args[0] == "diff" else 1, pipe)
    r.expect("fmt -o onto a pipe", ["fmt", "good.trvx", "-o", "pipe.trvx"], 1, pipe)
    if not stat.S_ISFIFO(os.stat(fifo).st_mode):
        r.failures.append("fmt -o replaced the pipe")
    r.expect("extract a pipe", ["extract", "pipe.exe"], 1, pipe)
    r.expect("fmt of a pipe module", ["fmt", "pipe.exe"], 1, pipe)
    # Standard input may well be a pipe.
    r.expect("fmt -", ["fmt", "-"], 0, stdin=good)


def case_devices(r):
    """Devices never end: refused; standard input ends at its first NUL."""
    good = r.write("good.trvx", "A {\r\n  Caption = x\r\n}\r\n")
    os.symlink("/dev/zero", os.path.join(r.folder, "zero.trvx"))
    os.symlink("/dev/urandom", os.path.join(r.folder, "random.trvx"))
    device = "It is a device, not a file"
    r.expect("dump a link to /dev/zero", ["dump", "zero.trvx"], 1, device)
    r.expect("update to /dev/urandom", ["update", "good.trvx", "random.trvx", "-o", "out.trvx"],
             1, device)
    if os.path.exists(os.path.join(r.folder, "out.trvx")):
        r.failures.append("update to /dev/urandom wrote out.trvx")
    # Random bytes may hold a surplus closing brace before their first NUL.
    for source, rc in (("/dev/zero", 0), ("/dev/urandom", (0, 1))):
        r.expect("fmt - <" + source, ["fmt", "-"], rc, stdin=source, max_output=64 * 1024,
                 memory=256 * MIB)
    # Writing to a character device is what /dev/null is for.
    r.expect("fmt -o /dev/null", ["fmt", good, "-o", "/dev/null"], 0)


def case_deep(r):
    """The writer flushes closing runs; a text that cannot be read back is refused."""
    r.write("deep.trvx", chain(20000))
    # 800 MB of indentation, written within a chunk of memory.
    r.expect("fmt of 20,000 levels", ["fmt", "deep.trvx"], 0, stdout=subprocess.DEVNULL,
             memory=256 * MIB, seconds=60)
    r.write("deeper.trvx", chain(100000))
    r.expect("fmt -o of 100,000 levels", ["fmt", "deeper.trvx", "-o", "out.trvx"], 1,
             "more than a language file may hold")
    r.expect("update -o of 100,000 levels",
             ["update", "deeper.trvx", "deeper.trvx", "-o", "out.trvx"], 1,
             "more than a language file may hold")
    if os.path.exists(os.path.join(r.folder, "out.trvx")):
        r.failures.append("a refused save left out.trvx")
    out = r.expect("check of 20,000 levels", ["check", "deep.trvx"], 0)
    if b"nested more than 1000 levels" not in out:
        r.failures.append("check does not warn about the depth")


def case_reports(r):
    """One finding or row quotes a bounded, escaped part of a name."""
    long_name = "x\x1b[2J" + "n" * 200000
    sections = "".join("S%d%s {\r\n}\r\n" % (i, long_name if i == 0 else "") for i in range(2000))
    r.write("sections.trvx", sections)
    r.expect("stats of a long section name", ["stats", "sections.trvx"], 0, max_output=400 * 1024)
    shortcuts = "".join("  %s%d {\r\n    Shortcut = Ctrl+O\r\n  }\r\n" % (long_name, i)
                        for i in range(20))
    r.write("shortcuts.trvx", "Form:f {\r\n" + shortcuts + "}\r\n")
    r.expect("check also used by", ["check", "shortcuts.trvx"], 0, max_output=64 * 1024)
    r.write("deep.trvx", chain(20000))
    r.write("flat.trvx", "b {\r\n}\r\n")
    r.expect("diff of 20,000 levels", ["diff", "flat.trvx", "deep.trvx"], 1,
             max_output=20000 * 400, memory=256 * MIB, seconds=60)
    code, _, err = r.run(["update", "flat.trvx", "deep.trvx", "--list", "--dry-run"],
                         memory=256 * MIB, seconds=60)
    if code != 0 or len(err) > 20000 * 400:
        r.failures.append("update --list of 20,000 levels: status %d, %d bytes" % (code, len(err)))


def case_big(r, tarvin):
    """By hand: a 1 GiB value line and a million levels, in trvx and the editor."""
    path = os.path.join(r.folder, "huge.trvx")
    with open(path, "wb") as f:
        f.write(b"A {\r\n  Caption = ")
        block = b"v" * (64 * MIB)
        for _ in range(16):
            f.write(block)
        f.write(b"\r\n}\r\n")
    r.expect("check of a 1 GiB line", ["check", "huge.trvx"], 0, max_output=64 * 1024,
             memory=8 << 30, seconds=300)
    r.write("million.trvx", chain(1000000))
    r.expect("fmt -o of a million levels", ["fmt", "million.trvx", "-o", "out.trvx"], 1,
             "more than a language file may hold", memory=2 << 30, seconds=120)
    r.expect("check of a million levels", ["check", "million.trvx"], 0,
             memory=2 << 30, seconds=120)
    if tarvin:
        # Still running when the time is up: it started and did not crash.
        for name in ("huge.trvx", "million.trvx"):
            code = subprocess.run(["timeout", "60", tarvin, name], cwd=r.folder,
                                  env=dict(os.environ, QT_QPA_PLATFORM="offscreen")).returncode
            if code != 124:
                r.failures.append("Tarvin %s ended with status %d" % (name, code))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=["pipes", "devices", "deep", "reports", "big"])
    parser.add_argument("--trvx", required=True)
    parser.add_argument("--tarvin")
    parser.add_argument("--no-memory-limit", action="store_true",
                        help="for sanitized builds, which reserve vast address space")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="trvx-hostile-") as folder:
        r = Runner(os.path.abspath(args.trvx), not args.no_memory_limit, folder)
        if args.case == "big":
            case_big(r, args.tarvin and os.path.abspath(args.tarvin))
        else:
            globals()["case_" + args.case](r)
    for failure in r.failures:
        print("FAIL " + failure)
    return 1 if r.failures else 0


if __name__ == "__main__":
    sys.exit(main())
