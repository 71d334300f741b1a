#pragma once

namespace rv {

class Scene;

// Appends one object through the scene's own building operations, with its
// current material and textures: the unit square in z = 0, centred on the
// origin and facing +z, cut into n x n quads, each split along its diagonal into
// two triangles (2 n^2 in all), the texture mapped once across the whole.
void buildGrid(Scene& scene, int n);

// The start-up scene (its textures, light and material) with the grid in place
// of its single square.
void initGridScene(Scene& scene, int n);

} // namespace rv
