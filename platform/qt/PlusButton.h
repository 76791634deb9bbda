#pragma once

#include <QImage>
#include <QWidget>

// A skinned glyph button: no border, only its glyph. The glyph holds five
// state images of equal width side by side: up, disabled, pressed (mouse
// button held on it), down (latched), mouse over (pointer on an up button).
// Without a glyph the button is blank and still works.
//
// Buttons of one parent with the same non-zero GroupIndex form a group in
// which at most one is down; a click on the down button raises it again.
class TPlusButton : public QWidget {
  Q_OBJECT

public:
  enum TGlyphState { gsUp, gsDisabled, gsPressed, gsDown, gsMouseOver };
  static constexpr int GlyphStates = 5;

  TPlusButton(QWidget* Parent, int Left, int Top, int Width, int Height, const QString& Hint = {});

  void SetGlyph(const QImage& Glyph);
  void ClearGlyph() { SetGlyph(QImage()); }
  const QImage& Glyph() const { return GlyphImage; }

  int GroupIndex = 0;
  bool Down() const { return IsDown; }
  void SetDown(bool Value);
  // The state image shown now.
  TGlyphState State() const;

  // The hint is the tool tip; the slot buttons keep their paths in it.
  QString Hint() const { return toolTip(); }
  void SetHint(const QString& Hint) { setToolTip(Hint); }

  // As a click by the user: the group's down state changes, then Clicked.
  void Click();

signals:
  void Clicked();

protected:
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void enterEvent(QEnterEvent* Event) override;
  void leaveEvent(QEvent* Event) override;
  void changeEvent(QEvent* Event) override;

private:
  QImage GlyphImage;
  bool IsDown = false;
  bool Pressed = false;
  bool MouseOver = false;
};
