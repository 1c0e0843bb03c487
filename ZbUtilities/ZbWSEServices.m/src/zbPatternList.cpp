#include "zbPatternList.h"

#include <cstdlib>
#include <cstring>

#include "zbIOFNMatch.h"
#include "zbOFStream.h"

namespace
{
// The "various" directory has two descriptions: rows 114-119 for the
// reduced type, rows 120-139 for every other type.
enum Section
{
    Any,
    Reduced,
    Full,
};

struct PatternRow
{
    const char* _Template;
    int _ReturnedValue; // 52 drop, 53 follow, 54 follow for ever
    int _Condition;     // the flag that switches the row on; 0: always
    Section _Section;
};

// The pattern table, row numbers in the comments.  Order matters: a path
// takes the value of the first row it matches.
const PatternRow gPatternRows[] = {
    // 1
    {"%fw%/*", 54, 100, Any},
    // 2
    {"%fw%/Imakefile.mk", 52, 0, Any},
    // 3
    {"%fw%/.installation.mode", 52, 0, Any},
    // 4-8
    {"%fw%/%mod%", 53, 110, Any},
    {"%fw%/%mod%", 53, 111, Any},
    {"%fw%/%mod%", 53, 113, Any},
    {"%fw%/%mod%", 53, 112, Any},
    {"%fw%/%mod%", 52, 0, Any},
    // 9-10
    {"%fw%/%mod%/Objects", 53, 110, Any},
    {"%fw%/%mod%/Objects", 52, 0, Any},
    // 11
    {"%fw%/%mod%/Objects/%os%", 54, 110, Any},
    // 12
    {"%fw%/%mod%/Objects/*", 52, 0, Any},
    // 13-14
    {"%fw%/%mod%/LocalGenerated", 53, 110, Any},
    {"%fw%/%mod%/LocalGenerated", 52, 0, Any},
    // 15
    {"%fw%/%mod%/LocalGenerated/%os%", 54, 110, Any},
    // 16
    {"%fw%/%mod%/LocalGenerated/*", 52, 0, Any},
    // 17-18
    {"%fw%/%mod%/.sniffdir", 54, 111, Any},
    {"%fw%/%mod%/.sniffdir", 52, 0, Any},
    // 19-20
    {"%fw%/%mod%/Imakefile.mk", 54, 113, Any},
    {"%fw%/%mod%/Imakefile.mk", 52, 0, Any},
    // 21-22
    {"%fw%/%mod%/*", 54, 112, Any},
    {"%fw%/%mod%/*", 52, 0, Any},
    // 23-26
    {"%fw%/IdentityCard", 53, 1117, Any},
    {"%fw%/IdentityCard", 53, 111, Any},
    {"%fw%/IdentityCard", 53, 120, Any},
    {"%fw%/IdentityCard", 52, 0, Any},
    // 27-28
    {"%fw%/IdentityCard/Objects", 53, 1117, Any},
    {"%fw%/IdentityCard/Objects", 52, 0, Any},
    // 29
    {"%fw%/IdentityCard/Objects/%os%", 54, 0, Any},
    // 30
    {"%fw%/IdentityCard/Objects/*", 52, 0, Any},
    // 31-32
    {"%fw%/IdentityCard/.sniffdir", 54, 111, Any},
    {"%fw%/IdentityCard/.sniffdir", 52, 0, Any},
    // 33-34
    {"%fw%/IdentityCard/*", 54, 120, Any},
    {"%fw%/IdentityCard/*", 52, 0, Any},
    // 35-36
    {"%fw%/ImportedInterfaces", 53, 1116, Any},
    {"%fw%/ImportedInterfaces", 52, 0, Any},
    // 37
    {"%fw%/ImportedInterfaces/%os%", 53, 0, Any},
    // 38-39
    {"%fw%/ImportedInterfaces/%os%/*", 54, 1116, Any},
    {"%fw%/ImportedInterfaces/%os%/*", 52, 0, Any},
    // 40
    {"%fw%/ImportedInterfaces/*", 52, 0, Any},
    // 41-43
    {"%fw%/PublicInterfaces", 53, 115, Any},
    {"%fw%/PublicInterfaces", 53, 111, Any},
    {"%fw%/PublicInterfaces", 52, 0, Any},
    // 44-45
    {"%fw%/PublicInterfaces/.sniffdir", 54, 111, Any},
    {"%fw%/PublicInterfaces/.sniffdir", 52, 0, Any},
    // 46-47
    {"%fw%/PublicInterfaces/*", 54, 115, Any},
    {"%fw%/PublicInterfaces/*", 52, 0, Any},
    // 48-50
    {"%fw%/PublicGenerated", 53, 1110, Any},
    {"%fw%/PublicGenerated", 53, 111, Any},
    {"%fw%/PublicGenerated", 52, 0, Any},
    // 51
    {"%fw%/PublicGenerated/%os%", 53, 0, Any},
    // 52-53
    {"%fw%/PublicGenerated/%os%/.sniffdir", 54, 111, Any},
    {"%fw%/PublicGenerated/%os%/.sniffdir", 52, 0, Any},
    // 54-55
    {"%fw%/PublicGenerated/%os%/*", 54, 1110, Any},
    {"%fw%/PublicGenerated/%os%/*", 52, 0, Any},
    // 56
    {"%fw%/PublicGenerated/*", 52, 0, Any},
    // 57-59
    {"%fw%/ProtectedInterfaces", 53, 116, Any},
    {"%fw%/ProtectedInterfaces", 53, 111, Any},
    {"%fw%/ProtectedInterfaces", 52, 0, Any},
    // 60-61
    {"%fw%/ProtectedInterfaces/.sniffdir", 54, 111, Any},
    {"%fw%/ProtectedInterfaces/.sniffdir", 52, 0, Any},
    // 62-63
    {"%fw%/ProtectedInterfaces/*", 54, 116, Any},
    {"%fw%/ProtectedInterfaces/*", 52, 0, Any},
    // 64-66
    {"%fw%/ProtectedGenerated", 53, 1111, Any},
    {"%fw%/ProtectedGenerated", 53, 111, Any},
    {"%fw%/ProtectedGenerated", 52, 0, Any},
    // 67
    {"%fw%/ProtectedGenerated/%os%", 53, 0, Any},
    // 68-69
    {"%fw%/ProtectedGenerated/%os%/.sniffdir", 54, 111, Any},
    {"%fw%/ProtectedGenerated/%os%/.sniffdir", 52, 0, Any},
    // 70-71
    {"%fw%/ProtectedGenerated/%os%/*", 54, 1111, Any},
    {"%fw%/ProtectedGenerated/%os%/*", 52, 0, Any},
    // 72
    {"%fw%/ProtectedGenerated/*", 52, 0, Any},
    // 73-75
    {"%fw%/PrivateInterfaces", 53, 117, Any},
    {"%fw%/PrivateInterfaces", 53, 111, Any},
    {"%fw%/PrivateInterfaces", 52, 0, Any},
    // 76-77
    {"%fw%/PrivateInterfaces/.sniffdir", 54, 111, Any},
    {"%fw%/PrivateInterfaces/.sniffdir", 52, 0, Any},
    // 78-79
    {"%fw%/PrivateInterfaces/*", 54, 117, Any},
    {"%fw%/PrivateInterfaces/*", 52, 0, Any},
    // 80-82
    {"%fw%/PrivateGenerated", 53, 1112, Any},
    {"%fw%/PrivateGenerated", 53, 111, Any},
    {"%fw%/PrivateGenerated", 52, 0, Any},
    // 83
    {"%fw%/PrivateGenerated/%os%", 53, 0, Any},
    // 84-85
    {"%fw%/PrivateGenerated/%os%/.sniffdir", 54, 111, Any},
    {"%fw%/PrivateGenerated/%os%/.sniffdir", 52, 0, Any},
    // 86-87
    {"%fw%/PrivateGenerated/%os%/*", 54, 1112, Any},
    {"%fw%/PrivateGenerated/%os%/*", 52, 0, Any},
    // 88
    {"%fw%/PrivateGenerated/*", 52, 0, Any},
    // 89-91
    {"%fw%/V4Adaptors", 53, 1114, Any},
    {"%fw%/V4Adaptors", 53, 111, Any},
    {"%fw%/V4Adaptors", 52, 0, Any},
    // 92-93
    {"%fw%/V4Adaptors/.sniffdir", 54, 111, Any},
    {"%fw%/V4Adaptors/.sniffdir", 52, 0, Any},
    // 94-95
    {"%fw%/V4Adaptors/*", 54, 1114, Any},
    {"%fw%/V4Adaptors/*", 52, 0, Any},
    // 96-98
    {"%fw%/V4Generated", 53, 1115, Any},
    {"%fw%/V4Generated", 53, 111, Any},
    {"%fw%/V4Generated", 52, 0, Any},
    // 99
    {"%fw%/V4Generated/%os%", 53, 0, Any},
    // 100-101
    {"%fw%/V4Generated/%os%/.sniffdir", 54, 111, Any},
    {"%fw%/V4Generated/%os%/.sniffdir", 52, 0, Any},
    // 102-103
    {"%fw%/V4Generated/%os%/*", 54, 1115, Any},
    {"%fw%/V4Generated/%os%/*", 52, 0, Any},
    // 104
    {"%fw%/V4Generated/*", 52, 0, Any},
    // 105-106
    {"%fw%/lst", 53, 1118, Any},
    {"%fw%/lst", 52, 0, Any},
    // 107-108
    {"%fw%/lst/Objects", 53, 1118, Any},
    {"%fw%/lst/Objects", 52, 0, Any},
    // 109
    {"%fw%/lst/Objects/%os%", 53, 0, Any},
    // 110-111
    {"%fw%/lst/Objects/%os%/*", 54, 1118, Any},
    {"%fw%/lst/Objects/%os%/*", 52, 0, Any},
    // 112
    {"%fw%/lst/Objects/*", 52, 0, Any},
    // 113
    {"%fw%/lst/*", 52, 0, Any},
    // 114-115
    {"%fw%/various", 53, 114, Reduced},
    {"%fw%/various", 52, 0, Reduced},
    // 116
    {"%fw%/various/%os%", 53, 0, Reduced},
    // 117-118
    {"%fw%/various/%os%/*", 54, 114, Reduced},
    {"%fw%/various/%os%/*", 52, 0, Reduced},
    // 119
    {"%fw%/various/*", 52, 0, Reduced},
    // 120-125
    {"%fw%/various", 53, 114, Full},
    {"%fw%/various", 53, 11113, Full},
    {"%fw%/various", 53, 1120, Full},
    {"%fw%/various", 53, 1122, Full},
    {"%fw%/various", 53, 1121, Full},
    {"%fw%/various", 52, 0, Full},
    // 126
    {"%fw%/various/%os%", 53, 0, Full},
    // 127
    {"%fw%/various/%os%/*", 54, 114, Full},
    // 128
    {"%fw%/various/%os%/framework.data", 54, 1122, Full},
    // 129
    {"%fw%/various/%os%/HList", 54, 11113, Full},
    // 130-131
    {"%fw%/various/%os%/%mod%", 53, 1120, Full},
    {"%fw%/various/%os%/%mod%", 53, 1121, Full},
    // 132
    {"%fw%/various/%os%/%mod%/module.data", 54, 1121, Full},
    // 133
    {"%fw%/various/%os%/%mod%/.CORBA.class_C", 54, 1120, Full},
    // 134
    {"%fw%/various/%os%/%mod%/.CORBA.class_S", 54, 1120, Full},
    // 135
    {"%fw%/various/%os%/%mod%/.CORBA.include", 54, 1120, Full},
    // 136
    {"%fw%/various/%os%/%mod%/.CORBA.module", 54, 1120, Full},
    // 137
    {"%fw%/various/%os%/%mod%/*", 52, 0, Full},
    // 138
    {"%fw%/various/%os%/*", 52, 0, Full},
    // 139
    {"%fw%/various/*", 52, 0, Full},
    // 140-142
    {"%fw%/FunctionTests", 53, 118, Any},
    {"%fw%/FunctionTests", 53, 1113, Any},
    {"%fw%/FunctionTests", 52, 0, Any},
    // 143-144
    {"%fw%/FunctionTests/Output", 53, 1113, Any},
    {"%fw%/FunctionTests/Output", 52, 0, Any},
    // 145
    {"%fw%/FunctionTests/Output/%os%", 54, 0, Any},
    // 146
    {"%fw%/FunctionTests/Output/*", 52, 0, Any},
    // 147-148
    {"%fw%/FunctionTests/Coverage", 53, 1113, Any},
    {"%fw%/FunctionTests/Coverage", 52, 0, Any},
    // 149
    {"%fw%/FunctionTests/Coverage/%os%", 54, 0, Any},
    // 150
    {"%fw%/FunctionTests/Coverage/*", 52, 0, Any},
    // 151-152
    {"%fw%/FunctionTests/*", 54, 118, Any},
    {"%fw%/FunctionTests/*", 52, 0, Any},
    // 153-154
    {"%fw%/sniff_pdfs", 54, 111, Any},
    {"%fw%/sniff_pdfs", 52, 0, Any},
    // 155-156
    {"%fw%/.sniffdir", 54, 111, Any},
    {"%fw%/.sniffdir", 52, 0, Any},
    // 157
    {"%fw%/*.m*", 52, 0, Any},
    // 158
    {"%fw%/*.doc", 52, 0, Any},
    // 159-160
    {"%fw%/*", 54, 119, Any},
    {"%fw%/*", 52, 0, Any},
};

// Every row is matched with this meta-match: a wildcard takes a leading
// dot (".sniffdir") but never a separator.
const int gRowMetaMatch = ZBIO_MATCH_LEADING_DOT;

const char* FilterName(int iValue)
{
    switch (iValue)
    {
    case ZBIO_FOLLOW_FOR_EVER:
        return "ZBIO_FOLLOW_FOR_EVER";
    case ZBIO_DONT_FOLLOW:
        return "ZBIO_DONT_FOLLOW";
    case ZBIO_FOLLOW:
        return "ZBIO_FOLLOW";
    default:
        return "???????????";
    }
}
} // namespace

