#include "EmulatedHostFixture.h"

#include "platform/clientaccess/DataQueueStore.h"
#include "platform/clientaccess/DataQueues.h"
#include "platform/clientaccess/Faults.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace kwvd::clientaccess;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ToBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

std::string Text(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class DataQueues : public EmulatedHost
{
protected:
    void SetUp() override
    {
        Add(System(QStringLiteral("KWVDSYS")));
        Library(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD"));
    }

    ~DataQueues() override
    {
        for (cwbDQ_QueueHandle queue : m_queues)
            cwbDQ_Close(queue);
    }

    // Created as the fax client creates its queues: 512, flags on and off.
    static unsigned Create(const char* queue, const char* library = "KWVD", const char* system = "KWVDSYS",
                           cwbSV_ErrHandle errorHandle = 0)
    {
        cwbDQ_Attr attributes = 0;
        EXPECT_EQ(cwbDQ_CreateAttr(&attributes), kCwbOk);
        EXPECT_EQ(cwbDQ_SetMaxRecLen(attributes, 512), kCwbOk);
        EXPECT_EQ(cwbDQ_SetForceToDisk(attributes, true), kCwbOk);
        EXPECT_EQ(cwbDQ_SetRecordSender(attributes, false), kCwbOk);
        EXPECT_EQ(cwbDQ_SetDescription(attributes, "Qorvane Client DataQueue"), kCwbOk);
        const unsigned result = cwbDQ_Create(queue, library, system, attributes, errorHandle);
        EXPECT_EQ(cwbDQ_DeleteAttr(attributes), kCwbOk);
        return result;
    }

    cwbDQ_QueueHandle Open(const char* queue)
    {
        cwbDQ_QueueHandle handle = 0;
        EXPECT_EQ(cwbDQ_Open(queue, "KWVD", "KWVDSYS", &handle, 0), kCwbOk) << queue;
        m_queues.push_back(handle);
        return handle;
    }

    static unsigned Write(cwbDQ_QueueHandle queue, Bytes bytes, bool convert = false, cwbSV_ErrHandle errorHandle = 0)
    {
        cwbDQ_Data data = 0;
        EXPECT_EQ(cwbDQ_CreateData(&data), kCwbOk);
        EXPECT_EQ(cwbDQ_SetConvert(data, convert), kCwbOk);
        EXPECT_EQ(cwbDQ_SetData(data, bytes.data(), static_cast<unsigned long>(bytes.size())), kCwbOk);
        const unsigned result = cwbDQ_Write(queue, data, true, errorHandle);
        EXPECT_EQ(cwbDQ_DeleteData(data), kCwbOk);
        return result;
    }

    // Reads into a buffer of room bytes; *entry is what the length says.
    static unsigned Read(cwbDQ_QueueHandle queue, long wait, Bytes* entry, bool convert = false,
                         std::size_t room = 512, cwbSV_ErrHandle errorHandle = 0)
    {
        cwbDQ_Data data = 0;
        EXPECT_EQ(cwbDQ_CreateData(&data), kCwbOk);
        EXPECT_EQ(cwbDQ_SetConvert(data, convert), kCwbOk);
        Bytes buffer(room, 0xEE);
        EXPECT_EQ(cwbDQ_SetData(data, buffer.data(), static_cast<unsigned long>(buffer.size())), kCwbOk);
        const unsigned result = cwbDQ_Read(queue, data, wait, errorHandle);
        unsigned long length = 99999;
        EXPECT_EQ(cwbDQ_GetDataLen(data, &length), kCwbOk);
        EXPECT_EQ(cwbDQ_DeleteData(data), kCwbOk);
        entry->assign(buffer.begin(), buffer.begin() + static_cast<long>(std::min<std::size_t>(length, room)));
        if (result == kCwbNoData) {
            EXPECT_EQ(length, 0u) << "a read that found nothing leaves the length 0";
        }
        return result;
    }

    // Runs body in a child process and answers its exit status (0: all
    // well); the child never returns into the test.
    template <typename Body>
    static pid_t Child(Body body)
    {
        const pid_t pid = ::fork();
        if (pid == 0)
            ::_exit(body());
        EXPECT_GT(pid, 0);
        return pid;
    }

    static int ExitStatus(pid_t pid)
    {
        int status = 0;
        EXPECT_EQ(::waitpid(pid, &status, 0), pid);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // In a child: opens the queue, writes the entries, answers 0 when all went.
    static int WriteInChild(const char* queue, int count, int pauseMs)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        cwbDQ_QueueHandle handle = 0;
        if (cwbDQ_Open(queue, "KWVD", "KWVDSYS", &handle, 0) != kCwbOk)
            return 10;
        for (int i = 0; i < count; ++i) {
            char text[16];
            std::snprintf(text, sizeof text, "entry %03d", i);
            Bytes bytes = ToBytes(text);
            cwbDQ_Data data = 0;
            cwbDQ_CreateData(&data);
            cwbDQ_SetConvert(data, false);
            cwbDQ_SetData(data, bytes.data(), static_cast<unsigned long>(bytes.size()));
            const unsigned result = cwbDQ_Write(handle, data, true, 0);
            cwbDQ_DeleteData(data);
            if (result != kCwbOk)
                return 11;
        }
        return cwbDQ_Close(handle) == kCwbOk ? 0 : 12;
    }

    static std::string EntryText(int i)
    {
        char text[16];
        std::snprintf(text, sizeof text, "entry %03d", i);
        return text;
    }

private:
    std::vector<cwbDQ_QueueHandle> m_queues;
};

} // namespace

TEST_F(DataQueues, CreateRefusesAnExistingQueueAndWhatIsNotThere)
{
    struct Case
    {
        const char* name;
        const char* queue;
        const char* library;
        const char* system;
        unsigned expected;
        const char* message;
    };
    ASSERT_EQ(Create("ABCDEFI"), kCwbOk);
    const Case cases[] = {
        {"the same queue again", "ABCDEFI", "KWVD", "KWVDSYS", kCwbQueueExists,
         "KWV7001: Data queue KWVD/ABCDEFI already exists."},
        {"the same queue in other case", "abcdefi", "kwvd", "kwvdsys", kCwbQueueExists,
         "KWV7001: Data queue KWVD/ABCDEFI already exists."},
        {"a missing library", "ABCDEFI", "NOLIB", "KWVDSYS", kCwbNotFound, "KWV7002: Library NOLIB not found."},
        {"an unknown system", "ABCDEFI", "KWVD", "NOSYS", kCwbUnknownSystem, "KWV1004: System NOSYS is not configured."},
        {"a bad queue name", "1QUEUE", "KWVD", "KWVDSYS", kCwbInvalidParameter,
         "KWV7005: Data queue name 1QUEUE is not valid."},
        {"a queue name too long", "ABCDEFGHIJK", "KWVD", "KWVDSYS", kCwbInvalidParameter,
         "KWV7005: Data queue name ABCDEFGHIJK is not valid."},
    };
    for (const Case& c : cases) {
        const cwbSV_ErrHandle error = NewErrorHandle();
        EXPECT_EQ(Create(c.queue, c.library, c.system, error), c.expected) << c.name;
        EXPECT_EQ(Messages(error), std::vector<std::string>{c.message}) << c.name;
    }
    ASSERT_EQ(Create("ABCDEFO"), kCwbOk) << "a second queue of the same library";
}

TEST_F(DataQueues, TheAttributesAreStoredWithTheQueue)
{
    cwbDQ_Attr fresh = 0;
    ASSERT_EQ(cwbDQ_CreateAttr(&fresh), kCwbOk);
    unsigned long maxLength = 0;
    bool force = false;
    bool sender = true;
    char description[64];
    unsigned long needed = 0;
    EXPECT_EQ(cwbDQ_GetMaxRecLen(fresh, &maxLength), kCwbOk);
    EXPECT_EQ(cwbDQ_GetForceToDisk(fresh, &force), kCwbOk);
    EXPECT_EQ(cwbDQ_GetRecordSender(fresh, &sender), kCwbOk);
    EXPECT_EQ(cwbDQ_GetDescription(fresh, description, sizeof description, &needed), kCwbOk);
    EXPECT_EQ(maxLength, 512u);
    EXPECT_TRUE(force);
    EXPECT_FALSE(sender);
    EXPECT_STREQ(description, "");
    EXPECT_EQ(cwbDQ_SetMaxRecLen(fresh, 0), kCwbInvalidParameter);
    EXPECT_EQ(cwbDQ_SetMaxRecLen(fresh, 64513), kCwbInvalidParameter);
    EXPECT_EQ(cwbDQ_SetDescription(fresh, std::string(51, 'x').c_str()), kCwbInvalidParameter);
    EXPECT_EQ(cwbDQ_SetMaxRecLen(fresh, 100), kCwbOk);
    EXPECT_EQ(cwbDQ_SetForceToDisk(fresh, false), kCwbOk);
    EXPECT_EQ(cwbDQ_SetRecordSender(fresh, true), kCwbOk);
    EXPECT_EQ(cwbDQ_SetDescription(fresh, "Replies"), kCwbOk);
    ASSERT_EQ(cwbDQ_Create("REPLIES", "KWVD", "KWVDSYS", fresh, 0), kCwbOk);
    EXPECT_EQ(cwbDQ_DeleteAttr(fresh), kCwbOk);
    EXPECT_EQ(cwbDQ_GetMaxRecLen(fresh, &maxLength), kCwbInvalidHandle);

    DataQueueInfo info;
    ASSERT_EQ(FindDataQueue(QStringLiteral("KWVDSYS"), QStringLiteral("kwvd"), QStringLiteral("replies"), &info, nullptr),
              kCwbOk);
    EXPECT_EQ(info.name, QStringLiteral("REPLIES"));
    EXPECT_EQ(info.library, QStringLiteral("KWVD"));
    EXPECT_EQ(info.attributes.maxLength, 100u);
    EXPECT_FALSE(info.attributes.forceToDisk);
    EXPECT_TRUE(info.attributes.recordSender);
    EXPECT_EQ(info.attributes.description, QStringLiteral("Replies"));
    EXPECT_TRUE(QFileInfo(m_store.FilePath(QStringLiteral("KWVDSYS/ifs/QSYS.LIB/KWVD.LIB/REPLIES.DTAQ/queue.json")))
                    .isFile());
}

TEST_F(DataQueues, OpenNeedsAnExistingQueue)
{
    const cwbSV_ErrHandle error = NewErrorHandle();
    cwbDQ_QueueHandle queue = 0;
    EXPECT_EQ(cwbDQ_Open("NONE", "KWVD", "KWVDSYS", &queue, error), kCwbNotFound);
    EXPECT_EQ(Messages(error), std::vector<std::string>{"KWV7003: Data queue KWVD/NONE not found."});
    ASSERT_EQ(Create("ABCDEFI"), kCwbOk);
    ASSERT_EQ(cwbDQ_Open("abcdefi", "KWVD", "KWVDSYS", &queue, error), kCwbOk);
    EXPECT_EQ(cwbDQ_Close(queue), kCwbOk);
    EXPECT_EQ(cwbDQ_Close(queue), kCwbInvalidHandle);
    Bytes entry;
    EXPECT_EQ(Read(queue, 0, &entry), kCwbInvalidHandle);
    EXPECT_EQ(Write(queue, ToBytes("x")), kCwbInvalidHandle);
    EXPECT_EQ(cwbDQ_Clear(queue, 0), kCwbInvalidHandle);
}

TEST_F(DataQueues, AnEntryOverTheMaximumIsRefused)
{
    ASSERT_EQ(Create("ABCDEFI"), kCwbOk);
    const cwbDQ_QueueHandle queue = Open("ABCDEFI");
    const cwbSV_ErrHandle error = NewErrorHandle();
    EXPECT_EQ(Write(queue, Bytes(513, 0x40), false, error), kCwbDqEntryTooLong);
    EXPECT_EQ(Messages(error),
              std::vector<std::string>{
                  "KWV7004: An entry of 513 bytes is longer than the 512 bytes data queue KWVD/ABCDEFI takes."});
    EXPECT_EQ(Write(queue, Bytes(512, 0x40)), kCwbOk);
    Bytes entry;
    EXPECT_EQ(Read(queue, 0, &entry), kCwbOk);
    EXPECT_EQ(entry, Bytes(512, 0x40));
    EXPECT_EQ(Read(queue, 0, &entry), kCwbNoData) << "the refused entry was not written";

    cwbDQ_Data empty = 0;
    ASSERT_EQ(cwbDQ_CreateData(&empty), kCwbOk);
    EXPECT_EQ(cwbDQ_Write(queue, empty, true, 0), kCwbInvalidParameter) << "no buffer attached";
    EXPECT_EQ(cwbDQ_DeleteData(empty), kCwbOk);
    EXPECT_EQ(cwbDQ_Write(queue, empty, true, 0), kCwbInvalidHandle);
}

TEST_F(DataQueues, EntriesComeOutOldestFirstEachOnceUntilCleared)
{
    ASSERT_EQ(Create("ABCDEFI"), kCwbOk);
    const cwbDQ_QueueHandle writer = Open("ABCDEFI");
    const cwbDQ_QueueHandle reader = Open("ABCDEFI");
    for (const char* text : {"first", "second", "third"})
        ASSERT_EQ(Write(writer, ToBytes(text)), kCwbOk);
    Bytes entry;
    ASSERT_EQ(Read(reader, 0, &entry), kCwbOk);
    EXPECT_EQ(Text(entry), "first");
    ASSERT_EQ(Read(writer, 0, &entry), kCwbOk);
    EXPECT_EQ(Text(entry), "second");
    ASSERT_EQ(Write(writer, ToBytes("fourth")), kCwbOk);
    ASSERT_EQ(Read(reader, 0, &entry), kCwbOk);
    EXPECT_EQ(Text(entry), "third");

    ASSERT_EQ(Write(writer, ToBytes("fifth")), kCwbOk);
    ASSERT_EQ(cwbDQ_Clear(reader, 0), kCwbOk);
    EXPECT_EQ(Read(reader, 0, &entry), kCwbNoData);
    ASSERT_EQ(Write(writer, ToBytes("after")), kCwbOk);
    ASSERT_EQ(Read(reader, 0, &entry), kCwbOk);
    EXPECT_EQ(Text(entry), "after");
}

TEST_F(DataQueues, NothingWithinTheWaitGives6017WithoutAMessage)
{
    ASSERT_EQ(Create("ABCDEFO"), kCwbOk);
    const cwbDQ_QueueHandle queue = Open("ABCDEFO");
    const cwbSV_ErrHandle error = NewErrorHandle();
    Bytes entry;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Read(queue, 0, &entry, false, 512, error), kCwbNoData);
    EXPECT_LT(SecondsSince(start), 0.5) << "a wait of 0 does not wait";
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(Read(queue, 1, &entry, false, 512, error), kCwbNoData);
    const double waited = SecondsSince(start);
    EXPECT_GE(waited, 0.99);
    EXPECT_LT(waited, 2.5);
    EXPECT_EQ(MessageCount(error), 0u) << "an empty queue is a poll's usual answer";
}

