#!/usr/bin/env bash
# Builds Bitglance into build/ on Debian 12, installing what is missing first.
#   ./build.sh            build
#   ./build.sh test       build, then run every test
#   ./build.sh run [FILM] build, then start Bitglance (on a generated sample film without FILM)
#   ./build.sh package    build, then make build/bitglance_<version>_amd64.deb and check it
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$here/build"
mode="${1:-build}"

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-l10n-tools libgl-dev qt6-qpa-plugins qt6-translations-l10n
  ffmpeg libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  fonts-dejavu-core adwaita-icon-theme
  xvfb xauth x11-utils imagemagick
  man-db desktop-file-utils appstream
)
# Only for making and checking the Debian package.
package_tools=(dpkg-dev file lintian)

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "build.sh: installing ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "build.sh: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

lay_out_tools() {
  local tools="$build/share/bitglance/Tools"
  mkdir -p "$tools"
  for t in ffmpeg ffprobe; do
    local found
    found="$(command -v "$t")" || { echo "build.sh: $t not found after installing ffmpeg" >&2; exit 1; }
    ln -sfn "$found" "$tools/$t"
  done
}

configure_and_build() {
  local generator=()
  if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null; then generator=(-G Ninja); fi
  cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" --parallel "$(nproc)"
  lay_out_tools
}

if [ "$mode" = package ]; then
  install_missing "${packages[@]}" "${package_tools[@]}"
else
  install_missing "${packages[@]}"
fi
configure_and_build

case "$mode" in
  build) ;;
  test)
    export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
    ctest --test-dir "$build" --output-on-failure --timeout 600 -j "$(nproc)"
    ;;
  run)
    film="${2:-}"
    if [ -z "$film" ]; then
      film="$build/sample/Beispielfilm.mp4"
      if [ ! -f "$film" ]; then
        mkdir -p "$(dirname "$film")"
        echo "build.sh: generating a sample film at $film"
        # Eight seconds of 1080p with fine detail, motion, gradients and noise: compression shows.
        ffmpeg -v error -nostdin -y \
          -f lavfi -i "mandelbrot=s=1920x1080:r=25,format=yuv420p" \
          -f lavfi -i "testsrc2=s=1920x1080:r=25" \
          -f lavfi -i "sine=frequency=440:sample_rate=48000" \
          -filter_complex "[0:v]noise=alls=4:allf=t[a];[1:v]format=yuv420p,scale=640:360[b];[a][b]overlay=x='mod(t*180,1280)':y=(H-h)/2,format=yuv420p[v]" \
          -map "[v]" -map 2:a -t 8 -c:v libx264 -preset veryfast -crf 20 -c:a aac "$film"
      fi
    fi
    if [ -x "$build/bin/bitglance" ]; then
      exec "$build/bin/bitglance" "$film"
    else
      exec "$build/bin/bitglance-cli" render "$film" --seconds 4 --mbps 1,4 --out "$build/sample"
    fi
    ;;
  package)
    rm -f "$build"/bitglance_*.deb
    cpack --config "$build/CPackConfig.cmake" -B "$build"
    "$here/packaging/check_package.sh" "$build"/bitglance_*_*.deb
    ;;
  *)
    echo "usage: ./build.sh [test | run [FILM] | package]" >&2
    exit 2
    ;;
esac
