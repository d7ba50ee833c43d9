// Gradebook files at rest: every file the program keeps in its data folder
// and the mirror is read and written through here, sealed under the data key
// while encryption is on, plain while it is off. Reading tells the forms
// apart by the first four bytes ("RKV2" + nonce + XChaCha20-Poly1305 with
// the file's place as associated data; the older "RKV1" without a place),
// so half converted folders and old backups open, and a sealed file moved
// to another place does not.
// The key file ("RKS1") holds the data key twice: under a key derived from
// the password and under one derived from the recovery code (Argon2id).
// While the data key is replaced by a new one ("RKS2") it also holds the
// previous key, sealed under the new one, and files open under either.
// Once the gradebook keeps its index of saves, the key file says so ("RKS3",
// "RKS4" while the key changes): flags and a MAC under a subkey of the data
// key, so the mark cannot be cleared without the password or the code.
// Keys live in locked, guarded memory (sodium_malloc) and are wiped on lock
// and at exit. This is the only code that calls libsodium.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.hpp"

// ---- state ---------------------------------------------------------------

enum class SealMode {
    Off,       // files are written plain
    Unlocked,  // files are written sealed under the data key held
    Locked,    // encryption is on but no key is held: nothing is written
};
SealMode CurrentSealMode();
bool SealingOn();  // Unlocked or Locked
// Wipes the keys; with encryption on the mode becomes Locked.
void LockSealing();
// Wipes the keys and returns to plain files.
void SealingOff();

// ---- data files ------------------------------------------------------------

enum class DataReadResult {
    Ok,
    Unreadable,  // missing, not a plain file, too large or not readable
    Refused,     // sealed, but damaged, truncated or under another key
    Locked,      // sealed, and no key is held
};
// The plain bytes of a data file, sealed or not. out is empty unless Ok.
DataReadResult ReadDataFile(const Text& path, std::string& out, size_t maxBytes);
// Replaces the file (beside, flush when durable, rename) by the bytes, sealed
// when encryption is on. False when nothing could be written, also when
// encryption is on and locked.
bool WriteDataFile(const Text& path, std::string_view bytes, bool durable);
// True when the file starts with the sealed form's mark.
bool IsSealedFile(const Text& path);
// True when the file is sealed in the older form that is bound to no place
// (read as before; the conversion at start rewrites it in the bound form).
bool IsUnboundSealedFile(const Text& path);
// Sealed / opened bytes in memory (for tests and the conversion), bound to
// the place (the associated data PlaceOfFile gives for the file's path).
std::string SealBytes(std::string_view plain, std::string_view place = {});
bool OpenSealedBytes(std::string_view sealed, std::string& plain, std::string_view place = {});
inline constexpr char kSealedMark[] = "RKV2";
inline constexpr char kUnboundSealedMark[] = "RKV1";

// What a sealed file is bound to, from its path: the rule is the gradebook's
// (kind, class, subject, a backup's time stamp); without a rule, nothing.
using PlaceRule = std::string (*)(const Text& path);
void SetPlaceRule(PlaceRule rule);
std::string PlaceOfFile(const Text& path);

// What the gradebook checks of a data file it reads while encryption is on,
// beyond the seal: the form the file was in and its plain bytes (forms no
// longer taken, a class file older than its last save). False makes
// ReadDataFile answer Refused and OpenIfSealed false. Conversions and
// moves do not ask it: they must reach every file.
enum class SealedForm { Plain, Unbound, Bound };
using ReadCheck = bool (*)(const Text& path, SealedForm form, std::string_view plain);
void SetReadCheck(ReadCheck check);
// BLAKE2b-256 of the bytes in 64 lower-case hex digits.
std::string ContentHash(std::string_view bytes);

// Opens picture bytes read from path in place when they are sealed; false
// when they are sealed and do not open there (they are then emptied). Plain
// bytes stay as they are.
bool OpenIfSealed(std::vector<unsigned char>& bytes, const Text& path);

// A data file moved or copied to another place: sealed bytes that open are
// sealed again for the new place (a sealed file is bound to its place);
// plain ones and ones that do not open are moved or copied as they are.
bool MoveDataFile(const Text& from, const Text& to);
bool CopyDataFile(const Text& from, const Text& to);

// Rewrites one file in the form the current mode asks for (sealed when on,
// plain when off), its plain bytes unchanged, by beside, flush and rename.
enum class ConvertResult { Unchanged, Converted, Failed, Refused };
ConvertResult ConvertDataFile(const Text& path, bool seal);

// The 32 lower-case hex digits that name a portrait while encryption is on:
// a keyed BLAKE2b hash of the name; "" when no key is held.
Text SealedPortraitStem(const Text& name);

// ---- key file --------------------------------------------------------------

inline constexpr char16_t kKeyFileName[] = u".Kladdorix-Schluessel";
inline constexpr size_t kKeyFileSize = 188;
// "RKS3": the 188 bytes, then the flags (4, little endian) and a MAC (32).
inline constexpr size_t kMarkedKeyFileSize = kKeyFileSize + 4 + 32;
inline constexpr size_t kRecoveryBytes = 20;

