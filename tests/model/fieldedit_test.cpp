// Field values applied to a selection from the properties panel.

#include "designchecks.h"
#include "model/editing.h"
#include "model/fieldedit.h"
#include "model/journalring.h"
#include "model/pathconvert.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

using namespace kelvara::testing;
using M = FieldMeaning;

struct FieldEditFixture : ::testing::Test {
    std::unique_ptr<Workspace> ws = makeWorkspace();
    FakePlatform fake;
    Platform platform = fake.platform();
    int32_t run = 0, saten = 0, star = 0;

    void SetUp() override
    {
        run = create(*ws, platform, KindRun, {{0, 0}, {100, 0}});
        saten = create(*ws, platform, KindSaten, {{0, 0}, {100, 0}, {100, 30}, {0, 30}});
        star = create(*ws, platform, KindStar, {{200, 200}, {250, 200}, {200, 240}});
        ws->libraries.tieOffs.count = 2;
    }
    ObjectParams& params(int32_t row) { return ws->records[ws->table.rows[row].params]; }
    void select(std::initializer_list<int32_t> rows)
    {
        clearSelection(*ws);
        for (int32_t row : rows)
            setSelected(*ws, row, true);
    }
    ApplyResult apply(std::vector<FieldValue> values) { return applyFieldValues(*ws, platform, values); }
};

TEST_F(FieldEditFixture, DensityByMeaningOnTwoKindsIsOneStepUndoneToExactBytes)
{
    select({saten, star});
    const DesignSnapshot before = takeSnapshot(*ws, fake.list);
    const int steps = countJournalSteps(ws->journal);
    const uint64_t revision = ws->refresh.designRevision;

    EXPECT_EQ(apply({{M::Density, 50}, {M::PullComp, -4}}), ApplyResult::Applied);
    EXPECT_EQ(params(saten).saten.SDENS, 50);
    EXPECT_EQ(params(star).star.DENS, 50);
    EXPECT_EQ(params(saten).saten.SCOMP, -4);
    EXPECT_EQ(params(star).star.COMP, -4);
    EXPECT_EQ(params(run).run.LEN, ws->settings.STITCH); // not selected
    EXPECT_EQ(countJournalSteps(ws->journal), steps + 1);
    EXPECT_GT(ws->refresh.designRevision, revision);

    undoStep(*ws, platform);
    EXPECT_TRUE(sameDesign(before, *ws, fake.list, false));
    EXPECT_EQ(countJournalSteps(ws->journal), steps);
}

TEST_F(FieldEditFixture, TrimShowsInTheListAndUndoBringsTheLinesBack)
{
    select({run, saten});
    const DesignSnapshot before = takeSnapshot(*ws, fake.list);
    ASSERT_EQ(apply({{M::Trim, 1}, {M::Colour, 0x0000FF}}), ApplyResult::Applied);
    EXPECT_EQ(fake.list.texts(), freshListTexts(*ws));
    EXPECT_EQ(fake.list.lines[0].text.substr(0, 5), "-- T ");
    EXPECT_TRUE(fake.list.lines[0].selected && fake.list.lines[1].selected);
    EXPECT_TRUE(designConsistent(*ws, fake.list));

    undoStep(*ws, platform);
    EXPECT_TRUE(sameDesign(before, *ws, fake.list, true));
}

TEST_F(FieldEditFixture, AChoiceTakesOnlyTheValuesItNames)
{
    EXPECT_EQ(message(*ws, refusalFor(M::Border, 3, ws->settings, ws->libraries)),
              "Border is one of: None, Running line, Satin.");
    EXPECT_TRUE(refusalFor(M::Border, 2, ws->settings, ws->libraries).ok());
    EXPECT_FALSE(refusalFor(M::Style, 0.5, ws->settings, ws->libraries).ok());
    EXPECT_FALSE(refusalFor(M::Style, -1, ws->settings, ws->libraries).ok());
}

