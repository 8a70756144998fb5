#include "designer/document/RegisteredMessages.h"

#include <QCoreApplication>
#include <QObject>

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(RegisteredMessagesTest, EachNameHasOneNumberForTheProcess)
{
    RegisterDesignerMessages();
    const std::pair<const char*, QEvent::Type> messages[] = {
        {"KWVD_TVN_KEY_EVENT", RegisteredMessages::TvnKeyEvent()},
        {"WM_SET_TOOL", RegisteredMessages::SetTool()},
        {"WM_UPDATE_DATA", RegisteredMessages::UpdateData()},
        {"WM_SETPAGEFOCUS", RegisteredMessages::SetPageFocus()},
        {"WM_SERIALIZE_LAYOUT", RegisteredMessages::SerializeLayout()},
        {"WM_SET_DOC_TYPE", RegisteredMessages::SetDocType()},
        {"WM_ACTIVATE_PROPERTIES_SHEET", RegisteredMessages::ActivatePropertiesSheet()},
    };
    std::set<int> numbers;
    for (const auto& [name, type] : messages) {
        SCOPED_TRACE(name);
        EXPECT_GE(type, QEvent::User);
        EXPECT_EQ(RegisterWindowMessage(QString::fromLatin1(name)), type);
        numbers.insert(type);
    }
    EXPECT_EQ(numbers.size(), std::size(messages));
    EXPECT_EQ(RegisterWindowMessage(QString()), QEvent::None);
}

class Receiver : public QObject
{
public:
    bool event(QEvent* e) override
    {
        if (e->type() != RegisteredMessages::SetDocType())
            return QObject::event(e);
        const auto* message = static_cast<CRegisteredMessageEvent*>(e);
        docType = static_cast<int>(message->WParam());
        lParam = message->LParam();
        return true;
    }

    int docType = -1;
    std::intptr_t lParam = 0;
};

TEST(RegisteredMessagesTest, TheEventCarriesBothParameters)
{
    int argc = 0;
    QCoreApplication* app = QCoreApplication::instance();
    std::unique_ptr<QCoreApplication> own;
    if (app == nullptr)
        own = std::make_unique<QCoreApplication>(argc, nullptr);
    Receiver receiver;
    QCoreApplication::postEvent(&receiver, new CRegisteredMessageEvent(RegisteredMessages::SetDocType(), 1, 4711));
    QCoreApplication::sendPostedEvents(&receiver);
    EXPECT_EQ(receiver.docType, 1);
    EXPECT_EQ(receiver.lParam, 4711);
}

} // namespace
