#include "raster/span.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "raster/pixel_index.h"
#include "raster/batch_plotting.h"
#include "raster/span_shading.h"
#include "raster/span_stepping.h"
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
    SpanStepping stepping;
    const float start[steppedCount] = {z,        texOverW.x, texOverW.y,  texOverW.z,  normal.x,
                                       normal.y, normal.z,   texRowStepS, texRowStepT, static_cast<float>(x)};
    const float step[steppedCount] = {dz,        dTexOverW.x, dTexOverW.y, dTexOverW.z, dNormal.x,
                                      dNormal.y, dNormal.z,   dRowStepS,   dRowStepT,   1};
    std::copy(start, start + steppedCount, stepping.value);
    std::copy(step, step + steppedCount, stepping.step);
    float* const stepped[steppedCount] = {batch.z,         batch.texOverW[0], batch.texOverW[1], batch.texOverW[2],
                                          batch.normal[0], batch.normal[1],   batch.normal[2],   batch.rowStep[0],
                                          batch.rowStep[1], batch.x};
    // A frame that goes only to memory takes a batch's depth test and plotting in
    // vector lanes; a sink takes its points one by one, and records go with the
    // pixels that pass.
    const bool plotInLanes = scene.simd && !frame.output() && !shading.record;

    const int rowEnd = std::min(xEnd, frame.width());
    // Counted in locals and added once per span: the counters sit behind the view's
    // pointer, and a store through it per fragment would cost one.
    long shadedCount = 0, plottedCount = 0;
    frame.beginSpan();
    while (x < rowEnd) {
        // The steps stay one after the other, in float, as they always were: in vector
        // lanes all values of a fragment advance together. A fragment without lighting
        // is dropped and the span goes on; its depth entry stays as it was.
        const int first = x;
        batch.count = std::min(shadingBatch, rowEnd - x);
        x += batch.count;
        if (scene.simd)
            stepSpanSimd(stepping, batch.count, stepped);
        else
            stepSpanScalar(stepping, batch.count, stepped);
        shadeBatch(shading, tables, batch, shaded);
        if (plotInLanes) {
            const PlotCounts counts =
                plotBatchSimd(frame.depthRow(y), frame.colorRow(y), first, batch.z, shaded, 0, batch.count);
            shadedCount += counts.shaded;
            plottedCount += counts.plotted;
            continue;
        }
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
