#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need (Qt 6
# Widgets, WebEngine for web pages in the preview, Multimedia for audio and
# video, libcdio with paranoia for audio CDs, Qt's Chinese translations for its
# own dialogs, chromium for the tests of the generated web pages), and ripgrep, the measure the disc-file search benchmark (bench/bench_search.cpp)
# is compared with. Does nothing when all of them are present.
set -euo pipefail

# Wanted, not needed: clang and its libFuzzer runtime for the fuzz runs of
# ./test.sh, installed when Debian has them; without them those runs are skipped.
OPTIONAL=(clang libclang-rt-dev)

PACKAGES=(
  g++ cmake make pkg-config clang-format git
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev
  qt6-webengine-dev qt6-multimedia-dev qt6-translations-l10n
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav pulseaudio pulseaudio-utils
  libcdio-dev libcdio-paranoia-dev
  chromium
  fonts-arphic-uming fonts-noto-cjk
  ripgrep
)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

missing=()
for p in "${PACKAGES[@]}"; do
  if ! installed "$p"; then missing+=("$p"); fi
done
optional=()
for p in "${OPTIONAL[@]}"; do
  if ! installed "$p"; then optional+=("$p"); fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ((${#optional[@]})) && ! ((${#missing[@]})); then $SUDO apt-get update -qq || true; fi
available=()
for p in "${optional[@]}"; do
  if apt-cache policy "$p" 2>/dev/null | grep -q "Candidate: [^(]"; then available+=("$p"); fi
done
if ((${#available[@]})); then
  echo "Installing (for the fuzz runs): ${available[*]}"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${available[@]}" || echo "Could not install ${available[*]}: the libFuzzer runs will be skipped"
elif ((${#optional[@]})); then
  echo "Not in the package lists: ${optional[*]}: the libFuzzer runs will be skipped"
fi
