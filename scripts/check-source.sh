#!/usr/bin/env bash
# Checks the source before the tests run: every C++ file is formatted as .clang-format says,
# and every include goes down the folder order (see ARCHITECTURE.md).
set -uo pipefail
cd "$(dirname "$0")/.."

# Top to bottom; a folder includes itself, the folders below it, state/ and res/.
order=(app langfile view catalogue frame image)

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find app bench catalogue frame fuzz image langfile res state tests tools view \
        -name '*.cpp' -o -name '*.h' 2>/dev/null)
fi

rc=0
format=$(command -v clang-format-14 || command -v clang-format)
if [ -z "$format" ]; then
    echo "check-source: clang-format is missing (make deps installs it)" >&2
    exit 1
fi
unformatted=()
for f in "${files[@]}"; do
    [ -f "$f" ] || continue
    if ! "$format" --style=file --dry-run --Werror "$f" >/dev/null 2>&1; then unformatted+=("$f"); fi
done
if [ ${#unformatted[@]} -gt 0 ]; then
    echo "check-source: not formatted (run: $format -i FILE):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    rc=1
fi

rank() {
    local i
    for i in "${!order[@]}"; do [ "${order[$i]}" = "$1" ] && { echo "$i"; return; }; done
    echo -1
}
for f in "${files[@]}"; do
    folder=${f%%/*}
    [ "$folder" = "$f" ] && continue
    if [ "$folder" = state ]; then
        if grep -n '^#include "' "$f" | grep -v '#include "state/' >/dev/null; then
            echo "check-source: $f: state/ includes nothing of ours but itself" >&2
            rc=1
        fi
        continue
    fi
    own=$(rank "$folder")
    [ "$own" -lt 0 ] && continue
    while IFS= read -r line; do
        target=$(sed -n 's/^#include "\([a-z]*\)\/.*/\1/p' <<<"$line")
        [ -z "$target" ] && continue
        case "$target" in state | res) continue ;; esac
        other=$(rank "$target")
        if [ "$other" -lt "$own" ]; then
            echo "check-source: $f includes $target/, a folder above $folder/: $line" >&2
            rc=1
        fi
    done < <(grep '^#include "' "$f")
done
exit $rc
