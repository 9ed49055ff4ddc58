// Vector helpers and the matrix builders.
#include "d3dframe/d3dmath.h"

#include <cmath>

D3DVALUE DotProduct(const D3DVECTOR& a, const D3DVECTOR& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

D3DVECTOR CrossProduct(const D3DVECTOR& u, const D3DVECTOR& v)
{
    return D3DVECTOR{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

D3DVALUE SquareMagnitude(const D3DVECTOR& v)
{
    return DotProduct(v, v);
}

D3DVALUE Magnitude(const D3DVECTOR& v)
{
    return std::sqrt(SquareMagnitude(v));
}

void D3DUtil_SetIdentityMatrix(D3DMATRIX& m)
{
    m = D3DMATRIX{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
}

void D3DUtil_SetRotateZMatrix(D3DMATRIX& m, D3DVALUE radians)
{
    D3DUtil_SetIdentityMatrix(m);
    m._11 = std::cos(radians);
    m._12 = std::sin(radians);
    m._21 = -std::sin(radians);
    m._22 = std::cos(radians);
}

HRESULT D3DUtil_SetViewMatrix(D3DMATRIX& m, const D3DVECTOR& eye, const D3DVECTOR& target,
                              const D3DVECTOR& world_up)
{
    D3DVECTOR view = target - eye;
    D3DVALUE length = Magnitude(view);
    if (length < 1e-6f) {
        return E_INVALIDARG;
    }
    view /= length;

    D3DVECTOR up = world_up - DotProduct(world_up, view) * view;
    length = Magnitude(up);
    if (length < 1e-6f) {
        up = Make_Vector(0.0f, 1.0f, 0.0f) - view.y * view;
        length = Magnitude(up);
        if (length < 1e-6f) {
            up = Make_Vector(0.0f, 0.0f, 1.0f) - view.z * view;
            length = Magnitude(up);
            if (length < 1e-6f) {
                return E_INVALIDARG;
            }
        }
    }
    up /= length;
    D3DVECTOR right = CrossProduct(up, view);

    D3DUtil_SetIdentityMatrix(m);
    m._11 = right.x;
    m._12 = up.x;
    m._13 = view.x;
    m._21 = right.y;
    m._22 = up.y;
    m._23 = view.y;
    m._31 = right.z;
    m._32 = up.z;
    m._33 = view.z;
    m._41 = -DotProduct(eye, right);
    m._42 = -DotProduct(eye, up);
    m._43 = -DotProduct(eye, view);
    return S_OK;
}

HRESULT D3DUtil_SetProjectionMatrix(D3DMATRIX& m, D3DVALUE fov, D3DVALUE aspect, D3DVALUE near_plane,
                                    D3DVALUE far_plane)
{
    if (std::fabs(far_plane - near_plane) < 0.01f || std::fabs(std::sin(fov / 2)) < 0.01f) {
        return E_INVALIDARG;
    }
    D3DVALUE t = std::cos(fov / 2) / std::sin(fov / 2);
    D3DVALUE q = far_plane / (far_plane - near_plane);
    m = D3DMATRIX{};
    m._11 = aspect * t;
    m._22 = t;
    m._33 = q;
    m._34 = 1.0f;
    m._43 = -q * near_plane;
    return S_OK;
}
