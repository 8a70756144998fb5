#pragma once
// The designer's private messages between panes, pages and the main frame.
// Each is registered under its fixed name once per process and gets an
// event type of its own from Qt; senders and receivers read the number from
// here. The event carries the two message parameters.

#include <QEvent>
#include <QString>

#include <cstdint>

namespace RegisteredMessageName {
inline constexpr const char* TvnKeyEvent = "KWVD_TVN_KEY_EVENT";
inline constexpr const char* SetTool = "WM_SET_TOOL";
inline constexpr const char* UpdateData = "WM_UPDATE_DATA";
inline constexpr const char* SetPageFocus = "WM_SETPAGEFOCUS";
inline constexpr const char* SerializeLayout = "WM_SERIALIZE_LAYOUT";
inline constexpr const char* SetDocType = "WM_SET_DOC_TYPE";
inline constexpr const char* ActivatePropertiesSheet = "WM_ACTIVATE_PROPERTIES_SHEET";
} // namespace RegisteredMessageName

// The event type registered for the name; the same name gives the same type
// for the life of the process. An empty name gives QEvent::None.
QEvent::Type RegisterWindowMessage(const QString& name);

// Registers the seven messages; harmless to call again.
void RegisterDesignerMessages();

// The process's numbers of the seven messages (registered on first use).
struct RegisteredMessages
{
    static QEvent::Type TvnKeyEvent();
    static QEvent::Type SetTool();
    static QEvent::Type UpdateData();
    static QEvent::Type SetPageFocus();
    static QEvent::Type SerializeLayout();
    static QEvent::Type SetDocType();
    static QEvent::Type ActivatePropertiesSheet();
};

// One registered message with its two parameters.
class CRegisteredMessageEvent : public QEvent
{
public:
    CRegisteredMessageEvent(QEvent::Type type, std::uintptr_t wParam, std::intptr_t lParam)
        : QEvent(type), m_wParam(wParam), m_lParam(lParam)
    {}

    std::uintptr_t WParam() const { return m_wParam; }
    std::intptr_t LParam() const { return m_lParam; }

private:
    std::uintptr_t m_wParam;
    std::intptr_t m_lParam;
};
