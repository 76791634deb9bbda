// What the end-to-end test needs beside the program, on the same X server:
//   pixtor-e2e-helper layout   prints the centres of the settings dialog's
//                              controls the test clicks, relative to the dialog
//   pixtor-e2e-helper drag F   a window at (600, 400) that drags file F away
//                              when the mouse button goes down on it
//   pixtor-e2e-helper skin DIR writes the built-in skin's background and the
//                              up images of the Open and first slot buttons
#include <cstdio>
#include <cstring>

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
  std::fprintf(stderr, "usage: pixtor-e2e-helper layout | drag FILE | skin DIR\n");
  return 2;
}
