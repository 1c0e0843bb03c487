#ifndef zbActionFactory_H
#define zbActionFactory_H
// Creates an action by the name of its implementation class.

class zbActionIntf;

// A new action (one reference, released by the caller), or null after the
// report "zbbs.errNoActImpl" with the name when no class of that name
// implements zbActionIntf.
zbActionIntf* zbActionFactory(const char* ImplName);

#endif
