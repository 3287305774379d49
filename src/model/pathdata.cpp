#include "model/pathdata.h"

#include <charconv>

namespace kelvara {

std::size_t PathData::nodeCount() const
{
    std::size_t n = 0;
    for (const SubPath& sub : subpaths)
        n += 1 + sub.segments.size();
    return n;
}

namespace {

class PathReader {
public:
    explicit PathReader(std::string_view text) : text_(text) {}

    PathReadResult run()
    {
        PathReadResult result;
        result.fault = readAll(result.path);
        if (result.fault == PathFault::None && result.path.subpaths.empty())
            result.fault = PathFault::Empty;
        if (result.fault != PathFault::None) {
            result.offset = pos_;
            result.path = {};
        }
        return result;
    }

private:
    PathFault readAll(PathData& path)
    {
        // After Z the next drawing command starts a new sub-path at the
        // closed one's start; no sub-path is made until one comes.
        bool afterClose = false;
        while (pos_ < text_.size()) {
            const char command = text_[pos_];
            if (command == ',')
                return PathFault::MissingNumber;
            if (command != 'M' && command != 'L' && command != 'C' && command != 'Z')
                return PathFault::UnknownCommand;
            if (command != 'M' && path.subpaths.empty())
                return PathFault::NoMoveFirst;
            ++pos_;
            if (command == 'Z') {
                if (!afterClose)
                    path.subpaths.back().closed = true;
                afterClose = true;
                continue;
            }
            bool first = true;
            do {
                if (!first)
                    ++pos_; // the comma between coordinate sets
                PathSegment seg;
                const int pairs = command == 'C' ? 3 : 1;
                PathPoint* at[3] = {&seg.c1, &seg.c2, &seg.to};
                for (int i = 0; i < pairs; ++i) {
                    PathPoint& p = pairs == 3 ? *at[i] : seg.to;
                    if (i > 0 && !comma())
                        return PathFault::MissingNumber;
                    if (const PathFault f = number(p.x); f != PathFault::None)
                        return f;
                    if (!comma())
                        return PathFault::MissingNumber;
                    if (const PathFault f = number(p.y); f != PathFault::None)
                        return f;
                }
                if (++nodes_ > kMostPathNodes)
                    return PathFault::TooManyNodes;
                if (command == 'M' && first) {
                    path.subpaths.push_back(SubPath{seg.to, {}, false});
                } else {
                    if (afterClose) {
                        const PathPoint start = path.subpaths.back().start;
                        path.subpaths.push_back(SubPath{start, {}, false});
                        ++nodes_;
                    }
                    seg.cubic = command == 'C';
                    path.subpaths.back().segments.push_back(seg);
                }
                afterClose = false;
                first = false;
            } while (pos_ + 1 < text_.size() && text_[pos_] == ',' && isNumberStart(text_[pos_ + 1]));
        }
        return PathFault::None;
    }

    static bool isNumberStart(char c) { return c == '-' || (c >= '0' && c <= '9'); }

    bool comma()
    {
        if (pos_ < text_.size() && text_[pos_] == ',') {
            ++pos_;
            return true;
        }
        return false;
    }

    PathFault number(int32_t& out)
    {
        const std::size_t begin = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-')
            ++pos_;
        const bool negative = pos_ > begin;
        const std::size_t digits = pos_;
        // Summed as read; past ten digits the value is out of range however
        // many leading zeros it carries, so the sum cannot overflow.
        int64_t value = 0;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            if (pos_ - digits < 10)
                value = value * 10 + (text_[pos_] - '0');
            ++pos_;
        }
        if (pos_ == digits)
            return PathFault::MissingNumber;
        if (pos_ < text_.size() && (text_[pos_] == '.' || text_[pos_] == 'e' || text_[pos_] == 'E'))
            return PathFault::NotWholeNumber;
        if (pos_ - digits > 10)
            return PathFault::OutOfRange;
        if (negative)
            value = -value;
        if (value > kPathCoordinateLimit || value < -int64_t(kPathCoordinateLimit))
            return PathFault::OutOfRange;
        out = static_cast<int32_t>(value);
        return PathFault::None;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t nodes_ = 0;
};

void appendNumber(std::string& out, int32_t v)
{
    char buf[16];
    const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
    out.append(buf, end);
}

void appendPoint(std::string& out, PathPoint p)
{
    appendNumber(out, p.x);
    out += ',';
    appendNumber(out, p.y);
}

} // namespace

PathReadResult readPath(std::string_view text)
{
    return PathReader(text).run();
}

void appendPath(std::string& out, const PathData& path)
{
    for (const SubPath& sub : path.subpaths) {
        out += 'M';
        appendPoint(out, sub.start);
        for (const PathSegment& seg : sub.segments) {
            if (seg.cubic) {
                out += 'C';
                appendPoint(out, seg.c1);
                out += ',';
                appendPoint(out, seg.c2);
                out += ',';
            } else {
                out += 'L';
            }
            appendPoint(out, seg.to);
        }
        if (sub.closed)
            out += 'Z';
    }
}

std::string writePath(const PathData& path)
{
    std::string out;
    out.reserve(path.nodeCount() * 12);
    appendPath(out, path);
    return out;
}

} // namespace kelvara
