#include "tests/fuzz/fuzz_case.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "raster/mip_pyramid.h"
#include "tests/raster/raster_fixtures.h"
#include "tests/support/grid_scene.h"
#include "tests/support/memory_image.h"
#include "view/camera.h"
#include "view/software_path.h"

namespace rv {

namespace {

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data(data), size(size) {}

    uint8_t byte() { return pos < size ? data[pos++] : 0; }
    int upTo(int most) { return byte() % (most + 1); }
    bool flag() { return byte() & 1; }

    // Mostly small, friendly numbers, but also raw bit patterns and the values
    // that break naive arithmetic: zeros of both signs, denormals, huge, infinite, NaN.
    float number() {
        static constexpr float special[] = {
            0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 1e-7f, -1e-7f, std::numeric_limits<float>::denorm_min(),
            1e7f, -1e7f, 1e30f, -1e30f, std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest(),
            std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
            std::numeric_limits<float>::quiet_NaN(), 16777216.0f, 2147483648.0f, -2147483904.0f};
        switch (byte() % 4) {
        case 0: return special[byte() % std::size(special)];
        case 1: {
            uint8_t bits[4] = {byte(), byte(), byte(), byte()};
            float f;
            std::memcpy(&f, bits, sizeof f);
            return f;
        }
        default: return static_cast<float>(static_cast<int8_t>(byte())) / 16.0f;
        }
    }

    Color color() { return {number(), number(), number(), number()}; }

private:
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
};

Texture* makeTexture(FuzzCase& c, ByteReader& in, int channels) {
    Texture& texture = c.scene.createTexture();
    const int w = 1 + in.upTo(16), h = 1 + in.upTo(16);
    texture.allocate(w, h, channels);
    for (int i = 0; i < w * h * channels; ++i) texture.texels[i] = in.number();
    return &texture;
}

void decodeConstruction(MatrixStack& construction, ByteReader& in) {
    construction.reset();
    switch (in.upTo(7)) {
    case 1: construction.translate(in.number(), in.number(), in.number()); break;
    case 2: construction.rotateX(in.number()); break;
    case 3: construction.rotateZ(in.number()); break;
    // A projective construction matrix gives vertices with w other than 1.
    case 4: construction.perspective(in.number(), in.number(), in.number(), in.number()); break;
    default: break;
    }
}

void decodeObject(FuzzCase& c, ByteReader& in) {
    Scene& scene = c.scene;
    scene.setMaterial(in.color(), in.color(), static_cast<int>(in.byte()) - 64);
    Texture* colors = in.flag() ? makeTexture(c, in, 3) : nullptr;
    Texture* bumps = in.flag() ? makeTexture(c, in, 1) : nullptr;
    scene.setTextures(colors, bumps, nullptr);
    decodeConstruction(scene.construction, in);
    scene.beginObject();
    const int polygons = in.upTo(16);
    for (int p = 0; p < polygons; ++p) {
        scene.beginPolygon();
        const int vertices = in.upTo(12);
        int loopsLeft = in.upTo(3);
        for (int v = 0; v < vertices; ++v) {
            // Start another loop of the same polygon here, as a hole or a second outline.
            if (v > 0 && loopsLeft > 0 && in.flag()) {
                scene.loopStart = v;
                --loopsLeft;
            }
            try {
                scene.setNormal(in.number(), in.number(), in.number());
            } catch (const ZeroDivide&) {
                // The scene keeps the zero normal: exactly what shading must survive.
            }
            scene.setTexCoord(in.number(), in.number());
            scene.addVertex(in.number(), in.number(), in.number());
        }
    }
}

// Many polygons: a grid of up to 32 x 32 quads (2048 triangles, more than one
// chunk of the vertex stage, sharing every side), then up to 510 triangles with
// corners anywhere around the view, so that bands skip most polygons and meet
// a few at their edges. Only after the byte 'C': the seeds from before carry
// unread bytes here, and must keep decoding to the scenes they were kept for.
void decodeCrowd(FuzzCase& c, ByteReader& in) {
    if (in.byte() != 'C') return;
    Scene& scene = c.scene;
    const int grid = in.upTo(32);
    const int triangles = 2 * in.upTo(255);
    if (grid == 0 && triangles == 0) return;
    scene.setMaterial(in.color(), in.color(), static_cast<int>(in.byte()) - 64);
    Texture* colors = in.flag() ? makeTexture(c, in, 3) : nullptr;
    Texture* bumps = in.flag() ? makeTexture(c, in, 1) : nullptr;
    scene.setTextures(colors, bumps, nullptr);
    decodeConstruction(scene.construction, in);
    if (grid > 0) buildGrid(scene, grid);
    scene.beginObject();
    auto coordinate = [&] { return static_cast<float>(static_cast<int8_t>(in.byte())) / 64.0f; };
    for (int p = 0; p < triangles; ++p) {
        scene.beginPolygon();
        for (int v = 0; v < 3; ++v) {
            const float s = coordinate(), t = coordinate();
            scene.setTexCoord(s, t);
            const float x = coordinate(), y = coordinate(), z = coordinate();
            scene.addVertex(x, y, z);
        }
    }
}

void decodeFrameSize(FuzzCase& c, ByteReader& in) {
    const int large = 1 + in.upTo(255) * 8;
    const int small = 1 + in.upTo(63);
    switch (in.upTo(7)) {
    case 0: c.width = c.height = 0; break;
    case 1: c.width = 1, c.height = large; break;
    case 2: c.width = large, c.height = 1; break;
    case 3: c.width = large, c.height = 1 + in.upTo(255) * 8; break;
    default: c.width = small, c.height = 1 + in.upTo(63); break;
    }
}

} // namespace

