#include "designer/elements/ElementClasses.h"

#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/elements/FormAddressElement.h"
#include "designer/elements/FormBarcodeElement.h"
#include "designer/elements/FormConditionalElement.h"
#include "designer/elements/FormElement.h"
#include "designer/elements/FormEraserElement.h"
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
#include "designer/elements/ImageElementStrings.h"
#include "designer/elements/VariableStrings.h"
#include "platform/ui/StringTable.h"

namespace {

// The type number is the string id of the kind's name.
constexpr StringTable::Entry kTypeNames[] = {
    {FormElementType::Address, "Address"},
    {FormElementType::Barcode, "Barcode"},
    {FormElementType::BreakLoop, "Break Loop"},
    {FormElementType::Conditional, "Conditional"},
    {FormElementType::EndConditional, "End Conditional"},
    {FormElementType::EndLoop, "End Loop"},
    {FormElementType::EndXmlElement, "End XML Element"},
    {FormElementType::Eraser, "Eraser"},
    {FormElementType::ExitParam, "Exit Parameter"},
    {FormElementType::ExitProgram, "Exit Program"},
    {FormElementType::Image, "Image."},
    {FormElementType::Loop, "Loop"},
    {FormElementType::Output, "Output Device"},
    {FormElementType::Remark, "Remark"},
    {FormElementType::Resource, "Resource"},
    {FormElementType::Source, "Section of spooled file."},
    {FormElementType::Text, "Static text."},
    {FormElementType::Variable, "Variable"},
    {FormElementType::XmlAttribute, "XML Attribute"},
    {FormElementType::XmlComment, "XML Comment"},
    {FormElementType::XmlElement, "XML Element"},
    {FormElementType::XmlInstruction, "XML Instruction"},
};

} // namespace

void RegisterElementClasses()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormElement));
    CFormOutputElement::Register();
    CFormAddressElement::Register();
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormEraserElement));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormRemarkElement));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormVariableElement));
    RegisterRecordElementFactory(FormElementType::Eraser, &CFormEraserElement::FromRecord);
    RegisterRecordElementFactory(FormElementType::Variable, &CFormVariableElement::FromRecord);
    RegisterVariableStrings();
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormSourceElement));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormTextElement));
    RegisterRecordElementFactory(FormElementType::Source, [](CAPRTPDMRec& record, CJVXArchive&) -> CFormElement* {
        return new CFormSourceElement(record);
    });
    RegisterRecordElementFactory(FormElementType::Text, [](CAPRTPDMRec& record, CJVXArchive&) -> CFormElement* {
        return new CFormTextElement(record);
    });
    CFormExitParamElement::Register();
    CFormExitProgramElement::Register();
    CFormConditionalElement::Register();
    CFormLoopElement::Register();
    CFormXmlAttributeElement::Register();
    CFormXmlCommentElement::Register();
    CFormXmlElement::Register();
    CFormXmlInstructionElement::Register();
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormBarcodeElement));
    RegisterRecordElementFactory(FormElementType::Barcode, &CFormBarcodeElement::FromRecord);
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormImageElement));
    RegisterRecordElementFactory(FormElementType::Image, &CFormImageElement::FromRecord);
    RegisterImageElementStrings();
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CFormResourceElement));
    RegisterRecordElementFactory(FormElementType::Resource, &CFormResourceElement::FromRecord);
    StringTable::Add(kTypeNames);
}
