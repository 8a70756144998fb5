// The socket upload client against the fake transfer server on a thread of
// the test: the exact request bytes of a whole upload, the server's answers
// and faults as a table, the reply reader on its own, a short send on the
// data connection and a silent server.

#include "designer/shell/AS400SoxClient.h"
#include "platform/clientaccess/HostSetup.h"
#include "platform/clientaccess/HostStore.h"
#include "platform/framework/Archive.h"
#include "platform/framework/MemFile.h"
#include "tests/fakes/uploadserver/FakeUploadServer.h"
#include "tests/support/ScopedEmuhostStore.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <sys/socket.h>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace {

using kwvd::fakes::FakeUploadServer;
using Scripted = FakeUploadServer::Scripted;
using Action = FakeUploadServer::Action;

const QString kSystem = QStringLiteral("KWVDSYS");
const QByteArray kJvx = QByteArrayLiteral("JVX028 INVOICE\r\nrecords of the definition\r\n");

class SoxClientTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(kwvd::clientaccess::InitialiseHost(kSystem, &error)) << error.toStdString();
        m_previousTimeouts = CAS400SoxClient::DefaultTimeouts();
        CAS400SoxClient::SetDefaultTimeouts({3000, 3000, 3000});
        ASSERT_TRUE(m_folder.isValid());
    }
    void TearDown() override { CAS400SoxClient::SetDefaultTimeouts(m_previousTimeouts); }

    std::unique_ptr<FakeUploadServer> StartServer(bool crlf = false)
    {
        FakeUploadServer::Options options;
        options.system = kSystem;
        options.quietMs = 60;
        options.waitMs = 3000;
        options.crlf = crlf;
        auto server = std::make_unique<FakeUploadServer>(options);
        QString error;
        EXPECT_TRUE(server->Start(&error)) << error.toStdString();
        return server;
    }

    // A folder holding the one file to send.
    QString FolderWith(const QString& name, const QByteArray& bytes)
    {
        const QString folder = m_folder.filePath(QStringLiteral("send"));
        EXPECT_TRUE(QDir().mkpath(folder));
        QFile file(QDir(folder).filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return folder;
    }

    static QByteArray Sha256(const QByteArray& bytes)
    {
        return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    }

    ScopedEmuhostStore m_store;
    QTemporaryDir m_folder;
    SoxTimeouts m_previousTimeouts;
};

// One upload as the socket export makes it: connect, check the member, send
// the folder, call the import; stops at the first step that fails.
struct UploadCase
{
    const char* name;
    std::vector<std::pair<int, Scripted>> script{};
    bool crlf = false;
    const char* program = "PCWVDCL";
    // 0 every step succeeded, else the step that failed: 1 connect,
    // 2 member check, 3 files, 4 import.
    int failedStep = 0;
    std::string errorText{};
    int serverLevel = 2;
    // The member check's flag; -1 untouched.
    int exists = 0;
    int reply = 1001;
    std::vector<QByteArray> requests{};
};

void PrintTo(const UploadCase& c, std::ostream* os)
{
    *os << c.name;
}

const QByteArray kHandshake = "0001 ";
const QByteArray kCheck = "0007 KWVD      INVOICE";
const QByteArray kSend = "0003 /QDLS/KWVD/PCIN/INVOICE.JVX";
const QByteArray kSent = "0004 ";
const QByteArray kImport = "0006 KWVD      INVOICE KWVD";
const QByteArray kEnd = "0005 ";

Scripted Reply(const char* line)
{
    return {Action::Reply, QByteArray(line)};
}

