#include "designer/output/ui/OutputDeviceSettingsDocStoreGenPropPage.h"

#include "designer/output/OutputDevice.h"
#include "designer/resources/catalogue/DocStore.h"
#include "designer/resources/catalogue/DocStoreManager.h"
#include "platform/ui/WaitCursor.h"

#include <utility>

namespace {

using Page = COutputDeviceSettingsDocStoreGenPropPage;

bool IsPdf(const QString& format)
{
    return format.compare(QLatin1StringView("PDF"), Qt::CaseInsensitive) == 0;
}

} // namespace

Page::COutputDeviceSettingsDocStoreGenPropPage() : COutputDevicePropPage(IDD, {COutputDevice::kDocStoreType})
{
    for (const int id : {IDC_FILE_FORMAT, IDC_FILE_PUBLIC_AUTHORITY})
        Control(id).items = GetListItems(id);

    BindText(IDC_NAME, &name, kNameLimit);
    BindText(IDC_FILE_EXTENSION, &fileExtension, kExtensionLimit);
    BindText(IDC_FILE_NAME, &fileName, kFileNameLimit);
    BindListText(IDC_FILE_FORMAT, &fileFormat);
    BindText(IDC_FILE_PATH, &filePath, kPathLimit);
    BindText(IDC_FILE_CCSID, &fileCcsid, kCcsidLimit);
    BindText(IDC_DESCRIPTION, &description, kDescriptionLimit);
    BindText(IDC_FILE_OWNER, &fileOwner, kOwnerLimit);
    BindText(IDC_FILE_AUTHORIZATION_LIST, &fileAuthorizationList, kOwnerLimit);
    BindListText(IDC_FILE_PUBLIC_AUTHORITY, &filePublicAuthority);
    BindSelection(IDC_STORE, &m_stores.selection);
    BindSelection(IDC_DOC_TYPE, &m_docTypes.selection);
    BindText(IDC_STORE_DESCRIPTION, &storeDescription);
    BindText(IDC_DOC_TYPE_DESCRIPTION, &docTypeDescription);
}

bool Page::GetItemColour(DWORD itemData, COLORREF* colour)
{
    if (itemData == kFromCatalogue)
        return false;
    *colour = kDeviceOnlyColour;
    return true;
}

DWORD Page::GetItemData(int listId, int index) const
{
    const std::vector<DWORD>& origins = List(listId).origins;
    return index >= 0 && static_cast<size_t>(index) < origins.size() ? origins[static_cast<size_t>(index)]
                                                                     : kFromCatalogue;
}

void Page::ReadDevice(COutputDevice& source)
{
    // The bound getters give a child's position text where there is one.
    name = source.GetName();
    source.GetFilePath(filePath);
    source.GetFileName(fileName);
    fileFormat = source.GetFileFormat();
    fileExtension = source.GetFileExtension();
    fileCcsid = source.GetFileCcsid();
    source.GetFileOwner(fileOwner);
    source.GetFileAuthorizationList(fileAuthorizationList);
    source.GetFilePublicAuthority(filePublicAuthority);
    source.GetParameter(kDescriptionParameter, description);
    source.GetDocStoreSelection(storeName, docTypeName);
    FillStoreList();
    FillDocTypeList();
}

BOOL Page::WriteDevice(COutputDevice& target)
{
    return AnyChanged({
        target.SetName(name),
        target.SetFilePath(filePath),
        target.SetFileName(fileName),
        target.SetFileExtension(fileExtension),
        target.SetFileFormat(fileFormat),
        target.SetFileCcsid(fileCcsid),
        target.SetDocStoreSelection(storeName, docTypeName, IsPdf(fileFormat) ? 1 : 2),
        target.SetParameter(kDescriptionParameter, description),
        target.SetFileOwner(fileOwner),
        target.SetFileAuthorizationList(fileAuthorizationList),
        target.SetFilePublicAuthority(filePublicAuthority),
    });
}

void Page::BeforePush()
{
    // The lists' own search ignores case: a name in other letter case shows
    // the catalogue's entry, whose text the next pull takes.
    for (CatalogueList* list : {&m_stores, &m_docTypes})
        list->selection = FindEntry(*list, *list->member);
}

void Page::AfterPull()
{
    for (CatalogueList* list : {&m_stores, &m_docTypes})
        *list->member = Control(list->id).items.value(list->selection);
}

void Page::ClearList(CatalogueList& list)
{
    Control(list.id).items.clear();
    list.origins.clear();
    list.selection = -1;
}

void Page::AddEntry(CatalogueList& list, const QString& text, DWORD origin)
{
    QStringList& items = Control(list.id).items;
    qsizetype at = 0;
    while (at < items.size() && items[at].compare(text, Qt::CaseInsensitive) <= 0)
        ++at;
    items.insert(at, text);
    list.origins.insert(list.origins.begin() + at, origin);
}

int Page::FindEntry(const CatalogueList& list, const QString& text) const
{
    const DialogControlState* state = FindControl(list.id);
    if (!state)
        return -1;
    for (qsizetype i = 0; i < state->items.size(); ++i) {
        if (state->items[i].compare(text, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

void Page::CompleteList(CatalogueList& list)
{
    const QStringList& items = Control(list.id).items;
    if (list.member->isEmpty()) {
        if (!items.isEmpty()) {
            *list.member = items.first();
            UpdateData(false);
        }
    } else if (FindEntry(list, *list.member) < 0) {
        AddEntry(list, *list.member, kDeviceOnly);
    }
}

const DocStore* Page::FindSelectedStore() const
{
    return docStoreManager ? std::as_const(*docStoreManager).FindStore(storeName) : nullptr;
}

void Page::FillStoreList()
{
    ClearList(m_stores);
    if (docStoreManager) {
        for (const DocStore& store : docStoreManager->GetStores())
            AddEntry(m_stores, store.GetName(), kFromCatalogue);
    }
    CompleteList(m_stores);
    UpdateStoreDescription();
}

void Page::FillDocTypeList()
{
    ClearList(m_docTypes);
    if (const DocStore* store = FindSelectedStore()) {
        for (const DocStoreDocType& docType : store->GetDocTypes())
            AddEntry(m_docTypes, docType.GetName(), kFromCatalogue);
    }
    CompleteList(m_docTypes);
    UpdateDocTypeDescription();
}

void Page::UpdateStoreDescription()
{
    const DocStore* store = FindSelectedStore();
    storeDescription = store ? store->GetDescription() : QString();
}

void Page::UpdateDocTypeDescription()
{
    const DocStore* store = FindSelectedStore();
    const DocStoreDocType* docType = store ? store->FindDocType(docTypeName) : nullptr;
    docTypeDescription = docType ? docType->GetDescription() : QString();
}

void Page::OnCloseupFormat()
{
    FollowFormat(fileFormat, fileExtension, Qt::CaseInsensitive);
}

void Page::OnRefresh()
{
    // A value the page cannot take has been reported and keeps the focus.
    if (!UpdateData(true))
        return;
    CWaitCursor wait;
    if (docStoreManager)
        docStoreManager->RefreshStores();
    FillStoreList();
    FillDocTypeList();
    UpdateData(false);
    SaveToDevice();
}

void Page::OnCloseupStore()
{
    if (!UpdateData(true))
        return;
    UpdateStoreDescription();
    FillDocTypeList();
    UpdateData(false);
    SaveToDevice();
}

void Page::OnCloseupDocType()
{
    if (!UpdateData(true))
        return;
    SaveToDevice();
    UpdateDocTypeDescription();
    UpdateData(false);
}
