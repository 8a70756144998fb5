// The font commands of a page's font list: they run the font dialogs through
// the runners the dialogs' library installs and apply what the user chose.

#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/SelectedFontHolder.h"

#include <utility>

namespace {

FontDialogRunner& DialogRunner()
{
    static FontDialogRunner runner;
    return runner;
}

FontAddDialogRunner& AddDialogRunner()
{
    static FontAddDialogRunner runner;
    return runner;
}

} // namespace

FontDialogRunner SetFontDialogRunner(FontDialogRunner runner)
{
    return std::exchange(DialogRunner(), std::move(runner));
}

FontAddDialogRunner SetFontAddDialogRunner(FontAddDialogRunner runner)
{
    return std::exchange(AddDialogRunner(), std::move(runner));
}

BOOL CFontManager::ChooseElementFont(const QString& sampleText, int* index)
{
    if (index == nullptr || !DialogRunner())
        return FALSE;
    FontDialogRun run;
    run.index = *index;
    run.listChoice = m_nFontListChoice;
    run.sampleText = sampleText;
    if (!DialogRunner()(*this, run))
        return FALSE;
    m_nFontListChoice = run.listChoice;
    // An index without a primary font breaks the export and the display.
    if (run.primary == nullptr)
        return FALSE;
    const int found = m_fonts.FindPair(run.secondary, run.primary);
    if (found >= 0) {
        if (found == *index)
            return FALSE;
        *index = found;
        return TRUE;
    }
    const int added = m_fonts.Add(run.primary, m_nMaxFonts);
    if (added <= 0)
        return FALSE;
    if (CSelectedFontHolder* holder = m_fonts.GetHolder(added)) {
        holder->SetSecondary(run.secondary);
        holder->RevalidateUsers();
    }
    *index = added;
    return TRUE;
}

BOOL CFontManager::RunDefaultFontDialog(FontDialogRun& run)
{
    if (!DialogRunner())
        return FALSE;
    run.index = 0;
    run.listChoice = m_nFontListChoice;
    if (!DialogRunner()(*this, run))
        return FALSE;
    m_nFontListChoice = run.listChoice;
    return TRUE;
}

BOOL CFontManager::ApplyDefaultFont(CAS400Font* primary, CAS400Font* secondary)
{
    if (primary == nullptr)
        return FALSE;
    const CSelectedFontHolder* current = m_fonts.GetHolder(0);
    if (current != nullptr && current->GetPrimary() == primary && current->GetSecondary() == secondary)
        return FALSE;
    m_fonts.SetPrimaryFont(0, primary);
    if (CSelectedFontHolder* holder = m_fonts.GetHolder(0)) {
        holder->SetSecondary(secondary);
        holder->RevalidateUsers();
    }
    m_bDefaultFollowsGrid = FALSE;
    return TRUE;
}

BOOL CFontManager::ChooseDefaultFont()
{
    FontDialogRun run;
    if (!RunDefaultFontDialog(run))
        return FALSE;
    ApplyDefaultFont(run.primary, run.secondary);
    return TRUE;
}

BOOL CFontManager::AddFont(QObject* parent, CAS400Font** font)
{
    if (!AddDialogRunner())
        return FALSE;
    CAS400Font* dialogFont = font != nullptr ? *font : nullptr;
    const BOOL changed = AddDialogRunner()(*this, dialogFont, FALSE, parent);
    if (changed && font != nullptr) {
        *font = dialogFont;
        if (dialogFont != nullptr)
            m_fonts.RevalidateFontUsers(dialogFont);
    }
    return changed;
}

BOOL CFontManager::EditFont(CAS400Font* font, QObject* parent)
{
    if (font == nullptr || !AddDialogRunner())
        return FALSE;
    CAS400Font* dialogFont = font;
    const BOOL changed = AddDialogRunner()(*this, dialogFont, TRUE, parent);
    if (changed == TRUE)
        m_fonts.RevalidateFontUsers(font);
    return changed;
}
