#include "ui/canvaswidget.h"

#include "model/workspace.h"
#include "ui/editor.h"
#include "stitch/hoopfit.h"
#include "ui/hooprender.h"
#include "ui/outlinerender.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace kelvara {

namespace {

// The client area of the canvas window: painting, mouse and keys.
class CanvasSurface : public QWidget {
public:
    CanvasSurface(const Editor& editor, const QImage& image, QtEventAdapter& adapter,
                  const std::function<void()>& doubleClicked, QWidget* parent)
        : QWidget(parent), editor_(editor), image_(image), adapter_(adapter), doubleClicked_(doubleClicked)
    {
        // Every pixel is painted each time; nothing is erased first.
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        // Beyond the image (a canvas smaller than its window) stays black.
        if (image_.width() < width() || image_.height() < height())
            painter.fillRect(rect(), Qt::black);
        presentCanvas(painter, image_, editor_.ws);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        adapter_.mouseButton(WindowId::Canvas, *event, true, rect());
    }
    // The second press of a double click is a press like the first, and
    // then asks for what a double click does.
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        adapter_.mouseButton(WindowId::Canvas, *event, true, rect());
        if (event->button() == Qt::LeftButton && doubleClicked_)
            doubleClicked_();
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        adapter_.mouseButton(WindowId::Canvas, *event, false, rect());
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        adapter_.mouseMoved(WindowId::Canvas, *event, rect());
    }
    void wheelEvent(QWheelEvent* event) override { adapter_.wheelTurned(WindowId::Canvas, *event); }
    void keyPressEvent(QKeyEvent* event) override { adapter_.keyPressed(WindowId::Canvas, *event); }
    void keyReleaseEvent(QKeyEvent* event) override { adapter_.keyReleased(WindowId::Canvas, *event); }
    // Keys released while another window had the keyboard were not seen.
    void focusInEvent(QFocusEvent* event) override
    {
        adapter_.syncWithKeyboard(WindowId::Canvas);
        QWidget::focusInEvent(event);
    }
    // Tab is a key like any other here, not a focus move.
    bool focusNextPrevChild(bool) override { return false; }

private:
    const Editor& editor_;
    const QImage& image_;
    QtEventAdapter& adapter_;
    const std::function<void()>& doubleClicked_;
};

} // namespace

CanvasWidget::CanvasWidget(Editor& editor, QtEventAdapter& adapter, QWidget* parent)
    : QWidget(parent), editor_(editor), adapter_(adapter),
      surface_(new CanvasSurface(editor, image_, adapter, leftDoubleClicked, this)),
      horizontal_(new QScrollBar(Qt::Horizontal, this)), vertical_(new QScrollBar(Qt::Vertical, this))
{
    setObjectName(QStringLiteral("Desktop"));
    surface_->setObjectName(QStringLiteral("canvasSurface"));
    // Only the corner between the two bars shows the window itself.
    setAutoFillBackground(true);
    for (QScrollBar* bar : {horizontal_, vertical_}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setRange(0, kScrollRange);
        bar->installEventFilter(this);
        const Qt::Orientation orientation = bar->orientation();
        connect(bar, &QAbstractSlider::actionTriggered, this, [this, orientation](int action) {
            switch (action) {
            case QAbstractSlider::SliderSingleStepSub:
                scrollAction(orientation, ScrollLineUp);
                break;
            case QAbstractSlider::SliderSingleStepAdd:
                scrollAction(orientation, ScrollLineDown);
                break;
            case QAbstractSlider::SliderPageStepSub:
                scrollAction(orientation, ScrollPageUp);
                break;
            case QAbstractSlider::SliderPageStepAdd:
                scrollAction(orientation, ScrollPageDown);
                break;
            case QAbstractSlider::SliderToMinimum:
                scrollAction(orientation, ScrollTop);
                break;
            case QAbstractSlider::SliderToMaximum:
                scrollAction(orientation, ScrollBottom);
                break;
            case QAbstractSlider::SliderMove:
                scrollAction(orientation, ScrollThumbTrack);
                break;
            default:
                break;
            }
        });
        connect(bar, &QAbstractSlider::sliderReleased, this,
                [this, orientation] { scrollAction(orientation, ScrollThumbPosition); });
        // Some moves of the bar are no action ("Scroll here" in its context
        // menu sets the value directly): the view follows every value the
        // bar takes that it does not already show. After an action the two
        // agree, so an ordinary click scrolls once.
        connect(bar, &QAbstractSlider::valueChanged, this, [this, orientation](int value) {
            const ViewState& view = editor_.ws.view;
            if (value != (orientation == Qt::Horizontal ? view.scrollX : view.scrollY))
                scrollAction(orientation, ScrollThumbPosition);
        });
    }
}

