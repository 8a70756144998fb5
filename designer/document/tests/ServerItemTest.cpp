// The clipboard and drag item: its stream, the formats it travels under and
// what a paste or drop reads back.

#include "designer/document/ServerItem.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/TimeStamp.h"
#include "designer/elements/FormElement.h"
#include "platform/framework/Archive.h"
#include "platform/framework/MemFile.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/WvdDocumentFixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using T = FormElementType;

// An element that has something to tell the user each time it is read, as
// an element whose font is missing does.
class NoisyElement : public CFormElement
{
    KWVD_DECLARE_SERIAL(NoisyElement)

public:
    NoisyElement() = default;
    explicit NoisyElement(CDesignerDoc* doc) : CFormElement(doc) {}

    void Serialize(CArchive& ar) override
    {
        CFormElement::Serialize(ar);
        if (ar.IsLoading() && GetDocument() != nullptr) {
            readQuietly = readQuietly && GetDocument()->IsQuietRead();
            GetDocument()->NotifyUser(QStringLiteral("A font of this element is missing."), MB_OK, IDOK);
        }
    }

    static inline bool readQuietly = true;
};

KWVD_IMPLEMENT_SERIAL(NoisyElement, CFormElement, VERSIONABLE_SCHEMA | 20)

bool StartsWith(const Bytes& bytes, const Bytes& prefix)
{
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

class ServerItemTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (QGuiApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "kwvd_document_tests";
            static char* argv[] = {name, nullptr};
            new QGuiApplication(argc, argv); // lives for the whole run, as a program's would
        }
    }

    void SetUp() override
    {
        RegisterRuntimeClass(KWVD_RUNTIME_CLASS(NoisyElement));
        ASSERT_TRUE(doc.OnNewDocument());
        topLevelBefore = TopLevelCount();
    }

    CFormElement* Make(int type, const kwvd::Rect& rect, CFormElement* anchor = nullptr)
    {
        CDocChangeGuard change(&doc);
        CFormElement* element = doc.CreateNewElement(type, 2, rect, anchor);
        EXPECT_NE(element, nullptr) << "kind " << type;
        return element;
    }

    void SelectOnly(std::initializer_list<CFormElement*> elements)
    {
        CDocChangeGuard change(&doc);
        for (CObject* object : doc.GetElementList())
            static_cast<CFormElement*>(object)->Select(FALSE);
        for (CFormElement* element : elements)
            element->Select(TRUE);
    }

    // The stream the item puts under its format.
    Bytes StreamOf(const CServerItem& item)
    {
        QMimeData data;
        item.RenderFormats(data);
        return ToBytes(data.data(CServerItem::FormatName(item.GetFormat())));
    }

    // Adds what a paste read, as the panes do; the elements added.
    std::vector<CFormElement*> PasteInto(CServerItem& item)
    {
        std::vector<CFormElement*> added;
        CDocChangeGuard change(&doc);
        for (CFormElement* element : item.TakeElements()) {
            if (doc.AddElement(element, TRUE, nullptr) != nullptr)
                added.push_back(element);
            else if (!doc.ContainsElement(element))
                delete element;
        }
        return added;
    }

    qsizetype TopLevelCount() const
    {
        qsizetype count = 0;
        for (CObject* object : doc.GetElementList())
            if (!static_cast<CFormElement*>(object)->HasParent())
                ++count;
        return count;
    }

    WvdTestEnvironment env;
    CDesignerDoc doc;
    qsizetype topLevelBefore = 0;
};

