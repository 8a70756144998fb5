#pragma once
// The pages of the Section of spooled file, Static text, Loop, Conditional
// and Remark kinds, made by a real property sheet (without a window) over a
// document whose spooled-file page holds known text, with hints recorded
// and fonts of our own for the font dialog to choose.

#include "designer/document/SpooledFile.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "designer/views/pages/tests/PageTestFixture.h"
#include "platform/framework/Collections.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

// Every hint the document sends, in order.
class HintLog : public DocumentChangeListener
{
public:
    void OnDocumentChanged(LPARAM hint, CObject*, CObject*) override { hints.push_back(static_cast<int>(hint)); }
    bool Saw(int hint) const { return std::find(hints.begin(), hints.end(), hint) != hints.end(); }

    std::vector<int> hints;
};

// One control of a page: its notification and group, and the record field
// that a value typed or ticked in it reaches.
template <class Data>
struct Binding
{
    int id;
    PageNotification notification;
    DWORD group;
    const char* value;
    std::function<QString(const Data&)> field;
};

template <class Data>
void CheckBindings(CElementPropPage& page, const Data& data, const std::vector<Binding<Data>>& rows)
{
    ASSERT_EQ(page.GetControlTable().size(), rows.size());
    for (const Binding<Data>& row : rows) {
        const PageControl* control = page.FindPageControl(row.id);
        ASSERT_NE(control, nullptr) << row.id;
        EXPECT_EQ(control->notification, row.notification) << row.id;
        EXPECT_EQ(control->group, row.group) << row.id;
        if (row.field == nullptr)
            continue;
        if (row.notification == PageNotification::Clicked)
            page.Control(row.id).check = 1;
        else
            page.Control(row.id).text = QString::fromLatin1(row.value);
        ASSERT_TRUE(page.UpdateData(true));
        EXPECT_EQ(row.field(data), QString::fromLatin1(row.value)) << row.id;
    }
}

class TextKindPageTest : public PageTest
{
protected:
    TextKindPageTest()
    {
        // 40 columns by 30 lines on the input page.
        std::vector<const char*> lines(30, "");
        lines[0] = "   INVOICE NUMBER 123456   ";
        lines[1] = "   CUSTOMER NAME";
        lines[29] = "                                     END";
        SetSpooledPage(lines);
        Doc().AddChangeListener(&log);
    }
    ~TextKindPageTest() override
    {
        sheet.SetElement(nullptr);
        Doc().RemoveChangeListener(&log);
        // The elements leave their fonts before the fonts go.
        env.doc.reset();
    }

public:
    const CPage& Input() const { return *Doc().GetSourcePage(); }

    // 1-based cells of the input page, right and bottom exclusive.
    kwvd::Rect In(int left, int top, int right, int bottom) const
    {
        const int cw = Input().GetCellWidth();
        const int ch = Input().GetCellHeight();
        return kwvd::Rect((left - 1) * cw, (top - 1) * ch, (right - 1) * cw, (bottom - 1) * ch);
    }

protected:
    // Line 1, 2, ... of spooled page 1.
    void SetSpooledPage(const std::vector<const char*>& lines)
    {
        auto* page = new CStringArray;
        page->Add(QString());
        for (const char* line : lines)
            page->Add(QString::fromLatin1(line));
        ASSERT_NE(Doc().GetSpooledFile(), nullptr);
        ASSERT_TRUE(Doc().GetSpooledFile()->SetPage(page, 1));
        CDocChangeGuard change(&Doc());
        Doc().RevalidateElements(1);
    }

    // The element's own page as the sheet makes it, its dialog initialised.
    template <class Page>
    Page* OwnPage(CFormElement* element)
    {
        sheet.SetElement(element);
        EXPECT_EQ(sheet.GetPageCount(), 2);
        auto* page = dynamic_cast<Page*>(sheet.GetPage(1));
        EXPECT_NE(page, nullptr);
        if (page != nullptr)
            page->OnInitDialog();
        env.env.prompts->ClearRecorded();
        log.hints.clear();
        return page;
    }

    // A font of our own at the index of the output page's list.
    CAS400Font* AddFont(int index, const char* typeface)
    {
        auto font = std::make_unique<CAS400Font>(QStringLiteral("C0S0CR10"), QStringLiteral("T1V10037"), 11, 37, 0,
                                                 CAS400Font::FF_MODERN, QString::fromLatin1(typeface), 833, 120, FALSE,
                                                 FALSE, FALSE, FALSE, QStringLiteral("QFNTCPL"), QString(), FALSE);
        if (index >= 0)
            Fonts().GetFontList().SetPrimaryFont(index, font.get());
        fonts.push_back(std::move(font));
        return fonts.back().get();
    }
    CFontManager& Fonts() const { return *Doc().GetOutputPage()->GetFontManager(); }

    // Ticks or clears a box, then its click.
    static void Click(CElementPropPage& page, int id, int check)
    {
        page.Control(id).check = check;
        page.OnControlNotify(id, PageNotification::Clicked);
    }

    // Picks a list entry, then the list's notification.
    static void Choose(CElementPropPage& page, int id, int index)
    {
        page.Control(id).selection = index;
        page.OnControlNotify(id, PageNotification::SelChange);
    }

    // The description typed on the General page: no longer automatic.
    void TypeDescription(CFormElement* element, const QString& text)
    {
        const std::unique_ptr<CGeneralPropPage> general = GeneralPage(element);
        Type(*general, CGeneralPropPage::IDC_DESCRIPTION, text, PageNotification::KillFocus);
        ASSERT_EQ(element->GetDescription(), text);
    }

    qsizetype UndoSteps() const { return Doc().GetUndoList().GetCount(); }

    std::vector<std::unique_ptr<CAS400Font>> fonts;
    CElementPropertySheet sheet{nullptr};
    HintLog log;
};
