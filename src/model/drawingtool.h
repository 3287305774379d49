#pragma once

#include "model/editorstate.h"

#include <cstdint>

namespace kelvara {

union ObjectParams;

// Every change of the drawing tool's state goes through these functions;
// elsewhere ToolState is only read. They change the state alone: the
// cursor, the current object and the canvas are the callers'.

// What the tool is doing, derived from ToolMode and ClickCount.
enum class ToolPhaseKind {
    Idle,       // no tool: clicks draw nothing
    Selecting,  // the select tool: clicks draw nothing
    Collecting, // a drawing tool collecting the segments of its object
};

struct ToolPhase {
    ToolPhaseKind kind = ToolPhaseKind::Idle;
    int32_t collected = 0; // segments collected so far (k)
    int32_t needed = 0;    // segments the tool's object takes (n)
};

ToolPhase toolPhase(const ToolState& tools);

// True while a drawing tool is active, whatever it has collected.
bool isDrawing(const ToolState& tools);

// True when the drawing tool has collected every segment of its object.
bool objectComplete(const ToolState& tools);

// Segments an object of `kind` is drawn from: 0 for no drawing tool.
int32_t segmentsNeeded(int32_t kind);

// Centre and radii of the box a segment spans: both radii are half the box,
// so a square drag gives a round shape. The STAR and CIRCLE tools make
// their ellipse from their first segment; the preview shows the same one.
struct SegmentEllipse {
    int32_t x, y, rx, ry;
};
SegmentEllipse ellipseOf(const PreviewSegment& segment);

// Starts the select tool (-1), a drawing tool (1..6) or the text tool
// (KindLetters) afresh: what was
// collected is dropped, and a drawing tool opens a new group. Other values
// change nothing and return false.
bool beginTool(ToolState& tools, int32_t toolMode);

// A click at design point (x, y): the live segment, if any, ends there and
// becomes the next preview segment, and a new live segment starts there.
void addClick(ToolState& tools, int32_t x, int32_t y);

// The right button at design point (x, y) bends the live segment of the line
// tools: the first control point, or with `secondControl` the second.
void bendSegment(ToolState& tools, int32_t x, int32_t y, bool secondControl);

// The object was created from the collected segments. The line tools go on
// from its end (`created` null keeps the live segment where it is), the shape
// tools end, or with `staysReady` wait for the next shape. Returns true when
// the tool ended.
bool finishObject(ToolState& tools, const ObjectParams* created, bool staysReady = false);

// The table could take no more objects: the live segment ends, the collected
// segments stay, so the next event tries the creation again.
void holdObject(ToolState& tools);

// Consumes the pending start of a new group; true when there was one.
bool takeNewGroup(ToolState& tools);

// Escape: the tool ends and what it collected is dropped.
void abandonDrawing(ToolState& tools);

// Escape while the tool stays ready: the points clicked so far go, the tool
// stays. False (and nothing changed) when no drawing tool had any.
bool dropCollected(ToolState& tools);

// The state of a fresh editor: new design, opened project, window creation.
void resetTools(ToolState& tools);

} // namespace kelvara
