#pragma once
// Keeps a handler from running again while it is still running: a focus-loss
// handler that shows a message loses the focus to that message, which would
// call it a second time behind the first box.

class ReentryGuard
{
public:
    class Scope
    {
    public:
        explicit Scope(ReentryGuard* guard) : m_guard(guard)
        {
            if (m_guard)
                m_guard->m_busy = true;
        }
        ~Scope()
        {
            if (m_guard)
                m_guard->m_busy = false;
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

        explicit operator bool() const { return m_guard != nullptr; }

    private:
        ReentryGuard* m_guard;
    };

    // A scope that is false while another scope of this guard is open.
    Scope TryEnter() { return Scope(m_busy ? nullptr : this); }
    bool IsBusy() const { return m_busy; }

private:
    bool m_busy = false;
};
