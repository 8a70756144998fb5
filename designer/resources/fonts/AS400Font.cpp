#include "designer/resources/fonts/AS400Font.h"

#include "designer/document/jvx/FixedLenNum.h"
#include "designer/document/jvx/FixedLenString.h"
#include "designer/document/jvx/FixedLenUserString.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/FontStrings.h"
#include "platform/framework/Archive.h"
#include "platform/framework/MathHelpers.h"
#include "platform/ui/StringTable.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <cstdlib>

KWVD_IMPLEMENT_SERIAL(CAS400Font, CObject, VERSIONABLE_SCHEMA | 6)

namespace {

const QString kDefaultCodePage = QStringLiteral("*DEFAULT");

QString HostName(const QString& name, int width)
{
    return name.left(width).toUpper();
}

QString DefaultLibrary()
{
    const QString text = LoadResString(IDS_FONT_DEFAULT_LIBRARY);
    return text == QLatin1String("???") ? QStringLiteral("QFNTCPL") : text;
}

// Windows face names the master files carry, shown through the metric-
// compatible faces installed with the system.
void EnsureFaceSubstitutions()
{
    static const bool done = [] {
        const struct
        {
            const char* face;
            const char* substitute;
        } faces[] = {
            {"Courier New", "Liberation Mono"},
            {"Arial", "Liberation Sans"},
            {"Times New Roman", "Liberation Serif"},
        };
        for (const auto& f : faces) {
            const QString face = QString::fromLatin1(f.face);
            if (!QFont::substitutes(face).contains(QString::fromLatin1(f.substitute)))
                QFont::insertSubstitution(face, QString::fromLatin1(f.substitute));
        }
        return true;
    }();
    (void)done;
}

QFont::StyleHint StyleHintOf(BYTE family)
{
    switch (family) {
    case CAS400Font::FF_ROMAN:
        return QFont::Serif;
    case CAS400Font::FF_SWISS:
        return QFont::SansSerif;
    case CAS400Font::FF_MODERN:
        return QFont::TypeWriter;
    case CAS400Font::FF_SCRIPT:
        return QFont::Cursive;
    case CAS400Font::FF_DECORATIVE:
        return QFont::Decorative;
    default:
        return QFont::AnyStyle;
    }
}

// A positive height asks for the cell (ascent plus descent), as the
// platform's font mapper does; the em height is what is left after the
// internal leading.
void FitCellHeight(QFont& font, int cellHeight)
{
    int pixelSize = cellHeight;
    for (int attempt = 0; attempt < 3; ++attempt) {
        font.setPixelSize(std::max(1, pixelSize));
        const int measured = QFontMetrics(font).height();
        if (measured <= 0 || measured == cellHeight)
            return;
        const int next =
            std::max(1, static_cast<int>(std::lround(static_cast<double>(pixelSize) * cellHeight / measured)));
        if (next == pixelSize)
            return;
        pixelSize = next;
    }
    font.setPixelSize(std::max(1, pixelSize));
}

// A width asks for that average character width.
void FitAverageWidth(QFont& font, int averageWidth)
{
    font.setStretch(QFont::Unstretched);
    const int natural = QFontMetrics(font).averageCharWidth();
    if (natural <= 0)
        return;
    const int stretch = static_cast<int>(std::lround(100.0 * averageWidth / natural));
    font.setStretch(std::clamp(stretch, 1, 4000));
}

int FamilyDistance(BYTE candidate, BYTE wanted)
{
    static const int table[5][5] = {
        // wanted: roman, swiss, modern, script, decorative
        {0, 30, 60, 40, 100},    // candidate roman
        {30, 0, 60, 40, 100},    // swiss
        {50, 50, 0, 100, 100},   // modern
        {30, 30, 60, 0, 100},    // script
        {100, 100, 100, 100, 0}, // decorative
    };
    const int row = candidate >> 4;
    if (row < 1 || row > 5)
        return 0;
    const int column = wanted >> 4;
    if (column < 1 || column > 5) {
        if (row == 5)
            return column == 0 ? 0 : 100;
        return 0;
    }
    return table[row - 1][column - 1];
}

void ExchangeNumber(CJVXArchive& ar, int width, DWORD& value, BOOL write = TRUE)
{
    CFixedLenNum field(width);
    if (ar.IsStoring()) {
        field.SetValue(write ? static_cast<int>(std::min<DWORD>(value, 0x7FFFFFFF)) : 0);
        field.ExchangeJVX(ar);
    } else {
        field.ExchangeJVX(ar);
        value = field.GetUInt();
    }
}

void ExchangeSystemText(CJVXArchive& ar, int width, QString& value)
{
    CFixedLenString field(width);
    if (ar.IsStoring())
        field.SetValue(value);
    field.ExchangeJVX(ar);
    if (ar.IsLoading())
        value = field.GetValue();
}

void ExchangeUserText(CJVXArchive& ar, int width, QString& value)
{
    CFixedLenUserString field(width);
    if (ar.IsStoring())
        field.SetValue(value);
    field.ExchangeJVX(ar);
    if (ar.IsLoading())
        value = field.GetValue();
}

} // namespace

