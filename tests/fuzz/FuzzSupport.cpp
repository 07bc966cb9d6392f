// Shared pieces of the fuzz and soak programs: the input runner, seeds from the project's files, a host window.
#include "veneer/core/UISetup.h"
#include "fuzz/FuzzSupport.h"

#include "support/GuardedBlock.h"
#include "support/TempFolder.h"
#include "veneer/render/UIRenderUtil.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <exception>
#include <random>
#include <set>

namespace Fuzz {

namespace {

// Exit codes of the runner.
const int kExitClean = 0;
const int kExitFailed = 1;
const int kExitUsage = 2;
const int kExitCrash = 3;
const int kExitHang = 4;

// Where a planted fault strikes in the self-test, and how long its hang may run.
const long long kPlantAt = 7;
const DWORD kPlantLimitMs = 1000;

struct TOptions
{
    std::vector<std::string> targets;   // empty: all
    long long count = 1000;
    unsigned seed = 1;
    DWORD limitMs = 10000;
    std::wstring out = L".";
    std::wstring replay;
    std::wstring log;
    bool selfTest = false;
    std::string plant;                  // "av" or "hang": the fault the self-test plants
    long long plantAt = -1;
};

// ---- output: stdout and the log file, usable from the crash filter ----------------------------

HANDLE g_hLog = INVALID_HANDLE_VALUE;

void Emit(const char* text)
{
    DWORD written = 0;
    const DWORD length = static_cast<DWORD>(strlen(text));
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text, length, &written, NULL);
    if (g_hLog != INVALID_HANDLE_VALUE) ::WriteFile(g_hLog, text, length, &written, NULL);
}

void Say(const char* format, ...)
{
    char line[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof(line), format, args);
    va_end(args);
    Emit(line);
}

// ---- the input being run, watched by the watchdog and saved by the crash filter ---------------

struct TCurrent
{
    CRITICAL_SECTION lock;
    const char* target;
    const BYTE* data;
    size_t size;
    long long index;
    DWORD started;
    DWORD limitMs;
    bool running;
    wchar_t crashPath[MAX_PATH];
    wchar_t hangPath[MAX_PATH];
};
TCurrent g_current;

void SaveInput(const wchar_t* path, const char* what)
{
    HANDLE hFile = ::CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    if (hFile != INVALID_HANDLE_VALUE) {
        if (g_current.size > 0) ::WriteFile(hFile, g_current.data, static_cast<DWORD>(g_current.size), &written, NULL);
        ::CloseHandle(hFile);
    }
    char line[1024];
    snprintf(line, sizeof(line), "FAULT %s: %s on input %lld (%u bytes), saved to %ls\n", g_current.target, what,
             g_current.index, static_cast<unsigned>(g_current.size), path);
    Emit(line);
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* pInfo)
{
    char what[128];
    const EXCEPTION_RECORD* pRecord = pInfo->ExceptionRecord;
    snprintf(what, sizeof(what), "exception 0x%08lX at %p", static_cast<unsigned long>(pRecord->ExceptionCode),
             pRecord->ExceptionAddress);
    if (g_current.running) SaveInput(g_current.crashPath, what);
    else Emit("FAULT outside any input\n");
    ::TerminateProcess(::GetCurrentProcess(), kExitCrash);
    return EXCEPTION_EXECUTE_HANDLER;
}

void OnTerminate()
{
    if (g_current.running) SaveInput(g_current.crashPath, "uncaught C++ exception");
    ::TerminateProcess(::GetCurrentProcess(), kExitCrash);
}

DWORD WINAPI Watchdog(LPVOID)
{
    for (;;) {
        ::Sleep(50);
        ::EnterCriticalSection(&g_current.lock);
        if (g_current.running && ::GetTickCount() - g_current.started > g_current.limitMs) {
            char what[64];
            snprintf(what, sizeof(what), "still running after %lu ms", static_cast<unsigned long>(g_current.limitMs));
            SaveInput(g_current.hangPath, what);
            ::TerminateProcess(::GetCurrentProcess(), kExitHang);
        }
        ::LeaveCriticalSection(&g_current.lock);
    }
}

bool HeapsAreSound()
{
    HANDLE heaps[256];
    const DWORD count = ::GetProcessHeaps(lengthof(heaps), heaps);
    for (DWORD i = 0; i < count && i < lengthof(heaps); ++i) {
        if (!::HeapValidate(heaps[i], 0, NULL)) return false;
    }
    return true;
}

// ---- inputs: the seeds first, then seeds changed by a few random mutations ---------------------

const std::string kCommonTokens[] = {
    "<", ">", "</", "/>", "=", "\"", "'", "&amp;", "&#", "&#x", "<!--", "-->", "<![CDATA[", "]]>", "<?xml ?>",
    "{", "}", "#", ",", " ", "\t", "\r\n", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", std::string(1, '\0'),
    "%s%n", "\xF0\x9F\x98\x80", "\xC3", "\xED\xA0\x80", "|", "\\", "/", "..", "='", "' ", "true", "false" };
const DWORD kInts[] = { 0, 1, 2, 0x7F, 0x80, 0xFF, 0x100, 0x7FFF, 0x8000, 0xFFFF, 0x10000, 0x7FFFFFFF,
                        0x80000000, 0xFFFFFFFE, 0xFFFFFFFF };
const char* const kNumbers[] = { "0", "-1", "1", "255", "256", "65535", "65536", "2147483647", "-2147483648",
                                 "4294967295", "99999999999999999999", "-0", "1e9", "00000000000000000001" };
// Attribute values: replacing a quoted value keeps a document well-formed, so the input gets past the parser.
const std::string kValues[] = {
    "", " ", "-1", "0", "2147483647", "-2147483648", "0,0,0,0", "-5,-5,99999,99999", "10,10,-10,-10", "1,2", "1,",
    "#FF00FF00", "#", "#GGGGGG", "true", "TRUE", "false", "close_n.png", "missing.png", "{b}{i}x{/b}", "{f Arial 200}A",
    "file='close_n.png' source='0,0,99999,99999' corner='9,9,9,9' dest='-9,-9,9999,9999'", "<b>x</b>{a y}z{/a}",
    "{8856F961-340A-11D0-A96B-00C04FD705A2}", "{00000000-0000-0000-0000-000000000000}", std::string(5000, 'x') };

// The first attribute value (quotes excluded) whose '=' is at or after `from`; false when there is none.
bool FindQuoted(const std::string& s, size_t from, size_t& begin, size_t& end)
{
    for (size_t equals = s.find('=', from); equals != std::string::npos; equals = s.find('=', equals + 1)) {
        if (equals + 1 >= s.size() || (s[equals + 1] != '"' && s[equals + 1] != '\'')) continue;
        begin = equals + 2;
        end = s.find(s[equals + 1], begin);
        return end != std::string::npos;
    }
    return false;
}

class CInputSource
{
public:
    CInputSource(const TTarget& target, const Inputs& seeds, unsigned seed)
        : m_target(target), m_seeds(seeds), m_rng(seed), m_next(0)
    {
    }

