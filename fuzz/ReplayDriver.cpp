// Replays files through a fuzz target without libFuzzer: every file given,
// and every regular file of every directory given, is passed once to
// LLVMFuzzerTestOneInput.  Used to run the seed corpora as regression tests.

#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize);

static int ReplayFile(const std::string& iPath)
{
    FILE* f = std::fopen(iPath.c_str(), "rbe");
    if (!f)
    {
        std::perror(iPath.c_str());
        return 1;
    }
    std::vector<uint8_t> data;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data.insert(data.end(), buffer, buffer + n);
    std::fclose(f);
    // As the fuzzer does, an empty input still comes with a valid pointer.
    static const uint8_t kEmpty = 0;
    LLVMFuzzerTestOneInput(data.empty() ? &kEmpty : data.data(), data.size());
    return 0;
}

int main(int argc, char** argv)
{
    int failures = 0, count = 0;
    for (int i = 1; i < argc; ++i)
    {
        struct stat st;
        if (stat(argv[i], &st) != 0)
        {
            std::perror(argv[i]);
            ++failures;
            continue;
        }
        if (!S_ISDIR(st.st_mode))
        {
            failures += ReplayFile(argv[i]);
            ++count;
            continue;
        }
        DIR* dir = opendir(argv[i]);
        while (dir)
        {
            struct dirent* e = readdir(dir);
            if (!e)
                break;
            std::string path = std::string(argv[i]) + "/" + e->d_name;
            if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            {
                failures += ReplayFile(path);
                ++count;
            }
        }
        if (dir)
            closedir(dir);
    }
    std::printf("replayed %d inputs, %d unreadable\n", count, failures);
    return failures ? 1 : 0;
}
