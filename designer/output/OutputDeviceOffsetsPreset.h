#pragma once
// A named set of the eight printer offsets of an *HPT device, kept in the
// presets file that every document shares. Read-only presets come only from
// the file: the offsets dialog neither replaces nor deletes them.
//
// The offsets stand in their fixed order: image portrait right and down,
// image landscape right and up, text portrait right and down, text
// landscape right and down (the device's four offset pairs in turn).

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QString>

#include <array>

class COutputDevice;

class COutputDeviceOffsetsPreset : public CObject
{
    KWVD_DECLARE_SERIAL(COutputDeviceOffsetsPreset)

public:
    static constexpr int kOffsetCount = 8;
    using Offsets = std::array<LONG, kOffsetCount>;

    // Empty name, writable, all offsets 0 (the form the archive makes).
    COutputDeviceOffsetsPreset() = default;
    // Writable.
    COutputDeviceOffsetsPreset(const QString& name, const Offsets& offsets) : m_name(name), m_offsets(offsets) {}

    void Serialize(CArchive& ar) override;

    const QString& GetName() const { return m_name; }
    BOOL IsReadOnly() const { return m_readOnly != 0 ? TRUE : FALSE; }
    void SetReadOnly(BOOL readOnly) { m_readOnly = readOnly ? 1 : 0; }
    const Offsets& GetOffsets() const { return m_offsets; }

    // The device's four offset pairs in the preset's order.
    static Offsets OffsetsOf(const COutputDevice& device);
    // Each pair into the device through its checking setter; TRUE when any
    // value changed.
    static BOOL StoreOffsets(COutputDevice& device, const Offsets& offsets);

private:
    QString m_name;
    WORD m_readOnly = 0;
    Offsets m_offsets{};
};
