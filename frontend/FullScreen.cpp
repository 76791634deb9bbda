// Full screen: the window covers the screen, in the display mode of the
// settings where the screen offers it, and the picture fills it.
#include <optional>

#include <QScreen>

#include "core/NESUnit.h"
#include "frontend/MainUnit.h"
#include "platform/qt/DisplayModes.h"
#include "platform/qt/Prompts.h"
#include "platform/qt/Screens.h"

void TMainForm::ToggleFullScreen() {
  const bool entering = !DXScreenTV || !DXScreenTV->FullScreen;
  std::optional<TDisplayMode> mode;
  if (entering && !Settings.ScreenMode.isEmpty()) {
    mode = ParseDisplayMode(Settings.ScreenMode);
    if (!mode) {
      Prompts().Error(this, QStringLiteral("Full Screen"),
                      QStringLiteral("The display mode \"%1\" is not a width, a height and a bit count "
                                     "separated by \"x\"; the window stays as it is.")
                          .arg(Settings.ScreenMode));
      return;
    }
  }
  if (!DXScreenTV) return;
  DXScreenTV->Finalize();
  if (!entering) {
    Modes->Restore();
    showNormal();
    setFixedSize(400, 310);
    setGeometry(SavedGeometry);
    DXScreenTV->setGeometry(ScreenTV->geometry());
    unsetCursor();
    DXScreenTV->FullScreen = false;
  } else {
    SavedGeometry = geometry();
    if (mode) {
      DXScreenTV->DisplayWidth = mode->Width;
      DXScreenTV->DisplayHeight = mode->Height;
      DXScreenTV->DisplayBitCount = mode->BitCount;
      // A mode the screen does not offer leaves the desktop's mode in use.
      Modes->Switch(*mode);
    }
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // The window manager makes a full-screen window cover the screen; with
    // none, the window covers it itself.
    setGeometry(screen()->geometry());
    showFullScreen();
    DXScreenTV->setGeometry(rect());
    DXScreenTV->raise();
    setCursor(Qt::BlankCursor);
    DXScreenTV->FullScreen = true;
  }
  DXScreenTV->Initialize();
}

void TMainForm::btnFullScreenClick() {
  if (NES->Running && DirectDrawAvailable) ToggleFullScreen();
}

void TMainForm::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  if (DXScreenTV && DXScreenTV->FullScreen) DXScreenTV->setGeometry(rect());
}

