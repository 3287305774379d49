#pragma once

#include <bitset>
#include <cstdint>

namespace kelvara {

// A plain key reaches the window procedure as its character and again as
// its release, both naming the same command, which must run once: the
// character runs it and the release of that keystroke then runs nothing. A
// key without a character runs on its release alone. Each key keeps its own
// keystroke, so keys pressed over one another (a letter held while an arrow
// or Delete goes down and up) never run a command a second time.
class KeystrokeGuard {
public:
    // `key` went down: its keystroke begins, and a character that follows is its.
    void pressed(uint32_t key)
    {
        last_ = key & 0xFF;
        ran_.reset(last_);
    }
    // The last pressed key's character ran its command.
    void ranOnCharacter() { ran_.set(last_); }
    // Whether the release of `key` still runs its command.
    bool releaseRuns(uint32_t key) const { return !ran_.test(key & 0xFF); }

private:
    std::bitset<256> ran_;
    uint32_t last_ = 0;
};

} // namespace kelvara
