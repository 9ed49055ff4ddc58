// Vectors and 4 × 4 matrices of the device layer: the vector helpers, and the identity, Z
// rotation, view and projection builders. Matrices are row-vector style (translation in row 4);
// all arithmetic is in single precision.
#pragma once

#include "platform/graphics/d3d_types.h"

inline D3DVECTOR Make_Vector(D3DVALUE x, D3DVALUE y, D3DVALUE z)
{
    return D3DVECTOR{x, y, z};
}
inline D3DVECTOR operator-(const D3DVECTOR& a, const D3DVECTOR& b)
{
    return D3DVECTOR{a.x - b.x, a.y - b.y, a.z - b.z};
}
inline D3DVECTOR operator*(const D3DVECTOR& v, D3DVALUE s)
{
    return D3DVECTOR{v.x * s, v.y * s, v.z * s};
}
inline D3DVECTOR operator*(D3DVALUE s, const D3DVECTOR& v)
{
    return v * s;
}
// Divides each component by the scalar in place.
inline D3DVECTOR& operator/=(D3DVECTOR& v, D3DVALUE s)
{
    v.x /= s;
    v.y /= s;
    v.z /= s;
    return v;
}
D3DVALUE DotProduct(const D3DVECTOR& a, const D3DVECTOR& b);
D3DVECTOR CrossProduct(const D3DVECTOR& a, const D3DVECTOR& b);
D3DVALUE SquareMagnitude(const D3DVECTOR& v);
D3DVALUE Magnitude(const D3DVECTOR& v);

void D3DUtil_SetIdentityMatrix(D3DMATRIX& m);
// Identity with _11 = cos a, _12 = sin a, _21 = −sin a, _22 = cos a.
void D3DUtil_SetRotateZMatrix(D3DMATRIX& m, D3DVALUE radians);
// S_OK, or E_INVALIDARG (matrix untouched) when eye and target coincide or no up can be found.
HRESULT D3DUtil_SetViewMatrix(D3DMATRIX& m, const D3DVECTOR& eye, const D3DVECTOR& target,
                              const D3DVECTOR& world_up);
// S_OK, or E_INVALIDARG (matrix untouched) when far ≈ near or sin(fov / 2) ≈ 0.
HRESULT D3DUtil_SetProjectionMatrix(D3DMATRIX& m, D3DVALUE fov, D3DVALUE aspect, D3DVALUE near_plane,
                                    D3DVALUE far_plane);
