// artgen - draws the ZorNavCtrl skin artwork and writes the resource files.
//
//   artgen OUTDIR [PREVIEWDIR]
//
// Every picture is drawn procedurally on a floating-point RGBA canvas with
// coverage-based anti-aliasing (each pixel is sampled on a 16 x 16 grid), then
// written as an RGBA PNG, a 24-bit BMP or a palettised 8-bit BMP.  Pictures that
// are drawn with a colour key (all BMPs) are flattened first: edge pixels are
// blended toward a neutral colour and anything less than half covered becomes
// exact magenta, so no pink fringe survives the keyed blit.
//
// With PREVIEWDIR, a 4x enlarged preview of every picture is also written there,
// alpha and magenta shown over a checkerboard.
//
// Host tool: build with a native C++17 compiler, needs only the stb headers.

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Colours

struct Color {
    float r = 0, g = 0, b = 0, a = 0;  // straight (not premultiplied), 0..1
};

Color hex(uint32_t rgb, float a = 1.0f)
{
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f,
            (rgb & 0xFF) / 255.0f, a};
}

Color mix(const Color& p, const Color& q, float t)
{
    return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t,
            p.b + (q.b - p.b) * t, p.a + (q.a - p.a) * t};
}

Color withAlpha(Color c, float a)
{
    c.a = a;
    return c;
}

const uint32_t kMagenta = 0xFF00FF;  // the colour key of every keyed bitmap

// ---------------------------------------------------------------------------
// Shapes: an inside test plus a bounding box to keep sampling cheap.

struct Shape {
    float x0, y0, x1, y1;                      // bounds, pixel coordinates
    std::function<bool(float, float)> inside;  // point (x, y) lies in the shape
};

Shape roundRect(float x0, float y0, float x1, float y1, float r)
{
    r = std::min({r, (x1 - x0) / 2, (y1 - y0) / 2});
    return {x0, y0, x1, y1, [=](float x, float y) {
                if (x < x0 || x > x1 || y < y0 || y > y1) return false;
                float cx = std::clamp(x, x0 + r, x1 - r);
                float cy = std::clamp(y, y0 + r, y1 - r);
                float dx = x - cx, dy = y - cy;
                return dx * dx + dy * dy <= r * r;
            }};
}

Shape rect(float x0, float y0, float x1, float y1)
{
    return roundRect(x0, y0, x1, y1, 0);
}

Shape circle(float cx, float cy, float r)
{
    return {cx - r, cy - r, cx + r, cy + r, [=](float x, float y) {
                float dx = x - cx, dy = y - cy;
                return dx * dx + dy * dy <= r * r;
            }};
}

struct Pt {
    float x, y;
};

// Closed polygon, even-odd rule.
Shape polygon(std::vector<Pt> pts)
{
    Shape s{1e9f, 1e9f, -1e9f, -1e9f, nullptr};
    for (const Pt& p : pts) {
        s.x0 = std::min(s.x0, p.x);
        s.y0 = std::min(s.y0, p.y);
        s.x1 = std::max(s.x1, p.x);
        s.y1 = std::max(s.y1, p.y);
    }
    s.inside = [pts](float x, float y) {
        bool in = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const Pt& a = pts[i];
            const Pt& b = pts[j];
            if ((a.y > y) != (b.y > y) &&
                x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
                in = !in;
        }
        return in;
    };
    return s;
}

// Open polyline of the given width with round joins and caps.
Shape polyline(std::vector<Pt> pts, float width)
{
    float h = width / 2;
    Shape s{1e9f, 1e9f, -1e9f, -1e9f, nullptr};
    for (const Pt& p : pts) {
        s.x0 = std::min(s.x0, p.x - h);
        s.y0 = std::min(s.y0, p.y - h);
        s.x1 = std::max(s.x1, p.x + h);
        s.y1 = std::max(s.y1, p.y + h);
    }
    s.inside = [pts, h](float x, float y) {
        for (size_t i = 0; i + 1 < pts.size(); ++i) {
            float ax = pts[i].x, ay = pts[i].y;
            float dx = pts[i + 1].x - ax, dy = pts[i + 1].y - ay;
            float len2 = dx * dx + dy * dy;
            float t = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0;
            t = std::clamp(t, 0.0f, 1.0f);
            float ex = x - (ax + t * dx), ey = y - (ay + t * dy);
            if (ex * ex + ey * ey <= h * h) return true;
        }
        return false;
    };
    return s;
}

