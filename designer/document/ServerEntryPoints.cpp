#include "designer/document/ServerEntryPoints.h"

#include <utility>

namespace {

ServerEntryPointLookup& Lookup()
{
    static ServerEntryPointLookup lookup;
    return lookup;
}

} // namespace

ServerEntryPointLookup SetServerEntryPointLookup(ServerEntryPointLookup lookup)
{
    ServerEntryPointLookup previous = std::move(Lookup());
    Lookup() = std::move(lookup);
    return previous;
}

void* FindServerEntryPoint(const char* name)
{
    const ServerEntryPointLookup& lookup = Lookup();
    if (!lookup || name == nullptr)
        return nullptr;
    return lookup(name);
}
