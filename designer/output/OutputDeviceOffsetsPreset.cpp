#include "designer/output/OutputDeviceOffsetsPreset.h"

#include "designer/output/OutputDevice.h"
#include "platform/framework/Archive.h"

#include <QPoint>

KWVD_IMPLEMENT_SERIAL(COutputDeviceOffsetsPreset, CObject, VERSIONABLE_SCHEMA | 1)

void COutputDeviceOffsetsPreset::Serialize(CArchive& ar)
{
    // Every stored schema has the same fields.
    if (ar.IsStoring()) {
        ar << m_name << m_readOnly;
        for (const LONG offset : m_offsets)
            ar << offset;
        return;
    }
    ar >> m_name >> m_readOnly;
    for (LONG& offset : m_offsets)
        ar >> offset;
}

COutputDeviceOffsetsPreset::Offsets COutputDeviceOffsetsPreset::OffsetsOf(const COutputDevice& device)
{
    const QPoint pairs[] = {device.GetImageOffsetPortrait(), device.GetImageOffsetLandscape(),
                            device.GetTextOffsetPortrait(), device.GetTextOffsetLandscape()};
    Offsets offsets{};
    for (size_t i = 0; i < std::size(pairs); ++i) {
        offsets[2 * i] = pairs[i].x();
        offsets[2 * i + 1] = pairs[i].y();
    }
    return offsets;
}

BOOL COutputDeviceOffsetsPreset::StoreOffsets(COutputDevice& device, const Offsets& offsets)
{
    const auto pair = [&offsets](size_t first) { return QPoint(offsets[first], offsets[first + 1]); };
    // Every setter runs, also after one has reported a change.
    const BOOL changed[] = {device.SetImageOffsetPortrait(pair(0)), device.SetImageOffsetLandscape(pair(2)),
                            device.SetTextOffsetPortrait(pair(4)), device.SetTextOffsetLandscape(pair(6))};
    for (const BOOL one : changed) {
        if (one)
            return TRUE;
    }
    return FALSE;
}
