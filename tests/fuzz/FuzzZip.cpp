// Fuzz target: zip archives from memory and from a file; entries found and extracted, markup and images
// loaded from them through the resource archive.
#include "veneer/core/UISetup.h"
#include "fuzz/FuzzTargets.h"

#include "support/TempFolder.h"
#include "support/ZipWriter.h"

using namespace Veneer;

namespace Fuzz {

namespace {

const size_t kMaxNames = 16;
const unsigned kMaxExtracted = 1024 * 1024;

std::string Skin(const char* name)
{
    return ReadBytes(SourcePath((std::string("skin/") + name).c_str()));
}

void Seeds(Inputs& seeds)
{
    seeds.push_back(ReadBytes(BuildPath("skin.zip")));
    // Small archives of the skin's files, stored and deflated, with the fields a writer may vary.
    CZipWriter small;
    small.Add("login.xml", Skin("login.xml"));
    small.Add("close_n.png", Skin("close_n.png"), false);
    seeds.push_back(small.Build());
    CZipWriter play;
    play.Add("playGameWindow.xml", Skin("playGameWindow.xml"), false);
    play.Add("kefubtn.png", Skin("kefubtn.png"));
    play.Add("sub/minibtn.png", Skin("minibtn.png"), false).dataDescriptor = true;
    play.Add("dir/", "", false);
    play.SetComment("comment");
    seeds.push_back(play.Build());
    CZipWriter stub;
    stub.SetStub("MZ stub bytes before the archive");
    stub.Add("config.xml", Skin("config.xml"));
    stub.Add("empty.xml", "", false);
    seeds.push_back(stub.Build());
}

// The names the central directory records, read straight from the bytes, so damaged names are asked for too.
std::vector<std::wstring> StoredNames(const BYTE* data, size_t size)
{
    std::vector<std::wstring> names;
    for (size_t i = 0; i + 46 <= size && names.size() < kMaxNames; ++i) {
        if (memcmp(data + i, "PK\x01\x02", 4) != 0) continue;
        const size_t length = data[i + 28] | (data[i + 29] << 8);
        if (i + 46 + length > size || length == 0) continue;
        wchar_t name[MAX_PATH * 2] = {};
        ::MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(data + i + 46),
                              static_cast<int>(std::min<size_t>(length, MAX_PATH)), name, lengthof(name) - 1);
        names.push_back(name);
    }
    return names;
}

bool Extract(HZIP zip, const std::vector<std::wstring>& names)
{
    if (zip == NULL) return false;
    ZipEntryInfo info;
    int index = -1;
    for (const std::wstring& name : names) {
        ZipFindEntry(zip, name.c_str(), false, &index, &info);
        ZipFindEntry(zip, name.c_str(), true, &index, &info);
    }
    static BYTE chunk[4096];
    for (int entry = 0; entry < static_cast<int>(kMaxNames); ++entry) {
        unsigned total = 0;
        ZRESULT result = ZIP_MORE;
        while (result == ZIP_MORE && total < kMaxExtracted) {
            result = ZipExtractToMemory(zip, entry, chunk, sizeof(chunk));
            total += sizeof(chunk);
        }
        if (result == ZIP_BAD_ARGS) break;
    }
    ZipClose(zip);
    return true;
}

// Markup and images named in the archive, loaded the way skins load them.
void LoadThroughResources(const std::vector<std::wstring>& names)
{
    int images = 0;
    for (const std::wstring& name : names) {
        const size_t dot = name.find_last_of(L'.');
        const std::wstring type = dot == std::wstring::npos ? std::wstring() : name.substr(dot);
        if (type == L".xml") {
            CMarkup xml;
            xml.LoadFromFile(name.c_str());
        } else if ((type == L".png" || type == L".bmp" || type == L".jpg") && images++ < 3) {
            CRenderEngine::FreeImage(CRenderEngine::LoadImage(STRINGorID(name.c_str())));
        }
    }
}

bool Run(const BYTE* data, size_t size)
{
    static CTempFolder s_folder;
    const std::vector<std::wstring> names = StoredNames(data, size);
    CPaintManagerUI::SetResourceZip(L"", false);
    const bool accepted = Extract(ZipOpenMemory(data, static_cast<unsigned>(size)), names);
    CPaintManagerUI::SetResourceZip(const_cast<BYTE*>(data), static_cast<unsigned>(size));
    LoadThroughResources(names);
    CPaintManagerUI::SetResourceZip(L"", false);

    // From a file, for every other input (writing it is the slow part): opened by the reader, and as the
    // resource archive, cached or opened per read.
    if (size % 2 != 0) return accepted;
    if (!WriteBytes(s_folder.GetFile(L"fuzz.zip"), std::string(reinterpret_cast<const char*>(data), size)))
        return accepted;
    Extract(ZipOpenFile(s_folder.GetFile(L"fuzz.zip").c_str()), names);
    CPaintManagerUI::SetResourcePath(s_folder.GetPath().c_str());
    CPaintManagerUI::SetResourceZip(L"fuzz.zip", size % 4 == 0);
    LoadThroughResources(names);
    CPaintManagerUI::SetResourceZip(L"", false);
    CPaintManagerUI::SetResourcePath(L"");
    return accepted;
}

} // namespace

TTarget ZipTarget()
{
    return { "zip", Seeds, { "PK\x01\x02", "PK\x03\x04", "PK\x05\x06", "PK\x07\x08", "login.xml", ".png", "/", "\\" },
             512 * 1024, Run };
}

} // namespace Fuzz
