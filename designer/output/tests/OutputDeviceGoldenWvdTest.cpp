// The device's WVD object at the current schema, byte for byte: the class
// header, then every group in order.

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "tests/support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace {

Bytes Texts(std::initializer_list<const char16_t*> texts)
{
    Bytes bytes;
    for (const char16_t* t : texts)
        bytes = bytes + Text(t);
    return bytes;
}

Bytes Longs(std::initializer_list<int> values)
{
    Bytes bytes;
    for (int v : values)
        bytes = bytes + Long(v);
    return bytes;
}

// A file device with a few values set apart from the defaults, as the
// framework writes it into a fresh archive.
Bytes ExpectedFileDevice()
{
    Bytes b = Hex("FF FF") + Word(20) + Word(13) + Ascii("COutputDevice");
    // 1: name, type, description
    b = b + Text(u"FIL1") + Long(6) + Text(u"Files");
    // 2: queue, library, printer device, user data, form type, hold, save,
    // drawer, copies, lpi, cpi, page height, rotation, start line, font group,
    // printer resource, no-print border
    b = b + Texts({u"*DEV", u"", u"*JOB", u"*SOURCE", u"*STD"}) + Word(1) + Word(0) + Longs({1, 1, -1, 12, 66, 4, 0})
        + Text(u"ABC") + Text(u"*DOC") + Long(-1);
    // 3: spooled file status, fax form, library, member, priority, public
    // authority, transmission mode, from, to, attention, reference, user
    // name, id, address, cover logo, signature, department, transparency on
    // and off, first-page text, line, column, width, comparison, scan text,
    // destination line, column, width, type, exit program and library
    b = b + Texts({u"*HLD", u"*NONE", u"", u""}) + Longs({2, 1})
        + Texts({u"*NORMAL", u"From me", u"", u"", u"", u"*CURRENT", u"", u"", u"", u"", u"", u"", u"", u""})
        + Longs({0, 0, 0}) + Texts({u"NE", u""}) + Longs({0, 0, 0, 1}) + Texts({u"", u"*LIBL"});
    // 4: display document, folder, server path, target address, port
    b = b + Texts({u"", u"", u"", u""}) + Long(3771);
    // 5: the four offset pairs, x then y
    b = b + Longs({360, 240, 240, 360, 360, 240, 240, 360});
    // 6: from e-mail, postmaster, attachment format
    b = b + Texts({u"", u"", u"TXT"});
    // 7: duplex
    b = b + Text(u"*NO");
    // 8: the fixed 1, attachment name and extension
    b = b + Long(1) + Texts({u"ATTACH", u"TXT"});
    // 9: destination text; 10: subject, message; 11: confirmation type
    b = b + Texts({u"", u"", u""}) + Long(0);
    // 12 and 13: file path, name, extension, format, CCSID, exit program,
    // its library, the parameter list with position 0
    b = b + Texts({u"/out", u"File", u"TXT", u"TXT", u"1208", u"", u""}) + Word(3) + Texts({u"", u"", u"p2"});
    // 14: PDF data stream; 15: page size in twips; 16: attachment CCSID;
    // 17: page width
    b = b + Text(u"") + Longs({12000, -1}) + Text(u"") + Long(0);
    // 18: file owner, authorisation list; 19: public authority
    b = b + Texts({u"", u"", u"*RWX"});
    // 20: security, passwords, flags 1-4, level, flags 5-8
    b = b + Word(1) + Texts({u"SECRET", u""}) + Word(1) + Word(1) + Word(0) + Word(1) + Text(u"*V1") + Word(1) + Word(1)
        + Word(1) + Word(0);
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
