#include "ui/helpbox.h"

#include "shell/texts.h"
#include "ui/buttontable.h"
#include "ui/keycommands.h"

#include <algorithm>

namespace kelvara {

std::string hotkeyText(const ButtonTable& buttons, const Settings& settings)
{
    std::string text;
    for (int32_t row = 0; row < buttons.buttonCount; ++row) {
        const ButtonEntry& entry = buttons.rows[std::size_t(row)];
        // A tooltip names its key only when the key runs that button. The
        // box lists what the command is, not how to use it, so one screen
        // holds every key: "Draw a star: click ... (H)" is "Draw a star (H)".
        if (entry.handler && entry.tipText.ends_with(")")) {
            const std::size_t key = entry.tipText.rfind(" (");
            // A colon inside brackets is no end of the description.
            std::size_t colon = entry.tipText.find(':');
            if (colon > entry.tipText.find('('))
                colon = std::string::npos;
            text += entry.tipText.substr(0, std::min(key, colon)) + entry.tipText.substr(key) + "\n";
        }
    }
    // The menus' other keys, from the table the menus are built from.
    for (const KeyOnlyCommand& command : keyOnlyCommands())
        if (*command.keys != '\0' && offered(command, settings))
            text += std::string(command.text) + " (" + command.keys + ")\n";
    text += "Undo (CTRL+Z), redo (CTRL+Y or CTRL+SHIFT+Z)\n"
            "Scroll with the arrow keys (SHIFT: farther), zoom with the mouse wheel\n"
            "Stop drawing, let go of the selection (ESC)";
    return text;
}

std::string aboutText()
{
    return std::string(kProgramTitle) + " " KELVARA_VERSION
                                        "\nAn editor for machine-embroidery designs.\n\n"
                                        "Copyright (C) 2026 the Kelvara Stitches authors.\n"
                                        "Kelvara Stitches is free software: you can redistribute it and/or modify "
                                        "it under the terms of the GNU General Public License as published by the "
                                        "Free Software Foundation, either version 3 of the License, or (at your "
                                        "option) any later version (GPL-3.0-or-later).\n"
                                        "It is distributed in the hope that it will be useful, but WITHOUT ANY "
                                        "WARRANTY; see the file LICENSE for details.";
}

} // namespace kelvara
