// A whole editing session from arbitrary bytes: they open as a project, a
// sequence of edits decoded from the rest runs through the real commands
// (create, delete, drop, undo), then the design is saved, opened again and
// saved once more. The two saves must be alike, the list must mirror the
// table throughout, and the design must stitch or be refused.
//
// Input: two bytes giving the length of the project text, the project text,
// then the edits, each an opcode byte and its operands.
#include "model/editing.h"
#include "model/workspace.h"
#include "project/openproject.h"
#include "project/saveproject.h"
#include "shell/platform.h"
#include "stitch/dstwriter.h"
#include "stitch/stitchplan.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace kelvara;

// Plans are proportional to the stitches they hold; a forged circle can ask
// for millions. The refusal of larger ones is what gets fuzzed here.
constexpr int64_t kFuzzRecords = 20000;

class List : public ListBox {
public:
    void resetContent() override
    {
        lines.clear();
        selected.clear();
    }
    void initStorage(int, int) override {}
    int addString(const std::string& text) override
    {
        lines.push_back({text, 0});
        return static_cast<int>(lines.size()) - 1;
    }
    void insertString(int position, const std::string& text) override
    {
        if (position < 0 || position > count())
            __builtin_trap();
        lines.insert(lines.begin() + position, {text, 0});
    }
    void deleteString(int position) override
    {
        if (position < 0 || position >= count())
            __builtin_trap();
        lines.erase(lines.begin() + position);
        selected.clear();
    }
    std::string text(int position) const override { return lines.at(position).first; }
    void setItemData(int position, int32_t data) override { lines.at(position).second = data; }
    int32_t itemData(int position) const override { return lines.at(position).second; }
    void setSelected(int position, bool on) override
    {
        if (position < 0)
            selected.clear();
        else if (on)
            selected.insert(position);
        else
            selected.erase(position);
    }
    std::vector<int> selectedPositions() const override { return {selected.begin(), selected.end()}; }
    int count() const override { return static_cast<int>(lines.size()); }
    void setRedraw(bool) override {}

    std::vector<std::pair<std::string, int32_t>> lines;
    std::set<int> selected;
};

class Boxes : public MessageBoxes {
public:
    bool askYesNo(const std::string&, const std::string&) override { return true; }
    void showError(const std::string&, const std::string&) override {}
};

class Quiet : public WindowTitle, public CursorControl, public CanvasControl {
public:
    void setTitle(const QString&) override {}
    void setCursor(int) override {}
    void renderCanvas() override {}
    void invalidateCanvas() override {}
};

struct State {
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    List list;
    Boxes boxes;
    Quiet quiet;
    Platform platform{&list, &boxes, nullptr, nullptr, &quiet, &quiet, &quiet};

    State()
    {
        Libraries& lib = ws->libraries;
        lib.motifs.count = 2;
        lib.motifs.names[0] = "leaf";
        lib.motifs.names[1] = "Wave";
        lib.motifs.points[0][1] = {20, -20};
        lib.patterns.count = 1;
        lib.patterns.names[0] = "grid";
        lib.patterns.rows[0][0] = {2, {10, 40}};
        lib.tieOffs.count = 1;
        lib.tieOffs.names[0] = "knot";
        lib.tieOffs.points[0][0] = {7, -3};
    }
};

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return size_ == 0; }
    uint8_t byte()
    {
        if (size_ == 0)
            return 0;
        --size_;
        return *data_++;
    }
    // A design coordinate: a few metres either way.
    int32_t coordinate() { return static_cast<int16_t>(byte() | (byte() << 8)) / 4; }

private:
    const uint8_t* data_;
    size_t size_;
};

// The list mirrors the display order, line by line.
void checkList(const State& s)
{
    const ObjectTable& table = s.ws->table;
    if (s.list.count() != table.objectCount || s.ws->records.liveCount() != table.objectCount)
        __builtin_trap();
    int32_t row = table.objectCount > 0 ? table.firstObject : -1;
    for (int position = 0; position < table.objectCount; ++position) {
        if (row < 0 || row >= ObjectTable::kRows || s.list.lines[static_cast<size_t>(position)].second != row)
            __builtin_trap();
        row = table.rows[static_cast<size_t>(row)].next;
    }
    if (row != -1)
        __builtin_trap();
}

void create(State& s, Reader& in)
{
    ToolState& tools = s.ws->tools;
    tools.toolMode = 1 + in.byte() % 6;
    tools.newGroupPending = in.byte() & 1;
    tools.preview.clear();
    for (PreviewSegment& segment : tools.preview.segments) {
        segment.used = 1;
        segment.startX = in.coordinate();
        segment.startY = in.coordinate();
        segment.endX = in.coordinate();
        segment.endY = in.coordinate();
        segment.straight = in.byte() & 1;
        if (segment.straight == 0) {
            segment.c1X = in.coordinate();
            segment.c1Y = in.coordinate();
            segment.c2X = in.coordinate();
            segment.c2Y = in.coordinate();
        }
    }
    createObject(*s.ws, s.platform);
    tools.preview.clear();
    tools.rubberBand = {};
    tools.toolMode = 0;
}

void drop(State& s, Reader& in)
{
    const int count = s.list.count();
    s.list.selected.clear();
    const int picks = in.byte() % 4;
    for (int i = 0; i < picks && count > 0; ++i)
        s.list.selected.insert(in.byte() % count);
    s.ws->input.shiftDown = in.byte() & 1;
    dropObjects(*s.ws, s.platform, in.byte() % (count + 1));
    s.ws->input.shiftDown = 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static State s;
    if (size < 2)
        return 0;
    const size_t projectSize = std::min<size_t>(size - 2, data[0] | (data[1] << 8));
    const std::string project(reinterpret_cast<const char*>(data + 2), projectSize);
    s.ws->input = {};
    loadProjectBytes(*s.ws, s.platform, "session.kvp", project);
    checkList(s);

    Reader in(data + 2 + projectSize, size - 2 - projectSize);
    for (int edits = 0; edits < 64 && !in.empty(); ++edits) {
        switch (in.byte() % 4) {
        case 0:
            create(s, in);
            break;
        case 1:
            deleteCurrent(*s.ws, s.platform);
            break;
        case 2:
            drop(s, in);
            break;
        default:
            undoStep(*s.ws, s.platform);
            break;
        }
        checkList(s);
    }

    const std::string saved = projectFileText(*s.ws);
    loadProjectBytes(*s.ws, s.platform, "session.kvp", saved);
    checkList(s);
    if (projectFileText(*s.ws) != saved)
        __builtin_trap();

    StitchPlan plan;
    if (generatePlan(*s.ws, plan, kFuzzRecords) == PlanStatus::Ok && writeDst(plan, "fuzz").empty())
        __builtin_trap();
    return 0;
}
