#!/usr/bin/env bash
# Times bitglance-cli against the bare ffmpeg/ffprobe commands it runs, on a generated 1080p film
# of 10 s, and reports the front end's own peak memory.
#
#   bench/render_bench.sh [RUNS]      (default 3 runs each; the median counts)
#
# Prints, for a fresh render (probe, cut, probe, extract, encode, probe, extract) and for a
# bitrate-only render (encode, probe, extract), the engine's time, the bare commands' time and
# their ratio, and the peak resident memory of bitglance-cli itself (its tools not counted).
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

seconds=5.0; start=4.0; length=3.0; frame=25

now() { date +%s.%N; }
calc() { awk "BEGIN { print $* }"; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

bare_cut() {
  local d="$1"
  "$tools/ffprobe" -v error -show_format -show_streams -of json "$film" >/dev/null
  "$tools/ffmpeg" -v error -nostdin -y -ss $start -noautorotate -i "$film" -t $length -map 0:v:0 -an -sn -dn \
    -vf 'scale=-2:min(ih\,1080),setsar=1,format=yuv420p' -c:v ffv1 -level 3 "$d/reference.mkv"
  "$tools/ffprobe" -v error -show_format -show_streams -of json "$d/reference.mkv" >/dev/null
  "$tools/ffmpeg" -v error -nostdin -y -i "$d/reference.mkv" -vf "select=eq(n\,$frame)" -frames:v 1 "$d/original.png"
}
bare_encode() {
  local d="$1" bps="$2"
  "$tools/ffmpeg" -v error -nostdin -y -i "$d/reference.mkv" -map 0:v:0 -an -c:v libx265 -preset veryfast \
    -x265-params log-level=error -b:v "$bps" -pix_fmt yuv420p -tag:v hvc1 "$d/encoded.mp4"
  "$tools/ffprobe" -v error -show_format -show_streams -of json "$d/encoded.mp4" >/dev/null
  "$tools/ffmpeg" -v error -nostdin -y -i "$d/encoded.mp4" -vf "select=eq(n\,$frame)" -frames:v 1 "$d/encoded.png"
}

# Runs the front end once, sampling its own peak memory (VmHWM) until it ends; prints seconds.
# The peak in KiB is appended to $work/peaks.
cli_run() {
  local t0 t1 pid peak=0 hwm
  t0=$(now)
  "$cli" render "$film" --seconds $seconds --mbps "$1" --out "$work/out" >/dev/null &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    hwm=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
    [ -n "$hwm" ] && [ "$hwm" -gt "$peak" ] && peak=$hwm
    sleep 0.02
  done
  wait "$pid"
  t1=$(now)
  echo "$peak" >> "$work/peaks"
  calc "$t1 - $t0"
}

declare -a fresh_cli two_cli fresh_bare enc_bare
for ((i = 0; i < runs; i++)); do
  fresh_cli+=("$(cli_run 2)")
  two_cli+=("$(cli_run 2,4)")
  d="$work/bare$i"; mkdir -p "$d"
  t0=$(now); bare_cut "$d"; bare_encode "$d" 2000000; t1=$(now)
  fresh_bare+=("$(calc "$t1 - $t0")")
  t0=$(now); bare_encode "$d" 4000000; t1=$(now)
  enc_bare+=("$(calc "$t1 - $t0")")
done

m_fresh_cli=$(printf '%s\n' "${fresh_cli[@]}" | median)
m_two_cli=$(printf '%s\n' "${two_cli[@]}" | median)
m_fresh_bare=$(printf '%s\n' "${fresh_bare[@]}" | median)
m_enc_bare=$(printf '%s\n' "${enc_bare[@]}" | median)
m_enc_cli=$(calc "$m_two_cli - $m_fresh_cli")
peak_kib=$(sort -n "$work/peaks" | tail -1)

printf 'film: 1920x1080, 10 s, 25 fps; scene %s s; %d runs, medians\n' "$seconds" "$runs"
printf '%-22s %9s %9s %8s %10s\n' "" "engine s" "bare s" "ratio" "overhead"
printf '%-22s %9.3f %9.3f %8.3f %9.0fms\n' "fresh render" "$m_fresh_cli" "$m_fresh_bare" \
  "$(calc "$m_fresh_cli / $m_fresh_bare")" "$(calc "($m_fresh_cli - $m_fresh_bare) * 1000")"
printf '%-22s %9.3f %9.3f %8.3f %9.0fms\n' "bitrate-only render" "$m_enc_cli" "$m_enc_bare" \
  "$(calc "$m_enc_cli / $m_enc_bare")" "$(calc "($m_enc_cli - $m_enc_bare) * 1000")"
printf 'bitglance-cli peak memory: %.1f MiB (target < 60 MiB)\n' "$(calc "$peak_kib / 1024")"
echo "target: overhead below 5 % of the bare time, or below 50 ms"
