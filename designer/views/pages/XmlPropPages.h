#pragma once
// The pages of the XML kinds. The XML Element page (dialog 172) and the XML
// Attribute page (dialog 170) are one model over their own control ids: the
// name, applied at every keystroke, the Data or Position block and the
// schema's facts as the element writes them. The XML Comment page (171) is
// the block alone, its data being the comment text. The XML Instruction
// page (173) edits the name only.

#include "designer/elements/FormXmlInstructionElement.h"
#include "designer/elements/XmlTextKind.h"
#include "designer/views/pages/DataPositionBlock.h"

// The controls of a named XML page on its dialog.
struct XmlNamedPageIds
{
    UINT dialog;
    int name;
    int styles;
    DataPositionIds block;
};

class CXmlElementPropPage : public CDataPositionBlock
{
public:
    enum : int {
        IDD = 172,
        IDC_DATA = 1444,
        IDC_FORCE_ABSOLUTE = 1445,
        IDC_NAME = 1446,
        IDC_POSITION_GROUP = 1447,
        IDC_STYLES = 1448,
        IDC_DATA_RADIO = 1449,
        IDC_POSITION_RADIO = 1450,
        IDC_WIDTH = 1451,
        IDC_WIDTH_SPIN = 1452,
        IDC_COLUMN = 1453,
        IDC_COLUMN_SPIN = 1454,
        IDC_LINE = 1455,
        IDC_LINE_SPIN = 1456,
    };
    static const XmlNamedPageIds kIds;

    using Record = TElementPageRecord<XmlPageData>;
    explicit CXmlElementPropPage(std::unique_ptr<CElementPageRecord> record)
        : CXmlElementPropPage(std::move(record), kIds)
    {}

    const XmlPageData& Data() const { return m_data; }
    const XmlNamedPageIds& Ids() const { return m_ids; }

protected:
    CXmlElementPropPage(std::unique_ptr<CElementPageRecord> record, const XmlNamedPageIds& ids);

private:
    const XmlNamedPageIds& m_ids;
    XmlPageData& m_data;
};

class CXmlAttributePropPage : public CXmlElementPropPage
{
public:
    enum : int {
        IDD = 170,
        IDC_DATA = 1418,
        IDC_FORCE_ABSOLUTE = 1419,
        IDC_NAME = 1420,
        IDC_POSITION_GROUP = 1421,
        IDC_STYLES = 1422,
        IDC_DATA_RADIO = 1423,
        IDC_POSITION_RADIO = 1424,
        IDC_WIDTH = 1425,
        IDC_WIDTH_SPIN = 1426,
        IDC_COLUMN = 1427,
        IDC_COLUMN_SPIN = 1428,
        IDC_LINE = 1429,
        IDC_LINE_SPIN = 1430,
    };
    static const XmlNamedPageIds kIds;

    explicit CXmlAttributePropPage(std::unique_ptr<CElementPageRecord> record)
        : CXmlElementPropPage(std::move(record), kIds)
    {}
};

class CXmlCommentPropPage : public CDataPositionBlock
{
public:
    enum : int {
        IDD = 171,
        IDC_DATA = 1432,
        IDC_FORCE_ABSOLUTE = 1433,
        IDC_POSITION_GROUP = 1434,
        IDC_DATA_RADIO = 1435,
        IDC_POSITION_RADIO = 1436,
        IDC_WIDTH = 1437,
        IDC_WIDTH_SPIN = 1438,
        IDC_COLUMN = 1439,
        IDC_COLUMN_SPIN = 1440,
        IDC_LINE = 1441,
        IDC_LINE_SPIN = 1442,
    };
    static const DataPositionIds kIds;

    explicit CXmlCommentPropPage(std::unique_ptr<CElementPageRecord> record);

    const XmlPageData& Data() const { return m_data; }

private:
    XmlPageData& m_data;
};

class CXmlInstructionPropPage : public CElementPropPage
{
public:
    enum : int {
        IDD = 173,
        IDC_NAME = 1457,
    };

    using Record = TElementPageRecord<XmlInstructionPageData>;
    explicit CXmlInstructionPropPage(std::unique_ptr<CElementPageRecord> record);

    const XmlInstructionPageData& Data() const { return m_data; }

private:
    XmlInstructionPageData& m_data;
};

// The factories of the Variable and XML pages, by their records' data.
void RegisterVariableXmlPageFactories();
