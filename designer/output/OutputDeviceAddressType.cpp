#include "designer/output/OutputDeviceAddressType.h"

#include "designer/document/DesignerDoc.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/resources/catalogue/DocStore.h"
#include "designer/resources/catalogue/DocStoreKey.h"
#include "designer/resources/catalogue/DocStoreManager.h"
#include "designer/resources/catalogue/DocTypeKey.h"
#include "platform/ui/StringTable.h"

#include <initializer_list>

namespace {

struct CodeName
{
    int code;
    UINT stringId;
};

// The field names by code; parameters are 187 + n.
constexpr CodeName kDestination{AddressFieldCode::Destination, 186};
constexpr CodeName kFrom{AddressFieldCode::From, 209};
constexpr CodeName kTo{AddressFieldCode::To, 215};
constexpr CodeName kAttention{AddressFieldCode::Attention, 185};
constexpr CodeName kReference{AddressFieldCode::Reference, 213};
constexpr CodeName kFirstPage{AddressFieldCode::FirstPage, 212};
constexpr CodeName kFromEmail{AddressFieldCode::FromEmail, 210};
constexpr CodeName kSubject{AddressFieldCode::Subject, 214};
constexpr CodeName kMessage{AddressFieldCode::Message, 211};
constexpr CodeName kAttachmentName{AddressFieldCode::AttachmentName, 184};
constexpr CodeName kFilePath{AddressFieldCode::FilePath, 208};
constexpr CodeName kFileName{AddressFieldCode::FileName, 207};
constexpr CodeName kFileOwner{AddressFieldCode::FileOwner, 374};
constexpr CodeName kFileAuthorizationList{AddressFieldCode::FileAuthorizationList, 375};
constexpr CodeName kFilePublicAuthority{AddressFieldCode::FilePublicAuthority, 376};
constexpr CodeName kPdfOwnerPassword{AddressFieldCode::PdfOwnerPassword, 377};
constexpr CodeName kPdfUserPassword{AddressFieldCode::PdfUserPassword, 378};

// Keys beyond this would take the codes of Description and the fields
// after it.
constexpr int kMaxDocStoreKeys = 18;

void Append(OutputDeviceAddressTypeList& list, std::initializer_list<CodeName> entries)
{
    for (const CodeName& entry : entries)
        AppendAddressType(outputDeviceAddressType::FromString(entry.stringId, entry.code), list);
}

void AppendParameters(OutputDeviceAddressTypeList& list, int first, int last)
{
    for (int n = first; n < last; ++n)
        AppendAddressType(outputDeviceAddressType::FromString(IDS_ADDRESS_PARAMETER1 + static_cast<UINT>(n),
                                                              AddressFieldCode::Parameter1 + n),
                          list);
}

} // namespace

outputDeviceAddressType outputDeviceAddressType::FromString(UINT stringId, int code)
{
    outputDeviceAddressType entry;
    entry.name = StringTable::Find(stringId).value_or(QString());
    entry.code = code;
    return entry;
}

outputDeviceAddressType outputDeviceAddressType::Make(const QString& name, const QString& text, int code)
{
    outputDeviceAddressType entry;
    entry.name = name;
    entry.text = text;
    entry.code = code;
    return entry;
}

int AppendAddressType(const outputDeviceAddressType& entry, OutputDeviceAddressTypeList& list)
{
    list.push_back(entry);
    return static_cast<int>(list.size()) - 1;
}

void COutputDeviceManager::AddAllAddressTypes(OutputDeviceAddressTypeList& list)
{
    Append(list, {kDestination, kFirstPage, kFrom, kTo, kAttention, kReference, kFromEmail, kSubject, kMessage,
                  kAttachmentName, kFilePath, kFileName, kFileOwner, kFileAuthorizationList, kFilePublicAuthority,
                  kPdfOwnerPassword, kPdfUserPassword});
    AppendParameters(list, 0, COutputDevice::kParameterCount);
}

BOOL COutputDeviceManager::GetAddressTypes(int deviceIndex, OutputDeviceAddressTypeList& list)
{
    const COutputDevice* device = GetDevice(deviceIndex);
    if (device == nullptr)
        return FALSE;
    return FillAddressTypes(device, list);
}

BOOL COutputDeviceManager::FillAddressTypes(const COutputDevice* device, OutputDeviceAddressTypeList& list) const
{
    if (device == nullptr)
        return FALSE;
    switch (device->GetType()) {
    case 0:
    case 1:
    case 2:
        Append(list, {kDestination, kFirstPage});
        return TRUE;
    case 3:
        Append(list, {kDestination, kFrom, kTo, kAttention, kReference, kFirstPage});
        return TRUE;
    case 4:
        Append(list, {kDestination, kFrom, kTo, kFromEmail, kSubject, kMessage, kAttachmentName, kFirstPage});
        return TRUE;
    case 6:
        Append(list, {kFilePath, kFileName, kFirstPage, kFileOwner, kFileAuthorizationList, kFilePublicAuthority,
                      kPdfOwnerPassword, kPdfUserPassword});
        AppendParameters(list, 0, COutputDevice::kParameterCount);
        return TRUE;
    case COutputDevice::kDocStoreType:
        break;
    default:
        AddAllAddressTypes(list);
        return TRUE;
    }

    QString storeName;
    QString docTypeName;
    device->GetDocStoreSelection(storeName, docTypeName);
    int n = 0;
    const CDocStoreManager* catalogue = m_pDocument != nullptr ? m_pDocument->GetDocStoreManager() : nullptr;
    if (const DocStore* store = catalogue != nullptr ? catalogue->FindStore(storeName) : nullptr) {
        std::vector<DocTypeKey> keys;
        store->GetDocTypeKeys(docTypeName, keys);
        for (const DocTypeKey& key : keys) {
            if (key.key == nullptr)
                continue;
            if (n >= kMaxDocStoreKeys)
                break;
            AppendAddressType(outputDeviceAddressType::Make(key.key->GetDescription(), key.GetDescription(),
                                                            AddressFieldCode::Parameter1 + n),
                              list);
            ++n;
        }
    }
    AppendParameters(list, n, kMaxDocStoreKeys);
    Append(list, {kFilePath, kFileName, kFirstPage});
    AppendAddressType(outputDeviceAddressType::FromString(IDS_ADDRESS_DESCRIPTION, AddressFieldCode::Parameter19),
                      list);
    return TRUE;
}
