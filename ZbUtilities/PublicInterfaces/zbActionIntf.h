#ifndef zbActionIntf_H
#define zbActionIntf_H
// The action interface: a unit of work the build tools run, usually as a
// child process.  Implementations derive from zbActionIntf, declare their
// class with QOR_DECLARE_CLASS / QOR_IMPLEMENT_CLASS and are created by
// class name with zbActionFactory.
//
// What the runners call (zbProcess, zbMonoProcessing, zbMultiProcessing,
// zbInstruction):
//   SetStdoutFile, SetStderrFile  where the child's standard output and
//                                 error go (the same name for both: one
//                                 file shared by the two streams);
//   Start(handle, verbose)        runs the action: 0 for success, any
//                                 other value is the failure code.  An
//                                 action whose child runs on after the call
//                                 stores its process identifier (above 0)
//                                 in handle; one that did its work within
//                                 the call leaves handle at 0.
//   SetOwnProcessGroup            asked by the parallel runner, so that it
//                                 can signal each child with everything it
//                                 started.

#include "QORBaseUnknown.h"
#include "QORListPtr.h"

// The interface identifier: a 16-byte GUID (Data1, Data2 and Data3
// big-endian, in memory order) and the text the component model compares,
// its canonical form "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX".
extern const unsigned char zbActionIntfGUID[16];
extern const QORIID IID_zbActionIntf;

class zbActionIntf : public QORBaseUnknown
{
  public:
    // The interface's meta-object (framework "ZbUtilities"), created on
    // first need and at library load.
    static const QORMetaClass* MetaObject();
    static const QORIID& ClassId();
    static const char* ClassName();
    const QORMetaClass* GetMetaObject() const override { return MetaObject(); }

    virtual int Start(int& ProcessHandle, int Verbose) = 0;

    // Further operations, with neutral defaults for implementations that do
    // not need them.
    // What the action runs, for messages ("" by default).
    virtual const char* GetDescription() const;
    // The directory the child starts in (null: the caller's); 0, or 1 when
    // the action cannot honour it.
    virtual int SetWorkingDirectory(const char* iDirectory);
    // Non-zero: the child leads a process group of its own and reads an
    // empty standard input.
    virtual void SetOwnProcessGroup(const int iOwn);
    // The names given by SetStdoutFile and SetStderrFile (null when none).
    virtual const char* GetStdoutFile() const;
    virtual const char* GetStderrFile() const;
    // Forgets the output files, so that the action can run again without
    // capture.
    virtual void ResetOutputFiles();

    virtual void SetStdoutFile(const char* FileName) = 0;
    virtual void SetStderrFile(const char* FileName) = 0;

  protected:
    ~zbActionIntf() override;
};

using QORListPtrzbActionIntf = QORListPtr<zbActionIntf>;

#endif
