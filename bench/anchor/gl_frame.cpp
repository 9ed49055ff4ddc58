// EGL surfaceless context and the OpenGL rendition of the frame workload.
#include "anchor/gl_frame.h"

#define EGL_EGLEXT_PROTOTYPES
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <vector>

namespace anchor {
namespace {

// Framebuffer objects are beyond GL 1.1: their entry points come from EGL.
struct Framebuffer_Calls {
    PFNGLGENFRAMEBUFFERSPROC gen_framebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bind_framebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC gen_renderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bind_renderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbuffer_storage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebuffer_renderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC check_framebuffer_status = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC delete_framebuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC delete_renderbuffers = nullptr;
};
Framebuffer_Calls Calls;

template <typename Call> void Load(Call& call, const char* name)
{
    call = reinterpret_cast<Call>(eglGetProcAddress(name));
}

} // namespace

struct Gl_Context::Egl {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
};

Gl_Context::Gl_Context(std::unique_ptr<Egl> egl) : egl_(std::move(egl)) {}

Gl_Context::~Gl_Context()
{
    eglMakeCurrent(egl_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(egl_->display, egl_->context);
    eglTerminate(egl_->display);
}

std::unique_ptr<Gl_Context> Gl_Context::Open(std::string& error)
{
    auto egl = std::make_unique<Egl>();
    egl->display = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (egl->display == EGL_NO_DISPLAY || !eglInitialize(egl->display, nullptr, nullptr)) {
        error = "no EGL surfaceless display";
        return nullptr;
    }
    const EGLint config_attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                                        EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config;
    EGLint configs = 0;
    if (!eglBindAPI(EGL_OPENGL_API) ||
        !eglChooseConfig(egl->display, config_attributes, &config, 1, &configs) || configs < 1) {
        error = "no EGL configuration for desktop OpenGL";
        eglTerminate(egl->display);
        return nullptr;
    }
    egl->context = eglCreateContext(egl->display, config, EGL_NO_CONTEXT, nullptr);
    if (egl->context == EGL_NO_CONTEXT ||
        !eglMakeCurrent(egl->display, EGL_NO_SURFACE, EGL_NO_SURFACE, egl->context)) {
        error = "no current OpenGL context";
        eglTerminate(egl->display);
        return nullptr;
    }
    Load(Calls.gen_framebuffers, "glGenFramebuffers");
    Load(Calls.bind_framebuffer, "glBindFramebuffer");
    Load(Calls.gen_renderbuffers, "glGenRenderbuffers");
    Load(Calls.bind_renderbuffer, "glBindRenderbuffer");
    Load(Calls.renderbuffer_storage, "glRenderbufferStorage");
    Load(Calls.framebuffer_renderbuffer, "glFramebufferRenderbuffer");
    Load(Calls.check_framebuffer_status, "glCheckFramebufferStatus");
    Load(Calls.delete_framebuffers, "glDeleteFramebuffers");
    Load(Calls.delete_renderbuffers, "glDeleteRenderbuffers");
    if (!Calls.gen_framebuffers || !Calls.check_framebuffer_status) {
        error = "no framebuffer objects";
        return nullptr;
    }
    return std::make_unique<Gl_Context>(std::move(egl));
}

std::string Gl_Context::Renderer() const
{
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return renderer ? renderer : "?";
}

// One layer as client arrays: positions (x, y, z, w), RGBA bytes and texture coordinates.
struct Layer_Arrays {
    std::vector<float> positions;
    std::vector<uint8_t> colours;
    std::vector<float> texels;
    bool world = false;

    void Add(float x, float y, float z, D3DCOLOR colour, float u, float v)
    {
        positions.insert(positions.end(), {x, y, z, 1.0f});
        colours.insert(colours.end(), {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                                       static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 24)});
        texels.insert(texels.end(), {u, v});
    }
    int Count() const { return static_cast<int>(positions.size() / 4); }
};

namespace {

std::unique_ptr<Layer_Arrays> Make_Arrays(const std::vector<D3DTLVERTEX>& vertices)
{
    auto arrays = std::make_unique<Layer_Arrays>();
    for (const D3DTLVERTEX& v : vertices)
        arrays->Add(v.sx, v.sy, 0.0f, v.color, v.tu, v.tv);
    return arrays;
}

std::unique_ptr<Layer_Arrays> Make_Arrays(const std::vector<D3DLVERTEX>& vertices)
{
    auto arrays = std::make_unique<Layer_Arrays>();
    for (const D3DLVERTEX& v : vertices)
        arrays->Add(v.x, v.y, v.z, v.color, v.tu, v.tv);
    arrays->world = true;
    return arrays;
}

} // namespace

Gl_Frame::Gl_Frame(DWORD width, DWORD height)
    : width_(width), height_(height), geometry_(workload::Make_Frame_Geometry(width, height))
{
    Calls.gen_framebuffers(1, &framebuffer_);
    Calls.bind_framebuffer(GL_FRAMEBUFFER, framebuffer_);
    Calls.gen_renderbuffers(1, &renderbuffer_);
    Calls.bind_renderbuffer(GL_RENDERBUFFER, renderbuffer_);
    Calls.renderbuffer_storage(GL_RENDERBUFFER, GL_RGB8, static_cast<GLsizei>(width),
                               static_cast<GLsizei>(height));
    Calls.framebuffer_renderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffer_);
    glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));

    std::vector<uint8_t> texels(workload::Texture_Side * workload::Texture_Side * 4);
    workload::Fill_Texture(texels.data(), workload::Texture_Side * 4);
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, workload::Texture_Side, workload::Texture_Side, 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DITHER);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glBlendFunc(GL_ONE, GL_ONE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);

    background_ = Make_Arrays(geometry_.background);
    midground_ = Make_Arrays(geometry_.midground);
    wall_ = Make_Arrays(geometry_.wall);
    foreground_ = Make_Arrays(geometry_.foreground);
}

