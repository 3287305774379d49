// The stitch plan of a design: objects in display order through the plan
// builder. A design is first measured with a counting pass, so one beyond
// what DST can hold is refused before its plan is allocated.
#include "stitch/stitchplan.h"

#include "model/kinds/kind.h"
#include "model/pathgeometry.h"
#include "model/workspace.h"
#include "shell/settings.h"
#include "stitch/fillborders.h"
#include "stitch/planbuilder.h"

#include <algorithm>
#include <cmath>

namespace kelvara {

using namespace stitch;

int64_t StitchPlan::stitchCount() const
{
    return std::count_if(records.begin(), records.end(),
                         [](const StitchRecord& r) { return r.kind == StitchKind::Stitch; });
}

int64_t StitchPlan::colourChangeCount() const
{
    return std::count_if(records.begin(), records.end(),
                         [](const StitchRecord& r) { return r.kind == StitchKind::ColourChange; });
}

namespace {

struct ObjectRef {
    int32_t kind;
    const ObjectParams* params;
};

// Generous bounds for the geometry of one object, or false when a number in
// it cannot be used. Only a sanity gate for the generators; the exact extents
// are measured on the needles.
class BoundsCheck {
public:
    bool add(double x, double y, double margin)
    {
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(margin))
            return ok_ = false;
        minX_ = std::min(minX_, x - margin);
        maxX_ = std::max(maxX_, x + margin);
        minY_ = std::min(minY_, y - margin);
        maxY_ = std::max(maxY_, y + margin);
        return ok_;
    }
    bool addEdge(const BezierEdge& e, double margin)
    {
        add(e.x1, e.y1, margin);
        add(e.x2, e.y2, margin);
        if (e.straight == 0) {
            add(e.xc1, e.yc1, margin);
            add(e.xc2, e.yc2, margin);
        }
        return ok_;
    }
    bool acceptable() const
    {
        // Room for the DST extents and what tie-offs and motifs add, with the
        // control points of curves allowed to reach beyond the stitches.
        constexpr double span = 2.0 * kMaxExtent;
        constexpr double reach = 2147483647.0;
        return ok_ && maxX_ - minX_ <= span && maxY_ - minY_ <= span && minX_ >= -reach && maxX_ <= reach &&
               minY_ >= -reach && maxY_ <= reach;
    }

private:
    bool ok_ = true;
    double minX_ = 1e300, maxX_ = -1e300, minY_ = 1e300, maxY_ = -1e300;
};

void addBounds(const ObjectRef& o, BoundsCheck& b)
{
    constexpr double tie = 2 * kMaxStep; // tie-off figures and motif points
    const KindRow& row = *kindRow(o.kind);
    const ObjectParams& p = *o.params;
    const double reach = row.planReach ? row.planReach(p) : 0;
    const KindEdges edges = kindEdges(row, p);
    for (int i = 0; i < edges.count; ++i)
        b.addEdge(*edges.at[i], tie + reach);
    if (const PathData* path = kindPath(row, p))
        for (const BezierEdge& e : pathEdges(*path))
            b.addEdge(e, tie + reach);
    if (const KindEllipse e = kindEllipse(row, p); e.x != nullptr)
        b.add(*e.x, *e.y,
              tie + std::abs(static_cast<double>(*e.rx)) + std::abs(static_cast<double>(*e.ry)) + reach);
    if (row.storedOutline)
        for (const HullPoint& h : row.storedOutline(p))
            b.add(h.x, h.y, tie);
}

bool withinLimits(const std::vector<ObjectRef>& objects)
{
    BoundsCheck bounds;
    for (const ObjectRef& o : objects)
        addBounds(o, bounds);
    return bounds.acceptable();
}

// Tie-offs, colour and trim, which every kind keeps, then what the kind adds.
ObjectStyle styleOf(const ObjectRef& o, const GenContext& ctx)
{
    ObjectStyle style;
    style.maxStitch = ctx.settings.MAXSTITCH;
    const KindRow& row = *kindRow(o.kind);
    const unsigned char* record = o.params->bytes;
    const TieOffLibrary& ties = ctx.libraries.tieOffs;
    auto usable = [&](int32_t i) {
        return i >= 0 && i < ties.count && figureLength(ties.points[static_cast<std::size_t>(i)]) > 0;
    };
    const int32_t tieIn = kindInt(row, record, FieldMeaning::TieIn, -1);
    const int32_t tieOut = kindInt(row, record, FieldMeaning::TieOut, -1);
    const int32_t colour = kindInt(row, record, FieldMeaning::Colour, -1);
    style.tieIn = usable(tieIn) ? tieIn : -1;
    style.tieOut = usable(tieOut) ? tieOut : -1;
    style.builtinTieIn = style.tieIn < 0 && ctx.settings.TIEIN != 0;
    style.builtinTieOut = style.tieOut < 0 && ctx.settings.TIEOUT != 0;
    style.colour = colour == -1 ? kWhiteThread : (colour & 0xFFFFFF);
    style.trimAfter = kindInt(row, record, FieldMeaning::Trim, 0) == 1;
    if (row.style)
        row.style(*o.params, ctx, style);
    return style;
}

void generateObject(const ObjectRef& o, const GenContext& ctx, NeedleSink& sink)
{
    kindRow(o.kind)->generate(*o.params, ctx, sink);
}

int64_t recordFloor(const ObjectRef& o, const GenContext& ctx, int64_t limit)
{
    const KindRow& row = *kindRow(o.kind);
    // Null for lines and columns, which stitch in time proportional to their length.
    return row.recordFloor ? row.recordFloor(*o.params, ctx, limit) : 0;
}

// Fills stitch in time proportional to their area: one that cannot fit is
// refused from its outline, before seconds go into stitching it.
bool cannotFit(const std::vector<ObjectRef>& objects, const GenContext& ctx)
{
    int64_t total = 0;
    for (const ObjectRef& o : objects) {
        total += recordFloor(o, ctx, kMaxRecords - total);
        if (total > kMaxRecords)
            return true;
    }
    return false;
}

// The first penetration an object makes, and nothing after it.
class FirstNeedle final : public NeedleSink {
public:
    void needle(Vec p) override { take(p); }
    void edgeNeedle(Vec p) override { take(p); }
    void jump(Vec) override {}
    bool exhausted() const override { return found || full_; }
    // Generators that gather their work first must not give up for want of room.
    int64_t room() const override { return exhausted() ? 0 : kMaxRecords; }
    void markOverflow() override { full_ = true; }

