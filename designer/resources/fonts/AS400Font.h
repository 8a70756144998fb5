#pragma once
// One font of the host's printers, described twice: by the host's names and
// numbers (character set, code page, coded font, FGID, code page id,
// character id, server library) and by the typeface, size and style the
// designer shows text set in it with. The master font list owns the records;
// a page's font list only points at them.
//
// Sizes: the width is in font units, 1000 of which show as 72 screen pixels;
// the height is in tenths of a point and shows as height * 140 / 1000 pixels.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QFont>
#include <QSize>
#include <QString>

#include <memory>
#include <span>
#include <vector>

class CJVXArchive;
class QPaintDevice;
struct FontLanguageDefaults;

class CAS400Font : public CObject
{
    KWVD_DECLARE_SERIAL(CAS400Font)

public:
    // The high nibble of the pitch-and-family byte.
    static constexpr BYTE FF_DONTCARE = 0x00;
    static constexpr BYTE FF_ROMAN = 0x10;
    static constexpr BYTE FF_SWISS = 0x20;
    static constexpr BYTE FF_MODERN = 0x30;
    static constexpr BYTE FF_SCRIPT = 0x40;
    static constexpr BYTE FF_DECORATIVE = 0x50;

    static constexpr DWORD kBold = 0x01;
    static constexpr DWORD kItalic = 0x02;
    static constexpr DWORD kUnderline = 0x04;
    static constexpr DWORD kStrikeout = 0x08;
    static constexpr DWORD kReverse = 0x10;
    static constexpr DWORD kDoubleWidth = 0x20;
    static constexpr DWORD kTripleWidth = 0x40;

    static constexpr int kNoMatch = 0xFFFF;
    static constexpr int kPrimary = 1;
    static constexpr int kSecondary = 2;
    // A font exchange record without its line end.
    static constexpr int kExchangeRecordLength = 117;

    // Empty names, library "QFNTCPL", numbers 0, not double-byte.
    CAS400Font();
    // The persistent fields; no display font or advance table.
    CAS400Font(const CAS400Font& other);
    // The four names are cut to 8, 8, 10 and 8 and upper-cased; the library
    // is exactly the argument, empty included.
    CAS400Font(const QString& charSetName, const QString& codePageName, DWORD fgid, DWORD codePageId, DWORD characterId,
               BYTE pitchAndFamily, const QString& typeface, DWORD width, DWORD height, BOOL bold, BOOL italic,
               BOOL underline, BOOL strikeout, const QString& library, const QString& codedFontName, BOOL dbcs);
    ~CAS400Font() override;

    CAS400Font& operator=(const CAS400Font&) = delete;

    void Serialize(CArchive& ar) override;
    // One JVX font record body; kind 1 primary, 2 secondary.
    virtual void ExchangeJVX(CJVXArchive& ar, const FontLanguageDefaults* defaults, int kind);
    // One font exchange record with its line end (archive at version 0).
    virtual void ExchangeFontFile(CJVXArchive& ar);

    // ---- display
    // The cached display font, made on first use with the character set
    // asked for then; null when no font can be made (no GUI application).
    const QFont* GetWindowsFont(BYTE charSet);
    // Rebuilds the advance table for count characters; fixed-pitch fonts
    // only get one.
    BOOL GetCharWidths(int count);
    // The table last built; empty when there is none.
    std::span<const int> GetCharWidthTable() const { return m_charWidths; }
    int GetCharWidthsCount() const { return m_nCharWidthsFor; }
    // The size of the text in the display font on the device (the screen
    // when null), without internal leading; a fixed-pitch table gives the
    // width. Unmeasured without a font.
    void GetTextExtent(BYTE charSet, QSize& size, const QPaintDevice* device, const QString& text);
    // Advance of each character, for text the views draw one by one.
    std::vector<int> GetCharacterAdvances(BYTE charSet, const QString& text);

    // ---- identity
    BOOL IsSameFont(const CAS400Font* other) const;
    // Lower is better; below 0 possible, kNoMatch for the other byte width.
    int MatchScore(const CAS400Font& candidate) const;

    QString GetEffectiveCodePage(const FontLanguageDefaults& defaults) const;
    QString GetDescription() const;
    QString GetStyleText() const;

    // ---- fields
    const QString& GetCharSetName() const { return m_strCharSetName; }
    const QString& GetCodePageName() const { return m_strCodePageName; }
    BYTE GetPitchAndFamily() const { return m_nPitchAndFamily; }
    BYTE GetFamily() const { return static_cast<BYTE>(m_nPitchAndFamily & 0xF0); }
    const QString& GetTypeface() const { return m_strTypeface; }
    DWORD GetWidth() const { return m_nWidth; }
    DWORD GetHeight() const { return m_nHeight; }
    DWORD GetFlags() const { return m_nFlags; }
    const QString& GetLibrary() const { return m_strLibrary; }
    const QString& GetCodedFontName() const { return m_strCodedFontName; }

    // Each TRUE only when the stored value changed.
    BOOL SetTypeface(const QString& typeface);
    BOOL SetCharSetName(const QString& name);
    BOOL SetCodePageName(const QString& name);
    BOOL SetCodedFontName(const QString& name);
    BOOL SetLibrary(const QString& library);
    BOOL SetWidth(DWORD width);
    BOOL SetHeight(DWORD height);
    BOOL SetFamily(BYTE pitchAndFamily);
    BOOL SetFlags(DWORD flags);

    // The dialogs and readers assign these directly.
    DWORD m_nFGID = 0;
    DWORD m_nCodePageId = 0;
    DWORD m_nCharacterId = 0;
    BOOL m_bDBCS = FALSE;

    // Forgets the display font and the advance table.
    void DropDisplayCaches();

private:
    QString m_strCharSetName;
    QString m_strCodePageName;
    BYTE m_nPitchAndFamily = 0;
    QString m_strTypeface;
    DWORD m_nWidth = 0;
    DWORD m_nHeight = 0;
    DWORD m_nFlags = 0;
    QString m_strLibrary;
    QString m_strCodedFontName;

    std::unique_ptr<QFont> m_pWindowsFont;
    std::vector<int> m_charWidths;
    int m_nCharWidthsFor = 0;
    // Set by the first attempt to make the display font since the caches
    // were dropped.
    bool m_bDisplayFontTried = false;
};
