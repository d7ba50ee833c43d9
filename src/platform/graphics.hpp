// The drawing facade: one window, one set of drawing state, free functions.
// Drawing is recorded into the frame's draw list and shown by Flip.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "platform/text.hpp"

struct ImageData;
struct ImageFont;
struct Pixmap;
using TImage = std::shared_ptr<ImageData>;
using TImageFont = std::shared_ptr<ImageFont>;

// Application title: window caption and caption of system message boxes.
void SetAppTitle(const Text& title);
const Text& AppTitle();

// Window and frame.
void SetGraphicsDriver(int driver, int defaultFlags);
bool OpenGraphicsWindow(int width, int height, int depth, int hertz, int flags);
void CloseGraphicsWindow();
int DesktopWidth();
int DesktopHeight();
int GraphicsWidth();
int GraphicsHeight();
void Cls();
void SetClsColor(double r, double g, double b);
void Flip(int sync);
// Names, for this frame, a part of the window whose content is drawn moved by
// the offset (scrollX, scrollY). When the regions tile the window and a frame
// differs from the last only by changed offsets, the backend moves the last
// picture's pixels and draws only what came into view.
void AddScrollRegion(int x, int y, int width, int height, int scrollX, int scrollY);

// Drawing state and primitives.
void SetColor(double r, double g, double b);
void SetAlpha(double alpha);
void SetBlend(int mode);
void SetDrawScale(double sx, double sy);
void SetDrawOrigin(double x, double y);
void SetViewport(int x, int y, int width, int height);
void SetDrawFont(const TImageFont& font);
void DrawRect(double x, double y, double width, double height);
void DrawImageAt(const TImage& image, double x, double y, int frame = 0);
void DrawTextAt(const Text& text, double x, double y);

// Reading the drawing state back (tests and debug checks).
void GetColor(int& r, int& g, int& b);
void GetClsColor(int& r, int& g, int& b);
double GetAlpha();
int GetBlend();
void GetDrawScale(double& sx, double& sy);

// Images.
TImage LoadImageFrom(const Text& source, int flags = -1);
TImage LoadImageFrom(const std::shared_ptr<Pixmap>& pixmap, int flags = -1);
void SetImageMaskColor(int r, int g, int b);
int ImageWidthOf(const TImage& image);
int ImageHeightOf(const TImage& image);
// Puts the images' pixels on the graphics card now instead of at the first
// frame that draws them (pictures made ahead of the screen that shows them).
void UploadImagesAhead(const std::vector<TImage>& images);

// Fonts and text.
constexpr int kSmoothFont = 4;
TImageFont LoadFontFrom(const Text& source, int pixelSize, int style = kSmoothFont);
int TextWidthOf(const Text& text);
int TextHeightOf(const Text& text);

// Figures of the last presented frame, for benchmarks.
struct FrameFigures {
    int drawCalls = 0;
    int vertices = 0;
    int commands = 0;
    bool skipped = false;
    bool patched = false;  // drawn only where it differed from the last frame
    long long framesPresented = 0;
    long long framesSkipped = 0;
    double presentMs = 0;  // wall time the backend took to draw and show the frame
};
const FrameFigures& LastFrameFigures();
// Called at the end of every Flip (benchmarks measure modal loops with it).
void SetFrameObserver(std::function<void()> observer);
