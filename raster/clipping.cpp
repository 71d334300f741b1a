#include "raster/clipping.h"

#include <algorithm>

namespace rv {

double planeDistance(const Vector4& clip, ClipPlane plane) {
    const double z = clip.z, w = clip.w;
    return plane == ClipPlane::near ? z + w : w - z;
}

namespace {

float towards(float inside, float outside, double t) {
    return static_cast<float>(inside + t * (static_cast<double>(outside) - inside));
}

Vector4 towards(const Vector4& i, const Vector4& o, double t) {
    return {towards(i.x, o.x, t), towards(i.y, o.y, t), towards(i.z, o.z, t), towards(i.w, o.w, t)};
}

bool inside(double distance) { return distance >= 0; }

bool insideBoth(const Vector4& clip) {
    return inside(planeDistance(clip, ClipPlane::near)) && inside(planeDistance(clip, ClipPlane::far));
}

using Point = PolygonClipper::Point;

void appendCut(const Point& in, double dIn, const Point& out, double dOut, std::vector<Point>& to) {
    const double t = dIn / (dIn - dOut);
    // At t = 0 the cut is the inside end itself, already in the loop: a duplicate
    // would make a zero-length side. A NaN t (an end at NaN or infinite distance)
    // has no position; a NaN vertex kept would leave an open outline, whose spans
    // pair the wrong edges.
    if (!(t > 0)) return;
    Point p = in;
    p.clip = towards(in.clip, out.clip, t);
    Vertex& v = p.vertex;
    const Vertex &a = in.vertex, &b = out.vertex;
    v.position = towards(a.position, b.position, t);
    v.normal = {towards(a.normal.x, b.normal.x, t), towards(a.normal.y, b.normal.y, t),
                towards(a.normal.z, b.normal.z, t)};
    v.s = towards(a.s, b.s, t);
    v.t = towards(a.t, b.t, t);
    to.push_back(p);
}

// One Sutherland-Hodgman pass: `from` is a closed loop in order, each point's
// predecessor the one before it.
void clipLoop(const std::vector<Point>& from, std::vector<Point>& to, ClipPlane plane) {
    to.clear();
    if (from.empty()) return;
    const Point* a = &from.back();
    double dA = planeDistance(a->clip, plane);
    for (const Point& b : from) {
        const double dB = planeDistance(b.clip, plane);
        // Always cut from the inside end towards the outside one: a side shared by two
        // polygons, walked one way by each, is then cut at the same bits from both,
        // and no crack or doubly drawn pixel opens along it.
        if (inside(dA) && !inside(dB)) appendCut(*a, dA, b, dB, to);
        if (!inside(dA) && inside(dB)) appendCut(b, dB, *a, dA, to);
        if (inside(dB)) to.push_back(b);
        a = &b;
        dA = dB;
    }
}

} // namespace

void PolygonClipper::clip(std::span<const Vertex> polygon, std::span<const Vector4> polygonClipSpace) {
    vertices.clear();
    clipSpace.clear();
    // As it came, whatever the order of its loops: with nothing to cut, switching
    // clipping on must not change a pixel, a depth or a count.
    if (std::all_of(polygonClipSpace.begin(), polygonClipSpace.end(), insideBoth)) {
        vertices.assign(polygon.begin(), polygon.end());
        clipSpace.assign(polygonClipSpace.begin(), polygonClipSpace.end());
        return;
    }

    const int n = static_cast<int>(polygon.size());
    taken.assign(polygon.size(), 0);
    for (int first = 0; first < n; ++first) {
        if (taken[first]) continue;
        // Walk the prev links back round to the first vertex, then reverse, for the loop's order.
        chain.clear();
        bool closed = false;
        for (int v = first;;) {
            chain.push_back(v);
            taken[v] = 1;
            const int prev = polygon[v].prev;
            if (prev == first) {
                closed = true;
                break;
            }
            if (prev < 0 || prev >= n || taken[prev]) break;
            v = prev;
        }
        if (!closed) continue;
        std::reverse(chain.begin() + 1, chain.end());

        loop.clear();
        for (int v : chain) loop.push_back({polygon[v], polygonClipSpace[v]});
        clipLoop(loop, cut, ClipPlane::near);
        clipLoop(cut, loop, ClipPlane::far);
        if (loop.size() < 3) continue;

        const int base = static_cast<int>(vertices.size());
        const int count = static_cast<int>(loop.size());
        for (int k = 0; k < count; ++k) {
            vertices.push_back(loop[k].vertex);
            vertices.back().prev = base + (k == 0 ? count - 1 : k - 1);
            clipSpace.push_back(loop[k].clip);
        }
    }
}

} // namespace rv