Shape minus(const Shape& a, const Shape& b)
{
    return {a.x0, a.y0, a.x1, a.y1,
            [a, b](float x, float y) { return a.inside(x, y) && !b.inside(x, y); }};
}

Shape intersect(const Shape& a, const Shape& b)
{
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1),
            std::min(a.y1, b.y1),
            [a, b](float x, float y) { return a.inside(x, y) && b.inside(x, y); }};
}

Shape translate(const Shape& s, float dx, float dy)
{
    return {s.x0 + dx, s.y0 + dy, s.x1 + dx, s.y1 + dy,
            [s, dx, dy](float x, float y) { return s.inside(x - dx, y - dy); }};
}

// ---------------------------------------------------------------------------
// Paints: the colour of a fill at a point.

using Paint = std::function<Color(float, float)>;

Paint solid(Color c)
{
    return [c](float, float) { return c; };
}

// Vertical gradient from c0 at y0 to c1 at y1, clamped beyond.
Paint vgrad(float y0, Color c0, float y1, Color c1)
{
    return [=](float, float y) {
        return mix(c0, c1, std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f));
    };
}

// Horizontal gradient from c0 at x0 to c1 at x1.
Paint hgrad(float x0, Color c0, float x1, Color c1)
{
    return [=](float x, float) {
        return mix(c0, c1, std::clamp((x - x0) / (x1 - x0), 0.0f, 1.0f));
    };
}

// Radial gradient, c0 at the centre to c1 at radius r.
Paint rgrad(float cx, float cy, float r, Color c0, Color c1)
{
    return [=](float x, float y) {
        float d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
        return mix(c0, c1, std::clamp(d / r, 0.0f, 1.0f));
    };
}

// ---------------------------------------------------------------------------
// Canvas: premultiplied float RGBA, source-over compositing.

class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h), px_(size_t(w) * h) {}

    int width() const { return w_; }
    int height() const { return h_; }

    // Straight-alpha colour of a pixel.
    Color at(int x, int y) const
    {
        Color p = px_[size_t(y) * w_ + x];
        if (p.a <= 0) return {};
        return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
    }

    // Fills a shape with a paint, weighting by the fraction of each pixel that
    // the shape covers.
    void fill(const Shape& s, const Paint& paint)
    {
        constexpr int kGrid = 16;
        int xa = std::max(0, int(std::floor(s.x0)));
        int ya = std::max(0, int(std::floor(s.y0)));
        int xb = std::min(w_ - 1, int(std::ceil(s.x1)));
        int yb = std::min(h_ - 1, int(std::ceil(s.y1)));
        for (int y = ya; y <= yb; ++y) {
            for (int x = xa; x <= xb; ++x) {
                int hits = 0;
                for (int j = 0; j < kGrid; ++j)
                    for (int i = 0; i < kGrid; ++i)
                        if (s.inside(x + (i + 0.5f) / kGrid, y + (j + 0.5f) / kGrid))
                            ++hits;
                if (hits == 0) continue;
                float cover = float(hits) / (kGrid * kGrid);
                Color c = paint(x + 0.5f, y + 0.5f);
                blend(x, y, c, c.a * cover);
            }
        }
    }

private:
    void blend(int x, int y, const Color& c, float a)
    {
        Color& d = px_[size_t(y) * w_ + x];
        d.r = c.r * a + d.r * (1 - a);
        d.g = c.g * a + d.g * (1 - a);
        d.b = c.b * a + d.b * (1 - a);
        d.a = a + d.a * (1 - a);
    }

    int w_, h_;
    std::vector<Color> px_;
};

