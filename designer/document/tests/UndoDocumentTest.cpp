// Undo and redo over whole documents with nested containers: the document
// image and the z-order come back exactly.

#include "designer/document/CompressedMemFile.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/DocumentClasses.h"
#include "designer/document/Page.h"
#include "designer/elements/ElementClasses.h"
#include "designer/elements/FormConditionalElement.h"
#include "designer/elements/FormLoopElement.h"
#include "designer/elements/FormTextElement.h"
#include "designer/output/OutputClasses.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/ResourceClasses.h"
#include "platform/framework/Archive.h"
#include "platform/framework/FrameworkClasses.h"
#include "platform/framework/MemFile.h"
#include "tests/support/ScopedPrompts.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using kwvd::Rect;
using Bytes = std::vector<BYTE>;

Rect Cells(int left, int top, int right, int bottom)
{
    return Rect((left - 1) * 10, (top - 1) * 16, (right - 1) * 10, (bottom - 1) * 16);
}

// Names the first byte that differs rather than dumping both images.
::testing::AssertionResult SameImage(const Bytes& actual, const Bytes& expected)
{
    const size_t common = std::min(actual.size(), expected.size());
    for (size_t i = 0; i < common; ++i)
        if (actual[i] != expected[i])
            return ::testing::AssertionFailure()
                   << "byte " << i << " is " << int(actual[i]) << ", expected " << int(expected[i]) << " after \""
                   << std::string(expected.begin() + static_cast<long>(i - std::min<size_t>(i, 24)),
                                  expected.begin() + static_cast<long>(i))
                   << "\"; expected then \""
                   << std::string(expected.begin() + static_cast<long>(i),
                                  expected.begin() + static_cast<long>(std::min(common, i + 24)))
                   << "\", actual \""
                   << std::string(actual.begin() + static_cast<long>(i),
                                  actual.begin() + static_cast<long>(std::min(common, i + 24)))
                   << "\"";
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << actual.size() << " bytes, expected " << expected.size();
    return ::testing::AssertionSuccess();
}

CFormElement* AsElement(CObject* object)
{
    return dynamic_cast<CFormElement*>(object);
}

} // namespace

class UndoDocumentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterFrameworkClasses();
        RegisterDocumentClasses();
        RegisterElementClasses();
        RegisterOutputClasses();
        RegisterOutputStrings();
        RegisterResourceClasses();
        // The master device list must not touch the user's own.
        preferences.MasterOutputDeviceFileV2 = folder.filePath(QStringLiteral("wvdOutpV2.dat"));
        previousPreferences = SetPreferences(&preferences);
        doc = std::make_unique<CDesignerDoc>();
        ASSERT_TRUE(doc->OnNewDocument());

        // A Loop holding a Conditional holding a Text and a Source, beside a
        // top-level Variable and the default Output.
        CDocChangeGuard guard(doc.get());
        auto* loop = static_cast<CFormLoopElement*>(
            doc->CreateNewElement(FormElementType::Loop, 1, Cells(1, 5, 81, 12), nullptr));
        ASSERT_NE(loop, nullptr);
        loop->SetLoopMode(LoopMode::ToDocumentEnd);
        loop->ArrangeRects();
        auto* conditional = static_cast<CFormConditionalElement*>(
            doc->CreateNewElement(FormElementType::Conditional, 1, Cells(3, 6, 9, 7), loop));
        ASSERT_NE(conditional, nullptr);
        conditional->SetCompareValue(QStringLiteral("ABC"));
        text = static_cast<CFormTextElement*>(
            doc->CreateNewElement(FormElementType::Text, 2, Cells(10, 7, 15, 8), conditional));
        ASSERT_NE(text, nullptr);
        text->SetText(QStringLiteral("HELLO"));
        ASSERT_NE(doc->CreateNewElement(FormElementType::Source, 1, Cells(20, 6, 30, 7), conditional), nullptr);
        ASSERT_NE(doc->CreateNewElement(FormElementType::Variable, 1, Cells(1, 20, 10, 21), nullptr), nullptr);

        int n = 0;
        for (CObject* object : doc->GetElementList()) {
            AsElement(object)->SetAutoDescription(FALSE);
            CFormElement::SetDescription(QStringLiteral("element %1").arg(++n), AsElement(object));
        }
        // A z-order unlike the document order: a nested child at the front,
        // its container at the back.
        doc->BringToFront(text, FALSE);
        doc->SendToBack(loop, FALSE);
    }

    void TearDown() override
    {
        doc.reset();
        SetPreferences(previousPreferences);
    }

    // The document as the WVD file writes it.
    Bytes Image()
    {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar.m_pDocument = doc.get();
            doc->Serialize(ar);
            ar.Close();
        }
        Bytes bytes(static_cast<size_t>(file.GetLength()));
        file.SeekToBegin();
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
        return bytes;
    }

    std::vector<QString> ZOrder() const
    {
        std::vector<QString> order;
        for (CObject* object : doc->GetZOrderList())
            order.push_back(AsElement(object)->GetDescription());
        return order;
    }

    void ChangeText(const QString& value)
    {
        CDocChangeGuard guard(doc.get());
        for (CObject* object : doc->GetElementList())
            if (auto* element = dynamic_cast<CFormTextElement*>(object))
                element->SetText(value);
    }

    void ExpectWholeTree() const
    {
        const CObList& elements = doc->GetElementList();
        EXPECT_EQ(doc->GetZOrderList().GetCount(), elements.GetCount());
        for (CObject* object : elements) {
            CFormElement* element = AsElement(object);
            ASSERT_NE(element, nullptr);
            EXPECT_EQ(element->GetDocument(), doc.get());
            if (CFormElement* parent = element->GetParent()) {
                EXPECT_TRUE(doc->ContainsElement(parent));
            }
        }
    }

    QTemporaryDir folder;
    CPreferences preferences;
    CPreferences* previousPreferences = nullptr;
    ScopedPromptAnswers prompts;
    std::unique_ptr<CDesignerDoc> doc;
    CFormTextElement* text = nullptr;
};

