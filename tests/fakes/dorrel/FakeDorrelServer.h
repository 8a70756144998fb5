#pragma once
// A stand-in for the host's HTTP catalogue server, for tests: one thread
// serving HTTP/1.1 on 127.0.0.1 at a port the kernel picks, one connection
// at a time, each answer closing its connection.
//
// Under the base address (which may carry a path prefix) it answers
//   <prefix>/docStore/store/                        the store list
//   <prefix>/docStore/store/<encoded name>/docTypeKey/   one store's details
// from the stores it was given, and 404 for anything else. A path can be
// scripted to answer otherwise: any status, a redirect, a body that is not
// XML, an oversized body, a stall, or a connection closed without an answer.
// Every request is logged with its path and headers.
//
// Every wait is bounded: a request head must arrive within a few seconds, a
// stall ends when the client gives up (or after a minute at most), and the
// destructor wakes the thread and joins it.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace fakes {

struct DorrelRequest
{
    std::string method;
    std::string path;                           // as sent, still percent-encoded
    std::map<std::string, std::string> headers; // names in lower case

    std::string Header(const std::string& lowerName) const
    {
        const auto it = headers.find(lowerName);
        return it == headers.end() ? std::string() : it->second;
    }
};

struct DorrelAnswer
{
    enum class Kind {
        Normal, // status line, headers, body
        Stall,  // reads the request, then sends nothing
        Close,  // reads the request, then closes without a byte
    };

    Kind kind = Kind::Normal;
    int status = 200;
    std::string reason = "OK";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::size_t fillBytes = 0; // this many 'x' bytes follow the body
    bool chunked = false;      // no Content-Length; chunked transfer

    static DorrelAnswer Xml(std::string body, std::string contentType = "text/xml; charset=utf-8")
    {
        DorrelAnswer answer;
        answer.headers.emplace_back("Content-Type", std::move(contentType));
        answer.body = std::move(body);
        return answer;
    }
    static DorrelAnswer Status(int status, std::string reason, std::string body = {})
    {
        DorrelAnswer answer;
        answer.status = status;
        answer.reason = std::move(reason);
        answer.body = std::move(body);
        return answer;
    }
    static DorrelAnswer Redirect(std::string location, int status = 301, std::string reason = "Moved Permanently")
    {
        DorrelAnswer answer = Status(status, std::move(reason));
        answer.headers.emplace_back("Location", std::move(location));
        return answer;
    }
    static DorrelAnswer Oversized(std::size_t bytes, bool chunked)
    {
        DorrelAnswer answer = Xml("<KWVD>");
        answer.fillBytes = bytes;
        answer.chunked = chunked;
        return answer;
    }
    static DorrelAnswer Stall()
    {
        DorrelAnswer answer;
        answer.kind = Kind::Stall;
        return answer;
    }
    static DorrelAnswer Close()
    {
        DorrelAnswer answer;
        answer.kind = Kind::Close;
        return answer;
    }
};

struct FakeStore
{
    std::string name; // UTF-8
    std::string description;
    std::string library;
    // The XML that goes inside the store element of the details answer,
    // after its name: the docStoreKeys, documentTypes and documentTypeKeys
    // sections as the test wants them.
    std::string details;
};

