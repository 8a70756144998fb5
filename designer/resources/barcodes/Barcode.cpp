#include "designer/resources/barcodes/Barcode.h"

#include "designer/document/jvx/FixedLenNum.h"
#include "designer/document/jvx/FixedLenString.h"
#include "designer/document/jvx/FixedLenUserString.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormElement.h"
#include "platform/framework/Archive.h"

#include <algorithm>

KWVD_IMPLEMENT_SERIAL(CBarcode, CObject, VERSIONABLE_SCHEMA | 2)

namespace {

bool ValidType(int index)
{
    return index >= 0 && index < kBarcodeTypeCount;
}

bool ValidModifier(int index)
{
    return index >= 0 && index < kBarcodeModifierCount;
}

BOOL StoreText(QString& field, const QString& value)
{
    const QString text = value.left(CBarcode::kTextLength);
    if (text == field)
        return FALSE;
    field = text;
    return TRUE;
}

// The leading decimal number of a text field; 0 when it has none.
int DecimalOf(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    int value = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9' && value < 100000)
        value = value * 10 + (text[i++].unicode() - u'0');
    return negative ? -value : value;
}

QString ReadText(CJVXArchive& ar, CFixedLenString&& field)
{
    field.ExchangeJVX(ar);
    return field.GetValue();
}

} // namespace

CBarcode::CBarcode()
{
    Reset();
}

CBarcode::CBarcode(const QString& name)
{
    Reset();
    SetName(name);
}

CBarcode::~CBarcode() = default;

void CBarcode::Reset()
{
    m_strName.clear();
    m_nTypeIndex = 0;
    m_nModifierIndex = 0;
    m_bPrintText = FALSE;
    m_strPreamble.clear();
    m_strPostamble.clear();
    m_nModuleWidth = 255;
    m_nTextFontIndex = kUnset;
    m_nHeight = kUnset;
    m_nWidthColumns = kUnset;
    m_bRemoveLeadingBlanks = FALSE;
    m_bRemoveTrailingBlanks = FALSE;
    BuildModifierList();
}

void CBarcode::BuildModifierList()
{
    m_modifiers = BarcodeModifiersOf(m_nTypeIndex);
    if (m_modifiers[static_cast<size_t>(m_nModifierIndex)].text.isEmpty() && !m_modifiers[0].text.isEmpty())
        m_nModifierIndex = 0;
}

void CBarcode::SetTypeIndex(int typeIndex)
{
    if (!ValidType(typeIndex))
        return;
    m_nTypeIndex = typeIndex;
    BuildModifierList();
}

void CBarcode::SetModifierIndex(int modifierIndex)
{
    if (ValidModifier(modifierIndex) && !m_modifiers[static_cast<size_t>(modifierIndex)].text.isEmpty())
        m_nModifierIndex = modifierIndex;
}

CBarcode& CBarcode::Copy(const CBarcode& from)
{
    if (&from == this)
        return *this;
    m_users.clear();
    m_strName = from.m_strName;
    SetTypeIndex(from.m_nTypeIndex);
    SetModifierIndex(from.m_nModifierIndex);
    m_bPrintText = from.m_bPrintText;
    m_strPreamble = from.m_strPreamble;
    m_strPostamble = from.m_strPostamble;
    m_nModuleWidth = from.m_nModuleWidth;
    m_nTextFontIndex = from.m_nTextFontIndex;
    m_nHeight = from.m_nHeight;
    m_nWidthColumns = from.m_nWidthColumns;
    m_bRemoveLeadingBlanks = from.m_bRemoveLeadingBlanks;
    m_bRemoveTrailingBlanks = from.m_bRemoveTrailingBlanks;
    return *this;
}

BOOL CBarcode::IsEqual(const CBarcode* other) const
{
    if (other == nullptr)
        return FALSE;
    return m_strName == other->m_strName && m_nTypeIndex == other->m_nTypeIndex
                   && m_nModifierIndex == other->m_nModifierIndex && m_bPrintText == other->m_bPrintText
                   && m_strPreamble == other->m_strPreamble && m_strPostamble == other->m_strPostamble
                   && m_bRemoveLeadingBlanks == other->m_bRemoveLeadingBlanks
                   && m_bRemoveTrailingBlanks == other->m_bRemoveTrailingBlanks
               ? TRUE
               : FALSE;
}

BOOL CBarcode::SetName(const QString& name)
{
    return StoreText(m_strName, name);
}

BOOL CBarcode::SetPreamble(const QString& text)
{
    return StoreText(m_strPreamble, text);
}

BOOL CBarcode::SetPostamble(const QString& text)
{
    return StoreText(m_strPostamble, text);
}