TEST_F(UndoDocumentTest, UndoTwiceThenRedoTwiceGivesTheSameBytes)
{
    const Bytes first = Image();
    const std::vector<QString> firstZOrder = ZOrder();
    ChangeText("WORLD");
    const Bytes second = Image();
    ChangeText("AGAIN");
    const Bytes third = Image();
    const std::vector<QString> thirdZOrder = ZOrder();
    ASSERT_NE(first, second);
    ASSERT_NE(second, third);

    doc->OnEditUndo();
    EXPECT_TRUE(SameImage(Image(), second));
    doc->OnEditUndo();
    EXPECT_TRUE(SameImage(Image(), first));
    EXPECT_EQ(ZOrder(), firstZOrder);
    ExpectWholeTree();

    doc->OnEditRedo();
    EXPECT_TRUE(SameImage(Image(), second));
    doc->OnEditRedo();
    EXPECT_TRUE(SameImage(Image(), third));
    EXPECT_EQ(ZOrder(), thirdZOrder);
    ExpectWholeTree();
    for (const RecordedPrompt& p : prompts->Recorded())
        ADD_FAILURE() << "unexpected message: " << p.text.toStdString();
}

// The snapshot holds the document image, and holds it as Compress() stores
// that image, for every state in turn: the snapshots share one zlib stream.
TEST_F(UndoDocumentTest, EachSnapshotIsTheCompressedImageOfItsState)
{
    for (const char* value : {"WORLD", "AGAIN", "", "A LONGER TEXT THAN BEFORE"}) {
        SCOPED_TRACE(value);
        ChangeText(value);
        const Bytes image = Image();
        CCompressedMemFile expected;
        expected.Write(image.data(), static_cast<UINT>(image.size()));
        expected.Compress();
        ASSERT_TRUE(expected.IsCompressed());

        auto* head = static_cast<CCompressedMemFile*>(doc->GetUndoList().GetHead());
        ASSERT_TRUE(head->IsCompressed());
        EXPECT_EQ(head->GetUncompressedLength(), image.size());
        EXPECT_EQ(head->GetLength(), head->GetCompressedLength());
        ASSERT_EQ(head->GetCompressedLength(), expected.GetCompressedLength());
        EXPECT_TRUE(std::equal(head->GetContents(), head->GetContents() + head->GetLength(), expected.GetContents()));

        head->Decompress();
        EXPECT_TRUE(SameImage(Bytes(head->GetContents(), head->GetContents() + head->GetLength()), image));
        head->Compress();
        EXPECT_TRUE(head->IsCompressed());
    }
}

TEST_F(UndoDocumentTest, ZOrderSurvivesUndoWithContainers)
{
    const std::vector<QString> before = ZOrder();
    ASSERT_EQ(before.front(), text->GetDescription());
    ChangeText("WORLD");
    {
        CDocChangeGuard guard(doc.get());
        doc->SendToBack(AsElement(doc->GetZOrderList().GetHead()), FALSE);
    }
    ASSERT_NE(ZOrder(), before);

    doc->OnEditUndo();
    doc->OnEditUndo();
    EXPECT_EQ(ZOrder(), before);
    ExpectWholeTree();
}

TEST_F(UndoDocumentTest, ARestoreFromADamagedSnapshotLeavesTheDocumentAsItWas)
{
    ChangeText("WORLD");
    const Bytes current = Image();
    const std::vector<QString> zOrder = ZOrder();

    // The snapshot before the head: its stream no longer inflates.
    auto* previous = static_cast<CCompressedMemFile*>(*std::next(doc->GetUndoList().begin()));
    BYTE b = 0;
    previous->Seek(static_cast<LONGLONG>(previous->GetLength() / 2), CFile::begin);
    previous->Read(&b, 1);
    b ^= 0x5A;
    previous->Seek(-1, CFile::current);
    previous->Write(&b, 1);

    doc->OnEditUndo();

    EXPECT_TRUE(SameImage(Image(), current));
    EXPECT_EQ(ZOrder(), zOrder);
    ExpectWholeTree();
    EXPECT_FALSE(doc->CanRedo());
    EXPECT_EQ(doc->GetChangeDepth(), 0);
    EXPECT_EQ(doc->GetUpdateSuppression(), 0);
    ASSERT_EQ(prompts->Recorded().size(), 1u);
    EXPECT_TRUE(prompts->Recorded()[0].text.contains("could not be restored"));
}
