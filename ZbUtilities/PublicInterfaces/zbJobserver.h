#ifndef zbJobserver_H
#define zbJobserver_H
// A make jobserver: the job slots a whole build shares among its processes.
// Each process has one implicit slot; every further child it runs at once
// needs a token, one byte read from the jobserver, written back when that
// child ends.
//
// As a client (Join), the jobserver is the one MAKEFLAGS names, in either
// form: "--jobserver-auth=R,W" (descriptors inherited from make, reopened
// here so that they can be read without blocking and without changing the
// inherited ones) or "--jobserver-auth=fifo:PATH"; "--jobserver-fds=R,W" is
// read too.  Descriptors that are not open pipes, or a fifo that cannot be
// opened, are reported once as a warning: the caller goes on alone.
//
// As a server (Serve), it makes a fifo in a directory, opens it, removes its
// name at once (nothing is left behind, however the process ends) and
// writes the tokens; the children get two descriptors of it, blocking and
// inheritable while the jobserver is open, named in MAKEFLAGS as
// "--jobserver-auth=R,W", the form every make version reads.
//
// Close gives back every token held and, for a server, closes the
// children's descriptors and restores MAKEFLAGS.  Everything is closed by
// the destructor too.

#include <string>

class zbJobserver
{
  public:
    zbJobserver() = default;
    ~zbJobserver() { Close(); }
    zbJobserver(const zbJobserver&) = delete;
    zbJobserver& operator=(const zbJobserver&) = delete;

    // 1 when the jobserver MAKEFLAGS names is joined; 0 when it names
    // none; -1 after the warning when it names one that cannot be used.
    int Join();
    // A jobserver of iSlots slots (iSlots - 1 tokens) whose fifo is made in
    // iDirectory, joined at once; 0, or 1 after a report.
    int Serve(const char* iDirectory, unsigned int iSlots);

    bool IsActive() const { return _Read >= 0; }
    // The descriptor to watch for a token (readable), or -1.
    int ReadFd() const { return _Read; }
    // Takes one token without blocking: true when one was taken.
    bool Take();
    // Gives the last token taken back.
    void Give();
    int Held() const { return static_cast<int>(_Tokens.size()); }
    void Close();

  private:
    int _Open(const std::string& iAuth);

    int _Read = -1;
    int _Write = -1;
    std::string _Tokens; // the bytes taken, given back as they were
    // Server only: the children's descriptors and the MAKEFLAGS to restore.
    int _ChildRead = -1;
    int _ChildWrite = -1;
    bool _Serving = false;
    bool _HadMakeflags = false;
    std::string _SavedMakeflags;
};

#endif
