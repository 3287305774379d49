#include "model/backgroundpicture.h"

#include <algorithm>

namespace kelvara {

void releaseBackgroundPicture(BackgroundPicture& picture)
{
    picture.pictureName.clear();
    picture.pixels = QImage();
    picture.picWidth = 0;
    picture.picHeight = 0;
    picture.dimPercent = 0;
    picture.hidden = false;
}

void stepPictureDimming(BackgroundPicture& picture)
{
    if (picture.hidden) {
        picture.hidden = false;
        picture.dimPercent = 0;
    } else if (picture.dimPercent < 50) {
        picture.dimPercent = 50;
    } else if (picture.dimPercent < 75) {
        picture.dimPercent = 75;
    } else {
        picture.hidden = true;
    }
}

QRgb dimmedPixel(QRgb pixel, int32_t dimPercent)
{
    const int d = std::clamp(dimPercent, 0, 100);
    auto fade = [d](int c) { return c + (255 - c) * d / 100; };
    return qRgb(fade(qRed(pixel)), fade(qGreen(pixel)), fade(qBlue(pixel)));
}

} // namespace kelvara
