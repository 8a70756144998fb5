#pragma once
// A language bundle: the translated texts of one user-interface language,
// read from a UTF-8 text file (the format is in README.md beside this
// header). Installed with StringTable::SetSource it answers every string id
// it has; the built-in texts answer the rest. It may also move the program's
// keyboard accelerators. A bundle is outside data: the reader checks every
// line and refuses the whole file at the first fault, so a half-read bundle
// never reaches the user.

#include "platform/framework/Types.h"
#include "platform/ui/StringSource.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class LanguageBundle : public StringSource
{
public:
    struct Accelerator
    {
        QString key; // one key chord in Qt's portable form, "Ctrl+Shift+F"
        UINT command;
    };

    // What the reader accepts at most.
    static constexpr qsizetype kMaxFileSize = 8 * 1024 * 1024;
    static constexpr qsizetype kMaxLineSize = 64 * 1024;

    // The bundle in the file, or null with the reason in error.
    static std::shared_ptr<LanguageBundle> Load(const QString& path, QString* error = nullptr);
    static std::shared_ptr<LanguageBundle> Parse(QByteArrayView bytes, QString* error = nullptr);

    // The language its first line names; only that line of the file is
    // read. 0 when the file cannot be opened or the line is not a header of
    // a version this reader knows.
    static WORD ReadFileLanguage(const QString& path);
    static WORD ParseHeader(QByteArrayView line);

    WORD Language() const { return m_language; }
    std::optional<QString> Lookup(UINT id) const override;
    // In file order; empty when the bundle has no accelerator section.
    const std::vector<Accelerator>& Accelerators() const { return m_accelerators; }

private:
    LanguageBundle() = default;

    WORD m_language = 0;
    std::unordered_map<UINT, QString> m_texts;
    std::vector<Accelerator> m_accelerators;
};
