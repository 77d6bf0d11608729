#!/usr/bin/env bash
# `make bench`: Tarvin beside the machine's limit and beside the tools a
# translator would otherwise use, on equal content, all in one run, printed
# as one markdown table; then the in-process micro-benchmarks.
#
#   bench/run.sh BUILD_DIR
#
# BENCH_SIZES    corpus sizes in MB (default "2 20 100")
# BENCH_MICRO=0  skip the Google Benchmark part
# BENCH_TABLE    also write the table to this markdown file (make bench:
#                docs/bench.md, which the README links)
#
# Absolute times drift on a shared machine; the ratios in one run hold.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
sizes=${BENCH_SIZES:-"2 20 100"}
data=$build/bench-data
out=$build/bench-out
results=$out/results.tsv
trvx=$build/trvx
tools=$build/bench
lconvert=$(command -v lconvert || true)
[ -n "$lconvert" ] || lconvert=/usr/lib/qt6/bin/lconvert
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

need() {
    if [ ! -x "$1" ]; then
        echo "bench: $1 is missing; build the project first (make bench builds it)" >&2
        exit 1
    fi
}
need "$trvx"
need "$tools/gen_corpus"
need "$tools/count_marks"
for tool in hyperfine /usr/bin/time python3; do
    command -v "$tool" >/dev/null || { echo "bench: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done

mkdir -p "$data" "$out"
: >"$results"
started=$SECONDS

# ------------------------------------------------------------------ corpus
# Made once per size and generator; later runs reuse it.
stamp_of() {
    cat "$tools/gen_corpus" "$root/scripts/make-host-module.py" | sha1sum | cut -c1-12
}
stamp=$(stamp_of)
for size in $sizes; do
    base=$data/corpus-$size
    if [ "$(cat "$base.stamp" 2>/dev/null)" != "$stamp" ]; then
        echo "bench: generating the ${size} MB corpus" >&2
        "$tools/gen_corpus" "$data" "corpus-$size" "$size"
        # The corpus must be what the writer itself writes.
        "$trvx" fmt "$base.trvx" -o "$out/canonical.trvx"
        cmp -s "$base.trvx" "$out/canonical.trvx" ||
            { echo "bench: the generated corpus is not in the canonical layout" >&2; exit 1; }
        python3 "$root/scripts/make-host-module.py" "$base.trvx" "$base.exe" --lang 1031
        echo "$stamp" >"$base.stamp"
    fi
done

# ------------------------------------------------------------------ measuring
# measure TOOL SIZE COMMAND...: one run under /usr/bin/time for the peak RSS,
# which also warms the page cache, then hyperfine for the median. Slow tools
# get fewer runs, so the whole table stays within minutes. With OUT_FILE set,
# standard output goes to that file (as the peers write theirs), else it is
# discarded.
measure() {
    local tool=$1 size=$2
    shift 2
    local t0 t1 warm runs status=0
    t0=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$out/rss" "$@" >"${OUT_FILE:-/dev/null}" 2>"$out/stderr" || status=$?
    t1=$(date +%s%N)
    if [ "$status" -ne 0 ] && [ "${ALLOW_STATUS:-0}" != "$status" ]; then
        echo "bench: $tool failed at $size MB (exit $status):" >&2
        tail -n 5 "$out/stderr" >&2
        exit 1
    fi
    warm=$(((t1 - t0) / 1000000))
    if [ "$warm" -gt 4000 ]; then runs=3; elif [ "$warm" -gt 800 ]; then runs=5; else runs=10; fi
    hyperfine -N -i --style none --runs "$runs" --output="${OUT_FILE:-null}" \
        --export-json "$out/hf.json" -- "$*" >/dev/null
    python3 - "$out/hf.json" "$tool" "$size" "$(tail -n 1 "$out/rss")" "$runs" >>"$results" <<'EOF'
import json, sys
r = json.load(open(sys.argv[1]))["results"][0]
cpu = r["user"] + r["system"]
print("\t".join([sys.argv[2], sys.argv[3], "%.6f" % r["median"], "%.6f" % cpu, sys.argv[4], sys.argv[5]]))
EOF
    printf '  %-10s %4s MB  %s runs\n' "$tool" "$size" "$runs" >&2
}

# In-process figures of the editor: runs it three times, keeps each figure's
# median; the whole process is timed as "start".
measure_gui() {
    local size=$1 base=$data/corpus-$1
    local start_bench=$tools/tarvin_start_bench
    [ -x "$start_bench" ] || return 0
    measure start "$size" "$start_bench" "$base.trvx"
    # The newer base, of about the same size, as the reference beside it.
    measure start_ref "$size" "$start_bench" "$base.trvx" --reference "$base-new.trvx"
    : >"$out/gui.txt"
    # Figures of a few milliseconds need more runs for a steady median.
    local runs=3
    [ "$size" -gt 20 ] || runs=9
    for ((run = 0; run < runs; ++run)); do
        "$start_bench" "$base.trvx" --update "$base-new.trvx" --search "Nirgendwo" --expand \
            >>"$out/gui.txt"
        "$start_bench" "$base.trvx" --reference "$base-new.trvx" >>"$out/gui.txt"
    done
    python3 - "$out/gui.txt" "$size" >>"$results" <<'EOF'
import collections, statistics, sys
figures = collections.defaultdict(list)
for line in open(sys.argv[1]):
    name, ms = line.split()
    figures[name].append(float(ms) / 1000)
for name in ("update_to", "rebuild_trees", "search", "expand_all", "collapse_all",
             "open_with_reference"):
    if figures[name]:
        m = statistics.median(figures[name])
        print("\t".join([name, sys.argv[2], "%.6f" % m, "%.6f" % m, "0", str(len(figures[name]))]))
EOF
}

echo "bench: measuring (sizes: $sizes MB)" >&2
for size in $sizes; do
    base=$data/corpus-$size
    measure cat "$size" cat "$base.trvx"
    measure count "$size" "$tools/count_marks" "$base.trvx"
    OUT_FILE=$out/fmt.trvx measure fmt "$size" "$trvx" fmt "$base.trvx"
    # -o saves atomically: a temporary file, fsync, rename.
    measure fmt_o "$size" "$trvx" fmt "$base.trvx" -o "$out/fmt-o.trvx"
    measure dump "$size" "$trvx" dump "$base.trvx"
    OUT_FILE=$out/update.trvx measure update "$size" "$trvx" update "$base.trvx" "$base-new.trvx"
    OUT_FILE=$out/extract.trvx measure extract "$size" "$trvx" extract "$base.exe"
    # Exit status 1 means it found errors, which the generated texts hold.
    ALLOW_STATUS=1 measure check "$size" "$trvx" check "$base.trvx"
    # To and from CAT tools; the import brings back the untouched export.
    for format in xlf po; do
        measure "export_$format" "$size" "$trvx" export "$base.trvx" -o "$out/export.$format"
        measure "import_$format" "$size" "$trvx" import "$base.trvx" "$out/export.$format" \
            -o "$out/import.trvx"
    done
    [ -x "$tools/json_roundtrip" ] &&
        measure rapidjson "$size" "$tools/json_roundtrip" "$base.json" "$out/out.json"
    command -v msgcat >/dev/null && measure msgcat "$size" msgcat "$base.po" -o "$out/out.po"
    [ -x "$lconvert" ] && measure lconvert "$size" "$lconvert" -i "$base.ts" -o "$out/out.ts"
    measure_gui "$size"
    rm -f "$out"/fmt.trvx "$out"/fmt-o.trvx "$out"/update.trvx "$out"/extract.trvx "$out"/out.* \
        "$out"/export.* "$out"/import.trvx
done

sizes_bytes=()
for size in $sizes; do
    sizes_bytes+=("$size=$(stat -c %s "$data/corpus-$size.trvx")")
    sizes_bytes+=("${size}new=$(stat -c %s "$data/corpus-$size-new.trvx")")
done
{
    python3 "$root/bench/report.py" "$results" "${sizes_bytes[@]}"
    echo
    echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load average $(cut -d' ' -f1-3 /proc/loadavg); table in $((SECONDS - started)) s."
} >"$out/table.md"
cat "$out/table.md"
if [ -n "${BENCH_TABLE:-}" ]; then
    {
        printf '# Benchmark results\n\n'
        printf 'Written by `make bench` (`bench/run.sh` with `BENCH_TABLE`); the columns are\n'
        printf "explained in the README's Performance section.\n\n"
        cat "$out/table.md"
    } >"$BENCH_TABLE"
fi

# ------------------------------------------------------------------ micro
if [ "${BENCH_MICRO:-1}" != 0 ] && [ -x "$tools/trvx_bench" ]; then
    echo
    echo "Micro-benchmarks (Google Benchmark):"
    "$tools/trvx_bench" --benchmark_min_time=0.2 \
        --benchmark_filter='^BM_(LoadFromText|LoadQuoted|SaveToText|IndexOfChild|ToUtf8|FromUtf8|Upper|UpdateTo|PruneRemoved|SearchNotFound|HugeValueLine)(/|$)'
fi
if [ "${BENCH_MICRO:-1}" != 0 ] && [ -x "$tools/tarvin_ui_bench" ]; then
    # Target: under 200 ms over 1,000,000 values.
    "$tools/tarvin_ui_bench" --benchmark_min_time=0.2 --benchmark_filter='^BM_NextUntranslated' 2>&1 |
        grep -v QBasicTimer
fi
