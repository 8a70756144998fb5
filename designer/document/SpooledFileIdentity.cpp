#include "designer/document/SpooledFileIdentity.h"

#include "platform/framework/Archive.h"

#include <algorithm>
#include <cstring>

namespace {

template <std::size_t N>
QString ReadField(const char16_t (&field)[N])
{
    qsizetype length = 0;
    while (length < static_cast<qsizetype>(N) && field[length] != 0)
        ++length;
    return QString(reinterpret_cast<const QChar*>(field), length);
}

// Copies at most N - 1 units and zeroes the rest, the NUL included.
template <std::size_t N>
void WriteField(char16_t (&field)[N], const QString& text)
{
    const qsizetype width = static_cast<qsizetype>(N - 1);
    qsizetype length = std::min(text.size(), width);
    // Half a surrogate pair is no character at all: a cut drops it whole.
    if (length == width && length < text.size() && text.at(length - 1).isHighSurrogate())
        --length;
    std::fill(std::begin(field), std::end(field), char16_t(0));
    std::copy_n(reinterpret_cast<const char16_t*>(text.constData()), length, field);
}

} // namespace

void SpooledFileIdentity::Clear()
{
    std::memset(static_cast<void*>(this), 0, sizeof *this);
}

QString SpooledFileIdentity::GetOutputQueue() const
{
    return ReadField(m_outq);
}
QString SpooledFileIdentity::GetOutputQueueLibrary() const
{
    return ReadField(m_outqLibrary);
}
QString SpooledFileIdentity::GetFileName() const
{
    return ReadField(m_file);
}
QString SpooledFileIdentity::GetUserName() const
{
    return ReadField(m_user);
}
QString SpooledFileIdentity::GetUserData() const
{
    return ReadField(m_userData);
}
QString SpooledFileIdentity::GetDate() const
{
    return ReadField(m_date);
}
QString SpooledFileIdentity::GetTime() const
{
    return ReadField(m_time);
}
QString SpooledFileIdentity::GetTotalPages() const
{
    return ReadField(m_totalPages);
}
QString SpooledFileIdentity::GetDbcsData() const
{
    return ReadField(m_dbcsData);
}
QString SpooledFileIdentity::GetDbcsExtensions() const
{
    return ReadField(m_dbcsExtensions);
}
QString SpooledFileIdentity::GetCharSet() const
{
    return ReadField(m_charSet);
}
QString SpooledFileIdentity::GetFormType() const
{
    return ReadField(m_formType);
}

void SpooledFileIdentity::SetOutputQueue(const QString& text)
{
    WriteField(m_outq, text);
}
void SpooledFileIdentity::SetOutputQueueLibrary(const QString& text)
{
    WriteField(m_outqLibrary, text);
}
void SpooledFileIdentity::SetFileName(const QString& text)
{
    WriteField(m_file, text);
}
void SpooledFileIdentity::SetUserName(const QString& text)
{
    WriteField(m_user, text);
}
void SpooledFileIdentity::SetUserData(const QString& text)
{
    WriteField(m_userData, text);
}
void SpooledFileIdentity::SetDate(const QString& text)
{
    WriteField(m_date, text);
}
void SpooledFileIdentity::SetTime(const QString& text)
{
    WriteField(m_time, text);
}
void SpooledFileIdentity::SetTotalPages(const QString& text)
{
    WriteField(m_totalPages, text);
}
void SpooledFileIdentity::SetDbcsData(const QString& text)
{
    WriteField(m_dbcsData, text);
}
void SpooledFileIdentity::SetDbcsExtensions(const QString& text)
{
    WriteField(m_dbcsExtensions, text);
}
void SpooledFileIdentity::SetCharSet(const QString& text)
{
    WriteField(m_charSet, text);
}
void SpooledFileIdentity::SetFormType(const QString& text)
{
    WriteField(m_formType, text);
}

void SpooledFileIdentity::CopyFrom(const SpooledFileIdentity& source)
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

BOOL SpooledFileIdentity::IsEqual(const SpooledFileIdentity& other) const
{
    const bool equal = GetOutputQueue() == other.GetOutputQueue()
                       && GetOutputQueueLibrary() == other.GetOutputQueueLibrary()
                       && GetFileName() == other.GetFileName() && GetUserName() == other.GetUserName()
                       && GetUserData() == other.GetUserData() && GetDate() == other.GetDate()
                       && GetTime() == other.GetTime() && GetTotalPages() == other.GetTotalPages()
                       && GetDbcsData() == other.GetDbcsData() && GetDbcsExtensions() == other.GetDbcsExtensions()
                       && GetCharSet() == other.GetCharSet() && GetFormType() == other.GetFormType();
    return equal ? TRUE : FALSE;
}

void SpooledFileIdentity::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << GetOutputQueue() << GetOutputQueueLibrary() << GetFileName() << GetUserName() << GetUserData()
           << GetDate() << GetTime() << GetTotalPages() << GetDbcsData() << GetDbcsExtensions() << GetCharSet()
           << GetFormType();
        return;
    }

    const UINT schema = ar.GetObjectSchema();
    // Read into a copy, so a short archive leaves this record untouched.
    SpooledFileIdentity read;
    QString text;
    ar >> text;
    read.SetOutputQueue(text);
    ar >> text;
    read.SetOutputQueueLibrary(text);
    ar >> text;
    read.SetFileName(text);
    ar >> text;
    read.SetUserName(text);
    ar >> text;
    read.SetUserData(text);
    ar >> text;
    read.SetDate(text);
    ar >> text;
    read.SetTime(text);
    ar >> text;
    read.SetTotalPages(text);
    if (schema > 4) {
        ar >> text;
        read.SetDbcsData(text);
        ar >> text;
        read.SetDbcsExtensions(text);
        ar >> text;
        read.SetCharSet(text);
    }
    if (schema > 5) {
        ar >> text;
        read.SetFormType(text);
    }
    *this = read;
}
