#pragma once

#include "stitch/machinereader.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kelvara {

// What every machine reader does with the moves it decodes: follows the
// needle in 64 bits, refuses a needle beyond kMaxMachineReach or a plan
// beyond kMaxRecords, skips the travel before the first stitch, and gives
// each record the thread of its block. Records are reserved only from the
// file's real length.
class PlanReading {
public:
    // `threadOf(block)` is block's colour; `fileBytes` bounds the reservation.
    PlanReading(std::size_t fileBytes, std::size_t bytesPerRecord, std::function<int32_t(int64_t)> threadOf);

    // A move with the needle down (Stitch) or up (Jump). False when refused.
    bool move(int64_t dx, int64_t dy, StitchKind kind);
    bool trim();
    // The next block's thread, or the same thread again for a stop.
    bool colourChange(bool stop = false);

    // Refuses the read with the slot's message, naming the byte offset.
    MachineRead refuse(MessageSlot slot, std::size_t offset) const;
    MachineRead refuse(MessageSlot slot, Outcome where) const;
    // The plan read so far, ended; refused when it holds no stitch.
    MachineRead finish(std::string label);

    bool refused() const { return refused_; }
    int64_t block() const { return block_; }

private:
    bool add(StitchKind kind);

    std::function<int32_t(int64_t)> threadOf_;
    StitchPlan plan_;
    int64_t x_ = 0, y_ = 0;
    int64_t block_ = 0;
    int32_t colour_ = 0;
    bool sewn_ = false;
    bool refused_ = false;
};

// Printable ASCII of a label field up to a CR, blanks at the end dropped.
std::string labelText(std::string_view field);

// Little-endian numbers at `at`; the caller has checked the bytes are there.
inline uint32_t readU16(std::string_view b, std::size_t at)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}
inline uint32_t readU32(std::string_view b, std::size_t at)
{
    return readU16(b, at) | readU16(b, at + 2) << 16;
}

} // namespace kelvara
