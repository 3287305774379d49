// Path data: what is read writes back to the same text, and every refusal
// names its fault and where it was found.
#include "model/pathdata.h"
#include "model/pathstore.h"

#include <gtest/gtest.h>

namespace kelvara::testing {
namespace {

TEST(PathData, CanonicalTextRoundTripsThroughReadAndWrite)
{
    const char* texts[] = {
        "M100,100L900,100C950,100,950,150,950,200L950,900L100,900ZM300,300L300,700L700,700L700,300Z",
        "M-5,-7",
        "M0,0ZM0,0L1,1Z",
        "M268435456,-268435456L0,0",
    };
    for (const char* text : texts) {
        const PathReadResult r = readPath(text);
        ASSERT_TRUE(r.ok()) << text;
        EXPECT_EQ(writePath(r.path), text);
    }
    const PathReadResult r = readPath(texts[0]);
    ASSERT_EQ(r.path.subpaths.size(), 2u);
    EXPECT_TRUE(r.path.subpaths[1].closed);
    EXPECT_EQ(r.path.nodeCount(), 9u);
    EXPECT_EQ(r.path.subpaths[0].segments[1].c2, (PathPoint{950, 150}));
}

TEST(PathData, RepeatedSetsAndCommandsAfterCloseGiveExplicitText)
{
    // After M, more pairs are lines; after Z, a line starts at the closed start.
    EXPECT_EQ(writePath(readPath("M1,2,3,4L5,6,7,8ZL9,9ZZ").path), "M1,2L3,4L5,6L7,8ZM1,2L9,9Z");
    EXPECT_EQ(writePath(readPath("M0,0C1,1,2,2,3,3,4,4,5,5,6,6").path), "M0,0C1,1,2,2,3,3C4,4,5,5,6,6");
}

TEST(PathData, ThousandsOfNodesOnOneLine)
{
    PathData path;
    path.subpaths.push_back({{0, 0}, {}, true});
    for (int i = 1; i < 5000; ++i)
        {
        const bool cubic = i % 3 == 0;
        const PathPoint bend = cubic ? PathPoint{i, -i} : PathPoint{};
        path.subpaths[0].segments.push_back({cubic, bend, bend, {i * 7, -i * 3}});
    }
    const PathReadResult r = readPath(writePath(path));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.path, path);
}

TEST(PathData, RefusalsNameTheFaultAndWhere)
{
    struct Case {
        const char* text;
        PathFault fault;
        std::size_t offset;
    } cases[] = {
        {"", PathFault::Empty, 0},
        {"L1,1", PathFault::NoMoveFirst, 0},
        {"M1,1 L2,2", PathFault::UnknownCommand, 4},
        {"m1,1", PathFault::UnknownCommand, 0},
        {"M1,1L2", PathFault::MissingNumber, 6},
        {"M1,1L2,", PathFault::MissingNumber, 7},
        {"M1,1C1,1,2,2L3,3", PathFault::MissingNumber, 12},
        {"M1,1L2,2,", PathFault::MissingNumber, 8},
        {"M1,1L-,2", PathFault::MissingNumber, 6},
        {"M1.5,1", PathFault::NotWholeNumber, 2},
        {"M1e3,1", PathFault::NotWholeNumber, 2},
        {"M268435457,0", PathFault::OutOfRange, 10},
        {"M00000000000000000001,0", PathFault::OutOfRange, 21},
        {"M1,1L1-2", PathFault::MissingNumber, 6},
    };
    for (const Case& c : cases) {
        const PathReadResult r = readPath(c.text);
        EXPECT_EQ(r.fault, c.fault) << c.text;
        EXPECT_EQ(r.offset, c.offset) << c.text;
        EXPECT_TRUE(r.path.subpaths.empty()) << c.text;
    }
}

TEST(PathData, NodesBeyondTheLimitAreRefusedAtTheLimit)
{
    std::string text = "M0,0";
    for (std::size_t i = 1; i < kMostPathNodes; ++i)
        text += ",1,1";
    EXPECT_TRUE(readPath(text).ok());
    text += ",2,2";
    EXPECT_EQ(readPath(text).fault, PathFault::TooManyNodes);
}

TEST(PathStore, AHandleKeepsItsPathWhileLaterOnesAreAdded)
{
    const PathData first = readPath("M0,0L5,5").path;
    const int32_t handle = storePath(first);
    const PathData* kept = storedPath(handle);
    ASSERT_NE(kept, nullptr);
    for (int i = 0; i < 1000; ++i)
        storePath(readPath("M1,1L2,2").path);
    EXPECT_EQ(storedPath(handle), kept);
    EXPECT_EQ(*kept, first);
    EXPECT_EQ(storedPath(0), nullptr);
    EXPECT_EQ(storedPath(-1), nullptr);
    EXPECT_EQ(storedPath(handle + 5000), nullptr);
}

} // namespace
} // namespace kelvara::testing
