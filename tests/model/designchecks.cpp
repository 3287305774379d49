#include "designchecks.h"

#include "model/kinds/kind.h"

#include "model/drawingtool.h"
#include "model/editing.h"

#include <cstring>
#include <sstream>

namespace kelvara::testing {

std::vector<int32_t> walkOrder(const Workspace& ws)
{
    std::vector<int32_t> order;
    const ObjectTable& t = ws.table;
    if (t.objectCount == 0)
        return order;
    int32_t row = t.firstObject;
    for (int n = 0; n < ObjectTable::kRows && row >= 0 && row < ObjectTable::kRows; ++n) {
        order.push_back(row);
        row = t.rows[row].next;
    }
    return order;
}

::testing::AssertionResult designConsistent(const Workspace& ws, const FakeListBox& list)
{
    const ObjectTable& t = ws.table;
    int used = 0;
    for (int r = 0; r < ObjectTable::kRows; ++r) {
        const ObjectEntry& e = t.rows[r];
        if (e.kind == KindFree) {
            if (e.params != 0)
                return ::testing::AssertionFailure() << "free row " << r << " keeps a record";
            continue;
        }
        ++used;
        if (kindRow(e.kind) == nullptr)
            return ::testing::AssertionFailure() << "row " << r << " has kind " << e.kind;
        if (!ws.records.isLive(e.params) || e.paramsSize != recordSize(e.kind))
            return ::testing::AssertionFailure()
                   << "row " << r << " record " << e.params << " size " << e.paramsSize;
    }
    if (used != t.objectCount)
        return ::testing::AssertionFailure() << used << " used rows, objectCount " << t.objectCount;
    if (ws.records.liveCount() != used)
        return ::testing::AssertionFailure() << ws.records.liveCount() << " live records for " << used;
    if (used == 0 && t.firstObject != 0)
        return ::testing::AssertionFailure() << "empty table with firstObject " << t.firstObject;

    const std::vector<int32_t> order = walkOrder(ws);
    if (static_cast<int>(order.size()) != used)
        return ::testing::AssertionFailure() << "chain visits " << order.size() << " rows of " << used;
    std::vector<bool> seen(ObjectTable::kRows, false);
    for (size_t i = 0; i < order.size(); ++i) {
        const int32_t r = order[i];
        if (t.rows[r].kind == KindFree || seen[r])
            return ::testing::AssertionFailure() << "chain meets row " << r << " wrongly";
        seen[r] = true;
        const int32_t prev = i == 0 ? -1 : order[i - 1];
        if (t.rows[r].prev != prev)
            return ::testing::AssertionFailure()
                   << "row " << r << " prev " << t.rows[r].prev << " not " << prev;
    }
    if (t.currentObject != -1 && (t.currentObject < 0 || t.currentObject >= ObjectTable::kRows ||
                                  t.rows[t.currentObject].kind == KindFree))
        return ::testing::AssertionFailure() << "currentObject " << t.currentObject << " is not used";

    if (list.count() != used)
        return ::testing::AssertionFailure() << "list has " << list.count() << " lines for " << used;
    for (size_t i = 0; i < order.size(); ++i) {
        if (list.lines[i].data != order[i])
            return ::testing::AssertionFailure()
                   << "line " << i << " data " << list.lines[i].data << " not row " << order[i];
        const std::string& text = list.lines[i].text;
        if (text.compare(0, 2, kindRow(t.rows[order[i]].kind)->glyph) != 0)
            return ::testing::AssertionFailure()
                   << "line " << i << " text '" << text << "' for kind " << t.rows[order[i]].kind;
        // The group sits between the marks and the running number.
        const size_t numberStart = text.rfind(' ');
        const size_t groupStart = text.find_first_not_of(' ', 7);
        if (text.size() < 12 || numberStart == std::string::npos || groupStart >= numberStart ||
            text.substr(groupStart, numberStart - groupStart) != std::to_string(t.rows[order[i]].group))
            return ::testing::AssertionFailure()
                   << "line " << i << " text '" << text << "' for group " << t.rows[order[i]].group;
    }
    return ::testing::AssertionSuccess();
}

DesignSnapshot takeSnapshot(const Workspace& ws, const FakeListBox& list)
{
    DesignSnapshot s;
    const ObjectTable& t = ws.table;
    static const ObjectEntry zero{};
    for (int r = 0; r < ObjectTable::kRows; ++r) {
        const ObjectEntry& e = t.rows[r];
        if (std::memcmp(&e, &zero, sizeof e) != 0)
            s.rows.emplace_back(r, e);
        if (e.kind != KindFree && ws.records.isLive(e.params)) {
            const unsigned char* b = ws.records.bytes(e.params);
            s.records.emplace_back(r, std::vector<unsigned char>(b, b + e.paramsSize));
        }
    }
    s.firstObject = t.firstObject;
    s.currentObject = t.currentObject;
    s.objectCount = t.objectCount;
    s.texts = list.texts();
    s.data = list.data();
    return s;
}

std::vector<std::string> freshListTexts(const Workspace& ws)
{
    ListNumbering numbering = ws.numbering;
    restartListNumbering(numbering);
    std::vector<std::string> texts;
    for (int32_t row : walkOrder(ws))
        texts.push_back(buildListLine(numbering, ws.table, ws.records, row));
    return texts;
}

::testing::AssertionResult sameDesign(const DesignSnapshot& before, const Workspace& ws,
                                      const FakeListBox& list, bool textsRebuilt)
{
    const DesignSnapshot now = takeSnapshot(ws, list);
    if (now.rows.size() != before.rows.size())
        return ::testing::AssertionFailure()
               << now.rows.size() << " non-zero rows, expected " << before.rows.size();
    for (size_t i = 0; i < now.rows.size(); ++i) {
        const auto& [r, e] = now.rows[i];
        const auto& [br, be] = before.rows[i];
        if (r != br || std::memcmp(&e, &be, sizeof e) != 0)
            return ::testing::AssertionFailure()
                   << "row " << r << " {" << e.kind << "," << e.params << "," << e.paramsSize << ","
                   << e.reserved << "," << e.group << "," << e.prev << "," << e.next << "} expected row "
                   << br << " {" << be.kind << "," << be.params << "," << be.paramsSize << "," << be.reserved
                   << "," << be.group << "," << be.prev << "," << be.next << "}";
    }
    if (now.records != before.records)
        return ::testing::AssertionFailure() << "record bytes differ";
    if (now.firstObject != before.firstObject || now.currentObject != before.currentObject ||
        now.objectCount != before.objectCount)
        return ::testing::AssertionFailure()
               << "first/current/count " << now.firstObject << "/" << now.currentObject << "/"
               << now.objectCount << " expected " << before.firstObject << "/" << before.currentObject << "/"
               << before.objectCount;
    if (now.data != before.data)
        return ::testing::AssertionFailure() << "list item data differ";
    const std::vector<std::string> expected = textsRebuilt ? freshListTexts(ws) : before.texts;
    if (now.texts != expected) {
        std::ostringstream out;
        for (size_t i = 0; i < std::max(now.texts.size(), expected.size()); ++i)
            if (i >= now.texts.size() || i >= expected.size() || now.texts[i] != expected[i]) {
                out << "line " << i << ": '" << (i < now.texts.size() ? now.texts[i] : "<none>")
                    << "' expected '" << (i < expected.size() ? expected[i] : "<none>") << "'";
                break;
            }
        return ::testing::AssertionFailure() << "list texts differ: " << out.str();
    }
    return ::testing::AssertionSuccess();
}

void setSegments(Workspace& ws, int32_t kind, const std::vector<std::pair<int32_t, int32_t>>& points)
{
    ws.tools.toolMode = kind;
    ws.tools.preview.clear();
    for (size_t k = 0; k + 1 < points.size() && k < 3; ++k) {
        PreviewSegment& s = ws.tools.preview.segments[k];
        s.used = 1;
        s.startX = points[k].first;
        s.startY = points[k].second;
        s.endX = points[k + 1].first;
        s.endY = points[k + 1].second;
        s.straight = 1;
        s.c1X = s.c2X = s.endX;
        s.c1Y = s.c2Y = s.endY;
    }
    ws.tools.clickCount = segmentsNeeded(kind);
}

int32_t create(Workspace& ws, const Platform& platform, int32_t kind,
               const std::vector<std::pair<int32_t, int32_t>>& points)
{
    setSegments(ws, kind, points);
    return createObject(ws, platform);
}

void selectLines(FakeListBox& list, const std::vector<int>& positions)
{
    list.setSelected(-1, false);
    for (int p : positions)
        list.setSelected(p, true);
}

} // namespace kelvara::testing
