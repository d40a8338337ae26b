// Basic, resize-time and start-up OpenGL state of the GL view.
#include "render/gl_setup.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "render/textures.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
// Width over height as a double; a view with no height (a minimised window)
// is taken as one pixel high so the projection stays finite.
double aspectOf(int width, int height) { return double(width) / double(height > 0 ? height : 1); }

// The GL driver copies every frame's vertex arrays into buffers it allocates
// and frees again. With the C library's adaptive limits those megabytes are
// often handed back to the system and mapped afresh, and touching fresh pages
// costs more than drawing them. Fixed limits keep them in the heap for reuse.
void keepDrawingMemory()
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
#endif
}

void setPerspective(int width, int height, double zNear, double zFar)
{
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, aspectOf(width, height), zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
}
} // namespace

void setBasicGlState()
{
    glShadeModel(GL_SMOOTH);
    glClearColor(0.15f, 0.15f, 0.15f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

void resizeGlView(int width, int height)
{
    setPerspective(width, height, 0.1, 100.0);
    glLoadIdentity();
}

void initGLForSize(int width, int height)
{
    keepDrawingMemory();
    glEnable(GL_DEPTH_TEST);
    // The start-up projection keeps its own planes until the view is first resized.
    setPerspective(width, height, 0.6, 20.0);

    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    const GLfloat diffuse[] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat specular[] = {0.9f, 0.9f, 0.9f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 128.0f);
    glEnable(GL_COLOR_MATERIAL);

    // Positional light, taken through the modelview current now and never
    // set again, so it stays fixed relative to the eye.
    const GLfloat lightPosition[] = {10.0f, 10.0f, 10.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glEnable(GL_LIGHT0);

    glEnable(GL_NORMALIZE);

    glGenTextures(3, textureIds);
    uploadBlackTexture();
    updateColorTexture();
    glEnable(GL_TEXTURE_2D);

    setBasicGlState();
    glEnable(GL_LINE_SMOOTH);
}

void followGlViewSize(int width, int height)
{
    glViewport(0, 0, width, height);
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    if (width <= 0 || height <= 0 || projection[5] == 0.0)
        return;
    projection[0] = projection[5] * height / width;
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(projection);
    glMatrixMode(GL_MODELVIEW);
}
