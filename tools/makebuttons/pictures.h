#pragma once

#include "ui/buttonpicture.h"

class QPainter;

namespace kelvara::makebuttons {

// Paints picture `picture` into the 30 x 30 square at the painter's origin.
void drawPicture(QPainter& p, ButtonPicture picture);

// File, edit and view commands (commandpictures.cpp).
void drawNewDesign(QPainter& p);
void drawOpen(QPainter& p);
void drawDelete(QPainter& p);
void drawSave(QPainter& p);
void drawApply(QPainter& p);
void drawExport(QPainter& p);
void drawSelect(QPainter& p);
void drawStitchView(QPainter& p);
void drawPrint(QPainter& p);
void drawGroup(QPainter& p);
void drawUngroup(QPainter& p);
void drawFlip(QPainter& p);
void drawTrim(QPainter& p);
void drawColour(QPainter& p);
void drawUndo(QPainter& p);
void drawRedo(QPainter& p);
void drawCopy(QPainter& p);
void drawPaste(QPainter& p);
void drawToStart(QPainter& p);
void drawToEnd(QPainter& p);
void drawCrossHair(QPainter& p);
void drawGrid(QPainter& p);
void drawCut(QPainter& p);
void drawImport(QPainter& p);
void drawText(QPainter& p);

// Drawing tools and stitch settings (stitchpictures.cpp).
void drawRun(QPainter& p);
void drawSteil(QPainter& p);
void drawSaten(QPainter& p);
void drawStar(QPainter& p);
void drawCircle(QPainter& p);
void drawRect(QPainter& p);
void drawInsertPoint(QPainter& p);
void drawUnderlay(QPainter& p);
void drawTieOff(QPainter& p);
void drawDensity(QPainter& p);
void drawJoin(QPainter& p);
void drawOptimise(QPainter& p);
void drawFillPattern(QPainter& p);
void drawEditNodes(QPainter& p);
void drawEditObject(QPainter& p);
void drawColumnWidth(QPainter& p);
void drawStitchQuality(QPainter& p);
void drawMotif(QPainter& p);

// Paths and shapes (pathpictures.cpp).
void drawStrokePen(QPainter& p);
void drawShapePen(QPainter& p);
void drawConvertToPath(QPainter& p);
void drawAddHole(QPainter& p);

} // namespace kelvara::makebuttons
