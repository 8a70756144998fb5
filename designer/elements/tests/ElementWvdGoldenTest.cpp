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
         [](F& t) { return t.Create<CFormSourceElement>(T::Source, PaneSide::Input, t.Cells(2, 3, 6, 4)); },
         [](F&, CFormElement&) { return Word(1) + Long(0) + Long(0); }},
        {"text: text, font, align",
         [](F& t) {
             auto* e = t.Create<CFormTextElement>(T::Text, PaneSide::Output, t.Cells(2, 3, 3, 4));
             e->SetText(QStringLiteral("TOTAL"));
             return e;
         },
         [](F&, CFormElement&) { return Text("TOTAL") + Long(0) + Long(0); }},
        {"eraser: nothing of its own",
         [](F& t) { return t.Create<CFormElement>(T::Eraser, PaneSide::Output, t.Cells(2, 3, 6, 5)); },
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
             auto* e = t.Create<CFormLoopElement>(T::Loop, PaneSide::Input, t.Cells(1, 3, 20, 6));
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
         [](F& t) { return t.Create<CFormResourceElement>(T::Resource, PaneSide::Output, t.Cells(2, 3, 6, 5)); },
         [](F&, CFormElement& e) { return Long(dynamic_cast<CFormResourceElement&>(e).GetResourceIndex()); }},
        {"image: name, format, quality, fixed flag",
         [](F& t) {
             auto* e = t.Create<CFormImageElement>(T::Image, PaneSide::Output, t.Cells(2, 3, 6, 5));
             e->SetImageName(QStringLiteral("?LOGO"));
             return e;
         },
         [](F&, CFormElement& e) {
             // No image attached: format and quality 0.
             return Text("?LOGO") + Long(0) + Long(0) + Word(dynamic_cast<CFormImageElement&>(e).IsFixed() ? 1 : 0);
         }},
        {"barcode: index, link, font, data, use data, height in twips",
         [](F& t) {
             auto* e = t.Create<CFormBarcodeElement>(T::Barcode, PaneSide::Output, t.Cells(2, 3, 12, 5));
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
             auto* e = t.Create<CFormXmlAttributeElement>(T::XmlAttribute, PaneSide::Input, t.Cells(2, 3, 6, 4), order);
             e->SetName(QStringLiteral("id"));
             return e;
         },
         [](F&, CFormElement&) { return Text("id") + Text("") + Text("") + Text("") + Text("") + Text("") + Word(0); }},
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

// An object of an older schema as the framework writes a new class: tag,
// schema, class name, then the common part of that schema (no rectangles,
// description "D", automatic description off) and the kind's fields.
Bytes OldObject(const char* className, int schema, const Bytes& fields, int widthAdjust = 0, int heightAdjust = 0)
{
    Bytes body = Text("D");
    // Objects of schema 6 and before hold pixels; later ones cells, where an
    // element without a rectangle stores 1, 1, 1, 1.
    const int none = schema > 6 ? 1 : 0;
    for (int i = 0; i < 8; ++i)
        body = body + Word(none);
    body = body + Word(0) + Word(0); // absolute flags
    if (schema > 3)
        body = body + Long(widthAdjust) + Long(heightAdjust);
    if (schema >= 3)
        body = body + Long(0) + Long(0) + Word(0); // offset, automatic description
    const std::string name(className);
    return Hex("FF FF") + Word(schema) + Word(static_cast<int>(name.size())) + Ascii(className) + body + fields;
}

struct OldSchemaCase
{
    const char* name;
    Bytes object;
    std::function<void(CFormElement&)> check;
};

