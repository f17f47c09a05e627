// Where PlaceWindow puts a window: pure arithmetic, kept apart for tests.
#ifndef ZORIVEN_PLACEMENT_H
#define ZORIVEN_PLACEMENT_H

struct PlaceRect {
    int left, top, width, height;
};

// Centres win over ref (or offsets it by dx, dy from ref's corner when an
// offset is not 0), then keeps it on a screen of the given size.
void ComputePlacement(const PlaceRect& win, const PlaceRect& ref, int dx, int dy,
                      int screenWidth, int screenHeight, int* x, int* y);

#endif
