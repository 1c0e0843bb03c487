#include "QORMsg.h"

int QORMsg::BuildMessage(QORUnicodeString& oText, const QORUnicodeString* iParams, int iCount) const
{
    oText.Reset();
    for (const Piece& piece : _Pieces)
    {
        if (piece._Param == 0)
            oText.Append(piece._Text);
        else if (iParams && piece._Param <= iCount)
            oText.Append(iParams[piece._Param - 1]);
    }
    return 0;
}

void QORMsg::AppendText(const QORUnicodeString& iText)
{
    if (iText.IsEmpty())
        return;
    if (!_Pieces.empty() && _Pieces.back()._Param == 0)
        _Pieces.back()._Text.Append(iText);
    else
        _Pieces.push_back(Piece{iText, 0});
}

void QORMsg::AppendParameter(int iIndex)
{
    _Pieces.push_back(Piece{QORUnicodeString(), iIndex});
    if (iIndex > _MaxParam)
        _MaxParam = iIndex;
}

void QORMsg::Reset()
{
    _Pieces.clear();
    _MaxParam = 0;
}