const UploadCase kUploadCases[] = {
    {.name = "EveryStepAnswered", .requests = {kHandshake, kCheck, kSend, kSent, kImport, kEnd}},
    {.name = "LinesEndedByCrLfReadAsByLf", .crlf = true, .requests = {kHandshake, kCheck, kSend, kSent, kImport, kEnd}},
    {.name = "LevelTooLargeStaysOneAndNoMemberCheck",
     .script = {{1, Reply("1002 12345")}},
     .serverLevel = 1,
     .exists = -1,
     .requests = {kHandshake, kSend, kSent, kImport, kEnd}},
    {.name = "BareHandshakeCodeIsTheLevel",
     .script = {{1, Reply("1002")}},
     .serverLevel = 1002,
     .requests = {kHandshake, kCheck, kSend, kSent, kImport, kEnd}},
    {.name = "WrongHandshakeCodeEndsTheConversation",
     .script = {{1, Reply("1003 2")}},
     .failedStep = 1,
     .errorText = "Invalid Handshake.",
     .serverLevel = 1,
     .requests = {kHandshake, kEnd}},
    {.name = "MemberTextOneExists",
     .script = {{7, Reply("1000 1")}},
     .exists = 1,
     .requests = {kHandshake, kCheck, kSend, kSent, kImport, kEnd}},
    {.name = "MemberOfFourCharactersIsItsOwnText",
     .script = {{7, Reply("1000")}},
     .exists = 1,
     .requests = {kHandshake, kCheck, kSend, kSent, kImport, kEnd}},
    {.name = "MemberTextEmptyIsAnError",
     .script = {{7, Reply("1000 ")}},
     .failedStep = 2,
     .errorText = "Check WVD Member Return Value invalid.",
     .requests = {kHandshake, kCheck, kEnd}},
    {.name = "CloseBeforeTheMemberReply",
     .script = {{7, {Action::Close, {}}}},
     .failedStep = 2,
     .errorText = "Failed to Receive Transfer go ahead from Server.",
     .requests = {kHandshake, kCheck}},
    {.name = "PortNotANumberIsTheReason",
     .script = {{3, Reply("1100 Name not valid.")}},
     .failedStep = 3,
     .errorText = "Error sending File(s):\nFile: INVOICE.jvx Not Sent, Error: Name not valid.\n",
     .requests = {kHandshake, kCheck, kSend, kEnd}},
    {.name = "TransferNotConfirmed",
     .script = {{4, Reply("1100 disk full")}},
     .failedStep = 3,
     .errorText =
         "Error sending File(s):\nFile: INVOICE.jvx Not Sent, Error: File transfer not completed successfully.\n",
     .requests = {kHandshake, kCheck, kSend, kSent, kEnd}},
    {.name = "OtherProgramIsRefusedWithoutContact",
     .program = "CRTWVD",
     .failedStep = 4,
     .errorText = "Invalid Remote Program: CRTWVD",
     .reply = 1000,
     .requests = {kHandshake, kCheck, kSend, kSent, kEnd}},
    {.name = "ReplyOverOnePieceIsReadWhole",
     .script = {{6, {Action::Reply, "1100 " + QByteArray(300, 'E')}}},
     .failedStep = 4,
     .errorText = std::string(300, 'E'),
     .reply = 1100,
     .requests = {kHandshake, kCheck, kSend, kSent, kImport, kEnd}},
    {.name = "ImportFailureTextIsTheError",
     .script = {{6, Reply("1100 KWV2303 File not found.")}},
     .failedStep = 4,
     .errorText = "KWV2303 File not found.",
     .reply = 1100,
     .requests = {kHandshake, kCheck, kSend, kSent, kImport, kEnd}},
    {.name = "ImportWarningsComeWithTheirCode",
     .script = {{6, Reply("1200 KWV9001 Field widths adjusted.")}},
     .failedStep = 4,
     .errorText = "KWV9001 Field widths adjusted.",
     .reply = 1200,
     .requests = {kHandshake, kCheck, kSend, kSent, kImport, kEnd}},
};

class SoxUploadTable : public SoxClientTest, public ::testing::WithParamInterface<UploadCase>
{};

