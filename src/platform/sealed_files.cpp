// Sealing with libsodium: the keys in guarded memory, the sealed file form,
// the key file and the recovery code. Sections: keys held; data files; key
// file; recovery code.
#include "platform/sealed_files.hpp"

#include <sodium.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <shared_mutex>

#include "platform/file_bytes.hpp"
#include "platform/files.hpp"
#include "platform/native_file.hpp"
#include "platform/paths.hpp"

namespace {

constexpr size_t kKeyBytes = crypto_aead_xchacha20poly1305_ietf_KEYBYTES;
constexpr size_t kNonceBytes = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr size_t kTagBytes = crypto_aead_xchacha20poly1305_ietf_ABYTES;
constexpr size_t kSaltBytes = crypto_pwhash_SALTBYTES;
constexpr size_t kHeader = 4 + kNonceBytes;
constexpr size_t kPortraitHashBytes = 16;
static_assert(kKeyBytes == 32 && kNonceBytes == 24 && kTagBytes == 16 && kSaltBytes == 16);

// Key file offsets.
constexpr size_t kOps = 4, kMem = 8, kPwSalt = 12, kPwNonce = 28, kPwBox = 52, kRcSalt = 100, kRcNonce = 116,
                 kRcBox = 140;
static_assert(kPwNonce == kPwSalt + kSaltBytes && kPwBox == kPwNonce + kNonceBytes &&
              kRcSalt == kPwBox + kKeyBytes + kTagBytes && kRcNonce == kRcSalt + kSaltBytes &&
              kRcBox == kRcNonce + kNonceBytes && kKeyFileSize == kRcBox + kKeyBytes + kTagBytes);
// While the data key changes ("RKS2"): the previous data key sealed under the new one.
constexpr size_t kPrevNonce = kKeyFileSize, kPrevBox = kPrevNonce + kNonceBytes;
static_assert(kChangingKeyFileSize == kPrevBox + kKeyBytes + kTagBytes);
// The marked layouts ("RKS3", "RKS4") end in the flags and their MAC.
constexpr size_t kFlagBytes = 4, kMacBytes = 32;
constexpr uint32_t kIndexFlag = 1;
static_assert(kMarkedKeyFileSize == kKeyFileSize + kFlagBytes + kMacBytes &&
              kMarkedChangingKeyFileSize == kChangingKeyFileSize + kFlagBytes + kMacBytes);

// A key in sodium_malloc memory: guarded pages, wiped when freed.
class SecretKey {
public:
    SecretKey() = default;
    SecretKey(const SecretKey&) = delete;
    SecretKey& operator=(const SecretKey&) = delete;
    ~SecretKey() { reset(); }
    bool make() {
        reset();
        bytes_ = static_cast<unsigned char*>(sodium_malloc(kKeyBytes));
        return bytes_ != nullptr;
    }
    void reset() {
        if (bytes_) sodium_free(bytes_);
        bytes_ = nullptr;
    }
    unsigned char* get() const { return bytes_; }
    explicit operator bool() const { return bytes_ != nullptr; }

private:
    unsigned char* bytes_ = nullptr;
};

struct State {
    std::atomic<SealMode> mode = SealMode::Off;
    SecretKey data;      // the data key
    SecretKey portrait;  // subkey for portrait names
    SecretKey fresh;     // a new data key not yet in a key file
    SecretKey previous;  // the data key being replaced, while files still use it
    Text keyFile;
    bool indexMark = false;  // the key file unlocked last carries the mark
    KeyLimits newLimits;
    // The last bytes sealed and their sealed form: a save writes the same
    // bytes as class file, backup and mirror copies, and sealing equal bytes
    // under one nonce gives away nothing but that they are equal.
    std::string lastPlain, lastSealed, lastPlace;
    void forgetLast() {
        if (!lastPlain.empty()) sodium_memzero(lastPlain.data(), lastPlain.size());
        lastPlain.clear();
        lastSealed.clear();
    }
};

State& S() {
    static State state;
    return state;
}

// Files are also opened off the frame loop (portraits decoded ahead): a key
// stays in place while a file is opened under it, and whatever frees or
// replaces the data key or the previous one waits for that opening.
std::shared_mutex& KeyGuard() {
    static std::shared_mutex guard;
    return guard;
}

bool Ready() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

void PutLE32(std::string& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
uint32_t GetLE32(std::string_view in, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return v;
}
const unsigned char* U(std::string_view s, size_t at = 0) { return reinterpret_cast<const unsigned char*>(s.data()) + at; }
unsigned char* U(std::string& s, size_t at = 0) { return reinterpret_cast<unsigned char*>(s.data()) + at; }

// Takes key as the data key in use, with its portrait subkey, and previous
// (or none) as the key files may still be sealed under.
bool HoldDataKey(const unsigned char* key, const unsigned char* previous = nullptr) {
    State& s = S();
    const std::unique_lock guard(KeyGuard());
    s.previous.reset();
    if (!s.data.make() || !s.portrait.make() || (previous && !s.previous.make())) {
        s.data.reset();
        s.portrait.reset();
        s.previous.reset();
        return false;
    }
    s.forgetLast();
    std::memcpy(s.data.get(), key, kKeyBytes);
    if (previous) std::memcpy(s.previous.get(), previous, kKeyBytes);
    crypto_kdf_derive_from_key(s.portrait.get(), kKeyBytes, 1, "Portraet", s.data.get());
    s.mode = SealMode::Unlocked;
    return true;
}

}  // namespace

// ---- keys held -------------------------------------------------------------

SealMode CurrentSealMode() { return S().mode; }
bool SealingOn() { return S().mode != SealMode::Off; }

void LockSealing() {
    State& s = S();
    const std::unique_lock guard(KeyGuard());
    s.forgetLast();
    s.data.reset();
    s.portrait.reset();
    s.previous.reset();
    if (s.mode != SealMode::Off) s.mode = SealMode::Locked;
}

void SealingOff() {
    State& s = S();
    const std::unique_lock guard(KeyGuard());
    s.forgetLast();
    s.data.reset();
    s.portrait.reset();
    s.previous.reset();
    s.fresh.reset();
    s.mode = SealMode::Off;
    s.keyFile.clear();
    s.indexMark = false;
}

// ---- data files --------------------------------------------------------------

namespace {
// The associated data: the mark, then the place.
std::string Associated(std::string_view mark, std::string_view place) {
    std::string ad(mark);
    ad.append(place);
    return ad;
}
int MarkOf(std::string_view bytes) {
    if (bytes.size() < 4) return 0;
    if (std::memcmp(bytes.data(), kSealedMark, 4) == 0) return 2;
    if (std::memcmp(bytes.data(), kUnboundSealedMark, 4) == 0) return 1;
    return 0;
}
PlaceRule& Rule() {
    static PlaceRule rule = nullptr;
    return rule;
}
}  // namespace

void SetPlaceRule(PlaceRule rule) { Rule() = rule; }
std::string PlaceOfFile(const Text& path) { return Rule() ? Rule()(path) : std::string(); }

namespace {
ReadCheck& Check() {
    static ReadCheck check = nullptr;
    return check;
}
// Asked only while encryption is on: off, every form is read as before.
bool Passes(const Text& path, int mark, std::string_view plain) {
    if (!Check() || S().mode == SealMode::Off) return true;
    const SealedForm form = mark == 2 ? SealedForm::Bound : mark == 1 ? SealedForm::Unbound : SealedForm::Plain;
    return Check()(path, form, plain);
}
}  // namespace

void SetReadCheck(ReadCheck check) { Check() = check; }

std::string ContentHash(std::string_view bytes) {
    unsigned char hash[32];
    if (!Ready()) return std::string();
    crypto_generichash(hash, sizeof hash, U(bytes), bytes.size(), nullptr, 0);
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char b : hash) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

std::string SealBytes(std::string_view plain, std::string_view place) {
    const State& s = S();
    if (!Ready() || !s.data) return std::string();
    std::string out(kHeader + plain.size() + kTagBytes, '\0');
    std::memcpy(out.data(), kSealedMark, 4);
    randombytes_buf(U(out, 4), kNonceBytes);
    const std::string ad = Associated(kSealedMark, place);
    unsigned long long written = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(U(out, kHeader), &written, U(plain), plain.size(), U(ad), ad.size(),
                                               nullptr, U(out, 4), s.data.get());
    out.resize(kHeader + static_cast<size_t>(written));
    return out;
}

namespace {
bool OpenUnder(const unsigned char* key, std::string_view sealed, std::string& plain, std::string_view place) {
    plain.clear();
    const int mark = MarkOf(sealed);
    if (!Ready() || !key || mark == 0 || sealed.size() < kHeader + kTagBytes) return false;
    // The older form was bound to nothing but its mark.
    const std::string ad = mark == 2 ? Associated(kSealedMark, place) : std::string(kUnboundSealedMark);
    plain.resize(sealed.size() - kHeader - kTagBytes);
    unsigned long long got = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(U(plain), &got, nullptr, U(sealed, kHeader),
                                                   sealed.size() - kHeader, U(ad), ad.size(), U(sealed, 4), key) != 0) {
        plain.clear();
        return false;
    }
    plain.resize(static_cast<size_t>(got));
    return true;
}
}  // namespace

