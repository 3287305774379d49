#include "model/backgroundpicture.h"

namespace kelvara {

void releaseBackgroundPicture(BackgroundPicture& picture)
{
    picture.pictureName.clear();
    picture.pixels = QImage();
    picture.picWidth = 0;
    picture.picHeight = 0;
}

} // namespace kelvara
