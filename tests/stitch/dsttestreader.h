#pragma once

// An independent DST decoder for the tests: it reads the bytes by the format's
// own bit table, not through the writer's code.

#include "stitch/stitchplan.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kelvara::testing {

struct DstRecord {
    enum Type { Stitch, Jump, ColourChange, End } type = Stitch;
    int dx = 0; // DST axes: y up
    int dy = 0;
};

struct DstFile {
    bool valid = false;
    std::map<std::string, std::string> header; // "LA" -> value, without the CR
    bool headerEndsWithEof = false;            // 0x1A after the fields, then spaces
    std::vector<DstRecord> records;
};

inline DstRecord decodeDstRecord(uint8_t b0, uint8_t b1, uint8_t b2)
{
    DstRecord r;
    auto bit = [](uint8_t b, int n) { return (b >> n) & 1; };
    r.dx = bit(b0, 0) - bit(b0, 1) + 9 * bit(b0, 2) - 9 * bit(b0, 3) + 3 * bit(b1, 0) - 3 * bit(b1, 1) +
           27 * bit(b1, 2) - 27 * bit(b1, 3) + 81 * bit(b2, 2) - 81 * bit(b2, 3);
    r.dy = bit(b0, 7) - bit(b0, 6) + 9 * bit(b0, 5) - 9 * bit(b0, 4) + 3 * bit(b1, 7) - 3 * bit(b1, 6) +
           27 * bit(b1, 5) - 27 * bit(b1, 4) + 81 * bit(b2, 5) - 81 * bit(b2, 4);
    if (b2 == 0xF3)
        r.type = DstRecord::End;
    else if ((b2 & 0xC3) == 0xC3)
        r.type = DstRecord::ColourChange;
    else if (b2 & 0x80)
        r.type = DstRecord::Jump;
    else
        r.type = DstRecord::Stitch;
    return r;
}

inline DstFile readDst(const std::vector<uint8_t>& bytes)
{
    DstFile f;
    if (bytes.size() < 512 || (bytes.size() - 512) % 3 != 0)
        return f;
    std::size_t pos = 0;
    while (pos < 512 && bytes[pos] != 0x1A) {
        std::size_t end = pos;
        while (end < 512 && bytes[end] != '\r')
            ++end;
        const std::string fieldText(bytes.begin() + static_cast<long>(pos),
                                    bytes.begin() + static_cast<long>(end));
        if (fieldText.size() >= 3 && fieldText[2] == ':')
            f.header[fieldText.substr(0, 2)] = fieldText.substr(3);
        pos = end + 1;
    }
    f.headerEndsWithEof = pos < 512 && bytes[pos] == 0x1A;
    for (std::size_t i = pos + 1; i < 512 && f.headerEndsWithEof; ++i)
        if (bytes[i] != ' ')
            f.headerEndsWithEof = false;
    for (std::size_t i = 512; i + 2 < bytes.size(); i += 3)
        f.records.push_back(decodeDstRecord(bytes[i], bytes[i + 1], bytes[i + 2]));
    f.valid = true;
    return f;
}

// The file's records as plan records in design units, given where the
// machine started: y turned back downward, three jumps with no net movement
// read as one trim. Colours are not in DST and stay 0.
inline std::vector<StitchRecord> dstToPlan(const DstFile& f, int32_t startX, int32_t startY)
{
    std::vector<StitchRecord> out;
    int32_t x = startX, y = startY;
    for (std::size_t i = 0; i < f.records.size(); ++i) {
        const DstRecord& r = f.records[i];
        if (r.type == DstRecord::Jump && i + 2 < f.records.size() &&
            f.records[i + 1].type == DstRecord::Jump && f.records[i + 2].type == DstRecord::Jump &&
            r.dx + f.records[i + 1].dx + f.records[i + 2].dx == 0 &&
            r.dy + f.records[i + 1].dy + f.records[i + 2].dy == 0 && (r.dx != 0 || r.dy != 0)) {
            out.push_back({x, y, 0, StitchKind::Trim});
            i += 2;
            continue;
        }
        x += r.dx;
        y -= r.dy;
        StitchKind kind = StitchKind::Stitch;
        if (r.type == DstRecord::Jump)
            kind = StitchKind::Jump;
        else if (r.type == DstRecord::ColourChange)
            kind = StitchKind::ColourChange;
        else if (r.type == DstRecord::End)
            kind = StitchKind::End;
        out.push_back({x, y, 0, kind});
    }
    return out;
}

// The centre of the extents of the plan's needle positions, where the
// machine starts.
inline std::pair<int32_t, int32_t> planCentre(const std::vector<StitchRecord>& records)
{
    int64_t minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool any = false;
    for (const StitchRecord& r : records) {
        if (r.kind != StitchKind::Stitch && r.kind != StitchKind::Jump)
            continue;
        minX = any ? std::min<int64_t>(minX, r.x) : r.x;
        maxX = any ? std::max<int64_t>(maxX, r.x) : r.x;
        minY = any ? std::min<int64_t>(minY, r.y) : r.y;
        maxY = any ? std::max<int64_t>(maxY, r.y) : r.y;
        any = true;
    }
    return {static_cast<int32_t>((minX + maxX) / 2), static_cast<int32_t>((minY + maxY) / 2)};
}

// The file read back from the plan's centre, without the jumps from there to
// the first needle; `opening` is how many records those took.
inline std::vector<StitchRecord>
dstToPlanFromCentre(const DstFile& f, const std::vector<StitchRecord>& records, std::size_t& opening)
{
    const auto [x, y] = planCentre(records);
    std::vector<StitchRecord> back = dstToPlan(f, x, y);
    opening = 0;
    while (opening < back.size() && back[opening].kind == StitchKind::Jump &&
           !(back[opening].x == records.front().x && back[opening].y == records.front().y))
        ++opening;
    if (opening < back.size() && back[opening].kind == StitchKind::Jump &&
        records.front().kind != StitchKind::Jump)
        ++opening; // the last opening jump lands on the first needle
    back.erase(back.begin(), back.begin() + static_cast<std::ptrdiff_t>(opening));
    return back;
}

} // namespace kelvara::testing
