/* zbFaultShim: preloaded (LD_PRELOAD) into a program under test, makes one
 * chosen I/O call of the process fail once, so that the program's handling
 * of I/O errors can be tried on every call a run makes, without root.
 *
 *   ZB_FAULT_CALL   the kind of call to break: open, read (getdents64 too:
 *                   the entries of a directory), write, fsync, or rename
 *                   (the calls that give a file its name), or close (the
 *                   descriptor is released all the same); see the wrappers
 *   ZB_FAULT_N      which call of that kind fails, from 1
 *   ZB_FAULT_ERRNO  its error, a name (kErrnos) or a number.  With EINTR
 *                   nothing is done, as a signal arriving would, and only
 *                   the calls a signal can interrupt are failed
 *   ZB_FAULT_COUNT  a file written at exit: one line "KIND COUNT" per kind,
 *                   then "injected KIND N ERRNO" when the fault was made
 *
 * Only the calls made once main has started are counted, never those on
 * standard error, through which the failures are reported.  The shim's own
 * work goes straight to the next definition of each function. */

#define _GNU_SOURCE
#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

/* clang-format off */
enum { KIND_OPEN, KIND_READ, KIND_WRITE, KIND_FSYNC, KIND_RENAME, KIND_CLOSE, KIND_COUNT };

static const char* const kKindNames[KIND_COUNT] = {"open", "read", "write", "fsync", "rename", "close"};

static struct
{
    int _Started;  /* main has begun */
    int _Kind;     /* the kind to break, -1 for none */
    long _N;       /* which call of it */
    int _Errno;    /* what it fails with */
    int _Injected; /* the fault was made */
    long _Calls[KIND_COUNT];
    char _CountFile[4096];
} sState = {0, -1, 0, 0, 0, {0}, ""};

#define ERRNO(name) {#name, name}
static const struct { const char* _Name; int _Value; } kErrnos[] = {
    ERRNO(ENOSPC), ERRNO(EIO), ERRNO(EACCES), ERRNO(EINTR), ERRNO(EDQUOT), ERRNO(EROFS),
    ERRNO(EPERM), ERRNO(ENOENT), ERRNO(EMFILE), ERRNO(EFBIG), ERRNO(EXDEV), ERRNO(ENOSYS),
    ERRNO(EINVAL), ERRNO(EOPNOTSUPP), ERRNO(EBADF)};
/* clang-format on */

static void* Next(const char* iName)
{
    return dlsym(RTLD_NEXT, iName);
}

