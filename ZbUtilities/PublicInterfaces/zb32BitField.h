#ifndef zb32BitField_H
#define zb32BitField_H
// A set of 32 numbered flags.  Bits are numbered 1 to 32, bit n weighing 2
// to the power n-1; a number outside 1..32 addresses no bit.

class zb32BitField
{
  public:
    zb32BitField() = default;
    zb32BitField(const zb32BitField& iOther) = default;
    zb32BitField(const unsigned long& iValue) : _Value(iValue) {}
    virtual ~zb32BitField() = default;

    zb32BitField& operator=(const zb32BitField& iOther) = default;
    zb32BitField& operator=(const unsigned long& iValue);
    // Reads a text of '1' (set) and other characters (clear), its last
    // character being bit 1; at most the last 32 characters count.
    zb32BitField& operator=(const char* iText);

    // 1 when bit iBit is set, else 0.
    int operator[](const unsigned long& iBit) const;
    // A non-zero iValue sets the bit; zero inverts it.
    zb32BitField& operator()(const unsigned long& iBit, const unsigned int& iValue);
    // The same on the iCount bits from iFirst, when they all lie in 1..32.
    zb32BitField& operator()(const unsigned long& iFirst, const unsigned long& iCount,
                             const unsigned int& iValue);
    // Writes exactly 32 characters '0'/'1', bit 32 first, no terminator.
    char* operator>>(char* oText) const;

    unsigned long Value() const { return _Value; }

  private:
    unsigned long _Value = 0;
};

#endif
