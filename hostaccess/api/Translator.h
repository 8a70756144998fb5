#pragma once
// The code-page translator that the host access library hands the designer:
// the designer passes every fixed-width text field of a JVX file (version 19
// and later) through it on the way to or from the file.
//
// Counts are in characters. Our characters are UTF-16 code units on both
// sides of the boundary; how many bytes one character takes in the file is
// the translator's business (one per host byte).
//
// A conversion that fails would break the file's fixed widths, so Write and
// Read then raise the framework's archive exception (generic) on the file
// they were given, after the host's messages were shown once per translator;
// a failed Read leaves blanks in the buffer. Content never makes a write
// fail: a converted field longer than its width is cut at a character
// boundary.

class CFile;

// What SetMode selects.
struct TranslatorMode
{
    enum : int {
        None = 0,        // no conversion possible
        PassThrough = 1, // bytes go through unchanged
        PcToHost = 2,    // for Write
        HostToPc = 3,    // for Read
    };
};

class ITranslator
{
public:
    // The caller deletes the translator through this.
    virtual ~ITranslator() = default;

    virtual int SetMode(int mode) = 0;
    virtual int SetHostCCSID(int ccsid) = 0;
    // Writes exactly length characters' worth of host bytes; nothing
    // without a file.
    virtual void Write(const void* data, unsigned int length, CFile* file) = 0;
    // Reads length host characters and returns how many were read; 0
    // without a file.
    virtual unsigned int Read(void* buffer, unsigned int length, CFile* file) = 0;
    // While set, a leading shift-out is dropped and a trailing shift-in
    // becomes a host blank. Returns the previous setting.
    virtual int SetStripShift(int strip) = 0;

protected:
    ITranslator() = default;
    ITranslator(const ITranslator&) = default;
    ITranslator& operator=(const ITranslator&) = default;
};
