#ifndef zbFuzzSupport_H
#define zbFuzzSupport_H
// Shared pieces of the fuzz targets whose reader takes files: a scratch
// directory of the process (removed at exit), whole-file writes, and the
// split of one input into several files.
//
// A multi-file input is the text of each file in turn, separated by lines
// holding only "----" (the separator line is not part of either file).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace zbfuzz
{
// Ends the run so that libFuzzer keeps the input.
[[noreturn]] inline void Fail(const char* iTarget, const char* iWhat)
{
    std::fprintf(stderr, "%s fuzz: %s\n", iTarget, iWhat);
    std::abort();
}

inline void Check(bool iCondition, const char* iTarget, const char* iWhat)
{
    if (!iCondition)
        Fail(iTarget, iWhat);
}

// BASE/zbfuzz_TAG.XXXXXX (BASE: /tmp), made once; every file written below
// it is removed with it when the process ends.
class Scratch
{
  public:
    explicit Scratch(const char* iTag, const char* iBase = "/tmp")
    {
        std::string pattern = std::string(iBase) + "/zbfuzz_" + iTag + ".XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back(0);
        if (!::mkdtemp(name.data()))
            Fail(iTag, "cannot create the scratch directory");
        _Dir = name.data();
    }
    ~Scratch()
    {
        ::nftw(
            _Dir.c_str(),
            [](const char* iPath, const struct stat*, int, struct FTW*) { return ::remove(iPath); },
            16, FTW_DEPTH | FTW_PHYS);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::string& Dir() const { return _Dir; }
    std::string Path(const std::string& iName) const { return _Dir + "/" + iName; }

  private:
    std::string _Dir;
};

// Replaces iPath with the bytes given; false when the file cannot be written.
inline bool WriteFile(const std::string& iPath, const void* iData, size_t iSize)
{
    FILE* file = std::fopen(iPath.c_str(), "wbe");
    if (!file)
        return false;
    // An empty input may come without a buffer at all.
    bool written = !iSize || std::fwrite(iData, 1, iSize, file) == iSize;
    return std::fclose(file) == 0 && written;
}

inline bool WriteFile(const std::string& iPath, const std::string& iText)
{
    return WriteFile(iPath, iText.data(), iText.size());
}

// The bytes of iPath; empty when it cannot be read.
inline std::string ReadFile(const std::string& iPath)
{
    std::string text;
    if (FILE* file = std::fopen(iPath.c_str(), "rbe"))
    {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}

// The files of a multi-file input, at most iMax (the last one keeps the rest).
inline std::vector<std::string> Split(const uint8_t* iData, size_t iSize, size_t iMax)
{
    static const std::string separator = "\n----\n";
    std::string text(reinterpret_cast<const char*>(iData), iSize);
    std::vector<std::string> files;
    size_t start = 0;
    while (files.size() + 1 < iMax)
    {
        size_t at = text.find(separator, start);
        if (at == std::string::npos)
            break;
        files.push_back(text.substr(start, at + 1 - start));
        start = at + separator.size();
    }
    files.push_back(text.substr(start));
    return files;
}
} // namespace zbfuzz

#endif