    std::string Next()
    {
        std::string input;
        if (m_next < m_seeds.size()) {
            input = m_seeds[m_next];
        } else {
            input = m_seeds[Pick(m_seeds.size())];
            // Mostly one or two changes, so that many inputs still get past the parsing; now and then many.
            const std::string seed = input;
            const size_t ops = 1 + Pick(Pick(4) != 0 ? 2 : 8);
            for (size_t i = 0; i < ops; ++i) Mutate(input);
            // Binary inputs hold few values to change: an input equal to its seed gets a flipped bit instead.
            if (input == seed && !input.empty()) input[Pick(input.size())] ^= static_cast<char>(1 << Pick(8));
        }
        ++m_next;
        if (input.size() > m_target.maxSize) input.resize(m_target.maxSize);
        return input;
    }

private:
    size_t Pick(size_t n) { return n == 0 ? 0 : m_rng() % n; }

    std::string Token()
    {
        if (!m_target.tokens.empty() && Pick(3) != 0) return m_target.tokens[Pick(m_target.tokens.size())];
        return kCommonTokens[Pick(lengthof(kCommonTokens))];
    }

    void Mutate(std::string& s)
    {
        const size_t size = s.size();
        size_t begin = 0, end = 0;
        // Half the changes keep the markup well-formed (values and numbers), half are raw bytes.
        switch (Pick(2) != 0 ? Pick(3) : 3 + Pick(9)) {
        case 0: // a number in the text
            begin = s.find_first_of("-0123456789", Pick(size + 1));
            if (begin == std::string::npos) break;
            end = s.find_first_not_of("0123456789", begin + 1);
            s.replace(begin, (end == std::string::npos ? size : end) - begin, kNumbers[Pick(lengthof(kNumbers))]);
            break;
        case 1: // a quoted value replaced by one of the telling values
            if (FindQuoted(s, Pick(size + 1), begin, end)) s.replace(begin, end - begin, kValues[Pick(lengthof(kValues))]);
            break;
        case 2: { // a quoted value replaced by one from a seed
            const std::string& other = m_seeds[Pick(m_seeds.size())];
            size_t otherBegin = 0, otherEnd = 0;
            if (FindQuoted(s, Pick(size + 1), begin, end) && FindQuoted(other, Pick(other.size() + 1), otherBegin, otherEnd))
                s.replace(begin, end - begin, other.substr(otherBegin, otherEnd - otherBegin));
            break;
        }
        case 3: // flip a bit
            if (size > 0) s[Pick(size)] ^= static_cast<char>(1 << Pick(8));
            break;
        case 4: // an interesting byte
            if (size > 0) s[Pick(size)] = static_cast<char>(kInts[Pick(6)] & 0xFF);
            break;
        case 5: { // cut a range out
            if (size == 0) break;
            const size_t at = Pick(size);
            s.erase(at, 1 + Pick(std::min<size_t>(size - at, Pick(2) != 0 ? 8 : size / 4 + 1)));
            break;
        }
        case 6: { // copy a range elsewhere
            if (size == 0) break;
            const size_t from = Pick(size);
            s.insert(Pick(size + 1), s.substr(from, 1 + Pick(std::min<size_t>(size - from, 64))));
            break;
        }
        case 7: // a word of the target's language
            s.insert(Pick(size + 1), Token());
            break;
        case 8: { // a 1, 2 or 4 byte integer, little-endian
            const size_t width = size_t(1) << Pick(3);
            if (size < width) break;
            const DWORD value = kInts[Pick(lengthof(kInts))];
            memcpy(&s[Pick(size - width + 1)], &value, width);
            break;
        }
        case 9: { // the head of this input with the tail of another
            const std::string& other = m_seeds[Pick(m_seeds.size())];
            s = s.substr(0, Pick(size + 1)) + other.substr(Pick(other.size() + 1));
            break;
        }
        case 10: // truncate
            if (size > 0) s.resize(Pick(size));
            break;
        default: { // one chunk many times over: deep nesting, long runs
            if (size == 0) break;
            const size_t from = Pick(size);
            const std::string chunk = s.substr(from, 1 + Pick(std::min<size_t>(size - from, 32)));
            std::string repeated;
            for (size_t n = 2 + Pick(200); n > 0 && repeated.size() < m_target.maxSize; --n) repeated += chunk;
            s.insert(Pick(size + 1), repeated);
            break;
        }
        }
    }

