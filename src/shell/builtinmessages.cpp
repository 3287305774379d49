#include "shell/outcome.h"

#include <array>

namespace kelvara {

namespace {

// Shown when the message file has no line for a slot. Word for word the
// shipped hlaseni.txt, slot by slot; a test holds the two together.
// clang-format off
constexpr std::array<std::string_view, kSlotCount> kBuiltInMessages{
    "New design", // 0
    "The current design will be discarded. Objects that were not saved are lost. Continue?", // 1
    "Open project", // 2
    "Open a project or a background picture", // 3
    "Save the project", // 4
    "Export stitches (DST, EXP, JEF or PES by the file extension)", // 5
    "-", // 6
    "-", // 7
    "-", // 8
    "Close Kelvara Stitches", // 9
    "The design holds objects that will be lost if they were not saved. Close anyway?", // 10
    "Kelvara Stitches - error", // 11
    "The picture could not be loaded. PNG and JPEG pictures and uncompressed BMP files with 24 or 32 bits per pixel can be used.", // 12
    "The project file could not be written. Check that the folder exists and that you may write to it.", // 13
    "There is nothing to save: the design holds no objects.", // 14
    "There is nothing to export: the design holds no objects.", // 15
    "The project file could not be read.", // 16
    "The stitch file could not be written. Check that the folder exists and that you may write to it.", // 17
    "The design produces no stitches to export.", // 18
    "The design is too large for the DST format. Make it smaller or split it into several designs.", // 19
    "The stitch file was not written:", // 20
    "Too many objects for one step that can be undone. Select fewer objects and try again.", // 21
    "The design does not fit the chosen hoop%s a machine may refuse the file. Export it anyway?", // 22
    "Choose the hoop the design is sewn in", // 23
    "Lines of the project file that could not be read were left out%s saving the design now drops them. Lines left out:", // 24
    "Two library files give an entry the same name (case does not count, nor anything after 63 characters)%s the first is used, the second is left out:", // 25
    "The project file holds more objects than a design can%s these many were left out:", // 26
    "The project file ends part-way through its last object, which was read with what is there. Check it before saving.", // 27
    "Kelvara Stitches did not close properly last time. Restore the design it was working on?", // 28
    "Kelvara Stitches did not close properly. Choose a design to restore%s the others are offered again at the next start.", // 29
    "This editor keeps no recovery copy of its design: eight editors are already running, or the data folder cannot be written. Save often.", // 30
    "File changed on disk", // 31
    "The file was changed by another program since it was opened or saved here. Save over those changes?", // 32
    "The stitch file could not be read: it is missing, not a file, or larger than 64 MiB.", // 33
    "The file is not a stitch file of the format its name gives:", // 34
    "The stitch file ends before its stitches do. It may have been cut short:", // 35
    "The stitch file is damaged. A size in it does not agree with its length:", // 36
    "The stitch file is too large. Its stitches reach more than 10 m from the start or number more than 9,999,999:", // 37
    "The stitch file holds no stitches.", // 38
    "The tracing picture was not found. The design opened without it:", // 39
    "Import stitches, a picture or artwork", // 40
    "The file holds more objects than the design can take (4096 objects at most). Nothing was imported.", // 41
    "The artwork file cannot be read:", // 42
    "The design has changes that are not saved. Save them first?", // 43
    "Turned or resized so, the selection would leave the design area (0 to 1000 mm across and down). Move it or choose smaller values.", // 44
    "The selection would be larger than the design area: at most 1000 x 1000 mm.", // 45
    "Moved inside the design area, which ends at 0 and 1000 mm.", // 46
    "The selection cannot be placed so: a value would leave its range.", // 47
    "The selection cannot be flipped: a value would leave its range.", // 48
    "The selection cannot be turned or resized so: a value would leave its range.", // 49
    "The selection cannot be resized so: a value would leave its range.", // 50
    "Sizes across and down must be more than 0%.", // 51
    "Width and height must be more than 0 mm.", // 52
    "A %1 turns only by quarter turns: its outline stays upright.", // 53
    "Stitches are transformed, not re-stitched: resized beyond about 20 %, their spacing and density change with them.", // 54
    "This step is too large to be undone again, so it cannot be redone.", // 55
    "The design holds 4096 objects: there is no room for the converted ones.", // 56
    "The design holds 4096 objects: there is no room to split one.", // 57
    "Nothing selected has a path form: lines, areas and lettering convert, stars do not.", // 58
    "The clipboard holds too much text to paste.", // 59
    "The objects on the clipboard do not fit into the design (4096 objects at most). Nothing was pasted.", // 60
    "Nothing to paste: the clipboard holds no objects.", // 61
    "%1: no entry is loaded, only none can be chosen.", // 62
    "%1: choose none or one of the loaded entries.", // 63
    "%1 is either on or off.", // 64
    "%1 is either edge A or edge B.", // 65
    "%1 is not a colour.", // 66
    "%1 is one of: %2.", // 67
    "%1 must be 1, 3, 5, 7 or 9.", // 68
    "%1 must be between %2 and %3.", // 69
    "%1 must be %2 or between %3 and %4.", // 70
    "it holds too many elements", // 71
    "a transform cannot be read at line %1", // 72
    "the drawing of a %1 at line %2 cannot be read", // 73
    "its drawing is far too large", // 74
    "its groups are nested too deeply", // 75
    "its uses refer to each other in a loop or too deeply", // 76
    "%1 at line %2", // 77
    "it is not an SVG file", // 78
    "the size or transform of the drawing cannot be read", // 79
    "it holds nothing drawn", // 80
    "it cannot be read, or it is larger than 16 MB", // 81
    "the design is larger than the largest Janome hoop (200 x 200 mm)", // 82
    "the design is larger than 130 x 180 mm, the largest hoop a PES file names", // 83
    "the design has more than 255 colour blocks, the most a PES file counts", // 84
    "the design has too many stitches for a PES file (its stitch list can hold at most 16 MiB)", // 85
    "thread %1 is not \"code $RRGGBB name\" with a code of 1 to %2", // 86
    "thread code %1 is given twice", // 87
    "it holds no threads", // 88
    "the %1 thread chart %2 was refused: %3", // 89
    "cannot be written: %1", // 90
    "its colour list %1 cannot be written: %2", // 91
    "the design holds no objects", // 92
    "the design produces no stitches", // 93
    "the design is too large to stitch", // 94
    "the PDF page could not be started", // 95
    "The worksheet cannot be printed: %1.", // 96
    "the printer did not take the page", // 97
    "The design measures %1%s the hoop %2 does not hold it.", // 98
    "The file name ends in none of .dst, .exp, .jef and .pes.", // 99
    "Exported %1 (%2, %3 stitches) and %4", // 100
    "does not exist", // 101
    "is not a file", // 102
    "is not a project file (.kvp)", // 103
    "is larger than a project file can be (64 MiB)", // 104
    "cannot be read", // 105
    "holds no objects", // 106
    "holds %1 objects more than a design can (%2)%s --partial uses the first ones", // 107
    "ends part-way through its last object (the file was cut short)%s --partial uses what is there", // 108
    "produces no stitches", // 109
    "is too large for a machine file (at most 9999.9 mm and 9,999,999 records)", // 110
    "unknown machine format \"%1\" (known: %2)", // 111
    "the picture would be more than %1 pixels on a side%s give a smaller --scale", // 112
    "the picture could not be encoded as PNG", // 113
    "is a project file%s an output never replaces one", // 114
    "is one of the designs given%s an output never replaces one", // 115
    "its output %1 was written for an earlier design", // 116
    "%1: the folder cannot be made", // 117
    "--hoop %1: no hoop of hoops.txt has that name, and it is no size such as 130x180", // 118
    "%1 (kelvara --help shows how)", // 119
    "give only one of --export, --render, --info, --worksheet and --help", // 120
    "--to needs a folder", // 121
    "--format needs a format, such as dst", // 122
    "--scale needs whole pixels per millimetre, 1 to %1", // 123
    "--hoop needs a hoop name of hoops.txt or a size such as 130x180", // 124
    "unknown option %1%s usage: kelvara [DESIGN.kvp] or kelvara --export|--render|--info|--worksheet DESIGN... OUTPUT", // 125
    "name one of --export, --render, --info or --worksheet", // 126
    "--info takes only designs", // 127
    "--info needs at least one design", // 128
    "%1 goes with --render", // 129
    "--hoop goes with --export", // 130
    "--format goes with --to%s a single output takes the format of its name", // 131
    "%1 takes a design and an output file, or designs and --to FOLDER", // 132
    "the output file name is empty", // 133
    "no design given", // 134
    "--worksheet writes PDF files only", // 135
    "--to needs --format, such as --format dst", // 136
    "No room for another object (the design holds at most 4096): delete some to draw more", // 137
    "No tool is active, so the click draws nothing: choose a drawing tool, or Space for the select arrow", // 138
    "This tool's edges are straight: the right button bends lines, columns and satin edges", // 139
    "Click the first point: the right button then bends the segment being drawn", // 140
    "Insert point: select the line to cut first", // 141
    "Insert point: no selected line lies under the click", // 142
    "The stitch-out is playing: the tools wait until Esc ends it", // 143
    "Draw the hole as a closed path inside the shape.", // 144
    "The next objects take this colour%s select objects to recolour them", // 145
    "Optimise order", // 146
    "Jumps: %1 mm before, %2 mm after.", // 147
    "Colour changes: %1 before, %2 after.", // 148
    "the printer could not be started", // 149
    "warning: %1", // 150
    "%1 (the first: %2)", // 151
    "(recovered from %1)", // 152
    "line %1: the width and height must be millimetres, such as 130 180", // 153
    "line %1: a hoop's sides are 10 to 2000 mm", // 154
    "line %1: the shape must be rect, rounded or oval", // 155
    "line %1: the hoop has no name", // 156
    "line %1: the name is longer than 63 characters", // 157
    "line %1: the name holds a control character", // 158
    "line %1: more than 200 hoops are listed", // 159
    "%1 is larger than any hoop list", // 160
    "no fonts available for \"%1\"", // 161
    "font \"%1\" is not installed%s \"%2\" is used instead", // 162
    "%1/%2 (%3 left out)", // 163
    "the design cannot be stitched", // 164
    "at byte %1", // 165
    "its header does not begin with LA:", // 166
    "its stitches would begin inside its header", // 167
    "its thread count %1", // 168
    "its stitches begin at byte %1", // 169
    "command %1 at byte %2", // 170
    "it does not begin with #PES", // 171
    "its PEC offset %1", // 172
    "its PEC block begins at byte %1", // 173
    "its PEC block does not begin with LA:", // 174
    "A hole is added to a shape: select the shape first.", // 175
    "No hoop", // 176
    "Design information", // 177
    "About %1", // 178
    "Print the worksheet", // 179
    "nothing selected", // 180
    "%1 selected (%2)", // 181
    "too large to stitch", // 182
    "%1 stitches", // 183
    "%1 x %2 mm", // 184
    "planning stitches %1%", // 185
    "hoop %1", // 186
    "(does not fit)", // 187
    "centre walk", // 188
    "zigzag", // 189
    "%1 and zigzag", // 190
    "none", // 191
    "differs between the objects", // 192
    "Size: %1 x %2 mm", // 193
    "Stitches: %1", // 194
    "Colour changes: %1", // 195
    "Trims: %1", // 196
    "Jumps: %1", // 197
    "Objects: %1", // 198
    "Thread: about %1 m", // 199
    "Sewing time: about %1 min", // 200
    "Hoop: none chosen", // 201
    "Hoop: %1, the design fits", // 202
    "Hoop: %1, the design does NOT fit", // 203
    "Smallest hoop that holds it: %1", // 204
    "none listed", // 205
    "Stitch %1 of %2 at %3", // 206
    "thread %1", // 207
    "%1 of %2 min at %3 a minute", // 208
    "%1 stitches a second", // 209
    "playing (Space pauses)", // 210
    "paused (Space plays)", // 211
    "the write failed", // 212
    "no file name", // 213
    "is a folder", // 214
    "the file was not made", // 215
    "centre walk and %1", // 216
    "Stitching the design for the worksheet...", // 217
    "Printing the worksheet...", // 218
};
// clang-format on

} // namespace

std::string_view builtInMessage(int slot)
{
    if (slot < 0 || slot >= kSlotCount)
        return {};
    return kBuiltInMessages[std::size_t(slot)];
}

} // namespace kelvara
