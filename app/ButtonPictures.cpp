#include "app/ButtonPictures.h"

#include <initializer_list>

namespace {

// Pixel art, one character a pixel: '.' is clear, the others are colours.
std::uint32_t Colour(char c)
{
    switch (c) {
    case 'G': return 0xFF1E6B1E;  // dark green
    case 'g': return 0xFF3DAA3D;  // green
    case 'R': return 0xFF8E1B1B;  // dark red
    case 'r': return 0xFFD83A3A;  // red
    default: return 0x00000000;
    }
}

TPicture Draw(std::initializer_list<const char*> rows)
{
    TPicture picture;
    picture.Height = static_cast<int>(rows.size());
    for (const char* row : rows) {
        int width = 0;
        for (const char* p = row; *p; ++p, ++width)
            picture.Pixels.push_back(Colour(*p));
        picture.Width = width;
    }
    return picture;
}

}  // namespace

TPicture AddPicture()
{
    return Draw({"................",
                 "......GGGG......",
                 "......GggG......",
                 "......GggG......",
                 "......GggG......",
                 "......GggG......",
                 ".GGGGGGggGGGGGG.",
                 ".Gggggggggggggg.",
                 ".Gggggggggggggg.",
                 ".GGGGGGggGGGGGG.",
                 "......GggG......",
                 "......GggG......",
                 "......GggG......",
                 "......GggG......",
                 "......GGGG......",
                 "................"});
}

TPicture DeletePicture()
{
    return Draw({"................",
                 "................",
                 "................",
                 "................",
                 "................",
                 "................",
                 ".RRRRRRRRRRRRRR.",
                 ".Rrrrrrrrrrrrrr.",
                 ".Rrrrrrrrrrrrrr.",
                 ".RRRRRRRRRRRRRR.",
                 "................",
                 "................",
                 "................",
                 "................",
                 "................",
                 "................"});
}

TPicture OkPicture()
{
    return Draw({"................",
                 "................",
                 "............GG..",
                 "...........Ggg..",
                 "..........Gggg..",
                 ".........GgggG..",
                 "..GG....GgggG...",
                 ".Gggg..GgggG....",
                 ".GggggGgggG.....",
                 "..GgggggggG.....",
                 "...GgggggG......",
                 "....GgggG.......",
                 ".....GgG........",
                 "......G.........",
                 "................",
                 "................"});
}

TPicture CancelPicture()
{
    return Draw({"................",
                 "................",
                 "..RR........RR..",
                 "..RrR......RrR..",
                 "...RrR....RrR...",
                 "....RrR..RrR....",
                 ".....RrRRrR.....",
                 "......RrrR......",
                 "......RrrR......",
                 ".....RrRRrR.....",
                 "....RrR..RrR....",
                 "...RrR....RrR...",
                 "..RrR......RrR..",
                 "..RR........RR..",
                 "................",
                 "................"});
}

TPicture DisabledPicture(const TPicture& picture)
{
    TPicture faded = picture;
    for (std::uint32_t& pixel : faded.Pixels) {
        const std::uint32_t alpha = pixel >> 24;
        const std::uint32_t grey = (((pixel >> 16) & 0xFF) * 3 + ((pixel >> 8) & 0xFF) * 6 + (pixel & 0xFF)) / 10;
        const std::uint32_t light = 128 + grey / 2;
        pixel = ((alpha / 2) << 24) | (light << 16) | (light << 8) | light;
    }
    return faded;
}
