#include "platform/qt/KeyMap.h"
#include <QKeyEvent>
uint32_t VirtualKeyCode(const QKeyEvent& e) {
  switch (e.key()) { case Qt::Key_Return: case Qt::Key_Enter: return 13; case Qt::Key_Space: return 32; case Qt::Key_Left: return 37; case Qt::Key_Up: return 38; case Qt::Key_Right: return 39; case Qt::Key_Down: return 40; case Qt::Key_Tab: return 9; case Qt::Key_Control: return 17; case Qt::Key_Shift: return 16; default: break; }
  if (e.key() >= Qt::Key_A && e.key() <= Qt::Key_Z) return uint32_t(e.key());
  return 0;
}