TEST_P(SoxUploadTable, RequestsAndOutcome)
{
    const UploadCase& c = GetParam();
    std::unique_ptr<FakeUploadServer> server = StartServer(c.crlf);
    for (const auto& [code, scripted] : c.script)
        server->Script(code, scripted);
    const QString folder = FolderWith(QStringLiteral("INVOICE.jvx"), kJvx);

    int failedStep = 0;
    QString errorText;
    int level = 0;
    BOOL exists = -1;
    int reply = 0;
    {
        CAS400SoxClient client;
        const auto step = [&](int number, BOOL ok) {
            if (!ok && failedStep == 0) {
                failedStep = number;
                errorText = client.GetErrorText();
            }
            return ok;
        };
        if (step(1, client.Connect(QStringLiteral("127.0.0.1"), server->Port()))
            && step(2, client.CheckMember(QStringLiteral("KWVD"), QStringLiteral("INVOICE"), &exists))
            && step(3, client.SendFiles(folder, QStringLiteral("/QDLS/KWVD/PCIN/"))))
            step(4, client.RunRemoteProgram(QStringLiteral("KWVD"), QStringLiteral("INVOICE KWVD"),
                                            QString::fromLatin1(c.program), &reply));
        level = client.GetServerLevel();
    }
    // The end of the conversation is sent as the client goes.
    QElapsedTimer waited;
    waited.start();
    while (server->RawRequests().size() < c.requests.size() && waited.elapsed() < 3000)
        QThread::msleep(10);
    server->Stop();

    EXPECT_EQ(failedStep, c.failedStep) << c.name;
    EXPECT_EQ(errorText, QString::fromStdString(c.errorText)) << c.name;
    EXPECT_EQ(level, c.serverLevel) << c.name;
    if (c.failedStep == 0 || c.failedStep > 2) {
        EXPECT_EQ(exists, c.exists) << c.name;
    }
    if (c.failedStep == 0 || c.failedStep == 4) {
        EXPECT_EQ(reply, c.reply) << c.name;
    }
    EXPECT_EQ(server->RawRequests(), c.requests) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Upload, SoxUploadTable, ::testing::ValuesIn(kUploadCases),
                         [](const ::testing::TestParamInfo<UploadCase>& info) { return std::string(info.param.name); });

TEST_F(SoxClientTest, WholeUploadStoresTheFileAndImportsIt)
{
    std::unique_ptr<FakeUploadServer> server = StartServer();
    const QString folder = FolderWith(QStringLiteral("INVOICE.jvx"), kJvx);
    {
        CAS400SoxClient client;
        ASSERT_TRUE(client.Connect(QStringLiteral("localhost"), server->Port())) << client.GetErrorText().toStdString();
        ASSERT_TRUE(client.SendFiles(folder, QStringLiteral("/qdls/kwvd/pcin/")));
        int reply = 0;
        ASSERT_TRUE(client.RunRemoteProgram(QStringLiteral("KWVD"), QStringLiteral("INVOICE KWVD"),
                                            QStringLiteral("PCWVDCL"), &reply))
            << client.GetErrorText().toStdString();
    }
    server->Stop();
    const std::vector<kwvd::fakes::UploadedFile> files = server->Files();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].path, QStringLiteral("/QDLS/KWVD/PCIN/INVOICE.JVX"));
    EXPECT_EQ(files[0].sha256, Sha256(kJvx));
    QFile stored(kwvd::clientaccess::IfsFolder(kSystem) + QStringLiteral("/QDLS/KWVD/PCIN/INVOICE.JVX"));
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), kJvx);
    EXPECT_TRUE(kwvd::clientaccess::WvdMemberExists(kSystem, QStringLiteral("KWVD"), QStringLiteral("INVOICE")));
}

