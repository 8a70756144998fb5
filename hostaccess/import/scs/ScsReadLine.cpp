#include "hostaccess/import/scs/ScsReadLine.h"

#include <algorithm>

namespace {

enum : unsigned char {
    kNewLine = 0x15,
    kInterchangeRecordSeparator = 0x1E,
    kRequiredNewLine = 0x06,
    kIndexReturn = 0x33,
    kCarriageReturn = 0x0D,
    kFormFeed = 0x0C,
    kRequiredFormFeed = 0x3A,
    kLineFeed = 0x25,
    kShiftOut = 0x0E,
    kShiftIn = 0x0F,
    kControlSequencePrefix = 0x2B,
    kTransparent = 0x35,
    kPresentationPosition = 0x34,
    kRelativeVertical = 0x4C,
    kAbsoluteHorizontal = 0xC0,
    kAbsoluteVertical = 0xC4,
    kRelativeHorizontal = 0xC8,
};

enum : unsigned char {
    kAsciiLineFeed = 0x0A,
    kAsciiFormFeed = 0x0C,
    kAsciiCarriageReturn = 0x0D,
};

// The line being assembled and the rules shared by both data kinds.
class LineAssembly
{
public:
    LineAssembly(ScsLineBuffer& line, int lineNumber, SpooledDataReader& reader, int capacity, unsigned char blank)
        : m_line(line), m_reader(reader), m_capacity(std::clamp(capacity, 0, kScsHighestColumn)), m_blank(blank),
          m_lineNumber(lineNumber)
    {
        m_line.fill(blank);
    }

    int Run(bool (LineAssembly::*step)())
    {
        do {
            (this->*step)();
        } while (m_reader.Advance() && (m_status == kScsReading || m_status == kScsReadingAfterDownMove));
        return m_reader.GetStatus() == SpooledDataReader::kReadFailed ? int(kScsReadFailed) : m_status;
    }

    int LineNumber() const { return m_lineNumber; }
    int Length() const { return m_length; }

    bool ScsStep();
    bool AsciiStep();

private:
    bool HoldsCharacters() const { return m_length > 0; }

    void Place(unsigned char byte)
    {
        const int column = std::min(m_column, m_capacity);
        if (byte != m_blank)
            m_line[static_cast<std::size_t>(column)] = byte;
        m_column = column + 1;
        m_length = std::max(m_length, m_column);
    }

    // Column 0 for a position byte of 0: the line has no position before it.
    void SetColumnFromPosition(unsigned char position) { m_column = position == 0 ? 0 : position - 1; }

    void MoveColumn(int count) { m_column = std::min(m_column + count, m_capacity + 1); }

    void MoveDown(int count) { m_lineNumber = std::min(m_lineNumber + count, kScsHighestLineNumber); }

    // An absolute line: further down goes on reading, above (or the same
    // line is never above) ends the page.
    void GoToLine(unsigned char line)
    {
        m_status = line >= m_lineNumber ? kScsReadingAfterDownMove : kScsPageEnd;
        m_lineNumber = line;
    }

    // Leaves the control of `bytes` bytes unread and ends the line.
    bool ReRead(int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            if (!m_reader.StepBack())
                return false;
        m_status = kScsLineComplete;
        return true;
    }

    // Ends the page, or first the line that holds characters.
    bool FormFeed()
    {
        if (HoldsCharacters())
            return ReRead(1);
        m_status = kScsPageEnd;
        m_lineNumber = 1;
        m_column = 0;
        return true;
    }

    bool Next(unsigned char& byte)
    {
        if (!m_reader.Advance())
            return false;
        byte = m_reader.Current();
        return true;
    }

    bool Skip(int count)
    {
        for (int i = 0; i < count; ++i)
            if (!m_reader.Advance())
                return false;
        return true;
    }

    bool ScsControl(unsigned char control);
    bool PresentationPosition();

