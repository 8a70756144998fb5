#include "platform/clientaccess/CodePageConverter.h"

#include "platform/framework/Cp1252.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace kwvd::clientaccess {

namespace {

constexpr char32_t kSub = 0x1A;
constexpr char32_t kColumnShiftOut = 0x0E;
constexpr char32_t kColumnShiftIn = 0x0F;
constexpr char32_t kFiller = U' ';
constexpr unsigned char kShiftOut = 0x0E;
constexpr unsigned char kShiftIn = 0x0F;
constexpr unsigned char kEbcdicSub = 0x3F;
// The substitution character of the host's double-byte sets.
constexpr unsigned char kDoubleByteSub = 0xFE;
// Below this byte a double-byte run holds controls, never character halves.
constexpr unsigned char kFirstGraphic = 0x40;

bool IsValidCodePoint(char32_t cp)
{
    return cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
}

// One iconv descriptor that converts each piece from the initial shift state,
// final shift included, so a piece never depends on the one before.
class IconvPiece
{
public:
    IconvPiece(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~IconvPiece()
    {
        if (Ok())
            iconv_close(m_cd);
    }
    IconvPiece(const IconvPiece&) = delete;
    IconvPiece& operator=(const IconvPiece&) = delete;

    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // False when the input is not one whole, exactly convertible piece.
    bool Run(const unsigned char* input, std::size_t length, std::string& output)
    {
        output.clear();
        if (!Ok())
            return false;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char buffer[32];
        char* in = const_cast<char*>(reinterpret_cast<const char*>(input));
        std::size_t inLeft = length;
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        // A count of irreversible conversions means glibc substituted on its
        // own; we substitute ourselves so that it is counted.
        const std::size_t result = iconv(m_cd, &in, &inLeft, &out, &outLeft);
        if (result != 0 || inLeft != 0)
            return false;
        if (iconv(m_cd, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1))
            return false;
        output.assign(buffer, out);
        return true;
    }

private:
    iconv_t m_cd;
};

char32_t ReadUtf32Le(const std::string& bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    return char32_t(b[0]) | char32_t(b[1]) << 8 | char32_t(b[2]) << 16 | char32_t(b[3]) << 24;
}

std::array<unsigned char, 4> Utf32Le(char32_t cp)
{
    return {static_cast<unsigned char>(cp), static_cast<unsigned char>(cp >> 8), static_cast<unsigned char>(cp >> 16),
            static_cast<unsigned char>(cp >> 24)};
}

// What the source read: one character, with its filler in column mode, or a
// shift read as a character in column mode.
struct SourceUnit
{
    std::array<char32_t, 2> code{};
    unsigned char count = 0;
    bool substituted = false;
};

SourceUnit Unit(char32_t cp, bool substituted = false)
{
    SourceUnit unit;
    unit.code[0] = cp;
    unit.count = 1;
    unit.substituted = substituted;
    return unit;
}

// How a written piece stands towards the shift state of a mixed target.
enum class Shift : unsigned char {
    None,   // the target has no shift state
    Single, // a single-byte character
    Double, // a double-byte character
    Out,    // column mode's shift-out
    In,     // column mode's shift-in
};

// The bytes of one source unit in the target, kept whole when cut.
struct Piece
{
    std::array<unsigned char, 8> bytes{};
    unsigned char size = 0;
    Shift shift = Shift::None;
    bool substituted = false;

    void Add(unsigned char byte) { bytes[size++] = byte; }
};

// A character's host form: one byte, or two of the double-byte set.
struct HostForm
{
    bool valid = false;
    bool doubleByte = false;
    unsigned char bytes[2] = {};
};

} // namespace

struct CodePageConverter::Impl
{
    CodePageEncoding source;
    CodePageEncoding target;
    bool columnMode = false;

    std::unique_ptr<IconvPiece> decoder; // source -> UTF-32LE
    std::unique_ptr<IconvPiece> encoder; // UTF-32LE -> target

    // Caches of what iconv answered, so a long text asks it once per
    // distinct character.
    std::array<std::int32_t, 256> singleByteChars;
    std::unordered_map<std::uint16_t, std::int32_t> doubleByteChars;
    std::unordered_map<char32_t, HostForm> hostForms;
    std::string scratch;

