// Registry of embedded byte blocks and whole-source reading.
#include "platform/resources.hpp"

#include <unordered_map>

#include "platform/native_file.hpp"
#include "platform/paths.hpp"

namespace {

const Text kIncbinPrefix = u"incbin::";

std::unordered_map<Text, std::span<const unsigned char>>& Registry() {
    // Function-local so that registration works whatever the start-up order.
    static std::unordered_map<Text, std::span<const unsigned char>> registry;
    return registry;
}

Text RegistryKey(const Text& name) {
    if (IsEmbeddedSource(name)) return NormalisePath(name.substr(kIncbinPrefix.size()));
    return NormalisePath(name);
}

const std::span<const unsigned char>* FindResource(const Text& name) {
    auto& registry = Registry();
    auto it = registry.find(RegistryKey(name));
    return it == registry.end() ? nullptr : &it->second;
}

// Far beyond any photo or font; a link to /dev/zero or a runaway file ends here.
constexpr size_t kMaxSourceBytes = size_t{512} << 20;

bool ReadFileBytes(const Text& path, std::vector<unsigned char>& out) {
    // Non-blocking, and plain files only: a FIFO or a device under a photo's
    // name neither stalls the program nor feeds it without end.
    int fd = OpenFileToRead(path);
    if (fd < 0) return false;
    uint64_t fileSize = 0;
    if (!PlainFileSize(fd, fileSize) || fileSize > kMaxSourceBytes) {
        CloseFile(fd);
        return false;
    }
    // The reported size is only a hint (it is 0 for pseudo files such as /proc);
    // read on until the end so that nothing is cut off.
    size_t capacity = fileSize > 0 ? static_cast<size_t>(fileSize) + 1 : 65536;
    out.resize(capacity);
    size_t used = 0;
    for (;;) {
        if (used == out.size()) out.resize(out.size() * 2);
        const long n = ReadFromFile(fd, out.data() + used, out.size() - used);
        if (n < 0) {
            CloseFile(fd);
            out.clear();
            return false;
        }
        if (n == 0) break;
        used += static_cast<size_t>(n);
        if (used > kMaxSourceBytes) {
            CloseFile(fd);
            out.clear();
            return false;
        }
    }
    CloseFile(fd);
    out.resize(used);
    return true;
}

}  // namespace

void RegisterEmbeddedResource(const Text& name, const unsigned char* bytes, size_t size) {
    Registry()[RegistryKey(name)] = std::span<const unsigned char>(bytes, bytes ? size : 0);
}

std::span<const unsigned char> EmbeddedResource(const Text& name) {
    const auto* found = FindResource(name);
    return found ? *found : std::span<const unsigned char>();
}

bool HasEmbeddedResource(const Text& name) { return FindResource(name) != nullptr; }

bool IsEmbeddedSource(const Text& source) {
    return source.size() >= kIncbinPrefix.size() && source.compare(0, kIncbinPrefix.size(), kIncbinPrefix) == 0;
}

bool ReadSourceBytes(const Text& source, std::vector<unsigned char>& out) {
    out.clear();
    if (IsEmbeddedSource(source)) {
        const auto* found = FindResource(source);
        if (!found) return false;
        out.assign(found->begin(), found->end());
        return true;
    }
    if (source.empty()) return false;
    return ReadFileBytes(source, out);
}
