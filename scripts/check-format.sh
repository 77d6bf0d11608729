#!/usr/bin/env bash
# Fails when a tracked C++ source differs from what clang-format makes of it.
# `clang-format -i FILE` fixes one; ctest runs this as the test "format".
set -euo pipefail
cd "$(dirname "$0")/.."
if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    echo "not a git checkout: nothing to check"
    exit 77
fi
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
