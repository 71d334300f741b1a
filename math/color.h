#pragma once

namespace rv {

// RGBA, nominally in [0, 1] but never clamped here: lighting sums may exceed 1.
// Four floats in order, so OpenGL can take a pointer to `r` as a colour array.
struct Color {
    float r = 0, g = 0, b = 0, a = 1;

    Color& set(float r_, float g_, float b_, float a_) {
        r = r_; g = g_; b = b_; a = a_;
        return *this;
    }

    const float* data() const { return &r; }

    friend bool operator==(const Color&, const Color&) = default;
};

// Alpha takes part in every operation like the other components.
inline Color operator+(const Color& k, const Color& m) { return {k.r + m.r, k.g + m.g, k.b + m.b, k.a + m.a}; }
inline Color& operator+=(Color& k, const Color& m) { return k = k + m; }
inline Color operator*(const Color& k, float s) { return {k.r * s, k.g * s, k.b * s, k.a * s}; }
inline Color operator*(float s, const Color& k) { return k * s; }
inline Color modulate(const Color& k, const Color& m) { return {k.r * m.r, k.g * m.g, k.b * m.b, k.a * m.a}; }

// Hue, saturation, value to RGB. h is nominally in [0, 1]; every multiple of 6
// (h = 1, 2, ...) takes the first sector like 0, any other i outside 1..5 leaves
// opaque black, whatever alpha was asked for.
inline Color fromHSV(float h, float s, float v, float a) {
    Color c;
    if (s == 0) return c.set(v, v, v, a);
    const float h6 = h * 6;
    // Outside int's range (or NaN) no sector applies; converting would be undefined.
    if (!(h6 > -2147483648.0f && h6 < 2147483648.0f)) return c;
    const int i = static_cast<int>(h6);
    const float f = h6 - static_cast<float>(i);
    const float p = v * (1 - s);
    const float q = v * (1 - s * f);
    const float t = v * (1 - s * (1 - f));
    switch (i % 6 == 0 ? 0 : i) {
    case 0: return c.set(v, t, p, a);
    case 1: return c.set(q, v, p, a);
    case 2: return c.set(p, v, t, a);
    case 3: return c.set(p, q, v, a);
    case 4: return c.set(t, p, v, a);
    case 5: return c.set(v, p, q, a);
    default: return c;
    }
}

} // namespace rv