    bool found = false;
    Vec at{};

private:
    void take(Vec p)
    {
        if (!found)
            at = p, found = true;
    }
    bool full_ = false;
};

bool exitOf(const ObjectRef& o, const ObjectRef& next, const GenContext& ctx, int32_t& x, int32_t& y)
{
    const KindRow& row = *kindRow(o.kind);
    const bool choosesItsEnd = row.choosesItsEnd && ctx.settings.ENTRYEXIT != 0;
    if ((row.recordFloor == nullptr && !choosesItsEnd) ||
        kindRow(next.kind)->recordFloor != nullptr)
        return false;
    const ObjectStyle a = styleOf(o, ctx), b = styleOf(next, ctx);
    if (a.trimAfter || !b.stitched || a.colour != b.colour)
        return false;
    FirstNeedle first;
    generateObject(next, GenContext{ctx.settings, ctx.libraries}, first);
    if (!first.found || !(std::abs(first.at.x) < 2e9) || !(std::abs(first.at.y) < 2e9))
        return false;
    x = static_cast<int32_t>(std::lround(first.at.x));
    y = static_cast<int32_t>(std::lround(first.at.y));
    return true;
}

// `settled`, when given, is told after each object and at the end, when
// every record made so far is final.
void assemble(const std::vector<ObjectRef>& objects, const GenContext& ctx, PlanBuilder& builder,
              const std::function<void()>& settled = {})
{
    // What borders each object: the shapes of the objects sewn after it.
    std::vector<BorderShape> borders;
    std::vector<std::size_t> bordersAfter(objects.size() + 1, 0);
    for (std::size_t i = objects.size(); i-- > 0;) {
        BorderShape shape;
        bordersAfter[i] = borders.size();
        if (borderShapeOf(objects[i].kind, *objects[i].params, shape))
            borders.push_back(std::move(shape));
    }
    std::reverse(borders.begin(), borders.end());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const ObjectRef& o = objects[i];
        if (builder.exhausted())
            break;
        GenContext objectCtx = ctx;
        // A piece stitched alone gets the borders after it from its caller.
        if (ctx.borderCount == 0) {
            objectCtx.borderCount = bordersAfter[i];
            objectCtx.borders = borders.data() + (borders.size() - bordersAfter[i]);
        }
        // Before anything is sewn, the entry is the one the caller gave.
        Vec at;
        if (builder.needleAt(at)) {
            objectCtx.hasEntry = true;
            objectCtx.entry = at;
        }
        int32_t exitX, exitY;
        if (i + 1 < objects.size() && exitOf(o, objects[i + 1], ctx, exitX, exitY)) {
            objectCtx.hasExit = true;
            objectCtx.exit = {double(exitX), double(exitY)};
        }
        builder.beginObject(styleOf(o, ctx));
        generateObject(o, objectCtx, builder);
        builder.endObject();
        if (settled && builder.coloursSettled())
            settled();
    }
    builder.finish();
    if (settled)
        settled();
}

