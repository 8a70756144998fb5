#include "platform/ui/StringTable.h"

#include <mutex>
#include <unordered_map>

namespace {

struct Strings
{
    std::mutex mutex;
    std::unordered_map<UINT, QString> builtIn;
    std::shared_ptr<StringSource> source;
};

Strings& strings()
{
    static Strings table;
    return table;
}

} // namespace

void StringTable::Add(UINT id, const QString& text)
{
    Strings& table = strings();
    std::lock_guard lock(table.mutex);
    table.builtIn.insert_or_assign(id, text);
}

void StringTable::Add(std::span<const Entry> entries)
{
    Strings& table = strings();
    std::lock_guard lock(table.mutex);
    for (const Entry& entry : entries) {
        if (entry.text)
            table.builtIn.insert_or_assign(entry.id, QString::fromUtf8(entry.text));
    }
}

std::shared_ptr<StringSource> StringTable::SetSource(std::shared_ptr<StringSource> source)
{
    Strings& table = strings();
    std::lock_guard lock(table.mutex);
    std::swap(table.source, source);
    return source;
}

std::shared_ptr<StringSource> StringTable::GetSource()
{
    Strings& table = strings();
    std::lock_guard lock(table.mutex);
    return table.source;
}

std::optional<QString> StringTable::Find(UINT id, bool* fromSource)
{
    if (fromSource)
        *fromSource = false;
    Strings& table = strings();
    std::shared_ptr<StringSource> source;
    {
        std::lock_guard lock(table.mutex);
        source = table.source;
    }
    // Asked outside the lock: a source may itself load strings lazily.
    if (source) {
        if (std::optional<QString> text = source->Lookup(id)) {
            if (fromSource)
                *fromSource = true;
            return text;
        }
    }
    std::lock_guard lock(table.mutex);
    const auto found = table.builtIn.find(id);
    if (found == table.builtIn.end())
        return std::nullopt;
    return found->second;
}

QString LoadResString(UINT id)
{
    return StringTable::Find(id).value_or(QStringLiteral("???"));
}
