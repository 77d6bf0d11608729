#!/usr/bin/env python3
"""Prints the whole-program table of bench/run.sh and checks the targets.

  report.py RESULTS.tsv SIZE=BYTES...

RESULTS.tsv: tool, size (MB), median wall seconds, CPU seconds (user +
system), peak RSS in KB (0: not measured), runs. Throughput is always in MB
of the equivalent .trvx file per second, whatever the tool reads.
"""
import collections
import sys

MB = 1024 * 1024

LABELS = collections.OrderedDict([
    ("cat", "limit: `cat FILE >/dev/null`"),
    ("count", "limit: count `{ } = \"` bytes"),
    ("fmt", "**`trvx fmt`** (read + write)"),
    ("fmt_o", "`trvx fmt -o` (atomic save, fsync)"),
    ("dump", "`trvx dump` > /dev/null"),
    ("update", "`trvx update` onto a newer base"),
    ("extract", "`trvx extract` from an .exe"),
    ("check", "`trvx check`"),
    ("export_xlf", "`trvx export` to XLIFF"),
    ("import_xlf", "`trvx import` of that XLIFF"),
    ("export_po", "`trvx export` to PO"),
    ("import_po", "`trvx import` of that PO"),
    ("rapidjson", "RapidJSON parse + write (.json)"),
    ("msgcat", "gettext `msgcat` (.po)"),
    ("lconvert", "Qt `lconvert` (.ts)"),
    ("start", "editor: start to first values shown"),
    ("update_to", "editor: Update To"),
    ("rebuild_trees", "editor: `RebuildTrees` after it"),
    ("search", "editor: failing value search"),
    ("expand_all", "editor: Expand All"),
    ("collapse_all", "editor: Collapse All after it"),
    ("start_ref", "editor: start with a reference open"),
    ("open_with_reference", "editor: open beside a reference"),
])
# Tools whose cost must grow linearly: Tarvin's own.
OURS = {"fmt", "fmt_o", "dump", "update", "extract", "check", "start", "update_to", "rebuild_trees",
        "search", "start_ref", "open_with_reference",
        "export_xlf", "import_xlf", "export_po", "import_po"}


def seconds(s):
    if s >= 1:
        return "%.2f s" % s
    if s >= 0.01:
        return "%.0f ms" % (s * 1000)
    return "%.1f ms" % (s * 1000)


