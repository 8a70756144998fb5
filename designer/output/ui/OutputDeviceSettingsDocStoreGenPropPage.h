#pragma once
// The "General" page of the document-store sheet: the store and document
// type the host files the output under, picked from the document's
// catalogue, and the file the host writes. The two catalogue lists sort
// themselves ignoring case and mark each entry with its origin: 0 for one
// the catalogue lists, 1 for one only the device knows, drawn in red. Their
// choice is stored into the device copy whenever a list closes or the
// catalogue is refreshed, so the sheet's parameter pages label their fields
// after it; Cancel on the sheet still drops it.
//
// The catalogue is the document's own and is borrowed: a refresh changes it
// at once, whatever the sheet then does.

#include "designer/output/ui/OutputDevicePropPage.h"

#include <vector>

class CDocStoreManager;
class DocStore;

class COutputDeviceSettingsDocStoreGenPropPage : public COutputDevicePropPage
{
public:
    enum {
        IDD = 177
    };
    enum ControlId : int {
        IDC_FILE_CCSID = 1239,
        IDC_FILE_OWNER = 1240,
        IDC_FILE_AUTHORIZATION_LIST = 1241,
        IDC_FILE_EXTENSION = 1242,
        IDC_FILE_FORMAT = 1243,
        IDC_FILE_NAME = 1245,
        IDC_DESCRIPTION = 1264,
        IDC_FILE_PATH = 1266,
        IDC_NAME = 1276,
        IDC_FILE_PUBLIC_AUTHORITY = 1297,
        IDC_REFRESH = 1460,
        IDC_STORE = 1461,
        IDC_DOC_TYPE = 1462,
        IDC_STORE_DESCRIPTION = 1463,
        IDC_DOC_TYPE_DESCRIPTION = 1464,
        IDC_DESCRIPTION_LABEL = 1483,
        // The group boxes have no ids of their own in the dialog; these name
        // their captions.
        IDC_FILE_GROUP = 0xFF01,
    };

    static constexpr int kNameLimit = 10;
    static constexpr int kExtensionLimit = 3;
    static constexpr int kFileNameLimit = 64;
    static constexpr int kPathLimit = 256;
    static constexpr int kCcsidLimit = 11;
    static constexpr int kDescriptionLimit = 64;
    static constexpr int kOwnerLimit = 20;
    // The parameter that carries the description of the stored document.
    static constexpr int kDescriptionParameter = 19;

    // What an entry of the two catalogue lists carries.
    enum EntryOrigin : DWORD {
        kFromCatalogue = 0,
        kDeviceOnly = 1,
    };
    static constexpr COLORREF kDeviceOnlyColour = 0x0000F0; // RGB(240, 0, 0)

    COutputDeviceSettingsDocStoreGenPropPage();

    // The colour callback of both lists: entries the catalogue does not
    // know are drawn in red.
    static bool GetItemColour(DWORD itemData, COLORREF* colour);

    // Borrowed; a missing catalogue counts as an empty one.
    void SetDocStoreManager(CDocStoreManager* manager) { docStoreManager = manager; }
    CDocStoreManager* GetDocStoreManager() const { return docStoreManager; }

    void EnableControls() override {}

    // The entry's origin in one of the two catalogue lists, in the list's
    // order; kFromCatalogue outside the list.
    DWORD GetItemData(int listId, int index) const;

    void FillStoreList();
    void FillDocTypeList();
    void UpdateStoreDescription();
    void UpdateDocTypeDescription();

    // Handlers. The list handlers run whenever the list closes, chosen or
    // not.
    void OnCloseupFormat();
    void OnRefresh();
    void OnCloseupStore();
    void OnCloseupDocType();

    QString name;
    QString fileExtension;
    QString fileName;
    QString fileFormat;
    QString filePath;
    QString fileCcsid;
    QString description;
    QString fileOwner;
    QString fileAuthorizationList;
    QString filePublicAuthority;
    QString storeName;
    QString docTypeName;
    QString storeDescription;
    QString docTypeDescription;

protected:
    void ReadDevice(COutputDevice& source) override;
    BOOL WriteDevice(COutputDevice& target) override;
    void BeforePush() override;
    void AfterPull() override;

private:
    // A sorted list of the page: its entries sit in the control's items,
    // their origins here, in the same order.
    struct CatalogueList
    {
        int id;
        QString* member;
        std::vector<DWORD> origins;
        int selection = -1;
    };

    CatalogueList& List(int id) { return id == IDC_STORE ? m_stores : m_docTypes; }
    const CatalogueList& List(int id) const { return id == IDC_STORE ? m_stores : m_docTypes; }
    void ClearList(CatalogueList& list);
    // Inserted where it sorts, ignoring case, after entries that compare
    // equal.
    void AddEntry(CatalogueList& list, const QString& text, DWORD origin);
    // The first entry equal to the text ignoring case, or -1.
    int FindEntry(const CatalogueList& list, const QString& text) const;
    // The rules both lists share once the catalogue's entries are in: an
    // empty member takes the first entry, a member the list lacks is added
    // in red.
    void CompleteList(CatalogueList& list);
    const DocStore* FindSelectedStore() const;

    CDocStoreManager* docStoreManager = nullptr;
    CatalogueList m_stores{IDC_STORE, &storeName, {}};
    CatalogueList m_docTypes{IDC_DOC_TYPE, &docTypeName, {}};
};
