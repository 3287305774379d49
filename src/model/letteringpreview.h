#pragma once

#include "model/objecttable.h"
#include "model/records.h"

namespace kelvara {

struct Workspace;
struct Platform;
struct LetteringChoice;

// The lettering a dialog shows, sewn on the canvas as the user types: each
// change is written into the design unjournaled (into the lettering's own
// row, or a row of its own for new lettering) and shown at once. When the
// dialog closes the design gets back the bytes it had, so the edit that
// follows is one undo step from them.
class LetteringPreview {
public:
    // For the lettering in `row`, or for new lettering `fresh` when `row` is -1.
    LetteringPreview(Workspace& ws, const Platform& platform, int32_t row, const LettersParams& fresh);
    ~LetteringPreview();
    LetteringPreview(const LetteringPreview&) = delete;
    LetteringPreview& operator=(const LetteringPreview&) = delete;

    void show(const LetteringChoice& choice);

private:
    Workspace& ws_;
    const Platform& platform_;
    int32_t row_;
    LettersParams base_;
    ObjectTable table_;
    uint64_t revision_; // the design's when the dialog opened
    int32_t handle_ = 0; // the new lettering's record, while it is shown
    bool shown_ = false;
};

} // namespace kelvara
