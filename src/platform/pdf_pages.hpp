// Pages of a PDF document drawn with cairo: text in the program's embedded
// text font (through FreeType, so every Latin-1 letter and the euro sign print
// as typed), filled and outlined rectangles, and pictures. Coordinates and
// sizes are in points (1/72 inch), origin at the page's top left, y downward.
// The document is built in memory; the caller writes its bytes.
#pragma once
#include <array>
#include <memory>
#include <string>

#include "platform/pixmap.hpp"
#include "platform/text.hpp"

using Druckfarbe = std::array<int, 3>;  // red, green, blue 0..255

// Paper sizes in points.
inline constexpr double kA4Breite = 595.28, kA4Hoehe = 841.89;
inline constexpr double kA5Breite = 419.53, kA5Hoehe = 595.28;

class PdfDokument {
public:
    // A document whose first page has the given size.
    PdfDokument(double breite, double hoehe);
    ~PdfDokument();
    PdfDokument(const PdfDokument&) = delete;
    PdfDokument& operator=(const PdfDokument&) = delete;

    // False when cairo or the embedded font could not be set up; drawing is
    // then ignored and Beenden fails.
    bool Ok() const;

    // Ends the current page; what follows is drawn on a new page of this size.
    void NeueSeite(double breite, double hoehe);
    int Seitenzahl() const { return seiten_; }

    // Text with its baseline starting at (x, grundlinie), size in points.
    void Schrift(const ::Text& text, double x, double grundlinie, double groesse, const Druckfarbe& farbe);
    // Advance width of the text at that size.
    double Textbreite(const ::Text& text, double groesse);

    void Flaeche(double x, double y, double breite, double hoehe, const Druckfarbe& farbe);
    // Outline of the rectangle, the line centred on its edge.
    void Rahmen(double x, double y, double breite, double hoehe, double linie, const Druckfarbe& farbe);
    // The picture scaled into the rectangle (its alpha kept).
    void Bild(const TPixmap& bild, double x, double y, double breite, double hoehe);

    // Finishes the document; its bytes, or false (bytes empty) on any cairo error.
    bool Beenden(std::string& bytes);

private:
    struct Zustand;
    std::unique_ptr<Zustand> z_;
    int seiten_ = 1;
};