uint8_t to8(float v)
{
    return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

// ---------------------------------------------------------------------------
// Keyed images: opaque RGB with magenta where nothing shows.

struct RgbImage {
    int w = 0, h = 0;
    std::vector<uint32_t> px;  // 0xRRGGBB, row 0 at the top
};

// Flattens a canvas for colour-key drawing.  Pixels at least half covered are
// kept, their remaining transparency filled with `edge` (a neutral colour that
// sits well on light and dark backgrounds); the rest becomes magenta.
RgbImage flattenKeyed(const Canvas& c, Color edge)
{
    RgbImage img{c.width(), c.height(), {}};
    img.px.resize(size_t(img.w) * img.h);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            Color p = c.at(x, y);
            uint32_t out = kMagenta;
            if (p.a >= 0.5f) {
                Color q = mix(edge, p, p.a);
                out = uint32_t(to8(q.r)) << 16 | uint32_t(to8(q.g)) << 8 | to8(q.b);
                if (out == kMagenta) out = 0xFE00FF;  // never key by accident
            }
            img.px[size_t(y) * img.w + x] = out;
        }
    return img;
}

// ---------------------------------------------------------------------------
// Writers

void put16(std::vector<uint8_t>& v, uint32_t x)
{
    v.push_back(x & 0xFF);
    v.push_back((x >> 8) & 0xFF);
}

void put32(std::vector<uint8_t>& v, uint32_t x)
{
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& data)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}

// BITMAPFILEHEADER + BITMAPINFOHEADER (BI_RGB, bottom-up), then `palette`
// (may be empty) and the pixel rows, each padded to a multiple of 4 bytes.
std::vector<uint8_t> bmpHeader(int w, int h, int bits, const std::vector<uint32_t>& palette,
                               uint32_t imageBytes)
{
    uint32_t offBits = 14 + 40 + uint32_t(palette.size()) * 4;
    std::vector<uint8_t> v;
    v.push_back('B');
    v.push_back('M');
    put32(v, offBits + imageBytes);  // bfSize
    put32(v, 0);                     // bfReserved1, bfReserved2
    put32(v, offBits);               // bfOffBits
    put32(v, 40);                    // biSize
    put32(v, uint32_t(w));           // biWidth
    put32(v, uint32_t(h));           // biHeight, positive: bottom-up
    put16(v, 1);                     // biPlanes
    put16(v, uint32_t(bits));        // biBitCount
    put32(v, 0);                     // biCompression = BI_RGB
    put32(v, imageBytes);            // biSizeImage
    put32(v, 2835);                  // biXPelsPerMeter (72 dpi)
    put32(v, 2835);                  // biYPelsPerMeter
    put32(v, uint32_t(palette.size()));  // biClrUsed
    put32(v, 0);                         // biClrImportant: all
    for (uint32_t c : palette) {         // RGBQUAD: blue, green, red, reserved
        v.push_back(c & 0xFF);
        v.push_back((c >> 8) & 0xFF);
        v.push_back((c >> 16) & 0xFF);
        v.push_back(0);
    }
    return v;
}

bool writeBmp24(const std::string& path, const RgbImage& img)
{
    uint32_t stride = (uint32_t(img.w) * 3 + 3) & ~3u;
    std::vector<uint8_t> v = bmpHeader(img.w, img.h, 24, {}, stride * img.h);
    for (int y = img.h - 1; y >= 0; --y) {
        size_t start = v.size();
        for (int x = 0; x < img.w; ++x) {
            uint32_t c = img.px[size_t(y) * img.w + x];
            v.push_back(c & 0xFF);
            v.push_back((c >> 8) & 0xFF);
            v.push_back((c >> 16) & 0xFF);
        }
        v.resize(start + stride, 0);
    }
    return writeFile(path, v);
}

