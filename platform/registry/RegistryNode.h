#pragma once
// One key of a root's tree in memory: its values and subkeys, each kept in the
// order it was created. Names keep their case and match without regard to
// ASCII case.

#include "platform/registry/RegistryValue.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <utility>
#include <vector>

namespace kwvd {

class RegistryNode
{
public:
    using NamedValue = std::pair<QString, RegistryValue>;

    explicit RegistryNode(QString name = {}) : m_name(std::move(name)) {}

    RegistryNode(const RegistryNode&) = delete;
    RegistryNode& operator=(const RegistryNode&) = delete;
    RegistryNode(RegistryNode&&) = default;
    RegistryNode& operator=(RegistryNode&&) = default;

    static bool SameName(QStringView a, QStringView b);

    // Not empty, no "\" (the path separator) and no control characters, which
    // the file's section lines could not carry.
    static bool IsValidKeyName(QStringView name);

    // Keys nest at most this deep, so that a hand-edited file cannot make the
    // recursive walks over a tree run out of stack.
    static constexpr qsizetype kMaxDepth = 512;

    // The names of a "\"-separated path, or false when any is not valid or
    // there are more than kMaxDepth. An empty path is the key itself.
    static bool SplitPath(QStringView path, QStringList& names);

    const QString& Name() const { return m_name; }
    const std::vector<NamedValue>& Values() const { return m_values; }
    const std::vector<std::unique_ptr<RegistryNode>>& Children() const { return m_children; }

    RegistryNode* Child(QStringView name) const;
    RegistryNode& AddChild(QString name);
    bool RemoveChild(QStringView name);

    // The key at the path below this one, or null.
    RegistryNode* Find(const QStringList& names);

    // Finds or creates the keys of the path; counts the keys it created.
    RegistryNode& FindOrCreate(const QStringList& names, int* created = nullptr);

    const RegistryValue* Value(QStringView name) const;

    // A new name goes last; an existing one keeps its place and its case.
    // Returns whether anything changed.
    bool SetValue(QStringView name, const RegistryValue& value);
    bool RemoveValue(QStringView name);

private:
    QString m_name;
    std::vector<NamedValue> m_values;
    std::vector<std::unique_ptr<RegistryNode>> m_children;
};

} // namespace kwvd
