#include "model/journalring.h"

#include "model/journal.h"

#include "designchecks.h"
#include "model/editing.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>

namespace kelvara {
namespace {

using namespace kelvara::testing;

// A record that carries only text, as a list re-insert does.
void textRecord(Workspace& ws, int32_t size, bool stepStart, int32_t listAction = 0)
{
    std::vector<unsigned char> bytes(static_cast<size_t>(size), 'x');
    appendJournalRecord(ws.journal, 0, bytes.data(), size, listAction, stepStart);
}

// Walks the back chain from the newest record to the boundary.
int chainLength(const UndoJournal& j)
{
    int n = 0;
    for (int32_t p = j.newestRecord; p != j.oldestRecord && n <= UndoJournal::kSize / 20; ++n)
        p = readJournalHeader(j, p).back;
    return n;
}

TEST(UndoJournalRing, HeaderDataAndPaddingAsLaidOut)
{
    auto ws = makeWorkspace();
    ws->table.currentObject = 1234;
    journalCurrentObject(*ws, JournalStep::Starts);
    EXPECT_EQ(ws->journal.newestRecord, 20); // after the empty boundary record at 0
    const char text[6] = {'a', 'b', 'c', 'd', 'e', 'f'};
    appendJournalRecord(ws->journal, 0, text, 6, 7, false);
    EXPECT_EQ(ws->journal.newestRecord, 20 + 24);
    textRecord(*ws, 0, false, -5);
    EXPECT_EQ(ws->journal.newestRecord, 20 + 24 + 28); // 6 bytes take 8

    const JournalHeader h = readJournalHeader(ws->journal, 20);
    EXPECT_EQ(h.back, 0);
    EXPECT_EQ(h.stepStart, 1);
    EXPECT_EQ(h.listAction, -1);
    EXPECT_EQ(h.size, 4);
    EXPECT_EQ(h.target, UndoJournal::kCurrentObjectTarget);
    int32_t saved = 0;
    std::memcpy(&saved, ws->journal.area.data() + 40, 4);
    EXPECT_EQ(saved, 1234);
    const JournalHeader h2 = readJournalHeader(ws->journal, 44);
    EXPECT_EQ(h2.back, 20);
    EXPECT_EQ(h2.listAction, 7);
    EXPECT_EQ(std::memcmp(ws->journal.area.data() + 64, "abcdef", 6), 0);
    EXPECT_EQ(countJournalSteps(ws->journal), 1);
}

TEST(UndoJournalRing, RecordThatWouldStraddleTheEndStartsAtZeroAndChainStillReachesBoundary)
{
    auto ws = makeWorkspace();
    // Records of 20 + 232 bytes: 252 does not divide the area, so one of
    // them cannot fit before the end.
    int32_t lastBeforeWrap = 0;
    for (int i = 0; i < UndoJournal::kSize / 252 + 10; ++i) {
        const int32_t before = ws->journal.newestRecord;
        textRecord(*ws, 232, true);
        if (ws->journal.newestRecord == 0) {
            lastBeforeWrap = before;
            break;
        }
    }
    ASSERT_EQ(ws->journal.newestRecord, 0) << "the ring never wrapped";
    EXPECT_GT(lastBeforeWrap + 252 + 252, UndoJournal::kSize);
    EXPECT_EQ(readJournalHeader(ws->journal, 0).back, lastBeforeWrap);
    // The oldest records were dropped to make room; the boundary's back is 0.
    EXPECT_NE(ws->journal.oldestRecord, 0);
    EXPECT_EQ(readJournalHeader(ws->journal, ws->journal.oldestRecord).back, 0);
    EXPECT_EQ(chainLength(ws->journal), countJournalSteps(ws->journal));

    // Many more laps: the chain always ends at the boundary.
    for (int i = 0; i < 5000; ++i) {
        textRecord(*ws, (i * 37) % 233, i % 3 == 0);
        if (i % 97 == 0) {
            ASSERT_GE(chainLength(ws->journal), countJournalSteps(ws->journal));
        }
    }
    // Undo of every remaining step empties it without going round.
    FakePlatform fake;
    const Platform platform = fake.platform();
    const int steps = countJournalSteps(ws->journal);
    EXPECT_GT(steps, 100);
    for (int i = 0; i < steps; ++i)
        undoStep(*ws, platform);
    EXPECT_EQ(ws->journal.newestRecord, ws->journal.oldestRecord);
}

// A step whose first records were dropped cannot be undone correctly (rows
// would be half restored), so the ring drops the rest of it too.
TEST(UndoJournalRing, DroppingRemovesWholeStepsSoTheBoundaryIsFollowedByAStepStart)
{
    auto ws = makeWorkspace();
    for (int i = 0; i < 4000; ++i) {
        textRecord(*ws, 100, i % 5 == 0);
        const int32_t after = nextJournalRecord(ws->journal, ws->journal.oldestRecord);
        if (ws->journal.oldestRecord != ws->journal.newestRecord) {
            ASSERT_EQ(readJournalHeader(ws->journal, after).stepStart, 1) << "after record " << i;
        }
    }
    // Each undo replays exactly one five-record step.
    FakePlatform fake;
    const Platform platform = fake.platform();
    const int steps = countJournalSteps(ws->journal);
    const int records = chainLength(ws->journal);
    EXPECT_EQ(records, steps * 5);
    undoStep(*ws, platform);
    EXPECT_EQ(chainLength(ws->journal), records - 5);
}

// Records of random sizes over many laps, with Undo now and then: every
// replay must give back exactly the newest whole step, never a record from
// an earlier lap whose bytes still lie in the area, and the ring must keep
// nearly its whole capacity.
TEST(UndoJournalRing, ReplaysExactlyTheNewestWholeStepsAcrossManyLaps)
{
    auto ws = makeWorkspace();
    FakePlatform fake;
    const Platform platform = fake.platform();
    std::mt19937 rng(12345);
    auto random = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };

