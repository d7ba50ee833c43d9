// Latin-1 text streams. Reading takes the whole source into memory at once
// (gradebooks are small and are read often); writing goes through a buffer.
#include "platform/textstream.hpp"

#include <span>
#include <string>
#include <vector>

#include "platform/native_file.hpp"
#include "platform/resources.hpp"

class TextStream {
public:
    ~TextStream() { Close(); }

    // Reading: the bytes are either owned or an embedded resource.
    std::vector<unsigned char> owned;
    std::span<const unsigned char> data;
    size_t pos = 0;

    // Writing.
    int fd = -1;
    std::string pending;
    bool failed = false;

    static constexpr size_t kFlushSize = 64 * 1024;

    bool Flush() {
        if (!failed && !WriteToFile(fd, pending.data(), pending.size())) failed = true;
        pending.clear();
        return !failed;
    }

    bool Close() {
        if (fd >= 0) {
            Flush();
            if (!CloseFile(fd)) failed = true;
            fd = -1;
        }
        owned = {};
        data = {};
        pos = 0;
        return !failed;
    }
};

TStream OpenForReading(const Text& pathOrIncbin) {
    auto stream = std::make_shared<TextStream>();
    if (IsEmbeddedSource(pathOrIncbin)) {
        if (!HasEmbeddedResource(pathOrIncbin)) return nullptr;
        stream->data = EmbeddedResource(pathOrIncbin);
    } else {
        if (!ReadSourceBytes(pathOrIncbin, stream->owned)) return nullptr;
        stream->data = stream->owned;
    }
    return stream;
}

TStream OpenForWriting(const Text& path) {
    if (path.empty() || IsEmbeddedSource(path)) return nullptr;
    int fd = OpenFileToWrite(path);
    if (fd < 0) return nullptr;
    auto stream = std::make_shared<TextStream>();
    stream->fd = fd;
    stream->pending.reserve(TextStream::kFlushSize + 1024);
    return stream;
}

Text ReadLine(const TStream& stream) {
    if (!stream) return Text();
    const auto data = stream->data;
    size_t pos = stream->pos;
    size_t end = pos;
    while (end < data.size() && data[end] != '\n' && data[end] != '\0') ++end;
    Text line;
    line.reserve(end - pos);
    for (size_t i = pos; i < end; ++i)
        if (data[i] != '\r') line += static_cast<char16_t>(data[i]);
    stream->pos = end < data.size() ? end + 1 : end;
    return line;
}

bool WriteLine(const TStream& stream, const Text& line) {
    if (!stream || stream->fd < 0 || stream->failed) return false;
    std::string& out = stream->pending;
    for (char16_t c : line) out += static_cast<char>(c & 0xFF);
    out += "\r\n";
    if (out.size() >= TextStream::kFlushSize) return stream->Flush();
    return true;
}

bool Eof(const TStream& stream) {
    if (!stream) return true;
    return stream->pos >= stream->data.size();
}

bool Close(const TStream& stream) {
    if (!stream) return false;
    return stream->Close();
}