// The checks a design passes before anything is stitched: numbers it can
// use and fills that can fit.
bool refusedUnstitched(const std::vector<ObjectRef>& objects, const GenContext& ctx, int64_t recordLimit)
{
    return !withinLimits(objects) || recordLimit <= 0 || cannotFit(objects, ctx);
}

// What the assembled plan is. `jumpsCount`: a plan of jumps alone is kept
// (one object's piece of a design) instead of counting as Empty.
PlanStatus judged(const PlanBuilder& builder, bool jumpsCount)
{
    // A trim's jumps reach one unit beyond the needle on either side.
    if (builder.overflowed() || builder.width() + 2 > kMaxExtent || builder.height() + 2 > kMaxExtent)
        return PlanStatus::TooLarge;
    if (builder.stitchCount() == 0 && !(jumpsCount && builder.recordCount() > 0))
        return PlanStatus::Empty;
    return PlanStatus::Ok;
}

// The design's objects in display order, up to the first that is not there.
std::vector<ObjectRef> designObjects(const Workspace& ws)
{
    std::vector<ObjectRef> objects;
    for (int32_t row : DisplayOrder(ws.table)) {
        const ObjectEntry& e = ws.table.rows[static_cast<std::size_t>(row)];
        if (recordSize(e.kind) == 0 || !ws.records.isLive(e.params))
            break;
        objects.push_back({e.kind, &ws.records[e.params]});
    }
    return objects;
}

// `jumpsCount`: a plan of jumps alone is kept (one object's piece of a
// design) instead of counting as Empty.
PlanStatus buildPlan(const std::vector<ObjectRef>& objects, const Settings& settings,
                     const Libraries& libraries, StitchPlan& plan, int64_t recordLimit = kMaxRecords,
                     bool jumpsCount = false, const PieceSeams& seams = {}, PieceEnds* ends = nullptr,
                     std::span<const BorderShape> after = {})
{
    const auto seam = [&](PlanBuilder& b) {
        if (seams.threadIn)
            b.startWithThreadIn(seams.continuing);
        if (!seams.cutAfter)
            b.leaveEndOpen();
    };
    plan.records.clear();
    if (objects.empty())
        return PlanStatus::Empty;
    GenContext ctx{settings, libraries};
    ctx.hasEntry = seams.hasEntry;
    ctx.entry = {double(seams.entryX), double(seams.entryY)};
    ctx.hasExit = seams.hasExit;
    ctx.exit = {double(seams.exitX), double(seams.exitY)};
    ctx.borders = after.data();
    ctx.borderCount = after.size();
    if (refusedUnstitched(objects, ctx, recordLimit))
        return PlanStatus::TooLarge;

    PlanBuilder counter(settings, libraries, nullptr, recordLimit);
    seam(counter);
    assemble(objects, ctx, counter);
    if (const PlanStatus status = judged(counter, jumpsCount); status != PlanStatus::Ok)
        return status;

    plan.records.reserve(static_cast<std::size_t>(counter.recordCount()));
    PlanBuilder builder(settings, libraries, &plan.records, recordLimit);
    seam(builder);
    assemble(objects, ctx, builder);
    if (ends != nullptr) {
        int64_t fx, fy, ex, ey;
        ends->sews = builder.sewnEnds(fx, fy, ex, ey);
        ends->firstX = static_cast<int32_t>(fx), ends->firstY = static_cast<int32_t>(fy);
        ends->endX = static_cast<int32_t>(ex), ends->endY = static_cast<int32_t>(ey);
        const ObjectStyle style = styleOf(objects.front(), ctx);
        ends->colour = style.colour;
        ends->trimAfter = style.trimAfter;
        ends->locksItsEnd = style.tieOut >= 0 || style.builtinTieOut;
    }
    return PlanStatus::Ok;
}