Gl_Frame::~Gl_Frame()
{
    glDeleteTextures(1, &texture_);
    Calls.delete_renderbuffers(1, &renderbuffer_);
    Calls.delete_framebuffers(1, &framebuffer_);
}

void Gl_Frame::Draw_Arrays(const Layer_Arrays& arrays, unsigned mode)
{
    glMatrixMode(GL_PROJECTION);
    if (arrays.world) {
        // Row-vector matrices read as column-major ones are their transposes: the same product.
        glLoadMatrixf(&geometry_.projection._11);
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(&geometry_.view._11);
        glMultMatrixf(&geometry_.world._11);
    } else {
        // Screen positions with pixel centres at integers, y downwards.
        glLoadIdentity();
        glOrtho(-0.5, width_ - 0.5, height_ - 0.5, -0.5, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    glVertexPointer(4, GL_FLOAT, 0, arrays.positions.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, arrays.colours.data());
    glTexCoordPointer(2, GL_FLOAT, 0, arrays.texels.data());
    glDrawArrays(mode, 0, arrays.Count());
}

void Gl_Frame::Draw()
{
    // Each size has its own framebuffer and texture: bind this one's.
    Calls.bind_framebuffer(GL_FRAMEBUFFER, framebuffer_);
    glViewport(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_));
    glBindTexture(GL_TEXTURE_2D, texture_);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_BLEND);
    Draw_Arrays(*background_, GL_TRIANGLES);
    glEnable(GL_BLEND);
    Draw_Arrays(*midground_, GL_TRIANGLES);
    Draw_Arrays(*wall_, GL_TRIANGLE_STRIP);
    Draw_Arrays(*foreground_, GL_TRIANGLES);
    glFinish();
}

double Gl_Frame::Mean_Level()
{
    Calls.bind_framebuffer(GL_FRAMEBUFFER, framebuffer_);
    std::vector<uint8_t> pixels(static_cast<size_t>(width_) * height_ * 4);
    glReadPixels(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_), GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    double sum = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        sum += pixels[i] + pixels[i + 1] + pixels[i + 2];
    return sum / (3.0 * width_ * height_);
}

} // namespace anchor
