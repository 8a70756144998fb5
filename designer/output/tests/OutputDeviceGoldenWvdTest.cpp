// The device's WVD object at the current schema, byte for byte: the class
// header, then every group in order.

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "tests/support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace {

// Wide text: FF, the marker FE FF, a one-byte length, UTF-16LE units.
Bytes S(const char16_t* text)
{
    Bytes bytes = Hex("FF FE FF");
    size_t n = 0;
    while (text[n])
        ++n;
    bytes.push_back(static_cast<BYTE>(n));
    for (size_t i = 0; i < n; ++i) {
        bytes.push_back(static_cast<BYTE>(text[i] & 0xFF));
        bytes.push_back(static_cast<BYTE>(text[i] >> 8));
    }
    return bytes;
}

Bytes L(int value)
{
    const auto v = static_cast<unsigned>(value);
    return Bytes{static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16), static_cast<BYTE>(v >> 24)};
}

Bytes W(int value)
{
    return Bytes{static_cast<BYTE>(value), static_cast<BYTE>(value >> 8)};
}

Bytes Texts(std::initializer_list<const char16_t*> texts)
{
    Bytes bytes;
    for (const char16_t* t : texts)
        bytes = bytes + S(t);
    return bytes;
}

Bytes Longs(std::initializer_list<int> values)
{
    Bytes bytes;
    for (int v : values)
        bytes = bytes + L(v);
    return bytes;
}

// A file device with a few values set apart from the defaults, as the
// framework writes it into a fresh archive.
Bytes ExpectedFileDevice()
{
    Bytes b = Hex("FF FF") + W(20) + W(13) + Ascii("COutputDevice");
    // 1: name, type, description
    b = b + S(u"FIL1") + L(6) + S(u"Files");
    // 2: queue, library, printer device, user data, form type, hold, save,
    // drawer, copies, lpi, cpi, page height, rotation, start line, font group,
    // printer resource, no-print border
    b = b + Texts({u"*DEV", u"", u"*JOB", u"*SOURCE", u"*STD"}) + W(1) + W(0)
        + Longs({1, 1, -1, 12, 66, 4, 0}) + S(u"ABC") + S(u"*DOC") + L(-1);
    // 3: spooled file status, fax form, library, member, priority, public
    // authority, transmission mode, from, to, attention, reference, user
    // name, id, address, cover logo, signature, department, transparency on
    // and off, first-page text, line, column, width, comparison, scan text,
    // destination line, column, width, type, exit program and library
    b = b + Texts({u"*HLD", u"*NONE", u"", u""}) + Longs({2, 1})
        + Texts({u"*NORMAL", u"From me", u"", u"", u"", u"*CURRENT", u"", u"", u"", u"", u"", u"", u"", u""})
        + Longs({0, 0, 0}) + Texts({u"NE", u""}) + Longs({0, 0, 0, 1}) + Texts({u"", u"*LIBL"});
    // 4: display document, folder, server path, target address, port
    b = b + Texts({u"", u"", u"", u""}) + L(3771);
    // 5: the four offset pairs, x then y
    b = b + Longs({360, 240, 240, 360, 360, 240, 240, 360});
    // 6: from e-mail, postmaster, attachment format
    b = b + Texts({u"", u"", u"TXT"});
    // 7: duplex
    b = b + S(u"*NO");
    // 8: the fixed 1, attachment name and extension
    b = b + L(1) + Texts({u"ATTACH", u"TXT"});
    // 9: destination text; 10: subject, message; 11: confirmation type
    b = b + Texts({u"", u"", u""}) + L(0);
    // 12 and 13: file path, name, extension, format, CCSID, exit program,
    // its library, the parameter list with position 0
    b = b + Texts({u"/out", u"File", u"TXT", u"TXT", u"1208", u"", u""}) + W(3) + Texts({u"", u"", u"p2"});
    // 14: PDF data stream; 15: page size in twips; 16: attachment CCSID;
    // 17: page width
    b = b + S(u"") + Longs({12000, -1}) + S(u"") + L(0);
    // 18: file owner, authorisation list; 19: public authority
    b = b + Texts({u"", u"", u"*RWX"});
    // 20: security, passwords, flags 1-4, level, flags 5-8
    b = b + W(1) + Texts({u"SECRET", u""}) + W(1) + W(1) + W(0) + W(1) + S(u"*V1") + W(1) + W(1) + W(1) + W(0);
    return b;
}

void SetUpFileDevice(COutputDevice& device)
{
    device.SetHold(TRUE);
    device.SetCPI(12);
    device.SetFontGroup(QStringLiteral("abc"));
    device.SetFrom(QStringLiteral("From me"));
    device.SetFilePath(QStringLiteral("/out"));
    device.SetFileCcsid(QStringLiteral("1208"));
    device.SetParameter(2, QStringLiteral("p2"));
    device.SetPageWidthTwips(12000);
    device.SetPdfOwnerPassword(QStringLiteral("secret"));
    device.SetPdfFlag(3, FALSE);
    device.SetPdfFlag(8, FALSE);
}

TEST(OutputDeviceWvdGolden, SchemaTwentyObjectByteForByte)
{
    RegisterOutputClasses();
    COutputDevice device(6, QStringLiteral("FIL1"), QStringLiteral("Files"));
    SetUpFileDevice(device);
    const Bytes expected = ExpectedFileDevice();
    const Bytes bytes = Store([&](CArchive& ar) { ar.WriteObject(&device); });
    ASSERT_EQ(bytes.size(), expected.size());
    size_t difference = 0;
    while (difference < bytes.size() && bytes[difference] == expected[difference])
        ++difference;
    EXPECT_EQ(difference, bytes.size()) << "first difference at byte " << difference;
}

TEST(OutputDeviceWvdGolden, SchemaTwentyObjectLoadsEveryGroup)
{
    RegisterOutputClasses();
    std::unique_ptr<COutputDevice> back;
    Load(ExpectedFileDevice(), [&](CArchive& ar) { back.reset(ar.ReadObject<COutputDevice>()); });
    ASSERT_NE(back, nullptr);
    COutputDevice device(6, QStringLiteral("FIL1"), QStringLiteral("Files"));
    SetUpFileDevice(device);
    device.SetFontGroup(QStringLiteral("*DOC")); // never survives a load
    EXPECT_TRUE(back->IsEqual(&device));
    // IsEqual lets empty texts through and skips the twips: check those apart.
    EXPECT_EQ(back->GetFontGroup(), QStringLiteral("*DOC"));
    EXPECT_EQ(back->GetPageWidthTwips(), 12000);
    EXPECT_EQ(back->GetPageHeightTwips(), -1);
    EXPECT_EQ(back->GetFileCcsid(), QStringLiteral("1208"));
    EXPECT_EQ(back->GetParameterList(), device.GetParameterList());
    QString text;
    back->GetPdfOwnerPassword(text);
    EXPECT_EQ(text, QStringLiteral("SECRET"));
    EXPECT_FALSE(back->GetPdfFlag(8));
    EXPECT_TRUE(back->GetPdfFlag(7));
}

} // namespace