CAS400Font::CAS400Font() : m_strLibrary(DefaultLibrary()) {}

CAS400Font::CAS400Font(const CAS400Font& other)
    : CObject(), m_nFGID(other.m_nFGID), m_nCodePageId(other.m_nCodePageId), m_nCharacterId(other.m_nCharacterId),
      m_bDBCS(other.m_bDBCS), m_strCharSetName(other.m_strCharSetName), m_strCodePageName(other.m_strCodePageName),
      m_nPitchAndFamily(other.m_nPitchAndFamily), m_strTypeface(other.m_strTypeface), m_nWidth(other.m_nWidth),
      m_nHeight(other.m_nHeight), m_nFlags(other.m_nFlags), m_strLibrary(other.m_strLibrary),
      m_strCodedFontName(other.m_strCodedFontName)
{}

CAS400Font::CAS400Font(const QString& charSetName, const QString& codePageName, DWORD fgid, DWORD codePageId,
                       DWORD characterId, BYTE pitchAndFamily, const QString& typeface, DWORD width, DWORD height,
                       BOOL bold, BOOL italic, BOOL underline, BOOL strikeout, const QString& library,
                       const QString& codedFontName, BOOL dbcs)
    : m_nFGID(fgid), m_nCodePageId(codePageId), m_nCharacterId(characterId), m_bDBCS(dbcs ? TRUE : FALSE),
      m_strCharSetName(HostName(charSetName, 8)), m_strCodePageName(HostName(codePageName, 8)),
      m_nPitchAndFamily(pitchAndFamily), m_strTypeface(typeface), m_nWidth(width), m_nHeight(height),
      m_nFlags((bold ? kBold : 0) | (italic ? kItalic : 0) | (underline ? kUnderline : 0)
               | (strikeout ? kStrikeout : 0)),
      m_strLibrary(HostName(library, 10)), m_strCodedFontName(HostName(codedFontName, 8))
{}

CAS400Font::~CAS400Font() = default;

void CAS400Font::DropDisplayCaches()
{
    m_pWindowsFont.reset();
    m_charWidths.clear();
    m_nCharWidthsFor = 0;
    m_bDisplayFontTried = false;
}