    const TTarget& m_target;
    const Inputs& m_seeds;
    std::mt19937 m_rng;
    size_t m_next;
};

Inputs LoadSeeds(const TTarget& target)
{
    Inputs all;
    target.seeds(all);
    Inputs seeds;
    std::set<std::string> seen;
    for (const std::string& seed : all) {
        if (seen.insert(seed).second) seeds.push_back(seed);
    }
    if (seeds.empty()) seeds.push_back(std::string());
    return seeds;
}

// Seeds differ per target: each target's stream starts from its own name.
unsigned StreamSeed(const TTarget& target, unsigned seed)
{
    unsigned hash = seed * 2654435761u;
    for (const char* p = target.name; *p != '\0'; ++p) hash = (hash ^ static_cast<BYTE>(*p)) * 16777619u;
    return hash;
}

// ---- running -------------------------------------------------------------------------------------

void Plant(const std::string& fault, const BYTE* data, size_t size)
{
    if (fault == "av") {
        // One byte past the input: the page behind it must stop the read.
        volatile BYTE past = data[size];
        (void)past;
    } else if (fault == "hang") {
        for (volatile unsigned spin = 0;; spin = spin + 1) {
        }
    }
}

bool RunOne(const TTarget& target, const std::string& input, long long index, const TOptions& options)
{
    CGuardedBlock block(input.size());
    BYTE* data = static_cast<BYTE*>(block.Get());
    if (!input.empty()) memcpy(data, input.data(), input.size());
    ::EnterCriticalSection(&g_current.lock);
    g_current.data = data;
    g_current.size = input.size();
    g_current.index = index;
    g_current.started = ::GetTickCount();
    // A planted hang need not keep the self-test waiting for the full limit.
    g_current.limitMs = index == options.plantAt && options.plant == "hang" ? kPlantLimitMs : options.limitMs;
    g_current.running = true;
    ::LeaveCriticalSection(&g_current.lock);

    const bool accepted = target.run(data, input.size());
    if (index == options.plantAt) Plant(options.plant, data, input.size());

    ::EnterCriticalSection(&g_current.lock);
    g_current.running = false;
    ::LeaveCriticalSection(&g_current.lock);
    return accepted;
}

std::wstring WideOf(const char* text)
{
    return std::wstring(text, text + strlen(text));
}

// Where a faulting input of the target is saved.
std::wstring SavedInputPath(const std::wstring& folder, const TTarget& target, const wchar_t* kind)
{
    return folder + L"\\fuzz-" + WideOf(target.name) + L"-" + kind + L".bin";
}

void BeginTarget(const TTarget& target, const TOptions& options)
{
    g_current.target = target.name;
    lstrcpynW(g_current.crashPath, SavedInputPath(options.out, target, L"crash").c_str(), MAX_PATH);
    lstrcpynW(g_current.hangPath, SavedInputPath(options.out, target, L"hang").c_str(), MAX_PATH);
}

// Runs the target's inputs; false when the heaps were found damaged.
bool RunTarget(const TTarget& target, const TOptions& options)
{
    BeginTarget(target, options);
    if (!options.replay.empty()) {
        const std::string input = ReadBytes(options.replay);
        RunOne(target, input, 0, options);
        Say("%-12s replayed %ls (%u bytes): no fault\n", target.name, options.replay.c_str(),
            static_cast<unsigned>(input.size()));
        return true;
    }
    const Inputs seeds = LoadSeeds(target);
    CInputSource source(target, seeds, StreamSeed(target, options.seed));
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    size_t largest = 0;
    long long accepted = 0;
    for (long long i = 0; i < options.count; ++i) {
        const std::string input = source.Next();
        largest = std::max(largest, input.size());
        if (RunOne(target, input, i, options)) ++accepted;
        if ((i & 255) == 255 && !HeapsAreSound()) {
            Say("FAULT %s: a heap is damaged after input %lld (one of the last 256)\n", target.name, i);
            return false;
        }
    }
    ::QueryPerformanceCounter(&end);
    if (!HeapsAreSound()) {
        Say("FAULT %s: a heap is damaged after the last input\n", target.name);
        return false;
    }
    const double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    Say("%-12s %8lld inputs %7.1f s %7.0f inputs/s %4.0f%% accepted %5u seeds, largest %u bytes\n", target.name,
        options.count, seconds, seconds > 0 ? double(options.count) / seconds : 0.0,
        options.count > 0 ? 100.0 * double(accepted) / double(options.count) : 0.0, static_cast<unsigned>(seeds.size()),
        static_cast<unsigned>(largest));
    return true;
}

// ---- the self-test: each target, run with a planted fault in a child process, must be caught --

struct TChild
{
    const TTarget* target;
    bool hang;
    std::wstring out;
    PROCESS_INFORMATION pi;
};

bool CheckChild(TChild& child, const TOptions& options)
{
    const char* fault = child.hang ? "hang" : "access violation";
    DWORD code = 0;
    if (::WaitForSingleObject(child.pi.hProcess, 120000) != WAIT_OBJECT_0) {
        ::TerminateProcess(child.pi.hProcess, kExitFailed);
        code = STILL_ACTIVE;
    } else {
        ::GetExitCodeProcess(child.pi.hProcess, &code);
    }
    ::CloseHandle(child.pi.hThread);
    ::CloseHandle(child.pi.hProcess);

    // The saved file must hold exactly the input the fault was planted in.
    const Inputs seeds = LoadSeeds(*child.target);
    CInputSource source(*child.target, seeds, StreamSeed(*child.target, options.seed));
    std::string planted;
    for (long long i = 0; i <= kPlantAt; ++i) planted = source.Next();
    const std::wstring saved = SavedInputPath(child.out, *child.target, child.hang ? L"hang" : L"crash");
    const bool savedRight = ::GetFileAttributesW(saved.c_str()) != INVALID_FILE_ATTRIBUTES && ReadBytes(saved) == planted;
    const DWORD wanted = child.hang ? kExitHang : kExitCrash;
    if (code != wanted || !savedRight) {
        Say("self-test %-12s planted %s NOT caught: exit %lu (wanted %lu), input %s; its log:\n", child.target->name,
            fault, static_cast<unsigned long>(code), static_cast<unsigned long>(wanted),
            savedRight ? "saved" : "not saved right");
        Emit(ReadBytes(child.out + L"\\log.txt").c_str());
        return false;
    }
    Say("self-test %-12s planted %-16s caught: exit %lu, input %lld (%u bytes) saved\n", child.target->name, fault,
        static_cast<unsigned long>(code), kPlantAt, static_cast<unsigned>(planted.size()));
    return true;
}

bool SelfTest(const std::vector<const TTarget*>& chosen, const TOptions& options)
{
    CTempFolder temp;
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(NULL, self, MAX_PATH);
    std::vector<TChild> children;
    for (const TTarget* target : chosen) {
        for (int hang = 0; hang < 2; ++hang) {
            TChild child = { target, hang != 0, {}, {} };
            child.out = temp.GetPath() + WideOf(target->name) + (hang != 0 ? L"-hang" : L"-av");
            ::CreateDirectoryW(child.out.c_str(), NULL);
            std::wstring args = L"\"" + std::wstring(self) + L"\" --target " + WideOf(target->name) +
                                L" --count " + std::to_wstring(kPlantAt + 2) + L" --seed " +
                                std::to_wstring(options.seed) + L" --plant " + (hang != 0 ? L"hang" : L"av") +
                                L" --plant-at " + std::to_wstring(kPlantAt) + L" --limit " +
                                std::to_wstring(options.limitMs) + L" --out \"" + child.out + L"\" --log \"" +
                                child.out + L"\\log.txt\"";
            STARTUPINFOW si = {};
            si.cb = sizeof(si);
            // Detached: the child reports into its log file, and holds none of this process's handles.
            if (!::CreateProcessW(self, &args[0], NULL, NULL, FALSE, DETACHED_PROCESS, NULL, NULL, &si, &child.pi)) {
                Say("self-test %s: cannot start a child\n", target->name);
                return false;
            }
            children.push_back(child);
        }
    }
    bool caught = true;
    for (TChild& child : children) caught = CheckChild(child, options) && caught;
    return caught;
}

bool ParseOptions(int argc, wchar_t** argv, TOptions& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--self-test") {
            options.selfTest = true;
            continue;
        }
        if (!hasValue) return false;
        const std::wstring value = argv[++i];
        const std::string narrow(value.begin(), value.end());
        if (arg == L"--target") {
            for (size_t begin = 0; begin <= narrow.size();) {
                const size_t comma = std::min(narrow.find(',', begin), narrow.size());
                options.targets.push_back(narrow.substr(begin, comma - begin));
                begin = comma + 1;
            }
        } else if (arg == L"--count") {
            options.count = _wtoi64(value.c_str());
        } else if (arg == L"--seed") {
            options.seed = static_cast<unsigned>(_wtoi64(value.c_str()));
        } else if (arg == L"--limit") {
            options.limitMs = static_cast<DWORD>(_wtoi64(value.c_str()));
        } else if (arg == L"--out") {
            options.out = value;
        } else if (arg == L"--replay") {
            options.replay = value;
        } else if (arg == L"--log") {
            options.log = value;
        } else if (arg == L"--plant") {
            options.plant = narrow;
        } else if (arg == L"--plant-at") {
            options.plantAt = _wtoi64(value.c_str());
        } else {
            return false;
        }
    }
    return options.count >= 0 && options.limitMs > 0;
}

} // namespace

