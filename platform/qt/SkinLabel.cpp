#include "platform/qt/SkinLabel.h"

#include <QPainter>

namespace {

// The font picture's rows of characters, Western code page; every row's
// cells are 5 pixels wide from x 0, and the rows are 6 pixels apart.
constexpr const char* FontRows[] = {
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ\"@\xBF ",
    "0123456789 .:<>-'!_+\\/[]^&%,=$\xBF",
    "\xC2\xD6\xC4?*",
};

} // namespace

QPoint TitleFontCell(uint8_t Code) {
  if (Code >= 'a' && Code <= 'z') Code = uint8_t(Code - 'a' + 'A');
  for (int row = 0; row < 3; ++row) {
    for (int place = 0; FontRows[row][place] != 0; ++place)
      if (uint8_t(FontRows[row][place]) == Code)
        return {place * TSkinLabel::CellWidth, row * TSkinLabel::CellHeight};
  }
  return {0, 0};
}

TSkinLabel::TSkinLabel(QWidget* Parent, int Left, int Top, int Width, int Height) : QWidget(Parent) {
  setGeometry(Left, Top, Width, Height);
  Timer.setInterval(ScrollInterval);
  connect(&Timer, &QTimer::timeout, this, &TSkinLabel::Step);
}

void TSkinLabel::SetFont(const QImage& Font) {
  FontImage = Font;
  Render();
}

void TSkinLabel::SetCaption(const QString& Caption) {
  Text = Caption;
  ScrollOffset = 0;
  Direction = 1;
  WaitTicks = EndWait / ScrollInterval;
  Render();
}

void TSkinLabel::SetActive(bool Active) {
  if (Active)
    Timer.start();
  else
    Timer.stop();
}

void TSkinLabel::Step() {
  const int travel = TextWidth() - width();
  if (travel <= 0) {
    ScrollOffset = 0;
    return;
  }
  if (WaitTicks > 0) {
    --WaitTicks;
    return;
  }
  ScrollOffset = std::clamp(ScrollOffset + Direction * ScrollStep, 0, travel);
  if (ScrollOffset == 0 || ScrollOffset == travel) {
    Direction = -Direction;
    WaitTicks = EndWait / ScrollInterval;
  }
  update();
}

void TSkinLabel::Render() {
  Strip = QImage();
  if (!FontImage.isNull() && !Text.isEmpty()) {
    Strip = QImage(TextWidth(), CellHeight, QImage::Format_ARGB32_Premultiplied);
    Strip.fill(Qt::transparent);
    QPainter painter(&Strip);
    for (qsizetype i = 0; i < Text.size(); ++i) {
      const char16_t code = Text[i].unicode();
      const QPoint cell = TitleFontCell(code < 256 ? uint8_t(code) : 0);
      painter.drawImage(QPoint(int(i) * CellWidth, 0), FontImage,
                        QRect(cell, QSize(CellWidth, CellHeight)));
    }
  }
  update();
}

void TSkinLabel::paintEvent(QPaintEvent*) {
  if (Strip.isNull()) return;
  QPainter painter(this);
  painter.drawImage(QPoint(-ScrollOffset, 0), Strip);
}