    Impl() { singleByteChars.fill(-2); }

    // ---- reading the source

    std::int32_t DecodeSingleByte(unsigned char byte)
    {
        std::int32_t& cp = singleByteChars[byte];
        if (cp == -2)
            cp = decoder->Run(&byte, 1, scratch) && scratch.size() == 4 ? std::int32_t(ReadUtf32Le(scratch)) : -1;
        return cp;
    }

    std::int32_t DecodeDoubleByte(unsigned char first, unsigned char second)
    {
        const std::uint16_t key = std::uint16_t(first << 8 | second);
        auto it = doubleByteChars.find(key);
        if (it != doubleByteChars.end())
            return it->second;
        const unsigned char framed[4] = {kShiftOut, first, second, kShiftIn};
        const std::int32_t cp = decoder->Run(framed, sizeof framed, scratch) && scratch.size() == 4
                                    ? std::int32_t(ReadUtf32Le(scratch))
                                    : -1;
        doubleByteChars.emplace(key, cp);
        return cp;
    }

    SourceUnit DoubleByteUnit(unsigned char first, unsigned char second)
    {
        const std::int32_t cp = DecodeDoubleByte(first, second);
        SourceUnit unit = cp < 0 ? Unit(kSub, true) : Unit(char32_t(cp));
        if (columnMode)
            unit.code[unit.count++] = kFiller;
        return unit;
    }

    void ReadHost(const unsigned char* s, std::size_t n, std::vector<SourceUnit>& units)
    {
        if (source.form == EncodingForm::PureDouble) {
            for (std::size_t i = 0; i < n; i += 2)
                units.push_back(i + 1 < n ? DoubleByteUnit(s[i], s[i + 1]) : Unit(kSub, true));
            return;
        }
        bool doubleByte = false;
        for (std::size_t i = 0; i < n;) {
            const unsigned char b = s[i];
            if (source.form == EncodingForm::Mixed && (b == kShiftOut || b == kShiftIn)) {
                doubleByte = b == kShiftOut;
                if (columnMode)
                    units.push_back(Unit(b == kShiftOut ? kColumnShiftOut : kColumnShiftIn));
                ++i;
            } else if (doubleByte && b >= kFirstGraphic) {
                if (i + 1 < n && s[i + 1] >= kFirstGraphic) {
                    units.push_back(DoubleByteUnit(b, s[i + 1]));
                    i += 2;
                } else {
                    // Half a character: a control or the end follows.
                    units.push_back(Unit(kSub, true));
                    ++i;
                }
            } else {
                const std::int32_t cp = DecodeSingleByte(b);
                units.push_back(cp < 0 ? Unit(kSub, true) : Unit(char32_t(cp)));
                ++i;
            }
        }
    }

    static void ReadUtf16(const unsigned char* s, std::size_t n, bool bigEndian, bool pairs,
                          std::vector<SourceUnit>& units)
    {
        auto at = [&](std::size_t i) -> char16_t {
            return bigEndian ? char16_t(s[i] << 8 | s[i + 1]) : char16_t(s[i + 1] << 8 | s[i]);
        };
        for (std::size_t i = 0; i < n;) {
            if (i + 1 >= n) {
                units.push_back(Unit(kSub, true));
                break;
            }
            const char16_t u = at(i);
            i += 2;
            if (u < 0xD800 || u > 0xDFFF) {
                units.push_back(Unit(u));
            } else if (pairs && u <= 0xDBFF && i + 1 < n && at(i) >= 0xDC00 && at(i) <= 0xDFFF) {
                units.push_back(Unit(0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(at(i)) - 0xDC00)));
                i += 2;
            } else {
                units.push_back(Unit(kSub, true));
            }
        }
    }

