// The WVD objects of the element kinds byte for byte, written from the
// kinds' layouts: what each kind stores after the common element part at the
// current schema, and objects of older schemas built by hand with the fields
// each must yield when read.

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/elements/FormAddressElement.h"
#include "designer/elements/FormBarcodeElement.h"
#include "designer/elements/FormConditionalElement.h"
#include "designer/elements/FormExitParamElement.h"
#include "designer/elements/FormExitProgramElement.h"
#include "designer/elements/FormImageElement.h"
#include "designer/elements/FormLoopElement.h"
#include "designer/elements/FormOutputElement.h"
#include "designer/elements/FormRemarkElement.h"
#include "designer/elements/FormResourceElement.h"
#include "designer/elements/FormSourceElement.h"
#include "designer/elements/FormTextElement.h"
#include "designer/elements/FormVariableElement.h"
#include "designer/elements/FormXmlAttributeElement.h"
#include "designer/elements/FormXmlCommentElement.h"
#include "designer/elements/FormXmlElement.h"
#include "designer/elements/FormXmlInstructionElement.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxDocumentFixture.h"

#include "ElementTestKinds.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using kwvd::Rect;
using T = FormElementType;

Bytes Word(int value)
{
    return Bytes{static_cast<BYTE>(value & 0xFF), static_cast<BYTE>((value >> 8) & 0xFF)};
}

Bytes Long(int value)
{
    const auto v = static_cast<unsigned>(value);
    return Bytes{static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
                 static_cast<BYTE>(v >> 24)};
}

// A text in the archive's UTF-16 form: marker, length below 255, characters.
Bytes Text(const char* text)
{
    Bytes bytes = Hex("FF FE FF");
    const std::string s(text);
    bytes.push_back(static_cast<BYTE>(s.size()));
    for (char c : s) {
        bytes.push_back(static_cast<BYTE>(c));
        bytes.push_back(0);
    }
    return bytes;
}

// An empty child list: a count of 0.
const Bytes kNoChildren = Word(0);

// The rows build their elements through these helpers, so they are public.
class ElementWvdGoldenTest : public ElementDocFixture
{
public:
    CDesignerDoc* Doc() const { return doc.get(); }

    void SetUp() override
    {
        ElementDocFixture::SetUp();
        cw = doc->GetSourcePage()->GetCellWidth();
        ch = doc->GetSourcePage()->GetCellHeight();
        ASSERT_GT(cw, 0);
        ASSERT_GT(ch, 0);
    }

    Rect Cells(int left, int top, int right, int bottom) const
    {
        return Rect((left - 1) * cw, (top - 1) * ch, (right - 1) * cw, (bottom - 1) * ch);
    }

    template <class Kind>
    Kind* Create(int type, int side, const Rect& rect, CFormElement* anchor = nullptr)
    {
        auto* element = dynamic_cast<Kind*>(doc->CreateNewElement(type, side, rect, anchor));
        EXPECT_NE(element, nullptr);
        return element;
    }

    // What the kind stores after the common part, outside a document store
    // (so a container writes no children).
    Bytes Tail(CFormElement& element)
    {
        const Bytes whole = Store([&](CArchive& ar) {
            ar.m_pDocument = doc.get();
            element.Serialize(ar);
        });
        const Bytes common = Store([&](CArchive& ar) {
            ar.m_pDocument = doc.get();
            element.CFormElement::Serialize(ar);
        });
        EXPECT_GE(whole.size(), common.size());
        EXPECT_TRUE(std::equal(common.begin(), common.end(), whole.begin())) << "the common part comes first";
        return Bytes(whole.begin() + static_cast<std::ptrdiff_t>(std::min(common.size(), whole.size())), whole.end());
    }

    int cw = 0;
    int ch = 0;
};

struct TailCase
{
    const char* name;
    std::function<CFormElement*(ElementWvdGoldenTest&)> make;
    std::function<Bytes(ElementWvdGoldenTest&, CFormElement&)> tail;
};

