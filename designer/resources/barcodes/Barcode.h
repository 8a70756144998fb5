#pragma once
// One barcode definition: the symbology (a row of the barcode type table),
// its modifier, module width, human-readable text, preamble and postamble,
// blank stripping, and the text font, height and width that it takes from
// the barcode elements using it. A document holds up to 26 of them, named
// A to Z in the exported file.

#include "designer/resources/barcodes/BarcodeTypeTable.h"
#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QSize>
#include <QString>

#include <vector>

class CFormElement;
class CJVXArchive;

// What a definition asks of the barcode elements that use it.
class IBarcodeUser
{
public:
    virtual ~IBarcodeUser() = default;
    // The destination rectangle's size in 1/1440 inch.
    virtual QSize GetDestSizeTwips() const = 0;
    // The spooled-file columns the source rectangle covers.
    virtual int GetSourceWidthInColumns() const = 0;
    // The element's font index in the document font list.
    virtual int GetTextFontIndex() const = 0;
};

class CBarcode : public CObject
{
    KWVD_DECLARE_SERIAL(CBarcode)

public:
    static constexpr int kTextLength = 30;
    static constexpr int kUnset = -1;
    static constexpr int kLastJvxVersion = 28;

    CBarcode();
    explicit CBarcode(const QString& name);
    ~CBarcode() override;

    CBarcode(const CBarcode&) = delete;
    CBarcode& operator=(const CBarcode&) = delete;

    // Every field to its default; type 0 and its first modifier.
    void Reset();
    // The fields of the other definition, never its users.
    virtual CBarcode& Copy(const CBarcode& from);
    // Name, type, modifier, print text, preamble, postamble and both blank
    // flags; module width, font, height and width are not compared.
    BOOL IsEqual(const CBarcode* other) const;

    void Serialize(CArchive& ar) override;
    // One JVX barcode record with its line end; the marker is the caller's.
    virtual void ExchangeJVX(CJVXArchive& ar);

    // Each cut to 30; TRUE when the stored text changed.
    BOOL SetName(const QString& name);
    BOOL SetPreamble(const QString& text);
    BOOL SetPostamble(const QString& text);
    // The first row of exactly that name; FALSE when none.
    BOOL SetTypeByName(const QString& name);
    // The first entry of exactly that (non-empty) text; FALSE when none.
    BOOL SetModifierByText(const QString& text);
    // Out-of-range values are ignored.
    void SetTypeIndex(int typeIndex);
    void SetModifierIndex(int modifierIndex);

    const QString& GetName() const { return m_strName; }
    const QString& GetPreamble() const { return m_strPreamble; }
    const QString& GetPostamble() const { return m_strPostamble; }
    int GetTypeIndex() const { return m_nTypeIndex; }
    int GetModifierIndex() const { return m_nModifierIndex; }
    const BarcodeModifierList& GetModifiers() const { return m_modifiers; }
    BYTE GetModifierCode() const { return m_modifiers[static_cast<size_t>(m_nModifierIndex)].code; }

    // Unset values are taken from the first user; -1 without one.
    int GetHeight();
    int GetWidthColumns();
    // The text font index, taken from the first user or else 0 when unset.
    int ResolveTextFontIndex();
    int GetTextFontIndex() const { return m_nTextFontIndex; }

    // Elements write these when they are resized or change font; each
    // revalidates the users when the value changes.
    void SetHeight(int height);
    void SetWidthColumns(int columns);
    void SetTextFontIndex(int index);
    void SetRemoveLeadingBlanks(BOOL remove);

    const std::vector<CFormElement*>& GetUsers() const { return m_users; }
    BOOL HasUsers() const { return m_users.empty() ? FALSE : TRUE; }
    void AddUser(CFormElement* element);
    void RemoveUser(const CFormElement* element);
    void RevalidateUsers();

    // The settings dialog reads and writes these directly.
    BOOL m_bPrintText = FALSE;
    int m_nModuleWidth = 255;
    BOOL m_bRemoveLeadingBlanks = FALSE;
    BOOL m_bRemoveTrailingBlanks = FALSE;

private:
    void BuildModifierList();
    IBarcodeUser* FirstUser() const;

    std::vector<CFormElement*> m_users;
    QString m_strName;
    int m_nTypeIndex = 0;
    int m_nModifierIndex = 0;
    QString m_strPreamble;
    QString m_strPostamble;
    int m_nTextFontIndex = kUnset;
    int m_nHeight = kUnset;
    int m_nWidthColumns = kUnset;
    BarcodeModifierList m_modifiers;
};
