#pragma once
// A translator for tests, over the C library's iconv: it behaves as the host
// access library's translator does (exact field widths both ways, shift
// stripping), with a code set name such as "IBM285" or "IBM930" in place of
// a host CCSID.

#include "hostaccess/api/Translator.h"
#include "platform/framework/File.h"

#include <iconv.h>

#include <string>
#include <vector>

class IconvTranslator : public ITranslator
{
public:
    explicit IconvTranslator(std::string hostCodeSet, int mode = TranslatorMode::None)
        : m_hostCodeSet(std::move(hostCodeSet)), m_mode(mode)
    {}

    int SetMode(int mode) override
    {
        m_mode = mode;
        return mode != TranslatorMode::None;
    }
    int SetHostCCSID(int) override { return 1; }
    int SetStripShift(int strip) override
    {
        const int previous = m_strip;
        m_strip = strip;
        return previous;
    }

    void Write(const void* data, unsigned int length, CFile* file) override
    {
        if (file == nullptr || m_mode != TranslatorMode::PcToHost)
            return;
        std::string bytes =
            Convert("UTF-16LE", m_hostCodeSet, std::string(static_cast<const char*>(data), length * 2u));
        if (m_strip && !bytes.empty()) {
            if (bytes.front() == '\x0E')
                bytes.erase(0, 1);
            for (size_t i = bytes.size(); i > 1; --i) {
                if (bytes[i - 1] == '\x40')
                    continue;
                if (bytes[i - 1] == '\x0F')
                    bytes[i - 1] = '\x40';
                break;
            }
        }
        bytes.resize(length, '\0');
        file->Write(bytes.data(), length);
    }

    unsigned int Read(void* buffer, unsigned int length, CFile* file) override
    {
        if (file == nullptr || m_mode != TranslatorMode::HostToPc)
            return 0;
        std::string bytes(length, '\0');
        const unsigned int got = file->Read(bytes.data(), length);
        bytes.resize(got);
        const std::string wide = Convert(m_hostCodeSet, "UTF-16LE", bytes);
        const size_t converted = wide.size() / 2;
        // A field that converts to fewer characters is filled with blanks.
        auto* out = static_cast<char16_t*>(buffer);
        for (size_t i = 0; i < got; ++i)
            out[i] = i < converted ? static_cast<char16_t>(static_cast<unsigned char>(wide[2 * i])
                                                           | (static_cast<unsigned char>(wide[2 * i + 1]) << 8))
                                   : u' ';
        return got;
    }

    // The whole text converted; what iconv cannot convert is left out.
    static std::string Convert(const std::string& from, const std::string& to, const std::string& input)
    {
        iconv_t cd = iconv_open(to.c_str(), from.c_str());
        if (cd == reinterpret_cast<iconv_t>(-1))
            return {};
        std::vector<char> out(input.size() * 4 + 16);
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char* outPtr = out.data();
        size_t outLeft = out.size();
        iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
        iconv_close(cd);
        return std::string(out.data(), out.size() - outLeft);
    }

private:
    std::string m_hostCodeSet;
    int m_mode;
    int m_strip = 0;
};
