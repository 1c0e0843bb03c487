#ifndef zbReport_H
#define zbReport_H
// The one way the library and its tools report.  Every module calls these
// instead of writing out the trace manager's calls again:
//
//   zbReportSystemError(name, errno)   "system error on NAME" (systError):
//                                      records the number in zbExtLastError
//                                      (EIO when 0 is given), prints it.
//   zbReportLastError(name)            the same with the number already
//                                      recorded in zbExtLastError.
//   zbReportMessage(key, {p1, ...})    the catalog message KEY with its
//                                      parameters (six at most; a place
//                                      without one shows "???") under
//                                      zbzbError.
//   zbReportWarning(key, {p1, ...})    the same under zbzbWarning.
//   zbReportFatal(key, {p1, ...})      the same under zbzbFatal (the caller
//                                      then ends the process).
//   zbReportWarningText(text)          a text already built, under
//                                      zbzbWarning.
//   zbReportText(text)                 a text already built, under zbzbError.
//   zbRecordErrno(errno)               records the number, returns 1: the
//                                      "record and return" of a function
//                                      that leaves reporting to its caller.
//
// Every report function returns 1, so that a failing path reads
// "return zbReportSystemError(name, errno);".

#include <initializer_list>

#include "QORString.h"
#include "QORUnicodeString.h"

int zbReportSystemError(const char* iObject, int iErrno);
int zbReportLastError(const char* iObject);
int zbReportText(const QORUnicodeString& iText);
int zbReportWarningText(const QORUnicodeString& iText);
int zbReportMessage(const QORString& iKey, std::initializer_list<QORUnicodeString> iParams = {});
int zbReportWarning(const QORString& iKey, std::initializer_list<QORUnicodeString> iParams = {});
int zbReportFatal(const QORString& iKey, std::initializer_list<QORUnicodeString> iParams = {});
int zbRecordErrno(int iErrno);

#endif
