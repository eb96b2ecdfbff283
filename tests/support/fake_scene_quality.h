#pragma once

#include <QString>

// A prelude for FakeTools' ffmpeg (setPrelude) whose measured quality depends on the scene and the
// bitrate, as a real movie's would: the cut writes its start time into the reference clip, the encode
// its bitrate into the encoded clip, and the measurement reads both back and reports a clip and
// frame SSIM of 1 - k / Mbit/s, with k = 0.213 for scenes (clip start + 1 s) from hardFrom up to
// hardTo seconds and 0.02 elsewhere, and a PSNR of 30 dB.
QString fakeSceneQuality(double hardFrom, double hardTo);
