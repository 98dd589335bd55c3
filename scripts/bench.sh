#!/usr/bin/env bash
# Builds the optimised native benchmarks and runs each one; then, where a Windows build is
# configured, builds its timing programs and runs them under Wine.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$PARLEVO_ROOT"
jobs=$(nproc)

if [ ! -f build/bench/CMakeCache.txt ]; then
    cmake --preset bench >/dev/null
fi
cmake --build build/bench -j "$jobs"
while IFS= read -r exe; do
    echo "== $exe =="
    "$exe" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done < <(find build/bench/bench -type f -perm -u+x | sort)

win="build/$PARLEVO_WIN_PRESET"
if [ -f "$win/CMakeCache.txt" ]; then
    cmake --build "$win" -j "$jobs" --target lngtime
    parlevo_wine_prefix
    for exe in "$win"/bench/*.exe; do
        [ -f "$exe" ] || continue
        echo "== $exe (Wine, $PARLEVO_WIN_PRESET) =="
        "$PARLEVO_WINE" "$exe"
    done
fi