    static void ReadUtf8(const unsigned char* s, std::size_t n, std::vector<SourceUnit>& units)
    {
        for (std::size_t i = 0; i < n;) {
            const unsigned char lead = s[i];
            std::size_t length = 0;
            char32_t cp = 0;
            char32_t lowest = 0;
            if (lead < 0x80) {
                length = 1;
                cp = lead;
            } else if (lead >= 0xC2 && lead <= 0xDF) {
                length = 2;
                cp = lead & 0x1F;
                lowest = 0x80;
            } else if (lead >= 0xE0 && lead <= 0xEF) {
                length = 3;
                cp = lead & 0x0F;
                lowest = 0x800;
            } else if (lead >= 0xF0 && lead <= 0xF4) {
                length = 4;
                cp = lead & 0x07;
                lowest = 0x10000;
            }
            bool valid = length != 0 && i + length <= n;
            for (std::size_t k = 1; valid && k < length; ++k) {
                if ((s[i + k] & 0xC0) != 0x80)
                    valid = false;
                else
                    cp = cp << 6 | (s[i + k] & 0x3F);
            }
            if (valid && (cp < lowest || !IsValidCodePoint(cp)))
                valid = false;
            if (valid) {
                units.push_back(Unit(cp));
                i += length;
            } else {
                units.push_back(Unit(kSub, true));
                ++i;
            }
        }
    }

    std::vector<SourceUnit> Read(const unsigned char* s, std::size_t n)
    {
        std::vector<SourceUnit> units;
        units.reserve(n);
        switch (source.form) {
        case EncodingForm::Windows1252:
            for (std::size_t i = 0; i < n; ++i)
                units.push_back(Unit(Cp1252ToUnicode(s[i])));
            break;
        case EncodingForm::Utf16Be:
            ReadUtf16(s, n, true, true, units);
            break;
        case EncodingForm::Utf16Le:
            ReadUtf16(s, n, false, true, units);
            break;
        case EncodingForm::Ucs2Be:
            ReadUtf16(s, n, true, false, units);
            break;
        case EncodingForm::Utf8:
            ReadUtf8(s, n, units);
            break;
        case EncodingForm::SingleByte:
        case EncodingForm::Mixed:
        case EncodingForm::PureDouble:
            ReadHost(s, n, units);
            break;
        }
        return units;
    }

    // ---- writing the target

    const HostForm& EncodeHost(char32_t cp)
    {
        auto it = hostForms.find(cp);
        if (it != hostForms.end())
            return it->second;
        HostForm form;
        const auto utf32 = Utf32Le(cp);
        if (IsValidCodePoint(cp) && encoder->Run(utf32.data(), utf32.size(), scratch)) {
            const auto* b = reinterpret_cast<const unsigned char*>(scratch.data());
            if (scratch.size() == 1 && target.form != EncodingForm::PureDouble) {
                form.valid = true;
                form.bytes[0] = b[0];
            } else if (scratch.size() == 4 && b[0] == kShiftOut && b[3] == kShiftIn) {
                form.valid = true;
                form.doubleByte = true;
                form.bytes[0] = b[1];
                form.bytes[1] = b[2];
            }
        }
        return hostForms.emplace(cp, form).first->second;
    }