QORListPtrzbPattern* BuildPatternList(QORListPtrzbPatternFlag iFlags, zbPatternType iType)
{
    QORListPtrzbPattern* patterns = new QORListPtrzbPattern;
    patterns->Append(new zbPattern("%fw%", ZBIO_FOLLOW, gRowMetaMatch));
    const Section skipped = iType == zbReducedPatternType ? Full : Reduced;
    for (const PatternRow& row : gPatternRows)
        if (row._Section != skipped)
            AddWithCond(patterns, row._Template, row._ReturnedValue, iFlags, row._Condition,
                        gRowMetaMatch);
    return patterns;
}

void AddWithCond(QORListPtrzbPattern* ioList, const char* iValue, int iReturnedValue,
                 QORListPtrzbPatternFlag iFlags, int iCondition, int iMetaMatch)
{
    if (!ioList)
        return;
    bool wanted = iCondition == 0;
    for (int i = iFlags.Size(); i >= 1 && !wanted; --i)
        wanted = iFlags[i] && iFlags[i]->GetFlag() == iCondition;
    if (wanted)
        ioList->Append(new zbPattern(iValue, iReturnedValue, iMetaMatch));
}

char* subst_str(const char* iKey, const char* iValue, const char* iText)
{
    const char* found = iKey && *iKey ? std::strstr(iText, iKey) : nullptr;
    if (!found)
        return ::strdup(iText);
    size_t head = static_cast<size_t>(found - iText);
    size_t keyLength = std::strlen(iKey);
    size_t valueLength = iValue ? std::strlen(iValue) : 0;
    size_t tail = std::strlen(found + keyLength);
    char* result = static_cast<char*>(std::malloc(head + valueLength + tail + 1));
    if (!result)
        return nullptr;
    std::memcpy(result, iText, head);
    if (valueLength)
        std::memcpy(result + head, iValue, valueLength);
    std::memcpy(result + head + valueLength, found + keyLength, tail + 1);
    return result;
}

