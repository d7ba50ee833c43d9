// The PDF page facade over cairo's PDF surface. The text font is the embedded
// text font, opened once with FreeType and handed to cairo as a font face; the
// document is streamed into a byte string.
#include "platform/pdf_pages.hpp"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>

#include "platform/resources.hpp"

namespace {
const char16_t kTextschrift[] = u"media/fonts/segoeui.ttf";

// Lives for the whole run, like the fonts of the screen: cairo keeps
// glyphs of it cached between documents.
cairo_font_face_t* Schriftgesicht() {
    static cairo_font_face_t* gesicht = [] () -> cairo_font_face_t* {
        const auto bytes = EmbeddedResource(kTextschrift);
        FT_Library lib = nullptr;
        if (bytes.empty() || FT_Init_FreeType(&lib) != 0) return nullptr;
        FT_Face face = nullptr;
        if (FT_New_Memory_Face(lib, bytes.data(), static_cast<FT_Long>(bytes.size()), 0, &face) != 0) {
            std::fprintf(stderr, "pdf: the text font cannot be opened\n");
            return nullptr;
        }
        cairo_font_face_t* f = cairo_ft_font_face_create_for_ft_face(face, 0);
        if (cairo_font_face_status(f) != CAIRO_STATUS_SUCCESS) return nullptr;
        return f;
    }();
    return gesicht;
}

cairo_status_t Anhaengen(void* ziel, const unsigned char* daten, unsigned int laenge) {
    static_cast<std::string*>(ziel)->append(reinterpret_cast<const char*>(daten), laenge);
    return CAIRO_STATUS_SUCCESS;
}

void Farbe(cairo_t* cr, const Druckfarbe& f) {
    cairo_set_source_rgb(cr, f[0] / 255.0, f[1] / 255.0, f[2] / 255.0);
}
}  // namespace

struct PdfDokument::Zustand {
    std::string bytes;
    cairo_surface_t* flaeche = nullptr;
    cairo_t* cr = nullptr;
    bool ok = false;

    ~Zustand() {
        if (cr) cairo_destroy(cr);
        if (flaeche) cairo_surface_destroy(flaeche);
    }
};

PdfDokument::PdfDokument(double breite, double hoehe) : z_(std::make_unique<Zustand>()) {
    cairo_font_face_t* schrift = Schriftgesicht();
    if (!schrift) return;
    z_->flaeche = cairo_pdf_surface_create_for_stream(Anhaengen, &z_->bytes, breite, hoehe);
    if (cairo_surface_status(z_->flaeche) != CAIRO_STATUS_SUCCESS) return;
    cairo_pdf_surface_set_metadata(z_->flaeche, CAIRO_PDF_METADATA_CREATOR, "Rido Kladdorix");
    z_->cr = cairo_create(z_->flaeche);
    cairo_set_font_face(z_->cr, schrift);
    z_->ok = cairo_status(z_->cr) == CAIRO_STATUS_SUCCESS;
}

PdfDokument::~PdfDokument() = default;

bool PdfDokument::Ok() const { return z_->ok; }

void PdfDokument::NeueSeite(double breite, double hoehe) {
    if (!z_->ok) return;
    cairo_show_page(z_->cr);
    cairo_pdf_surface_set_size(z_->flaeche, breite, hoehe);
    ++seiten_;
}

void PdfDokument::Schrift(const ::Text& text, double x, double grundlinie, double groesse, const Druckfarbe& farbe) {
    if (!z_->ok || text.empty()) return;
    const std::string utf8 = Utf8FromText(text);
    cairo_set_font_size(z_->cr, groesse);
    Farbe(z_->cr, farbe);
    cairo_move_to(z_->cr, x, grundlinie);
    cairo_show_text(z_->cr, utf8.c_str());
}

double PdfDokument::Textbreite(const ::Text& text, double groesse) {
    if (!z_->ok || text.empty()) return 0;
    const std::string utf8 = Utf8FromText(text);
    cairo_set_font_size(z_->cr, groesse);
    cairo_text_extents_t e;
    cairo_text_extents(z_->cr, utf8.c_str(), &e);
    return e.x_advance;
}

void PdfDokument::Flaeche(double x, double y, double breite, double hoehe, const Druckfarbe& farbe) {
    if (!z_->ok) return;
    Farbe(z_->cr, farbe);
    cairo_rectangle(z_->cr, x, y, breite, hoehe);
    cairo_fill(z_->cr);
}

void PdfDokument::Rahmen(double x, double y, double breite, double hoehe, double linie, const Druckfarbe& farbe) {
    if (!z_->ok) return;
    Farbe(z_->cr, farbe);
    cairo_set_line_width(z_->cr, linie);
    cairo_rectangle(z_->cr, x, y, breite, hoehe);
    cairo_stroke(z_->cr);
}

void PdfDokument::Bild(const TPixmap& bild, double x, double y, double breite, double hoehe) {
    if (!z_->ok || !bild || bild->width <= 0 || bild->height <= 0) return;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bild->width, bild->height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return;
    }
    cairo_surface_flush(s);
    unsigned char* ziel = cairo_image_surface_get_data(s);
    const int zielpitch = cairo_image_surface_get_stride(s);
    const int bpp = bild->format == 4 ? 4 : 3;
    for (int py = 0; py < bild->height; ++py) {
        const unsigned char* q = bild->pixels.data() + static_cast<size_t>(py) * bild->pitch;
        auto* p = reinterpret_cast<uint32_t*>(ziel + static_cast<size_t>(py) * zielpitch);
        for (int px = 0; px < bild->width; ++px, q += bpp) {
            const uint32_t a = bpp == 4 ? q[3] : 255;
            // Premultiplied, as cairo keeps its pixels.
            const uint32_t r = q[2] * a / 255, g = q[1] * a / 255, b = q[0] * a / 255;
            p[px] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    cairo_surface_mark_dirty(s);
    cairo_save(z_->cr);
    cairo_translate(z_->cr, x, y);
    cairo_scale(z_->cr, breite / bild->width, hoehe / bild->height);
    cairo_set_source_surface(z_->cr, s, 0, 0);
    cairo_paint(z_->cr);
    cairo_restore(z_->cr);
    cairo_surface_destroy(s);
}

bool PdfDokument::Beenden(std::string& bytes) {
    bytes.clear();
    if (!z_->ok) return false;
    z_->ok = false;
    cairo_destroy(z_->cr);
    z_->cr = nullptr;
    cairo_surface_finish(z_->flaeche);
    const bool gut = cairo_surface_status(z_->flaeche) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(z_->flaeche);
    z_->flaeche = nullptr;
    if (gut) bytes.swap(z_->bytes);
    return gut && !bytes.empty();
}
