#pragma once
// The views of the XML pages: the named page (dialogs 172 and 170, the
// name above the Data or Position block and the schema's facts below), the
// comment page (171, the block alone) and the instruction page (173, the
// name alone).

#include "designer/views/pages/XmlPropPages.h"
#include "designer/views/pages/ui/DataPositionBlockView.h"

class CXmlElementPropPageView : public CDataPositionBlockView
{
public:
    CXmlElementPropPageView(CXmlElementPropPage& model, QWidget* parent);
};

class CXmlCommentPropPageView : public CDataPositionBlockView
{
public:
    CXmlCommentPropPageView(CXmlCommentPropPage& model, QWidget* parent);
};

class CXmlInstructionPropPageView : public CElementPropPageView
{
public:
    CXmlInstructionPropPageView(CXmlInstructionPropPage& model, QWidget* parent);
};

// The views of the Variable and XML pages, by their dialogs.
void RegisterVariableXmlPageViews();
