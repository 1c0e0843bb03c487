#include "QORMsgCatalog.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <sstream>
#include <sys/stat.h>
#include <vector>

namespace
{
bool IsKeyChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-' || c == '*';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Directory holding this library (for the catalogs shipped beside it).
std::string LibraryDirectory()
{
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&LibraryDirectory), &info) && info.dli_fname)
    {
        std::string path = info.dli_fname;
        size_t slash = path.rfind('/');
        if (slash != std::string::npos)
            return path.substr(0, slash);
    }
    return ".";
}

bool IsRegularFile(const std::string& iPath)
{
    struct stat st;
    return ::stat(iPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Parses the text of one entry into oMsg; returns null or the reason it is malformed.
const char* ParseEntryText(const std::string& iText, QORMsg& oMsg)
{
    std::string literal;
    auto flush = [&]()
    {
        oMsg.AppendText(QORUnicodeString(literal.c_str(), literal.size()));
        literal.clear();
    };
    for (size_t i = 0; i < iText.size(); ++i)
    {
        char c = iText[i];
        if (c == '%')
        {
            if (i + 1 >= iText.size())
                return "'%' at the end of the text";
            char d = iText[++i];
            if (d == '%')
                literal.push_back('%');
            else if (d >= '1' && d <= '9')
            {
                flush();
                oMsg.AppendParameter(d - '0');
            }
            else
                return "'%' must be followed by a digit 1 to 9 or by '%'";
            continue;
        }
        if (c != '\\')
        {
            literal.push_back(c);
            continue;
        }
        if (i + 1 >= iText.size())
            return "'\\' at the end of the text";
        char e = iText[++i];
        char32_t cp = 0;
        switch (e)
        {
        case 'n':
            literal.push_back('\n');
            continue;
        case 't':
            literal.push_back('\t');
            continue;
        case 's':
            literal.push_back(' ');
            continue;
        case '\\':
            literal.push_back('\\');
            continue;
        case 'u':
            for (int k = 1; k <= 4; ++k)
            {
                int h = i + k < iText.size() ? HexValue(iText[i + k]) : -1;
                if (h < 0)
                    return "\\u needs four hexadecimal digits";
                cp = cp * 16 + static_cast<char32_t>(h);
            }
            i += 4;
            break;
        case 'U':
        {
            if (i + 1 >= iText.size() || iText[i + 1] != '{')
                return "\\U must be followed by {hexadecimal digits}";
            size_t j = i + 2;
            int digits = 0;
            while (j < iText.size() && HexValue(iText[j]) >= 0 && digits < 8)
                cp = cp * 16 + static_cast<char32_t>(HexValue(iText[j++])), ++digits;
            if (digits == 0 || j >= iText.size() || iText[j] != '}' || cp > 0x10FFFF)
                return "\\U{...} must hold a code point in hexadecimal";
            i = j;
            break;
        }
        default:
            return "unknown escape after '\\'";
        }
        flush();
        QORUnicodeString one;
        one.Append(cp);
        oMsg.AppendText(one);
    }
    flush();
    return nullptr;
}
} // namespace

QORString QORMsgCatalog::FindCatalogFile(const char* iName)
{
    if (!iName || !*iName)
        return QORString();
    std::string file = std::string(iName) + ".msgcat";
    std::vector<std::string> dirs;
    if (const char* env = std::getenv("QOR_MSGCATALOG_PATH"))
    {
        std::stringstream list(env);
        std::string dir;
        while (std::getline(list, dir, ':'))
            if (!dir.empty())
                dirs.push_back(dir);
    }
    std::string libDir = LibraryDirectory();
    dirs.push_back(libDir + "/../resources/msgcatalog");
    dirs.push_back(libDir + "/../share/zbzb/msgcatalog");
    for (const std::string& dir : dirs)
        if (IsRegularFile(dir + "/" + file))
            return QORString(dir + "/" + file);
    return QORString();
}

int QORMsgCatalog::LoadMsgCatalog(const char* iName, const char* iDirectory)
{
    _Messages.clear();
    _Name = iName;
    _FileName.Reset();
    if (!iName || !*iName)
    {
        _Error = "No message catalog name given";
        return 0;
    }
    QORString path;
    if (iDirectory)
        path = QORString(iDirectory) + "/" + iName + ".msgcat";
    else
        path = FindCatalogFile(iName);
    if (path.IsNull())
    {
        _Error = (std::string("Message catalog ") + iName + " (" + iName +
                  ".msgcat) not found along QOR_MSGCATALOG_PATH nor beside the library")
                     .c_str();
        return 0;
    }
    // Close-on-exec: a catalog is never handed down to a child.
    FILE* in;
    do
        in = std::fopen(path.CastToCharPtr(), "rbe");
    while (!in && errno == EINTR);
    std::string text;
    int err = in ? 0 : errno;
    if (in)
    {
        char block[16384];
        for (size_t n; (n = std::fread(block, 1, sizeof block, in)) > 0;)
            text.append(block, n);
        if (std::ferror(in))
            err = errno ? errno : EIO;
        std::fclose(in);
    }
    // A catalog read only in part is not used at all.
    if (err)
    {
        _Error = (std::string("Message catalog ") + path.Std() + ": " + std::strerror(err)).c_str();
        return 0;
    }
    _FileName = path;
    ParseText(text.data(), text.size(), path);
    return 1;
}

int QORMsgCatalog::ParseText(const char* iText, size_t iLength, const char* iFileName)
{
    int bad = 0;
    if (_FileName.IsNull())
        _FileName = iFileName;
    auto report = [&](size_t line, const char* reason)
    {
        std::fprintf(stderr, "%s:%zu: malformed catalog entry: %s\n", iFileName ? iFileName : "?",
                     line, reason);
        ++bad;
    };
    std::vector<std::string> lines;
    for (size_t pos = 0; pos < iLength;)
    {
        size_t end = pos;
        while (end < iLength && iText[end] != '\n')
            ++end;
        lines.emplace_back(iText + pos, end - pos);
        if (!lines.back().empty() && lines.back().back() == '\r')
            lines.back().pop_back();
        pos = end + 1;
    }
    for (size_t n = 0; n < lines.size(); ++n)
    {
        size_t firstLine = n + 1;
        // A line ending with an odd number of backslashes continues on the next.
        std::string line;
        for (bool first = true;; first = false)
        {
            std::string physical = lines[n];
            if (!first)
                physical.erase(0, physical.find_first_not_of(" \t"));
            size_t slashes = 0;
            while (slashes < physical.size() && physical[physical.size() - 1 - slashes] == '\\')
                ++slashes;
            bool continues = slashes % 2 == 1;
            if (continues)
                physical.pop_back();
            line += physical;
            if (!continues || n + 1 >= lines.size())
                break;
            ++n;
        }
        size_t b = 0;
        while (b < line.size() && IsBlank(line[b]))
            ++b;
        if (b == line.size() || line[b] == '#')
            continue;
        size_t k = b;
        while (k < line.size() && IsKeyChar(line[k]))
            ++k;
        if (k == b)
        {
            report(firstLine, "an entry must start with a key");
            continue;
        }
        std::string key = line.substr(b, k - b);
        size_t e = k;
        while (e < line.size() && IsBlank(line[e]))
            ++e;
        if (e >= line.size() || line[e] != '=')
        {
            report(firstLine, "'=' expected after the key");
            continue;
        }
        ++e;
        while (e < line.size() && IsBlank(line[e]))
            ++e;
        size_t t = line.size();
        while (t > e && IsBlank(line[t - 1]))
            --t;
        QORMsg msg;
        if (const char* reason = ParseEntryText(line.substr(e, t - e), msg))
        {
            report(firstLine, reason);
            continue;
        }
        if (_Messages.count(key))
        {
            report(firstLine, ("key " + key + " is defined twice; the first text stays").c_str());
            continue;
        }
        _Messages.emplace(key, msg);
    }
    return bad;
}

int QORMsgCatalog::UnloadMsgCatalog(const char* iName)
{
    if (!iName || _Name != iName)
        return 1;
    _Messages.clear();
    _Name.Reset();
    _FileName.Reset();
    return 0;
}

int QORMsgCatalog::GetCatalogMsg(const QORString& iKey, QORMsg& oMsg) const
{
    auto it = _Messages.find(iKey.Std());
    if (it == _Messages.end())
    {
        oMsg.Reset();
        if (_Name.IsNull() && _Messages.empty())
            _Error = (std::string("No message catalog loaded for the key ") + iKey.Std()).c_str();
        else
            _Error = (std::string("Message ") + iKey.Std() + " not found in the catalog " +
                      (_Name.IsNull() ? _FileName.Std() : _Name.Std()))
                         .c_str();
        return 0;
    }
    oMsg = it->second;
    return 1;
}

int QORMsgCatalog::SubstituteCatalogMsg(const QORString& iKey, QORMsg& oMsg) const
{
    std::string key = iKey.Std();
    size_t dot = key.rfind('.');
    while (dot != std::string::npos)
    {
        key.resize(dot);
        auto it = _Messages.find(key + ".*");
        if (it != _Messages.end())
        {
            oMsg = it->second;
            return 1;
        }
        dot = key.rfind('.');
    }
    return 0;
}
