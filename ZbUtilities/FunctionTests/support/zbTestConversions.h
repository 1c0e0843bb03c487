#ifndef zbTestConversions_H
#define zbTestConversions_H
// Conversions between the library's own types and the standard ones the
// suites compare: lists of strings, and what a writer puts on a stream; the
// ownership of the pointer lists a suite fills or is handed.

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "QORString.h"
#include "zbOFStream.h"
#include "zbTestSupport.h"

namespace zbtest
{
inline std::vector<std::string> Strings(const QORListValQORString& iList)
{
    std::vector<std::string> out;
    for (const QORString& text : iList)
        out.push_back(text.Std());
    return out;
}

inline QORListValQORString StringList(std::initializer_list<std::string> iTexts)
{
    QORListValQORString list;
    for (const std::string& text : iTexts)
        list.Append(QORString(text.c_str()));
    return list;
}

// What iWrite puts on a stream opened on a fresh file (mode iMode), once the
// stream is closed.
inline std::string Written(const std::function<void(zbOFStream&)>& iWrite, int iMode = 8)
{
    TempDir dir;
    {
        zbOFStream out((dir / "written").c_str(), iMode);
        iWrite(out);
    }
    return ReadFile(dir / "written");
}

// A pointer list that deletes its elements with itself; built from values,
// it holds one new element made from each.
template <class List> class Owned : public List
{
    using Element = std::remove_pointer_t<std::decay_t<decltype(std::declval<List&>()[1])>>;

  public:
    Owned() = default;
    template <class Value> Owned(std::initializer_list<Value> iValues)
    {
        for (const Value& value : iValues)
            this->Append(new Element(value));
    }
    ~Owned() { this->ApplyDelete(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
};

// A pointer list handed over by the code: its elements, then itself, deleted.
struct DeleteAll
{
    template <class List> void operator()(List* iList) const
    {
        iList->ApplyDelete();
        delete iList;
    }
};
template <class List> using Taken = std::unique_ptr<List, DeleteAll>;
} // namespace zbtest

#endif
