#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

namespace kelvara {

// Where the editor keeps what it remembers between runs: the last folder,
// the recent files.
QSettings rememberedPlaces();

// The design files last opened or saved, newest first, kept between runs
// with the other remembered places (QSettings).
inline constexpr int kMostRecentFiles = 8;

QStringList recentFiles();
void addRecentFile(const QString& path);
void dropRecentFile(const QString& path);

// `list` with `path` first and nowhere else, cut to kMostRecentFiles.
QStringList withRecentFile(QStringList list, const QString& path);

} // namespace kelvara