TEST_F(SoxClientTest, FailedFileLeavesTheConversationForTheNext)
{
    std::unique_ptr<FakeUploadServer> server = StartServer();
    const QString folder = FolderWith(QStringLiteral("INVOICE.jvx"), kJvx);
    QFile longName(QDir(folder).filePath(QStringLiteral("LONGIMAGENAME.mmr")));
    ASSERT_TRUE(longName.open(QIODevice::WriteOnly));
    longName.write("MM");
    longName.close();
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("sub")));

    QString error;
    {
        CAS400SoxClient client;
        ASSERT_TRUE(client.Connect(QStringLiteral("127.0.0.1"), server->Port()));
        EXPECT_FALSE(client.SendFiles(folder, QStringLiteral("/QDLS/KWVD/PCIN/")));
        error = client.GetErrorText();
    }
    server->Stop();
    EXPECT_TRUE(error.startsWith(QStringLiteral("Error sending File(s):\nFile: LONGIMAGENAME.mmr Not Sent, Error: ")))
        << error.toStdString();
    EXPECT_FALSE(error.contains(QStringLiteral("INVOICE")));
    // Sent in the order of the names, the refused one first.
    ASSERT_EQ(server->Files().size(), 1u);
    EXPECT_EQ(server->Files()[0].path, QStringLiteral("/QDLS/KWVD/PCIN/INVOICE.JVX"));
}

TEST_F(SoxClientTest, EmptyFolderSucceedsWithoutSending)
{
    std::unique_ptr<FakeUploadServer> server = StartServer();
    const QString folder = m_folder.filePath(QStringLiteral("empty"));
    ASSERT_TRUE(QDir().mkpath(folder));
    {
        CAS400SoxClient client;
        ASSERT_TRUE(client.Connect(QStringLiteral("127.0.0.1"), server->Port()));
        EXPECT_TRUE(client.SendFiles(folder, QStringLiteral("/QDLS/KWVD/PCIN/")));
    }
    server->Stop();
    EXPECT_TRUE(server->Files().empty());
    for (const QByteArray& request : server->RawRequests())
        EXPECT_FALSE(request.startsWith("0003")) << request.toStdString();
}

TEST_F(SoxClientTest, ShortSendsArriveWholeAndInOrder)
{
    std::unique_ptr<FakeUploadServer> server = StartServer();
    QByteArray bytes;
    for (int i = 0; i < 20000; ++i)
        bytes.append(static_cast<char>(i * 7 + i / 256));
    const QString folder = FolderWith(QStringLiteral("IMAGE.MMR"), bytes);
    int sends = 0;
    {
        CAS400SoxClient client;
        // Each send takes only part of what it is offered.
        client.SetDataSend([&sends](int socket, const void* data, size_t size) {
            ++sends;
            return ::send(socket, data, std::min<size_t>(size, 1000 + sends % 7), MSG_NOSIGNAL);
        });
        ASSERT_TRUE(client.Connect(QStringLiteral("127.0.0.1"), server->Port()));
        ASSERT_TRUE(client.SendFiles(folder, QStringLiteral("/QDLS/KWVD/PCIN/")))
            << client.GetErrorText().toStdString();
    }
    server->Stop();
    EXPECT_GT(sends, 19);
    ASSERT_EQ(server->Files().size(), 1u);
    EXPECT_EQ(server->Files()[0].size, bytes.size());
    EXPECT_EQ(server->Files()[0].sha256, Sha256(bytes));
}

TEST_F(SoxClientTest, DataSendErrorSendsNoCompletion)
{
    std::unique_ptr<FakeUploadServer> server = StartServer();
    const QString folder = FolderWith(QStringLiteral("INVOICE.jvx"), kJvx);
    QString error;
    {
        CAS400SoxClient client;
        client.SetDataSend([](int, const void*, size_t) -> ssize_t {
            errno = ECONNRESET;
            return -1;
        });
        ASSERT_TRUE(client.Connect(QStringLiteral("127.0.0.1"), server->Port()));
        EXPECT_FALSE(
            client.SendFile(QDir(folder).filePath(QStringLiteral("INVOICE.jvx")), QStringLiteral("/QDLS/KWVD/PCIN/")));
        error = client.GetErrorText();
    }
    server->Stop();
    EXPECT_EQ(error, QStringLiteral("Socket Error Sending File. Error Message:\nError Code: %1\n").arg(ECONNRESET));
    for (const QByteArray& request : server->RawRequests())
        EXPECT_NE(request, kSent);
}

