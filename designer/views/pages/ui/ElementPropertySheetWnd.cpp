#include "designer/views/pages/ui/ElementPropertySheetWnd.h"

#include "designer/document/RegisteredMessages.h"
#include "designer/views/pages/ElementPageStrings.h"
#include "designer/views/pages/ElementPropPage.h"
#include "designer/views/pages/GeneralPropPage.h"
#include "designer/views/pages/ui/AddressExitPagesView.h"
#include "designer/views/pages/ui/ElementPropPageView.h"
#include "designer/views/pages/ui/GeneralPropPageView.h"
#include "designer/views/pages/ui/ImagePropPageView.h"
#include "designer/views/pages/ui/OutputPropPageView.h"
#include "designer/views/pages/ui/SourceTextPropPagesView.h"
#include "designer/views/pages/ui/XmlPropPagesView.h"
#include "platform/ui/StringTable.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <map>

namespace {

std::map<UINT, CElementPropertySheetWnd::ViewFactory>& ViewFactories()
{
    static std::map<UINT, CElementPropertySheetWnd::ViewFactory> factories;
    return factories;
}

// The placeholder's one static text.
class CPlaceholderView : public CElementPropPageView
{
public:
    CPlaceholderView(CElementPropPage& page, QWidget* parent) : CElementPropPageView(page, parent)
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(Label(CGeneralPropPage::IDC_STATIC_TEXT), 0, Qt::AlignCenter);
        InitDialog();
    }
};

void RegisterBuiltInViews()
{
    CElementPropertySheetWnd::RegisterViewFactory(CGeneralPropPage::IDD, [](CElementPropPage& page, QWidget* parent) {
        auto* general = dynamic_cast<CGeneralPropPage*>(&page);
        return general != nullptr ? static_cast<QWidget*>(new CGeneralPropPageView(*general, parent)) : nullptr;
    });
    CElementPropertySheetWnd::RegisterViewFactory(
        CElementPropertySheet::PlaceholderDialog,
        [](CElementPropPage& page, QWidget* parent) -> QWidget* { return new CPlaceholderView(page, parent); });
    RegisterVariableXmlPageViews();
    RegisterTextKindPageViews();
    RegisterOutputPropPageView();
    RegisterImageKindPageViews();
    RegisterAddressExitPageViews();
}

// The page's tab: an empty holder until the view is made.
QWidget* ViewIn(QWidget* holder)
{
    return holder != nullptr ? holder->findChild<QWidget*>(QStringLiteral("pageView"), Qt::FindDirectChildrenOnly)
                             : nullptr;
}

} // namespace

CElementPropertySheetWnd::CElementPropertySheetWnd(CElementPropertySheet& sheet, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_sheet(sheet), m_tabs(new QTabWidget(this)), m_pin(new QToolButton(this))
{
    RegisterElementPageStrings();
    RegisterBuiltInViews();
    setObjectName(QStringLiteral("PropertySheet"));
    setWindowTitle(LoadResString(ElementPageString::SheetCaption));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_tabs);
    m_pin->setObjectName(QString::number(CElementPropertySheet::PinButton));
    m_pin->setText(QStringLiteral("Pin"));
    m_pin->setAutoRaise(true);
    connect(m_pin, &QToolButton::clicked, this, [this] { m_sheet.TogglePin(); });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { OnCurrentChanged(index); });
    PinChanged();
    resize(460, 320);
    hide();
}

CElementPropertySheetWnd::~CElementPropertySheetWnd()
{
    ClearPages();
}

void CElementPropertySheetWnd::RegisterViewFactory(UINT dialogId, ViewFactory factory)
{
    ViewFactories()[dialogId] = std::move(factory);
}

QPixmap CElementPropertySheetWnd::PinBitmap(int id)
{
    // A drawing pin, upright when pinned and lying when not; pressed darker.
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool pinned = id == IDB_PINNED || id == IDB_PINNED_DOWN;
    const bool down = id == IDB_PINNED_DOWN || id == IDB_UNPINNED_DOWN;
    painter.setPen(QPen(down ? QColor(40, 40, 40) : QColor(90, 90, 90), 1.5));
    painter.setBrush(down ? QColor(150, 30, 30) : QColor(210, 60, 60));
    if (pinned) {
        painter.drawLine(QPointF(8, 9), QPointF(8, 15));
        painter.drawRect(QRectF(5, 2, 6, 5));
        painter.drawLine(QPointF(3, 8), QPointF(13, 8));
    } else {
        painter.drawLine(QPointF(1, 8), QPointF(7, 8));
        painter.drawRect(QRectF(9, 5, 5, 6));
        painter.drawLine(QPointF(8, 3), QPointF(8, 13));
    }
    return pixmap;
}

