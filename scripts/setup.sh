#!/usr/bin/env bash
# Installs every Debian package the build, the tests and a real run need.
# Quick when everything is already there: it only calls apt-get when a package is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config python3
  qt6-base-dev qt6-base-dev-tools libgl-dev libqt6opengl6-dev
  liblzma-dev xz-utils
  libicu-dev
  libopencc-dev opencc
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic fonts-ipafont-mincho fontconfig
  xvfb xauth x11-utils
)
# Extra packages for optional work: --dict adds the lexicons the dictionary generator reads,
# --fuzz the clang toolchain for the fuzz targets, --look the screenshot tools.
for arg in "$@"; do
  case "$arg" in
    --dict) packages+=(mecab-ipadic edict mecab mecab-ipadic-utf8 kakasi) ;;
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    --look) packages+=(imagemagick) ;;
    *) echo "setup.sh: unknown option $arg" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
