// A Windows host for the editor, run under wine by the tests. It loads a plug-in module through
// "main", opens editors in top-level windows of its own, drives them with real window messages
// and reports what happened, one line each, on standard output:
//
//   call OPCODE INDEX VALUE OPT   a callback from the plug-in
//   fact NAME VALUE...            the answer to a query command
//   mark NAME                     an echo, for the test to find its place
//
// Commands come one per line from the script file given after the module:
//
//   dpiaware                 the process says it draws for the screen's DPI itself (before any window)
//   sizewindow 0|1           whether the host says it can size its window, and does (at first 0)
//   create E                 a new effect in slot E (0 or 1), and its host window
//   rect E                   fact rect WIDTH HEIGHT from effEditGetRect; the host window grows to hold it
//   scale E FACTOR           the host announces its windows' content scale: fact scale ANSWER
//   open E [null|bogus]      effEditOpen with the host window (or a null or invalid one): fact open RESULT
//   close E / idle E         effEditClose / effEditIdle
//   destroy E                effClose, with whatever is open
//   program E N              effSetProgram
//   window E                 fact window EXISTS CLASS TITLE WIDTH HEIGHT PARENT_IS_HOST CHILDREN
//   registered               fact registered 0|1: the class of the last window fact, in the plug-in module
//   windows                  fact windows N: the windows of this thread, host windows included
//   toplevel                 fact toplevel N: the top-level windows of every thread of the process,
//                            hidden ones included
//   press E X Y BUTTON MODS / release E X Y BUTTON MODS / move E X Y
//   drag E X Y DX DY BUTTON MODS   press, ten moves 20 ms apart, release
//   cursor                   fact cursor X Y HIDDEN (screen position; HIDDEN 1 when not showing)
//   edit                     fact edit OPEN WIDTH HEIGHT FONT_HEIGHT (of the open text field)
//   type TEXT / key CODE / unfocus   characters and keys into the open text field, or focus away
//   pump MS                  messages and timers for MS milliseconds
//   dump E FILE              the editor's pixels as a binary PPM
//   objects                  fact objects GDI: the GDI objects alive in the process (under wine)
//   answer file PATH|cancel  the next dialog the plug-in opens is a file dialog: PATH goes in its
//                            file name field and OK is pressed, or Cancel is
//   answer box ok|cancel     the next dialog is a message box: that button is pressed
//   mark NAME
//
// The plug-in's dialogs are modal: they run inside the press that opened them, so they are
// answered from a timer of this thread, which their loop runs. Each dialog seen prints
//
//   fact dialog TITLE        (spaces as "_"), then for a message box
//   fact message TEXT        (spaces as "_", line breaks as "|")
//
// A dialog the script did not expect prints "fact unexpected" and gets Cancel; one that stays
// two seconds after its answer is seen again.
#include "PluginCalls.h"
#include "PluginModule.h"
#include "Vst2Abi.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kSlots = 2;
constexpr const char* kHostClass = "ZorvaneTestHost";

struct Slot {
    AEffect* effect = nullptr;
    HWND host = nullptr;
};

Slot g_slots[kSlots];
PluginModule::Entry g_entry = nullptr;
// The plug-in module: its window class is registered under its instance.
HINSTANCE g_module = nullptr;
std::string g_className;

bool g_sizesWindow = false;

// Grows the host window of `slot` so that its client area holds `width` x `height`, as hosts
// fit their windows to the editor.
void fitHost(int slot, int width, int height)
{
    HWND host = g_slots[slot].host;
    RECT client{};
    if (!host || !GetClientRect(host, &client) || (client.right >= width && client.bottom >= height))
        return;
    RECT frame{0, 0, std::max<LONG>(client.right, width), std::max<LONG>(client.bottom, height)};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(host, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
}

VstIntPtr VST2_CALL hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (opcode != audioMasterGetTime && opcode != audioMasterIdle)
        std::printf("call %d %d %lld %.6f\n", opcode, index, static_cast<long long>(value), opt);
    switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterCanDo: return g_sizesWindow && ptr && std::strcmp(static_cast<const char*>(ptr), "sizeWindow") == 0;
    case audioMasterSizeWindow:
        if (!g_sizesWindow)
            return 0;
        for (int slot = 0; slot < kSlots; ++slot)
            if (g_slots[slot].effect == effect)
                fitHost(slot, index, static_cast<int>(value));
        return 1;
    default: return 0;
    }
}