void CanvasWidget::scrollAction(Qt::Orientation orientation, uint32_t request)
{
    QScrollBar* bar = scrollBar(orientation);
    const auto position = static_cast<uint32_t>(bar->sliderPosition());
    adapter_.send(WindowId::Canvas, orientation == Qt::Horizontal ? MsgHScroll : MsgVScroll,
                  scrollParam(request, position));
    // The bar would otherwise apply its own step after this action.
    const int32_t offset = orientation == Qt::Horizontal ? editor_.ws.view.scrollX : editor_.ws.view.scrollY;
    const QSignalBlocker blocker(bar);
    bar->setSliderPosition(offset);
}

void CanvasWidget::resizeEvent(QResizeEvent*)
{
    const int barWidth = vertical_->sizeHint().width();
    const int barHeight = horizontal_->sizeHint().height();
    const int innerWidth = std::max(0, width() - barWidth);
    const int innerHeight = std::max(0, height() - barHeight);
    surface_->setGeometry(0, 0, innerWidth, innerHeight);
    vertical_->setGeometry(innerWidth, 0, std::min(barWidth, width()), innerHeight);
    horizontal_->setGeometry(0, innerHeight, innerWidth, std::min(barHeight, height()));
}

bool CanvasWidget::eventFilter(QObject* watched, QEvent* event)
{
    // The wheel over a scroll bar zooms like the wheel over the canvas.
    if (event->type() == QEvent::Wheel && (watched == horizontal_ || watched == vertical_)) {
        adapter_.wheelTurned(WindowId::Canvas, *static_cast<QWheelEvent*>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CanvasWidget::createImage(int width, int height)
{
    if (width <= 0 || height <= 0) {
        image_ = QImage();
        return;
    }
    image_ = QImage(width, height, QImage::Format_RGB32);
    image_.fill(Qt::black);
}

void CanvasWidget::releaseImage()
{
    image_ = QImage();
    stitchLayer_.release();
    stitchOutLayer_.release();
}

void CanvasWidget::drawStitchView(QPainter& painter)
{
    // Only the objects that changed since the last drawing are stitched
    // again, and only where they lie is drawn again.
    const ObjectPlanCache& plan = editor_.plans.follow(editor_.ws);
    // Until the first plan of a design comes, its outlines show where it lies.
    if (editor_.plans.planning() && plan.order().empty()) {
        drawOutlines(painter, editor_.ws);
        return;
    }
    stitchLayer_.paint(painter, plan, editor_.ws.view, editor_.threadView);
}

void CanvasWidget::drawChosenHoop(QPainter& painter)
{
    Workspace& ws = editor_.ws;
    const Hoop* hoop = chosenHoop(ws);
    if (hoop == nullptr)
        return;
    const PlanBox& box = editor_.plans.follow(ws).sewnExtent();
    if (box.empty())
        return;
    drawHoop(painter, *hoop, (double(box.left) + box.right) / 2, (double(box.top) + box.bottom) / 2, ws.view,
             chosenHoopFits(editor_));
}

void CanvasWidget::renderCanvas()
{
    DesignLayer layer;
    if (editor_.stitchOut) {
        layer = [this](QPainter& painter) {
            stitchOutLayer_.paint(painter, *editor_.stitchOut, editor_.ws.view, editor_.threadView);
        };
    } else {
        stitchOutLayer_.release();
    }
    if (layer) {
    } else if (editor_.stitchView)
        layer = [this](QPainter& painter) { drawStitchView(painter); };
    else if (editor_.ws.settings.OUTLINES != 0)
        layer = [this](QPainter& painter) { drawOutlines(painter, editor_.ws); };
    const DesignLayer withHoop = [this, layer](QPainter& painter) {
        if (layer)
            layer(painter);
        drawChosenHoop(painter);
    };
    // The fabric shows under thread; flat lines and outlines keep the black.
    const bool fabric = (editor_.stitchView || editor_.stitchOut) && editor_.threadView &&
                        editor_.ws.settings.FABRIC != 0;
    kelvara::renderCanvas(image_, editor_.ws, anchor_, withHoop,
                          fabric ? QRgb(uint32_t(editor_.ws.settings.FABRIC) | 0xFF000000u) : 0xFF000000u);
}

void CanvasWidget::invalidateCanvas()
{
    surface_->update();
}

void CanvasWidget::updateScrollBars()
{
    ViewState& view = editor_.ws.view;
    view.reach = stitchReach(editor_.plans.follow(editor_.ws).sewnExtent());
    const auto setBar = [](QScrollBar* bar, int32_t extent, const ZoomRatio& zoom, int32_t offset,
                           int32_t before, int32_t beyond) {
        const int32_t page = std::max(0, scrollPage(extent, zoom));
        const QSignalBlocker blocker(bar);
        // The thumb's last position is the range end less the page, plus one.
        const auto first = int32_t(firstScrollOffset(zoom, before));
        const int64_t end = scrollRange(zoom) - zoom.pixels(-int64_t(beyond));
        bar->setRange(first, int32_t(std::max<int64_t>(first, end - std::max(page - 1, 0))));
        bar->setPageStep(page);
        bar->setSingleStep(10);
        bar->setValue(offset);
    };
    setBar(vertical_, view.canvasHeight, view.ratio(), view.scrollY, view.reach.top, view.reach.bottom);
    setBar(horizontal_, view.canvasWidth, view.ratio(), view.scrollX, view.reach.left, view.reach.right);
}

void CanvasWidget::zoomToFit()
{
    ViewState& view = editor_.ws.view;
    const BackgroundPicture& picture = editor_.ws.picture;
    // A picture not drawn yet was loaded at the present zoom.
    const ZoomRatio pictureZoom = picture.pixels.cacheKey() == anchor_.cacheKey ? anchor_.zoom : view.ratio();
    const PlanBox& sewn = editor_.plans.follow(editor_.ws).sewnExtent();
    view.reach = stitchReach(sewn);
    showBox(designBox(editor_.ws, pictureZoom, sewn));
}

void CanvasWidget::zoomToSelection()
{
    const GeometryBox box = selectionBox(editor_.ws);
    if (box.empty()) {
        zoomToFit();
        return;
    }
    editor_.ws.view.reach = stitchReach(editor_.plans.follow(editor_.ws).sewnExtent());
    showBox(box);
}

void CanvasWidget::showBox(const GeometryBox& box)
{
    ViewState& view = editor_.ws.view;
    const ViewFit fit =
        fitView(box.left, box.top, box.right, box.bottom, view.canvasWidth, view.canvasHeight, view.reach,
                editor_.ws.settings.ZOOMSTEPS != 0);
    view.setRatio(ZoomRatio(fit.zoom, fit.zoomDivisor));
    view.scrollX = fit.scrollX;
    view.scrollY = fit.scrollY;
    markViewChanged(editor_.ws);
    markRepaint(editor_.ws);
}

void CanvasWidget::setScrollPosition(Qt::Orientation orientation, int position)
{
    QScrollBar* bar = scrollBar(orientation);
    const QSignalBlocker blocker(bar);
    bar->setValue(position);
}

QScrollBar* CanvasWidget::scrollBar(Qt::Orientation orientation) const
{
    return orientation == Qt::Horizontal ? horizontal_ : vertical_;
}

} // namespace kelvara