// Builds a palette of at most `slots` colours for the given colours (with their
// pixel counts).  Exact when they fit; otherwise median cut, the most populous
// box split first along its widest channel.
std::vector<uint32_t> medianCut(const std::map<uint32_t, int>& counts, size_t slots)
{
    std::vector<std::pair<uint32_t, int>> all(counts.begin(), counts.end());
    std::vector<uint32_t> palette;
    if (all.size() <= slots) {
        for (auto& e : all) palette.push_back(e.first);
        return palette;
    }
    auto channel = [](uint32_t c, int ch) { return int((c >> (16 - 8 * ch)) & 0xFF); };
    struct Box {
        size_t begin, end;
    };
    auto spread = [&](const Box& b, int& widest) {
        int best = -1;
        for (int ch = 0; ch < 3; ++ch) {
            int lo = 255, hi = 0;
            for (size_t i = b.begin; i < b.end; ++i) {
                lo = std::min(lo, channel(all[i].first, ch));
                hi = std::max(hi, channel(all[i].first, ch));
            }
            if (hi - lo > best) {
                best = hi - lo;
                widest = ch;
            }
        }
        return best;
    };
    std::vector<Box> boxes{{0, all.size()}};
    while (boxes.size() < slots) {
        // Split the box with the most weighted spread.
        long bestScore = 0;
        size_t pick = boxes.size();
        int pickCh = 0;
        for (size_t k = 0; k < boxes.size(); ++k) {
            if (boxes[k].end - boxes[k].begin < 2) continue;
            int ch = 0;
            long pixels = 0;
            for (size_t i = boxes[k].begin; i < boxes[k].end; ++i) pixels += all[i].second;
            long score = long(spread(boxes[k], ch)) * pixels;
            if (score > bestScore) {
                bestScore = score;
                pick = k;
                pickCh = ch;
            }
        }
        if (pick == boxes.size()) break;
        Box b = boxes[pick];
        std::sort(all.begin() + long(b.begin), all.begin() + long(b.end),
                  [&](auto& p, auto& q) { return channel(p.first, pickCh) < channel(q.first, pickCh); });
        size_t mid = b.begin + (b.end - b.begin) / 2;
        boxes[pick] = {b.begin, mid};
        boxes.push_back({mid, b.end});
    }
    for (const Box& b : boxes) {
        double sum[3] = {0, 0, 0}, n = 0;
        for (size_t i = b.begin; i < b.end; ++i) {
            for (int ch = 0; ch < 3; ++ch) sum[ch] += channel(all[i].first, ch) * all[i].second;
            n += all[i].second;
        }
        uint32_t c = 0;
        for (int ch = 0; ch < 3; ++ch) c = c << 8 | uint32_t(std::lround(sum[ch] / n));
        palette.push_back(c);
    }
    return palette;
}

// 8 bits per pixel with a 256-entry palette whose entry 0 is exact magenta; the
// other entries are fitted to the picture.
bool writeBmp8(const std::string& path, const RgbImage& img)
{
    std::map<uint32_t, int> counts;
    for (uint32_t c : img.px)
        if (c != kMagenta) ++counts[c];
    std::vector<uint32_t> palette{kMagenta};
    for (uint32_t c : medianCut(counts, 255)) palette.push_back(c == kMagenta ? 0xFE00FF : c);
    palette.resize(256, 0);

    std::map<uint32_t, uint8_t> index;  // nearest palette entry of each colour
    index[kMagenta] = 0;
    for (auto& e : counts) {
        long best = -1;
        for (size_t i = 1; i < palette.size(); ++i) {
            long d = 0;
            for (int sh = 0; sh <= 16; sh += 8) {
                long diff = long((e.first >> sh) & 0xFF) - long((palette[i] >> sh) & 0xFF);
                d += diff * diff;
            }
            if (best < 0 || d < best) {
                best = d;
                index[e.first] = uint8_t(i);
            }
        }
    }

    uint32_t stride = (uint32_t(img.w) + 3) & ~3u;
    std::vector<uint8_t> v = bmpHeader(img.w, img.h, 8, palette, stride * img.h);
    for (int y = img.h - 1; y >= 0; --y) {
        size_t start = v.size();
        for (int x = 0; x < img.w; ++x) v.push_back(index[img.px[size_t(y) * img.w + x]]);
        v.resize(start + stride, 0);
    }
    return writeFile(path, v);
}

std::vector<uint8_t> rgba8(const Canvas& c)
{
    std::vector<uint8_t> out;
    out.reserve(size_t(c.width()) * c.height() * 4);
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            Color p = c.at(x, y);
            uint8_t a = to8(p.a);
            out.push_back(a ? to8(p.r) : 0);
            out.push_back(a ? to8(p.g) : 0);
            out.push_back(a ? to8(p.b) : 0);
            out.push_back(a);
        }
    return out;
}

// 8-bit RGBA PNG (colour type 6), straight alpha.
bool writePng(const std::string& path, const Canvas& c)
{
    std::vector<uint8_t> data = rgba8(c);
    return stbi_write_png(path.c_str(), c.width(), c.height(), 4, data.data(), c.width() * 4) != 0;
}

