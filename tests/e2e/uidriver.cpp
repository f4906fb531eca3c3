// Reads and drives the address list program's windows from outside its process, as a test would
// see them. One command a line on standard input, one JSON reply a line on standard output. The
// driver starts the program itself, so that it knows the program's process and reads only that
// process's windows; every wait has a bound, and no message it sends can hang on a hung window.
//   start DIR EXE [NAME=VALUE...]      starts EXE in the working directory DIR, with these added to
//                                      its environment (fields separated by tabs): the process id
//   window PID TIMEOUT_MS              the program's main window (a dialog that no window owns), waited for
//   children HWND                      the child windows in Z order: class, text, enabled, rect
//   list HWND                          a list box's entries and which are selected
//   select HWND INDEX...               selects exactly these entries of a list box
//   click HWND                         posts BM_CLICK to a button
//   close HWND                         posts WM_SYSCOMMAND/SC_CLOSE (the close box)
//   move HWND X Y                      moves a window to X, Y on the screen, as a user drags it
//   focus PID                          the window that has the program's keyboard focus
//   msgbox PID TIMEOUT_MS              the program's open message box (a dialog its main window owns):
//                                      caption, text, buttons, kind
//   gone HWND TIMEOUT_MS               waits until the window no longer exists
//   wait PID TIMEOUT_MS                waits until the program has ended: its exit code
//   kill PID                           ends the program at once, as a crash or a power loss would
//   answers HWND                       whether the window handles a message within a second, as
//                                      Windows asks before it marks a window "Not Responding"; its title
//   hold PATH / release                keeps a file open without sharing, then lets it go
//   hold-reading PATH                  keeps a file open for reading, shared with readers only, as
//                                      another program reading it does
//   rename FROM<TAB>TO                 renames a file or folder as another Windows user would
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
    return out;
}

std::string Json(const std::wstring& text)
{
    std::string out = "\"";
    for (unsigned char c : Utf8(text)) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string Handle(HWND window)
{
    return std::to_string(reinterpret_cast<std::uintptr_t>(window));
}

HWND ParseHandle(const std::string& text)
{
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::stoull(text)));
}

// A message to another process's window that gives up after a while rather than wait on a hung
// program; LB_ERR when it gave up.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result))
        return LB_ERR;
    return static_cast<LRESULT>(result);
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window)
{
    const LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
    return text;
}

std::string RectOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    std::ostringstream out;
    out << "[" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "]";
    return out.str();
}

