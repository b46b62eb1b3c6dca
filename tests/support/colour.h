// Telling a lit object's colour from the pixels it was drawn into.
#pragma once

struct Pixel {
    int r, g, b;
};

struct Colour {
    float r, g, b;
};

// Whether a lit pixel shows the colour: some positive multiple of it, within
// a tolerance, and bright enough to be told from the black background.
bool shows(const Pixel& pixel, const Colour& colour);
bool isBlack(const Pixel& pixel);
