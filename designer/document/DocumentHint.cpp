#include "designer/document/DesignerDoc.h"

QString DocumentHintName(int hint)
{
    struct Entry
    {
        int hint;
        const char* name;
    };
    static constexpr Entry kNames[] = {
        {DocumentHint::ElementChanged, "ElementChanged"},     {DocumentHint::SourceRectChanged, "SourceRectChanged"},
        {DocumentHint::DestRectChanged, "DestRectChanged"},   {DocumentHint::ElementReparented, "ElementReparented"},
        {DocumentHint::SelectionChanged, "SelectionChanged"}, {DocumentHint::ElementAdded, "ElementAdded"},
        {DocumentHint::ElementRemoved, "ElementRemoved"},     {DocumentHint::SpooledPageChanged, "SpooledPageChanged"},
        {DocumentHint::OutputViewRefit, "OutputViewRefit"},   {DocumentHint::PageSetupChanged, "PageSetupChanged"},
        {DocumentHint::OptionsChanged, "OptionsChanged"},     {DocumentHint::RestoreBegins, "RestoreBegins"},
        {DocumentHint::RestoreEnds, "RestoreEnds"},           {DocumentHint::NewOrOpenDone, "NewOrOpenDone"},
    };
    for (const Entry& e : kNames)
        if (e.hint == hint)
            return QString::fromLatin1(e.name);
    return QStringLiteral("hint %1").arg(hint);
}