class FakeDorrelServer
{
public:
    explicit FakeDorrelServer(std::string prefix = {}) : m_prefix(std::move(prefix))
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_listen < 0)
            throw std::runtime_error("fake server: no socket");
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t length = sizeof(address);
        if (::bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || ::listen(m_listen, 8) != 0
            || ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length) != 0
            || ::pipe2(m_wake, O_CLOEXEC) != 0) {
            ::close(m_listen);
            throw std::runtime_error("fake server: cannot listen on 127.0.0.1");
        }
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }

    ~FakeDorrelServer()
    {
        const char stop = 'x';
        [[maybe_unused]] const ssize_t written = ::write(m_wake[1], &stop, 1);
        m_thread.join();
        ::close(m_listen);
        ::close(m_wake[0]);
        ::close(m_wake[1]);
    }

    FakeDorrelServer(const FakeDorrelServer&) = delete;
    FakeDorrelServer& operator=(const FakeDorrelServer&) = delete;

    int Port() const { return m_port; }
    // "http://127.0.0.1:<port><prefix>", no trailing slash.
    std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(m_port) + m_prefix; }
    std::string StoreListPath() const { return m_prefix + "/docStore/store/"; }
    std::string DetailsPath(const std::string& encodedName) const
    {
        return m_prefix + "/docStore/store/" + encodedName + "/docTypeKey/";
    }

    void AddStore(FakeStore store)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stores.push_back(std::move(store));
    }

    // Every later request of exactly this path (prefix included, still
    // encoded) gets the answer.
    void Script(const std::string& path, DorrelAnswer answer)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_scripted[path] = std::move(answer);
    }

    std::vector<DorrelRequest> Requests() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requests;
    }

    std::vector<std::string> RequestPaths() const
    {
        std::vector<std::string> paths;
        for (const DorrelRequest& request : Requests())
            paths.push_back(request.path);
        return paths;
    }

    static std::string EscapeXml(const std::string& text)
    {
        std::string escaped;
        for (char c : text) {
            switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            default:
                escaped += c;
                break;
            }
        }
        return escaped;
    }

