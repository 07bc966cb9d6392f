// Skin input throughput: XML parsing against bare UTF-8 conversion, zip extraction against zlib's inflate.
#include "veneer/core/UISetup.h"
#include "veneer/core/UIMarkup.h"
#include "veneer/render/UIZip.h"

#include <zlib.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

const int kRepetitions = 9;
const double kMiB = 1024.0 * 1024.0;

// ---- timing --------------------------------------------------------------------------------

double Seconds()
{
    static LARGE_INTEGER s_frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(s_frequency.QuadPart);
}

// Median time of kRepetitions runs of fn, in seconds.
template <typename Fn>
double MedianSeconds(Fn fn)
{
    std::vector<double> aTimes;
    for (int i = 0; i < kRepetitions; ++i) {
        const double start = Seconds();
        fn();
        aTimes.push_back(Seconds() - start);
    }
    std::sort(aTimes.begin(), aTimes.end());
    return aTimes[aTimes.size() / 2];
}

void PrintFigure(const char* pstrWhat, double seconds, size_t nBytes)
{
    printf("  %-38s %9.3f ms  %9.1f MiB/s\n", pstrWhat, seconds * 1000.0, static_cast<double>(nBytes) / kMiB / seconds);
}

// Small deterministic generator so every run measures the same data.
class CRandom
{
public:
    explicit CRandom(unsigned int nSeed) : m_nState(nSeed) {}
    unsigned int Next(unsigned int nRange)
    {
        m_nState = m_nState * 1664525u + 1013904223u;
        return (m_nState >> 8) % nRange;
    }

private:
    unsigned int m_nState;
};

// ---- a realistic skin document -------------------------------------------------------------

const char* const kChineseTexts[] = {
    "\xE7\x99\xBB\xE5\xBD\x95",                                      // log in
    "\xE5\xBC\x80\xE5\xA7\x8B\xE6\xB8\xB8\xE6\x88\x8F",              // start the game
    "\xE5\xAE\xA2\xE6\x9C\x8D\xE4\xB8\xAD\xE5\xBF\x83",              // customer service
    "\xE6\x9C\x80\xE5\xB0\x8F\xE5\x8C\x96",                          // minimise
    "\xE5\x85\xB3\xE9\x97\xAD",                                      // close
    "\xE8\xAE\xB0\xE4\xBD\x8F\xE5\xAF\x86\xE7\xA0\x81",              // remember password
    "\xE6\xAD\xA3\xE5\x9C\xA8\xE5\x8A\xA0\xE8\xBD\xBD\xE2\x80\xA6",  // loading
};

const unsigned int kChineseTextCount = static_cast<unsigned int>(lengthof(kChineseTexts));

void AppendControl(std::string& sXml, CRandom& random, int nIndex, const std::string& sIndent)
{
    const char* pstrText = kChineseTexts[random.Next(kChineseTextCount)];
    char szLine[768];
    switch (random.Next(4)) {
    case 0:
        snprintf(szLine, sizeof(szLine),
                 "%s<Button name=\"btn%d\" text=\"%s\" width=\"%u\" height=\"30\" padding=\"4,2,4,2\" "
                 "normalimage=\"file='img/btn%d.png' source='0,0,80,30' corner='4,4,4,4'\" "
                 "hotimage=\"file='img/btn%d.png' source='80,0,160,30' corner='4,4,4,4'\" "
                 "pushedimage=\"file='img/btn%d.png' source='160,0,240,30' corner='4,4,4,4'\" "
                 "textcolor=\"#FFFFFFFF\" hottextcolor=\"#FFFFE080\" font=\"1\" tooltip=\"%s\" />\n",
                 sIndent.c_str(), nIndex, pstrText, 60 + random.Next(60), nIndex % 16, nIndex % 16,
                 nIndex % 16, pstrText);
        break;
    case 1:
        snprintf(szLine, sizeof(szLine),
                 "%s<Label name=\"label%d\" text=\"%s &amp; %s\" textcolor=\"#FF%06X\" align=\"center\" "
                 "float=\"true\" pos=\"%u,%u,%u,%u\" showhtml=\"true\" />\n",
                 sIndent.c_str(), nIndex, pstrText, kChineseTexts[random.Next(kChineseTextCount)],
                 random.Next(0x1000000), random.Next(800), random.Next(600), 800 + random.Next(200),
                 600 + random.Next(100));
        break;
    case 2:
        snprintf(szLine, sizeof(szLine),
                 "%s<Option name=\"opt%d\" group=\"tabs\" text=\"%s\" selected=\"%s\" width=\"90\" "
                 "selectedimage=\"file='img/tab.png' source='0,0,90,32'\" bkcolor=\"#00000000\" />\n",
                 sIndent.c_str(), nIndex, pstrText, random.Next(2) ? "true" : "false");
        break;
    default:
        snprintf(szLine, sizeof(szLine),
                 "%s<Edit name=\"edit%d\" text=\"\" tipvalue=\"%s\" height=\"28\" maxchar=\"32\" "
                 "bkimage=\"file='img/edit.png' corner='3,3,3,3'\" bordercolor=\"#FFC0C0C0\" bordersize=\"1\" />\n",
                 sIndent.c_str(), nIndex, pstrText);
        break;
    }
    sXml += szLine;
}

