#include "raster/span.h"

#include <cmath>
#include <type_traits>

#include "raster/pixel_index.h"
#include "raster/span_shading.h"
#include "scene/scene.h"

namespace rv {

namespace {

int columnOf(float x) { return truncateToIndex(static_cast<double>(x) + 0.5); }

} // namespace

void fillSpan(const Scene& scene, const FrameView& frame, int y, const Edge& left, const Edge& right,
              const Material& material, std::int32_t spanTag) {
    // Edges through the eye plane can reach a row with x = inf - inf.
    if (std::isnan(left.x) || std::isnan(right.x)) return;
    const int xStart = columnOf(left.x);
    const int xEnd = columnOf(right.x);
    const float n = static_cast<float>(xEnd - xStart);
    if (n == 0) return;

    const float dz = (right.z - left.z) / n;
    const Vector3 dTexOverW = (right.texOverW - left.texOverW) / n;
    const Vector3 dNormal = (right.normal - left.normal) / n;
    const float dRowStepS = (right.dTexOverW.x - left.dTexOverW.x) / n;
    const float dRowStepT = (right.dTexOverW.y - left.dTexOverW.y) / n;

    float z = left.z;
    Vector3 texOverW = left.texOverW;
    Vector3 normal = left.normal;
    // Per-row change of s/w and t/w, blended across the span: the vertical texture derivatives.
    float texRowStepS = left.dTexOverW.x;
    float texRowStepT = left.dTexOverW.y;
    int x = xStart;
    if (xStart < 0) {
        const float k = static_cast<float>(-xStart);
        z += k * dz;
        normal += dNormal * k;
        texOverW += dTexOverW * k;
        texRowStepS += k * dRowStepS;
        texRowStepT += k * dRowStepT;
        x = 0;
    }

    const Vector4 eye4 = scene.modelview.transformByInverse({0, 0, 0, 1});
    const SpanShading shading{scene,       frame,       static_cast<float>(y), {eye4.x, eye4.y, eye4.z},
                              material,    dTexOverW.x, dTexOverW.y,           frame.keepsRecords()};
    // Built once per span, not once per batch: only the vector shading reads them.
    VectorTables tables;
    if (scene.simd) buildVectorTables(shading, tables);
    FragmentBatch batch;
    ShadedBatch shaded;

    const int rowLength = frame.width();
    // Counted in locals and added once per span: the counters sit behind the view's
    // pointer, and a store through it per fragment would cost one.
    long shadedCount = 0, plottedCount = 0;
    frame.beginSpan();
    while (x < xEnd && x < rowLength) {
        // The steps stay one after the other, in float, as they always were; only the
        // shading goes by batches. A fragment without lighting is dropped and the span
        // goes on; its depth entry stays as it was.
        const int first = x;
        batch.count = 0;
        for (; x < xEnd && x < rowLength && batch.count < shadingBatch; ++x) {
            batch.append(static_cast<float>(x), z, texOverW, normal, texRowStepS, texRowStepT);
            z += dz;
            normal += dNormal;
            texOverW += dTexOverW;
            texRowStepS += dRowStepS;
            texRowStepT += dRowStepT;
        }
        shadeBatch(shading, tables, batch, shaded);
        // The record test is made once per batch, as a type: without records, plotting costs what it always did.
        auto plot = [&](auto keepRecords) {
            for (int i = 0; i < batch.count; ++i) {
                if (!shaded.lit[i]) continue;
                ++shadedCount;
                if (!frame.plotPixel(first + i, y, batch.z[i], shaded.colorAt(i))) continue;
                ++plottedCount;
                if (keepRecords) frame.keepRecord(first + i, y, shaded.recordAt(i, spanTag));
            }
        };
        if (shading.record)
            plot(std::true_type{});
        else
            plot(std::false_type{});
    }
    frame.endSpan();
    frame.stats().fragmentsShaded += shadedCount;
    frame.stats().fragmentsPlotted += plottedCount;
}

} // namespace rv
