#include "placement.h"

static int PlaceAxis(int refStart, int refSize, int size, int offset, int screen)
{
    int pos = offset != 0 ? refStart + offset : refStart + (refSize - size) / 2;
    if (pos < 0)
        pos = 0;
    else if (pos + size > screen)
        pos = screen - size;
    return pos;
}

void ComputePlacement(const PlaceRect& win, const PlaceRect& ref, int dx, int dy,
                      int screenWidth, int screenHeight, int* x, int* y)
{
    *x = PlaceAxis(ref.left, ref.width, win.width, dx, screenWidth);
    *y = PlaceAxis(ref.top, ref.height, win.height, dy, screenHeight);
}
