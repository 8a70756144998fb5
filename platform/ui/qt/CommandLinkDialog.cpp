#include "platform/ui/qt/CommandLinkDialog.h"

#include <QCommandLinkButton>
#include <QLabel>
#include <QVBoxLayout>

CommandLinkDialog::CommandLinkDialog(const CommandLinkRequest& request, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(request.windowTitle);
    auto* layout = new QVBoxLayout(this);

    auto* instruction = new QLabel(request.mainInstruction, this);
    instruction->setTextFormat(Qt::PlainText);
    instruction->setWordWrap(true);
    QFont larger = instruction->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.25);
    instruction->setFont(larger);
    layout->addWidget(instruction);

    if (!request.content.isEmpty()) {
        auto* content = new QLabel(request.content, this);
        content->setTextFormat(Qt::PlainText);
        content->setWordWrap(true);
        layout->addWidget(content);
    }

    for (const CommandLinkChoice& choice : request.choices) {
        const qsizetype lineBreak = choice.text.indexOf(QLatin1Char('\n'));
        auto* link = new QCommandLinkButton(this);
        link->setText(lineBreak < 0 ? choice.text : choice.text.left(lineBreak));
        if (lineBreak >= 0)
            link->setDescription(choice.text.mid(lineBreak + 1));
        link->setProperty(kChoiceIdProperty, choice.id);
        if (choice.id == request.defaultId) {
            link->setDefault(true);
            link->setFocus();
        }
        const int id = choice.id;
        connect(link, &QCommandLinkButton::clicked, this, [this, id] {
            m_chosen = id;
            accept();
        });
        layout->addWidget(link);
    }
}
