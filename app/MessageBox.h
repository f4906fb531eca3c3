#pragma once
// Every message of the program goes through ShowMessageBox: a modal box owned by the main window,
// of one kind and with one set of buttons, answering the button pressed. The shipped program
// links the system's message box; test builds link one that records the text and answers as the
// test says.
#include <windows.h>

#include <string>

enum class MessageKind { Error, Warning, Information, Question };
enum class MessageButtons { OK, YesNo, YesNoCancel };
enum class Answer { OK, Yes, No, Cancel };

Answer ShowMessageBox(HWND owner, const std::wstring& text, MessageKind kind, MessageButtons buttons);
