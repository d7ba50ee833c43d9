// Texts and Windows' wide-character calls: a Text holds UTF-16 code units
// just as wchar_t strings do on Windows, so the conversion is a copy.
#pragma once
#include <windows.h>
// The program has a MessageBox of its own (backend.hpp); the system one is called by its wide name.
#undef MessageBox

#include <string>

#include "platform/text.hpp"

// The path for the wide calls, with every "/" turned into "\".
inline std::wstring WidePath(const Text& path) {
    std::wstring out(path.begin(), path.end());
    for (wchar_t& c : out)
        if (c == L'/') c = L'\\';
    return out;
}

inline std::wstring Wide(const Text& text) { return std::wstring(text.begin(), text.end()); }

inline Text FromWide(const wchar_t* text) {
    Text out;
    if (text)
        for (; *text; ++text) out += static_cast<char16_t>(*text);
    return out;
}
inline Text FromWide(const std::wstring& text) { return Text(text.begin(), text.end()); }

// A handle closed when it goes out of scope.
struct OwnedHandle {
    HANDLE handle = INVALID_HANDLE_VALUE;
    explicit OwnedHandle(HANDLE h) : handle(h) {}
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle() {
        if (valid()) CloseHandle(handle);
    }
    bool valid() const { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
};