TEST_F(DataQueues, ConversionIsOnUnlessTurnedOff)
{
    ASSERT_EQ(Create("ABCDEFI"), kCwbOk);
    const cwbDQ_QueueHandle queue = Open("ABCDEFI");
    cwbDQ_Data data = 0;
    ASSERT_EQ(cwbDQ_CreateData(&data), kCwbOk);
    bool convert = false;
    EXPECT_EQ(cwbDQ_GetConvert(data, &convert), kCwbOk);
    EXPECT_TRUE(convert);
    EXPECT_EQ(cwbDQ_DeleteData(data), kCwbOk);

    // "Hi £1" in CCSID 285, the system's: the pound sign is 0x5B there.
    const Bytes host = {0xC8, 0x89, 0x40, 0x5B, 0xF1};
    ASSERT_EQ(Write(queue, ToBytes("Hi \xA3" "1"), true), kCwbOk);
    Bytes entry;
    ASSERT_EQ(Read(queue, 0, &entry, false), kCwbOk);
    EXPECT_EQ(entry, host) << "stored in the host's form";
    ASSERT_EQ(Write(queue, host, false), kCwbOk);
    ASSERT_EQ(Read(queue, 0, &entry, true), kCwbOk);
    EXPECT_EQ(Text(entry), "Hi \xA3" "1") << "handed back in the PC's form";
}

