#pragma once
// One QApplication for a whole test program, made before the first test and
// gone after the last; offscreen unless the environment names a platform.
// Including this header registers it.

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

class QtApplicationEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!QCoreApplication::instance())
            m_app = std::make_unique<QApplication>(s_argc, s_argv);
    }

    void TearDown() override { m_app.reset(); }

private:
    static inline int s_argc = 1;
    static inline char s_name[] = "kwvd_tests";
    static inline char* s_argv[] = {s_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

inline const auto* const kQtApplicationEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);
