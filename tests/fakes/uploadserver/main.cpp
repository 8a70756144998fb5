// fake-upload-server: the host's transfer server on 127.0.0.1 over the
// emulated host, for tests that need a process and for trying the socket
// export by hand. It prints its port on the first line, then one transcript
// line per request and stored file, and runs until it is terminated.

#include "tests/fakes/uploadserver/FakeUploadServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <mutex>

#include <unistd.h>

using kwvd::fakes::FakeUploadServer;

namespace {

const char kUsage[] = "usage: fake-upload-server --store DIR --system NAME [--port N] [--crlf]\n"
                      "                          [--reply CODE=TEXT]... [--close CODE]... [--stall CODE]...\n"
                      "  --port N          the port to listen on (0, the default: any free port)\n"
                      "  --crlf            replies end with CR LF\n"
                      "  --reply CODE=TEXT answer requests of CODE with the line TEXT (\"6=1200 warnings\")\n"
                      "  --close CODE      close the connection instead of answering CODE\n"
                      "  --stall CODE      never answer CODE\n";

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int)
{
    g_stop = 1;
}

int Usage()
{
    std::fputs(kUsage, stderr);
    return 2;
}

bool ParseCode(const QString& text, int* code)
{
    bool ok = false;
    *code = text.toInt(&ok);
    return ok && *code >= 0 && *code <= 9999;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    FakeUploadServer::Options options;
    QString store;
    std::vector<std::pair<int, FakeUploadServer::Scripted>> script;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        int code = 0;
        if (arg == QStringLiteral("--crlf")) {
            options.crlf = true;
        } else if (!hasValue) {
            return Usage();
        } else if (arg == QStringLiteral("--store")) {
            store = args[++i];
        } else if (arg == QStringLiteral("--system")) {
            options.system = args[++i];
        } else if (arg == QStringLiteral("--port")) {
            bool ok = false;
            const uint port = args[++i].toUInt(&ok);
            if (!ok || port > 65535)
                return Usage();
            options.port = static_cast<quint16>(port);
        } else if (arg == QStringLiteral("--reply")) {
            const QString value = args[++i];
            const qsizetype equals = value.indexOf(u'=');
            if (equals < 0 || !ParseCode(value.left(equals), &code))
                return Usage();
            script.push_back({code, {FakeUploadServer::Action::Reply, value.mid(equals + 1).toLatin1()}});
        } else if (arg == QStringLiteral("--close") || arg == QStringLiteral("--stall")) {
            if (!ParseCode(args[++i], &code))
                return Usage();
            const auto action =
                arg == QStringLiteral("--close") ? FakeUploadServer::Action::Close : FakeUploadServer::Action::Stall;
            script.push_back({code, {action, {}}});
        } else {
            return Usage();
        }
    }
    if (store.isEmpty() || options.system.isEmpty())
        return Usage();
    qputenv("KWVD_EMUHOST", QFile::encodeName(store));

    FakeUploadServer server(options);
    for (const auto& [code, scripted] : script)
        server.Script(code, scripted);
    std::mutex printing;
    server.SetTranscriptSink([&printing](const QString& line) {
        std::lock_guard lock(printing);
        std::printf("%s\n", line.toUtf8().constData());
        std::fflush(stdout);
    });
    QString error;
    if (!server.Start(&error)) {
        std::fprintf(stderr, "fake-upload-server: %s\n", error.toUtf8().constData());
        return 1;
    }
    {
        std::lock_guard lock(printing);
        std::printf("%u\n", unsigned(server.Port()));
        std::fflush(stdout);
    }

    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    while (!g_stop)
        usleep(50 * 1000);
    server.Stop();
    return 0;
}