TEST_F(DataQueues, AnEntryLargerThanTheBufferStaysInTheQueue)
{
    ASSERT_EQ(Create("ABCDEFI"), kCwbOk);
    const cwbDQ_QueueHandle queue = Open("ABCDEFI");
    ASSERT_EQ(Write(queue, ToBytes("twenty bytes long...")), kCwbOk);
    const cwbSV_ErrHandle error = NewErrorHandle();
    cwbDQ_Data data = 0;
    ASSERT_EQ(cwbDQ_CreateData(&data), kCwbOk);
    ASSERT_EQ(cwbDQ_SetConvert(data, false), kCwbOk);
    unsigned char small[10];
    ASSERT_EQ(cwbDQ_SetData(data, small, sizeof small), kCwbOk);
    EXPECT_EQ(cwbDQ_Read(queue, data, 0, error), kCwbTargetTooSmall);
    unsigned long length = 0;
    EXPECT_EQ(cwbDQ_GetDataLen(data, &length), kCwbOk);
    EXPECT_EQ(length, 20u) << "the room the entry needs";
    EXPECT_EQ(MessageCount(error), 1u);
    EXPECT_EQ(cwbDQ_DeleteData(data), kCwbOk);
    Bytes entry;
    ASSERT_EQ(Read(queue, 0, &entry, false, 20), kCwbOk);
    EXPECT_EQ(Text(entry), "twenty bytes long...");
}

