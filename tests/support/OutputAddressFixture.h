#pragma once
// A fresh document with helpers for Output elements on devices of a chosen
// type and real Address children placed by 1-based cells.

#include "designer/document/Page.h"
#include "designer/elements/FormAddressElement.h"
#include "designer/elements/FormOutputElement.h"
#include "designer/elements/tests/ElementTestKinds.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/output/OutputDeviceTypeTable.h"

#include <gtest/gtest.h>

class OutputAddressFixture : public ElementDocFixture
{
protected:
    void SetUp() override
    {
        ElementDocFixture::SetUp();
        cw = doc->GetOutputPage()->GetCellWidth();
        ch = doc->GetOutputPage()->GetCellHeight();
    }

    // Cells (1-based, right and bottom exclusive) as output-page pixels.
    kwvd::Rect Cells(int left, int top, int right, int bottom) const
    {
        return kwvd::Rect((left - 1) * cw, (top - 1) * ch, (right - 1) * cw, (bottom - 1) * ch);
    }

    COutputDeviceManager* Devices() { return doc->GetOutputDeviceManager(); }

    // A document device of the name and type; its index.
    int AddDevice(const QString& name, int type)
    {
        const OutputDeviceTypeRow* row = FindOutputDeviceType(type);
        const int index = Devices()->AddDeviceByName(name, row != nullptr ? QString::fromLatin1(row->code) : QString());
        EXPECT_GT(index, 0);
        if (COutputDevice* device = Devices()->GetDevice(index))
            device->SetType(type);
        return index;
    }

    CFormOutputElement* AddOutput(int deviceIndex = 0)
    {
        auto* output = new CFormOutputElement(doc.get());
        EXPECT_EQ(doc->AddElement(output, FALSE, nullptr), output);
        if (deviceIndex != 0) {
            EXPECT_TRUE(output->SetOutputDevice(deviceIndex));
        }
        return output;
    }

    // Drawn one cell wide at the top left, then put into parent (null: top
    // level) and given the id, the cells and the flag.
    CFormAddressElement* AddAddress(CFormElement* parent, int id, const kwvd::Rect& cells, BOOL deleting = FALSE)
    {
        auto* address = dynamic_cast<CFormAddressElement*>(
            doc->CreateNewElement(FormElementType::Address, 0, Cells(1, 1, 2, 2), parent));
        EXPECT_NE(address, nullptr);
        if (address == nullptr)
            return nullptr;
        EXPECT_EQ(address->GetParent(), parent);
        address->SetSettingId(id);
        address->SetCells(cells);
        address->SetDeleteFlag(deleting);
        return address;
    }

    int cw = 0;
    int ch = 0;
};
