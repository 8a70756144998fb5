#pragma once
// One typed value of the settings store: a 32-bit number, a text kept as
// UTF-8, or raw bytes.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <string>
#include <string_view>

namespace kwvd {

enum class RegistryValueType {
    Number,
    Text,
    Binary,
};

class RegistryValue
{
public:
    // An empty text.
    RegistryValue() = default;

    static RegistryValue Number(std::uint32_t number);
    static RegistryValue Text(QStringView text);
    // The bytes are kept exactly, whether or not they are valid UTF-8.
    static RegistryValue TextUtf8(std::string_view utf8);
    static RegistryValue Binary(QByteArrayView bytes);

    RegistryValueType Type() const { return m_type; }

    // Each gives an empty result when the value is of another type.
    std::uint32_t ToNumber() const;
    QString ToText() const;
    std::string ToTextUtf8() const;
    QByteArray ToBinary() const;

    // The UTF-8 bytes of a text or the bytes of a binary value.
    const QByteArray& Data() const { return m_data; }

    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;

private:
    RegistryValueType m_type = RegistryValueType::Text;
    std::uint32_t m_number = 0;
    QByteArray m_data;
};

} // namespace kwvd
