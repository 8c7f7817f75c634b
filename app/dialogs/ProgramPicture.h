#pragma once
// The program picture shown by the splash screen and the About box, 468 by 481 pixels, and the
// program's window icon (the design of app/desktop/talvern-rlc.svg).
#include <QIcon>
#include <QImage>

inline constexpr int kProgramPictureWidth = 468;
inline constexpr int kProgramPictureHeight = 481;

QImage ProgramPicture();

QIcon ProgramIcon();
