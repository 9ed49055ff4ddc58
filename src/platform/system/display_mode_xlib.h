// What Xlib tells about a display's modes, shared by the plain X source and the window
// backends that ask through their own connection.
#pragma once

typedef struct _XDisplay Display;

// The bits a pixel of `depth` takes in memory (24-bit colour is stored in 32), from the
// server's pixmap formats; `depth` itself where the server lists no format for it.
int Bits_Per_Pixel_Of_Depth(Display* display, int depth);
