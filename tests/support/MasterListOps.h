#pragma once
// One designer's use of a master list (output devices, barcodes or fonts),
// the same in a test and in the peer program that plays another designer
// process: a manager starts (the list is read), entries are added, changed
// or deleted by name, and the manager ends (the list is saved).

#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/resources/barcodes/Barcode.h"
#include "designer/resources/barcodes/BarcodeManager.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/Collections.h"

#include <QString>
#include <QStringList>

#include <memory>

enum class MasterKind {
    Devices,
    Barcodes,
    Fonts
};

inline const char* MasterKindName(MasterKind kind)
{
    switch (kind) {
    case MasterKind::Devices:
        return "devices";
    case MasterKind::Barcodes:
        return "barcodes";
    case MasterKind::Fonts:
        return "fonts";
    }
    return "";
}

// Keeps the kind's list loaded while it lives; its end saves the list.
inline std::shared_ptr<void> StartMasterManager(MasterKind kind)
{
    switch (kind) {
    case MasterKind::Devices:
        return std::make_shared<COutputDeviceManager>();
    case MasterKind::Barcodes:
        return std::make_shared<CBarcodeManager>();
    case MasterKind::Fonts: {
        auto fonts = std::make_shared<CFontManager>();
        CFontManager::GetMasterFontList();
        return fonts;
    }
    }
    return nullptr;
}

inline CObList* MasterListOf(MasterKind kind)
{
    switch (kind) {
    case MasterKind::Devices:
        return const_cast<CObList*>(COutputDeviceManager::GetMasterList());
    case MasterKind::Barcodes:
        return CBarcodeManager::GetMasterBarcodeList();
    case MasterKind::Fonts:
        return CFontManager::GetMasterFontList();
    }
    return nullptr;
}

inline QString MasterEntryName(MasterKind kind, const CObject* object)
{
    switch (kind) {
    case MasterKind::Devices:
        return static_cast<const COutputDevice*>(object)->GetName();
    case MasterKind::Barcodes:
        return static_cast<const CBarcode*>(object)->GetName();
    case MasterKind::Fonts:
        return static_cast<const CAS400Font*>(object)->GetTypeface();
    }
    return {};
}

inline QStringList MasterNames(MasterKind kind)
{
    QStringList names;
    if (const CObList* list = MasterListOf(kind))
        for (const CObject* object : *list)
            names << MasterEntryName(kind, object);
    return names;
}

// A changed entry reads back with this mark: a device of type 3 (fax), a
// barcode that prints its text. Fonts are what they store: no change.
inline bool MasterEntryChanged(MasterKind kind, const QString& name)
{
    if (const CObList* list = MasterListOf(kind)) {
        for (const CObject* object : *list) {
            if (MasterEntryName(kind, object) != name)
                continue;
            if (kind == MasterKind::Devices)
                return static_cast<const COutputDevice*>(object)->GetType() == 3;
            if (kind == MasterKind::Barcodes)
                return static_cast<const CBarcode*>(object)->m_bPrintText != FALSE;
        }
    }
    return false;
}

// op: 'a' add, 'c' change, 'd' delete. True when it was done.
inline bool ApplyMasterOp(MasterKind kind, char op, const QString& name, COutputDeviceManager* devices = nullptr)
{
    CObList* list = MasterListOf(kind);
    if (list == nullptr)
        return false;
    CObject* found = nullptr;
    for (CObject* object : *list)
        if (MasterEntryName(kind, object) == name)
            found = object;
    switch (op) {
    case 'a':
        if (kind == MasterKind::Devices) {
            COutputDeviceManager own;
            return (devices ? devices : &own)->CreateMasterDevice(nullptr, name, 0) != nullptr;
        }
        if (kind == MasterKind::Barcodes)
            return CBarcodeManager::AddToMaster(new CBarcode(name)) != FALSE;
        return CFontManager::AddToMasterList(new CAS400Font(QString(), QString(), 0, 0, 0, CAS400Font::FF_MODERN, name,
                                                            833, 100, FALSE, FALSE, FALSE, FALSE, QStringLiteral("LIB"),
                                                            QString(), FALSE))
               != FALSE;
    case 'c':
        if (found == nullptr)
            return false;
        if (kind == MasterKind::Devices)
            return static_cast<COutputDevice*>(found)->SetType(3) != FALSE;
        if (kind == MasterKind::Barcodes) {
            static_cast<CBarcode*>(found)->m_bPrintText = TRUE;
            return true;
        }
        return false;
    case 'd':
        if (found == nullptr)
            return false;
        list->RemoveAt(list->Find(found));
        delete found;
        return true;
    default:
        return false;
    }
}
