// The GL view's window, context, resizing and painting.
#include "platform/qt/gl_view.h"

#include <GL/gl.h>

#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <cmath>

#include "platform/platform.h"
#include "platform/qt/qt_platform.h"
#include "app/main_window.h"
#include "platform/qt/viewer_window.h"
#include "render/gl_setup.h"

GlView::GlView()
{
    setSurfaceType(QSurface::OpenGLSurface);
    // Double-buffered RGBA, 24 colour bits, no alpha, 16 depth bits, no
    // stencil, a compatibility context for the fixed-function pipeline.
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(0);
    format.setDepthBufferSize(16);
    format.setStencilBufferSize(0);
    // Presenting waits for the display's refresh where the driver offers it:
    // one frame per refresh, so a held key moves the view alike everywhere.
    format.setSwapInterval(1);
    setFormat(format);
}

bool GlView::createContext()
{
    create();
    context = new QOpenGLContext(this);
    context->setFormat(requestedFormat());
    if (!context->create()) {
        platformMessageBox(iconError, "Context creation failed.", "GL Erreur");
        return false;
    }
    if (!context->makeCurrent(this)) {
        platformMessageBox(iconError, "makeCurrent failed.", "GL Erreur");
        return false;
    }
    setBasicGlState();
    return true;
}

bool GlView::makeCurrent()
{
    if (!context)
        return false;
    if (QOpenGLContext::currentContext() == context && context->surface() == this)
        return true;
    return context->makeCurrent(this);
}

void GlView::present()
{
    if (context && isExposed()) {
        context->swapBuffers(this);
        ++qt.presentCount;
    }
}

int GlView::pixelWidth() const { return static_cast<int>(std::lround(width() * devicePixelRatio())); }

int GlView::pixelHeight() const { return static_cast<int>(std::lround(height() * devicePixelRatio())); }

void GlView::resizeEvent(QResizeEvent* event)
{
    QWindow::resizeEvent(event);
    if (!makeCurrent())
        return;
    // Only the user's resizing switches the start planes to the resize planes.
    if (qt.mainWindow && qt.mainWindow->userResized())
        resizeGlView(pixelWidth(), pixelHeight());
    else
        followGlViewSize(pixelWidth(), pixelHeight());
}

void GlView::exposeEvent(QExposeEvent* event)
{
    QWindow::exposeEvent(event);
    // A paint request: one frame at once, when the program may draw now.
    if (isExposed() && qtMayPaint() && makeCurrent())
        paintFrame();
    qtUpdateIdleTimer();
}
