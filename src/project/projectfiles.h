#pragma once

#include "shell/texts.h"

#include <string>

namespace kelvara {

// The main window's title while a project file is named.
inline std::string projectWindowTitle(const std::string& path)
{
    return std::string(kProgramTitle) + " (" + path + ")";
}

} // namespace kelvara
