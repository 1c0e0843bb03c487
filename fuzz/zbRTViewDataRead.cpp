// Fuzz target: zbRTViewData::Read on arbitrary files.
//
// A refused file leaves the set empty and EBADF recorded (a file holding a
// NUL byte: zbErrnoNulByte; a line longer than any record: the records
// before it kept); a file read is
// written, and the written file reads back to the same elements (those
// whose records fit) and writes the same bytes again.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "zbErrorCodeManager.h"
#include "zbFuzzSupport.h"
#include "zbRTViewData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbfuzz::Scratch scratch("rtv");
    static const std::string inFile = scratch.Path("in"), outFile = scratch.Path("out"),
                             againFile = scratch.Path("again");
    if (!zbfuzz::WriteFile(inFile, iData, iSize))
        return 0;

    zbRTViewData data(13);
    zbExtLastError.SetErrno(0);
    int result = data.Read(QORString(inFile.c_str()), zbRTViewData::KeepPaths);
    if (result != 0)
    {
        // A file holding a NUL byte is no text; a line longer than any
        // record ends the reading, the records before it kept.
        const int error = zbExtLastError.GetErrno();
        if (result == 1 ? error != zbErrnoNulByte
                        : (result != -1 && result != -10 && result != -2) || error != EBADF ||
                              (result != -2 && data.GetNbElements() != 0))
            std::abort();
        return 0;
    }

    if (data.Write(QORString(outFile.c_str())) != 0)
        std::abort();
    zbRTViewData again(13);
    if (again.Read(QORString(outFile.c_str()), zbRTViewData::KeepPaths) != 0)
        std::abort();
    QORListPtrzbRTViewElement elements;
    data.GetListOfElements(elements);
    int written = 0;
    for (int i = 1; i <= elements.Size(); ++i)
    {
        const zbRTViewElement& element = *elements[i];
        char record[zbRTViewElement::MaxRecordLength];
        unsigned int length = 0;
        element.FillBuffer(record, length);
        if (length == 0)
            continue;
        ++written;
        const zbRTViewElement* back = again.Locate(element._Name);
        if (!back || back->_RTVname != element._RTVname || back->_Type != element._Type ||
            back->_Exposure != element._Exposure ||
            back->_Skills != (element._Skills % 1000 + 1000) % 1000)
            std::abort();
    }
    if (again.GetNbElements() != written)
        std::abort();
    if (again.Write(QORString(againFile.c_str())) != 0 ||
        zbfuzz::ReadFile(outFile) != zbfuzz::ReadFile(againFile))
        std::abort();
    return 0;
}
