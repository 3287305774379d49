#include "project/svgimport.h"

#include "model/pathdata.h"
#include "project/filebytes.h"
#include "project/svgpathparse.h"

#include <QHash>
#include <QTransform>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

namespace kelvara {

namespace {

using svg::Outline;
using svg::Point;

constexpr double kUnitsPerInch = 254; // design units (0.1 mm)
constexpr double kSatinFrom = 15;     // a stroke this wide (1.5 mm) or wider becomes a satin column

// What an element inherits from the groups round it.
struct Style {
    std::optional<int32_t> fill = 0; // black, as SVG paints by default; none when empty
    std::optional<int32_t> stroke;
    double strokeWidth = 1;
    QTransform transform;
    int32_t group = 0;
};

struct Item {
    bool filled = false;
    int32_t colour = 0;
    int32_t group = 0;
    double width = 0; // a stroke's width in design units
    std::vector<Outline> outlines;
};

std::optional<int32_t> readColour(QString text, bool& ok)
{
    ok = true;
    text = text.trimmed().toLower();
    if (text == "none" || text == "transparent")
        return std::nullopt;
    const auto rgb = [](int r, int g, int b) { return int32_t(r | (g << 8) | (b << 16)); };
    if (text.startsWith('#')) {
        bool hex = false;
        const uint32_t v = text.mid(1).toUInt(&hex, 16);
        if (hex && text.size() == 7)
            return rgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
        if (hex && text.size() == 4)
            return rgb(((v >> 8) & 0xF) * 17, ((v >> 4) & 0xF) * 17, (v & 0xF) * 17);
    } else if (text.startsWith("rgb(") && text.endsWith(')')) {
        const QStringList parts = text.mid(4, text.size() - 5).split(',');
        if (parts.size() == 3) {
            int c[3];
            for (int i = 0; i < 3; ++i) {
                QString p = parts[i].trimmed();
                const bool percent = p.endsWith('%');
                const double v = (percent ? p.chopped(1) : p).toDouble();
                c[i] = std::clamp(int(std::lround(percent ? v * 2.55 : v)), 0, 255);
            }
            return rgb(c[0], c[1], c[2]);
        }
    } else {
        static const std::pair<const char*, int32_t> kNamed[] = {
            {"black", 0x000000},   {"white", 0xFFFFFF}, {"red", 0x0000FF},    {"green", 0x008000},
            {"lime", 0x00FF00},    {"blue", 0xFF0000},  {"yellow", 0x00FFFF}, {"cyan", 0xFFFF00},
            {"magenta", 0xFF00FF}, {"gray", 0x808080},  {"grey", 0x808080},   {"orange", 0x00A5FF},
            {"purple", 0x800080},  {"navy", 0x800000},  {"maroon", 0x000080}, {"currentcolor", 0x000000},
        };
        for (const auto& [name, colour] : kNamed)
            if (text == name)
                return colour;
    }
    ok = false;
    return 0;
}

// Design units a length of the root element's width or height stands for.
double lengthUnits(QString text, bool& ok)
{
    text = text.trimmed();
    double per = kUnitsPerInch / 96; // px, and numbers without a unit
    static const std::pair<const char*, double> kUnits[] = {
        {"mm", 10}, {"cm", 100}, {"in", kUnitsPerInch}, {"pt", kUnitsPerInch / 72}, {"pc", kUnitsPerInch / 6},
        {"px", kUnitsPerInch / 96}};
    for (const auto& [unit, units] : kUnits)
        if (text.endsWith(unit)) {
            per = units;
            text.chop(2);
            break;
        }
    const double v = text.toDouble(&ok);
    ok = ok && std::isfinite(v) && v > 0;
    return v * per;
}

double number(const QXmlStreamAttributes& a, const char* name)
{
    const std::vector<double> v = svg::readNumbers(a.value(name).toString().toStdString(), 1);
    return v.empty() ? 0 : v[0];
}

QTransform readTransform(const QString& text, bool& ok)
{
    ok = true;
    QTransform total;
    const std::string s = text.toStdString();
    std::size_t at = 0;
    while (true) {
        while (at < s.size() && (s[at] == ' ' || s[at] == ',' || s[at] == '\t' || s[at] == '\n'))
            ++at;
        if (at >= s.size())
            return total;
        const std::size_t open = s.find('(', at), close = s.find(')', at);
        if (open == std::string::npos || close == std::string::npos || close < open)
            return ok = false, total;
        QString name = QString::fromStdString(s.substr(at, open - at)).trimmed();
        const std::vector<double> v = svg::readNumbers(std::string_view(s).substr(open + 1, close - open - 1), 6);
        const auto n = v.size();
        QTransform t;
        if (name == "matrix" && n == 6)
            t = QTransform(v[0], v[1], v[2], v[3], v[4], v[5]);
        else if (name == "translate" && (n == 1 || n == 2))
            t.translate(v[0], n == 2 ? v[1] : 0);
        else if (name == "scale" && (n == 1 || n == 2))
            t.scale(v[0], n == 2 ? v[1] : v[0]);
        else if (name == "rotate" && (n == 1 || n == 3)) {
            if (n == 3)
                t.translate(v[1], v[2]);
            t.rotate(v[0]);
            if (n == 3)
                t.translate(-v[1], -v[2]);
        } else if (name == "skewX" && n == 1)
            t.shear(std::tan(v[0] * M_PI / 180), 0);
        else if (name == "skewY" && n == 1)
            t.shear(0, std::tan(v[0] * M_PI / 180));
        else
            return ok = false, total;
        // "A B" applies B first: in Qt's row form that is B, then A.
        total = t * total;
        at = close + 1;
    }
}

std::vector<Outline> polyOutline(const std::vector<double>& v, bool closed)
{
    if (v.size() < 4)
        return {};
    Outline o{{v[0], v[1]}, {}, closed};
    Point cur = o.start;
    for (std::size_t i = 2; i + 1 < v.size(); i += 2) {
        o.segments.push_back(svg::straightTo(cur, {v[i], v[i + 1]}));
        cur = {v[i], v[i + 1]};
    }
    return {o};
}

std::vector<Outline> ellipseOutline(double cx, double cy, double rx, double ry)
{
    if (!(rx > 0 && ry > 0))
        return {};
    constexpr double k = 0.5522847498;
    const Point e{cx + rx, cy}, s{cx, cy + ry}, w{cx - rx, cy}, n{cx, cy - ry};
    Outline o{e, {}, true};
    o.segments = {{{e.x, e.y + k * ry}, {s.x + k * rx, s.y}, s},
                  {{s.x - k * rx, s.y}, {w.x, w.y + k * ry}, w},
                  {{w.x, w.y - k * ry}, {n.x - k * rx, n.y}, n},
                  {{n.x + k * rx, n.y}, {e.x, e.y - k * ry}, e}};
    return {o};
}

// A rectangle with corners rounded by quarter ellipses of radii rx, ry
// (already held to half the sides); square corners when either is 0.
std::vector<Outline> rectOutline(double x, double y, double w, double h, double rx, double ry)
{
    if (!(rx > 0 && ry > 0))
        return polyOutline({x, y, x + w, y, x + w, y + h, x, y + h}, true);
    constexpr double k = 0.5522847498;
    const double r = x + w, b = y + h;
    Outline o{{x + rx, y}, {}, true};
    Point cur = o.start;
    const auto line = [&](Point to) {
        if (to.x != cur.x || to.y != cur.y)
            o.segments.push_back(svg::straightTo(cur, to));
        cur = to;
    };
    // A corner from `cur` to `to`, its tangents leaving along the side just drawn.
    const auto corner = [&](Point to, double ex, double ey) {
        o.segments.push_back({{cur.x + ex * k, cur.y + ey * k},
                              {to.x - (to.x - cur.x - ex) * k, to.y - (to.y - cur.y - ey) * k},
                              to});
        cur = to;
    };
    line({r - rx, y});
    corner({r, y + ry}, rx, 0);
    line({r, b - ry});
    corner({r - rx, b}, 0, ry);
    line({x + rx, b});
    corner({x, b - ry}, -rx, 0);
    line({x, y + ry});
    corner({x + rx, y}, 0, -ry);
    return {o};
}

// Ids nested deeper than this inside other ids are not kept for `use`:
// each open id holds its own copy of what follows, so this bounds the copies.
constexpr std::size_t kMostOpenIds = 32;
// Groups and uses nested deeper than this are refused rather than followed.
constexpr int kMostNesting = 200;

// Every element with an id, written out again as a document of its own, for
// `use` to read. A file the reader cannot parse leaves what was found; the
// reading proper reports the error.
QHash<QString, QByteArray> definitions(std::string_view bytes)
{
    struct Open {
        QString id;
        int depth = 0;
        QByteArray text;
        QXmlStreamWriter writer{&text};
    };
    QHash<QString, QByteArray> found;
    std::vector<std::unique_ptr<Open>> open;
    QXmlStreamReader xml(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
    int depth = 0;
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            const QString id = xml.attributes().value("id").toString();
            if (!id.isEmpty() && open.size() < kMostOpenIds && !found.contains(id)) {
                open.push_back(std::make_unique<Open>());
                open.back()->id = id;
                open.back()->depth = depth;
            }
        }
        for (const std::unique_ptr<Open>& o : open)
            o->writer.writeCurrentToken(xml);
        if (xml.isEndElement()) {
            if (!open.empty() && open.back()->depth == depth) {
                found.insert(open.back()->id, open.back()->text);
                open.pop_back();
            }
            --depth;
        }
    }
    return found;
}

class Reader {
public:
    explicit Reader(std::string_view bytes)
        : document_(QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()))),
          definitions_(definitions(bytes))
    {
    }
    Outcome run(std::vector<Item>& items);

