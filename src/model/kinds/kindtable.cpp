#include "model/kinds/kind.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace kelvara {

extern const KindRow kRunKind;
extern const KindRow kSatenKind;
extern const KindRow kSteilKind;
extern const KindRow kRectKind;
extern const KindRow kStarKind;
extern const KindRow kCircleKind;
extern const KindRow kStrokeKind;
extern const KindRow kShapeKind;
extern const KindRow kStitchesKind;
extern const KindRow kLettersKind;

namespace {

// One row a kind, in kind order: a kind's number is its place here plus one.
const std::array<const KindRow*, 10> kTable{
    &kRunKind,    &kSatenKind,  &kSteilKind, &kRectKind,     &kStarKind,
    &kCircleKind, &kStrokeKind, &kShapeKind, &kStitchesKind, &kLettersKind,
};

std::span<const KindRow* const> gRows{kTable};

} // namespace

std::span<const KindRow* const> kindRows()
{
    return gRows;
}

std::span<const KindRow* const> replaceKindTableForTest(std::span<const KindRow* const> rows)
{
    const auto before = gRows;
    gRows = rows;
    return before;
}

const KindRow* kindRow(int32_t kind)
{
    if (kind < 1 || static_cast<std::size_t>(kind) > gRows.size())
        return nullptr;
    return gRows[static_cast<std::size_t>(kind) - 1];
}

const KindRow* kindByWord(std::string_view word)
{
    for (const KindRow* row : gRows)
        if (row != nullptr && row->word == word)
            return row;
    return nullptr;
}

int32_t recordSize(int32_t kind)
{
    const KindRow* row = kindRow(kind);
    return row ? row->size : 0;
}

bool recordSizeFits(int32_t kind, int32_t paramsSize)
{
    const KindRow* row = kindRow(kind);
    return row != nullptr && paramsSize >= row->minSize && paramsSize <= row->size;
}

KindEdges kindEdges(const KindRow& row, const ObjectParams& p)
{
    return row.edges ? row.edges(const_cast<ObjectParams&>(p)) : KindEdges{};
}

KindEllipse kindEllipse(const KindRow& row, const ObjectParams& p)
{
    return row.ellipse ? row.ellipse(const_cast<ObjectParams&>(p)) : KindEllipse{};
}

double widerHalfWidth(const KindRow& row, const ObjectParams& p)
{
    if (row.widths == nullptr)
        return 0;
    const KindWidths w = row.widths(const_cast<ObjectParams&>(p));
    return std::max(std::abs(double(*w.start)), std::abs(double(*w.end))) / 2;
}

const ObjectField* kindField(const KindRow& row, FieldMeaning meaning)
{
    for (const ObjectField& field : row.fields)
        if (field.meaning == meaning)
            return &field;
    return nullptr;
}

int32_t kindInt(const KindRow& row, const unsigned char* record, FieldMeaning meaning, int32_t otherwise)
{
    const ObjectField* field = kindField(row, meaning);
    if (field == nullptr || field->isDouble)
        return otherwise;
    int32_t v;
    std::memcpy(&v, record + field->offset, sizeof v);
    return v;
}

} // namespace kelvara
