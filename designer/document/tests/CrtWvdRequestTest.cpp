// The run parameters of "Execute a WVD": defaults, completeness, comparison
// and the archive form with the identity read under the record version.

#include "designer/document/CrtWvdRequest.h"
#include "platform/framework/Archive.h"
#include "platform/framework/MemFile.h"
#include "tests/support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// A schema no object of ours has, to see that the request puts it back.
constexpr UINT kOuterSchema = 17;

// A new request: version 6; system, library, WVD name empty; "*HLD"; both
// message queue strings empty; then the identity with file, user, user data
// and form type "*ALL".
const char* const kNewRequestHex = "06 00 00 00"
                                   "FF FE FF 00  FF FE FF 00  FF FE FF 00"
                                   "FF FE FF 04 2A 00 48 00 4C 00 44 00"
                                   "FF FE FF 00  FF FE FF 00"
                                   "FF FE FF 00  FF FE FF 00"
                                   "FF FE FF 04 2A 00 41 00 4C 00 4C 00"
                                   "FF FE FF 04 2A 00 41 00 4C 00 4C 00"
                                   "FF FE FF 04 2A 00 41 00 4C 00 4C 00"
                                   "FF FE FF 00  FF FE FF 00  FF FE FF 00  FF FE FF 00  FF FE FF 00  FF FE FF 00"
                                   "FF FE FF 04 2A 00 41 00 4C 00 4C 00";

// A request of system "S", library "L", WVD "W", status "*HLD", message
// queue library "M", message queue "Q", identity "A".."L" in field order.
CrtWvdRequest LetterRequest()
{
    CrtWvdRequest request;
    request.SetSystem(QStringLiteral("S"));
    request.SetLibrary(QStringLiteral("L"));
    request.SetWvdName(QStringLiteral("W"));
    request.SetMessageQueueLibrary(QStringLiteral("M"));
    request.SetMessageQueue(QStringLiteral("Q"));
    SpooledFileIdentity& id = request.GetIdentity();
    id.SetOutputQueue(QStringLiteral("A"));
    id.SetOutputQueueLibrary(QStringLiteral("B"));
    id.SetFileName(QStringLiteral("C"));
    id.SetUserName(QStringLiteral("D"));
    id.SetUserData(QStringLiteral("E"));
    id.SetDate(QStringLiteral("F"));
    id.SetTime(QStringLiteral("G"));
    id.SetTotalPages(QStringLiteral("H"));
    id.SetDbcsData(QStringLiteral("I"));
    id.SetDbcsExtensions(QStringLiteral("J"));
    id.SetCharSet(QStringLiteral("K"));
    id.SetFormType(QStringLiteral("L"));
    return request;
}

TEST(CrtWvdRequestDefaults, EveryFileOfTheQueueHeldAfterwards)
{
    const CrtWvdRequest request;
    const SpooledFileIdentity& id = request.GetIdentity();
    EXPECT_EQ(id.GetFileName(), QStringLiteral("*ALL"));
    EXPECT_EQ(id.GetUserName(), QStringLiteral("*ALL"));
    EXPECT_EQ(id.GetUserData(), QStringLiteral("*ALL"));
    EXPECT_EQ(id.GetFormType(), QStringLiteral("*ALL"));
    EXPECT_TRUE(id.GetOutputQueue().isEmpty());
    EXPECT_TRUE(id.GetOutputQueueLibrary().isEmpty());
    EXPECT_TRUE(id.GetDate().isEmpty());
    EXPECT_TRUE(id.GetCharSet().isEmpty());
    EXPECT_EQ(request.GetSpooledFileStatus(), QStringLiteral("*HLD"));
    EXPECT_TRUE(request.GetSystem().isEmpty());
    EXPECT_TRUE(request.GetLibrary().isEmpty());
    EXPECT_TRUE(request.GetWvdName().isEmpty());
    EXPECT_TRUE(request.GetMessageQueueLibrary().isEmpty());
    EXPECT_TRUE(request.GetMessageQueue().isEmpty());
}

