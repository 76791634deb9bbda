#pragma once

class TDIB;

// Paints the picture the screen shows before the first frame, with its own
// 256 colours: the word PIXTOR in block letters over a vertical gradient.
void PaintStartupPicture(TDIB& Image);
