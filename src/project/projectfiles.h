#pragma once

#include "shell/texts.h"

#include <QString>
#include <string>

namespace kelvara {

// The main window's title while a project file is named.
inline QString projectWindowTitle(const QString& path)
{
    return QString::fromLatin1(kProgramTitle) + QStringLiteral(" (") + path + QLatin1Char(')');
}

} // namespace kelvara
