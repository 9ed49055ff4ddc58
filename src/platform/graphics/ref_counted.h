// The reference count of the objects whose lifetime the program shares or checks: surfaces,
// palettes, clippers, the DirectDraw object and devices. A new object holds one reference (its
// creator's); Release returns the references left and deletes the object at zero.
#pragma once

#include "platform/win_types.h"

class Ref_Counted {
public:
    Ref_Counted(const Ref_Counted&) = delete;
    Ref_Counted& operator=(const Ref_Counted&) = delete;

    ULONG AddRef() { return ++Count; }
    ULONG Release()
    {
        ULONG left = --Count;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    ULONG Reference_Count() const { return Count; }

protected:
    Ref_Counted() = default;
    virtual ~Ref_Counted() = default;

private:
    ULONG Count = 1;
};

// Releases a reference and clears the pointer (the program's SAFE_RELEASE).
template <typename T> void Safe_Release(T*& object)
{
    if (object) {
        object->Release();
        object = nullptr;
    }
}