void CAS400Font::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_strCharSetName << m_strCodePageName << m_nFGID << m_nCodePageId << m_nCharacterId << m_nPitchAndFamily
           << m_strTypeface << m_nWidth << m_nHeight << m_nFlags << m_strLibrary << m_strCodedFontName
           << static_cast<WORD>(m_bDBCS ? 1 : 0);
        return;
    }

    const UINT schema = ar.GetObjectSchema();
    if (schema <= 1) {
        WORD width = 0;
        WORD height = 0;
        ar >> m_strCharSetName >> m_nFGID >> m_nPitchAndFamily >> m_strTypeface >> width >> height >> m_nFlags;
        m_nWidth = width;
        m_nHeight = height;
        return;
    }
    ar >> m_strCharSetName >> m_strCodePageName >> m_nFGID >> m_nCodePageId >> m_nCharacterId >> m_nPitchAndFamily
        >> m_strTypeface >> m_nWidth >> m_nHeight >> m_nFlags >> m_strLibrary;
    switch (schema) {
    case 2:
        // These files stored the shipped default as a real code page.
        if (m_strCodePageName == QLatin1String("T1V10285"))
            m_strCodePageName = kDefaultCodePage;
        if (m_nCodePageId == 285)
            m_nCodePageId = 0;
        break;
    case 3:
        break;
    case 4: {
        QString dropped;
        DWORD droppedA = 0;
        DWORD droppedB = 0;
        ar >> m_strCodedFontName >> dropped >> droppedA >> droppedB;
        break;
    }
    case 5:
        ar >> m_strCodedFontName;
        break;
    default: {
        WORD dbcs = 0;
        ar >> m_strCodedFontName >> dbcs;
        m_bDBCS = dbcs != 0 ? TRUE : FALSE;
        break;
    }
    }
    DropDisplayCaches();
}

void CAS400Font::ExchangeJVX(CJVXArchive& ar, const FontLanguageDefaults* defaults, int kind)
{
    const int version = ar.GetVersion();
    const BOOL resident = defaults == nullptr || defaults->usePrinterResidentInfo;

    DWORD codePageId = m_nCodePageId;
    if (ar.IsStoring() && codePageId == 0 && defaults != nullptr)
        codePageId = defaults->codePageId;
    QString description = ar.IsStoring() ? GetDescription() : QString();
    QString empty;
    QString codePage = ar.IsStoring() && defaults != nullptr ? GetEffectiveCodePage(*defaults) : m_strCodePageName;
    QString charSet = m_strCharSetName;
    QString codedFont = m_strCodedFontName;
    QString library = m_strLibrary;

    DWORD fgid = m_nFGID;
    DWORD width = m_nWidth;
    DWORD characterId = m_nCharacterId;
    ExchangeNumber(ar, 5, fgid, resident);
    ExchangeNumber(ar, 5, width, resident);
    ExchangeSystemText(ar, 3, empty);
    ExchangeNumber(ar, 5, characterId, resident);
    ExchangeNumber(ar, 5, codePageId, resident);
    ExchangeUserText(ar, 40, description);

    if (ar.IsLoading()) {
        charSet.clear();
        codePage.clear();
        codedFont.clear();
        library.clear();
    }
    if (version >= 23 && kind == kSecondary) {
        ExchangeSystemText(ar, 8, codedFont);
        ExchangeUserText(ar, 10, library);
    } else {
        ExchangeSystemText(ar, 8, charSet);
        ExchangeSystemText(ar, 8, codePage);
        ExchangeUserText(ar, 10, library);
        if (version == 22) {
            DWORD zero = 0;
            QString blank;
            ExchangeNumber(ar, 5, zero);
            ExchangeNumber(ar, 5, zero);
            ExchangeSystemText(ar, 8, blank);
            ExchangeSystemText(ar, 8, blank);
        }
    }

    if (ar.IsLoading()) {
        m_nFGID = fgid;
        m_nWidth = width;
        m_nCharacterId = characterId;
        m_nCodePageId = codePageId;
        m_strCharSetName = charSet;
        m_strCodePageName = codePage;
        m_strCodedFontName = codedFont;
        m_strLibrary = library;
        m_bDBCS = kind == kSecondary ? TRUE : FALSE;
        DropDisplayCaches();
    }
}

