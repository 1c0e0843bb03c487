#ifndef QORMsg_H
#define QORMsg_H
// One message of a catalog: literal text with numbered parameter places.

#include <vector>

#include "QORUnicodeString.h"

class QORMsg
{
  public:
    QORMsg() = default;

    int IsEmpty() const { return _Pieces.empty() ? 1 : 0; }
    // Highest parameter number the text uses (0 when it uses none).
    int GetMaxParamIndex() const { return _MaxParam; }
    // oText = the text with place k replaced by iParams[k-1]; a place beyond
    // iCount is left empty.  Returns 0.
    int BuildMessage(QORUnicodeString& oText, const QORUnicodeString* iParams, int iCount) const;

    // Used by the catalog reader.
    void AppendText(const QORUnicodeString& iText);
    void AppendParameter(int iIndex);
    void Reset();

  private:
    struct Piece
    {
        QORUnicodeString _Text;
        int _Param; // 0 for literal text
    };
    std::vector<Piece> _Pieces;
    int _MaxParam = 0;
};

#endif
