#pragma once
// Every message of the program goes through ShowMessageBox: a modal box of one kind with OK or
// Yes/No, answering the button pressed. The shipped program links the system's message box; test
// builds link one that records the text and answers as the test says.
#include <string>

enum class TMsgKind { Error, Information, Confirmation };
enum class TMsgButtons { OK, YesNo };
enum class TModalResult { OK, Yes, No };

TModalResult ShowMessageBox(const std::wstring& text, TMsgKind kind, TMsgButtons buttons);
