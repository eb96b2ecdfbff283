#!/usr/bin/env bash
# Checks a built Debian package of Bitglance: lintian finds neither an error nor a warning, the
# package holds every file a desktop needs, and its bitglance-cli, unpacked into a temporary root, renders a generated film with
# the system's ffmpeg and ffprobe.
#   packaging/check_package.sh build/bitglance_0.1_amd64.deb
set -euo pipefail

deb="$(realpath "$1")"
fail() { echo "check_package: $*" >&2; exit 1; }

echo "check_package: lintian $deb"
lintian --fail-on error,warning --info --display-level ">=warning" --show-overrides "$deb"

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root/root"

for file in usr/bin/bitglance usr/bin/bitglance-cli \
  usr/share/applications/bitglance.desktop \
  usr/share/icons/hicolor/scalable/apps/bitglance.svg \
  usr/share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256,512x512}/apps/bitglance.png \
  usr/share/man/man1/bitglance.1.gz usr/share/man/man1/bitglance-cli.1.gz \
  usr/share/bash-completion/completions/bitglance-cli usr/share/bitglance/translations/bitglance_en.qm \
  usr/share/doc/bitglance/copyright usr/share/doc/bitglance/changelog.gz; do
  [ -e "$root/root/$file" ] || fail "the package lacks /$file"
done
metainfo=("$root"/root/usr/share/metainfo/*.metainfo.xml)
[ -f "${metainfo[0]}" ] || fail "the package lacks its metainfo in /usr/share/metainfo"
desktop-file-validate "$root/root/usr/share/applications/bitglance.desktop"
appstreamcli validate --no-net "${metainfo[@]}" >/dev/null || appstreamcli validate --no-net "${metainfo[@]}"
depends="$(dpkg-deb -f "$deb" Depends)"
for package in ffmpeg libqt6core6 libqt6widgets6; do
  [[ "$depends" == *"$package"* ]] || fail "Depends lacks $package: $depends"
done

# The unpacked program has no Tools folder of its own: it runs /usr/bin/ffmpeg and /usr/bin/ffprobe.
[ ! -e "$root/root/usr/share/bitglance/Tools" ] || fail "the package has a Tools folder"
mkdir "$root/film" "$root/out"
ffmpeg -v error -nostdin -f lavfi -i "testsrc2=s=640x360:r=25" -t 4 -c:v libx264 -pix_fmt yuv420p \
  "$root/film/Testfilm.mp4"
line="$(cd "$root/film" && LANGUAGE= LC_ALL= LC_MESSAGES= LANG=en_US.UTF-8 TMPDIR="$root" \
  "$root/root/usr/bin/bitglance-cli" render Testfilm.mp4 --seconds 2 --mbps 1 --out "$root/out")"
echo "check_package: $line"
[[ "$line" == *'"actualMbps":'* ]] || fail "the unpacked bitglance-cli rendered no comparison"
[[ "$line" == *'actually encoded'* ]] || fail "the unpacked bitglance-cli did not speak English under LANG=en_US.UTF-8"
[ -s "$root/out/original.png" ] && [ -s "$root/out/encoded.png" ] || fail "the render wrote no pictures"
[ -z "$(find "$root" -maxdepth 1 -name 'Bitglance-*')" ] || fail "the render left its work folder behind"
echo "check_package: $deb is fine"
