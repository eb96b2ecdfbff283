#!/usr/bin/env bash
# Lossless intermediates for the reference clip, measured as the engine uses them: the cut of a 3 s
# clip of a generated 1080p film (write), a full decode of that clip (read, as the encode and the
# measurement each do), and its size, on a grainy film and on a clean test pattern. Times are CPU
# seconds (user + system) of the ffmpeg run, which other load on the machine hardly changes; the
# write figure is the cut's beyond the same cut into the null muxer (decoding and scaling the source).
#
#   bench/intermediate_bench.sh
set -euo pipefail

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

ffmpeg -v error -nostdin -y -f lavfi -i "testsrc2=s=1920x1080:r=25:d=10" \
  -vf "noise=alls=10:allf=t,format=yuv420p" -c:v libx264 -preset fast -crf 18 "$work/grainy.mp4"
ffmpeg -v error -nostdin -y -f lavfi -i "testsrc2=s=1920x1080:r=25:d=10" \
  -vf "format=yuv420p" -c:v libx264 -preset fast -crf 18 "$work/clean.mp4"

cpu() { # command... -> CPU seconds
  local t
  t=$( { /usr/bin/time -f "%U %S" "$@" >/dev/null; } 2>&1 | tail -n 1)
  awk -v t="$t" 'BEGIN { split(t, a, " "); printf "%.2f", a[1] + a[2] }'
}

cut() { # film output-arguments...
  local film="$1"; shift
  cpu ffmpeg -v error -nostdin -y -ss 4.0 -noautorotate -i "$work/$film.mp4" -t 3.0 -map 0:V:0 -an -sn -dn \
    -vf 'scale=-2:2*trunc(min(ih\,1080)/2),setsar=1,format=yuv420p' "$@"
}

candidate() { # film label extension codec-arguments...
  local film="$1" label="$2" ext="$3"; shift 3
  local clip="$work/clip.$ext" write read size source
  source=$(cut "$film" -f null -)
  write=$(cut "$film" "$@" "$clip")
  write=$(awk -v w="$write" -v s="$source" 'BEGIN { printf "%.2f", w - s }')
  read=$(cpu ffmpeg -v error -nostdin -i "$clip" -f null -)
  size=$(stat -c %s "$clip")
  printf '%-8s %-24s %10s %10s %9.0f\n' "$film" "$label" "$write" "$read" "$(awk -v s="$size" 'BEGIN { print s / 1e6 }')"
  rm -f "$clip"
}

printf '%-8s %-24s %10s %10s %9s\n' "film" "intermediate" "write cpu" "read cpu" "MB"
for film in grainy clean; do
  candidate "$film" "FFV1 level 3" mkv -c:v ffv1 -level 3
  candidate "$film" "FFV1 level 3, 24 slices" mkv -c:v ffv1 -level 3 -slices 24
  candidate "$film" "Ut Video (in use)" mkv -c:v utvideo
  candidate "$film" "raw video in NUT" nut -c:v rawvideo
done
