#pragma once

#include "model/records.h"
#include "stitch/geometry.h"

#include <string>
#include <vector>

namespace kelvara::stitch {

// One glyph of a lettering placed in the design: its outline as closed
// rings in design units (holes are the rings inside others, even-odd), and
// where it sits along its line, so letters can be sewn left to right.
struct LaidGlyph {
    std::vector<std::vector<Vec>> rings;
    int line = 0;
    double along = 0;
};

struct LetteringLayout {
    std::vector<LaidGlyph> glyphs;
    std::string requested; // the family the lettering names
    std::string used;      // the family the font system gave
    bool replaced = false; // `used` is another family than `requested`
    bool noFonts = false;  // no font system is running
};

// The family a lettering names, or the default one.
std::string letteringFamily(const LettersParams& p);

// The glyphs of a lettering, shaped with the font's advances and kerning,
// scaled so a capital H is SIZE high, on its straight or arced baseline and
// turned by TURN about X, Y.
LetteringLayout layOutLettering(const LettersParams& p);

// Starts the font system for a program that has no GUI (the command line):
// the font database needs a GUI application, offscreen without a display.
// Does nothing when one runs; call on the main thread.
void startFontSystem();

} // namespace kelvara::stitch