TEST_F(ServerItemTest, OutputPaneCopyWithTrackedElementWritesCountElementsAndAnchor)
{
    CFormElement* first = Make(T::Text, kwvd::Rect(8, 16, 80, 48));
    CFormElement* second = Make(T::Text, kwvd::Rect(96, 16, 160, 48));
    CFormElement* third = Make(T::Text, kwvd::Rect(8, 64, 80, 96));
    Make(T::Remark, kwvd::Rect());
    SelectOnly({third, first, second});

    const std::vector<CFormElement*> selected = CServerItem::SelectedElements(doc);
    ASSERT_EQ(selected, (std::vector<CFormElement*>{first, second, third})) << "document order";
    CServerItem item(&doc, CServerItem::DestFormat, selected, second);
    const Bytes bytes = StreamOf(item);

    // Count 3, then the first element with its class named in full.
    EXPECT_TRUE(StartsWith(bytes, Hex("03 00 FF FF 14 00 10 00") + Ascii("CFormTextElement")));
    // After the three elements: has-anchor 1 and the anchor, a plain element.
    const Bytes anchorHeader = Hex("01 00 FF FF 14 00 0C 00") + Ascii("CFormElement");
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), anchorHeader.begin(), anchorHeader.end()), bytes.end());

    CServerItem pasted(&doc);
    QMimeData data;
    item.RenderFormats(data);
    ASSERT_TRUE(pasted.LoadFromDataObject(&data));
    EXPECT_EQ(pasted.GetFormat(), CServerItem::DestFormat);
    ASSERT_EQ(pasted.GetElementList().GetCount(), 3);
    ASSERT_TRUE(pasted.HasAnchor());
    EXPECT_EQ(pasted.GetAnchor()->GetRuntimeClass(), KWVD_RUNTIME_CLASS(CFormElement));
    EXPECT_EQ(pasted.GetAnchor()->GetDestRect(), second->GetDestRect());
    EXPECT_EQ(pasted.GetReferenceElement(), pasted.GetAnchor());
    auto it = pasted.GetElementList().begin();
    for (CFormElement* original : selected) {
        auto* copy = static_cast<CFormElement*>(*it++);
        EXPECT_NE(copy, original);
        EXPECT_EQ(copy->GetType(), original->GetType());
        EXPECT_EQ(copy->GetDestRect(), original->GetDestRect());
        EXPECT_FALSE(doc.ContainsElement(copy)) << "a paste adds the elements, not the read";
    }
}

TEST_F(ServerItemTest, ExplorerCopyWritesOneElementAndNoAnchor)
{
    CFormElement* remark = Make(T::Remark, kwvd::Rect());
    CServerItem item(&doc, CServerItem::ExplFormat, {remark}, nullptr);
    const Bytes bytes = StreamOf(item);

    EXPECT_TRUE(StartsWith(bytes, Hex("01 00 FF FF 14 00 12 00") + Ascii("CFormRemarkElement")));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(Bytes(bytes.end() - 2, bytes.end()), Hex("00 00")) << "has-anchor 0 ends the stream";
}

TEST_F(ServerItemTest, PasteAddsCopiesPlacedByTheReference)
{
    CFormElement* text = Make(T::Text, kwvd::Rect(8, 16, 80, 48));
    CFormElement* eraser = Make(T::Eraser, kwvd::Rect(96, 64, 160, 96));
    const qsizetype before = doc.GetElementList().GetCount();
    ASSERT_TRUE(CServerItem(&doc, CServerItem::DestFormat, {text, eraser}, nullptr).CopyToClipboard());

    CServerItem item(&doc);
    ASSERT_TRUE(item.PasteFromClipboard());
    EXPECT_FALSE(item.HasAnchor());
    ASSERT_NE(item.GetReferenceElement(), nullptr);
    EXPECT_EQ(item.GetReferenceElement()->GetType(), T::Text) << "without an anchor, the first element";
    const std::vector<CFormElement*> added = PasteInto(item);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(doc.GetElementList().GetCount(), before + 2);
    EXPECT_EQ(added[1]->GetType(), T::Eraser);
    EXPECT_EQ(added[1]->GetDestRect(), eraser->GetDestRect());
    EXPECT_TRUE(item.GetElementList().IsEmpty()) << "taken elements are the document's";
}

