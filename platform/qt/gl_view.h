// The GL view: a native window with its own double-buffered OpenGL context,
// embedded in the main window. Frames are drawn by the logic and presented
// here with an explicit buffer swap, so a frame may present more than once.
#pragma once

#include <QWindow>

class QOpenGLContext;

class GlView : public QWindow {
public:
    GlView();
    // Creates the native window and its context and makes the context
    // current; false, after an error box, when it failed.
    bool createContext();
    // Makes the context current on this window; false without a context.
    bool makeCurrent();
    // Swaps the buffers when the window is on screen.
    void present();
    // Size of the view in device pixels.
    int pixelWidth() const;
    int pixelHeight() const;

protected:
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QOpenGLContext* context = nullptr;
};
