#include "designer/document/Page.h"

#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/MathHelpers.h"
#include "platform/framework/ScreenResolution.h"
#include "platform/ui/StringTable.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>

KWVD_IMPLEMENT_SERIAL(CPage, CObject, VERSIONABLE_SCHEMA | 3)

namespace {

// a * b / c rounded half away from zero, with a 64-bit numerator; -1 when c
// is 0 or the result does not fit, as MulDiv gives. The page size times the
// grid density can pass the 32-bit range with sizes read from a file.
int mulDiv64(std::int64_t a, std::int64_t b, std::int64_t c)
{
    if (c == 0)
        return -1;
    const long double exact = static_cast<long double>(a) * b / c;
    const long double rounded = exact < 0 ? exact - 0.5L : exact + 0.5L;
    if (rounded <= std::numeric_limits<int>::min() - 1.0L || rounded >= std::numeric_limits<int>::max() + 1.0L)
        return -1;
    return static_cast<int>(rounded);
}

// A grid density of 0 (or one too fine for the screen) would give a cell
// of no width, and every division by the cell would fail.
int cellFrom(int pixelsPerInch, int perInch)
{
    return std::max(1, MulDiv(pixelsPerInch, 1, perInch));
}

// Down to the grid line at or before value (toward zero, as div does).
int floorToCell(int value, int cell)
{
    return value / cell * cell;
}

int ceilToCell(int value, int cell)
{
    return (value / cell + (value % cell != 0 ? 1 : 0)) * cell;
}

int nearestCell(int value, int cell)
{
    return (value / cell + (value % cell > cell / 2 ? 1 : 0)) * cell;
}

// numerator / denominator held in single precision, then times multiplier
// and over divisor in double precision. A size of 0 converts to 0.
int scaleThroughFloat(double numerator, double denominator, double multiplier, double divisor)
{
    if (denominator == 0.0)
        return 0;
    const float ratio = static_cast<float>(numerator / denominator);
    return RoundToInt(static_cast<double>(ratio) * multiplier / divisor);
}

} // namespace

CPage::CPage() : m_pFontManager(std::make_unique<CFontManager>(this))
{
    RecalcGrid();
}

CPage::~CPage() = default;

void CPage::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_nWidth) << static_cast<LONG>(m_nHeight) << static_cast<LONG>(m_nCharsPerInch)
           << static_cast<LONG>(m_nLinesPerInch) << static_cast<WORD>(m_nOrientation) << m_nBorder;
        ar.WriteObject(m_pFontManager.get());
        return;
    }

    // Read straight into a page (an old document's), there is no stored
    // schema: such a page has the current form.
    UINT schema = ar.GetObjectSchema();
    if (schema == CArchive::kNoObjectSchema)
        schema = runtimeClass.GetStoredSchema();
    if (schema > runtimeClass.GetStoredSchema())
        AfxThrowArchiveException(CArchiveException::badSchema, ar.GetFilePath());

    LONG width = 0;
    LONG height = 0;
    LONG charsPerInch = 0;
    LONG linesPerInch = 0;
    WORD orientation = 0;
    ar >> width >> height >> charsPerInch >> linesPerInch >> orientation;
    // The grid divides by both densities and the Size page never lets a zero
    // or a negative one through: such a value is taken as the default, so
    // the rest of the document is not lost over it.
    bool defaulted = false;
    if (charsPerInch <= 0) {
        charsPerInch = kDefaultCharsPerInch;
        defaulted = true;
    }
    if (linesPerInch <= 0) {
        linesPerInch = kDefaultLinesPerInch;
        defaulted = true;
    }
    WORD border = m_nBorder;
    if (schema > 2)
        ar >> border;

    if (schema >= 2) {
        // The page keeps its own manager until the stored one is whole, so a
        // failed read never leaves it without one.
        std::unique_ptr<CFontManager> fonts(ar.ReadObject<CFontManager>());
        if (fonts) {
            // A manager read before belongs to the page that read it first.
            if (fonts->GetPage() != nullptr) {
                fonts.release();
                AfxThrowArchiveException(CArchiveException::badIndex, ar.GetFilePath());
            }
            m_pFontManager = std::move(fonts);
        }
    } else {
        if (!m_pFontManager)
            m_pFontManager = std::make_unique<CFontManager>(this);
        m_pFontManager->Serialize(ar);
    }

    m_nWidth = width;
    m_nHeight = height;
    m_nCharsPerInch = charsPerInch;
    m_nLinesPerInch = linesPerInch;
    m_nOrientation = orientation;
    m_nBorder = border;
    m_densityDefaulted = defaulted;
    if (m_pFontManager->GetPage() != this)
        m_pFontManager->SetPage(this);
    RecalcGrid();
    // A default font slot the file left empty is filled from the grid as a
    // new page's is, so the page stores again what it was read from.
    if (m_pFontManager->GetFontList().GetHolder(0) == nullptr)
        m_pFontManager->SetCharacterCell(m_nPixelWidth, m_nPixelHeight, m_nCellWidth, m_nCellHeight);
}

bool CPage::TakeDefaultedDensity()
{
    return std::exchange(m_densityDefaulted, false);
}

void CPage::RecalcGrid()
{
    const int cellWidth = cellFrom(kwvd::ScreenResolution::LogPixelsX(), m_nCharsPerInch);
    const int cellHeight = cellFrom(kwvd::ScreenResolution::LogPixelsY(), m_nLinesPerInch);
    if (cellWidth != m_nCellWidth || cellHeight != m_nCellHeight) {
        m_nCellWidth = cellWidth;
        m_nCellHeight = cellHeight;
        DropCharWidths();
    }

    SetPixelSize(mulDiv64(static_cast<std::int64_t>(m_nWidth) * m_nCharsPerInch, m_nCellWidth, 100),
                 mulDiv64(static_cast<std::int64_t>(m_nHeight) * m_nLinesPerInch, m_nCellHeight, 100));
}

