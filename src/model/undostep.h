#pragma once

#include <cstdint>
#include <string_view>

namespace kelvara {

struct Workspace;
struct Platform;

// One undo step, the only way an edit writes the journal. The edit first
// names everything the step will save; `open` measures that against the
// room the journal keeps for one step and refuses the step whole, with one
// message, before anything has changed. Once open, the edit saves each
// thing just before changing it; the first record starts the step.
//
//     UndoStep step(ws, platform);
//     for (int32_t row : rows)
//         step.willSaveRecord(row);
//     if (!step.open())
//         return;
//     for (int32_t row : rows) {
//         step.recordBytes(row);
//         ...change the record...
//     }
class UndoStep {
public:
    UndoStep(Workspace& ws, const Platform& platform);

    // What the step will save. A record's size is the row's as it stands.
    void willSaveRecord(int32_t row);
    void willSaveRowImages(int count = 1);
    void willSaveCurrentObject();
    void willSaveListLine(); // a line's text, put back on Undo
    void willChangeList();   // a line deleted or the list rebuilt on Undo

    // True when the step fits the journal whole. Otherwise the user is told
    // and the edit must change nothing.
    bool open();

    // The named journal calls; Undo replays them newest first.
    void recordBytes(int32_t row);
    void rowImage(int32_t row);
    void currentObject();
    void listDelete(int32_t line);
    void listReinsert(int32_t line, std::string_view text);
    void listRefill();

    // Bytes named before `open`, and bytes saved since.
    int64_t measured() const { return measured_; }
    int64_t written() const { return written_; }

    // The largest step the journal takes whole.
    static int64_t largestStep();

private:
    bool starts();

    Workspace& ws_;
    const Platform& platform_;
    int64_t measured_ = 0;
    int64_t written_ = 0;
    bool open_ = false;
    bool started_ = false;
};

} // namespace kelvara
