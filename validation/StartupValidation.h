#pragma once
// The start-up validation: true when the installation environment does not allow the program to
// run. It shows every message itself and sets ProgramFolder.
bool ValidateStartupEnvironment();
