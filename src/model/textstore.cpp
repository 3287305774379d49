#include "model/textstore.h"

#include <deque>
#include <mutex>

namespace kelvara {

namespace {

// A deque keeps earlier entries in place as it grows, so a view handed out
// stays good while planning threads read and the editor adds.
struct Store {
    std::mutex lock;
    std::deque<std::string> texts;
};

Store& store()
{
    static Store s;
    return s;
}

bool needsEscape(unsigned char c)
{
    return c <= 0x20 || c >= 0x7F || c == '%' || c == ';' || c == '=';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Well-formed UTF-8: no overlong forms, surrogates or values past U+10FFFF.
bool isUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int more = 0;
        uint32_t v = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            v = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            v = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            v = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(more) >= s.size())
            return false;
        for (int k = 1; k <= more; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            v = (v << 6) | (d & 0x3F);
        }
        if ((more == 2 && (v < 0x800 || (v >= 0xD800 && v <= 0xDFFF))) ||
            (more == 3 && (v < 0x10000 || v > 0x10FFFF)))
            return false;
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

} // namespace

int32_t storeText(std::string_view text)
{
    if (text.empty())
        return 0;
    Store& s = store();
    const std::lock_guard guard(s.lock);
    if (s.texts.size() >= static_cast<std::size_t>(kMostStoredTexts))
        return 0;
    s.texts.emplace_back(text);
    return static_cast<int32_t>(s.texts.size());
}

std::string_view storedText(int32_t handle)
{
    Store& s = store();
    const std::lock_guard guard(s.lock);
    if (handle < 1 || static_cast<std::size_t>(handle) > s.texts.size())
        return {};
    return s.texts[static_cast<std::size_t>(handle) - 1];
}

std::string escapeKeyText(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (needsEscape(c)) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    return out;
}

bool unescapeKeyText(std::string_view value, std::string& text)
{
    text.clear();
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c == '%') {
            if (i + 2 >= value.size())
                return false;
            const int hi = hexValue(value[i + 1]), lo = hexValue(value[i + 2]);
            if (hi < 0 || lo < 0)
                return false;
            text += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else if (c <= 0x20 || c == 0x7F) {
            return false;
        } else {
            text += value[i];
        }
        if (text.size() > kLongestStoredText)
            return false;
    }
    return isUtf8(text);
}

} // namespace kelvara
