// The gallery's pictures of the on-screen keyboard.
#pragma once
#include <fstream>
#include <string>

void ShowKeyboard(const std::string& outFolder, std::ofstream& index);
