#!/usr/bin/env bash
# Times bitglance-cli against the bare ffmpeg/ffprobe commands it runs, on a generated 1080p film
# of 10 s, and reports the front end's own peak memory.
#
#   bench/render_bench.sh [RUNS]      (default 3 runs each; medians count)
#   BITGLANCE_BASELINE=DIR bench/render_bench.sh   also times a fresh render by the build in DIR
#
# Two views of the same question, "what does the engine add to the tools?":
#  - engine/bare: bitglance-cli's wall time against the same commands typed into a shell. x265's
#    own run-to-run spread (a second or so) shows in these ratios.
#  - overhead: bitglance-cli's wall time minus the wall time of the tools it started, measured by
#    thin wrappers around them. This is what the engine itself costs, free of the encoder's spread.
# A fresh render is probe + cut + probe + extract + encode + probe + extract + quality measurement;
# a bitrate-only render (the second bitrate of "--mbps 2,4") is encode + probe + extract + quality
# measurement (SSIM and PSNR, as bitglance-cli reports them).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cli="$here/build/bin/bitglance-cli"
tools="$here/build/share/bitglance/Tools"
runs="${1:-3}"
[ -x "$cli" ] || { echo "bench: build first (./build.sh)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
film="$work/film 1080p.mp4"
ffmpeg -v error -nostdin -y -f lavfi -i "testsrc2=s=1920x1080:r=25:d=10" \
  -vf "noise=alls=10:allf=t,format=yuv420p" -c:v libx264 -preset fast -crf 18 "$film"

# Wrappers that add each tool run's wall time to $work/tooltime (EPOCHREALTIME: no extra process).
wrapped="$work/Tools"
mkdir -p "$wrapped"
for t in ffmpeg ffprobe; do
  cat > "$wrapped/$t" <<WRAP
#!/usr/bin/env bash
s=\$EPOCHREALTIME
"$tools/$t" "\$@"
rc=\$?
echo "\$s \$EPOCHREALTIME" >> "$work/tooltime"
exit \$rc
WRAP
  chmod +x "$wrapped/$t"
done

seconds=5.0; start=4.0; length=3.0; frame=25

calc() { awk "BEGIN { print $* }"; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

bare_cut() { # folder [codec arguments of the reference clip; the engine's by default]
  local d="$1"; shift
  [ $# -gt 0 ] || set -- -c:v utvideo
  "$tools/ffprobe" -v error -show_format -show_streams -of json "$film" >/dev/null
  "$tools/ffmpeg" -v error -nostdin -y -ss $start -noautorotate -i "$film" -t $length -map 0:V:0 -an -sn -dn \
    -vf 'scale=-2:2*trunc(min(ih\,1080)/2),setsar=1,format=yuv420p' "$@" "$d/reference.mkv"
  "$tools/ffprobe" -v error -show_format -show_streams -of json "$d/reference.mkv" >/dev/null
  "$tools/ffmpeg" -v error -nostdin -y -i "$d/reference.mkv" -vf "select=eq(n\,$frame)" -frames:v 1 "$d/original.png"
}
bare_encode() {
  local d="$1" bps="$2"
  "$tools/ffmpeg" -v error -nostdin -y -i "$d/reference.mkv" -map 0:v:0 -an -fps_mode passthrough \
    -c:v libx265 -preset veryfast -x265-params log-level=error -b:v "$bps" -pix_fmt yuv420p -tag:v hvc1 \
    "$d/encoded.mp4"
  "$tools/ffprobe" -v error -show_format -show_streams -of json "$d/encoded.mp4" >/dev/null
  "$tools/ffmpeg" -v error -nostdin -y -i "$d/encoded.mp4" -vf "select=eq(n\,$frame)" -frames:v 1 "$d/encoded.png"
  (cd "$d" && "$tools/ffmpeg" -hide_banner -nostats -v info -nostdin -i encoded.mp4 -i reference.mkv -filter_complex \
    "[0:v]settb=AVTB,setpts=N,split[e0][e1];[1:v]settb=AVTB,setpts=N,split[r0][r1];[e0][r0]ssim=stats_file=ssim.log;[e1][r1]psnr=stats_file=psnr.log" \
    -f null - 2>/dev/null)
}

# Runs the front end once through the wrappers; prints "wall-seconds overhead-seconds".
cli_run() {
  local t0 t1 tooltime
  : > "$work/tooltime"
  t0=$EPOCHREALTIME
  "$cli" render --tools "$wrapped" "$film" --seconds $seconds --mbps "$1" --out "$work/out" >/dev/null
  t1=$EPOCHREALTIME
  tooltime=$(awk '{ sum += $2 - $1 } END { print sum + 0 }' "$work/tooltime")
  echo "$(calc "$t1 - $t0") $(calc "$t1 - $t0 - $tooltime")"
}

# Runs the front end once more, only to sample its own peak memory (VmHWM, its tools not
# counted) until it ends; prints KiB. Kept apart from the timed runs, whose speed it would skew.
cli_peak() {
  local pid peak=0 key value rest
  "$cli" render "$film" --seconds $seconds --mbps 2,4 --out "$work/out" >/dev/null &
  pid=$!
  while [ -r "/proc/$pid/status" ]; do
    while read -r key value rest; do
      if [ "$key" = "VmHWM:" ] && [ "$value" -gt "$peak" ]; then peak=$value; fi
    done < "/proc/$pid/status" 2>/dev/null || true
    sleep 0.1
  done
  wait "$pid"
  echo "$peak"
}

declare -a one_wall one_over two_wall two_over fresh_bare enc_bare fresh_ffv1 fresh_base
for ((i = 0; i < runs; i++)); do
  # The same fresh comparison as the engine made it with FFV1 level 3 as the intermediate, and
  # through an older build when BITGLANCE_BASELINE names its build folder.
  d="$work/ffv1$i"; mkdir -p "$d"
  t0=$EPOCHREALTIME; bare_cut "$d" -c:v ffv1 -level 3; bare_encode "$d" 2000000; t1=$EPOCHREALTIME
  fresh_ffv1+=("$(calc "$t1 - $t0")")
  if [ -n "${BITGLANCE_BASELINE:-}" ]; then
    t0=$EPOCHREALTIME
    "$BITGLANCE_BASELINE/bin/bitglance-cli" render "$film" --seconds $seconds --mbps 2 --out "$work/base" >/dev/null
    t1=$EPOCHREALTIME
    fresh_base+=("$(calc "$t1 - $t0")")
  fi
  read -r w o <<< "$(cli_run 2)"; one_wall+=("$w"); one_over+=("$o")
  read -r w o <<< "$(cli_run 2,4)"; two_wall+=("$w"); two_over+=("$o")
  d="$work/bare$i"; mkdir -p "$d"
  t0=$EPOCHREALTIME; bare_cut "$d"; bare_encode "$d" 2000000; t1=$EPOCHREALTIME
  fresh_bare+=("$(calc "$t1 - $t0")")
  t0=$EPOCHREALTIME; bare_encode "$d" 4000000; t1=$EPOCHREALTIME
  enc_bare+=("$(calc "$t1 - $t0")")
done

m() { printf '%s\n' "$@" | median; }
fresh_wall=$(m "${one_wall[@]}"); fresh_over=$(m "${one_over[@]}")
enc_wall=$(calc "$(m "${two_wall[@]}") - $fresh_wall")
enc_over=$(calc "$(m "${two_over[@]}") - $fresh_over")
bare_fresh=$(m "${fresh_bare[@]}"); bare_enc=$(m "${enc_bare[@]}")
peak_kib=$(cli_peak)

printf 'film: 1920x1080, 10 s, 25 fps; scene %s s; %d runs, medians\n' "$seconds" "$runs"
printf '%-21s %9s %9s %12s %10s %10s\n' "" "engine s" "bare s" "engine/bare" "overhead" "of tools"
row() {
  printf '%-21s %9.3f %9.3f %12.3f %8.0fms %9.2f%%\n' "$1" "$2" "$3" "$(calc "$2 / $3")" \
    "$(calc "$4 * 1000")" "$(calc "100 * $4 / ($2 - $4)")"
}
row "fresh render" "$fresh_wall" "$bare_fresh" "$fresh_over"
row "bitrate-only render" "$enc_wall" "$bare_enc" "$enc_over"
printf 'fresh render against the same commands with FFV1 level 3: %.3f s / %.3f s = %.2f (goal <= 0.65)\n' \
  "$fresh_wall" "$(m "${fresh_ffv1[@]}")" "$(calc "$fresh_wall / $(m "${fresh_ffv1[@]}")")"
if [ ${#fresh_base[@]} -gt 0 ]; then
  printf 'fresh render against the build in %s: %.3f s / %.3f s = %.2f (goal <= 0.65)\n' "$BITGLANCE_BASELINE" \
    "$fresh_wall" "$(m "${fresh_base[@]}")" "$(calc "$fresh_wall / $(m "${fresh_base[@]}")")"
fi
printf 'bitglance-cli peak memory: %.1f MiB (target < 60 MiB)\n' "$(calc "$peak_kib / 1024")"
echo "target: the engine adds less than 5 % (or 50 ms) to the bare tool time"
