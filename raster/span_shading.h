#pragma once

#include <cstdint>

#include "math/color.h"
#include "math/vector3.h"
#include "raster/fragment_record.h"

namespace rv {

class FrameView;
class Scene;
struct Material;

// Fragments shaded in one call. A multiple of the widest lane count (16 floats with
// AVX-512), so vector code never needs a partial group; small enough that a batch
// and its results stay in the first-level cache.
constexpr int shadingBatch = 128;
constexpr int widestLanes = 16;

// What every fragment of one span shares.
struct SpanShading {
    const Scene& scene;
    // Its size turns window positions back into device coordinates.
    const FrameView& frame;
    float y;
    Vector3 eye;
    // The polygon's: its diffuse colour (where it has no colour texture), specular
    // colour, shininess and maps.
    const Material& material;
    // Per-column steps of s/w and t/w.
    float dsdx;
    float dtdx;
    // Also fill ShadedBatch's records: what the false-colour views of the frame show.
    bool record = false;
};

// Up to shadingBatch consecutive fragments of a span with the values span filling
// stepped to, one array per component so that vector lanes load them directly.
struct FragmentBatch {
    int count = 0;
    alignas(64) float x[shadingBatch];
    alignas(64) float z[shadingBatch];
    alignas(64) float texOverW[3][shadingBatch];
    alignas(64) float normal[3][shadingBatch];
    // Per-row steps of s/w and t/w, blended across the span.
    alignas(64) float rowStep[2][shadingBatch];

    // Callers keep count below shadingBatch.
    void append(float column, float depth, const Vector3& tex, const Vector3& n, float rowStepS, float rowStepT);
    // Copies the last fragment into the lanes up to the next multiple of widestLanes:
    // vector groups then read only initialised values (memcheck flags anything else).
    void padToWidestLanes();

    Vector3 texOverWAt(int i) const { return {texOverW[0][i], texOverW[1][i], texOverW[2][i]}; }
    Vector3 normalAt(int i) const { return {normal[0][i], normal[1][i], normal[2][i]}; }
};

// The shading of a batch: a colour per fragment, and whether it is lit at all.
struct ShadedBatch {
    alignas(64) float color[4][shadingBatch];
    // All bits set for a lit fragment, 0 for one dropped for a zero-length vector.
    alignas(64) std::int32_t lit[shadingBatch];
    // Only when the span asks for records, and only for lit fragments: the level of
    // detail the colour texture was sampled at (or a marker), the perspective-correct
    // texture coordinates, and the normalised normal the fragment was lit with.
    alignas(64) float lod[shadingBatch];
    alignas(64) float s[shadingBatch];
    alignas(64) float t[shadingBatch];
    alignas(64) float unitNormal[3][shadingBatch];

    Color colorAt(int i) const { return {color[0][i], color[1][i], color[2][i], color[3][i]}; }
    // The record of fragment i, tagged with its span.
    FragmentRecord recordAt(int i, std::int32_t span) const {
        return {lod[i], s[i], t[i], {unitNormal[0][i], unitNormal[1][i], unitNormal[2][i]}, span};
    }
};

// What the vector shading reads that stays the same along a span, built once
// per span (buildVectorTables) rather than for every batch.
struct PlacementTable {
    // Both inverses, element (r, c) at r * 4 + c, widened exactly.
    double projection[16];
    double modelview[16];
    // Projection row r times the row's ndc y: exact in double, the same for the whole span.
    double rowTimesY[4];
    float width;
};
// A colour texture as the lanes read it: level 0 is the source image, levels 1
// and up lie in the pyramid's storage.
constexpr int maxLevels = 32;
struct LevelTable {
    const float* level0;
    const float* reduced;
    int channels;
    int levelCount;
    int width0;
    int height0;
    // Texels of level 0, for the footprint.
    float texels;
    float ln2;
    alignas(64) std::int32_t width[maxLevels];
    alignas(64) std::int32_t height[maxLevels];
    // Where level k starts in `reduced` (0 for level 0, which has its own array).
    alignas(64) std::int32_t offset[maxLevels];
};
struct BumpTable {
    const float* heights;
    int width;
    int height;
    int channels;
    // static_cast<float>(side - 1), and that times the bump scale.
    float widthSteps;
    float heightSteps;
    float widthScale;
    float heightScale;
};
struct VectorTables {
    PlacementTable placement;
    LevelTable levels;
    BumpTable bumps;
    // False for a texture with more levels than the table holds: the span is shaded by the scalar code.
    bool usable = true;
};

// The tables for `span`.
void buildVectorTables(const SpanShading& span, VectorTables& tables);

// The definition, one fragment after the other: placeFragment, sampleTexture,
// bumpNormal and lightFragment, exactly as span filling always called them.
// Colours of dropped fragments are left as they were.
void shadeBatchScalar(const SpanShading& span, const FragmentBatch& batch, ShadedBatch& out);

// The same bits through Highway's vector code for the best instruction set the
// processor has (chosen on the first call); pads the batch first. `tables` are
// buildVectorTables' for this span.
void shadeBatchSimd(const SpanShading& span, const VectorTables& tables, FragmentBatch& batch, ShadedBatch& out);

// shadeBatchSimd, or shadeBatchScalar where the scene asks for the scalar code
// (which needs no tables).
void shadeBatch(const SpanShading& span, const VectorTables& tables, FragmentBatch& batch, ShadedBatch& out);

} // namespace rv