void AppendLayout(std::string& sXml, CRandom& random, int& nIndex, int nDepth, const std::string& sIndent)
{
    const bool bVertical = nDepth % 2 == 0;
    char szLine[256];
    snprintf(szLine, sizeof(szLine), "%s<%s name=\"box%d\" childpadding=\"%u\" inset=\"4,4,4,4\" bkcolor=\"#FF%06X\">\n",
             sIndent.c_str(), bVertical ? "VerticalLayout" : "HorizontalLayout", nIndex++, random.Next(8),
             random.Next(0x1000000));
    sXml += szLine;
    const int nChildren = 3 + static_cast<int>(random.Next(5));
    for (int i = 0; i < nChildren; ++i) {
        if (nDepth < 4 && random.Next(3) == 0) {
            AppendLayout(sXml, random, nIndex, nDepth + 1, sIndent + "  ");
        } else {
            AppendControl(sXml, random, nIndex++, sIndent + "  ");
        }
    }
    sXml += sIndent + (bVertical ? "</VerticalLayout>\n" : "</HorizontalLayout>\n");
}

// A skin layout of about nTargetBytes: fonts and defaults, then nested layouts full of controls.
std::string MakeSkinDocument(size_t nTargetBytes, unsigned int nSeed)
{
    CRandom random(nSeed);
    std::string sXml = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\n"
                       "<Window size=\"1034,680\" caption=\"0,0,0,36\" roundcorner=\"4,4\" mininfo=\"800,600\">\n"
                       "  <Font id=\"0\" name=\"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\" size=\"12\" default=\"true\" />\n"
                       "  <Font id=\"1\" name=\"\xE5\xAE\x8B\xE4\xBD\x93\" size=\"14\" bold=\"true\" />\n"
                       "  <Default name=\"Button\" value=\"textcolor=&quot;#FF000000&quot; font=&quot;0&quot;\" />\n"
                       "  <!-- generated layout -->\n"
                       "  <VerticalLayout name=\"root\">\n";
    int nIndex = 0;
    while (sXml.size() < nTargetBytes) AppendLayout(sXml, random, nIndex, 1, "    ");
    sXml += "  </VerticalLayout>\n</Window>\n";
    return sXml;
}

void CountNodes(const CMarkupNode& node, size_t& nElements, size_t& nAttributes)
{
    for (CMarkupNode child = node; child.IsValid(); child = child.GetSibling()) {
        ++nElements;
        nAttributes += static_cast<size_t>(child.GetAttributeCount());
        if (child.HasChildren()) CountNodes(child.GetChild(), nElements, nAttributes);
    }
}

bool BenchMarkup()
{
    const std::string sXml = MakeSkinDocument(1024 * 1024, 7);
    const BYTE* pBytes = reinterpret_cast<const BYTE*>(sXml.data());
    const DWORD nSize = static_cast<DWORD>(sXml.size());

    CMarkup xml;
    if (!xml.LoadFromMem(pBytes, nSize, XMLFILE_ENCODING_UTF8)) {
        wchar_t szMessage[100] = {};
        xml.GetLastErrorMessage(szMessage, lengthof(szMessage));
        printf("skin document: parse failed: %ls\n", szMessage);
        return false;
    }
    size_t nElements = 0;
    size_t nAttributes = 0;
    CountNodes(xml.GetRoot(), nElements, nAttributes);
    printf("skin document: %u bytes of UTF-8 XML, %u elements, %u attributes; median of %d runs\n",
           static_cast<unsigned int>(nSize), static_cast<unsigned int>(nElements),
           static_cast<unsigned int>(nAttributes), kRepetitions);

    std::vector<wchar_t> aWide;
    const double conversion = MedianSeconds([&] {
        const int nChars = ::MultiByteToWideChar(CP_UTF8, 0, sXml.data(), static_cast<int>(nSize), NULL, 0);
        aWide.assign(static_cast<size_t>(nChars) + 1, L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, sXml.data(), static_cast<int>(nSize), aWide.data(), nChars);
    });
    bool bParsed = true;
    const double parse = MedianSeconds([&] { bParsed = xml.LoadFromMem(pBytes, nSize, XMLFILE_ENCODING_UTF8) && bParsed; });
    size_t nWalked = 0;
    const double walk = MedianSeconds([&] {
        size_t nCount = 0;
        CountNodes(xml.GetRoot(), nCount, nWalked);
    });
    PrintFigure("UTF-8 -> UTF-16 (MultiByteToWideChar)", conversion, nSize);
    PrintFigure("CMarkup::LoadFromMem", parse, nSize);
    PrintFigure("walk and map every attribute", walk, nSize);
    printf("  parse / conversion: %.2f\n", parse / conversion);
    return bParsed;
}