VstIntPtr dispatch(int slot, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0.0f)
{
    AEffect* effect = g_slots[slot].effect;
    return effect ? plugin_calls::dispatch(effect, opcode, index, value, ptr, opt) : 0;
}

// The buttons the script holds down. Its presses are messages, not the system's input, so the
// moves the system makes of its own (when the editor puts the pointer back) would say no button
// is held: they get the script's buttons, as a real hand's would carry them.
int g_heldButtons = 0;

// The key-state word of a mouse message: buttons held and modifiers (1 Control, 2 Shift).
WPARAM keys(int buttons, int modifiers)
{
    WPARAM state = 0;
    state |= buttons & 1 ? MK_LBUTTON : 0;
    state |= buttons & 2 ? MK_RBUTTON : 0;
    state |= buttons & 4 ? MK_MBUTTON : 0;
    state |= modifiers & 1 ? MK_CONTROL : 0;
    state |= modifiers & 2 ? MK_SHIFT : 0;
    return state;
}

void pump(int milliseconds)
{
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_MOUSEMOVE)
                message.wParam |= keys(g_heldButtons, 0);
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(1);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

HWND editorWindow(int slot)
{
    return g_slots[slot].host ? FindWindowExA(g_slots[slot].host, nullptr, nullptr, nullptr) : nullptr;
}

int childCount(HWND parent)
{
    int count = 0;
    for (HWND child = FindWindowExA(parent, nullptr, nullptr, nullptr); child; child = FindWindowExA(parent, child, nullptr, nullptr))
        ++count;
    return count;
}

LPARAM point(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

// Puts the real pointer where the message says: the editor reads it when it takes the mouse.
void placeCursor(HWND window, int x, int y)
{
    RECT frame;
    GetWindowRect(window, &frame);
    SetCursorPos(frame.left + x, frame.top + y);
}

void mouse(int slot, bool down, int x, int y, int button, int modifiers)
{
    HWND window = editorWindow(slot);
    if (!window)
        return;
    placeCursor(window, x, y);
    g_heldButtons = down ? g_heldButtons | button : g_heldButtons & ~button;
    const UINT message = button == 2 ? (down ? WM_RBUTTONDOWN : WM_RBUTTONUP)
                       : button == 4 ? (down ? WM_MBUTTONDOWN : WM_MBUTTONUP)
                                     : (down ? WM_LBUTTONDOWN : WM_LBUTTONUP);
    SendMessageA(window, message, keys(down ? button : 0, modifiers), point(x, y));
}

void move(int slot, int x, int y, int buttons, int modifiers)
{
    if (HWND window = editorWindow(slot))
        SendMessageA(window, WM_MOUSEMOVE, keys(buttons, modifiers), point(x, y));
}

HWND g_edit = nullptr;

BOOL CALLBACK findEdit(HWND window, LPARAM)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, "Edit") == 0 && IsWindowVisible(window)) {
        g_edit = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK countWindow(HWND window, LPARAM count)
{
    *reinterpret_cast<int*>(count) += 1 + childCount(window);
    return TRUE;
}

BOOL CALLBACK countTopLevel(HWND window, LPARAM count)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    *reinterpret_cast<int*>(count) += process == GetCurrentProcessId();
    return TRUE;
}

