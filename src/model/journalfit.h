#pragma once

#include <cstdint>

namespace kelvara {

struct Workspace;
struct Platform;

// Whether a step of `bytes` (records as UndoJournal::recordLength counts
// them) fits the ring whole. When it does not, the user is told that the
// command was refused: Undo could bring back only part of it.
bool stepFitsJournal(const Workspace& ws, const Platform& platform, int64_t bytes);

} // namespace kelvara
