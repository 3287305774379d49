#include "shell/outcome.h"

namespace kelvara {

std::string messageText(const LineTable& messages, int slot)
{
    if (slot >= 0 && slot < messages.lineCount)
        return messages.slot(slot);
    return std::string(builtInMessage(slot));
}

std::string messageText(const LineTable& messages, const Outcome& outcome)
{
    if (outcome.ok())
        return {};
    const std::string text = messageText(messages, outcome.slot);
    std::string out;
    out.reserve(text.size());
    std::array<bool, Outcome::kMostArgs> placed{};
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const int n = next - '1';
        if (text[i] == '%' && n >= 0 && n < Outcome::kMostArgs) {
            out += outcome.args[std::size_t(n)];
            placed[std::size_t(n)] = true;
            ++i;
        } else if (text[i] == '%' && next == 's') {
            out.push_back(';');
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    for (int n = 0; n < Outcome::kMostArgs; ++n) {
        const std::string& arg = outcome.args[std::size_t(n)];
        if (!placed[std::size_t(n)] && !arg.empty())
            out += (out.empty() ? "" : " ") + arg;
    }
    return out;
}

std::string builtInText(const Outcome& outcome)
{
    static const LineTable none;
    return messageText(none, outcome);
}

} // namespace kelvara
