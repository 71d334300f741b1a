#include "scene/texture.h"

#include <cmath>
#include <memory>
#include <new>
#include <utility>

namespace rv {

namespace {

// Tile geometry shared by both generators: the tile side comes from the width
// alone, and a texel is inside when it keeps two texels off every tile border.
struct TileGrid {
    int tile;

    int bx(int x) const { return x % tile; }
    int by(int y) const { return y % tile; }
    bool inside(int x, int y) const {
        return 1 < bx(x) && bx(x) < tile - 2 && 1 < by(y) && by(y) < tile - 2;
    }
};

double root4(int n) { return std::pow(static_cast<double>(n), 0.25); }

} // namespace

Texture& Texture::allocate(int w, int h, int ch) {
    const long long count = static_cast<long long>(w) * h * ch;
    if (w < 0 || h < 0 || ch < 0 || count >= (1LL << 30)) throw std::bad_alloc();
    // Storage first: if it cannot be had, the sizes still describe the old texels.
    std::unique_ptr<float[]> storage(new float[static_cast<size_t>(count)]);
    width = w;
    height = h;
    channels = ch;
    pyramid.reset();
    texels = std::move(storage);
    return *this;
}

void Texture::setRGB(int x, int y, const Color& c) {
    float* p = texel(x, y, 0);
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

void Texture::setValue(int x, int y, float value) { *texel(x, y, 0) = value; }

Texture& Texture::makeTileColors(int w, int h) {
    allocate(w, h, 3);
    const TileGrid grid{w / 4};
    const Color tile = fromHSV(0.083f, 0.75f, 0.8f, 1);
    const Color grout = fromHSV(0.125f, 0.1f, 0.8f, 1);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) setRGB(x, y, grid.inside(x, y) ? tile : grout);
    return *this;
}

Texture& Texture::makeTileHeights(int w, int h) {
    allocate(w, h, 1);
    const TileGrid grid{w / 4};
    const int a = grid.tile;
    // 30.495901f is sqrt(930) to float precision: the peak of the four-factor product at a = 64.
    const double divisor = 30.495901f;
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) {
            if (!grid.inside(x, y)) {
                setValue(x, y, 0);
                continue;
            }
            const int bx = grid.bx(x), by = grid.by(y);
            const double product = root4(a - bx - 2) * root4(bx - 1) * root4(by - 1) * root4(a - by - 2);
            setValue(x, y, static_cast<float>(product / divisor));
        }
    return *this;
}

} // namespace rv
