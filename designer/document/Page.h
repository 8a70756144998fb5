#pragma once
// One page of the designer: its size in 1/100 inch, its character grid and
// the conversions between grid cells, page pixels and twips that every
// element, view and resource goes through.
//
// The page works in grid pixels: a character cell is a whole number of screen
// pixels (from kwvd::ScreenResolution), and the page's pixel size is its
// columns and lines times the cell, not its physical size on the screen.
// Rectangles are kwvd::Rect, right and bottom exclusive. "div" below is
// integer division truncating toward zero.

#include "platform/framework/Object.h"
#include "platform/framework/Rect.h"
#include "platform/framework/Types.h"

#include <QPoint>

#include <memory>
#include <span>
#include <vector>

class CFontManager;
struct PageSizeValues;

class CPage : public CObject
{
    KWVD_DECLARE_SERIAL(CPage)

public:
    static constexpr int kDefaultWidth = 827; // A4, 1/100 inch
    static constexpr int kDefaultHeight = 1169;
    static constexpr int kDefaultCharsPerInch = 10;
    static constexpr int kDefaultLinesPerInch = 6;
    static constexpr WORD kDefaultBorder = 250; // 1/1000 inch

    // Defaults, a font manager bound to this page, then RecalcGrid.
    CPage();
    ~CPage() override;

    CPage(const CPage&) = delete;
    CPage& operator=(const CPage&) = delete;

    // Cell from the screen resolution and the grid densities; then the pixel
    // size from the size in 1/100 inch. Drops the advance cache when the cell
    // changes. A cell is never narrower or lower than one pixel.
    void RecalcGrid();

    // TRUE when the size changed; a size of 0 or less is refused. A change
    // is passed on to the font manager with the current cell.
    BOOL SetPixelSize(int width, int height);
    // The page as columns x lines cells; the size in 1/100 inch is kept.
    BOOL SetSizeInCells(int columns, int lines);
    // The size in 1/100 inch from twips, then RecalcGrid. A size that comes
    // out 0 or less, or unchanged, is refused.
    BOOL SetSizeTwips(int width, int height);

    // To 1-based cells; right and bottom name the first column and line
    // after the rectangle.
    void RectToCells(kwvd::Rect& rect) const;
    // To the nearest grid line; exactly half a cell rounds down.
    void SnapPointToGrid(QPoint& point) const;
    // Outward to the grid, at least one cell wide and high.
    void SnapToGrid(kwvd::Rect& rect) const;
    // Each side to its nearest grid line, at least one cell wide and high.
    void SnapToGridNearest(kwvd::Rect& rect) const;
    // Cut to the page; with moveInside first shifted onto it.
    void ClampToPage(kwvd::Rect& rect, BOOL moveInside) const;

    // Non-negative results round half up, negative ones are truncated; the
    // ratio in between is held in single precision, as the host's files were
    // made with.
    void PixelsToTwips(QPoint& point) const;
    void TwipsToPixels(QPoint& point) const;

    // At least count advances of one cell width each, for text that keeps to
    // the grid. The cache is kept (same data) until the cell changes or a
    // longer run is asked for.
    std::span<const int> GetCharWidths(int count);

    // The WVD form: size, grid densities, orientation, border, then the font
    // manager as an object (read in place for schemas below 2). A stored
    // density of 0 or less is read as the default one (the grid divides by
    // it); TakeDefaultedDensity tells the document so.
    void Serialize(CArchive& ar) override;

    // TRUE once after a read that put a default in place of a stored
    // density of 0 or less.
    bool TakeDefaultedDensity();

    CFontManager* GetFontManager() const { return m_pFontManager.get(); }

    // Size in 1/100 inch, as oriented. The setters store what they are given
    // (the Size page's entries); RecalcGrid makes the grid follow.
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    void SetWidth(int width) { m_nWidth = width; }
    void SetHeight(int height) { m_nHeight = height; }

    int GetCharsPerInch() const { return m_nCharsPerInch; }
    int GetLinesPerInch() const { return m_nLinesPerInch; }
    void SetCharsPerInch(int charsPerInch) { m_nCharsPerInch = charsPerInch; }
    void SetLinesPerInch(int linesPerInch) { m_nLinesPerInch = linesPerInch; }

    int GetPixelWidth() const { return m_nPixelWidth; }
    int GetPixelHeight() const { return m_nPixelHeight; }
    int GetCellWidth() const { return m_nCellWidth; }
    int GetCellHeight() const { return m_nCellHeight; }

    // 0 portrait, any other value landscape. Width and height already hold
    // the oriented page; images and resources rotate by it.
    int GetOrientation() const { return m_nOrientation; }
    void SetOrientation(int orientation) { m_nOrientation = orientation; }
    // The one rule every user of the orientation goes by.
    bool IsLandscape() const { return m_nOrientation != 0; }

    // No-print border in 1/1000 inch.
    WORD GetBorder() const { return m_nBorder; }
    void SetBorder(WORD border) { m_nBorder = border; }

    // The Size page's values from the page, and back after OK: each field
    // stored when it differs, the grid recomputed after any change. TRUE
    // when something changed (PageSetup.cpp).
    void FillSizePage(PageSizeValues& values) const;
    BOOL ApplySizePage(const PageSizeValues& values);

private:
    void DropCharWidths();

    std::unique_ptr<CFontManager> m_pFontManager;
    int m_nWidth = kDefaultWidth;
    int m_nHeight = kDefaultHeight;
    int m_nCharsPerInch = kDefaultCharsPerInch;
    int m_nLinesPerInch = kDefaultLinesPerInch;
    int m_nPixelWidth = 0;
    int m_nPixelHeight = 0;
    int m_nCellWidth = 0;
    int m_nCellHeight = 0;
    int m_nOrientation = 0;
    std::vector<int> m_charWidths;
    WORD m_nBorder = kDefaultBorder;
    bool m_densityDefaulted = false;
};

// The document's notice of a defaulted density. %1: the document's file,
// %2 and %3: the default characters and lines per inch.
inline constexpr UINT IDS_PAGE_DENSITY_DEFAULTED = 12971;

// Called once at start-up (through RegisterDocumentClasses), and by tests.
void RegisterPageStrings();
