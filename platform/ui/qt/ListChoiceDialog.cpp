#include "platform/ui/qt/ListChoiceDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>
#include <vector>

ListChoiceDialog::ListChoiceDialog(const ListChoiceRequest& request, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(request.title);
    auto* layout = new QVBoxLayout(this);

    if (!request.label.isEmpty()) {
        auto* label = new QLabel(request.label, this);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        layout->addWidget(label);
    }

    std::vector<qsizetype> order(static_cast<std::size_t>(request.items.size()));
    std::iota(order.begin(), order.end(), qsizetype{0});
    if (request.sort) {
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            return QString::compare(request.items[a], request.items[b], Qt::CaseInsensitive) < 0;
        });
    }
    m_list = new QListWidget(this);
    for (const qsizetype index : order) {
        auto* item = new QListWidgetItem(request.items[index], m_list);
        item->setData(Qt::UserRole, static_cast<int>(index));
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    layout->addWidget(m_list);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(m_list->currentItem() != nullptr);
    connect(m_list, &QListWidget::currentItemChanged, ok,
            [ok](QListWidgetItem* current) { ok->setEnabled(current != nullptr); });
    connect(m_list, &QListWidget::itemActivated, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int ListChoiceDialog::ChosenIndex() const
{
    const QListWidgetItem* item = m_list->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}
