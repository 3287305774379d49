#pragma once

#include "shell/texts.h"

#include <array>
#include <string>

namespace kelvara {

// What a reader, writer, edit or command hands back: nothing when it went
// well, or the message slot that tells the user why not, with the details
// its text names as %1 to %4. The text itself is made only when it is
// shown, from the message table of that moment.
struct Outcome {
    static constexpr int kMostArgs = 4;

    int slot = -1; // no slot: it went well
    std::array<std::string, kMostArgs> args;

    Outcome() = default;
    explicit Outcome(MessageSlot s, std::string a = {}, std::string b = {}, std::string c = {},
                     std::string d = {})
        : slot(s), args{std::move(a), std::move(b), std::move(c), std::move(d)}
    {
    }

    bool ok() const { return slot < 0; }
};

// Text of a slot: the message file's line, or the built-in text when the
// file has no line for it (no file, or one from an older version).
std::string messageText(const LineTable& messages, int slot);

// The outcome's slot text with each %n replaced by its argument and %s by
// the semicolon the message file cannot hold. A detail the text does not
// name follows it after a blank, as older message files expect; an outcome
// that went well has the empty text.
std::string messageText(const LineTable& messages, const Outcome& outcome);

// The outcome's text from the built-in texts alone, where no message table
// is at hand (benchmarks, fuzzers).
std::string builtInText(const Outcome& outcome);

// The built-in text of a slot, word for word the shipped message file's
// line; empty outside the slots.
std::string_view builtInMessage(int slot);

} // namespace kelvara
