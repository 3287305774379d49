// Ctrl+J on running lines that meet end to end: one STROKE through all of
// their nodes, so the outline is one seam with no joints to lock.
#include "model/arrange.h"

#include "model/editing.h"
#include "model/kinds/kind.h"
#include "model/pathgeometry.h"
#include "model/refresh.h"
#include "model/selection.h"
#include "model/transformselection.h"
#include "model/undostep.h"
#include "model/workspace.h"
#include "stitch/stitchplan.h"

#include <cmath>
#include <optional>
#include <vector>

namespace kelvara {

namespace {

// One selected line as an open sub-path, with the row it came from.
struct Piece {
    int32_t row;
    SubPath path;
};

// The line of a stitched RUN or a running STROKE of one open sub-path;
// nothing for any other object.
std::optional<SubPath> runningLine(const ObjectEntry& e, const ObjectParams& p)
{
    PathData path;
    if (e.kind == KindRun && p.run.JUMP != 0) {
        path = edgePath(p.run.line);
    } else if (e.kind == KindStroke && p.stroke.STYLE == 0) {
        if (const PathData* stored = kindPath(*kindRow(KindStroke), p))
            path = *stored;
    }
    if (path.subpaths.size() != 1 || path.subpaths.front().closed || path.subpaths.front().segments.empty())
        return std::nullopt;
    return std::move(path.subpaths.front());
}

bool meet(PathPoint a, PathPoint b)
{
    return std::hypot(double(a.x) - b.x, double(a.y) - b.y) <= kContinueReach;
}

SubPath reversed(const SubPath& sub)
{
    SubPath out;
    out.start = sub.segments.back().to;
    for (std::size_t i = sub.segments.size(); i-- > 0;) {
        const PathSegment& seg = sub.segments[i];
        PathSegment back{seg.cubic, seg.c2, seg.c1, i > 0 ? sub.segments[i - 1].to : sub.start};
        out.segments.push_back(back);
    }
    return out;
}

// The pieces chained end to start, each turned round where it must be, in
// whatever order they were picked: grown at its end, then at its start,
// until no piece meets it. Nothing unless every piece is on the chain.
std::optional<SubPath> chain(std::vector<Piece> pieces)
{
    SubPath line = std::move(pieces.front().path);
    std::vector<bool> used(pieces.size(), false);
    used.front() = true;
    std::size_t joined = 1;
    for (bool grew = true; grew && joined < pieces.size();) {
        grew = false;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (used[i])
                continue;
            const SubPath& next = pieces[i].path;
            const PathPoint end = line.segments.back().to;
            const bool atEnd = meet(end, next.start) || meet(end, next.segments.back().to);
            if (!atEnd && !meet(line.start, next.start) && !meet(line.start, next.segments.back().to))
                continue;
            // Turned round when it meets the line with the wrong end.
            const bool turn = atEnd ? !meet(end, next.start) : !meet(line.start, next.segments.back().to);
            SubPath piece = turn ? reversed(next) : next;
            if (atEnd) {
                // The piece's first node is the line's last one.
                line.segments.insert(line.segments.end(), piece.segments.begin(), piece.segments.end());
            } else {
                piece.segments.back().to = line.start;
                piece.segments.insert(piece.segments.end(), line.segments.begin(), line.segments.end());
                line = std::move(piece);
            }
            used[i] = grew = true;
            ++joined;
        }
    }
    if (joined < pieces.size())
        return std::nullopt;
    // A chain that comes back to where it began is a closed outline.
    if (line.segments.size() > 1 && meet(line.segments.back().to, line.start)) {
        line.segments.back().to = line.start;
        line.closed = true;
    }
    return line;
}

// The stroke's record: the first line's values (a RUN's as Convert to path
// gives them), the last line's tie-off and trim, the chained path.
bool strokeRecord(const Workspace& ws, const std::vector<int32_t>& rows, SubPath line, ObjectParams& out)
{
    const ObjectEntry& first = ws.table.rows[rows.front()];
    int32_t kind = first.kind;
    if (first.kind == KindStroke)
        out = ws.records[first.params];
    else if (!kindRow(KindRun)->toPath(ws.records[first.params], ws.settings, kind, out))
        return false;
    const ObjectEntry& last = ws.table.rows[rows.back()];
    const KindRow& lastRow = *kindRow(last.kind);
    const unsigned char* lastBytes = ws.records[last.params].bytes;
    out.stroke.TIEOUT = kindInt(lastRow, lastBytes, FieldMeaning::TieOut, out.stroke.TIEOUT);
    out.stroke.TRIM = kindInt(lastRow, lastBytes, FieldMeaning::Trim, out.stroke.TRIM);
    return setKindPath(*kindRow(KindStroke), out, PathData{{std::move(line)}});
}

} // namespace

bool joinIntoStroke(Workspace& ws, const Platform& platform)
{
    const std::vector<int32_t> rows = selectedRows(ws);
    if (rows.size() < 2)
        return false;
    std::vector<Piece> pieces;
    std::optional<int32_t> colour;
    for (int32_t row : rows) {
        const ObjectEntry& e = ws.table.rows[row];
        if (!ws.records.isLive(e.params) || !recordSizeFits(e.kind, e.paramsSize))
            return false;
        const ObjectParams& p = ws.records[e.params];
        std::optional<SubPath> line = runningLine(e, p);
        const int32_t c = kindInt(*kindRow(e.kind), p.bytes, FieldMeaning::Colour, -1);
        if (!line || (colour && *colour != c))
            return false;
        colour = c;
        pieces.push_back({row, std::move(*line)});
    }
    std::optional<SubPath> line = chain(std::move(pieces));
    ObjectParams stroke;
    if (!line || !strokeRecord(ws, rows, std::move(*line), stroke))
        return false;

    const int32_t kept = rows.front();
    UndoStep step(ws, platform);
    step.willSaveCurrentObject();
    step.willChangeList();
    step.willSaveRecord(kept);
    step.willSaveRowImages();
    for (std::size_t i = 1; i < rows.size(); ++i) {
        step.willSaveRecord(rows[i]);
        step.willSaveRowImages(3);
        step.willSaveListLine();
    }
    if (!step.open())
        return true; // refused whole, and the user was told
    // Undo replays newest first: the list is rebuilt after everything is back.
    step.listRefill();
    step.currentObject();
    for (std::size_t i = 1; i < rows.size(); ++i)
        deleteRowInStep(ws, platform, step, rows[i]);
    ObjectEntry& e = ws.table.rows[kept];
    step.recordBytes(kept);
    step.rowImage(kept);
    e.kind = KindStroke;
    e.paramsSize = kindRow(KindStroke)->size;
    ws.records[e.params] = stroke;
    selectOnly(ws, kept);
    refillObjectList(ws, platform);
    showSelectionInList(ws, platform);
    markDesignChanged(ws);
    return true;
}

} // namespace kelvara
