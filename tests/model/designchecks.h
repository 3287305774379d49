#pragma once

#include "model/workspace.h"
#include "support/fakeplatform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kelvara::testing {

// The display order from firstObject along next (bounded by the row count).
std::vector<int32_t> walkOrder(const Workspace& ws);

// Table invariants: one chain through every used row with mirrored links,
// objectCount and firstObject right, records live with the kind's size,
// free rows without records, currentObject none or used; and the list shows
// the display order with each line's row as item data and its kind's glyph.
::testing::AssertionResult designConsistent(const Workspace& ws, const FakeListBox& list);

// Everything Undo must bring back exactly.
struct DesignSnapshot {
    std::vector<std::pair<int32_t, ObjectEntry>> rows;                   // every row that is not all zeros
    std::vector<std::pair<int32_t, std::vector<unsigned char>>> records; // by row
    int32_t firstObject = 0;
    int32_t currentObject = -1;
    int32_t objectCount = 0;
    std::vector<std::string> texts;
    std::vector<int32_t> data;
};

DesignSnapshot takeSnapshot(const Workspace& ws, const FakeListBox& list);

// Compares rows, records and the table's fields; the list's item data
// always, and its texts unless `textsRebuilt` (a replayed reorder rebuilds
// the list and renumbers it, so then the texts are checked against a fresh
// build from the display order instead).
::testing::AssertionResult sameDesign(const DesignSnapshot& before, const Workspace& ws,
                                      const FakeListBox& list, bool textsRebuilt);

// The list texts a refill would show now, without touching the workspace.
std::vector<std::string> freshListTexts(const Workspace& ws);

// Puts a finished preview into the tool state as if clicked: segment k runs
// from point k to point k + 1 (straight).
void setSegments(Workspace& ws, int32_t kind, const std::vector<std::pair<int32_t, int32_t>>& points);

// Creates an object of `kind` from the given click points.
int32_t create(Workspace& ws, const Platform& platform, int32_t kind,
               const std::vector<std::pair<int32_t, int32_t>>& points);

// Selects exactly the given list positions.
void selectLines(FakeListBox& list, const std::vector<int>& positions);

} // namespace kelvara::testing