TEST_F(FieldEditFixture, ValueOutOfRangeIsRefusedAndNothingChanges)
{
    select({run, saten, star});
    const DesignSnapshot before = takeSnapshot(*ws, fake.list);
    const int32_t newest = ws->journal.newestRecord;
    const std::vector<std::vector<FieldValue>> refused{
        {{M::Trim, 1}, {M::TieIn, 2}}, // only tie-offs 0 and 1 are loaded
        {{M::Motif, 0}},               // no motif is loaded
        {{M::Repeat, 4}},              // even
        {{M::Underlay, 2}},            // between off and the shortest stitch
        {{M::Density, 0}},
        {{M::PullComp, 100}},
        {{M::Angle, 360}},
        {{M::StartSide, 0}},
    };
    for (const auto& values : refused) {
        fake.boxes.shown.clear();
        EXPECT_EQ(apply(values), ApplyResult::Refused) << fieldInfo(values.back().meaning).name;
        ASSERT_EQ(fake.boxes.shown.size(), 1u);
        EXPECT_NE(fake.boxes.shown[0].text.find(fieldInfo(values.back().meaning).name), std::string::npos);
    }
    EXPECT_EQ(fake.boxes.shown[0].text, "Start on is either edge A or edge B.");
    EXPECT_TRUE(sameDesign(before, *ws, fake.list, false));
    EXPECT_EQ(ws->journal.newestRecord, newest);

    select({saten});
    fake.boxes.shown.clear();
    apply({{M::Underlay, 2}});
    EXPECT_EQ(fake.boxes.shown[0].text, "Edge underlay stitch must be off or between 0.5 mm and 9.0 mm.");

    // A column's walk goes down the centre at -1; no other value below 0 is one.
    apply({{M::WalkInset, -2}});
    EXPECT_EQ(fake.boxes.shown[1].text, "Walk underlay inset must be centre or between 0.0 mm and 9.9 mm.");

    // The ends of each range and "off" pass.
    EXPECT_EQ(apply({{M::Underlay, -1}, {M::Repeat, 9}, {M::TieIn, 1}, {M::Density, 99}}),
              ApplyResult::Applied);
    EXPECT_EQ(params(saten).saten.UNDER, -1);
}

TEST_F(FieldEditFixture, TatamiAndMotifSizeKeepTheirStandardAtZeroAndTheirEndsOnly)
{
    // A RUN becomes a STROKE and a RECT a SHAPE: the path kinds carry them.
    const int32_t shape = create(*ws, platform, KindRect, {{300, 100}, {400, 100}, {400, 140}});
    select({run, shape});
    ASSERT_EQ(convertSelectionToPath(*ws, platform), TransformResult::Applied);
    ASSERT_EQ(ws->table.rows[run].kind, KindStroke);
    ASSERT_EQ(ws->table.rows[shape].kind, KindShape);

    const DesignSnapshot before = takeSnapshot(*ws, fake.list);
    const int steps = countJournalSteps(ws->journal);
    fake.boxes.shown.clear();
    EXPECT_EQ(apply({{M::FillStitchLength, 71}}), ApplyResult::Refused);
    EXPECT_EQ(fake.boxes.shown.at(0).text,
              "Tatami stitch length must be standard or between 1.5 mm and 7.0 mm.");
    EXPECT_TRUE(sameDesign(before, *ws, fake.list, false));

    EXPECT_EQ(apply({{M::FillStitchLength, 70}, {M::RowOffset, 99}, {M::MotifSize, 1000}}),
              ApplyResult::Applied);
    EXPECT_EQ(params(shape).shape.FLEN, 70);
    EXPECT_EQ(params(run).stroke.MSIZE, 1000);
    EXPECT_EQ(countJournalSteps(ws->journal), steps + 1);
    undoStep(*ws, platform);
    EXPECT_TRUE(sameDesign(before, *ws, fake.list, false));
    EXPECT_EQ(params(shape).shape.FLEN, 0); // standard, as converted
}

