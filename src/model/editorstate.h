#pragma once

#include "model/records.h"
#include "model/transformselection.h"
#include "model/zoomratio.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvara {

// How far stitches reach past the design area, in design units (never
// negative): a motif's stitches may lie beyond the points that carry it, and
// the view scrolls that much farther so they can be seen.
struct StitchReach {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// Zoom and scroll of the canvas; a design point (x, y) is drawn at
// (x * zoom / zoomDivisor - scrollX, y * zoom / zoomDivisor - scrollY).
// Every part of the canvas maps through ratio() and the functions below.
struct ViewState {
    int32_t zoom = 1;
    int32_t zoomDivisor = 1; // 1 but for the fine steps of ZOOMSTEPS
    int32_t scrollX = 0;
    int32_t scrollY = 0;
    int32_t canvasWidth = 0;
    int32_t canvasHeight = 0;
    int32_t mouseX = -1;
    int32_t mouseY = -1;
    // Wheel turn not yet amounting to a whole notch (the sign gives the way).
    int32_t wheelRemainder = 0;
    StitchReach reach;
    // What the last command has to tell that is no error (shown in the
    // status bar until the next such command); empty for nothing.
    std::string note;
    // Why the last canvas click did nothing; the next click clears it.
    std::string clickNote;

    ZoomRatio ratio() const { return {zoom, zoomDivisor}; }
    void setRatio(const ZoomRatio& r)
    {
        zoom = r.zoom;
        zoomDivisor = r.divisor;
    }
    // The canvas pixel of a design coordinate.
    double canvasX(double x) const { return ratio().exactPixels(x) - scrollX; }
    double canvasY(double y) const { return ratio().exactPixels(y) - scrollY; }
    // The design unit under a canvas pixel, truncated toward zero.
    int64_t designX(int64_t px) const { return ratio().units(px + scrollX); }
    int64_t designY(int64_t py) const { return ratio().units(py + scrollY); }
};

struct PreviewSegment {
    int32_t used = 0;
    int32_t startX = 0, startY = 0;
    int32_t endX = 0, endY = 0;
    int32_t straight = 1;
    int32_t c1X = 0, c1Y = 0;
    int32_t c2X = 0, c2Y = 0;
};

struct PreviewPath {
    std::array<PreviewSegment, 4> segments{};
    void clear() { segments = {}; }
};

struct RubberBand {
    int32_t active = 0;
    int32_t startX = 0, startY = 0;
    int32_t straight = 1;
    int32_t c1X = 0, c1Y = 0;
    int32_t c2X = 0, c2Y = 0;
    int32_t curvesAllowed = 0;
};

// What the select tool does with the pointer, from the press to the release.
enum class SelectState : int32_t {
    Idle,
    Picking,        // pressed on no selected object: a click picks
    BoxSelecting,   // moved away from that press: the box takes what it encloses
    OnSelection,    // pressed on a selected object: a click picks, a drag moves
    Moving,         // the selection is held and follows the pointer
    DraggingNode,   // a handle of the current object follows the pointer
    InsertingPoint, // pressed while inserting a point: the release cuts the line
};

struct PointerDrag {
    SelectState state = SelectState::Idle;
    int32_t startX = 0, startY = 0; // the press, canvas pixels
    int32_t handleRow = -1;         // DraggingNode: the handle's object
    int32_t handle = -1;            // its index in the object's handle list
    int32_t moved = 0;              // the handle's point has changed
    ObjectParams before{};          // the record as it was at the press
    HeldSelection held;             // Moving: what the drag picked up

    bool pressed() const { return state != SelectState::Idle; }
};

// A node the pen has placed: where it is and its two tangent handles (at
// the node itself for a corner).
struct PenNode {
    int32_t x = 0, y = 0;
    int32_t inX = 0, inY = 0;
    int32_t outX = 0, outY = 0;
};

// The pen of STROKE and SHAPE: the nodes of the path being drawn and the
// node being placed while the button is held.
struct PenState {
    std::vector<PenNode> nodes;
    int32_t pressed = 0;          // the button is down: a node is being placed
    int32_t pressX = 0, pressY = 0;
    int32_t dragX = 0, dragY = 0; // the tangent handle while pressed
    int32_t holeFor = -1;         // the SHAPE row the next closed path becomes a hole of
    int32_t closing = 0;          // the path being made is closed
};

// State of the drawing tools. ToolMode: -1 select, 0 none, 1..6 object kind.
struct ToolState {
    int32_t toolMode = 0;
    int32_t clickCount = 0;
    int32_t newGroupPending = 0;
    int32_t nodeEditing = 0;    // Edit nodes: the current object's points are handles to drag
    int32_t insertingPoint = 0; // Insert point: a click on a selected line cuts it there
    PointerDrag pointer;
    PreviewPath preview;
    RubberBand rubberBand;
    PenState pen; // while ToolMode is a kind drawn with the pen
};

// Keys and buttons as the window procedure has seen them.
struct InputState {
    int32_t ctrlDown = 0;
    int32_t shiftDown = 0;
    int32_t mouseButtons = 0; // 1 left, 2 right, 4 middle
    // The key last pressed while Ctrl was down: its release is a Ctrl
    // hotkey even when Ctrl was let go first, as fast typing rolls it.
    uint32_t ctrlChordKey = 0;
};

} // namespace kelvara