void CAS400Font::ExchangeFontFile(CJVXArchive& ar)
{
    QString charSet = m_strCharSetName;
    QString codePage = m_strCodePageName;
    DWORD fgid = m_nFGID;
    DWORD codePageId = m_nCodePageId;
    DWORD characterId = m_nCharacterId;
    DWORD family = m_nPitchAndFamily;
    QString typeface = m_strTypeface;
    DWORD width = m_nWidth;
    DWORD height = m_nHeight;
    DWORD flags = m_nFlags;
    QString library = m_strLibrary;
    QString codedFont = m_strCodedFontName;
    QString dbcs = m_bDBCS ? QStringLiteral("Y") : QStringLiteral("N");

    ExchangeSystemText(ar, 8, charSet);
    ExchangeSystemText(ar, 8, codePage);
    ExchangeNumber(ar, 5, fgid);
    ExchangeNumber(ar, 5, codePageId);
    ExchangeNumber(ar, 5, characterId);
    ExchangeNumber(ar, 3, family);
    ExchangeSystemText(ar, 50, typeface);
    ExchangeNumber(ar, 5, width);
    ExchangeNumber(ar, 5, height);
    ExchangeNumber(ar, 4, flags);
    ExchangeSystemText(ar, 10, library);
    ExchangeSystemText(ar, 8, codedFont);
    ExchangeSystemText(ar, 1, dbcs);
    if (ar.IsStoring()) {
        ar.WriteLineEnd();
        return;
    }
    ar.ReadLineEnd();

    m_strCharSetName = charSet;
    m_strCodePageName = codePage;
    m_nFGID = fgid;
    m_nCodePageId = codePageId;
    m_nCharacterId = characterId;
    m_nPitchAndFamily = static_cast<BYTE>(std::min<DWORD>(family, 255));
    m_strTypeface = typeface;
    m_nWidth = width;
    m_nHeight = height;
    m_nFlags = flags;
    m_strLibrary = library;
    m_strCodedFontName = codedFont;
    m_bDBCS = dbcs.startsWith(QLatin1Char('Y')) ? TRUE : FALSE;
    DropDisplayCaches();
}

const QFont* CAS400Font::GetWindowsFont(BYTE charSet)
{
    // The character set only takes part in the first creation; the cached
    // font answers every later request.
    (void)charSet;
    if (m_pWindowsFont)
        return m_pWindowsFont.get();
    // Making the font starts the advance table afresh, but only once per
    // font: where no font can be made (no GUI application) every request
    // lands here, and each would throw away the table built since.
    if (!m_bDisplayFontTried) {
        m_charWidths.clear();
        m_nCharWidthsFor = 0;
        m_bDisplayFontTried = true;
    }
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return nullptr;
    EnsureFaceSubstitutions();

    const int cellHeight = static_cast<int>(static_cast<unsigned long long>(m_nHeight) * 140 / 1000);
    int averageWidth = 0;
    if (GetFamily() == FF_MODERN) {
        averageWidth = static_cast<int>(static_cast<unsigned long long>(m_nWidth) * 72 / 1000);
        if (m_nFlags & kDoubleWidth)
            averageWidth *= 2;
        else if (m_nFlags & kTripleWidth)
            averageWidth *= 3;
    }

    QString face = m_strTypeface;
    if (face == QLatin1String("Courier"))
        face = QStringLiteral("Courier New");
    auto font = std::make_unique<QFont>(face);
    font->setStyleHint(StyleHintOf(GetFamily()));
    font->setWeight((m_nFlags & kBold) ? QFont::Bold : QFont::Normal);
    font->setItalic((m_nFlags & kItalic) != 0);
    font->setUnderline((m_nFlags & kUnderline) != 0);
    font->setStrikeOut((m_nFlags & kStrikeout) != 0);
    if (cellHeight > 0)
        FitCellHeight(*font, cellHeight);
    if (averageWidth > 0)
        FitAverageWidth(*font, averageWidth);
    m_pWindowsFont = std::move(font);
    return m_pWindowsFont.get();
}

BOOL CAS400Font::GetCharWidths(int count)
{
    m_charWidths.clear();
    m_nCharWidthsFor = count;
    if (GetFamily() != FF_MODERN || count <= 0)
        return TRUE;
    int advance = MulDiv(static_cast<int>(std::min<DWORD>(m_nWidth, 0x7FFFFFFF)), 72, 1000);
    if (m_nFlags & kDoubleWidth)
        advance *= 2;
    else if (m_nFlags & kTripleWidth)
        advance *= 3;
    m_charWidths.assign(static_cast<size_t>(count), advance);
    return TRUE;
}

