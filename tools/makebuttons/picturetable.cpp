#include "pictures.h"

#include <cstddef>
#include <iterator>

namespace kelvara::makebuttons {

namespace {

struct PictureDrawing {
    ButtonPicture picture;
    void (*draw)(QPainter&);
};

// Row k draws picture k of buttons.bmp; the checks below keep it so.
constexpr PictureDrawing kDrawings[] = {
    {PictureNewDesign, drawNewDesign},
    {PictureOpen, drawOpen},
    {PictureDelete, drawDelete},
    {PictureSave, drawSave},
    {PictureApply, drawApply},
    {PictureExport, drawExport},
    {PictureSelect, drawSelect},
    {PictureRun, drawRun},
    {PictureSteil, drawSteil},
    {PictureSaten, drawSaten},
    {PictureStar, drawStar},
    {PictureCircle, drawCircle},
    {PictureRect, drawRect},
    {PictureStitchView, drawStitchView},
    {PictureInsertPoint, drawInsertPoint},
    {PictureUnderlay, drawUnderlay},
    {PictureTieOff, drawTieOff},
    {PictureDensity, drawDensity},
    {PicturePrint, drawPrint},
    {PictureJoin, drawJoin},
    {PictureOptimise, drawOptimise},
    {PictureFillPattern, drawFillPattern},
    {PictureEditNodes, drawEditNodes},
    {PictureEditObject, drawEditObject},
    {PictureColumnWidth, drawColumnWidth},
    {PictureStitchQuality, drawStitchQuality},
    {PictureMotif, drawMotif},
    {PictureGroup, drawGroup},
    {PictureUngroup, drawUngroup},
    {PictureFlip, drawFlip},
    {PictureTrim, drawTrim},
    {PictureColour, drawColour},
    {PictureUndo, drawUndo},
    {PictureRedo, drawRedo},
    {PictureCopy, drawCopy},
    {PicturePaste, drawPaste},
    {PictureToStart, drawToStart},
    {PictureToEnd, drawToEnd},
    {PictureCrossHair, drawCrossHair},
    {PictureGrid, drawGrid},
    {PictureCut, drawCut},
    {PictureStrokePen, drawStrokePen},
    {PictureShapePen, drawShapePen},
    {PictureConvertToPath, drawConvertToPath},
    {PictureAddHole, drawAddHole},
    {PictureImport, drawImport},
    {PictureText, drawText},
};

constexpr bool rowsFollowPictureNumbers()
{
    for (std::size_t k = 0; k < std::size(kDrawings); ++k)
        if (kDrawings[k].picture != ButtonPicture(k))
            return false;
    return true;
}

static_assert(std::size(kDrawings) == kButtonImageCount, "one drawing per toolbar picture");
static_assert(rowsFollowPictureNumbers(), "row k must draw picture k");

} // namespace

void drawPicture(QPainter& p, ButtonPicture picture)
{
    kDrawings[picture].draw(p);
}

} // namespace kelvara::makebuttons