private:
    bool readStyle(const QXmlStreamAttributes& a, Style& style);
    bool readRoot(const QXmlStreamAttributes& a, Style& style);
    bool shapeOf(QStringView name, const QXmlStreamAttributes& a, std::vector<Outline>& out);
    Outcome element(const Style& style, std::vector<Item>& items);
    Outcome children(const Style& style, std::vector<Item>& items);
    Outcome use(Style style, std::vector<Item>& items);
    // The XML reader's own reason, with the line it stopped at.
    Outcome xmlError() const
    {
        return Outcome(kSlotSvgXmlError, xml_->errorString().toStdString(),
                       std::to_string(xml_->lineNumber()));
    }

    QXmlStreamReader document_;
    QXmlStreamReader* xml_ = &document_; // the document, or a definition a `use` reads
    QHash<QString, QByteArray> definitions_;
    long nodes_ = 0;
    int64_t elements_ = 0;
    int32_t groups_ = 0;
    int nesting_ = 0;
};

bool Reader::readStyle(const QXmlStreamAttributes& a, Style& style)
{
    bool ok = true;
    const auto take = [&](QStringView key, QString value) {
        value = value.trimmed();
        bool good = true;
        if (key == u"fill")
            style.fill = readColour(value, good);
        else if (key == u"stroke")
            style.stroke = readColour(value, good);
        else if (key == u"stroke-width") {
            const std::vector<double> v = svg::readNumbers(value.toStdString(), 1);
            good = !v.empty() && v[0] >= 0;
            if (good)
                style.strokeWidth = v[0];
        }
        // A colour we do not know is left as inherited rather than refusing the file.
        (void)good;
    };
    for (const char* key : {"fill", "stroke", "stroke-width"})
        if (a.hasAttribute(key))
            take(QString::fromLatin1(key), a.value(key).toString());
    for (const QString& part : a.value("style").toString().split(';', Qt::SkipEmptyParts)) {
        const qsizetype colon = part.indexOf(':');
        if (colon > 0)
            take(part.left(colon).trimmed(), part.mid(colon + 1));
    }
    if (a.hasAttribute("transform")) {
        const QTransform t = readTransform(a.value("transform").toString(), ok);
        style.transform = t * style.transform;
    }
    return ok;
}

