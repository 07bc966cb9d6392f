// Reads a trailer that tools/stamp_trailer.py wrote into a copy of this program, with the launcher's reader.
#include "veneer/core/UISetup.h"
#include "app/LaunchTrailer.h"
#include "AppTestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// An ASCII environment variable; empty when unset.
std::string EnvironmentText(LPCWSTR pstrName)
{
    wchar_t szValue[1024] = {};
    const DWORD nLength = ::GetEnvironmentVariableW(pstrName, szValue, 1024);
    if (nLength == 0 || nLength >= 1024) return std::string();
    return std::string(szValue, szValue + nLength);
}

} // namespace

// The stamp_trailer ctest entries name the stamped copy and the text they stamped into it.
TEST(StampedTrailer, ReaderGetsTheStampedAddressesBack)
{
    const std::string sFile = EnvironmentText(L"STAMPED_TRAILER_FILE");
    const std::string sExpected = EnvironmentText(L"STAMPED_TRAILER_TEXT");
    if (sFile.empty() || sExpected.empty()) GTEST_SKIP() << "runs from the stamp_trailer ctest entries";
    const std::wstring sPath = GetPathBesideExecutable(std::wstring(sFile.begin(), sFile.end()));

    // The copy is this program, so the running image's headers give its trailer offset.
    std::string sText;
    ASSERT_TRUE(ReadLaunchTrailer(sPath.c_str(), sText));
    EXPECT_EQ(sExpected, sText);
    const std::vector<std::string> aPieces = SplitText(sText, '|');
    ASSERT_EQ(2u, aPieces.size());
    EXPECT_EQ(sExpected.substr(0, sExpected.find('|')), aPieces[0]);
    EXPECT_EQ(sExpected.substr(sExpected.find('|') + 1), aPieces[1]);

    // NUL padding closes the text and ends the file at the next multiple of 8.
    const std::string sContent = ReadWholeFile(sPath);
    const DWORD nOffset = GetLaunchTrailerOffset();
    ASSERT_GT(sContent.size(), nOffset + sText.size());
    EXPECT_EQ(0u, sContent.size() % 8);
    EXPECT_LE(sContent.size() - (nOffset + sText.size()), 8u);
    EXPECT_EQ(std::string::npos, sContent.find_first_not_of('\0', nOffset + sText.size()));

    // The stamped file is still an image whose headers give the same offset.
    HMODULE hData = ::LoadLibraryExW(sPath.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(hData != NULL);
    EXPECT_EQ(nOffset, GetLaunchTrailerOffset(hData));
    ::FreeLibrary(hData);
}