bool OpenSealedBytes(std::string_view sealed, std::string& plain, std::string_view place) {
    // While the data key changes, a file not yet sealed anew opens under the previous one.
    const State& s = S();
    const std::shared_lock guard(KeyGuard());
    return OpenUnder(s.data.get(), sealed, plain, place) ||
           (s.previous && OpenUnder(s.previous.get(), sealed, plain, place));
}

DataReadResult ReadDataFile(const Text& path, std::string& out, size_t maxBytes) {
    out.clear();
    std::string raw;
    if (!ReadFileBytes(path, raw, maxBytes + kHeader + kTagBytes)) return DataReadResult::Unreadable;
    const int mark = MarkOf(raw);
    if (mark == 0) {
        if (raw.size() > maxBytes) return DataReadResult::Unreadable;
        if (!Passes(path, mark, raw)) return DataReadResult::Refused;
        out = std::move(raw);
        return DataReadResult::Ok;
    }
    bool held = false;
    {
        const std::shared_lock guard(KeyGuard());
        held = static_cast<bool>(S().data);
    }
    if (!held) return DataReadResult::Locked;
    if (!OpenSealedBytes(raw, out, PlaceOfFile(path))) return DataReadResult::Refused;
    if (!Passes(path, mark, out)) {
        sodium_memzero(out.data(), out.size());
        out.clear();
        return DataReadResult::Refused;
    }
    return DataReadResult::Ok;
}

