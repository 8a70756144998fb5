#pragma once
// The link by which an element's destination follows its source: while it
// holds, every move or resize of the source is first applied to the
// destination with the same arguments; the first move or resize of the
// destination on its own ends it for good.

#include "platform/framework/Rect.h"
#include "platform/framework/Types.h"

class CSourceLink
{
public:
    BOOL IsFollowing() const { return m_follows != 0; }
    void SetFollowing(BOOL follows) { m_follows = follows ? 1 : 0; }

    // Runs the destination's own operation while linked. That operation
    // unlinks (it cannot tell it was called for the source), so the link is
    // set again afterwards.
    template <class DestOperation>
    void ApplyToDest(DestOperation&& operation)
    {
        if (m_follows == 0)
            return;
        operation();
        m_follows = 1;
    }

    // After a move or resize of the destination: a change ends the link.
    void DestMoved(const kwvd::Rect& before, const kwvd::Rect& after)
    {
        if (before != after)
            m_follows = 0;
    }

private:
    int m_follows = 1;
};