void CAS400Font::GetTextExtent(BYTE charSet, QSize& size, const QPaintDevice* device, const QString& text)
{
    if (const QFont* font = GetWindowsFont(charSet)) {
        const QFontMetrics metrics = device != nullptr ? QFontMetrics(*font, device) : QFontMetrics(*font);
        const int cell = metrics.height();
        const int em = font->pixelSize() > 0 ? font->pixelSize() : cell;
        const int internalLeading = std::max(0, cell - em);
        size = QSize(metrics.horizontalAdvance(text), cell - internalLeading);
    }
    if (!m_charWidths.empty() && m_charWidths.front() != 0)
        size.setWidth(m_charWidths.front() * static_cast<int>(text.size()));
}

std::vector<int> CAS400Font::GetCharacterAdvances(BYTE charSet, const QString& text)
{
    std::vector<int> advances;
    advances.reserve(static_cast<size_t>(text.size()));
    if (!m_charWidths.empty() && m_charWidths.front() != 0) {
        advances.assign(static_cast<size_t>(text.size()), m_charWidths.front());
        return advances;
    }
    const QFont* font = GetWindowsFont(charSet);
    if (font == nullptr)
        return advances;
    const QFontMetrics metrics(*font);
    for (const QChar character : text)
        advances.push_back(metrics.horizontalAdvance(character));
    return advances;
}

BOOL CAS400Font::IsSameFont(const CAS400Font* other) const
{
    if (other == nullptr)
        return FALSE;
    if (other == this)
        return TRUE;
    auto bothSetAndDiffer = [](const QString& a, const QString& b) { return !a.isEmpty() && !b.isEmpty() && a != b; };
    if (bothSetAndDiffer(m_strCharSetName, other->m_strCharSetName))
        return FALSE;
    if (bothSetAndDiffer(m_strCodePageName, other->m_strCodePageName) && m_strCodePageName != kDefaultCodePage
        && other->m_strCodePageName != kDefaultCodePage)
        return FALSE;
    if (m_nFGID != 0 && other->m_nFGID != 0 && m_nFGID != other->m_nFGID)
        return FALSE;
    if (bothSetAndDiffer(m_strTypeface, other->m_strTypeface))
        return FALSE;
    if (m_nPitchAndFamily != 0 && other->m_nPitchAndFamily != 0 && m_nPitchAndFamily != other->m_nPitchAndFamily)
        return FALSE;
    if (m_nWidth != 0 && other->m_nWidth != 0 && m_nWidth != other->m_nWidth)
        return FALSE;
    if (m_nFlags != other->m_nFlags)
        return FALSE;
    if (bothSetAndDiffer(m_strLibrary, other->m_strLibrary))
        return FALSE;
    if ((m_bDBCS != 0) != (other->m_bDBCS != 0))
        return FALSE;
    return TRUE;
}

int CAS400Font::MatchScore(const CAS400Font& candidate) const
{
    if ((m_bDBCS != 0) != (candidate.m_bDBCS != 0))
        return kNoMatch;

    int score = !m_strTypeface.isEmpty() && m_strTypeface == candidate.m_strTypeface ? 1000 : 1500;
    if (m_nFGID != 0 && m_nFGID == candidate.m_nFGID)
        score -= 300;
    if (!m_strCharSetName.isEmpty() && m_strCharSetName == candidate.m_strCharSetName)
        score -= 300;
    if (!m_strCodePageName.isEmpty() && !candidate.m_strCodePageName.isEmpty() && m_strCodePageName != kDefaultCodePage
        && candidate.m_strCodePageName != kDefaultCodePage && m_strCodePageName == candidate.m_strCodePageName)
        score -= 300;
    if (!m_strLibrary.isEmpty() && m_strLibrary == candidate.m_strLibrary)
        score -= 100;
    if (!m_strCodedFontName.isEmpty() && m_strCodedFontName == candidate.m_strCodedFontName)
        score -= 300;

    const long long heightDistance = std::llabs(static_cast<long long>(m_nHeight) - candidate.m_nHeight);
    const long long widthDistance = std::llabs(static_cast<long long>(m_nWidth) - candidate.m_nWidth);
    // Sizes come from files; keep the sum inside an int.
    score += static_cast<int>(std::min<long long>(10 * (heightDistance + widthDistance), 0x3FFFFFFF));

    const DWORD differ = m_nFlags ^ candidate.m_nFlags;
    if (differ & kBold)
        score += 20;
    if (differ & kItalic)
        score += 30;
    if (differ & kUnderline)
        score += 40;
    if (differ & kStrikeout)
        score += 40;
    if (differ & kReverse)
        score += 160;

    score += FamilyDistance(candidate.GetFamily(), GetFamily());
    return score;
}