std::unique_ptr<FuzzCase> decodeFuzzCase(const uint8_t* data, size_t size) {
    auto c = std::make_unique<FuzzCase>();
    ByteReader in(data, size);
    Scene& scene = c->scene;
    scene.mipmapping = in.flag();
    scene.setAmbient(in.color());
    const int lights = in.upTo(3);
    for (int i = 0; i < lights; ++i) scene.addLight({in.number(), in.number(), in.number()}, in.color());
    const int objects = in.upTo(3);
    for (int i = 0; i < objects; ++i) decodeObject(*c, in);

    ViewPose& view = c->view;
    if (in.flag()) {
        view.spin = in.number();
        view.tilt = in.number();
        // Whole wheel steps reach the near plane (about 11) and behind the eye.
        view.zoom = in.flag() ? in.number() : static_cast<float>(static_cast<int8_t>(in.byte()));
        view.panX = in.number() * 100;
        view.panY = in.number() * 100;
    }
    decodeFrameSize(*c, in);
    // Last, so that inputs from before the switch decode as they did, clipped.
    scene.clipping = !in.flag();
    c->threads = 2 + in.upTo(6);
    // Short bands put band boundaries everywhere; at most 64 of them keep the
    // walk below each band cheap on the tallest frames.
    c->bandHeight = std::max(1 + in.upTo(31), (c->height + 63) / 64);
    // Last again, so that inputs from before decode as they did.
    decodeCrowd(*c, in);
    return c;
}

std::string renderFuzzCase(FuzzCase& c) {
    for (auto& texture : c.scene.textures) texture->pyramid = buildPyramid(*texture);
    setupCamera(c.scene, c.view, c.width, c.height);
    FrameResult frames[2];
    BandRenderer oneThread(1);
    for (const bool simd : {false, true}) {
        c.scene.simd = simd;
        MemoryImage image(c.width, c.height);
        FrameBuffer frame;
        frame.reset();
        frame.output = &image;
        renderSoftware(c.scene, frame, oneThread, c.width, c.height);
        frames[simd] = captureFrame(frame, image);
    }
    if (std::string why = bitDifference(frames[0], frames[1]); !why.empty()) return "vector shading: " + why;

    FrameBuffer banded;
    banded.keepColors();
    BandRenderer renderer(c.threads, c.bandHeight);
    renderSoftware(c.scene, banded, renderer, c.width, c.height);
    const size_t pixels = static_cast<size_t>(banded.width()) * static_cast<size_t>(banded.height());
    // An empty frame may have no storage at all.
    const FrameResult inBands{pixels ? std::vector<float>(banded.colors(), banded.colors() + pixels * 3)
                                     : std::vector<float>(),
                              pixels ? std::vector<float>(banded.depth(), banded.depth() + pixels) : std::vector<float>(),
                              banded.stats};
    if (std::string why = bitDifference(frames[1], inBands); !why.empty())
        return std::to_string(c.threads) + " threads, " + std::to_string(c.bandHeight) + " rows per band: " + why;
    return {};
}

} // namespace rv
