#pragma once
// The line readers of spooled-file data: each call assembles one line of a
// page from the reader's bytes and says how the line ended.
//
// ScsReadLine interprets the SCS printer data stream: characters are placed
// at the current column of a line of 380 positions (0 to 379; what lies
// beyond lands on 379), a blank never erases what an earlier pass over the
// same line wrote, SO and SI stay in the line (so that a double-byte
// character keeps its two host columns) and switch the reader's shift state.
// A control that moves off a line holding characters is left unread: the
// line ends there and the next call starts with that control on an empty
// line.
//
// AsciiReadLine reads USERASCII data as ASCII text: CR LF, LF or CR ends a
// line, FF ends a page, other bytes below 0x20 are ignored.

#include "hostaccess/import/scs/SpooledDataReader.h"

#include <array>

// Columns 0 to 379.
using ScsLineBuffer = std::array<unsigned char, 380>;

// How a line ended.
enum ScsLineStatus {
    kScsLineComplete = 1,
    kScsPageEnd = 2,
    kScsReadingAfterDownMove = 5,
    kScsReading = 6,
    // The reader failed (a read, or a step back beyond the bytes held).
    kScsReadFailed = 7,
};

// The highest position a character can take.
constexpr int kScsHighestColumn = 379;
// Line numbers stop growing here; no printed page comes near it, and a
// stream of relative moves must not overflow.
constexpr int kScsHighestLineNumber = 32767;

// Host and ASCII blanks, which the line is filled with.
constexpr unsigned char kEbcdicBlank = 0x40;
constexpr unsigned char kAsciiBlank = 0x20;

// One line. lineNumber comes in as the number the line starts on and goes
// out as the number it belongs at (the next call takes it on);
// capacityLength comes in as the highest column (at most 379) and goes out as
// the line's length (highest column written + 1). The result is a
// ScsLineStatus; when the data ends, the line read so far comes back with
// kScsReading or kScsReadingAfterDownMove.
int ScsReadLine(ScsLineBuffer& line, int& lineNumber, SpooledDataReader& reader, int& capacityLength);
int AsciiReadLine(ScsLineBuffer& line, int& lineNumber, SpooledDataReader& reader, int& capacityLength);
