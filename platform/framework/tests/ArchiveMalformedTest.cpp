// Data the archive must refuse: cut short, too long for what follows, or
// naming classes, ids and schemas it cannot accept. Each ends in the one
// cause callers rely on, with nothing leaked and nothing big allocated.

#include "ArchiveTestClasses.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdio>
#include <new>
#include <set>
#include <sys/resource.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define KWVD_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KWVD_TEST_ASAN 1
#endif
#endif

namespace archive_test {
namespace {

// Objects handed out by reads that went wrong later on.
struct Owned
{
    std::set<CObject*> objects;
    void Keep(CObject* object)
    {
        if (object)
            objects.insert(object);
    }
    template <class Container>
    void KeepAll(const Container& container)
    {
        for (CObject* object : container)
            Keep(object);
    }
    ~Owned()
    {
        for (CObject* object : objects)
            delete object;
    }
};

using Reader = std::function<void(CArchive&, Owned&)>;

template <class T>
Reader value()
{
    return [](CArchive& ar, Owned&) {
        T read{};
        ar >> read;
    };
}

Reader count()
{
    return [](CArchive& ar, Owned&) { ar.ReadCount(); };
}

Reader objects(std::vector<const CRuntimeClass*> requests)
{
    return [requests](CArchive& ar, Owned& owned) {
        for (const CRuntimeClass* requested : requests)
            owned.Keep(ar.ReadObject(requested));
    };
}

template <class Container>
Reader objectCollection()
{
    return [](CArchive& ar, Owned& owned) {
        Container container;
        try {
            container.Serialize(ar);
        } catch (...) {
            owned.KeepAll(container);
            throw;
        }
        owned.KeepAll(container);
    };
}

template <class Container>
Reader valueCollection()
{
    return [](CArchive& ar, Owned&) {
        Container container;
        container.Serialize(ar);
    };
}

struct MalformedCase
{
    const char* name;
    Bytes bytes;
    Reader read;
    CArchiveException::Cause cause;
    bool huge = false; // a length or count far beyond the data
};

void PrintTo(const MalformedCase& c, std::ostream* os)
{
    *os << c.name;
}

const CRuntimeClass* const kAny = nullptr;

Bytes newItemClass(const char* schemaHex)
{
    return Hex(schemaHex) + Hex("09 00") + Ascii("CTestItem");
}

std::vector<MalformedCase> malformedCases()
{
    using A = CArchiveException;
    const Bytes item = Hex("FF FF 01 00 09 00") + Ascii("CTestItem") + Hex("34 12");
    const Bytes other = Hex("FF FF 01 00 0A 00") + Ascii("CTestOther") + Hex("05");
    return {
        {"ByteFromNothing", Hex(""), value<BYTE>(), A::endOfFile},
        {"WordFromOneByte", Hex("01"), value<WORD>(), A::endOfFile},
        {"ShortFromOneByte", Hex("01"), value<short>(), A::endOfFile},
        {"LongFromThreeBytes", Hex("01 02 03"), value<LONG>(), A::endOfFile},
        {"DwordFromThreeBytes", Hex("01 02 03"), value<DWORD>(), A::endOfFile},
        {"DoubleFromSevenBytes", Hex("01 02 03 04 05 06 07"), value<double>(), A::endOfFile},
        {"CountFromOneByte", Hex("01"), count(), A::endOfFile},
        {"EscapedCountCut", Hex("FF FF 01 00 00"), count(), A::endOfFile},

        {"NarrowLengthMissing", Hex(""), value<std::string>(), A::endOfFile},
        {"NarrowBodyShort", Hex("03 41 42"), value<std::string>(), A::endOfFile},
        {"NarrowWordLengthCut", Hex("FF 01"), value<std::string>(), A::endOfFile},
        {"NarrowDwordLengthCut", Hex("FF FF FF 01 00"), value<std::string>(), A::endOfFile},
        {"NarrowWordLengthBeyondData", Hex("FF FD FF 41"), value<QString>(), A::endOfFile},
        {"WideMarkerCut", Hex("FF FE"), value<QString>(), A::endOfFile},
        {"WideLengthMissing", Hex("FF FE FF"), value<QString>(), A::endOfFile},
        {"WideBodyShort", Hex("FF FE FF 02 41 00"), value<QString>(), A::endOfFile},
        {"WideBodyOddByte", Hex("FF FE FF 01 41"), value<QString>(), A::endOfFile},
        {"WideBodyShortIntoNarrow", Hex("FF FE FF 02 41 00"), value<std::string>(), A::endOfFile},
        {"WideDwordLengthCut", Hex("FF FE FF FF FF FF 00 01"), value<QString>(), A::endOfFile},

        {"NarrowLengthNearFourGigabytes", Hex("FF FF FF FE FF FF FF 41"), value<std::string>(), A::endOfFile, true},
        {"NarrowLengthNearFourGigabytesIntoWide", Hex("FF FF FF FE FF FF FF 41"), value<QString>(), A::endOfFile, true},
        {"WideLengthNearFourGigaunits", Hex("FF FE FF FF FF FF FE FF FF FF 41 00"), value<QString>(), A::endOfFile,
         true},
        {"WideLengthNearFourGigaunitsIntoNarrow", Hex("FF FE FF FF FF FF FE FF FF FF 41 00"), value<std::string>(),
         A::endOfFile, true},
        {"NarrowLengthAllOnes", Hex("FF FF FF FF FF FF FF 41"), value<std::string>(), A::badIndex},
        {"WideLengthAllOnes", Hex("FF FE FF FF FF FF FF FF FF FF 41 00"), value<QString>(), A::badIndex},

        {"WordArrayShort", Hex("02 00 01 00"), valueCollection<CWordArray>(), A::endOfFile},
        {"StringArrayShort", Hex("02 00 01 41 01"), valueCollection<CStringArray>(), A::endOfFile},
        {"ObjectListShort", Hex("03 00 00 00"), objectCollection<CObList>(), A::endOfFile},
        {"ObjectArrayShort", Hex("03 00 00 00"), objectCollection<CObArray>(), A::endOfFile},
        {"WordArrayCountNearFourGigaitems", Hex("FF FF FE FF FF FF 01 00"), valueCollection<CWordArray>(), A::endOfFile,
         true},
        {"StringArrayCountNearFourGigaitems", Hex("FF FF FE FF FF FF 00 00"), valueCollection<CStringArray>(),
         A::endOfFile, true},
        {"ObjectListCountNearFourGigaitems", Hex("FF FF FE FF FF FF 00 00"), objectCollection<CObList>(), A::endOfFile,
         true},
        {"ObjectArrayCountNearFourGigaitems", Hex("FF FF FE FF FF FF 00 00"), objectCollection<CObArray>(),
         A::endOfFile, true},
        {"ObjectListOfAnUnknownClass", Hex("01 00 FF FF 01 00 07 00") + Ascii("CNoSuch"), objectCollection<CObList>(),
         A::badClass},

        {"ObjectTagCut", Hex("FF"), objects({kAny}), A::endOfFile},
        {"EscapedObjectTagCut", Hex("FF 7F 01 00"), objects({kAny}), A::endOfFile},
        {"ClassSchemaCut", Hex("FF FF 01"), objects({kAny}), A::endOfFile},
        {"ClassNameLengthCut", Hex("FF FF 01 00 09"), objects({kAny}), A::endOfFile},
        {"ClassNameCut", Hex("FF FF 01 00 09 00 43 54"), objects({kAny}), A::endOfFile},
        {"ObjectFieldsCut", Hex("FF FF 01 00 09 00") + Ascii("CTestItem") + Hex("34"), objects({kAny}), A::endOfFile},

        {"UnknownClass", Hex("FF FF 01 00 07 00") + Ascii("CNoSuch"), objects({kAny}), A::badClass},
        {"ClassNameCaseDiffers", Hex("FF FF 01 00 09 00") + Ascii("ctestitem"), objects({kAny}), A::badClass},
        {"ClassNameWithNonAsciiBytes", Hex("FF FF 01 00 03 00 FF FE 00"), objects({kAny}), A::badClass},
        {"ClassNameOf64Bytes", Hex("FF FF 01 00 40 00") + Bytes(64, 'A'), objects({kAny}), A::badClass},
        {"EmptyClassName", Hex("FF FF 01 00 00 00"), objects({kAny}), A::badClass},
        {"ClassWithoutAFactory", Hex("FF FF 00 00 0C 00") + Ascii("CTestDynamic"), objects({kAny}), A::badClass},
        {"ClassNotDerivedFromTheRequested", other, objects({KWVD_RUNTIME_CLASS(CTestItem)}), A::badClass},
        {"FrameworkClassWhereAnItemIsRequested", Hex("FF FF 00 00 07 00") + Ascii("CObList") + Hex("00 00"),
         objects({KWVD_RUNTIME_CLASS(CTestItem)}), A::badClass},
        {"BaseObjectWhereADerivedOneIsRequested", item, objects({KWVD_RUNTIME_CLASS(CTestDerived)}), A::badClass},
        {"BackReferenceOfTheWrongClass", other + Hex("02 00"), objects({kAny, KWVD_RUNTIME_CLASS(CTestItem)}),
         A::badClass},
        {"KnownClassTagOfTheWrongClass", other + Hex("01 80 06"), objects({kAny, KWVD_RUNTIME_CLASS(CTestItem)}),
         A::badClass},
        {"TypedReadOfAnotherClass", other,
         [](CArchive& ar, Owned& owned) {
             CTestItem* read = nullptr;
             try {
                 ar >> read;
             } catch (...) {
                 owned.Keep(read);
                 throw;
             }
             owned.Keep(read);
         },
         A::badClass},

        {"ReferencePastTheIdsRead", Hex("05 00"), objects({kAny}), A::badIndex},
        {"ReferenceToTheIdReadNext", item + Hex("03 00"), objects({kAny, kAny}), A::badIndex},
        {"ReferenceToAClassId", item + Hex("01 00"), objects({kAny, kAny}), A::badIndex},
        {"ClassTagNamingAnObject", item + Hex("02 80"), objects({kAny, kAny}), A::badIndex},
        {"ClassTagBeforeAnyClass", Hex("01 80"), objects({kAny}), A::badIndex},
        {"ClassTagZero", Hex("00 80"), objects({kAny}), A::badIndex},
        {"EscapedReferenceOutOfRange", Hex("FF 7F 00 00 00 10"), objects({kAny}), A::badIndex},
        {"EscapedClassTagOutOfRange", Hex("FF 7F 05 00 00 80"), objects({kAny}), A::badIndex},
        {"EscapedClassIdAllOnes", Hex("FF 7F FF FF FF FF"), objects({kAny}), A::badIndex},

        {"NonVersionableSchemaAboveCurrent", Hex("FF FF") + newItemClass("02 00") + Hex("34 12"), objects({kAny}),
         A::badSchema},
        {"NonVersionableSchemaBelowCurrent", Hex("FF FF") + newItemClass("00 00") + Hex("34 12"), objects({kAny}),
         A::badSchema},
        {"VersionableSchemaAboveCurrent", Hex("FF FF 04 00 0E 00") + Ascii("CTestVersioned") + Hex("01 00"),
         objects({kAny}), A::badSchema},
        {"VersionableSchemaFarAboveCurrent", Hex("FF FF FF 7F 0E 00") + Ascii("CTestVersioned"), objects({kAny}),
         A::badSchema},
    };
}

class ArchiveMalformedTest : public ::testing::TestWithParam<MalformedCase>
{
protected:
    void SetUp() override { RegisterTestClasses(); }
};

TEST_P(ArchiveMalformedTest, RaisesItsCause)
{
    const MalformedCase& c = GetParam();
    const int live = g_liveObjects;
    {
        LoadArchive load(c.bytes);
        load.ar().SetFilePath(QStringLiteral("/forms/bad.wvd"));
        Owned owned;
        try {
            c.read(load.ar(), owned);
            ADD_FAILURE() << "no exception";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, c.cause);
            EXPECT_EQ(e.m_strFileName, QStringLiteral("/forms/bad.wvd"));
        }
    }
    EXPECT_EQ(g_liveObjects, live);
}

INSTANTIATE_TEST_SUITE_P(Inputs, ArchiveMalformedTest, ::testing::ValuesIn(malformedCases()),
                         [](const auto& info) { return std::string(info.param.name); });

#ifndef KWVD_TEST_ASAN

// Caps the address space at what the process uses now plus the headroom, so
// that any allocation near the headroom fails.
void limitAddressSpace(unsigned long long headroom)
{
    unsigned long long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%llu", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    if (pages == 0)
        std::_Exit(10);
    const rlim_t limit = pages * static_cast<unsigned long long>(sysconf(_SC_PAGESIZE)) + headroom;
    const rlimit rl{limit, limit};
    if (setrlimit(RLIMIT_AS, &rl) != 0)
        std::_Exit(11);
}

constexpr unsigned long long kHeadroom = 256ull << 20;

[[noreturn]] void readUnderLimit(const MalformedCase& c)
{
    RegisterTestClasses();
    LoadArchive load(c.bytes);
    limitAddressSpace(kHeadroom);
    try {
        Owned owned;
        c.read(load.ar(), owned);
    } catch (const CArchiveException& e) {
        std::_Exit(e.m_cause == CArchiveException::endOfFile ? 0 : 2);
    } catch (const std::bad_alloc&) {
        std::_Exit(3);
    } catch (...) {
        std::_Exit(4);
    }
    std::_Exit(5);
}

[[noreturn]] void allocateBeyondLimit()
{
    limitAddressSpace(kHeadroom);
    try {
        std::string big(kHeadroom * 4, 'x');
        std::_Exit(big.size() > 0 ? 0 : 1);
    } catch (const std::bad_alloc&) {
        std::_Exit(3);
    }
}

TEST(ArchiveAllocationTest, HugeLengthsFailBeforeAnythingBigIsAllocated)
{
    // The limit must be able to catch a big allocation at all.
    EXPECT_EXIT(allocateBeyondLimit(), ::testing::ExitedWithCode(3), "");

    for (const MalformedCase& c : malformedCases()) {
        if (!c.huge)
            continue;
        SCOPED_TRACE(c.name);
        EXPECT_EXIT(readUnderLimit(c), ::testing::ExitedWithCode(0), "");
    }
}

#else

TEST(ArchiveAllocationTest, HugeLengthsFailBeforeAnythingBigIsAllocated)
{
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
}

#endif

} // namespace
} // namespace archive_test