    ScsLineBuffer& m_line;
    SpooledDataReader& m_reader;
    const int m_capacity;
    const unsigned char m_blank;
    int m_lineNumber;
    int m_column = 0;
    int m_length = 0;
    int m_status = kScsReading;
};

bool LineAssembly::ScsStep()
{
    const unsigned char byte = m_reader.Current();
    if (byte < 0x40)
        return ScsControl(byte);
    if (m_reader.GetShiftState() == SpooledDataReader::kSingleByte) {
        Place(byte);
        return true;
    }
    unsigned char second = 0;
    if (!Next(second))
        return false;
    if (second < 0x40)
        return ScsControl(second);
    Place(byte);
    Place(second);
    return true;
}

bool LineAssembly::ScsControl(unsigned char control)
{
    switch (control) {
    case kNewLine:
    case kRequiredNewLine:
    case kInterchangeRecordSeparator:
    case kIndexReturn:
        if (HoldsCharacters())
            return ReRead(1);
        MoveDown(1);
        m_column = 0;
        return true;
    case kCarriageReturn:
        m_column = 0;
        return true;
    case kFormFeed:
    case kRequiredFormFeed:
        return FormFeed();
    case kLineFeed:
        if (HoldsCharacters())
            return ReRead(1);
        MoveDown(1);
        return true;
    case kShiftOut:
        Place(control);
        m_reader.SetShiftState(SpooledDataReader::kDoubleByte);
        return true;
    case kShiftIn:
        Place(control);
        m_reader.SetShiftState(SpooledDataReader::kSingleByte);
        return true;
    case kControlSequencePrefix: {
        unsigned char count = 0;
        if (!Skip(1) || !Next(count))
            return false;
        return Skip(count > 1 ? count - 1 : 0);
    }
    case kTransparent: {
        unsigned char count = 0;
        if (!Next(count))
            return false;
        return Skip(count);
    }
    case kPresentationPosition:
        return PresentationPosition();
    default:
        return true;
    }
}

bool LineAssembly::PresentationPosition()
{
    unsigned char kind = 0;
    if (!Next(kind))
        return false;
    unsigned char value = 0;
    switch (kind) {
    case kRelativeVertical:
        if (HoldsCharacters())
            return ReRead(2);
        if (!Next(value))
            return false;
        MoveDown(value);
        m_status = kScsReadingAfterDownMove;
        return true;
    case kAbsoluteHorizontal:
        if (!Next(value))
            return false;
        SetColumnFromPosition(value);
        return true;
    case kAbsoluteVertical:
        if (HoldsCharacters())
            return ReRead(2);
        if (!Next(value))
            return false;
        GoToLine(value);
        return true;
    case kRelativeHorizontal:
        if (!Next(value))
            return false;
        MoveColumn(value);
        return true;
    default: {
        if (HoldsCharacters())
            return ReRead(2);
        if (!Next(value))
            return false;
        SetColumnFromPosition(value);
        unsigned char line = 0;
        if (!Next(line))
            return false;
        GoToLine(line);
        return true;
    }
    }
}

bool LineAssembly::AsciiStep()
{
    const unsigned char byte = m_reader.Current();
    if (byte >= 0x20) {
        Place(byte);
        return true;
    }
    switch (byte) {
    case kAsciiCarriageReturn:
    case kAsciiLineFeed:
        if (HoldsCharacters())
            return ReRead(1);
        MoveDown(1);
        m_column = 0;
        // CR LF is one line end.
        if (byte == kAsciiCarriageReturn) {
            if (!m_reader.Advance())
                return false;
            if (m_reader.Current() != kAsciiLineFeed)
                return m_reader.StepBack();
        }
        return true;
    case kAsciiFormFeed:
        return FormFeed();
    default:
        return true;
    }
}

int ReadLine(ScsLineBuffer& line, int& lineNumber, SpooledDataReader& reader, int& capacityLength,
             unsigned char blank, bool (LineAssembly::*step)())
{
    LineAssembly assembly(line, lineNumber, reader, capacityLength, blank);
    const int status = assembly.Run(step);
    lineNumber = assembly.LineNumber();
    capacityLength = assembly.Length();
    return status;
}

} // namespace

int ScsReadLine(ScsLineBuffer& line, int& lineNumber, SpooledDataReader& reader, int& capacityLength)
{
    return ReadLine(line, lineNumber, reader, capacityLength, kEbcdicBlank, &LineAssembly::ScsStep);
}

int AsciiReadLine(ScsLineBuffer& line, int& lineNumber, SpooledDataReader& reader, int& capacityLength)
{
    return ReadLine(line, lineNumber, reader, capacityLength, kAsciiBlank, &LineAssembly::AsciiStep);
}