struct KeyLimits {
    uint32_t opslimit = 3;
    uint32_t memlimitKiB = 262144;
};
// The least limits any key file of this program was written with (earlier
// versions halved the memory down to this when 256 MiB could not be had).
inline constexpr KeyLimits kLeastKeyLimits{1, 8192};
// True for limits within what the program writes (kLeastKeyLimits up to the
// default); a key file with others is refused as damaged.
bool KeyLimitsAccepted(KeyLimits limits);
// Argon2id limits used for new key files; the program keeps the default.
// Measurements and tests may lower them.
void SetNewKeyLimits(KeyLimits limits);
KeyLimits NewKeyLimits();

enum class KeyResult { Ok, Missing, Damaged, WrongSecret, NoMemory };

// A fresh data key and recovery code, not yet written: held until
// WriteNewKeyFile (which makes them current) or DiscardNewKey.
bool PrepareNewKey(std::array<unsigned char, kRecoveryBytes>& recovery);
// Writes the key file for the prepared key, the password and the recovery
// code; on success encryption is on and unlocked with that key.
KeyResult WriteNewKeyFile(const Text& keyFile, const Text& password,
                          const std::array<unsigned char, kRecoveryBytes>& recovery);
void DiscardNewKey();

KeyResult UnlockWithPassword(const Text& keyFile, const Text& password);
KeyResult UnlockWithRecovery(const Text& keyFile, const std::array<unsigned char, kRecoveryBytes>& recovery);
// With the key held: the password part of the key file replaced by one for
// the new password (new salt and nonce); the recovery part stays.
KeyResult ChangePassword(const Text& keyFile, const Text& newPassword);
// The key file in use (set by unlocking or writing it), "" while off.
// (Unlocking an "RKS2" key file holds the previous key too.)
Text CurrentKeyFile();
// The key file in use was renamed to path.
void KeyFileRenamed(const Text& path);
// The key file as the mirror gets it: the password part zeroed, so what
// lies on a lost stick opens only with the recovery code and no password
// can be guessed against it.
std::string StickKeyBytes(std::string_view keyFile);
// Writes the stick's key file (StickKeyBytes of the key file in use) into
// the folder unless it is there already, and reads it back; false when it
// is not there as it must be.
bool CopyKeyFileInto(const Text& folder);

// ---- the mark of the index of saves ------------------------------------------
// A flag in the key file that the gradebook's index of saves exists, so a
// start that finds the index missing can tell a deleted one from an update
// of a version before it. Authenticated with a BLAKE2b MAC under a subkey of
// the data key over every byte but the password part (the stick's copy has
// that part zeroed and checks too); a flag or MAC changed by hand makes the
// key file refused as damaged. The slots of a marked key file are sealed
// with "RKS3" as associated data (the slot opened with an older label is
// sealed anew at unlocking), so the file cut back to "RKS1" does not open.

// True when the key file unlocked last carries the mark.
bool IndexMarkSet();
// With the key held: the key file in use rewritten with the mark (in the
// marked layout, once). Ok also when it is set already.
KeyResult SetIndexMark();

// ---- changing the data key ------------------------------------------------
// A new data key and recovery code without a plain phase: the key file
// becomes "RKS2" (the new key in both slots, then the previous key sealed
// under the new one) until every file is sealed under the new key; the
// previous key is then dropped by replacing the key file with its "RKS1"
// part. A kill at any point leaves every file openable.

inline constexpr size_t kChangingKeyFileSize = 260;
// "RKS4": "RKS2" with the flags and the MAC after it (a change of key with the mark set).
inline constexpr size_t kMarkedChangingKeyFileSize = kChangingKeyFileSize + 4 + 32;
// With the key held and a key prepared (PrepareNewKey): writes the "RKS2" key
// file for the prepared key, the new password and the new recovery code; on
// success the prepared key is the data key and the one held before is kept
// as the previous key. Refused while a change is still unfinished.
KeyResult BeginDataKeyChange(const Text& keyFile, const Text& newPassword,
                             const std::array<unsigned char, kRecoveryBytes>& recovery);
// True while a previous key is held: files may still be sealed under it.
bool DataKeyChanging();
// A sealed file under the previous key sealed again under the data key, in
// place (beside, flush, rename), straight from one sealed form to the other.
// Unchanged for plain files and ones already under the data key, Refused for
// ones that open under neither.
ConvertResult ResealDataFile(const Text& path);
// Every file is under the new key: the key file in use loses the previous
// key ("RKS1" again, replaced at once) and so does memory.
KeyResult FinishDataKeyChange();
// SealedPortraitStem under the previous key; "" when none is held.
Text PreviousPortraitStem(const Text& name);

// ---- recovery code -------------------------------------------------------

// 8 groups of 4 Crockford base32 characters, separated by blanks.
Text RecoveryCodeText(const std::array<unsigned char, kRecoveryBytes>& bytes);
// Reads a typed code: lower case accepted, blanks and hyphens ignored
// (and I, L as 1, O as 0); false when it is no code.
bool ParseRecoveryCode(const Text& typed, std::array<unsigned char, kRecoveryBytes>& bytes);

// Overwrites a text that held a secret.
void WipeText(Text& text);
// The same for bytes.
void WipeBytes(std::string& bytes);
