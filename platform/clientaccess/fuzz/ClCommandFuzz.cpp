// Fuzz target for the host's command language: each input is read as a
// command text, and each value of a command that was read is split into its
// elements and read as a qualified name, as the command runner does.
//   cl_command_fuzz -rss_limit_mb=2048 -malloc_limit_mb=256 <work folder> seeds/cl_command_fuzz

#include "platform/clientaccess/ClCommand.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace kwvd::clientaccess;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    QString name;
    const std::optional<ClCommand> command = ParseClCommand(text, &error, &name);
    if (!command) {
        if (error.isEmpty()) {
            std::fprintf(stderr, "a command was refused without a reason\n");
            std::abort();
        }
        return 0;
    }
    if (command->name.isEmpty() || command->name != command->name.toUpper()) {
        std::fprintf(stderr, "a command was read without an upper-case name\n");
        std::abort();
    }
    for (const ClParameter& parameter : command->parameters) {
        if (parameter.keyword != parameter.keyword.toUpper()) {
            std::fprintf(stderr, "a keyword was read that is not upper case\n");
            std::abort();
        }
        QString splitError;
        if (const auto elements = SplitClElements(parameter.value, &splitError)) {
            for (const ClElement& element : *elements)
                ParseQualifiedName(element.text);
        }
    }
    return 0;
}
