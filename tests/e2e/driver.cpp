#include "driver.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace e2e {
namespace {

// A bound stretched by HALVEXOR_TEST_PATIENCE, a whole factor (1 unless set):
// under user-mode emulation a program starts and answers many times slower.
DWORD Bound(DWORD ms) {
    static const DWORD factor = [] {
        char value[16] = {};
        const DWORD length = GetEnvironmentVariableA("HALVEXOR_TEST_PATIENCE", value, sizeof value);
        const unsigned long read = length > 0 && length < sizeof value ? std::strtoul(value, nullptr, 10) : 1;
        return read >= 1 && read <= 100 ? static_cast<DWORD>(read) : 1;
    }();
    return ms * factor;
}

// Says what a bounded wait waited for when it gave up, so that a failure shows
// its cause (also where the test expected nothing to come).
__attribute__((format(printf, 1, 2))) void Gave(const char* format, ...) {
    char line[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "[ waited ] %s\n", line);
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

struct WindowSearch {
    DWORD processId;
    const char* className;
    const char* title;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
    char className[64] = {};
    char title[256] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if (std::string(className) == search->className && std::string(title) == search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::string BuildDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of('\\'));
}

std::string ProgramDir() {
    char value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("HALVEXOR_PROGRAM_DIR", value, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return BuildDir();
    std::string dir = value;
    for (char& c : dir) {
        if (c == '/') c = '\\';
    }
    while (!dir.empty() && dir.back() == '\\') dir.pop_back();
    return dir;
}

bool CopyInto(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

ScratchDir::ScratchDir(bool withDataFolder) {
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::ostringstream name;
    name << temp << "halvexor-e2e-" << GetCurrentProcessId() << "-" << ++counter;
    path_ = name.str();
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
    if (withDataFolder) CreateDirectoryA(File("data").c_str(), nullptr);
}

ScratchDir::~ScratchDir() { RemoveTree(path_); }

std::vector<unsigned char> ScratchDir::Read(const std::string& relative) const {
    std::ifstream in(File(relative), std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>());
}

void ScratchDir::Write(const std::string& relative, const std::vector<unsigned char>& bytes) const {
    std::ofstream out(File(relative), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool ScratchDir::Exists(const std::string& relative) const {
    return GetFileAttributesA(File(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> ScratchDir::List(const std::string& relative) const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((File(relative) + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

RegistryValue::RegistryValue(const std::string& key, const char* name, DWORD type,
                             const void* data, DWORD size)
    : name_(name), old_(256, '\0') {
    if (size == 0 || RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                     nullptr, &handle_, nullptr) != ERROR_SUCCESS) {
        handle_ = nullptr;
        return;
    }
    DWORD oldSize = static_cast<DWORD>(old_.size());
    existed_ = RegQueryValueExA(handle_, name, nullptr, &oldType_,
                                reinterpret_cast<BYTE*>(&old_[0]), &oldSize) == ERROR_SUCCESS;
    old_.resize(existed_ ? oldSize : 0);
    RegSetValueExA(handle_, name, 0, type, static_cast<const BYTE*>(data), size);
}

RegistryValue::RegistryValue(const std::string& key, const char* name, const std::string& text)
    : RegistryValue(key, name, REG_SZ, text.c_str(),
                    text.empty() ? 0 : static_cast<DWORD>(text.size() + 1)) {}

RegistryValue::~RegistryValue() {
    if (handle_ == nullptr) return;
    if (existed_) {
        RegSetValueExA(handle_, name_, 0, oldType_, reinterpret_cast<const BYTE*>(old_.data()),
                       static_cast<DWORD>(old_.size()));
    } else {
        RegDeleteValueA(handle_, name_);
    }
    RegCloseKey(handle_);
}

Program::Program(const std::string& exeName, const std::string& arguments, const std::string& cwd,
                 const std::string& refuse, const std::string& typedName)
    : cwd_(cwd) {
    SetEnvironmentVariableA("HALVEXOR_PROBE_LOG", (cwd + "\\probe.log").c_str());
    SetEnvironmentVariableA("HALVEXOR_PROBE_REFUSE", refuse.c_str());
    const std::string path =
        exeName.find('\\') != std::string::npos ? exeName : ProgramDir() + "\\" + exeName;
    std::string commandLine = typedName.empty() ? "\"" + path + "\"" : typedName;
    if (!arguments.empty()) commandLine += " " + arguments;
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(typedName.empty() ? nullptr : path.c_str(), writable.data(), nullptr,
                        nullptr, FALSE, 0, nullptr, cwd.c_str(), &startup, &info_)) {
        info_ = {};
        std::fprintf(stderr, "cannot start %s (error %lu)\n", commandLine.c_str(), GetLastError());
    }
}

Program::~Program() {
    if (info_.hProcess == nullptr) return;
    if (Running()) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

DWORD Program::WaitForExit(DWORD timeoutMs) {
    if (info_.hProcess == nullptr) return STILL_ACTIVE;
    if (WaitForSingleObject(info_.hProcess, Bound(timeoutMs)) != WAIT_OBJECT_0) {
        Gave("process %lu still running after %lu ms", info_.dwProcessId, Bound(timeoutMs));
        return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool Program::Running() const {
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND Program::WaitForWindow(const char* className, const char* title, DWORD timeoutMs,
                            bool visibleOnly) const {
    const DWORD start = GetTickCount();
    do {
        WindowSearch search = {info_.dwProcessId, className, title, visibleOnly, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return search.found;
        Sleep(50);
    } while (GetTickCount() - start < Bound(timeoutMs));
    Gave("no %s%s \"%s\" of process %lu after %lu ms", visibleOnly ? "visible " : "", className,
         title, info_.dwProcessId, Bound(timeoutMs));
    return nullptr;
}

HWND Program::MainWindow(DWORD timeoutMs) const {
    // The window shows before its buttons are made and enabled by the
    // capability level.  The program counts as idle from its first wait for
    // a message, which under Wine can come before the buttons are made (seen
    // with a preloaded library slowing the start); so the last button is
    // waited for too, and then a round through the message loop.  Who needs
    // the buttons' enabled states waits for those.
    if (info_.hProcess == nullptr || WaitForInputIdle(info_.hProcess, Bound(timeoutMs)) != 0) {
        Gave("process %lu not idle after %lu ms", info_.dwProcessId, Bound(timeoutMs));
        return nullptr;
    }
    const DWORD start = GetTickCount();
    HWND main = WaitForWindow("WinAPIMainClass", "Halvexor", timeoutMs);
    while (main != nullptr && GetDlgItem(main, 40009) == nullptr) {  // "Zrušit akci", made last
        if (GetTickCount() - start >= Bound(timeoutMs)) {
            Gave("the main window has no button \"Zrušit akci\" after %lu ms", Bound(timeoutMs));
            return nullptr;
        }
        Sleep(20);
    }
    if (main == nullptr || !Settle(main, timeoutMs)) return nullptr;
    return main;
}



DWORD Program::Close() {
    HWND main = WaitForWindow("WinAPIMainClass", "Halvexor", 5000, false);
    if (main == nullptr) return WaitForExit(5000);
    PostMessageA(main, WM_CLOSE, 0, 0);
    HWND question = WaitForBox("Halvexor", 5000);
    if (question != nullptr) Press(question, IDYES);
    return WaitForExit(10000);
}

std::vector<std::string> Program::Requests() const {
    std::vector<std::string> lines;
    std::ifstream in(cwd_ + "\\probe.log");
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

double Program::CpuMs() const {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(info_.hProcess, &created, &exited, &kernel, &user)) return -1;
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

namespace {

bool WriteSettings(const ScratchDir& dir, const std::vector<unsigned char>& settings) {
    if (settings.empty()) return false;
    dir.Write("data\\settings.sf", settings);
    return true;
}

}  // namespace

Session::Session(const std::vector<unsigned char>& settings, const std::string& refuse)
    : settingsWritten_(WriteSettings(dir, settings)),
      program("halvexor_probe.exe", "", dir.Path(), refuse),
      main(program.MainWindow()) {}

HWND Session::OpenDialog(WPARAM command, const char* caption) const {
    PostMessageA(main, WM_COMMAND, command, 0);
    return program.WaitForWindow("#32770", caption);
}

bool Session::Cancel(HWND dialog) const {
    Press(dialog, 1021);
    return WaitUntilGone(dialog);
}

std::string Session::AnswerBox(const char* caption) const {
    HWND box = program.WaitForBox(caption);
    if (box == nullptr) return "(no box)";
    const std::string text = BoxText(box);
    Press(box, IDOK);
    WaitUntilGone(box);
    return text;
}

const MainButton kMainButtons[11] = {
    {"Konec", 40001, {240, 195, 340, 225}},
    {"Spořič obrazovky", 40021, {10, 10, 100, 32}},
    {"Vypnout monitor", 40015, {10, 35, 100, 57}},
    {"Zamknout", 40005, {10, 60, 100, 82}},
    {"Odhlásit se", 40002, {10, 85, 100, 107}},
    {"Restartovat", 40004, {10, 110, 100, 132}},
    {"Hibernovat", 40012, {10, 135, 100, 157}},
    {"Úsporný režim", 40014, {10, 160, 100, 182}},
    {"Vypnout", 40003, {10, 185, 100, 207}},
    {"Načasovat akci", 40006, {110, 10, 200, 32}},
    {"Zrušit akci", 40009, {110, 35, 200, 57}},
};

std::string BoxText(HWND box) { return Text(box, 0xFFFF); }

void Press(HWND window, int buttonId) { PostMessageA(window, WM_COMMAND, buttonId, 0); }

void Click(HWND dialog, int id, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, timeoutMs, &result);
}

// A control of another process is asked with a bound: a plain send would wait
// for as long as that process does not answer.
std::string Text(HWND dialog, int id) {
    char text[1024] = {};
    if (SendTo(dialog, id, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)) < 0) {
        return "(no answer)";
    }
    return text;
}

LRESULT SendTo(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(GetDlgItem(dialog, id), message, wParam, lParam, SMTO_NORMAL,
                             Bound(5000), &result)) {
        Gave("control %d of window %p did not answer message %#x within %lu ms", id,
             static_cast<void*>(dialog), message, Bound(5000));
        return -1;
    }
    return static_cast<LRESULT>(result);
}

void SetText(HWND dialog, int id, const char* text) {
    SendTo(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

bool Ticked(HWND dialog, int id) { return SendTo(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::vector<unsigned char> SettingsFile(int ask, int countdown, int clock, int warn, int seconds) {
    std::vector<unsigned char> bytes;
    for (int value : {ask, countdown, clock, warn, seconds}) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<unsigned char>(static_cast<unsigned>(value) >> shift));
        }
    }
    return bytes;
}

bool Settle(HWND window, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    for (int i = 0; i < 2; ++i) {
        if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, Bound(timeoutMs), &result)) {
            Gave("window %p did not settle within %lu ms", static_cast<void*>(window), Bound(timeoutMs));
            return false;
        }
    }
    return true;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= Bound(timeoutMs)) {
            Gave("window %p still there after %lu ms", static_cast<void*>(window), Bound(timeoutMs));
            return false;
        }
        Sleep(50);
    }
    return true;
}

}  // namespace e2e
