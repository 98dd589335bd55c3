#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Parlevo need.
# Idempotent: installs only what is missing; non-interactive.
set -euo pipefail

native_pkgs=(cmake make clang clang-format-14 libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev libgif-dev
             xvfb xauth xdotool imagemagick x11-utils python3 nsis zip)
cross_pkgs=(g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine64)
i386_pkgs=(wine32:i386)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${native_pkgs[@]}" "${cross_pkgs[@]}" "${i386_pkgs[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

# The real ImageMagick: some machines ship a stand-in 'convert' without 'import'.
if ! command -v import >/dev/null 2>&1; then
    case " ${missing[*]-} " in *" imagemagick "*) ;; *) missing+=(imagemagick) ;; esac
fi

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
