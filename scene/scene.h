#pragma once

#include <memory>
#include <vector>

#include "math/color.h"
#include "math/matrix_stack.h"
#include "math/vector3.h"
#include "scene/mesh.h"
#include "scene/texture.h"

namespace rv {

struct Light {
    // World coordinates; OpenGL receives it as a direction (w = 0).
    Vector3 position;
    Color color;
};

// The one description of what is drawn, plus the "current" construction state
// that beginObject and addVertex copy, in the manner of an immediate-mode API.
class Scene {
public:
    // Read by the OpenGL path only.
    bool lightingEnabled = false;
    bool flatShading = false;
    bool useOpenGL = true;
    bool mipmapping = true;
    // Software path only: clip polygons against the near and far planes before the
    // divide by w. Off, a polygon reaching behind the eye is drawn mirrored through
    // it; the OpenGL path always clips.
    bool clipping = true;
    // Software path: shade spans in vector lanes (same bits); false runs the scalar code that defines them.
    bool simd = true;
    Color ambient{0, 0, 0, 1};
    std::vector<Light> lights;
    std::vector<SceneObject> objects;
    MatrixStack modelview;
    MatrixStack projection;
    // Applied to positions and normals as vertices are added.
    MatrixStack construction;

    // Current state for construction.
    Vector3 normal{0, 0, 1};
    Color diffuse{1, 1, 1, 1};
    Color specular{0, 0, 0, 1};
    int shininess = 0;
    // First vertex, within the current polygon, of the loop being built.
    int loopStart = 0;
    Texture* colorTexture = nullptr;
    Texture* bumpMap = nullptr;
    Texture* environmentMap = nullptr;
    float s = 0;
    float t = 0;
    // The textures the scene owns; objects and the current state point into them.
    std::vector<std::unique_ptr<Texture>> textures;

    Scene() { reset(); }

    // Clears flags, geometry, lights, owned textures and current state; keeps
    // `ambient` and the stacks.
    void reset();

    // A new empty texture that lives as long as the scene (or until reset).
    Texture& createTexture();

    void setAmbient(const Color& c) { ambient = c; }
    void addLight(const Vector3& position, const Color& color) { lights.push_back({position, color}); }
    void setMaterial(const Color& d, const Color& sp, int shine) {
        diffuse = d;
        specular = sp;
        shininess = shine;
    }
    // Normalises in place; a zero vector throws ZeroDivide and stays stored unnormalised.
    void setNormal(float x, float y, float z) {
        normal = {x, y, z};
        normalize(normal);
    }
    void setTexCoord(float s_, float t_) {
        s = s_;
        t = t_;
    }
    void setTextures(Texture* color, Texture* bump, Texture* environment) {
        colorTexture = color;
        bumpMap = bump;
        environmentMap = environment;
    }

    void beginObject();
    // Throws std::logic_error when there is no object to add the polygon to.
    void beginPolygon();
    // Throws std::logic_error when the last object has no polygon.
    void addVertex(float x, float y, float z);
};

// Appends one object: a width x height rectangle in z = 0, centred on the origin,
// facing +z, with the whole texture mapped once across it.
void buildSquare(Scene& scene, double width, double height);

// The grey ambient and the one light of the start-up scene, shared by every scene the viewer shows.
void addDefaultLight(Scene& scene);

// The start-up scene: tile textures, one light, the orange material and the unit square.
void initScene(Scene& scene);

} // namespace rv
