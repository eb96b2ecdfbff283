#include "model/difference_image.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int amplification = 4;

// BT.601 luma in 0..255, in 8-bit fixed point (the weights sum to 256).
int luma(QRgb pixel)
{
    return (77 * qRed(pixel) + 150 * qGreen(pixel) + 29 * qBlue(pixel) + 128) >> 8;
}

} // namespace

QImage differenceImage(const QImage &original, const QImage &encoded)
{
    if (original.isNull() || encoded.isNull() || original.size() != encoded.size())
        return {};
    const QImage a = original.convertToFormat(QImage::Format_RGB32);
    const QImage b = encoded.convertToFormat(QImage::Format_RGB32);
    QImage difference(a.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < a.height(); ++y) {
        const auto *rowA = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *rowB = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        uchar *out = difference.scanLine(y);
        for (int x = 0; x < a.width(); ++x)
            out[x] = uchar(std::min(255, amplification * std::abs(luma(rowA[x]) - luma(rowB[x]))));
    }
    return difference;
}
