#include "stitch/threadchart.h"

#include "shell/texts.h"
#include "shell/tokenizer.h"

#include <limits>
#include <memory>

namespace kelvara {

namespace {

bool readThread(const std::string& line, Thread& thread)
{
    const std::size_t first = line.find(' ');
    if (first == std::string::npos)
        return false;
    const std::size_t second = line.find(' ', first + 1);
    if (second == std::string::npos || second + 1 >= line.size())
        return false;
    const std::string_view colourText = std::string_view(line).substr(first + 1, second - first - 1);
    const auto code = readInteger(std::string_view(line).substr(0, first));
    if (!code || *code < 1 || *code > kMaxThreadCode || colourText.empty() || colourText[0] != '$')
        return false;
    const auto rgb = readInteger(colourText);
    if (!rgb || *rgb < 0 || *rgb > 0xFFFFFF)
        return false;
    thread.code = *code;
    // Charts are written red first, as colours usually are; the plan keeps red low.
    thread.colour = ((*rgb >> 16) & 0xFF) | (*rgb & 0xFF00) | ((*rgb & 0xFF) << 16);
    thread.name = line.substr(second + 1);
    return true;
}

} // namespace

Outcome readThreadChart(const LineTable& lines, ThreadChart& chart)
{
    chart.threads.clear();
    std::vector<Thread> threads;
    for (int i = 0; i < lines.lineCount; ++i) {
        Thread thread;
        if (!readThread(lines.lines[static_cast<std::size_t>(i)], thread))
            return Outcome(kSlotChartBadThread, std::to_string(i + 1), std::to_string(kMaxThreadCode));
        for (const Thread& earlier : threads)
            if (earlier.code == thread.code)
                return Outcome(kSlotChartCodeTwice, std::to_string(thread.code));
        threads.push_back(std::move(thread));
    }
    if (threads.empty())
        return Outcome(kSlotChartEmpty);
    chart.threads = std::move(threads);
    return {};
}

Outcome loadThreadChart(const std::string& path, const std::string& brand, ThreadChart& chart)
{
    // A table of its own: the shared one holds the messages between operations.
    const auto lines = std::make_unique<LineTable>();
    readTextFile(*lines, path);
    chart.brand = brand;
    return readThreadChart(*lines, chart);
}

int nearestThread(const ThreadChart& chart, int32_t colour)
{
    const int r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    int best = -1;
    int64_t bestDistance = std::numeric_limits<int64_t>::max();
    for (std::size_t i = 0; i < chart.threads.size(); ++i) {
        const int32_t c = chart.threads[i].colour;
        const int64_t tr = c & 0xFF, tg = (c >> 8) & 0xFF, tb = (c >> 16) & 0xFF;
        const int64_t meanRed = (r + tr) / 2;
        const int64_t dr = r - tr, dg = g - tg, db = b - tb;
        const int64_t d = (512 + meanRed) * dr * dr + 1024 * dg * dg + (767 - meanRed) * db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

} // namespace kelvara
