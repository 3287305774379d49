#pragma once

#include "model/workspace.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvara::testing {

// Takes the lowest free row for a new object of `kind` with a zero-filled
// record and appends it to the end of the display order.
inline int32_t appendObject(Workspace& ws, int32_t kind, int32_t group = 1)
{
    const int32_t row = findFreeRow(ws.table);
    const int32_t size = recordSize(kind);
    ws.table.rows[row] = ObjectEntry{kind, ws.records.allocate(size), size, 0, group, -1, -1};
    insertAfter(ws.table, row, -1);
    ws.table.objectCount += 1;
    if (group > ws.table.groupCounter)
        ws.table.groupCounter = group;
    return row;
}

inline ObjectParams& paramsOf(Workspace& ws, int32_t row)
{
    return ws.records[ws.table.rows[row].params];
}

template <typename Library> void setNames(Library& library, const std::vector<std::string>& names)
{
    library.count = static_cast<int32_t>(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        library.names[i] = names[i];
}

// Row indexes in display order, walking at most objectCount steps.
inline std::vector<int32_t> displayOrder(const ObjectTable& table)
{
    std::vector<int32_t> order;
    int32_t row = table.objectCount > 0 ? table.firstObject : -1;
    while (row >= 0 && static_cast<int32_t>(order.size()) < table.objectCount) {
        order.push_back(row);
        row = table.rows[row].next;
    }
    return order;
}

// Parts of a BMP file a test may forge.
struct BmpSpec {
    int32_t width = 3;
    int32_t height = 2;
    uint16_t bitsPerPixel = 24;
    uint32_t infoSize = 40;
    uint32_t compression = 0;
    uint32_t imageSizeField = 0;     // 0 = leave 0
    uint32_t colourTableEntries = 0; // 4 bytes each, after the information header
    int64_t pixelOffset = -1;        // -1 = right after header and table
    std::vector<uint32_t> masks;     // written after the 40 header bytes when given
    std::vector<uint32_t> pixels;    // 0xRRGGBB, row-major from the top; empty = grey
    int64_t truncateTo = -1;         // cut the file to this many bytes
};

inline void put16(std::string& s, std::size_t at, uint16_t v)
{
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}

inline void put32(std::string& s, std::size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A BMP file laid out as `layout` describes; pixel rows bottom-up for a positive
// height, top-down for a negative one.
inline std::string makeBmp(const BmpSpec& layout)
{
    const uint32_t headerEnd = 14 + std::max<uint32_t>(layout.infoSize, 40);
    const uint32_t tableEnd = headerEnd + 4 * layout.colourTableEntries;
    const uint32_t offset = layout.pixelOffset >= 0 ? static_cast<uint32_t>(layout.pixelOffset) : tableEnd;
    const int32_t rows = layout.height < 0 ? -layout.height : layout.height;
    const std::size_t step = layout.bitsPerPixel / 8;
    const int32_t width = std::max(layout.width, 0);
    const std::size_t rowLength = (static_cast<std::size_t>(width) * step + 3) / 4 * 4;

    std::string file(std::max<std::size_t>(offset, tableEnd) + rowLength * rows, '\0');
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<uint32_t>(file.size()));
    put32(file, 10, offset);
    put32(file, 14, layout.infoSize);
    put32(file, 18, static_cast<uint32_t>(layout.width));
    put32(file, 22, static_cast<uint32_t>(layout.height));
    put16(file, 26, 1);
    put16(file, 28, layout.bitsPerPixel);
    put32(file, 30, layout.compression);
    put32(file, 34, layout.imageSizeField);
    put32(file, 46, layout.colourTableEntries);
    for (std::size_t i = 0; i < layout.masks.size(); ++i)
        put32(file, 54 + 4 * i, layout.masks[i]);
    for (uint32_t i = 0; i < layout.colourTableEntries; ++i)
        put32(file, headerEnd + 4 * i, 0x00ABCDEF);

    for (int32_t r = 0; r < rows; ++r) {
        const int32_t imageRow = layout.height > 0 ? rows - 1 - r : r;
        for (int32_t x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>(imageRow) * width + x;
            const uint32_t rgb = i < layout.pixels.size() ? layout.pixels[i] : 0x808080;
            const std::size_t at = offset + r * rowLength + x * step;
            if (step < 3 || at < headerEnd || at + step > file.size())
                continue;
            file[at] = static_cast<char>(rgb & 0xFF);
            file[at + 1] = static_cast<char>((rgb >> 8) & 0xFF);
            file[at + 2] = static_cast<char>((rgb >> 16) & 0xFF);
            if (step == 4)
                file[at + 3] = static_cast<char>(0x5A); // the X byte is not alpha
        }
    }
    if (layout.truncateTo >= 0 && static_cast<std::size_t>(layout.truncateTo) < file.size())
        file.resize(static_cast<std::size_t>(layout.truncateTo));
    return file;
}

} // namespace kelvara::testing