    struct Written {
        int id;
        bool stepStart;
        int bytes;
    };
    std::vector<Written> live; // written and not undone, oldest first (may include dropped ones)
    constexpr int kMaxStepBytes = 8 * 252;
    int nextId = 0;

    // Undo one step; the replayed ids come out as list lines in replay order.
    auto undoAndCollect = [&] {
        fake.list.resetContent();
        undoStep(*ws, platform);
        std::vector<int> ids;
        for (const auto& line : fake.list.lines)
            ids.push_back(std::stoi(line.text));
        return ids;
    };

    // Enough rounds to wrap the ring many times, whatever its size.
    const int rounds = int(60000 * (int64_t(UndoJournal::kSize) / 262144));
    for (int round = 0; round < rounds; ++round) {
        if (random(0, 9) > 0) {
            const int records = random(1, 8);
            for (int i = 0; i < records; ++i) {
                std::array<char, 232> text{};
                const std::string id = std::to_string(nextId);
                std::memcpy(text.data(), id.c_str(), id.size());
                const int size = random(12, 232);
                // A far list position appends, so lines keep the replay order.
                appendJournalRecord(ws->journal, 0, text.data(), size, 1 << 20, i == 0);
                live.push_back({nextId++, i == 0, 20 + ((size + 3) & ~3)});
            }
            continue;
        }
        const bool empty = ws->journal.newestRecord == ws->journal.oldestRecord;
        const std::vector<int> replayed = undoAndCollect();
        if (empty) {
            ASSERT_TRUE(replayed.empty());
            live.clear();
            continue;
        }
        std::vector<int> expected;
        while (!live.empty()) {
            expected.push_back(live.back().id);
            const bool start = live.back().stepStart;
            live.pop_back();
            if (start)
                break;
        }
        ASSERT_EQ(replayed, expected) << "round " << round;
    }

