#ifndef QORSymbolTable_H
#define QORSymbolTable_H
// The dynamic symbols of the objects loaded in the process (the program and
// its shared libraries), read from their mapped ELF dynamic sections when the
// table is built.  Finding the name of an address then allocates nothing and
// takes no lock (dladdr takes the loader's lock), so that a signal handler
// may do it.

#include <cstdint>
#include <string>
#include <vector>

struct QORSymbol
{
    uintptr_t _Start;
    uintptr_t _Size;
    const char* _Name; // in the object's mapped string table
};

struct QORLoadedObject
{
    uintptr_t _Base;                 // the load bias
    uintptr_t _Low, _High;           // the addresses its segments span
    std::string _Name;               // file name without directories
    std::vector<QORSymbol> _Symbols; // functions, sorted by start
};

class QORSymbolTable
{
  public:
    // Reads the objects loaded now.
    QORSymbolTable();

    // The object holding iAddress, or null; *oSymbol the function that
    // covers it, or null.  Allocates nothing.
    const QORLoadedObject* Find(uintptr_t iAddress, const QORSymbol** oSymbol) const;

  private:
    std::vector<QORLoadedObject> _Objects;
};

#endif