TEST_F(ElementWvdGoldenTest, OlderSchemasYieldTheirFields)
{
    const OldSchemaCase cases[] = {
        {"conditional 5: no reserved word, no subject; an operator outside the six reads as GE",
         OldObject("CFormConditionalElement", 5, Text("ABC") + Word(9) + Word(1) + kNoChildren),
         [](CFormElement& e) {
             const auto& c = dynamic_cast<CFormConditionalElement&>(e);
             EXPECT_EQ(c.GetCompareValue(), QStringLiteral("ABC"));
             EXPECT_EQ(c.GetOperator(), ConditionalOperator::GreaterOrEqual);
             EXPECT_EQ(c.GetSubject(), QStringLiteral("POSITION"));
             EXPECT_TRUE(c.GetBreakLoop());
         }},
        {"conditional 7: reserved word, still no subject",
         OldObject("CFormConditionalElement", 7, Text("7") + Word(2) + Word(0) + Word(0) + kNoChildren),
         [](CFormElement& e) {
             const auto& c = dynamic_cast<CFormConditionalElement&>(e);
             EXPECT_EQ(c.GetCompareValue(), QStringLiteral("7"));
             EXPECT_EQ(c.GetOperator(), 2);
             EXPECT_EQ(c.GetSubject(), QStringLiteral("POSITION"));
         }},
        {"conditional 8: the subject",
         OldObject("CFormConditionalElement", 8, Text("") + Word(1) + Word(0) + Word(0) + Text("PAGE") + kNoChildren),
         [](CFormElement& e) {
             const auto& c = dynamic_cast<CFormConditionalElement&>(e);
             EXPECT_EQ(c.GetOperator(), 1);
             EXPECT_EQ(c.GetSubject(), QStringLiteral("PAGE"));
         }},
        {"loop 12: a word of 1 gives mode 1",
         OldObject("CFormLoopElement", 12, Word(0) + Word(1) + Word(1) + kNoChildren),
         [](CFormElement& e) {
             const auto& l = dynamic_cast<CFormLoopElement&>(e);
             EXPECT_FALSE(l.GetDestFollowsSource());
             EXPECT_TRUE(l.GetIncrementOnSuccess());
             EXPECT_EQ(l.GetLoopMode(), 1);
         }},
        {"address 11: the setting id only", OldObject("CFormAddressElement", 11, Long(21480)),
         [](CFormElement& e) {
             const auto& a = dynamic_cast<CFormAddressElement&>(e);
             EXPECT_EQ(a.GetSettingId(), 21480);
             EXPECT_EQ(a.GetKind(), '0');
             EXPECT_FALSE(a.GetDeleteFlag());
         }},
        {"address 15: id and kind, no delete flag", OldObject("CFormAddressElement", 15, Long(21481) + Long('1')),
         [](CFormElement& e) {
             const auto& a = dynamic_cast<CFormAddressElement&>(e);
             EXPECT_EQ(a.GetSettingId(), 21481);
             EXPECT_EQ(a.GetKind(), '1');
             EXPECT_FALSE(a.GetDeleteFlag());
         }},
        {"barcode 16: no height",
         OldObject("CFormBarcodeElement", 16, Long(0) + Word(1) + Long(0) + Text("987") + Word(1)),
         [](CFormElement& e) {
             const auto& b = dynamic_cast<CFormBarcodeElement&>(e);
             EXPECT_EQ(b.GetData(), QStringLiteral("987"));
             EXPECT_TRUE(b.GetUseData());
             EXPECT_TRUE(b.IsLinked());
         }},
        {"xml element 13: no occurrences",
         OldObject("CFormXmlElement", 13,
                   Text("item") + Text("eltOnly") + Text("") + Text("closed") + Text("seq") + Text("c") + Word(1)
                       + kNoChildren),
         [](CFormElement& e) {
             const auto& x = dynamic_cast<CFormXmlElement&>(e);
             EXPECT_EQ(x.GetName(), QStringLiteral("item"));
             EXPECT_EQ(x.GetValue(), QStringLiteral("c"));
             EXPECT_TRUE(x.GetConstantDataFlag());
             EXPECT_TRUE(x.GetMinOccurs().isEmpty());
             EXPECT_TRUE(x.GetMaxOccurs().isEmpty());
         }},
        {"exit parameter 4: follows and font only", OldObject("CFormExitParamElement", 4, Word(0) + Long(0)),
         [](CFormElement& e) {
             const auto& p = dynamic_cast<CFormExitParamElement&>(e);
             EXPECT_FALSE(p.GetFollowsSource());
             EXPECT_FALSE(p.GetAlignToGrid());
             EXPECT_EQ(p.GetParamNumber(), 1);
             EXPECT_TRUE(p.GetData().isEmpty());
             EXPECT_FALSE(p.GetUseData());
             EXPECT_FALSE(p.GetIgnoreReturn());
         }},
        {"exit parameter 9: no ignore return",
         OldObject("CFormExitParamElement", 9, Word(1) + Long(0) + Long(1) + Long(4) + Text("Q") + Word(1)),
         [](CFormElement& e) {
             const auto& p = dynamic_cast<CFormExitParamElement&>(e);
             EXPECT_TRUE(p.GetAlignToGrid());
             EXPECT_EQ(p.GetParamNumber(), 4);
             EXPECT_EQ(p.GetData(), QStringLiteral("Q"));
             EXPECT_TRUE(p.GetUseData());
             EXPECT_FALSE(p.GetIgnoreReturn());
         }},
        {"exit program 7: one library and a dropped list",
         OldObject("CFormExitProgramElement", 7, Text("PGM") + Text("LIB1") + Word(0)),
         [](CFormElement& e) {
             const auto& x = dynamic_cast<CFormExitProgramElement&>(e);
             EXPECT_EQ(x.GetProgramName(), QStringLiteral("PGM"));
             ASSERT_EQ(x.Libraries().GetSize(), 1);
             EXPECT_EQ(x.Libraries().GetAt(0), QStringLiteral("LIB1"));
         }},
        {"exit program 9: one library, an empty one gives none",
         OldObject("CFormExitProgramElement", 9, Text("PGM9") + Text("")),
         [](CFormElement& e) {
             const auto& x = dynamic_cast<CFormExitProgramElement&>(e);
             EXPECT_EQ(x.GetProgramName(), QStringLiteral("PGM9"));
             EXPECT_EQ(x.Libraries().GetSize(), 0);
         }},
    };
    for (const OldSchemaCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFormElement* read = nullptr;
        // A trailing byte tells a reader that stopped short from one that
        // read the whole object.
        const Bytes bytes = c.object + Hex("5A");
        size_t left = 0;
        ASSERT_NO_THROW(Load(bytes, [&](CArchive& ar) {
            ar.m_pDocument = doc.get();
            read = ar.ReadObject<CFormElement>();
            BYTE marker = 0;
            ar >> marker;
            left = marker == 0x5A ? 0 : 1;
        }));
        std::unique_ptr<CFormElement> owned(read);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(left, 0u) << "the object is read to its end and no further";
        EXPECT_EQ(read->GetDescription(), QStringLiteral("D"));
        c.check(*read);
    }
}

