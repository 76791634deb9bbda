#pragma once

// The built-in skin library "SKINS.DLL". Its one exported function hands out
// the library's bitmaps by number, each the image of a Windows BMP file in
// the library's memory, with its size in bytes in *Size; an unknown number
// gives nullptr.
extern "C" const unsigned char* PixtorSkinBitmap(int Id, unsigned long* Size);

using TPixtorSkinBitmap = decltype(&PixtorSkinBitmap);
inline constexpr char SkinBitmapEntry[] = "PixtorSkinBitmap";
inline constexpr char SkinLibraryName[] = "SKINS.DLL";

// The bitmaps' numbers.
enum TSkinBitmapId : int {
  BitmapBackground = 101,
  BitmapSmallButtons = 102,
  BitmapWideButtons = 103,
  BitmapSlotButtons = 104,
  BitmapCommandButtons = 105,
  BitmapTitleFont = 106,
  BitmapLogo = 107,
};
