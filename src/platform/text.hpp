// The program's one text type: one UTF-16 code unit per character, so that
// positions, lengths and sorting count characters and Latin-1 files map one
// byte to one character. UTF-8 appears only at the edges (paths, SDL, FreeType).
#pragma once
#include <string>
#include <string_view>

using Text = std::u16string;

// UTF-8 <-> Text, for file-system paths, SDL text input and messages on stderr.
std::string Utf8FromText(const Text& text);
Text TextFromUtf8(std::string_view utf8);

// Each byte becomes the character of the same code (Latin-1).
Text TextFromLatin1(std::string_view bytes);
