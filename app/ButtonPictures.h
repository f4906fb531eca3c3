#pragma once
// The small pictures of the window's bitmap buttons, each with the picture it shows while disabled.
#include "owners/Owners.h"

#include <cstdint>
#include <vector>

// 32-bit pixels, alpha in the top byte, rows from the top.
struct TPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
};

TPicture AddPicture();
TPicture DeletePicture();
TPicture OkPicture();
TPicture CancelPicture();
// The picture drawn Size pixels square, each of its pixels a block of the screen's: sharp at every
// scale, where a stretched bitmap would blur.
TPicture ScaledPicture(const TPicture& picture, int size);
// The same picture in faded grey, for the disabled button.
TPicture DisabledPicture(const TPicture& picture);

// Shows Picture beside the button's text, and its faded form while the button is disabled. The
// images live in Images, which must outlive the button's use of them. Common controls older than
// 6.0 show no pictures, and the button shows its text alone.
void SetButtonPicture(HWND button, const TPicture& picture, ImageListOwner& images);