void SubstKeyInPattern_internal(const char* iText, int iReturnedValue, int iMetaMatch,
                                QORListPtrzbString** iValueLists, const char* const* iKeys,
                                int iKeyCount, QORListPtrzbPattern* oOut)
{
    for (int key = iKeyCount - 1; key >= 0; --key)
    {
        if (!std::strstr(iText, iKeys[key]))
            continue;
        if (!iValueLists[key])
            return;
        for (zbString* value : *iValueLists[key])
        {
            char* replaced = subst_str(iKeys[key], value ? value->CastToCharPtr() : "", iText);
            if (!replaced)
                continue;
            SubstKeyInPattern_internal(replaced, iReturnedValue, iMetaMatch, iValueLists, iKeys,
                                       key, oOut);
            std::free(replaced);
        }
        return;
    }
    oOut->Append(new zbPattern(iText, iReturnedValue, iMetaMatch));
}

QORListPtrzbPattern* SubstKeyInPattern(QORListPtrzbPattern& iPatterns, QORListPtrzbString& iOSNames,
                                       QORListPtrzbString& iModuleNames,
                                       QORListPtrzbString& iFrameworkPaths)
{
    static const char* const keys[] = {"%os%", "%mod%", "%fw%"};
    QORListPtrzbString* values[] = {&iOSNames, &iModuleNames, &iFrameworkPaths};
    QORListPtrzbPattern* result = new QORListPtrzbPattern;
    for (zbPattern* pattern : iPatterns)
        if (pattern)
            SubstKeyInPattern_internal(pattern->GetValue(), pattern->GetReturnedValue(),
                                       pattern->GetMetaMatch(), values, keys, 3, result);
    return result;
}

void PrintPatternList(QORListPtrzbPattern iPatterns, zbOFStream& oStream, const char* iTitle)
{
    oStream.Print("%s size: %d\n", iTitle ? iTitle : "", iPatterns.Size());
    for (zbPattern* pattern : iPatterns)
        if (pattern)
            oStream.Print("%s rc: %s meta : [%d]\n", pattern->GetValue(),
                          FilterName(pattern->GetReturnedValue()), pattern->GetMetaMatch());
}
