#pragma once
// A designer document with something of everything the WVD file carries:
// header fields, a two-page spooled file, output devices, zoom and queues,
// run parameters, Build ID, upload time and path, and an element tree with
// every kind built so far, containers nested in containers. Also the
// process set-up such a document needs and the store and load of a
// document through a memory archive.

#include "designer/document/DesignerDoc.h"
#include "designer/document/DocumentClasses.h"
#include "designer/document/Page.h"
#include "designer/document/SpooledFile.h"
#include "designer/elements/ElementClasses.h"
#include "designer/elements/FormElement.h"
#include "designer/elements/FormTextElement.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/ResourceClasses.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/Archive.h"
#include "platform/framework/FrameworkClasses.h"
#include "platform/framework/MemFile.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/ScopedPrompts.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Registrations, preferences with a private master device file, and a
// scripted prompt service, for the life of the object.
class WvdTestEnvironment
{
public:
    WvdTestEnvironment()
    {
        RegisterFrameworkClasses();
        RegisterDocumentClasses();
        RegisterElementClasses();
        RegisterOutputClasses();
        RegisterOutputStrings();
        RegisterResourceClasses();
        prefs.MasterOutputDeviceFileV2 = folder.filePath(QStringLiteral("wvdOutpV2.dat"));
        prefs.ApplicationDataDirectory = folder.path();
        previousPrefs = SetPreferences(&prefs);
        // Two installed host fonts, as a designer has: new pages take one as
        // their default font, the other is free for index 1.
        AddInstalledFont(QStringLiteral("Courier"), 1);
        AddInstalledFont(QStringLiteral("Letter"), 2);
    }
    ~WvdTestEnvironment()
    {
        // As the program's last font manager does: the master lists are
        // written and let go, so a test without a document leaks no font.
        if (CFontManager::GetLiveManagerCount() == 0)
            CFontManager::SaveMasterFontFile();
        SetPreferences(previousPrefs);
    }
    WvdTestEnvironment(const WvdTestEnvironment&) = delete;
    WvdTestEnvironment& operator=(const WvdTestEnvironment&) = delete;

    // A font of library "WVDLIB", which the master list then counts as
    // installed; the master record when an equal one is there already.
    static CAS400Font* AddInstalledFont(const QString& face, DWORD fgid)
    {
        auto* font = new CAS400Font(QStringLiteral("C1"), QString(), fgid, 0, 0, CAS400Font::FF_MODERN, face, 833, 100,
                                    FALSE, FALSE, FALSE, FALSE, QStringLiteral("WVDLIB"), QString(), FALSE);
        if (CAS400Font* master = CFontManager::FindMasterFont(font)) {
            delete font;
            return master;
        }
        EXPECT_TRUE(CFontManager::AddToMasterList(font));
        return font;
    }

    // The texts of the prompts recorded so far, in order.
    QStringList PromptTexts() const { return prompts.Texts(); }

    QTemporaryDir folder;
    CPreferences prefs;
    CPreferences* previousPrefs = nullptr;
    ScopedPromptAnswers prompts;
};

// The whole document as a WVD file in memory.
inline Bytes StoreDocument(CDesignerDoc& doc)
{
    return Store([&](CArchive& ar) {
        ar.m_pDocument = &doc;
        doc.Serialize(ar);
    });
}

// Reads the bytes into the document the way an open does: under a change
// level and the update suppression.
inline void LoadDocument(CDesignerDoc& doc, const Bytes& bytes)
{
    doc.SuppressUpdates();
    doc.BeginChange();
    try {
        Load(bytes, [&](CArchive& ar) {
            ar.m_pDocument = &doc;
            doc.Serialize(ar);
        });
    } catch (...) {
        doc.ClearDirty();
        doc.EndChange();
        doc.ResumeUpdates();
        throw;
    }
    doc.ClearDirty();
    doc.EndChange();
    doc.ResumeUpdates();
}

// The pieces of the rich document a test may want to look at again.
struct RichDocumentParts
{
    CFormElement* loop = nullptr;              // top level: text, conditional
    CFormElement* conditionalInLoop = nullptr; // text, variable, conditional
    CFormElement* innerConditional = nullptr;  // eraser
    CFormElement* conditional = nullptr;       // top level: source
    CFormElement* output = nullptr;            // the default output, with an address
    CAS400Font* font1 = nullptr;               // index 1 of the output page, used by the first text
    std::vector<CFormElement*> leaves;         // the top-level leaves
};

