#pragma once
// The one exception of the QDX writer: its text becomes the export's last
// error and is shown in the "Qdx Export Error" box by the entry point.

#include <stdexcept>
#include <string>

class CQdxError : public std::runtime_error
{
public:
    explicit CQdxError(const std::string& text) : std::runtime_error(text) {}
};
