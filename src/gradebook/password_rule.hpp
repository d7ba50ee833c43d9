// When a new password is strong enough: length, kinds of characters and
// enough different characters, so that "aaaaaaaaaa" or "1234567890" is not
// taken. What is missing is said in German, one line per rule.
#pragma once
#include <vector>

#include "platform/text.hpp"

inline constexpr int kPasswortMindestlaenge = 10;
inline constexpr int kPasswortMindestarten = 3;
inline constexpr int kPasswortVerschiedene = 6;

// The lines of what the password still lacks; empty when it is strong enough.
std::vector<Text> PasswortMaengel(const Text& passwort);
