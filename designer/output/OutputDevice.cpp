#include "designer/output/OutputDevice.h"

#include "designer/output/OutputDeviceTypeTable.h"

#include <algorithm>

KWVD_IMPLEMENT_SERIAL(COutputDevice, CObject, VERSIONABLE_SCHEMA | 20)

namespace {

// The host's default document-store program and its library keyword.
constexpr char16_t kDocStoreExitProgram[] = u"STOREDOC";
constexpr char16_t kDocStoreExitLibrary[] = u"*DOC";

BOOL StoreText(QString& field, const QString& value)
{
    if (field == value)
        return FALSE;
    field = value;
    return TRUE;
}

} // namespace

COutputDevice::COutputDevice()
{
    SetDefaults();
    m_type = 0;
}

COutputDevice::COutputDevice(int type, const QString& name, const QString& description)
{
    SetDefaults();
    SetType(type);
    SetName(name);
    SetDescription(description);
}

COutputDevice::~COutputDevice() = default;

void COutputDevice::SetDefaults()
{
    m_name.clear();
    m_description.clear();
    m_fileExitProgram.clear();
    m_fileExitProgramLibrary.clear();
}

BOOL COutputDevice::SetName(const QString& name)
{
    return StoreText(m_name, name.left(kNameWidth));
}

BOOL COutputDevice::SetDescription(const QString& description)
{
    return StoreText(m_description, description.left(kDescriptionWidth));
}

BOOL COutputDevice::SetType(int type)
{
    if (type == m_type || type < 0 || type > kMaxType)
        return FALSE;
    m_type = type;
    if (type == kDocStoreType && m_fileExitProgram.isEmpty()) {
        SetFileExitProgram(QString::fromUtf16(kDocStoreExitProgram));
        SetFileExitProgramLibrary(QString::fromUtf16(kDocStoreExitLibrary));
    }
    return TRUE;
}

BOOL COutputDevice::SetFileExitProgram(const QString& program)
{
    return StoreText(m_fileExitProgram, program.left(kExitProgramWidth).toUpper());
}

BOOL COutputDevice::SetFileExitProgramLibrary(const QString& library)
{
    return StoreText(m_fileExitProgramLibrary, library.left(kExitProgramWidth).toUpper());
}

void COutputDevice::GetDisplayName(QString& out) const
{
    if (!m_description.isEmpty()) {
        out = m_description;
        return;
    }
    out = m_name + QStringLiteral(" (") + OutputDeviceTypeTitle(m_type) + QStringLiteral(")");
}

void COutputDevice::GetTypeCode(int type, QString& code)
{
    if (const OutputDeviceTypeRow* row = FindOutputDeviceType(type))
        code = QString::fromUtf8(row->code);
}

void COutputDevice::GetTypeFromCode(const QString& code, int& type)
{
    type = -1;
    for (const OutputDeviceTypeRow* row = OutputDeviceTypeTable; row->type >= 0; ++row) {
        if (code == QLatin1StringView(row->code)) {
            type = row->type;
            return;
        }
    }
}

BOOL COutputDevice::HasUser(const CFormOutputElement* element) const
{
    return std::find(m_users.begin(), m_users.end(), element) != m_users.end() ? TRUE : FALSE;
}

void COutputDevice::AddUser(CFormOutputElement* element)
{
    if (element != nullptr && !HasUser(element))
        m_users.push_back(element);
}

BOOL COutputDevice::RemoveUser(const CFormOutputElement* element)
{
    const auto it = std::find(m_users.begin(), m_users.end(), element);
    if (it == m_users.end())
        return FALSE;
    m_users.erase(it);
    return TRUE;
}