// The program's windows are dialogs: the main window, which no window owns, and the message
// boxes, which it owns.
struct Search {
    DWORD ProcessId;
    bool Owned;
    HWND Found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (IsWindowVisible(window) && ClassOf(window) == L"#32770" && process == search.ProcessId &&
        (GetWindow(window, GW_OWNER) != nullptr) == search.Owned) {
        search.Found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog(DWORD processId, bool owned)
{
    Search search{processId, owned, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}


template <class Probe>
HWND WaitFor(Probe probe, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = probe())
            return found;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(50);
    }
}

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

std::string DescribeChildren(HWND parent)
{
    std::string out = "{\"children\":[";
    bool first = true;
    for (HWND child : Children(parent)) {
        out += first ? "" : ",";
        first = false;
        out += "{\"hwnd\":" + Handle(child) + ",\"class\":" + Json(ClassOf(child)) + ",\"text\":" + Json(TextOf(child)) +
               ",\"enabled\":" + (IsWindowEnabled(child) ? "true" : "false") + ",\"visible\":" +
               (IsWindowVisible(child) ? "true" : "false") + ",\"rect\":" + RectOf(child) + "}";
    }
    return out + "]}";
}

std::string DescribeList(HWND list)
{
    const LRESULT count = Send(list, LB_GETCOUNT, 0, 0);
    std::string items = "[", selected = "[";
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT copied = Send(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
        items += (i ? "," : "") + Json(text);
        if (Send(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
            selected += (selected.size() > 1 ? "," : "") + std::to_string(i);
    }
    return "{\"count\":" + std::to_string(count) + ",\"items\":" + items + "],\"selected\":" + selected + "]}";
}

// The kind of a message box, told by its icon: icons do not cross processes, so the icon's pixels
// on the screen are compared with the system's icons drawn here on the same background.
std::string IconKind(HWND box)
{
    HWND iconWindow = nullptr;
    for (HWND child : Children(box))
        if (ClassOf(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            iconWindow = child;
    if (!iconWindow)
        return "none";
    RECT r{};
    GetWindowRect(iconWindow, &r);
    const int size = GetSystemMetrics(SM_CXICON);
    HDC screen = GetDC(nullptr);
    HDC shown = CreateCompatibleDC(screen), drawn = CreateCompatibleDC(screen);
    HBITMAP shownBits = CreateCompatibleBitmap(screen, size, size), drawnBits = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ oldShown = SelectObject(shown, shownBits), oldDrawn = SelectObject(drawn, drawnBits);
    BitBlt(shown, 0, 0, size, size, screen, r.left, r.top, SRCCOPY);
    const COLORREF ground = GetPixel(shown, 0, 0);
    struct Candidate { const char* Kind; LPCWSTR Icon; } candidates[] = {
        {"error", IDI_ERROR}, {"information", IDI_INFORMATION}, {"confirmation", IDI_QUESTION}, {"warning", IDI_WARNING}};
    std::string best = "unknown";
    long bestDistance = -1;
    for (const Candidate& candidate : candidates) {
        HBRUSH brush = CreateSolidBrush(ground);
        RECT all{0, 0, size, size};
        FillRect(drawn, &all, brush);
        DeleteObject(brush);
        DrawIconEx(drawn, 0, 0, LoadIconW(nullptr, candidate.Icon), size, size, 0, nullptr, DI_NORMAL);
        long distance = 0;
        for (int y = 0; y < size; y += 2)
            for (int x = 0; x < size; x += 2) {
                const COLORREF a = GetPixel(shown, x, y), b = GetPixel(drawn, x, y);
                distance += std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) + std::abs(GetBValue(a) - GetBValue(b));
            }
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = candidate.Kind;
        }
    }
    SelectObject(shown, oldShown);
    SelectObject(drawn, oldDrawn);
    DeleteObject(shownBits);
    DeleteObject(drawnBits);
    DeleteDC(shown);
    DeleteDC(drawn);
    ReleaseDC(nullptr, screen);
    return best;
}

std::string DescribeMessageBox(HWND box)
{
    std::wstring text;
    std::string buttons = "[";
    for (HWND child : Children(box)) {
        const std::wstring className = ClassOf(child);
        if (className == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            text += TextOf(child);
        else if (className == L"Button" && IsWindowVisible(child))
            buttons += (buttons.size() > 1 ? "," : "") + std::string("{\"hwnd\":") + Handle(child) + ",\"text\":" + Json(TextOf(child)) + "}";
    }
    return "{\"hwnd\":" + Handle(box) + ",\"caption\":" + Json(TextOf(box)) + ",\"text\":" + Json(text) +
           ",\"buttons\":" + buttons + "],\"kind\":\"" + IconKind(box) + "\"}";
}

// The programs this driver started, by process id.
std::map<DWORD, HANDLE> Started;

HANDLE StartedProcess(DWORD id)
{
    const auto found = Started.find(id);
    return found == Started.end() ? nullptr : found->second;
}

// The driver's own environment with Additions (NAME=VALUE) put in, as an environment block.
std::wstring EnvironmentWith(const std::vector<std::wstring>& additions)
{
    std::wstring block;
    wchar_t* own = GetEnvironmentStringsW();
    for (const wchar_t* entry = own; *entry; entry += wcslen(entry) + 1)
        block.append(entry).push_back(L'\0');
    FreeEnvironmentStringsW(own);
    for (const std::wstring& addition : additions)
        block.append(addition).push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

// The fields of a start command are separated by tabs, so that paths may hold blanks.
std::string Start(std::istringstream& in)
{
    std::vector<std::string> fields;
    for (std::string field; std::getline(in, field, '\t');)
        if (!field.empty())
            fields.push_back(field);
    if (fields.size() < 2)
        return "{\"error\":\"start DIR EXE [NAME=VALUE...]\"}";
    const std::string directory = fields[0], exe = fields[1];
    std::vector<std::wstring> additions;
    for (std::size_t i = 2; i < fields.size(); ++i)
        additions.push_back(Wide(fields[i]));
    std::wstring commandLine = L"\"" + Wide(exe) + L"\"";
    std::wstring environment = EnvironmentWith(additions);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, &environment[0],
                        Wide(directory).c_str(), &startup, &process))
        return "{\"error\":" + std::to_string(GetLastError()) + "}";
    CloseHandle(process.hThread);
    Started[process.dwProcessId] = process.hProcess;
    return "{\"pid\":" + std::to_string(process.dwProcessId) + "}";
}

std::string WaitForExit(DWORD id, DWORD timeout)
{
    const HANDLE process = StartedProcess(id);
    if (!process)
        return "{\"error\":\"not started here\"}";
    if (WaitForSingleObject(process, timeout) != WAIT_OBJECT_0)
        return "{\"running\":true}";
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return "{\"exit\":" + std::to_string(code) + "}";
}

HANDLE HeldFile = INVALID_HANDLE_VALUE;

std::string Run(const std::string& line)
{
    std::istringstream in(line);
    std::string command;
    in >> command;
    in >> std::ws;
    if (command == "start")
        return Start(in);
    if (command == "window") {
        DWORD process = 0, timeout = 10000;
        in >> process >> timeout;
        HWND window = WaitFor([&] { return FindDialog(process, false); }, timeout);
        if (!window)
            return "{\"error\":\"no window\"}";
        return "{\"hwnd\":" + Handle(window) + ",\"caption\":" + Json(TextOf(window)) + ",\"rect\":" + RectOf(window) + "}";
    }
    if (command == "children") {
        std::string hwnd;
        in >> hwnd;
        return DescribeChildren(ParseHandle(hwnd));
    }
    if (command == "list") {
        std::string hwnd;
        in >> hwnd;
        return DescribeList(ParseHandle(hwnd));
    }
    if (command == "select") {
        std::string hwnd;
        in >> hwnd;
        HWND list = ParseHandle(hwnd);
        Send(list, LB_SETSEL, FALSE, -1);
        int index;
        while (in >> index)
            Send(list, LB_SETSEL, TRUE, index);
        return "{\"ok\":true}";
    }
    if (command == "click" || command == "close") {
        std::string hwnd;
        in >> hwnd;
        const BOOL posted = command == "click" ? PostMessageW(ParseHandle(hwnd), BM_CLICK, 0, 0)
                                               : PostMessageW(ParseHandle(hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
        return posted ? "{\"ok\":true}" : "{\"error\":\"not posted\"}";
    }
    if (command == "move") {
        std::string hwnd;
        int x = 0, y = 0;
        in >> hwnd >> x >> y;
        return SetWindowPos(ParseHandle(hwnd), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
                   ? "{\"ok\":true}"
                   : "{\"error\":\"not moved\"}";
    }
    if (command == "focus") {
        DWORD process = 0;
        in >> process;
        HWND main = FindDialog(process, false);
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!main || !GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info))
            return "{\"hwnd\":0,\"class\":\"\",\"parent\":0}";
        return "{\"hwnd\":" + Handle(info.hwndFocus) + ",\"class\":" + Json(info.hwndFocus ? ClassOf(info.hwndFocus) : L"") +
               ",\"parent\":" + Handle(info.hwndFocus ? GetParent(info.hwndFocus) : nullptr) + "}";
    }
    if (command == "msgbox") {
        DWORD process = 0, timeout = 10000;
        in >> process >> timeout;
        HWND box = WaitFor([&] { return FindDialog(process, true); }, timeout);
        if (!box)
            return "{\"error\":\"no message box\"}";
        Sleep(200);  // let it paint before its icon is read
        return DescribeMessageBox(box);
    }
    if (command == "answers") {
        std::string hwnd;
        in >> hwnd;
        const HWND window = ParseHandle(hwnd);
        DWORD_PTR result = 0;
        const bool answers = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 1000, &result) != 0;
        wchar_t caption[512] = L"";
        GetWindowTextW(window, caption, 512);  // the caption as the system keeps it: no message to the window
        return std::string("{\"answers\":") + (answers ? "true" : "false") + ",\"caption\":" + Json(caption) + "}";
    }
    if (command == "gone") {
        std::string hwnd;
        DWORD timeout = 10000;
        in >> hwnd >> timeout;
        const HWND window = ParseHandle(hwnd);
        const bool gone = WaitFor([&] { return IsWindow(window) ? nullptr : window; }, timeout) != nullptr;
        return gone ? "{\"gone\":true}" : "{\"gone\":false}";
    }
    if (command == "wait") {
        DWORD process = 0, timeout = 10000;
        in >> process >> timeout;
        return WaitForExit(process, timeout);
    }
    if (command == "kill") {
        DWORD process = 0;
        in >> process;
        const HANDLE handle = StartedProcess(process);
        if (!handle || !TerminateProcess(handle, 9))
            return "{\"error\":\"not killed\"}";
        WaitForSingleObject(handle, 10000);
        return "{\"ok\":true}";
    }
    if (command == "hold" || command == "hold-reading") {
        std::string path;
        std::getline(in >> std::ws, path);
        const bool reading = command == "hold-reading";
        HeldFile = CreateFileW(Wide(path).c_str(), reading ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE,
                               reading ? FILE_SHARE_READ : 0, nullptr, reading ? OPEN_EXISTING : OPEN_ALWAYS, 0, nullptr);
        return HeldFile == INVALID_HANDLE_VALUE ? "{\"error\":" + std::to_string(GetLastError()) + "}" : "{\"ok\":true}";
    }
    if (command == "rename") {
        std::string from, to;
        std::getline(in, from, '\t');
        std::getline(in, to);
        if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), 0))
            return "{\"ok\":true}";
        return "{\"error\":" + std::to_string(GetLastError()) + "}";
    }
    if (command == "release") {
        if (HeldFile != INVALID_HANDLE_VALUE)
            CloseHandle(HeldFile);
        HeldFile = INVALID_HANDLE_VALUE;
        return "{\"ok\":true}";
    }
    return "{\"error\":\"unknown command\"}";
}

}  // namespace

int main()
{
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::cout << Run(line) << std::endl;
    }
    // A test that ended early leaves no program of its own behind.
    for (const auto& started : Started)
        if (WaitForSingleObject(started.second, 0) == WAIT_TIMEOUT)
            TerminateProcess(started.second, 9);
    return 0;
}
