#pragma once
// Where the model finds the host access library's entry points. The library
// is loaded by the program, above the model, so the program binds its lookup
// here at start, as it binds the translator factory; without a binding, or
// without the library, every name gives null.

#include <functional>

// The entry point exported under the name, or null.
using ServerEntryPointLookup = std::function<void*(const char* name)>;

// Returns the lookup it replaces; an empty one means "no library".
ServerEntryPointLookup SetServerEntryPointLookup(ServerEntryPointLookup lookup);

// The entry point of the name as the type of hostaccess/api/EntryPoints.h,
// or null.
void* FindServerEntryPoint(const char* name);
template <class Proc>
Proc FindServerEntryPoint(const char* name)
{
    return reinterpret_cast<Proc>(FindServerEntryPoint(name));
}
