#ifndef zbTestConversions_H
#define zbTestConversions_H
// Conversions between the library's own types and the standard ones the
// suites compare: lists of strings, and what a writer puts on a stream.

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "QORString.h"
#include "zbOFStream.h"

namespace zbtest
{
std::vector<std::string> Strings(const QORListValQORString& iList);
QORListValQORString StringList(std::initializer_list<std::string> iTexts);
// What iWrite puts on a stream opened on a fresh file (mode iMode), once the
// stream is closed.
std::string Written(const std::function<void(zbOFStream&)>& iWrite, int iMode = 8);
} // namespace zbtest

#endif
