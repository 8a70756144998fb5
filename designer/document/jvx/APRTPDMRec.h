#pragma once
// One command record of the JVX file: a line of 32 fixed-width fields that
// begins with a 4-character opcode and carries positions, data and options.
// The record knows the opcodes and the factory that turns a record read from
// the file into a new element; what each kind puts into the fields is the
// kind's own business (its ToRecord and its constructor from a record).
//
// Fields present by version (all others are there from version 1): a
// 2-digit filler after the description in versions 1 to 3; flag and
// destination size from 3; parameter number and name from 4; long data from
// 8; barcode letter from 11; resource id from 18.

#include "designer/document/jvx/FixedLenNum.h"
#include "designer/document/jvx/FixedLenString.h"
#include "designer/document/jvx/FixedLenUserString.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

class CDesignerDoc;
class CFormElement;
class CJVXArchive;

class CAPRTPDMRec : public CObject
{
    KWVD_DECLARE_SERIAL(CAPRTPDMRec)

public:
    static constexpr int kOptionCount = 5;

    CAPRTPDMRec();
    explicit CAPRTPDMRec(CDesignerDoc* doc);

    // Every field back to its width, texts empty, numbers 0 (their empty
    // marks untouched); type blank, not valid. Document and parent stay.
    void Reset();

    // Writes the record as one line, or reads one line into it. The end of
    // the data inside the record ends the exchange quietly: not valid, type
    // blank, IsEndOfData() TRUE. The end of the data right after the last
    // field counts as the line end.
    void ExchangeJVX(CJVXArchive& ar);

    // The element for the record's type, or null; the caller owns it.
    // Containers read their children from the same archive before it returns.
    CFormElement* CreateElement(CJVXArchive& ar);

    // Field 3 from the document's record counter, when it runs (not 0).
    void AssignSequenceNumber();
    // Fields 20 to 24.
    void ClearOptionFields();

    // The characters of one line at the version (CR LF not counted).
    static int LineLength(int version);

    CDesignerDoc* GetDocument() const { return m_pDoc; }
    void SetDocument(CDesignerDoc* doc) { m_pDoc = doc; }
    CFormElement* GetParent() const { return m_pParent; }
    void SetParent(CFormElement* parent) { m_pParent = parent; }
    BOOL IsValid() const { return m_bValid; }
    int GetType() const { return m_nType; }
    BOOL IsEndOfData() const { return m_bEndOfData; }

    // The fields, in line order.
    CFixedLenString m_unused1{1};          // 1
    CFixedLenString m_unused2{1};          // 2
    CFixedLenNum m_sequence{4};            // 3
    CFixedLenString m_opcode{4};           // 4
    CFixedLenString m_sourceSign{1};       // 5: blank, "-" or "+"
    CFixedLenNum m_sourceLine{3};          // 6
    CFixedLenNum m_sourceFirstColumn{3};   // 7
    CFixedLenNum m_sourceLastColumn{3};    // 8
    CFixedLenString m_destSign{1};         // 9
    CFixedLenNum m_destLine{3};            // 10
    CFixedLenNum m_destOffsetY{4};         // 11, twips
    CFixedLenNum m_destFirstColumn{3};     // 12
    CFixedLenNum m_destOffsetX{4};         // 13, twips
    CFixedLenNum m_destLastColumn{3};      // 14
    CFixedLenString m_comparison{2};       // 15
    CFixedLenUserString m_data{132};       // 16
    CFixedLenUserString m_description{50}; // 17
    CFixedLenNum m_filler{2};              // versions 1 to 3
    CFixedLenNum m_lineCount{3};           // 18
    CFixedLenString m_fontIndex{1};        // 19
    CFixedLenString m_options[kOptionCount]{CFixedLenString(1), CFixedLenString(1), CFixedLenString(1),
                                            CFixedLenString(1), CFixedLenString(1)}; // 20 to 24
    CFixedLenString m_flag{1};                                                       // 25: "1" set
    CFixedLenNum m_destWidth{6};                                                     // 26, twips
    CFixedLenNum m_destHeight{6};                                                    // 27, twips
    CFixedLenNum m_paramNumber{1};                                                   // 28
    CFixedLenString m_name{10};                                                      // 29
    CFixedLenUserString m_longData{256};                                             // 30
    CFixedLenString m_barcodeLetter{1};                                              // 31
    CFixedLenString m_resourceId{1};                                                 // 32

private:
    void ExchangeFields(CJVXArchive& ar, int version);

    CDesignerDoc* m_pDoc = nullptr;
    CFormElement* m_pParent = nullptr;
    BOOL m_bValid = FALSE;
    BOOL m_bEndOfData = FALSE;
    int m_nType = 0;
};

// The record type of the record's opcode (field 4, exact, upper case): a
// FormElementType number or one of the record-only ones; BlankRecord for
// anything unknown.
int RecordOpcodeToType(const CAPRTPDMRec& record);

// Makes the element of one type from a record just read. Each kind's library
// registers its own at start; the record-only types, the Address and the
// Remark are never made from a record.
using RecordElementFactory = CFormElement* (*)(CAPRTPDMRec& record, CJVXArchive& ar);

// False for a type that is not made from records; a later registration
// of the same type replaces the earlier one.
bool RegisterRecordElementFactory(int type, RecordElementFactory factory);
