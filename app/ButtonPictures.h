#pragma once
// The small pictures of the window's bitmap buttons, each with the picture it shows while disabled.
#include "toolkit/StdControls.h"

TPicture AddPicture();
TPicture DeletePicture();
TPicture OkPicture();
TPicture CancelPicture();
// The same picture in faded grey, for the disabled button.
TPicture DisabledPicture(const TPicture& picture);