// ---- a skin archive ------------------------------------------------------------------------

struct ArchiveEntry
{
    std::string sName;
    std::string sData;
    std::string sDeflated;
    uLong nCrc;
    DWORD nLocalHeader;
};

// Pixel rows with gradients, flat areas and some noise: compresses about as well as skin PNGs' raw data.
std::string MakeImageLike(unsigned int nWidth, unsigned int nHeight, CRandom& random)
{
    std::string sPixels;
    sPixels.reserve(static_cast<size_t>(nWidth) * nHeight * 4 + 64);
    sPixels += "\x89PNG\r\n\x1A\n";
    const unsigned int nBase = random.Next(256);
    for (unsigned int y = 0; y < nHeight; ++y) {
        for (unsigned int x = 0; x < nWidth; ++x) {
            const bool bFlat = (x / 16 + y / 16) % 3 == 0;
            const unsigned int nNoise = bFlat ? 0 : random.Next(12);
            sPixels += static_cast<char>((nBase + x + nNoise) & 0xFF);
            sPixels += static_cast<char>((nBase + y * 2 + nNoise) & 0xFF);
            sPixels += static_cast<char>((x + y + nNoise) & 0xFF);
            sPixels += static_cast<char>(bFlat ? 0xFF : 0xC0 + nNoise);
        }
    }
    return sPixels;
}

