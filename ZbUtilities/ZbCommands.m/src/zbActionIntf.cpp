#include "zbActionIntf.h"

#include <array>

constexpr unsigned char zbActionIntfGUID[16] = {0x88, 0x69, 0x0F, 0x05, 0xB0, 0xFF, 0x00, 0x00,
                                                0x02, 0x80, 0x01, 0x02, 0x59, 0x00, 0x00, 0x00};

namespace
{
// The canonical text of the GUID, built at compile time from its bytes so
// that the two forms cannot disagree.
constexpr std::array<char, 37> GUIDText(const unsigned char (&iBytes)[16])
{
    const char digits[] = "0123456789ABCDEF";
    std::array<char, 37> text{};
    int out = 0;
    for (int i = 0; i < 16; ++i)
    {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text[out++] = '-';
        text[out++] = digits[iBytes[i] >> 4];
        text[out++] = digits[iBytes[i] & 0xF];
    }
    text[out] = 0;
    return text;
}

constexpr std::array<char, 37> kGUIDText = GUIDText(zbActionIntfGUID);

QORMetaClass* CreateMetaObject()
{
    // No factory: an interface has no instances of its own.
    QORMetaClass* meta =
        new QORMetaClass(IID_zbActionIntf, "zbActionIntf", QORBaseUnknown::MetaObject(), nullptr);
    AddDictionary("zbActionIntf", &IID_zbActionIntf, 1);
    meta->SetFWname("ZbUtilities");
    return meta;
}
} // namespace

const QORIID IID_zbActionIntf = {kGUIDText.data()};

const QORMetaClass* zbActionIntf::MetaObject()
{
    static const QORMetaClass* meta = CreateMetaObject();
    return meta;
}

const QORIID& zbActionIntf::ClassId()
{
    MetaObject();
    return IID_zbActionIntf;
}

const char* zbActionIntf::ClassName()
{
    return MetaObject()->GetClassName();
}

// Registered at library load as well, so that the class registry knows the
// interface before any implementation is created.
static const int zbActionIntfFilled =
    (zbActionIntf::MetaObject(), QORFillDictionary("zbActionIntf", IID_zbActionIntf));

zbActionIntf::~zbActionIntf() = default;

const char* zbActionIntf::GetDescription() const
{
    return "";
}

int zbActionIntf::SetWorkingDirectory(const char* iDirectory)
{
    return iDirectory ? 1 : 0;
}

void zbActionIntf::SetOwnProcessGroup(const int /*iOwn*/)
{
}

const char* zbActionIntf::GetStdoutFile() const
{
    return nullptr;
}

const char* zbActionIntf::GetStderrFile() const
{
    return nullptr;
}

void zbActionIntf::ResetOutputFiles()
{
}
