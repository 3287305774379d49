#pragma once

#include "model/objectfields.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvara {

struct Workspace;
struct Platform;

// A value for one field, in stored units.
struct FieldValue {
    FieldMeaning meaning;
    double value = 0;
};

// A field every object of a selection has: its value, or mixed when the
// objects differ.
struct SharedField {
    FieldMeaning meaning;
    double value = 0;
    bool mixed = false;
};

// The fields that all of `rows` (used rows) have, in meaning order.
std::vector<SharedField> sharedFields(const Workspace& ws, std::span<const int32_t> rows);

// The underlay the objects' underlay and zigzag fields sew, in words
// ("edge walk and zigzag", "none"); empty when none of them has one.
std::string underlayInWords(const Workspace& ws, std::span<const int32_t> rows);

enum class ApplyResult { Applied, Unchanged, Refused };

// Sets every value on each selected object that has its field, as one undo
// step, and updates the list lines that show a changed trim or colour. A
// value outside its field's range is refused with a message and nothing
// changes; so is a step too large for the undo journal to hold whole.
ApplyResult applyFieldValues(Workspace& ws, const Platform& platform, std::span<const FieldValue> values);

// The same for the used ones of `rows`, with how many objects changed.
struct FieldEdit {
    ApplyResult result = ApplyResult::Unchanged;
    int32_t changed = 0;
};
FieldEdit applyFieldValuesTo(Workspace& ws, const Platform& platform, std::span<const int32_t> rows,
                             std::span<const FieldValue> values);

} // namespace kelvara
