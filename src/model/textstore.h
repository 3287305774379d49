#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvara {

// The home of texts that do not fit a fixed record (a lettering's words and
// font name), kept as the path store keeps paths: a record holds a handle, a
// handle names one text for ever, so undoing a record's bytes brings back
// its text exactly. Saving writes the text, never the handle.

// Stores a text and returns its handle (1 and up); 0 for the empty text or
// when the store holds kMostStoredTexts already.
int32_t storeText(std::string_view text);
// The text of a handle; empty for 0 or a handle never given out.
std::string_view storedText(int32_t handle);

inline constexpr int32_t kMostStoredTexts = 1 << 24;
// The longest text a project line may give: a few pages of lettering.
inline constexpr std::size_t kLongestStoredText = 4096;

// Project line values that may hold any characters: UTF-8 with blanks, '%',
// ';', '=', control characters (line breaks too) and every byte past ASCII
// written as %XX, so the line stays plain ASCII whatever reads it. Raw UTF-8
// is read as well.
std::string escapeKeyText(std::string_view text);
// The text of an escaped value; false for a '%' without two hex digits, a
// raw blank or control character, bytes that are no UTF-8, or a text longer
// than kLongestStoredText.
bool unescapeKeyText(std::string_view value, std::string& text);

} // namespace kelvara
