#pragma once
// The default error report: an error that leaves an event handler is shown in an error box, and
// the program goes on. Every window procedure and timer of the toolkit ends in it; call it from
// inside a catch block.
void ShowDefaultErrorReport();
