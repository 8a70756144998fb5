#include "platform/registry/RegistryNode.h"

#include <algorithm>

namespace kwvd {

namespace {

char16_t FoldAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

} // namespace

bool RegistryNode::SameName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i].unicode()) != FoldAscii(b[i].unicode()))
            return false;
    }
    return true;
}

bool RegistryNode::IsValidKeyName(QStringView name)
{
    if (name.isEmpty())
        return false;
    return std::none_of(name.begin(), name.end(),
                        [](QChar c) { return c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

bool RegistryNode::SplitPath(QStringView path, QStringList& names)
{
    names.clear();
    if (path.isEmpty())
        return true;
    // One name at a time, so a long hand-made path fails at the depth limit
    // before anything is built for it.
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = path.indexOf(u'\\', start);
        const QStringView name = path.mid(start, end < 0 ? -1 : end - start);
        if (!IsValidKeyName(name) || names.size() >= kMaxDepth) {
            names.clear();
            return false;
        }
        names.append(name.toString());
        if (end < 0)
            return true;
        start = end + 1;
    }
}

RegistryNode* RegistryNode::Child(QStringView name) const
{
    for (const auto& child : m_children) {
        if (SameName(child->m_name, name))
            return child.get();
    }
    return nullptr;
}

RegistryNode& RegistryNode::AddChild(QString name)
{
    m_children.push_back(std::make_unique<RegistryNode>(std::move(name)));
    return *m_children.back();
}

bool RegistryNode::RemoveChild(QStringView name)
{
    const auto it = std::find_if(m_children.begin(), m_children.end(),
                                 [name](const auto& child) { return SameName(child->m_name, name); });
    if (it == m_children.end())
        return false;
    m_children.erase(it);
    return true;
}

RegistryNode* RegistryNode::Find(const QStringList& names)
{
    RegistryNode* node = this;
    for (const QString& name : names) {
        node = node->Child(name);
        if (!node)
            return nullptr;
    }
    return node;
}

RegistryNode& RegistryNode::FindOrCreate(const QStringList& names, int* created)
{
    RegistryNode* node = this;
    for (const QString& name : names) {
        RegistryNode* child = node->Child(name);
        if (!child) {
            child = &node->AddChild(name);
            if (created)
                ++*created;
        }
        node = child;
    }
    return *node;
}

const RegistryValue* RegistryNode::Value(QStringView name) const
{
    for (const auto& [valueName, value] : m_values) {
        if (SameName(valueName, name))
            return &value;
    }
    return nullptr;
}

bool RegistryNode::SetValue(QStringView name, const RegistryValue& value)
{
    for (auto& [valueName, stored] : m_values) {
        if (SameName(valueName, name)) {
            if (stored == value)
                return false;
            stored = value;
            return true;
        }
    }
    m_values.emplace_back(name.toString(), value);
    return true;
}

bool RegistryNode::RemoveValue(QStringView name)
{
    const auto it =
        std::find_if(m_values.begin(), m_values.end(), [name](const NamedValue& v) { return SameName(v.first, name); });
    if (it == m_values.end())
        return false;
    m_values.erase(it);
    return true;
}

} // namespace kwvd
