#include "shell/texts.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace kelvara {

const std::string& LineTable::slot(int n) const
{
    static const std::string empty;
    if (n < 0 || n >= kSlots)
        return empty;
    return lines[static_cast<std::size_t>(n)];
}

std::string cleanTextLine(std::string_view raw)
{
    const std::size_t cut = raw.find(';');
    if (cut != std::string_view::npos)
        raw = raw.substr(0, cut);
    // Most lines, and every line our writer makes, are clean already.
    if (!raw.empty() && raw.front() != ' ' && raw.find('\t') == std::string_view::npos &&
        raw.find("  ") == std::string_view::npos)
        return std::string(raw);
    std::string out;
    out.reserve(raw.size());
    // Words are copied whole, so a line of long values (a path of thousands
    // of nodes) costs one copy. A blank is dropped at the start and after
    // another blank, which collapses runs and removes the leading one.
    std::size_t at = 0;
    while (at < raw.size()) {
        if (raw[at] == ' ' || raw[at] == '\t') {
            if (!out.empty() && out.back() != ' ')
                out.push_back(' ');
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < raw.size() && raw[end] != ' ' && raw[end] != '\t')
            ++end;
        out.append(raw.data() + at, end - at);
        at = end;
    }
    return out;
}

namespace {

// Splits a byte stream into lines and stores the kept ones. Fed in chunks,
// so a CR LF pair split across two chunks still ends only one line.
class LineCollector {
public:
    explicit LineCollector(LineTable& table) : table_(table) { raw_.reserve(LineTable::kMaxLineLength); }

    // False once the table is full; the rest of the input is not wanted.
    bool feed(const char* data, std::size_t size)
    {
        for (std::size_t i = 0; i < size; ++i) {
            const char c = data[i];
            if (afterCr_) {
                afterCr_ = false;
                if (c == '\n')
                    continue;
            }
            if (c == '\r' || c == '\n') {
                afterCr_ = (c == '\r');
                if (!endLine())
                    return false;
                continue;
            }
            if (raw_.size() < static_cast<std::size_t>(LineTable::kMaxLineLength))
                raw_.push_back(c);
        }
        return true;
    }

    void finish()
    {
        if (!raw_.empty())
            endLine();
    }

private:
    bool endLine()
    {
        std::string line = cleanTextLine(raw_);
        raw_.clear();
        if (line.empty())
            return true;
        table_.lines[static_cast<std::size_t>(table_.lineCount)] = std::move(line);
        ++table_.lineCount;
        return table_.lineCount < LineTable::kSlots;
    }

    LineTable& table_;
    std::string raw_;
    bool afterCr_ = false;
};

void emptyTable(LineTable& table)
{
    table.lineCount = 0;
    for (auto& line : table.lines)
        line.clear();
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

void readTextBytes(LineTable& table, std::string_view bytes)
{
    emptyTable(table);
    LineCollector collector(table);
    if (collector.feed(bytes.data(), bytes.size()))
        collector.finish();
}

void readTextFile(LineTable& table, const std::string& path)
{
    emptyTable(table);

    // Folders, devices and pipes are refused: a folder cannot be read and a
    // device such as /dev/zero would never end.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), ec))
        return;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return;

    constexpr std::size_t kChunk = 64 * 1024;
    auto buffer = std::make_unique_for_overwrite<char[]>(kChunk);
    LineCollector collector(table);
    for (;;) {
        const std::size_t got = std::fread(buffer.get(), 1, kChunk, file.get());
        if (got > 0 && !collector.feed(buffer.get(), got))
            return;
        if (got < kChunk)
            break;
    }
    collector.finish();
}

void loadMessages(LineTable& table, const std::string& programFolder)
{
    readTextFile(table, programFolder + kMessageFileName);
}

} // namespace kelvara
