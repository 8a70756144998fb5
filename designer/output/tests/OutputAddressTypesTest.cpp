// The address fields each device type offers.

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Codes(const OutputDeviceAddressTypeList& list)
{
    std::vector<int> codes;
    for (const outputDeviceAddressType& entry : list)
        codes.push_back(entry.code);
    return codes;
}

std::vector<int> Range(int first, int last)
{
    std::vector<int> codes;
    for (int code = first; code <= last; ++code)
        codes.push_back(code);
    return codes;
}

std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(OutputAddressTypes, ByDeviceType)
{
    RegisterOutputStrings();
    struct Case
    {
        const char* name;
        int type;
        std::vector<int> codes;
    };
    const std::vector<int> all = std::vector<int>{21479, 21487, 21480, 21481, 21482, 21483, 21491, 21492, 21493,
                                                  21498, 21501, 21502, 21503, 21504, 21505, 21526, 21527}
                                 + Range(21506, 21525);
    const Case cases[] = {
        {"*SCS", 0, {21479, 21487}},
        {"*HPT", 2, {21479, 21487}},
        {"*FAX", 3, {21479, 21480, 21481, 21482, 21483, 21487}},
        {"*EML", 4, {21479, 21480, 21481, 21491, 21492, 21493, 21498, 21487}},
        {"*DSP", 5, all},
        {"file", 6, std::vector<int>{21501, 21502, 21487, 21503, 21504, 21505, 21526, 21527} + Range(21506, 21525)},
        {"document store without a catalogue", 7, Range(21506, 21523) + std::vector<int>{21501, 21502, 21487, 21524}},
    };
    COutputDeviceManager manager;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COutputDevice device(c.type, QStringLiteral("D"), QString());
        OutputDeviceAddressTypeList list;
        EXPECT_TRUE(manager.FillAddressTypes(&device, list));
        EXPECT_EQ(Codes(list), c.codes);
    }
    OutputDeviceAddressTypeList list;
    COutputDevice store(7, QStringLiteral("D"), QString());
    manager.FillAddressTypes(&store, list);
    ASSERT_EQ(list.size(), 22u);
    EXPECT_EQ(list[3].name, QStringLiteral("Parameter4"));
    EXPECT_EQ(list.back().name, QStringLiteral("Description"));
}

TEST(OutputAddressTypes, EmptySlotLeavesTheListAlone)
{
    COutputDeviceManager manager;
    manager.SetDocument(nullptr);
    OutputDeviceAddressTypeList list(1);
    EXPECT_FALSE(manager.GetAddressTypes(1, list));
    EXPECT_FALSE(manager.FillAddressTypes(nullptr, list));
    EXPECT_EQ(list.size(), 1u);
    EXPECT_TRUE(manager.GetAddressTypes(0, list));
    EXPECT_EQ(list.size(), 3u) << "the default device is *SCS";
}

} // namespace