// Fills a new document (OnNewDocument done). Every change runs inside one
// change level, as the commands do.
inline RichDocumentParts BuildRichDocument(CDesignerDoc& doc)
{
    using T = FormElementType;
    RichDocumentParts parts;
    CDocChangeGuard change(&doc);

    doc.WvdName().SetValue(QStringLiteral("INVOICE"));
    doc.Description().SetValue(QStringLiteral("Invoice with \u00e9 and \u20ac"));
    doc.FirstPageText().SetValue(QStringLiteral("INVOICE"));
    doc.FirstPageTextLine().SetValue(3);
    doc.FirstPageTextColumn().SetValue(12);
    doc.FirstPageTextWidth().SetValue(7);
    doc.FirstPageCompare().SetValue(QStringLiteral("EQ"));
    doc.IgnoreFirstPage().SetValue(QStringLiteral("Y"));
    doc.FirstPageToProcess().SetValue(2);
    doc.LastPageToProcess().SetValue(9);
    doc.FontGroupName().SetValue(QStringLiteral("GROUP1"));
    doc.ResourceLibrary().SetValue(QStringLiteral("RESLIB"));

    CPage& page = *doc.GetOutputPage();
    page.SetOrientation(1);
    page.SetBorder(300);
    CFontManager& fonts = *page.GetFontManager();
    fonts.SetFontGroupName(QStringLiteral("INVFONTS"));
    fonts.SetFontGroupDescription(QStringLiteral("Invoice fonts"));
    for (const char* face : {"Courier", "Letter"}) {
        CAS400Font* font = WvdTestEnvironment::AddInstalledFont(QString::fromLatin1(face), face[0] == 'C' ? 1 : 2);
        if (font != fonts.GetFont(0))
            parts.font1 = font;
    }
    EXPECT_NE(fonts.GetFont(0), nullptr) << "new pages take an installed default font";
    fonts.GetFontList().SetPrimaryFont(1, parts.font1);

    auto* page1 = new CStringArray;
    page1->Add(QStringLiteral("INVOICE  0001"));
    page1->Add(QStringLiteral("Customer  Kowalski"));
    doc.GetSpooledFile()->SetPage(page1, 1);
    auto* page2 = new CStringArray;
    page2->Add(QStringLiteral("PAGE 2"));
    doc.GetSpooledFile()->SetPage(page2, 2);

    doc.GetOutputDeviceManager()->AddDeviceByName(QStringLiteral("FAX1"), QStringLiteral("*FAX"));
    doc.GetOutputDeviceManager()->AddDeviceByName(QStringLiteral("PRT01"), QStringLiteral("*SCS"));

    doc.m_sourceZoom[0] = 150;
    doc.m_sourceZoom[1] = 125;
    doc.m_sourceFit = 1;
    doc.m_destZoom[0] = 75;
    doc.m_destZoom[1] = 80;
    doc.m_destFit = 2;
    doc.m_outputQueue = QStringLiteral("PRT01");
    doc.m_outputQueueLibrary = QStringLiteral("QUSRSYS");

    CrtWvdRequest& run = doc.GetRunParameters();
    run.SetSystem(QStringLiteral("AS400A"));
    run.SetLibrary(QStringLiteral("WVDLIB"));
    run.SetWvdName(QStringLiteral("INVOICE"));
    run.SetMessageQueue(QStringLiteral("QSYSOPR"));
    run.GetIdentity().SetFileName(QStringLiteral("QPJOBLOG"));

    const kwvd::Rect box(8, 16, 80, 48);
    auto make = [&](int type, CFormElement* anchor) {
        CFormElement* element = doc.CreateNewElement(type, 0, box, anchor);
        EXPECT_NE(element, nullptr) << "kind " << type;
        return element;
    };
    parts.leaves.push_back(make(T::Text, nullptr));
    parts.leaves.push_back(make(T::Remark, nullptr));
    parts.loop = make(T::Loop, nullptr);
    make(T::Text, parts.loop);
    parts.conditionalInLoop = make(T::Conditional, parts.loop);
    make(T::Text, parts.conditionalInLoop);
    make(T::Variable, parts.conditionalInLoop);
    parts.innerConditional = make(T::Conditional, parts.conditionalInLoop);
    make(T::Eraser, parts.innerConditional);
    parts.conditional = make(T::Conditional, nullptr);
    make(T::Source, parts.conditional);
    parts.leaves.push_back(make(T::ExitParam, nullptr));
    parts.leaves.push_back(make(T::ExitProgram, nullptr));
    for (CObject* object : doc.GetElementList())
        if (auto* element = dynamic_cast<CFormElement*>(object); element != nullptr && element->GetType() == T::Output)
            parts.output = element;
    EXPECT_NE(parts.output, nullptr);
    if (parts.output != nullptr)
        make(T::Address, parts.output);
    if (auto* text = dynamic_cast<CFormTextElement*>(parts.leaves.front())) {
        text->SetText(QStringLiteral("Thank you"));
        EXPECT_TRUE(text->SetFontIndex(1));
    }

    doc.SetBuildId(4711);
    doc.GetUploadTime().Parse(QStringLiteral("2024-03-05-14.30.15.000000"));
    doc.SetUploadPath(QStringLiteral("/QSYS.LIB/WVDLIB.LIB/INVOICE.FILE"));
    return parts;
}

// The element types in a list, in its order.
inline std::vector<int> TypesOf(const CObList& list)
{
    std::vector<int> types;
    for (CObject* object : list)
        types.push_back(static_cast<CFormElement*>(object)->GetType());
    return types;
}
