#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelvara {

// The whole content of the file at `path` (an 8-bit path as the file
// dialogs give it), or nothing when it is missing, a folder, unreadable or
// larger than `limit` bytes. Never allocates more than the file holds.
std::optional<std::string> readFileBytes(const std::string& path, int64_t limit);

} // namespace kelvara