std::string RawDeflate(const std::string& sData)
{
    z_stream stream = {};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string sOut(deflateBound(&stream, static_cast<uLong>(sData.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(sData.data()));
    stream.avail_in = static_cast<uInt>(sData.size());
    stream.next_out = reinterpret_cast<Bytef*>(&sOut[0]);
    stream.avail_out = static_cast<uInt>(sOut.size());
    deflate(&stream, Z_FINISH);
    sOut.resize(stream.total_out);
    deflateEnd(&stream);
    return sOut;
}

void Put16(std::string& s, unsigned int n)
{
    s += static_cast<char>(n & 0xFF);
    s += static_cast<char>((n >> 8) & 0xFF);
}

void Put32(std::string& s, DWORD n)
{
    Put16(s, n & 0xFFFF);
    Put16(s, n >> 16);
}

// Local headers with data, the central directory and its end record, all entries deflated.
std::string MakeZip(std::vector<ArchiveEntry>& aEntries)
{
    std::string sZip;
    for (ArchiveEntry& entry : aEntries) {
        entry.nLocalHeader = static_cast<DWORD>(sZip.size());
        Put32(sZip, 0x04034B50);
        Put16(sZip, 20);
        Put16(sZip, 0);
        Put16(sZip, 8);
        Put32(sZip, 0x5A210000);  // DOS date and time
        Put32(sZip, entry.nCrc);
        Put32(sZip, static_cast<DWORD>(entry.sDeflated.size()));
        Put32(sZip, static_cast<DWORD>(entry.sData.size()));
        Put16(sZip, static_cast<unsigned int>(entry.sName.size()));
        Put16(sZip, 0);
        sZip += entry.sName;
        sZip += entry.sDeflated;
    }
    const DWORD nDirectory = static_cast<DWORD>(sZip.size());
    for (const ArchiveEntry& entry : aEntries) {
        Put32(sZip, 0x02014B50);
        Put16(sZip, 20);
        Put16(sZip, 20);
        Put16(sZip, 0);
        Put16(sZip, 8);
        Put32(sZip, 0x5A210000);
        Put32(sZip, entry.nCrc);
        Put32(sZip, static_cast<DWORD>(entry.sDeflated.size()));
        Put32(sZip, static_cast<DWORD>(entry.sData.size()));
        Put16(sZip, static_cast<unsigned int>(entry.sName.size()));
        Put16(sZip, 0);
        Put16(sZip, 0);
        Put16(sZip, 0);
        Put16(sZip, 0);
        Put32(sZip, 0);
        Put32(sZip, entry.nLocalHeader);
        sZip += entry.sName;
    }
    const DWORD nDirectorySize = static_cast<DWORD>(sZip.size()) - nDirectory;
    Put32(sZip, 0x06054B50);
    Put16(sZip, 0);
    Put16(sZip, 0);
    Put16(sZip, static_cast<unsigned int>(aEntries.size()));
    Put16(sZip, static_cast<unsigned int>(aEntries.size()));
    Put32(sZip, nDirectorySize);
    Put32(sZip, nDirectory);
    Put16(sZip, 0);
    return sZip;
}

std::vector<ArchiveEntry> MakeSkinEntries()
{
    CRandom random(11);
    std::vector<ArchiveEntry> aEntries;
    const char* const aLayouts[] = {"login.xml", "loginWebWnd.xml", "playGameWindow.xml", "menu.xml", "settings.xml"};
    for (size_t i = 0; i < lengthof(aLayouts); ++i) {
        ArchiveEntry entry;
        entry.sName = aLayouts[i];
        entry.sData = MakeSkinDocument(64 * 1024 * (i + 1), static_cast<unsigned int>(100 + i));
        aEntries.push_back(entry);
    }
    for (unsigned int i = 0; i < 40; ++i) {
        ArchiveEntry entry;
        char szName[64];
        snprintf(szName, sizeof(szName), "img/%s%u.png", i % 2 ? "btn" : "bg", i);
        entry.sName = szName;
        entry.sData = MakeImageLike(64 + random.Next(400), 32 + random.Next(300), random);
        aEntries.push_back(entry);
    }
    for (ArchiveEntry& entry : aEntries) {
        entry.nCrc = crc32(0L, reinterpret_cast<const Bytef*>(entry.sData.data()), static_cast<uInt>(entry.sData.size()));
        entry.sDeflated = RawDeflate(entry.sData);
    }
    return aEntries;
}

std::wstring Widen(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

bool BenchZip()
{
    std::vector<ArchiveEntry> aEntries = MakeSkinEntries();
    const std::string sZip = MakeZip(aEntries);
    size_t nUnpacked = 0;
    std::vector<std::wstring> aNames;
    for (const ArchiveEntry& entry : aEntries) {
        nUnpacked += entry.sData.size();
        // The loaders look names up with Windows separators and their own case.
        std::wstring sName = Widen(entry.sName);
        std::replace(sName.begin(), sName.end(), L'/', L'\\');
        std::transform(sName.begin(), sName.end(), sName.begin(), [](wchar_t ch) { return static_cast<wchar_t>(towupper(ch)); });
        aNames.push_back(sName);
    }
    printf("skin archive: %u entries, %u bytes unpacked, %u bytes packed; median of %d runs\n",
           static_cast<unsigned int>(aEntries.size()), static_cast<unsigned int>(nUnpacked),
           static_cast<unsigned int>(sZip.size()), kRepetitions);

    HZIP hZip = ZipOpenMemory(sZip.data(), static_cast<unsigned int>(sZip.size()));
    if (hZip == NULL) {
        printf("  the archive does not open\n");
        return false;
    }
    std::vector<std::string> aOut(aEntries.size());
    for (size_t i = 0; i < aEntries.size(); ++i) aOut[i].assign(aEntries[i].sData.size(), '\0');

    bool bExtracted = true;
    const double extract = MedianSeconds([&] {
        for (size_t i = 0; i < aEntries.size(); ++i) {
            int nIndex = -1;
            ZipEntryInfo info;
            if (ZipFindEntry(hZip, aNames[i].c_str(), true, &nIndex, &info) != ZIP_OK) {
                bExtracted = false;
                continue;
            }
            const ZRESULT result = ZipExtractToMemory(hZip, nIndex, &aOut[i][0], info.uncompressedSize);
            bExtracted = bExtracted && (result == ZIP_OK || result == ZIP_MORE);
        }
    });
    ZipClose(hZip);
    for (size_t i = 0; i < aEntries.size(); ++i) bExtracted = bExtracted && aOut[i] == aEntries[i].sData;

    bool bInflated = true;
    const double inflate = MedianSeconds([&] {
        for (size_t i = 0; i < aEntries.size(); ++i) {
            z_stream stream = {};
            inflateInit2(&stream, -MAX_WBITS);
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(aEntries[i].sDeflated.data()));
            stream.avail_in = static_cast<uInt>(aEntries[i].sDeflated.size());
            stream.next_out = reinterpret_cast<Bytef*>(&aOut[i][0]);
            stream.avail_out = static_cast<uInt>(aOut[i].size());
            bInflated = ::inflate(&stream, Z_FINISH) == Z_STREAM_END && bInflated;
            inflateEnd(&stream);
        }
    });

    PrintFigure("ZipFindEntry + ZipExtractToMemory", extract, nUnpacked);
    PrintFigure("zlib raw inflate, one shot", inflate, nUnpacked);
    printf("  zip reader / inflate: %.2f\n", extract / inflate);
    if (!bExtracted) printf("  the zip reader did not return every entry intact\n");
    if (!bInflated) printf("  zlib did not inflate every entry\n");
    return bExtracted && bInflated;
}

}  // namespace

int main()
{
    const bool bMarkup = BenchMarkup();
    const bool bZip = BenchZip();
    return bMarkup && bZip ? 0 : 1;
}
