#include "ui/recentfiles.h"

#include <QFileInfo>
#include <QSettings>

namespace kelvara {

namespace {

const QString kKey = QStringLiteral("files/recent");

} // namespace

QSettings rememberedPlaces()
{
    return QSettings(QStringLiteral("Kelvara"), QStringLiteral("Kelvara Stitches"));
}

QStringList recentFiles()
{
    return rememberedPlaces().value(kKey).toStringList().mid(0, kMostRecentFiles);
}

void addRecentFile(const QString& path)
{
    rememberedPlaces().setValue(kKey, withRecentFile(recentFiles(), QFileInfo(path).absoluteFilePath()));
}

void dropRecentFile(const QString& path)
{
    QStringList list = recentFiles();
    list.removeAll(path);
    rememberedPlaces().setValue(kKey, list);
}

QStringList withRecentFile(QStringList list, const QString& path)
{
    list.removeAll(path);
    list.prepend(path);
    return list.mid(0, kMostRecentFiles);
}

} // namespace kelvara
