// Drives the real program from outside: a scratch working directory of its
// own, the program started as a separate process, its message boxes found,
// read and answered, its files and exit code checked.  Every wait is bounded;
// HALVEXOR_TEST_PATIENCE, a whole factor, stretches the bounds for a program
// that runs under user-mode emulation.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The folder the test executables were built in.
std::string BuildDir();

// The folder of the programs under test: HALVEXOR_PROGRAM_DIR (a host path
// such as "Z:/work/build/win32" is taken as it is), else BuildDir().
std::string ProgramDir();

// Copies a file; false when it could not be done.
bool CopyInto(const std::string& from, const std::string& to);

// A fresh, empty working directory that is removed again with the object.
class ScratchDir {
public:
    explicit ScratchDir(bool withDataFolder = true);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& relative) const { return path_ + "\\" + relative; }

    // Whole-file helpers; Read gives an empty vector for a missing file.
    std::vector<unsigned char> Read(const std::string& relative) const;
    void Write(const std::string& relative, const std::vector<unsigned char>& bytes) const;
    bool Exists(const std::string& relative) const;
    // The names in a folder, "." and ".." left out.
    std::vector<std::string> List(const std::string& relative) const;

private:
    std::string path_;
};

// A value under HKEY_CURRENT_USER, set for as long as the object lives; then
// what was there before is put back, or the value removed.  Data of size 0
// (an empty text) leaves the value as the prefix has it.
class RegistryValue {
public:
    RegistryValue(const std::string& key, const char* name, DWORD type, const void* data,
                  DWORD size);
    RegistryValue(const std::string& key, const char* name, const std::string& text);
    ~RegistryValue();
    RegistryValue(const RegistryValue&) = delete;
    RegistryValue& operator=(const RegistryValue&) = delete;

private:
    const char* name_;
    HKEY handle_ = nullptr;
    bool existed_ = false;
    DWORD oldType_ = 0;
    std::string old_;
};

// The Windows version Wine reports to one executable, for as long as the
// object lives ("winxp", "win2k", "vista", "winxp64", "nt40", ...).
class PretendVersion : public RegistryValue {
public:
    PretendVersion(const std::string& exeName, const std::string& version)
        : RegistryValue("Software\\Wine\\AppDefaults\\" + exeName, "Version", version) {}
};

// One run of a program under test.
class Program {
public:
    // Starts ProgramDir()\exeName (or exeName itself when it is a path) with
    // the given argument text in `cwd`.  The probe build writes its power
    // requests to cwd\probe.log; `refuse` lists the requests it refuses (see
    // tests/support/power_probe.h).  `typedName` (as typed at a prompt,
    // unquoted) stands first on the command line in place of the quoted path.
    Program(const std::string& exeName, const std::string& arguments, const std::string& cwd,
            const std::string& refuse = "", const std::string& typedName = "");
    ~Program();  // ends the process if it is still running
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DWORD Id() const { return info_.dwProcessId; }

    // The exit code, or STILL_ACTIVE when the process did not end in time.
    DWORD WaitForExit(DWORD timeoutMs = 15000);
    bool Running() const;

    // A top-level window of this process with the given class and title, once
    // it is visible (or also hidden); nullptr when none came within the time.
    HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs = 15000,
                       bool visibleOnly = true) const;

    // The main window, once the program has started (it has waited for input
    // and its message loop runs) and the window shows with all its buttons.
    HWND MainWindow(DWORD timeoutMs = 15000) const;



    // Closes the program as a user does: the close question answered Yes.
    // Returns the exit code.
    DWORD Close();

    // A message box (a "#32770" window) of this process with that caption.
    HWND WaitForBox(const char* caption, DWORD timeoutMs = 15000) const {
        return WaitForWindow("#32770", caption, timeoutMs);
    }

    // The power requests the probe build made, one per line.
    std::vector<std::string> Requests() const;

    // Processor time the process has used so far, user and kernel, in ms.
    double CpuMs() const;

private:
    std::string cwd_;
    PROCESS_INFORMATION info_ = {};
};

// The probe build started without arguments in a scratch folder of its own,
// with the given settings file (none written when empty), its window up.
struct Session {
    explicit Session(const std::vector<unsigned char>& settings = {},
                     const std::string& refuse = "");

    // Sends a command to the main window and waits for the dialog it opens.
    HWND OpenDialog(WPARAM command, const char* caption) const;
    // Presses a dialog's Cancel (1021) and waits until it is gone.
    bool Cancel(HWND dialog) const;
    // The text of the next box with that caption, answered with OK; "(no
    // box)" when none came.
    std::string AnswerBox(const char* caption) const;

    ScratchDir dir;

private:
    bool settingsWritten_;  // before the program starts

public:
    Program program;
    HWND main;
};

// The main window's buttons as a user meets them: text, id, client rectangle.
struct MainButton {
    const char* text;
    int id;
    RECT rect;
};
extern const MainButton kMainButtons[11];

// The text of a message box.
std::string BoxText(HWND box);

// Presses a button of a box or dialog by posting its command (a sent answer
// can make Wine lose the next posted message).
void Press(HWND window, int buttonId);

// Clicks a button, check box or radio button of a dialog as a user does (the
// box flips, then its handler runs) and returns once the handler is done, or
// after timeoutMs when the handler raised a box of its own.
void Click(HWND dialog, int id, DWORD timeoutMs = 1000);

// Messages to a control of the program, each with a bound: a plain send would
// wait for as long as the program does not answer.  SendTo gives -1 (and says
// so) when it did not answer in time.
LRESULT SendTo(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
void SetText(HWND dialog, int id, const char* text);
// The text of a dialog's control, and whether a box or radio button is ticked.
std::string Text(HWND dialog, int id);
bool Ticked(HWND dialog, int id);

// The settings file of the given five values, as the program writes it.
std::vector<unsigned char> SettingsFile(int ask, int countdown, int clock, int warn, int seconds);

// Waits until the thread of `window` has handled every message posted to it
// before the call (or has entered a modal box or dialog meanwhile); false
// when it did not within the time.  Two messages sent one after the other do
// it: a thread takes sent messages before posted ones, so the second is
// answered only once the posted messages ahead of it have been dispatched.
bool Settle(HWND window, DWORD timeoutMs = 10000);

// Waits until the window is gone.
bool WaitUntilGone(HWND window, DWORD timeoutMs = 10000);

}  // namespace e2e
