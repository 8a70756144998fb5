#pragma once
// A host transfer server of our own for tests and demonstrations: it listens
// on 127.0.0.1, serves one control connection after the other on a thread of
// its own, and does on the emulated host (the store of KWVD_EMUHOST) what the
// host's server does:
//
//   0001        "1002 2"
//   0007 L M    "1000 1" when the WVD member M of library L (the first ten
//               characters, blanks cut) exists, else "1000 0"
//   0003 PATH   a listener, "1000 <port>", one data connection read to its
//               end and stored at PATH in the system's file system; a QDLS
//               name that is not 8.3 is refused with "1100 <reason>"
//   0004        "1001" (the data has ended by then)
//   0006 L P    CALL PGM(L/PCWVDCL) PARM(P) through the host's runner, then
//               "1001", or "1100" and the host's messages
//   0005        the connection closes
//
// A request has no end mark: it is its five header characters and what
// arrives after them until the connection is quiet for a moment. Replies
// end with LF (CR LF when asked). Every wait is bounded. Scripted faults
// replace the answer to one code: another reply line (for 0003 no listener
// is opened; for 0006 the program still runs), a close instead of a reply,
// or a stall (no reply until the server stops).

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace kwvd::fakes {

struct UploadRequest
{
    int code = 0;
    QString text;   // after the blank, Windows-1252
    QByteArray raw; // every byte that came
};

struct UploadedFile
{
    QString path; // as requested, "/QDLS/KWVD/PCIN/INVOICE.JVX"
    qint64 size = 0;
    QByteArray sha256; // hex
};

class FakeUploadServer
{
public:
    struct Options
    {
        QString system;
        quint16 port = 0; // 0: any free port
        int quietMs = 150;
        int waitMs = 10000;
        bool crlf = false;
    };

    enum class Action {
        Reply,
        Close,
        Stall,
    };
    struct Scripted
    {
        Action action = Action::Reply;
        QByteArray reply; // without the line end
    };

    explicit FakeUploadServer(Options options);
    ~FakeUploadServer();

    FakeUploadServer(const FakeUploadServer&) = delete;
    FakeUploadServer& operator=(const FakeUploadServer&) = delete;

    // Opens the listener and starts the thread; false with *error set.
    bool Start(QString* error = nullptr);
    void Stop();
    quint16 Port() const { return m_port; }

    // The answer to every later request of the code.
    void Script(int code, Scripted scripted);
    void ScriptReply(int code, const QByteArray& reply) { Script(code, {Action::Reply, reply}); }

    std::vector<UploadRequest> Requests() const;
    std::vector<UploadedFile> Files() const;
    // The requests' raw bytes in order, for checks of the exact wire form.
    std::vector<QByteArray> RawRequests() const;
    int Connections() const { return m_connections; }

    // Called on the server's thread after every request and stored file,
    // with one transcript line ("REQUEST 0003 /QDLS/...", "FILE <path>
    // <size> <sha256>"). The program prints them.
    void SetTranscriptSink(std::function<void(const QString& line)> sink);

    // Why a QDLS path is refused ("" when it is not): every component after
    // QDLS an 8.3 name.
    static QString QdlsRefusal(const QString& path);

private:
    void Run();
    void Serve(int connection);
    bool ReadRequest(int connection, UploadRequest& request);
    bool SendReply(int connection, const QByteArray& line);
    QByteArray ReceiveFile(const QString& path, int listener);
    QByteArray RunImport(const QString& text);
    void Note(const QString& line);
    bool Stopping() const { return m_stop.load(); }

    Options m_options;
    int m_listener = -1;
    quint16 m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};

    mutable std::mutex m_lock;
    std::map<int, Scripted> m_script;
    std::vector<UploadRequest> m_requests;
    std::vector<UploadedFile> m_files;
    std::function<void(const QString&)> m_sink;
};

} // namespace kwvd::fakes
