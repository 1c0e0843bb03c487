// The -type and -exp masks of the verbs that select runtime-view elements.

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zbRTViewElement.h"
#include "zbsvcVerbs.h"

namespace
{
using E = zbRTViewElement;

// The tags a mask may name, by code or by name.
const zbRTViewElementTag* const kTypes[] = {&E::Runtime, &E::Buildtime, &E::Internal, &E::Data,
                                            &E::DataInternal};
const zbRTViewElementTag* const kExposures[] = {&E::Deliverable, &E::NotDeliverable};

// A mask: a number (decimal, 0x hexadecimal), or codes and names of tags
// joined by commas ("RTV,Data").  Every tag when iText is null.  0, or 1
// when the text is neither.
template <size_t N>
int ParseMask(const QORString* iText, const zbRTViewElementTag* const (&iTags)[N], int& oMask)
{
    oMask = 0;
    if (!iText)
    {
        for (const zbRTViewElementTag* tag : iTags)
            oMask |= *tag;
        return 0;
    }
    const char* text = *iText;
    if (!*text)
        return 1;
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text, &end, 0);
    if (*text >= '0' && *text <= '9')
    {
        if (*end || errno || value > INT_MAX)
            return 1;
        oMask = static_cast<int>(value);
        return 0;
    }
    for (const char* word = text;;)
    {
        size_t length = std::strcspn(word, ",");
        int bit = 0;
        for (const zbRTViewElementTag* tag : iTags)
            if ((length == 3 && !std::strncmp(word, tag->GetCode(), 3)) ||
                (std::strlen(tag->GetName()) == length &&
                 !std::strncmp(word, tag->GetName(), length)))
                bit = *tag;
        if (!bit)
            return 1;
        oMask |= bit;
        if (!word[length])
            return 0;
        word += length + 1;
    }
}
} // namespace

int zbsvcAnalyzeMasks(zbsvcOptions& ioOptions, int argc, char** argv, int iMinValues,
                      int iMaxValues, int& oTypeMask, int& oExposureMask)
{
    ioOptions.DeclareValue("type", "MASK",
                           "types listed: a mask, or codes and names joined by commas");
    ioOptions.DeclareValue("exp", "MASK", "exposures listed: a mask, or codes and names");
    if (int status = zbsvcAnalyze(ioOptions, argc, argv, iMinValues, iMaxValues); status >= 0)
        return status;
    const char* bad = ParseMask(ioOptions.GetSwitchValue("type"), kTypes, oTypeMask) ? "-type"
                      : ParseMask(ioOptions.GetSwitchValue("exp"), kExposures, oExposureMask)
                          ? "-exp"
                          : nullptr;
    if (!bad)
        return -1;
    return zbsvcUsageError(
        ioOptions,
        (std::string(bad) + " expects a number or tag codes and names joined by commas").c_str());
}
