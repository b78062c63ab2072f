// The pictures of every tool-bar button, drawn in code so they stay crisp: each icon holds the
// picture at device pixel ratios 1 and 2. Sizes below are the buttons'; a picture fills its button
// but for a 3-pixel frame (buttonPictureSize). Forms a button shows: normal (QIcon::Normal, Off),
// current (QIcon::Normal, On; a darker or lighter ground) and highlighted while the pointer is
// over it (QIcon::Active).
#pragma once

#include <QIcon>
#include <QImage>
#include <cstdint>

// Element tool bar (47 x 27): index 0 free (vertex, edge and face marked), 1 vertex, 2 edge,
// 3 face, 4 the whole cube marked.
QIcon elementPicture(int index);
// Work-mode button (47 x 25): a painted cube with a brush (go to Paint) or a plain white cube
// (go to Model).
QIcon workModePicture(bool goToPaint);
// A paint tool-bar button (28 x 28) by its command number; a blank picture for other numbers.
QIcon paintToolPicture(int32_t command);
// The same picture greyed, for a tool that is not offered.
QIcon unavailablePaintToolPicture(int32_t command);
// Object Info row buttons (23 x 22): open or closed eye; green or grey ball.
QIcon eyePicture(bool open);
QIcon ballPicture(bool sensitive);
// Tutorial tool bar (18 x 18) by command number: 20481 rewind, 20482 stop, 20483 play,
// 20484 step; the done bar's button (48 x 24) for 20480.
QIcon scriptPicture(int32_t command);

// The icon size for a button of that size.
QSize buttonPictureSize(QSize button);

// The colour palette: hue once round the colour circle from left to right (red at both ends),
// each column from white at the top through the full colour to black at the bottom.
constexpr int kPaletteWidth = 236, kPaletteHeight = 23;
// The palette's colour at (x, y), fractional positions allowed, clamped to the palette.
QColor paletteColour(double x, double y);
// The palette picture at a device pixel ratio.
QImage palettePicture(qreal ratio);