// Preview: enlarged by `scale`, over a grey checkerboard; magenta counts as
// transparent when `keyed`.
bool writePreview(const std::string& path, const std::vector<uint8_t>& rgba, int w, int h,
                  bool keyed, int scale = 4)
{
    int W = w * scale, H = h * scale;
    std::vector<uint8_t> out(size_t(W) * H * 3);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const uint8_t* p = &rgba[(size_t(y / scale) * w + x / scale) * 4];
            float a = p[3] / 255.0f;
            if (keyed && p[0] == 255 && p[1] == 0 && p[2] == 255) a = 0;
            int bg = ((x / 8 + y / 8) & 1) ? 0x66 : 0xCC;
            uint8_t* q = &out[(size_t(y) * W + x) * 3];
            for (int ch = 0; ch < 3; ++ch) q[ch] = uint8_t(std::lround(p[ch] * a + bg * (1 - a)));
        }
    return stbi_write_png(path.c_str(), W, H, 3, out.data(), W * 3) != 0;
}

std::vector<uint8_t> rgbaOf(const RgbImage& img)
{
    std::vector<uint8_t> out;
    for (uint32_t c : img.px) {
        out.push_back((c >> 16) & 0xFF);
        out.push_back((c >> 8) & 0xFF);
        out.push_back(c & 0xFF);
        out.push_back(255);
    }
    return out;
}

// ---------------------------------------------------------------------------
// Building blocks shared by several pictures

struct ButtonStyle {
    Color top, bottom;     // body gradient
    Color rimTop, rimBottom;  // 1-px outline
    float gloss = 0.35f;   // white sheen on the upper half
    float shadow = 0.0f;   // soft shadow under the button
};

// A raised, rounded button filling the box (x0, y0)-(x1, y1).
void drawButton(Canvas& c, float x0, float y0, float x1, float y1, float r, const ButtonStyle& s)
{
    if (s.shadow > 0) {
        Color black = hex(0x000000, s.shadow);
        c.fill(roundRect(x0, y0 + 1.0f, x1, y1 + 1.0f, r), solid(withAlpha(black, s.shadow * 0.6f)));
        c.fill(roundRect(x0 - 0.5f, y0 + 0.5f, x1 + 0.5f, y1 + 1.5f, r + 0.5f),
               solid(withAlpha(black, s.shadow * 0.4f)));
    }
    c.fill(roundRect(x0, y0, x1, y1, r), vgrad(y0, s.rimTop, y1, s.rimBottom));
    Shape body = roundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r - 1);
    c.fill(body, vgrad(y0 + 1, s.top, y1 - 1, s.bottom));
    if (s.gloss > 0) {
        float mid = (y0 + y1) / 2;
        c.fill(intersect(body, rect(x0, y0, x1, mid)),
               vgrad(y0 + 1, hex(0xFFFFFF, s.gloss), mid, hex(0xFFFFFF, s.gloss * 0.25f)));
    }
    // Bevel: a bright line just inside the top rim, a faint dark one at the bottom.
    c.fill(minus(body, translate(body, 0, 1)), solid(hex(0xFFFFFF, 0.55f)));
    c.fill(minus(body, translate(body, 0, -1)), solid(hex(0x000000, 0.10f)));
}

// The library's accent orange, used by the scroll bar, the thumb and the
// focused edit frame.
const ButtonStyle kOrange{hex(0xFFB54D), hex(0xF07F0A), hex(0xD87613), hex(0xB35400), 0.40f, 0.0f};

// Fill with a faint shadow one pixel below: used for glyphs on buttons.
void fillWithShadow(Canvas& c, const Shape& s, const Paint& p, Color shadow)
{
    c.fill(translate(s, 0, 1), solid(shadow));
    c.fill(s, p);
}

// ---------------------------------------------------------------------------
// The pictures

