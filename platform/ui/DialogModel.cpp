#include "platform/ui/DialogModel.h"

#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {

struct CheckText
{
    DialogCheckMessage message;
    UINT id;
    const char* text;
};

constexpr CheckText kCheckTexts[] = {
    {DialogCheckMessage::Integer, 0x0FFFFF01u, "Enter an integer."},
    {DialogCheckMessage::IntegerRange, 0x0FFFFF02u, "Enter an integer between %1 and %2."},
    {DialogCheckMessage::Number, 0x0FFFFF03u, "Enter a number."},
    {DialogCheckMessage::NumberRange, 0x0FFFFF04u, "Enter a number between %1 and %2."},
    {DialogCheckMessage::PositiveInteger, 0x0FFFFF05u, "Enter a positive integer."},
    {DialogCheckMessage::MaxChars, 0x0FFFFF06u, "Enter no more than %1 characters."},
};

const CheckText& Find(DialogCheckMessage message)
{
    for (const CheckText& row : kCheckTexts) {
        if (row.message == message)
            return row;
    }
    return kCheckTexts[0];
}

// The sign and digits between optional blanks, or nothing.
std::optional<long long> ParseWhole(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (trimmed[0] == u'+' || trimmed[0] == u'-') {
        negative = trimmed[0] == u'-';
        ++i;
    }
    if (i == trimmed.size())
        return std::nullopt;
    // More digits than any 32-bit value has would overflow the sum below.
    if (trimmed.size() - i > 12)
        return std::nullopt;
    long long value = 0;
    for (; i < trimmed.size(); ++i) {
        const QChar c = trimmed[i];
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return negative ? -value : value;
}

QString Bound(long long value)
{
    return QString::number(value);
}

} // namespace

UINT DialogCheckMessageId(DialogCheckMessage message)
{
    return Find(message).id;
}

QString DialogCheckText(DialogCheckMessage message, const QString& arg1, const QString& arg2)
{
    const CheckText& row = Find(message);
    QString text = StringTable::Find(row.id).value_or(QString::fromUtf8(row.text));
    if (!arg1.isNull())
        text.replace(QLatin1String("%1"), arg1);
    if (!arg2.isNull())
        text.replace(QLatin1String("%2"), arg2);
    return text;
}

std::optional<int> ParseDialogInt(const QString& text)
{
    const std::optional<long long> value = ParseWhole(text);
    if (!value || *value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<UINT> ParseDialogUInt(const QString& text)
{
    const std::optional<long long> value = ParseWhole(text);
    if (!value || *value < 0 || *value > std::numeric_limits<UINT>::max())
        return std::nullopt;
    return static_cast<UINT>(*value);
}

std::optional<double> ParseDialogDouble(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString FormatDialogDouble(double value)
{
    return QString::number(value, 'g', 15);
}

CDialogModel::~CDialogModel() = default;

const DialogControlState* CDialogModel::FindControl(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : &it->second;
}

std::vector<int> CDialogModel::ControlIds() const
{
    std::vector<int> ids;
    for (const auto& [id, state] : m_controls)
        ids.push_back(id);
    return ids;
}

void CDialogModel::Bind(int id, std::function<void(DialogControlState&)> push,
                        std::function<std::optional<QString>(const DialogControlState&)> pull)
{
    m_controls[id];
    m_bindings.push_back({id, std::move(push), std::move(pull)});
}

void CDialogModel::BindText(int id, QString* member, int maxChars)
{
    Bind(
        id, [member](DialogControlState& s) { s.text = *member; },
        [member, maxChars](const DialogControlState& s) -> std::optional<QString> {
            if (maxChars > 0 && s.text.size() > maxChars)
                return DialogCheckText(DialogCheckMessage::MaxChars, Bound(maxChars));
            *member = s.text;
            return std::nullopt;
        });
}

void CDialogModel::BindInt(int id, int* member)
{
    BindInt(id, member, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

void CDialogModel::BindInt(int id, int* member, int minimum, int maximum)
{
    const bool ranged = minimum != std::numeric_limits<int>::min() || maximum != std::numeric_limits<int>::max();
    Bind(
        id, [member](DialogControlState& s) { s.text = QString::number(*member); },
        [=](const DialogControlState& s) -> std::optional<QString> {
            const std::optional<int> value = ParseDialogInt(s.text);
            if (!value)
                return DialogCheckText(DialogCheckMessage::Integer);
            if (ranged && (*value < minimum || *value > maximum))
                return DialogCheckText(DialogCheckMessage::IntegerRange, Bound(minimum), Bound(maximum));
            *member = *value;
            return std::nullopt;
        });
}

void CDialogModel::BindUInt(int id, UINT* member)
{
    BindUInt(id, member, 0, std::numeric_limits<UINT>::max());
}

void CDialogModel::BindUInt(int id, UINT* member, UINT minimum, UINT maximum)
{
    const bool ranged = minimum != 0 || maximum != std::numeric_limits<UINT>::max();
    Bind(
        id, [member](DialogControlState& s) { s.text = QString::number(*member); },
        [=](const DialogControlState& s) -> std::optional<QString> {
            const std::optional<UINT> value = ParseDialogUInt(s.text);
            if (!value)
                return DialogCheckText(DialogCheckMessage::PositiveInteger);
            if (ranged && (*value < minimum || *value > maximum))
                return DialogCheckText(DialogCheckMessage::IntegerRange, Bound(minimum), Bound(maximum));
            *member = *value;
            return std::nullopt;
        });
}

void CDialogModel::BindDouble(int id, double* member)
{
    Bind(
        id, [member](DialogControlState& s) { s.text = FormatDialogDouble(*member); },
        [member](const DialogControlState& s) -> std::optional<QString> {
            const std::optional<double> value = ParseDialogDouble(s.text);
            if (!value)
                return DialogCheckText(DialogCheckMessage::Number);
            *member = *value;
            return std::nullopt;
        });
}

void CDialogModel::BindDouble(int id, double* member, double minimum, double maximum)
{
    Bind(
        id, [member](DialogControlState& s) { s.text = FormatDialogDouble(*member); },
        [=](const DialogControlState& s) -> std::optional<QString> {
            const std::optional<double> value = ParseDialogDouble(s.text);
            if (!value)
                return DialogCheckText(DialogCheckMessage::Number);
            if (*value < minimum || *value > maximum)
                return DialogCheckText(DialogCheckMessage::NumberRange, FormatDialogDouble(minimum),
                                       FormatDialogDouble(maximum));
            *member = *value;
            return std::nullopt;
        });
}

void CDialogModel::BindCheck(int id, int* member)
{
    Bind(
        id, [member](DialogControlState& s) { s.check = *member; },
        [member](const DialogControlState& s) -> std::optional<QString> {
            *member = s.check;
            return std::nullopt;
        });
}

void CDialogModel::BindSelection(int id, int* member)
{
    Bind(
        id, [member](DialogControlState& s) { s.selection = *member; },
        [member](const DialogControlState& s) -> std::optional<QString> {
            *member = s.selection;
            return std::nullopt;
        });
}

void CDialogModel::Push()
{
    for (const Binding& binding : m_bindings)
        binding.push(m_controls[binding.id]);
}

bool CDialogModel::Pull()
{
    m_failedControl = 0;
    for (const Binding& binding : m_bindings) {
        if (const std::optional<QString> message = binding.pull(m_controls[binding.id])) {
            m_failedControl = binding.id;
            Prompts().MessageBox(*message, {}, MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
    }
    return true;
}
