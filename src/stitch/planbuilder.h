#pragma once

#include "stitch/generators.h"
#include "stitch/stitchplan.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace kelvara::stitch {

// How an object joins the plan.
struct ObjectStyle {
    int32_t colour = kWhiteThread;
    bool trimAfter = false;
    bool stitched = true; // false for a jump line: its colour and tie-offs do not count
    int tieIn = -1;       // library entry, or -1
    int tieOut = -1;
    bool builtinTieIn = false;
    bool builtinTieOut = false;
    double maxStitch = 0; // longer stitches are split evenly; 0 = only at kMaxStep
    // Sewn as it was read from a machine file: every needle kept, no lock
    // added at either end, its jumps and cuts as given; only the moves
    // between it and other objects follow the rules.
    bool asRead = false;
};

// Assembles the penetrations of successive objects into a plan: moves
// between objects (trims, colour changes, jumps), tie-offs, the short-stitch
// rule and the splitting of long stitches and jumps. Without an output vector
// it only counts, which is how a design is measured before anything is
// allocated for it.
class PlanBuilder final : public NeedleSink {
public:
    PlanBuilder(const Settings& settings, const Libraries& libraries, std::vector<StitchRecord>* out,
                int64_t recordLimit);

    void beginObject(const ObjectStyle& style);
    void endObject();
    void finish();

    void needle(Vec p) override { place(p, false); }
    void edgeNeedle(Vec p) override { place(p, true); }
    void jump(Vec p) override;
    void stop() override;
    void trim() override;
    bool exhausted() const override { return overflow_; }
    int64_t room() const override { return overflow_ ? 0 : limit_ - records_; }
    void markOverflow() override { overflow_ = true; }

    bool overflowed() const { return overflow_; }
    // The records made so far keep their colours: the first thread is known
    // (until then jumps wait to take its colour).
    bool coloursSettled() const { return colourKnown_; }
    // Where the needle is, once anything was placed.
    bool needleAt(Vec& at) const
    {
        at = {static_cast<double>(cur_.x), static_cast<double>(cur_.y)};
        return any_;
    }
    // DST records: a trim counts as the three jumps it becomes.
    int64_t recordCount() const { return records_; }
    int64_t stitchCount() const { return stitches_; }
    int64_t width() const { return any_ ? maxX_ - minX_ : 0; }
    int64_t height() const { return any_ ? maxY_ - minY_ : 0; }

    // For one object's piece of a design: the thread is already in the
    // fabric where it starts (no lock for a new thread), or the piece even
    // carries on the last one's seam; its end stays unlocked unless a cut or
    // a tie-off follows it in the design.
    void startWithThreadIn(bool continuing)
    {
        startThreaded_ = true;
        startContinuing_ = continuing;
    }
    void leaveEndOpen() { endOpen_ = true; }
    // Where the last object started and, before any lock of its end, ended;
    // false when no object stitched.
    bool sewnEnds(int64_t& firstX, int64_t& firstY, int64_t& endX, int64_t& endY) const
    {
        firstX = first_.x, firstY = first_.y, endX = end_.x, endY = end_.y;
        return sewn_;
    }

private:
    struct Point {
        int64_t x = 0, y = 0;
        bool operator==(const Point&) const = default;
    };

    void place(Vec v, bool keep);
    void placeAsRead(Point p);
    bool spendNeedle();
    bool toPoint(Vec v, Point& p);
    void put(StitchKind kind, Point p);
    void connect(Point to, bool stitched);
    void moveTo(Point to);
    void stitchTo(Point p, bool keep);
    void startObject();
    double lockReach() const;
    double lockPath(int entry) const;
    void placeFigure(int entry, const std::vector<Vec>& path);
    void lock(const std::vector<Vec>& path);
    void tieOffTail(int figure);
    void settleFinalNeedle();

    const Settings& settings_;
    const Libraries& libraries_;
    std::vector<StitchRecord>* out_;
    int64_t limit_;

    int64_t records_ = 0;
    int64_t stitches_ = 0;
    int64_t needles_ = 0;
    int64_t needleBudget_;
    bool overflow_ = false;
    bool any_ = false;
    int64_t minX_ = 0, maxX_ = 0, minY_ = 0, maxY_ = 0;

    // Needle state across objects.
    Point cur_;
    bool penetrated_ = false; // the needle went down at cur_
    bool threadIn_ = false;   // stitches since the last trim or colour change
    bool pendingTrim_ = false;
    bool colourKnown_ = false;
    int32_t colour_ = kWhiteThread;

    // The object being assembled.
    ObjectStyle style_;
    bool haveFirst_ = false;
    bool started_ = false;
    Point first_;
    // Needles held back until the path ahead is long enough to lay the tie-in on.
    std::vector<std::pair<Point, bool>> lead_;
    double leadLength_ = 0;
    bool hasDropped_ = false;
    Point dropped_;
    bool lastMovable_ = false; // the last record is this object's stitch, open to moving
    Point beforeLast_;
    // The object's latest penetrations, oldest first: the path the tie-off runs back along.
    std::vector<Point> tail_;
    bool tailOpen_ = false; // the last object ended without a lock
    // The tie-off the last object asked for (a library entry, -1 built in),
    // laid when the next object turns out not to carry the seam on.
    static constexpr int kNoTieOut = -2;
    int tieOutFigure_ = kNoTieOut;
    bool continuing_ = false; // the object being started carries the last one's seam on
    bool startThreaded_ = false;
    bool startContinuing_ = false;
    bool endOpen_ = false;
    bool sewn_ = false;
    Point end_; // the last object's final needle
    std::vector<Vec> walk_;   // scratch path for a lock
};

} // namespace kelvara::stitch
