// zbFileBuffer: preprocessing of the buffer.

#include <cstring>

#include "zbFileBuffer.h"
#include "zbMacroSet.h"
#include "zbPP.h"
#include "zbPPMacLev.h"

int zbFileBuffer::zbPPBuffer(const zbPPMacLev& iLevels, const char* iFileName)
{
    if (!_Buffer || _Length == 0)
        return 0;
    zbMacroSet macros(500);
    int status = zbPP(iLevels, macros, _Buffer, iFileName, 1);
    _Length = static_cast<unsigned int>(std::strlen(_Buffer));
    return status;
}
