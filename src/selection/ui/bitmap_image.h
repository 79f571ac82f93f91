#pragma once

#include <QImage>

#include "image/bitmap.h"

namespace palvex::ui {

// A bitmap seen as a QImage without a copy; valid while the bitmap lives.
inline QImage WrapBitmap(const Bitmap& bitmap) {
    return QImage(reinterpret_cast<const uchar*>(bitmap.Data()), bitmap.Width(), bitmap.Height(),
                  static_cast<qsizetype>(bitmap.Stride()), QImage::Format_RGB32);
}

}  // namespace palvex::ui