// 102: selection bar, 30 x 60, nine-part frame with 6-px corners.
RgbImage drawSelectionBar()
{
    Canvas c(30, 60);
    Shape outer = roundRect(0, 0, 30, 60, 5.5f);
    c.fill(outer, solid(hex(0x6BB2E8)));
    Shape body = roundRect(1, 1, 29, 59, 4.5f);
    c.fill(body, vgrad(1, hex(0xE4F3FF), 59, hex(0xB4DBF8)));
    c.fill(minus(body, translate(body, 0, 1)), solid(hex(0xFFFFFF, 0.7f)));
    return flattenKeyed(c, hex(0x9CC8EA));
}

// 103 / 104 / 106 / 107: the combo box's drop-down arrow, a small button with a
// downward triangle.  At rest a silver button with a dark arrow; pressed, an
// orange one with a bright arrow.
RgbImage drawComboArrow(int w, int h, bool pressed)
{
    Canvas c(w, h);
    float s = h / 22.0f;  // 1 for the small arrow
    float r = 3.5f * s;
    if (pressed) {
        ButtonStyle st = kOrange;
        st.top = hex(0xF59A2E);
        st.bottom = hex(0xFFB85A);  // lit from below: looks pushed in
        st.gloss = 0.15f;
        drawButton(c, 0, 0, float(w), float(h), r, st);
    } else {
        drawButton(c, 0, 0, float(w), float(h), r,
                   {hex(0xFDFDFD), hex(0xD4D8DC), hex(0x9AA0A6), hex(0x7E848A), 0.45f, 0});
    }
    float cx = w / 2.0f, cy = h / 2.0f + 0.5f;
    float hw = 5.0f * (w / 24.0f), hh = 3.2f * s;
    Shape tri = polygon({{cx - hw, cy - hh}, {cx + hw, cy - hh}, {cx, cy + hh}});
    if (pressed)
        fillWithShadow(c, tri, solid(hex(0xFFFFFF)), hex(0x8A3C00, 0.45f));
    else
        fillWithShadow(c, tri, vgrad(cy - hh, hex(0x55595E), cy + hh, hex(0x2E3236)),
                       hex(0xFFFFFF, 0.8f));
    return flattenKeyed(c, pressed ? hex(0xB8753A) : hex(0x9A9EA2));
}

// 105: scroll-bar strip, 40 x 480.
enum class Glyph { PageUp, LineUp, LineDown, PageDown };

void drawScrollButton(Canvas& c, int top, Glyph g)
{
    // Each button cell is 39 rows high; the button leaves a small margin.
    float y0 = top + 2.0f, y1 = top + 36.0f, x0 = 3.0f, x1 = 37.0f;
    ButtonStyle st = kOrange;
    st.shadow = 0.25f;
    drawButton(c, x0, y0, x1, y1, 7.0f, st);

    bool up = g == Glyph::PageUp || g == Glyph::LineUp;
    float cx = 20.0f, cy = (y0 + y1) / 2.0f;
    // Glyphs are designed pointing up around the centre, mirrored for down.
    auto P = [&](float dx, float dy) { return Pt{cx + dx, up ? cy + dy : cy - dy}; };
    Paint white = solid(hex(0xFFFFFF));
    Color shade = hex(0x8A3C00, 0.5f);
    if (g == Glyph::LineUp || g == Glyph::LineDown) {
        fillWithShadow(c, polygon({P(-8, 5), P(8, 5), P(0, -5)}), white, shade);
    } else {
        // Arrow with a stem, under a bar: "to the end of the page".
        fillWithShadow(c, polygon({P(-7.5f, 0), P(7.5f, 0), P(0, -7.5f)}), white, shade);
        Pt a = P(-2, -1), b = P(2, 9);
        fillWithShadow(c, rect(a.x, std::min(a.y, b.y), b.x, std::max(a.y, b.y)), white, shade);
        Pt p = P(-8, -11), q = P(8, -8);
        fillWithShadow(c, roundRect(p.x, std::min(p.y, q.y), q.x, std::max(p.y, q.y), 1.0f), white,
                       shade);
    }
}

