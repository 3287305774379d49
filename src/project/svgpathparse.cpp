#include "project/svgpathparse.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace kelvara::svg {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Scanner {
    std::string_view text;
    std::size_t at = 0;

    void skipSeparators()
    {
        while (at < text.size() && (text[at] == ' ' || text[at] == ',' || text[at] == '\t' || text[at] == '\n' ||
                                    text[at] == '\r'))
            ++at;
    }
    bool atNumber()
    {
        skipSeparators();
        if (at >= text.size())
            return false;
        const char c = text[at];
        return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
    }
    // An SVG number: sign, digits, one point, an exponent; "1.5.5" is 1.5 then .5.
    bool number(double& value)
    {
        if (!atNumber())
            return false;
        const std::size_t begin = at;
        if (text[at] == '-' || text[at] == '+')
            ++at;
        bool digits = false, point = false;
        while (at < text.size()) {
            const char c = text[at];
            if (c >= '0' && c <= '9')
                digits = true;
            else if (c == '.' && !point)
                point = true;
            else
                break;
            ++at;
        }
        if (!digits)
            return false;
        if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
            std::size_t e = at + 1;
            if (e < text.size() && (text[e] == '-' || text[e] == '+'))
                ++e;
            if (e < text.size() && text[e] >= '0' && text[e] <= '9') {
                while (e < text.size() && text[e] >= '0' && text[e] <= '9')
                    ++e;
                at = e;
            }
        }
        const std::string piece(text.substr(begin, at - begin));
        value = std::strtod(piece.c_str(), nullptr);
        return std::isfinite(value);
    }
    // An arc's flag: one digit 0 or 1, which may touch the next number.
    bool flag(bool& value)
    {
        skipSeparators();
        if (at >= text.size() || (text[at] != '0' && text[at] != '1'))
            return false;
        value = text[at++] == '1';
        return true;
    }
};

// The arc from `from` to `to` as at most four cubics (the SVG arc notes'
// centre form).
void arcTo(Point from, double rx, double ry, double degrees, bool large, bool sweep, Point to,
           std::vector<Cubic>& out)
{
    rx = std::abs(rx), ry = std::abs(ry);
    if ((from.x == to.x && from.y == to.y))
        return;
    if (rx == 0 || ry == 0) {
        out.push_back(straightTo(from, to));
        return;
    }
    const double phi = degrees * kPi / 180, cp = std::cos(phi), sp = std::sin(phi);
    const double dx = (from.x - to.x) / 2, dy = (from.y - to.y) / 2;
    const double x1 = cp * dx + sp * dy, y1 = -sp * dx + cp * dy;
    const double lambda = x1 * x1 / (rx * rx) + y1 * y1 / (ry * ry);
    if (lambda > 1)
        rx *= std::sqrt(lambda), ry *= std::sqrt(lambda);
    const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double k = den > 0 ? std::sqrt(std::max(0.0, num / den)) : 0;
    if (large == sweep)
        k = -k;
    const double cx1 = k * rx * y1 / ry, cy1 = -k * ry * x1 / rx;
    const double cx = cp * cx1 - sp * cy1 + (from.x + to.x) / 2, cy = sp * cx1 + cp * cy1 + (from.y + to.y) / 2;
    const auto angle = [](double ux, double uy, double vx, double vy) {
        return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
    };
    const double theta = angle(1, 0, (x1 - cx1) / rx, (y1 - cy1) / ry);
    double delta = angle((x1 - cx1) / rx, (y1 - cy1) / ry, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
    if (!sweep && delta > 0)
        delta -= 2 * kPi;
    else if (sweep && delta < 0)
        delta += 2 * kPi;
    const int parts = std::max(1, static_cast<int>(std::ceil(std::abs(delta) / (kPi / 2) - 1e-9)));
    const double step = delta / parts, t = 4.0 / 3.0 * std::tan(step / 4);
    const auto onEllipse = [&](double a) {
        const double ex = rx * std::cos(a), ey = ry * std::sin(a);
        return Point{cx + cp * ex - sp * ey, cy + sp * ex + cp * ey};
    };
    const auto tangent = [&](double a) {
        const double ex = -rx * std::sin(a), ey = ry * std::cos(a);
        return Point{cp * ex - sp * ey, sp * ex + cp * ey};
    };
    double a = theta;
    for (int i = 0; i < parts; ++i, a += step) {
        const Point p0 = onEllipse(a), p1 = onEllipse(a + step);
        const Point d0 = tangent(a), d1 = tangent(a + step);
        out.push_back({{p0.x + t * d0.x, p0.y + t * d0.y},
                       {p1.x - t * d1.x, p1.y - t * d1.y},
                       i + 1 == parts ? to : p1});
    }
}

} // namespace