bool WriteDataFile(const Text& path, std::string_view bytes, bool durable) {
    switch (S().mode) {
        case SealMode::Off: return ReplaceFileBytes(path, bytes, durable);
        case SealMode::Locked: return false;
        case SealMode::Unlocked: {
            State& s = S();
            const std::string place = PlaceOfFile(path);
            if (s.lastSealed.empty() || bytes != s.lastPlain || place != s.lastPlace) {
                s.forgetLast();
                s.lastSealed = SealBytes(bytes, place);
                if (s.lastSealed.empty()) return false;
                s.lastPlain.assign(bytes);
                s.lastPlace = place;
            }
            return ReplaceFileBytes(path, s.lastSealed, durable);
        }
    }
    return false;
}

namespace {
// The first four bytes of a file, read without reading it whole.
int MarkOfFile(const Text& path) {
    const int fd = OpenFileToRead(path);
    if (fd < 0) return 0;
    char mark[4];
    const long n = ReadFromFile(fd, mark, sizeof mark);
    CloseFile(fd);
    return n == 4 ? MarkOf(std::string_view(mark, 4)) : 0;
}
}  // namespace

bool IsSealedFile(const Text& path) { return MarkOfFile(path) != 0; }
bool IsUnboundSealedFile(const Text& path) { return MarkOfFile(path) == 1; }

bool OpenIfSealed(std::vector<unsigned char>& bytes, const Text& path) {
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const int mark = MarkOf(raw);
    if (mark == 0) {
        if (Passes(path, mark, raw)) return true;
        bytes.clear();
        return false;
    }
    std::string plain;
    const bool ok = OpenSealedBytes(raw, plain, PlaceOfFile(path)) && Passes(path, mark, plain);
    if (ok) bytes.assign(plain.begin(), plain.end());
    else bytes.clear();
    if (!plain.empty()) sodium_memzero(plain.data(), plain.size());
    return ok;
}

ConvertResult ConvertDataFile(const Text& path, bool seal) {
    // Most files are in their form already: four bytes tell. Sealing also
    // binds a file of the older unbound form to its place.
    const int mark = PathKind(path) == 1 ? MarkOfFile(path) : -1;
    if (mark >= 0 && (seal ? mark == 2 : mark == 0)) return ConvertResult::Unchanged;
    std::string raw;
    if (!ReadFileBytes(path, raw, 256u * 1024u * 1024u)) return ConvertResult::Failed;
    const int form = MarkOf(raw);
    if (seal ? form == 2 : form == 0) return ConvertResult::Unchanged;
    if (!S().data) return ConvertResult::Failed;
    const std::string place = PlaceOfFile(path);
    std::string plain, target;
    if (form != 0) {
        if (!OpenSealedBytes(raw, plain, place)) return ConvertResult::Refused;
    } else {
        plain = std::move(raw);
    }
    if (seal) {
        target = SealBytes(plain, place);
        if (target.empty()) return ConvertResult::Failed;
    } else {
        target = std::move(plain);
    }
    return ReplaceFileBytes(path, target, true) ? ConvertResult::Converted : ConvertResult::Failed;
}