Canvas drawScrollStrip()
{
    Canvas c(40, 480);
    drawScrollButton(c, 0, Glyph::PageUp);
    drawScrollButton(c, 39, Glyph::LineUp);
    drawScrollButton(c, 402, Glyph::LineDown);
    drawScrollButton(c, 441, Glyph::PageDown);

    // Track, rows 78..401: a translucent groove.  It is drawn cut to any length
    // from its top, so it is uniform down its whole height and has no end caps.
    const float t0 = 78, t1 = 402;
    Shape groove = rect(14, t0, 26, t1);
    c.fill(groove, hgrad(14, hex(0x5A4632, 0.47f), 26, hex(0x7A6552, 0.35f)));
    c.fill(rect(14, t0, 15, t1), solid(hex(0x3C2C1E, 0.30f)));      // shaded left wall
    c.fill(rect(25, t0, 26, t1), solid(hex(0xFFFFFF, 0.35f)));      // lit right wall
    c.fill(rect(19, t0, 21, t1), solid(hex(0xFFB54D, 0.20f)));      // faint orange core
    return c;
}

// 125: scroll-bar thumb, 40 x 45, orange with three grip lines.
Canvas drawThumb()
{
    Canvas c(40, 45);
    ButtonStyle st = kOrange;
    st.shadow = 0.25f;
    drawButton(c, 4, 1, 36, 43, 8.0f, st);
    for (int i = -1; i <= 1; ++i) {
        float y = 22.0f + i * 5.0f;
        c.fill(roundRect(11, y - 1.0f, 29, y + 0.5f, 0.75f), solid(hex(0x9A4500, 0.75f)));
        c.fill(roundRect(11, y + 0.5f, 29, y + 1.5f, 0.5f), solid(hex(0xFFE2B8, 0.85f)));
    }
    return c;
}

// 108: check and radio icons, 4 x 30 x 30.
RgbImage drawCheckRadio()
{
    Canvas c(120, 30);
    Color rimTop = hex(0x8C9299), rimBottom = hex(0x646A71);
    Paint field = vgrad(5, hex(0xE6EAEE), 25, hex(0xFFFFFF));  // sunken: darker at top
    Paint green = vgrad(8, hex(0x4CCB5E), 24, hex(0x1C8C2E));

    for (int i = 0; i < 2; ++i) {  // check boxes
        float ox = i * 30.0f;
        c.fill(roundRect(ox + 4, 4, ox + 26, 26, 4.5f), vgrad(4, rimTop, 26, rimBottom));
        c.fill(roundRect(ox + 5.5f, 5.5f, ox + 24.5f, 24.5f, 3.0f), field);
        if (i == 1) {
            std::vector<Pt> tick{{ox + 9.0f, 15.0f}, {ox + 13.5f, 19.5f}, {ox + 21.5f, 9.5f}};
            c.fill(translate(polyline(tick, 3.6f), 0, 0.8f), solid(hex(0x0E5A1A, 0.35f)));
            c.fill(polyline(tick, 3.6f), green);
        }
    }
    for (int i = 0; i < 2; ++i) {  // radio buttons
        float cx = 75.0f + i * 30.0f, cy = 15.0f;
        c.fill(circle(cx, cy, 11.0f), vgrad(4, rimTop, 26, rimBottom));
        c.fill(circle(cx, cy, 9.5f), field);
        if (i == 1) {
            c.fill(circle(cx, cy + 0.6f, 5.6f), solid(hex(0x0E5A1A, 0.35f)));
            c.fill(circle(cx, cy, 5.5f), green);
            c.fill(circle(cx - 1.6f, cy - 1.9f, 2.0f),
                   rgrad(cx - 1.6f, cy - 1.9f, 2.0f, hex(0xFFFFFF, 0.75f), hex(0xFFFFFF, 0.0f)));
        }
    }
    return flattenKeyed(c, hex(0xA8ACB0));
}

// 109 / 110: edit frame, 212 x 36, drawn nine-slice with a 5-px border.  Every
// detail of the rim lies inside that border so the stretched pieces stay clean.
RgbImage drawEditFrame(bool focused)
{
    Canvas c(212, 36);
    Color rim = focused ? hex(0xE8790A) : hex(0x8E9297);
    Color inner = focused ? hex(0xFFB95C) : hex(0xD2D5D8);
    Color fieldColor = focused ? hex(0xEAF4FF) : hex(0xFFFFFF);
    Color shadow = focused ? hex(0xD3E3F3) : hex(0xE6E8EA);
    c.fill(roundRect(0, 0, 212, 36, 5.0f), solid(rim));
    c.fill(roundRect(1, 1, 211, 35, 4.0f), solid(inner));
    c.fill(roundRect(2, 2, 210, 34, 3.0f), solid(fieldColor));
    // A soft inset shadow along the top, fading out before row 5.
    c.fill(intersect(roundRect(2, 2, 210, 34, 3.0f), rect(0, 2, 212, 5)),
           vgrad(2.5f, shadow, 5.0f, fieldColor));
    return flattenKeyed(c, mix(rim, hex(0xC0C0C0), 0.5f));
}

