#!/usr/bin/env bash
# Times the scene scan and the bitrate finder through bitglance-cli on a generated 1080p film of
# 36 s (a test pattern; in the middle third fine, moving cell detail blended over it), against one
# normal comparison. The detail is hard for the encoder but, unlike random grain, rewards more bits,
# so the finder has a bitrate to find.
#
#   bench/scan_bench.sh            (BITGLANCE_BUILD=DIR to use another build folder than build/)
#
# Reports:
#  - one render: a fresh comparison (probe, cut, encode, measurement) of one scene, the cost a
#    user pays for each scene checked by hand;
#  - a 12-scene scan with one engine, its cost per scene against that render (the scan adds no
#    probe per scene, so about 1.0 is the expected figure), and with --jobs 2, its speed-up;
#  - a finder run (advise --ssim 0.98 over 12 scenes): the scan and the tries of its search, each
#    try rendering the three worst scenes (those rendered before come from the cache).
# x265's run-to-run spread and other load on the machine show in every figure.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BITGLANCE_BUILD:-$here/build}"
cli="$build/bin/bitglance-cli"
[ -x "$cli" ] || { echo "bench: build first (./build.sh)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
film="$work/film 1080p.mp4"
ffmpeg -v error -nostdin -y -f lavfi -i "testsrc2=s=1920x1080:r=25:d=36" \
  -f lavfi -i "cellauto=s=1920x1080:r=25:rule=110:random_fill_ratio=0.5" \
  -filter_complex "[0]format=yuv420p[a];[1]format=yuv420p[b];[a][b]blend=all_mode=average:enable='between(t,12,24)',format=yuv420p" \
  -t 36 -c:v libx264 -preset fast -crf 18 "$film"

calc() { awk "BEGIN { print $* }"; }
# Runs the front end and prints its wall time in seconds; its output goes to $work/out.json.
timed() {
  local t0 t1
  t0=$EPOCHREALTIME
  "$cli" "$@" > "$work/out.json" || echo "bench: bitglance-cli $1 failed" >&2
  t1=$EPOCHREALTIME
  calc "$t1 - $t0"
}

render=$(timed render "$film" --seconds 18 --mbps 2 --out "$work/render")
scan1=$(timed scan "$film" --mbps 2 --scenes 12)
worst=$(tail -n 1 "$work/out.json")
scan2=$(timed scan "$film" --mbps 2 --scenes 12 --jobs 2)
advise=$(timed advise "$film" --ssim 0.98 --scenes 12)
found=$(cat "$work/out.json")
tries=$({ grep -o '"mbps":[0-9.]*' <<< "$found" || true; } | tail -n +2 | wc -l)

printf 'film: 1920x1080, 36 s, 25 fps; %d cores\n' "$(nproc)"
printf '%-34s %8.1f s\n' "one render (fresh scene)" "$render"
printf '%-34s %8.1f s   %.1f s a scene = %.2f renders\n' "scan, 12 scenes, 1 engine" "$scan1" \
  "$(calc "$scan1 / 12")" "$(calc "$scan1 / 12 / $render")"
printf '%-34s %8.1f s   speed-up %.2fx\n' "scan, 12 scenes, --jobs 2" "$scan2" "$(calc "$scan1 / $scan2")"
printf '%-34s %8.1f s   %d tries, the scan at 2 Mbit/s among them = %.1f renders\n' "finder (advise --ssim 0.98)" \
  "$advise" "$tries" "$(calc "$advise / $render")"
echo "scan summary: $worst"
echo "finder: $found"
