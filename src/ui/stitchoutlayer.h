#pragma once

#include "model/zoomratio.h"

#include <QImage>
#include <QString>

#include <cstddef>
#include <cstdint>

class QPainter;

namespace kelvara {

struct Editor;
struct ViewState;
class StitchOut;

// The simulator's picture: the records played so far, as thread or flat
// lines, with the needle marked. Playing on draws only the stitches added
// since the last paint; going back, or a new view, draws it all again.
class StitchOutLayer {
public:
    void paint(QPainter& canvas, const StitchOut& out, const ViewState& view, bool thread);
    void release()
    {
        image_ = QImage();
        drawnFor_ = nullptr;
    }

private:
    QImage image_; // premultiplied ARGB, clear where nothing is sewn
    const StitchOut* drawnFor_ = nullptr;
    std::size_t drawn_ = 0;
    ZoomRatio zoom_;
    int32_t scrollX_ = 0, scrollY_ = 0;
    bool thread_ = false;
};

// "Stitch 1234 of 10279 · colour #FF0000 · 1.5 of 12.8 min at 800 a minute ·
// 100 stitches a second · playing": what the simulator shows.
QString stitchOutText(const Editor& editor);

} // namespace kelvara
