#include "platform/qt/SkinLibrary.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <cstdlib>

#include "platform/RegularFile.h"

TSkinLibrary::TSkinLibrary() {
  const QString folder = QCoreApplication::applicationDirPath();
  for (const QString& path :
       {folder + "/" + SkinLibraryName, folder + "/" PIXTOR_SKINDIR_FROM_BINDIR "/" + SkinLibraryName}) {
    if (!QFile::exists(path)) continue;
    Library.setFileName(path);
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
  unsigned long size = 0;
  const unsigned char* data = Entry(Id, &size);
  if (!data) return {};
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QString error;
  return ReadBitmap(buffer, error); // decoded into the image's own memory
}

QImage ReadBitmap(QIODevice& Device, QString& Error) {
  // File header (14 bytes), then the size of the information header and the
  // picture's size: 16-bit for the old 12-byte header, else signed 32-bit,
  // a negative height meaning rows from the top down.
  const QByteArray head = Device.peek(26);
  if (head.size() < 26 || !head.startsWith("BM")) {
    Error = QStringLiteral("not a Windows bitmap");
    return {};
  }
  const auto* bytes = reinterpret_cast<const uchar*>(head.constData());
  const uint32_t infoSize = qFromLittleEndian<uint32_t>(bytes + 14);
  int64_t width = 0, height = 0;
  if (infoSize == 12) {
    width = qFromLittleEndian<uint16_t>(bytes + 18);
    height = qFromLittleEndian<uint16_t>(bytes + 20);
  } else if (infoSize >= 40) {
    width = qFromLittleEndian<int32_t>(bytes + 18);
    height = std::llabs(qFromLittleEndian<int32_t>(bytes + 22));
  }
  if (width < 1 || height < 1 || width > MaxBitmapSide || height > MaxBitmapSide) {
    Error = QStringLiteral("not a Windows bitmap of 1 to %1 pixels a side").arg(MaxBitmapSide);
    return {};
  }
  QImageReader reader(&Device, "BMP");
  QImage image = reader.read();
  if (image.isNull()) Error = reader.errorString();
  return image;
}

QImage ReadLogo() {
  const TSkinLibrary library;
  return library.Bitmap(BitmapLogo);
}

QImage ReadBitmapFile(const QString& Path, QString& Error) {
  if (const std::string kind = NotAFile(QFile::encodeName(Path).toStdString()); !kind.empty()) {
    Error = QStringLiteral("it is %1, not a file").arg(QString::fromStdString(kind));
    return {};
  }
  QFile file(Path);
  if (!file.open(QIODevice::ReadOnly)) {
    Error = file.errorString();
    return {};
  }
  return ReadBitmap(file, Error);
}

QImage PicClip(const QImage& Picture, int Columns, int Rows, int Cell) {
  if (Columns < 1 || Rows < 1 || Cell < 1 || int64_t(Cell) > int64_t(Columns) * Rows) return {};
  const int width = Picture.width() / Columns;
  const int height = Picture.height() / Rows;
  if (width == 0 || height == 0) return {};
  const int column = Cell <= Columns ? Cell - 1 : Cell % Columns;
  const int row = (Cell - 1) / Columns;
  return Picture.copy(column * width, row * height, width, height);
}
