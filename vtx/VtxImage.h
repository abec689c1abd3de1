#pragma once
// A videotex page as a QImage (QtGui only): its pixels through its palette, for painting,
// saving and copying.
#include <QImage>

#include "vtx/VtxMirror.h"

QImage VtxImage(const VtxMirror& mirror);
