#include "designer/document/jvx/FixedLenString.h"

#include "designer/document/jvx/JVXArchive.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Exceptions.h"

#include <algorithm>
#include <limits>

KWVD_IMPLEMENT_SERIAL(CFixedLenString, CObject, VERSIONABLE_SCHEMA | 2)

namespace {

// A record read field by field clears and fills the same fields again: a
// block of the value's own (not shared with a copy) is kept for the next one.
void AssignKeepingBlock(QString& value, QStringView text)
{
    if (text.isEmpty()) {
        if (value.isDetached())
            value.resize(0);
        else
            value.clear();
        return;
    }
    value.resize(text.size());
    std::copy(text.begin(), text.end(), value.data());
}

// The field's text without trailing white space, valid until the next
// field is read. Out of line, so that writing a field keeps a small frame.
[[gnu::noinline]] QStringView ReadTrimmedField(CFixedLenString& field, CJVXArchive& ar, int width)
{
    // One block read into, field after field; the value keeps its own
    // block from one record to the next.
    thread_local QString text;
    if (field.ReadJVXText(ar, text, width) < width)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.GetFilePath());
    qsizetype end = std::min<qsizetype>(text.size(), width);
    while (end > 0 && text[end - 1].isSpace())
        --end;
    return QStringView(text).left(end);
}

} // namespace

QString MakeSpaces(int count)
{
    return count > 0 ? QString(count, QLatin1Char(' ')) : QString();
}

CFixedLenString::CFixedLenString(int width) : m_nWidth(width) {}

void CFixedLenString::SetValue(const QString& text)
{
    m_strValue = text.left(std::max(m_nWidth, 0));
}

void CFixedLenString::SetNumber(int number)
{
    if (number < -32767 || number > 32767) {
        SetValue(MakeSpaces(m_nWidth));
        return;
    }
    const QString digits = QString::number(number);
    SetValue(MakeSpaces(m_nWidth - static_cast<int>(digits.size())) + digits);
}

BOOL CFixedLenString::SetCharAt(char character, int index)
{
    if (index < 0 || index >= m_nWidth)
        return FALSE;
    if (index >= m_strValue.size())
        m_strValue += MakeSpaces(index + 1 - static_cast<int>(m_strValue.size()));
    const QChar wanted(static_cast<unsigned char>(character));
    if (m_strValue[index] == wanted)
        return FALSE;
    m_strValue[index] = wanted;
    return TRUE;
}

BOOL CFixedLenString::Clear()
{
    if (m_strValue.isEmpty())
        return FALSE;
    AssignKeepingBlock(m_strValue, QStringView());
    return TRUE;
}

void CFixedLenString::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<WORD>(std::clamp(m_nWidth, 0, int(std::numeric_limits<WORD>::max())));
        ar << m_strValue;
    } else {
        WORD width = 0;
        QString text;
        ar >> width >> text;
        m_nWidth = width;
        SetValue(text);
    }
}

void CFixedLenString::ExchangeJVX(CJVXArchive& ar)
{
    const int width = std::max(m_nWidth, 0);
    if (ar.IsStoring()) {
        // The archive cuts or pads to the width.
        WriteJVXText(ar, m_strValue, width);
        return;
    }
    AssignKeepingBlock(m_strValue, ReadTrimmedField(*this, ar, width));
}

int CFixedLenString::ReadJVXText(CJVXArchive& ar, QString& text, int n)
{
    return ar.ReadText(text, n);
}

void CFixedLenString::WriteJVXText(CJVXArchive& ar, const QString& text, int n)
{
    ar.WriteText(text, n);
}
