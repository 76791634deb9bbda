#include "platform/qt/SkinLibrary.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <cstdlib>

#include "platform/RegularFile.h"

TSkinLibrary::TSkinLibrary() {
  const QString Folder = QCoreApplication::applicationDirPath();
  for (const QString& Path :
       {Folder + "/" + SkinLibraryName, Folder + "/" PIXTOR_SKINDIR_FROM_BINDIR "/" + SkinLibraryName}) {
    if (!QFile::exists(Path)) continue;
    Library.setFileName(Path);
    if (Library.load()) {
      Entry = reinterpret_cast<TPixtorSkinBitmap>(Library.resolve(SkinBitmapEntry));
      if (Entry) return;
      Library.unload();
    }
  }
}

TSkinLibrary::~TSkinLibrary() {
  if (Library.isLoaded()) Library.unload();
}

QImage TSkinLibrary::Bitmap(int Id) const {
  if (!Entry) return {};
  unsigned long Size = 0;
  const unsigned char* Data = Entry(Id, &Size);
  if (!Data) return {};
  const QByteArray Bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(Data), qsizetype(Size));
  QBuffer Buffer;
  Buffer.setData(Bytes);
  Buffer.open(QIODevice::ReadOnly);
  QString Error;
  return ReadBitmap(Buffer, Error); // decoded into the image's own memory
}

QImage ReadBitmap(QIODevice& Device, QString& Error) {
  // File header (14 bytes), then the size of the information header and the
  // picture's size: 16-bit for the old 12-byte header, else signed 32-bit,
  // a negative height meaning rows from the top down.
  const QByteArray Head = Device.peek(26);
  if (Head.size() < 26 || !Head.startsWith("BM")) {
    Error = QStringLiteral("not a Windows bitmap");
    return {};
  }
  const auto* Bytes = reinterpret_cast<const uchar*>(Head.constData());
  const uint32_t InfoSize = qFromLittleEndian<uint32_t>(Bytes + 14);
  int64_t Width = 0, Height = 0;
  if (InfoSize == 12) {
    Width = qFromLittleEndian<uint16_t>(Bytes + 18);
    Height = qFromLittleEndian<uint16_t>(Bytes + 20);
  } else if (InfoSize >= 40) {
    Width = qFromLittleEndian<int32_t>(Bytes + 18);
    Height = std::llabs(qFromLittleEndian<int32_t>(Bytes + 22));
  }
  if (Width < 1 || Height < 1 || Width > MaxBitmapSide || Height > MaxBitmapSide) {
    Error = QStringLiteral("not a Windows bitmap of 1 to %1 pixels a side").arg(MaxBitmapSide);
    return {};
  }
  QImageReader Reader(&Device, "BMP");
  QImage Image = Reader.read();
  if (Image.isNull()) Error = Reader.errorString();
  return Image;
}

QImage ReadLogo() {
  const TSkinLibrary library;
  return library.Bitmap(BitmapLogo);
}

QImage ReadBitmapFile(const QString& Path, QString& Error) {
  if (const std::string Kind = NotAFile(QFile::encodeName(Path).toStdString()); !Kind.empty()) {
    Error = QStringLiteral("it is %1, not a file").arg(QString::fromStdString(Kind));
    return {};
  }
  QFile File(Path);
  if (!File.open(QIODevice::ReadOnly)) {
    Error = File.errorString();
    return {};
  }
  return ReadBitmap(File, Error);
}

QImage PicClip(const QImage& Picture, int Columns, int Rows, int Cell) {
  if (Columns < 1 || Rows < 1 || Cell < 1 || int64_t(Cell) > int64_t(Columns) * Rows) return {};
  const int Width = Picture.width() / Columns;
  const int Height = Picture.height() / Rows;
  if (Width == 0 || Height == 0) return {};
  const int Column = Cell <= Columns ? Cell - 1 : Cell % Columns;
  const int Row = (Cell - 1) / Columns;
  return Picture.copy(Column * Width, Row * Height, Width, Height);
}
