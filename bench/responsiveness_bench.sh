#!/usr/bin/env bash
# How quickly a comparison follows a change, on a generated 1080p film of 10 s, as ratios:
#  (a) a bitrate-only render against the bare x265 encode of the same clip fed raw frames (the
#      limit), and the encode alone from the engine's Ut Video clip and from other lossless
#      intermediates (FFV1 level 3, raw video in NUT);
#  (b) a change during an encode until the new result, against one bitrate-only render of almost
#      the same bitrate (x265 takes longer for more bits), and how soon the superseded encode ended;
#  (c) a return to a bitrate seen before: through bitglance-cli (--mbps 2,5,2: the third runs no
#      tool) and through the model;
#  (d) the window program's peak memory during one 1080p comparison;
#  (e) every frame of that comparison in a window of the first size (1400 × 900 on a 1920 × 1080
#      screen): a step to the next frame and a jump to a frame far off until both pictures are
#      painted (medians), the frames a playback of two loops at the panes' size skips, and how much
#      the window grows from the opening of the clips.
#
#   bench/responsiveness_bench.sh        (after ./build.sh)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bench="$here/build/bin/bitglance-bench"
cli="$here/build/bin/bitglance-cli"
tools="$here/build/share/bitglance/Tools"
[ -x "$bench" ] && [ -x "$cli" ] || { echo "bench: build first (./build.sh)" >&2; exit 1; }
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
film="$work/film 1080p.mp4"
ffmpeg -v error -nostdin -y -f lavfi -i "testsrc2=s=1920x1080:r=25:d=10" \
  -vf "noise=alls=10:allf=t,format=yuv420p" -c:v libx264 -preset fast -crf 18 "$film"

now() { date +%s.%N; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# (a) The same clip as the engine cuts it for scene 5 s (4 s to 7 s), then x265 alone.
ffmpeg -v error -nostdin -y -ss 4.0 -noautorotate -i "$film" -t 3.0 -map 0:V:0 -an -sn -dn \
  -vf "scale=-2:2*trunc(min(ih\,1080)/2),setsar=1,format=yuv420p" -c:v utvideo "$work/reference.mkv"
ffmpeg -v error -nostdin -y -i "$work/reference.mkv" -f rawvideo -pix_fmt yuv420p "$work/raw.yuv"
ffmpeg -v error -nostdin -y -i "$work/reference.mkv" -c:v rawvideo "$work/raw.nut"
ffmpeg -v error -nostdin -y -i "$work/reference.mkv" -c:v ffv1 -level 3 "$work/ffv1.mkv"
x265() { # input arguments...
  local s; s=$(now)
  ffmpeg -v error -nostdin -y "$@" -map 0:v:0 -an -fps_mode passthrough -c:v libx265 -preset veryfast \
    -x265-params log-level=error -b:v 4000000 -pix_fmt yuv420p -tag:v hvc1 "$work/out.mp4"
  awk -v s="$s" -v e="$(now)" 'BEGIN { printf "%.3f", e - s }'
}
bare=$(x265 -f rawvideo -pix_fmt yuv420p -s 1920x1080 -r 25 -i "$work/raw.yuv")
from_ut=$(x265 -i "$work/reference.mkv")
from_nut=$(x265 -i "$work/raw.nut")
from_ffv1=$(x265 -i "$work/ffv1.mkv")

engine=$("$bench" engine "$tools" "$film")
field() { sed -E "s/.*\"$1\":([0-9.]+).*/\1/" <<<"$2"; }
bitrate_only=$(field bitrateOnly "$engine")
change=$(field changeDuringEncode "$engine")
echo "(a) bitrate-only render ${bitrate_only} s, bare x265 from raw frames ${bare} s: $(ratio "$bitrate_only" "$bare")x (goal <= 1.3)"
echo "    x265 alone from Ut Video ${from_ut} s, from raw NUT ${from_nut} s, from FFV1 ${from_ffv1} s"
echo "(b) change during an encode until the new result ${change} s, one bitrate-only render ${bitrate_only} s: $(ratio "$change" "$bitrate_only")x"
echo "    the superseded encode ended $(field cancelToEnd "$engine") s after the change"

# (c) Through the front end: the time from the second line to the third, and the tools it ran.
wrapped="$work/Tools"
mkdir -p "$wrapped"
for t in ffmpeg ffprobe; do
  printf '#!/bin/sh\necho "%s" >> "%s/runs"\nexec "%s/%s" "$@"\n' "$t" "$work" "$tools" "$t" > "$wrapped/$t"
  chmod +x "$wrapped/$t"
done
: > "$work/runs"
stamps="$work/stamps"
"$cli" render --tools "$wrapped" "$film" --seconds 5 --mbps 2,5,2 --out "$work/out" |
  while IFS= read -r _; do echo "$(now) $(wc -l < "$work/runs")"; done > "$stamps"
cli_hit=$(awk 'NR==2 { s=$1; r=$2 } NR==3 { printf "%.3f s, %d tool runs", $1 - s, $2 - r }' "$stamps")
model=$("$bench" model "$tools" "$film")
echo "(c) cache hit through bitglance-cli: ${cli_hit}; through the model: $(field modelCacheHit "$model") s (engine alone $(field cacheHit "$engine") s)"

# (d)
window=$("$bench" window "$tools" "$film")
echo "(d) window program peak memory during a 1080p comparison: $(field windowPeakMiB "$window") MiB (before the film: $(field beforeFilmMiB "$window") MiB)"
echo "    fresh render through the engine: $(field fresh "$engine") s"

# (e)
printf '{"screens":[{"name":"bench","x":0,"y":0,"width":1920,"height":1080,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]}' \
  > "$work/screen.json"
frames=$(QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json" "$bench" frames "$tools" "$film")
echo "(e) a step to the next frame $(field stepMs "$frames") ms (a key held down: $(field stepHeldMs "$frames") ms; budget 50 ms)," \
  "a jump $(field jumpMs "$frames") ms (budget 300 ms)"
echo "    playback at the panes' size ($(field paneWidth "$frames") points wide): $(field playSkippedPercent "$frames") % of" \
  "$(field playDue "$frames") frames skipped (budget 10 %); the window grew by $(field clipMemoryMiB "$frames") MiB" \
  "for the clip of $(field frames "$frames") frames (budget 400 MB = 381 MiB)"