// ---- the runner ------------------------------------------------------------------------------------

int Main(const std::vector<TTarget>& targets)
{
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    // A fault must end in the filter below, never in a dialog.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    TOptions options;
    if (!ParseOptions(argc, argv, options)) {
        Say("usage: fuzz [--target NAME[,NAME]] [--count N] [--seed S] [--limit MS] [--out DIR]\n"
            "            [--replay FILE] [--self-test]\n");
        return kExitUsage;
    }
    std::vector<const TTarget*> chosen;
    for (const TTarget& target : targets) {
        if (options.targets.empty() ||
            std::find(options.targets.begin(), options.targets.end(), target.name) != options.targets.end()) {
            chosen.push_back(&target);
        }
    }
    if (chosen.size() != (options.targets.empty() ? targets.size() : options.targets.size())) {
        Say("unknown target; the targets are:");
        for (const TTarget& target : targets) Say(" %s", target.name);
        Say("\n");
        return kExitUsage;
    }
    if (!options.log.empty()) {
        g_hLog = ::CreateFileW(options.log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS, 0, NULL);
    }
    ::InitializeCriticalSection(&g_current.lock);
    ::SetUnhandledExceptionFilter(CrashFilter);
    std::set_terminate(OnTerminate);
    ::CloseHandle(::CreateThread(NULL, 0, Watchdog, NULL, 0, NULL));
    ::OleInitialize(NULL);

    if (options.selfTest && !SelfTest(chosen, options)) return kExitFailed;
    long long inputs = 0;
    for (const TTarget* target : chosen) {
        if (!RunTarget(*target, options)) return kExitCrash;
        inputs += options.replay.empty() ? options.count : 1;
    }
    Say("fuzz: %u entry points, %lld inputs, seed %u: no crash, no hang, heaps sound\n",
        static_cast<unsigned>(chosen.size()), inputs, options.seed);
    return kExitClean;
}

