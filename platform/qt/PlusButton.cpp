#include "platform/qt/PlusButton.h"

#include <QMouseEvent>
#include <QPainter>

TPlusButton::TPlusButton(QWidget* Parent, int Left, int Top, int Width, int Height, const QString& Hint)
    : QWidget(Parent) {
  setGeometry(Left, Top, Width, Height);
  setToolTip(Hint);
  // Keys belong to the game: a button never takes the focus, so Space, Tab
  // and the arrows never press or move between buttons.
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
}

void TPlusButton::SetGlyph(const QImage& Glyph) {
  GlyphImage = Glyph;
  update();
}

void TPlusButton::SetDown(bool Value) {
  if (Value == IsDown) return;
  IsDown = Value;
  if (IsDown && GroupIndex != 0) {
    for (TPlusButton* other : parentWidget()->findChildren<TPlusButton*>(Qt::FindDirectChildrenOnly))
      if (other != this && other->GroupIndex == GroupIndex) other->SetDown(false);
  }
  update();
}

TPlusButton::TGlyphState TPlusButton::State() const {
  if (!isEnabled()) return gsDisabled;
  if (Pressed) return gsPressed;
  if (IsDown) return gsDown;
  return MouseOver ? gsMouseOver : gsUp;
}

void TPlusButton::Click() {
  if (GroupIndex != 0) SetDown(!IsDown);
  emit Clicked();
}

void TPlusButton::paintEvent(QPaintEvent*) {
  const int width = GlyphImage.width() / GlyphStates;
  if (width <= 0) return;
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), GlyphImage, QRect(State() * width, 0, width, GlyphImage.height()));
}

void TPlusButton::mousePressEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton) return;
  Pressed = true;
  update();
}

void TPlusButton::mouseReleaseEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton || !Pressed) return;
  Pressed = false;
  update();
  if (rect().contains(Event->position().toPoint())) Click();
}

void TPlusButton::enterEvent(QEnterEvent*) {
  MouseOver = true;
  update();
}

void TPlusButton::leaveEvent(QEvent*) {
  MouseOver = false;
  update();
}

void TPlusButton::changeEvent(QEvent* Event) {
  if (Event->type() == QEvent::EnabledChange) {
    Pressed = false;
    update();
  }
  QWidget::changeEvent(Event);
}