// A server that reads a request and never answers: every wait of the client
// ends, with the text of the step that waited.
struct StallCase
{
    const char* name;
    int stalledCode;
    const char* errorText;
};

void PrintTo(const StallCase& c, std::ostream* os)
{
    *os << c.name;
}

const StallCase kStallCases[] = {
    {"Handshake", 1, "Failed Receiving Handshake."},
    {"MemberCheck", 7, "Failed to Receive Transfer go ahead from Server."},
    {"DataPort", 3,
     "Error sending File(s):\nFile: INVOICE.jvx Not Sent, Error: Failed to Receive Transfer go ahead "
     "from Server.\n"},
    {"TransferComplete", 4,
     "Error sending File(s):\nFile: INVOICE.jvx Not Sent, Error: Failed to receive File "
     "transfer complete confirmation.\n"},
    {"Import", 6, "Failed to receive call Remote Program confirmation."},
};

class SoxStallTable : public SoxClientTest, public ::testing::WithParamInterface<StallCase>
{};

TEST_P(SoxStallTable, WaitEndsWithItsText)
{
    const StallCase& c = GetParam();
    CAS400SoxClient::SetDefaultTimeouts({1000, 300, 300});
    std::unique_ptr<FakeUploadServer> server = StartServer();
    server->Script(c.stalledCode, {Action::Stall, {}});
    const QString folder = FolderWith(QStringLiteral("INVOICE.jvx"), kJvx);

    QElapsedTimer elapsed;
    elapsed.start();
    QString error;
    {
        CAS400SoxClient client;
        BOOL exists = FALSE;
        int reply = 0;
        if (!client.Connect(QStringLiteral("127.0.0.1"), server->Port())
            || !client.CheckMember(QStringLiteral("KWVD"), QStringLiteral("INVOICE"), &exists)
            || !client.SendFiles(folder, QStringLiteral("/QDLS/KWVD/PCIN/"))
            || !client.RunRemoteProgram(QStringLiteral("KWVD"), QStringLiteral("INVOICE KWVD"),
                                        QStringLiteral("PCWVDCL"), &reply))
            error = client.GetErrorText();
    }
    server->Stop();
    EXPECT_EQ(error, QString::fromUtf8(c.errorText)) << c.name;
    EXPECT_LT(elapsed.elapsed(), 20000) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Stall, SoxStallTable, ::testing::ValuesIn(kStallCases),
                         [](const ::testing::TestParamInfo<StallCase>& info) { return std::string(info.param.name); });

TEST_F(SoxClientTest, RefusedConnectionCarriesItsErrorCode)
{
    // A port that was just free: nothing listens there.
    quint16 port = 0;
    {
        std::unique_ptr<FakeUploadServer> server = StartServer();
        port = server->Port();
    }
    CAS400SoxClient client;
    EXPECT_FALSE(client.Connect(QStringLiteral("127.0.0.1"), port));
    EXPECT_EQ(client.GetErrorText(),
              QStringLiteral("Failed to connect to Server.\nError Code: %1\n").arg(ECONNREFUSED));
    EXPECT_FALSE(client.IsConnected());
}

