#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvara {

struct LineTable;
struct TokenTable;

// The configuration values, named by their keys in kelvara.cfg.
struct Settings {
    int32_t CROSS = 0;
    int32_t MRIZ = 0;
    int32_t MRIZXY = 10;
    int32_t AUTO = 1;
    int32_t DELETE = 5;
    int32_t MAX = 90;
    int32_t DENSITY = 35;
    int32_t PULLCOMP = 2;
    int32_t PUSHCOMP = 1;
    int32_t STITCH = 20;
    int32_t UNDER = 1;
    int32_t LENGTH = 15;
    int32_t EDGE = 5;
    int32_t CIKUND = 0;
    int32_t CIKCAK = 25;
    int32_t MARGIN = 3;
    int32_t STEIL = 20;
    int32_t REPEAT = 1;
    int32_t TIEIN = 0;
    int32_t TIEOUT = 1;
    int32_t TIELEN = 25;
    int32_t TRIM = 40;
    // Longest needle stitch in 0.1 mm; longer satin rungs and star rays are
    // split, and only a running line's own LEN may ask for more.
    int32_t MAXSTITCH = 70;
    // Start value of the stitch view switch; 0 keeps the outline view.
    int32_t STITCHVIEW = 0;
    // Outlines of the objects in their thread colours while the stitch view
    // is off; 0 keeps the canvas without them.
    int32_t OUTLINES = 0;
    // Thread chart the colour list beside an export names its threads from:
    // kChartNone, kChartJanome or kChartBrother. 0 lists colours only.
    int32_t CHART = 0;
    // Stitches per minute the machine sews, for the estimated sewing time.
    int32_t SPEED = 800;
    // Stitches drawn as thread (light along it, shade at its ends) in the
    // stitch view; 0 keeps the flat lines.
    int32_t THREADVIEW = 0;
    // The fabric under the thread view and the realistic render, as
    // 0xRRGGBB; 0 keeps the black canvas.
    int32_t FABRIC = 0;
    // The hoop the design is sewn in: a name of hoops.txt or a size such as
    // 130x180 (mm), zero-terminated; empty shows no hoop and checks none.
    std::array<char, 64> HOOP{};
    // Everyday editing as in other desktop editors; each 0 keeps the older way.
    // Ctrl+S saves to the design's file without asking, the title marks
    // unsaved changes and only they are asked about; Save As asks.
    int32_t QUICKSAVE = 0;
    // A menu bar holding every toolbar command.
    int32_t MENUBAR = 0;
    // C right after drawing, with nothing picked, sets only the next
    // objects' colour.
    int32_t PICKCOLOUR = 0;
    // The colour list beside a machine file is NAME-FORMAT.txt (badge-pes.txt),
    // so two formats of one design keep their own; 0 keeps NAME.txt.
    int32_t COLOURLISTS = 0;
    // Wheel up zooms in around the pointer, the zoom keys around the
    // canvas centre, and Ctrl+9 brings the selection into view; 0 keeps the
    // wheel's old direction and zooms from the top-left corner.
    int32_t ZOOMSTEPS = 0;
    // The active tool's button, the stitch view, grid and cross-hair show
    // pressed while on; 0 keeps them plain buttons.
    int32_t SHOWMODES = 0;
    // The properties panel docked beside the object list, with the
    // selection's position and size in mm; 0 keeps the floating panel.
    int32_t DOCKPANEL = 0;
    // List lines that name the kind in words, the group and the position,
    // numbered afresh after every change, in a list whose width can be
    // dragged; 0 keeps the glyph lines numbered when made.
    int32_t LISTWORDS = 0;
    // The editor stitches the design on a thread of its own, so a large
    // design opens and scrolls while it is planned; 0 plans it before the
    // window answers again.
    int32_t BACKPLAN = 0;
    // A drawing tool stays ready after its object: the star, circle and
    // fill area tools too, each object then a group of its own; Escape drops
    // what was clicked and, with nothing clicked, takes the select arrow.
    // 0 ends those three tools after their object and Escape ends any tool.
    int32_t TOOLSTAYS = 0;
    // Satin columns and closed running lines also end towards the next
    // object: a column sewn from either end equally near the needle takes
    // the way that leaves it nearer the next start, and a loop starts (and
    // so ends) near both; 0 leaves their ends to fall where they fall.
    int32_t ENTRYEXIT = 0;
};

inline constexpr int32_t kChartNone = 0;
inline constexpr int32_t kChartJanome = 1;
inline constexpr int32_t kChartBrother = 2;

// The HOOP setting as text.
std::string_view hoopSetting(const Settings& settings);
void setHoopSetting(Settings& settings, std::string_view name);

inline constexpr const char* kConfigFileName = "kelvara.cfg";

// Reads programFolder + kelvara.cfg into `settings` through the line table.
void readConfiguration(Settings& settings, LineTable& lines, TokenTable& tokens,
                       const std::string& programFolder);

// Applies already-read lines (the line table's content) to `settings`.
void applyConfigurationLines(Settings& settings, LineTable& lines, TokenTable& tokens);

} // namespace kelvara