TEST_F(ServerItemTest, ReadsTheFirstOfferedDesignerFormat)
{
    CFormElement* text = Make(T::Text, kwvd::Rect(8, 16, 80, 48));
    CFormElement* remark = Make(T::Remark, kwvd::Rect());
    CFormElement* eraser = Make(T::Eraser, kwvd::Rect(96, 64, 160, 96));
    // Each format carries a different kind, so the kind read tells the format.
    struct Offer
    {
        CServerItem::Format format;
        CFormElement* element;
    };
    const Offer src{CServerItem::SrcFormat, text};
    const Offer dest{CServerItem::DestFormat, eraser};
    const Offer expl{CServerItem::ExplFormat, remark};
    struct Case
    {
        const char* name;
        std::vector<Offer> offers;
        bool foreignText;
        BOOL read;
        CServerItem::Format format;
        int type;
    };
    const Case cases[] = {
        {"dest and src read src", {dest, src}, false, TRUE, CServerItem::SrcFormat, T::Text},
        {"expl and dest read dest", {expl, dest}, false, TRUE, CServerItem::DestFormat, T::Eraser},
        {"expl alone", {expl}, true, TRUE, CServerItem::ExplFormat, T::Remark},
        {"foreign formats only", {}, true, FALSE, CServerItem::NoFormat, 0},
        {"nothing offered", {}, false, FALSE, CServerItem::NoFormat, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QMimeData data;
        for (const Offer& offer : c.offers)
            CServerItem(&doc, offer.format, {offer.element}, nullptr).RenderFormats(data);
        if (c.foreignText)
            data.setText(QStringLiteral("INVOICE 0001"));
        CServerItem item(&doc);
        EXPECT_EQ(item.LoadFromDataObject(&data), c.read);
        EXPECT_EQ(item.GetFormat(), c.format);
        if (c.read) {
            ASSERT_EQ(item.GetElementList().GetCount(), 1);
            EXPECT_EQ(static_cast<CFormElement*>(item.GetElementList().GetHead())->GetType(), c.type);
        } else {
            EXPECT_TRUE(item.GetElementList().IsEmpty());
        }
    }
}

TEST_F(ServerItemTest, ForeignClipboardPastesNothing)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("not an element"));
    CServerItem item(&doc);
    EXPECT_FALSE(item.PasteFromClipboard());
    EXPECT_TRUE(item.TakeElements().empty());
    EXPECT_FALSE(item.LoadFromDataObject(nullptr));
}

TEST_F(ServerItemTest, EmptyItemPastesNothing)
{
    QMimeData data;
    CServerItem(&doc, CServerItem::DestFormat, {}, nullptr).RenderFormats(data);
    EXPECT_EQ(ToBytes(data.data(QString::fromLatin1(kDesignerDestFormat))), Hex("00 00 00 00"));

    CServerItem item(&doc);
    ASSERT_TRUE(item.LoadFromDataObject(&data));
    EXPECT_EQ(item.GetReferenceElement(), nullptr);
    EXPECT_TRUE(PasteInto(item).empty());
    EXPECT_EQ(TopLevelCount(), topLevelBefore);
}

TEST_F(ServerItemTest, DamagedOrForeignStreamsReadAsFalseAndPasteNothing)
{
    CFormElement* text = Make(T::Text, kwvd::Rect(8, 16, 80, 48));
    const Bytes withAnchor = StreamOf(CServerItem(&doc, CServerItem::SrcFormat, {text}, text));
    const Bytes withoutAnchor = StreamOf(CServerItem(&doc, CServerItem::SrcFormat, {text}, nullptr));
    auto cut = [](const Bytes& bytes, size_t keep) {
        return Bytes(bytes.begin(), bytes.begin() + static_cast<long>(keep));
    };
    CTimeStamp stamp;

    struct Case
    {
        const char* name;
        Bytes stream;
    };
    const Case cases[] = {
        {"cut in the first element", cut(withAnchor, withAnchor.size() / 2)},
        {"cut in the anchor", cut(withAnchor, withAnchor.size() - 1)},
        {"no anchor flag", cut(withoutAnchor, withoutAnchor.size() - 2)},
        {"count past the data", Hex("FF FF 00 00 01 00")},
        {"a time stamp listed", Store([&](CArchive& ar) {
             ar.WriteCount(1);
             ar.WriteObject(&stamp);
             ar << static_cast<WORD>(0);
         })},
        {"a time stamp as anchor", Store([&](CArchive& ar) {
             ar.WriteCount(0);
             ar << static_cast<WORD>(1);
             ar.WriteObject(&stamp);
         })},
        {"one element listed twice", Store([&](CArchive& ar) {
             ar.m_pDocument = &doc;
             ar.WriteCount(2);
             ar.WriteObject(text);
             ar.WriteObject(text);
             ar << static_cast<WORD>(0);
         })},
        {"the anchor is a listed element", Store([&](CArchive& ar) {
             ar.m_pDocument = &doc;
             ar.WriteCount(1);
             ar.WriteObject(text);
             ar << static_cast<WORD>(1);
             ar.WriteObject(text);
         })},
    };
    const qsizetype before = doc.GetElementList().GetCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QMimeData data;
        data.setData(QString::fromLatin1(kDesignerSrcFormat), ToByteArray(c.stream));
        {
            CServerItem item(&doc);
            EXPECT_FALSE(item.LoadFromDataObject(&data));
        }
        EXPECT_EQ(doc.GetElementList().GetCount(), before);
    }

    QMimeData data;
    data.setData(QString::fromLatin1(kDesignerSrcFormat), ToByteArray(withoutAnchor));
    CServerItem orphan(nullptr);
    EXPECT_FALSE(orphan.LoadFromDataObject(&data)) << "elements are read for a document";
    CServerItem item(&doc);
    EXPECT_TRUE(item.LoadFromDataObject(&data)) << "the stream the cases were cut from reads";
}

