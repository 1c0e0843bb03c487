// Child program of the action and parallel-run suites.
//
//   zbActionProbe ID BYTES SLEEP_MS CODE
//
// Writes BYTES bytes to standard output and BYTES to standard error,
// alternating pieces of 1,024 bytes (output first), sleeps SLEEP_MS
// milliseconds, and exits with CODE.  Each piece is one line: "ID o N "
// (or "ID e N ") padded with the letter of ID's last digit up to the newline,
// so that a reader can tell every piece of every probe apart and rebuild
// what it wrote with zbtest-side code of its own.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <time.h>
#include <unistd.h>

namespace
{
const size_t kPiece = 1024;

int WriteAll(int iFd, const std::string& iText)
{
    size_t done = 0;
    while (done < iText.size())
    {
        ssize_t n = ::write(iFd, iText.data() + done, iText.size() - done);
        if (n <= 0)
            return 1;
        done += static_cast<size_t>(n);
    }
    return 0;
}

std::string Piece(const std::string& iId, char iStream, size_t iIndex, size_t iLength)
{
    std::string piece = iId + " " + iStream + " " + std::to_string(iIndex) + " ";
    char fill = static_cast<char>('a' + (iId.back() - '0') % 26);
    if (piece.size() + 1 < iLength)
        piece.append(iLength - piece.size() - 1, fill);
    piece.resize(iLength - 1);
    return piece + "\n";
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 5)
    {
        std::fprintf(stderr, "usage: zbActionProbe ID BYTES SLEEP_MS CODE\n");
        return 2;
    }
    std::string id = argv[1];
    size_t bytes = std::strtoul(argv[2], nullptr, 10);
    long sleepMs = std::strtol(argv[3], nullptr, 10);
    int code = std::atoi(argv[4]);
    for (size_t index = 0, done = 0; done < bytes; ++index, done += kPiece)
    {
        size_t length = bytes - done < kPiece ? bytes - done : kPiece;
        if (WriteAll(1, Piece(id, 'o', index, length)) ||
            WriteAll(2, Piece(id, 'e', index, length)))
            return 3;
    }
    if (sleepMs > 0)
    {
        struct timespec delay = {sleepMs / 1000, (sleepMs % 1000) * 1000000L};
        ::nanosleep(&delay, nullptr);
    }
    return code;
}