TEST_F(SoxClientTest, NothingGoesBeforeAHandshake)
{
    CAS400SoxClient client;
    BOOL exists = 7;
    int reply = 0;
    EXPECT_FALSE(client.CheckMember(QStringLiteral("KWVD"), QStringLiteral("INVOICE"), &exists));
    EXPECT_EQ(client.GetErrorText(), QStringLiteral("No Active Conversation"));
    EXPECT_EQ(exists, 7);
    const QString folder = FolderWith(QStringLiteral("INVOICE.jvx"), kJvx);
    EXPECT_FALSE(client.SendFile(QDir(folder).filePath(QStringLiteral("INVOICE.jvx")), QStringLiteral("/QDLS/")));
    EXPECT_EQ(client.GetErrorText(), QStringLiteral("No Active Conversation"));
    EXPECT_FALSE(
        client.RunRemoteProgram(QStringLiteral("KWVD"), QStringLiteral("X"), QStringLiteral("PCWVDCL"), &reply));
    EXPECT_EQ(client.GetErrorText(), QStringLiteral("No Active Conversation"));
    EXPECT_EQ(reply, 1000);
}

// The reply reader on bytes as they arrive.
struct ReplyCase
{
    const char* name;
    QByteArray bytes;
    BOOL read;
    int code; // preset 4242
    const char* text;
};

void PrintTo(const ReplyCase& c, std::ostream* os)
{
    *os << c.name;
}

const ReplyCase kReplyCases[] = {
    {"CodeBlankText", "1002 2\n", TRUE, 1002, "2"},
    {"CrLfAsLf", "1000 1\r\n", TRUE, 1000, "1"},
    {"CrTakesTheNextByteAndEndsTheLine", "1100 ab\rcd\n", TRUE, 1100, "abc"},
    {"FourCharactersAreTheText", "1002\n", TRUE, 1002, "1002"},
    {"ShorterLineKeepsThePresetCode", "10\n", TRUE, 4242, ""},
    {"EndInTheMiddleOfALine", "1001 done", TRUE, 1001, "done"},
    {"EndBeforeAnything", "", FALSE, 4242, ""},
    {"ExactlyOnePieceThenTheEnd", "1100 " + QByteArray(123, 'x'), FALSE, 1100, nullptr},
    {"LongLineReadPieceByPiece", "1100 " + QByteArray(300, 'y') + "\nnext", TRUE, 1100, nullptr},
    {"Windows1252Text", "1100 caf\xe9 \x80\n", TRUE, 1100, "caf\xc3\xa9 \xe2\x82\xac"},
};

class SoxReplyTable : public ::testing::TestWithParam<ReplyCase>
{};

TEST_P(SoxReplyTable, ReadAsTheClientReadsIt)
{
    const ReplyCase& c = GetParam();
    QByteArray bytes = c.bytes;
    CMemFile file(reinterpret_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    int code = 4242;
    QString text;
    EXPECT_EQ(CAS400SoxClient::ReceiveReply(ar, &code, text), c.read) << c.name;
    EXPECT_EQ(code, c.code) << c.name;
    // Rows without a text expect everything after the code and blank.
    QString expected = c.text ? QString::fromUtf8(c.text) : QString::fromLatin1(c.bytes.mid(5));
    if (!c.text && expected.contains(u'\n'))
        expected.truncate(expected.indexOf(u'\n'));
    EXPECT_EQ(text, expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Reply, SoxReplyTable, ::testing::ValuesIn(kReplyCases),
                         [](const ::testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.name); });

TEST(SoxRequest, WireForm)
{
    EXPECT_EQ(CAS400SoxClient::FormatRequest(1, QString()), std::string("0001 "));
    EXPECT_EQ(CAS400SoxClient::FormatRequest(7, CAS400SoxClient::PadLibrary(QStringLiteral("KWVD")) + "INVOICE"),
              std::string("0007 KWVD      INVOICE"));
    // Cut to ten characters; a character without a byte goes as "?".
    EXPECT_EQ(CAS400SoxClient::FormatRequest(6, CAS400SoxClient::PadLibrary(QStringLiteral("LIBRARYNAME1"))
                                                    + QStringLiteral("\u20ac\u4e00")),
              std::string("0006 LIBRARYNAM\x80?"));
}

} // namespace
