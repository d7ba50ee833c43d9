// Taking the rows away and back: every text of the rows in one fixed order
// (the tiles of rows 1.., the per-student texts, the undo list), each as its
// length and its UTF-16 units, in one block sealed under the data key.
#include "gradebook/locked_rows.hpp"

#include <cstring>
#include <functional>

#include "platform/sealed_files.hpp"

TSchulklasse* OffeneKlasse = nullptr;

namespace {

// Every text of the rows that tells something about a student, in the same
// order each time.
void JederZeilentext(TSchulklasse& k, const std::function<void(::Text&)>& tun) {
    for (size_t i = 1; i < k.Zensurzeile.size(); ++i) {
        if (!k.Zensurzeile[i]) continue;
        for (const auto& kachel : k.Zensurzeile[i]->Kachel)
            if (kachel)
                for (::Text& t : kachel->Text) tun(t);
    }
    for (auto* liste : {&k.Telefonnummer, &k.Notizen, &k.VergesseneHA})
        for (::Text& t : *liste) tun(t);
    for (TNoteneintrag& e : k.Eintragsverlauf)
        for (::Text& t : e.text) tun(t);
}

}  // namespace

bool ZeilenWegschliessen(TSchulklasse& klasse) {
    if (!klasse.GesperrteZeilen.empty()) return true;
    // A kill while locked then loses nothing; a failed save still has the
    // recovery file of the last edit, and the block below.
    klasse.speichern(u"");
    // One allocation: a growing block would leave copies behind in freed memory.
    size_t laenge = 0;
    JederZeilentext(klasse, [&laenge](::Text& t) { laenge += 2 + t.size(); });
    ::Text block;
    block.reserve(laenge);
    JederZeilentext(klasse, [&block](::Text& t) {
        const uint32_t n = static_cast<uint32_t>(t.size());
        block.push_back(static_cast<char16_t>(n >> 16));
        block.push_back(static_cast<char16_t>(n & 0xFFFF));
        block += t;
    });
    const std::string_view bytes(reinterpret_cast<const char*>(block.data()), block.size() * sizeof(char16_t));
    std::string versiegelt = SealBytes(bytes);
    WipeText(block);
    if (versiegelt.empty()) return false;
    klasse.GesperrteZeilen = std::move(versiegelt);
    JederZeilentext(klasse, [](::Text& t) { WipeText(t); });
    return true;
}

bool ZeilenZurueckholen(TSchulklasse& klasse) {
    if (klasse.GesperrteZeilen.empty()) return true;
    std::string bytes;
    if (!OpenSealedBytes(klasse.GesperrteZeilen, bytes) || bytes.size() % sizeof(char16_t) != 0) return false;
    ::Text block(bytes.size() / sizeof(char16_t), u'\0');
    std::memcpy(block.data(), bytes.data(), bytes.size());
    WipeBytes(bytes);
    size_t pos = 0;
    bool passt = true;
    JederZeilentext(klasse, [&](::Text& t) {
        if (!passt || block.size() - pos < 2) {
            passt = false;
            return;
        }
        const size_t n = (static_cast<size_t>(block[pos]) << 16) | block[pos + 1];
        pos += 2;
        if (block.size() - pos < n) {
            passt = false;
            return;
        }
        t.assign(block, pos, n);
        pos += n;
    });
    const bool ganz = passt && pos == block.size();
    WipeText(block);
    // Nothing changes the grid while it is locked; a block that does not fit
    // would be a fault of this program, and the class is then not written.
    if (!ganz) return false;
    klasse.GesperrteZeilen.clear();
    return true;
}
