#pragma once

#include <QList>
#include <QString>

// Scenes whose clip starts + 1 s lie from `from` up to `to` seconds measure a clip and frame SSIM of
// 1 - k / (Mbit/s)^exponent: k sets the quality at 1 Mbit/s, the exponent how much more bits help
// (in decibels of SSIM, 10 · exponent per tenfold bitrate).
struct FakeScene {
    double from = 0;
    double to = 0;
    double k = 0.02;
    double exponent = 1;
};

// A prelude for FakeTools' ffmpeg (setPrelude) whose measured quality depends on the scene and the
// bitrate, as a real movie's would: the cut writes its start time into the reference clip, the encode
// its bitrate into the encoded clip, and the measurement reads both back and reports the SSIM of the
// first of `scenes` that holds the clip (k = 0.02 and exponent 1 for a clip in none), and a PSNR of
// 30 dB.
QString fakeSceneQuality(const QList<FakeScene> &scenes);
// Scenes from hardFrom up to hardTo seconds with k = 0.213.
QString fakeSceneQuality(double hardFrom, double hardTo);
