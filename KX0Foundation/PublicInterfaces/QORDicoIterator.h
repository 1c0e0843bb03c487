#ifndef QORDicoIterator_H
#define QORDicoIterator_H
// Range access over a dictionary walked by bucket and position, shared by
// the dictionaries of the foundation and of the services library.  The
// dictionary D gives one step of its walk:
//   bool D::WalkStep(int& ioBucket, int& ioPosition, K* oKey, void*& oValue) const
// false at the end; oKey is null when the keys are not wanted.  Removing the
// current element while walking is allowed as with the dictionary's Next.

template <class D, class K, class V> class QORDicoIterator
{
  public:
    // One pair of the walk.
    struct Entry
    {
        K _Key;
        V* _Value = nullptr;
    };

    // A null dictionary is the end; iKeys: copy each key out.
    QORDicoIterator(const D* iDico, bool iKeys) : _Dico(iDico), _Keys(iKeys) { Advance(); }
    const Entry& operator*() const { return _Entry; }
    const Entry* operator->() const { return &_Entry; }
    QORDicoIterator& operator++()
    {
        Advance();
        return *this;
    }
    bool operator==(const QORDicoIterator& iOther) const
    {
        return _Dico == iOther._Dico &&
               (!_Dico || (_Bucket == iOther._Bucket && _Position == iOther._Position));
    }
    bool operator!=(const QORDicoIterator& iOther) const { return !(*this == iOther); }

  private:
    void Advance()
    {
        void* value = nullptr;
        if (_Dico && _Dico->WalkStep(_Bucket, _Position, _Keys ? &_Entry._Key : nullptr, value))
            _Entry._Value = static_cast<V*>(value);
        else
            _Dico = nullptr;
    }

    const D* _Dico;
    bool _Keys;
    int _Bucket = 1;
    int _Position = 0;
    Entry _Entry;
};

// The values alone, as V*, without copying the keys out.
template <class D, class K, class V> class QORDicoValues
{
  public:
    class Iterator : public QORDicoIterator<D, K, V>
    {
      public:
        explicit Iterator(const D* iDico) : QORDicoIterator<D, K, V>(iDico, false) {}
        V* operator*() const { return QORDicoIterator<D, K, V>::operator*()._Value; }
    };
    explicit QORDicoValues(const D* iDico) : _Dico(iDico) {}
    Iterator begin() const { return Iterator(_Dico); }
    Iterator end() const { return Iterator(nullptr); }

  private:
    const D* _Dico;
};

#endif
