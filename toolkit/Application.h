#pragma once
// The application object: the message loop of the one main window, processing of pending messages
// for long operations, and the default error report for errors that leave an event handler.
#include "toolkit/Form.h"

#include <string>

namespace Application {

void Initialize();
// Shows the main window and dispatches messages until it has closed.
void Run(TForm& mainForm);
TForm* MainForm();
void ProcessMessages();
// The default error report for the error being handled; call it from inside a catch block.
void HandleException();
std::wstring Title();

}  // namespace Application
