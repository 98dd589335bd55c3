#!/usr/bin/env bash
# Builds and runs every benchmark: the optimised native ones (Google Benchmark) and the timing
# programs that run under Wine; then prints one table of all their figures, which is also
# written to build/bench-results/table.md.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$PARLEVO_ROOT"
jobs=$(nproc)
results=build/bench-results
rm -rf "$results"
mkdir -p "$results"

if [ ! -f build/bench/CMakeCache.txt ] || [ ! -f build/bench/Makefile ]; then
    cmake --preset bench >/dev/null
fi
cmake --build build/bench -j "$jobs"
while IFS= read -r exe; do
    echo "== $exe =="
    # Repetitions interleaved at random, so that a slow spell of this shared machine does not
    # fall on one side of a comparison only.
    "$exe" --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true \
        --benchmark_report_aggregates_only=true \
        --benchmark_out="$results/$(basename "$exe").json" --benchmark_out_format=json
done < <(find build/bench/bench -type f -perm -u+x | sort)

win="build/$PARLEVO_WIN_PRESET"
if [ ! -f "$win/CMakeCache.txt" ] || [ ! -f "$win/Makefile" ]; then
    cmake --preset "$PARLEVO_WIN_PRESET" >/dev/null
fi
cmake --build "$win" -j "$jobs" --target Parlevo winbench
parlevo_display
parlevo_wine_prefix
# A persistent server, warmed once: what a user's session has.
"$PARLEVO_WINESERVER" -p 2>/dev/null || true
timeout 120 "$PARLEVO_WINE" cmd /c exit >/dev/null 2>&1 || true
for prog in lngtime journaltime catbench appbench killsave killjournal; do
    echo "== $win/bench/$prog.exe (Wine, $PARLEVO_WIN_PRESET) =="
    "$PARLEVO_WINE" "$win/bench/$prog.exe" 2>"$results/$prog.err" | tee "$results/$prog.txt"
done
"$PARLEVO_WINESERVER" -k 2>/dev/null || true
parlevo_display_stop

echo
python3 tools/benchtable.py "$results" | tee "$results/table.md"