// The GDI objects alive in the process. Wine's GetGuiResources answers 0, but its handle table
// takes a bare index for any object that lives there: counting the indices that name one counts
// the objects, stock objects included.
int gdiObjects()
{
    int count = 0;
    for (std::uintptr_t index = 1; index < 0x10000; ++index)
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    return count;
}

HWND openEdit()
{
    g_edit = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findEdit, 0);
    return g_edit;
}

void dump(int slot, const std::string& file)
{
    HWND window = editorWindow(slot);
    RECT client{};
    if (!window || !GetClientRect(window, &client))
        return;
    const int width = client.right;
    const int height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    std::ofstream out(file, std::ios::binary);
    out << "P6\n" << width << " " << height << "\n255\n";
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i) {
        const std::uint32_t pixel = pixels[i];
        const char rgb[3] = {static_cast<char>(pixel >> 16), static_cast<char>(pixel >> 8), static_cast<char>(pixel)};
        out.write(rgb, 3);
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
}

// The script's answers to the dialogs still to come, in order.
struct Answer {
    bool messageBox = false;
    // A file dialog's path ("cancel" to cancel), a message box's button ("ok" or "cancel").
    std::string text;
};
std::deque<Answer> g_answers;
// The last dialog answered: it stays a moment before its loop ends. One still showing after
// kPatience ticks did not take its answer, and is answered again.
HWND g_answered = nullptr;
int g_waited = 0;
constexpr UINT kAnswerPeriod = 50;
constexpr int kPatience = 40;
// The file dialogs' file name field: a combo box in the Explorer-style dialog, an edit in the
// old one.
constexpr int kFileNameControls[] = {0x47C, 0x480};
// The message box's text.
constexpr int kMessageText = 0xFFFF;

// Text as one word of a fact.
std::string word(std::string text)
{
    for (char& c : text)
        c = c == ' ' ? '_' : c == '\n' ? '|' : c;
    return text.empty() ? "-" : text;
}

BOOL CALLBACK findDialog(HWND window, LPARAM found)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (process == GetCurrentProcessId() && std::strcmp(name, "#32770") == 0 && IsWindowVisible(window) &&
        window != g_answered) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void press(HWND dialog, int button)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

void CALLBACK answerDialogs(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_answered && IsWindowVisible(g_answered) && ++g_waited > kPatience)
        g_answered = nullptr;
    HWND dialog = nullptr;
    EnumWindows(findDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    g_answered = dialog;
    g_waited = 0;
    char text[1024] = {};
    GetWindowTextA(dialog, text, sizeof text);
    std::printf("fact dialog %s\n", word(text).c_str());
    const Answer answer = g_answers.empty() ? Answer{} : g_answers.front();
    if (g_answers.empty()) {
        std::printf("fact unexpected\n");
        press(dialog, IDCANCEL);
    } else if (answer.messageBox) {
        GetDlgItemTextA(dialog, kMessageText, text, sizeof text);
        std::printf("fact message %s\n", word(text).c_str());
        press(dialog, answer.text == "ok" ? IDOK : IDCANCEL);
    } else if (answer.text == "cancel") {
        press(dialog, IDCANCEL);
    } else {
        for (int field : kFileNameControls)
            if (GetDlgItem(dialog, field)) {
                SetDlgItemTextA(dialog, field, answer.text.c_str());
                break;
            }
        press(dialog, IDOK);
    }
    if (!g_answers.empty())
        g_answers.pop_front();
    std::fflush(stdout);
}

