#pragma once
// The six pictures of the dialler's animation, drawn here: a handset sending out a growing
// number of waves, one more each step.
#include <QPixmap>

QPixmap DialerPicture(int step);