namespace {
// Reads a sealed file that opens at from; false for plain ones and ones that
// do not open (they go as they are).
bool OpensSealed(const Text& from, std::string& plain) {
    plain.clear();
    std::string raw;
    if (!S().data || MarkOfFile(from) == 0 || !ReadFileBytes(from, raw, 256u * 1024u * 1024u)) return false;
    return OpenSealedBytes(raw, plain, PlaceOfFile(from));
}
}  // namespace

bool MoveDataFile(const Text& from, const Text& to) {
    std::string plain;
    if (!OpensSealed(from, plain)) return RenameFileOver(from, to);
    const std::string sealed = SealBytes(plain, PlaceOfFile(to));
    sodium_memzero(plain.data(), plain.size());
    if (sealed.empty() || !ReplaceFileBytes(to, sealed, true)) return false;
    return DeleteFileAt(from);
}

bool CopyDataFile(const Text& from, const Text& to) {
    std::string plain;
    if (!OpensSealed(from, plain)) return CopyFileTo(from, to);
    const std::string sealed = SealBytes(plain, PlaceOfFile(to));
    sodium_memzero(plain.data(), plain.size());
    return !sealed.empty() && ReplaceFileBytes(to, sealed, true);
}

namespace {
Text PortraitStemUnder(const unsigned char* portraitKey, const Text& name) {
    const std::string utf8 = Utf8FromText(name);
    unsigned char hash[kPortraitHashBytes];
    crypto_generichash(hash, sizeof hash, U(utf8), utf8.size(), portraitKey, kKeyBytes);
    static const char16_t digits[] = u"0123456789abcdef";
    Text out;
    for (unsigned char b : hash) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}
}  // namespace

Text SealedPortraitStem(const Text& name) {
    const State& s = S();
    if (!Ready() || !s.portrait) return Text();
    return PortraitStemUnder(s.portrait.get(), name);
}

// ---- key file ------------------------------------------------------------------

