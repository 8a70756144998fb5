#include "platform/clientaccess/HostMessages.h"

#include <gtest/gtest.h>

#include <string>

using kwvd::clientaccess::AddHostMessage;

namespace {

// The caller's two-step read: a one-byte probe for the length, then a buffer
// of that length plus one.
std::string ProbedText(cwbSV_ErrHandle handle, unsigned* probeResult)
{
    char probe[1] = {'x'};
    unsigned long needed = 0;
    *probeResult = cwbSV_GetErrText(handle, probe, 1, &needed);
    if (*probeResult != kCwbTargetTooSmall)
        return {};
    EXPECT_EQ(probe[0], '\0');
    std::string text(needed + 1, '?');
    EXPECT_EQ(cwbSV_GetErrText(handle, text.data(), needed + 1, &needed), kCwbOk);
    text.resize(needed);
    return text;
}

} // namespace

TEST(ErrorHandle, AFreshHandleHoldsNoMessages)
{
    cwbSV_ErrHandle handle = 0;
    ASSERT_EQ(cwbSV_CreateErrHandle(&handle), kCwbOk);
    EXPECT_NE(handle, 0u);
    unsigned long count = 99;
    EXPECT_EQ(cwbSV_GetErrCount(handle, &count), kCwbOk);
    EXPECT_EQ(count, 0u);
    char buffer[8];
    unsigned long needed = 0;
    EXPECT_EQ(cwbSV_GetErrText(handle, buffer, sizeof buffer, &needed), kCwbNoMessages);
    EXPECT_EQ(cwbSV_DeleteErrHandle(handle), kCwbOk);
}

TEST(ErrorHandle, TheProbeGivesTheLengthAndTheSecondCallEveryMessageInOrder)
{
    cwbSV_ErrHandle handle = 0;
    ASSERT_EQ(cwbSV_CreateErrHandle(&handle), kCwbOk);
    ASSERT_TRUE(AddHostMessage(handle, "KWV2101", "Library NOLIB not found."));
    ASSERT_TRUE(AddHostMessage(handle, "KWV2102", "Two\nlines become one."));
    unsigned long count = 0;
    EXPECT_EQ(cwbSV_GetErrCount(handle, &count), kCwbOk);
    EXPECT_EQ(count, 2u);

    unsigned probe = 0;
    EXPECT_EQ(ProbedText(handle, &probe),
              "KWV2101: Library NOLIB not found.\nKWV2102: Two lines become one.");
    EXPECT_EQ(probe, kCwbTargetTooSmall);
    cwbSV_DeleteErrHandle(handle);
}

TEST(ErrorHandle, ATooSmallBufferIsFilledAndEndedWithinItsLength)
{
    cwbSV_ErrHandle handle = 0;
    ASSERT_EQ(cwbSV_CreateErrHandle(&handle), kCwbOk);
    AddHostMessage(handle, "KWV1", "abcdef");
    char buffer[6] = {'#', '#', '#', '#', '#', '#'};
    unsigned long needed = 0;
    EXPECT_EQ(cwbSV_GetErrText(handle, buffer, 5, &needed), kCwbTargetTooSmall);
    EXPECT_EQ(needed, std::string("KWV1: abcdef").size());
    EXPECT_STREQ(buffer, "KWV1");
    EXPECT_EQ(buffer[5], '#');
    cwbSV_DeleteErrHandle(handle);
}

TEST(ErrorHandle, ADeletedOrUnknownHandleIsInvalidEverywhere)
{
    cwbSV_ErrHandle handle = 0;
    ASSERT_EQ(cwbSV_CreateErrHandle(&handle), kCwbOk);
    AddHostMessage(handle, "KWV1", "kept until deleted");
    ASSERT_EQ(cwbSV_DeleteErrHandle(handle), kCwbOk);

    for (cwbSV_ErrHandle bad : {handle, cwbSV_ErrHandle(0), cwbSV_ErrHandle(~0ul)}) {
        unsigned long count = 0;
        char buffer[4];
        EXPECT_EQ(cwbSV_GetErrCount(bad, &count), kCwbInvalidHandle) << bad;
        EXPECT_EQ(cwbSV_GetErrText(bad, buffer, 1, &count), kCwbInvalidHandle) << bad;
        EXPECT_EQ(cwbSV_DeleteErrHandle(bad), kCwbInvalidHandle) << bad;
        EXPECT_FALSE(AddHostMessage(bad, "KWV1", "lost")) << bad;
    }

    // A new handle never takes the number of a deleted one.
    cwbSV_ErrHandle next = 0;
    ASSERT_EQ(cwbSV_CreateErrHandle(&next), kCwbOk);
    EXPECT_NE(next, handle);
    cwbSV_DeleteErrHandle(next);
}

TEST(ErrorHandle, NullTargetsAreRefused)
{
    EXPECT_EQ(cwbSV_CreateErrHandle(nullptr), kCwbInvalidParameter);
    cwbSV_ErrHandle handle = 0;
    ASSERT_EQ(cwbSV_CreateErrHandle(&handle), kCwbOk);
    AddHostMessage(handle, "KWV1", "text");
    EXPECT_EQ(cwbSV_GetErrCount(handle, nullptr), kCwbInvalidParameter);
    unsigned long needed = 0;
    EXPECT_EQ(cwbSV_GetErrText(handle, nullptr, 10, &needed), kCwbInvalidParameter);
    char buffer[4];
    EXPECT_EQ(cwbSV_GetErrText(handle, buffer, 0, &needed), kCwbInvalidParameter);
    cwbSV_DeleteErrHandle(handle);
}
