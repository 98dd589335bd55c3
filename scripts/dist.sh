#!/usr/bin/env bash
# Makes the release package from a Windows build: the zip for translators and the NSIS setup
# program, both from one staged folder so that they hold the same files.
#
#   scripts/dist.sh [--arch win32|win64] [--bin DIR] [--out DIR]
#
# Defaults: --arch win32 (the shipped program), --bin build/<arch>, --out build/dist.
# win32 gives Parlevo-<version>-win32.zip and Parlevo-<version>-setup.exe; win64 gives
# Parlevo-<version>-win64.zip and Parlevo-<version>-win64-setup.exe, which only the tests use
# (they run where 32-bit Wine cannot).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

arch=win32
bin=""
out=""
while [ $# -gt 0 ]; do
    case "$1" in
    --arch) arch=${2:?}; shift 2 ;;
    --bin) bin=${2:?}; shift 2 ;;
    --out) out=${2:?}; shift 2 ;;
    *) echo "dist: unknown argument $1" >&2; exit 2 ;;
    esac
done
case "$arch" in
win32) setup_suffix=setup; nsis_defines=() ;;
win64) setup_suffix=win64-setup; nsis_defines=(-DWIN64) ;;
*) echo "dist: --arch is win32 or win64" >&2; exit 2 ;;
esac
bin=$(cd "${bin:-$root/build/$arch}" && pwd)
out=${out:-$root/build/dist}

version=$(sed -n 's/^project(Parlevo VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
if [ -z "$version" ]; then
    echo "dist: no version in CMakeLists.txt" >&2
    exit 1
fi
for f in "$bin/Parlevo.exe" "$bin/Lumivex.dll" "$root/samples/de.lng" "$root/dist/README-users.txt"; do
    if [ ! -f "$f" ]; then
        echo "dist: $f is missing" >&2
        exit 1
    fi
done
for tool in zip makensis; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "dist: $tool is not installed (scripts/install-deps.sh installs it)" >&2
        exit 1
    fi
done

name=Parlevo-$version
stage=$(mktemp -d "${TMPDIR:-/tmp}/parlevo-dist.XXXXXX")
trap 'rm -rf "$stage"' EXIT
pkg=$stage/$name
mkdir -p "$pkg/Samples" "$out"
out=$(cd "$out" && pwd)
cp "$bin/Parlevo.exe" "$pkg/"
cp "$bin/Lumivex.dll" "$root/samples/de.lng" "$pkg/Samples/"
# Notepad before Windows 10 shows a file with bare LF line ends as one long line.
sed "s/@VERSION@/$version/g; s/\r\$//; s/\$/\r/" "$root/dist/README-users.txt" > "$pkg/README.txt"

# The same inputs give the same zip: fixed times (the last commit's, or SOURCE_DATE_EPOCH),
# no Unix extra fields, no directory entries.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)}
find "$pkg" -exec touch -h -d "@$epoch" {} +

zipfile=$out/$name-$arch.zip
rm -f "$zipfile" "$zipfile.tmp"
(cd "$stage" && LC_ALL=C zip -q -X -D -9 -r "$zipfile.tmp" "$name")
mv "$zipfile.tmp" "$zipfile"

setup=$out/$name-$setup_suffix.exe
rm -f "$setup"
makensis -V2 -WX -INPUTCHARSET UTF8 "${nsis_defines[@]}" \
    "-DVERSION=$version" "-DSTAGEDIR=$pkg" "-DOUTFILE=$setup" "$root/dist/parlevo.nsi"

echo "dist: $zipfile"
echo "dist: $setup"
