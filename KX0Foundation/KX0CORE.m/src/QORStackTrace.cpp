#include "QORStackTrace.h"

#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <dlfcn.h>
#include <execinfo.h>

int QORStackTrace::GetTrace(QORBasicStackTrace& oTrace)
{
    QORBasicStackTrace& trace = oTrace;
    trace._Frames.assign(128, nullptr);
    int n = backtrace(trace._Frames.data(), static_cast<int>(trace._Frames.size()));
    trace._Frames.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return n;
}

void QORBasicStackTrace::Print(FILE* iStream, int iSkip, int iMax) const
{
    if (!iStream)
        return;
    int printed = 0;
    for (size_t i = iSkip > 0 ? static_cast<size_t>(iSkip) : 0; i < _Frames.size(); ++i)
    {
        if (iMax > 0 && printed >= iMax)
            break;
        Dl_info info;
        std::memset(&info, 0, sizeof info);
        const char* module = "?";
        std::string function = "??";
        long offset = 0;
        if (dladdr(_Frames[i], &info))
        {
            if (info.dli_fname)
            {
                module = info.dli_fname;
                if (const char* slash = std::strrchr(module, '/'))
                    module = slash + 1;
            }
            if (info.dli_sname)
            {
                int status = 0;
                char* demangled = abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &status);
                function = status == 0 && demangled ? demangled : info.dli_sname;
                std::free(demangled);
            }
            offset = static_cast<long>(static_cast<char*>(_Frames[i]) -
                                       static_cast<char*>(info.dli_fbase));
        }
        std::fprintf(iStream, "#%d %s (%s+0x%lx)\n", printed, function.c_str(), module, offset);
        ++printed;
    }
    std::fflush(iStream);
}