def main():
    rows = {}
    for line in open(sys.argv[1]):
        tool, size, median, cpu, rss, runs = line.split("\t")
        rows[(tool, int(size))] = (float(median), float(cpu), int(rss), int(runs))
    pairs = [a.split("=") for a in sys.argv[2:]]
    file_bytes = {int(k): int(v) for k, v in pairs if not k.endswith("new")}
    # The newer base of each size, "SIZEnew=BYTES": the reference beside it.
    new_bytes = {int(k[:-3]): int(v) for k, v in pairs if k.endswith("new")}
    sizes = sorted(file_bytes)
    small, large = sizes[0], sizes[-1]

    def mb(size):
        return file_bytes[size] / MB

    print("| Tool | Size | Median | MB/s | CPU | Peak RSS (x file) | x fmt | Growth |")
    print("|---|---:|---:|---:|---:|---:|---:|---:|")
    for tool, label in LABELS.items():
        for size in sizes:
            if (tool, size) not in rows:
                continue
            median, cpu, rss, _ = rows[(tool, size)]
            rate = "%.0f" % (mb(size) / median) if median > 0 else "-"
            memory = "%.0f MB (%.1fx)" % (rss / 1024, rss * 1024 / file_bytes[size]) if rss else "-"
            fmt = rows.get(("fmt", size))
            ratio = "%.2fx" % (median / fmt[0]) if fmt else "-"
            growth = ""
            if size == large and large != small and (tool, small) in rows:
                g = (median / mb(large)) / (rows[(tool, small)][0] / mb(small))
                growth = "%.2fx" % g
            print("| %s | %d MB | %s | %s | %s | %s | %s | %s |" % (
                label if size == small else "", size, seconds(median), rate, seconds(cpu), memory,
                ratio, growth))

    print()
    print("Targets (same run):")

    def check(name, ok, detail):
        print("- %s: %s (%s)" % (name, "holds" if ok else "MISSED", detail))

    def get(tool, size):
        return rows.get((tool, size))

    fmt_large = get("fmt", large)
    if fmt_large:
        rate = mb(large) / fmt_large[0]
        check("`trvx fmt` >= 100 MB/s at %d MB" % large, rate >= 100, "%.0f MB/s" % rate)
        rss_ratio = fmt_large[2] * 1024 / file_bytes[large]
        check("`trvx fmt` peak RSS <= 2.5x the file", rss_ratio <= 2.5, "%.2fx" % rss_ratio)
    for tool, label in (("fmt", "`trvx fmt`"), ("fmt_o", "`trvx fmt -o` (fsync included)")):
        for size in sizes[1:] or sizes:
            ours, js = get(tool, size), get("rapidjson", size)
            if ours and js:
                check("%s >= 2x faster than RapidJSON at %d MB" % (label, size),
                      js[0] >= 2 * ours[0], "%.2fx" % (js[0] / ours[0]))
    if fmt_large:
        for tool, limit, op in (("update", 1.5, "<"), ("extract", 1.2, "<="),
                                ("check", 1.2, "<=")):
            r = get(tool, large)
            if r:
                ratio = r[0] / fmt_large[0]
                check("`trvx %s` %s %.1fx `trvx fmt` at %d MB" % (tool, op, limit, large),
                      ratio < limit if op == "<" else ratio <= limit, "%.2fx" % ratio)
    r = get("update", large)
    if r and r[2]:
        rss = r[2] * 1024 / file_bytes[large]
        check("`trvx update` peak RSS < 3x the file", rss < 3, "%.2fx" % rss)
    if fmt_large:
        for tool in ("export_xlf", "import_xlf", "export_po", "import_po"):
            r = get(tool, large)
            if r:
                ratio = r[0] / fmt_large[0]
                check("`%s` < 3x `trvx fmt` at %d MB" % (tool, large), ratio < 3, "%.2fx" % ratio)
                rss = r[2] * 1024 / file_bytes[large]
                check("`%s` peak RSS < 4x the file" % tool, rss < 4, "%.2fx" % rss)
    for tool in LABELS:
        if tool in OURS and get(tool, small) and get(tool, large) and large != small:
            g = (get(tool, large)[0] / mb(large)) / (get(tool, small)[0] / mb(small))
            check("growth of %s <= 1.5x" % tool, g <= 1.5, "%.2fx" % g)
    for size, limit in ((small, 0.5), (large, 3.0)):
        r = get("start", size)
        if r:
            check("editor start < %.1f s at %d MB" % (limit, size), r[0] < limit, seconds(r[0]))
    r = get("start", large)
    if r and r[2]:
        ratio = r[2] * 1024 / file_bytes[large]
        check("editor peak RSS < 5x the file at %d MB" % large, ratio < 5, "%.2fx" % ratio)
    for tool, label in (("expand_all", "Expand All"), ("collapse_all", "Collapse All")):
        r = get(tool, large)
        if r:
            check("editor %s < 1 s at %d MB" % (label, large), r[0] < 1.0, seconds(r[0]))
    r = get("open_with_reference", large)
    if r:
        check("editor open beside a reference < 3 s at %d MB" % large, r[0] < 3.0, seconds(r[0]))
    r = get("start_ref", large)
    if r and r[2] and large in new_bytes:
        ratio = r[2] * 1024 / (file_bytes[large] + new_bytes[large])
        check("editor peak RSS with a reference < 5x both files at %d MB" % large, ratio < 5,
              "%.2fx" % ratio)


if __name__ == "__main__":
    main()
