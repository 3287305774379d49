#pragma once

#include <QString>
#include <cstdint>

#include <optional>
#include <string>

namespace kelvara {

// The whole content of the file at `path`, or nothing when it is missing, not a regular file (a
// folder, FIFO, socket or device), unreadable or larger than `limit` bytes. Never allocates more than the
// file holds.
std::optional<std::string> readFileBytes(const QString& path, int64_t limit);

} // namespace kelvara
