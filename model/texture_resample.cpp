#include "model/texture_resample.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace rv {

namespace {

constexpr int largestSide = 2048;

// The source texels one target texel reads along an axis, with their weights.
struct Taps {
    int first = 0;
    std::vector<double> weights;
};

std::vector<Taps> axisTaps(int from, int to) {
    std::vector<Taps> taps(static_cast<std::size_t>(to));
    for (int x = 0; x < to; ++x) {
        Taps& t = taps[static_cast<std::size_t>(x)];
        if (from == to) {
            t = {x, {1.0}};
        } else if (from > to) {
            // In units of 1/to of a source texel: target x covers [x*from, (x+1)*from),
            // source i covers [i*to, (i+1)*to). Integer overlaps, so the weights are exact ratios.
            const long lo = static_cast<long>(x) * from, hi = lo + from;
            t.first = static_cast<int>(lo / to);
            for (long i = t.first; i * to < hi; ++i) {
                const long overlap = std::min(hi, (i + 1) * to) - std::max(lo, i * to);
                t.weights.push_back(static_cast<double>(overlap) / from);
            }
        } else {
            double u = (x + 0.5) * from / to - 0.5;
            u = std::max(0.0, std::min(u, static_cast<double>(from - 1)));
            const int i = static_cast<int>(std::floor(u));
            const double f = u - i;
            t.first = i;
            t.weights = i + 1 < from ? std::vector<double>{1 - f, f} : std::vector<double>{1.0};
        }
    }
    return taps;
}

} // namespace

int storedSide(int side) {
    int s = 1;
    while (s < side && s < largestSide) s *= 2;
    return s;
}

void resampleImage(const ImportedImage& image, Texture& texture) {
    const int w = image.width, h = image.height, ch = image.channels;
    const int tw = storedSide(w), th = storedSide(h);
    texture.allocate(tw, th, ch);
    const std::vector<Taps> across = axisTaps(w, tw), down = axisTaps(h, th);
    std::vector<double> sum(static_cast<std::size_t>(tw) * ch);
    for (int y = 0; y < th; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0);
        const Taps& dy = down[static_cast<std::size_t>(y)];
        for (std::size_t j = 0; j < dy.weights.size(); ++j) {
            const std::uint8_t* src = &image.bytes[static_cast<std::size_t>(dy.first + static_cast<int>(j)) * w * ch];
            for (int x = 0; x < tw; ++x) {
                const Taps& dx = across[static_cast<std::size_t>(x)];
                for (int k = 0; k < ch; ++k) {
                    double v = 0;
                    for (std::size_t i = 0; i < dx.weights.size(); ++i)
                        v += dx.weights[i] * src[(static_cast<std::size_t>(dx.first) + i) * ch + k];
                    sum[static_cast<std::size_t>(x) * ch + k] += dy.weights[j] * v;
                }
            }
        }
        for (int x = 0; x < tw; ++x)
            for (int k = 0; k < ch; ++k)
                *texture.texel(x, y, k) = static_cast<float>(sum[static_cast<std::size_t>(x) * ch + k] / 255.0);
    }
}

} // namespace rv