// 111 / 131: push-button faces, four frames of fw x 50: normal, pressed,
// focused, disabled (same as normal).
void drawFace(Canvas& c, float ox, int fw, int frame)
{
    const float x0 = ox + 1, x1 = ox + fw - 1, y0 = 1, y1 = 48, r = 9;
    ButtonStyle st;
    switch (frame) {
    case 1:  // pressed: white, lit from below, no sheen
        st = {hex(0xE2E6EA), hex(0xFFFFFF), hex(0x9EA4AA), hex(0xB8BDC2), 0.0f, 0.12f};
        break;
    case 2:  // focused: yellow
        st = {hex(0xFFF48A), hex(0xF5C400), hex(0xD2A400), hex(0xAD8500), 0.45f, 0.22f};
        break;
    default:  // normal and disabled: cyan
        st = {hex(0x9BF0FF), hex(0x17BCD9), hex(0x1DA6C0), hex(0x0C7F96), 0.45f, 0.22f};
        break;
    }
    float dy = frame == 1 ? 1.0f : 0.0f;  // pressed sits one pixel lower
    drawButton(c, x0, y0 + dy, x1, y1 + dy, r, st);
    if (frame == 1) {
        // Inset shadow under the top rim.
        Shape body = roundRect(x0 + 1, y0 + dy + 1, x1 - 1, y1 + dy - 1, r - 1);
        c.fill(intersect(body, rect(x0, y0, x1, y0 + 6)),
               vgrad(y0 + 1, hex(0x000000, 0.12f), y0 + 6, hex(0x000000, 0.0f)));
    }
}

Canvas drawFaces(int fw)
{
    Canvas c(fw * 4, 50);
    for (int i = 0; i < 4; ++i) drawFace(c, float(i * fw), fw, i);
    return c;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUTDIR [PREVIEWDIR]\n", argv[0]);
        return 2;
    }
    const std::string out = std::string(argv[1]) + "/";
    const std::string preview = argc == 3 ? std::string(argv[2]) + "/" : "";
    bool ok = true;

    auto keyed8 = [&](const char* name, const RgbImage& img) {
        ok &= writeBmp8(out + name + ".bmp", img);
        if (!preview.empty()) ok &= writePreview(preview + name + ".png", rgbaOf(img), img.w, img.h, true);
    };
    auto keyed24 = [&](const char* name, const RgbImage& img) {
        ok &= writeBmp24(out + name + ".bmp", img);
        if (!preview.empty()) ok &= writePreview(preview + name + ".png", rgbaOf(img), img.w, img.h, true);
    };
    auto png = [&](const char* name, const Canvas& c) {
        ok &= writePng(out + name + ".png", c);
        if (!preview.empty())
            ok &= writePreview(preview + name + ".png", rgba8(c), c.width(), c.height(), false);
    };

    keyed8("bar", drawSelectionBar());
    keyed8("arrow_small_pressed", drawComboArrow(24, 22, true));
    keyed8("arrow_small", drawComboArrow(24, 22, false));
    keyed8("arrow_large", drawComboArrow(32, 32, false));
    keyed8("arrow_large_pressed", drawComboArrow(32, 32, true));
    keyed24("checkradio", drawCheckRadio());
    keyed24("edit_normal", drawEditFrame(false));
    keyed24("edit_focus", drawEditFrame(true));
    png("scrollbar", drawScrollStrip());
    png("thumb", drawThumb());
    png("faces_large", drawFaces(106));
    png("faces_small", drawFaces(78));

    if (!ok) {
        std::fprintf(stderr, "artgen: failed to write some files\n");
        return 1;
    }
    return 0;
}
