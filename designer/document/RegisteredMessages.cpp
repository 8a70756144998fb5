#include "designer/document/RegisteredMessages.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

QEvent::Type RegisterWindowMessage(const QString& name)
{
    if (name.isEmpty())
        return QEvent::None;
    static QMutex mutex;
    static QHash<QString, QEvent::Type> registered;
    QMutexLocker lock(&mutex);
    const auto it = registered.constFind(name);
    if (it != registered.constEnd())
        return it.value();
    const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    registered.insert(name, type);
    return type;
}

void RegisterDesignerMessages()
{
    RegisteredMessages::TvnKeyEvent();
    RegisteredMessages::SetTool();
    RegisteredMessages::UpdateData();
    RegisteredMessages::SetPageFocus();
    RegisteredMessages::SerializeLayout();
    RegisteredMessages::SetDocType();
    RegisteredMessages::ActivatePropertiesSheet();
}

#define KWVD_REGISTERED_MESSAGE(function, name)                                                                        \
    QEvent::Type RegisteredMessages::function()                                                                        \
    {                                                                                                                  \
        static const QEvent::Type type = RegisterWindowMessage(QString::fromLatin1(name));                             \
        return type;                                                                                                   \
    }

KWVD_REGISTERED_MESSAGE(TvnKeyEvent, RegisteredMessageName::TvnKeyEvent)
KWVD_REGISTERED_MESSAGE(SetTool, RegisteredMessageName::SetTool)
KWVD_REGISTERED_MESSAGE(UpdateData, RegisteredMessageName::UpdateData)
KWVD_REGISTERED_MESSAGE(SetPageFocus, RegisteredMessageName::SetPageFocus)
KWVD_REGISTERED_MESSAGE(SerializeLayout, RegisteredMessageName::SerializeLayout)
KWVD_REGISTERED_MESSAGE(SetDocType, RegisteredMessageName::SetDocType)
KWVD_REGISTERED_MESSAGE(ActivatePropertiesSheet, RegisteredMessageName::ActivatePropertiesSheet)

#undef KWVD_REGISTERED_MESSAGE
