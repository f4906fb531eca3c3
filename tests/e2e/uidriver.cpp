// Reads and drives the address list program's windows from outside its process, as a test would
// see them. One command a line on standard input, one JSON reply a line on standard output:
//   window TIMEOUT_MS                  the program's main window (class TForm), waited for
//   children HWND                      the child windows in Z order: class, text, enabled, rect
//   list HWND                          a list box's entries and which are selected
//   select HWND INDEX...               selects exactly these entries of a list box
//   click HWND                         posts BM_CLICK to a button
//   close HWND                         posts WM_SYSCOMMAND/SC_CLOSE (the close box)
//   focus                              the window that has the keyboard focus
//   msgbox TIMEOUT_MS                  the program's open message box: caption, text, buttons, kind
//   gone TIMEOUT_MS                    waits until the main window no longer exists
//   hold PATH / release                keeps a file open without sharing, then lets it go
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
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

std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return std::wstring();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, 2000, &copied);
    text.resize(static_cast<std::size_t>(copied));
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

struct Search {
    std::wstring ClassName;
    DWORD ProcessId;
    HWND Found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (IsWindowVisible(window) && ClassOf(window) == search.ClassName && (!search.ProcessId || process == search.ProcessId)) {
        search.Found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindWindowOfClass(const wchar_t* className, DWORD processId)
{
    Search search{className, processId, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND MainWindow()
{
    return FindWindowOfClass(L"TForm", 0);
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
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    std::string items = "[", selected = "[";
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
        items += (i ? "," : "") + Json(text);
        if (SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
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

DWORD ProcessOf(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

HANDLE HeldFile = INVALID_HANDLE_VALUE;

std::string Run(const std::string& line)
{
    std::istringstream in(line);
    std::string command;
    in >> command;
    if (command == "window") {
        DWORD timeout = 10000;
        in >> timeout;
        HWND window = WaitFor(MainWindow, timeout);
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
        SendMessageW(list, LB_SETSEL, FALSE, -1);
        int index;
        while (in >> index)
            SendMessageW(list, LB_SETSEL, TRUE, index);
        return "{\"ok\":true}";
    }
    if (command == "click" || command == "close") {
        std::string hwnd;
        in >> hwnd;
        const BOOL posted = command == "click" ? PostMessageW(ParseHandle(hwnd), BM_CLICK, 0, 0)
                                               : PostMessageW(ParseHandle(hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
        return posted ? "{\"ok\":true}" : "{\"error\":\"not posted\"}";
    }
    if (command == "focus") {
        HWND main = MainWindow();
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(main ? GetWindowThreadProcessId(main, nullptr) : 0, &info);
        return "{\"hwnd\":" + Handle(info.hwndFocus) + ",\"class\":" + Json(info.hwndFocus ? ClassOf(info.hwndFocus) : L"") +
               ",\"parent\":" + Handle(info.hwndFocus ? GetParent(info.hwndFocus) : nullptr) + "}";
    }
    if (command == "msgbox") {
        DWORD timeout = 10000;
        in >> timeout;
        HWND main = MainWindow();
        const DWORD process = main ? ProcessOf(main) : 0;
        HWND box = WaitFor([&] { return FindWindowOfClass(L"#32770", process); }, timeout);
        if (!box)
            return "{\"error\":\"no message box\"}";
        Sleep(200);  // let it paint before its icon is read
        return DescribeMessageBox(box);
    }
    if (command == "gone") {
        DWORD timeout = 10000;
        in >> timeout;
        const DWORD start = GetTickCount();
        while (MainWindow()) {
            if (GetTickCount() - start >= timeout)
                return "{\"gone\":false}";
            Sleep(50);
        }
        return "{\"gone\":true}";
    }
    if (command == "hold") {
        std::string path;
        std::getline(in >> std::ws, path);
        HeldFile = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        return HeldFile == INVALID_HANDLE_VALUE ? "{\"error\":" + std::to_string(GetLastError()) + "}" : "{\"ok\":true}";
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
    return 0;
}