TEST_F(ServerItemTest, NoticesOfTheReadAreShownOnceAfterIt)
{
    auto* first = new NoisyElement(&doc);
    auto* second = new NoisyElement(&doc);
    CServerItem item(&doc, CServerItem::DestFormat, {first, second}, nullptr);
    QMimeData data;
    item.RenderFormats(data);
    delete first;
    delete second;

    NoisyElement::readQuietly = true;
    env.prompts->ClearRecorded();
    CServerItem pasted(&doc);
    ASSERT_TRUE(pasted.LoadFromDataObject(&data));
    EXPECT_TRUE(NoisyElement::readQuietly);
    EXPECT_FALSE(doc.IsQuietRead());
    ASSERT_EQ(env.prompts->Recorded().size(), 1u);
    EXPECT_EQ(env.prompts->Recorded()[0].text, QStringLiteral("A font of this element is missing."));
}

TEST_F(ServerItemTest, ContainerBringsItsChildrenOnlyWhenBothItemsAskForThem)
{
    CFormElement* loop = Make(T::Loop, kwvd::Rect(8, 16, 160, 96));
    CFormElement* child = Make(T::Text, kwvd::Rect(16, 24, 80, 48), loop);
    ASSERT_EQ(child->GetParent(), loop);

    struct Case
    {
        const char* name;
        BOOL copyWithChildren;
        BOOL pasteWithChildren;
        bool childArrives;
    };
    const Case cases[] = {
        {"both", TRUE, TRUE, true},
        {"copy only", TRUE, FALSE, false},
        {"paste only", FALSE, TRUE, false},
        {"neither", FALSE, FALSE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CServerItem copy(&doc, CServerItem::ExplFormat, {loop}, nullptr);
        copy.SetWithChildren(c.copyWithChildren);
        QMimeData data;
        copy.RenderFormats(data);
        EXPECT_FALSE(doc.m_serialising) << "the flag is put back after the copy";

        const qsizetype before = doc.GetElementList().GetCount();
        env.prompts->ClearRecorded();
        CDocChangeGuard change(&doc);
        CServerItem item(&doc);
        item.SetWithChildren(c.pasteWithChildren);
        ASSERT_TRUE(item.LoadFromDataObject(&data));
        EXPECT_TRUE(env.prompts->Recorded().empty());
        const std::vector<CFormElement*> added = PasteInto(item);
        ASSERT_EQ(added.size(), 1u);
        CFormElement* newLoop = added[0];
        EXPECT_EQ(newLoop->GetType(), T::Loop);
        ChildPosition position = newLoop->GetFirstChildPosition();
        CFormElement* newChild = newLoop->GetNextChild(position);
        if (c.childArrives) {
            ASSERT_NE(newChild, nullptr);
            EXPECT_EQ(newChild->GetType(), T::Text);
            EXPECT_NE(newChild, child);
            EXPECT_TRUE(doc.ContainsElement(newChild));
            EXPECT_EQ(doc.GetElementList().GetCount(), before + 2);
        } else {
            EXPECT_EQ(newChild, nullptr);
            EXPECT_EQ(doc.GetElementList().GetCount(), before + 1);
        }
    }
}

TEST_F(ServerItemTest, ChildListedBesideItsContainerFollowsTheContainer)
{
    CFormElement* loop = Make(T::Loop, kwvd::Rect(8, 16, 160, 96));
    CFormElement* child = Make(T::Text, kwvd::Rect(16, 24, 80, 48), loop);
    // The child travels inside the loop and is listed again by reference.
    CServerItem copy(&doc, CServerItem::DestFormat, {loop, child}, nullptr);
    copy.SetWithChildren(TRUE);
    QMimeData data;
    copy.RenderFormats(data);
    const qsizetype before = doc.GetElementList().GetCount();

    {
        CDocChangeGuard change(&doc);
        CServerItem item(&doc);
        ASSERT_TRUE(item.LoadFromDataObject(&data));
        ASSERT_EQ(item.GetElementList().GetCount(), 1) << "the child went with the children not asked for";
        auto* newLoop = static_cast<CFormElement*>(item.GetElementList().GetHead());
        ChildPosition position = newLoop->GetFirstChildPosition();
        EXPECT_EQ(newLoop->GetNextChild(position), nullptr);
        EXPECT_EQ(doc.GetElementList().GetCount(), before);
        const std::vector<CFormElement*> added = PasteInto(item);
        ASSERT_EQ(added.size(), 1u);
        EXPECT_EQ(doc.GetElementList().GetCount(), before + 1);
    }

    CDocChangeGuard change(&doc);
    const qsizetype withLoop = doc.GetElementList().GetCount();
    CServerItem item(&doc);
    item.SetWithChildren(TRUE);
    ASSERT_TRUE(item.LoadFromDataObject(&data));
    ASSERT_EQ(item.GetElementList().GetCount(), 2);
    auto* newChild = static_cast<CFormElement*>(item.GetElementList().GetTail());
    EXPECT_TRUE(doc.ContainsElement(newChild)) << "the child arrived with its container";
    const std::vector<CFormElement*> added = PasteInto(item);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(newChild->GetParent(), added[0]);
    EXPECT_EQ(doc.GetElementList().GetCount(), withLoop + 2);
}

TEST_F(ServerItemTest, AnchorThatTakesInAListedElementLeavesNothingBehind)
{
    CFormElement* loop = Make(T::Loop, kwvd::Rect(8, 16, 160, 96));
    CFormElement* child = Make(T::Text, kwvd::Rect(16, 24, 80, 48), loop);
    // A stream no pane writes: the anchor is a container whose child is the
    // listed element.
    const Bytes stream = Store([&](CArchive& ar) {
        ar.m_pDocument = &doc;
        doc.m_serialising = TRUE;
        ar.WriteCount(1);
        ar.WriteObject(child);
        ar << static_cast<WORD>(1);
        ar.WriteObject(loop);
        doc.m_serialising = FALSE;
    });
    QMimeData data;
    data.setData(QString::fromLatin1(kDesignerDestFormat), ToByteArray(stream));
    const qsizetype before = doc.GetElementList().GetCount();

    for (BOOL withChildren : {FALSE, TRUE}) {
        SCOPED_TRACE(withChildren ? "with children" : "without children");
        {
            CDocChangeGuard change(&doc);
            CServerItem item(&doc);
            item.SetWithChildren(withChildren);
            ASSERT_TRUE(item.LoadFromDataObject(&data));
            PasteInto(item);
        }
        EXPECT_EQ(doc.GetElementList().GetCount(), before);
    }
}

TEST_F(ServerItemTest, UnpastedElementsGoWithTheItem)
{
    CFormElement* loop = Make(T::Loop, kwvd::Rect(8, 16, 160, 96));
    Make(T::Text, kwvd::Rect(16, 24, 80, 48), loop);
    CServerItem copy(&doc, CServerItem::ExplFormat, {loop}, loop);
    copy.SetWithChildren(TRUE);
    QMimeData data;
    copy.RenderFormats(data);
    const qsizetype before = doc.GetElementList().GetCount();
    {
        CDocChangeGuard change(&doc);
        CServerItem item(&doc);
        item.SetWithChildren(TRUE);
        ASSERT_TRUE(item.LoadFromDataObject(&data));
        EXPECT_EQ(doc.GetElementList().GetCount(), before + 1) << "the child joined the document while read";
    }
    EXPECT_EQ(doc.GetElementList().GetCount(), before) << "the container took its child along";
}

TEST_F(ServerItemTest, ClipboardDataCarriesExtentAndGrabOffset)
{
    CFormElement* left = Make(T::Text, kwvd::Rect(8, 16, 80, 48));
    CFormElement* right = Make(T::Eraser, kwvd::Rect(96, 64, 160, 96));
    CServerItem item(&doc, CServerItem::DestFormat, {left, right}, left);
    const kwvd::Rect united = left->GetDestRect().United(right->GetDestRect());
    EXPECT_EQ(item.OnGetExtent(), united.Size());

    QSize size;
    QPoint offset;
    const std::unique_ptr<QMimeData> plain = item.OnGetClipboardData();
    ASSERT_TRUE(GetDropObjectDescriptor(plain.get(), &size, &offset));
    EXPECT_EQ(size, united.Size());
    EXPECT_EQ(offset, QPoint(0, 0));

    const QPoint grab(12, 7);
    const QSize given(40, 30);
    const std::unique_ptr<QMimeData> dragged = item.OnGetClipboardData(&grab, &given);
    ASSERT_TRUE(GetDropObjectDescriptor(dragged.get(), &size, &offset));
    EXPECT_EQ(size, given);
    EXPECT_EQ(offset, grab);
    EXPECT_TRUE(CServerItem::IsFormatOffered(dragged.get(), CServerItem::DestFormat));
    EXPECT_FALSE(CServerItem::IsFormatOffered(dragged.get(), CServerItem::SrcFormat));
}

TEST(DropObjectDescriptor, ReadsSizeAndOffsetOrZeros)
{
    struct Case
    {
        const char* name;
        bool present;
        Bytes bytes;
        BOOL result;
        QSize size;
        QPoint offset;
    };
    const Case cases[] = {
        {"absent", false, {}, FALSE, QSize(0, 0), QPoint(0, 0)},
        {"too short", true, Hex("10 00 00 00 20 00 00 00 05 00 00"), FALSE, QSize(0, 0), QPoint(0, 0)},
        {"whole", true, Hex("10 00 00 00 20 00 00 00 05 00 00 00 07 00 00 00"), TRUE, QSize(16, 32), QPoint(5, 7)},
        {"negative offset", true, Hex("01 01 00 00 02 00 00 00 FE FF FF FF FF FF FF FF"), TRUE, QSize(257, 2),
         QPoint(-2, -1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QMimeData data;
        if (c.present)
            data.setData(QString::fromLatin1(kObjectDescriptorFormat), ToByteArray(c.bytes));
        QSize size(99, 99);
        QPoint offset(99, 99);
        EXPECT_EQ(GetDropObjectDescriptor(&data, &size, &offset), c.result);
        EXPECT_EQ(size, c.size);
        EXPECT_EQ(offset, c.offset);
        QSize sizeOnly(99, 99);
        EXPECT_EQ(GetDropObjectDescriptor(&data, &sizeOnly, nullptr), c.result);
        EXPECT_EQ(sizeOnly, c.size);
    }
    QSize size(1, 1);
    EXPECT_FALSE(GetDropObjectDescriptor(nullptr, &size, nullptr));
    EXPECT_EQ(size, QSize(0, 0));
}

TEST_F(ServerItemTest, DrawsTheElementsFromTheirUnionExceptForTheExplorer)
{
    CFormElement* eraser = Make(T::Eraser, kwvd::Rect(96, 64, 160, 96));
    const kwvd::Rect box = eraser->GetDestRect();
    ASSERT_FALSE(box.IsEmpty());

    auto render = [&](CServerItem::Format format, QSize& size) {
        QImage image(box.Width() + 20, box.Height() + 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        CServerItem item(&doc, format, {eraser}, nullptr);
        EXPECT_TRUE(item.OnDraw(painter, size));
        painter.end();
        return image;
    };
    auto anyInk = [](const QImage& image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    return true;
        return false;
    };
    QSize size;
    EXPECT_TRUE(anyInk(render(CServerItem::DestFormat, size))) << "drawn at the image's origin";
    EXPECT_EQ(size, box.Size());
    EXPECT_FALSE(anyInk(render(CServerItem::ExplFormat, size)));
}

} // namespace
