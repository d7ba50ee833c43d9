// The system's own file and folder dialogs (the common item dialog), with
// the filter groups and start folder the commands give.
#include "platform/requesters.hpp"

#include "platform/files.hpp"
#include "platform/input.hpp"
#include "platform/paths.hpp"
#include "platform/windows/wide.hpp"

#include <shobjidl.h>

namespace {

// COM for the calling thread, released on leaving.
struct ComApartment {
    bool ok = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    ~ComApartment() {
        if (ok) CoUninitialize();
    }
};

template <typename T>
struct ComPointer {
    T* p = nullptr;
    ~ComPointer() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
};

// The start folder: initialPath itself when it names a folder, else its
// folder, whose file name then stands in the name field.
void SetStart(IFileDialog* dialog, const Text& initialPath) {
    if (initialPath.empty()) return;
    Text folder = NormalisePath(initialPath), name;
    if (PathKind(folder) != 2) {
        name = folder.substr(folder.rfind(u'/') == Text::npos ? 0 : folder.rfind(u'/') + 1);
        folder = ExtractFolder(folder);
    }
    if (!folder.empty() && PathKind(folder) == 2) {
        ComPointer<IShellItem> item;
        if (SUCCEEDED(SHCreateItemFromParsingName(WidePath(folder).c_str(), nullptr, IID_PPV_ARGS(&item.p))))
            dialog->SetFolder(item.p);
    }
    if (!name.empty()) dialog->SetFileName(Wide(name).c_str());
}

Text Show(IFileDialog* dialog, const Text& title) {
    dialog->SetTitle(Wide(title).c_str());
    Text chosen;
    if (SUCCEEDED(dialog->Show(GetActiveWindow()))) {
        ComPointer<IShellItem> item;
        wchar_t* path = nullptr;
        if (SUCCEEDED(dialog->GetResult(&item.p)) && SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
            chosen = FromWide(path);
            CoTaskMemFree(path);
        }
    }
    // Escape or clicks meant for the dialog are its own.
    DiscardPendingInput();
    return chosen;
}

}  // namespace

Text RequestFile(const Text& title, const Text& filter, int saveFlag, const Text& initialPath) {
    ComApartment com;
    ComPointer<IFileDialog> dialog;
    if (FAILED(CoCreateInstance(saveFlag ? CLSID_FileSaveDialog : CLSID_FileOpenDialog, nullptr,
                                CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog.p))))
        return u"";
    // The groups' patterns joined by ";", as the dialog wants them.
    std::vector<std::wstring> names, patterns;
    for (const auto& [description, globs] : ParseFileFilter(filter)) {
        std::wstring joined;
        for (const Text& glob : globs) joined += (joined.empty() ? L"" : L";") + Wide(glob);
        names.push_back(Wide(description));
        patterns.push_back(joined);
    }
    std::vector<COMDLG_FILTERSPEC> filterTypes;
    for (size_t i = 0; i < names.size(); ++i) filterTypes.push_back({names[i].c_str(), patterns[i].c_str()});
    if (!filterTypes.empty()) dialog->SetFileTypes(static_cast<UINT>(filterTypes.size()), filterTypes.data());
    DWORD options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_FORCEFILESYSTEM | (saveFlag ? DWORD{0} : DWORD{FOS_FILEMUSTEXIST}));
    SetStart(dialog.p, initialPath);
    return Show(dialog.p, title);
}

Text RequestDir(const Text& title, const Text& initialPath) {
    ComApartment com;
    ComPointer<IFileDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog.p))))
        return u"";
    DWORD options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
    Text start = NormalisePath(initialPath);
    if (!start.empty() && start.back() != u'/') start += u'/';
    SetStart(dialog.p, start);
    return Show(dialog.p, title);
}

Text FindProgramInPath(const Text& name, const Text& pathList) {
    if (name.empty() || name.find_first_of(u"/\\") != Text::npos) return u"";
    size_t start = 0;
    for (;;) {
        const size_t end = pathList.find(u';', start);
        Text folder = pathList.substr(start, end == Text::npos ? Text::npos : end - start);
        if (folder.empty()) folder = u".";
        for (const Text& candidate : {JoinPath(folder, name), JoinPath(folder, name + u".exe")})
            if (PathKind(candidate) == 1) return candidate;
        if (end == Text::npos) return u"";
        start = end + 1;
    }
}
