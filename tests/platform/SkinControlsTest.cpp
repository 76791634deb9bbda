#include <gtest/gtest.h>

#include <vector>

#include <QCoreApplication>
#include <QEnterEvent>
#include <QMouseEvent>

#include "platform/qt/PlusButton.h"
#include "platform/qt/SkinLabel.h"

namespace {

TEST(SkinLabelTest, ScrollsTwoPixelsATickAndWaitsASecondAtEachEnd) {
  TSkinLabel label(nullptr, 0, 0, 257, 8);
  label.SetCaption(QString(53, 'A')); // 265 pixels: 8 to travel
  std::vector<int> offsets;
  for (int tick = 0; tick < 30; ++tick) {
    label.Step();
    offsets.push_back(label.Offset());
  }
  const std::vector<int> expected = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 4, 6, 8, 8,
                                     8, 8, 8, 8, 8, 8, 8, 8, 8, 6, 4, 2, 0, 0, 0};
  EXPECT_EQ(offsets, expected);
  label.SetCaption("PIXTOR"); // fits: stands at the left
  for (int tick = 0; tick < 20; ++tick) label.Step();
  EXPECT_EQ(label.Offset(), 0);
}

TEST(SkinLabelTest, FontCellsByCodePage) {
  const std::pair<uint8_t, QPoint> cases[] = {
      {'A', {0, 0}},    {'a', {0, 0}},    {'Z', {125, 0}},  {' ', {145, 0}}, {191, {140, 0}},
      {'0', {0, 6}},    {'.', {55, 6}},   {'$', {145, 6}},  {194, {0, 12}},  {214, {5, 12}},
      {'?', {15, 12}},  {'*', {20, 12}},  {'(', {0, 0}},    {'"', {130, 0}}, {'@', {135, 0}},
  };
  for (auto [code, cell] : cases) EXPECT_EQ(TitleFontCell(code), cell) << int(code);
}

TEST(PlusButtonTest, FiveStatesAndTheSlotGroup) {
  QWidget parent;
  TPlusButton a(&parent, 0, 0, 30, 30), b(&parent, 30, 0, 30, 30), lone(&parent, 60, 0, 30, 30);
  a.GroupIndex = b.GroupIndex = 1;
  EXPECT_EQ(a.State(), TPlusButton::gsUp);
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QCoreApplication::sendEvent(&a, &enter);
  EXPECT_EQ(a.State(), TPlusButton::gsMouseOver);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&a, &press);
  EXPECT_EQ(a.State(), TPlusButton::gsPressed);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  int clicks = 0;
  QObject::connect(&a, &TPlusButton::Clicked, [&] { ++clicks; });
  QCoreApplication::sendEvent(&a, &release);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(a.State(), TPlusButton::gsDown);
  b.Click();
  EXPECT_TRUE(b.Down());
  EXPECT_FALSE(a.Down());
  b.Click();
  EXPECT_FALSE(b.Down() || a.Down());
  lone.Click(); // not in a group: never latches
  EXPECT_FALSE(lone.Down());
  a.setEnabled(false);
  EXPECT_EQ(a.State(), TPlusButton::gsDisabled);
}

} // namespace
