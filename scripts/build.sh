#!/usr/bin/env bash
# Configures and builds the presets: win32 (the shipped program), native (window-free code
# under the sanitizers, fuzzers) and, where this machine's Wine cannot run 32-bit code,
# win64 for the tests.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$PARLEVO_ROOT"
jobs=$(nproc)
presets=(win32 native)
if [ "$PARLEVO_WIN_PRESET" != win32 ]; then presets+=("$PARLEVO_WIN_PRESET"); fi
for p in "${presets[@]}"; do
    # A configure that stopped half-way (a compiler not yet installed) leaves a cache but no
    # build files: configure again then.
    if [ ! -f "build/$p/CMakeCache.txt" ] || [ ! -f "build/$p/Makefile" ]; then
        cmake --preset "$p" >/dev/null
    fi
    cmake --build "build/$p" -j "$jobs"
done
