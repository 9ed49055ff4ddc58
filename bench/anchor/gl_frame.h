// The frame workload drawn through OpenGL 1.x fixed function by whatever Mesa driver EGL's
// surfaceless platform gives (llvmpipe, when the environment asks for software rendering),
// into a GL_RGB8 framebuffer object: the same triangles, texture, filtering, modulation and
// blending as on our devices.
#pragma once

#include "workload/frame_workload.h"

#include <memory>
#include <string>

namespace anchor {

struct Layer_Arrays;

class Gl_Context {
public:
    // Null with a reason in error when no context can be had.
    static std::unique_ptr<Gl_Context> Open(std::string& error);
    ~Gl_Context();
    std::string Renderer() const;

    struct Egl;
    explicit Gl_Context(std::unique_ptr<Egl> egl);

private:
    std::unique_ptr<Egl> egl_;
};

class Gl_Frame {
public:
    Gl_Frame(DWORD width, DWORD height);
    ~Gl_Frame();
    Gl_Frame(const Gl_Frame&) = delete;
    Gl_Frame& operator=(const Gl_Frame&) = delete;

    DWORD Width() const { return width_; }
    DWORD Height() const { return height_; }
    // One whole frame, finished (glFinish) when it returns.
    void Draw();
    // The mean channel value of the picture (0..255), to see that both draw alike.
    double Mean_Level();

private:
    void Draw_Arrays(const Layer_Arrays& arrays, unsigned mode);

    DWORD width_, height_;
    unsigned framebuffer_ = 0, renderbuffer_ = 0, texture_ = 0;
    std::unique_ptr<Layer_Arrays> background_, midground_, wall_, foreground_;
    workload::Frame_Geometry geometry_;
};

} // namespace anchor
