#!/usr/bin/env bash
# Times the scene scan and the bitrate finder through bitglance-cli on a generated 1080p film of
# 36 s (a test pattern; in the middle third fine, moving cell detail blended over it), against one
# normal comparison. The detail is hard for the encoder but, unlike random grain, rewards more bits,
# so the finder has a bitrate to find.
#
#   bench/scan_bench.sh            (BITGLANCE_BUILD=DIR to use another build folder than build/;
#                                   BITGLANCE_BASELINE=DIR to time the scan of an older build too)
#
# Reports:
#  - one render: a fresh comparison (probe, cut, encode, measurement) of one scene, the cost a
#    user pays for each scene checked by hand;
#  - a 12-scene scan with one engine, its cost per scene against that render (the scan adds no
#    probe per scene, so about 1.0 is the expected figure), and with --jobs 2, its speed-up;
#  - a finder run (advise --ssim 0.98 over 12 scenes): its time against the 1-engine scan's (goal at
#    most 2.5x), its rounds, its x265 encodes in all (the scan's among them; counted by an ffmpeg
#    wrapper in a Tools folder of its own) and the scenes checked at the bitrate found; then whether
#    every scene reaches the target there and one falls short 0.1 Mbit/s below (from its JSON line).
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
# The same scan by an older build, when BITGLANCE_BASELINE names its build folder.
if [ -n "${BITGLANCE_BASELINE:-}" ]; then
  t0=$EPOCHREALTIME
  "$BITGLANCE_BASELINE/bin/bitglance-cli" scan "$film" --mbps 2 --scenes 12 >/dev/null
  scan0=$(calc "$EPOCHREALTIME - $t0")
fi
# The finder on the same tools behind a wrapper that counts the encodes.
tools="$work/tools"
mkdir -p "$tools"
printf '#!/bin/sh\ncase " $* " in *" libx265 "*) echo >> "%s" ;; esac\nexec "%s" "$@"\n' \
  "$work/encodes" "$build/share/bitglance/Tools/ffmpeg" > "$tools/ffmpeg"
chmod +x "$tools/ffmpeg"
ln -s "$build/share/bitglance/Tools/ffprobe" "$tools/ffprobe"
: > "$work/encodes"
target=0.98
advise=$(timed advise --tools "$tools" "$film" --ssim "$target" --scenes 12)
found=$(cat "$work/out.json")
encodes=$(wc -l < "$work/encodes")
member() { { grep -o "\"$1\":[0-9.e-]*" <<< "$found" || echo ":0"; } | head -n 1 | cut -d: -f2; }
result=$(member mbps)
# The worst SSIM tried at a bitrate, or nothing.
worstAt() {
  { grep -o '{"mbps":[0-9.]*,"worstSsim":[0-9.e-]*}' <<< "$found" || true; } | tr -d '{}"' |
    awk -F'[:,]' -v m="$1" '($2 - m) ^ 2 < 1e-6 { print $4 }'
}
atResult=$(worstAt "$result")
below=$(calc "$result - 0.1")
atBelow=$(worstAt "$below")
verdict=ok
[ "$(member scenesChecked)" = 12 ] && [ -n "$atResult" ] && awk "BEGIN { exit !($atResult >= $target) }" || verdict=FAILED
if [ "$result" != 0.3 ]; then
  [ -n "$atBelow" ] && awk "BEGIN { exit !($atBelow < $target) }" || verdict=FAILED
fi

printf 'film: 1920x1080, 36 s, 25 fps; %d cores\n' "$(nproc)"
printf '%-34s %8.1f s\n' "one render (fresh scene)" "$render"
printf '%-34s %8.1f s   %.1f s a scene = %.2f renders\n' "scan, 12 scenes, 1 engine" "$scan1" \
  "$(calc "$scan1 / 12")" "$(calc "$scan1 / 12 / $render")"
if [ -n "${scan0:-}" ]; then
  printf '%-34s %8.1f s   %.1f s a scene; this build takes %.2fx its time (goal <= 0.65)\n' \
    "scan, 12 scenes, baseline build" "$scan0" "$(calc "$scan0 / 12")" "$(calc "$scan1 / $scan0")"
fi
printf '%-34s %8.1f s   speed-up %.2fx\n' "scan, 12 scenes, --jobs 2" "$scan2" "$(calc "$scan1 / $scan2")"
printf '%-34s %8.1f s   %.2fx the 1-engine scan (goal <= 2.5): %d rounds, %d encodes in all (12 of the scan), %d scenes checked\n' \
  "finder (advise --ssim $target)" "$advise" "$(calc "$advise / $scan1")" "$(member rounds)" "$encodes" \
  "$(member scenesChecked)"
printf 'finder check: every scene reaches %s at %s Mbit/s (worst %s), %s Mbit/s falls short (worst %s): %s\n' \
  "$target" "$result" "${atResult:-not tried}" "$below" "${atBelow:-not tried}" "$verdict"
echo "scan summary: $worst"
echo "finder: $found"
