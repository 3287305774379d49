#pragma once

#include <cstdint>

namespace kelvara {

enum ObjectKind : int32_t {
    KindFree = 0,
    KindRun = 1,
    KindSaten = 2,
    KindSteil = 3,
    KindRect = 4,
    KindStar = 5,
    KindCircle = 6,
    KindStroke = 7,
    KindShape = 8,
    KindStitches = 9,
    KindLetters = 10,
};

// Records are byte images (the undo journal copies them raw, the layouts are
// fixed), so every field directly follows the previous one.
#pragma pack(push, 1)

// Straight flag, then start, end, control point 1, control point 2.
struct BezierEdge {
    int32_t straight;
    double x1, y1;
    double x2, y2;
    double xc1, yc1;
    double xc2, yc2;
};

struct RunParams {
    int32_t LEN;
    int32_t MOTIVE;
    int32_t TIEIN;
    int32_t TIEOUT;
    int32_t TRIM;
    int32_t JUMP; // 1 = stitched line, 0 = jump
    BezierEdge line;
    int32_t colour;
};

struct SatenParams {
    int32_t SDENS;
    int32_t SCOMP;
    int32_t TDENS;
    int32_t TCOMP;
    int32_t PATTERN;
    int32_t MOTIVE;
    int32_t TIEIN;
    int32_t TIEOUT;
    int32_t TRIM;
    int32_t colour;
    int32_t REPEAT;
    double ZOOMX;
    double ZOOMY;
    int32_t PUSHCOMP;
    BezierEdge edgeA;
    BezierEdge edgeB;
    int32_t STITCHES;
    int32_t STARTA; // 1 = edge A, 2 = edge B
    int32_t STOPA;
    int32_t UNDER;
    int32_t CIKCAK;
    int32_t OFSUND;
    int32_t OFSCIK;
};

// OFSUND of a SATEN or STEIL that sends the walk underlay down the centre
// of the column and back instead of along its edges; the program never
// wrote a negative inset, so older files keep their edge walks.
inline constexpr int32_t kCentreWalk = -1;

struct SteilParams {
    int32_t SDENS;
    int32_t SCOMP;
    int32_t SWIDTH;
    int32_t TDENS;
    int32_t TCOMP;
    int32_t TWIDTH;
    int32_t PATTERN;
    int32_t MOTIVE;
    int32_t TIEIN;
    int32_t TIEOUT;
    int32_t TRIM;
    int32_t colour;
    int32_t REPEAT;
    double ZOOMX;
    double ZOOMY;
    int32_t PUSHCOMP;
    BezierEdge line;
    int32_t STITCHES;
    int32_t UNDER;
    int32_t CIKCAK;
    int32_t OFSUND;
    int32_t OFSCIK;
};

struct RectParams {
    int32_t SDENS;
    int32_t SCOMP;
    int32_t TDENS;
    int32_t TCOMP;
    int32_t PATTERN;
    int32_t MOTIVE;
    int32_t TIEIN;
    int32_t TIEOUT;
    int32_t TRIM;
    int32_t colour;
    int32_t REPEAT;
    double ZOOMX;
    double ZOOMY;
    int32_t PUSHCOMP;
    BezierEdge edgeA;
    BezierEdge edgeB;
    int32_t STARTA;
    int32_t STOPA;
    int32_t ANGLE;
    int32_t STITCHES;
    int32_t UNDER;
    int32_t CIKCAK;
    int32_t OFSUND;
    int32_t OFSCIK;
};

struct StarParams {
    int32_t DENS;
    int32_t COMP;
    int32_t PATTERN;
    int32_t MOTIVE;
    int32_t TIEIN;
    int32_t TIEOUT;
    int32_t TRIM;
    int32_t colour;
    int32_t REPEAT;
    double ZOOMX;
    double ZOOMY;
    int32_t X;
    int32_t Y;
    int32_t RX;
    int32_t RY;
    int32_t STARTANGLE;
    int32_t STOPANGLE;
    int32_t UNDER;
    int32_t OFSUND;
};

struct CircleParams {
    int32_t SDENS;
    int32_t SCOMP;
    int32_t TDENS;
    int32_t TCOMP;
    int32_t PATTERN;
    int32_t MOTIVE;
    int32_t TIEIN;
    int32_t TIEOUT;
    int32_t TRIM;
    int32_t colour;
    int32_t REPEAT;
    double ZOOMX;
    double ZOOMY;
    int32_t PUSHCOMP;
    int32_t X;
    int32_t Y;
    int32_t RX;
    int32_t RY;
    int32_t ANGLE;
    int32_t STITCHES;
    int32_t UNDER;
    int32_t CIKCAK;
    int32_t OFSUND;
    int32_t OFSCIK;
};

// A path of any length: PATH is a handle into the path store (pathstore.h).
struct StrokeParams {
    int32_t LEN;
    int32_t MOTIVE;
    int32_t TIEIN;
    int32_t TIEOUT;
    int32_t TRIM;
    int32_t colour;
    int32_t REPEAT;
    int32_t STYLE; // 0 running line, 1 satin column
    int32_t SWIDTH;
    int32_t TWIDTH;
    int32_t SDENS;
    int32_t TDENS;
    int32_t SCOMP;
    int32_t TCOMP;
    int32_t PATTERN;
    int32_t UNDER;
    int32_t MSIZE; // a motif's copies at this percent of the size they are drawn at; 0: 100
    int32_t PATH;
};

// Closed paths filled by the even-odd rule; the fill fields as in RECT.
struct ShapeParams {
    int32_t SDENS;
    int32_t SCOMP;
    int32_t TDENS;
    int32_t TCOMP;
    int32_t PATTERN;
    int32_t MOTIVE;
    int32_t TIEIN;
    int32_t TIEOUT;
    int32_t TRIM;
    int32_t colour;
    int32_t REPEAT;
    double ZOOMX;
    double ZOOMY;
    int32_t PUSHCOMP;
    int32_t STITCHES;
    int32_t UNDER;
    int32_t CIKCAK;
    int32_t OFSUND;
    int32_t OFSCIK;
    int32_t ANGLE;
    int32_t BORDER; // 0 none, 1 running line, 2 satin
    int32_t BWIDTH;
    int32_t APPLIQUE; // 1: placement line, stop, tack-down, stop, satin border; no fill
    int32_t FLEN;     // longest tatami stitch; 0: the built-in 3 mm
    int32_t ROWSHIFT; // each row's stitches shift on by this percent of a stitch; 0: 40
    int32_t PATH;     // last, as in every kind with a path
};

// Lettering: text in a font, digitized when it is sewn. FONT and TEXT are
// handles into the text store (textstore.h); 0 is the default family and the
// empty text.
struct LettersParams {
    int32_t SDENS;
    int32_t SCOMP;
    int32_t TDENS;
    int32_t TCOMP;
    int32_t PATTERN;
    int32_t MOTIVE;
    int32_t TIEIN;
    int32_t TIEOUT;
    int32_t TRIM;
    int32_t colour;
    int32_t REPEAT;
    double ZOOMX;
    double ZOOMY;
    int32_t PUSHCOMP;
    int32_t STITCHES;
    int32_t UNDER;
    int32_t CIKCAK;
    int32_t OFSUND;
    int32_t OFSCIK;
    int32_t ANGLE; // fill rows of the wide parts
    int32_t FONT;
    int32_t BOLD;
    int32_t ITALIC;
    int32_t SIZE; // height of a capital H
    int32_t X;    // the baseline's anchor
    int32_t Y;
    int32_t ALIGN; // 0 start, 1 middle, 2 end at X, Y
    int32_t SPACING;
    int32_t LEADING; // 0: the font's own line distance
    int32_t ARC;     // 0 straight; > 0 top of a circle, < 0 bottom
    int32_t TURN;    // the baseline's direction, degrees counter-clockwise
    int32_t TEXT;
};

// A block of stitches kept as a machine file had them: MOVES is a handle
// into the block store (blockstore.h), its moves placed at (X, Y) from where
// they are stored, so moving the block stores nothing new.
struct StitchesParams {
    int32_t TRIM;
    int32_t colour;
    int32_t MOVES;
    int32_t X;
    int32_t Y;
};

// Fields added to a fixed layout follow it as a tail. A record stored before
// the tail existed ends where the layout ends, and its tail reads as zero:
// every tail field names 0 as the standard, the stitches it always had.
struct RunTail {
    int32_t REPEAT; // passes over each stitch, 2 sewn there and back; 0: the configuration's REPEAT
    int32_t MSIZE;  // as in STROKE
};
struct FillTail {
    int32_t FLEN; // as in SHAPE
    int32_t ROWSHIFT;
};
struct ColumnTail {
    int32_t CENTRE; // 1: a walk down the centre and back before the other underlay
};

template <typename Fixed, typename Tail> struct Tailed {
    Fixed fixed;
    Tail tail;
};
using RunRecord = Tailed<RunParams, RunTail>;
using SatenRecord = Tailed<SatenParams, ColumnTail>;
using SteilRecord = Tailed<SteilParams, ColumnTail>;
using RectRecord = Tailed<RectParams, FillTail>;
using CircleRecord = Tailed<CircleParams, FillTail>;

#pragma pack(pop)

static_assert(sizeof(BezierEdge) == 68);
static_assert(sizeof(RunParams) == 96);
static_assert(sizeof(SatenParams) == 228);
static_assert(sizeof(SteilParams) == 160);
static_assert(sizeof(RectParams) == 232);
static_assert(sizeof(StarParams) == 84);
static_assert(sizeof(CircleParams) == 104);

static_assert(sizeof(RectRecord) == 240);

inline constexpr int32_t kMaxRecordSize = 240;

// Record byte size of a new record of a kind (the kind table holds it); 0
// for a free row or an unknown kind.
int32_t recordSize(int32_t kind);

// One storage slot, large enough for any kind's record.
union ObjectParams {
    RunParams run;
    SatenParams saten;
    SteilParams steil;
    RectParams rect;
    StarParams star;
    CircleParams circle;
    StrokeParams stroke;
    ShapeParams shape;
    LettersParams letters;
    StitchesParams stitches;
    // The same records with their tails, where a kind has one.
    RunRecord tailedRun;
    SatenRecord tailedSaten;
    SteilRecord tailedSteil;
    RectRecord tailedRect;
    CircleRecord tailedCircle;
    unsigned char bytes[kMaxRecordSize];
};
static_assert(sizeof(ObjectParams) == kMaxRecordSize);

} // namespace kelvara
