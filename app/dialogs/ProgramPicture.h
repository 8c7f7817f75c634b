#pragma once
// The program picture shown by the splash screen and the About box, 468 by 481 pixels.
#include <QImage>

inline constexpr int kProgramPictureWidth = 468;
inline constexpr int kProgramPictureHeight = 481;

QImage ProgramPicture();