// ---- files -----------------------------------------------------------------------------------------

namespace {

// A path of the build machine as this program sees it: under Wine, Unix paths are on drive Z.
std::wstring HostPath(const std::string& path)
{
    std::wstring wide(path.begin(), path.end());
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    if (!wide.empty() && wide[0] == L'\\') wide.insert(0, L"Z:");
    return wide;
}

// The string literals of a C++ source; literals with nothing but blanks between them are joined.
std::vector<std::string> Literals(const std::string& src)
{
    std::vector<std::string> found;
    size_t lastEnd = std::string::npos;
    for (size_t i = 0; i < src.size();) {
        if (src.compare(i, 2, "//") == 0) {
            i = src.find('\n', i);
        } else if (src.compare(i, 2, "/*") == 0) {
            i = src.find("*/", i + 2);
            if (i != std::string::npos) i += 2;
        } else if (src[i] == '\'') {
            for (++i; i < src.size() && src[i] != '\''; ++i) {
                if (src[i] == '\\') ++i;
            }
            ++i;
        } else if (src[i] != '"') {
            ++i;
        } else if (i > 0 && src[i - 1] == 'R') {
            const size_t open = src.find('(', i);
            if (open == std::string::npos) break;
            const std::string close = ")" + src.substr(i + 1, open - i - 1) + "\"";
            i = src.find(close, open);
            if (i != std::string::npos) i += close.size();
        } else {
            std::string text;
            size_t j = i + 1;
            for (; j < src.size() && src[j] != '"' && src[j] != '\n'; ++j) {
                if (src[j] != '\\') {
                    text += src[j];
                } else if (++j < src.size()) {
                    // Plain escapes only: "\\x41" stays "x41", which serves a seed as well.
                    const char e = src[j];
                    text += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e == '0' ? '\0' : e;
                }
            }
            // Where the literal begins, its encoding prefix (L, u8) included.
            size_t begin = i;
            while (begin > 0 && isalnum(static_cast<unsigned char>(src[begin - 1]))) --begin;
            if (lastEnd != std::string::npos && src.find_first_not_of(" \t\r\n", lastEnd) == begin) {
                found.back() += text;
            } else {
                found.push_back(text);
            }
            lastEnd = j + 1;
            i = j + 1;
        }
        if (i == std::string::npos) break;
    }
    return found;
}

std::vector<std::wstring> FilesOf(const std::wstring& folder, const wchar_t* pattern)
{
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW data;
    HANDLE hFind = ::FindFirstFileW((folder + L"\\" + pattern).c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE) return files;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) files.push_back(folder + L"\\" + data.cFileName);
    } while (::FindNextFileW(hFind, &data));
    ::FindClose(hFind);
    // The directory's order is the file system's; runs must not depend on it.
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

