#include "support/fake_scene_quality.h"

QString fakeSceneQuality(const QList<FakeScene> &scenes)
{
    QString rules;
    for (const FakeScene &scene : scenes) {
        rules += QStringLiteral("if (!set && t + 1 >= %1 && t + 1 < %2) { k = %3; a = %4; set = 1 } ")
                     .arg(scene.from)
                     .arg(scene.to)
                     .arg(scene.k, 0, 'g', 10)
                     .arg(scene.exponent, 0, 'g', 10);
    }
    return QString(R"sh(prev=; enc=; ref=; bps=; ss=
for a in "$@"; do
  case "$prev" in -i) if [ -z "$enc" ]; then enc=$a; else ref=$a; fi ;; -b:v) bps=$a ;; -ss) ss=$a ;; esac
  prev=$a
done
case "$*" in *stats_file=*)
  s=$(awk -v b="$(cat "$enc")" -v t="$(cat "$ref")" 'BEGIN { k = 0.02; a = 1; set = 0; %1printf "%.6f", 1 - k / (b / 1e6) ^ a }')
  sf=$(printf '%s' "$*" | sed -n 's/.*ssim=stats_file=\([^;]*\);.*/\1/p')
  pf=$(printf '%s' "$*" | sed -n 's/.*psnr=stats_file=\([^ ;]*\).*/\1/p')
  awk -v s="$s" 'BEGIN { for (n = 1; n <= 200; n++) printf "n:%d Y:%s All:%s (10.0)\n", n, s, s }' > "$sf"
  awk 'BEGIN { for (n = 1; n <= 200; n++) printf "n:%d mse_avg:1.0 psnr_avg:30.00\n", n }' > "$pf"
  echo "[Parsed_ssim_0 @ 0x1] SSIM Y:$s All:$s (10.0)" >&2
  echo "[Parsed_psnr_1 @ 0x1] PSNR y:30.00 average:30.000000 min:30.00 max:30.00" >&2
  exit 0 ;;
esac
if [ -n "$bps" ]; then echo "$bps" > "$LAST"; exit 0; fi
if [ -n "$ss" ]; then echo "$ss" > "$LAST"; exit 0; fi)sh")
        .arg(rules);
}

QString fakeSceneQuality(double hardFrom, double hardTo)
{
    return fakeSceneQuality({{hardFrom, hardTo, 0.213}});
}