bool Reader::readRoot(const QXmlStreamAttributes& a, Style& style)
{
    bool wOk = false, hOk = false;
    const double width = a.hasAttribute("width") ? lengthUnits(a.value("width").toString(), wOk) : 0;
    const double height = a.hasAttribute("height") ? lengthUnits(a.value("height").toString(), hOk) : 0;
    const std::vector<double> box = svg::readNumbers(a.value("viewBox").toString().toStdString(), 4);
    QTransform t;
    if (box.size() == 4 && box[2] > 0 && box[3] > 0) {
        // Without a size the view box's user units are pixels.
        const double sx = wOk ? width / box[2] : hOk ? height / box[3] : kUnitsPerInch / 96;
        const double sy = hOk ? height / box[3] : sx;
        t.translate(-box[0], -box[1]);
        t *= QTransform::fromScale(sx, sy);
    } else {
        t = QTransform::fromScale(kUnitsPerInch / 96, kUnitsPerInch / 96);
    }
    style.transform = t;
    return readStyle(a, style);
}

bool Reader::shapeOf(QStringView name, const QXmlStreamAttributes& a, std::vector<Outline>& out)
{
    if (name == u"path")
        return svg::readPathData(a.value("d").toString().toStdString(), out, nodes_, kMostSvgNodes);
    if (name == u"rect") {
        const double x = number(a, "x"), y = number(a, "y"), w = number(a, "width"), h = number(a, "height");
        // One corner radius given stands for both.
        double rx = number(a, "rx"), ry = number(a, "ry");
        if (!a.hasAttribute("rx"))
            rx = ry;
        if (!a.hasAttribute("ry"))
            ry = rx;
        if (w > 0 && h > 0)
            out = rectOutline(x, y, w, h, std::clamp(rx, 0.0, w / 2), std::clamp(ry, 0.0, h / 2));
    } else if (name == u"circle")
        out = ellipseOutline(number(a, "cx"), number(a, "cy"), number(a, "r"), number(a, "r"));
    else if (name == u"ellipse")
        out = ellipseOutline(number(a, "cx"), number(a, "cy"), number(a, "rx"), number(a, "ry"));
    else if (name == u"line")
        out = polyOutline({number(a, "x1"), number(a, "y1"), number(a, "x2"), number(a, "y2")}, false);
    else if (name == u"polygon" || name == u"polyline") {
        const std::vector<double> v =
            svg::readNumbers(a.value("points").toString().toStdString(), std::size_t(2 * kMostSvgNodes));
        out = polyOutline(v, name == u"polygon");
    }
    for (const Outline& o : out)
        nodes_ += long(o.segments.size()) + 1;
    return nodes_ <= kMostSvgNodes;
}

