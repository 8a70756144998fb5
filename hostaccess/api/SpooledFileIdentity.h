#pragma once
// The host's names and attributes of one spooled file: twelve fixed-width
// text fields laid out one after another, each followed by a NUL, 130
// UTF-16 units in all. The record crosses between the designer and the host
// access library as it stands, so it stays flat: no pointers, no virtuals, no
// other members. Its WVD form belongs to the designer's model.

#include "platform/framework/Types.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <type_traits>

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

    void Clear() { std::memset(static_cast<void*>(this), 0, sizeof *this); }

    // Each field up to its NUL.
    QString GetOutputQueue() const { return ReadField(m_outq); }
    QString GetOutputQueueLibrary() const { return ReadField(m_outqLibrary); }
    QString GetFileName() const { return ReadField(m_file); }
    QString GetUserName() const { return ReadField(m_user); }
    QString GetUserData() const { return ReadField(m_userData); }
    QString GetDate() const { return ReadField(m_date); }
    QString GetTime() const { return ReadField(m_time); }
    QString GetTotalPages() const { return ReadField(m_totalPages); }
    QString GetDbcsData() const { return ReadField(m_dbcsData); }
    QString GetDbcsExtensions() const { return ReadField(m_dbcsExtensions); }
    QString GetCharSet() const { return ReadField(m_charSet); }
    QString GetFormType() const { return ReadField(m_formType); }

    // Each copies at most the field's width, so its NUL always stays; a
    // longer text is cut without a word.
    void SetOutputQueue(const QString& text) { WriteField(m_outq, text); }
    void SetOutputQueueLibrary(const QString& text) { WriteField(m_outqLibrary, text); }
    void SetFileName(const QString& text) { WriteField(m_file, text); }
    void SetUserName(const QString& text) { WriteField(m_user, text); }
    void SetUserData(const QString& text) { WriteField(m_userData, text); }
    void SetDate(const QString& text) { WriteField(m_date, text); }
    void SetTime(const QString& text) { WriteField(m_time, text); }
    void SetTotalPages(const QString& text) { WriteField(m_totalPages, text); }
    void SetDbcsData(const QString& text) { WriteField(m_dbcsData, text); }
    void SetDbcsExtensions(const QString& text) { WriteField(m_dbcsExtensions, text); }
    void SetCharSet(const QString& text) { WriteField(m_charSet, text); }
    void SetFormType(const QString& text) { WriteField(m_formType, text); }

    void CopyFrom(const SpooledFileIdentity& source)
    {
        if (&source == this)
            return;
        Clear();
        SetOutputQueue(source.GetOutputQueue());
        SetOutputQueueLibrary(source.GetOutputQueueLibrary());
        SetFileName(source.GetFileName());
        SetUserName(source.GetUserName());
        SetUserData(source.GetUserData());
        SetDate(source.GetDate());
        SetTime(source.GetTime());
        SetTotalPages(source.GetTotalPages());
        SetDbcsData(source.GetDbcsData());
        SetDbcsExtensions(source.GetDbcsExtensions());
        SetCharSet(source.GetCharSet());
        SetFormType(source.GetFormType());
    }

    // Field by field, case counts.
    BOOL IsEqual(const SpooledFileIdentity& other) const
    {
        const bool equal = GetOutputQueue() == other.GetOutputQueue()
                           && GetOutputQueueLibrary() == other.GetOutputQueueLibrary()
                           && GetFileName() == other.GetFileName() && GetUserName() == other.GetUserName()
                           && GetUserData() == other.GetUserData() && GetDate() == other.GetDate()
                           && GetTime() == other.GetTime() && GetTotalPages() == other.GetTotalPages()
                           && GetDbcsData() == other.GetDbcsData()
                           && GetDbcsExtensions() == other.GetDbcsExtensions() && GetCharSet() == other.GetCharSet()
                           && GetFormType() == other.GetFormType();
        return equal ? TRUE : FALSE;
    }

private:
    template <std::size_t N>
    static QString ReadField(const char16_t (&field)[N])
    {
        qsizetype length = 0;
        while (length < static_cast<qsizetype>(N) && field[length] != 0)
            ++length;
        return QString(reinterpret_cast<const QChar*>(field), length);
    }

    // Copies at most N - 1 units and zeroes the rest, the NUL included.
    template <std::size_t N>
    static void WriteField(char16_t (&field)[N], const QString& text)
    {
        const qsizetype width = static_cast<qsizetype>(N - 1);
        qsizetype length = std::min(text.size(), width);
        // Half a surrogate pair is no character at all: a cut drops it whole.
        if (length == width && length < text.size() && text.at(length - 1).isHighSurrogate())
            --length;
        std::fill(std::begin(field), std::end(field), char16_t(0));
        std::copy_n(reinterpret_cast<const char16_t*>(text.constData()), length, field);
    }

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
