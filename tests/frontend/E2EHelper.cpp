// What the end-to-end test needs beside the program, on the same X server:
//   pixtor-e2e-helper layout   prints the centres of the settings dialog's
//                              controls the test clicks, relative to the dialog
//   pixtor-e2e-helper drag F   a window at (600, 400) that drags file F away
//                              when the mouse button goes down on it
//   pixtor-e2e-helper skin DIR writes the built-in skin's background and the
//                              up images of the Open and first slot buttons
//   pixtor-e2e-helper midi F   prints the channel messages of MIDI file F, one
//                              "TICK STATUS DATA..." line each (hex bytes),
//                              then "end TICK" at the end of its track
#include <cstdio>
#include <cstring>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QUrl>

#include "dialogs/SettingUnit.h"
#include "frontend/MainUnit.h"
#include "frontend/SkinUnit.h"

namespace {

void PrintCentre(const char* Name, QWidget* Dialog, QWidget* Widget, QRect Rect) {
  const QPoint centre = Widget->mapTo(Dialog, Rect.center());
  std::printf("%s=\"%d %d\"\n", Name, centre.x(), centre.y());
}

class TDragSource : public QLabel {
public:
  explicit TDragSource(const QString& Path) : QLabel("drag me"), Path(Path) {
    setWindowFlags(Qt::FramelessWindowHint);
    setWindowTitle("Pixtor drag source");
    setGeometry(600, 400, 100, 100);
  }

protected:
  void mousePressEvent(QMouseEvent*) override {
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(Path)});
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction);
  }

private:
  QString Path;
};

// A format 0 Standard MIDI File's one track. Gives false when it is not one.
bool PrintMidi(const char* Path) {
  std::FILE* file = std::fopen(Path, "rb");
  if (!file) return false;
  std::vector<uint8_t> bytes;
  for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(uint8_t(c));
  std::fclose(file);
  size_t at = 22; // header chunk, then the track chunk's tag and length
  if (bytes.size() < at || std::memcmp(bytes.data(), "MThd", 4) != 0) return false;
  uint64_t tick = 0;
  uint8_t status = 0;
  while (at < bytes.size()) {
    uint32_t delta = 0;
    uint8_t b;
    do {
      b = bytes[at++];
      delta = delta << 7 | (b & 0x7F);
    } while (b & 0x80 && at < bytes.size());
    tick += delta;
    if (at >= bytes.size()) return false;
    if (bytes[at] == 0xFF) { // a meta event: the end of the track is the one that matters
      if (at + 2 >= bytes.size()) return false;
      if (bytes[at + 1] == 0x2F) {
        std::printf("end %llu\n", static_cast<unsigned long long>(tick));
        return true;
      }
      at += 3 + bytes[at + 2];
      continue;
    }
    if (bytes[at] & 0x80) status = bytes[at++];
    const size_t length = (status & 0xE0) == 0xC0 ? 1 : 2;
    if (at + length > bytes.size()) return false;
    std::printf("%llu %02X", static_cast<unsigned long long>(tick), status);
    for (size_t i = 0; i < length; ++i) std::printf(" %02X", bytes[at++]);
    std::printf("\n");
  }
  return false;
}

} // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc == 2 && std::strcmp(argv[1], "layout") == 0) {
    TfrmSetting dialog(nullptr, TSettings(), false, {});
    dialog.show();
    PrintCentre("joypad1_tab", &dialog, dialog.PageControl->tabBar(), dialog.PageControl->tabBar()->tabRect(2));
    PrintCentre("frame_skip", &dialog, dialog.seRate, dialog.seRate->rect());
    PrintCentre("ok", &dialog, dialog.btnOK, dialog.btnOK->rect());
    dialog.PageControl->setCurrentIndex(2);
    PrintCentre("pad1_start", &dialog, dialog.cb1Start, dialog.cb1Start->rect());
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "drag") == 0) {
    TDragSource source(QString::fromLocal8Bit(argv[2]));
    source.show();
    return QApplication::exec();
  }
  if (argc == 3 && std::strcmp(argv[1], "skin") == 0) {
    const TSkin skin = ReadSkin(QString(), QStringList(), [](const QString&) {});
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const auto up = [](const QImage& Glyph) { return Glyph.copy(0, 0, Glyph.width() / 5, Glyph.height()); };
    const bool written = skin.Background && skin.Background->save(folder + "/background.png") &&
                         up(skin.Glyphs[sgOpenFile]).save(folder + "/open.png") &&
                         up(skin.Glyphs[sgFirstSlot]).save(folder + "/slot1.png");
    return written ? 0 : 1;
  }
  if (argc == 3 && std::strcmp(argv[1], "midi") == 0) return PrintMidi(argv[2]) ? 0 : 1;
  std::fprintf(stderr, "usage: pixtor-e2e-helper layout | drag FILE | skin DIR | midi FILE\n");
  return 2;
}
