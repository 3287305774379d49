// Random editing sessions checked against the design's invariants after
// every step, and every Undo checked against the state before the step it
// undoes, byte for byte, down to the journal's boundary.

#include "designchecks.h"
#include "model/arrange.h"
#include "model/editing.h"
#include "model/fieldedit.h"
#include "model/journalring.h"
#include "model/recolour.h"
#include "model/selection.h"
#include "model/transformselection.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <random>

namespace kelvara {
namespace {

using namespace kelvara::testing;

enum class StepKind { Create, Delete, Drop, Edit };

struct JournaledStep {
    StepKind kind;
    DesignSnapshot before;
    // False once the list was rebuilt after the snapshot: a rebuild renumbers
    // the lines, so the texts of earlier states are no longer what Undo gives.
    bool textsExact = true;
    // A redone step's Undo puts back the current object Redo found.
    bool restoresCurrent = false;
};

struct SessionOptions {
    uint32_t seed = 1;
    int steps = 3000;
    int targetObjects = 60; // creation is favoured below this size
    size_t maxSnapshots = 4000;
    int initialObjects = 0;
    bool allowNew = true; // New empties the journal; without it the ring wraps
    int spreeEvery = 0;   // undo everything every so many steps (0: only at random)
};

struct Counts {
    int creates = 0, deletes = 0, drops = 0, edits = 0, undos = 0, redos = 0, emptyUndos = 0, laps = 0,
        maxObjects = 0, sprees = 0;
};

class Session {
public:
    explicit Session(const SessionOptions& options) : options_(options), rng_(options.seed) {}