class NeedleCollector final : public NeedleSink {
public:
    void needle(Vec p) override { add({p.x, p.y, false}); }
    void edgeNeedle(Vec p) override { add({p.x, p.y, false}); }
    void jump(Vec p) override { add({p.x, p.y, true}); }
    bool exhausted() const override { return full_; }
    int64_t room() const override { return full_ ? 0 : kMaxRecords - static_cast<int64_t>(needles.size()); }
    void markOverflow() override { full_ = true; }

    std::vector<Needle> needles;

private:
    void add(Needle n)
    {
        if (static_cast<int64_t>(needles.size()) >= kMaxRecords)
            full_ = true;
        else
            needles.push_back(n);
    }
    bool full_ = false;
};

} // namespace

bool objectExit(int32_t kind, const ObjectParams& params, int32_t nextKind, const ObjectParams& next,
                const Libraries& libraries, const Settings& settings, int32_t& x, int32_t& y)
{
    const std::vector<ObjectRef> objects{{kind, &params}, {nextKind, &next}};
    if (recordSize(kind) == 0 || recordSize(nextKind) == 0 || !withinLimits(objects))
        return false;
    return exitOf(objects[0], objects[1], GenContext{settings, libraries}, x, y);
}

int64_t objectRecordFloor(int32_t kind, const ObjectParams& params, const Libraries& libraries,
                          const Settings& settings)
{
    const std::vector<ObjectRef> objects{{kind, &params}};
    if (recordSize(kind) == 0 || !withinLimits(objects))
        return 0;
    return recordFloor(objects.front(), GenContext{settings, libraries}, kMaxRecords);
}

PlanStatus generatePlan(const Workspace& ws, StitchPlan& plan, int64_t recordLimit)
{
    return buildPlan(designObjects(ws), ws.settings, ws.libraries, plan, std::min(recordLimit, kMaxRecords));
}

PlanStatus streamPlan(const Workspace& ws, const RecordSink& sink, int64_t recordLimit)
{
    const std::vector<ObjectRef> objects = designObjects(ws);
    recordLimit = std::min(recordLimit, kMaxRecords);
    const GenContext ctx{ws.settings, ws.libraries};
    if (objects.empty())
        return PlanStatus::Empty;
    if (refusedUnstitched(objects, ctx, recordLimit))
        return PlanStatus::TooLarge;
    // No counting pass: the caller's first pass is the count.
    std::vector<StitchRecord> records;
    PlanBuilder builder(ws.settings, ws.libraries, &records, recordLimit);
    assemble(objects, ctx, builder, [&] {
        if (!records.empty())
            sink(records);
        records.clear();
    });
    return judged(builder, false);
}

PlanReplay replayOf(const Workspace& ws)
{
    return [&ws](const RecordSink& sink) { return streamPlan(ws, sink); };
}

PlanReplay replayOf(const StitchPlan& plan)
{
    return [&plan](const RecordSink& sink) {
        if (plan.records.empty())
            return PlanStatus::Empty;
        sink(plan.records);
        return PlanStatus::Ok;
    };
}

PlanStatus generateObjectPlan(int32_t kind, const ObjectParams& params, const Libraries& libraries,
                              const Settings& settings, StitchPlan& plan)
{
    if (recordSize(kind) == 0) {
        plan.records.clear();
        return PlanStatus::Empty;
    }
    return buildPlan({{kind, &params}}, settings, libraries, plan);
}

PlanStatus generateObjectPiece(int32_t kind, const ObjectParams& params, const Libraries& libraries,
                               const Settings& settings, int64_t recordLimit, StitchPlan& plan,
                               const PieceSeams& seams, PieceEnds* ends, std::span<const BorderShape> borders)
{
    if (ends != nullptr)
        *ends = PieceEnds{};
    if (recordSize(kind) == 0) {
        plan.records.clear();
        return PlanStatus::Empty;
    }
    return buildPlan({{kind, &params}}, settings, libraries, plan, recordLimit, true, seams, ends, borders);
}

std::vector<Needle> objectNeedles(int32_t kind, const ObjectParams& params, const Libraries& libraries,
                                  const Settings& settings)
{
    const std::vector<ObjectRef> objects{{kind, &params}};
    if (recordSize(kind) == 0 || !withinLimits(objects))
        return {};
    NeedleCollector collector;
    generateObject(objects.front(), GenContext{settings, libraries}, collector);
    return std::move(collector.needles);
}

} // namespace kelvara
