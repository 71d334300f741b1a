#include "glref/render_opengl.h"

#include <GL/glu.h>
#include <GL/glut.h>

#include <cstdio>

namespace rv {

namespace {

constexpr const char* caption = "OpenGL rendering (toggle with 'g')";

void reportErrors() {
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) std::printf("ERROR: 0x%x\n", error);
    // Whoever watches the output should see the lines at once, not at exit.
    std::fflush(stdout);
}

void loadMatrices(const Scene& scene) {
    float modelview[16], projection[16];
    toColumnMajor(scene.modelview.current, modelview);
    toColumnMajor(scene.projection.current, projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelview);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection);
}

void setUpLights(const Scene& scene) {
    // Normals arrive transformed by the construction matrix, scaled with a model's
    // placement; unnormalised, a model shrunk to unit size is lit almost black.
    if (scene.lightingEnabled) {
        glEnable(GL_LIGHTING);
        glEnable(GL_NORMALIZE);
    } else {
        glDisable(GL_LIGHTING);
        glDisable(GL_NORMALIZE);
    }
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, scene.ambient.data());
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    for (size_t i = 0; i < scene.lights.size(); ++i) {
        const Light& light = scene.lights[i];
        const GLenum id = GL_LIGHT0 + static_cast<GLenum>(i);
        // w = 0: a directional light shining from the stored position's direction.
        const float position[4] = {light.position.x, light.position.y, light.position.z, 0};
        glLightfv(id, GL_POSITION, position);
        glLightfv(id, GL_DIFFUSE, light.color.data());
        glLightfv(id, GL_SPECULAR, light.color.data());
        glEnable(id);
    }
}

void setWrap(GLint mode) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, mode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, mode);
}

void setFilters(GLint mag, GLint min) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
}

void setDecal() { glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(GL_DECAL)); }

void uploadLevel0(const Texture& texture) {
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, texture.width, texture.height, 0, GL_RGB, GL_FLOAT, texture.texels.get());
}

// Re-specifies the object's texture every frame, so the texture name holds
// nothing that outlives the frame.
void setUpTexture(const SceneObject& object, GLuint name, bool mipmapping) {
    const Texture* texture = object.environmentMap ? object.environmentMap : object.colorTexture;
    if (!texture) {
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
        return;
    }
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (object.environmentMap) {
        uploadLevel0(*texture);
        setWrap(GL_CLAMP);
        setFilters(GL_LINEAR, GL_LINEAR);
        setDecal();
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
        setDecal();
    } else if (mipmapping) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, texture->width, texture->height, GL_RGB, GL_FLOAT,
                          texture->texels.get());
        setFilters(GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR);
        setWrap(GL_CLAMP);
        setDecal();
    } else {
        uploadLevel0(*texture);
        setFilters(GL_NEAREST, GL_NEAREST);
        setWrap(GL_CLAMP);
        setDecal();
    }
}

void drawPolygons(const SceneObject& object) {
    for (const Polygon& polygon : object.polygons) {
        glBegin(GL_POLYGON);
        for (const Vertex& v : polygon.vertices) {
            glTexCoord2f(v.s, v.t);
            glNormal3f(v.normal.x, v.normal.y, v.normal.z);
            glVertex3f(v.position.x, v.position.y, v.position.z);
        }
        glEnd();
    }
}

} // namespace

void drawCaption(const char* text, int width, int height) {
    glDisable(GL_LIGHTING);
    glColor3f(0, 0, 0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, width, 0, height);
    glRasterPos2f(10, 10);
    for (const char* c = text; *c; ++c) glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, *c);
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}

void renderOpenGL(const Scene& scene, int width, int height) {
    reportErrors();
    drawCaption(caption, width, height);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(scene.flatShading ? GL_FLAT : GL_SMOOTH);
    loadMatrices(scene);
    setUpLights(scene);
    for (size_t k = 0; k < scene.objects.size(); ++k) {
        const SceneObject& object = scene.objects[k];
        glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, object.diffuse.data());
        glMateriali(GL_FRONT, GL_SHININESS, object.shininess);
        glMaterialfv(GL_FRONT, GL_SPECULAR, object.specular.data());
        // Object k uses texture name k; object 0 uses GL's default texture.
        setUpTexture(object, static_cast<GLuint>(k), scene.mipmapping);
        drawPolygons(object);
        glDisable(GL_TEXTURE_2D);
    }
    glFlush();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
}

} // namespace rv
