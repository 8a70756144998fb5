#include "designer/shell/OptionsAS400PropPageView.h"

#include "designer/controls/ACEdit.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Page = COptionsAS400PropPage;

// The program's own key, below which the system name's history lives.
std::optional<kwvd::RegistryKey> ProgramKey()
{
    return kwvd::RegistryStore::Instance().CreateKey(kwvd::RegistryRoot::CurrentUser,
                                                     kwvd::ApplicationKeyPath(u"KWVD Designer"));
}

// Runs a call when the watched edit loses the focus.
class FocusOutWatch : public QObject
{
public:
    FocusOutWatch(QObject* parent, std::function<void()> onFocusOut)
        : QObject(parent), m_onFocusOut(std::move(onFocusOut))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut)
            m_onFocusOut();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onFocusOut;
};

} // namespace

COptionsAS400PropPageView::COptionsAS400PropPageView(COptionsAS400PropPage& model, QWidget* parent)
    : COptionsPropPageView(model, parent), m_page(model)
{
    auto* layout = new QGridLayout(this);

    auto* top = new QGridLayout;
    top->addWidget(Label(Page::IDC_SYSTEM), 0, 0);
    QLineEdit* system = Edit(Page::IDC_SYSTEM);
    top->addWidget(system, 0, 1);
    layout->addLayout(top, 0, 0, 1, 2);

    QGroupBox* spooled = Group(Page::IDC_SPOOLED_FILE_GROUP);
    auto* spooledGrid = new QGridLayout(spooled);
    spooledGrid->addWidget(Label(Page::IDC_OUTPUT_QUEUE), 0, 0);
    spooledGrid->addWidget(Edit(Page::IDC_OUTPUT_QUEUE, Page::kNameLength), 0, 1);
    spooledGrid->addWidget(Label(Page::IDC_OUTPUT_QUEUE_LIBRARY), 1, 0);
    spooledGrid->addWidget(Edit(Page::IDC_OUTPUT_QUEUE_LIBRARY, Page::kNameLength), 1, 1);
    spooledGrid->addWidget(Label(Page::IDC_MAX_PAGES), 2, 0);
    spooledGrid->addWidget(DigitsEdit(Page::IDC_MAX_PAGES), 2, 1);
    layout->addWidget(spooled, 1, 0);

    QGroupBox* fonts = Group(Page::IDC_FONT_LIBRARIES);
    auto* fontsLayout = new QVBoxLayout(fonts);
    // Not bound to the data exchange: the model keeps the checks itself.
    m_fontLibraries = NameDialogControl(new QListWidget(this), Page::IDC_FONT_LIBRARIES);
    m_fontLibraries->setMaximumHeight(110);
    fontsLayout->addWidget(m_fontLibraries);
    layout->addWidget(fonts, 1, 1);

    auto* jvx = new QGridLayout;
    jvx->addWidget(Label(Page::IDC_JVX_VERSION), 0, 0);
    jvx->addWidget(DropList(Page::IDC_JVX_VERSION), 0, 1, 1, 2);
    jvx->addWidget(Label(Page::IDC_EXPORT_PATH), 1, 0);
    jvx->addWidget(Edit(Page::IDC_EXPORT_PATH), 1, 1);
    QPushButton* browse = Button(Page::IDC_BROWSE_EXPORT_PATH);
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(browse->text()) + 16);
    jvx->addWidget(browse, 1, 2);
    jvx->addWidget(Label(Page::IDC_LIBRARY), 2, 0);
    QLineEdit* library = Edit(Page::IDC_LIBRARY);
    jvx->addWidget(library, 2, 1, 1, 2);
    QCheckBox* sockets = Check(Page::IDC_USE_SOCKETS);
    jvx->addWidget(sockets, 3, 0);
    auto* port = new QHBoxLayout;
    port->addWidget(Label(Page::IDC_PORT));
    port->addWidget(DigitsEdit(Page::IDC_PORT));
    jvx->addLayout(port, 3, 1, 1, 2);
    jvx->addWidget(Label(Page::IDC_DORREL_ADDRESS), 4, 0);
    jvx->addWidget(Edit(Page::IDC_DORREL_ADDRESS), 4, 1, 1, 2);
    layout->addLayout(jvx, 2, 0, 1, 2);
    layout->setRowStretch(3, 1);

    connect(browse, &QPushButton::clicked, this, [this] { Forward([this] { return m_page.OnBrowseExportPath(); }); });
    connect(sockets, &QCheckBox::clicked, this, [this](bool checked) {
        Forward([this, checked] {
            m_page.OnUseSocketsClicked(checked);
            return true;
        });
    });
    m_libraryWatch = new FocusOutWatch(library, [this, library] { m_page.library = library->text(); });
    library->installEventFilter(m_libraryWatch);
    connect(m_fontLibraries, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int row = m_fontLibraries->row(item);
        if (row >= 0 && static_cast<size_t>(row) < m_page.fontLibraries.size())
            m_page.fontLibraries[static_cast<size_t>(row)].installed = item->checkState() == Qt::Checked;
    });

    m_completion = new CACEdit(this);
    m_completion->m_Liste.m_nMaxCount = Page::kSystemHistorySize;
    if (m_completion->m_iType == -1)
        m_completion->Init(system);
    if (const std::optional<kwvd::RegistryKey> key = ProgramKey())
        m_completion->m_Liste.LoadSearchStrings(*key, QString::fromLatin1(Page::kSystemHistoryKey));

    InitDialog();
    FillFontLibraries();
}

COptionsAS400PropPageView::~COptionsAS400PropPageView()
{
    delete m_libraryWatch;
    if (m_completion != nullptr)
        m_completion->m_Liste.SaveSearchStrings();
}

void COptionsAS400PropPageView::Apply()
{
    COptionsPropPageView::Apply();
    if (const std::optional<QString> entry = m_page.TakeHistoryEntry(); entry && m_completion->m_iType != -1)
        m_completion->m_Liste.AddSearchString(*entry);
}

void COptionsAS400PropPageView::FillFontLibraries()
{
    const QSignalBlocker quiet(m_fontLibraries);
    m_fontLibraries->clear();
    for (const Page::FontLibraryEntry& entry : m_page.fontLibraries) {
        auto* item = new QListWidgetItem(entry.name, m_fontLibraries);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(entry.installed ? Qt::Checked : Qt::Unchecked);
    }
}
