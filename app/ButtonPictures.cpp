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

TPicture ScaledPicture(const TPicture& picture, int size)
{
    if (size == picture.Width && size == picture.Height)
        return picture;
    TPicture scaled;
    scaled.Width = scaled.Height = size;
    scaled.Pixels.reserve(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            scaled.Pixels.push_back(picture.Pixels[static_cast<std::size_t>(y * picture.Height / size * picture.Width +
                                                                            x * picture.Width / size)]);
    return scaled;
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

namespace {

HBITMAP BitmapFromPicture(const TPicture& picture)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.Width;
    info.bmiHeader.biHeight = -picture.Height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    // Image lists want the colours premultiplied by alpha.
    auto* out = static_cast<std::uint32_t*>(bits);
    for (std::size_t i = 0; i < picture.Pixels.size(); ++i) {
        const std::uint32_t p = picture.Pixels[i];
        const std::uint32_t a = p >> 24;
        const std::uint32_t r = ((p >> 16) & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255, b = (p & 0xFF) * a / 255;
        out[i] = (a << 24) | (r << 16) | (g << 8) | b;
    }
    return bitmap;
}

}  // namespace

void SetButtonPicture(HWND button, const TPicture& picture, ImageListOwner& images)
{
    images.Reset(ImageList_Create(picture.Width, picture.Height, ILC_COLOR32, 6, 0));
    if (!images.Valid())
        return;
    const BitmapOwner normal(BitmapFromPicture(picture));
    const BitmapOwner disabled(BitmapFromPicture(DisabledPicture(picture)));
    // One image for each button state: normal, hot, pressed, disabled, default, stylus hot.
    const HBITMAP states[6] = {normal, normal, normal, disabled, normal, normal};
    for (HBITMAP state : states)
        ImageList_Add(images, state, nullptr);
    BUTTON_IMAGELIST list{};
    list.himl = images;
    list.margin = RECT{4, 0, 0, 0};
    list.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
    SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
}
