#pragma once
// The system's strings by id. Each subsystem adds its own (UK English) texts
// at start-up through its registration function; an installed StringSource
// is asked first, the built-in texts are the fallback.

#include "platform/framework/Types.h"
#include "platform/ui/StringSource.h"

#include <QString>

#include <memory>
#include <optional>
#include <span>

class StringTable
{
public:
    struct Entry
    {
        UINT id;
        const char* text; // UTF-8
    };

    // A later text for the same id replaces the earlier one.
    static void Add(UINT id, const QString& text);
    static void Add(std::span<const Entry> entries);

    // Installs the source asked before the built-in texts; nullptr removes
    // it. Returns the source installed before.
    static std::shared_ptr<StringSource> SetSource(std::shared_ptr<StringSource> source);
    // The source installed now; null: the built-in texts alone.
    static std::shared_ptr<StringSource> GetSource();

    // The text of the id from the source, else the built-in one. fromSource
    // (may be null) tells which answered: a source's text is outside data.
    static std::optional<QString> Find(UINT id, bool* fromSource = nullptr);
};

// The text of the id, or "???" when no one has it.
QString LoadResString(UINT id);