TEST_F(ElementWvdGoldenTest, EveryKindsTailAtTheCurrentSchema)
{
    using F = ElementWvdGoldenTest;
    const TailCase cases[] = {
        {"source: follows source, font, align",
         [](F& t) { return t.Create<CFormSourceElement>(T::Source, 1, t.Cells(2, 3, 6, 4)); },
         [](F&, CFormElement&) { return Word(1) + Long(0) + Long(0); }},
        {"text: text, font, align",
         [](F& t) {
             auto* e = t.Create<CFormTextElement>(T::Text, 2, t.Cells(2, 3, 3, 4));
             e->SetText(QStringLiteral("TOTAL"));
             return e;
         },
         [](F&, CFormElement&) { return Text("TOTAL") + Long(0) + Long(0); }},
        {"eraser: nothing of its own", [](F& t) { return t.Create<CFormElement>(T::Eraser, 2, t.Cells(2, 3, 6, 5)); },
         [](F&, CFormElement&) { return Bytes(); }},
        {"remark: the remark",
         [](F& t) {
             auto* e = t.Create<CFormRemarkElement>(T::Remark, 0, Rect());
             e->SetRemark(QStringLiteral("note"));
             return e;
         },
         [](F&, CFormElement&) { return Text("note"); }},
        {"variable: name, data, use data",
         [](F& t) {
             auto* e = t.Create<CFormVariableElement>(T::Variable, 0, t.Cells(2, 3, 6, 4));
             e->SetName(QStringLiteral("CUST"));
             e->SetData(QStringLiteral("42"));
             e->SetUseData(TRUE);
             return e;
         },
         [](F&, CFormElement&) { return Text("CUST") + Text("42") + Word(1); }},
        {"exit parameter: follows, font, align, number, data, use data, ignore return",
         [](F& t) {
             auto* e = t.Create<CFormExitParamElement>(T::ExitParam, 0, Rect());
             e->SetParamNumber(3);
             e->SetData(QStringLiteral("AB"));
             e->SetUseData(TRUE);
             e->SetIgnoreReturn(TRUE);
             e->SetAlignToGrid(TRUE);
             return e;
         },
         [](F&, CFormElement& e) {
             const auto& p = dynamic_cast<CFormExitParamElement&>(e);
             return Word(p.GetFollowsSource()) + Long(0) + Long(1) + Long(3) + Text("AB") + Word(1) + Word(1);
         }},
        {"conditional: value, operator, break loop, reserved 0, subject, no children",
         [](F& t) {
             auto* e = t.Create<CFormConditionalElement>(T::Conditional, 0, Rect());
             e->SetCompareValue(QStringLiteral("X"));
             e->SetOperator(5);
             return e;
         },
         [](F&, CFormElement&) { return Text("X") + Word(5) + Word(0) + Word(0) + Text("PAGE") + kNoChildren; }},
        {"loop: follows, increment, mode byte, no children",
         [](F& t) {
             auto* e = t.Create<CFormLoopElement>(T::Loop, 1, t.Cells(1, 3, 20, 6));
             e->SetLoopMode(2);
             return e;
         },
         [](F&, CFormElement&) { return Word(1) + Word(0) + Hex("02") + kNoChildren; }},
        {"output: device index, stored name, type code, no children",
         [](F& t) {
             for (CObject* object : t.Doc()->GetElementList())
                 if (auto* output = dynamic_cast<CFormOutputElement*>(object))
                     return static_cast<CFormElement*>(output);
             return static_cast<CFormElement*>(nullptr);
         },
         [](F& t, CFormElement&) {
             // The default device of a new document: index 0, a print
             // device, whose type 0 has the code "*SCS".
             COutputDevice* device = t.Doc()->GetOutputDeviceManager()->GetDevice(0);
             EXPECT_NE(device, nullptr);
             EXPECT_EQ(device->GetType(), 0);
             const std::string name = device != nullptr ? device->GetName().toStdString() : std::string();
             return Long(0) + Text(name.c_str()) + Text("*SCS") + kNoChildren;
         }},
        {"address: setting id, kind, delete flag",
         [](F& t) {
             auto* e = t.Create<CFormAddressElement>(T::Address, 0, Rect());
             e->SetSettingId(21482);
             e->SetDeleteFlag(TRUE);
             return e;
         },
         [](F&, CFormElement&) { return Long(21482) + Long('0') + Word(1); }},
        {"exit program: name, library list",
         [](F& t) {
             auto* e = t.Create<CFormExitProgramElement>(T::ExitProgram, 0, Rect());
             e->SetProgramName(QStringLiteral("PGM1"));
             CStringArray libraries;
             libraries.Add(QStringLiteral("LIBA"));
             libraries.Add(QStringLiteral("LIBB"));
             e->SetLibraries(libraries);
             return e;
         },
         [](F&, CFormElement&) { return Text("PGM1") + Word(2) + Text("LIBA") + Text("LIBB"); }},
        {"resource: the index",
         [](F& t) { return t.Create<CFormResourceElement>(T::Resource, 2, t.Cells(2, 3, 6, 5)); },
         [](F&, CFormElement& e) { return Long(dynamic_cast<CFormResourceElement&>(e).GetResourceIndex()); }},
        {"image: name, format, quality, fixed flag",
         [](F& t) {
             auto* e = t.Create<CFormImageElement>(T::Image, 2, t.Cells(2, 3, 6, 5));
             e->SetImageName(QStringLiteral("?LOGO"));
             return e;
         },
         [](F&, CFormElement& e) {
             // No image attached: format and quality 0.
             return Text("?LOGO") + Long(0) + Long(0) + Word(dynamic_cast<CFormImageElement&>(e).IsFixed() ? 1 : 0);
         }},
        {"barcode: index, link, font, data, use data, height in twips",
         [](F& t) {
             auto* e = t.Create<CFormBarcodeElement>(T::Barcode, 2, t.Cells(2, 3, 12, 5));
             e->SetData(QStringLiteral("123"));
             e->SetUseData(TRUE);
             return e;
         },
         [](F& t, CFormElement& e) {
             const auto& b = dynamic_cast<CFormBarcodeElement&>(e);
             QPoint height(0, b.DestRect().Height());
             t.Doc()->GetOutputPage()->PixelsToTwips(height);
             return Long(b.GetBarcodeIndex()) + Word(b.IsLinked() ? 1 : 0) + Long(0) + Text("123") + Word(1)
                    + Long(height.y());
         }},
        {"xml element: eight texts, flag, no children",
         [](F& t) {
             auto* e = t.Create<CFormXmlElement>(T::XmlElement, 0, Rect());
             e->SetName(QStringLiteral("order"));
             e->SetValue(QStringLiteral("v"));
             e->SetMinOccurs(QStringLiteral("0"));
             e->SetMaxOccurs(QStringLiteral("*"));
             return e;
         },
         [](F&, CFormElement&) {
             return Text("order") + Text("") + Text("") + Text("") + Text("") + Text("v") + Text("0") + Text("*")
                    + Word(1) + kNoChildren;
         }},
        {"xml attribute: six texts, flag",
         [](F& t) {
             auto* order = t.Create<CFormXmlElement>(T::XmlElement, 0, Rect());
             auto* e = t.Create<CFormXmlAttributeElement>(T::XmlAttribute, 1, t.Cells(2, 3, 6, 4), order);
             e->SetName(QStringLiteral("id"));
             return e;
         },
         [](F&, CFormElement&) {
             return Text("id") + Text("") + Text("") + Text("") + Text("") + Text("") + Word(0);
         }},
        {"xml comment: text, flag",
         [](F& t) {
             auto* e = t.Create<CFormXmlCommentElement>(T::XmlComment, 0, Rect());
             e->SetText(QStringLiteral("hi"));
             return e;
         },
         [](F&, CFormElement&) { return Text("hi") + Word(1); }},
        {"xml instruction: name, no children",
         [](F& t) {
             auto* e = t.Create<CFormXmlInstructionElement>(T::XmlInstruction, 0, Rect());
             e->SetName(QStringLiteral("pi"));
             return e;
         },
         [](F&, CFormElement&) { return Text("pi") + kNoChildren; }},
    };
    for (const TailCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFormElement* element = c.make(*this);
        ASSERT_NE(element, nullptr);
        const Bytes expected = c.tail(*this, *element);
        const Bytes tail = Tail(*element);
        EXPECT_TRUE(tail == expected) << FirstDifference(expected, tail);
    }
}

} // namespace
