// Tajima DST. Records are relative moves of at most 121 per axis, each axis
// written as five balanced-ternary digits (81, 27, 9, 3, 1) spread over the
// three bytes. A trim is three jumps that end where they began; a longer move
// than one record allows becomes several equal ones. The header counts every
// record before the end record (ST) and the colour changes (CO), and gives the
// extents and the last position relative to the start.
//
// The start (the origin) is the centre of the design, not its first needle:
// a machine centres the hoop on the origin, so the file opens with a jump
// from the centre to the first stitch and the extents come out even on both
// sides.
#include "stitch/dstwriter.h"

#include "stitch/machinemoves.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace kelvara {

namespace {

// Digits for weights 1, 3, 9, 27, 81, each -1, 0 or 1.
std::array<int, 5> ternary(int v)
{
    std::array<int, 5> d{};
    for (int& digit : d) {
        const int r = ((v % 3) + 3) % 3;
        digit = r == 2 ? -1 : r;
        v = (v - digit) / 3;
    }
    return d;
}

uint8_t bitIf(bool on, int bit)
{
    return on ? static_cast<uint8_t>(1u << bit) : 0;
}

// The bits one axis contributes to a record, for every move -121..121: the
// three bytes of a record are the two axes' bits together plus the flags.
struct AxisBits {
    std::array<std::array<uint8_t, 3>, 2 * kMaxStep + 1> x{}, y{};
    AxisBits()
    {
        for (int v = -kMaxStep; v <= kMaxStep; ++v) {
            const auto d = ternary(v);
            auto& bx = x[static_cast<std::size_t>(v + kMaxStep)];
            auto& by = y[static_cast<std::size_t>(v + kMaxStep)];
            bx[0] = bitIf(d[2] < 0, 3) | bitIf(d[2] > 0, 2) | bitIf(d[0] < 0, 1) | bitIf(d[0] > 0, 0);
            bx[1] = bitIf(d[3] < 0, 3) | bitIf(d[3] > 0, 2) | bitIf(d[1] < 0, 1) | bitIf(d[1] > 0, 0);
            bx[2] = bitIf(d[4] < 0, 3) | bitIf(d[4] > 0, 2);
            by[0] = bitIf(d[0] > 0, 7) | bitIf(d[0] < 0, 6) | bitIf(d[2] > 0, 5) | bitIf(d[2] < 0, 4);
            by[1] = bitIf(d[1] > 0, 7) | bitIf(d[1] < 0, 6) | bitIf(d[3] > 0, 5) | bitIf(d[3] < 0, 4);
            by[2] = bitIf(d[4] > 0, 5) | bitIf(d[4] < 0, 4);
        }
    }
};

const AxisBits& axisBits()
{
    static const AxisBits bits;
    return bits;
}

struct Body {
    std::vector<uint8_t> bytes;
    int64_t x = 0, y = 0; // DST axes, relative to the start
    Box<int64_t> reach{0, 0, 0, 0}; // from the start, in DST axes
    int64_t records = 0;
    int64_t colourChanges = 0;

    void record(int dx, int dy, DstRecordType type)
    {
        const auto r = encodeDstRecord(dx, dy, type);
        bytes.push_back(r[0]);
        bytes.push_back(r[1]);
        bytes.push_back(r[2]);
        x += dx;
        y += dy;
        reach.add(x, y);
        if (type != DstRecordType::End)
            ++records;
    }

    // A move split into equal records of at most kMaxStep per axis.
    void move(int64_t dx, int64_t dy, DstRecordType type)
    {
        const int64_t longest = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
        const int64_t n = std::max<int64_t>(1, (longest + kMaxStep - 1) / kMaxStep);
        int64_t doneX = 0, doneY = 0;
        for (int64_t k = 1; k <= n; ++k) {
            const int64_t tx = dx * k / n, ty = dy * k / n;
            record(static_cast<int>(tx - doneX), static_cast<int>(ty - doneY), type);
            doneX = tx;
            doneY = ty;
        }
    }
};

void field(std::string& out, const char* format, long long value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    out += buffer;
    out += '\r';
}

void signedField(std::string& out, const char* name, long long value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%c%5lld", name, value < 0 ? '-' : '+',
                  std::min(value < 0 ? -value : value, 99999LL));
    out += buffer;
    out += '\r';
}

} // namespace

