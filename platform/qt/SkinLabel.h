#pragma once

#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>

// Top left of the title font's cell for a character of the Western code
// page: letters count as capitals, the first row holding the character
// gives its cell, and a character in no row takes the cell at (0, 0).
QPoint TitleFontCell(uint8_t Code);

// The scrolling bitmap-font label: its text drawn from 5 x 6 character
// cells of a font picture, 5 pixels a character. While active, a text wider
// than the label scrolls back and forth, 2 pixels every 100 ms, waiting
// 1000 ms at each end; a text that fits stands still at the left. Without a
// font picture nothing is drawn.
class TSkinLabel : public QWidget {
  Q_OBJECT

public:
  static constexpr int CellWidth = 5;
  static constexpr int CellHeight = 6;
  // The part of a font picture that holds cells: three rows, the longest of 31.
  static constexpr int FontWidth = 31 * CellWidth;
  static constexpr int FontHeight = 3 * CellHeight;
  static constexpr int ScrollStep = 2;
  static constexpr int ScrollInterval = 100; // ms
  static constexpr int EndWait = 1000;       // ms

  TSkinLabel(QWidget* Parent, int Left, int Top, int Width, int Height);

  void SetFont(const QImage& Font);
  const QImage& Font() const { return FontImage; }
  void SetCaption(const QString& Text);
  const QString& Caption() const { return Text; }
  // Starts or stops the scrolling.
  void SetActive(bool Active);
  bool Active() const { return Timer.isActive(); }

  // How far the text is scrolled to the left, in pixels.
  int Offset() const { return ScrollOffset; }
  // One tick of the scrolling timer.
  void Step();

protected:
  void paintEvent(QPaintEvent* Event) override;

private:
  void Render();
  int TextWidth() const { return int(Text.size()) * CellWidth; }

  QImage FontImage;
  QString Text;
  QImage Strip; // the text drawn once, 6 pixels high
  QTimer Timer;
  int ScrollOffset = 0;
  int Direction = 1;
  int WaitTicks = 0;
};