// A fitted box never grows past the grid its cells are stored in: larger or
// negative adjustments are damage, and would overflow every later fit.
TEST_F(ElementWvdGoldenTest, AdjustmentsBeyondTheGridAreRefused)
{
    const struct
    {
        const char* name;
        int width;
        int height;
        bool refused;
    } cases[] = {
        {"none", 0, 0, false},
        {"the largest grid", 0xFFFF, 0xFFFF, false},
        {"negative width", -1, 0, true},
        {"height past the grid", 0, 0x10000, true},
        {"height near the int limit", 0, 0x7FFFFFF0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes bytes = OldObject("CFormExitProgramElement", 9, Text("PGM9") + Text(""), c.width, c.height);
        CFormElement* read = nullptr;
        int cause = -1;
        try {
            Load(bytes, [&](CArchive& ar) {
                ar.m_pDocument = doc.get();
                read = ar.ReadObject<CFormElement>();
            });
        } catch (const CArchiveException& e) {
            cause = static_cast<int>(e.m_cause);
        }
        std::unique_ptr<CFormElement> owned(read);
        if (c.refused) {
            EXPECT_EQ(read, nullptr);
            EXPECT_EQ(cause, static_cast<int>(CArchiveException::badIndex));
        } else {
            EXPECT_NE(read, nullptr);
            EXPECT_EQ(cause, -1);
        }
    }
}

} // namespace