#define NEXT(type, name)                                                                           \
    static type fn_##name;                                                                         \
    if (!fn_##name)                                                                                \
    fn_##name = (type)Next(#name)

static const char* ErrnoName(int iValue)
{
    for (size_t i = 0; i < sizeof kErrnos / sizeof kErrnos[0]; ++i)
        if (kErrnos[i]._Value == iValue)
            return kErrnos[i]._Name;
    return "?";
}

/* 1 when this call is the one to fail (errno then set).  A call that no
 * signal can interrupt (iInterruptible 0) is never failed with EINTR. */
static int FailsAs(int iKind, int iInterruptible)
{
    if (!sState._Started)
        return 0;
    long n = ++sState._Calls[iKind];
    if (iKind != sState._Kind || n != sState._N || sState._Injected)
        return 0;
    if (sState._Errno == EINTR && !iInterruptible)
        return 0;
    sState._Injected = 1;
    errno = sState._Errno;
    return 1;
}

static int Fails(int iKind)
{
    return FailsAs(iKind, iKind != KIND_RENAME);
}

/* At the very end, once the handlers of exit and the destructors of the
 * program and its libraries have made their calls too. */
__attribute__((destructor)) static void WriteCounts(void)
{
    typedef int (*open_t)(const char*, int, ...);
    typedef ssize_t (*write_t)(int, const void*, size_t);
    typedef int (*close_t)(int);
    NEXT(open_t, open);
    NEXT(write_t, write);
    NEXT(close_t, close);
    if (!sState._CountFile[0] || !fn_open || !fn_write || !fn_close)
        return;
    char text[512];
    size_t used = 0;
    for (int kind = 0; kind < KIND_COUNT; ++kind)
        used += (size_t)snprintf(text + used, sizeof text - used, "%s %ld\n", kKindNames[kind],
                                 sState._Calls[kind]);
    if (sState._Injected)
        used += (size_t)snprintf(text + used, sizeof text - used, "injected %s %ld %s\n",
                                 kKindNames[sState._Kind], sState._N, ErrnoName(sState._Errno));
    int fd = fn_open(sState._CountFile, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    (void)fn_write(fd, text, used);
    (void)fn_close(fd);
}

static void Configure(void)
{
    const char* kind = getenv("ZB_FAULT_CALL");
    const char* n = getenv("ZB_FAULT_N");
    const char* error = getenv("ZB_FAULT_ERRNO");
    const char* count = getenv("ZB_FAULT_COUNT");
    if (count && strlen(count) < sizeof sState._CountFile)
        strcpy(sState._CountFile, count);
    if (!kind || !n || !error)
        return;
    for (int i = 0; i < KIND_COUNT; ++i)
        if (!strcmp(kind, kKindNames[i]))
            sState._Kind = i;
    sState._N = strtol(n, NULL, 10);
    for (size_t i = 0; i < sizeof kErrnos / sizeof kErrnos[0]; ++i)
        if (!strcmp(error, kErrnos[i]._Name))
            sState._Errno = kErrnos[i]._Value;
    if (!sState._Errno)
        sState._Errno = (int)strtol(error, NULL, 10);
    if (sState._Kind < 0 || sState._N < 1 || sState._Errno <= 0)
    {
        static const char kBad[] = "zbFaultShim: bad ZB_FAULT_CALL, ZB_FAULT_N or ZB_FAULT_ERRNO\n";
        typedef ssize_t (*write_t)(int, const void*, size_t);
        NEXT(write_t, write);
        if (fn_write)
            (void)fn_write(2, kBad, sizeof kBad - 1);
        _exit(125);
    }
}

/* main is wrapped so that counting starts with it. */
typedef int (*main_t)(int, char**, char**);
static main_t sMain;

static int WrappedMain(int argc, char** argv, char** envp)
{
    Configure();
    sState._Started = 1;
    return sMain(argc, argv, envp);
}

typedef int (*start_t)(main_t, int, char**, void (*)(void), void (*)(void), void (*)(void), void*);

int __libc_start_main(main_t iMain, int argc, char** argv, void (*iInit)(void), void (*iFini)(void),
                      void (*iRtldFini)(void), void* iStackEnd)
{
    start_t next = (start_t)Next("__libc_start_main");
    sMain = iMain;
    return next(WrappedMain, argc, argv, iInit, iFini, iRtldFini, iStackEnd);
}

/* A wrapper of NAME, of type TYPE: when CHECK says the call is the one to
 * fail, FAILED is returned without the call being made. */
#define WRAP(type, name, failed, check, params, args)                                              \
    type name params                                                                               \
    {                                                                                              \
        typedef type(*fn_t) params;                                                                \
        NEXT(fn_t, name);                                                                          \
        if (check)                                                                                 \
            return failed;                                                                         \
        return fn_##name args;                                                                     \
    }

/* ------------------------------------------------------------- open */

static int ModeWanted(int iFlags)
{
    return (iFlags & O_CREAT) || (iFlags & O_TMPFILE) == O_TMPFILE;
}

/* The mode is read only when the flags say there is one. */
#define OPEN_LIKE(name, params, args)                                                              \
    int name params                                                                                \
    {                                                                                              \
        typedef int(*fn_t) params;                                                                 \
        NEXT(fn_t, name);                                                                          \
        mode_t mode = 0;                                                                           \
        if (ModeWanted(iFlags))                                                                    \
        {                                                                                          \
            va_list list;                                                                          \
            va_start(list, iFlags);                                                                \
            mode = (mode_t)va_arg(list, int);                                                      \
            va_end(list);                                                                          \
        }                                                                                          \
        if (Fails(KIND_OPEN))                                                                      \
            return -1;                                                                             \
        return fn_##name args;                                                                     \
    }

OPEN_LIKE(open, (const char* iPath, int iFlags, ...), (iPath, iFlags, mode))
OPEN_LIKE(open64, (const char* iPath, int iFlags, ...), (iPath, iFlags, mode))
OPEN_LIKE(openat, (int iDir, const char* iPath, int iFlags, ...), (iDir, iPath, iFlags, mode))
OPEN_LIKE(openat64, (int iDir, const char* iPath, int iFlags, ...), (iDir, iPath, iFlags, mode))
WRAP(int, creat, -1, Fails(KIND_OPEN), (const char* iPath, mode_t iMode), (iPath, iMode))
/* The checked forms a program built with _FORTIFY_SOURCE calls instead. */
WRAP(int, __open_2, -1, Fails(KIND_OPEN), (const char* iPath, int iFlags), (iPath, iFlags))
WRAP(int, __open64_2, -1, Fails(KIND_OPEN), (const char* iPath, int iFlags), (iPath, iFlags))
WRAP(int, __openat_2, -1, Fails(KIND_OPEN), (int iDir, const char* iPath, int iFlags),
     (iDir, iPath, iFlags))
WRAP(int, __openat64_2, -1, Fails(KIND_OPEN), (int iDir, const char* iPath, int iFlags),
     (iDir, iPath, iFlags))
WRAP(FILE*, fopen, NULL, Fails(KIND_OPEN), (const char* iPath, const char* iMode), (iPath, iMode))
WRAP(FILE*, fopen64, NULL, Fails(KIND_OPEN), (const char* iPath, const char* iMode), (iPath, iMode))

/* ------------------------------------------------------------- read */

/* A directory's entries, a batch at a time. */
WRAP(ssize_t, getdents64, -1, FailsAs(KIND_READ, 0), (int iFd, void* oBuffer, size_t iCount),
     (iFd, oBuffer, iCount))
WRAP(ssize_t, read, -1, Fails(KIND_READ), (int iFd, void* oBuffer, size_t iCount),
     (iFd, oBuffer, iCount))
WRAP(ssize_t, __read_chk, -1, Fails(KIND_READ),
     (int iFd, void* oBuffer, size_t iCount, size_t iSize), (iFd, oBuffer, iCount, iSize))
WRAP(ssize_t, __pread_chk, -1, Fails(KIND_READ),
     (int iFd, void* oBuffer, size_t iCount, off_t iOffset, size_t iSize),
     (iFd, oBuffer, iCount, iOffset, iSize))
WRAP(ssize_t, __pread64_chk, -1, Fails(KIND_READ),
     (int iFd, void* oBuffer, size_t iCount, off64_t iOffset, size_t iSize),
     (iFd, oBuffer, iCount, iOffset, iSize))
WRAP(ssize_t, pread, -1, Fails(KIND_READ), (int iFd, void* oBuffer, size_t iCount, off_t iOffset),
     (iFd, oBuffer, iCount, iOffset))
WRAP(ssize_t, pread64, -1, Fails(KIND_READ),
     (int iFd, void* oBuffer, size_t iCount, off64_t iOffset), (iFd, oBuffer, iCount, iOffset))
WRAP(ssize_t, readv, -1, Fails(KIND_READ), (int iFd, const struct iovec* iVector, int iCount),
     (iFd, iVector, iCount))

/* ------------------------------------------------------------- write */

/* Standard error is never failed: the failures are reported through it. */
WRAP(ssize_t, write, -1, iFd != 2 && Fails(KIND_WRITE), (int iFd, const void* iData, size_t iCount),
     (iFd, iData, iCount))
WRAP(ssize_t, pwrite, -1, Fails(KIND_WRITE),
     (int iFd, const void* iData, size_t iCount, off_t iOffset), (iFd, iData, iCount, iOffset))
WRAP(ssize_t, pwrite64, -1, Fails(KIND_WRITE),
     (int iFd, const void* iData, size_t iCount, off64_t iOffset), (iFd, iData, iCount, iOffset))
WRAP(ssize_t, writev, -1, iFd != 2 && Fails(KIND_WRITE),
     (int iFd, const struct iovec* iVector, int iCount), (iFd, iVector, iCount))
WRAP(ssize_t, copy_file_range, -1, FailsAs(KIND_WRITE, 0),
     (int iIn, off64_t* ioInOffset, int iOut, off64_t* ioOutOffset, size_t iCount,
      unsigned int iFlags),
     (iIn, ioInOffset, iOut, ioOutOffset, iCount, iFlags))

/* ------------------------------------------------------------- fsync */

WRAP(int, fsync, -1, Fails(KIND_FSYNC), (int iFd), (iFd))
WRAP(int, fdatasync, -1, Fails(KIND_FSYNC), (int iFd), (iFd))

/* ------------------------------------------------------------- rename */

WRAP(int, rename, -1, Fails(KIND_RENAME), (const char* iFrom, const char* iTo), (iFrom, iTo))
WRAP(int, renameat, -1, Fails(KIND_RENAME),
     (int iFromDir, const char* iFrom, int iToDir, const char* iTo), (iFromDir, iFrom, iToDir, iTo))
WRAP(int, renameat2, -1, Fails(KIND_RENAME),
     (int iFromDir, const char* iFrom, int iToDir, const char* iTo, unsigned int iFlags),
     (iFromDir, iFrom, iToDir, iTo, iFlags))
WRAP(int, link, -1, Fails(KIND_RENAME), (const char* iFrom, const char* iTo), (iFrom, iTo))
WRAP(int, linkat, -1, Fails(KIND_RENAME),
     (int iFromDir, const char* iFrom, int iToDir, const char* iTo, int iFlags),
     (iFromDir, iFrom, iToDir, iTo, iFlags))
WRAP(int, symlink, -1, Fails(KIND_RENAME), (const char* iText, const char* iName), (iText, iName))
WRAP(int, symlinkat, -1, Fails(KIND_RENAME), (const char* iText, int iDir, const char* iName),
     (iText, iDir, iName))

/* ------------------------------------------------------------- close */

/* As on Linux, a failing close releases the descriptor; it is never
 * interrupted here (it is not retried on EINTR). */
int close(int iFd)
{
    typedef int (*close_t)(int);
    NEXT(close_t, close);
    if (iFd == 2 || !FailsAs(KIND_CLOSE, 0))
        return fn_close(iFd);
    const int error = errno;
    (void)fn_close(iFd);
    errno = error;
    return -1;
}