    // Everything still held comes back newest first, as whole steps, and
    // holds nearly the ring's capacity.
    std::vector<int> replayed;
    for (;;) {
        const bool empty = ws->journal.newestRecord == ws->journal.oldestRecord;
        const std::vector<int> step = undoAndCollect();
        if (empty)
            break;
        replayed.insert(replayed.end(), step.begin(), step.end());
    }
    ASSERT_LE(replayed.size(), live.size());
    int bytes = 0;
    for (size_t i = 0; i < replayed.size(); ++i) {
        const Written& w = live[live.size() - 1 - i];
        ASSERT_EQ(replayed[i], w.id) << "replayed record " << i;
        bytes += w.bytes;
    }
    EXPECT_TRUE(live[live.size() - replayed.size()].stepStart);
    EXPECT_GT(bytes, UndoJournal::kSize - 4 * kMaxStepBytes);
    EXPECT_GT(nextId * 100, UndoJournal::kSize * 10) << "too few records to wrap the ring many times";
}

// Bytes past the point where a lap wrapped are left over from earlier laps
// and may look like record headers. Here a lap of 20-byte records leaves a
// header at every 20th byte; later laps of 252-byte records wrap just before
// such leftovers. The boundary must step from the last record of a lap to
// the start of the area, not onto a leftover, or Undo replays dead records.
TEST(UndoJournalRing, BoundaryNeverTakesBytesLeftPastTheWrapForARecord)
{
    auto ws = makeWorkspace();
    FakePlatform fake;
    const Platform platform = fake.platform();
    while (true) {
        appendJournalRecord(ws->journal, UndoJournal::kCurrentObjectTarget, nullptr, 0, -1, true);
        if (ws->journal.newestRecord == 0)
            break;
    }
    int id = 0;
    int wraps = 0;
    while (wraps < 2 || ws->journal.newestRecord + 2 * 252 <= UndoJournal::kSize) {
        std::array<char, 232> text{};
        const std::string number = std::to_string(id++);
        std::memcpy(text.data(), number.c_str(), number.size());
        appendJournalRecord(ws->journal, 0, text.data(), 232, 1 << 20, true);
        if (ws->journal.newestRecord == 0)
            ++wraps;
    }
    ASSERT_GT(ws->journal.newestRecord + 252, UndoJournal::kSize - 252); // last record of the lap

    int expected = id - 1;
    int undone = 0;
    for (; undone < UndoJournal::kSize / 80 && ws->journal.newestRecord != ws->journal.oldestRecord;
         ++undone) {
        fake.list.resetContent();
        undoStep(*ws, platform);
        ASSERT_EQ(fake.list.count(), 1) << "undo " << undone;
        ASSERT_EQ(fake.list.lines[0].text, std::to_string(expected--)) << "undo " << undone;
    }
    EXPECT_EQ(ws->journal.newestRecord, ws->journal.oldestRecord);
    EXPECT_GT(undone, 1000);
}

TEST(UndoJournalRing, EmptyJournalAndResetUndoNothing)
{
    auto ws = makeWorkspace();
    FakePlatform fake;
    const Platform platform = fake.platform();
    undoStep(*ws, platform);
    EXPECT_FALSE(ws->refresh.render);
    EXPECT_FALSE(ws->refresh.repaint);

    create(*ws, platform, KindRun, {{0, 0}, {10, 10}});
    resetJournal(ws->journal); // what New and Open do
    const uint64_t revision = ws->refresh.designRevision;
    undoStep(*ws, platform);
    EXPECT_EQ(ws->table.objectCount, 1);
    EXPECT_EQ(fake.list.count(), 1);
    EXPECT_EQ(ws->refresh.designRevision, revision);
}

TEST(UndoJournalRing, StepsAreUndoneNewestFirstDownToTheBoundary)
{
    auto ws = makeWorkspace();
    FakePlatform fake;
    const Platform platform = fake.platform();
    const int32_t a = create(*ws, platform, KindRun, {{0, 0}, {10, 0}});
    const int32_t b = create(*ws, platform, KindStar, {{0, 0}, {10, 10}, {0, 0}});
    EXPECT_EQ(countJournalSteps(ws->journal), 2);
    refresh(*ws, platform);
    const uint64_t revision = ws->refresh.designRevision;
    undoStep(*ws, platform);
    EXPECT_EQ(ws->table.rows[b].kind, KindFree);
    EXPECT_EQ(ws->table.currentObject, a);
    EXPECT_EQ(ws->refresh.designRevision, revision + 1);
    EXPECT_TRUE(ws->refresh.render);
    EXPECT_TRUE(ws->refresh.repaint);
    undoStep(*ws, platform);
    EXPECT_EQ(ws->table.objectCount, 0);
    undoStep(*ws, platform); // boundary reached: nothing more
    EXPECT_EQ(ws->refresh.designRevision, revision + 2);
    EXPECT_TRUE(designConsistent(*ws, fake.list));
}

} // namespace
} // namespace kelvara
