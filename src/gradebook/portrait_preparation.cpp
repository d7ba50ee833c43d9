// The preparation: one list of files, taken in order by the background thread
// and by a thread that needs them now, each file by exactly one of them.
#include "gradebook/portrait_preparation.hpp"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "gradebook/portrait_cache.hpp"

namespace {
enum class Stand { offen, inArbeit, fertig };

struct Posten {
    Text pfad;
    Stand stand = Stand::offen;
    bool vorhanden = false;  // the file was there when its stamp was taken
    FileStamp stempel;
    TPixmap bild;
    bool ausgegeben = false;  // handed out by FertigeVorbereitete
};

struct Vorbereitung {
    std::mutex m;
    std::condition_variable erledigt;
    std::vector<Posten> posten;
    size_t naechster = 0;
    int groesse = 0;
    bool abbrechen = false;
    std::thread faden;

    ~Vorbereitung() { beenden(); }

    void beenden() {
        {
            const std::lock_guard l(m);
            abbrechen = true;
        }
        if (faden.joinable()) faden.join();
        const std::lock_guard l(m);
        posten.clear();
        naechster = 0;
        groesse = 0;
        abbrechen = false;
    }

    // Takes the next open file and decodes it; false when none is left.
    bool einenBearbeiten(std::unique_lock<std::mutex>& l) {
        while (naechster < posten.size() && posten[naechster].stand != Stand::offen) ++naechster;
        if (abbrechen || naechster >= posten.size()) return false;
        bearbeiten(l, naechster);
        return true;
    }

    void bearbeiten(std::unique_lock<std::mutex>& l, size_t i) {
        posten[i].stand = Stand::inArbeit;
        const Text pfad = posten[i].pfad;
        const int s = groesse;
        l.unlock();
        // The stamp first: a file replaced during the reading has a newer one.
        FileStamp stempel;
        const bool vorhanden = FileStampOf(pfad, stempel);
        TPixmap bild = vorhanden ? PortraitPixmap(pfad, s) : nullptr;
        l.lock();
        posten[i].vorhanden = vorhanden;
        posten[i].stempel = stempel;
        posten[i].bild = std::move(bild);
        posten[i].stand = Stand::fertig;
        erledigt.notify_all();
    }

    void abwarten(std::unique_lock<std::mutex>& l) {
        erledigt.wait(l, [&] {
            for (const Posten& p : posten)
                if (p.stand == Stand::inArbeit) return false;
            return true;
        });
    }
};

Vorbereitung& V() {
    static Vorbereitung v;
    return v;
}
}  // namespace

void PortraitsVorbereiten(std::vector<Text> pfade, int groesse) {
    Vorbereitung& v = V();
    v.beenden();
    {
        const std::lock_guard l(v.m);
        // Students without a photo need no thread, and a class without any starts none.
        FileStamp stempel;
        for (Text& p : pfade)
            if (FileStampOf(p, stempel)) v.posten.push_back(Posten{std::move(p)});
        v.groesse = groesse;
        if (v.posten.empty()) return;
    }
    try {
        v.faden = std::thread([&v] {
            std::unique_lock l(v.m);
            while (v.einenBearbeiten(l)) {
            }
        });
    } catch (...) {
        // No thread: the plan decodes its pictures when it opens, as without preparation.
        v.beenden();
    }
}

std::vector<VorbereitetesBild> FertigeVorbereitete(int hoechstens) {
    Vorbereitung& v = V();
    const std::lock_guard l(v.m);
    std::vector<VorbereitetesBild> fertig;
    for (Posten& p : v.posten) {
        if (int(fertig.size()) >= hoechstens) break;
        if (p.stand != Stand::fertig || p.ausgegeben) continue;
        p.ausgegeben = true;
        if (p.vorhanden && p.bild) fertig.push_back({p.pfad, v.groesse, p.stempel, p.bild});
    }
    return fertig;
}

bool VorbereitungAusstehend() {
    Vorbereitung& v = V();
    const std::lock_guard l(v.m);
    for (const Posten& p : v.posten)
        if (p.stand != Stand::fertig || !p.ausgegeben) return true;
    return false;
}

bool VorbereitetesPortrait(const Text& pfad, int groesse, FileStamp& stempel, TPixmap& bild) {
    Vorbereitung& v = V();
    std::unique_lock l(v.m);
    if (groesse != v.groesse) return false;
    for (size_t i = 0; i < v.posten.size(); ++i) {
        if (v.posten[i].pfad != pfad) continue;
        if (v.posten[i].stand == Stand::offen) v.bearbeiten(l, i);
        v.erledigt.wait(l, [&] { return v.posten[i].stand == Stand::fertig; });
        const Posten& p = v.posten[i];
        if (!p.vorhanden || !p.bild) return false;
        stempel = p.stempel;
        bild = p.bild;
        return true;
    }
    return false;
}

void VorbereitungAbschliessen() {
    Vorbereitung& v = V();
    std::unique_lock l(v.m);
    while (v.einenBearbeiten(l)) {
    }
    v.abwarten(l);
}

void VorbereitungBeenden() { V().beenden(); }
