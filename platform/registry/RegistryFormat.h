#pragma once
// The text form of one root's file (README.md in this folder describes it).

#include "platform/registry/RegistryNode.h"

#include <string>
#include <string_view>
#include <vector>

namespace kwvd {

struct ParsedRegistry
{
    RegistryNode root;
    // False when the file names a format version we do not know: nothing of
    // it is taken in, and it must not be written over.
    bool supported = true;
    // Numbers (from 1) of the lines that could not be read and were left out.
    std::vector<int> droppedLines;
};

ParsedRegistry ParseRegistryText(std::string_view text);

std::string FormatRegistryText(const RegistryNode& root);

} // namespace kwvd