// The original kinds keep these controls in their records' tails: set on a
// mixed selection, refused past their ends, undone to the bytes, and carried
// over when the objects become paths.
TEST_F(FieldEditFixture, TheOriginalKindsTakeTheirControlsInTheirTails)
{
    ws->settings.REPEAT = 3;
    const int32_t rect = create(*ws, platform, KindRect, {{300, 100}, {400, 100}, {400, 140}});
    const int32_t circle = create(*ws, platform, KindCircle, {{500, 500}, {560, 540}});
    select({run, rect, circle});
    const DesignSnapshot before = takeSnapshot(*ws, fake.list);
    const int steps = countJournalSteps(ws->journal);
    EXPECT_EQ(apply({{M::RunPasses, 10}}), ApplyResult::Refused);
    EXPECT_EQ(apply({{M::RunPasses, 2}, {M::MotifSize, 150}, {M::FillStitchLength, 45}, {M::RowOffset, 25}}),
              ApplyResult::Applied);
    EXPECT_EQ(params(run).tailedRun.tail.REPEAT, 2);
    EXPECT_EQ(params(run).tailedRun.tail.MSIZE, 150);
    EXPECT_EQ(params(rect).tailedRect.tail.FLEN, 45);
    EXPECT_EQ(params(circle).tailedCircle.tail.ROWSHIFT, 25);
    EXPECT_EQ(countJournalSteps(ws->journal), steps + 1);
    undoStep(*ws, platform);
    EXPECT_TRUE(sameDesign(before, *ws, fake.list, false));
    ASSERT_TRUE(redoStep(*ws, platform));

    ASSERT_EQ(convertSelectionToPath(*ws, platform), TransformResult::Applied);
    EXPECT_EQ(params(run).stroke.REPEAT, 2);
    EXPECT_EQ(params(run).stroke.MSIZE, 150);
    EXPECT_EQ(params(rect).shape.FLEN, 45);
    EXPECT_EQ(params(circle).shape.ROWSHIFT, 25);

    // A line left to the configuration takes its passes along as its own.
    const int32_t plain = create(*ws, platform, KindRun, {{0, 300}, {100, 300}});
    select({plain});
    ASSERT_EQ(convertSelectionToPath(*ws, platform), TransformResult::Applied);
    EXPECT_EQ(params(plain).stroke.REPEAT, 3);
}

TEST_F(FieldEditFixture, SharedFieldsOfAMixedSelection)
{
    params(saten).saten.TRIM = 1;
    const std::vector<int32_t> rows{run, saten, star};
    std::vector<M> meanings;
    for (const SharedField& s : sharedFields(*ws, rows)) {
        meanings.push_back(s.meaning);
        EXPECT_EQ(s.mixed, s.meaning == M::Trim);
    }
    EXPECT_EQ(meanings, (std::vector<M>{M::Motif, M::TieIn, M::TieOut, M::Trim, M::Colour}));

    const std::vector<int32_t> twoFills{saten, star};
    bool densityShared = false;
    for (const SharedField& s : sharedFields(*ws, twoFills)) {
        EXPECT_NE(s.meaning, M::EdgeAStraight); // STAR has no edges
        if (s.meaning == M::Density) {
            densityShared = true;
            EXPECT_FALSE(s.mixed);
            EXPECT_EQ(s.value, ws->settings.DENSITY);
        }
    }
    EXPECT_TRUE(densityShared);
}

// The panel names what a column's walk sews: the centre walk is a value of
// the walk's inset, chosen like any other field.
TEST_F(FieldEditFixture, UnderlayWordsNameTheCentreWalk)
{
    select({saten});
    ASSERT_EQ(apply({{M::Underlay, 25}, {M::WalkInset, -1}, {M::Zigzag, 20}}), ApplyResult::Applied);
    EXPECT_EQ(params(saten).saten.OFSUND, kCentreWalk);
    EXPECT_EQ(underlayInWords(*ws, std::vector<int32_t>{saten}), "centre walk and zigzag");
    // Asked for twice, it is one walk; beside an edge walk, both are named.
    ASSERT_EQ(apply({{M::CentreWalk, 1}}), ApplyResult::Applied);
    EXPECT_EQ(underlayInWords(*ws, std::vector<int32_t>{saten}), "centre walk and zigzag");
    ASSERT_EQ(apply({{M::WalkInset, 3}}), ApplyResult::Applied);
    EXPECT_EQ(underlayInWords(*ws, std::vector<int32_t>{saten}), "centre walk and edge walk and zigzag");
    ASSERT_EQ(apply({{M::Underlay, -1}, {M::Zigzag, -1}}), ApplyResult::Applied);
    EXPECT_EQ(underlayInWords(*ws, std::vector<int32_t>{saten}), "centre walk");
}

// An edit of every object of a large selection is one step, undone whole.
TEST_F(FieldEditFixture, EditOfAThousandObjectsIsOneStepUndoneWhole)
{
    for (int i = 0; i < 1200; ++i)
        create(*ws, platform, KindRect, {{0, 0}, {100, 0}, {100, 30}, {0, 30}});
    ws->selection.rows.set();
    resetJournal(ws->journal);
    EXPECT_EQ(apply({{M::Density, 40}}), ApplyResult::Applied);
    EXPECT_EQ(countJournalSteps(ws->journal), 1);
    EXPECT_EQ(params(saten).saten.SDENS, 40);
    undoStep(*ws, platform);
    EXPECT_EQ(params(saten).saten.SDENS, ws->settings.DENSITY);
}

} // namespace
} // namespace kelvara