Cubic straightTo(Point from, Point to)
{
    return {from, to, to};
}

std::vector<double> readNumbers(std::string_view text, std::size_t most)
{
    Scanner s{text};
    std::vector<double> numbers;
    double v = 0;
    while (numbers.size() < most && s.number(v))
        numbers.push_back(v);
    return numbers;
}

bool readPathData(std::string_view text, std::vector<Outline>& out, long& nodes, long mostNodes)
{
    Scanner s{text};
    Point cur, start, lastControl;
    char previous = 0;
    char command = 0;
    Outline* open = nullptr;
    const auto begin = [&](Point p) {
        out.push_back({p, {}, false});
        open = &out.back();
        start = cur = p;
        return ++nodes <= mostNodes;
    };
    const auto add = [&](const Cubic& c) {
        if (open == nullptr && !begin(cur))
            return false;
        open->segments.push_back(c);
        cur = c.to;
        return ++nodes <= mostNodes;
    };
    while (true) {
        s.skipSeparators();
        if (s.at >= text.size())
            return true;
        const char c = text[s.at];
        if (std::isalpha(static_cast<unsigned char>(c))) {
            command = c;
            ++s.at;
        } else if (command == 0 || command == 'Z' || command == 'z') {
            return false;
        }
        const bool rel = std::islower(static_cast<unsigned char>(command));
        const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(command)));
        const Point base = rel ? cur : Point{};
        double v[7];
        const auto numbers = [&](int n) {
            for (int i = 0; i < n; ++i)
                if (!s.number(v[i]))
                    return false;
            return true;
        };
        bool ok = true;
        switch (upper) {
        case 'M':
            ok = numbers(2) && begin({base.x + v[0], base.y + v[1]});
            command = rel ? 'l' : 'L'; // further pairs are lines
            break;
        case 'L':
            ok = numbers(2) && add(straightTo(cur, {base.x + v[0], base.y + v[1]}));
            break;
        case 'H':
            ok = numbers(1) && add(straightTo(cur, {base.x + v[0], cur.y}));
            break;
        case 'V':
            ok = numbers(1) && add(straightTo(cur, {cur.x, (rel ? cur.y : 0) + v[0]}));
            break;
        case 'C':
            ok = numbers(6) && add({{base.x + v[0], base.y + v[1]},
                                    {base.x + v[2], base.y + v[3]},
                                    {base.x + v[4], base.y + v[5]}});
            if (ok)
                lastControl = {base.x + v[2], base.y + v[3]};
            break;
        case 'S': {
            const bool follows = previous == 'C' || previous == 'S';
            const Point c1 = follows ? Point{2 * cur.x - lastControl.x, 2 * cur.y - lastControl.y} : cur;
            ok = numbers(4) && add({c1, {base.x + v[0], base.y + v[1]}, {base.x + v[2], base.y + v[3]}});
            if (ok)
                lastControl = {base.x + v[0], base.y + v[1]};
            break;
        }
        case 'Q':
        case 'T': {
            Point q;
            if (upper == 'Q') {
                if (!numbers(4))
                    return false;
                q = {base.x + v[0], base.y + v[1]};
                v[0] = v[2], v[1] = v[3];
            } else {
                if (!numbers(2))
                    return false;
                const bool follows = previous == 'Q' || previous == 'T';
                q = follows ? Point{2 * cur.x - lastControl.x, 2 * cur.y - lastControl.y} : cur;
            }
            const Point to{base.x + v[0], base.y + v[1]}, from = cur;
            ok = add({{from.x + 2.0 / 3 * (q.x - from.x), from.y + 2.0 / 3 * (q.y - from.y)},
                      {to.x + 2.0 / 3 * (q.x - to.x), to.y + 2.0 / 3 * (q.y - to.y)},
                      to});
            lastControl = q;
            break;
        }
        case 'A': {
            bool large = false, sweep = false;
            ok = s.number(v[0]) && s.number(v[1]) && s.number(v[2]) && s.flag(large) && s.flag(sweep) &&
                 s.number(v[5]) && s.number(v[6]);
            if (!ok)
                break;
            std::vector<Cubic> arc;
            arcTo(cur, v[0], v[1], v[2], large, sweep, {base.x + v[5], base.y + v[6]}, arc);
            for (const Cubic& part : arc)
                ok = ok && add(part);
            break;
        }
        case 'Z':
            if (open != nullptr) {
                open->closed = true;
                cur = start;
            }
            open = nullptr;
            break;
        default:
            return false;
        }
        if (!ok)
            return false;
        previous = upper;
    }
}

} // namespace kelvara::svg
