#pragma once
// Decode tables for the modified Huffman run-length codes of the fax codings
// (terminating, make-up and the extended make-up codes shared by both
// colours). One lookup on the next 13 bits gives the code's length and run.

#include <cstdint>

namespace kwvd::mmr {

struct RunCodeEntry
{
    std::uint16_t run = 0;
    std::uint8_t length = 0; // bits of the code; 0 when no code starts with these bits
    std::uint8_t makeUp = 0; // 1 for a make-up code, which another code follows
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