std::wstring SourcePath(const char* relative)
{
    return HostPath(std::string(VENEER_SOURCE_DIR) + "/" + relative);
}

std::wstring BuildPath(const char* relative)
{
    return HostPath(std::string(VENEER_BUILD_DIR) + "/" + relative);
}

std::string ReadBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size = {};
    DWORD read = 0;
    if (::GetFileSizeEx(hFile, &size) && size.QuadPart < 64 * 1024 * 1024) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        if (bytes.empty() || !::ReadFile(hFile, &bytes[0], static_cast<DWORD>(bytes.size()), &read, NULL)) read = 0;
        bytes.resize(read);
    }
    ::CloseHandle(hFile);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = bytes.empty() ||
                    (::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL) &&
                     written == bytes.size());
    ::CloseHandle(hFile);
    return ok;
}

void AddFiles(Inputs& seeds, const char* folder, const wchar_t* pattern)
{
    for (const std::wstring& file : FilesOf(SourcePath(folder), pattern)) seeds.push_back(ReadBytes(file));
}

void AddTestLiterals(Inputs& seeds, const char* folder, const std::vector<std::string>& marks,
                     const std::string& prefix, const std::string& suffix)
{
    const std::string root = prefix.substr(0, prefix.find_first_of(" >"));
    for (const wchar_t* pattern : { L"*.cpp", L"*.h" }) {
        for (const std::wstring& file : FilesOf(SourcePath(folder), pattern)) {
            for (const std::string& literal : Literals(ReadBytes(file))) {
                for (const std::string& mark : marks) {
                    if (literal.find(mark) == std::string::npos) continue;
                    const bool whole = root.empty() || literal.compare(0, root.size(), root) == 0 ||
                                       literal.compare(0, 2, "<?") == 0;
                    seeds.push_back(whole ? literal : prefix + literal + suffix);
                    break;
                }
            }
        }
    }
}

