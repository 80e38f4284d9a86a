// Writes the hostile PNGs of tests/data/hostile, one file per kind of attack on the decoder:
//   c++ -std=c++17 -o hostile-corpus HostileCorpus.cpp && ./hostile-corpus tests/data/hostile
// Every file's chunks carry right CRCs unless the file is about a wrong one, so that each file
// reaches the check it is meant for. The files are checked in; this is how they were made.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;

uint32_t Crc32(const uint8_t* p, size_t n)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i)
    {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void Be32(Bytes& b, uint32_t n)
{
    for (int s = 24; s >= 0; s -= 8)
        b.push_back(static_cast<uint8_t>(n >> s));
}

// One chunk; declared length and CRC as given when not left to their right values.
void Chunk(Bytes& png, const char* type, const Bytes& body, int64_t declared = -1,
           bool bBadCrc = false)
{
    Be32(png, declared < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(declared));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    png.insert(png.end(), typed.begin(), typed.end());
    Be32(png, Crc32(typed.data(), typed.size()) ^ (bBadCrc ? 1u : 0u));
}

Bytes Signature()
{
    return {137, 80, 78, 71, 13, 10, 26, 10};
}

Bytes Header(uint32_t cx, uint32_t cy, uint8_t depth, uint8_t color, uint8_t interlace = 0)
{
    Bytes b;
    Be32(b, cx);
    Be32(b, cy);
    b.insert(b.end(), {depth, color, 0, 0, interlace});
    return b;
}

uint32_t Adler32(const Bytes& raw)
{
    uint32_t a = 1, b = 0;
    for (uint8_t c : raw)
    {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// A zlib stream of stored blocks.
Bytes Stored(const Bytes& raw)
{
    Bytes z = {0x78, 0x01};
    size_t off = 0;
    do
    {
        const size_t n = raw.size() - off < 65535 ? raw.size() - off : 65535;
        const bool bLast = off + n == raw.size();
        z.push_back(bLast ? 1 : 0);
        z.insert(z.end(), {uint8_t(n), uint8_t(n >> 8), uint8_t(~n), uint8_t(~n >> 8)});
        z.insert(z.end(), raw.begin() + off, raw.begin() + off + n);
        off += n;
    } while (off < raw.size());
    Be32(z, Adler32(raw));
    return z;
}

// Deflate's bits: values least significant bit first, Huffman codes most significant first.
struct BitWriter
{
    Bytes out;
    int nBits = 0;
    void Bit(int b)
    {
        if (nBits % 8 == 0)
            out.push_back(0);
        out.back() |= static_cast<uint8_t>(b << (nBits % 8));
        ++nBits;
    }
    void Value(uint32_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            Bit((v >> i) & 1);
    }
    void Code(uint32_t code, int n)
    {
        for (int i = n - 1; i >= 0; --i)
            Bit((code >> i) & 1);
    }
};

// A zlib stream of one fixed-Huffman block holding nZeros zero bytes: a literal, copies of 258
// bytes at distance 1 (13 bits each), literals for the rest. With a distance code, the first
// copy is at that code instead.
Bytes Zeros(size_t nZeros, int distanceCode = 0)
{
    BitWriter w;
    w.Value(1, 1);   // last block
    w.Value(1, 2);   // fixed Huffman codes
    w.Code(0x30, 8); // literal 0
    size_t n = 1;
    for (; n + 258 <= nZeros; n += 258)
    {
        w.Code(0xC5, 8); // length 258 (symbol 285)
        w.Code(n == 1 ? distanceCode : 0, 5); // distance 1 (code 0); 30 and 31 are none
    }
    for (; n < nZeros; ++n)
        w.Code(0x30, 8);
    w.Code(0, 7); // end of block
    Bytes z = {0x78, 0x01};
    z.insert(z.end(), w.out.begin(), w.out.end());
    Be32(z, (static_cast<uint32_t>(nZeros % 65521) << 16) | 1);
    return z;
}

// The rows of the seven passes of an interlaced image, each with its filter byte.
size_t InterlacedBytes(uint32_t cx, uint32_t cy, uint32_t bytesPerPixel)
{
    static const int x0[7] = {0, 4, 0, 2, 0, 1, 0}, y0[7] = {0, 0, 4, 0, 2, 0, 1};
    static const int dx[7] = {8, 8, 4, 4, 2, 2, 1}, dy[7] = {8, 8, 8, 4, 4, 2, 2};
    size_t n = 0;
    for (int p = 0; p < 7; ++p)
    {
        const size_t w = (cx - x0[p] + dx[p] - 1) / dx[p], h = (cy - y0[p] + dy[p] - 1) / dy[p];
        if (w && h)
            n += h * (1 + w * bytesPerPixel);
    }
    return n;
}

Bytes Png(const Bytes& header, const Bytes& zlib, const Bytes& palette = {})
{
    Bytes png = Signature();
    Chunk(png, "IHDR", header);
    if (!palette.empty())
        Chunk(png, "PLTE", palette);
    Chunk(png, "IDAT", zlib);
    Chunk(png, "IEND", {});
    return png;
}

// A small RGBA image with every pixel different.
Bytes Rgba(uint32_t cx, uint32_t cy)
{
    Bytes raw;
    for (uint32_t y = 0; y < cy; ++y)
    {
        raw.push_back(0);
        for (uint32_t x = 0; x < cx; ++x)
            raw.insert(raw.end(), {uint8_t(x * 40), uint8_t(y * 40), uint8_t(x + y), uint8_t(200 + x)});
    }
    return Png(Header(cx, cy, 8, 6), Stored(raw));
}

// A one-bit grey image (a large picture in few bytes).
Bytes Grey1(uint32_t cx, uint32_t cy)
{
    Bytes raw;
    for (uint32_t y = 0; y < cy; ++y)
    {
        raw.push_back(0);
        for (uint32_t x = 0; x < (cx + 7) / 8; ++x)
            raw.push_back(uint8_t(0x55 << (y & 1)));
    }
    return Png(Header(cx, cy, 1, 0), Stored(raw));
}

void Write(const std::string& dir, const char* name, const Bytes& b)
{
    const std::string path = dir + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(b.data(), 1, b.size(), f) != b.size() || std::fclose(f) != 0)
    {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::printf("%-32s %8zu bytes\n", name, b.size());
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const Bytes good = Rgba(4, 4);

    // Truncations: inside the header, inside the image data, before IEND.
    Write(dir, "truncated-header.png", Bytes(good.begin(), good.begin() + 20));
    Write(dir, "truncated-data.png", Bytes(good.begin(), good.begin() + 60));
    Write(dir, "truncated-no-iend.png", Bytes(good.begin(), good.end() - 12));

    // Wrong CRCs: one on the header, one on image data whose bytes were changed.
    {
        Bytes png = Signature();
        Chunk(png, "IHDR", Header(4, 4, 8, 6), -1, true);
        png.insert(png.end(), good.begin() + 33, good.end());
        Write(dir, "crc-header.png", png);
        Bytes data = good;
        data[33 + 8 + 2 + 5 + 3] ^= 0x40; // a pixel of row 0 inside the stored block
        Write(dir, "crc-data.png", data);
    }

    // Declared lengths far beyond the file: 2^31 - 1 and 2^32 - 1 bytes of image data.
    for (uint32_t declared : {0x7FFFFFFFu, 0xFFFFFFFFu})
    {
        Bytes png = Signature();
        Chunk(png, "IHDR", Header(1, 1, 8, 6));
        Chunk(png, "IDAT", {0x78, 0x01}, declared);
        Write(dir, declared == 0x7FFFFFFFu ? "length-2g.png" : "length-4g.png", png);
    }

    // Bombs. Dimensions: 8192 x 8192 at 16-bit RGBA (a gigabyte) and as a palette image with
    // 8 KB of data; over the pixel budget by one column; a whole 480 x 272 screen within it.
    Write(dir, "bomb-header-16bit.png", Png(Header(8192, 8192, 16, 6), Zeros(1)));
    Write(dir, "bomb-palette.png",
          Png(Header(8192, 8192, 8, 3), Zeros(8 * 1024 * 8 / 13 * 258), {0, 0, 0, 255, 255, 255}));
    Write(dir, "budget-over.png", Grey1(513, 256));
    Write(dir, "budget-screen.png", Grey1(480, 272));
    // The most the budget lets an image need: 512 x 256 pixels at 16 bits RGBA, plain and
    // interlaced (each pass's rows have their own filter bytes: more data than the decoder
    // guesses from the header).
    Write(dir, "budget-16bit.png", Png(Header(512, 256, 16, 6), Zeros(256 * (1 + 512 * 8))));
    Write(dir, "budget-16bit-interlaced.png",
          Png(Header(512, 256, 16, 6, 1), Zeros(InterlacedBytes(512, 256, 8))));
    // Deflate: one pixel whose data inflates to 4 MiB (258 bytes per 13 bits).
    Write(dir, "bomb-deflate.png", Png(Header(1, 1, 8, 6), Zeros(4u * 1024 * 1024)));

    // Palette indices past the palette: two entries, indices 0 to 255 (with transparency for
    // the first two), and a palette of one entry at 2 bits.
    {
        Bytes raw;
        for (int y = 0; y < 16; ++y)
        {
            raw.push_back(0);
            for (int x = 0; x < 16; ++x)
                raw.push_back(uint8_t(y * 16 + x));
        }
        Write(dir, "palette-short.png",
              Png(Header(16, 16, 8, 3), Stored(raw), {255, 0, 0, 0, 0, 255}));
        Bytes png = Signature();
        Chunk(png, "IHDR", Header(16, 16, 8, 3));
        Chunk(png, "PLTE", {255, 0, 0, 0, 0, 255});
        Chunk(png, "tRNS", {128, 64});
        Chunk(png, "IDAT", Stored(raw));
        Chunk(png, "IEND", {});
        Write(dir, "palette-short-trns.png", png);
        Bytes raw2 = {0, 0x1B, 0, 0xE4};
        Write(dir, "palette-short-2bit.png",
              Png(Header(4, 2, 2, 3), Stored(raw2), {9, 9, 9}));
        Bytes two = Signature();
        Chunk(two, "IHDR", Header(16, 16, 8, 3));
        Bytes full(768, 7);
        Chunk(two, "PLTE", full);
        Chunk(two, "PLTE", {1, 2, 3});
        Chunk(two, "IDAT", Stored(raw));
        Chunk(two, "IEND", {});
        Write(dir, "palette-twice.png", two);
    }

    // Bad deflate codes: distances 30 and 31 (none; a decoder that takes them as 0 copies bytes
    // nobody wrote), a block of the reserved type 3, a stored
    // block whose length and its complement disagree.
    Write(dir, "deflate-distance-30.png", Png(Header(4, 4, 8, 6), Zeros(4 * 17 + 258, 30)));
    Write(dir, "deflate-distance-31.png", Png(Header(4, 4, 8, 6), Zeros(4 * 17 + 258, 31)));
    Write(dir, "deflate-block-type-3.png", Png(Header(4, 4, 8, 6), {0x78, 0x01, 0x07, 0, 0, 0, 0}));
    {
        Bytes z = Stored(Bytes(68, 0));
        z[5] ^= 0xFF; // the complement of the length
        Write(dir, "deflate-stored-length.png", Png(Header(4, 4, 8, 6), z));
    }

    // Too little data: the stream ends after one row; more rows than data, interlaced.
    {
        Bytes raw(17, 0);
        Write(dir, "short-data.png", Png(Header(4, 4, 8, 6), Stored(raw)));
        Write(dir, "short-data-interlaced.png", Png(Header(4, 4, 8, 6, 1), Stored(raw)));
    }
    Write(dir, "good-4x4.png", good);
    return 0;
}