QString CAS400Font::GetEffectiveCodePage(const FontLanguageDefaults& defaults) const
{
    if (m_strCodePageName.isEmpty() || m_strCodePageName == kDefaultCodePage)
        return defaults.serverCodePage;
    return m_strCodePageName;
}

QString CAS400Font::GetStyleText() const
{
    if (m_nFlags == 0)
        return QStringLiteral("Regular");
    QString text;
    if (m_nFlags & kBold)
        text += QLatin1String("Bold ");
    if (m_nFlags & kItalic)
        text += QLatin1String("Italic ");
    if (m_nFlags & kUnderline)
        text += QLatin1String("Underline ");
    if (m_nFlags & kStrikeout)
        text += QLatin1String("Strikeout ");
    if (m_nFlags & kReverse)
        text += QLatin1String("Reverse ");
    if (m_nFlags & kDoubleWidth)
        text += QLatin1String("Wide1 ");
    if (m_nFlags & kTripleWidth)
        text += QLatin1String("Wide2 ");
    return text;
}

QString CAS400Font::GetDescription() const
{
    const unsigned long long points = (static_cast<unsigned long long>(m_nHeight) + 5) / 10;
    return m_strTypeface + QLatin1Char(' ') + GetStyleText() + QLatin1Char(' ') + QString::number(points)
           + QLatin1String("pt");
}

BOOL CAS400Font::SetTypeface(const QString& typeface)
{
    if (typeface == m_strTypeface)
        return FALSE;
    m_strTypeface = typeface;
    DropDisplayCaches();
    return TRUE;
}

namespace {

BOOL StoreHostName(QString& field, const QString& value, int width)
{
    const QString name = HostName(value, width);
    if (name == field)
        return FALSE;
    field = name;
    return TRUE;
}

} // namespace

BOOL CAS400Font::SetCharSetName(const QString& name)
{
    return StoreHostName(m_strCharSetName, name, 8);
}

BOOL CAS400Font::SetCodePageName(const QString& name)
{
    return StoreHostName(m_strCodePageName, name, 8);
}

BOOL CAS400Font::SetCodedFontName(const QString& name)
{
    return StoreHostName(m_strCodedFontName, name, 8);
}

BOOL CAS400Font::SetLibrary(const QString& library)
{
    return StoreHostName(m_strLibrary, library, 10);
}

BOOL CAS400Font::SetWidth(DWORD width)
{
    if (width == m_nWidth)
        return FALSE;
    m_nWidth = width;
    DropDisplayCaches();
    return TRUE;
}

BOOL CAS400Font::SetHeight(DWORD height)
{
    if (height == m_nHeight)
        return FALSE;
    m_nHeight = height;
    DropDisplayCaches();
    return TRUE;
}

BOOL CAS400Font::SetFamily(BYTE pitchAndFamily)
{
    if (pitchAndFamily == m_nPitchAndFamily)
        return FALSE;
    m_nPitchAndFamily = pitchAndFamily;
    DropDisplayCaches();
    return TRUE;
}

BOOL CAS400Font::SetFlags(DWORD flags)
{
    if (flags == m_nFlags)
        return FALSE;
    m_nFlags = flags;
    DropDisplayCaches();
    return TRUE;
}
