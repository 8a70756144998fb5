#pragma once
// A kind that prints either text read from the spooled file at its source
// box or constant data of its own, chosen by the use-data flag.
// DataFlagElement<Base> holds the data and the flag and changes them.

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "platform/framework/Types.h"

#include <QString>

template <class Base>
class DataFlagElement : public Base
{
public:
    using Base::Base;

    const QString& GetData() const { return m_data; }
    BOOL GetUseData() const { return m_useData != 0; }

    // Each TRUE when something changed.
    BOOL SetData(const QString& data)
    {
        if (data == m_data)
            return FALSE;
        m_data = data;
        UpdateAutoDescription();
        this->SetDocumentModified();
        return TRUE;
    }

    // With the flag set the source box goes from the input pane.
    BOOL SetUseData(BOOL useData)
    {
        const int value = useData ? 1 : 0;
        if (value == m_useData)
            return FALSE;
        if (value != 0) {
            this->Announce(DocumentHint::SourceRectChanged);
            m_useData = 1;
            // The views drop the tracker and the property sheet reads the
            // element again: its page changes.
            this->Announce(DocumentHint::SelectionChanged);
        } else {
            m_useData = 0;
            this->Announce(DocumentHint::SourceRectChanged);
        }
        UseDataChanged();
        this->SetDocumentModified();
        return TRUE;
    }

    // The kind's automatic description, which shows the data.
    virtual void UpdateAutoDescription() = 0;

protected:
    // After the flag changed, before the document is marked modified.
    virtual void UseDataChanged() {}

    QString m_data;
    int m_useData = 0;
};
