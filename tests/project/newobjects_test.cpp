#include "model/editing.h"
#include "project/openproject.h"
#include "project/projectformat.h"
#include "project/projectkeys.h"
#include "project/saveproject.h"
#include "shell/texts.h"
#include "shell/tokenizer.h"
#include "support/fakeplatform.h"
#include "support/workspacefixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <sstream>

namespace kelvara {
namespace {

using testing::FakePlatform;
using testing::makeWorkspace;
using testing::TempFolder;

// Draws one object of `kind` from the clicks, as the tools leave them.
int32_t draw(Workspace& ws, const Platform& platform, int32_t kind, std::vector<std::pair<int, int>> clicks)
{
    ws.tools.toolMode = kind;
    ws.tools.preview.clear();
    for (size_t k = 0; k + 1 < clicks.size(); ++k) {
        PreviewSegment& s = ws.tools.preview.segments[k];
        s = PreviewSegment{1, clicks[k].first, clicks[k].second, clicks[k + 1].first, clicks[k + 1].second,
                           1};
        s.c1X = s.c2X = s.endX;
        s.c1Y = s.c2Y = s.endY;
    }
    ws.tools.clickCount = static_cast<int32_t>(clicks.size()) - 1;
    return createObject(ws, platform);
}

// The line's key=value tokens without those of the shape and the colour,
// where a drawn object and a line without keys are meant to differ.
std::vector<std::string> settingsPart(const std::string& line)
{
    auto isShape = [](const std::string& key) {
        for (const auto* keys : {&projectkeys::kLineKeys, &projectkeys::kEdgeAKeys, &projectkeys::kEdgeBKeys})
            if (std::find(keys->begin(), keys->end(), key) != keys->end())
                return true;
        return key == "R" || key == "G" || key == "B" || key == "X" || key == "Y" || key == "RX" ||
               key == "RY";
    };
    std::vector<std::string> tokens;
    std::istringstream in(line);
    for (std::string token; in >> token;)
        if (!isShape(token.substr(0, token.find('='))))
            tokens.push_back(token);
    return tokens;
}

// A switch counts as on whenever it is not 0, for drawn objects and for
// the defaults of a project line alike.
TEST(NewObjects, DrawnAndReadRecordsShareEverySettingsValue)
{
    struct Case {
        int32_t under, cikund;
    };
    for (const Case c : {Case{1, 0}, Case{0, 1}, Case{2, -1}}) {
        SCOPED_TRACE(::testing::Message() << "UNDER=" << c.under << " CIKUND=" << c.cikund);
        auto ws = makeWorkspace();
        FakePlatform fake;
        const Platform platform = fake.platform();
        ws->settings.UNDER = c.under;
        ws->settings.CIKUND = c.cikund;
        ws->settings.LENGTH = 17;
        ws->settings.CIKCAK = 23;
        ws->settings.DENSITY = 41;
        ws->settings.STEIL = 33;

        const int nClicks[] = {0, 2, 4, 2, 3, 3, 3};
        for (int32_t kind = KindRun; kind <= KindCircle; ++kind) {
            SCOPED_TRACE(kind);
            std::vector<std::pair<int, int>> clicks;
            for (int i = 0; i < nClicks[kind]; ++i)
                clicks.push_back({10 + 7 * i, 20 + 3 * i * i});
            const int32_t row = draw(*ws, platform, kind, clicks);
            ASSERT_GE(row, 0);
            const std::string drawn = formatObjectLine(ws->table.rows[row], ws->records, ws->libraries);

            ObjectEntry read{};
            // A line holding no "=" gives no keys at all, so one key is set.
            std::string bare = drawn.substr(0, drawn.find(' ')) + " GROUP=0";
            parseLine(ws->tokens, bare);
            ASSERT_TRUE(parseObjectLine(ws->tokens, read, ws->records, ws->settings, ws->libraries));
            EXPECT_EQ(settingsPart(formatObjectLine(read, ws->records, ws->libraries)), settingsPart(drawn));
            if (kind != KindRun) {
                EXPECT_NE(drawn.find(c.under != 0 ? " UNDER=17" : " UNDER=-1"), std::string::npos) << drawn;
            }
        }
    }
}

class NewObjectsInAnOpenedProject : public ::testing::Test {
protected:
    void SetUp() override { loadMessages(ws->lines, std::string(KELVARA_SOURCE_DATA) + "/"); }

    std::unique_ptr<Workspace> ws = makeWorkspace();
    FakePlatform fake;
    Platform platform = fake.platform();
    TempFolder folder;
};

// Group numbers past the largest int32 start again at 1 instead of
// overflowing into negative numbers.
TEST_F(NewObjectsInAnOpenedProject, TheGroupCounterStartsAgainAtOneAfterTheLargestNumber)
{
    fake.files.answer(folder.write("last.kvp", "RUN GROUP=2147483647\r\n\r\n"));
    openProject(*ws, platform);
    ASSERT_EQ(ws->table.groupCounter, INT32_MAX);

    ws->tools.newGroupPending = 1;
    const int32_t first = draw(*ws, platform, KindRun, {{0, 0}, {5, 5}});
    ws->tools.newGroupPending = 1;
    const int32_t second = draw(*ws, platform, KindCircle, {{0, 0}, {8, 8}, {0, 0}});
    EXPECT_EQ(ws->table.rows[first].group, 1);
    EXPECT_EQ(ws->table.rows[second].group, 2);

    const std::string saved = folder.file("saved.kvp");
    fake.files.answer(saved);
    saveProject(*ws, platform);
    const std::string text = testing::readWholeFile(saved);
    EXPECT_EQ(text.rfind("RUN GROUP=2147483647 ", 0), 0u) << text;
    EXPECT_NE(text.find("\r\nRUN GROUP=1 "), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nCIRCLE GROUP=2 "), std::string::npos) << text;
    EXPECT_EQ(text.find("GROUP=-"), std::string::npos) << text;
}

} // namespace
} // namespace kelvara
