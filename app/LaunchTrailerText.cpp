// Launch trailer as standard strings: the whole text and its pieces, for tools and checks. The launcher
// takes its pieces through ReadLaunchTrailerPiece and links none of this.
#include "veneer/core/UISetup.h"
#include "app/LaunchTrailer.h"

bool ReadLaunchTrailer(LPCWSTR pstrPath, std::string& sText)
{
    sText.clear();
    char szBuffer[kLaunchTrailerMaxBytes] = {};
    DWORD nLength = 0;
    if (!ReadLaunchTrailerBytes(pstrPath, szBuffer, nLength)) return false;
    sText.assign(szBuffer, nLength);
    return true;
}

std::vector<std::string> SplitText(const std::string& sText, char chSeparator)
{
    std::vector<std::string> aPieces;
    std::string::size_type iStart = 0;
    std::string::size_type iFound = sText.find(chSeparator, iStart);
    while (iFound != std::string::npos) {
        if (iFound > iStart) aPieces.push_back(sText.substr(iStart, iFound - iStart));
        iStart = iFound + 1;
        iFound = sText.find(chSeparator, iStart);
    }
    if (iStart < sText.size()) aPieces.push_back(sText.substr(iStart));
    return aPieces;
}

std::wstring TrailerPieceToWide(const std::string& sPiece)
{
    return std::wstring(TrailerPieceToWide(sPiece.c_str(), static_cast<int>(sPiece.size())).GetData());
}
