// Test photos made on the spot: pictures drawn from a pixel function and
// written as PNG or JPEG (optionally with an Exif orientation tag), and a
// stand-in for the system's file requester that answers from a list.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/image_decode.hpp"
#include "platform/process.hpp"

inline uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return 0xFF000000u | (r << 16) | (g << 8) | b; }
inline unsigned Rot(uint32_t c) { return (c >> 16) & 0xFF; }
inline unsigned Gruen(uint32_t c) { return (c >> 8) & 0xFF; }
inline unsigned Blau(uint32_t c) { return c & 0xFF; }

inline DecodedImage Gemalt(int w, int h, const std::function<uint32_t(int, int)>& farbe) {
    DecodedImage img;
    img.width = w;
    img.height = h;
    img.argb.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.argb[static_cast<size_t>(y) * w + x] = farbe(x, y);
    return img;
}

inline DecodedImage Einfarbig(int w, int h, uint32_t farbe) {
    return Gemalt(w, h, [&](int, int) { return farbe; });
}

inline void BytesSchreiben(const std::filesystem::path& p, const std::vector<unsigned char>& bytes) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<unsigned char> PngBytes(const DecodedImage& img) {
    std::vector<unsigned char> png;
    EXPECT_TRUE(EncodePng(img, false, 1, png));
    return png;
}

inline std::vector<unsigned char> JpegBytes(const DecodedImage& img, int quality = 95, int orientation = 0) {
    std::vector<unsigned char> jpeg;
    EXPECT_TRUE(EncodeJpeg(img, quality, jpeg, orientation));
    return jpeg;
}

// A "zenity" in a folder of its own that answers call n with line n of its
// answer list (an empty line or none: cancelled) and records every call's
// arguments, one per line. PATH points only at that folder while it lives.
class RequesterStandIn {
public:
    explicit RequesterStandIn(const std::filesystem::path& ordner) : ordner_(ordner) {
        std::filesystem::create_directories(ordner_);
        const std::string d = ordner_.string();
        std::ofstream(ordner_ / "zenity") << "#!/bin/sh\n"
                                             "PATH=/usr/bin:/bin\n"
                                             "n=$(cat '" << d << "/count' 2>/dev/null || echo 0)\n"
                                             "n=$((n+1))\n"
                                             "echo $n > '" << d << "/count'\n"
                                             "for a in \"$@\"; do printf '%s\\n' \"$a\"; done >> '" << d << "/args'\n"
                                             "line=$(sed -n \"${n}p\" '" << d << "/answers')\n"
                                             "[ -z \"$line\" ] && exit 1\n"
                                             "printf '%s\\n' \"$line\"\n";
        EXPECT_EQ(RunAndWait({u"chmod", u"755", TextFromUtf8((ordner_ / "zenity").string())}), 0);
        const char* alt = std::getenv("PATH");
        alterPfad_ = alt ? alt : "";
        setenv("PATH", d.c_str(), 1);
    }
    ~RequesterStandIn() { setenv("PATH", alterPfad_.c_str(), 1); }

    void Antworten(const std::vector<std::string>& zeilen) {
        std::ofstream out(ordner_ / "answers");
        for (const std::string& z : zeilen) out << z << "\n";
        std::filesystem::remove(ordner_ / "count");
        std::filesystem::remove(ordner_ / "args");
    }
    std::string Argumente() const {
        std::ifstream in(ordner_ / "args");
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path ordner_;
    std::string alterPfad_;
};