TEST_F(DataQueues, AnInjectedFaultGivesItsCodeAndMessage)
{
    ASSERT_EQ(Create("ABCDEFI"), kCwbOk);
    const cwbDQ_QueueHandle queue = Open("ABCDEFI");
    ASSERT_EQ(Write(queue, ToBytes("kept")), kCwbOk);
    ASSERT_TRUE(SetInjectedFault("cwbDQ_Read", 8005, "KWV4001", "Line dropped.", true));
    const cwbSV_ErrHandle error = NewErrorHandle();
    Bytes entry;
    EXPECT_EQ(Read(queue, 0, &entry, false, 512, error), 8005u);
    EXPECT_EQ(Messages(error), std::vector<std::string>{"KWV4001: Line dropped."});
    ASSERT_EQ(Read(queue, 0, &entry), kCwbOk) << "the entry was not lost";
    EXPECT_EQ(Text(entry), "kept");
}

TEST_F(DataQueues, AWaitingReadWakesWhenAnotherProcessWrites)
{
    ASSERT_EQ(Create("ABCDEFO"), kCwbOk);
    const cwbDQ_QueueHandle queue = Open("ABCDEFO");
    for (const long wait : {10L, -1L}) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t writer = Child([] { return WriteInChild("ABCDEFO", 1, 300); });
        Bytes entry;
        EXPECT_EQ(Read(queue, wait, &entry), kCwbOk) << wait;
        const double waited = SecondsSince(start);
        EXPECT_EQ(Text(entry), "entry 000") << wait;
        EXPECT_GE(waited, 0.25) << wait;
        EXPECT_LT(waited, 2.0) << wait << ": woken by the write, not by a later look";
        EXPECT_EQ(ExitStatus(writer), 0);
    }
}