BOOL CPage::SetPixelSize(int width, int height)
{
    // Everything divides by the page's pixel size; a page of no (or negative)
    // size keeps the size it has.
    if (width <= 0 || height <= 0)
        return FALSE;
    if (width == m_nPixelWidth && height == m_nPixelHeight)
        return FALSE;

    m_nPixelWidth = width;
    m_nPixelHeight = height;
    if (m_pFontManager)
        m_pFontManager->SetCharacterCell(m_nPixelWidth, m_nPixelHeight, m_nCellWidth, m_nCellHeight);
    return TRUE;
}

BOOL CPage::SetSizeInCells(int columns, int lines)
{
    if (columns <= 0 || lines <= 0)
        return FALSE;
    const std::int64_t width = static_cast<std::int64_t>(columns) * m_nCellWidth;
    const std::int64_t height = static_cast<std::int64_t>(lines) * m_nCellHeight;
    if (width > std::numeric_limits<int>::max() || height > std::numeric_limits<int>::max())
        return FALSE;
    return SetPixelSize(static_cast<int>(width), static_cast<int>(height));
}

BOOL CPage::SetSizeTwips(int width, int height)
{
    const int newWidth = MulDiv(width, 100, 1440);
    const int newHeight = MulDiv(height, 100, 1440);
    if (newWidth <= 0 || newHeight <= 0)
        return FALSE;
    if (newWidth == m_nWidth && newHeight == m_nHeight)
        return FALSE;

    m_nWidth = newWidth;
    m_nHeight = newHeight;
    RecalcGrid();
    return TRUE;
}

void CPage::RectToCells(kwvd::Rect& rect) const
{
    const int cw = m_nCellWidth;
    const int ch = m_nCellHeight;
    rect.left = rect.left / cw + 1;
    rect.top = rect.top / ch + 1;
    rect.right = rect.right / cw + 1 + (rect.right % cw != 0 ? 1 : 0);
    rect.bottom = rect.bottom / ch + 1 + (rect.bottom % ch != 0 ? 1 : 0);
}

void CPage::SnapPointToGrid(QPoint& point) const
{
    point.setX(nearestCell(point.x(), m_nCellWidth));
    point.setY(nearestCell(point.y(), m_nCellHeight));
}

void CPage::SnapToGrid(kwvd::Rect& rect) const
{
    const int cw = m_nCellWidth;
    const int ch = m_nCellHeight;
    rect.left = floorToCell(rect.left, cw);
    rect.top = floorToCell(rect.top, ch);
    rect.right = ceilToCell(rect.right, cw);
    rect.bottom = ceilToCell(rect.bottom, ch);
    if (rect.right <= rect.left)
        rect.right = rect.left + cw;
    if (rect.bottom <= rect.top)
        rect.bottom = rect.top + ch;
}

void CPage::SnapToGridNearest(kwvd::Rect& rect) const
{
    const int cw = m_nCellWidth;
    const int ch = m_nCellHeight;
    rect.left = nearestCell(rect.left, cw);
    rect.top = nearestCell(rect.top, ch);
    rect.right = nearestCell(rect.right, cw);
    rect.bottom = nearestCell(rect.bottom, ch);
    if (rect.right <= rect.left)
        rect.right = rect.left + cw;
    if (rect.bottom <= rect.top)
        rect.bottom = rect.top + ch;
}

void CPage::ClampToPage(kwvd::Rect& rect, BOOL moveInside) const
{
    const int w = m_nPixelWidth;
    const int h = m_nPixelHeight;
    if (moveInside) {
        if (rect.left < 0)
            rect.Offset(-rect.left, 0);
        if (rect.top < 0)
            rect.Offset(0, -rect.top);
        if (rect.right > w)
            rect.Offset(w - rect.right, 0);
        if (rect.bottom > h)
            rect.Offset(0, h - rect.bottom);
    }
    rect.left = std::max(rect.left, 0);
    rect.top = std::max(rect.top, 0);
    rect.right = std::min(rect.right, w);
    rect.bottom = std::min(rect.bottom, h);
}

void CPage::PixelsToTwips(QPoint& point) const
{
    point.setX(scaleThroughFloat(static_cast<double>(m_nWidth) * point.x(), m_nPixelWidth, 1440.0, 100.0));
    point.setY(scaleThroughFloat(static_cast<double>(m_nHeight) * point.y(), m_nPixelHeight, 1440.0, 100.0));
}

void CPage::TwipsToPixels(QPoint& point) const
{
    point.setX(scaleThroughFloat(static_cast<double>(m_nPixelWidth) * point.x(), m_nWidth, 100.0, 1440.0));
    point.setY(scaleThroughFloat(static_cast<double>(m_nPixelHeight) * point.y(), m_nHeight, 100.0, 1440.0));
}

std::span<const int> CPage::GetCharWidths(int count)
{
    if (count > static_cast<int>(m_charWidths.size())) {
        m_charWidths.clear();
        m_charWidths.shrink_to_fit();
        m_charWidths.assign(static_cast<size_t>(count), m_nCellWidth);
    }
    return m_charWidths;
}

void CPage::DropCharWidths()
{
    m_charWidths.clear();
    m_charWidths.shrink_to_fit();
}

void RegisterPageStrings()
{
    static constexpr StringTable::Entry kEntries[] = {
        {IDS_PAGE_DENSITY_DEFAULTED,
         "The page of %1 holds a character or line density of 0 or less. The default of %2!d! characters and "
         "%3!d! lines per inch is used in its place."},
    };
    StringTable::Add(kEntries);
}