QWidget* CElementPropertySheetWnd::PageView(int index) const
{
    return ViewIn(m_tabs->widget(index));
}

void CElementPropertySheetWnd::ClearPages()
{
    const QScopedValueRollback<bool> changing(m_changingPages, true);
    while (m_tabs->count() > 0) {
        QWidget* holder = m_tabs->widget(m_tabs->count() - 1);
        m_tabs->removeTab(m_tabs->count() - 1);
        delete holder;
    }
}

void CElementPropertySheetWnd::PagesChanged()
{
    {
        const QScopedValueRollback<bool> changing(m_changingPages, true);
        ClearPages();
        for (int i = 0; i < m_sheet.GetPageCount(); ++i) {
            auto* holder = new QWidget;
            new QVBoxLayout(holder);
            holder->layout()->setContentsMargins(0, 0, 0, 0);
            m_tabs->addTab(holder, m_sheet.GetPage(i)->GetTitle());
        }
    }
}

int CElementPropertySheetWnd::ActivePage() const
{
    return m_tabs->currentIndex();
}

void CElementPropertySheetWnd::ActivatePage(int index)
{
    if (m_tabs->currentIndex() != index)
        m_tabs->setCurrentIndex(index);
    else
        OnCurrentChanged(index);
}

void CElementPropertySheetWnd::OnCurrentChanged(int index)
{
    if (m_changingPages)
        return;
    CElementPropPage* page = m_sheet.GetPage(index);
    QWidget* holder = m_tabs->widget(index);
    if (page == nullptr || holder == nullptr)
        return;
    auto* view = static_cast<CElementPropPageView*>(ViewIn(holder));
    if (view == nullptr) {
        const auto factory = ViewFactories().find(page->GetDialogId());
        if (factory == ViewFactories().end() || !factory->second)
            return;
        QWidget* made = factory->second(*page, holder);
        view = dynamic_cast<CElementPropPageView*>(made);
        if (view == nullptr) {
            delete made;
            return;
        }
        view->setObjectName(QStringLiteral("pageView"));
        holder->layout()->addWidget(view);
    }
    view->Activate();
}

void CElementPropertySheetWnd::ShowWindow()
{
    show();
    raise();
    activateWindow();
}

void CElementPropertySheetWnd::ShowWindowNoActivate()
{
    const bool before = testAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    show();
    setAttribute(Qt::WA_ShowWithoutActivating, before);
}

void CElementPropertySheetWnd::HideWindow()
{
    hide();
}

void CElementPropertySheetWnd::PinChanged()
{
    const bool pinned = m_sheet.IsPinned();
    QIcon icon;
    icon.addPixmap(PinBitmap(pinned ? IDB_PINNED : IDB_UNPINNED), QIcon::Normal, QIcon::Off);
    icon.addPixmap(PinBitmap(pinned ? IDB_PINNED_DOWN : IDB_UNPINNED_DOWN), QIcon::Active, QIcon::On);
    m_pin->setIcon(icon);
    m_pin->setToolTip(QStringLiteral("Pin"));
    m_pin->update();
}

QRect CElementPropertySheetWnd::NormalRect() const
{
    return normalGeometry().isValid() ? normalGeometry() : geometry();
}

void CElementPropertySheetWnd::MoveTo(QPoint topLeft)
{
    move(topLeft);
}

void CElementPropertySheetWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlacePin();
}

void CElementPropertySheetWnd::PlacePin()
{
    // Left = client right - 21, top 4, right = client right, bottom 24.
    m_pin->setGeometry(width() - 21, 4, 21, 20);
    m_pin->raise();
}

bool CElementPropertySheetWnd::event(QEvent* event)
{
    if (event->type() == RegisteredMessages::SerializeLayout()) {
        m_sheet.OnSerializeLayout(static_cast<int>(static_cast<CRegisteredMessageEvent*>(event)->WParam()));
        return true;
    }
    return QWidget::event(event);
}

void CElementPropertySheetWnd::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_sheet.OnClose();
}

void CElementPropertySheetWnd::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        m_sheet.OnDeactivate();
    QWidget::changeEvent(event);
}

std::unique_ptr<CElementPropertySheet> CElementPropertySheetWnd::Create(IDesignFrame* frame, QWidget* parent)
{
    auto sheet = std::make_unique<CElementPropertySheet>(frame);
    sheet->SetWindow(std::make_unique<CElementPropertySheetWnd>(*sheet, parent));
    return sheet;
}