TEST(CrtWvdRequestComplete, Table)
{
    struct Case
    {
        const char* name;
        std::function<void(CrtWvdRequest&)> change;
        bool complete;
    };
    const auto system = [](CrtWvdRequest& r) { r.SetSystem(QStringLiteral("SYS1")); };
    const auto library = [](CrtWvdRequest& r) { r.SetLibrary(QStringLiteral("LIB")); };
    const auto wvd = [](CrtWvdRequest& r) { r.SetWvdName(QStringLiteral("INVOICE")); };
    const Case cases[] = {
        {"New", [](CrtWvdRequest&) {}, false},
        {"SystemLibraryWvdAgainstAllFiles",
         [&](CrtWvdRequest& r) {
             system(r);
             library(r);
             wvd(r);
         },
         true},
        {"NoSystem",
         [&](CrtWvdRequest& r) {
             library(r);
             wvd(r);
         },
         false},
        {"NoLibrary",
         [&](CrtWvdRequest& r) {
             system(r);
             wvd(r);
         },
         false},
        {"NoWvdName",
         [&](CrtWvdRequest& r) {
             system(r);
             library(r);
         },
         false},
        {"NoFileName",
         [&](CrtWvdRequest& r) {
             system(r);
             library(r);
             wvd(r);
             r.GetIdentity().SetFileName(QString());
         },
         false},
        {"StatusNotNeeded",
         [&](CrtWvdRequest& r) {
             system(r);
             library(r);
             wvd(r);
             r.SetSpooledFileStatus(QString());
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CrtWvdRequest request;
        c.change(request);
        EXPECT_EQ(request.IsComplete() != 0, c.complete);
    }
}

TEST(CrtWvdRequestCompare, EveryPartCountsAndCaseCounts)
{
    struct Case
    {
        const char* name;
        std::function<void(CrtWvdRequest&)> change;
    };
    const Case cases[] = {
        {"System", [](CrtWvdRequest& r) { r.SetSystem(QStringLiteral("s")); }},
        {"Library", [](CrtWvdRequest& r) { r.SetLibrary(QStringLiteral("l")); }},
        {"WvdName", [](CrtWvdRequest& r) { r.SetWvdName(QStringLiteral("w")); }},
        {"Status", [](CrtWvdRequest& r) { r.SetSpooledFileStatus(QStringLiteral("*hld")); }},
        {"MessageQueueLibrary", [](CrtWvdRequest& r) { r.SetMessageQueueLibrary(QStringLiteral("m")); }},
        {"MessageQueue", [](CrtWvdRequest& r) { r.SetMessageQueue(QStringLiteral("q")); }},
        {"IdentityField", [](CrtWvdRequest& r) { r.GetIdentity().SetCharSet(QStringLiteral("k")); }},
    };
    const CrtWvdRequest base = LetterRequest();
    EXPECT_TRUE(base.IsEqual(LetterRequest()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CrtWvdRequest other = LetterRequest();
        c.change(other);
        EXPECT_FALSE(base.IsEqual(other));
        EXPECT_FALSE(other.IsEqual(base));
    }
}

TEST(CrtWvdRequestCompare, CopiesCarryEverything)
{
    const CrtWvdRequest source = LetterRequest();
    const CrtWvdRequest constructed(source);
    EXPECT_TRUE(constructed.IsEqual(source));

    CrtWvdRequest assigned;
    assigned = source;
    EXPECT_TRUE(assigned.IsEqual(source));

    CrtWvdRequest copied = LetterRequest();
    copied.CopyFrom(CrtWvdRequest());
    EXPECT_TRUE(copied.IsEqual(CrtWvdRequest()));
}

TEST(CrtWvdRequestArchive, NewRequestStoresVersionStringsThenIdentity)
{
    CrtWvdRequest request;
    EXPECT_EQ(Store([&](CArchive& ar) { SerializeCrtWvdRequest(ar, request); }), Hex(kNewRequestHex));

    CrtWvdRequest read = LetterRequest();
    Load(Hex(kNewRequestHex), [&](CArchive& ar) {
        ar.SetObjectSchema(kOuterSchema);
        SerializeCrtWvdRequest(ar, read);
        EXPECT_EQ(ar.GetObjectSchema(), kOuterSchema);
    });
    EXPECT_TRUE(read.IsEqual(CrtWvdRequest()));
}

TEST(CrtWvdRequestArchive, LetterRequestRoundTrips)
{
    CrtWvdRequest request = LetterRequest();
    const Bytes bytes = Store([&](CArchive& ar) { SerializeCrtWvdRequest(ar, request); });
    CrtWvdRequest read;
    Load(bytes, [&](CArchive& ar) { SerializeCrtWvdRequest(ar, read); });
    EXPECT_TRUE(read.IsEqual(request));
}

TEST(CrtWvdRequestArchive, OlderRecordVersionsReadFewerIdentityFields)
{
    struct Case
    {
        const char* name;
        const char* hex;
        QString formType;
        QString charSet;
    };
    // Version, six strings "S" "L" "W" "*HLD" "M" "Q", then the identity's
    // strings as that version wrote them ("A" ...), then a trailing "Z".
    const char* const head = "FF FE FF 01 53 00  FF FE FF 01 4C 00  FF FE FF 01 57 00"
                             "FF FE FF 04 2A 00 48 00 4C 00 44 00  FF FE FF 01 4D 00  FF FE FF 01 51 00";
    const char* const eight = "FF FE FF 01 41 00  FF FE FF 01 42 00  FF FE FF 01 43 00  FF FE FF 01 44 00"
                              "FF FE FF 01 45 00  FF FE FF 01 46 00  FF FE FF 01 47 00  FF FE FF 01 48 00";
    const std::string v5 = std::string("05 00 00 00") + head + eight
                           + "FF FE FF 01 49 00  FF FE FF 01 4A 00  FF FE FF 01 4B 00  FF FE FF 01 5A 00";
    const std::string v4 = std::string("04 00 00 00") + head + eight + "FF FE FF 01 5A 00";
    const Case cases[] = {
        {"Version5NoFormType", v5.c_str(), QString(), QStringLiteral("K")},
        {"Version4NoDbcsNorCharSet", v4.c_str(), QString(), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CrtWvdRequest read;
        Load(Hex(c.hex), [&](CArchive& ar) {
            ar.SetObjectSchema(kOuterSchema);
            SerializeCrtWvdRequest(ar, read);
            EXPECT_EQ(ar.GetObjectSchema(), kOuterSchema);
            QString next;
            ar >> next;
            EXPECT_EQ(next, QStringLiteral("Z"));
        });
        const SpooledFileIdentity& id = read.GetIdentity();
        EXPECT_EQ(id.GetOutputQueue(), QStringLiteral("A"));
        EXPECT_EQ(id.GetTotalPages(), QStringLiteral("H"));
        EXPECT_EQ(id.GetCharSet(), c.charSet);
        EXPECT_EQ(id.GetFormType(), c.formType);
        EXPECT_EQ(read.GetSystem(), QStringLiteral("S"));
        EXPECT_EQ(read.GetMessageQueue(), QStringLiteral("Q"));
    }
}

TEST(CrtWvdRequestArchive, ShortArchiveRaisesEndOfFileRestoresSchemaKeepsRequest)
{
    const Bytes whole = Hex(kNewRequestHex);
    // Every cut: in the version, in the strings and in the identity.
    for (size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(testing::Message() << "first " << length << " bytes");
        CrtWvdRequest request = LetterRequest();
        Load(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)), [&](CArchive& ar) {
            ar.SetObjectSchema(kOuterSchema);
            try {
                SerializeCrtWvdRequest(ar, request);
                ADD_FAILURE() << "a short request was read";
            } catch (const CArchiveException& e) {
                EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
            }
            EXPECT_EQ(ar.GetObjectSchema(), kOuterSchema);
        });
        EXPECT_TRUE(request.IsEqual(LetterRequest()));
    }
}

TEST(CrtWvdRequestArchive, ImpossibleRecordVersionIsABadSchema)
{
    struct Case
    {
        const char* name;
        const char* versionHex;
    };
    const Case cases[] = {
        {"Negative", "FF FF FF FF"},
        {"Newer", "07 00 00 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = Hex(kNewRequestHex);
        const Bytes version = Hex(c.versionHex);
        std::copy(version.begin(), version.end(), bytes.begin());
        CrtWvdRequest request = LetterRequest();
        try {
            Load(bytes, [&](CArchive& ar) { SerializeCrtWvdRequest(ar, request); });
            ADD_FAILURE() << "record version read";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::badSchema);
        }
        EXPECT_TRUE(request.IsEqual(LetterRequest()));
    }
}

} // namespace