// The element the reader stands on, with what it holds.
Outcome Reader::element(const Style& inherited, std::vector<Item>& items)
{
    if (++elements_ > kMostSvgElements)
        return Outcome(kSlotSvgTooManyElements);
    const QStringView name = xml_->name();
    static const QStringView kHidden[] = {u"defs", u"clipPath", u"mask", u"symbol", u"pattern", u"marker",
                                          u"style", u"metadata", u"title", u"desc", u"linearGradient",
                                          u"radialGradient", u"text", u"foreignObject"};
    for (const QStringView hidden : kHidden)
        if (name == hidden) {
            xml_->skipCurrentElement();
            return {};
        }
    Style style = inherited;
    if (!readStyle(xml_->attributes(), style))
        return Outcome(kSlotSvgBadTransform, std::to_string(xml_->lineNumber()));
    if (name == u"g" || name == u"svg" || name == u"a") {
        if (name == u"g")
            style.group = ++groups_;
        return children(style, items);
    }
    if (name == u"use")
        return use(style, items);
    std::vector<Outline> outlines;
    if (!shapeOf(name, xml_->attributes(), outlines))
        return Outcome(kSlotSvgBadShape, name.toString().toStdString(), std::to_string(xml_->lineNumber()));
    xml_->skipCurrentElement();
    if (outlines.empty())
        return {};
    bool finite = true;
    for (Outline& o : outlines) {
        const auto map = [&](Point& p) {
            style.transform.map(p.x, p.y, &p.x, &p.y);
            finite = finite && std::isfinite(p.x) && std::isfinite(p.y);
        };
        map(o.start);
        for (svg::Cubic& c : o.segments)
            map(c.c1), map(c.c2), map(c.to);
    }
    if (!finite)
        return Outcome(kSlotSvgTooLarge);
    const double scale = std::sqrt(std::abs(style.transform.determinant()));
    // A line has no inside to fill.
    if (style.fill && name != u"line")
        items.push_back({true, *style.fill, style.group, 0, outlines});
    if (style.stroke && style.strokeWidth > 0)
        items.push_back({false, *style.stroke, style.group, style.strokeWidth * scale, std::move(outlines)});
    return {};
}

Outcome Reader::children(const Style& style, std::vector<Item>& items)
{
    if (++nesting_ > kMostNesting)
        return Outcome(kSlotSvgTooDeep);
    Outcome why;
    while (why.ok() && xml_->readNextStartElement())
        why = element(style, items);
    --nesting_;
    return why;
}

// A `use` draws the element its href names, moved by its x and y, in the
// style the `use` gives; a symbol draws what it holds.
Outcome Reader::use(Style style, std::vector<Item>& items)
{
    const QXmlStreamAttributes& a = xml_->attributes();
    QString href = a.value("http://www.w3.org/1999/xlink", "href").toString();
    if (href.isEmpty())
        href = a.value("href").toString();
    style.transform = QTransform::fromTranslate(number(a, "x"), number(a, "y")) * style.transform;
    xml_->skipCurrentElement();
    const auto found = definitions_.constFind(href.mid(1));
    if (!href.startsWith('#') || found == definitions_.constEnd())
        return {}; // as a browser does, a use of nothing draws nothing
    if (nesting_ >= kMostNesting)
        return Outcome(kSlotSvgUseLoop);
    QXmlStreamReader definition(*found);
    QXmlStreamReader* const outer = xml_;
    xml_ = &definition;
    ++nesting_;
    Outcome why;
    if (xml_->readNextStartElement())
        why = xml_->name() == u"symbol" ? children(style, items) : element(style, items);
    --nesting_;
    xml_ = outer;
    return why;
}

