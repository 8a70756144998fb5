#pragma once
// The wait cursor for the length of a scope, only when asked for: the panes
// use it around redraws and edits that are long only for many elements.

#include "platform/framework/Object.h"
#include "platform/framework/Types.h"

#include <QtGlobal>

#include <memory>

class CWaitCursor;

class CConditionalWaitCursor : public CObject
{
    KWVD_DECLARE_DYNAMIC(CConditionalWaitCursor)

public:
    // Above this many elements an edit of the panes may take long enough to
    // show the wait cursor.
    static constexpr qsizetype kElementThreshold = 15;

    // TRUE when an edit over that many elements shows the wait cursor.
    static BOOL ShowsFor(qsizetype elementCount) { return elementCount > kElementThreshold; }

    // With show TRUE the wait cursor comes up until the object goes, also
    // when an exception leaves the scope; with FALSE nothing changes.
    explicit CConditionalWaitCursor(BOOL show);
    ~CConditionalWaitCursor() override;

    CConditionalWaitCursor(const CConditionalWaitCursor&) = delete;
    CConditionalWaitCursor& operator=(const CConditionalWaitCursor&) = delete;

    BOOL IsShowing() const { return m_pWaitCursor != nullptr; }

private:
    std::unique_ptr<CWaitCursor> m_pWaitCursor;
};