BOOL CBarcode::SetTypeByName(const QString& name)
{
    const auto types = BarcodeTypeTable();
    for (size_t i = 0; i < types.size(); ++i) {
        if (name == QString::fromUtf16(types[i].name)) {
            SetTypeIndex(static_cast<int>(i));
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CBarcode::SetModifierByText(const QString& text)
{
    if (text.isEmpty())
        return FALSE;
    for (size_t i = 0; i < m_modifiers.size(); ++i) {
        if (m_modifiers[i].text == text) {
            m_nModifierIndex = static_cast<int>(i);
            return TRUE;
        }
    }
    return FALSE;
}

IBarcodeUser* CBarcode::FirstUser() const
{
    if (m_users.empty() || m_users.front() == nullptr)
        return nullptr;
    return dynamic_cast<IBarcodeUser*>(m_users.front());
}

int CBarcode::GetHeight()
{
    if (m_nHeight < 0) {
        if (const IBarcodeUser* user = FirstUser())
            SetHeight(user->GetDestSizeTwips().height());
    }
    return m_nHeight;
}

int CBarcode::GetWidthColumns()
{
    if (m_nWidthColumns < 0) {
        if (const IBarcodeUser* user = FirstUser())
            SetWidthColumns(user->GetSourceWidthInColumns());
    }
    return m_nWidthColumns;
}

int CBarcode::ResolveTextFontIndex()
{
    if (m_nTextFontIndex < 0) {
        if (const IBarcodeUser* user = FirstUser())
            SetTextFontIndex(user->GetTextFontIndex());
    }
    if (m_nTextFontIndex < 0)
        SetTextFontIndex(0);
    return m_nTextFontIndex;
}

void CBarcode::SetHeight(int height)
{
    if (height == m_nHeight)
        return;
    m_nHeight = height;
    RevalidateUsers();
}

void CBarcode::SetWidthColumns(int columns)
{
    if (columns == m_nWidthColumns)
        return;
    m_nWidthColumns = columns;
    RevalidateUsers();
}

void CBarcode::SetTextFontIndex(int index)
{
    if (index == m_nTextFontIndex)
        return;
    m_nTextFontIndex = index;
    RevalidateUsers();
}

void CBarcode::SetRemoveLeadingBlanks(BOOL remove)
{
    const BOOL value = remove ? TRUE : FALSE;
    if (value == m_bRemoveLeadingBlanks)
        return;
    m_bRemoveLeadingBlanks = value;
    RevalidateUsers();
}

void CBarcode::AddUser(CFormElement* element)
{
    if (element != nullptr && std::find(m_users.begin(), m_users.end(), element) == m_users.end())
        m_users.push_back(element);
}

void CBarcode::RemoveUser(const CFormElement* element)
{
    std::erase(m_users, element);
}

void CBarcode::RevalidateUsers()
{
    // A user may leave the list while it revalidates.
    const std::vector<CFormElement*> users = m_users;
    for (CFormElement* user : users) {
        if (user != nullptr)
            user->Revalidate(0);
    }
}

void CBarcode::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_strName << static_cast<LONG>(m_nTypeIndex) << static_cast<LONG>(m_nModifierIndex)
           << static_cast<WORD>(m_bPrintText) << m_strPreamble << m_strPostamble << static_cast<LONG>(m_nModuleWidth)
           << static_cast<WORD>(m_bRemoveLeadingBlanks ? 1 : 0) << static_cast<WORD>(m_bRemoveTrailingBlanks ? 1 : 0);
        return;
    }
    const UINT schema = ar.GetObjectSchema();
    QString name;
    LONG typeIndex = 0;
    LONG modifierIndex = 0;
    WORD printText = 0;
    QString preamble;
    QString postamble;
    LONG moduleWidth = 0;
    WORD leading = 0;
    WORD trailing = 0;
    ar >> name >> typeIndex >> modifierIndex >> printText >> preamble >> postamble >> moduleWidth;
    if (schema >= 2)
        ar >> leading >> trailing;

    m_strName = name;
    SetTypeIndex(typeIndex);
    SetModifierIndex(modifierIndex);
    m_bPrintText = printText;
    m_strPreamble = preamble;
    m_strPostamble = postamble;
    m_nModuleWidth = moduleWidth;
    if (schema >= 2) {
        SetRemoveLeadingBlanks(leading != 0);
        m_bRemoveTrailingBlanks = trailing != 0 ? TRUE : FALSE;
    }
}

void CBarcode::ExchangeJVX(CJVXArchive& ar)
{
    int version = ar.GetVersion();
    if (version < 1 || version > kLastJvxVersion)
        version = kLastJvxVersion;
    const bool withFlags = version > 16;

    if (ar.IsStoring()) {
        const int fontIndex = ResolveTextFontIndex();
        // The fields of the line reach the file in one write.
        ar.BeginLine();
        CFixedLenUserString name(30);
        name.SetValue(m_strName);
        name.ExchangeJVX(ar);
        CFixedLenNum zero(5);
        zero.SetValue(0);
        zero.ExchangeJVX(ar);
        zero.ExchangeJVX(ar);
        CFixedLenString type(2);
        type.SetValue(BarcodeType::GetHexCode(BarcodeTypeTable()[static_cast<size_t>(m_nTypeIndex)].id));
        type.ExchangeJVX(ar);
        CFixedLenNum modifier(2);
        modifier.SetValue(GetModifierCode());
        modifier.ExchangeJVX(ar);
        CFixedLenString columns(2);
        columns.SetNumber(GetWidthColumns());
        columns.ExchangeJVX(ar);
        CFixedLenString font(1);
        font.SetNumber(fontIndex);
        font.ExchangeJVX(ar);
        CFixedLenNum moduleWidth(3);
        moduleWidth.SetValue(m_nModuleWidth);
        moduleWidth.ExchangeJVX(ar);
        CFixedLenNum height(5);
        height.SetValue(GetHeight());
        height.ExchangeJVX(ar);
        CFixedLenString print(1);
        print.SetValue(m_bPrintText == 1 ? QStringLiteral("Y") : QStringLiteral("N"));
        print.ExchangeJVX(ar);
        CFixedLenUserString preamble(30);
        preamble.SetValue(m_strPreamble);
        preamble.ExchangeJVX(ar);
        CFixedLenUserString postamble(30);
        postamble.SetValue(m_strPostamble);
        postamble.ExchangeJVX(ar);
        if (withFlags) {
            CFixedLenString flag(1);
            flag.SetValue(m_bRemoveLeadingBlanks == 1 ? QStringLiteral("Y") : QStringLiteral("N"));
            flag.ExchangeJVX(ar);
            flag.SetValue(m_bRemoveTrailingBlanks == 1 ? QStringLiteral("Y") : QStringLiteral("N"));
            flag.ExchangeJVX(ar);
        }
        ar.WriteLineEnd();
        return;
    }

    Reset();
    const QString name = ReadText(ar, CFixedLenUserString(30));
    CFixedLenNum ignored(5);
    ignored.ExchangeJVX(ar);
    ignored.ExchangeJVX(ar);
    const QString typeCode = ReadText(ar, CFixedLenString(2));
    CFixedLenNum modifier(2);
    modifier.ExchangeJVX(ar);
    const int columns = DecimalOf(ReadText(ar, CFixedLenString(2)));
    const int fontIndex = DecimalOf(ReadText(ar, CFixedLenString(1)));
    CFixedLenNum moduleWidth(3);
    moduleWidth.ExchangeJVX(ar);
    CFixedLenNum height(5);
    height.ExchangeJVX(ar);
    const QString print = ReadText(ar, CFixedLenString(1));
    const QString preamble = ReadText(ar, CFixedLenUserString(30));
    const QString postamble = ReadText(ar, CFixedLenUserString(30));
    QString leading;
    QString trailing;
    if (withFlags) {
        leading = ReadText(ar, CFixedLenString(1));
        trailing = ReadText(ar, CFixedLenString(1));
    }
    ar.ReadLineEnd();

    SetName(name);
    const auto types = BarcodeTypeTable();
    for (size_t i = 0; i < types.size(); ++i) {
        if (BarcodeType::GetHexCode(types[i].id) == typeCode) {
            SetTypeIndex(static_cast<int>(i));
            break;
        }
    }
    for (size_t i = 0; i < m_modifiers.size(); ++i) {
        if (!m_modifiers[i].text.isEmpty() && modifier.IsEqual(m_modifiers[i].code)) {
            m_nModifierIndex = static_cast<int>(i);
            break;
        }
    }
    m_bPrintText = print == QLatin1String("Y") ? TRUE : FALSE;
    SetPreamble(preamble);
    SetPostamble(postamble);
    m_nModuleWidth = moduleWidth.GetShort();
    SetTextFontIndex(fontIndex);
    SetHeight(height.GetShort());
    SetWidthColumns(columns);
    SetRemoveLeadingBlanks(leading == QLatin1String("Y") ? TRUE : FALSE);
    m_bRemoveTrailingBlanks = trailing == QLatin1String("Y") ? TRUE : FALSE;
}
