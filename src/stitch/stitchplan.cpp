// The stitch plan of a design: objects in display order through the plan
// builder. A design is first measured with a counting pass, so one beyond
// what DST can hold is refused before its plan is allocated.
#include "stitch/stitchplan.h"

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

double half(int32_t v)
{
    return std::abs(static_cast<double>(v)) / 2;
}

void addBounds(const ObjectRef& o, BoundsCheck& b)
{
    constexpr double tie = 2 * kMaxStep; // tie-off figures and motif points
    const ObjectParams& p = *o.params;
    switch (o.kind) {
    case KindRun:
        b.addEdge(p.run.line, tie);
        break;
    case KindSaten: {
        const double m = tie + std::max(half(p.saten.SCOMP), half(p.saten.TCOMP));
        b.addEdge(p.saten.edgeA, m);
        b.addEdge(p.saten.edgeB, m);
        break;
    }
    case KindSteil: {
        const double m = tie + std::max(half(p.steil.SCOMP), half(p.steil.TCOMP)) +
                         std::max(half(p.steil.SWIDTH), half(p.steil.TWIDTH));
        b.addEdge(p.steil.line, m);
        break;
    }
    case KindRect: {
        const double m = tie + half(p.rect.SCOMP);
        b.addEdge(p.rect.edgeA, m);
        b.addEdge(p.rect.edgeB, m);
        break;
    }
    case KindStar:
        b.add(p.star.X, p.star.Y,
              tie + std::abs(static_cast<double>(p.star.RX)) + std::abs(static_cast<double>(p.star.RY)) +
                  half(p.star.COMP));
        break;
    case KindCircle:
        b.add(p.circle.X, p.circle.Y,
              tie + std::abs(static_cast<double>(p.circle.RX)) + std::abs(static_cast<double>(p.circle.RY)) +
                  half(p.circle.SCOMP));
        break;
    default:
        break;
    }
}

bool withinLimits(const std::vector<ObjectRef>& objects)
{
    BoundsCheck bounds;
    for (const ObjectRef& o : objects)
        addBounds(o, bounds);
    return bounds.acceptable();
}

template <typename Params> void tieOffsOf(const Params& p, const GenContext& ctx, ObjectStyle& style)
{
    const TieOffLibrary& ties = ctx.libraries.tieOffs;
    auto usable = [&](int32_t i) {
        return i >= 0 && i < ties.count && figureLength(ties.points[static_cast<std::size_t>(i)]) > 0;
    };
    style.tieIn = usable(p.TIEIN) ? p.TIEIN : -1;
    style.tieOut = usable(p.TIEOUT) ? p.TIEOUT : -1;
    style.builtinTieIn = style.tieIn < 0 && ctx.settings.TIEIN != 0;
    style.builtinTieOut = style.tieOut < 0 && ctx.settings.TIEOUT != 0;
    style.colour = p.colour == -1 ? kWhiteThread : (p.colour & 0xFFFFFF);
    style.trimAfter = p.TRIM == 1;
}

ObjectStyle styleOf(const ObjectRef& o, const GenContext& ctx)
{
    ObjectStyle style;
    style.maxStitch = ctx.settings.MAXSTITCH;
    const ObjectParams& p = *o.params;
    switch (o.kind) {
    case KindRun:
        tieOffsOf(p.run, ctx, style);
        style.stitched = p.run.JUMP != 0;
        // The user's own stitch length is never cut down.
        style.maxStitch = std::max(style.maxStitch, clampedLength(p.run.LEN, 1, 1e9));
        break;
    case KindSaten:
        tieOffsOf(p.saten, ctx, style);
        break;
    case KindSteil:
        tieOffsOf(p.steil, ctx, style);
        break;
    case KindRect:
        tieOffsOf(p.rect, ctx, style);
        break;
    case KindStar:
        tieOffsOf(p.star, ctx, style);
        break;
    case KindCircle:
        tieOffsOf(p.circle, ctx, style);
        break;
    default:
        break;
    }
    return style;
}

