#pragma once
// A source of the system's strings that replaces the built-in ones, such as
// a language library: asked first for every id.

#include "platform/framework/Types.h"

#include <QString>

#include <optional>

class StringSource
{
public:
    virtual ~StringSource() = default;

    // Nothing when this source has no text for the id.
    virtual std::optional<QString> Lookup(UINT id) const = 0;
};
