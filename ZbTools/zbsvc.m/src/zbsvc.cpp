// zbsvc: the command-line front end of the services library, one verb per
// everyday job of the tool family.

#include <cstdio>
#include <cstring>

#include "zbsvcVerbs.h"

const zbsvcVerb zbsvcVerbs[] = {
    {"context", zbsvcContext, "print the build context"},
    {"macros", zbsvcMacros, "read description files into a macro set and print it"},
    {nullptr, nullptr, nullptr},
};

static void Usage(FILE* iStream)
{
    std::fprintf(iStream, "Usage: zbsvc VERB [ARGUMENTS]\n\nVerbs:\n");
    for (const zbsvcVerb* verb = zbsvcVerbs; verb->_Name; ++verb)
        std::fprintf(iStream, "  %-10s %s\n", verb->_Name, verb->_Summary);
}

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        Usage(stderr);
        return 2;
    }
    if (!std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help"))
    {
        Usage(stdout);
        return 0;
    }
    for (const zbsvcVerb* verb = zbsvcVerbs; verb->_Name; ++verb)
        if (!std::strcmp(argv[1], verb->_Name))
            return verb->_Run(argc - 1, argv + 1);
    std::fprintf(stderr, "zbsvc: unknown verb '%s'\n", argv[1]);
    Usage(stderr);
    return 2;
}