TEST_F(DataQueues, AHundredEntriesFromAnotherProcessArriveInOrderEachOnce)
{
    ASSERT_EQ(Create("ABCDEFI"), kCwbOk);
    const cwbDQ_QueueHandle queue = Open("ABCDEFI");
    const pid_t writer = Child([] { return WriteInChild("ABCDEFI", 100, 0); });
    for (int i = 0; i < 100; ++i) {
        Bytes entry;
        ASSERT_EQ(Read(queue, 10, &entry), kCwbOk) << i;
        EXPECT_EQ(Text(entry), EntryText(i));
    }
    EXPECT_EQ(ExitStatus(writer), 0);
    Bytes entry;
    EXPECT_EQ(Read(queue, 0, &entry), kCwbNoData);
}

TEST_F(DataQueues, TwoReadersAtOnceNeverGetTheSameEntry)
{
    ASSERT_EQ(Create("ABCDEFI"), kCwbOk);
    constexpr int kEntries = 120;
    const QString folder = m_store.Path();
    // Each reader takes what it can until the queue stays empty for a
    // second, and writes what it got to a file of its own, one per line.
    const auto reader = [&folder](const char* name) {
        return [&folder, name] {
            cwbDQ_QueueHandle queue = 0;
            if (cwbDQ_Open("ABCDEFI", "KWVD", "KWVDSYS", &queue, 0) != kCwbOk)
                return 10;
            std::ofstream out((folder + u'/' + QString::fromLatin1(name)).toStdString());
            for (;;) {
                unsigned char buffer[64];
                cwbDQ_Data data = 0;
                cwbDQ_CreateData(&data);
                cwbDQ_SetConvert(data, false);
                cwbDQ_SetData(data, buffer, sizeof buffer);
                const unsigned result = cwbDQ_Read(queue, data, 1, 0);
                unsigned long length = 0;
                cwbDQ_GetDataLen(data, &length);
                cwbDQ_DeleteData(data);
                if (result == kCwbNoData)
                    break;
                if (result != kCwbOk)
                    return 11;
                out << std::string(reinterpret_cast<char*>(buffer), length) << '\n';
            }
            return out.good() ? 0 : 12;
        };
    };
    const pid_t first = Child(reader("first.txt"));
    const pid_t second = Child(reader("second.txt"));
    const cwbDQ_QueueHandle queue = Open("ABCDEFI");
    for (int i = 0; i < kEntries; ++i)
        ASSERT_EQ(Write(queue, ToBytes(EntryText(i))), kCwbOk);
    ASSERT_EQ(ExitStatus(first), 0);
    ASSERT_EQ(ExitStatus(second), 0);

    std::multiset<std::string> all;
    for (const char* name : {"first.txt", "second.txt"}) {
        std::ifstream in((folder + u'/' + QString::fromLatin1(name)).toStdString());
        std::vector<std::string> got;
        for (std::string line; std::getline(in, line);)
            got.push_back(line);
        EXPECT_TRUE(std::is_sorted(got.begin(), got.end())) << name << " read them oldest first";
        all.insert(got.begin(), got.end());
    }
    std::multiset<std::string> written;
    for (int i = 0; i < kEntries; ++i)
        written.insert(EntryText(i));
    EXPECT_EQ(all, written) << "every entry read exactly once";
}
