#include "designer/document/jvx/APRTPDMRec.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormElement.h"
#include "platform/framework/Exceptions.h"

#include <map>

KWVD_IMPLEMENT_SERIAL(CAPRTPDMRec, CObject, VERSIONABLE_SCHEMA | 28)

namespace {

constexpr int kLastVersion = 28;

std::map<int, RecordElementFactory>& Factories()
{
    static std::map<int, RecordElementFactory> factories;
    return factories;
}

void ResetText(CFixedLenString& field, int width)
{
    field.SetWidth(width);
    field.Clear();
}

void ResetNumber(CFixedLenNum& field, int width)
{
    const BOOL empty = field.IsEmpty();
    field.SetWidth(width);
    field.SetValue(0);
    field.SetEmpty(empty);
}

} // namespace

CAPRTPDMRec::CAPRTPDMRec()
{
    Reset();
}

CAPRTPDMRec::CAPRTPDMRec(CDesignerDoc* doc) : m_pDoc(doc)
{
    Reset();
}

void CAPRTPDMRec::Reset()
{
    ResetText(m_unused1, 1);
    ResetText(m_unused2, 1);
    ResetNumber(m_sequence, 4);
    ResetText(m_opcode, 4);
    ResetText(m_sourceSign, 1);
    ResetNumber(m_sourceLine, 3);
    ResetNumber(m_sourceFirstColumn, 3);
    ResetNumber(m_sourceLastColumn, 3);
    ResetText(m_destSign, 1);
    ResetNumber(m_destLine, 3);
    ResetNumber(m_destOffsetY, 4);
    ResetNumber(m_destFirstColumn, 3);
    ResetNumber(m_destOffsetX, 4);
    ResetNumber(m_destLastColumn, 3);
    ResetText(m_comparison, 2);
    ResetText(m_data, 132);
    ResetText(m_description, 50);
    ResetNumber(m_filler, 2);
    ResetNumber(m_lineCount, 3);
    ResetText(m_fontIndex, 1);
    for (CFixedLenString& option : m_options)
        ResetText(option, 1);
    ResetText(m_flag, 1);
    ResetNumber(m_destWidth, 6);
    ResetNumber(m_destHeight, 6);
    ResetNumber(m_paramNumber, 1);
    ResetText(m_name, 10);
    ResetText(m_longData, 256);
    ResetText(m_barcodeLetter, 1);
    ResetText(m_resourceId, 1);
    m_nType = FormElementType::BlankRecord;
    m_bValid = FALSE;
    m_bEndOfData = FALSE;
}

int CAPRTPDMRec::LineLength(int version)
{
    if (version < 1 || version > kLastVersion)
        version = kLastVersion;
    int length = 1 + 1 + 4 + 4 + 1 + 3 + 3 + 3 + 1 + 3 + 4 + 3 + 4 + 3 + 2 + 132 + 50 + 3 + 1 + 5;
    if (version <= 3)
        length += 2;
    if (version >= 3)
        length += 1 + 6 + 6;
    if (version >= 4)
        length += 1 + 10;
    if (version >= 8)
        length += 256;
    if (version >= 11)
        length += 1;
    if (version >= 18)
        length += 1;
    return length;
}

void CAPRTPDMRec::ExchangeFields(CJVXArchive& ar, int version)
{
    m_unused1.ExchangeJVX(ar);
    m_unused2.ExchangeJVX(ar);
    m_sequence.ExchangeJVX(ar);
    m_opcode.ExchangeJVX(ar);
    m_sourceSign.ExchangeJVX(ar);
    m_sourceLine.ExchangeJVX(ar);
    m_sourceFirstColumn.ExchangeJVX(ar);
    m_sourceLastColumn.ExchangeJVX(ar);
    m_destSign.ExchangeJVX(ar);
    m_destLine.ExchangeJVX(ar);
    m_destOffsetY.ExchangeJVX(ar);
    m_destFirstColumn.ExchangeJVX(ar);
    m_destOffsetX.ExchangeJVX(ar);
    m_destLastColumn.ExchangeJVX(ar);
    m_comparison.ExchangeJVX(ar);
    m_data.ExchangeJVX(ar);
    m_description.ExchangeJVX(ar);
    if (version <= 3) {
        // Written as zeros, read and dropped.
        CFixedLenNum filler(2);
        filler.ExchangeJVX(ar);
    }
    m_lineCount.ExchangeJVX(ar);
    m_fontIndex.ExchangeJVX(ar);
    for (CFixedLenString& option : m_options)
        option.ExchangeJVX(ar);
    if (version >= 3) {
        m_flag.ExchangeJVX(ar);
        m_destWidth.ExchangeJVX(ar);
        m_destHeight.ExchangeJVX(ar);
    }
    if (version >= 4) {
        m_paramNumber.ExchangeJVX(ar);
        m_name.ExchangeJVX(ar);
    }
    if (version >= 8)
        m_longData.ExchangeJVX(ar);
    if (version >= 11)
        m_barcodeLetter.ExchangeJVX(ar);
    if (version >= 18)
        m_resourceId.ExchangeJVX(ar);
}

