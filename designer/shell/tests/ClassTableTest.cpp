#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/elements/FormElement.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/AppTestEnvironment.h"
#include "platform/framework/Object.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ClassRow
{
    const char* name;
    const char* base;
    UINT schema;
};

// Every serialisable class of the designer's archives, with its base and the
// schema its load code is gated on.
constexpr ClassRow kClasses[] = {
    {"CAPRTPDMRec", "CObject", 28},
    {"CAS400Font", "CObject", 6},
    {"CAS400FontLib", "CObject", 1},
    {"CAS400SoxClient", "CObject", 0},
    {"CBarcode", "CObject", 2},
    {"CBarcodeManager", "CObject", 0},
    {"CResource", "CObject", 0},
    {"DocTypeToKeyMapper", "CObject", 0},
    {"DocStore", "CObject", 0},
    {"DocStoreDocType", "CObject", 0},
    {"DocStoreKey", "CObject", 0},
    {"CDocStoreManager", "CObject", 0},
    {"CFixedLenNum", "CObject", 1},
    {"CFixedLenString", "CObject", 2},
    {"CFixedLenUserString", "CFixedLenString", 0},
    {"CFixedLenUserStringStripped", "CFixedLenUserString", 0},
    {"CFontManager", "CObject", 6},
    {"CFormAddressElement", "CFormElement", 20},
    {"CFormBarcodeElement", "CFormElement", 20},
    {"CFormConditionalElement", "CFormElement", 20},
    {"CFormElement", "CObject", 20},
    {"CFormEraserElement", "CFormElement", 20},
    {"CFormExitParamElement", "CFormElement", 20},
    {"CFormExitProgramElement", "CFormElement", 20},
    {"CFormImageElement", "CFormElement", 20},
    {"CFormLoopElement", "CFormElement", 20},
    {"CFormOutputElement", "CFormElement", 20},
    {"CFormRemarkElement", "CFormElement", 20},
    {"CFormResourceElement", "CFormElement", 20},
    {"CFormSourceElement", "CFormElement", 20},
    {"CFormTextElement", "CFormElement", 20},
    {"CFormVariableElement", "CFormElement", 20},
    {"CFormXmlAttributeElement", "CFormElement", 20},
    {"CFormXmlCommentElement", "CFormElement", 20},
    {"CFormXmlElement", "CFormElement", 20},
    {"CFormXmlInstructionElement", "CFormElement", 20},
    {"Image", "CObject", 0},
    {"ImageRegistry", "CObject", 0},
    {"COutputDevice", "CObject", 20},
    {"COutputDeviceManager", "CObject", 3},
    {"COutputDeviceOffsetsPreset", "CObject", 1},
    {"CPage", "CObject", 3},
    {"CResourceManager", "CObject", 0},
    {"CSelectedFontHolder", "CObject", 0},
    {"CSelectedFontList", "CObject", 0},
    {"CSpooledFile", "CObject", 6},
    {"CTimeStamp", "CObject", 0},
    {"CZipFile", "CObject", 1},
};

TEST(ClassTable, EveryClassIsRegisteredWithItsBaseAndSchema)
{
    AppTestEnvironment env;
    CWVDDesignerApp::Environment e;
    e.serverLibraryFolders = QStringList{env.folder.path()};
    e.createImagingToolkit = false;
    CWVDDesignerApp app(e);
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));

    for (const ClassRow& row : kClasses) {
        SCOPED_TRACE(row.name);
        const CRuntimeClass* runtimeClass = CRuntimeClass::FromName(row.name);
        ASSERT_NE(runtimeClass, nullptr) << row.name << " is not registered";
        EXPECT_STREQ(runtimeClass->className, row.name);
        EXPECT_EQ(runtimeClass->GetStoredSchema(), row.schema);
        EXPECT_TRUE(runtimeClass->IsVersionable());
        EXPECT_TRUE(runtimeClass->IsSerializable());
        ASSERT_NE(runtimeClass->baseClass, nullptr);
        EXPECT_STREQ(runtimeClass->baseClass->className, row.base);
        CObject* object = runtimeClass->CreateObject();
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->GetRuntimeClass(), runtimeClass);
        delete object;
    }
    EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
}

TEST(ClassTable, EveryRecordOpcodeNamesItsType)
{
    struct OpcodeRow
    {
        const char* opcode;
        const char* barcodeLetter;
        int type;
    };
    const OpcodeRow rows[] = {
        {"COPY", "", FormElementType::Source},        {"COPY", "A", FormElementType::Barcode},
        {"MOVE", "", FormElementType::Text},          {"MOVE", "C", FormElementType::Barcode},
        {"GRPH", "", FormElementType::Image},         {"OVL", "", FormElementType::Image},
        {"LOOP", "", FormElementType::Loop},          {"ENDL", "", FormElementType::EndLoop},
        {"BRKL", "", FormElementType::BreakLoop},     {"IF", "", FormElementType::Conditional},
        {"IFP", "", FormElementType::Conditional},    {"ENDI", "", FormElementType::EndConditional},
        {"OUTP", "", FormElementType::Output},        {"CALL", "", FormElementType::ExitProgram},
        {"PARM", "", FormElementType::ExitParam},     {"VAR", "", FormElementType::Variable},
        {"BLNK", "", FormElementType::Eraser},        {"BARC", "", FormElementType::Barcode},
        {"XMLE", "", FormElementType::XmlElement},    {"XMLA", "", FormElementType::XmlAttribute},
        {"XMLC", "", FormElementType::XmlComment},    {"XMLI", "", FormElementType::XmlInstruction},
        {"ENDX", "", FormElementType::EndXmlElement}, {"RES", "", FormElementType::Resource},
        {"copy", "", FormElementType::BlankRecord},   {"NOPE", "", FormElementType::BlankRecord},
        {"", "", FormElementType::BlankRecord},
    };
    for (const OpcodeRow& row : rows) {
        SCOPED_TRACE(std::string(row.opcode) + "/" + row.barcodeLetter);
        CAPRTPDMRec record;
        record.m_opcode.SetValue(QString::fromLatin1(row.opcode));
        record.m_barcodeLetter.SetValue(QString::fromLatin1(row.barcodeLetter));
        EXPECT_EQ(RecordOpcodeToType(record), row.type);
    }
}

} // namespace
