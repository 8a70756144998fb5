#pragma once
// One JVX section written in each text form the archive has: 8-bit at
// version 18, raw UTF-16 at version 28, and host text at version 28 with
// the system and the user translator both IBM285. Each comes back as text,
// with the writes that reached the file, for tests that a writer's lines
// reach the file whole and alike in every form.

#include "designer/document/jvx/JVXArchive.h"
#include "tests/support/IconvTranslator.h"
#include "tests/support/JvxBytes.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

struct JvxFormOutput
{
    const char* form;
    int version;
    QString text;
    int writes = 0;
};

inline std::vector<JvxFormOutput> StoreJvxInEveryForm(const std::function<void(CJVXArchive&)>& write)
{
    std::vector<JvxFormOutput> outputs;
    {
        const CountedJvx out = StoreJvxCounted(18, write);
        outputs.push_back({"version 18, 8-bit", 18,
                           QString::fromLatin1(reinterpret_cast<const char*>(out.bytes.data()),
                                               static_cast<qsizetype>(out.bytes.size())),
                           out.writes});
    }
    {
        const CountedJvx out = StoreJvxCounted(28, write);
        outputs.push_back({"version 28, raw UTF-16", 28,
                           QString::fromUtf16(reinterpret_cast<const char16_t*>(out.bytes.data()),
                                              static_cast<qsizetype>(out.bytes.size() / 2)),
                           out.writes});
    }
    {
        IconvTranslator system("IBM285", TranslatorMode::PcToHost);
        IconvTranslator user("IBM285", TranslatorMode::PcToHost);
        ITranslator* previous = SetUserDataTranslator(&user);
        const CountedJvx out = StoreJvxCounted(28, write, &system);
        SetUserDataTranslator(previous);
        const std::string wide =
            IconvTranslator::Convert("IBM285", "UTF-16LE", std::string(out.bytes.begin(), out.bytes.end()));
        outputs.push_back({"version 28, IBM285", 28,
                           QString::fromUtf16(reinterpret_cast<const char16_t*>(wide.data()),
                                              static_cast<qsizetype>(wide.size() / 2)),
                           out.writes});
    }
    return outputs;
}

// Every form holds one line for each start given, in that order, each line
// reached the file in one write, and the host text reads back as the raw
// text it stands for.
inline void ExpectWholeLinesInEveryForm(const std::vector<JvxFormOutput>& outputs,
                                        std::initializer_list<const char*> starts)
{
    for (const JvxFormOutput& out : outputs) {
        SCOPED_TRACE(out.form);
        EXPECT_EQ(out.writes, static_cast<int>(starts.size()));
        const QStringList lines = out.text.split(QStringLiteral("\r\n"));
        ASSERT_EQ(lines.size(), static_cast<qsizetype>(starts.size()) + 1);
        qsizetype at = 0;
        for (const char* start : starts) {
            EXPECT_TRUE(lines[at].startsWith(QLatin1String(start))) << lines[at].toStdString();
            ++at;
        }
        EXPECT_TRUE(lines.back().isEmpty());
    }
    ASSERT_EQ(outputs.size(), 3u);
    EXPECT_EQ(outputs[2].text, outputs[1].text);
}
