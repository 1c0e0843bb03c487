#ifndef zbsvcVerbs_H
#define zbsvcVerbs_H
// The verbs of zbsvc.  Each takes the arguments after the verb name (argv[0]
// is the verb) and returns the exit status: 0 success, 1 a failure reported
// through the trace manager, 2 a usage error.

struct zbsvcVerb
{
    const char* _Name;
    int (*_Run)(int argc, char** argv);
    const char* _Summary;
};

int zbsvcContext(int argc, char** argv);
int zbsvcMacros(int argc, char** argv);

// The table, in the order the usage lists them; ends with a null name.
extern const zbsvcVerb zbsvcVerbs[];

#endif
