#pragma once
// Decode tables for the modified Huffman run-length codes of the fax codings
// (terminating, make-up and the extended make-up codes shared by both
// colours). One lookup on the next 13 bits gives the code's length and run.

#include <cstdint>

namespace kwvd::mmr {

// Two bytes, so that both colours' tables stay in the first-level cache:
// the run above the code's length in 4 bits.
struct RunCodeEntry
{
    std::uint16_t packed = 0;

    int Run() const { return packed >> 4; }
    int Length() const { return packed & 15; } // 0 when no code starts with these bits
    // Runs of 64 and more are make-up codes, which another code follows.
    bool MakeUp() const { return packed >= 64 << 4; }
};

inline constexpr int kRunCodeLookupBits = 13;

class FaxRunCodes
{
public:
    // Tables indexed by the next 13 bits of the input, most significant first.
    static const RunCodeEntry* White();
    static const RunCodeEntry* Black();
};

} // namespace kwvd::mmr
