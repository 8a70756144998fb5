// The Page Setup sheet's values and the output page's Size page transfer.

#include "designer/document/PageSetup.h"

#include "designer/document/Page.h"
#include "platform/framework/MathHelpers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

constexpr int kMaxHeaderNumber = 32767;

struct TypeEntryRow
{
    const char* entry;
    int type;
};

// *FIL and *DSP are types 6 and 5 and the document store 7: the list keeps
// the host's order, each entry naming the type it stands for.
constexpr std::array<TypeEntryRow, PageOutputValues::kTypeCount> kTypeEntries = {{
    {"*SCS", 0},
    {"*AFP", 1},
    {"*HPT", 2},
    {"*FAX", 3},
    {"*EML", 4},
    {"*FIL", 6},
    {"*DST", 7},
    {"*DSP", 5},
}};

} // namespace

BOOL PageSizeValues::ChangeOrientation(int newOrientation)
{
    if (newOrientation == orientation)
        return FALSE;
    orientation = newOrientation;
    std::swap(width, height);
    return TRUE;
}

QString PageOutputValues::TypeEntry(int position)
{
    if (position < 0 || position >= kTypeCount)
        return {};
    return QString::fromLatin1(kTypeEntries[static_cast<size_t>(position)].entry);
}

int PageOutputValues::TypeOfPosition(int position)
{
    if (position < 0 || position >= kTypeCount)
        return -1;
    return kTypeEntries[static_cast<size_t>(position)].type;
}

int PageOutputValues::PositionOfType(int type)
{
    for (size_t i = 0; i < kTypeEntries.size(); ++i) {
        if (kTypeEntries[i].type == type)
            return static_cast<int>(i);
    }
    return -1;
}

void PageHeaderValues::DeriveCompareMode()
{
    if (!compareText.isEmpty()) {
        compareMode = CompareText;
        andPosition = column != 0 ? 1 : 0;
    } else {
        compareMode = ComparePosition;
        andPosition = 0;
    }
}

void PageHeaderValues::ApplyCompareRules()
{
    if (compareMode == ComparePosition) {
        compareText.clear();
        andPosition = 0;
        return;
    }
    compareType = 0;
    if (!andPosition)
        column = 0;
    width = 0;
    line = 0;
}

int ClampHeaderNumber(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(value), double(-kMaxHeaderNumber), double(kMaxHeaderNumber)));
}

void CPage::FillSizePage(PageSizeValues& values) const
{
    values.width = m_nWidth / 100.0;
    values.height = m_nHeight / 100.0;
    values.orientation = m_nOrientation;
    values.charsPerInch = m_nCharsPerInch;
    values.linesPerInch = m_nLinesPerInch;
    values.border = MulDiv(m_nBorder, 1440, 1000);
}

BOOL CPage::ApplySizePage(const PageSizeValues& values)
{
    BOOL changed = FALSE;
    const auto store = [&changed](int& field, int value) {
        if (field != value) {
            field = value;
            changed = TRUE;
        }
    };
    store(m_nWidth, RoundToInt(values.width * 100));
    store(m_nHeight, RoundToInt(values.height * 100));
    store(m_nOrientation, values.orientation);
    store(m_nCharsPerInch, values.charsPerInch);
    store(m_nLinesPerInch, values.linesPerInch);
    // The field is 16 bits: an entry beyond it is held at its end, never
    // wrapped.
    const WORD border = static_cast<WORD>(std::clamp(MulDiv(values.border, 1000, 1440), 0, 0xFFFF));
    if (border != m_nBorder) {
        m_nBorder = border;
        changed = TRUE;
    }
    if (changed)
        RecalcGrid();
    return changed;
}