    static void AddUtf16(Piece& piece, char32_t cp, bool bigEndian)
    {
        auto add = [&](char16_t u) {
            piece.Add(static_cast<unsigned char>(bigEndian ? u >> 8 : u));
            piece.Add(static_cast<unsigned char>(bigEndian ? u : u >> 8));
        };
        if (cp < 0x10000) {
            add(char16_t(cp));
        } else {
            add(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
            add(char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        }
    }

    static void AddUtf8(Piece& piece, char32_t cp)
    {
        if (cp < 0x80) {
            piece.Add(static_cast<unsigned char>(cp));
        } else if (cp < 0x800) {
            piece.Add(static_cast<unsigned char>(0xC0 | cp >> 6));
            piece.Add(static_cast<unsigned char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            piece.Add(static_cast<unsigned char>(0xE0 | cp >> 12));
            piece.Add(static_cast<unsigned char>(0x80 | (cp >> 6 & 0x3F)));
            piece.Add(static_cast<unsigned char>(0x80 | (cp & 0x3F)));
        } else {
            piece.Add(static_cast<unsigned char>(0xF0 | cp >> 18));
            piece.Add(static_cast<unsigned char>(0x80 | (cp >> 12 & 0x3F)));
            piece.Add(static_cast<unsigned char>(0x80 | (cp >> 6 & 0x3F)));
            piece.Add(static_cast<unsigned char>(0x80 | (cp & 0x3F)));
        }
    }

    // A character in a target of our own forms; false when it has none.
    bool AddPcCharacter(Piece& piece, char32_t cp) const
    {
        switch (target.form) {
        case EncodingForm::Windows1252: {
            const int byte = cp <= 0xFFFF ? UnicodeToCp1252(char16_t(cp)) : -1;
            if (byte < 0)
                return false;
            piece.Add(static_cast<unsigned char>(byte));
            return true;
        }
        case EncodingForm::Utf16Be:
        case EncodingForm::Utf16Le:
            if (!IsValidCodePoint(cp))
                return false;
            AddUtf16(piece, cp, target.form == EncodingForm::Utf16Be);
            return true;
        case EncodingForm::Ucs2Be:
            if (!IsValidCodePoint(cp) || cp > 0xFFFF)
                return false;
            AddUtf16(piece, cp, true);
            return true;
        case EncodingForm::Utf8:
            if (!IsValidCodePoint(cp))
                return false;
            AddUtf8(piece, cp);
            return true;
        default:
            return false;
        }
    }

    void WritePc(const std::vector<SourceUnit>& units, std::vector<Piece>& pieces) const
    {
        for (const SourceUnit& unit : units) {
            Piece piece;
            piece.substituted = unit.substituted;
            for (unsigned char k = 0; k < unit.count; ++k) {
                if (!AddPcCharacter(piece, unit.code[k])) {
                    AddPcCharacter(piece, kSub);
                    piece.substituted = true;
                }
            }
            pieces.push_back(piece);
        }
    }

    static Piece SingleBytePiece(unsigned char byte, Shift shift, bool substituted)
    {
        Piece piece;
        piece.Add(byte);
        piece.shift = shift;
        piece.substituted = substituted;
        return piece;
    }

    static Piece DoubleBytePiece(const unsigned char* bytes, Shift shift, bool substituted)
    {
        Piece piece;
        piece.Add(bytes[0]);
        piece.Add(bytes[1]);
        piece.shift = shift;
        piece.substituted = substituted;
        return piece;
    }

    void WriteHost(const std::vector<SourceUnit>& units, std::vector<Piece>& pieces)
    {
        static constexpr unsigned char kDoubleSub[2] = {kDoubleByteSub, kDoubleByteSub};
        const bool mixed = target.form == EncodingForm::Mixed;
        const bool pure = target.form == EncodingForm::PureDouble;
        const bool shifts = columnMode && (mixed || pure);
        bool explicitRun = false; // between column mode's U+000E and U+000F
        bool expectFiller = false;
        for (const SourceUnit& unit : units) {
            for (unsigned char k = 0; k < unit.count; ++k) {
                const char32_t cp = unit.code[k];
                const bool substituted = unit.substituted;
                if (shifts && (cp == kColumnShiftOut || cp == kColumnShiftIn)) {
                    explicitRun = cp == kColumnShiftOut;
                    expectFiller = false;
                    if (mixed) {
                        Piece marker;
                        marker.shift = explicitRun ? Shift::Out : Shift::In;
                        pieces.push_back(marker);
                    }
                    continue;
                }
                if (shifts && expectFiller) {
                    expectFiller = false;
                    continue;
                }
                if (pure) {
                    const HostForm& form = EncodeHost(cp);
                    const bool ok = form.valid && form.doubleByte;
                    pieces.push_back(DoubleBytePiece(ok ? form.bytes : kDoubleSub, Shift::None, substituted || !ok));
                    expectFiller = columnMode;
                    continue;
                }
                if (mixed && explicitRun) {
                    const HostForm& form = EncodeHost(cp);
                    const bool ok = form.valid && form.doubleByte;
                    pieces.push_back(DoubleBytePiece(ok ? form.bytes : kDoubleSub, Shift::Double, substituted || !ok));
                    expectFiller = true;
                    continue;
                }
                // A shift byte written as a character would upset the
                // target's shift state.
                const bool shiftByte = mixed && (cp == kColumnShiftOut || cp == kColumnShiftIn);
                const HostForm& form = shiftByte ? HostForm{} : EncodeHost(cp);
                const Shift single = mixed ? Shift::Single : Shift::None;
                if (!form.valid)
                    pieces.push_back(SingleBytePiece(kEbcdicSub, single, true));
                else if (form.doubleByte)
                    pieces.push_back(DoubleBytePiece(form.bytes, Shift::Double, substituted));
                else
                    pieces.push_back(SingleBytePiece(form.bytes[0], single, substituted));
            }
        }
    }
};

namespace {

// Writes the pieces, with the shifts a mixed target needs between them, as
// far as they fit; the result counts the whole text.
ConversionResult Assemble(const std::vector<Piece>& pieces, unsigned char* target, std::size_t limit)
{
    ConversionResult result;
    bool doubleByte = false; // the shift state of the whole text
    bool cut = false;
    bool writtenDoubleByte = false;
    std::size_t written = 0;
    auto put = [&](unsigned char byte) { target[written++] = byte; };
    for (const Piece& piece : pieces) {
        std::size_t cost = piece.size;
        bool after = doubleByte;
        switch (piece.shift) {
        case Shift::None:
            break;
        case Shift::Single:
        case Shift::In:
            cost += doubleByte ? 1 : 0;
            after = false;
            break;
        case Shift::Double:
        case Shift::Out:
            cost += doubleByte ? 0 : 1;
            after = true;
            break;
        }
        result.needed += cost;
        doubleByte = after;
        if (cut)
            continue;
        // Room for the piece, and for an SI that closes the run it leaves open.
        if (written + cost + (after ? 1 : 0) > limit) {
            cut = true;
            continue;
        }
        if (after != writtenDoubleByte)
            put(after ? kShiftOut : kShiftIn);
        writtenDoubleByte = after;
        for (unsigned char k = 0; k < piece.size; ++k)
            put(piece.bytes[k]);
        if (piece.substituted)
            ++result.substitutions;
    }
    if (doubleByte)
        ++result.needed;
    if (writtenDoubleByte)
        put(kShiftIn);
    result.converted = written;
    return result;
}

} // namespace

CodePageConverter::CodePageConverter(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

CodePageConverter::~CodePageConverter() = default;

std::unique_ptr<CodePageConverter> CodePageConverter::Create(unsigned sourceCcsid, unsigned targetCcsid,
                                                             bool columnMode)
{
    const auto source = FindCodePageEncoding(sourceCcsid);
    const auto target = FindCodePageEncoding(targetCcsid);
    if (!source || !target)
        return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->source = *source;
    impl->target = *target;
    impl->columnMode = columnMode;
    if (!source->iconvName.empty()) {
        impl->decoder = std::make_unique<IconvPiece>("UTF-32LE", source->iconvName.c_str());
        if (!impl->decoder->Ok())
            return nullptr;
    }
    if (!target->iconvName.empty()) {
        impl->encoder = std::make_unique<IconvPiece>(target->iconvName.c_str(), "UTF-32LE");
        if (!impl->encoder->Ok())
            return nullptr;
    }
    return std::unique_ptr<CodePageConverter>(new CodePageConverter(std::move(impl)));
}

unsigned CodePageConverter::SourceCcsid() const
{
    return m_impl->source.ccsid;
}

unsigned CodePageConverter::TargetCcsid() const
{
    return m_impl->target.ccsid;
}

ConversionResult CodePageConverter::Convert(const unsigned char* source, std::size_t sourceLength,
                                            unsigned char* target, std::size_t targetLength)
{
    const std::vector<SourceUnit> units = m_impl->Read(source, sourceLength);
    std::vector<Piece> pieces;
    pieces.reserve(units.size());
    if (IsEbcdic(m_impl->target.form))
        m_impl->WriteHost(units, pieces);
    else
        m_impl->WritePc(units, pieces);
    return Assemble(pieces, target, targetLength);
}

} // namespace kwvd::clientaccess