    Counts run()
    {
        for (int i = 0; i < options_.initialObjects && !::testing::Test::HasFailure(); ++i)
            doCreate();
        for (int step = 0; step < options_.steps; ++step) {
            const int32_t newestBefore = ws_->journal.newestRecord;
            const int undosBefore = counts_.undos;
            if (options_.spreeEvery > 0 && step % options_.spreeEvery == options_.spreeEvery - 1)
                undoSpree();
            else
                act();
            if (ws_->journal.newestRecord < newestBefore && counts_.undos == undosBefore)
                ++counts_.laps;
            const auto ok = designConsistent(*ws_, fake_.list);
            if (!ok) {
                ADD_FAILURE() << "seed " << options_.seed << " step " << step << " (" << lastAction_
                              << "): " << ok.message();
                break;
            }
            if (::testing::Test::HasFailure()) {
                ADD_FAILURE() << "seed " << options_.seed << " step " << step << " (" << lastAction_ << ")";
                break;
            }
            if (step % 16 == 0)
                trimToJournal();
            counts_.maxObjects = std::max(counts_.maxObjects, ws_->table.objectCount);
        }
        return counts_;
    }

private:
    int random(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool chance(int percent) { return random(0, 99) < percent; }

    int32_t randomUsedRow()
    {
        if (fake_.list.count() == 0)
            return -1;
        return fake_.list.lines[random(0, fake_.list.count() - 1)].data;
    }

    void act()
    {
        const int createWeight = ws_->table.objectCount < options_.targetObjects ? 50 : 18;
        const int roll = random(0, createWeight + 70);
        if (roll < createWeight)
            doCreate();
        else if (roll < createWeight + 15)
            doDelete();
        else if (roll < createWeight + 20)
            doEscape();
        else if (roll < createWeight + 35)
            doDrop();
        else if (roll < createWeight + 45)
            doSelectionEdit();
        else if (roll < createWeight + 70 || chance(70))
            doUndo();
        else if (!options_.allowNew)
            doUndo();
        else if (chance(50))
            undoSpree();
        else
            doNew();
    }

    void push(StepKind kind) { push(kind, takeSnapshot(*ws_, fake_.list)); }
    void push(StepKind kind, DesignSnapshot before)
    {
        undoable_.push_back({kind, std::move(before), true});
        if (undoable_.size() > options_.maxSnapshots) {
            undoable_.pop_front();
            capped_ = true;
        }
    }

    void listRebuilt()
    {
        for (auto& s : undoable_)
            s.textsExact = false;
    }

    // Steps the ring dropped can no longer be undone; forget their snapshots.
    void trimToJournal()
    {
        const size_t steps = static_cast<size_t>(countJournalSteps(ws_->journal));
        if (!capped_) {
            ASSERT_LE(steps, undoable_.size());
        }
        while (undoable_.size() > steps)
            undoable_.pop_front();
    }

    void doCreate()
    {
        lastAction_ = "create";
        if (chance(70))
            ws_->table.currentObject = chance(90) ? randomUsedRow() : -1;
        const int32_t kind = random(KindRun, KindCircle);
        std::vector<std::pair<int32_t, int32_t>> points;
        for (int i = 0; i < 4; ++i)
            points.emplace_back(random(-3000, 3000), random(-3000, 3000));
        setSegments(*ws_, kind, points);
        for (auto& s : ws_->tools.preview.segments)
            if (chance(30)) {
                s.straight = 0;
                s.c1X = random(-50, 50);
                s.c2Y = random(-50, 50);
            }
        if (chance(30))
            ws_->tools.newGroupPending = 1;

        const bool full = ws_->table.objectCount >= ObjectTable::kRows;
        if (!full)
            push(StepKind::Create);
        const int32_t row = createObject(*ws_, platform_);
        ASSERT_EQ(row < 0, full);
        ++counts_.creates;
        // Vary the colours so the lines' colour marks differ.
        if (row >= 0 && chance(40)) {
            ObjectParams& p = ws_->records[ws_->table.rows[row].params];
            const int32_t colour = random(0, 3) * 0x404040;
            switch (ws_->table.rows[row].kind) {
            case KindRun:
                p.run.colour = colour;
                break;
            case KindSaten:
                p.saten.colour = colour;
                break;
            case KindSteil:
                p.steil.colour = colour;
                break;
            case KindRect:
                p.rect.colour = colour;
                break;
            case KindStar:
                p.star.colour = colour;
                break;
            case KindCircle:
                p.circle.colour = colour;
                break;
            default:
                break;
            }
        }
    }

    void doDelete()
    {
        lastAction_ = "delete";
        if (chance(60))
            ws_->table.currentObject = randomUsedRow();
        if (chance(3)) {
            // Shift: only the picture goes; the design and journal stay.
            ws_->input.shiftDown = 1;
            const DesignSnapshot before = takeSnapshot(*ws_, fake_.list);
            const int32_t newest = ws_->journal.newestRecord;
            deleteCurrent(*ws_, platform_);
            ws_->input.shiftDown = 0;
            EXPECT_TRUE(sameDesign(before, *ws_, fake_.list, false));
            EXPECT_EQ(ws_->journal.newestRecord, newest);
            return;
        }
        if (ws_->table.currentObject >= 0)
            push(StepKind::Delete);
        deleteCurrent(*ws_, platform_);
        ++counts_.deletes;
    }

    void doEscape()
    {
        lastAction_ = "escape";
        ws_->table.currentObject = -1;
    }

    void doDrop()
    {
        lastAction_ = "drop";
        const int lines = fake_.list.count();
        std::vector<int> selected;
        if (lines > 0) {
            const int wanted = chance(10) ? random(0, lines) : random(0, std::min(lines, 6));
            for (int i = 0; i < wanted; ++i)
                selected.push_back(random(0, lines - 1));
        }
        selectLines(fake_.list, selected);
        ws_->input.shiftDown = chance(40) ? 1 : 0;
        const int32_t target = chance(5) ? -1 : random(0, lines);
        const bool reached = ws_->table.objectCount >= 2 && target >= 0;
        const std::vector<int32_t> orderBefore = walkOrder(*ws_);
        DesignSnapshot before = takeSnapshot(*ws_, fake_.list);
        dropObjects(*ws_, platform_, target);
        ws_->input.shiftDown = 0;
        // Only a drop that changes the order is a step.
        if (reached && walkOrder(*ws_) != orderBefore)
            push(StepKind::Drop, std::move(before));
        if (reached) {
            listRebuilt();
            ++counts_.drops;
        }
    }

    // A random selection, then one command on all of it: a delete, a field
    // applied to every object that has it, or a new thread colour.
    void doSelectionEdit()
    {
        lastAction_ = "selection edit";
        clearSelection(*ws_);
        const int lines = fake_.list.count();
        for (int i = lines > 0 ? random(1, std::min(lines, 5)) : 0; i > 0; --i)
            setSelected(*ws_, randomUsedRow(), true);
        const std::vector<int32_t> rows = selectedRows(*ws_);
        if (rows.empty())
            return;
        DesignSnapshot before = takeSnapshot(*ws_, fake_.list);
        const uint64_t revision = ws_->refresh.designRevision;
        const int what = random(0, 6);
        if (what == 0) {
            lastAction_ = "delete of a selection";
            deleteCurrent(*ws_, platform_);
        } else if (what == 1) {
            lastAction_ = "field apply";
            const std::vector<SharedField> fields = sharedFields(*ws_, rows);
            const SharedField& field = fields[std::size_t(random(0, int(fields.size()) - 1))];
            const FieldRange range = fieldRange(field.meaning, ws_->settings, ws_->libraries);
            double value = std::round(range.low + (range.high - range.low) * random(0, 100) / 100.0);
            if (chance(10))
                value = range.high + 1000; // refused whole
            const FieldValue change{field.meaning, value};
            applyFieldValues(*ws_, platform_, std::span(&change, 1));
        } else if (what == 2) {
            lastAction_ = "recolour";
            recolourSelection(*ws_, platform_, random(0, 0xFFFFFF));
        } else if (what == 3) {
            lastAction_ = "flip";
            flipSelection(*ws_, platform_, chance(50) ? MirrorAxis::LeftRight : MirrorAxis::TopBottom);
        } else if (what == 4) {
            lastAction_ = "group";
            groupSelection(*ws_, platform_);
        } else {
            lastAction_ = "move to start or end";
            if (what == 5)
                moveSelectionToStart(*ws_, platform_);
            else
                moveSelectionToEnd(*ws_, platform_);
        }
        if (ws_->refresh.designRevision == revision) {
            // Refused or unchanged: nothing happened and nothing may be undone
            // (a move rebuilds the list even when nothing moved).
            EXPECT_TRUE(sameDesign(before, *ws_, fake_.list, what >= 5)) << lastAction_;
            if (what >= 5)
                listRebuilt();
            return;
        }
        push(what == 0 ? StepKind::Delete : what >= 5 ? StepKind::Drop : StepKind::Edit, std::move(before));
        // A changed colour changes the marks of the lines after it.
        if (what != 0)
            listRebuilt();
        ++counts_.edits;
    }

    void doUndo()
    {
        lastAction_ = "undo";
        const bool empty = ws_->journal.newestRecord == ws_->journal.oldestRecord;
        if (empty) {
            lastAction_ = "undo on an empty journal";
            const DesignSnapshot before = takeSnapshot(*ws_, fake_.list);
            const uint64_t revision = ws_->refresh.designRevision;
            undoStep(*ws_, platform_);
            EXPECT_TRUE(sameDesign(before, *ws_, fake_.list, false));
            EXPECT_EQ(ws_->refresh.designRevision, revision);
            undoable_.clear();
            ++counts_.emptyUndos;
            return;
        }
        if (undoable_.empty()) {
            // Only when snapshots were capped may the journal reach deeper.
            ASSERT_TRUE(capped_) << "the journal holds a step the session did not make";
            undoStep(*ws_, platform_);
            return;
        }
        JournaledStep step = std::move(undoable_.back());
        undoable_.pop_back();
        const bool isDrop = step.kind == StepKind::Drop;
        const bool isEdit = step.kind == StepKind::Edit;
        // A reorder's or a field edit's Undo leaves currentObject as it is now.
        if ((isDrop || isEdit) && !step.restoresCurrent)
            step.before.currentObject = ws_->table.currentObject;
        const DesignSnapshot beforeUndo = takeSnapshot(*ws_, fake_.list);
        undoStep(*ws_, platform_);
        ++counts_.undos;
        // An edit's Undo rebuilds the lines only when a colour or trim
        // changed; either way designConsistent checks what they must show.
        if ((!step.textsExact && !isDrop) || isEdit) {
            // Lines were renumbered since: compare everything but the texts,
            // whose glyph and group designConsistent still checks.
            step.before.texts = fake_.list.texts();
        }
        const auto same = sameDesign(step.before, *ws_, fake_.list, isDrop);
        EXPECT_TRUE(same) << "undo of a "
                          << (step.kind == StepKind::Drop     ? "drop"
                              : step.kind == StepKind::Edit   ? "field edit or recolour"
                              : step.kind == StepKind::Create ? "create"
                                                              : "delete");
        if (isDrop || isEdit)
            listRebuilt();
        if (same && chance(30))
            redoAfterUndo(std::move(step), beforeUndo);
    }

    // Redo gives back exactly what the Undo took, and the step can be undone
    // again as before.
    void redoAfterUndo(JournaledStep step, const DesignSnapshot& beforeUndo)
    {
        lastAction_ = "redo";
        step.before.currentObject = ws_->table.currentObject;
        step.restoresCurrent = true;
        ASSERT_TRUE(redoStep(*ws_, platform_));
        ++counts_.redos;
        EXPECT_TRUE(sameDesign(beforeUndo, *ws_, fake_.list, false)) << "redo after an undo";
        step.textsExact = false;
        undoable_.push_back(std::move(step));
    }

    // Undo until the journal is empty: the oldest steps left in a ring that
    // has wrapped must come back as whole as the newest.
    void undoSpree()
    {
        while (ws_->journal.newestRecord != ws_->journal.oldestRecord && !::testing::Test::HasFailure()) {
            doUndo();
            const auto ok = designConsistent(*ws_, fake_.list);
            ASSERT_TRUE(ok) << "seed " << options_.seed << " during an undo spree";
        }
        lastAction_ = "undo spree";
        ++counts_.sprees;
    }

    void doNew()
    {
        lastAction_ = "new";
        clearTable(ws_->table, ws_->records);
        resetJournal(ws_->journal);
        refillObjectList(*ws_, platform_);
        undoable_.clear();
    }

    SessionOptions options_;
    std::mt19937 rng_;
    std::unique_ptr<Workspace> ws_ = makeWorkspace();
    FakePlatform fake_;
    Platform platform_ = fake_.platform();
    std::deque<JournaledStep> undoable_;
    Counts counts_;
    const char* lastAction_ = "";
    bool capped_ = false;
};

TEST(RandomizedEditing, SmallDesignsManySeeds)
{
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        SessionOptions options;
        options.seed = seed;
        options.steps = 2500;
        options.targetObjects = 12;
        const Counts c = Session(options).run();
        ASSERT_FALSE(::testing::Test::HasFailure()) << "seed " << seed;
        EXPECT_GT(c.undos, 300);
        EXPECT_GT(c.drops, 200);
        EXPECT_GT(c.edits, 100);
        EXPECT_GT(c.redos, 50);
    }
}

// The 4 MiB ring takes far more than a session writes: the ring's laps are
// driven by the UndoJournalRing tests, this session checks every step.
TEST(RandomizedEditing, LongSessionWithUndoSprees)
{
    SessionOptions options;
    options.seed = 20240611;
    options.steps = 25000;
    options.targetObjects = 120;
    options.allowNew = false;
    options.spreeEvery = 5000;
    const Counts c = Session(options).run();
    ASSERT_FALSE(::testing::Test::HasFailure());
    EXPECT_GE(c.sprees, 4);
    EXPECT_GT(c.emptyUndos + c.undos, 3000);
}

TEST(RandomizedEditing, LargeDesignWithBigReorders)
{
    SessionOptions options;
    options.seed = 77;
    options.steps = 2500;
    options.targetObjects = 900;
    options.maxSnapshots = 300;
    const Counts c = Session(options).run();
    ASSERT_FALSE(::testing::Test::HasFailure());
    EXPECT_GT(c.drops, 100);
}

} // namespace
} // namespace kelvara