void generateObject(const ObjectRef& o, const GenContext& ctx, NeedleSink& sink)
{
    const ObjectParams& p = *o.params;
    switch (o.kind) {
    case KindRun:
        generateRun(p.run, ctx, sink);
        break;
    case KindSaten:
        generateSaten(p.saten, ctx, sink);
        break;
    case KindSteil:
        generateSteil(p.steil, ctx, sink);
        break;
    case KindRect:
        generateRect(p.rect, ctx, sink);
        break;
    case KindStar:
        generateStar(p.star, ctx, sink);
        break;
    case KindCircle:
        generateCircle(p.circle, ctx, sink);
        break;
    default:
        break;
    }
}

int64_t recordFloor(const ObjectRef& o, const GenContext& ctx, int64_t limit)
{
    switch (o.kind) {
    case KindRect:
        return rectRecordFloor(o.params->rect, ctx, limit);
    case KindCircle:
        return circleRecordFloor(o.params->circle, ctx, limit);
    default:
        return 0; // lines and columns stitch in time proportional to their length
    }
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

void assemble(const std::vector<ObjectRef>& objects, const GenContext& ctx, PlanBuilder& builder)
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
        objectCtx.borderCount = bordersAfter[i];
        objectCtx.borders = borders.data() + (borders.size() - bordersAfter[i]);
        objectCtx.hasEntry = builder.needleAt(objectCtx.entry);
        builder.beginObject(styleOf(o, ctx));
        generateObject(o, objectCtx, builder);
        builder.endObject();
    }
    builder.finish();
}

// `jumpsCount`: a plan of jumps alone is kept (one object's piece of a
// design) instead of counting as Empty.
PlanStatus buildPlan(const std::vector<ObjectRef>& objects, const Settings& settings,
                     const Libraries& libraries, StitchPlan& plan, int64_t recordLimit = kMaxRecords,
                     bool jumpsCount = false)
{
    plan.records.clear();
    if (objects.empty())
        return PlanStatus::Empty;
    if (!withinLimits(objects))
        return PlanStatus::TooLarge;
    const GenContext ctx{settings, libraries};
    if (recordLimit <= 0 || cannotFit(objects, ctx))
        return PlanStatus::TooLarge;

    PlanBuilder counter(settings, libraries, nullptr, recordLimit);
    assemble(objects, ctx, counter);
    // A trim's jumps reach one unit beyond the needle on either side.
    if (counter.overflowed() || counter.width() + 2 > kMaxExtent || counter.height() + 2 > kMaxExtent)
        return PlanStatus::TooLarge;
    if (counter.stitchCount() == 0 && !(jumpsCount && counter.recordCount() > 0))
        return PlanStatus::Empty;

    plan.records.reserve(static_cast<std::size_t>(counter.recordCount()));
    PlanBuilder builder(settings, libraries, &plan.records, recordLimit);
    assemble(objects, ctx, builder);
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

int64_t objectRecordFloor(int32_t kind, const ObjectParams& params, const Libraries& libraries,
                          const Settings& settings)
{
    const std::vector<ObjectRef> objects{{kind, &params}};
    if (recordSize(kind) == 0 || !withinLimits(objects))
        return 0;
    return recordFloor(objects.front(), GenContext{settings, libraries}, kMaxRecords);
}

PlanStatus generatePlan(const Workspace& ws, StitchPlan& plan)
{
    std::vector<ObjectRef> objects;
    const ObjectTable& table = ws.table;
    for (int32_t row : DisplayOrder(table)) {
        const ObjectEntry& e = table.rows[static_cast<std::size_t>(row)];
        if (recordSize(e.kind) == 0 || !ws.records.isLive(e.params))
            break;
        objects.push_back({e.kind, &ws.records[e.params]});
    }
    return buildPlan(objects, ws.settings, ws.libraries, plan);
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
                               const Settings& settings, int64_t recordLimit, StitchPlan& plan)
{
    if (recordSize(kind) == 0) {
        plan.records.clear();
        return PlanStatus::Empty;
    }
    return buildPlan({{kind, &params}}, settings, libraries, plan, recordLimit, true);
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
