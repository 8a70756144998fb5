#pragma once
// A dialog without its widgets: the state of each control by its id (text,
// check, selection, items, enabled) and the member variables bound to them.
// Push copies the members into the controls, Pull reads them back with the
// checks of the framework's data exchange, member by member in the order
// they were bound. A pull stops at the first value that fails its check:
// the members bound before it keep what was read, the message goes through
// the prompt service and FailedControl() names the control, which a view
// focuses with its text selected. Page models of the device and element
// sheets derive from this class; kwvd_ui_qt binds it to real widgets.

#include "platform/framework/Types.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <vector>

struct DialogControlState
{
    QString text;
    int check = 0;      // 0 unchecked, 1 checked, 2 indeterminate
    int selection = -1; // index in items, -1 none
    QStringList items;
    bool enabled = true;
};

// The framework's messages for values that fail their check.
enum class DialogCheckMessage {
    Integer,         // "Enter an integer."
    IntegerRange,    // "Enter an integer between %1 and %2."
    Number,          // "Enter a number."
    NumberRange,     // "Enter a number between %1 and %2."
    PositiveInteger, // "Enter a positive integer."
    MaxChars,        // "Enter no more than %1 characters."
};

// The string ids of those messages, so that a language source can replace them.
UINT DialogCheckMessageId(DialogCheckMessage message);
QString DialogCheckText(DialogCheckMessage message, const QString& arg1 = {}, const QString& arg2 = {});

// Reading numbers as the framework does: blanks around the number pass, a
// dot is the decimal point whatever the locale, a value too big for its
// type is not a number.
std::optional<int> ParseDialogInt(const QString& text);
std::optional<UINT> ParseDialogUInt(const QString& text);
std::optional<double> ParseDialogDouble(const QString& text);
QString FormatDialogDouble(double value);

class CDialogModel
{
public:
    virtual ~CDialogModel();

    DialogControlState& Control(int id) { return m_controls[id]; }
    const DialogControlState* FindControl(int id) const;
    std::vector<int> ControlIds() const;

    // Bindings, checked in the order they are made. A maximum of 0 or less
    // means no limit.
    void BindText(int id, QString* member, int maxChars = 0);
    void BindInt(int id, int* member);
    void BindInt(int id, int* member, int minimum, int maximum);
    void BindUInt(int id, UINT* member);
    void BindUInt(int id, UINT* member, UINT minimum, UINT maximum);
    void BindDouble(int id, double* member);
    void BindDouble(int id, double* member, double minimum, double maximum);
    void BindCheck(int id, int* member);
    void BindSelection(int id, int* member);

    // Members into the controls.
    void Push();
    // Controls into the members; false after the first failure, which has
    // been reported.
    bool Pull();

    // The control of the last failed pull, or 0.
    int FailedControl() const { return m_failedControl; }

private:
    struct Binding
    {
        int id;
        std::function<void(DialogControlState&)> push;
        // The failure's message, or nothing when the value was taken.
        std::function<std::optional<QString>(const DialogControlState&)> pull;
    };

    void Bind(int id, std::function<void(DialogControlState&)> push,
              std::function<std::optional<QString>(const DialogControlState&)> pull);

    std::map<int, DialogControlState> m_controls;
    std::vector<Binding> m_bindings;
    int m_failedControl = 0;
};
