#include <gtest/gtest.h>

#include <string>

#include "QORBaseUnknown.h"

namespace
{
const QORIID IID_Greeter = {"Greeter"};
const QORIID IID_Unrelated = {"Unrelated"};
int gLiving = 0;

class Greeter : public QORBaseUnknown
{
    QOR_DECLARE_CLASS(Greeter)
  public:
    Greeter() { ++gLiving; }
    virtual const char* Greet() const { return "hello"; }

  protected:
    ~Greeter() override { --gLiving; }
};
QOR_IMPLEMENT_CLASS(Greeter, QORBaseUnknown)

class LoudGreeter : public Greeter
{
    QOR_DECLARE_CLASS(LoudGreeter)
  public:
    const char* Greet() const override { return "HELLO"; }
};
QOR_IMPLEMENT_CLASS(LoudGreeter, Greeter)

const int gFilled = QORFillDictionary("Greeter", IID_Greeter);
} // namespace

TEST(QORBaseUnknown, CreatesByNameForAnInterface)
{
    EXPECT_EQ(gFilled, 0);
    void* object = nullptr;
    // The derived class inherits the interface declared for its base.
    ASSERT_EQ(QORCreateClassInstance("LoudGreeter", IID_Greeter, &object), 0);
    Greeter* greeter = static_cast<Greeter*>(static_cast<QORBaseUnknown*>(object));
    EXPECT_EQ(std::string(greeter->Greet()) + " " + greeter->IsA(), "HELLO LoudGreeter");
    EXPECT_TRUE(greeter->IsAKindOf("Greeter") && greeter->IsAKindOf("QORBaseUnknown") &&
                !greeter->IsAKindOf("Other") && gLiving == 1);

    void* again = nullptr;
    EXPECT_TRUE(greeter->QueryInterface(IID_Unrelated, &again) == 1 && again == nullptr);
    EXPECT_TRUE(greeter->QueryInterface(IID_Greeter, &again) == 0 && again == object);
    EXPECT_EQ(greeter->Release(), 1u);
    EXPECT_TRUE(greeter->Release() == 0u && gLiving == 0);
}

TEST(QORBaseUnknown, UnknownClassOrInterfaceFails)
{
    void* object = reinterpret_cast<void*>(1);
    EXPECT_TRUE(QORCreateClassInstance("NoSuchClass", IID_Greeter, &object) == 1 && !object);
    EXPECT_TRUE(QORCreateClassInstance("Greeter", IID_Unrelated, &object) == 3 && !object);
    EXPECT_EQ(gLiving, 0); // the refused instance was released
    EXPECT_EQ(QORFillDictionary("NoSuchClass", IID_Greeter), 1);
}
