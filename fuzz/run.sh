#!/usr/bin/env bash
# Runs fuzz targets of a build made with -DTARVIN_FUZZ=ON, one after another:
#   fuzz/run.sh BUILD_DIR SECONDS [TARGET...]     (targets: roundtrip pe merge)
# Each starts from its growing corpus (BUILD_DIR/fuzz/corpus/TARGET), the
# seeds and every earlier finding (fuzz/regressions/TARGET, run again each
# time); what it learns stays in the corpus for the next run. A finding is
# kept in BUILD_DIR/fuzz/findings/ and fails the run: once fixed, copy it
# into fuzz/regressions/TARGET.
set -euo pipefail

build=$(cd "$1" && pwd)
seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(roundtrip pe merge)

regressions=$(cd "$(dirname "$0")" && pwd)/regressions
dir="$build/fuzz"
mkdir -p "$dir/findings"
status=0
for t in "${targets[@]}"; do
  mkdir -p "$dir/corpus/$t"
  log="$dir/$t.log"
  extra=()
  [ -d "$regressions/$t" ] && extra+=("$regressions/$t")
  echo "fuzz $t: ${seconds}s, log $log"
  if "$dir/fuzz_$t" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$dir/findings/$t-" \
      "$dir/corpus/$t" "$dir/seeds/$t" "${extra[@]}" >"$log" 2>&1; then
    grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true
  else
    status=1
    echo "fuzz $t FOUND A PROBLEM:"
    tail -n 40 "$log"
  fi
done
exit $status
