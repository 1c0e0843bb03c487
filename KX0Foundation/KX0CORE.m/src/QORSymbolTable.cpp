#include "QORSymbolTable.h"

#include <algorithm>
#include <cstring>
#include <elf.h>
#include <link.h>
#include <unistd.h>

namespace
{
uintptr_t Relocated(uintptr_t iAddress, uintptr_t iBase)
{
    // The loader relocates most dynamic sections in place, not all.
    return iAddress < iBase ? iAddress + iBase : iAddress;
}

// The number of dynamic symbols: from the hash table, or from the GNU hash
// table's last chain.
size_t SymbolCount(const ElfW(Word) * iHash, const uint32_t* iGnuHash)
{
    if (iHash)
        return iHash[1];
    if (!iGnuHash)
        return 0;
    uint32_t buckets = iGnuHash[0], offset = iGnuHash[1], bloomWords = iGnuHash[2];
    const uint32_t* bucket = reinterpret_cast<const uint32_t*>(
        reinterpret_cast<const ElfW(Addr)*>(iGnuHash + 4) + bloomWords);
    const uint32_t* chain = bucket + buckets;
    uint32_t last = 0;
    for (uint32_t i = 0; i < buckets; ++i)
        last = std::max(last, bucket[i]);
    if (last < offset)
        return offset;
    while (!(chain[last - offset] & 1))
        ++last;
    return last + 1;
}

std::string ObjectName(const char* iPath)
{
    std::string self;
    if (!iPath || !*iPath) // the program itself
    {
        char path[4096];
        ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
        self.assign(path, n > 0 ? static_cast<size_t>(n) : 0);
        iPath = self.c_str();
    }
    const char* slash = std::strrchr(iPath, '/');
    return slash ? slash + 1 : iPath;
}

// The functions of the object's dynamic section.
void ReadSymbols(const ElfW(Dyn) * iDynamic, QORLoadedObject& ioObject)
{
    const ElfW(Sym)* symbols = nullptr;
    const char* strings = nullptr;
    const ElfW(Word)* hash = nullptr;
    const uint32_t* gnuHash = nullptr;
    for (const ElfW(Dyn)* entry = iDynamic; entry && entry->d_tag != DT_NULL; ++entry)
    {
        uintptr_t address = Relocated(entry->d_un.d_ptr, ioObject._Base);
        if (entry->d_tag == DT_SYMTAB)
            symbols = reinterpret_cast<const ElfW(Sym)*>(address);
        else if (entry->d_tag == DT_STRTAB)
            strings = reinterpret_cast<const char*>(address);
        else if (entry->d_tag == DT_HASH)
            hash = reinterpret_cast<const ElfW(Word)*>(address);
        else if (entry->d_tag == DT_GNU_HASH)
            gnuHash = reinterpret_cast<const uint32_t*>(address);
    }
    size_t count = symbols && strings ? SymbolCount(hash, gnuHash) : 0;
    for (size_t i = 0; i < count; ++i)
    {
        const ElfW(Sym)& symbol = symbols[i];
        int type = ELF64_ST_TYPE(symbol.st_info);
        if (symbol.st_shndx == SHN_UNDEF || !symbol.st_value || !symbol.st_name ||
            (type != STT_FUNC && type != STT_GNU_IFUNC))
            continue;
        ioObject._Symbols.push_back({ioObject._Base + symbol.st_value,
                                     symbol.st_size ? symbol.st_size : 1,
                                     strings + symbol.st_name});
    }
    std::sort(ioObject._Symbols.begin(), ioObject._Symbols.end(),
              [](const QORSymbol& a, const QORSymbol& b) { return a._Start < b._Start; });
}

int AddObject(struct dl_phdr_info* iInfo, size_t, void* ioObjects)
{
    QORLoadedObject object;
    object._Base = iInfo->dlpi_addr;
    object._Low = UINTPTR_MAX, object._High = 0;
    object._Name = ObjectName(iInfo->dlpi_name);
    const ElfW(Dyn)* dynamic = nullptr;
    for (int i = 0; i < iInfo->dlpi_phnum; ++i)
    {
        const ElfW(Phdr)& header = iInfo->dlpi_phdr[i];
        if (header.p_type == PT_LOAD)
        {
            object._Low = std::min<uintptr_t>(object._Low, object._Base + header.p_vaddr);
            object._High =
                std::max<uintptr_t>(object._High, object._Base + header.p_vaddr + header.p_memsz);
        }
        else if (header.p_type == PT_DYNAMIC)
            dynamic = reinterpret_cast<const ElfW(Dyn)*>(object._Base + header.p_vaddr);
    }
    ReadSymbols(dynamic, object);
    static_cast<std::vector<QORLoadedObject>*>(ioObjects)->push_back(std::move(object));
    return 0;
}
} // namespace

QORSymbolTable::QORSymbolTable()
{
    ::dl_iterate_phdr(AddObject, &_Objects);
}

const QORLoadedObject* QORSymbolTable::Find(uintptr_t iAddress, const QORSymbol** oSymbol) const
{
    *oSymbol = nullptr;
    for (const QORLoadedObject& object : _Objects)
    {
        if (iAddress < object._Low || iAddress >= object._High)
            continue;
        auto next = std::upper_bound(object._Symbols.begin(), object._Symbols.end(), iAddress,
                                     [](uintptr_t a, const QORSymbol& s) { return a < s._Start; });
        if (next != object._Symbols.begin() && iAddress < (next - 1)->_Start + (next - 1)->_Size)
            *oSymbol = &*(next - 1);
        return &object;
    }
    return nullptr;
}
