#pragma once
// Text in the system's ANSI code page, the code page of the program's text files.
#include <string>
#include <string_view>

std::wstring FromAnsi(std::string_view bytes);
// A character the code page cannot hold becomes its default character.
std::string ToAnsi(std::wstring_view text);