void create(int slot)
{
    g_slots[slot].effect = plugin_calls::entry(g_entry, hostCallback);
    dispatch(slot, effOpen);
    g_slots[slot].host = CreateWindowExA(0, kHostClass, "Zorvane test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40 + 60 * slot,
                                         40, 800, 800, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    std::printf("fact created %d %d\n", g_slots[slot].effect ? 1 : 0,
                g_slots[slot].effect && (g_slots[slot].effect->flags & effFlagsHasEditor) ? 1 : 0);
}

void windowFact(int slot)
{
    HWND window = editorWindow(slot);
    char name[64] = "-";
    char title[64] = "-";
    RECT client{};
    if (window) {
        GetClassNameA(window, name, sizeof name);
        g_className = name;
        GetWindowTextA(window, title, sizeof title);
        GetClientRect(window, &client);
    }
    for (char* c = title; *c; ++c)
        if (*c == ' ')
            *c = '_';
    std::printf("fact window %d %s %s %ld %ld %d %d\n", window ? 1 : 0, name, title, client.right, client.bottom,
                window && GetParent(window) == g_slots[slot].host ? 1 : 0, g_slots[slot].host ? childCount(g_slots[slot].host) : 0);
}

void run(const std::string& line)
{
    std::istringstream in(line);
    std::string command;
    in >> command;
    int slot = 0;
    if (command == "mark") {
        std::string name;
        in >> name;
        std::printf("mark %s\n", name.c_str());
    } else if (command == "dpiaware") {
        using Aware = BOOL(WINAPI*)();
        const auto aware = reinterpret_cast<Aware>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware")));
        std::printf("fact dpiaware %d\n", aware && aware() ? 1 : 0);
    } else if (command == "sizewindow") {
        in >> g_sizesWindow;
    } else if (command == "scale") {
        std::string factor;
        in >> slot >> factor;
        const VstIntPtr answer = dispatch(slot, effVendorSpecific, fourCharacterCode('P', 'r', 'e', 'S'),
                                          fourCharacterCode('A', 'e', 'C', 's'), nullptr, std::strtof(factor.c_str(), nullptr));
        std::printf("fact scale %lld\n", static_cast<long long>(answer));
    } else if (command == "create") {
        in >> slot;
        create(slot);
    } else if (command == "rect") {
        in >> slot;
        ERect* rect = nullptr;
        const VstIntPtr answer = dispatch(slot, effEditGetRect, 0, 0, &rect);
        std::printf("fact rect %lld %d %d\n", static_cast<long long>(answer), rect ? rect->right - rect->left : -1,
                    rect ? rect->bottom - rect->top : -1);
        if (rect)
            fitHost(slot, rect->right - rect->left, rect->bottom - rect->top);
    } else if (command == "open") {
        std::string parent;
        in >> slot >> parent;
        void* handle = parent == "null" ? nullptr : parent == "bogus" ? reinterpret_cast<void*>(0x7654) : g_slots[slot].host;
        std::printf("fact open %lld\n", static_cast<long long>(dispatch(slot, effEditOpen, 0, 0, handle)));
    } else if (command == "close") {
        in >> slot;
        dispatch(slot, effEditClose);
    } else if (command == "idle") {
        in >> slot;
        dispatch(slot, effEditIdle);
    } else if (command == "destroy") {
        in >> slot;
        dispatch(slot, effClose);
        g_slots[slot].effect = nullptr;
        DestroyWindow(g_slots[slot].host);
        g_slots[slot].host = nullptr;
    } else if (command == "program") {
        int program = 0;
        in >> slot >> program;
        dispatch(slot, effSetProgram, 0, program);
    } else if (command == "window") {
        in >> slot;
        windowFact(slot);
    } else if (command == "registered") {
        WNDCLASSEXA description{};
        description.cbSize = sizeof description;
        std::printf("fact registered %d\n", GetClassInfoExA(g_module, g_className.c_str(), &description) ? 1 : 0);
    } else if (command == "windows") {
        int count = 0;
        EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&count));
        std::printf("fact windows %d\n", count);
    } else if (command == "press" || command == "release") {
        int x = 0, y = 0, button = 1, modifiers = 0;
        in >> slot >> x >> y >> button >> modifiers;
        mouse(slot, command == "press", x, y, button, modifiers);
    } else if (command == "move") {
        int x = 0, y = 0, buttons = 0;
        in >> slot >> x >> y >> buttons;
        move(slot, x, y, buttons, 0);
    } else if (command == "drag") {
        int x = 0, y = 0, dx = 0, dy = 0, button = 1, modifiers = 0;
        in >> slot >> x >> y >> dx >> dy >> button >> modifiers;
        mouse(slot, true, x, y, button, modifiers);
        pump(20);
        for (int step = 1; step <= 10; ++step) {
            move(slot, x + dx * step / 10, y + dy * step / 10, button, modifiers);
            pump(20);
        }
        mouse(slot, false, x + dx, y + dy, button, modifiers);
    } else if (command == "hide" || command == "show") {
        in >> slot;
        if (HWND window = editorWindow(slot))
            ShowWindow(window, command == "hide" ? SW_HIDE : SW_SHOWNA);
    } else if (command == "lift") {
        // The button goes up over another window: the editor is told nothing.
        int button = 1;
        in >> button;
        g_heldButtons &= ~button;
    } else if (command == "cursor") {
        POINT at{};
        GetCursorPos(&at);
        CURSORINFO info{};
        info.cbSize = sizeof info;
        GetCursorInfo(&info);
        RECT frame{};
        GetWindowRect(editorWindow(0), &frame);
        std::printf("fact cursor %ld %ld %d\n", at.x - frame.left, at.y - frame.top, info.flags & CURSOR_SHOWING ? 0 : 1);
    } else if (command == "edit") {
        HWND edit = openEdit();
        RECT client{};
        LOGFONTA font{};
        if (edit) {
            GetClientRect(edit, &client);
            GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0)), sizeof font, &font);
        }
        std::printf("fact edit %d %ld %ld %ld\n", edit ? 1 : 0, client.right, client.bottom, std::labs(font.lfHeight));
    } else if (command == "type") {
        std::string text;
        in >> text;
        if (HWND edit = openEdit())
            for (char c : text)
                SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
    } else if (command == "key") {
        int code = 0;
        in >> code;
        if (HWND edit = openEdit())
            SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(code), 1);
    } else if (command == "unfocus") {
        if (HWND edit = openEdit()) {
            SetFocus(g_slots[0].host);
            if (GetFocus() == edit)
                SendMessageA(edit, WM_KILLFOCUS, 0, 0);
        }
    } else if (command == "pump") {
        int milliseconds = 0;
        in >> milliseconds;
        pump(milliseconds);
    } else if (command == "dump") {
        std::string file;
        in >> slot >> file;
        dump(slot, file);
    } else if (command == "objects") {
        std::printf("fact objects %d\n", gdiObjects());
    } else if (command == "toplevel") {
        int count = 0;
        EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&count));
        std::printf("fact toplevel %d\n", count);
    } else if (command == "answer") {
        Answer answer;
        std::string kind;
        in >> kind >> answer.text;
        answer.messageBox = kind == "box";
        g_answers.push_back(answer);
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: editor_host MODULE SCRIPT\n");
        return 2;
    }
    WNDCLASSEXA description{};
    description.cbSize = sizeof description;
    description.lpfnWndProc = DefWindowProcA;
    description.hInstance = GetModuleHandleA(nullptr);
    description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    description.lpszClassName = kHostClass;
    RegisterClassExA(&description);

    PluginModule module(argv[1]);
    g_entry = module.entry("main");
    g_module = GetModuleHandleA(argv[1]);
    if (!g_entry) {
        std::fprintf(stderr, "editor_host: %s has no main (%s)\n", argv[1], module.error().c_str());
        return 1;
    }
    SetTimer(nullptr, 0, kAnswerPeriod, answerDialogs);
    std::ifstream script(argv[2]);
    for (std::string line; std::getline(script, line);)
        if (!line.empty())
            run(line);
    for (int slot = 0; slot < kSlots; ++slot)
        if (g_slots[slot].effect)
            run("destroy " + std::to_string(slot));
    return 0;
}