void CAPRTPDMRec::ExchangeJVX(CJVXArchive& ar)
{
    m_bValid = FALSE;
    m_bEndOfData = FALSE;
    int version = ar.GetVersion();
    if (version < 1 || version > kLastVersion)
        version = kLastVersion;
    try {
        // The fields of a line reach the file in one write.
        if (ar.IsStoring())
            ar.BeginLine();
        ExchangeFields(ar, version);
        if (ar.IsStoring()) {
            ar.WriteLineEnd();
            return;
        }
        // The last record of a file may lack its line end.
        if (!ar.IsAtEnd())
            ar.ReadLineEnd();
        m_nType = RecordOpcodeToType(*this);
        switch (m_nType) {
        case FormElementType::BreakLoop:
        case FormElementType::EndConditional:
        case FormElementType::EndLoop:
        case FormElementType::EndXmlElement:
        case FormElementType::BlankRecord:
            m_bValid = FALSE;
            break;
        default:
            m_bValid = TRUE;
            break;
        }
    } catch (CArchiveException& e) {
        if (e.m_cause != CArchiveException::endOfFile)
            throw;
        m_bValid = FALSE;
        m_bEndOfData = TRUE;
    }
}

int RecordOpcodeToType(const CAPRTPDMRec& record)
{
    const QString& opcode = record.m_opcode.GetValue();
    const bool barcode = !record.m_barcodeLetter.GetValue().isEmpty();
    struct Entry
    {
        const char* opcode;
        int type;
    };
    static constexpr Entry kOpcodes[] = {
        {"GRPH", FormElementType::Image},         {"OVL", FormElementType::Image},
        {"LOOP", FormElementType::Loop},          {"ENDL", FormElementType::EndLoop},
        {"BRKL", FormElementType::BreakLoop},     {"IF", FormElementType::Conditional},
        {"IFP", FormElementType::Conditional},    {"ENDI", FormElementType::EndConditional},
        {"OUTP", FormElementType::Output},        {"CALL", FormElementType::ExitProgram},
        {"PARM", FormElementType::ExitParam},     {"VAR", FormElementType::Variable},
        {"BLNK", FormElementType::Eraser},        {"BARC", FormElementType::Barcode},
        {"XMLE", FormElementType::XmlElement},    {"XMLA", FormElementType::XmlAttribute},
        {"XMLC", FormElementType::XmlComment},    {"XMLI", FormElementType::XmlInstruction},
        {"ENDX", FormElementType::EndXmlElement}, {"RES", FormElementType::Resource},
    };
    if (opcode == QLatin1String("COPY"))
        return barcode ? FormElementType::Barcode : FormElementType::Source;
    if (opcode == QLatin1String("MOVE"))
        return barcode ? FormElementType::Barcode : FormElementType::Text;
    for (const Entry& entry : kOpcodes)
        if (opcode == QLatin1String(entry.opcode))
            return entry.type;
    return FormElementType::BlankRecord;
}

bool RegisterRecordElementFactory(int type, RecordElementFactory factory)
{
    if (factory == nullptr || !FormElementType::IsElementType(type) || type == FormElementType::Address
        || type == FormElementType::Remark)
        return false;
    Factories()[type] = factory;
    return true;
}

CFormElement* CAPRTPDMRec::CreateElement(CJVXArchive& ar)
{
    const auto it = Factories().find(m_nType);
    if (it == Factories().end())
        return nullptr;
    CFormElement* element = it->second(*this, ar);
    // Only now does the element answer as its kind, which decides whether
    // it keeps an offset.
    if (element != nullptr)
        element->SetOffset(QPoint(m_destOffsetX.GetShort(), m_destOffsetY.GetShort()));
    return element;
}

void CAPRTPDMRec::AssignSequenceNumber()
{
    if (m_pDoc == nullptr || m_pDoc->m_jvxRecordCounter == 0)
        return;
    m_sequence.SetValue(m_pDoc->m_jvxRecordCounter);
    ++m_pDoc->m_jvxRecordCounter;
}

void CAPRTPDMRec::ClearOptionFields()
{
    for (CFixedLenString& option : m_options)
        option.Clear();
}