private:
    static constexpr int kHeadTimeoutMs = 5000;
    static constexpr int kStallLimitMs = 60000;
    static constexpr std::size_t kMaxHead = 64 * 1024;

    void Serve()
    {
        for (;;) {
            pollfd fds[2] = {{m_listen, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR)
                    continue;
                return;
            }
            if (fds[1].revents != 0)
                return;
            if ((fds[0].revents & POLLIN) == 0)
                continue;
            const int client = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            const bool stop = Handle(client);
            ::close(client);
            if (stop)
                return;
        }
    }

    // Waits for the client or the stop signal; true when stopping.
    bool WaitFor(int client, short events, int timeoutMs, bool& ready)
    {
        pollfd fds[2] = {{client, events, 0}, {m_wake[0], POLLIN, 0}};
        const int result = ::poll(fds, 2, timeoutMs);
        ready = result > 0 && fds[0].revents != 0;
        return result > 0 && fds[1].revents != 0;
    }

    // Returns true when the server is being stopped.
    bool Handle(int client)
    {
        std::string head;
        while (head.find("\r\n\r\n") == std::string::npos) {
            bool ready = false;
            if (WaitFor(client, POLLIN, kHeadTimeoutMs, ready))
                return true;
            if (!ready || head.size() > kMaxHead)
                return false;
            char buffer[4096];
            const ssize_t got = ::recv(client, buffer, sizeof(buffer), 0);
            if (got <= 0)
                return false;
            head.append(buffer, static_cast<std::size_t>(got));
        }

        DorrelRequest request = ParseHead(head);
        DorrelAnswer answer;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_requests.push_back(request);
            const auto scripted = m_scripted.find(request.path);
            answer = scripted != m_scripted.end() ? scripted->second : DefaultAnswer(request.path);
        }

        switch (answer.kind) {
        case DorrelAnswer::Kind::Close:
            return false;
        case DorrelAnswer::Kind::Stall: {
            // Until the client hangs up.
            bool ready = false;
            return WaitFor(client, POLLIN, kStallLimitMs, ready);
        }
        case DorrelAnswer::Kind::Normal:
            break;
        }
        Send(client, answer);
        return false;
    }

    static DorrelRequest ParseHead(const std::string& head)
    {
        DorrelRequest request;
        const std::size_t lineEnd = head.find("\r\n");
        const std::string first = head.substr(0, lineEnd);
        const std::size_t space1 = first.find(' ');
        const std::size_t space2 = first.find(' ', space1 == std::string::npos ? 0 : space1 + 1);
        if (space1 != std::string::npos) {
            request.method = first.substr(0, space1);
            request.path =
                first.substr(space1 + 1, space2 == std::string::npos ? std::string::npos : space2 - space1 - 1);
        }
        std::size_t pos = lineEnd + 2;
        while (pos < head.size()) {
            const std::size_t end = head.find("\r\n", pos);
            if (end == std::string::npos || end == pos)
                break;
            const std::string line = head.substr(pos, end - pos);
            const std::size_t colon = line.find(':');
            if (colon != std::string::npos) {
                std::string name = line.substr(0, colon);
                std::transform(name.begin(), name.end(), name.begin(),
                               [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
                std::string value = line.substr(colon + 1);
                value.erase(0, value.find_first_not_of(' '));
                request.headers[name] = value;
            }
            pos = end + 2;
        }
        return request;
    }

    static std::string PercentDecode(const std::string& text)
    {
        std::string decoded;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1]))
                && std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
                decoded += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                decoded += text[i];
            }
        }
        return decoded;
    }

    DorrelAnswer DefaultAnswer(const std::string& path) const
    {
        const std::string list = StoreListPath();
        if (path == list) {
            std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KWVD><docStore>";
            for (const FakeStore& store : m_stores)
                xml += "<store><name>" + EscapeXml(store.name) + "</name><description>" + EscapeXml(store.description)
                       + "</description><library>" + EscapeXml(store.library) + "</library></store>";
            xml += "</docStore></KWVD>\n";
            return DorrelAnswer::Xml(xml);
        }
        const std::string tail = "/docTypeKey/";
        if (path.size() > list.size() + tail.size() && path.compare(0, list.size(), list) == 0
            && path.compare(path.size() - tail.size(), tail.size(), tail) == 0) {
            const std::string encoded = path.substr(list.size(), path.size() - list.size() - tail.size());
            if (encoded.find('/') == std::string::npos) {
                const std::string name = PercentDecode(encoded);
                for (const FakeStore& store : m_stores) {
                    if (store.name == name)
                        return DorrelAnswer::Xml(
                            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KWVD><docStore><store><name>"
                            + EscapeXml(store.name) + "</name>" + store.details + "</store></docStore></KWVD>\n");
                }
            }
        }
        return DorrelAnswer::Status(404, "Not Found", "no such path");
    }

    static bool SendAll(int client, const char* data, std::size_t size)
    {
        while (size > 0) {
            pollfd fd{client, POLLOUT, 0};
            if (::poll(&fd, 1, kHeadTimeoutMs) <= 0)
                return false;
            const ssize_t sent = ::send(client, data, size, MSG_NOSIGNAL);
            if (sent <= 0)
                return false;
            data += sent;
            size -= static_cast<std::size_t>(sent);
        }
        return true;
    }

    static void Send(int client, const DorrelAnswer& answer)
    {
        std::string head = "HTTP/1.1 " + std::to_string(answer.status) + " " + answer.reason + "\r\n";
        for (const auto& [name, value] : answer.headers)
            head += name + ": " + value + "\r\n";
        const std::size_t total = answer.body.size() + answer.fillBytes;
        if (answer.chunked)
            head += "Transfer-Encoding: chunked\r\n";
        else
            head += "Content-Length: " + std::to_string(total) + "\r\n";
        head += "Connection: close\r\n\r\n";
        if (!SendAll(client, head.data(), head.size()))
            return;

        const std::string fill(64 * 1024, 'x');
        auto sendBlock = [&](const char* data, std::size_t size) {
            if (size == 0)
                return true;
            if (!answer.chunked)
                return SendAll(client, data, size);
            char sizeLine[32];
            const int length = std::snprintf(sizeLine, sizeof(sizeLine), "%zx\r\n", size);
            return SendAll(client, sizeLine, static_cast<std::size_t>(length)) && SendAll(client, data, size)
                   && SendAll(client, "\r\n", 2);
        };
        if (!sendBlock(answer.body.data(), answer.body.size()))
            return;
        for (std::size_t left = answer.fillBytes; left > 0;) {
            const std::size_t block = std::min(left, fill.size());
            if (!sendBlock(fill.data(), block))
                return; // the client gave up
            left -= block;
        }
        if (answer.chunked)
            SendAll(client, "0\r\n\r\n", 5);
    }

    std::string m_prefix;
    int m_listen = -1;
    int m_wake[2] = {-1, -1};
    int m_port = 0;
    std::thread m_thread;

    mutable std::mutex m_mutex;
    std::vector<FakeStore> m_stores;
    std::map<std::string, DorrelAnswer> m_scripted;
    std::vector<DorrelRequest> m_requests;
};

} // namespace fakes
