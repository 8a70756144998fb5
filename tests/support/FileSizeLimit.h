#pragma once
// A full disk for one scope: the process may not make any file larger than
// the limit, so a write past it fails with EFBIG as a write to a full disk
// fails with ENOSPC (both are "disk full" to the file layer). Works for the
// superuser, unlike permissions, and touches no other process.

#include <csignal>
#include <sys/resource.h>

#include <gtest/gtest.h>

class FileSizeLimitScope
{
public:
    explicit FileSizeLimitScope(rlim_t bytes)
    {
        // The kernel signals a write past the limit; the write itself then fails.
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        EXPECT_EQ(::getrlimit(RLIMIT_FSIZE, &m_previous), 0);
        struct rlimit limited = m_previous;
        limited.rlim_cur = bytes;
        EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    }
    ~FileSizeLimitScope()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimitScope(const FileSizeLimitScope&) = delete;
    FileSizeLimitScope& operator=(const FileSizeLimitScope&) = delete;

private:
    struct rlimit m_previous
    {};
    void (*m_previousHandler)(int) = SIG_DFL;
};
