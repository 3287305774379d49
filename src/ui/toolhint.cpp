#include "ui/toolhint.h"

#include "model/pentool.h"
#include "model/records.h"
#include "model/workspace.h"

namespace kelvara {

namespace {

// A click tool's steps: the first before any click, then one for each
// segment collected so far (the rubber band is live from the first click).
struct ClickSteps {
    int32_t kind;
    const char* name;
    const char* steps[4];
};

constexpr ClickSteps kClickSteps[] = {
    {KindRun, "Running line",
     {"click where the line starts",
      "click where the line ends (the right button bends it, Shift keeps it straight, Esc stops)"}},
    {KindSaten, "Satin column",
     {"click where the first edge starts", "click where the first edge ends (the right button bends it)",
      "click where the second edge ends, across from the first edge's end",
      "click where the second edge starts, across from the first edge's start"}},
    {KindSteil, "Column",
     {"click where the centre line starts", "click where the centre line ends (the right button bends it)"}},
    {KindRect, "Fill area",
     {"click where the first edge starts", "click where the first edge ends",
      "click where the opposite edge ends: the area spans the two edges"}},
    {KindStar, "Star",
     {"click one corner of its box", "click the opposite corner of its box", "click once more to make the star"}},
    {KindCircle, "Circle",
     {"click one corner of its box", "click the opposite corner of its box",
      "click once more to make the circle"}},
};

std::string penHint(const ToolState& tools)
{
    const bool shape = tools.toolMode == KindShape;
    std::string text = shape ? "Shape: " : "Line: ";
    if (tools.pen.holeFor >= 0)
        text = "Hole: ";
    if (tools.pen.nodes.empty())
        return text + "click where it starts, or press and drag for a curve";
    return text + "click for a corner, drag for a curve, Backspace takes the last node back; " +
           (shape || tools.pen.holeFor >= 0 ? "click the first node to close it"
                                            : "Enter or a double click ends the line");
}

std::string selectHint(const ToolState& tools)
{
    if (tools.nodeEditing != 0)
        return "Edit nodes: drag a point of the current object";
    if (tools.insertingPoint != 0)
        return "Insert point: click a selected line where it is to be cut";
    return "Select: click an object, drag a box around objects, Shift adds to the selection";
}

} // namespace

std::string toolHint(const Workspace& ws)
{
    if (!ws.view.clickNote.empty())
        return ws.view.clickNote;
    const ToolState& tools = ws.tools;
    if (penActive(tools))
        return penHint(tools);
    switch (tools.toolMode) {
    case -1:
        return selectHint(tools);
    case 0:
        return "No tool: choose a drawing tool, or Space for the select arrow";
    case KindLetters:
        return "Text: click where the lettering starts";
    default:
        break;
    }
    for (const ClickSteps& tool : kClickSteps) {
        if (tool.kind != tools.toolMode)
            continue;
        const int32_t step = tools.rubberBand.active != 0 ? tools.clickCount + 1 : 0;
        const char* next = step < 4 ? tool.steps[step] : nullptr;
        return next != nullptr ? std::string(tool.name) + ": " + next : std::string();
    }
    return {};
}

} // namespace kelvara
