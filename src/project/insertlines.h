#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvara {

struct Workspace;
struct Platform;

// The object lines of `text`, at most `room` of them; nothing more is kept
// of a text that holds more, so `tooMany` is all that is known then.
std::vector<std::string> projectObjectLines(Workspace& ws, const std::string& text, int32_t room, bool& tooMany);

// Inserts the objects of project lines after the current object (at the end
// when there is none), each moved by `offset` on both axes, as one undo step:
// they become the selection and each group of the lines gets a new group
// number. Paste and import both come in this way. Returns how many came in;
// 0 when the journal cannot take the step.
int32_t insertObjectLines(Workspace& ws, const Platform& platform, const std::vector<std::string>& lines,
                          double offset);

} // namespace kelvara
