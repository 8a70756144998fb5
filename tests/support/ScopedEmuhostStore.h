#pragma once
// The emulated host's store for one scope: a folder of the test's own named
// through KWVD_EMUHOST, which every process of the host (the Client Access
// layer, emuhost, the fake servers) looks up on every access. Tests run side
// by side, so each needs a store of its own; a child process started in the
// scope inherits it. The store starts empty: seed it with the layer's set-up
// calls (platform/clientaccess/HostSetup.h) or with emuhost.

#include "tests/support/ScopedEnvironment.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class ScopedEmuhostStore
{
public:
    ScopedEmuhostStore()
    {
        EXPECT_TRUE(m_folder.isValid());
        m_env.Set(m_folder.path());
    }
    ScopedEmuhostStore(const ScopedEmuhostStore&) = delete;
    ScopedEmuhostStore& operator=(const ScopedEmuhostStore&) = delete;

    QString Path() const { return m_folder.path(); }
    // A path inside the store, as "KWVDSYS/ifs/QDLS".
    QString FilePath(const QString& relative) const { return m_folder.path() + u'/' + relative; }

private:
    QTemporaryDir m_folder;
    ScopedEnv m_env{"KWVD_EMUHOST"};
};
