#include "designer/views/pages/XmlPropPages.h"

#include "designer/elements/FormElement.h"
#include "designer/views/pages/ElementPropertySheet.h"
#include "designer/views/pages/VariablePropPage.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

namespace {

XmlPageData& ValuesOf(CElementPageRecord* record)
{
    return static_cast<CXmlElementPropPage::Record*>(record)->data;
}

DataPositionFields BlockFields(CElementPageRecord& record)
{
    XmlPageData& v = ValuesOf(&record);
    return {&v.column,        &v.line,   &v.width,         &v.data,       &v.constantData,
            &v.forceAbsolute, &v.inLoop, &v.largestColumn, &v.largestLine};
}

void AddNamedLabels(const XmlNamedPageIds& ids, const char* title)
{
    StringTable::Add(DialogTextId(ids.dialog, 0), QString::fromLatin1(title));
    StringTable::Add(DialogTextId(ids.dialog, static_cast<UINT>(ids.name)), QStringLiteral("Name:"));
}

} // namespace

template <class Page>
constexpr XmlNamedPageIds NamedIds()
{
    return {Page::IDD,
            Page::IDC_NAME,
            Page::IDC_STYLES,
            {Page::IDC_DATA_RADIO, Page::IDC_DATA, Page::IDC_POSITION_RADIO, Page::IDC_COLUMN, Page::IDC_COLUMN_SPIN,
             Page::IDC_LINE, Page::IDC_LINE_SPIN, Page::IDC_FORCE_ABSOLUTE, Page::IDC_WIDTH, Page::IDC_WIDTH_SPIN,
             Page::IDC_POSITION_GROUP}};
}

const XmlNamedPageIds CXmlElementPropPage::kIds = NamedIds<CXmlElementPropPage>();
const XmlNamedPageIds CXmlAttributePropPage::kIds = NamedIds<CXmlAttributePropPage>();

const DataPositionIds CXmlCommentPropPage::kIds = {
    IDC_DATA_RADIO, IDC_DATA,           IDC_POSITION_RADIO, IDC_COLUMN,     IDC_COLUMN_SPIN,    IDC_LINE,
    IDC_LINE_SPIN,  IDC_FORCE_ABSOLUTE, IDC_WIDTH,          IDC_WIDTH_SPIN, IDC_POSITION_GROUP,
};

CXmlElementPropPage::CXmlElementPropPage(std::unique_ptr<CElementPageRecord> record, const XmlNamedPageIds& ids)
    : CDataPositionBlock(ids.dialog, std::move(record), ids.block, &BlockFields,
                         {{ids.name, PageNotification::Change, XmlPageBits::Name}}),
      m_ids(ids), m_data(ValuesOf(GetRecord()))
{
    AddNamedLabels(ids, ids.dialog == CXmlAttributePropPage::IDD ? "XML Attribute" : "XML Element");
    BindText(ids.name, &m_data.name);
    BindText(ids.styles, &m_data.schemaInfo);
}

CXmlCommentPropPage::CXmlCommentPropPage(std::unique_ptr<CElementPageRecord> record)
    : CDataPositionBlock(IDD, std::move(record), kIds, &BlockFields, {}), m_data(ValuesOf(GetRecord()))
{
    StringTable::Add(DialogTextId(IDD, 0), QStringLiteral("XML Comment"));
}

CXmlInstructionPropPage::CXmlInstructionPropPage(std::unique_ptr<CElementPageRecord> record)
    : CElementPropPage(IDD, std::move(record), {{IDC_NAME, PageNotification::Change, XmlPageBits::Name}}),
      m_data(static_cast<Record*>(GetRecord())->data)
{
    StringTable::Add(DialogTextId(IDD, 0), QStringLiteral("XML Instruction"));
    StringTable::Add(DialogTextId(IDD, IDC_NAME), QStringLiteral("Name:"));
    BindText(IDC_NAME, &m_data.name);
}

void RegisterVariableXmlPageFactories()
{
    CElementPropertySheet::RegisterPageFactory<VariablePageValues>(
        [](std::unique_ptr<CElementPageRecord> record) -> std::unique_ptr<CElementPropPage> {
            return std::make_unique<CVariablePropPage>(std::move(record));
        });
    // The element, the attribute and the comment share their record's data.
    CElementPropertySheet::RegisterPageFactory<XmlPageData>(
        [](std::unique_ptr<CElementPageRecord> record) -> std::unique_ptr<CElementPropPage> {
            const CFormElement* element = record->GetElement();
            switch (element != nullptr ? element->GetType() : 0) {
            case FormElementType::XmlElement:
                return std::make_unique<CXmlElementPropPage>(std::move(record));
            case FormElementType::XmlAttribute:
                return std::make_unique<CXmlAttributePropPage>(std::move(record));
            case FormElementType::XmlComment:
                return std::make_unique<CXmlCommentPropPage>(std::move(record));
            default:
                return nullptr;
            }
        });
    CElementPropertySheet::RegisterPageFactory<XmlInstructionPageData>(
        [](std::unique_ptr<CElementPageRecord> record) -> std::unique_ptr<CElementPropPage> {
            return std::make_unique<CXmlInstructionPropPage>(std::move(record));
        });
}
