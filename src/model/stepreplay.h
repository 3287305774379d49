#pragma once

#include <cstdint>

namespace kelvara {

struct Workspace;
struct Platform;
class StepStore;

// What to do when the records that take a step back do not fit where they go.
enum class NoRoom {
    Forget, // replay anyway and empty the other store (Undo: no redo then)
    Refuse, // replay nothing (Redo: the step could not be undone again)
};

// Replays the newest step of `from`, newest record first. Before each record
// overwrites anything, what it overwrites is saved into `to` as records of
// the same kinds, the first of them starting a step, so that replaying that
// step brings back exactly what was there: rows, records, currentObject and
// the list's lines. False when nothing was replayed.
// The bytes the records taking the newest step of `from` back will take:
// what replaying it writes into the other store, measured before.
int64_t inverseStepBytes(const Workspace& ws, const Platform& platform, const StepStore& from);

bool replayNewestStep(Workspace& ws, const Platform& platform, StepStore& from, StepStore& to, NoRoom noRoom);

} // namespace kelvara
