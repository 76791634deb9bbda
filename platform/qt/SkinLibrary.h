#pragma once

#include <QImage>
#include <QLibrary>
#include <QString>

#include "skins/SkinsDll.h"

class QIODevice;

// The built-in skin library "SKINS.DLL", loaded while this object lives. It
// is looked for beside the program, then in the installed program's own
// library folder (../lib/pixtor/ from the program's folder, as the build's
// install layout says).
class TSkinLibrary {
public:
  TSkinLibrary();
  ~TSkinLibrary();
  TSkinLibrary(const TSkinLibrary&) = delete;
  TSkinLibrary& operator=(const TSkinLibrary&) = delete;

  bool Loaded() const { return Entry != nullptr; }
  // Bitmap Id of the library (TSkinBitmapId); a null image when the library
  // is not loaded or has no such bitmap.
  QImage Bitmap(int Id) const;

private:
  QLibrary Library;
  TPixtorSkinBitmap Entry = nullptr;
};

// The maker's notice, shown with the logo and on the title line: only characters of the title font.
inline const QString CopyrightNotice = QStringLiteral("Copyright 2026 Brovane.");

// The logo of the library (216 x 144); a null image without the library.
QImage ReadLogo();

// Skin bitmaps larger than this on either side are refused before decoding.
inline constexpr int MaxBitmapSide = 4096;

// Decodes a Windows BMP (1, 4, 8, 16, 24 or 32 bits a pixel, bottom-up or
// top-down). On failure the image is null and Error says why.
QImage ReadBitmap(QIODevice& Device, QString& Error);
QImage ReadBitmapFile(const QString& Path, QString& Error);

// The bitmap cell cutter: cell Cell of Picture divided into Columns x Rows
// equal cells (sizes rounded down, remainders ignored), cells numbered from
// 1. Cell n lies in column n - 1 of row 0 when n <= Columns, otherwise in
// column n mod Columns of row (n - 1) div Columns. A cell number outside
// 1 to Columns x Rows, or cells of no size, give a null image.
QImage PicClip(const QImage& Picture, int Columns, int Rows, int Cell);
