#include "platform/registry/RegistryValue.h"

namespace kwvd {

RegistryValue RegistryValue::Number(std::uint32_t number)
{
    RegistryValue value;
    value.m_type = RegistryValueType::Number;
    value.m_number = number;
    return value;
}

RegistryValue RegistryValue::Text(QStringView text)
{
    RegistryValue value;
    value.m_type = RegistryValueType::Text;
    value.m_data = text.toUtf8();
    return value;
}

RegistryValue RegistryValue::TextUtf8(std::string_view utf8)
{
    RegistryValue value;
    value.m_type = RegistryValueType::Text;
    value.m_data = QByteArray(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return value;
}

RegistryValue RegistryValue::Binary(QByteArrayView bytes)
{
    RegistryValue value;
    value.m_type = RegistryValueType::Binary;
    value.m_data = bytes.toByteArray();
    return value;
}

std::uint32_t RegistryValue::ToNumber() const
{
    return m_type == RegistryValueType::Number ? m_number : 0;
}

QString RegistryValue::ToText() const
{
    return m_type == RegistryValueType::Text ? QString::fromUtf8(m_data) : QString();
}

std::string RegistryValue::ToTextUtf8() const
{
    if (m_type != RegistryValueType::Text)
        return {};
    return std::string(m_data.constData(), static_cast<std::size_t>(m_data.size()));
}

QByteArray RegistryValue::ToBinary() const
{
    return m_type == RegistryValueType::Binary ? m_data : QByteArray();
}

} // namespace kwvd
