#include "designer/document/LocalHostName.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <climits>

namespace {

std::optional<QString>& OverrideName()
{
    static std::optional<QString> name;
    return name;
}

std::optional<QString>& CachedName()
{
    static std::optional<QString> name;
    return name;
}

QString LookUpHostName()
{
    char host[HOST_NAME_MAX + 1] = {};
    if (gethostname(host, sizeof host - 1) != 0)
        return {};
    const QString plain = QString::fromLocal8Bit(host);

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || found == nullptr)
        return plain;

    QString result;
    if (found->ai_canonname != nullptr && found->ai_canonname[0] != '\0') {
        result = QString::fromLocal8Bit(found->ai_canonname);
    } else {
        char dotted[INET6_ADDRSTRLEN] = {};
        const void* address = nullptr;
        if (found->ai_family == AF_INET)
            address = &reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
        else if (found->ai_family == AF_INET6)
            address = &reinterpret_cast<const sockaddr_in6*>(found->ai_addr)->sin6_addr;
        if (address != nullptr && inet_ntop(found->ai_family, address, dotted, sizeof dotted) != nullptr)
            result = QString::fromLatin1(dotted);
    }
    freeaddrinfo(found);
    return result.isEmpty() ? plain : result;
}

} // namespace

void GetLocalHostName(QString& name)
{
    if (OverrideName()) {
        name = *OverrideName();
        return;
    }
    if (!CachedName())
        CachedName() = LookUpHostName();
    name = *CachedName();
}

void SetLocalHostNameOverride(std::optional<QString> name)
{
    OverrideName() = std::move(name);
}
