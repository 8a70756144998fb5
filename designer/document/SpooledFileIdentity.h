#pragma once
// The host's names and attributes of one spooled file: twelve fixed-width
// text fields laid out one after another, each followed by a NUL, 130
// UTF-16 units in all. The record crosses into the host access library as it
// stands, so it stays flat: no pointers, no virtuals, no other members.

#include "platform/framework/Types.h"

#include <QString>

#include <cstddef>
#include <type_traits>

class CArchive;

class SpooledFileIdentity
{
public:
    static constexpr int kOutputQueueWidth = 10;
    static constexpr int kOutputQueueLibraryWidth = 10;
    static constexpr int kFileNameWidth = 10;
    static constexpr int kUserNameWidth = 10;
    static constexpr int kUserDataWidth = 12;
    static constexpr int kDateWidth = 8;
    static constexpr int kTimeWidth = 8;
    static constexpr int kTotalPagesWidth = 10;
    static constexpr int kDbcsDataWidth = 10;
    static constexpr int kDbcsExtensionsWidth = 10;
    static constexpr int kCharSetWidth = 10;
    static constexpr int kFormTypeWidth = 10;
    static constexpr int kRecordLength = 130;

    // Every character 0.
    SpooledFileIdentity() { Clear(); }

    void Clear();

    // Each field up to its NUL.
    QString GetOutputQueue() const;
    QString GetOutputQueueLibrary() const;
    QString GetFileName() const;
    QString GetUserName() const;
    QString GetUserData() const;
    QString GetDate() const;
    QString GetTime() const;
    QString GetTotalPages() const;
    QString GetDbcsData() const;
    QString GetDbcsExtensions() const;
    QString GetCharSet() const;
    QString GetFormType() const;

    // Each copies at most the field's width, so its NUL always stays; a
    // longer text is cut without a word.
    void SetOutputQueue(const QString& text);
    void SetOutputQueueLibrary(const QString& text);
    void SetFileName(const QString& text);
    void SetUserName(const QString& text);
    void SetUserData(const QString& text);
    void SetDate(const QString& text);
    void SetTime(const QString& text);
    void SetTotalPages(const QString& text);
    void SetDbcsData(const QString& text);
    void SetDbcsExtensions(const QString& text);
    void SetCharSet(const QString& text);
    void SetFormType(const QString& text);

    void CopyFrom(const SpooledFileIdentity& source);
    // Field by field, case counts.
    BOOL IsEqual(const SpooledFileIdentity& other) const;

    // Twelve strings in field order. The record has no schema of its own:
    // loading uses the archive's current object schema, which the container
    // sets for it (5 and up adds the DBCS and character-set fields, 6 and
    // up the form type). A short archive leaves the identity as it was.
    void Serialize(CArchive& ar);

private:
    char16_t m_outq[kOutputQueueWidth + 1];
    char16_t m_outqLibrary[kOutputQueueLibraryWidth + 1];
    char16_t m_file[kFileNameWidth + 1];
    char16_t m_user[kUserNameWidth + 1];
    char16_t m_userData[kUserDataWidth + 1];
    char16_t m_date[kDateWidth + 1];
    char16_t m_time[kTimeWidth + 1];
    char16_t m_totalPages[kTotalPagesWidth + 1];
    char16_t m_dbcsData[kDbcsDataWidth + 1];
    char16_t m_dbcsExtensions[kDbcsExtensionsWidth + 1];
    char16_t m_charSet[kCharSetWidth + 1];
    char16_t m_formType[kFormTypeWidth + 1];
};

static_assert(std::is_standard_layout_v<SpooledFileIdentity>);
static_assert(std::is_trivially_copyable_v<SpooledFileIdentity>);
static_assert(sizeof(SpooledFileIdentity) == SpooledFileIdentity::kRecordLength * sizeof(char16_t));
