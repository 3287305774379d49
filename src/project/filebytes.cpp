#include "project/filebytes.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace kelvara {

std::optional<std::string> readFileBytes(const QString& name, int64_t limit)
{
    if (name.isEmpty())
        return std::nullopt;
    // Only regular files (or links to them) are opened: a FIFO blocks in open
    // until a writer comes, and a device such as /dev/zero never ends.
    if (!QFileInfo(name).isFile())
        return std::nullopt;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    if (file.size() > limit)
        return std::nullopt;

    // Read in pieces up to one byte past the limit: the size reported up
    // front may be 0 or wrong for special files.
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(std::max<int64_t>(file.size(), 0)));
    char piece[64 * 1024];
    for (;;) {
        const int64_t room = limit + 1 - static_cast<int64_t>(bytes.size());
        const int64_t want = std::min<int64_t>(static_cast<int64_t>(sizeof piece), room);
        const qint64 got = file.read(piece, want);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        bytes.append(piece, static_cast<std::size_t>(got));
        if (static_cast<int64_t>(bytes.size()) > limit)
            return std::nullopt;
    }
    return bytes;
}

} // namespace kelvara
