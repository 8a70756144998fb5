#pragma once
// A text field of fixed width, one of the fields the document header and the
// host records are built from. In the WVD file it is a WORD width followed
// by the text; in the JVX file the text blank-padded or cut to the width.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

class CJVXArchive;

// A string of count blanks; empty for 0 or less.
QString MakeSpaces(int count);

class CFixedLenString : public CObject
{
    KWVD_DECLARE_SERIAL(CFixedLenString)

public:
    explicit CFixedLenString(int width = 0);

    int GetWidth() const { return m_nWidth; }
    // The owner's width; a text already longer is cut when it is next set
    // or written.
    void SetWidth(int width) { m_nWidth = width; }

    const QString& GetValue() const { return m_strValue; }
    // The text cut to the width.
    void SetValue(const QString& text);
    // For -32767 to 32767 the number right-aligned in blanks (cut to the
    // width); any other value gives blanks only.
    void SetNumber(int number);
    // FALSE when index is at or beyond the width, or the character is
    // already there; a shorter text is first filled with blanks up to index.
    BOOL SetCharAt(char character, int index);
    // Exact, case counts.
    BOOL IsEqual(const QString& text) const { return m_strValue == text ? TRUE : FALSE; }
    // TRUE when there was text.
    BOOL Clear();

    void Serialize(CArchive& ar) override;

    // Writes the text blank-padded or cut to the width, or reads the field
    // and keeps it without trailing white space (leading blanks stay). A
    // field that reads short raises CArchiveException endOfFile.
    void ExchangeJVX(CJVXArchive& ar);

    // The way the field's text meets the archive: system text goes through
    // the translator in force, user text through the user's one.
    virtual int ReadJVXText(CJVXArchive& ar, QString& text, int n);
    virtual void WriteJVXText(CJVXArchive& ar, const QString& text, int n);

private:
    int m_nWidth = 0;
    QString m_strValue;
};
