// A kind added through the kind table alone (one row, defined here) is read
// from a project line, saved back, listed, picked, moved, mirrored and
// planned by the code every kind shares.

#include "model/kinds/kindparts.h"
#include "model/listtext.h"
#include "model/objecttable.h"
#include "model/recordgeometry.h"
#include "project/openproject.h"
#include "project/projectformat.h"
#include "stitch/generators.h"
#include "stitch/objectpicking.h"
#include "stitch/stitchplan.h"
#include "support/fakeplatform.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace kelvara::testing {
namespace {

using kindparts::M;
using projectkeys::Form;

// A dot: a few stitches across an upright ellipse.
#pragma pack(push, 1)
struct DotParams {
    int32_t X, Y, RX, RY;
    int32_t colour, TRIM, TIEIN, TIEOUT;
};
#pragma pack(pop)

constexpr int32_t kKindDot = 10;

constexpr auto kDotKeys = [] {
    projectkeys::FieldList<9> l;
    l.add("GROUP", Form::Group, 0);
    l.add("X", Form::Integer, offsetof(DotParams, X));
    l.add("Y", Form::Integer, offsetof(DotParams, Y));
    l.add("RX", Form::Integer, offsetof(DotParams, RX));
    l.add("RY", Form::Integer, offsetof(DotParams, RY));
    l.add("R", Form::Red, offsetof(DotParams, colour));
    l.add("G", Form::Green, offsetof(DotParams, colour));
    l.add("B", Form::Blue, offsetof(DotParams, colour));
    l.add("TRIM", Form::Flag, offsetof(DotParams, TRIM));
    return l;
}();

constexpr auto kDotFields = [] {
    kindparts::FieldTable<8> t;
    t.add(M::CentreX, offsetof(DotParams, X));
    t.add(M::CentreY, offsetof(DotParams, Y));
    t.add(M::RadiusX, offsetof(DotParams, RX));
    t.add(M::RadiusY, offsetof(DotParams, RY));
    t.add(M::Colour, offsetof(DotParams, colour));
    t.add(M::Trim, offsetof(DotParams, TRIM));
    t.add(M::TieIn, offsetof(DotParams, TIEIN));
    t.add(M::TieOut, offsetof(DotParams, TIEOUT));
    return t.sorted();
}();

int32_t* at(ObjectParams& p, std::size_t offset)
{
    return reinterpret_cast<int32_t*>(p.bytes + offset);
}

DotParams dotOf(const ObjectParams& p)
{
    DotParams d;
    std::memcpy(&d, p.bytes, sizeof d);
    return d;
}

const KindRow kDotKind{
    .kind = kKindDot,
    .word = "DOT",
    .glyph = "<>",
    .size = sizeof(DotParams),
    .minSize = sizeof(DotParams),
    .keys = kindparts::keySpan(kDotKeys),
    .fields = kDotFields.span(),
    .segments = 1,
    .ellipse =
        [](ObjectParams& p) {
            return KindEllipse{at(p, offsetof(DotParams, X)), at(p, offsetof(DotParams, Y)),
                               at(p, offsetof(DotParams, RX)), at(p, offsetof(DotParams, RY))};
        },
    .defaults =
        [](ObjectParams& p, const Settings&, int32_t colour) {
            const DotParams d{0, 0, 0, 0, colour, 0, -1, -1};
            std::memcpy(p.bytes, &d, sizeof d);
        },
    .generate =
        [](const ObjectParams& p, const stitch::GenContext&, stitch::NeedleSink& sink) {
            const DotParams d = dotOf(p);
            for (int i = -2; i <= 2; ++i)
                sink.needle({double(d.X) + d.RX * i / 2.0, double(d.Y)});
        },
};

TEST(ThrowawayKind, ReadSavedListedPickedMovedMirroredAndPlannedThroughItsRowAlone)
{
    std::vector<const KindRow*> rows(kindRows().begin(), kindRows().end());
    rows.push_back(&kDotKind);
    const auto saved = replaceKindTableForTest(rows);
    struct Restore {
        std::span<const KindRow* const> rows;
        ~Restore() { replaceKindTableForTest(rows); }
    } restore{saved};

    FakePlatform fake;
    auto ws = makeWorkspace();
    loadProjectBytes(*ws, fake.platform(), "a.kvp",
                     "RUN X1=1\r\n\r\nDOT Y=200 X=100 RX=30 RY=20 R=1 G=2 B=3 TRIM=1 GROUP=5\r\n\r\n");
    ASSERT_EQ(ws->table.objectCount, 2);
    const int32_t row = lastInDisplayOrder(ws->table);
    const ObjectEntry& entry = ws->table.rows[row];
    ASSERT_EQ(entry.kind, kKindDot);
    EXPECT_EQ(entry.paramsSize, int32_t(sizeof(DotParams)));
    EXPECT_EQ(formatObjectLine(entry, ws->records, ws->libraries),
              "DOT GROUP=5 X=100 Y=200 RX=30 RY=20 R=1 G=2 B=3 TRIM=1");
    EXPECT_EQ(objectColour(entry, ws->records), 0x030201);
    EXPECT_EQ(objectTrim(entry, ws->records), 1);
    EXPECT_EQ(fake.list.count(), 2);
    EXPECT_EQ(fake.list.text(1).substr(0, 2), "<>");

    EXPECT_EQ(stitch::objectAt(ws->table, ws->records, {125, 205}, 1), row);
    EXPECT_EQ(stitch::objectAt(ws->table, ws->records, {135, 220}, 1), -1);

    ObjectParams p = ws->records[entry.params];
    ASSERT_TRUE(translateRecord(kKindDot, p, 5, -10));
    ASSERT_TRUE(mirrorRecord(kKindDot, p, MirrorAxis::LeftRight, 0));
    const GeometryBox box = recordBounds(kKindDot, p);
    EXPECT_EQ(box.left, -135);
    EXPECT_EQ(box.right, -75);
    EXPECT_EQ(box.top, 170);

    StitchPlan plan;
    ASSERT_EQ(generateObjectPlan(kKindDot, p, ws->libraries, ws->settings, plan), PlanStatus::Ok);
    EXPECT_GE(plan.stitchCount(), 4);
}

} // namespace
} // namespace kelvara::testing