Outcome Reader::run(std::vector<Item>& items)
{
    if (!xml_->readNextStartElement() || xml_->name() != u"svg")
        return xml_->hasError() ? xmlError() : Outcome(kSlotSvgNotSvg);
    Style root;
    if (!readRoot(xml_->attributes(), root))
        return Outcome(kSlotSvgBadRoot);
    while (xml_->readNextStartElement()) {
        Outcome why = element(root, items);
        if (!why.ok())
            return why;
    }
    if (xml_->hasError())
        return xmlError();
    return {};
}

PathPoint rounded(Point p, double dx, double dy)
{
    return {int32_t(std::lround(p.x + dx)), int32_t(std::lround(p.y + dy))};
}

PathData pathOf(const Item& item, double dx, double dy)
{
    PathData path;
    for (const Outline& o : item.outlines) {
        SubPath sub;
        sub.start = rounded(o.start, dx, dy);
        sub.closed = o.closed || item.filled; // a fill closes what it paints
        PathPoint from = sub.start;
        for (const svg::Cubic& c : o.segments) {
            PathSegment s;
            s.to = rounded(c.to, dx, dy);
            s.c1 = rounded(c.c1, dx, dy);
            s.c2 = rounded(c.c2, dx, dy);
            s.cubic = !(s.c1 == from && s.c2 == s.to);
            if (!s.cubic)
                s.c1 = s.c2 = {};
            sub.segments.push_back(s);
            from = s.to;
        }
        if (!sub.segments.empty())
            path.subpaths.push_back(std::move(sub));
    }
    return path;
}

void colourKeys(std::string& out, int32_t colour)
{
    out += " R=" + std::to_string(colour & 0xFF) + " G=" + std::to_string((colour >> 8) & 0xFF) +
           " B=" + std::to_string((colour >> 16) & 0xFF);
}

} // namespace

SvgImport importSvg(std::string_view bytes, int32_t centreX, int32_t centreY)
{
    SvgImport result;
    std::vector<Item> items;
    result.reason = Reader(bytes).run(items);
    if (!result.reason.ok())
        return result;
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    const auto add = [&](const Point& p) {
        left = std::min(left, p.x), right = std::max(right, p.x);
        top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    };
    for (const Item& item : items)
        for (const Outline& o : item.outlines) {
            add(o.start);
            for (const svg::Cubic& c : o.segments)
                add(c.c1), add(c.c2), add(c.to);
        }
    if (items.empty() || !(right >= left && bottom >= top)) {
        result.reason = Outcome(kSlotSvgNothingDrawn);
        return result;
    }
    const double limit = kPathCoordinateLimit / 2.0;
    if (!(right - left < limit && bottom - top < limit)) {
        result.reason = Outcome(kSlotSvgTooLarge);
        return result;
    }
    const double dx = std::round(centreX - (left + right) / 2), dy = std::round(centreY - (top + bottom) / 2);
    for (const Item& item : items) {
        const PathData path = pathOf(item, dx, dy);
        if (path.subpaths.empty())
            continue;
        std::string line = item.filled ? "SHAPE" : "STROKE";
        if (item.group != 0)
            line += " GROUP=" + std::to_string(item.group);
        if (!item.filled) {
            const int32_t width = int32_t(std::lround(std::min(item.width, 1000.0)));
            line += item.width >= kSatinFrom ? " STYLE=1 SWIDTH=" + std::to_string(width) +
                                                   " TWIDTH=" + std::to_string(width)
                                             : std::string(" STYLE=0");
        }
        colourKeys(line, item.colour);
        line += " PATH=";
        appendPath(line, path);
        result.lines += line + '\n';
    }
    if (result.lines.empty())
        result.reason = Outcome(kSlotSvgNothingDrawn);
    return result;
}

SvgImport importSvgFile(const QString& path, int32_t centreX, int32_t centreY)
{
    const std::optional<std::string> bytes = readFileBytes(path, kMaxSvgBytes);
    if (!bytes)
        return {{}, Outcome(kSlotSvgUnreadable)};
    return importSvg(*bytes, centreX, centreY);
}

} // namespace kelvara
