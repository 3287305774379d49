#include "designchecks.h"
#include "model/editing.h"
#include "model/journalring.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace kelvara {
namespace {

using namespace kelvara::testing;

// One stored record: header words (back, stepStart, listAction, size,
// target) and its data as written.
struct Stored {
    std::array<int32_t, 5> header;
    std::vector<unsigned char> data;
};

// The newest step's records, oldest first.
std::vector<Stored> newestStep(const UndoJournal& journal)
{
    std::vector<Stored> step;
    for (int32_t p = journal.newestRecord; p != journal.oldestRecord;) {
        const JournalHeader h = readJournalHeader(journal, p);
        const unsigned char* data = journal.area.data() + p + UndoJournal::kHeaderSize;
        step.insert(step.begin(), Stored{{h.back, h.stepStart, h.listAction, h.size, h.target},
                                         std::vector<unsigned char>(data, data + ((h.size + 3) & ~3))});
        if (h.stepStart == 1)
            break;
        p = h.back;
    }
    return step;
}

std::vector<unsigned char> bytesOf(const ObjectEntry& entry)
{
    std::vector<unsigned char> bytes(sizeof entry);
    std::memcpy(bytes.data(), &entry, sizeof entry);
    return bytes;
}

std::vector<unsigned char> bytesOf(int32_t word)
{
    std::vector<unsigned char> bytes(4);
    std::memcpy(bytes.data(), &word, 4);
    return bytes;
}

constexpr int32_t kImage = UndoJournal::kRowImageBase;
constexpr int32_t kRow = static_cast<int32_t>(sizeof(ObjectEntry));

// Undo depends on these bytes alone, so the layout of a create, a delete
// and a drop step is pinned: header words, and data as they stood before
// the edit.
TEST(JournalBytes, CreateDeleteAndDropStepsKeepTheirLayout)
{
    auto ws = makeWorkspace();
    FakePlatform fake;
    const Platform platform = fake.platform();
    const int32_t a = create(*ws, platform, KindRun, {{0, 0}, {10, 0}});
    const int32_t b = create(*ws, platform, KindRun, {{0, 0}, {10, 10}});
    ws->table.currentObject = a;
    const ObjectEntry aBefore = ws->table.rows[a];
    const ObjectEntry bBefore = ws->table.rows[b];

    // Create between a and b: delete list line 1 on undo, then the images.
    const int32_t c = create(*ws, platform, KindSaten, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    std::vector<Stored> step = newestStep(ws->journal);
    ASSERT_EQ(step.size(), 5u);
    EXPECT_EQ(step[0].header, (std::array<int32_t, 5>{228, 1, -3, 0, 0}));
    EXPECT_EQ(step[1].header, (std::array<int32_t, 5>{252, 0, -1, kRow, kImage + c}));
    EXPECT_EQ(step[1].data, bytesOf(ObjectEntry{}));
    EXPECT_EQ(step[2].header, (std::array<int32_t, 5>{272, 0, -1, kRow, kImage + a}));
    EXPECT_EQ(step[2].data, bytesOf(aBefore));
    EXPECT_EQ(step[3].header, (std::array<int32_t, 5>{320, 0, -1, kRow, kImage + b}));
    EXPECT_EQ(step[3].data, bytesOf(bBefore));
    EXPECT_EQ(step[4].header, (std::array<int32_t, 5>{368, 0, -1, 4, UndoJournal::kCurrentObjectTarget}));
    EXPECT_EQ(step[4].data, bytesOf(a));

    // Delete c: its record bytes, the images, then the line's text padded.
    const ObjectEntry cBefore = ws->table.rows[c];
    const int32_t size = cBefore.paramsSize;
    const unsigned char* record = ws->records.bytes(cBefore.params);
    const std::vector<unsigned char> recordBefore(record, record + size);
    const ObjectEntry aLinked = ws->table.rows[a];
    const ObjectEntry bLinked = ws->table.rows[b];
    const std::string line = fake.list.text(1);
    deleteCurrent(*ws, platform);
    step = newestStep(ws->journal);
    ASSERT_EQ(step.size(), 5u);
    ASSERT_EQ(size, int32_t(sizeof(SatenRecord)));
    EXPECT_EQ(step[0].header, (std::array<int32_t, 5>{416, 1, -1, size, c}));
    EXPECT_EQ(step[0].data, recordBefore);
    EXPECT_EQ(step[1].header, (std::array<int32_t, 5>{440, 0, -1, kRow, kImage + c}));
    EXPECT_EQ(step[1].data, bytesOf(cBefore));
    EXPECT_EQ(step[2].header, (std::array<int32_t, 5>{692, 0, -1, kRow, kImage + a}));
    EXPECT_EQ(step[2].data, bytesOf(aLinked));
    EXPECT_EQ(step[3].header, (std::array<int32_t, 5>{740, 0, -1, kRow, kImage + b}));
    EXPECT_EQ(step[3].data, bytesOf(bLinked));
    EXPECT_EQ(step[4].header, (std::array<int32_t, 5>{788, 0, 1, 64, 0}));
    std::vector<unsigned char> text(64, 0);
    ASSERT_FALSE(line.empty());
    std::memcpy(text.data(), line.data(), line.size());
    EXPECT_EQ(step[4].data, text);

    // Drop a after b: refill the list on undo, then the changed images.
    const ObjectEntry aShown = ws->table.rows[a];
    const ObjectEntry bShown = ws->table.rows[b];
    selectLines(fake.list, {0});
    dropObjects(*ws, platform, 2);
    step = newestStep(ws->journal);
    ASSERT_EQ(step.size(), 3u);
    EXPECT_EQ(step[0].header, (std::array<int32_t, 5>{836, 1, 0, 0, 0}));
    EXPECT_EQ(step[1].header, (std::array<int32_t, 5>{920, 0, -1, kRow, kImage + b}));
    EXPECT_EQ(step[1].data, bytesOf(bShown));
    EXPECT_EQ(step[2].header, (std::array<int32_t, 5>{940, 0, -1, kRow, kImage + a}));
    EXPECT_EQ(step[2].data, bytesOf(aShown));
}

} // namespace
} // namespace kelvara
