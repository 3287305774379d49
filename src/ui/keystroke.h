#pragma once

namespace kelvara {

// A plain key reaches the window procedure as its character and again as
// its release, both naming the same command, which must run once: the
// character runs it and the release of that keystroke then runs nothing. A
// key without a character runs on its release alone. Keys pressed over one
// another follow the last press, so the release of an earlier key does not
// run its command a second time.
class KeystrokeGuard {
public:
    // A key went down: a keystroke begins.
    void pressed() { ranOnCharacter_ = false; }
    // The keystroke's character ran its command.
    void ranOnCharacter() { ranOnCharacter_ = true; }
    // Whether a key's release still runs its command.
    bool releaseRuns() const { return !ranOnCharacter_; }

private:
    bool ranOnCharacter_ = false;
};

} // namespace kelvara
