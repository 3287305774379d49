#pragma once

#include <cstdint>

namespace kelvara {

struct Workspace;
struct Platform;
struct LetteringChoice;
struct LettersParams;

// The text tool and the lettering dialog: the dialog's answer becomes one
// LETTERS object, or one change of it, each a single undo step.

// The dialog's fields for a lettering record.
LetteringChoice letteringChoice(const LettersParams& letters);

// Writes the choice into the record; false (record unchanged) for an empty
// text or values a project line could not give.
bool takeLetteringChoice(LettersParams& letters, const LetteringChoice& choice);

// Asks the dialog for new lettering whose baseline starts at design point
// (x, y). OK creates one LETTERS object; Cancel, an empty text or a full
// table create nothing. Returns the new row or -1.
int32_t placeLettering(Workspace& ws, const Platform& platform, int32_t x, int32_t y);

// Opens the dialog on the lettering in `row`; OK changes it as one undo
// step. False when the row is no lettering, or nothing changed.
bool editLettering(Workspace& ws, const Platform& platform, int32_t row);

bool isLettering(const Workspace& ws, int32_t row);

} // namespace kelvara
