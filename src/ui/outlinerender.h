#pragma once

class QPainter;

namespace kelvara {

struct Workspace;

// Every object's outline in its thread colour (white while it has none), in
// display order, with the canvas mapping; objects out of view cost only the
// test that finds them so.
void drawOutlines(QPainter& painter, const Workspace& ws);

// The selected objects drawn highlighted with their points as handles, and
// while nodes are edited every point of the current object, control points
// of straight edges too. Drawn over either view.
void drawSelection(QPainter& painter, const Workspace& ws);

// True when drawSelection has anything to draw.
bool selectionShown(const Workspace& ws);

} // namespace kelvara
