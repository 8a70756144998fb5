#pragma once
// The client of the host's transfer server: one control connection carrying
// short requests ("%.4d %s", no line end) and one-line replies, and for each
// file a data connection of its own to the port the server names. Every
// operation returns a BOOL and leaves the reason of a failure in the error
// text; nothing is shown from here.
//
// The control connection lets the event loop run while it waits (paints,
// timers and posted events, never user input), so the caller's window
// repaints and its pictures animate; the data connection blocks. Every wait
// is bounded: a silent server ends as a failed connect, read or send.
//
// Text on the wire is Windows-1252; a character without a byte goes as "?".

#include "platform/framework/File.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

#include <sys/types.h>

#include <functional>
#include <memory>

class CArchive;

// How long one wait may last, in milliseconds.
struct SoxTimeouts
{
    int connectMs = 15 * 1000;
    // A reply, or a send that makes no progress.
    int progressMs = 120 * 1000;
    // The reply to a program call: the import runs on the host meanwhile.
    int programMs = 10 * 60 * 1000;
};

// The control connection as a file for the archives: reads take what has
// arrived (0 once the peer has closed), writes go out whole. A failure or an
// expired wait throws CFileException with the errno value.
class CSoxSocketFile : public CFile
{
public:
    using Pump = std::function<void()>;

    CSoxSocketFile(int socket, int timeoutMs, Pump pump);

    void SetTimeout(int timeoutMs) { m_timeoutMs = timeoutMs; }
    int GetTimeout() const { return m_timeoutMs; }

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG newLength) override;
    void Flush() override {}
    void Close() override {}
    void Abort() override {}

private:
    int m_socket;
    int m_timeoutMs;
    Pump m_pump;
};

class CAS400SoxClient : public CObject
{
    KWVD_DECLARE_SERIAL(CAS400SoxClient)

public:
    static constexpr int kPieceSize = 128;
    static constexpr int kFileChunk = 4096;
    static constexpr int kMaxServerLevel = 9999;

    CAS400SoxClient();
    ~CAS400SoxClient() override;

    CAS400SoxClient(const CAS400SoxClient&) = delete;
    CAS400SoxClient& operator=(const CAS400SoxClient&) = delete;

    BOOL Connect(const QString& host, int port);
    // Without asking when the server is older than level 2: TRUE, and
    // *exists as the caller set it.
    BOOL CheckMember(const QString& library, const QString& member, BOOL* exists);
    // Every file of the folder, in the order of their names; sub-folders are
    // passed over. TRUE for a folder without files.
    BOOL SendFiles(const QString& localFolder, const QString& remoteFolder);
    BOOL SendFile(const QString& localPath, const QString& remoteFolder);
    // *reply is 1000 until a reply is read, then its code. Only PCWVDCL is
    // called.
    BOOL RunRemoteProgram(const QString& library, const QString& parameters, const QString& program, int* reply);
    QString GetErrorText() const { return m_errorText; }

    BOOL IsConnected() const { return m_connected; }
    int GetServerLevel() const { return m_serverLevel; }

    // One reply line from the archive (pieces of up to 128 bytes). FALSE
    // when the last piece could not be read; line holds what was read, also
    // when an exception passes out.
    static BOOL ReadLine(CArchive& ar, QString& line);
    // One reply: *code from the line's first four characters (left as the
    // caller preset it for a shorter line), text from its sixth on (the four
    // characters themselves for a line of four). A framework exception is a
    // failed read; the line read up to it is still taken apart.
    static BOOL ReceiveReply(CArchive& ar, int* code, QString& text);
    // "%.4d %s" in Windows-1252.
    static std::string FormatRequest(int code, const QString& text);
    // The library cut or padded with blanks to 10 characters.
    static QString PadLibrary(const QString& library);

    // For tests: the waits of the clients made afterwards, and the data
    // connection's send (a short send is taken up by the client).
    static void SetDefaultTimeouts(const SoxTimeouts& timeouts);
    static SoxTimeouts DefaultTimeouts();
    using DataSend = std::function<ssize_t(int socket, const void* data, size_t size)>;
    void SetDataSend(DataSend send) { m_dataSend = std::move(send); }

protected:
    BOOL SendCommand(int code, const QString& text);
    BOOL ReceiveReply(int* code, QString& text);
    BOOL ConnectDataChannel(int port, int* socket);
    QString GetSocketErrorText() const;

private:
    void Fail(const QString& text);
    // One file's bytes over the data connection; FALSE with the error text
    // set. Nothing further is sent on the control connection then.
    BOOL SendFileData(CFile& file, int dataSocket);

    int m_socket = -1;
    std::unique_ptr<CSoxSocketFile> m_socketFile;
    std::unique_ptr<CArchive> m_sendArchive;
    std::unique_ptr<CArchive> m_receiveArchive;
    QString m_host;
    QString m_errorText;
    BOOL m_connected = FALSE;
    int m_serverLevel = 1;
    int m_lastError = 0;
    SoxTimeouts m_timeouts;
    DataSend m_dataSend;
};
