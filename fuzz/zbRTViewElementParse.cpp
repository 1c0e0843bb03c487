// Fuzz target: the record parser of zbRTViewElement on arbitrary bytes.
//
// A text and the same bytes given by length parse alike; a record written
// from the element has the length the layout gives and parses back to the
// same element (skills reduced to three digits).

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zbOFStream.h"
#include "zbRTViewElement.h"

namespace
{
bool Same(const zbRTViewElement& iA, const zbRTViewElement& iB)
{
    return iA._Name == iB._Name && iA._RTVname == iB._RTVname && iA._Type == iB._Type &&
           iA._Exposure == iB._Exposure;
}

int Reduced(int iSkills)
{
    return (iSkills % 1000 + 1000) % 1000;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize)
{
    static zbOFStream sink("/dev/null", 4);
    std::string text(reinterpret_cast<const char*>(iData), iSize);
    zbRTViewElement element(text.c_str());
    zbRTViewElement byLength(text.data(),
                             static_cast<unsigned int>(iSize > 0xFFFFFFFFu ? 0xFFFFFFFFu : iSize));
    if (!Same(element, byLength) || element._Skills != byLength._Skills)
        std::abort();
    if (element._Skills < -99 || element._Skills > 999)
        std::abort();
    element.Print(sink);

    char record[zbRTViewElement::MaxRecordLength];
    unsigned int length = 0;
    element.FillBuffer(record, length);
    unsigned int expected = static_cast<unsigned int>(element._Name.GetLengthInByte() +
                                                      element._RTVname.GetLengthInByte()) +
                            zbRTViewElement::RecordOverhead;
    if (expected >= zbRTViewElement::MaxRecordLength)
    {
        if (length != 0)
            std::abort();
        return 0;
    }
    if (length != expected || std::strlen(record) != length || record[length - 1] != '\n')
        std::abort();
    zbRTViewElement again(record);
    if (!Same(element, again) || again._Skills != Reduced(element._Skills))
        std::abort();
    return 0;
}
