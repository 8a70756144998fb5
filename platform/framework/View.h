#pragma once
// What a document knows of the windows that show it: an observer told of
// every change through update hints. The widget views implement it; the
// document holds no ownership of them.

#include "platform/framework/Types.h"

#include <cstdint>

class CDocument;
class CObject;

// The hint word of an update: a number the document's kind gives meaning to.
using LPARAM = std::intptr_t;

class CView
{
public:
    CView() = default;
    // Leaves its document first, so the document never calls a dead view.
    virtual ~CView();

    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;

    // Null while the view belongs to no document.
    CDocument* GetDocument() const { return m_pDocument; }

    // sender is the view that caused the change (never this one when the
    // document skips it), or null.
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) = 0;

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};