std::wstring Widen(const BYTE* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    const int length = size == 0 ? 0 : ::MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(size), NULL, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (length > 0) ::MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(size), &wide[0], length);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

// ---- the host window ---------------------------------------------------------------------------------

const DWORD kUntouched = 0x01020304;

CHostWindow::CHostWindow()
    : m_pManager(NULL), m_hCanvas(NULL), m_hBitmap(NULL), m_hOldBitmap(NULL), m_pBits(NULL), m_nPixels(0)
{
}

CHostWindow::~CHostWindow()
{
    if (m_hCanvas != NULL) {
        ::SelectObject(m_hCanvas, m_hOldBitmap);
        ::DeleteDC(m_hCanvas);
    }
    if (m_hBitmap != NULL) ::DeleteObject(m_hBitmap);
    m_pManager = NULL;
    if (m_hWnd != NULL) ::DestroyWindow(m_hWnd);
}

bool CHostWindow::Open(int cxCanvas, int cyCanvas)
{
    if (Create(NULL, L"fuzz", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, cxCanvas, cyCanvas) == NULL) return false;
    m_hCanvas = ::CreateCompatibleDC(NULL);
    m_hBitmap = Veneer::RenderUtil::CreateDib32(m_hCanvas, cxCanvas, cyCanvas, &m_pBits);
    if (m_hCanvas == NULL || m_hBitmap == NULL || m_pBits == NULL) return false;
    m_hOldBitmap = ::SelectObject(m_hCanvas, m_hBitmap);
    m_nPixels = static_cast<size_t>(cxCanvas) * static_cast<size_t>(cyCanvas);
    return true;
}

void CHostWindow::ClearCanvas()
{
    ::GdiFlush();
    std::fill(m_pBits, m_pBits + m_nPixels, kUntouched);
}

bool CHostWindow::CanvasChanged() const
{
    ::GdiFlush();
    return std::find_if(m_pBits, m_pBits + m_nPixels, [](DWORD pixel) { return pixel != kUntouched; }) !=
           m_pBits + m_nPixels;
}

void CHostWindow::Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void CHostWindow::LayoutAndPrint(int cx, int cy)
{
    ::SetWindowPos(m_hWnd, NULL, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    // As on screen: a paint that asks for another layout gets one more pass.
    for (int pass = 0; pass < 3 && m_pManager != NULL; ++pass) {
        m_pManager->UpdateLayout();
        ::SendMessageW(m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(m_hCanvas), PRF_CLIENT | PRF_CHILDREN);
        if (!m_pManager->IsUpdateNeeded()) break;
    }
}

LRESULT CHostWindow::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lRes = 0;
    if (m_pManager != NULL && m_pManager->MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

} // namespace Fuzz
