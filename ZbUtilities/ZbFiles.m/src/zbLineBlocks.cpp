#include "zbLineBlocks.h"

#include <cstring>

#include "zbDescriptor.h"

zbLineBlocks::zbLineBlocks(size_t iBlockSize)
    : _Block(new char[iBlockSize ? iBlockSize : 1]), _Size(iBlockSize ? iBlockSize : 1)
{
}

void zbLineBlocks::Start(int iFd)
{
    _Fd = iFd;
    _Next = _End = 0;
    _AtEnd = false;
}

int zbLineBlocks::Next(char*& oBegin, char*& oEnd)
{
    for (;;)
    {
        // What was read and not handed over is the start of a cut line,
        // or at the end of the file its last line.
        if (_AtEnd || _Next < _End)
        {
            const void* feed = nullptr;
            if (!_AtEnd)
                feed = ::memrchr(_Block.get() + _Next, '\n', _End - _Next);
            if (_AtEnd || feed)
            {
                oBegin = _Block.get() + _Next;
                _Next =
                    _AtEnd ? _End
                           : static_cast<size_t>(static_cast<const char*>(feed) + 1 - _Block.get());
                oEnd = _Block.get() + _Next;
                return 0;
            }
        }
        const size_t kept = _End - _Next;
        if (kept == _Size)
        {
            std::unique_ptr<char[]> block(new char[2 * _Size]);
            std::memcpy(block.get(), _Block.get() + _Next, kept);
            _Block = std::move(block);
            _Size *= 2;
        }
        else
            std::memmove(_Block.get(), _Block.get() + _Next, kept);
        _Next = 0;
        size_t count = 0;
        if (int error = zbReadAll(_Fd, _Block.get() + kept, _Size - kept, count))
        {
            _End = kept;
            return error;
        }
        _End = kept + count;
        _AtEnd = _End < _Size;
    }
}
