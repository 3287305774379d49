#include "project/filestamp.h"

#include <QDateTime>
#include <QFileInfo>

namespace kelvara {

Workspace::FileStamp stampOf(const QString& path)
{
    Workspace::FileStamp stamp;
    stamp.path = QFileInfo(path).absoluteFilePath();
    const QFileInfo info(path);
    if (info.exists()) {
        stamp.modifiedMs = info.lastModified().toMSecsSinceEpoch();
        stamp.size = info.size();
    }
    return stamp;
}

bool changedOnDisk(const Workspace& ws, const QString& path)
{
    const Workspace::FileStamp now = stampOf(path);
    return now.path == ws.fileStamp.path && now.size >= 0 && !(now == ws.fileStamp);
}

} // namespace kelvara
