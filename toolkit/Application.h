#pragma once
// The application object: the message loop of the one main window, and the processing of pending
// messages that lets a long operation keep the window painted.
#include "toolkit/Form.h"

namespace Application {

void Initialize();
// Makes Form the main form, shows it and dispatches messages until it has closed.
void Run(TForm& mainForm);
void ProcessMessages();

}  // namespace Application