namespace {

// The key derived from a secret under the salt and limits; false when the
// memory could not be had (or libsodium is not usable).
bool Derive(SecretKey& out, std::string_view secret, const unsigned char* salt, KeyLimits limits) {
    if (!Ready() || !out.make()) return false;
    if (crypto_pwhash(out.get(), kKeyBytes, secret.data(), secret.size(), salt, limits.opslimit,
                      static_cast<size_t>(limits.memlimitKiB) * 1024u, crypto_pwhash_ALG_ARGON2ID13) != 0) {
        out.reset();
        return false;
    }
    return true;
}

// Associated data of the slots: the marked layouts have their own, so a
// marked key file cut back to the older layout does not open.
constexpr char kSlotLabel[] = "RKS1", kMarkedSlotLabel[] = "RKS3";

// Encrypts the data key into the key file at salt/nonce/box offsets.
bool Wrap(std::string& file, size_t salt, size_t nonce, size_t box, std::string_view secret, KeyLimits limits,
          const unsigned char* dataKey, const char* label) {
    randombytes_buf(U(file, salt), kSaltBytes);
    randombytes_buf(U(file, nonce), kNonceBytes);
    SecretKey k;
    if (!Derive(k, secret, U(file, salt), limits)) return false;
    unsigned long long n = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(U(file, box), &n, dataKey, kKeyBytes, U(std::string_view(label)), 4,
                                               nullptr, U(file, nonce), k.get());
    return n == kKeyBytes + kTagBytes;
}

// label tells which associated data opened the slot.
KeyResult Unwrap(std::string_view file, size_t salt, size_t nonce, size_t box, std::string_view secret,
                 SecretKey& dataKey, const char*& label) {
    const KeyLimits limits{GetLE32(file, kOps), GetLE32(file, kMem)};
    SecretKey k;
    if (!Derive(k, secret, U(file, salt), limits)) return KeyResult::NoMemory;
    if (!dataKey.make()) return KeyResult::NoMemory;
    for (const char* l : {kMarkedSlotLabel, kSlotLabel}) {
        unsigned long long n = 0;
        if (crypto_aead_xchacha20poly1305_ietf_decrypt(dataKey.get(), &n, nullptr, U(file, box), kKeyBytes + kTagBytes,
                                                       U(std::string_view(l)), 4, U(file, nonce), k.get()) == 0) {
            label = l;
            return KeyResult::Ok;
        }
    }
    return KeyResult::WrongSecret;
}

bool HasPasswordSlot(std::string_view file) {
    for (size_t i = kPwSalt; i < kRcSalt; ++i)
        if (file[i] != 0) return true;
    return false;
}

bool HasLayout(std::string_view file, const char* mark, size_t size) {
    return file.size() == size && file.compare(0, 4, mark) == 0;
}
// "RKS2" is "RKS1" with the previous data key after it; "RKS3" and "RKS4"
// are the two with the flags and their MAC after them. An older program
// takes another size and mark for damage and never for a key file.
bool IsChangingKeyFile(std::string_view file) {
    return HasLayout(file, "RKS2", kChangingKeyFileSize) || HasLayout(file, "RKS4", kMarkedChangingKeyFileSize);
}
bool IsMarkedKeyFile(std::string_view file) {
    return HasLayout(file, "RKS3", kMarkedKeyFileSize) || HasLayout(file, "RKS4", kMarkedChangingKeyFileSize);
}
size_t FlagsAt(std::string_view file) { return file.size() - kMacBytes - kFlagBytes; }

// The MAC of a marked key file: keyed BLAKE2b under a subkey of the data key
// over all but the MAC, the password part counted as zeros (the stick's
// copy lacks it, and a new password changes nothing else).
void KeyFileMac(std::string_view file, const unsigned char* dataKey, unsigned char* mac) {
    unsigned char sub[kKeyBytes];
    crypto_kdf_derive_from_key(sub, sizeof sub, 1, "Standmrk", dataKey);
    std::string covered(file.substr(0, file.size() - kMacBytes));
    std::fill(covered.begin() + kPwSalt, covered.begin() + kRcSalt, '\0');
    crypto_generichash(mac, kMacBytes, U(covered), covered.size(), sub, sizeof sub);
    sodium_memzero(sub, sizeof sub);
}
void SealFlags(std::string& file, uint32_t flags, const unsigned char* dataKey) {
    PutLE32(file, FlagsAt(file), flags);
    KeyFileMac(file, dataKey, U(file, file.size() - kMacBytes));
}
// False when the MAC does not hold or unknown flags are set.
bool FlagsHold(std::string_view file, const unsigned char* dataKey, uint32_t& flags) {
    unsigned char mac[kMacBytes];
    KeyFileMac(file, dataKey, mac);
    flags = GetLE32(file, FlagsAt(file));
    return crypto_verify_32(mac, U(file, file.size() - kMacBytes)) == 0 && (flags & ~kIndexFlag) == 0;
}

KeyResult ReadKeyFile(const Text& keyFile, std::string& file) {
    if (PathKind(keyFile) == 0) return KeyResult::Missing;
    if (!ReadFileBytes(keyFile, file, 4096) ||
        !(HasLayout(file, "RKS1", kKeyFileSize) || IsChangingKeyFile(file) || IsMarkedKeyFile(file)))
        return KeyResult::Damaged;
    const uint32_t ops = GetLE32(file, kOps), mem = GetLE32(file, kMem);
    // Only limits this program writes are taken: anything above would let a
    // planted file freeze every password try for minutes, anything below
    // would make guessing cheap.
    if (!KeyLimitsAccepted({ops, mem})) return KeyResult::Damaged;
    return KeyResult::Ok;
}

// The secret as the bytes the derivation gets (UTF-8), built in one buffer
// of its final room, so no shorter copy is left in freed memory; wiped by
// the caller.
std::string PasswordBytes(const Text& password) {
    std::string out;
    out.reserve(password.size() * 3);
    for (char16_t u : password) {
        const char32_t c = (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u;  // entries hold no surrogates
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

void Wipe(std::string& s) {
    if (!s.empty()) sodium_memzero(s.data(), s.size());
    s.clear();
}

KeyResult Unlock(const Text& keyFile, size_t salt, size_t nonce, size_t box, std::string_view secret) {
    std::string file;
    const KeyResult r = ReadKeyFile(keyFile, file);
    if (r != KeyResult::Ok) return r;
    SecretKey key;
    const char* label = nullptr;
    const KeyResult u = Unwrap(file, salt, nonce, box, secret, key, label);
    if (u != KeyResult::Ok) return u;
    const bool marked = IsMarkedKeyFile(file);
    // A marked key file cut back to the older layout to drop its mark.
    if (!marked && label == kMarkedSlotLabel) return KeyResult::Damaged;
    uint32_t flags = 0;
    if (marked && !FlagsHold(file, key.get(), flags)) return KeyResult::Damaged;
    SecretKey previous;
    if (IsChangingKeyFile(file)) {
        if (!previous.make()) return KeyResult::NoMemory;
        unsigned long long n = 0;
        if (crypto_aead_xchacha20poly1305_ietf_decrypt(previous.get(), &n, nullptr, U(file, kPrevBox),
                                                       kKeyBytes + kTagBytes, U(std::string_view("RKS2")), 4,
                                                       U(file, kPrevNonce), key.get()) != 0)
            return KeyResult::Damaged;
    }
    if (!HoldDataKey(key.get(), previous.get())) return KeyResult::NoMemory;
    S().keyFile = keyFile;
    S().indexMark = (flags & kIndexFlag) != 0;
    // A slot still sealed with the older label (marked since) is sealed anew
    // with the marked one; when that fails it is tried at the next unlock.
    if (marked && label == kSlotLabel &&
        Wrap(file, salt, nonce, box, secret, {GetLE32(file, kOps), GetLE32(file, kMem)}, key.get(), kMarkedSlotLabel)) {
        SealFlags(file, flags, key.get());
        ReplaceFileBytes(keyFile, file, true);
    }
    return KeyResult::Ok;
}

}  // namespace

bool KeyLimitsAccepted(KeyLimits limits) {
    return limits.opslimit >= kLeastKeyLimits.opslimit && limits.opslimit <= KeyLimits{}.opslimit &&
           limits.memlimitKiB >= kLeastKeyLimits.memlimitKiB && limits.memlimitKiB <= KeyLimits{}.memlimitKiB;
}

void SetNewKeyLimits(KeyLimits limits) { S().newLimits = limits; }
KeyLimits NewKeyLimits() { return S().newLimits; }

bool PrepareNewKey(std::array<unsigned char, kRecoveryBytes>& recovery) {
    State& s = S();
    if (!Ready() || !s.fresh.make()) return false;
    crypto_aead_xchacha20poly1305_ietf_keygen(s.fresh.get());
    randombytes_buf(recovery.data(), recovery.size());
    return true;
}

void DiscardNewKey() { S().fresh.reset(); }

KeyResult WriteNewKeyFile(const Text& keyFile, const Text& password,
                          const std::array<unsigned char, kRecoveryBytes>& recovery) {
    State& s = S();
    if (!s.fresh) return KeyResult::Damaged;
    std::string file(kKeyFileSize, '\0');
    std::memcpy(file.data(), "RKS1", 4);
    std::string secret = PasswordBytes(password);
    const std::string_view code(reinterpret_cast<const char*>(recovery.data()), recovery.size());
    // Never weaker than asked: when the memory cannot be had, nothing is
    // written and the caller says so (a halved derivation would stay halved
    // for the life of the key file).
    const KeyLimits limits = s.newLimits;
    PutLE32(file, kOps, limits.opslimit);
    PutLE32(file, kMem, limits.memlimitKiB);
    const bool ok = Wrap(file, kPwSalt, kPwNonce, kPwBox, secret, limits, s.fresh.get(), kSlotLabel) &&
                    Wrap(file, kRcSalt, kRcNonce, kRcBox, code, limits, s.fresh.get(), kSlotLabel);
    Wipe(secret);
    if (!ok) return KeyResult::NoMemory;
    if (!ReplaceFileBytes(keyFile, file, true)) return KeyResult::Damaged;
    if (!HoldDataKey(s.fresh.get())) return KeyResult::NoMemory;
    s.fresh.reset();
    s.keyFile = keyFile;
    s.indexMark = false;
    return KeyResult::Ok;
}

KeyResult UnlockWithPassword(const Text& keyFile, const Text& password) {
    // The stick's copy has no password part: only the code opens it.
    std::string file;
    if (ReadKeyFile(keyFile, file) == KeyResult::Ok && !HasPasswordSlot(file)) return KeyResult::WrongSecret;
    std::string secret = PasswordBytes(password);
    const KeyResult r = Unlock(keyFile, kPwSalt, kPwNonce, kPwBox, secret);
    Wipe(secret);
    return r;
}

KeyResult UnlockWithRecovery(const Text& keyFile, const std::array<unsigned char, kRecoveryBytes>& recovery) {
    return Unlock(keyFile, kRcSalt, kRcNonce, kRcBox,
                  std::string_view(reinterpret_cast<const char*>(recovery.data()), recovery.size()));
}

KeyResult ChangePassword(const Text& keyFile, const Text& newPassword) {
    State& s = S();
    if (!s.data) return KeyResult::WrongSecret;
    std::string file;
    const KeyResult r = ReadKeyFile(keyFile, file);
    if (r != KeyResult::Ok) return r;
    const bool marked = IsMarkedKeyFile(file);
    uint32_t flags = 0;
    if (marked && !FlagsHold(file, s.data.get(), flags)) return KeyResult::Damaged;
    // The MAC leaves the password part out: it holds as it is.
    std::string secret = PasswordBytes(newPassword);
    const bool ok = Wrap(file, kPwSalt, kPwNonce, kPwBox, secret, {GetLE32(file, kOps), GetLE32(file, kMem)},
                         s.data.get(), marked ? kMarkedSlotLabel : kSlotLabel);
    Wipe(secret);
    if (!ok) return KeyResult::NoMemory;
    return ReplaceFileBytes(keyFile, file, true) ? KeyResult::Ok : KeyResult::Damaged;
}

Text CurrentKeyFile() { return S().keyFile; }
void KeyFileRenamed(const Text& path) {
    if (S().mode != SealMode::Off) S().keyFile = path;
}

std::string StickKeyBytes(std::string_view keyFile) {
    std::string out(keyFile);
    if (out.size() == kKeyFileSize || out.size() == kChangingKeyFileSize || out.size() == kMarkedKeyFileSize ||
        out.size() == kMarkedChangingKeyFileSize)
        std::fill(out.begin() + kPwSalt, out.begin() + kRcSalt, '\0');
    return out;
}

bool CopyKeyFileInto(const Text& folder) {
    std::string file;
    if (S().keyFile.empty() || ReadKeyFile(S().keyFile, file) != KeyResult::Ok) return false;
    const std::string stick = StickKeyBytes(file);
    // Every save checks it: a copy that is already right is not written again.
    const Text copy = folder + u"/" + kKeyFileName;
    std::string there;
    if (ReadFileBytes(copy, there, 4096) && there == stick) return true;
    // Written, then read back: a stick that takes the bytes but keeps others
    // would leave sealed copies nothing can open.
    return ReplaceFileBytes(copy, stick, true) && ReadFileBytes(copy, there, 4096) && there == stick;
}

// ---- the mark of the index of saves ------------------------------------------------

bool IndexMarkSet() { return S().indexMark; }

KeyResult SetIndexMark() {
    State& s = S();
    if (!s.data) return KeyResult::WrongSecret;
    std::string file;
    const KeyResult r = ReadKeyFile(s.keyFile, file);
    if (r != KeyResult::Ok) return r;
    if (IsMarkedKeyFile(file)) {
        uint32_t flags = 0;
        if (!FlagsHold(file, s.data.get(), flags)) return KeyResult::Damaged;
        if (flags & kIndexFlag) {
            s.indexMark = true;
            return KeyResult::Ok;
        }
    } else {
        // Once, from the older layout: its slots keep their label until the
        // next unlock seals each anew.
        file[3] = IsChangingKeyFile(file) ? '4' : '3';
        file.append(kFlagBytes + kMacBytes, '\0');
    }
    SealFlags(file, kIndexFlag, s.data.get());
    if (!ReplaceFileBytes(s.keyFile, file, true)) return KeyResult::Damaged;
    s.indexMark = true;
    return KeyResult::Ok;
}

// ---- changing the data key --------------------------------------------------------

KeyResult BeginDataKeyChange(const Text& keyFile, const Text& newPassword,
                             const std::array<unsigned char, kRecoveryBytes>& recovery) {
    State& s = S();
    // One change at a time: a third key would have no place in the key file.
    if (!s.data || !s.fresh || s.previous) return KeyResult::Damaged;
    // The mark goes along: the index stays, sealed anew under the new key.
    const bool marked = s.indexMark;
    std::string file(marked ? kMarkedChangingKeyFileSize : kChangingKeyFileSize, '\0');
    std::memcpy(file.data(), marked ? "RKS4" : "RKS2", 4);
    const char* label = marked ? kMarkedSlotLabel : kSlotLabel;
    const KeyLimits limits = s.newLimits;
    PutLE32(file, kOps, limits.opslimit);
    PutLE32(file, kMem, limits.memlimitKiB);
    std::string secret = PasswordBytes(newPassword);
    const std::string_view code(reinterpret_cast<const char*>(recovery.data()), recovery.size());
    const bool ok = Wrap(file, kPwSalt, kPwNonce, kPwBox, secret, limits, s.fresh.get(), label) &&
                    Wrap(file, kRcSalt, kRcNonce, kRcBox, code, limits, s.fresh.get(), label);
    Wipe(secret);
    if (!ok) return KeyResult::NoMemory;
    randombytes_buf(U(file, kPrevNonce), kNonceBytes);
    crypto_aead_xchacha20poly1305_ietf_encrypt(U(file, kPrevBox), nullptr, s.data.get(), kKeyBytes,
                                               U(std::string_view("RKS2")), 4, nullptr, U(file, kPrevNonce),
                                               s.fresh.get());
    if (marked) SealFlags(file, kIndexFlag, s.fresh.get());
    // Not written (or not surely on the disk): the old key stays the one
    // files are sealed under, which the old key file and this one both open.
    if (!ReplaceFileBytes(keyFile, file, true)) return KeyResult::Damaged;
    SecretKey previous;
    if (!previous.make()) return KeyResult::NoMemory;
    std::memcpy(previous.get(), s.data.get(), kKeyBytes);
    if (!HoldDataKey(s.fresh.get(), previous.get())) return KeyResult::NoMemory;
    s.fresh.reset();
    s.keyFile = keyFile;
    return KeyResult::Ok;
}

bool DataKeyChanging() { return static_cast<bool>(S().previous); }

ConvertResult ResealDataFile(const Text& path) {
    State& s = S();
    if (PathKind(path) != 1 || MarkOfFile(path) == 0) return ConvertResult::Unchanged;
    std::string raw, plain;
    if (!ReadFileBytes(path, raw, 256u * 1024u * 1024u)) return ConvertResult::Failed;
    if (!s.data) return ConvertResult::Failed;
    const std::string place = PlaceOfFile(path);
    if (OpenUnder(s.data.get(), raw, plain, place)) {
        Wipe(plain);
        return ConvertResult::Unchanged;
    }
    if (!s.previous || !OpenUnder(s.previous.get(), raw, plain, place)) return ConvertResult::Refused;
    // From the old sealed form to the new one in memory: no plain byte reaches the disk.
    const std::string sealed = SealBytes(plain, place);
    Wipe(plain);
    if (sealed.empty()) return ConvertResult::Failed;
    return ReplaceFileBytes(path, sealed, true) ? ConvertResult::Converted : ConvertResult::Failed;
}

KeyResult FinishDataKeyChange() {
    State& s = S();
    if (!s.previous) return KeyResult::Ok;
    std::string file;
    const KeyResult r = ReadKeyFile(s.keyFile, file);
    if (r != KeyResult::Ok) return r;
    if (IsChangingKeyFile(file)) {
        const bool marked = IsMarkedKeyFile(file);
        uint32_t flags = 0;
        if (marked && !FlagsHold(file, s.data.get(), flags)) return KeyResult::Damaged;
        // The slots stay as they are; only the previous key goes.
        file.resize(kKeyFileSize);
        std::memcpy(file.data(), marked ? "RKS3" : "RKS1", 4);
        if (marked) {
            file.append(kFlagBytes + kMacBytes, '\0');
            SealFlags(file, flags, s.data.get());
        }
        if (!ReplaceFileBytes(s.keyFile, file, true)) return KeyResult::Damaged;
    }
    {
        const std::unique_lock guard(KeyGuard());
        s.previous.reset();
    }
    s.forgetLast();
    return KeyResult::Ok;
}

Text PreviousPortraitStem(const Text& name) {
    const State& s = S();
    SecretKey portrait;
    if (!Ready() || !s.previous || !portrait.make()) return Text();
    crypto_kdf_derive_from_key(portrait.get(), kKeyBytes, 1, "Portraet", s.previous.get());
    return PortraitStemUnder(portrait.get(), name);
}

// ---- recovery code -------------------------------------------------------------

namespace {
constexpr char16_t kCrockford[] = u"0123456789ABCDEFGHJKMNPQRSTVWXYZ";

int CrockfordValue(char16_t c) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if (c == u'O') c = u'0';
    if (c == u'I' || c == u'L') c = u'1';
    for (int i = 0; i < 32; ++i)
        if (kCrockford[i] == c) return i;
    return -1;
}
}  // namespace

Text RecoveryCodeText(const std::array<unsigned char, kRecoveryBytes>& bytes) {
    Text out;
    int bits = 0, count = 0;
    uint32_t buffer = 0;
    for (unsigned char b : bytes) {
        buffer = (buffer << 8) | b;
        bits += 8;
        while (bits >= 5) {
            bits -= 5;
            if (count > 0 && count % 4 == 0) out.push_back(u' ');
            out.push_back(kCrockford[(buffer >> bits) & 31]);
            ++count;
        }
    }
    return out;
}

bool ParseRecoveryCode(const Text& typed, std::array<unsigned char, kRecoveryBytes>& bytes) {
    uint32_t buffer = 0;
    int bits = 0, symbols = 0;
    size_t at = 0;
    for (char16_t c : typed) {
        if (c == u' ' || c == u'-' || c == u'\t') continue;
        const int v = CrockfordValue(c);
        if (v < 0 || ++symbols > 32) return false;
        buffer = (buffer << 5) | static_cast<uint32_t>(v);
        bits += 5;
        if (bits >= 8) {
            bits -= 8;
            bytes[at++] = static_cast<unsigned char>((buffer >> bits) & 0xFF);
        }
    }
    return symbols == 32 && at == kRecoveryBytes;
}

void WipeText(Text& text) {
    if (!text.empty()) sodium_memzero(text.data(), text.size() * sizeof(char16_t));
    text.clear();
}

void WipeBytes(std::string& bytes) {
    if (!bytes.empty()) sodium_memzero(bytes.data(), bytes.size());
    bytes.clear();
}