std::array<uint8_t, 3> encodeDstRecord(int dx, int dy, DstRecordType type)
{
    std::array<uint8_t, 3> b{0, 0, 0x03};
    if (type == DstRecordType::End) {
        b[2] = 0xF3;
        return b;
    }
    if (type == DstRecordType::ColourChange) {
        b[2] = 0xC3;
        return b;
    }
    const auto& bits = axisBits();
    const auto& x = bits.x[static_cast<std::size_t>(std::clamp(dx, -kMaxStep, kMaxStep) + kMaxStep)];
    const auto& y = bits.y[static_cast<std::size_t>(std::clamp(dy, -kMaxStep, kMaxStep) + kMaxStep)];
    b[0] = x[0] | y[0];
    b[1] = x[1] | y[1];
    b[2] = static_cast<uint8_t>(0x03 | bitIf(type == DstRecordType::Jump, 7) | x[2] | y[2]);
    return b;
}

std::vector<uint8_t> writeDst(const StitchPlan& plan, std::string_view label)
{
    Body body;
    body.bytes.reserve(plan.records.size() * 3 + 16);
    const PlanBox needles = needleBox(plan);
    const int64_t originX = needles.empty() ? 0 : needles.centreX(),
                  originY = needles.empty() ? 0 : needles.centreY();
    if (!needles.empty() && (plan.records.front().x != originX || plan.records.front().y != originY))
        body.move(plan.records.front().x - originX, -(plan.records.front().y - originY), DstRecordType::Jump);
    bool ended = false;
    for (const StitchRecord& r : plan.records) {
        const int64_t dx = (r.x - originX) - body.x;
        const int64_t dy = -(r.y - originY) - body.y;
        switch (r.kind) {
        case StitchKind::Stitch:
            body.move(dx, dy, DstRecordType::Stitch);
            break;
        case StitchKind::Jump:
            body.move(dx, dy, DstRecordType::Jump);
            break;
        case StitchKind::Trim:
            body.record(1, 1, DstRecordType::Jump);
            body.record(-2, -2, DstRecordType::Jump);
            body.record(1, 1, DstRecordType::Jump);
            break;
        case StitchKind::ColourChange:
            body.record(0, 0, DstRecordType::ColourChange);
            ++body.colourChanges;
            break;
        case StitchKind::End:
            ended = true;
            break;
        }
        if (ended)
            break;
    }
    const int64_t lastX = body.x, lastY = body.y;
    body.record(0, 0, DstRecordType::End);

    std::string name;
    for (char c : label.substr(0, 16))
        name += c >= 0x20 && c < 0x7F ? c : '_';
    std::string header = "LA:" + name + std::string(16 - name.size(), ' ') + '\r';
    field(header, "ST:%7lld", std::min<int64_t>(body.records, kMaxRecords));
    field(header, "CO:%3lld", std::min<int64_t>(body.colourChanges, 999));
    field(header, "+X:%5lld", std::min<int64_t>(body.reach.right, kMaxExtent));
    field(header, "-X:%5lld", std::min<int64_t>(-body.reach.left, kMaxExtent));
    field(header, "+Y:%5lld", std::min<int64_t>(body.reach.bottom, kMaxExtent));
    field(header, "-Y:%5lld", std::min<int64_t>(-body.reach.top, kMaxExtent));
    signedField(header, "AX:", lastX);
    signedField(header, "AY:", lastY);
    header += "MX:+    0\rMY:+    0\rPD:******\r";
    header += '\x1A';
    header.resize(kDstHeaderSize, ' ');

    // The header goes in front of the body already built.
    body.bytes.insert(body.bytes.begin(), header.begin(), header.end());
    return std::move(body.bytes);
}

} // namespace kelvara
