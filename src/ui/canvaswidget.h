#pragma once

#include "shell/platform.h"
#include "ui/canvasview.h"
#include "ui/qtadapter.h"
#include "ui/stitchlayer.h"
#include "ui/stitchoutlayer.h"

#include <QImage>
#include <QWidget>

#include <functional>

class QScrollBar;

namespace kelvara {

struct Editor;

// The canvas window: a drawing surface with the two scroll bars at its
// right and bottom edges, as a window with scroll bars has them. Its size is
// the canvas extent; the scroll bars cover the image's right and bottom.
class CanvasWidget : public QWidget, public CanvasControl {
    Q_OBJECT
public:
    CanvasWidget(Editor& editor, QtEventAdapter& adapter, QWidget* parent = nullptr);

    // CanvasControl
    void renderCanvas() override;
    void invalidateCanvas() override;
    void updateScrollBars() override;
    void zoomToFit() override;
    void zoomToSelection() override;

    // The lower layer; null while the canvas has no area.
    void createImage(int width, int height);
    void releaseImage();
    const QImage& image() const { return image_; }

    void setScrollPosition(Qt::Orientation orientation, int position);
    QScrollBar* scrollBar(Qt::Orientation orientation) const;
    QWidget* surface() const { return surface_; }

    // A left double click on the canvas, after its press was passed on.
    std::function<void()> leftDoubleClicked;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void scrollAction(Qt::Orientation orientation, uint32_t request);
    void drawStitchView(QPainter& painter);
    void drawChosenHoop(QPainter& painter);
    void showBox(const GeometryBox& box);

    Editor& editor_;
    QtEventAdapter& adapter_;
    QImage image_;
    PictureAnchor anchor_;
    StitchLayer stitchLayer_;
    StitchOutLayer stitchOutLayer_;

    QWidget* surface_;
    QScrollBar* horizontal_;
    QScrollBar* vertical_;
};

} // namespace kelvara
